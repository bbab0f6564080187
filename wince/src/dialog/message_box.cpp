// MessageBox: a modal dialog built in memory, laid out in pixels around
// the word-wrapped text, answered by its buttons, Enter and Escape.
#include "message_box.h"

#include <algorithm>
#include <vector>

#include "template_writer.h"

namespace wince {
namespace {

constexpr WORD kIconId = 20, kTextId = 21;

MessageBoxObserver &Observer() {
    static auto *observer = new MessageBoxObserver;
    return *observer;
}

struct Box {
    std::u16string text, caption;
    UINT type = 0;
    std::vector<int> buttons;
    LPCWSTR icon = nullptr;
    int defaultId = IDOK;
};

LPCWSTR ButtonText(int id) {
    switch (id) {
        case IDOK:
            return u"OK";
        case IDCANCEL:
            return u"Cancel";
        case IDABORT:
            return u"Abort";
        case IDRETRY:
            return u"Retry";
        case IDIGNORE:
            return u"Ignore";
        case IDYES:
            return u"Yes";
        case IDNO:
            return u"No";
    }
    return u"";
}

bool ButtonsOf(UINT type, std::vector<int> &out) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            out = {IDOK};
            return true;
        case MB_OKCANCEL:
            out = {IDOK, IDCANCEL};
            return true;
        case MB_ABORTRETRYIGNORE:
            out = {IDABORT, IDRETRY, IDIGNORE};
            return true;
        case MB_YESNOCANCEL:
            out = {IDYES, IDNO, IDCANCEL};
            return true;
        case MB_YESNO:
            out = {IDYES, IDNO};
            return true;
        case MB_RETRYCANCEL:
            out = {IDRETRY, IDCANCEL};
            return true;
    }
    return false;
}

LPCWSTR IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return IDI_HAND;
        case MB_ICONQUESTION:
            return IDI_QUESTION;
        case MB_ICONEXCLAMATION:
            return IDI_EXCLAMATION;
        case MB_ICONASTERISK:
            return IDI_ASTERISK;
    }
    return nullptr;
}

int Scaled(int at96) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return (at96 * (dpi ? dpi : 96) + 48) / 96;
}

SIZE TextSize(const std::u16string &text, int maxWidth, UINT format) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{std::min<LONG>(r.right, maxWidth), r.bottom};
}

// Icon and text side by side, the buttons in a centred row below, the
// whole box centred on the work area and no wider than the screen.
void Layout(HWND dialog, const Box &box) {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT window, client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    int frameX = (window.right - window.left) - client.right, frameY = (window.bottom - window.top) - client.bottom;
    int margin = Scaled(8), gap = Scaled(6);
    int iconSize = box.icon ? GetSystemMetrics(SM_CXICON) : 0;
    int iconSpace = box.icon ? iconSize + gap : 0;
    int maxWidth = (work.right - work.left) - Scaled(8);
    int maxText = std::max(Scaled(40), maxWidth - frameX - 2 * margin - iconSpace);
    SIZE text = TextSize(box.text, maxText, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int buttonHeight = TextSize(u"Ag", 1000, DT_SINGLELINE).cy + Scaled(10);
    int buttonWidth = Scaled(50);
    for (int id : box.buttons)
        buttonWidth = std::max<int>(buttonWidth, TextSize(ButtonText(id), 1000, DT_SINGLELINE).cx + 2 * Scaled(8));
    int n = static_cast<int>(box.buttons.size());
    int rowWidth = n * buttonWidth + (n - 1) * gap;
    int contentHeight = std::max<int>(text.cy, iconSize);
    int clientWidth = std::max<int>(iconSpace + text.cx, rowWidth) + 2 * margin;
    int clientHeight = margin + contentHeight + margin + buttonHeight + margin;
    int width = std::min<int>(clientWidth + frameX, work.right - work.left);
    int height = std::min<int>(clientHeight + frameY, work.bottom - work.top);
    // Text too long for the screen is cut off; the buttons stay in view.
    int buttonTop = height - frameY - margin - buttonHeight;
    MoveWindow(dialog, work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2,
               width, height, TRUE);
    if (box.icon) MoveWindow(GetDlgItem(dialog, kIconId), margin, margin, iconSize, iconSize, TRUE);
    MoveWindow(GetDlgItem(dialog, kTextId), margin + iconSpace, margin, text.cx,
               std::max(0, std::min<int>(text.cy, buttonTop - margin - margin)), TRUE);
    int x = (width - frameX - rowWidth) / 2;
    for (int id : box.buttons) {
        MoveWindow(GetDlgItem(dialog, id), x, buttonTop, buttonWidth, buttonHeight, TRUE);
        x += buttonWidth + gap;
    }
}

bool HasButton(const Box &box, int id) { return std::find(box.buttons.begin(), box.buttons.end(), id) != box.buttons.end(); }

BOOL CALLBACK MessageBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *box = reinterpret_cast<Box *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG: {
            box = reinterpret_cast<Box *>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetDlgItemTextW(dialog, kTextId, box->text.c_str());
            if (box->icon) SendDlgItemMessageW(dialog, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, box->icon)), 0);
            Layout(dialog, *box);
            SendMessageW(dialog, DM_SETDEFID, box->defaultId, 0);
            SetFocus(GetDlgItem(dialog, box->defaultId));
            return FALSE;
        }
        case WM_COMMAND: {
            if (!box) return FALSE;
            int id = LOWORD(wParam);
            if (HasButton(*box, id)) EndDialog(dialog, id);
            // Escape without a Cancel button: OK answers it, other boxes ignore it.
            else if (id == IDCANCEL && box->buttons.size() == 1 && box->buttons[0] == IDOK) EndDialog(dialog, IDOK);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer) {
    MessageBoxObserver old = std::move(Observer());
    Observer() = std::move(observer);
    return old;
}

}  // namespace wince

using namespace wince;

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    Box box;
    if (!ButtonsOf(uType, box.buttons) || (hWnd && !IsWindow(hWnd))) {
        SetLastError(hWnd && !IsWindow(hWnd) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    box.text = lpText ? lpText : u"";
    box.caption = lpCaption ? lpCaption : u"Error";
    box.type = uType;
    box.icon = IconOf(uType);
    size_t which = (uType >> 8) & 0xF;
    box.defaultId = box.buttons[which < box.buttons.size() ? which : 0];

    DialogTemplateWriter t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 100, 50, box.caption);
    if (box.icon) t.Item(0x0082, WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 0, 0, 0, kIconId, u"");
    t.Item(0x0082, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, kTextId, u"");
    for (size_t i = 0; i < box.buttons.size(); ++i)
        t.Item(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | (i == 0 ? WS_GROUP : 0), 0, 0, 0, 0,
               static_cast<WORD>(box.buttons[i]), ButtonText(box.buttons[i]));
    if (uType & (MB_ICONMASK)) MessageBeep(uType & MB_ICONMASK);
    INT_PTR answer = DialogBoxIndirectParamW(nullptr, t.Get(), hWnd, MessageBoxProc, reinterpret_cast<LPARAM>(&box));
    if (answer <= 0) return 0;
    if (Observer()) Observer()(box.text, box.caption, uType, static_cast<int>(answer));
    return static_cast<int>(answer);
}
