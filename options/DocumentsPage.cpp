#include "options/DocumentsPage.h"

#include "config/LocalizationTable.h"
#include "options/Translations.h"
#include "options/res/resource.h"

namespace {

const int kKinds[] = {IDC_POCKET_WORD, IDC_POCKET_EXCEL, IDC_NOTES, IDC_TEXT_FILES};

}  // namespace

DocumentsPage::DocumentsPage(FolderSettings *settings)
    : OptionsPage(IDD_DOCUMENTS_PAGE, IDS_DOCUMENTS_PAGE), frame_(DialogFrame::PagePreset()), settings_(settings) {
    RequestTranslations();
}

const MessageMap &DocumentsPage::Messages() const {
    using H = Handlers<DocumentsPage>;
    static const MessageMap map(&OptionsPage::Messages(),
                                {
                                    H::ControlCode(BN_CLICKED, IDC_POCKET_WORD, &DocumentsPage::OnKindClicked),
                                    H::ControlCode(BN_CLICKED, IDC_POCKET_EXCEL, &DocumentsPage::OnKindClicked),
                                    H::ControlCode(BN_CLICKED, IDC_NOTES, &DocumentsPage::OnKindClicked),
                                    H::ControlCode(BN_CLICKED, IDC_ALL_FILES, &DocumentsPage::OnKindClicked),
                                    H::ControlCode(BN_CLICKED, IDC_TEXT_FILES, &DocumentsPage::OnKindClicked),
                                });
    return map;
}

LRESULT DocumentsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.BeforeMessage(*this, message, wParam, lParam)) return 0;
    LRESULT result = OptionsPage::WindowProc(message, wParam, lParam);
    frame_.AfterMessage(*this, message, wParam);
    return result;
}

BOOL DocumentsPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    if (!CreatePageMenuBar()) return FALSE;
    frame_.SetTitle(*this, LoadText(IDS_SHEET_CAPTION));
    TranslateDialogTexts(Handle());
    bool all = settings_->GetShowAll();
    SendDlgItemMessageW(Handle(), IDC_ALL_FILES, BM_SETCHECK, all ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowKinds(all);
    return TRUE;
}

// The four kinds enabled unless "All files" is on, each ticked as its
// effective setting says.
void DocumentsPage::ShowKinds(bool all) {
    const bool shown[] = {settings_->GetShowPocketWord(), settings_->GetShowPocketExcel(), settings_->GetShowNotes(),
                          settings_->GetShowText()};
    for (int i = 0; i < 4; ++i) {
        HWND box = GetDlgItem(Handle(), kKinds[i]);
        EnableWindow(box, !all);
        SendMessageW(box, BM_SETCHECK, shown[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void DocumentsPage::OnKindClicked() {
    bool all = SendDlgItemMessageW(Handle(), IDC_ALL_FILES, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
    settings_->SetShowAll(all);
    if (!all && IsWindowEnabled(GetDlgItem(Handle(), IDC_POCKET_WORD))) {
        auto ticked = [this](int id) { return SendDlgItemMessageW(Handle(), id, BM_GETCHECK, 0, 0) != BST_UNCHECKED; };
        settings_->SetShowPocketWord(ticked(IDC_POCKET_WORD));
        settings_->SetShowPocketExcel(ticked(IDC_POCKET_EXCEL));
        settings_->SetShowNotes(ticked(IDC_NOTES));
        settings_->SetShowText(ticked(IDC_TEXT_FILES));
        return;
    }
    ShowKinds(all);
}

BOOL DocumentsPage::OnSetActive() {
    ShowPageMenuBar();
    return OptionsPage::OnSetActive();
}

BOOL DocumentsPage::OnKillActive() {
    HidePageMenuBar();
    return OptionsPage::OnKillActive();
}
