// "Choose Folder": the device's folders as a tree; OK returns the selected
// folder's path, Cancel nothing.
#pragma once

#include "appkit/Dialog.h"
#include "appkit/DialogTemplate.h"
#include "options/DialogFrame.h"
#include "options/FolderTree.h"

class FolderChooserDialog : public Dialog {
   public:
    FolderChooserDialog(const WideString &caption, const WideString &title, const WideString &initialFolder,
                        Window *parent);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    const WideString &Result() const { return result_; }

   protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(DataExchange &dx) override;

   private:
    void PlaceTree();

    DialogFrame frame_;
    FolderTree tree_;
    WideString caption_;
    WideString title_;
    WideString result_;
    WideString initialFolder_;
    DialogTemplate template_;
};
