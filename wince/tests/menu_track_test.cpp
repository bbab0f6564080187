// TrackPopupMenu driven through the input queue only, as a user drives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "menu/popup_layout.h"
#include "menu_support.h"
#include "temp_device.h"
#include "window/screen_size.h"

using namespace menu_testing;

namespace {

struct Logged {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Logged &o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};
std::vector<Logged> ownerLog;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITMENUPOPUP || msg == WM_COMMAND) ownerLog.push_back(Logged{msg, wParam, lParam});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

constexpr UINT kOpen = 5001, kDelete = 5003, kBrowse = 5004, kDeep = 5010;

class MenuTrack : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = u"MenuOwner";
        RegisterClassW(&wc);
        owner = CreateWindowExW(0, u"MenuOwner", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                nullptr, nullptr);
        SetFocus(owner);
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, kOpen, u"Open");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_GRAYED, kDelete, u"Delete");
        AppendMenuW(menu, MF_STRING, kBrowse, u"Browse");
        wince::PumpReadyMessages();
        ownerLog.clear();
    }
    void TearDown() override {
        DestroyMenu(menu);
        DestroyWindow(owner);
        UnregisterClassW(u"MenuOwner", nullptr);
        wince::PumpReadyMessages();
    }
    HWND owner = nullptr;
    HMENU menu = nullptr;
};

std::function<void()> TapItem(const std::u16string &text) {
    return [text] { Tap(ItemCenter(text)); };
}

TEST_F(MenuTrack, ChoicesAndDismissals) {
    using Steps = std::vector<std::function<void()>>;
    struct Row {
        const char *name;
        UINT flags;
        Steps steps;
        BOOL result;
        UINT command;  // posted WM_COMMAND, 0 for none
    };
    std::vector<Row> rows = {
        {"tap an item", TPM_RETURNCMD, {TapItem(u"Browse")}, BOOL{kBrowse}, 0},
        {"tap posts WM_COMMAND", 0, {TapItem(u"Open")}, TRUE, kOpen},
        {"tap outside", TPM_RETURNCMD, {[] { Tap(POINT{230, 310}); }}, 0, 0},
        {"tap outside, no command", 0, {[] { Tap(POINT{230, 310}); }}, TRUE, 0},
        {"escape", TPM_RETURNCMD, {[] { Key(VK_ESCAPE); }}, 0, 0},
        {"keys down and enter", TPM_RETURNCMD, {[] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); }},
         BOOL{kBrowse}, 0},
        {"enter on a disabled item", TPM_RETURNCMD, {[] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); }, [] { Key(VK_ESCAPE); }},
         0, 0},
        {"tap a disabled item", TPM_RETURNCMD, {TapItem(u"Delete"), [] { Key(VK_ESCAPE); }}, 0, 0},
        {"tap the separator", TPM_RETURNCMD,
         {[] {
              POINT open = ItemCenter(u"Open"), del = ItemCenter(u"Delete");
              Tap(POINT{open.x, (open.y + del.y) / 2});
          },
          [] { Key(VK_ESCAPE); }},
         0, 0},
        {"drag from one item to another", TPM_RETURNCMD,
         {[] {
             wince::PostInputEvent({wince::InputEvent::kStylusDown, ItemCenter(u"Open")});
             wince::PostInputEvent({wince::InputEvent::kStylusMove, ItemCenter(u"Browse")});
             wince::PostInputEvent({wince::InputEvent::kStylusUp, ItemCenter(u"Browse")});
         }},
         BOOL{kBrowse}, 0},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row &r = rows[i];
        ownerLog.clear();
        BOOL result;
        {
            StepDriver driver(r.steps);
            result = TrackPopupMenu(menu, r.flags, 20, 30, 0, owner, nullptr);
            EXPECT_FALSE(driver.RanDry()) << "row " << i << " " << r.name;
        }
        EXPECT_EQ(result, r.result) << "row " << i << " " << r.name;
        EXPECT_TRUE(OpenPopups().empty()) << "row " << i << " " << r.name;
        wince::PumpReadyMessages();
        std::vector<Logged> expected = {{WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0}};
        if (r.command) expected.push_back({WM_COMMAND, r.command, 0});
        EXPECT_EQ(ownerLog, expected) << "row " << i << " " << r.name;
    }
}

int clicks = 0;
LRESULT CALLBACK CountClicks(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP) ++clicks;
    return DefWindowProcW(h, m, w, l);
}

TEST_F(MenuTrack, TapOutsideGoesNowhere) {
    // The tap that dismisses a menu does not reach the window under it.
    clicks = 0;
    SetWindowLongPtrW(owner, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&CountClicks));
    {
        StepDriver driver({[] { Tap(POINT{200, 300}); }});
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 30, 0, owner, nullptr), 0);
    }
    wince::PumpReadyMessages();
    EXPECT_EQ(clicks, 0);
    Tap(POINT{200, 300});  // the next tap is the owner's again
    wince::PumpReadyMessages();
    EXPECT_EQ(clicks, 2);
}

TEST_F(MenuTrack, TurningTheScreenClosesTheMenu) {
    bool openBefore = false;
    {
        StepDriver driver({[&] {
            openBefore = !OpenPopups().empty();
            ASSERT_TRUE(wince::RotateScreen());
        }});
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 30, 0, owner, nullptr), 0);
        EXPECT_FALSE(driver.RanDry());  // closed by the turn, not by the driver's quit
    }
    EXPECT_TRUE(openBefore);
    EXPECT_TRUE(OpenPopups().empty());
    wince::PumpReadyMessages();
    std::vector<Logged> expected{{WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0}};
    EXPECT_EQ(ownerLog, expected);  // and no command
}

