// A library loaded by the module tests. Its static object and DllMain write
// what happened, in order, to the file TESTMODULE_LOG names: the log must
// outlive the library, whose destructors run while it is unloaded.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Record(const char *event) {
    const char *path = getenv("TESTMODULE_LOG");
    if (!path) return;
    if (FILE *f = fopen(path, "a")) {
        fprintf(f, "%s\n", event);
        fclose(f);
    }
}

struct StaticObject {
    StaticObject() { Record("construct"); }
    ~StaticObject() { Record("destruct"); }
} staticObject;

}  // namespace

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HANDLE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Record("attach");
        if (getenv("TESTMODULE_REFUSE")) return FALSE;
    } else if (reason == DLL_PROCESS_DETACH) {
        Record("detach");
    }
    return TRUE;
}

extern "C" __attribute__((visibility("default"))) int TestModuleAdd(int a, int b) { return a + b; }
extern "C" __attribute__((visibility("default"))) int TestModuleSecret() { return 42; }
