#include "TodayScreen.h"

#include <algorithm>

#include "OwnItems.h"
#include "TodayItemList.h"
#include "Watermark.h"
#include "shell/shell_bars.h"
#include "window/window.h"

#include <aygshell.h>
#include <commctrl.h>

namespace {

constexpr WCHAR kClassName[] = TEXT("DesktopExplorerWindow");
constexpr WCHAR kPaneClass[] = TEXT("TodayTabPane");
constexpr UINT_PTR kHeightTimer = 1;
constexpr UINT kHeightPeriod = 2000;
constexpr WPARAM kReloadItems = 0xF2;
constexpr UINT kCalendarCommand = 0x9001;
constexpr UINT kContactsCommand = 0x9002;

// An item module's export by ordinal, as the function type it has.
template <typename Function>
Function ExportOf(HMODULE module, WORD ordinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddressW(module, MAKEINTRESOURCEW(ordinal))));
}

// The panes between a tab host and its item pass the item protocol's
// messages up to the screen, as a tab host does.
LRESULT CALLBACK PaneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TODAYM_GETCOLOR || msg == TODAYM_DRAWWATERMARK || msg == TODAYM_TOOKSELECTION)
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

TodayScreen::TodayScreen(Options options) : options_(options) {}

TodayScreen::~TodayScreen() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    DestroyItems();
}

bool TodayScreen::Create() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    WNDCLASSW pane{};
    pane.lpfnWndProc = PaneProc;
    pane.lpszClassName = kPaneClass;
    RegisterClassW(&pane);
    RegisterOwnItemClasses();
    // The screen lies between the shell's bars, as on the device.
    wince::shell::StartBars();
    RECT work = wince::shell::WorkArea();
    hwnd_ = CreateWindowExW(0, kClassName, TEXT("Today"), WS_POPUP, work.left, work.top, work.right - work.left,
                            work.bottom - work.top, nullptr, nullptr, nullptr, this);
    if (!hwnd_) return false;
    CreateMenuBar();
    wince::SetDesktopWindow(hwnd_);  // other programs of the device post to it
    SetWindowLongPtrW(hwnd_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    LoadItems();
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(hwnd_);
    SetTimer(hwnd_, kHeightTimer, kHeightPeriod, nullptr);
    UpdateWindow(hwnd_);
    return true;
}

// The Today screen's own menu bar: its two usual entries.
void TodayScreen::CreateMenuBar() {
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi;
    mbi.hwndParent = hwnd_;
    mbi.dwFlags = SHCMBF_EMPTYBAR;
    if (!SHCreateMenuBar(&mbi)) return;
    SendMessageW(mbi.hwndMB, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    struct Entry {
        UINT command;
        LPCWSTR text;
    };
    for (Entry e : {Entry{kCalendarCommand, TEXT("Calendar")}, Entry{kContactsCommand, TEXT("Contacts")}}) {
        TBBUTTON b{};
        b.iBitmap = I_IMAGENONE;
        b.idCommand = static_cast<int>(e.command);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = TBSTYLE_AUTOSIZE;
        b.iString = reinterpret_cast<INT_PTR>(e.text);
        SendMessageW(mbi.hwndMB, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&b));
    }
}

void TodayScreen::LoadItems() {
    items_.clear();
    items_.push_back(MakeDateItemSlot());
    for (TodayItemSlot &slot : ReadTodayItemList()) items_.push_back(std::move(slot));
    items_.push_back(MakeFooterItemSlot());
    RECT client;
    GetClientRect(hwnd_, &client);
    layoutWidth_ = client.right;
    for (TodayItemSlot &slot : items_) CreateItemWindow(slot);
    QueryHeights();
    Layout();
}

