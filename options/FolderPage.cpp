#include "options/FolderPage.h"

#include <commctrl.h>

#include "appkit/Application.h"
#include "appkit/DataExchange.h"
#include "config/LocalizationTable.h"
#include "drawing/DialogLayout.h"
#include "drawing/ScreenMode.h"
#include "options/FolderChooserDialog.h"
#include "options/Translations.h"
#include "options/res/resource.h"

namespace {

constexpr int kFolderLength = 255;
constexpr int kMaxRows = 15;
constexpr int kMaxColumns = 4;
constexpr LPARAM kRowsRange = MAKELONG(15, 3);    // upper 15, lower 3
constexpr LPARAM kColumnsRange = MAKELONG(4, 1);  // upper 4, lower 1
constexpr WPARAM kSpinVersion = 0x20C;

}  // namespace

FolderPage::FolderPage(FolderSettings *settings)
    : OptionsPage(IDD_FOLDER_PAGE, IDS_FOLDER_PAGE), frame_(DialogFrame::PagePreset()), settings_(settings) {
    RequestTranslations();
}

const MessageMap &FolderPage::Messages() const {
    using H = Handlers<FolderPage>;
    static const MessageMap map(&OptionsPage::Messages(),
                                {
                                    H::ControlCode(BN_CLICKED, IDC_BROWSE, &FolderPage::OnBrowse),
                                    H::ControlCode(EN_CHANGE, IDC_COLUMNS, &FolderPage::OnColumnsChanged),
                                    H::ControlCode(BN_CLICKED, IDC_SHOW_SIZE, &FolderPage::OnShowSizeClicked),
                                    H::ControlCode(BN_CLICKED, IDC_SHOW_DATE, &FolderPage::OnShowDateClicked),
                                    H::Message(WM_SIZE, &FolderPage::OnSize),
                                });
    return map;
}

LRESULT FolderPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.BeforeMessage(*this, message, wParam, lParam)) return 0;
    LRESULT result = OptionsPage::WindowProc(message, wParam, lParam);
    frame_.AfterMessage(*this, message, wParam);
    return result;
}

void FolderPage::DoDataExchange(DataExchange &dx) {
    dx.Text(IDC_FOLDER, folder_, kFolderLength);
    dx.Integer(IDC_ROWS, rows_);
    dx.Integer(IDC_COLUMNS, cols_);
    dx.Check(IDC_SUBFOLDERS, subfolders_);
    dx.Check(IDC_NO_TEMPLATES, noTemplates_);
}

BOOL FolderPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    if (!CreatePageMenuBar()) return FALSE;
    folder_ = settings_->GetFolder();
    rows_ = settings_->GetRows();
    cols_ = settings_->GetCols();
    subfolders_ = settings_->GetSubfolders();
    noTemplates_ = settings_->GetNoTemplates();
    frame_.SetTitle(*this, LoadText(IDS_SHEET_CAPTION));
    TranslateDialogTexts(Handle());
    SendDlgItemMessageW(Handle(), IDC_ROWS_SPIN, UDM_SETRANGE, 0, kRowsRange);
    SendDlgItemMessageW(Handle(), IDC_ROWS_SPIN, CCM_SETVERSION, kSpinVersion, 0);
    SendDlgItemMessageW(Handle(), IDC_COLUMNS_SPIN, UDM_SETRANGE, 0, kColumnsRange);
    SendDlgItemMessageW(Handle(), IDC_COLUMNS_SPIN, CCM_SETVERSION, kSpinVersion, 0);
    SendDlgItemMessageW(Handle(), IDC_COLUMNS, EM_LIMITTEXT, 1, 0);
    SendDlgItemMessageW(Handle(), IDC_ROWS, EM_LIMITTEXT, 2, 0);
    UpdateData(false);
    OnColumnsChanged();
    Application *app = Application::Current();
    if (app && app->MainWindow() && app->MainWindow()->Handle()) EnableWindow(app->MainWindow()->Handle(), TRUE);
    return TRUE;
}

