#include "options/LocalizedPage.h"

#include "config/LocalizationTable.h"

LocalizedPage::LocalizedPage(UINT templateId, UINT captionId) : PropertyPage(templateId, captionId) {
    if (captionId != 0) SetTitle(LoadText(captionId));
}

BOOL LocalizedPage::OnInitDialog() {
    BOOL result = PropertyPage::OnInitDialog();
    TranslateDialogTexts(Handle());
    // A translation must never replace what an edit field holds.
    UpdateData(false);
    return result;
}
