// The options sheet: the settings record and the two pages that edit it,
// the Folder page first.
#pragma once

#include "appkit/PropertySheetWindow.h"
#include "config/FolderSettings.h"
#include "options/DocumentsPage.h"
#include "options/FolderPage.h"

class CSheet : public PropertySheetWindow {
   public:
    explicit CSheet(Window *parent);

    FolderSettings settings;
    FolderPage folderPage;
    DocumentsPage documentsPage;

   protected:
    const MessageMap &Messages() const override;

   private:
    LRESULT OnHelp(WPARAM, LPARAM);
};
