#include "options/AboutBox.h"

#include "appkit/Application.h"
#include "config/LocalizationTable.h"
#include "options/DpiScale.h"
#include "options/HelpTopics.h"
#include "options/TapRouter.h"

namespace {

constexpr DWORD kDialogStyle = 0x80C80080;  // popup, caption, system menu, modal frame
constexpr UINT kStaticId = 0xFFFF;
constexpr int kProgramIcon = 128;
const WCHAR kVersionFormat[] = TEXT("Version %s, Build %s");
const WCHAR kCopyright[] = TEXT("Copyright (c) 2004-2026\nVarnhold Software");


int WindowHeight(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

}  // namespace

WideString ProgramVersion() {
    WCHAR text[32];
    wsprintfW(text, TEXT("%d.%d.%d"), 1, 0, 1);
    return text;
}

WideString ProgramBuild() {
    WCHAR text[16];
    wsprintfW(text, TEXT("%d"), 376);
    return text;
}

INT_PTR ShowAboutBox(LPCWSTR title, LPCWSTR version, LPCWSTR build, LPCWSTR helpTopic, Window *parent, int icon) {
    AboutBox box(parent);
    box.title = title;
    box.version = version;
    box.build = build;
    box.helpTopic = helpTopic;
    int id = icon == -1 ? kProgramIcon : icon;
    box.icon = static_cast<HICON>(
        LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, DpiScaleX(32), DpiScaleY(32), 0));
    return box.DoModal();
}

AboutBox::AboutBox(Window *parent)
    : Dialog(static_cast<const DLGTEMPLATE *>(nullptr), parent),
      frame_(DialogFrame::AboutPreset()),
      template_(kDialogStyle, 0, 0, 0, static_cast<short>(DpiScaleX(132)), static_cast<short>(DpiScaleY(145)),
                TEXT("")) {
    SetMemoryTemplate(template_.Get());
}

AboutBox::~AboutBox() {
    if (icon) DestroyIcon(icon);
}

LRESULT AboutBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTINGCHANGE:
            if (wParam == SETTINGCHANGE_RESET) LayoutAboutBox();
            break;
        case WM_HELP:
            StartHelp((TEXT("file:") + helpTopic).c_str());
            return 0;
        case WM_LBUTTONDOWN:
            DefWindowProc(message, wParam, lParam);
            return 0;
    }
    if (frame_.BeforeMessage(*this, message, wParam, lParam)) return 0;
    LRESULT result = Dialog::WindowProc(message, wParam, lParam);
    frame_.AfterMessage(*this, message, wParam);
    return result;
}

void AboutBox::CreateLine(Window &line, LPCWSTR text, int top, int bottom) {
    RECT client{};
    GetClientRect(Handle(), &client);
    line.CreateEx(0, TEXT("STATIC"), text, WS_CHILD | WS_VISIBLE | SS_CENTER, client.left, top,
                  client.right - client.left, bottom - top, Handle(), kStaticId);
}

BOOL AboutBox::OnInitDialog() {
    Dialog::OnInitDialog();
    CenterWindow();
    WCHAR line[1024];
    wsprintfW(line, TranslateText(kVersionFormat).c_str(), version.c_str(), build.c_str());
    WideString copyright = TranslateText(kCopyright);
    CreateLine(nameLine_, title.c_str(), DpiScaleY(45), DpiScaleY(72));
    CreateLine(versionLine_, line, DpiScaleY(72), DpiScaleY(101));
    CreateLine(copyrightNotice_, copyright.c_str(), DpiScaleY(101), DpiScaleY(142));
    RECT client{};
    GetClientRect(Handle(), &client);
    iconStatic_.CreateEx(0, TEXT("STATIC"), TEXT(""), WS_CHILD | WS_VISIBLE | SS_ICON,
                         (client.right - client.left) / 2 - DpiScaleX(16), DpiScaleY(162), DpiScaleX(32),
                         DpiScaleY(32), Handle(), kStaticId);
    if (icon) SendMessageW(iconStatic_.Handle(), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    SetWindowTextW(Handle(), title.c_str());
    for (Window *control : {&nameLine_, &versionLine_, &copyrightNotice_, &iconStatic_})
        RouteTapsToDefault(control->Handle());
    LayoutAboutBox();
    return TRUE;
}

void AboutBox::LayoutAboutBox() {
    RECT client{};
    GetClientRect(Handle(), &client);
    int width = client.right - client.left;
    int y = client.top + DpiScaleY(30);
    for (Window *line : {&nameLine_, &versionLine_, &copyrightNotice_}) {
        if (!line->Handle()) continue;
        int height = WindowHeight(line->Handle());
        MoveWindow(line->Handle(), client.left, y, width, height, TRUE);
        y += height;
    }
    if (!iconStatic_.Handle()) return;
    RECT r{};
    GetWindowRect(iconStatic_.Handle(), &r);
    int iconWidth = r.right - r.left;
    MoveWindow(iconStatic_.Handle(), client.left + (width - iconWidth) / 2, y, iconWidth, r.bottom - r.top, TRUE);
}
