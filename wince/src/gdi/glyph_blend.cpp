#include "glyph_blend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wince::gdi {

void PrepareGlyph(Glyph &g) {
    g.inked.assign(static_cast<size_t>(std::max(g.height, 0)), {0, 0});
    g.coverage3.resize(g.coverage.size() * 3);
    for (int y = 0; y < g.height; ++y) {
        const uint8_t *row = &g.coverage[static_cast<size_t>(y) * g.width];
        int first = 0, last = g.width;
        while (first < last && row[first] == 0) ++first;
        while (last > first && row[last - 1] == 0) --last;
        g.inked[y] = {static_cast<uint16_t>(first), static_cast<uint16_t>(last)};
        uint8_t *out = &g.coverage3[static_cast<size_t>(y) * g.width * 3];
        for (int x = 0; x < g.width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = row[x];
    }
}

InkRow::InkRow(COLORREF color) {
    for (int i = 0; i < kPixels; ++i) {
        bytes[3 * i] = GetBValue(color);
        bytes[3 * i + 1] = GetGValue(color);
        bytes[3 * i + 2] = GetRValue(color);
    }
}

namespace {

// Every intermediate of Mix fits in 16 bits.
inline void BlendScalar(uint8_t *dst, const uint8_t *cov, const uint8_t *ink, int n) {
    for (int j = 0; j < n; ++j) dst[j] = Mix(ink[j], dst[j], cov[j]);
}

#if defined(__SSE2__)
// Mix on eight bytes widened to 16-bit lanes.
inline __m128i Mix8(__m128i ink, __m128i under, __m128i a) {
    const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(128);
    __m128i t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(ink, a), _mm_mullo_epi16(under, _mm_sub_epi16(full, a))), half);
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

inline __m128i Blend16(const uint8_t *dst, const uint8_t *cov, const uint8_t *ink) {
    const __m128i zero = _mm_setzero_si128();
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(dst));
    __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(cov));
    __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i *>(ink));
    __m128i lo = Mix8(_mm_unpacklo_epi8(k, zero), _mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(c, zero));
    __m128i hi = Mix8(_mm_unpackhi_epi8(k, zero), _mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(c, zero));
    return _mm_packus_epi16(lo, hi);
}

inline __m128i Load8(const uint8_t *p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)); }

inline __m128i Blend8(const uint8_t *dst, const uint8_t *cov, const uint8_t *ink) {
    const __m128i zero = _mm_setzero_si128();
    __m128i r = Mix8(_mm_unpacklo_epi8(Load8(ink), zero), _mm_unpacklo_epi8(Load8(dst), zero),
                     _mm_unpacklo_epi8(Load8(cov), zero));
    return _mm_packus_epi16(r, r);
}

inline __m128i Load4(const uint8_t *p) {
    int32_t v;
    memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

inline int32_t Blend4(const uint8_t *dst, const uint8_t *cov, const uint8_t *ink) {
    const __m128i zero = _mm_setzero_si128();
    __m128i r = Mix8(_mm_unpacklo_epi8(Load4(ink), zero), _mm_unpacklo_epi8(Load4(dst), zero),
                     _mm_unpacklo_epi8(Load4(cov), zero));
    return _mm_cvtsi128_si32(_mm_packus_epi16(r, r));
}
#endif

// Glyph rows are short, so a run is covered by whole vectors, the last one
// ending at the run's end and overlapping the one before: it is worked out
// from the bytes as they were, so the overlap gets the same values twice.
[[gnu::always_inline]] inline void BlendRun(uint8_t *dst, const uint8_t *cov, const uint8_t *ink, int n) {
#if defined(__SSE2__)
    if (n >= 16) {
        const int last = n - 16;
        const __m128i tail = Blend16(dst + last, cov + last, ink + last);
        for (int j = 0; j < last; j += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + j), Blend16(dst + j, cov + j, ink + j));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + last), tail);
        return;
    }
    if (n >= 8) {
        const __m128i tail = Blend8(dst + n - 8, cov + n - 8, ink + n - 8);
        _mm_storel_epi64(reinterpret_cast<__m128i *>(dst), Blend8(dst, cov, ink));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(dst + n - 8), tail);
        return;
    }
    if (n >= 4) {  // two pixels, the most common run at small sizes
        const int32_t tail = Blend4(dst + n - 4, cov + n - 4, ink + n - 4), head = Blend4(dst, cov, ink);
        memcpy(dst, &head, 4);
        memcpy(dst + n - 4, &tail, 4);
        return;
    }
#endif
    BlendScalar(dst, cov, ink, n);
}

}  // namespace

void BlendBytes(uint8_t *dst, const uint8_t *cov, const uint8_t *ink, int n) { BlendRun(dst, cov, ink, n); }

void BlendGlyph(const Canvas &c, const Glyph &g, int gx, int gy, const RECT &area, COLORREF color) {
    uint8_t cr = GetRValue(color), cg = GetGValue(color), cb = GetBValue(color);
    uint32_t native = NativeOf(c, color);
    int bytes = c.bpp / 8;
    for (int y = area.top; y < area.bottom; ++y) {
        const uint8_t *cov = &g.coverage[static_cast<size_t>(y - gy) * g.width + (area.left - gx)];
        if (c.Paletted()) {
            // No blending on palette bitmaps: half covered or more is ink.
            for (int x = area.left; x < area.right; ++x)
                if (cov[x - area.left] >= 128) WritePixel(c, x, y, native);
            continue;
        }
        uint8_t *p = c.Row(y) + area.left * bytes;
        const int width = area.right - area.left;
        for (int x = 0; x < width; ++x, p += bytes) {
            unsigned a = cov[x];
            if (a == 0) continue;
            if (a == 255) {
                p[0] = cb, p[1] = cg, p[2] = cr;
                continue;
            }
            p[0] = Mix(cb, p[0], a);
            p[1] = Mix(cg, p[1], a);
            p[2] = Mix(cr, p[2], a);
        }
    }
}

void BlendGlyph24(const Canvas &c, const Glyph &g, int gx, int gy, const RECT &area, const InkRow &ink) {
    const int left = area.left - gx, right = area.right - gx;
    const size_t coverageRow = static_cast<size_t>(g.width) * 3;
    uint8_t *row = c.Row(area.top) + gx * 3;
    const uint8_t *coverage = &g.coverage3[static_cast<size_t>(area.top - gy) * coverageRow];
    const std::pair<uint16_t, uint16_t> *inked = &g.inked[area.top - gy];
    for (int y = area.top; y < area.bottom; ++y, row += c.stride, coverage += coverageRow, ++inked) {
        int from = std::max<int>(left, inked->first), to = std::min<int>(right, inked->second);
        for (int n = to - from; n > 0;) {
            int k = std::min(n, InkRow::kPixels);
            BlendRun(row + from * 3, coverage + from * 3, ink.bytes, k * 3);
            from += k, n -= k;
        }
    }
}

}  // namespace wince::gdi
