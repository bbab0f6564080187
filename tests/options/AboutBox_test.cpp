// The About box: its texts, its layout at two resolutions and after the
// screen turns, taps that do nothing, and Help.
#include <gtest/gtest.h>

#include <cstdlib>

#include "options/AboutBox.h"
#include "window/screen_size.h"
#include "options/DpiScale.h"
#include "options/TapRouter.h"
#include "options_support.h"

namespace {

using namespace options_test;

struct Shown {
    std::vector<std::u16string> texts;
    std::vector<RECT> rects;  // client coordinates
};

Shown Statics(HWND box) {
    Shown shown;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        WCHAR cls[32] = {0};
        GetClassNameW(c, cls, 32);
        if (lstrcmpiW(cls, TEXT("STATIC")) != 0 || GetDlgCtrlID(c) != 0xFFFF) continue;
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT *>(&r), 2);
        shown.texts.push_back(TextOf(c));
        shown.rects.push_back(r);
    }
    return shown;
}

class AboutBoxTest : public DialogTest, public ::testing::WithParamInterface<int> {};

// The program reads the screen's dpi once, so each resolution needs a
// process of its own (ctest runs every test alone).
TEST_P(AboutBoxTest, TextsStackFromThirtyLogicalPixelsAndTheIconIsCentred) {
    {
        int dpi = GetParam();
        UseDpi(dpi);
        if (DpiScaleX(96) != dpi) GTEST_SKIP() << "this process read another dpi first; run the test alone";
        Shown shown, turned;
        RECT client{}, turnedClient{};
        Script script({[&] {
            GetClientRect(Front(), &client);
            shown = Statics(Front());
            // The screen turns: the box is laid out again for its new width.
            wince::RotateScreen();
            GetClientRect(Front(), &turnedClient);
            turned = Statics(Front());
            wince::RotateScreen();
            PostMessageW(Front(), WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(ShowAboutBox(TEXT("Pelloran"), TEXT("1.0.1"), TEXT("376"), TEXT("Pelloran.htm#Main_Contents"), nullptr,
                               -1),
                  IDOK);
        ASSERT_EQ(shown.texts.size(), 4u) << dpi;
        EXPECT_EQ(shown.texts[0], u"Pelloran");
        EXPECT_EQ(shown.texts[1], u"Version 1.0.1, Build 376");
        EXPECT_NE(shown.texts[2].find(u'\n'), std::u16string::npos) << "two lines";
        int scale = dpi / 96;
        EXPECT_EQ(shown.rects[0].top, 30 * scale) << dpi;
        EXPECT_EQ(shown.rects[1].top, shown.rects[0].bottom) << dpi;
        EXPECT_EQ(shown.rects[2].top, shown.rects[1].bottom) << dpi;
        EXPECT_EQ(shown.rects[3].top, shown.rects[2].bottom) << dpi;
        EXPECT_EQ(shown.rects[3].right - shown.rects[3].left, 32 * scale) << "icon width at " << dpi;
        int width = client.right - client.left;
        EXPECT_EQ(shown.rects[3].left, (width - 32 * scale) / 2) << dpi;
        ASSERT_EQ(turned.rects.size(), 4u);
        EXPECT_NE(turnedClient.right, client.right) << dpi;
        EXPECT_EQ(turned.rects[0].top, 30 * scale) << dpi;
        EXPECT_EQ(turned.rects[3].left, (turnedClient.right - 32 * scale) / 2) << "icon centred after the turn at " << dpi;
        EXPECT_EQ(RoutedControlCount(), 0u) << "the tap routing table empties as the controls go";
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, AboutBoxTest, ::testing::Values(96, 192));

TEST_P(AboutBoxTest, TapsDoNothingAndHelpOpensTheContents) {
    std::string trace = (device.Root() / "trace.jsonl").string();
    setenv("WINCE_TRACE", trace.c_str(), 1);
    bool stillOpen = false;
    Script script({[&] {
                       for (HWND c = GetWindow(Front(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) Tap(c);
                       Tap(POINT{5, 200});
                   },
                   [&] {
                       stillOpen = GetDlgItem(Front(), 0xFFFF) != nullptr;
                       SendMessageW(Front(), WM_HELP, 0, 0);
                       PostMessageW(Front(), WM_COMMAND, IDOK, 0);
                   }});
    EXPECT_EQ(ShowAboutBox(TEXT("Pelloran"), TEXT("1.0.1"), TEXT("376"), TEXT("Pelloran.htm#Main_Contents"), nullptr, -1),
              IDOK);
    unsetenv("WINCE_TRACE");
    EXPECT_TRUE(stillOpen);
    std::ifstream in(trace);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("file:Pelloran.htm#Main_Contents"), std::string::npos) << all;
    EXPECT_NE(all.find("PegHelp.exe"), std::string::npos) << all;
}

}  // namespace
