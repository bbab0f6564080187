// Dates and times: GetDateFormatW and GetTimeFormatW in the device's
// locales, their error and buffer rules, the default locale from device.ini,
// and the wall clock's conversions with a time zone.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/unicode.h"
#include "device_profile.h"
#include "temp_device.h"

namespace {

SYSTEMTIME Date(int y, int m, int d, int dayOfWeek = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    st.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    return st;
}

SYSTEMTIME Time(int h, int m, int s, int ms = 0) {
    SYSTEMTIME st = Date(2005, 12, 29);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(m);
    st.wSecond = static_cast<WORD>(s);
    st.wMilliseconds = static_cast<WORD>(ms);
    return st;
}

FILETIME FileTime(uint64_t v) {
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}
uint64_t Value(const FILETIME &ft) {
    return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

class NlsDateTest : public testing_support::DeviceTest {
   protected:
    void UseLocale(const std::string &name, int timezone = 0) {
        testing_support::WriteProfile(device.Root(), "[locale]\nname = " + name + "\n[clock]\ntimezone = " +
                                                         std::to_string(timezone) + "\nstart = 2005-12-29 08:00:00\n");
    }
    std::string FormatDate(LCID lcid, DWORD flags, const SYSTEMTIME *date, const char16_t *picture) {
        WCHAR buffer[100];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        int n = GetDateFormatW(lcid, flags, date, picture, buffer, 100);
        if (n <= 0) return "<failed " + std::to_string(GetLastError()) + ">";
        EXPECT_EQ(buffer[n - 1], 0);
        return wince::ToUtf8(buffer);
    }
};

TEST_F(NlsDateTest, FormatsTable) {
    struct Row {
        const char *deviceLocale;
        LCID lcid;
        DWORD flags;
        const char16_t *picture;
        SYSTEMTIME date;
        const char *expected;
    } rows[] = {
        {"en-US", LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, Date(2005, 12, 29), "12/29/2005"},
        {"de-DE", LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, Date(2005, 12, 29), "29.12.2005"},
        {"en-US", LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, Date(2005, 12, 29), "Thursday, December 29, 2005"},
        {"de-DE", LOCALE_SYSTEM_DEFAULT, DATE_LONGDATE, nullptr, Date(2005, 12, 29), "Donnerstag, 29. Dezember 2005"},
        {"fr-FR", LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, Date(2005, 12, 29),
         "jeudi 29 d\xC3\xA9"
         "cembre 2005"},
        {"en-GB", LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, Date(2005, 3, 5), "05/03/2005"},
        {"en-US", LOCALE_USER_DEFAULT, 0, nullptr, Date(2005, 3, 5), "3/5/2005"},      // no flags: the short date
        {"de-DE", 0x0409, DATE_SHORTDATE, nullptr, Date(2005, 12, 29), "12/29/2005"},  // a named locale wins
        {"en-US", 0x0407, DATE_LONGDATE, nullptr, Date(2005, 3, 1), "Dienstag, 1. M\xC3\xA4rz 2005"},
        // Pictures
        {"en-US", LOCALE_USER_DEFAULT, 0, u"d/M/yy", Date(2005, 3, 5), "5/3/05"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"dd MM yyyy", Date(2005, 3, 5), "05 03 2005"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"ddd MMM", Date(2005, 3, 5), "Sat Mar"},
        {"de-DE", LOCALE_USER_DEFAULT, 0, u"ddd MMM", Date(2005, 3, 5), "Sa M\xC3\xA4r"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"dddddd MMMMMM", Date(2005, 3, 5), "Saturday March"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"y|yy|yyyy|yyyyy", Date(2009, 1, 1), "9|09|2009|2009"},
        {"de-DE", LOCALE_USER_DEFAULT, 0, u"'Heute ist' dddd", Date(2005, 12, 29), "Heute ist Donnerstag"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"d 'o''clock' dddd'd'", Date(2005, 12, 29), "29 o'clock Thursdayd"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"'unterminated d", Date(2005, 12, 29), "unterminated d"},
        {"en-US", LOCALE_USER_DEFAULT, 0, u"gg yyyy", Date(2005, 12, 29), "A.D. 2005"},
        // The caller's day of the week is not trusted; leap days are dates.
        {"en-US", LOCALE_USER_DEFAULT, 0, u"dddd", Date(2005, 12, 29, 0), "Thursday"},
        {"en-US", LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, Date(2004, 2, 29), "Sunday, February 29, 2004"},
        {"en-US", LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, Date(1601, 1, 1), "1/1/1601"},
    };
    std::string current;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        if (current != r.deviceLocale) UseLocale(current = r.deviceLocale);
        EXPECT_EQ(FormatDate(r.lcid, r.flags, &r.date, r.picture), r.expected) << "row " << i;
    }
}

TEST_F(NlsDateTest, ErrorsTable) {
    UseLocale("en-US");
    WCHAR buffer[40];
    struct Row {
        LCID lcid;
        DWORD flags;
        SYSTEMTIME date;
        const char16_t *picture;
        bool withBuffer;
        int cch;
        DWORD error;
    } rows[] = {
        {LOCALE_USER_DEFAULT, 0, Date(2005, 13, 1), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 0, 1), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 4, 31), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 2, 29), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(1900, 2, 29), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 5, 0), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(1600, 12, 31), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, Date(2005, 1, 1), nullptr, true, 40, ERROR_INVALID_FLAGS},
        {LOCALE_USER_DEFAULT, DATE_LONGDATE, Date(2005, 1, 1), u"d", true, 40, ERROR_INVALID_FLAGS},
        {LOCALE_USER_DEFAULT, 0x100, Date(2005, 1, 1), nullptr, true, 40, ERROR_INVALID_FLAGS},
        {LOCALE_USER_DEFAULT, DATE_LTRREADING | DATE_RTLREADING, Date(2005, 1, 1), nullptr, true, 40,
         ERROR_INVALID_FLAGS},
        {0x0411, 0, Date(2005, 1, 1), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {0x00010409, 0, Date(2005, 1, 1), nullptr, true, 40, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 1, 1), nullptr, true, -1, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 1, 1), nullptr, false, 5, ERROR_INVALID_PARAMETER},
        {LOCALE_USER_DEFAULT, 0, Date(2005, 12, 29), nullptr, true, 10, ERROR_INSUFFICIENT_BUFFER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        SetLastError(0xBEEF);
        int n = GetDateFormatW(r.lcid, r.flags, &r.date, r.picture, r.withBuffer ? buffer : nullptr, r.cch);
        EXPECT_EQ(n, 0) << "row " << i;
        EXPECT_EQ(GetLastError(), r.error) << "row " << i;
    }
}

