// Helpers for the dialog, control and message box tests: a device with the
// fixed-metric font at a chosen dpi, a log of what a dialog procedure
// hears, input that taps and types the way a user does, and an idle
// driver that plays a script of such steps while a modal loop waits.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "device/device.h"
#include "dialog/template_writer.h"
#include "gdi/surface.h"
#include "temp_device.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace dialog_test {

using wince::DialogTemplateWriter;
using E = wince::InputEvent;

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083, kComboBox = 0x0085;

struct Heard {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What the recording dialog procedures heard, in order.
inline std::vector<Heard> &Log() {
    static std::vector<Heard> log;
    return log;
}

// WM_COMMAND notifications as (id, code) pairs, in order.
inline std::vector<std::pair<int, int>> Commands() {
    std::vector<std::pair<int, int>> out;
    for (const Heard &h : Log())
        if (h.message == WM_COMMAND) out.emplace_back(LOWORD(h.wParam), HIWORD(h.wParam));
    return out;
}

// Logs everything and ends on IDOK / IDCANCEL with that id.
inline BOOL CALLBACK RecordingProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Heard{msg, wParam, lParam});
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class DialogTest : public ::testing::Test {
   protected:
    void SetUp() override { UseDpi(96); }
    void TearDown() override {
        wince::SetIdleDriver(nullptr);
        for (HWND h : made)
            if (IsWindow(h)) DestroyWindow(h);
        wince::PumpReadyMessages();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        Log().clear();
    }
    void UseDpi(int dpi) {
        std::ofstream(device.Root() / "device.ini")
            << "[screen]\nwidth = 240\nheight = 320\ndpi_x = " << dpi << "\ndpi_y = " << dpi
            << "\n[font]\nmode = fixed\n";
        wince::Device::Select(device.Root());
    }
    // A modeless dialog, shown, with the recording procedure.
    HWND Show(const DialogTemplateWriter &t, HWND parent = nullptr, DLGPROC proc = RecordingProc) {
        HWND d = CreateDialogIndirectParamW(nullptr, t.Get(), parent, proc, 0);
        if (d) {
            made.push_back(d);
            ShowWindow(d, SW_SHOW);
            wince::PumpReadyMessages();
        }
        return d;
    }
    std::vector<HWND> made;
    testing_support::TempDevice device;
};

inline POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline void Tap(POINT p) {
    wince::PostInputEvent(E{E::kStylusDown, p});
    wince::PostInputEvent(E{E::kStylusUp, p});
}
inline void Tap(HWND hwnd) { Tap(CentreOf(hwnd)); }

inline void Key(UINT vk) {
    wince::PostInputEvent(E{E::kKeyDown, {}, vk});
    wince::PostInputEvent(E{E::kKeyUp, {}, vk});
}
inline void ShiftKey(UINT vk) {
    wince::PostInputEvent(E{E::kKeyDown, {}, VK_SHIFT});
    Key(vk);
    wince::PostInputEvent(E{E::kKeyUp, {}, VK_SHIFT});
}
inline void Type(const std::u16string &text) {
    for (char16_t c : text) wince::PostInputEvent(E{E::kChar, {}, c});
}

// Plays steps one at a time whenever the message loop runs dry. When the
// script is used up while the loop still waits, it posts WM_QUIT so that
// the test ends (and fails on the answer) instead of waiting forever.
class Script {
   public:
    explicit Script(std::vector<std::function<void()>> steps) : steps_(steps.begin(), steps.end()) {
        wince::SetIdleDriver([this] { return Next(); });
    }
    ~Script() { wince::SetIdleDriver(nullptr); }
    bool RanOut() const { return ranOut_; }

   private:
    bool Next() {
        if (steps_.empty()) {
            if (ranOut_) return false;
            ranOut_ = true;
            PostQuitMessage(99);
            return true;
        }
        auto step = steps_.front();
        steps_.pop_front();
        step();
        return true;
    }
    std::deque<std::function<void()>> steps_;
    bool ranOut_ = false;
};

// The window on top that a user looks at: the active one.
inline HWND Front() { return GetActiveWindow(); }
inline HWND ItemOfFront(int id) { return GetDlgItem(Front(), id); }
inline HWND ButtonOfFront(const std::u16string &text) {
    for (HWND h = GetWindow(Front(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        WCHAR t[64];
        GetWindowTextW(h, t, 64);
        if (text == t) return h;
    }
    return nullptr;
}

inline COLORREF ScreenPixel(int x, int y) {
    wince::ComposeScreen();
    return wince::ScreenSurface()->Pixel(x, y);
}

}  // namespace dialog_test
