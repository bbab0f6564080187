// The glyphs a face has rendered. Text is measured and drawn many times a
// paint, a glyph lookup per character each time: the common characters are
// found in a table without taking the lock, the rest in a map.
#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "font.h"

namespace wince::gdi {

class GlyphCache {
   public:
    // The glyph of ch, made by make(ch) the first time; valid as long as the cache.
    template <typename Make>
    const Glyph &Get(char32_t ch, Make make) {
        if (ch < kDirect)
            if (const Glyph *g = direct_[ch].load(std::memory_order_acquire)) return *g;
        std::lock_guard<std::mutex> guard(lock_);
        auto it = glyphs_.find(ch);
        if (it == glyphs_.end()) {
            it = glyphs_.emplace(ch, make(ch)).first;
            PrepareGlyph(it->second);
        }
        // Map nodes never move, so the table may point into it.
        if (ch < kDirect) direct_[ch].store(&it->second, std::memory_order_release);
        return it->second;
    }

   private:
    static constexpr char32_t kDirect = 0x180;  // Latin-1 and Latin Extended-A
    std::array<std::atomic<const Glyph *>, kDirect> direct_{};
    std::mutex lock_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace wince::gdi
