// The window manager's own view of a window. One user-interface thread per
// process owns the tree; only the message queue is shared with other threads.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gdi/region.h"
#include "gdi/surface.h"

namespace wince {

struct WindowClass {
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::u16string menuName;
    ATOM atom = 0;
    int windows = 0;  // live windows of the class: such a class cannot be unregistered
};

struct ScrollState {
    int min = 0, max = 0;
    UINT page = 0;
    int pos = 0, trackPos = 0;
};

struct DrawnText {
    std::u16string text;
    RECT rect;  // window coordinates
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    Window *parent = nullptr;  // child windows only
    Window *owner = nullptr;   // top-level windows only
    std::vector<Window *> children;  // z-order, front first
    DWORD style = 0, exStyle = 0;
    RECT rect{};  // in the parent's client coordinates; screen coordinates for top-level windows
    std::u16string text;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    UINT_PTR id = 0;
    LONG_PTR userData = 0;
    std::vector<BYTE> extra;
    Region update;  // client coordinates
    bool erase = false;
    ScrollState vscroll, hscroll;
    bool destroying = false;
    bool created = false;
    std::shared_ptr<Surface> surface;  // top-level windows: what they and their children draw on
    // What the last paint drew, for the window dump.
    std::vector<DrawnText> drawnText, drawingText;
    int paintDepth = 0;
    bool nonClientDirty = false;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    bool Enabled() const { return (style & WS_DISABLED) == 0; }
};

// nullptr for a handle that is not (or no longer) a window.
Window *FromHandle(HWND hwnd);
// The same, and sets ERROR_INVALID_WINDOW_HANDLE when it fails.
Window *CheckHandle(HWND hwnd);
Window *TopLevelOf(Window *w);
// Top-level windows, front first.
std::vector<Window *> &TopLevelWindows();
// Every live window, for the dump and for tests.
std::vector<Window *> AllWindows();

// Non-client layout: the client area within the window rectangle.
RECT ClientRectInWindow(const Window &w);
// The window rectangle in screen coordinates, and the client area's origin.
RECT WindowRectOnScreen(const Window &w);
POINT ClientOriginOnScreen(const Window &w);
// The window rectangle in its top-level window's surface coordinates.
RECT WindowRectInTopLevel(const Window &w);
// The window under a point of the screen, child-most; nullptr over the bare desktop.
Window *WindowAtScreenPoint(POINT screen);
// Visible on screen: it and every ancestor are visible.
bool IsReallyVisible(const Window *w);

LRESULT CallProc(Window *w, UINT msg, WPARAM wParam, LPARAM lParam);

// Messages to a window of another process on the same device; false when
// the handle is not known there either.
bool PostToOtherProcess(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// A posted broadcast reaches the desktop of another process of the device too.
void BroadcastToOtherProcesses(UINT msg, WPARAM wParam, LPARAM lParam);
// SetForegroundWindow of a window that is not this process's own: false
// when the handle names no window of the device that can come.
bool ForegroundInOtherProcess(HWND hwnd);
// The Today screen as this process names it: its own desktop window in the
// Today host, the proxy elsewhere (which may name nobody).
HWND TodayScreen();
// The Today host names its screen as the desktop window; other processes of
// the device then reach it through GetDesktopWindow. nullptr withdraws it.
void SetDesktopWindow(HWND hwnd);

// Hooks for the front ends and the dump.
void MarkScreenDirty();
bool ScreenDirty();
// Composes every visible top-level window onto the screen surface.
void ComposeScreen();

}  // namespace wince
