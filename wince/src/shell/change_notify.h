// Shell change notification: what the window manager and the tests need
// besides the public functions.
#pragma once

#include <windows.h>

#include <aygshell.h>

#include <cstddef>
#include <string>

namespace wince {

// A destroyed window loses its registration, and the records posted to it
// that it never freed are released (its queued messages are gone with it).
void ForgetChangeNotifications(HWND hwnd);

// The records handed out with WM_FILECHANGEINFO and not freed yet.
size_t LiveChangeRecords();

// A record for hwnd, counted until SHChangeNotifyFree or until hwnd goes.
FILECHANGENOTIFY *NewChangeRecord(HWND hwnd, LONG event, const std::u16string &item1, const std::u16string &item2);
// Releases a record whose message could not be posted.
void DropChangeRecord(FILECHANGENOTIFY *record);
// Releases every record posted to hwnd.
void ReleaseChangeRecordsOf(HWND hwnd);

}  // namespace wince
