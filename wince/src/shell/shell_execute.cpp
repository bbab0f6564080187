// ShellExecuteEx: programs start as device programs; documents and folders
// are recorded in the trace and, when the device profile asks for it,
// handed to the host's own opener (process/host_opener.h).
#include <windows.h>

#include <shellapi.h>

#include "core/handles.h"
#include "device/pathmap.h"
#include "process/host_opener.h"
#include "process/programs.h"
#include "trace/trace.h"

using namespace wince;

namespace {

constexpr INT_PTR kSucceeded = 42;  // any hInstApp above 32 reports success

std::u16string Text(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

std::u16string Lower(std::u16string text) {
    for (char16_t &c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
    return text;
}

bool EndsWith(const std::u16string &text, const std::u16string &tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

INT_PTR ShellErrorOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return SE_ERR_FNF;
        case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
        case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
        case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
        case ERROR_SHARING_VIOLATION: return SE_ERR_SHARE;
        case ERROR_NOT_ENOUGH_MEMORY: return SE_ERR_OOM;
    }
    return SE_ERR_NOASSOC;
}

BOOL Fail(LPSHELLEXECUTEINFO info, DWORD error) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(ShellErrorOf(error));
    SetLastError(error);
    return FALSE;
}

BOOL TraceFailure(LPSHELLEXECUTEINFO info, const std::u16string &file, DWORD error) {
    TraceShellExecute(Text(info->lpVerb), file, Text(info->lpParameters), Text(info->lpDirectory), info->nShow, error);
    return Fail(info, error);
}

BOOL Succeed(LPSHELLEXECUTEINFO info) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(kSucceeded);
    return TRUE;
}

BOOL RunProgram(LPSHELLEXECUTEINFO info, const std::u16string &file) {
    DeviceProgram program;
    if (DWORD error = ResolveDeviceProgram(file, program)) {
        // A program that is on the device but cannot start (its host program
        // is missing or it is no program) is traced: the user's tap did something.
        if (GetFileAttributesW(program.devicePath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return TraceFailure(info, program.devicePath, error);
        // One that is not there is a start that failed.
        TraceCreateProcess(program.devicePath.empty() ? file : program.devicePath, Text(info->lpParameters), error);
        return Fail(info, error);
    }
    TraceShellExecute(Text(info->lpVerb), file, Text(info->lpParameters), Text(info->lpDirectory), info->nShow);
    std::shared_ptr<ProcessObject> process;
    if (program.simulated) {
        RunSimulatedProgram(program.devicePath, Text(info->lpParameters));
    } else {
        process = StartDeviceProgram(program, Text(info->lpParameters));
        if (!process) return Fail(info, GetLastError());
        if (info->fMask & SEE_MASK_NOCLOSEPROCESS) info->hProcess = AllocHandle(process);
    }
    return Succeed(info);
}

BOOL OpenDocument(LPSHELLEXECUTEINFO info, const std::u16string &file) {
    std::u16string verb = Lower(Text(info->lpVerb));
    if (!verb.empty() && verb != u"open" && verb != u"opendoc" && verb != u"explore") return Fail(info, ERROR_NO_ASSOCIATION);
    HostPath host;
    if (DWORD error = MapExistingPath(file.c_str(), host)) return Fail(info, error);
    TraceShellExecute(Text(info->lpVerb), file, Text(info->lpParameters), Text(info->lpDirectory), info->nShow);
    OpenOnHost(file);
    return Succeed(info);
}

}  // namespace

BOOL WINAPI ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo) {
    if (!lpExecInfo || lpExecInfo->cbSize != sizeof(SHELLEXECUTEINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (lpExecInfo->fMask & SEE_MASK_NOCLOSEPROCESS) lpExecInfo->hProcess = nullptr;
    std::u16string file = Text(lpExecInfo->lpFile);
    if (file.empty()) return Fail(lpExecInfo, ERROR_FILE_NOT_FOUND);
    // A bare name is found in the folder the caller names.
    std::u16string directory = Text(lpExecInfo->lpDirectory);
    if (file[0] != u'\\' && !directory.empty() && !EndsWith(Lower(file), u".exe"))
        file = directory + (EndsWith(directory, u"\\") ? u"" : u"\\") + file;
    if (EndsWith(Lower(file), u".exe") || IsSimulatedProgram(file)) return RunProgram(lpExecInfo, file);
    return OpenDocument(lpExecInfo, file);
}
