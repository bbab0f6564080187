// The blit engine for the rest of GDI (icons draw through it).
#pragma once

#include "canvas.h"
#include "dc.h"

namespace wince::gdi {

// Copies source (on src) to dest (canvas coordinates of the DC) with a
// raster operation, stretched when the sizes differ. srcBk is the colour
// that becomes white when a colour source meets a monochrome destination.
void BlitCanvas(Dc &dc, const RECT &dest, const Canvas &src, const RECT &source, DWORD rop, COLORREF srcBk);

}  // namespace wince::gdi
