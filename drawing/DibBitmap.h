// A 24-bit top-down bitmap whose pixels are read and written directly.
#pragma once

#include <windows.h>

class DibBitmap {
   public:
    DibBitmap() = default;
    virtual ~DibBitmap();
    DibBitmap(const DibBitmap &) = delete;
    DibBitmap &operator=(const DibBitmap &) = delete;

    // Replaces the content by a new bitmap of that size (pixels unset).
    bool Create(int width, int height);
    // A copy of bitmap, at its size.
    bool Create(HBITMAP source);
    // A copy of the rectangle (left, top) to (right, bottom) of context.
    bool Create(HDC context, int left, int top, int right, int bottom);
    // Copies the whole bitmap to destination at point; the copy's result.
    BOOL Draw(HDC destination, POINT point);
    // A memory context holding the bitmap, made on first use.
    HDC Dc();
    void ReleaseDc();

    bool Empty() const { return bitmap == nullptr; }
    // Blue, green, red of pixel (x, y); no bounds check.
    BYTE *Pixel(int x, int y) const { return bits + y * stride + x * 3; }
    COLORREF PixelColor(int x, int y) const;
    void SetPixelColor(int x, int y, COLORREF color);

    int width = 0;
    int height = 0;
    int stride = 0;
    BYTE *bits = nullptr;
    HBITMAP bitmap = nullptr;
    bool ownsBitmap = true;
    HDC dc = nullptr;
    HBITMAP previousBitmap = nullptr;

   private:
    void Release();
};

// Bytes per row of a 24-bit bitmap, padded to 4 bytes.
inline int DibStride(int width) {
    return (width * 3 + 3) / 4 * 4;
}
