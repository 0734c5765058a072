// Small helpers shared by the rendering tests: a canvas whose world
// coordinates are its pixels, item builders and pixel queries.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "chart/ZKW_vexa.h"
#include "chart/vexa_paint.h"
#include "chart/render_items.h"

namespace zkw::render_test {

constexpr TColor White = clWhite;

// Identity transform for a W x H control without margins: world x is canvas
// x, world y is canvas y (the y range runs from H down to 0).
inline TLayerTransform PixelTransform(int W, int H) {
  const TPlotGeometry G{W, H, 0, 0, 0, 0, 0};
  TLayerFactors F;
  const TAxisRange X{0, static_cast<double>(W), false}, Y{static_cast<double>(H), 0, false};
  ComputeXFactors(X, G, F.XFactor, F.XOffset);
  ComputeYFactors(Y, G, F.YFactor, F.YOffset);
  return TLayerTransform::Make(F, X, Y, W, H);
}

constexpr TRect Everywhere{0, 0, 1 << 30, 1 << 30};

// Number of pixels of colour C in the part R of B.
inline int CountColour(TBitmap& B, TColor C, TRect R = Everywhere) {
  int N = 0;
  for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, B.Height()); ++Y)
    for (int X = std::max(R.Left, 0); X < std::min(R.Right, B.Width()); ++X) N += B.Canvas().Pixels(X, Y) == C;
  return N;
}

// Bounding box (edges inclusive) of the pixels in R that are (Match) or are
// not (!Match) of colour C; Left = -1 when there are none.
inline TRect ExtentOf(TBitmap& B, TColor C, bool Match = true, TRect R = Everywhere) {
  TRect E{-1, -1, -1, -1};
  for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, B.Height()); ++Y)
    for (int X = std::max(R.Left, 0); X < std::min(R.Right, B.Width()); ++X) {
      if ((B.Canvas().Pixels(X, Y) == C) != Match) continue;
      if (E.Left < 0) E = {X, Y, X, Y};
      E = {std::min(E.Left, X), std::min(E.Top, Y), std::max(E.Right, X), std::max(E.Bottom, Y)};
    }
  return E;
}

// A white (W + 1) x (H + 1) image with an item renderer on it.
struct TPixelScene {
  TBitmap Image;
  TItemRenderFrame Frame;
  std::unique_ptr<TItemRenderer> Renderer;
  TLongTextArray Texts;

  TPixelScene(int W, int H, int CanvasW = -1, int CanvasH = -1)
      : Image(CanvasW < 0 ? W + 1 : CanvasW, CanvasH < 0 ? H + 1 : CanvasH) {
    Frame.Width = W;
    Frame.Height = H;
    for (int L = 0; L < LayerCount; ++L) {
      Frame.Transforms[static_cast<std::size_t>(L)] = PixelTransform(W, H);
      Frame.XRanges[static_cast<std::size_t>(L)] = {0, static_cast<double>(W), false};
      Frame.YRanges[static_cast<std::size_t>(L)] = {static_cast<double>(H), 0, false};
    }
    Start();
  }
  // A new pass (after changing Frame).
  void Start() {
    Renderer = std::make_unique<TItemRenderer>(Image.Canvas(), Frame);
    Renderer->ResetDuplicateMarks();
    Renderer->BeginPass(1, White);
  }
  void Draw(const TvxChartItem& Item, int Index = 0) { Renderer->RenderItem(Item, Index, false, Texts); }
  void Finish() { Renderer->FlushPolyline(); }
  TColor At(int X, int Y) { return Image.Canvas().Pixels(X, Y); }
  int Count(TColor C) { return CountColour(Image, C); }
  TRect Extent(TColor C) { return ExtentOf(Image, C); }
};

inline TvxChartItem MakeItem(std::uint8_t Kind, double X, double Y, double X2 = 0, double Y2 = 0,
                             TColor Color = clBlack) {
  TvxChartItem I;
  I.Kind = Kind;
  I.X = X;
  I.Y = Y;
  I.X2 = X2;
  I.Y2 = Y2;
  I.Color = Color;
  I.Layer = 1;
  I.LineWidth = 1;
  return I;
}

inline TvxChartItem MakeMark(double X, double Y, int MarkType, TColor Color = clBlack) {
  TvxChartItem I = MakeItem(ckMark, X, Y, 0, 0, Color);
  I.MarkType = MarkType;
  return I;
}

