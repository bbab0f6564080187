// A property page whose tab title and texts come through the translation
// table, and whose edit fields keep their values through the translation.
#pragma once

#include "appkit/PropertyPage.h"

class LocalizedPage : public PropertyPage {
   public:
    LocalizedPage(UINT templateId, UINT captionId);

   protected:
    BOOL OnInitDialog() override;
};
