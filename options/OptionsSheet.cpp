#include "options/OptionsSheet.h"

#include "options/HelpTopics.h"
#include "options/res/resource.h"

CSheet::CSheet(Window *parent)
    : PropertySheetWindow(IDS_SHEET_CAPTION, parent, 0), folderPage(&settings), documentsPage(&settings) {
    AddPage(&folderPage);
    AddPage(&documentsPage);
}

const MessageMap &CSheet::Messages() const {
    using H = Handlers<CSheet>;
    static const MessageMap map(&PropertySheetWindow::Messages(), {H::Message(WM_HELP, &CSheet::OnHelp)});
    return map;
}

// Help opens the topic of the page in front.
LRESULT CSheet::OnHelp(WPARAM, LPARAM) {
    StartHelp(ActivePage() == &folderPage ? FolderHelpTopic : DocumentsHelpTopic);
    return TRUE;
}
