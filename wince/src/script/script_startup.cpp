// Every program on the layer runs the script the environment names
// (WINCE_SCRIPT, with the text of WINCE_SCRIPT_APPENDED after it), from the
// first moment it waits for input. A program started with a script by
// another one reports back to it (script/handover.h).
#include <errno.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "handover.h"
#include "script_runner.h"
#include "window/clock.h"
#include "window/message_queue.h"

namespace wince {
namespace {

std::string Environment(const char *name) {
    const char *value = getenv(name);
    return value ? value : "";
}

bool Number(const std::string &text, unsigned long long &value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    value = strtoull(text.c_str(), nullptr, 10);
    return errno == 0;
}

ScriptRunner *runner = nullptr;

bool child = false;

// A program started by another tells it where the script stopped; one run
// by a person says why its script failed.
void ReportAtExit() {
    if (!runner) return;
    if (child) runner->ReportToParent();
    else if (runner->Failed()) fprintf(stderr, "%s: %s\n", program_invocation_short_name, runner->Error().c_str());
}

bool StartScript() {
    SetIdleDriver(nullptr);
    std::string file = Environment("WINCE_SCRIPT"), appended = Environment("WINCE_SCRIPT_APPENDED");
    unsigned long long next = 0, clock = 0, fd = 0;
    Number(Environment("WINCE_SCRIPT_NEXT"), next);
    if (Number(Environment("WINCE_SCRIPT_CLOCK"), clock)) Clock::AdvanceTo(clock);
    child = Number(Environment("WINCE_SCRIPT_REPORT"), fd);
    // The programs this one starts get the script only by handing over.
    for (const char *name : {"WINCE_SCRIPT", "WINCE_SCRIPT_APPENDED", "WINCE_SCRIPT_NEXT", "WINCE_SCRIPT_CLOCK",
                             "WINCE_SCRIPT_REPORT"})
        unsetenv(name);

    // Lives until the program ends: its report is written at exit.
    runner = new ScriptRunner;
    runner->SetSource(file, appended);
    if (child) runner->ServeParent(static_cast<int>(fd));
    runner->WaitForWindow();
    atexit(ReportAtExit);
    std::string text, error;
    if (!file.empty()) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        if (!in) error = "cannot read the script " + file;
        text = content.str();
    }
    if (!appended.empty()) text += "\n" + appended + "\n";
    if (error.empty()) runner->Load(text, file.empty() ? "(script)" : file, error);
    if (!error.empty()) {
        runner->FailWith(error);
        return true;
    }
    runner->Start(static_cast<size_t>(next));
    return true;
}

bool ScriptInEnvironment() {
    return !Environment("WINCE_SCRIPT").empty() || !Environment("WINCE_SCRIPT_APPENDED").empty();
}

[[maybe_unused]] const bool startsFromEnvironment = (ScriptInEnvironment() && (SetIdleDriver(StartScript), true));

}  // namespace
}  // namespace wince