void TodayScreen::CreateItemWindow(TodayItemSlot &slot) {
    if (!slot.module) {
        slot.window = CreateOwnItem(slot, hwnd_);
        return;
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    if (options_.tabHost) {
        auto hosted = ExportOf<HWND(WINAPI *)(void *, TODAYLISTITEM *, HWND)>(slot.module, 242);
        if (!hosted) return;
        // The item sits three levels below the screen, as in a tab host.
        HWND outer = CreateWindowExW(0, kPaneClass, TEXT(""), WS_CHILD | WS_VISIBLE, 0, 0, client.right, 0, hwnd_,
                                     nullptr, nullptr, nullptr);
        HWND inner = CreateWindowExW(0, kPaneClass, TEXT(""), WS_CHILD | WS_VISIBLE, 0, 0, client.right, 0, outer,
                                     nullptr, nullptr, nullptr);
        slot.container = outer;
        slot.window = hosted(nullptr, &slot.record, inner);
    } else {
        auto initialize = ExportOf<PFNCUSTOMINITIALIZEITEM>(slot.module, INITIALIZE_CUSTOM_ITEM);
        if (!initialize) return;
        slot.window = initialize(&slot.record, hwnd_);
    }
    slot.record.hwndCustom = slot.window;
}

void TodayScreen::DestroyItems() {
    for (TodayItemSlot &slot : items_) {
        if (slot.container && IsWindow(slot.container)) DestroyWindow(slot.container);
        else if (slot.window && IsWindow(slot.window)) DestroyWindow(slot.window);
        slot.window = slot.container = nullptr;
    }
    // Windows go before their libraries.
    for (TodayItemSlot &slot : items_)
        if (slot.module) FreeLibrary(slot.module);
    items_.clear();
    selected_ = -1;
}

void TodayScreen::ReloadItems() {
    DestroyItems();
    LoadItems();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TodayScreen::QueryHeights() {
    bool changed = false;
    for (TodayItemSlot &slot : items_) {
        if (!slot.window || !IsWindow(slot.window)) continue;
        if (SendMessageW(slot.window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&slot.record), 0))
            changed = true;
    }
    if (changed) Layout();
}

void TodayScreen::Layout() {
    RECT client;
    GetClientRect(hwnd_, &client);
    contentHeight_ = 0;
    for (const TodayItemSlot &slot : items_)
        if (slot.window) contentHeight_ += static_cast<int>(slot.record.cyp);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(contentHeight_ - 1, 0),
                  static_cast<UINT>(client.bottom), scrollPos_, 0};
    scrollPos_ = SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    if (!(GetWindowLongW(hwnd_, GWL_STYLE) & WS_VSCROLL)) scrollPos_ = 0;
    GetClientRect(hwnd_, &client);
    int y = -scrollPos_;
    for (TodayItemSlot &slot : items_) {
        if (!slot.window || !IsWindow(slot.window)) continue;
        int height = static_cast<int>(slot.record.cyp);
        if (slot.container) {
            SetWindowPos(slot.container, nullptr, 0, y, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
            HWND inner = GetWindow(slot.container, GW_CHILD);
            SetWindowPos(inner, nullptr, 0, 0, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
            RECT itemRect;
            GetWindowRect(slot.window, &itemRect);
            SetWindowPos(slot.window, nullptr, 0, 0, itemRect.right - itemRect.left, height,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        } else {
            RECT itemRect;
            GetWindowRect(slot.window, &itemRect);
            // Items keep the width they chose; the screen sets place and height.
            SetWindowPos(slot.window, nullptr, 0, y, itemRect.right - itemRect.left, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        y += height;
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int TodayScreen::IndexOf(HWND window) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].window == window) return static_cast<int>(i);
    return -1;
}

void TodayScreen::Select(int index, WPARAM) {
    if (selected_ == index) return;
    if (selected_ >= 0 && items_[selected_].window) SendMessageW(items_[selected_].window, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
    selected_ = index;
}

// Up and down move the selection to the neighbouring item that accepts it.
void TodayScreen::MoveSelection(WPARAM key) {
    int step = (key == VK_UP || key == VK_LEFT) ? -1 : 1;
    int start = selected_ < 0 ? (step > 0 ? 0 : static_cast<int>(items_.size()) - 1) : selected_ + step;
    for (int i = start; i >= 0 && i < static_cast<int>(items_.size()); i += step) {
        HWND w = items_[i].window;
        if (!w || !IsWindow(w)) continue;
        int previous = selected_;
        if (previous >= 0 && items_[previous].window)
            SendMessageW(items_[previous].window, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
        selected_ = -1;
        if (SendMessageW(w, WM_TODAYCUSTOM_RECEIVEDSELECTION, key, 0)) {
            selected_ = i;
            RECT r, client;
            GetWindowRect(w, &r);
            GetClientRect(hwnd_, &client);
            MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT *>(&r), 2);
            if (r.top < 0 || r.bottom > client.bottom) {
                scrollPos_ = std::max(0, scrollPos_ + (r.top < 0 ? r.top : r.bottom - client.bottom));
                Layout();
            }
            return;
        }
    }
}

void TodayScreen::OnKey(WPARAM key) {
    if (key == VK_RETURN) {
        if (selected_ >= 0 && items_[selected_].window) SendMessageW(items_[selected_].window, WM_TODAYCUSTOM_ACTION, 0, 0);
        return;
    }
    if (key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT) return;
    if (selected_ >= 0 && items_[selected_].window &&
        SendMessageW(items_[selected_].window, WM_TODAYCUSTOM_USERNAVIGATION, key, 0))
        return;
    if (key == VK_UP || key == VK_DOWN) MoveSelection(key);
}

void TodayScreen::OnScroll(WPARAM code) {
    RECT client;
    GetClientRect(hwnd_, &client);
    int screen = client.bottom;
    int maxPos = std::max(0, contentHeight_ - screen);
    int pos = scrollPos_;
    switch (LOWORD(code)) {
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = maxPos; break;
        case SB_LINEUP: pos -= 16; break;
        case SB_LINEDOWN: pos += 16; break;
        case SB_PAGEUP: pos -= screen; break;
        case SB_PAGEDOWN: pos += screen; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = static_cast<short>(HIWORD(code)); break;
        default: return;
    }
    pos = std::clamp(pos, 0, maxPos);
    if (pos == scrollPos_) return;
    scrollPos_ = pos;
    Layout();
}

// The screen turned (or the window was resized): the items that spanned
// the old width span the new one, and since their layout follows their
// width they are asked their heights again.
void TodayScreen::OnSize(int width) {
    if (sizing_ || items_.empty()) return;
    sizing_ = true;
    if (width != layoutWidth_) {
        for (TodayItemSlot &slot : items_) {
            HWND outer = slot.container ? slot.container : slot.window;
            if (!outer || !IsWindow(outer)) continue;
            RECT r;
            GetWindowRect(outer, &r);
            if (r.right - r.left < layoutWidth_) continue;
            SetWindowPos(outer, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (slot.container && slot.window && IsWindow(slot.window)) {
                GetWindowRect(slot.window, &r);
                SetWindowPos(slot.window, nullptr, 0, 0, width, r.bottom - r.top,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        layoutWidth_ = width;
    }
    QueryHeights();
    Layout();
    sizing_ = false;
}

// The desktop window covers the work area whatever the screen's size now.
void TodayScreen::FitToScreen() {
    RECT r, work = wince::shell::WorkArea();
    GetWindowRect(hwnd_, &r);
    if (!EqualRect(&r, &work))
        SetWindowPos(hwnd_, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    QueryHeights();
    Layout();
}

COLORREF TodayScreen::Color(WPARAM which) const {
    switch (which) {
        case TODAYCOLOR_TEXT: return TodayTextColor();
        case TODAYCOLOR_HIGHLIGHT: return TodayHighlightColor();
        case TODAYCOLOR_HIGHLIGHTEDTEXT: return TodayHighlightedTextColor();
    }
    return GetSysColor(COLOR_WINDOWTEXT);
}

bool TodayScreen::ShowItemOptions(const std::u16string &name) {
    for (TodayItemSlot &slot : items_) {
        if (slot.name != name || !slot.module) continue;
        auto proc = ExportOf<DLGPROC>(slot.module, CUSTOM_ITEM_OPTIONS_DLG_PROC);
        if (!proc) return false;
        DialogBoxParamW(slot.module, MAKEINTRESOURCEW(500), hwnd_, proc, 0);
        return true;
    }
    return false;
}

LRESULT TodayScreen::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd_, &ps);
            RECT client;
            GetClientRect(hwnd_, &client);
            PaintTodayBackground(hdc, client, POINT{0, 0}, hwnd_);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == kHeightTimer) QueryHeights();
            return 0;
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        case WM_VSCROLL:
            OnScroll(wParam);
            return 0;
        case WM_SIZE:
            OnSize(LOWORD(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == kReloadItems) ReloadItems();
            else if (wParam == SETTINGCHANGE_RESET) FitToScreen();
            return 0;
        case TODAYM_GETCOLOR:
            return static_cast<LRESULT>(Color(wParam));
        case TODAYM_DRAWWATERMARK: {
            auto *info = reinterpret_cast<TODAYDRAWWATERMARKINFO *>(lParam);
            if (!info || !info->hdc) return 0;
            // The background continues seamlessly behind the item.
            POINT origin{0, 0};
            MapWindowPoints(info->hwnd, hwnd_, &origin, 1);
            PaintTodayBackground(info->hdc, info->rc, origin, hwnd_);
            return 1;
        }
        case TODAYM_TOOKSELECTION:
            Select(IndexOf(reinterpret_cast<HWND>(wParam)), 0);
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kHeightTimer);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK TodayScreen::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = reinterpret_cast<TodayScreen *>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (msg == WM_CREATE) {
        auto *cs = reinterpret_cast<CREATESTRUCTW *>(lParam);
        self = static_cast<TodayScreen *>(cs->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->Handle(msg, wParam, lParam);
}
