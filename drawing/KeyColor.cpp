#include "drawing/KeyColor.h"

namespace {

bool Matches(const BYTE *pixel, COLORREF key) {
    return pixel[0] == GetBValue(key) && pixel[1] == GetGValue(key) && pixel[2] == GetRValue(key);
}

// The average moved a quarter of the way towards white.
struct ChannelSums {
    unsigned long long blue = 0, green = 0, red = 0, count = 0;

    void Add(const BYTE *pixel) {
        blue += pixel[0];
        green += pixel[1];
        red += pixel[2];
        ++count;
    }
    COLORREF Tint() const {
        if (count == 0) return RGB(blue, green, red);
        auto channel = [this](unsigned long long sum) { return static_cast<BYTE>((3 * sum / count + 255) / 4); };
        return RGB(channel(red), channel(green), channel(blue));
    }
};

// The part of rect whose rows and template reads stay inside both bitmaps;
// columns outside the canvas are skipped as well.
struct Span {
    int top, bottom, left, right;
};

Span Clip(const DibBitmap &canvas, const RECT &rect, const DibBitmap *templ, int templateX, int templateY) {
    Span s{static_cast<int>(rect.top), static_cast<int>(rect.bottom), static_cast<int>(rect.left),
           static_cast<int>(rect.right)};
    if (s.top < 0) s.top = 0;
    if (s.bottom > canvas.height) s.bottom = canvas.height;
    if (s.left < 0) s.left = 0;
    if (s.right > canvas.width) s.right = canvas.width;
    if (templ) {
        // Template row templateY + (y - rect.top), column templateX + (x - rect.left).
        int dy = templateY - rect.top, dx = templateX - rect.left;
        if (s.top + dy < 0) s.top = -dy;
        if (s.bottom + dy > templ->height) s.bottom = templ->height - dy;
        if (s.left + dx < 0) s.left = -dx;
        if (s.right + dx > templ->width) s.right = templ->width - dx;
    }
    return s;
}

}  // namespace

void RecolorByKey(DibBitmap &canvas, const RECT &rect, const DibBitmap &templ, int templateX, int templateY,
                  COLORREF key, COLORREF color) {
    if (!canvas.bits || !templ.bits) return;
    Span s = Clip(canvas, rect, &templ, templateX, templateY);
    for (int y = s.top; y < s.bottom; ++y)
        for (int x = s.left; x < s.right; ++x)
            if (Matches(templ.Pixel(templateX + x - rect.left, templateY + y - rect.top), key))
                canvas.SetPixelColor(x, y, color);
}

bool TintedAverageByKey(const DibBitmap &canvas, const RECT &rect, const DibBitmap &templ, int templateX, int templateY,
                        COLORREF key, COLORREF &tint) {
    ChannelSums sums;
    if (canvas.bits && templ.bits) {
        Span s = Clip(canvas, rect, &templ, templateX, templateY);
        for (int y = s.top; y < s.bottom; ++y)
            for (int x = s.left; x < s.right; ++x)
                if (Matches(templ.Pixel(templateX + x - rect.left, templateY + y - rect.top), key))
                    sums.Add(canvas.Pixel(x, y));
    }
    tint = sums.Tint();
    return sums.count != 0;
}

COLORREF TintedAverage(const DibBitmap &canvas, const RECT &rect) {
    ChannelSums sums;
    if (canvas.bits) {
        Span s = Clip(canvas, rect, nullptr, 0, 0);
        for (int y = s.top; y < s.bottom; ++y)
            for (int x = s.left; x < s.right; ++x) sums.Add(canvas.Pixel(x, y));
    }
    return sums.Tint();
}
