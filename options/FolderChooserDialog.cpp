#include "options/FolderChooserDialog.h"

#include "appkit/DataExchange.h"
#include "config/LocalizationTable.h"
#include "drawing/ScreenMetrics.h"

namespace {

constexpr DWORD kDialogStyle = 0x80C80080;  // popup, caption, system menu, modal frame
constexpr DWORD kTreeStyle = 0x50000013;    // child, visible, buttons, lines, lines at root
constexpr WORD kTreeId = 100;
constexpr int kBandHeight = 26;

}  // namespace

FolderChooserDialog::FolderChooserDialog(const WideString &caption, const WideString &title,
                                         const WideString &initialFolder, Window *parent)
    : Dialog(static_cast<const DLGTEMPLATE *>(nullptr), parent),
      frame_(DialogFrame::ChooserPreset()),
      caption_(caption),
      title_(title),
      initialFolder_(initialFolder),
      template_(kDialogStyle, 0, 0, 0, 141, 190, TEXT("")) {
    template_.AddControl(kTreeStyle, 0, 1, 1, 2, 2, kTreeId, TEXT("SysTreeView32"), TEXT(""));
    SetMemoryTemplate(template_.Get());
}

LRESULT FolderChooserDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.BeforeMessage(*this, message, wParam, lParam)) return 0;
    LRESULT result = Dialog::WindowProc(message, wParam, lParam);
    frame_.AfterMessage(*this, message, wParam);
    return result;
}

void FolderChooserDialog::DoDataExchange(DataExchange &dx) { dx.Control(kTreeId, tree_); }

BOOL FolderChooserDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    PlaceTree();
    frame_.SetTitle(*this, title_);
    TranslateDialogTexts(Handle());
    if (!caption_.empty()) SetWindowTextW(Handle(), caption_.c_str());
    tree_.SelectPath(initialFolder_);
    return TRUE;
}

// Below the title band, one pixel beyond the left, right and bottom edges
// so that the tree's border does not show there.
void FolderChooserDialog::PlaceTree() {
    static const int band = ScaleY(kBandHeight);
    RECT client{};
    GetClientRect(Handle(), &client);
    SetWindowPos(tree_.Handle(), HWND_TOP, client.left - 1, client.top + band, client.right - client.left + 2,
                 client.bottom - client.top - band + 1, 0);
    SetFocus(tree_.Handle());
}

void FolderChooserDialog::OnOK() {
    UpdateData(true);
    result_ = tree_.SelectedPath();
    EndDialog(IDOK);
}
