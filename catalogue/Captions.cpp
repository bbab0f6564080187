#include "catalogue/Captions.h"

namespace {

// Bytes, then powers of 1024. The sixth unit covers sizes from 1000 x 2^40
// to just below 2^50, which the first five cannot show in five characters.
const WCHAR *const *SizeUnits() {
    static const WCHAR *const units[] = {TEXT("B"), TEXT("K"), TEXT("M"), TEXT("G"), TEXT("T"), TEXT("P")};
    return units;
}

constexpr uint64_t kHuge = uint64_t(1) << 50;
constexpr int kUnitCount = 6;

}  // namespace

WideString FormatSizeText(uint64_t size) {
    if (size >= kHuge) return TEXT("HUGE");
    int k = 0;
    uint64_t d = 1;
    if (size >= 1000) {
        for (k = 1, d = 1024; k < kUnitCount - 1 && size / d >= 1000; ++k) d *= 1024;
    }
    uint64_t q = size / d;
    uint64_t f = (size % d) * 100 / d;
    WCHAR text[16];
    const WCHAR *unit = SizeUnits()[k];
    if (q < 10)
        wsprintfW(text, TEXT("%d.%02d%s"), static_cast<int>(q), static_cast<int>(f), unit);
    else if (q < 100)
        wsprintfW(text, TEXT("%d.%d%s"), static_cast<int>(q), static_cast<int>(f / 10), unit);
    else
        wsprintfW(text, TEXT("%d%s"), static_cast<int>(q), unit);
    return text;
}

WideString FormatDateCaption(const FILETIME &lastWrite) {
    FILETIME local;
    SYSTEMTIME st;
    WCHAR text[100];
    if (!FileTimeToLocalFileTime(&lastWrite, &local) || !FileTimeToSystemTime(&local, &st)) return WideString();
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 100) == 0) return WideString();
    return text;
}