TEST_F(MenuTrack, PopupStaysOnTheScreen) {
    struct Row {
        POINT at;
        UINT flags;
        bool flippedLeft, flippedUp;
    };
    const Row rows[] = {{{20, 30}, 0, false, false},
                        {{235, 30}, 0, true, false},
                        {{20, 318}, 0, false, true},
                        {{239, 319}, 0, true, true},
                        {{5, 30}, TPM_RIGHTALIGN, true, false}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT shown{};
        {
            StepDriver driver({[&] {
                                   if (!OpenPopups().empty()) GetWindowRect(OpenPopups()[0], &shown);
                                   Key(VK_ESCAPE);
                               }});
            TrackPopupMenu(menu, rows[i].flags | TPM_RETURNCMD, rows[i].at.x, rows[i].at.y, 0, owner, nullptr);
        }
        EXPECT_GE(shown.left, 0) << "row " << i;
        EXPECT_GE(shown.top, 0) << "row " << i;
        EXPECT_LE(shown.right, 240) << "row " << i;
        EXPECT_LE(shown.bottom, 320) << "row " << i;
        EXPECT_GT(shown.right - shown.left, 0) << "row " << i;
        // Flipped: the point becomes the popup's other edge.
        LONG expectedLeft = rows[i].flippedLeft && rows[i].flags == 0 ? shown.right : shown.left;
        EXPECT_EQ(expectedLeft, rows[i].at.x) << "row " << i;
        EXPECT_EQ(rows[i].flippedUp ? shown.bottom : shown.top, rows[i].at.y) << "row " << i;
    }
}

TEST(PopupPlacement, FlipsThenShifts) {
    const RECT screen{0, 0, 240, 320};
    struct Row {
        SIZE size;
        POINT at;
        UINT flags;
        RECT expected;
    };
    const Row rows[] = {
        {{100, 80}, {10, 10}, 0, {10, 10, 110, 90}},
        {{100, 80}, {200, 10}, 0, {100, 10, 200, 90}},             // flips to the left of the point
        {{100, 80}, {10, 300}, 0, {10, 220, 110, 300}},            // flips above the point
        {{100, 80}, {50, 10}, TPM_RIGHTALIGN, {50, 10, 150, 90}},  // flips to the right of the point
        {{200, 80}, {100, 10}, 0, {0, 10, 200, 90}},               // shifted: neither side fits
        {{100, 80}, {120, 160}, TPM_CENTERALIGN | TPM_VCENTERALIGN, {70, 120, 170, 200}},
        {{300, 400}, {10, 10}, 0, {0, 0, 300, 400}},               // larger than the screen: top left
        {{100, 80}, {60, 40}, TPM_BOTTOMALIGN, {60, 40, 160, 120}},  // no room above: below the point
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        RECT r = wince::PlacePopup(rows[i].size, rows[i].at, rows[i].flags, screen);
        EXPECT_TRUE(EqualRect(&r, &rows[i].expected))
            << "row " << i << ": got " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    RECT parent{20, 50, 120, 150}, item{21, 70, 119, 90};
    RECT right = wince::PlaceSubmenu(SIZE{60, 40}, parent, item, screen);
    EXPECT_EQ(right.left, 119);
    EXPECT_EQ(right.top, 69);
    RECT left = wince::PlaceSubmenu(SIZE{60, 40}, RECT{150, 50, 230, 150}, item, screen);
    EXPECT_EQ(left.right, 151);
}

TEST_F(MenuTrack, SubmenuOpensBesideItsItemAndChooses) {
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, kDeep, u"Deep");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More");
    RECT top{}, side{};
    StepDriver driver({TapItem(u"More"), [&] {
                           std::vector<HWND> popups = OpenPopups();
                           ASSERT_EQ(popups.size(), 2u);
                           GetWindowRect(popups[0], &top);
                           GetWindowRect(popups[1], &side);
                           Tap(ItemCenter(u"Deep"));
                       }});
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), BOOL{kDeep});
    EXPECT_EQ(side.left, top.right - 1);
    std::vector<Logged> expected = {{WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0},
                                    {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), 4}};
    EXPECT_EQ(ownerLog, expected);
}

TEST_F(MenuTrack, InitMenuPopupMayChangeTheMenuAndTheTraceShowsIt) {
    std::string trace = (device.Root() / "trace.jsonl").string();
    setenv("WINCE_TRACE", trace.c_str(), 1);
    struct Editor {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
            if (m == WM_INITMENUPOPUP) EnableMenuItem(reinterpret_cast<HMENU>(w), kDelete, MF_BYCOMMAND | MF_ENABLED);
            return DefWindowProcW(h, m, w, l);
        }
    };
    SetWindowLongPtrW(owner, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Editor::Proc));
    {
        StepDriver driver({TapItem(u"Delete")});
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), BOOL{kDelete});
    }
    unsetenv("WINCE_TRACE");
    std::ifstream in(trace);
    std::string line, last;
    while (std::getline(in, line)) last = line;
    EXPECT_EQ(last, "{\"event\":\"TrackPopupMenu\",\"items\":[{\"id\":5001,\"text\":\"Open\"},{\"separator\":true},"
                    "{\"id\":5003,\"text\":\"Delete\"},{\"id\":5004,\"text\":\"Browse\"}],\"answer\":5003}");
}

TEST_F(MenuTrack, RefusesBadArguments) {
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(0x42), TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_MENU_HANDLE});
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, reinterpret_cast<HWND>(0x42), nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
    EXPECT_TRUE(ownerLog.empty());
}

}  // namespace
