// What GDI offers the rest of the layer: pixel surfaces, device contexts
// that draw on a surface through an origin and a clip (the window manager
// makes one for every window DC), the hook that sees every text drawn, and
// PNG output.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "region.h"

namespace wince {

// 24-bit pixels, top-down, blue-green-red, rows padded to four bytes: the
// layout of a 24-bit DIB section, so a DIB section can be a surface.
class Surface {
   public:
    // Zeroed, or, with clear false, with whatever the memory held.
    static std::shared_ptr<Surface> Create(int width, int height, bool clear = true);
    // A surface over memory owned by someone else (a DIB section's bits).
    static std::shared_ptr<Surface> Wrap(uint8_t *bits, int width, int height, int stride);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    uint8_t *Bits() const { return bits_; }
    uint8_t *Row(int y) const { return bits_ + static_cast<size_t>(y) * stride_; }
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF color);
    void Fill(const RECT &rect, COLORREF color);
    // Copies a rectangle of another surface; both rectangles are clipped to
    // their surfaces.
    void Copy(int x, int y, const Surface &from, const RECT &source);

   private:
    int width_ = 0, height_ = 0, stride_ = 0;
    uint8_t *bits_ = nullptr;
    std::unique_ptr<uint8_t[]> storage_;
};

inline int SurfaceStride(int width) { return (width * 3 + 3) & ~3; }

// A device context on a surface. Logical (0,0) is at origin on the surface;
// drawing is limited to clip, given in surface coordinates. The window
// manager makes these for GetDC and BeginPaint and updates their clip when
// windows move.
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, const Region &clip, HWND window);
void SetSurfaceDCClip(HDC hdc, POINT origin, const Region &clip);
bool DestroySurfaceDC(HDC hdc);
HWND WindowOfDC(HDC hdc);
bool IsSurfaceDC(HDC hdc);

// Called for every text drawn through ExtTextOut or DrawText (after the
// clip, with the rectangle the text occupies in the DC's logical
// coordinates), so that the window dump can show what a window drew.
using TextDrawnHook = void (*)(HDC hdc, HWND window, const std::u16string &text, const RECT &rect);
void SetTextDrawnHook(TextDrawnHook hook);

// The device's screen: a surface of the profile's size.
std::shared_ptr<Surface> ScreenSurface();
void ResizeScreenSurface(int width, int height);

bool WritePng(const Surface &surface, const std::string &path, std::string *error);

}  // namespace wince
