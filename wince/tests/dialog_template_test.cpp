// The template reader: fields, alignment, and damaged templates refused
// without reading past their end.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialog/dialog_template.h"
#include "dialog/template_writer.h"

namespace {

using wince::DialogTemplate;
using wince::DialogTemplateWriter;
using wince::ParseDialogTemplate;

DialogTemplateWriter Sample() {
    DialogTemplateWriter t(WS_POPUP | WS_CAPTION, 1, 2, 100, 60, u"Title", 9, u"Tahoma");
    t.Item(0x0080, WS_CHILD | BS_PUSHBUTTON, 3, 4, 40, 14, IDOK, u"OK");
    t.Item(u"Custom", WS_CHILD, 5, 6, 7, 8, 77, u"Hi", WS_EX_CLIENTEDGE);
    return t;
}

TEST(DialogTemplate, ReadsEveryField) {
    DialogTemplateWriter w = Sample();
    DialogTemplate t;
    ASSERT_TRUE(ParseDialogTemplate(w.Get(), w.Size(), t));
    EXPECT_EQ(t.style, DWORD(WS_POPUP | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(t.x, 1);
    EXPECT_EQ(t.cy, 60);
    EXPECT_EQ(t.title.text, u"Title");
    EXPECT_TRUE(t.hasFont);
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.faceName, u"Tahoma");
    ASSERT_EQ(t.items.size(), 2u);
    EXPECT_TRUE(t.items[0].className.isOrdinal);
    EXPECT_EQ(t.items[0].className.ordinal, 0x0080);
    EXPECT_EQ(t.items[0].title.text, u"OK");
    EXPECT_EQ(t.items[0].id, IDOK);
    EXPECT_EQ(t.items[1].className.text, u"Custom");
    EXPECT_EQ(t.items[1].exStyle, DWORD(WS_EX_CLIENTEDGE));
    EXPECT_EQ(t.items[1].cy, 8);
    EXPECT_EQ(t.items[1].creationData, nullptr);
}

// Every prefix of a valid template is refused, each one in a buffer of
// exactly its size so that a read past the end is caught by the sanitizer.
TEST(DialogTemplate, EveryTruncationIsRefused) {
    DialogTemplateWriter w = Sample();
    const auto *bytes = reinterpret_cast<const uint8_t *>(w.Get());
    for (size_t size = 0; size < w.Size() - 2; ++size) {  // the last word is the item's empty creation data
        std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
        memcpy(copy.get(), bytes, size);
        DialogTemplate t;
        EXPECT_FALSE(ParseDialogTemplate(copy.get(), size, t)) << "size " << size;
    }
}

TEST(DialogTemplate, LiesAndMissingTerminatorsAreRefused) {
    DialogTemplateWriter w = Sample();
    std::vector<WORD> words = w.Words();
    struct Row {
        const char *what;
        size_t index;
        WORD value;
    } rows[] = {
        {"more items than present", 4, 3},
        {"title without terminator", 14, 'x'},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::vector<WORD> damaged = words;
        if (rows[i].index == 14) {
            // Overwrite every word after the title's start with a letter: no terminator before the end.
            for (size_t k = 12; k < damaged.size(); ++k) damaged[k] = rows[i].value;
        } else {
            damaged[rows[i].index] = rows[i].value;
        }
        DialogTemplate t;
        EXPECT_FALSE(ParseDialogTemplate(damaged.data(), damaged.size() * 2, t)) << rows[i].what;
    }
    // Creation data longer than the template.
    DialogTemplateWriter c(WS_POPUP, 0, 0, 10, 10, u"");
    c.Item(0x0082, WS_CHILD, 0, 0, 1, 1, 1, u"");
    std::vector<WORD> cw = c.Words();
    cw.back() = 40;
    DialogTemplate t;
    EXPECT_FALSE(ParseDialogTemplate(cw.data(), cw.size() * 2, t));
    cw.back() = 6;  // the size word and four bytes
    cw.push_back(0xAAAA);
    cw.push_back(0xBBBB);
    ASSERT_TRUE(ParseDialogTemplate(cw.data(), cw.size() * 2, t));
    ASSERT_NE(t.items[0].creationData, nullptr);
    EXPECT_EQ(t.items[0].creationData[2], 0xAA);
}

}  // namespace
