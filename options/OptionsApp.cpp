#include "options/OptionsApp.h"

#include "appkit/Window.h"
#include "config/LocalizationTable.h"
#include "drawing/ScreenMetrics.h"
#include "options/OptionsSheet.h"
#include "options/res/resource.h"

namespace {

OptionsApp theApp;

const WCHAR kOwnerClass[] = TEXT("PelloranMegaWndClass");

// The owner's title, made at start and kept until the program ends.
WideString &OwnerTitle() {
    static WideString title;
    return title;
}

// The owner window's object, made on first use; destroying it at the end
// of the program destroys the window.
Window &OwnerWindow() {
    static Window owner;
    return owner;
}

LRESULT CALLBACK OwnerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The modal sheet disables its owner; the owner stays usable.
    if (message == WM_ENABLE && !wParam) EnableWindow(hwnd, TRUE);
    if (message == WM_CLOSE) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

BOOL OptionsApp::InitInstance() {
    if (DisplayResolution.logPixelsX == 0) ReadDisplayResolution();

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &OwnerWindowProc;
    windowClass.hInstance = InstanceHandle();
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassW(&windowClass);

    OwnerTitle() = LoadText(IDS_OWNER_TITLE);
    HWND owner = CreateWindowExW(0, kOwnerClass, OwnerTitle().c_str(), WS_CAPTION, -1, -1, 0, 0, nullptr, nullptr,
                                 InstanceHandle(), nullptr);
    Window &ownerObject = OwnerWindow();
    ownerObject.Attach(owner);
    SetWindowPos(owner, nullptr, -1, -1, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    ShowWindow(owner, SW_SHOW);

    {
        CSheet sheet(&ownerObject);
        if (sheet.DoModal() == IDOK) PostMessageW(GetDesktopWindow(), WM_WININICHANGE, ReloadTodayItems, 0);
    }
    return FALSE;
}
