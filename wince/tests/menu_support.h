// Driving modal loops from tests: an idle driver that carries out one step
// each time the loops have nothing to do, and taps on what popups report.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "window/item_report.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace menu_testing {

// The visible popup menu windows, the top-level menu first.
inline std::vector<HWND> OpenPopups() {
    std::vector<HWND> found;
    for (wince::Window *w : wince::TopLevelWindows())
        if (w->Visible() && w->cls->name == u"#32768") found.insert(found.begin(), w->handle);
    return found;
}

inline void Tap(POINT p) {
    wince::PostInputEvent({wince::InputEvent::kStylusDown, p});
    wince::PostInputEvent({wince::InputEvent::kStylusUp, p});
}

inline void Key(UINT vk) {
    wince::PostInputEvent({wince::InputEvent::kKeyDown, {}, vk});
    wince::PostInputEvent({wince::InputEvent::kKeyUp, {}, vk});
}

// The centre of the open item with the text, in any open popup; (-1, -1) when none.
inline POINT ItemCenter(const std::u16string &text) {
    for (HWND popup : OpenPopups()) {
        std::vector<wince::ReportedItem> items;
        wince::ReportItems(popup, items);
        for (const wince::ReportedItem &item : items)
            if (item.text == text) return POINT{(item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2};
    }
    return POINT{-1, -1};
}

// Runs the steps one per idle call; when they run out while a loop still
// waits, it posts WM_QUIT so that a faulty loop cannot hang the test.
class StepDriver {
   public:
    explicit StepDriver(std::vector<std::function<void()>> steps) : steps_(steps.begin(), steps.end()) {
        old_ = wince::SetIdleDriver([this] { return Step(); });
    }
    ~StepDriver() {
        wince::SetIdleDriver(old_);
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    bool RanDry() const { return ranDry_; }

   private:
    bool Step() {
        if (steps_.empty()) {
            if (!ranDry_) PostQuitMessage(99);
            ranDry_ = true;
            return false;
        }
        auto step = steps_.front();
        steps_.pop_front();
        step();
        return true;
    }
    std::deque<std::function<void()>> steps_;
    wince::IdleDriver old_;
    bool ranDry_ = false;
};

}  // namespace menu_testing
