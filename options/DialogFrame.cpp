#include "options/DialogFrame.h"

#include <aygshell.h>
#include <commctrl.h>

#include "appkit/Application.h"
#include "appkit/CommandUpdate.h"
#include "appkit/Dialog.h"
#include "config/LocalizationTable.h"
#include "options/DpiScale.h"
#include "options/FrameFonts.h"

namespace {

constexpr COLORREF kTitleColor = RGB(0, 0, 156);
constexpr int kBandHeight = 24;
constexpr UINT kCancelButtonSize = MAKELONG(23, 22);


// The translated "Cancel", made once; the bar points to it until the end.
LPCWSTR CancelLabel() {
    static const WideString label = TranslateText(TEXT("Cancel"));
    return label.c_str();
}

}  // namespace

DialogFrame DialogFrame::PagePreset() {
    DialogFrame f;
    f.title = TEXT("_");
    f.applyFonts = f.inputPanelControl = f.menuPopupUpdate = f.swallowTaps = true;
    return f;
}

DialogFrame DialogFrame::ChooserPreset() {
    DialogFrame f = PagePreset();
    f.cancelButton = true;
    return f;
}

DialogFrame DialogFrame::AboutPreset() {
    DialogFrame f;
    f.applyFonts = f.swallowTaps = f.hideScrollBar = true;
    f.hideScrollBarMessage = RegisterWindowMessageW(TEXT("DisableScrollBarMessage"));
    return f;
}

bool DialogFrame::BeforeMessage(Dialog &dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = dialog.Handle();
    if (!title.empty()) {
        if (message == WM_VSCROLL) TrackScroll(hwnd, wParam);
        if (message == WM_PAINT) {
            BeginPaint(hwnd, &paintState);
            PaintTitleBand(hwnd);
        }
    }
    if (hideScrollBar) {
        if (message == WM_INITDIALOG || message == WM_SETTINGCHANGE) PostMessageW(hwnd, hideScrollBarMessage, 0, 0);
        if (message == hideScrollBarMessage) {
            SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_VSCROLL);
            return true;
        }
    }
    if (applyFonts && message == WM_INITDIALOG) ApplyDialogFonts(hwnd);
    if (swallowTaps && message == WM_LBUTTONDOWN) return true;
    if (menuPopupUpdate && message == WM_INITMENUPOPUP) {
        if (HIWORD(lParam) != 0) return false;  // the system menu
        UpdatePopupCommands(dialog, reinterpret_cast<HMENU>(wParam));
        return true;
    }
    return false;
}

void DialogFrame::AfterMessage(Dialog &dialog, UINT message, WPARAM wParam) {
    HWND hwnd = dialog.Handle();
    if (inputPanelControl && message == WM_INITDIALOG) AddInputPanelControl(hwnd);
    if (cancelButton && message == WM_INITDIALOG) AddCancelButton(dialog);
    if (message == WM_SIZE) {
        RECT client{};
        GetClientRect(hwnd, &client);
        clientWidth = client.right - client.left;
    }
    if (!title.empty() && message == WM_PAINT) EndPaint(hwnd, &paintState);
    if (message == WM_SETTINGCHANGE && wParam == SETTINGCHANGE_RESET) scrollOffset = 0;
}

void DialogFrame::SetTitle(Dialog &dialog, const WideString &text) {
    title = text;
    if (!dialog.Handle()) return;
    RECT band = {0, 0, clientWidth, DpiScaleY(kBandHeight + 1)};
    InvalidateRect(dialog.Handle(), &band, TRUE);
}

void DialogFrame::TrackScroll(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) == SB_THUMBTRACK) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(dialog, SB_VERT, &info);
        scrollOffset = -info.nTrackPos;
    } else {
        scrollOffset = -GetScrollPos(dialog, SB_VERT);
    }
    InvalidateRect(dialog, nullptr, TRUE);
}

void DialogFrame::PaintTitleBand(HWND dialog) {
    HDC dc = paintState.hdc;
    RECT client{};
    GetClientRect(dialog, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));

    HGDIOBJ oldFont = SelectObject(dc, TitleFont());
    SetTextColor(dc, kTitleColor);
    SetBkMode(dc, TRANSPARENT);
    RECT band = {DpiScaleX(8), scrollOffset, clientWidth, scrollOffset + DpiScaleY(kBandHeight)};
    DrawTextW(dc, title.c_str(), -1, &band, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SelectObject(dc, oldFont);

    HPEN pen = CreatePen(PS_SOLID, DpiScaleY(1), RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    LOGPEN drawn{};
    GetObjectW(GetCurrentObject(dc, OBJ_PEN), sizeof(drawn), &drawn);
    // A wide pen lies below the band, not across its edge.
    int y = scrollOffset + DpiScaleY(kBandHeight) + drawn.lopnWidth.x / 2;
    POINT line[2] = {{0, y}, {DpiScaleX(clientWidth), y}};
    Polyline(dc, line, 2);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void DialogFrame::AddInputPanelControl(HWND dialog) {
    WNDCLASSW info{};
    if (!GetClassInfoW(ProgramInstance(), TEXT("SIPPREF"), &info)) SHInitExtraControls();
    CreateWindowExW(0, TEXT("SIPPREF"), TEXT(""), WS_CHILD, 0, 0, 0, 0, dialog, nullptr, ProgramInstance(), nullptr);
}

void DialogFrame::AddCancelButton(Dialog &dialog) {
    HWND bar = dialog.DialogMenuBar().Handle();
    if (!bar) return;
    LRESULT count = SendMessageW(bar, TB_BUTTONCOUNT, 0, 0);
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = IDCANCEL;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_AUTOSIZE;
    button.iString = reinterpret_cast<INT_PTR>(CancelLabel());
    SendMessageW(bar, TB_INSERTBUTTON, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&button));
    SendMessageW(bar, TB_SETBUTTONSIZE, 0, kCancelButtonSize);
}
