#include "OwnItems.h"

#include "Watermark.h"

namespace {

constexpr WCHAR kDateClass[] = TEXT("TodayDateItem");
constexpr WCHAR kFooterClass[] = TEXT("TodayOwnerItem");

int Scaled(int at96) { return (at96 * GetSystemMetrics(SM_CXICON) / 32); }

std::u16string DateText() {
    static const char16_t *const days[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday",
                                           u"Thursday", u"Friday", u"Saturday"};
    static const char16_t *const months[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                             u"July",    u"August",   u"September", u"October", u"November", u"December"};
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR text[64];
    wsprintfW(text, u"%s, %s %d, %d", days[now.wDayOfWeek % 7], months[(now.wMonth + 11) % 12], now.wDay, now.wYear);
    return text;
}

constexpr UINT_PTR kMidnightTimer = 1;

bool IsDateItem(HWND hwnd) {
    WCHAR className[32];
    GetClassNameW(hwnd, className, 32);
    return lstrcmpW(className, kDateClass) == 0;
}

// The date changes at midnight, not with any message: wake then to show it.
void ArmMidnightTimer(HWND hwnd) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    UINT msToMidnight = ((23 - now.wHour) * 3600 + (59 - now.wMinute) * 60 + (59 - now.wSecond)) * 1000 +
                        (1000 - now.wMilliseconds);
    SetTimer(hwnd, kMidnightTimer, msToMidnight, nullptr);
}

LRESULT CALLBACK OwnItemProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool selected = GetWindowLongPtrW(hwnd, GWL_USERDATA) != 0;
    switch (msg) {
        case WM_CREATE:
            if (IsDateItem(hwnd)) ArmMidnightTimer(hwnd);
            return 0;
        case WM_TIMER:
            if (wParam != kMidnightTimer) break;
            InvalidateRect(hwnd, nullptr, FALSE);
            ArmMidnightTimer(hwnd);
            return 0;
        case WM_TIMECHANGE:
            if (!IsDateItem(hwnd)) break;
            InvalidateRect(hwnd, nullptr, FALSE);
            ArmMidnightTimer(hwnd);
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kMidnightTimer);
            return 0;
        case WM_TODAYCUSTOM_QUERYREFRESHCACHE: {
            auto *record = reinterpret_cast<TODAYLISTITEM *>(wParam);
            DWORD height = static_cast<DWORD>(Scaled(20));
            if (!record || record->cyp == height) return FALSE;
            record->cyp = height;
            return TRUE;
        }
        case WM_TODAYCUSTOM_RECEIVEDSELECTION:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, 1);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case WM_TODAYCUSTOM_LOSTSELECTION:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case WM_TODAYCUSTOM_USERNAVIGATION:
            return FALSE;
        case WM_LBUTTONDOWN:
            SendMessageW(GetParent(hwnd), TODAYM_TOOKSELECTION, reinterpret_cast<WPARAM>(hwnd), 0);
            SetWindowLongPtrW(hwnd, GWL_USERDATA, 1);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            RECT client;
            GetClientRect(hwnd, &client);
            if (selected) {
                HBRUSH brush = CreateSolidBrush(TodayHighlightColor());
                FillRect(hdc, &client, brush);
                DeleteObject(brush);
            } else {
                TODAYDRAWWATERMARKINFO info{hdc, client, hwnd};
                SendMessageW(GetParent(hwnd), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&info));
            }
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, selected ? TodayHighlightedTextColor() : TodayTextColor());
            HGDIOBJ old = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
            std::u16string text = IsDateItem(hwnd) ? DateText() : u"Owner: Pocket PC User";
            RECT textRect = client;
            textRect.left += Scaled(28);
            DrawTextW(hdc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
            SelectObject(hdc, old);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TodayItemSlot MakeSlot(const char16_t *name) {
    TodayItemSlot slot;
    slot.name = name;
    lstrcpynW(slot.record.szName, name, MAX_ITEMNAME);
    slot.record.tlit = tlitOwnerInfo;
    slot.record.fEnabled = TRUE;
    return slot;
}

}  // namespace

void RegisterOwnItemClasses() {
    for (LPCWSTR name : {kDateClass, kFooterClass}) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnItemProc;
        wc.lpszClassName = name;
        RegisterClassW(&wc);
    }
}

TodayItemSlot MakeDateItemSlot() { return MakeSlot(u"Date"); }

TodayItemSlot MakeFooterItemSlot() { return MakeSlot(u"Owner"); }

HWND CreateOwnItem(TodayItemSlot &slot, HWND screen) {
    bool date = slot.name == u"Date";
    RECT client;
    GetClientRect(screen, &client);
    HWND hwnd = CreateWindowExW(0, date ? kDateClass : kFooterClass, slot.name.c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                                client.right, 0, screen, nullptr, nullptr, nullptr);
    slot.record.hwndCustom = hwnd;
    return hwnd;
}
