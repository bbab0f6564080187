// The base of the two options pages: an empty menu bar of its own after
// initialisation, and the page's "Tools" menu bar, shown while the page is
// active.
#pragma once

#include <memory>

#include "appkit/CommandBar.h"
#include "appkit/Menu.h"
#include "options/LocalizedPage.h"

class OptionsPage : public LocalizedPage {
   public:
    OptionsPage(UINT templateId, UINT captionId);

   protected:
    BOOL OnInitDialog() override;
    // The "Tools" bar from the page menu; on failure the page ends with
    // IDCANCEL and false is returned.
    bool CreatePageMenuBar();
    void ShowPageMenuBar();
    void HidePageMenuBar();
    // "About..." from the Tools menu.
    void OnAbout();

    const MessageMap &Messages() const override;

    CommandBar pageMenuBar;

   private:
    std::unique_ptr<CommandBar> emptyMenuBar_;
    std::unique_ptr<Menu> pageMenu_;
};
