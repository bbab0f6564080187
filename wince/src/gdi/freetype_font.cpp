// Real fonts: "Tahoma" and "System" from their metric-compatible files when
// installed, otherwise fontconfig picks the file for a face name (falling
// back to the most similar face it knows); FreeType renders the glyphs.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "compatible_fonts.h"
#include "core/unicode.h"
#include "font.h"
#include "glyph_cache.h"

namespace wince::gdi {

namespace {

// FreeType's library object is not thread-safe: every call into it, from
// any face, holds this lock.
std::mutex &FreeTypeLock() {
    static std::mutex *lock = new std::mutex;
    return *lock;
}

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

struct Match {
    std::string file;
    int index = 0;
    std::u16string family;
    bool embolden = false;  // the file has no bold of its own
    bool slant = false;     // nor an italic
};

bool FontconfigReady() {
    static bool ready = [] {
        if (!FcInit()) return false;
        atexit(FcFini);  // hands back fontconfig's caches, so leak checkers stay quiet
        return true;
    }();
    return ready;
}

bool FindFont(const LOGFONTW &lf, Match &out) {
    size_t length = 0;
    while (length < LF_FACESIZE && lf.lfFaceName[length]) ++length;  // a full name has no NUL
    std::u16string face = length ? std::u16string(lf.lfFaceName, length) : u"Tahoma";
    if (CompatibleFont compatible; FindCompatibleFont(face, lf.lfWeight >= FW_BOLD, compatible)) {
        out.file = compatible.file;
        out.index = 0;
        out.family = face;
        out.embolden = compatible.embolden;
        out.slant = lf.lfItalic != 0;  // neither face has an italic file
        return true;
    }
    if (!FontconfigReady()) return false;
    std::string family = ToUtf8(face);
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    bool bold = lf.lfWeight >= FW_BOLD;
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, lf.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8 *file = nullptr, *name = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        out.file = reinterpret_cast<const char *>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out.index) != FcResultMatch) out.index = 0;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            out.family = FromUtf8(reinterpret_cast<const char *>(name));
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
        out.slant = lf.lfItalic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return ok;
}

class FreeTypeFace : public FontFace {
   public:
    ~FreeTypeFace() override {
        std::lock_guard<std::mutex> guard(FreeTypeLock());
        if (face_) FT_Done_Face(face_);
    }

    bool Open(const LOGFONTW &lf, int defaultHeight) {
        Match m;
        if (!Library() || !FindFont(lf, m)) return false;
        std::lock_guard<std::mutex> guard(FreeTypeLock());
        if (FT_New_Face(Library(), m.file.c_str(), m.index, &face_) != 0) {
            face_ = nullptr;
            return false;
        }
        embolden_ = m.embolden;
        antialias_ = lf.lfQuality != NONANTIALIASED_QUALITY;
        double units = face_->units_per_EM ? face_->units_per_EM : 2048;
        double ascender = face_->ascender, descender = -face_->descender, gap = 0;
        if (auto *os2 = static_cast<TT_OS2 *>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2)); os2 && os2->usWinAscent) {
            ascender = os2->usWinAscent;
            descender = os2->usWinDescent;
        }
        if (auto *hhea = static_cast<TT_HoriHeader *>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA)))
            gap = std::max<double>(0, hhea->Line_Gap - ((ascender + descender) - (hhea->Ascender - hhea->Descender)));
        // Negative heights give the em, positive ones the whole cell.
        double em = lf.lfHeight < 0   ? -double(lf.lfHeight)
                    : lf.lfHeight > 0 ? lf.lfHeight * units / (ascender + descender)
                                      : defaultHeight;
        if (em < 1) em = 1;
        if (em > 1000) em = 1000;
        FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
        if (m.slant) {
            FT_Matrix shear{0x10000, 0x3800, 0, 0x10000};  // about 12 degrees
            FT_Set_Transform(face_, &shear, nullptr);
        }
        double scale = em / units;
        TEXTMETRICW &t = metrics_;
        t.tmAscent = static_cast<LONG>(std::ceil(ascender * scale - 0.01));
        t.tmDescent = static_cast<LONG>(std::ceil(descender * scale - 0.01));
        t.tmHeight = t.tmAscent + t.tmDescent;
        t.tmInternalLeading = std::max<LONG>(0, t.tmHeight - static_cast<LONG>(std::lround(em)));
        t.tmExternalLeading = static_cast<LONG>(std::lround(gap * scale));
        t.tmMaxCharWidth = static_cast<LONG>(std::lround(face_->max_advance_width * scale));
        t.tmWeight = lf.lfWeight >= FW_BOLD ? FW_BOLD : (lf.lfWeight ? lf.lfWeight : FW_NORMAL);
        t.tmDigitizedAspectX = t.tmDigitizedAspectY = 96;
        t.tmFirstChar = 0x20;
        t.tmLastChar = 0xFFFC;
        t.tmDefaultChar = u'?';
        t.tmBreakChar = u' ';
        t.tmItalic = lf.lfItalic;
        t.tmUnderlined = lf.lfUnderline;
        t.tmStruckOut = lf.lfStrikeOut;
        t.tmPitchAndFamily = 0x01 | 0x04 | FF_SWISS;  // variable pitch, TrueType
        t.tmCharSet = lf.lfCharSet;
        underline_ = lf.lfUnderline != 0;
        strikeOut_ = lf.lfStrikeOut != 0;
        faceName_ = m.family.empty() ? u"Tahoma" : m.family;
        return true;
    }

    void FinishMetrics() {
        // The average width as the device reports it: that of 'x' is close.
        int x = GlyphOf(U'x').advance;
        metrics_.tmAveCharWidth = x > 0 ? x : metrics_.tmMaxCharWidth / 2;
    }

    const Glyph &GlyphOf(char32_t ch) override {
        return glyphs_.Get(ch, [this](char32_t c) { return Render(c); });
    }

   private:
    Glyph Render(char32_t ch) {
        Glyph g;
        if (ch < 0x20) return g;  // control characters: no ink, no width
        std::lock_guard<std::mutex> guard(FreeTypeLock());
        FT_Int32 flags = FT_LOAD_DEFAULT | (antialias_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
        if (FT_Load_Char(face_, ch, flags) != 0) return g;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        if (FT_Render_Glyph(slot, antialias_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return g;
        const FT_Bitmap &bm = slot->bitmap;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        g.left = slot->bitmap_left;
        g.top = -slot->bitmap_top;
        g.width = static_cast<int>(bm.width);
        g.height = static_cast<int>(bm.rows);
        g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
        for (int y = 0; y < g.height; ++y) {
            const uint8_t *row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
            uint8_t *out = &g.coverage[static_cast<size_t>(y) * g.width];
            for (int x = 0; x < g.width; ++x) {
                if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                    out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
                else
                    out[x] = row[x];
            }
        }
        return g;
    }

    FT_Face face_ = nullptr;
    bool embolden_ = false, antialias_ = true;
    GlyphCache glyphs_;
};

}  // namespace

std::shared_ptr<FontFace> MakeFreeTypeFace(const LOGFONTW &log, int defaultHeight) {
    auto face = std::make_shared<FreeTypeFace>();
    if (!face->Open(log, defaultHeight)) return nullptr;
    face->FinishMetrics();
    return face;
}

}  // namespace wince::gdi
