// The trace: every effect that leaves the program or reaches the user, one
// JSON object a line in the file named by WINCE_TRACE. Tests and people read
// it to see what a program did; each line is written and flushed at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wince {

struct TracedMenuItem {
    bool separator = false;
    UINT id = 0;
    std::u16string text;
};

void TraceShellExecute(const std::u16string &verb, const std::u16string &file, const std::u16string &parameters,
                       const std::u16string &directory, int show,
                       DWORD error = ERROR_SUCCESS);
// A start that fails is traced with its error.
void TraceCreateProcess(const std::u16string &application, const std::u16string &commandLine,
                        DWORD error = ERROR_SUCCESS);
void TraceMessageBox(const std::u16string &text, const std::u16string &caption, UINT type, int answer);
void TraceTrackPopupMenu(const std::vector<TracedMenuItem> &items, UINT answer);
void TracePostMessage(HWND target, UINT message, WPARAM wParam, LPARAM lParam);
// Another program's window (the Today screen) asked to the front; with the
// error when there is none to come.
void TraceSetForegroundWindow(HWND target, DWORD error = ERROR_SUCCESS);
void TraceDeleteFile(const std::u16string &path, BOOL result);
void TraceMoveFile(const std::u16string &from, const std::u16string &to, BOOL result);

// The last traced action as a short sentence for the front end, such as
// "opened \My Documents\Report.psw with opendoc"; empty before the first.
std::string LastTracedAction();

}  // namespace wince
