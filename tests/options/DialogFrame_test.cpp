// The frame every options dialog embeds: the title band's pixels and its
// scrolling, the fonts, swallowed taps, the popup update and the hidden
// scroll bar; and the page menu bar built from a menu.
#include <gtest/gtest.h>

#include "appkit/Dialog.h"
#include "appkit/DialogTemplate.h"
#include "dialog_support.h"
#include "options/DialogFrame.h"
#include "options/DpiScale.h"
#include "options/FrameFonts.h"
#include "options/MenuBarBuilder.h"

namespace {

using namespace dialog_test;

constexpr COLORREF kTitleBlue = RGB(0, 0, 156);

class Framed : public Dialog {
   public:
    Framed(const DLGTEMPLATE *t, DialogFrame f) : Dialog(t, nullptr), frame(std::move(f)) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (frame.BeforeMessage(*this, message, wParam, lParam)) return 0;
        LRESULT result = Dialog::WindowProc(message, wParam, lParam);
        frame.AfterMessage(*this, message, wParam);
        return result;
    }
    DialogFrame frame;
    int taps = 0;

   protected:
    BOOL OnInitDialog() override {
        Dialog::OnInitDialog();
        if (!frame.title.empty()) frame.SetTitle(*this, TEXT("Title"));
        return TRUE;
    }
    const MessageMap &Messages() const override {
        using H = Handlers<Framed>;
        static const MessageMap map(&Dialog::Messages(), {H::Message(WM_LBUTTONDOWN, &Framed::OnTap)});
        return map;
    }
    LRESULT OnTap(WPARAM, LPARAM) {
        ++taps;
        return 0;
    }
};

DialogTemplate Controls() {
    DialogTemplate t(WS_POPUP | WS_CAPTION, 0, 0, 0, 100, 100, TEXT("Framed"));
    t.AddControl(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 4, 60, 30, 12, 10, TEXT("BUTTON"), TEXT("Push"));
    t.AddControl(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 40, 60, 30, 12, 11, TEXT("BUTTON"), TEXT("Default"));
    t.AddControl(WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 4, 76, 60, 10, 12, TEXT("BUTTON"), TEXT("Check"));
    return t;
}

// The client point (x, y) of the front dialog on the screen.
COLORREF ClientPixel(HWND dialog, int x, int y) {
    POINT p{x, y};
    ClientToScreen(dialog, &p);
    return ScreenPixel(p.x, p.y);
}

UINT ItemState(HMENU menu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    GetMenuItemInfoW(menu, 0, TRUE, &info);
    return info.fState;
}

class FrameTest : public DialogTest {};

// The band is 24 logical pixels high with its text 8 from the left, the
// line below it 1 logical pixel wide and moved down by half its width. The
// program reads the dpi once, so each resolution runs in its own process.
struct BandRow {
    int dpi;
    int lineY;     // the separator's first row
    int lineRows;  // its width
    int textLeft;
};

class TitleBand : public DialogTest, public ::testing::WithParamInterface<BandRow> {};

