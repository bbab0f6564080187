// A page of a property sheet: a dialog from a template, made when the sheet
// first shows it. The sheet asks it to be shown, to be left (false keeps
// it), to apply its values (OK) and to drop them (Cancel).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "appkit/Dialog.h"
#include "config/WideString.h"

class PropertyPage : public Dialog {
   public:
    // The caption string, when captionId is not 0, is the tab's title.
    PropertyPage(UINT templateId, UINT captionId);

    // The page header the sheet is built from.
    PROPSHEETPAGEW &Header() { return header_; }
    const WideString &Title() const { return title_; }
    void SetTitle(const WideString &title);

    virtual BOOL OnSetActive() { return TRUE; }
    // The values from the controls; false keeps the page (and the sheet).
    virtual BOOL OnKillActive() { return UpdateData(true); }
    // OK: runs OnOK; false keeps the sheet open on this page.
    virtual BOOL OnApply();
    void OnOK() override {}
    void OnCancel() override {}

   protected:
    void PrepareForDevice() override {}
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

   private:
    static BOOL CALLBACK PageDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSheetNotify(const NMHDR &header);

    PROPSHEETPAGEW header_{};
    WideString title_;
};
