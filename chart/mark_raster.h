// The hollow square marks in bulk. A run of square marks draws up to millions
// of 3 x 3 to 7 x 7 outlines of one pen; one canvas call per square would cost
// more than the pixels. These write the bitmap's pixels straight (through
// TBitmap::PixelView) and give exactly what TCanvas::SquareOutline gives
// square by square: the same pixels in every pen state, the same pen
// position and dash phase, clipped to the bitmap.
#pragma once

#include "platform/graphics.h"

namespace zkw {

// Canvas.SquareOutline(Centres[k].X, Centres[k].Y, D) for k = 0 .. Count - 1,
// in that order, with the pen and the pixels looked up once.
void SquareOutlines(TCanvas& Canvas, const TPoint* Centres, int Count, int D);

// Whether the canvas's pen, its style taken as Style, writes one opaque
// colour per pixel (width 1, copy mode, solid or inside-frame style), so that
// the pixels of a set of squares do not depend on the order they are drawn
// in. When it does, Pixels gets the canvas's pixels for SharedSquareOutlines.
bool PrepareOrderFreeSquares(TCanvas& Canvas, TPenStyle Style, TPixelView& Pixels);

// The pixels of SquareOutlines(Centres, Count, D) drawn by such a pen in
// Color, and nothing else (no canvas state changes). Several threads may
// call it at once, all with one Color, on the Pixels PrepareOrderFreeSquares
// gave, while nothing else draws on the bitmap.
void SharedSquareOutlines(const TPixelView& Pixels, const TPoint* Centres, int Count, int D, TColor Color);

}  // namespace zkw
