// HFONT objects and the cache of realized faces.
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "device/device.h"
#include "font.h"

namespace wince::gdi {

namespace {

struct FaceCache {
    std::mutex lock;
    std::map<std::string, std::shared_ptr<FontFace>> faces;
    unsigned generation = 0;
};

FaceCache &TheCache() {
    static FaceCache *cache = new FaceCache;
    return *cache;
}

// The fields that decide how a font looks, as a cache key.
std::string KeyOf(const LOGFONTW &lf, const std::string &mode) {
    std::string key = mode;
    auto add = [&](long v) { key += ':' + std::to_string(v); };
    add(lf.lfHeight), add(lf.lfWeight), add(lf.lfItalic), add(lf.lfUnderline), add(lf.lfStrikeOut), add(lf.lfQuality);
    key += ':';
    for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i) key += std::to_string(lf.lfFaceName[i]) + ',';
    return key;
}

}  // namespace

LOGFONTW Font::Logical() const {
    if (!system) return log;
    LOGFONTW lf{};
    lf.lfHeight = -SystemFontHeight();
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const char16_t name[] = u"Tahoma";
    memcpy(lf.lfFaceName, name, sizeof name);
    return lf;
}

void FontFace::Advances(const char16_t *text, int count, int *out) {
    for (int i = 0; i < count; ++i) {
        char32_t ch = text[i];
        if (ch < asciiAdvances_.size()) {
            int known = asciiAdvances_[ch].load(std::memory_order_relaxed);
            if (known < 0) asciiAdvances_[ch].store(known = GlyphOf(ch).advance, std::memory_order_relaxed);
            out[i] = known;
            continue;
        }
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            out[i] = GlyphOf(ch).advance;
            out[++i] = 0;
            continue;
        }
        out[i] = GlyphOf(ch).advance;
    }
}

std::shared_ptr<FontFace> RealizeFont(const Font &font) {
    unsigned generation = Device::Generation();
    FaceCache &cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    if (font.realized && font.realizedGeneration == generation) return font.realized;
    LOGFONTW lf = font.Logical();
    const DeviceProfile &profile = Device::Current().Profile();
    std::string key = KeyOf(lf, profile.fontMode);
    if (cache.generation != generation) {
        cache.faces.clear();  // another device: another dpi, perhaps another font mode
        cache.generation = generation;
    }
    font.realizedGeneration = generation;
    auto it = cache.faces.find(key);
    if (it != cache.faces.end()) return font.realized = it->second;
    int defaultHeight = SystemFontHeight();
    std::shared_ptr<FontFace> face;
    if (profile.fontMode != "fixed") face = MakeFreeTypeFace(lf, defaultHeight);
    if (!face) {
        int n = lf.lfHeight == 0 ? defaultHeight : (lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
        face = MakeFixedFace(lf, n);
    }
    if (cache.faces.size() >= 64) cache.faces.clear();  // fonts of many sizes: start over
    cache.faces.emplace(key, face);
    return font.realized = face;
}

int FontObjectInfo(const Font &font, int size, void *buffer) {
    if (!buffer) return sizeof(LOGFONTW);
    LOGFONTW lf = font.Logical();
    int n = size < static_cast<int>(sizeof(LOGFONTW)) ? size : static_cast<int>(sizeof(LOGFONTW));
    memcpy(buffer, &lf, n);
    return n;
}

}  // namespace wince::gdi

using namespace wince::gdi;

HFONT WINAPI CreateFontIndirectW(const LOGFONTW *lplf) {
    if (!lplf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto f = std::make_shared<Font>();
    f->log = *lplf;
    f->log.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(AddObject(f));
}
