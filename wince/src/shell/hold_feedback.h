// The device's tap-and-hold feedback: a ring of dots that appear one by one
// around the stylus while it is held, drawn over the screen and taken away
// when the gesture ends.
#pragma once

#include <windows.h>

namespace wince {

class HoldFeedback {
   public:
    explicit HoldFeedback(POINT center);
    ~HoldFeedback();
    HoldFeedback(const HoldFeedback &) = delete;
    HoldFeedback &operator=(const HoldFeedback &) = delete;

    // Shows the dots for the part of the hold time that has passed (0..1).
    void Show(double fraction);

    static constexpr int kDots = 8;

   private:
    POINT center_;
    HWND window_ = nullptr;
    int shown_ = 0;
};

constexpr COLORREF kHoldDotColor = RGB(255, 0, 0);

// The number of dots visible after the given part of the hold time.
int DotsAfter(double fraction);

}  // namespace wince