inline TvxChartItem MakeText(double X, double Y, const std::string& Text, int Align, int Size = 10,
                             TColor Color = clBlack) {
  TvxChartItem I = MakeItem(ckText, X, Y, 0, 0, Color);
  I.LineWidth = 0;
  I.ShortText.Set(Text);
  I.MarkType = Align;
  I.Size1 = Size;
  return I;
}

// One random item of any kind: few colours and styles, so that the cache is
// hit often, and every field a kind reads given values it accepts.
inline TvxChartItem RandomItem(std::mt19937& R, int W, int H) {
  auto Pick = [&R](int N) { return static_cast<int>(R() % static_cast<unsigned>(N)); };
  const TColor Colours[] = {clRed, clBlue, clGreen, clBlack, clYellow, clNavy};
  const TPenStyle Styles[] = {psSolid, psSolid, psDash, psDot, psDashDot, psClear};
  static const std::uint8_t Kinds[] = {ckMark, ckMark, ckMark, ckLine, ckDrawTo, ckDrawTo, ckRect, ckRect3D,
                                       ckBar3D, ckText, ckText, ckMoveTo, ckEllipse, ckMoveRel, ckDrawRel,
                                       ckArrow, ckArrow2, ckTextOffs, ckBox, ckErrorBar, ckLineOffs, ckArc,
                                       ckLineRel, ckVLine, ckHLine, ckCross, 0, 11};
  TvxChartItem I;
  I.Kind = Kinds[Pick(static_cast<int>(std::size(Kinds)))];
  I.Layer = 1;
  I.X = Pick(W + 1);
  I.Y = Pick(H + 1);
  I.X2 = Pick(W + 1);
  I.Y2 = Pick(H + 1);
  I.Color = Colours[Pick(6)];
  I.FillColor = Colours[Pick(6)];
  I.Color2 = Colours[Pick(6)];
  I.Color3 = Colours[Pick(6)];
  I.PenStyle = Styles[Pick(6)];
  I.LineWidth = Pick(4);
  I.Flag = Pick(2) == 0;
  I.FrameStyle = static_cast<std::uint8_t>(Pick(6));
  I.Size1 = Pick(12);
  I.Size2 = Pick(12);
  switch (I.Kind) {
    case ckMark:
    case ckErrorBar: {
      // Symbols, and character marks: letters, digit marks and others.
      const int Marks[] = {Pick(52), Pick(52), 'B', 'x', 200 + Pick(10), 52 + Pick(204)};
      I.MarkType = Marks[Pick(6)];
      I.CoordMode = static_cast<std::uint8_t>(I.Kind == ckMark ? Pick(2) : 0);
      if (I.Kind == ckErrorBar) {
        I.X2 = Pick(20);
        I.Y2 = Pick(20);
        I.Size1 = Pick(2) * 10;
      }
      break;
    }
    case ckText:
    case ckTextOffs:
      I.MarkType = Pick(3);
      I.Size1 = 6 + Pick(10);
      I.Size2 = Pick(2);
      I.LineWidth = Pick(3) == 0 ? 1 + Pick(2) : 0;
      I.ShortText.Set(Pick(2) == 0 ? "Ab" : "x");
      if (I.Kind == ckTextOffs) {
        I.X2 = Pick(11) - 5;
        I.Y2 = Pick(11) - 5;
      }
      break;
    case ckMoveRel:
    case ckDrawRel:
    case ckLineRel:
      I.X2 = Pick(41) - 20;
      I.Y2 = Pick(41) - 20;
      if (I.Kind != ckLineRel) {
        I.X = Pick(41) - 20;
        I.Y = Pick(41) - 20;
      }
      break;
    case ckEllipse:
    case ckArc:
      I.X2 = Pick(20);
      I.Y2 = Pick(20);
      I.Size1 = Pick(628318531);
      I.Size2 = Pick(628318531);
      break;
    case ckArrow:
    case ckArrow2:
      I.CoordMode = static_cast<std::uint8_t>(Pick(6));
      break;
    case ckCross:
      I.CoordMode = static_cast<std::uint8_t>(Pick(3));
      I.X2 = Pick(8);
      I.Y2 = Pick(8);
      break;
    case ckBar3D:
      I.Size1 = Pick(180);
      break;
    default:
      I.CoordMode = static_cast<std::uint8_t>(Pick(4));
      break;
  }
  return I;
}

// The chart the pipeline tests paint (its own hooks run the pipeline).
using TPipelineVexa = TVexa;

}  // namespace zkw::render_test
