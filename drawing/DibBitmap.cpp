#include "drawing/DibBitmap.h"

DibBitmap::~DibBitmap() {
    Release();
}

void DibBitmap::Release() {
    if (!bitmap) return;
    ReleaseDc();
    if (ownsBitmap) DeleteObject(bitmap);
    bitmap = nullptr;
    bits = nullptr;
}

bool DibBitmap::Create(int newWidth, int newHeight) {
    Release();
    stride = DibStride(newWidth);
    width = newWidth;
    height = newHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = newWidth;
    info.bmiHeader.biHeight = -newHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(newHeight * stride);
    info.bmiHeader.biXPelsPerMeter = 3780;
    info.bmiHeader.biYPelsPerMeter = 3780;
    HDC screen = GetDC(nullptr);
    void *pixels = nullptr;
    bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    ReleaseDC(nullptr, screen);
    bits = bitmap ? static_cast<BYTE *>(pixels) : nullptr;
    return bitmap != nullptr;
}

bool DibBitmap::Create(HBITMAP source) {
    BITMAP description{};
    if (GetObjectW(source, sizeof description, &description) == 0) return false;
    if (!Create(description.bmWidth, description.bmHeight)) return false;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, bitmap);
    BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return true;
}

bool DibBitmap::Create(HDC context, int left, int top, int right, int bottom) {
    if (!Create(right - left, bottom - top)) return false;
    BitBlt(Dc(), 0, 0, width, height, context, left, top, SRCCOPY);
    return true;
}

BOOL DibBitmap::Draw(HDC destination, POINT point) {
    ReleaseDc();
    HDC temporary = CreateCompatibleDC(destination);
    if (!temporary) return FALSE;
    HGDIOBJ old = SelectObject(temporary, bitmap);
    BOOL copied = BitBlt(destination, point.x, point.y, width, height, temporary, 0, 0, SRCCOPY);
    SelectObject(temporary, old);
    DeleteDC(temporary);
    return copied;
}

HDC DibBitmap::Dc() {
    if (!dc) {
        dc = CreateCompatibleDC(nullptr);
        if (dc) previousBitmap = static_cast<HBITMAP>(SelectObject(dc, bitmap));
    }
    return dc;
}

// A bitmap can be selected into one context at a time: drawing and
// destruction give the kept context up first.
void DibBitmap::ReleaseDc() {
    if (!dc) return;
    SelectObject(dc, previousBitmap);
    DeleteDC(dc);
    dc = nullptr;
    previousBitmap = nullptr;
}

COLORREF DibBitmap::PixelColor(int x, int y) const {
    const BYTE *p = Pixel(x, y);
    return RGB(p[2], p[1], p[0]);
}

void DibBitmap::SetPixelColor(int x, int y, COLORREF color) {
    BYTE *p = Pixel(x, y);
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}