TEST_F(NlsDateTest, BufferSizesCountTheTerminatingNul) {
    UseLocale("en-US");
    SYSTEMTIME d = Date(2005, 12, 29);
    SetLastError(0xBEEF);
    EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &d, nullptr, nullptr, 0), 11);
    WCHAR exact[11];
    EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &d, nullptr, exact, 11), 11);
    EXPECT_EQ(std::u16string(exact), u"12/29/2005");
    EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &d, nullptr, nullptr, 0), 12);  // "12:00:00 AM"
    EXPECT_EQ(GetLastError(), 0xBEEFu);
}

TEST_F(NlsDateTest, NoDateMeansTheDevicesLocalDate) {
    UseLocale("de-DE", 120);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, 2005);  // the profile's clock
    EXPECT_EQ(FormatDate(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr),
              FormatDate(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr));
}

TEST_F(NlsDateTest, DefaultLocaleComesFromTheProfile) {
    struct Row {
        const char *profile;
        LCID lcid;
    } rows[] = {{"", 0x0409},
                {"[locale]\nname = de-DE\n", 0x0407},
                {"[locale]\nname = fr-fr\n", 0x040C},
                {"[locale]\nname = en-GB\n", 0x0809},
                {"[locale]\nname = xx-XX\n", 0x0409}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        testing_support::WriteProfile(device.Root(), rows[i].profile);
        EXPECT_EQ(GetUserDefaultLCID(), rows[i].lcid) << "row " << i;
        EXPECT_EQ(GetSystemDefaultLCID(), rows[i].lcid) << "row " << i;
        EXPECT_EQ(GetUserDefaultLangID(), static_cast<LANGID>(rows[i].lcid)) << "row " << i;
    }
}

