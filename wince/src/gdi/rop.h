// Ternary raster operations on rows of native values, and the conversion
// of source pixels into the destination's values (monochrome <-> colour
// through the text and background colours).
#pragma once

#include <cstdint>

#include "canvas.h"

namespace wince::gdi {

inline uint8_t Rop3(DWORD rop) { return static_cast<uint8_t>(rop >> 16); }
inline bool RopUsesSource(uint8_t r) { return (((r >> 2) ^ r) & 0x33) != 0; }
inline bool RopUsesPattern(uint8_t r) { return (((r >> 4) ^ r) & 0x0F) != 0; }
inline bool RopUsesDest(uint8_t r) { return (((r >> 1) ^ r) & 0x55) != 0; }

// dest[i] = rop(pattern[i], source[i], dest[i]); pattern or source may be
// null when the operation does not use them.
void ApplyRop(uint8_t rop3, const uint32_t *pattern, const uint32_t *source, uint32_t *dest, int n);

class SourceConverter {
   public:
    // srcBk: the source DC's background colour (colour -> monochrome);
    // text, bk: the destination DC's colours (monochrome -> colour).
    SourceConverter(const Canvas &src, const Canvas &dst, COLORREF srcBk, COLORREF text, COLORREF bk);
    void Convert(const uint32_t *in, uint32_t *out, int n) const;
    bool Identity() const { return mode_ == Mode::Same; }

   private:
    enum class Mode { Same, MonoToDest, ToMono, General };
    Mode mode_ = Mode::Same;
    const Canvas &src_, &dst_;
    uint32_t zero_ = 0, one_ = 0;
    COLORREF srcBk_ = 0;
};

}  // namespace wince::gdi
