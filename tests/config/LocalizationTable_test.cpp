// The translation file: both encodings, escapes, line ends, the reading
// window, and damaged files.
#include "config/LocalizationTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "temp_device.h"

namespace {

const char *const kProgram = "\\Program Files\\Pelloran\\PelloranOptions.exe";
const char *const kTableFile = "\\Program Files\\Pelloran\\localization.txt";

std::string Utf16File(const std::u16string &text, bool byteOrderMark = true) {
    std::string bytes = byteOrderMark ? std::string("\xFF\xFE") : std::string();
    for (char16_t c : text) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
    return bytes;
}

class LocalizationTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        setenv("WINCE_PROGRAM", kProgram, 1);
        LocalizationTable::Release();
    }
    void TearDown() override {
        LocalizationTable::Release();
        unsetenv("WINCE_PROGRAM");
    }
    bool Load(const std::string &bytes) {
        device.WriteHostFile(kTableFile, bytes);
        return LoadTranslations(u"\\localization.txt");
    }
};

TEST(TranslationLine, ParsesFieldsEscapesAndLineEnds) {
    const struct {
        std::u16string text, source, translation;
        int consumed;
    } rows[] = {
        {u"Open|Ouvrir\r\nNext", u"Open", u"Ouvrir", 13},
        {u"Open|Ouvrir\nNext", u"Open", u"Ouvrir", 12},
        {u"Open|Ouvrir", u"Open", u"Ouvrir", 11},
        {u"A\\nB|two\\rlines", u"A\nB", u"two\rlines", 15},
        {u"x\\|y|z\n", u"x|y", u"z", 7},
        {u"a\\\\b|\\q", u"a\\b", u"q", 7},
        {u"Delete\r\nOpen|Ouvrir", u"Delete", u"", 8},
        {u"Delete\nOpen|Ouvrir\n", u"Delete", u"Open", 12},
        {u"a|b|c\n", u"a", u"b", 4},
        {u"a|b|\nc", u"a", u"b", 5},
        {u"\n\nx|y", u"", u"", 2},
        {u"|x\n", u"", u"x", 3},
        {u"end\\", u"end", u"", 4},
        {u"", u"", u"", 0},
    };
    std::u16string source(TranslationWindow + 1, u'#'), translation(TranslationWindow + 1, u'#');
    for (size_t i = 0; i < std::size(rows); ++i) {
        int used = ParseTranslationLine(rows[i].text.c_str(), source.data(), translation.data());
        EXPECT_EQ(used, rows[i].consumed) << "row " << i;
        EXPECT_EQ(std::u16string(source.c_str()), rows[i].source) << "row " << i;
        EXPECT_EQ(std::u16string(translation.c_str()), rows[i].translation) << "row " << i;
    }
}

TEST_F(LocalizationTest, BothEncodingsTranslate) {
    const struct {
        std::string file;
        const char16_t *text, *expected;
    } rows[] = {
        {Utf16File(u"Open|Ouvrir\r\n"), u"Open", u"Ouvrir"},
        {"Open|Ouvrir\r\n", u"Open", u"Ouvrir"},
        {"Caf\xE9|Kaffee\n", u"Caf\u00e9", u"Kaffee"},
        {Utf16File(u"\u65e5\u672c|Japan"), u"\u65e5\u672c", u"Japan"},
        {"Pocket Word|Texte\n", u"pocket word", u""},
        {"\xEF\xBB\xBFOpen|Ouvrir\n", u"Open", u""},                 // a UTF-8 mark is three characters of the key
        {"\xEF\xBB\xBFOpen|Ouvrir\n", u"\u00ef\u00bb\u00bfOpen", u"Ouvrir"},
        {Utf16File(u"Open|Ouvrir", false), u"Open", u""},           // no mark: single bytes, stops at the zero
        {"Open|Ouvrir\nOpen|Second\n", u"Open", u"Ouvrir"},           // first one wins
        {"Open|Ouvrir", u"Open", u"Ouvrir"},                          // no final line end
        {"|x\n", u"", u"x"},
        {"\n|x\n", u"", u""},                                         // a blank line comes first
        {"Delete\r\nOpen|Ouvrir\r\n", u"Delete", u""},
        {"Delete\nOpen|Ouvrir\n", u"Delete", u"Open"},
        {"Delete\nOpen|Ouvrir\nrest\n", u"Ouvrir", u"rest"},
        {"Empty|\nEmpty|Full\n", u"Empty", u""},                      // an empty translation is found first
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        LocalizationTable::Release();
        ASSERT_TRUE(Load(rows[i].file)) << "row " << i;
        EXPECT_EQ(FindTranslation(rows[i].text), rows[i].expected) << "row " << i;
    }
}

