// Window objects: one object per wrapped window, found from its handle. A
// window created or subclassed through its object has its messages routed
// through WindowProc, the per-message dispatch a class may override; the
// handler tables (MessageMap) are consulted there, and what no handler
// takes goes to the window's default processing.
#pragma once

#include <windows.h>

#include "appkit/MessageMap.h"

class Menu;

class Window {
   public:
    Window() = default;
    // An object that still wraps a window destroys it.
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    HWND Handle() const { return hwnd_; }

    // The object wrapping hwnd; for a window without one, a temporary object
    // that lives until DeleteTemporaryObjects (the message loop's idle time).
    static Window *FromHandle(HWND hwnd);
    // The object wrapping hwnd, or null; never makes one.
    static Window *FromHandlePermanent(HWND hwnd);
    static void DeleteTemporaryObjects();
    bool IsTemporary() const { return temporary_; }

    // Wraps a window without taking its messages; false when either side
    // is already wrapped.
    bool Attach(HWND hwnd);
    HWND Detach();
    // Wraps the window and routes its messages through this object.
    bool Subclass(HWND hwnd);
    // Creates a window whose messages go through this object from the first.
    bool CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height,
                  HWND parent, UINT id);
    BOOL DestroyWindow();
    // Centres the window over its owner, or the work area when it has none.
    void CenterWindow();

    // The per-message dispatch: the handler tables, then default processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being dispatched.
    LRESULT Default();
    // The window's own procedure before it was subclassed, or DefWindowProc.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Whether a command of this id has a handler or an update handler.
    bool HasCommandHandler(UINT id) const;
    // Runs the update handler of update.Id(); false when there is none.
    bool UpdateCommand(CommandUpdate &update);

    // The menu whose popups this window's menu bar shows.
    Menu *MenuObject() const { return menu_; }
    void SetMenuObject(Menu *menu) { menu_ = menu; }

    // The procedure of windows created through their object.
    static LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

   protected:
    virtual const MessageMap &Messages() const;
    // Finds and runs the handler of a message; false when none takes it.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
    // A WM_NOTIFY that the parent offers to this control's own object first.
    bool OnReflectedNotify(NMHDR *header, LRESULT &result);
    // Runs when the object has taken over a window's messages.
    virtual void OnSubclassed() {}
    // Runs after the window is gone and the object detached from it.
    virtual void OnWindowGone() {}

    // Runs one message through the object's WindowProc.
    static LRESULT Dispatch(Window *object, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

   private:
    void Forget();

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool temporary_ = false;
    Menu *menu_ = nullptr;
    MSG current_{};  // the message being dispatched, for Default
};
