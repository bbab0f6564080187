// Logical fonts (HFONT) and realized fonts: metrics and glyph images in
// pixels, from FreeType or from the fixed-metric test font.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "objects.h"

namespace wince::gdi {

class FontFace;

struct Font : GdiObject {
    static constexpr Kind kKind = Kind::Font;
    Font() : GdiObject(kKind) {}
    LOGFONTW log{};
    bool system = false;  // SYSTEM_FONT: its size follows the device's dpi
    // The face last realized for this font, and the device generation it
    // belongs to: text is measured and drawn many times a paint.
    mutable std::shared_ptr<FontFace> realized;
    mutable unsigned realizedGeneration = 0;

    LOGFONTW Logical() const;
};

// A glyph image: coverage 0..255 per pixel, placed with its top-left
// corner at (origin.x + left, baseline + top).
struct Glyph {
    int left = 0, top = 0, width = 0, height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
    // Made once, when the face caches the glyph (PrepareGlyph), so that
    // drawing only blends: each row's inked columns [first, last), and the
    // coverage repeated for the three bytes of a 24-bit pixel.
    std::vector<std::pair<uint16_t, uint16_t>> inked;
    std::vector<uint8_t> coverage3;
};

// Fills in what Glyph keeps for drawing, from its coverage.
void PrepareGlyph(Glyph &g);

class FontFace {
   public:
    FontFace() {
        for (auto &a : asciiAdvances_) a.store(-1, std::memory_order_relaxed);
    }
    virtual ~FontFace() = default;
    const TEXTMETRICW &Metrics() const { return metrics_; }
    const std::u16string &FaceName() const { return faceName_; }
    bool Underline() const { return underline_; }
    bool StrikeOut() const { return strikeOut_; }

    // Advances of each UTF-16 unit; the second unit of a surrogate pair
    // gets 0 and the first the whole character's advance.
    void Advances(const char16_t *text, int count, int *out);
    // The glyph of one character; valid as long as the face.
    virtual const Glyph &GlyphOf(char32_t ch) = 0;
    // The width of the text and how many of its first characters fit within
    // maxExtent, in one pass, when it is all ASCII whose advances are known
    // already (texts are measured over and over); false otherwise.
    bool MeasureKnownAscii(const char16_t *text, int count, int maxExtent, int *extent, int *fit) const {
        int sum = 0, fits = -1;
        for (int i = 0; i < count; ++i) {
            const char16_t ch = text[i];
            if (ch >= asciiAdvances_.size()) return false;
            const int advance = asciiAdvances_[ch].load(std::memory_order_relaxed);
            if (advance < 0) return false;
            sum += advance;
            if (fits < 0 && sum > maxExtent) fits = i;
        }
        *extent = sum;
        *fit = fits < 0 ? count : fits;
        return true;
    }

   protected:
    TEXTMETRICW metrics_{};
    std::u16string faceName_;
    bool underline_ = false, strikeOut_ = false;

   private:
    // ASCII advances once known (-1 before): texts are measured far more
    // often than drawn, and a glyph's advance never changes.
    std::array<std::atomic<int>, 128> asciiAdvances_;
};

// The face for a logical font on the current device, from a cache.
std::shared_ptr<FontFace> RealizeFont(const Font &font);
std::shared_ptr<FontFace> MakeFixedFace(const LOGFONTW &log, int pixelHeight);
// Null when fontconfig finds no font at all.
std::shared_ptr<FontFace> MakeFreeTypeFace(const LOGFONTW &log, int defaultHeight);

int FontObjectInfo(const Font &font, int size, void *buffer);

}  // namespace wince::gdi
