#include "appkit/Window.h"

#include <map>
#include <memory>

#include "appkit/CommandUpdate.h"

namespace {

std::map<HWND, Window *> &Permanent() {
    static auto *map = new std::map<HWND, Window *>;
    return *map;
}

std::map<HWND, std::unique_ptr<Window>> &Temporary() {
    static auto *map = new std::map<HWND, std::unique_ptr<Window>>;
    return *map;
}

// The object whose CreateEx is running: the window's first message binds it.
Window *creating = nullptr;

}  // namespace

Window::~Window() {
    if (hwnd_ && !temporary_) {
        HWND hwnd = hwnd_;
        ::DestroyWindow(hwnd);
        if (hwnd_ == hwnd) Forget();  // a window that is not routed through us
    }
}

Window *Window::FromHandlePermanent(HWND hwnd) {
    auto found = Permanent().find(hwnd);
    return found == Permanent().end() ? nullptr : found->second;
}

Window *Window::FromHandle(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    if (Window *w = FromHandlePermanent(hwnd)) return w;
    auto &temps = Temporary();
    auto found = temps.find(hwnd);
    if (found != temps.end()) return found->second.get();
    auto object = std::make_unique<Window>();
    object->hwnd_ = hwnd;
    object->temporary_ = true;
    return (temps[hwnd] = std::move(object)).get();
}

void Window::DeleteTemporaryObjects() { Temporary().clear(); }

bool Window::Attach(HWND hwnd) {
    if (hwnd_ || !hwnd || !IsWindow(hwnd) || FromHandlePermanent(hwnd)) return false;
    Temporary().erase(hwnd);
    hwnd_ = hwnd;
    Permanent()[hwnd] = this;
    return true;
}

HWND Window::Detach() {
    HWND hwnd = hwnd_;
    if (hwnd && previous_ && IsWindow(hwnd)) SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    Forget();
    return hwnd;
}

void Window::Forget() {
    if (hwnd_) Permanent().erase(hwnd_);
    hwnd_ = nullptr;
    previous_ = nullptr;
}

bool Window::Subclass(HWND hwnd) {
    if (!Attach(hwnd)) return false;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::ObjectWindowProc)));
    if (previous_ == &Window::ObjectWindowProc) previous_ = nullptr;  // created through an object already
    OnSubclassed();
    return true;
}

bool Window::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                      int height, HWND parent, UINT id) {
    if (hwnd_) return false;
    Window *outer = creating;
    creating = this;
    HWND hwnd = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    creating = outer;
    if (!hwnd) return false;
    // A class with its own procedure never passed a message through us.
    if (!hwnd_) Subclass(hwnd);
    return true;
}

BOOL Window::DestroyWindow() {
    if (!hwnd_) return FALSE;
    HWND hwnd = hwnd_;
    BOOL done = ::DestroyWindow(hwnd);
    if (done && hwnd_ == hwnd) Forget();
    return done;
}

void Window::CenterWindow() {
    if (!hwnd_) return;
    RECT area{}, window{};
    HWND over = GetWindow(hwnd_, GW_OWNER);
    if (!over) over = GetParent(hwnd_);
    if (!over || !GetWindowRect(over, &area) || area.right <= area.left) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(hwnd_, &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    int x = area.left + (area.right - area.left - width) / 2, y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Window::ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window *object = FromHandlePermanent(hwnd);
    if (!object && creating && !creating->hwnd_) {
        object = creating;
        object->Attach(hwnd);
    }
    if (!object) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return Dispatch(object, hwnd, message, wParam, lParam);
}

LRESULT Window::Dispatch(Window *object, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG outer = object->current_;
    object->current_ = MSG{hwnd, message, wParam, lParam, 0, {}};
    LRESULT result = object->WindowProc(message, wParam, lParam);
    object->current_ = outer;
    // WM_DESTROY is a window's last message on this platform.
    if (message == WM_DESTROY && object->hwnd_ == hwnd) {
        object->Detach();
        object->OnWindowGone();
    }
    return result;
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT Window::Default() { return DefWindowProc(current_.message, current_.wParam, current_.lParam); }

LRESULT Window::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previous_) return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

const MessageMap &Window::Messages() const {
    static const MessageMap map(nullptr, {});
    return map;
}

bool Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    const MessageMap &map = Messages();
    const MessageEntry *entry = nullptr;
    if (message == WM_COMMAND) {
        UINT id = LOWORD(wParam), code = HIWORD(wParam);
        if (lParam) entry = map.Find(MessageEntry::Kind::ControlCode, code, id);
        // Menu commands, and BN_CLICKED (code 0) from buttons.
        if (!entry && code == 0) entry = map.Find(MessageEntry::Kind::Command, 0, id);
    } else if (message == WM_NOTIFY && lParam) {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        Window *control = FromHandlePermanent(header->hwndFrom);
        if (control && control != this && control->OnReflectedNotify(header, result)) return true;
        entry = map.Find(MessageEntry::Kind::Notify, header->code, static_cast<UINT>(header->idFrom));
    }
    if (!entry) entry = map.Find(MessageEntry::Kind::Message, message, 0);
    if (!entry) return false;
    entry->run(*this, wParam, lParam, result);
    return true;
}

bool Window::OnReflectedNotify(NMHDR *header, LRESULT &result) {
    const MessageEntry *entry = Messages().Find(MessageEntry::Kind::Reflected, header->code, 0);
    if (!entry) return false;
    entry->run(*this, 0, reinterpret_cast<LPARAM>(header), result);
    return true;
}

bool Window::HasCommandHandler(UINT id) const {
    const MessageMap &map = Messages();
    return map.Find(MessageEntry::Kind::Command, 0, id) || map.Find(MessageEntry::Kind::UpdateCommand, 0, id);
}

bool Window::UpdateCommand(CommandUpdate &update) {
    const MessageEntry *entry = Messages().Find(MessageEntry::Kind::UpdateCommand, 0, update.Id());
    if (!entry) return false;
    LRESULT ignored = 0;
    entry->run(*this, 0, reinterpret_cast<LPARAM>(&update), ignored);
    return true;
}
