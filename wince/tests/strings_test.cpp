// Conformance of the string functions: exact results, as the device gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/unicode.h"

namespace {

TEST(Strings, LengthCopyAndConcatenate) {
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrlenW(u"abc"), 3);
    WCHAR buffer[8];
    for (auto &c : buffer) c = u'#';
    EXPECT_EQ(lstrcpynW(buffer, u"abcdef", 4), buffer);
    EXPECT_EQ(std::u16string(buffer), u"abc");  // three characters and the terminator
    EXPECT_EQ(buffer[4], u'#');                  // nothing written past the limit
    lstrcpynW(buffer, u"xyz", 1);
    EXPECT_EQ(buffer[0], 0);
    lstrcpyW(buffer, u"ab");
    lstrcatW(buffer, u"cd");
    EXPECT_EQ(std::u16string(buffer), u"abcd");
}

TEST(Strings, ComparisonOrder) {
    struct Row {
        const char16_t *a, *b;
        int sensitive, insensitive;  // sign of lstrcmpW, lstrcmpiW
    } rows[] = {
        {u"abc", u"abc", 0, 0},       {u"abc", u"ABC", -1, 0},      {u"ABC", u"abd", -1, -1},
        {u"a", u"A", -1, 0},          {u"Zebra", u"apple", 1, 1},   {u"ab", u"abc", -1, -1},
        {u"_x", u"1x", -1, -1},       {u"1x", u"ax", -1, -1},       {u"\u00e9t\u00e9", u"ETE", 1, 1},
        {u"\u00c9T\u00c9", u"\u00e9t\u00e9", 1, 0},                  {u"e", u"\u00e9", -1, -1},
        {u"\u00e9a", u"eb", -1, -1},  {u"", u"", 0, 0},              {u"", u"a", -1, -1},
    };
    auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(sign(lstrcmpW(rows[i].a, rows[i].b)), rows[i].sensitive) << "row " << i;
        EXPECT_EQ(sign(lstrcmpiW(rows[i].a, rows[i].b)), rows[i].insensitive) << "row " << i;
        EXPECT_EQ(sign(lstrcmpiW(rows[i].b, rows[i].a)), -rows[i].insensitive) << "row " << i << " reversed";
    }
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, u"ab", -1, u"AB", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"ab", 1, u"AB", 1), CSTR_LESS_THAN);
}

TEST(Strings, CaseConversion) {
    WCHAR text[] = u"Stra\u00dfe \u00c9t\u00e9 \u0416";
    CharUpperW(text);
    EXPECT_EQ(std::u16string(text), u"STRA\u00dfE \u00c9T\u00c9 \u0416");
    CharLowerW(text);
    EXPECT_EQ(std::u16string(text), u"stra\u00dfe \u00e9t\u00e9 \u0436");
    // A single character passed in the low word of the pointer.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(uintptr_t{u'q'}))), uintptr_t{u'Q'});
    WCHAR buffer[] = u"abcd";
    EXPECT_EQ(CharUpperBuffW(buffer, 2), 2u);
    EXPECT_EQ(std::u16string(buffer), u"ABcd");
}

TEST(Strings, FormatConversions) {
    struct Row {
        std::u16string expected;
        int length;
        std::u16string actual;
    };
    WCHAR out[1100];
    std::vector<Row> rows;
    auto add = [&](std::u16string expected, int n) { rows.push_back({expected, n, out}); };
    add(u"7 -3 4294967293", wsprintfW(out, u"%d %i %u", 7, -3, -3));
    add(u"ff FF 0xff", wsprintfW(out, u"%x %X %#x", 255, 255, 255));
    add(u"[  42] [42  ] [0042] [-042]", wsprintfW(out, u"[%4d] [%-4d] [%04d] [%04d]", 42, 42, 42, -42));
    add(u"name=Report.psw c=Z 100%", wsprintfW(out, u"name=%s c=%c 100%%", u"Report.psw", u'Z'));
    add(u"abc|narrow|(null)", wsprintfW(out, u"%.3s|%hs|%s", u"abcdef", "narrow", (LPCWSTR) nullptr));
    add(u"-2147483648 12345678901", wsprintfW(out, u"%ld %I64d", INT32_MIN, int64_t{12345678901}));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].actual, rows[i].expected) << "row " << i;
        EXPECT_EQ(rows[i].length, static_cast<int>(rows[i].expected.size())) << "row " << i;
    }
    std::u16string big(2000, u'x');
    EXPECT_EQ(wsprintfW(out, u"%s", big.c_str()), 1023);  // the device's output limit
    EXPECT_EQ(out[1023], 0);
}

TEST(Strings, CharacterTypes) {
    const WCHAR text[] = u" \t\u00a0a\u00c41!";
    WORD types[8] = {};
    ASSERT_TRUE(GetStringTypeW(CT_CTYPE1, text, 7, types));
    EXPECT_EQ(types[0], C1_SPACE | C1_BLANK);
    EXPECT_EQ(types[1], C1_SPACE | C1_BLANK | C1_CNTRL);
    EXPECT_TRUE(types[2] & C1_SPACE);
    EXPECT_EQ(types[3], C1_LOWER | C1_ALPHA | C1_XDIGIT);
    EXPECT_EQ(types[4], C1_UPPER | C1_ALPHA);
    EXPECT_EQ(types[5], C1_DIGIT | C1_XDIGIT);
    EXPECT_EQ(types[6], C1_PUNCT);
    SetLastError(0xDEAD);
    EXPECT_FALSE(GetStringTypeW(CT_CTYPE1, nullptr, 1, types));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Unicode, HostNamesRoundTrip) {
    const std::string names[] = {"plain.txt", "Caf\xc3\xa9.psw", "bad\xff\xfe.txt", "\xc3", "\xed\xa0\x80 surrogate",
                                 "emoji \xf0\x9f\x98\x80", std::string("\xc0\xaf overlong")};
    for (size_t i = 0; i < std::size(names); ++i) {
        std::u16string wide = wince::FromHostBytes(names[i]);
        std::string back;
        ASSERT_TRUE(wince::ToHostBytes(wide, back)) << "row " << i;
        EXPECT_EQ(back, names[i]) << "row " << i;
    }
    EXPECT_EQ(wince::FromHostBytes("bad\xff"), u"bad\xdcff");
    std::string bytes;
    EXPECT_FALSE(wince::ToHostBytes(u"lone \xd800 high", bytes));
}

}  // namespace
