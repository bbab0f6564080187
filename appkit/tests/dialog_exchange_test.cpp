// Modal dialogs from resources and from memory, and data exchange in both
// directions with its refusals.
#include <gtest/gtest.h>

#include <string>

#include "appkit/DataExchange.h"
#include "appkit/Dialog.h"
#include "appkit/DialogTemplate.h"
#include "dialog_support.h"
#include "core/unicode.h"

namespace {

using namespace dialog_test;

class Fields : public Dialog {
   public:
    Fields() : Dialog(200, nullptr) {}
    WideString text = TEXT("start");
    int number = 7;
    bool tick = true;
    int second = 9;
    bool initialised = false;

   protected:
    BOOL OnInitDialog() override {
        initialised = true;
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange &dx) override {
        dx.Text(10, text, 5);
        dx.Integer(11, number);
        dx.Check(12, tick);
        dx.Integer(13, second);
    }
};

WideString TextOf(int id) {
    WCHAR text[64] = {0};
    GetWindowTextW(ItemOfFront(id), text, 64);
    return text;
}

void SetText(int id, LPCWSTR text) { SetWindowTextW(ItemOfFront(id), text); }

class DialogExchange : public DialogTest {};

TEST_F(DialogExchange, ValuesGoToTheControlsAndComeBackOnOk) {
    Fields dialog;
    WideString shown;
    int tickShown = -1;
    Script script({[&] {
                       shown = TextOf(10) + TEXT("|") + TextOf(11) + TEXT("|") + TextOf(13);
                       tickShown = static_cast<int>(SendMessageW(ItemOfFront(12), BM_GETCHECK, 0, 0));
                       SetText(10, TEXT("abc"));
                       SetText(11, TEXT(" -12 "));
                       SendMessageW(ItemOfFront(12), BM_SETCHECK, BST_UNCHECKED, 0);
                       SetText(13, TEXT("3"));
                   },
                   [] { PostMessageW(Front(), WM_COMMAND, IDOK, 0); }});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(shown, WideString(TEXT("start|7|9")));
    EXPECT_EQ(tickShown, BST_CHECKED);
    EXPECT_EQ(dialog.text, WideString(TEXT("abc")));
    EXPECT_EQ(dialog.number, -12);
    EXPECT_FALSE(dialog.tick);
    EXPECT_EQ(dialog.second, 3);
}

// A refused field shows its message, takes the focus, and the fields after
// it keep their values; the dialog stays open.
TEST_F(DialogExchange, RefusedFieldsStopTheExchange) {
    struct Row {
        LPCWSTR text;
        LPCWSTR number;
        int focusId;
        const char *message;
    } rows[] = {
        {TEXT("toolong"), TEXT("1"), 10, "Please enter no more than 5 characters."},
        {TEXT("ok"), TEXT("12x"), 11, "Please enter a whole number."},
        {TEXT("ok"), TEXT(""), 11, "Please enter a whole number."},
        {TEXT("ok"), TEXT("99999999999"), 11, "Please enter a whole number."},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Fields dialog;
        int focus = -1;
        std::string message;
        Script script({[&] {
                           SetText(10, rows[i].text);
                           SetText(11, rows[i].number);
                           SetText(13, TEXT("5"));
                       },
                       [] { PostMessageW(Front(), WM_COMMAND, IDOK, 0); },
                       [&] {
                           WCHAR text[128] = {0};
                           GetWindowTextW(GetDlgItem(Front(), 21), text, 128);  // the message box's text
                           message = wince::ToUtf8(text);
                           Key(VK_RETURN);
                       },
                       [&] {
                           focus = GetDlgCtrlID(GetFocus());
                           PostMessageW(Front(), WM_COMMAND, IDCANCEL, 0);
                       }});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "row " << i;
        EXPECT_EQ(message, rows[i].message) << "row " << i;
        EXPECT_EQ(focus, rows[i].focusId) << "row " << i;
        EXPECT_EQ(dialog.second, 9) << "row " << i << ": a field after the refused one was read";
    }
}

TEST_F(DialogExchange, DialogFromMemoryEndsWithTheButtonsCommand) {
    DialogTemplate memory(WS_POPUP | WS_CAPTION, 0, 0, 0, 80, 40, TEXT("Memory"));
    memory.AddControl(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 4, 4, 30, 12, IDCANCEL, TEXT("BUTTON"), TEXT("Cancel"));
    for (int ending : {IDOK, IDCANCEL}) {
        Dialog dialog(memory.Get(), nullptr);
        Script script({[ending] {
            if (ending == IDCANCEL) {
                Tap(ButtonOfFront(u"Cancel"));
            } else {
                PostMessageW(Front(), WM_COMMAND, IDOK, 0);
            }
        }});
        EXPECT_EQ(dialog.DoModal(), ending);
    }
}

TEST(DataExchangeParsing, WholeNumbersOnly) {
    struct Row {
        LPCWSTR text;
        bool ok;
        int value;
    } rows[] = {{TEXT("0"), true, 0},          {TEXT("15"), true, 15},     {TEXT(" 3 "), true, 3},
                {TEXT("-4"), true, -4},        {TEXT("+4"), true, 4},      {TEXT(""), false, 0},
                {TEXT("4a"), false, 0},        {TEXT("a4"), false, 0},     {TEXT("-"), false, 0},
                {TEXT("2147483647"), true, 2147483647}, {TEXT("2147483648"), false, 0},
                {TEXT("-2147483648"), true, -2147483647 - 1}, {TEXT("1 2"), false, 0}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        int value = -99;
        EXPECT_EQ(ParseDialogInteger(rows[i].text, value), rows[i].ok) << "row " << i;
        if (rows[i].ok) {
            EXPECT_EQ(value, rows[i].value) << "row " << i;
        }
    }
}

}  // namespace
