#include "appkit/Dialog.h"

#include <aygshell.h>

#include "appkit/Application.h"
#include "appkit/DataExchange.h"

Dialog::Dialog(UINT templateId, Window *parent) : templateId_(templateId), parent_(parent) {}

Dialog::Dialog(const DLGTEMPLATE *memoryTemplate, Window *parent) : memoryTemplate_(memoryTemplate), parent_(parent) {}

INT_PTR Dialog::DoModal() {
    HWND owner = parent_ ? parent_->Handle() : nullptr;
    auto self = reinterpret_cast<LPARAM>(this);
    if (memoryTemplate_)
        return DialogBoxIndirectParamW(ProgramInstance(), memoryTemplate_, owner, &Dialog::DialogProc, self);
    return DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::DialogProc, self);
}

void Dialog::EndDialog(int result) {
    if (Handle()) ::EndDialog(Handle(), result);
}

BOOL CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto *dialog = reinterpret_cast<Dialog *>(lParam);
        return dialog ? dialog->StartDialog(hwnd, wParam, lParam) : FALSE;
    }
    // Later messages come here only from the object's own default
    // processing, which wants the dialog manager's handling.
    return FALSE;
}

BOOL Dialog::StartDialog(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!Subclass(hwnd)) return FALSE;
    return static_cast<BOOL>(Window::Dispatch(this, hwnd, WM_INITDIALOG, wParam, lParam));
}

const MessageMap &Dialog::Messages() const {
    using H = Handlers<Dialog>;
    static const MessageMap map(&Window::Messages(), {
                                                         H::Message(WM_INITDIALOG, &Dialog::OnInitDialogMessage),
                                                         H::Command(IDOK, &Dialog::OnOKCommand),
                                                         H::Command(IDCANCEL, &Dialog::OnCancelCommand),
                                                         H::Message(WM_NOTIFY, &Dialog::OnNotifyMessage),
                                                     });
    return map;
}

LRESULT Dialog::OnInitDialogMessage(WPARAM, LPARAM) {
    PrepareForDevice();
    return OnInitDialog();
}

// A drop-down of the dialog's menu bar opens the popup of its menu.
LRESULT Dialog::OnNotifyMessage(WPARAM, LPARAM lParam) {
    auto *header = reinterpret_cast<const NMHDR *>(lParam);
    if (header->code == TBN_DROPDOWN && ShowMenuBarPopup(*this, *reinterpret_cast<const NMTOOLBARW *>(lParam)))
        return TBDDRET_DEFAULT;
    return Default();
}

void Dialog::PrepareForDevice() {
    SHINITDLGINFO info{};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = Handle();
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
    SHInitDialog(&info);
    menuBar_.CreateEmpty(*this);
}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::UpdateData(bool saveAndValidate) {
    if (!Handle()) return false;
    if (saveAndValidate && fillingControls_) return true;
    const bool wasFilling = fillingControls_;
    fillingControls_ = !saveAndValidate;
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    fillingControls_ = wasFilling;
    return !dx.Failed();
}