void FolderPage::OnColumnsChanged() {
    HWND size = GetDlgItem(Handle(), IDC_SHOW_SIZE), date = GetDlgItem(Handle(), IDC_SHOW_DATE);
    if (!size || !date) return;
    UpdateData(true);
    settings_->SetCols(cols_);
    SendMessageW(date, BM_SETCHECK, settings_->GetShowDate() ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(size, BM_SETCHECK, settings_->GetShowSize() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FolderPage::ShowWarning(UINT textId, int argument, UINT captionId, UINT type) {
    WideString format = LoadText(textId);
    WCHAR text[1024];
    wsprintfW(text, format.c_str(), argument);
    MessageBoxW(Handle(), text, LoadText(captionId).c_str(), type);
}

void FolderPage::OnShowSizeClicked() {
    HWND box = GetDlgItem(Handle(), IDC_SHOW_SIZE);
    settings_->SetShowSize(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
    if (cols_ < 3) return;
    SendMessageW(box, BM_SETCHECK, settings_->GetShowSize() ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowWarning(IDS_SIZE_WARNING, 2, IDS_ERROR, MB_ICONEXCLAMATION);
}

void FolderPage::OnShowDateClicked() {
    HWND box = GetDlgItem(Handle(), IDC_SHOW_DATE);
    settings_->SetShowDate(SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
    if (cols_ < 2) return;
    SendMessageW(box, BM_SETCHECK, settings_->GetShowDate() ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowWarning(IDS_DATE_WARNING, 1, IDS_ERROR, MB_ICONEXCLAMATION);
}

void FolderPage::OnBrowse() {
    UpdateData(true);
    FolderChooserDialog chooser(TEXT("Pelloran"), TEXT("Choose Folder"), folder_, this);
    if (chooser.DoModal() == IDOK) folder_ = chooser.Result();
    HWND edit = GetDlgItem(Handle(), IDC_FOLDER);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    UpdateData(false);
}

bool FolderPage::CheckValues() {
    // A refused field (its message already shown) keeps the page: the
    // values after it were never read, and must not be stored or saved.
    if (!UpdateData(true)) return false;
    if (lstrcmpiW(folder_.c_str(), TEXT("\\")) == 0) {
        MessageBoxW(Handle(), LoadText(IDS_ROOT_FOLDER).c_str(), LoadText(IDS_SHEET_CAPTION).c_str(), MB_ICONERROR);
        return false;
    }
    settings_->SetFolder(folder_);
    settings_->SetRows(rows_);
    settings_->SetCols(cols_);
    settings_->SetSubfolders(subfolders_);
    settings_->SetNoTemplates(noTemplates_);
    if (settings_->GetCols() != cols_) {
        ShowWarning(IDS_COLUMNS_RANGE, kMaxColumns, IDS_ERROR, MB_ICONERROR);
        return false;
    }
    if (settings_->GetRows() != rows_) {
        ShowWarning(IDS_ROWS_RANGE, kMaxRows, IDS_ERROR, MB_ICONERROR);
        return false;
    }
    return true;
}

BOOL FolderPage::OnKillActive() {
    if (!CheckValues()) return FALSE;
    HidePageMenuBar();
    return TRUE;
}

BOOL FolderPage::OnApply() {
    if (!CheckValues()) return FALSE;
    settings_->Save();
    return OptionsPage::OnApply();
}

BOOL FolderPage::OnSetActive() {
    ShowPageMenuBar();
    return OptionsPage::OnSetActive();
}

LRESULT FolderPage::OnSize(WPARAM, LPARAM) {
    LRESULT result = Default();
    UINT layout = IsLandscapeScreen() ? IDD_FOLDER_PAGE_LANDSCAPE : IDD_FOLDER_PAGE;
    ApplyDialogLayout(ProgramInstance(), Handle(), layout);
    SendDlgItemMessageW(Handle(), IDC_ROWS_SPIN, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(Handle(), IDC_ROWS)), 0);
    SendDlgItemMessageW(Handle(), IDC_COLUMNS_SPIN, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(GetDlgItem(Handle(), IDC_COLUMNS)), 0);
    return result;
}
