#include "collation.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "unicode.h"

namespace wince {
namespace {

// Lower-case Latin-1 letters with their base letter, so that "é" sorts with
// "e" and differs from it only in the second pass.
char16_t BaseLetter(char16_t lc) {
    static const char *const table = "aaaaaaaceeeeiiiidnooooo/ouuuuypy";  // E0-FF
    if (lc == 0xDF) return 's';
    if (lc < 0xE0 || lc > 0xFF) return lc;
    char b = table[lc - 0xE0];
    return (b == '/' || b == 'p') ? lc : static_cast<char16_t>(b);
}

bool IsSymbol(char16_t c) {
    if (c < 0x80) return !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
    return c < 0xC0 || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F);
}

struct Weight {
    uint32_t primary;
    uint32_t secondary;  // accents
    uint32_t tertiary;   // case
};

Weight ComputeWeight(char16_t c) {
    if (c >= '0' && c <= '9') return {0x10000u + (c - '0'), 0, 0};
    if (IsSymbol(c)) return {c, 0, 0};
    char16_t lc = FoldLower(c);
    char16_t base = BaseLetter(lc);
    return {0x20000u + base, base == lc ? 0u : lc, lc == c ? 0u : 1u};
}

// Names are mostly ASCII, and sorting a large folder compares them often.
Weight WeightOf(char16_t c) {
    static const auto ascii = [] {
        std::array<Weight, 128> table;
        for (char16_t i = 0; i < 128; ++i) table[i] = ComputeWeight(i);
        return table;
    }();
    return c < 128 ? ascii[c] : ComputeWeight(c);
}

int Compare3(uint32_t a, uint32_t b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace

int Collate(const char16_t *a, int countA, const char16_t *b, int countB, bool ignoreCase) {
    // A NUL-terminated string (count -1) is walked once, without measuring it first.
    const size_t limitA = countA < 0 ? SIZE_MAX : static_cast<size_t>(countA);
    const size_t limitB = countB < 0 ? SIZE_MAX : static_cast<size_t>(countB);
    int secondary = 0, tertiary = 0;
    size_t i = 0;
    // Sorted names share long prefixes ("Report 1041", "Report 1042"):
    // equal units weigh the same at every level, so they are passed over
    // with the least work first.
    if (countA < 0 && countB < 0)
        while (a[i] == b[i] && a[i] != 0) ++i;
    for (;; ++i) {
        const bool endA = i >= limitA || (countA < 0 && a[i] == 0);
        const bool endB = i >= limitB || (countB < 0 && b[i] == 0);
        if (endA || endB) {
            if (endA != endB) return endA ? -1 : 1;  // the shorter sorts first
            break;
        }
        if (a[i] == b[i]) continue;  // equal units weigh the same at every level
        Weight wa = WeightOf(a[i]), wb = WeightOf(b[i]);
        if (int r = Compare3(wa.primary, wb.primary)) return r;
        if (!secondary) secondary = Compare3(wa.secondary, wb.secondary);
        if (!tertiary) tertiary = Compare3(wa.tertiary, wb.tertiary);
    }
    if (secondary) return secondary;
    return ignoreCase ? 0 : tertiary;
}

}  // namespace wince
