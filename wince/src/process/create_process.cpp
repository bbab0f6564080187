// CreateProcessW. As on the device, the command line holds the parameters
// only; without an application name its first word names the program.
#include "programs.h"
#include "trace/trace.h"

using namespace wince;

namespace {

void SplitCommandLine(const std::u16string &line, std::u16string &program, std::u16string &rest) {
    size_t at = line.find_first_not_of(u' ');
    if (at == std::u16string::npos) return;
    size_t end;
    if (line[at] == u'"') {
        end = line.find(u'"', at + 1);
        program = line.substr(at + 1, (end == std::u16string::npos ? line.size() : end) - at - 1);
        end = end == std::u16string::npos ? line.size() : end + 1;
    } else {
        end = line.find(u' ', at);
        if (end == std::u16string::npos) end = line.size();
        program = line.substr(at, end - at);
    }
    size_t next = line.find_first_not_of(u' ', end);
    rest = next == std::u16string::npos ? u"" : line.substr(next);
}

}  // namespace

BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                           LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                           LPPROCESS_INFORMATION lpProcessInformation) {
    std::u16string name, parameters;
    if (lpApplicationName) {
        name = lpApplicationName;
        if (lpCommandLine) parameters = lpCommandLine;
    } else if (lpCommandLine) {
        SplitCommandLine(lpCommandLine, name, parameters);
    }
    if (name.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DeviceProgram program;
    if (DWORD error = ResolveDeviceProgram(name, program)) {
        // Traced too: a tap that starts nothing is still seen to do something.
        TraceCreateProcess(program.devicePath.empty() ? name : program.devicePath, parameters, error);
        SetLastError(error);
        return FALSE;
    }
    std::shared_ptr<ProcessObject> process = StartDeviceProgram(program, parameters);
    if (!process) return FALSE;
    if (lpProcessInformation) {
        lpProcessInformation->hProcess = AllocHandle(process);
        lpProcessInformation->hThread = AllocHandle(std::make_shared<ThreadObject>(process));
        lpProcessInformation->dwProcessId = static_cast<DWORD>(process->Pid());
        lpProcessInformation->dwThreadId = static_cast<DWORD>(process->Pid());
    }
    return TRUE;
}
