#include "options/OptionsPage.h"

#include <new>

#include "options/AboutBox.h"
#include "options/HelpTopics.h"
#include "options/MenuBarBuilder.h"
#include "options/res/resource.h"

namespace {

constexpr UINT kMenuBarId = 0xE800;
constexpr DWORD kAlignTop = 0x2000;  // the framework's bar alignment
constexpr DWORD kEmptyBarStyle = WS_CHILD | WS_VISIBLE | kAlignTop;
constexpr DWORD kPageBarStyle = 0x50002800;
constexpr DWORD kPageBarFlags = 0x22;
constexpr int kAppend = 0xFFFF;

}  // namespace

OptionsPage::OptionsPage(UINT templateId, UINT captionId) : LocalizedPage(templateId, captionId) {}

const MessageMap &OptionsPage::Messages() const {
    using H = Handlers<OptionsPage>;
    static const MessageMap map(&LocalizedPage::Messages(), {H::Command(ID_TOOLS_ABOUT, &OptionsPage::OnAbout)});
    return map;
}

BOOL OptionsPage::OnInitDialog() {
    LocalizedPage::OnInitDialog();
    emptyMenuBar_.reset(new (std::nothrow) CommandBar);
    if (emptyMenuBar_) emptyMenuBar_->Create(*this, TBSTYLE_FLAT, kEmptyBarStyle, kMenuBarId);
    return TRUE;
}

bool OptionsPage::CreatePageMenuBar() {
    bool made = pageMenuBar.Create(*this, 0, kPageBarStyle, kMenuBarId);
    if (made) pageMenu_ = BuildMenuBar(pageMenuBar, IDR_PAGE_MENU, kAppend);
    if (!made || !pageMenu_ || !pageMenuBar.AddAdornments(0)) {
        EndDialog(IDCANCEL);
        return false;
    }
    pageMenuBar.SetBarStyle(pageMenuBar.BarStyle() | kPageBarFlags);
    return true;
}

void OptionsPage::ShowPageMenuBar() {
    if (!pageMenuBar.Handle()) return;
    ShowWindow(pageMenuBar.Handle(), SW_SHOW);
    SetWindowPos(pageMenuBar.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OptionsPage::HidePageMenuBar() {
    if (pageMenuBar.Handle()) ShowWindow(pageMenuBar.Handle(), SW_HIDE);
}

void OptionsPage::OnAbout() {
    ShowAboutBox(TEXT("Pelloran"), ProgramVersion().c_str(), ProgramBuild().c_str(), AboutHelpTopic, this, IDR_MAINFRAME);
}
