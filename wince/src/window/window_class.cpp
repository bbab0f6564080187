#include "window_class.h"

#include <vector>

#include "core/unicode.h"

namespace wince {
namespace {

std::vector<std::shared_ptr<WindowClass>> &Classes() {
    static auto *classes = new std::vector<std::shared_ptr<WindowClass>>;
    return *classes;
}

std::vector<SystemClassRegistrar> &Registrars() {
    static auto *registrars = new std::vector<SystemClassRegistrar>;
    return *registrars;
}

ATOM nextAtom = 0xC000;

// A class name may be an atom in the low word, as Win32 allows.
std::shared_ptr<WindowClass> Lookup(LPCWSTR name) {
    if (!name) return nullptr;
    for (auto &c : Classes()) {
        if (IS_INTRESOURCE(name) ? c->atom == LOWORD(reinterpret_cast<uintptr_t>(name))
                                 : EqualsIgnoreCase(c->name, name))
            return c;
    }
    return nullptr;
}

}  // namespace

void AddSystemClassRegistrar(SystemClassRegistrar registrar) { Registrars().push_back(registrar); }

void EnsureSystemClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    for (auto r : Registrars()) r();
}

std::shared_ptr<WindowClass> FindClass(LPCWSTR name) {
    EnsureSystemClasses();
    return Lookup(name);
}

}  // namespace wince

using namespace wince;

ATOM WINAPI RegisterClassW(const WNDCLASSW *wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 || wc->cbWndExtra < 0 ||
        (!IS_INTRESOURCE(wc->lpszClassName) && !*wc->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (IS_INTRESOURCE(wc->lpszClassName) || Lookup(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto c = std::make_shared<WindowClass>();
    c->name = wc->lpszClassName;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->classExtra = wc->cbClsExtra;
    c->windowExtra = wc->cbWndExtra;
    c->instance = wc->hInstance;
    c->icon = wc->hIcon;
    c->cursor = wc->hCursor;
    c->background = wc->hbrBackground;
    if (wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName)) c->menuName = wc->lpszMenuName;
    c->atom = nextAtom++;
    Classes().push_back(c);
    return c->atom;
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
    auto c = Lookup(lpClassName);
    if (!c || (hInstance && c->instance && c->instance != hInstance)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    auto &all = Classes();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (*it == c) {
            all.erase(it);
            break;
        }
    }
    return TRUE;
}

BOOL WINAPI GetClassInfoW(HINSTANCE, LPCWSTR lpClassName, LPWNDCLASSW wc) {
    auto c = FindClass(lpClassName);
    if (!c || !wc) {
        SetLastError(c ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->style = c->style;
    wc->lpfnWndProc = c->proc;
    wc->cbClsExtra = c->classExtra;
    wc->cbWndExtra = c->windowExtra;
    wc->hInstance = c->instance;
    wc->hIcon = c->icon;
    wc->hCursor = c->cursor;
    wc->hbrBackground = c->background;
    wc->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
    wc->lpszClassName = c->name.c_str();
    return TRUE;
}
