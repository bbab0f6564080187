// The property sheet and its pages: pages made when first shown, leaving
// refused, OK to the pages that exist, Cancel, the title flag, and a sheet
// that handles its own messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appkit/DataExchange.h"
#include "appkit/PropertySheetWindow.h"
#include "dialog_support.h"

namespace {

using namespace dialog_test;

std::vector<std::string> calls;

class RecordingPage : public PropertyPage {
   public:
    RecordingPage(const char *name, UINT caption) : PropertyPage(210, caption), name_(name) {}
    bool refuseLeaving = false;
    bool refuseApply = false;
    int value = 0;

    BOOL OnSetActive() override {
        calls.push_back(name_ + " active");
        return TRUE;
    }
    BOOL OnKillActive() override {
        calls.push_back(name_ + " leave");
        return refuseLeaving ? FALSE : PropertyPage::OnKillActive();
    }
    BOOL OnApply() override {
        calls.push_back(name_ + " apply");
        return refuseApply ? FALSE : PropertyPage::OnApply();
    }
    void OnCancel() override { calls.push_back(name_ + " cancel"); }

   protected:
    BOOL OnInitDialog() override {
        calls.push_back(name_ + " init");
        return PropertyPage::OnInitDialog();
    }
    void DoDataExchange(DataExchange &dx) override { dx.Integer(10, value); }

   private:
    std::string name_;
};

class HelpfulSheet : public PropertySheetWindow {
   public:
    HelpfulSheet() : PropertySheetWindow(213, nullptr, 0) {}
    int helps = 0;

   protected:
    const MessageMap &Messages() const override {
        using H = Handlers<HelpfulSheet>;
        static const MessageMap map(&PropertySheetWindow::Messages(), {H::Message(WM_HELP, &HelpfulSheet::OnHelp)});
        return map;
    }
    LRESULT OnHelp(WPARAM, LPARAM) {
        ++helps;
        return TRUE;
    }
};

HWND SheetWindow() {
    for (HWND h = GetActiveWindow(); h; h = GetParent(h))
        if (SendMessageW(h, PSM_GETTABCONTROL, 0, 0)) return h;
    return nullptr;
}

void ChooseTab(int index) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(SheetWindow(), PSM_GETTABCONTROL, 0, 0));
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tabs, &p);
    Tap(p);
}

class PropertySheetTest : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        calls.clear();
    }
};

TEST_F(PropertySheetTest, TitlesComeFromTheStringTable) {
    RecordingPage titled("a", 211), untitled("b", 0);
    EXPECT_NE(titled.Header().dwFlags & PSP_USETITLE, 0u);
    EXPECT_EQ(std::u16string(titled.Header().pszTitle), u"First");
    EXPECT_EQ(untitled.Header().dwFlags & PSP_USETITLE, 0u);
}

TEST_F(PropertySheetTest, PagesAreMadeWhenShownAndOkAppliesTheMadeOnes) {
    HelpfulSheet sheet;
    RecordingPage first("first", 211), second("second", 212), third("third", 211);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.AddPage(&third);
    bool secondMadeEarly = true;
    PropertyPage *active = nullptr;
    Script script({[&] {
                       secondMadeEarly = second.Handle() != nullptr;
                       SendMessageW(SheetWindow(), WM_HELP, 0, 0);
                       ChooseTab(1);
                   },
                   [&] {
                       active = sheet.ActivePage();
                       PostMessageW(SheetWindow(), WM_COMMAND, IDOK, 0);
                   }});
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_FALSE(secondMadeEarly);
    EXPECT_EQ(active, &second);
    EXPECT_EQ(sheet.helps, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"first init", "first active", "first leave", "second init",
                                               "second active", "second leave", "first apply", "second apply"}));
}

TEST_F(PropertySheetTest, RefusalsKeepThePageAndTheSheet) {
    PropertySheetWindow sheet(213, nullptr, 0);
    RecordingPage first("first", 211), second("second", 212);
    first.refuseLeaving = true;
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    int activeAfterTap = -1;
    Script script({[] { ChooseTab(1); },
                   [&] {
                       activeAfterTap = sheet.ActivePage() == &first ? 0 : 1;
                       first.refuseLeaving = false;
                       first.refuseApply = true;
                       PostMessageW(SheetWindow(), WM_COMMAND, IDOK, 0);
                   },
                   [&] { PostMessageW(SheetWindow(), WM_COMMAND, IDCANCEL, 0); }});
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(activeAfterTap, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"first init", "first active", "first leave", "first leave",
                                               "first apply", "first cancel"}));
}

}  // namespace
