// The Documents page: which kinds of documents the Today item lists. Every
// click is stored in the sheet's settings at once; the Folder page saves
// them on OK.
#pragma once

#include "config/FolderSettings.h"
#include "options/DialogFrame.h"
#include "options/OptionsPage.h"

class DocumentsPage : public OptionsPage {
   public:
    explicit DocumentsPage(FolderSettings *settings);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

   protected:
    BOOL OnInitDialog() override;
    const MessageMap &Messages() const override;

   private:
    void OnKindClicked();
    void ShowKinds(bool all);

    DialogFrame frame_;
    FolderSettings *settings_;
};
