// MessageBox answered by taps and keys alone, as a user answers it.
#include "dialog/message_box.h"
#include "dialog_support.h"

namespace {

using namespace dialog_test;

struct Closed {
    std::u16string text, caption;
    UINT type;
    int answer;
};

class MessageBoxTest : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        previous = wince::SetMessageBoxObserver([this](const std::u16string &text, const std::u16string &caption, UINT type,
                                            int answer) { closed.push_back(Closed{text, caption, type, answer}); });
    }
    void TearDown() override {
        wince::SetMessageBoxObserver(previous);
        DialogTest::TearDown();
    }
    std::vector<Closed> closed;
    wince::MessageBoxObserver previous;
};

TEST_F(MessageBoxTest, EveryButtonSetAnswersByTapEnterAndEscape) {
    struct Row {
        UINT type;
        std::vector<const char16_t *> buttons;
        const char16_t *tap;
        int tapAnswer;
        int enterAnswer;   // the default button
        int escapeAnswer;  // 0: Escape does nothing
    } rows[] = {
        {MB_OK, {u"OK"}, u"OK", IDOK, IDOK, IDOK},
        {MB_OKCANCEL, {u"OK", u"Cancel"}, u"Cancel", IDCANCEL, IDOK, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2, {u"Yes", u"No"}, u"Yes", IDYES, IDNO, 0},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {u"Yes", u"No", u"Cancel"}, u"No", IDNO, IDCANCEL, IDCANCEL},
        {MB_RETRYCANCEL, {u"Retry", u"Cancel"}, u"Retry", IDRETRY, IDRETRY, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, {u"Abort", u"Retry", u"Ignore"}, u"Ignore", IDIGNORE, IDRETRY, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        std::vector<std::u16string> seen;
        {
            Script tap({[&] {
                            for (HWND h = GetWindow(Front(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                                WCHAR cls[16], text[32];
                                GetClassNameW(h, cls, 16);
                                GetWindowTextW(h, text, 32);
                                if (std::u16string(cls) == u"BUTTON") seen.push_back(text);
                            }
                            Tap(ButtonOfFront(row.tap));
                        }});
            EXPECT_EQ(MessageBoxW(nullptr, u"Question?", u"Title", row.type), row.tapAnswer) << "row " << i;
            EXPECT_FALSE(tap.RanOut()) << "row " << i;
        }
        ASSERT_EQ(seen.size(), row.buttons.size()) << "row " << i;
        for (size_t b = 0; b < seen.size(); ++b) EXPECT_EQ(seen[b], row.buttons[b]) << "row " << i;
        {
            Script enter({[] { Key(VK_RETURN); }});
            EXPECT_EQ(MessageBoxW(nullptr, u"Q", u"T", row.type), row.enterAnswer) << "row " << i;
            EXPECT_FALSE(enter.RanOut()) << "row " << i;
        }
        {
            // Escape first; where it does nothing, the Tab and Space that follow press the next button.
            Script escape({[] { Key(VK_ESCAPE); }, [] { Key(VK_TAB); }, [] { Key(VK_SPACE); }});
            int answer = MessageBoxW(nullptr, u"Q", u"T", row.type);
            if (row.escapeAnswer) EXPECT_EQ(answer, row.escapeAnswer) << "row " << i;
            else EXPECT_NE(answer, 0) << "row " << i;
            EXPECT_FALSE(escape.RanOut()) << "row " << i;
        }
    }
}

TEST_F(MessageBoxTest, ModalOverItsOwnerAndTellsTheObserver) {
    HWND owner = CreateWindowExW(0, u"STATIC", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
    made.push_back(owner);
    bool ownerDisabled = false;
    HWND icon = nullptr;
    RECT box{};
    std::u16string caption;
    Script script({[&] {
        ownerDisabled = !IsWindowEnabled(owner);
        HWND front = Front();
        GetWindowRect(front, &box);
        WCHAR text[32];
        GetWindowTextW(front, text, 32);
        caption = text;
        for (HWND h = GetWindow(front, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (GetWindowLongW(h, GWL_STYLE) & SS_ICON) icon = reinterpret_cast<HICON>(SendMessageW(h, STM_GETICON, 0, 0)) ? h : icon;
        Tap(ButtonOfFront(u"No"));
    }});
    std::u16string longText(400, u'w');
    longText += u"\nsecond line";
    EXPECT_EQ(MessageBoxW(owner, longText.c_str(), nullptr, MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(caption, u"Error");  // the default caption
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, 240);  // wrapped to the screen's width
    EXPECT_LE(box.bottom, 320);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].text, longText);
    EXPECT_EQ(closed[0].caption, u"Error");
    EXPECT_EQ(closed[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(closed[0].answer, IDNO);

    SetLastError(0);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 0x0000000F), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(closed.size(), 1u);
}

// Each of the four icons shows its system icon; the text keeps its line
// breaks; the caption and buttons are those asked for.
TEST_F(MessageBoxTest, IconsCaptionAndLineBreaks) {
    struct Row {
        UINT icon;
        LPCWSTR systemIcon;
    } rows[] = {{MB_ICONHAND, IDI_HAND},
                {MB_ICONQUESTION, IDI_QUESTION},
                {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
                {MB_ICONASTERISK, IDI_ASTERISK},
                {0, nullptr}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        HICON shown = nullptr;
        int icons = 0;
        std::u16string caption, drawn;
        RECT drawnRect{};
        Script script({[&] {
            HWND front = Front();
            WCHAR text[32];
            GetWindowTextW(front, text, 32);
            caption = text;
            for (HWND h = GetWindow(front, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                WCHAR cls[16];
                GetClassNameW(h, cls, 16);
                if (std::u16string(cls) == u"STATIC" && (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    ++icons;
                    shown = reinterpret_cast<HICON>(SendMessageW(h, STM_GETICON, 0, 0));
                }
                for (const wince::DrawnText &t : wince::FromHandle(h)->drawnText)
                    if (t.text.find(u"First") == 0) drawn = t.text, drawnRect = t.rect;
            }
            Key(VK_RETURN);
        }});
        EXPECT_EQ(MessageBoxW(nullptr, u"First line\nSecond", u"Caption", MB_OKCANCEL | rows[i].icon), IDOK) << "row " << i;
        EXPECT_EQ(caption, u"Caption") << "row " << i;
        EXPECT_EQ(icons, rows[i].systemIcon ? 1 : 0) << "row " << i;
        if (rows[i].systemIcon) {
            EXPECT_EQ(shown, LoadIconW(nullptr, rows[i].systemIcon)) << "row " << i;
        }
        EXPECT_EQ(drawn, u"First line\nSecond") << "row " << i;
        EXPECT_EQ(drawnRect.bottom - drawnRect.top, 2 * 11) << "row " << i;  // two lines of the fixed font
    }
}

}  // namespace