TEST_F(LocalizationTest, EveryParseStepAddsAnEntry) {
    ASSERT_TRUE(Load("a|1\n\nb|2\n"));
    // a, the blank line absorbed by a's line end... then b, then the final empty entry
    EXPECT_EQ(LocalizationTable::Instance().Count(), 3);
    ASSERT_TRUE(LoadTranslations(u"\\localization.txt"));  // a second load appends
    EXPECT_EQ(LocalizationTable::Instance().Count(), 6);
    EXPECT_EQ(FindTranslation(u"b"), u"2");
}

TEST_F(LocalizationTest, ALineLongerThanTheWindowIsCutAndGoesOnAsANewLine) {
    for (bool utf16 : {false, true}) {
        LocalizationTable::Release();
        std::u16string line(TranslationWindow + 906, u'a');
        line += u"|t\nafter|ok\n";
        ASSERT_TRUE(Load(utf16 ? Utf16File(line) : std::string(line.begin(), line.end())));
        EXPECT_EQ(FindTranslation(std::u16string(TranslationWindow, u'a').c_str()), u"") << utf16;
        EXPECT_EQ(FindTranslation(std::u16string(906, u'a').c_str()), u"t") << utf16;
        EXPECT_EQ(FindTranslation(u"after"), u"ok") << utf16;
    }
}

TEST_F(LocalizationTest, TheWindowIsRefilledAfterEveryLine) {
    std::string file;
    for (int i = 0; i < 3000; ++i) file += "key" + std::to_string(i) + "|value" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(Load(file));
    EXPECT_EQ(FindTranslation(u"key0"), u"value0");
    EXPECT_EQ(FindTranslation(u"key1234"), u"value1234");
    EXPECT_EQ(FindTranslation(u"key2999"), u"value2999");
    EXPECT_EQ(LocalizationTable::Instance().Count(), 3001);
}

TEST_F(LocalizationTest, DamagedAndOddFilesNeverFailTheProgram) {
    EXPECT_FALSE(LoadTranslations(u"\\localization.txt"));  // no file: false, nothing changes
    EXPECT_EQ(LocalizationTable::Instance().Count(), 0);
    EXPECT_TRUE(Load(""));
    EXPECT_TRUE(Load("\xFF"));
    EXPECT_TRUE(Load("\xFF\xFE"));
    EXPECT_TRUE(Load(Utf16File(u"odd|byte") + "\x41"));
    EXPECT_EQ(FindTranslation(u"odd"), u"byte");
    EXPECT_TRUE(Load(std::string(100000, 'x') + "|y\n"));
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string noise(20000, '\0');
        for (char &c : noise) c = static_cast<char>(random());
        EXPECT_TRUE(Load(noise)) << "round " << round;
    }
    EXPECT_EQ(FindTranslation(u"no such text"), u"");
}

TEST_F(LocalizationTest, TranslateTextFallsBackAndCuts) {
    ASSERT_TRUE(Load("Options...|R\xE9glages...\nLong|" + std::string(1500, 'z') + "\n"));
    EXPECT_EQ(TranslateText(u"Options..."), u"R\u00e9glages...");
    EXPECT_EQ(TranslateText(u"Untranslated"), u"Untranslated");
    EXPECT_EQ(TranslateText(u"Long"), std::u16string(1024, u'z'));
    EXPECT_EQ(TranslateText(std::u16string(2000, u'q').c_str()).size(), 1024u);
}

TEST_F(LocalizationTest, TheFileLivesBesideTheProgram) {
    std::u16string path;
    ASSERT_TRUE(TranslationFilePath(u"\\localization.txt", path));
    EXPECT_EQ(path, u"\\Program Files\\Pelloran\\localization.txt");
    setenv("WINCE_PROGRAM", ("\\" + std::string(250, 'p') + "\\x.exe").c_str(), 1);
    EXPECT_FALSE(TranslationFilePath(u"\\localization.txt", path));  // past MAX_PATH
}

}  // namespace
