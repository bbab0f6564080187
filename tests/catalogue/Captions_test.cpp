// Size captions and the icon cache.
#include "catalogue/Captions.h"

#include <gtest/gtest.h>

#include "catalogue/IconCache.h"
#include "temp_device.h"

namespace {

TEST(SizeCaption, UnitsChangeAtAThousandAndDivideBy1024) {
    const uint64_t KB = 1024, GB = KB * KB * KB, TB = GB * KB;
    const struct {
        uint64_t size;
        const char16_t *text;
    } rows[] = {
        {0, u"0.00B"},      {5, u"5.00B"},         {50, u"50.0B"},          {999, u"999B"},
        {1000, u"0.97K"},   {1023, u"0.99K"},      {1024, u"1.00K"},        {1075, u"1.04K"},
        {1536, u"1.50K"},   {10240, u"10.0K"},     {10291, u"10.0K"},       {102400, u"100K"},
        {1023999, u"999K"}, {1024000, u"0.97M"},   {5 * GB, u"5.00G"},      {999 * TB, u"999T"},
        {1000 * TB, u"0.97P"}, {(uint64_t(1) << 50) - 1, u"0.99P"}, {uint64_t(1) << 50, u"HUGE"},
        {UINT64_MAX, u"HUGE"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(FormatSizeText(rows[i].size), rows[i].text) << "row " << i;
        EXPECT_LE(FormatSizeText(rows[i].size).size(), 5u) << "row " << i;
    }
}

using IconCacheTest = testing_support::DeviceTest;

TEST_F(IconCacheTest, OneShellLookupPerExtensionWhateverItsCase) {
    ReleaseIconCache();
    device.WriteHostFile("\\My Documents\\Plan.PSW", "x");
    device.WriteHostFile("\\My Documents\\memo.psw", "x");
    device.WriteHostFile("\\My Documents\\README", "x");
    HICON first = GetDocumentIcon(u"\\My Documents\\Plan.PSW", u".PSW");
    HICON second = GetDocumentIcon(u"\\My Documents\\memo.psw", u".psw");
    EXPECT_EQ(first, second);
    EXPECT_EQ(IconCacheLookups(), 1);
    GetDocumentIcon(u"\\My Documents\\README", u"");
    GetDocumentIcon(u"\\My Documents\\README", u"");
    EXPECT_EQ(IconCacheLookups(), 2);  // the empty extension is a key of its own
    ReleaseIconCache();
}

}  // namespace
