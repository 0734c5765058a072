#include "base/frames.h"

namespace zkw {

void DrawRectOutline(TCanvas& Canvas, int X1, int Y1, int X2, int Y2) {
  Canvas.MoveTo(X1, Y1);
  Canvas.LineTo(X1, Y2);
  Canvas.LineTo(X2, Y2);
  Canvas.LineTo(X2, Y1);
  Canvas.LineTo(X1, Y1);
}

void DrawBevel(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, TColor A, TColor B,
               TColor C, TColor D) {
  TPen& Pen = Canvas.Pen();
  // Lines exclude their end pixel, hence the one-pixel overshoots that close
  // each corner.
  Pen.SetColor(A);
  Canvas.MoveTo(Left, Bottom);
  Canvas.LineTo(Left, Top);
  Canvas.LineTo(Right + 1, Top);
  Canvas.MoveTo(Right, Top + 1);
  Pen.SetColor(B);
  Canvas.LineTo(Right, Bottom);
  Canvas.LineTo(Left - 1, Bottom);
  Pen.SetColor(C);
  Canvas.MoveTo(Left + 1, Bottom - 1);
  Canvas.LineTo(Left + 1, Top + 1);
  Canvas.LineTo(Right, Top + 1);
  Canvas.MoveTo(Right - 1, Top + 2);
  Pen.SetColor(D);
  Canvas.LineTo(Right - 1, Bottom - 1);
  Canvas.LineTo(Left, Bottom - 1);
}

void DrawFrame3D(TCanvas& Canvas, std::uint8_t Style, int Left, int Top, int Right, int Bottom,
                 TColor Highlight, TColor Light, TColor Shadow, TColor Dark, TColor Outline) {
  switch (Style & 0x7F) {
    case fsSimple:
      Canvas.Pen().SetColor(Outline);
      DrawRectOutline(Canvas, Left, Top, Right, Bottom);
      break;
    case fsLowered:
      DrawBevel(Canvas, Left, Top, Right, Bottom, Shadow, Highlight, Dark, Light);
      break;
    case fsRaised:
      DrawBevel(Canvas, Left, Top, Right, Bottom, Highlight, Dark, Light, Shadow);
      break;
    case fsEmbossed:
      DrawBevel(Canvas, Left, Top, Right, Bottom, Highlight, Shadow, Shadow, Highlight);
      break;
    case fsEngraved:
      DrawBevel(Canvas, Left, Top, Right, Bottom, Shadow, Highlight, Highlight, Shadow);
      break;
    default:  // fsNone and unknown styles
      break;
  }
}

}  // namespace zkw
