#include "system_icons.h"

#include <cmath>

namespace wince {
namespace {

// 5x7 glyphs for the marks on the icons, one row a byte (bit 4 = left).
const uint8_t kQuestion[7] = {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04};
const uint8_t kExclamation[7] = {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04};
const uint8_t kInformation[7] = {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E};
const uint8_t kCross[7] = {0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x00};

class Canvas {
   public:
    Canvas(Picture &p, int size) : p_(p), size_(size) {
        p.width = p.height = size;
        p.pixels.assign(static_cast<size_t>(size) * size, 0);
        p.transparent.assign(p.pixels.size(), 1);
    }
    void Put(int x, int y, COLORREF c) {
        if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
        p_.pixels[static_cast<size_t>(y) * size_ + x] = c;
        p_.transparent[static_cast<size_t>(y) * size_ + x] = 0;
    }
    // Fills where inside(fx, fy) holds, in coordinates from 0 to 1.
    template <typename Inside>
    void Fill(COLORREF c, Inside inside) {
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x)
                if (inside((x + 0.5) / size_, (y + 0.5) / size_)) Put(x, y, c);
    }
    // The glyph over the middle of the icon, half its height.
    void Glyph(const uint8_t *rows, COLORREF c, double top = 0.25) {
        Fill(c, [&](double fx, double fy) {
            int gx = static_cast<int>(std::floor((fx - 0.5) / 0.5 * 7 + 2.5));
            int gy = static_cast<int>(std::floor((fy - top) / 0.5 * 7));
            return gx >= 0 && gx < 5 && gy >= 0 && gy < 7 && ((rows[gy] >> (4 - gx)) & 1);
        });
    }

   private:
    Picture &p_;
    int size_;
};

bool InCircle(double fx, double fy, double r) { return (fx - 0.5) * (fx - 0.5) + (fy - 0.5) * (fy - 0.5) <= r * r; }

}  // namespace

bool DrawSystemIcon(WORD id, int size, Picture &out) {
    if (size <= 0) return false;
    Picture p;
    Canvas c(p, size);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    switch (id) {
        case 32512:  // IDI_APPLICATION: a window with its caption
            c.Fill(black, [](double x, double y) { return x > 0.06 && x < 0.94 && y > 0.12 && y < 0.88; });
            c.Fill(white, [](double x, double y) { return x > 0.1 && x < 0.9 && y > 0.16 && y < 0.84; });
            c.Fill(RGB(0, 0, 128), [](double x, double y) { return x > 0.1 && x < 0.9 && y > 0.16 && y < 0.3; });
            break;
        case 32513:  // IDI_HAND: a red disc with a cross
            c.Fill(black, [](double x, double y) { return InCircle(x, y, 0.47); });
            c.Fill(RGB(220, 0, 0), [](double x, double y) { return InCircle(x, y, 0.42); });
            c.Glyph(kCross, white);
            break;
        case 32514:  // IDI_QUESTION
            c.Fill(black, [](double x, double y) { return InCircle(x, y, 0.47); });
            c.Fill(RGB(0, 64, 200), [](double x, double y) { return InCircle(x, y, 0.42); });
            c.Glyph(kQuestion, white);
            break;
        case 32515:  // IDI_EXCLAMATION: a yellow triangle
            c.Fill(black, [](double x, double y) { return y > 0.05 && y < 0.95 && std::fabs(x - 0.5) < (y - 0.02) * 0.52; });
            c.Fill(RGB(255, 220, 0), [](double x, double y) { return y > 0.12 && y < 0.9 && std::fabs(x - 0.5) < (y - 0.1) * 0.5; });
            c.Glyph(kExclamation, black, 0.32);
            break;
        case 32516:  // IDI_ASTERISK: information
            c.Fill(black, [](double x, double y) { return InCircle(x, y, 0.47); });
            c.Fill(RGB(0, 64, 200), [](double x, double y) { return InCircle(x, y, 0.42); });
            c.Glyph(kInformation, white);
            break;
        default:
            return false;
    }
    out = std::move(p);
    return true;
}

}  // namespace wince
