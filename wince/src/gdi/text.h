// Text drawing shared by ExtTextOut and DrawText.
#pragma once

#include <string_view>

#include <memory>
#include <string>

#include "dc.h"
#include "font.h"

namespace wince::gdi {

// The face of the DC's font, valid while the DC lives and keeps that font.
FontFace &FaceOf(Dc &dc);

// Draws glyphs with the top of the text cell at canvas (x, top), each
// character moved on by its advance, in the given colour, within the DC's
// clip and, when given, clip (canvas coordinates). Draws the font's
// underline and strike-out.
void DrawGlyphs(Dc &dc, FontFace &face, int x, int top, const char16_t *text, int count, const int *advances,
                COLORREF color, const RECT *clip);

// Draws a text cell (logical coordinates) in the DC's colours: its
// background when the mode is OPAQUE, then its glyphs, within clip (canvas
// coordinates) when given. Returns the cell on the canvas.
RECT DrawTextCell(Dc &dc, FontFace &face, const RECT &cell, const char16_t *text, int count, const int *advances,
                  const RECT *clip);

// Fills a canvas rectangle with a colour, within the DC's clip and clip.
void FillSolid(Dc &dc, const RECT &area, COLORREF color, const RECT *clip);

// The row of the underline, from the top of the cell.
int UnderlineOffset(const FontFace &face);

// Tells the text hook that text was drawn in rect (logical coordinates).
void NotifyTextDrawn(Dc &dc, std::u16string_view text, const RECT &rect);

}  // namespace wince::gdi
