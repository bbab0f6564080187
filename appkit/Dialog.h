// Modal dialogs from a resource or from a template in memory. On the Pocket
// PC a dialog fills the screen between the bars, shows "ok" in the
// navigation bar and has an empty menu bar of its own.
#pragma once

#include <windows.h>

#include "appkit/CommandBar.h"
#include "appkit/Window.h"

class DataExchange;

class Dialog : public Window {
   public:
    Dialog(UINT templateId, Window *parent);
    // The template is the caller's and must outlive DoModal.
    Dialog(const DLGTEMPLATE *memoryTemplate, Window *parent);

    // IDOK or IDCANCEL (or what EndDialog was given); -1 when the dialog
    // cannot be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Moves the values between the members and the controls; false when a
    // field was refused (its message shown, the focus on its control). A
    // read asked for while the controls are being filled (from a control's
    // change notification) is skipped: the members already hold what is
    // being shown, and the controls not yet filled would overwrite them.
    bool UpdateData(bool saveAndValidate);

    // The menu bar the framework gives the dialog; no window before
    // WM_INITDIALOG, or when the shell could not make one.
    CommandBar &DialogMenuBar() { return menuBar_; }

   protected:
    virtual BOOL OnInitDialog();  // the values to the controls; TRUE
    virtual void OnOK();          // the values from the controls, then IDOK
    virtual void OnCancel();      // IDCANCEL
    virtual void DoDataExchange(DataExchange &) {}
    // The device look: full screen, "ok" in the navigation bar, an empty
    // menu bar. Property pages leave this to their sheet.
    virtual void PrepareForDevice();

    const MessageMap &Messages() const override;
    // For a dialog that builds its template after the base is made.
    void SetMemoryTemplate(const DLGTEMPLATE *memoryTemplate) { memoryTemplate_ = memoryTemplate; }
    UINT TemplateId() const { return templateId_; }
    Window *ParentObject() const { return parent_; }
    // The dialog procedure of every framework dialog: it hands the window to
    // its object at WM_INITDIALOG; later messages reach the object first.
    static BOOL CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds the window at its WM_INITDIALOG and runs it through WindowProc.
    BOOL StartDialog(HWND hwnd, WPARAM wParam, LPARAM lParam);

   private:
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    LRESULT OnNotifyMessage(WPARAM, LPARAM);
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }

    UINT templateId_ = 0;
    bool fillingControls_ = false;
    const DLGTEMPLATE *memoryTemplate_ = nullptr;
    Window *parent_ = nullptr;
    CommandBar menuBar_;
};
