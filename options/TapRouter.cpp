#include "options/TapRouter.h"

#include <map>
#include <memory>

#include "appkit/Window.h"

namespace {

// Each routed control's previous procedure; made on first use, kept until
// the program ends.
std::map<HWND, WNDPROC> &Routed() {
    static std::unique_ptr<std::map<HWND, WNDPROC>> table(new std::map<HWND, WNDPROC>);
    return *table;
}

LRESULT CALLBACK TapRouterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = Routed().find(hwnd);
    if (found == Routed().end()) return DefWindowProcW(hwnd, message, wParam, lParam);
    WNDPROC previous = found->second;
    if (message == WM_LBUTTONDOWN) {
        if (Window *object = Window::FromHandlePermanent(hwnd)) return object->DefWindowProc(message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        Routed().erase(found);
    }
    return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

}  // namespace

bool RouteTapsToDefault(HWND control) {
    if (!control || Routed().count(control)) return false;
    Routed()[control] = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWL_WNDPROC));
    SetWindowLongPtrW(control, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&TapRouterProc));
    return true;
}

size_t RoutedControlCount() { return Routed().size(); }
