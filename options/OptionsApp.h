// The options program: a hidden owner window behind the modal options
// sheet; on OK the Today screen is asked to reload its items.
#pragma once

#include "appkit/Application.h"

class OptionsApp : public Application {
   public:
    BOOL InitInstance() override;
};

// The Today screen's reload request, posted to the shell's desktop window.
inline constexpr WPARAM ReloadTodayItems = 0xF2;