TEST_P(TitleBand, AtTheScreensResolution) {
    const BandRow row = GetParam();
    UseDpi(row.dpi);
    if (DpiScaleX(96) != row.dpi) GTEST_SKIP() << "this process read another dpi first; run the test alone";
    DialogTemplate t = Controls();
    Framed dialog(t.Get(), DialogFrame::PagePreset());
    bool blueInBand = false, blueLeftOfText = false;
    std::vector<COLORREF> column;
    Script script({[&] {
        HWND d = Front();
        UpdateWindow(d);
        for (int y = 0; y < row.lineY + 4; ++y) column.push_back(ClientPixel(d, 2, y));
        for (int x = 0; x < 60 && !blueInBand; ++x)
            for (int y = 0; y < row.lineY; ++y)
                if (ClientPixel(d, x, y) == kTitleBlue) {
                    blueInBand = true;
                    blueLeftOfText = x < row.textLeft;
                    break;
                }
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(column.size(), static_cast<size_t>(row.lineY + 4));
    for (int y = 0; y < row.lineY + 4; ++y) {
        bool line = y >= row.lineY && y < row.lineY + row.lineRows;
        EXPECT_EQ(column[y] == RGB(0, 0, 0), line) << "row " << y;
    }
    EXPECT_TRUE(blueInBand);
    EXPECT_FALSE(blueLeftOfText);
}

INSTANTIATE_TEST_SUITE_P(Dpi, TitleBand, ::testing::Values(BandRow{96, 24, 1, 8}, BandRow{192, 48, 2, 16}));

TEST_F(FrameTest, NoBandWithoutTitleAndThumbTrackingMovesIt) {
    DialogTemplate t = Controls();
    Framed plain(t.Get(), DialogFrame::AboutPreset());
    COLORREF lineRow = 0;
    Script plainScript({[&] {
        UpdateWindow(Front());
        lineRow = ClientPixel(Front(), 2, 24);
        PostMessageW(Front(), WM_COMMAND, IDCANCEL, 0);
    }});
    plain.DoModal();
    EXPECT_NE(lineRow, RGB(0, 0, 0));

    Framed titled(t.Get(), DialogFrame::PagePreset());
    std::vector<LONG> offsets;
    Script script({[&] {
        HWND d = Front();
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 200, 50, 30, 0};
        SetScrollInfo(d, SB_VERT, &info, FALSE);
        SendMessageW(d, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        offsets.push_back(titled.frame.scrollOffset);  // the position before the scroll: 30
        SendMessageW(d, WM_SETTINGCHANGE, 0, 0);
        offsets.push_back(titled.frame.scrollOffset);  // other settings leave it
        SendMessageW(d, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
        offsets.push_back(titled.frame.scrollOffset);
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    }});
    titled.DoModal();
    EXPECT_EQ(offsets, (std::vector<LONG>{-30, -30, 0}));
}

TEST_F(FrameTest, FontsTapsAndTheHiddenScrollBar) {
    DialogTemplate t = Controls();
    Framed dialog(t.Get(), DialogFrame::AboutPreset());
    HFONT push = nullptr, def = nullptr, check = nullptr, own = nullptr;
    LONG styleAfter = -1;
    Script script({[&] {
                       HWND d = Front();
                       push = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(d, 10), WM_GETFONT, 0, 0));
                       def = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(d, 11), WM_GETFONT, 0, 0));
                       check = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(d, 12), WM_GETFONT, 0, 0));
                       own = reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0));
                       SendMessageW(d, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 40));
                       SetWindowLongW(d, GWL_STYLE, GetWindowLongW(d, GWL_STYLE) | WS_VSCROLL);
                       SendMessageW(d, WM_SETTINGCHANGE, 0, 0);  // posts the hiding message
                   },
                   [&] {
                       styleAfter = GetWindowLongW(Front(), GWL_STYLE);
                       PostMessageW(Front(), WM_COMMAND, IDCANCEL, 0);
                   }});
    dialog.DoModal();
    EXPECT_EQ(push, TitleFont());
    EXPECT_EQ(def, TitleFont());
    EXPECT_EQ(check, ControlFont());
    EXPECT_EQ(own, ControlFont());
    EXPECT_EQ(dialog.taps, 0) << "a tap on the background reached the dialog";
    EXPECT_EQ(styleAfter & WS_VSCROLL, 0);
}

TEST_F(FrameTest, PopupUpdateLeavesTheSystemMenuToTheDialog) {
    DialogTemplate t = Controls();
    Framed dialog(t.Get(), DialogFrame::PagePreset());
    UINT unhandled = 0, system = 0;
    Script script({[&] {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, 300, TEXT("Nobody handles this"));
        SendMessageW(Front(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, TRUE));
        system = ItemState(popup);
        SendMessageW(Front(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
        unhandled = ItemState(popup);
        DestroyMenu(popup);
        PostMessageW(Front(), WM_COMMAND, IDCANCEL, 0);
    }});
    dialog.DoModal();
    EXPECT_EQ(system & MFS_GRAYED, 0u);
    EXPECT_NE(unhandled & MFS_GRAYED, 0u);
}

}  // namespace
