// The device's date and time. On the virtual clock the wall clock starts at
// the profile's [clock] start (default: the host's time at start-up) and
// moves with the tick count, so runs are repeatable; [clock] timezone gives
// the device's offset from UTC in minutes.
#include <windows.h>

#include <cstdio>
#include <ctime>

#include "clock.h"
#include "device/device.h"

namespace {

constexpr int64_t kTicksPerMillisecond = 10000;
constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;  // 1970-01-01 in 100 ns since 1601

int64_t ToInt(const FILETIME &ft) { return static_cast<int64_t>((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime); }

FILETIME FromInt(int64_t v) {
    return FILETIME{static_cast<DWORD>(static_cast<uint64_t>(v) & 0xFFFFFFFF), static_cast<DWORD>(static_cast<uint64_t>(v) >> 32)};
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// The wall clock at tick 0 of the virtual clock, as a FILETIME value.
int64_t StartOfClock() {
    static unsigned generation = 0;
    static int64_t start = 0;
    if (generation != wince::Device::Generation()) {
        generation = wince::Device::Generation();
        std::string text = wince::Device::Current().Profile().Get("clock.start");
        int y, mo, d, h = 0, mi = 0, s = 0;
        int64_t unixMs;
        if (sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
            unixMs = (DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s) * 1000;
            unixMs -= wince::Device::Current().Profile().GetInt("clock.timezone", 0) * 60000LL;  // given in local time
        } else {
            timespec now;
            clock_gettime(CLOCK_REALTIME, &now);
            unixMs = int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
        }
        start = kUnixEpochAsFileTime + unixMs * kTicksPerMillisecond -
                static_cast<int64_t>(wince::Clock::IsVirtual() ? 60000 : 0) * kTicksPerMillisecond;
    }
    return start;
}

int64_t NowAsFileTime() {
    if (!wince::Clock::IsVirtual()) {
        timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        return kUnixEpochAsFileTime + int64_t(now.tv_sec) * 10000000 + now.tv_nsec / 100;
    }
    return StartOfClock() + static_cast<int64_t>(wince::Clock::Now()) * kTicksPerMillisecond;
}

int64_t TimeZoneOffset() {
    return int64_t(wince::Device::Current().Profile().GetInt("clock.timezone", 0)) * 60 * 10000000;
}

}  // namespace

BOOL WINAPI FileTimeToSystemTime(const FILETIME *lpFileTime, LPSYSTEMTIME st) {
    if (!lpFileTime || !st || (lpFileTime->dwHighDateTime & 0x80000000)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t v = ToInt(*lpFileTime);
    int64_t ms = v / kTicksPerMillisecond;
    int64_t days = ms / 86400000;
    int64_t inDay = ms % 86400000;
    // Civil date from days since 1601-01-01 (a Monday).
    int64_t z = days + DaysFromCivil(1601, 1, 1) + 719468;
    int64_t era = z / 146097;
    unsigned doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    unsigned d = doy - (153 * mp + 2) / 5 + 1;
    unsigned m = mp < 10 ? mp + 3 : mp - 9;
    st->wYear = static_cast<WORD>(yoe + era * 400 + (m <= 2));
    st->wMonth = static_cast<WORD>(m);
    st->wDay = static_cast<WORD>(d);
    st->wDayOfWeek = static_cast<WORD>((days + 1) % 7);
    st->wHour = static_cast<WORD>(inDay / 3600000);
    st->wMinute = static_cast<WORD>(inDay / 60000 % 60);
    st->wSecond = static_cast<WORD>(inDay / 1000 % 60);
    st->wMilliseconds = static_cast<WORD>(inDay % 1000);
    return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME *st, LPFILETIME lpFileTime) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!st || !lpFileTime || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 || st->wMonth > 12 ||
        st->wHour > 23 || st->wMinute > 59 || st->wSecond > 59 || st->wMilliseconds > 999 || st->wDay < 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool leap = (st->wYear % 4 == 0 && st->wYear % 100 != 0) || st->wYear % 400 == 0;
    int monthDays = kDays[st->wMonth - 1] + (st->wMonth == 2 && leap ? 1 : 0);
    if (st->wDay > monthDays) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) - DaysFromCivil(1601, 1, 1);
    int64_t ms = days * 86400000 + st->wHour * 3600000LL + st->wMinute * 60000LL + st->wSecond * 1000LL +
                 st->wMilliseconds;
    *lpFileTime = FromInt(ms * kTicksPerMillisecond);
    return TRUE;
}

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME *lpFileTime, LPFILETIME lpLocalFileTime) {
    if (!lpFileTime || !lpLocalFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpLocalFileTime = FromInt(ToInt(*lpFileTime) + TimeZoneOffset());
    return TRUE;
}

BOOL WINAPI LocalFileTimeToFileTime(const FILETIME *lpLocalFileTime, LPFILETIME lpFileTime) {
    if (!lpFileTime || !lpLocalFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpFileTime = FromInt(ToInt(*lpLocalFileTime) - TimeZoneOffset());
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME *a, const FILETIME *b) {
    if (!a || !b) return 0;
    int64_t x = ToInt(*a), y = ToInt(*b);
    return x < y ? -1 : x > y ? 1 : 0;
}

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    if (!lpSystemTime) return;
    FILETIME ft = FromInt(NowAsFileTime());
    FileTimeToSystemTime(&ft, lpSystemTime);
}

void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
    if (!lpSystemTime) return;
    FILETIME ft = FromInt(NowAsFileTime() + TimeZoneOffset());
    FileTimeToSystemTime(&ft, lpSystemTime);
}
