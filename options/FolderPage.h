// The Folder page: the folder, subfolders and templates, the grid's rows
// and columns, and the size and date captions. It checks its values when
// left and on OK, and on OK saves the whole settings record.
#pragma once

#include "config/FolderSettings.h"
#include "options/DialogFrame.h"
#include "options/OptionsPage.h"

class FolderPage : public OptionsPage {
   public:
    explicit FolderPage(FolderSettings *settings);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    BOOL OnApply() override;

    // The checks run on leaving and on OK: the values stored in the
    // settings; false (its message shown) keeps the page.
    bool CheckValues();

   protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange &dx) override;
    const MessageMap &Messages() const override;

   private:
    void OnBrowse();
    void OnColumnsChanged();
    void OnShowSizeClicked();
    void OnShowDateClicked();
    LRESULT OnSize(WPARAM, LPARAM);
    void ShowWarning(UINT textId, int argument, UINT captionId, UINT type);

    DialogFrame frame_;
    FolderSettings *settings_;
    WideString folder_;
    int rows_ = 4;
    int cols_ = 2;
    bool subfolders_ = false;
    bool noTemplates_ = true;
};