TEST_F(NlsDateTest, TimeFormatsTable) {
    struct Row {
        const char *deviceLocale;
        DWORD flags;
        const char16_t *picture;
        SYSTEMTIME time;
        const char *expected;
    } rows[] = {
        {"en-US", 0, nullptr, Time(13, 5, 9), "1:05:09 PM"},
        {"en-US", 0, nullptr, Time(0, 0, 0), "12:00:00 AM"},
        {"en-US", 0, nullptr, Time(12, 30, 0), "12:30:00 PM"},
        {"de-DE", 0, nullptr, Time(13, 5, 9), "13:05:09"},
        {"de-DE", 0, nullptr, Time(7, 5, 9), "07:05:09"},
        {"en-US", TIME_NOSECONDS, nullptr, Time(13, 5, 9), "1:05 PM"},
        {"en-US", TIME_NOMINUTESORSECONDS, nullptr, Time(13, 5, 9), "1 PM"},
        {"en-US", TIME_NOTIMEMARKER, nullptr, Time(13, 5, 9), "1:05:09"},
        {"en-US", TIME_FORCE24HOURFORMAT, nullptr, Time(13, 5, 9), "13:05:09"},
        {"en-US", 0, u"hh'h'mm t", Time(1, 5, 9), "01h05 A"},
        {"en-US", 0, u"tt h:mm", Time(23, 59, 0), "PM 11:59"},
        {"en-US", TIME_NOTIMEMARKER, u"tt h:mm", Time(23, 59, 0), "11:59"},
    };
    std::string current;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        if (current != r.deviceLocale) UseLocale(current = r.deviceLocale);
        WCHAR buffer[40] = {};
        int n = GetTimeFormatW(LOCALE_USER_DEFAULT, r.flags, &r.time, r.picture, buffer, 40);
        EXPECT_EQ(wince::ToUtf8(buffer), r.expected) << "row " << i;
        EXPECT_EQ(n, static_cast<int>(strlen(r.expected)) + 1) << "row " << i;
    }
    SYSTEMTIME bad = Time(24, 0, 0);
    WCHAR buffer[40];
    SetLastError(0xBEEF);
    EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &bad, nullptr, buffer, 40), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0xBEEF);
    EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0x40, nullptr, nullptr, buffer, 40), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST_F(NlsDateTest, FileTimesToSystemTimesAndBack) {
    struct Row {
        uint64_t fileTime;
        int y, mo, d, dow, h, mi, s, ms;
    } rows[] = {
        {0, 1601, 1, 1, 1, 0, 0, 0, 0},
        {127803332967890000ULL, 2005, 12, 29, 4, 12, 34, 56, 789},
        {125963423999990000ULL, 2000, 2, 29, 2, 23, 59, 59, 999},
        {94405824000000000ULL, 1900, 3, 1, 4, 0, 0, 0, 0},
        {157519516280000000ULL, 2100, 2, 28, 0, 6, 7, 8, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        FILETIME ft = FileTime(r.fileTime);
        SYSTEMTIME st;
        memset(&st, 0xAB, sizeof st);
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st)) << "row " << i;
        int got[] = {st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
        int want[] = {r.y, r.mo, r.d, r.dow, r.h, r.mi, r.s, r.ms};
        for (int k = 0; k < 8; ++k) EXPECT_EQ(got[k], want[k]) << "row " << i << " field " << k;
        FILETIME back{0xDEAD, 0xBEEF};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &back)) << "row " << i;
        EXPECT_EQ(Value(back), r.fileTime) << "row " << i;
    }
    struct Bad {
        SYSTEMTIME st;
    } bad[] = {{Date(1900, 2, 29)}, {Date(1600, 12, 31)}, {Date(2005, 13, 1)}, {Date(2005, 6, 31)},
               {Time(24, 0, 0)},    {Time(0, 60, 0)},     {Time(0, 0, 60)},    {Time(0, 0, 0, 1000)}};
    for (size_t i = 0; i < std::size(bad); ++i) {
        FILETIME out{0xDEAD, 0xBEEF};
        SetLastError(0xBEEF);
        EXPECT_FALSE(SystemTimeToFileTime(&bad[i].st, &out)) << "bad row " << i;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "bad row " << i;
        EXPECT_EQ(out.dwLowDateTime, 0xDEADu) << "bad row " << i;
    }
    FILETIME tooLate = FileTime(0x8000000000000000ULL);
    SYSTEMTIME st;
    SetLastError(0xBEEF);
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(NlsDateTest, AFileTimeShownInTheDevicesTimeZone) {
    struct Row {
        const char *locale;
        int timezone;  // minutes east of UTC
        uint64_t utc;
        const char *expected;
    } rows[] = {
        {"de-DE", 60, 127803726000000000ULL, "30.12.2005 00:30"},    // 2005-12-29 23:30 UTC
        {"en-US", -300, 127802952000000000ULL, "12/28/2005 21:00"},  // 2005-12-29 02:00 UTC
        {"en-US", 0, 127802952000000000ULL, "12/29/2005 02:00"},
        {"en-US", 330, 127803726000000000ULL, "12/30/2005 05:00"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        UseLocale(r.locale, r.timezone);
        FILETIME utc = FileTime(r.utc), local{}, back{};
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local)) << "row " << i;
        EXPECT_EQ(static_cast<int64_t>(Value(local) - Value(utc)), r.timezone * 600000000LL) << "row " << i;
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back)) << "row " << i;
        EXPECT_EQ(Value(back), r.utc) << "row " << i;
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&local, &st)) << "row " << i;
        WCHAR time[20];
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, u"HH:mm", time, 20);
        EXPECT_EQ(FormatDate(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr) + " " + wince::ToUtf8(time), r.expected)
            << "row " << i;
    }
    // The local clock is the system clock moved by the time zone.
    UseLocale("en-US", 90);
    SYSTEMTIME system, local;
    GetSystemTime(&system);
    GetLocalTime(&local);
    FILETIME a, b;
    ASSERT_TRUE(SystemTimeToFileTime(&system, &a));
    ASSERT_TRUE(SystemTimeToFileTime(&local, &b));
    int64_t apart = static_cast<int64_t>(Value(b) - Value(a));
    EXPECT_NEAR(static_cast<double>(apart), 90 * 600000000.0, 10000000.0);
}

}  // namespace
