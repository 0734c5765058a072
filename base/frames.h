// Three-dimensional frames and rectangle outlines drawn with the canvas pen.
#pragma once

#include <cstdint>

#include "base/enums.h"
#include "platform/graphics.h"

namespace zkw {

// Closed outline (X1, Y1) -> (X1, Y2) -> (X2, Y2) -> (X2, Y1) -> (X1, Y1) with
// the current pen; the pen ends at (X1, Y1).
void DrawRectOutline(TCanvas& Canvas, int X1, int Y1, int X2, int Y2);

// Two-pixel bevel on the rectangle Left..Right, Top..Bottom (both edges
// inclusive): A outer left/top, B outer right/bottom, C inner left/top, D
// inner right/bottom. The pen is left at colour D.
void DrawBevel(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, TColor A, TColor B,
               TColor C, TColor D);

// Frame of look Style (a TFrameStyle in the low seven bits; the top bit is a
// flag of the caller and ignored). Styles 6 and above draw nothing.
void DrawFrame3D(TCanvas& Canvas, std::uint8_t Style, int Left, int Top, int Right, int Bottom,
                 TColor Highlight, TColor Light, TColor Shadow, TColor Dark, TColor Outline);

}  // namespace zkw
