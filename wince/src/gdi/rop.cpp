#include "rop.h"

namespace wince::gdi {

void ApplyRop(uint8_t rop3, const uint32_t *p, const uint32_t *s, uint32_t *d, int n) {
    switch (rop3) {
        case 0xCC: for (int i = 0; i < n; ++i) d[i] = s[i]; return;           // SRCCOPY
        case 0xEE: for (int i = 0; i < n; ++i) d[i] |= s[i]; return;          // SRCPAINT
        case 0x88: for (int i = 0; i < n; ++i) d[i] &= s[i]; return;          // SRCAND
        case 0x66: for (int i = 0; i < n; ++i) d[i] ^= s[i]; return;          // SRCINVERT
        case 0x44: for (int i = 0; i < n; ++i) d[i] = s[i] & ~d[i]; return;   // SRCERASE
        case 0x33: for (int i = 0; i < n; ++i) d[i] = ~s[i]; return;          // NOTSRCCOPY
        case 0xC0: for (int i = 0; i < n; ++i) d[i] = p[i] & s[i]; return;    // MERGECOPY
        case 0xF0: for (int i = 0; i < n; ++i) d[i] = p[i]; return;           // PATCOPY
        case 0x5A: for (int i = 0; i < n; ++i) d[i] ^= p[i]; return;          // PATINVERT
        case 0x55: for (int i = 0; i < n; ++i) d[i] = ~d[i]; return;          // DSTINVERT
        case 0xAA: return;                                                    // the destination as it is
        case 0x00: for (int i = 0; i < n; ++i) d[i] = 0; return;
        case 0xFF: for (int i = 0; i < n; ++i) d[i] = ~0u; return;
    }
    // Any other code: its bits are the truth table over (P, S, D).
    for (int i = 0; i < n; ++i) {
        uint32_t pv = p ? p[i] : 0, sv = s ? s[i] : 0, dv = d[i], r = 0;
        for (int k = 0; k < 8; ++k) {
            if (!(rop3 & (1 << k))) continue;
            r |= ((k & 4) ? pv : ~pv) & ((k & 2) ? sv : ~sv) & ((k & 1) ? dv : ~dv);
        }
        d[i] = r;
    }
}

SourceConverter::SourceConverter(const Canvas &src, const Canvas &dst, COLORREF srcBk, COLORREF text, COLORREF bk)
    : src_(src), dst_(dst), srcBk_(srcBk & 0xFFFFFF) {
    if (dst.bpp == 1 && src.bpp == 1) {
        mode_ = Mode::Same;
    } else if (IsMonochrome(src)) {
        mode_ = Mode::MonoToDest;
        zero_ = NativeOf(dst, text);
        one_ = NativeOf(dst, bk);
    } else if (dst.bpp == 1) {
        mode_ = Mode::ToMono;
    } else if (!src.Paletted() && !dst.Paletted()) {
        mode_ = Mode::Same;
    } else {
        mode_ = Mode::General;
    }
}

void SourceConverter::Convert(const uint32_t *in, uint32_t *out, int n) const {
    switch (mode_) {
        case Mode::Same:
            for (int i = 0; i < n; ++i) out[i] = in[i];
            return;
        case Mode::MonoToDest:
            for (int i = 0; i < n; ++i) out[i] = (in[i] & 1) ? one_ : zero_;
            return;
        case Mode::ToMono:
            // Pixels of the source's background colour become white (1),
            // all others black.
            for (int i = 0; i < n; ++i) out[i] = ColorOf(src_, in[i]) == srcBk_ ? 1 : 0;
            return;
        case Mode::General: {
            uint32_t lastIn = 0, lastOut = NativeOf(dst_, ColorOf(src_, 0));
            for (int i = 0; i < n; ++i) {
                if (in[i] != lastIn) lastIn = in[i], lastOut = NativeOf(dst_, ColorOf(src_, in[i]));
                out[i] = lastOut;
            }
            return;
        }
    }
}

}  // namespace wince::gdi
