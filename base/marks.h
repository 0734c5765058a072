// Mark symbols: 52 small symbols and the character marks, centred on a pixel,
// and the 7 by 7 bitmap glyphs some of them use on the screen. Marks are the
// chart's hot path: no allocation per call, only the canvas primitives.
#pragma once

#include <array>
#include <cstdint>

#include "platform/graphics.h"

namespace zkw {

// 7 by 7 glyphs, 7 bytes each, one byte per row from the top; bit 6 is the
// leftmost pixel, bit 0 the rightmost, bit 7 is ignored. Glyph n (from 1)
// occupies bytes 7(n-1) .. 7(n-1)+6.
inline constexpr int MarkGlyphCount = 19;
extern const std::array<std::uint8_t, 7 * MarkGlyphCount> MarkGlyphs;

// Sets the pixels of glyph Glyph (1-based) in Colour, covering X-3..X+3 and
// Y-3..Y+3: bit b (1 = lowest) of row r (1 = top) sets (X + 4 - b, Y + r - 4).
// Glyph numbers outside the table draw nothing.
void DrawGlyph7x7(int Glyph, TColor Colour, TCanvas& Canvas, int X, int Y);

// Draws mark Kind centred on (X, Y) in the pen colour. Kinds 0..51 are symbols
// and restore the brush colour found on entry; 52..255 draw a character in the
// current font (200..209 the digits 0..9) and leave the brush clear. The
// printer's canvas gets line-drawn variants of the glyph symbols so that they
// keep their size at printer resolution.
void DrawMark(TCanvas& Canvas, std::uint8_t Kind, int X, int Y);
// The same with the target device given instead of looked up.
void DrawMark(TCanvas& Canvas, std::uint8_t Kind, int X, int Y, bool OnPrinter);

}  // namespace zkw
