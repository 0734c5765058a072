// Lines: end pixel, Bresenham steps against the reference, clipping, dash
// patterns, wide pens, exclusive-or and Polyline.
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics.h"
#include "canvas_support.h"

namespace zkw {
namespace {

using namespace zkw::testing;

TEST(CanvasLine, EndPixelIsExcludedAndPenMoves) {
  TBitmap B(12, 12);
  TCanvas& C = B.Canvas();
  C.Pen().SetColor(clRed);
  C.MoveTo(1, 1);
  C.LineTo(5, 1);
  EXPECT_EQ(C.PenPos(), (TPoint{5, 1}));
  C.LineTo(5, 6);
  C.LineTo(1, 2);
  PixelSet Want;
  for (int X = 1; X < 5; ++X) Want.insert({X, 1});
  for (int Y = 1; Y < 6; ++Y) Want.insert({5, Y});
  for (auto P : ReferenceLine(5, 6, 1, 2)) Want.insert(P);
  EXPECT_EQ(WithColor(B, clRed), Want) << Picture(B);
  EXPECT_EQ(C.Pixels(1, 2), clWhite);  // the last end point stays untouched
}

TEST(CanvasLine, ZeroLengthLineDrawsNothing) {
  TBitmap B(5, 5);
  B.Canvas().MoveTo(2, 2);
  B.Canvas().LineTo(2, 2);
  EXPECT_TRUE(Changed(B).empty());
}

TEST(CanvasLine, MatchesReferenceIncludingClippedEnds) {
  TestRandom R{7};
  for (int Round = 0; Round < 3000; ++Round) {
    TBitmap B(37, 23);
    const int X0 = R.Next(-60, 100), Y0 = R.Next(-60, 90), X1 = R.Next(-60, 100), Y1 = R.Next(-60, 90);
    B.Canvas().Pen().SetColor(clBlack);
    B.Canvas().MoveTo(X0, Y0);
    B.Canvas().LineTo(X1, Y1);
    ASSERT_EQ(Changed(B), Clip(ReferenceLine(X0, Y0, X1, Y1), 37, 23))
        << "(" << X0 << "," << Y0 << ")-(" << X1 << "," << Y1 << ")\n" << Picture(B);
  }
}

TEST(CanvasLine, ExtremeCoordinatesDrawOnlyTheVisiblePart) {
  TBitmap B(40, 30);
  TCanvas& C = B.Canvas();
  C.MoveTo(INT_MIN, 5);
  C.LineTo(INT_MAX, 5);
  EXPECT_EQ(WithColor(B, clBlack).size(), 40u);
  EXPECT_EQ(C.Pixels(0, 5), clBlack);
  EXPECT_EQ(C.Pixels(39, 5), clBlack);

  // Slope 7 / 4e9: step i = 2e9 + x lands on row round(i * 7 / 4e9) = 4.
  TBitmap D(40, 30);
  D.Canvas().MoveTo(-2000000000, 0);
  D.Canvas().LineTo(2000000000, 7);
  PixelSet Row4;
  for (int X = 0; X < 40; ++X) Row4.insert({X, 4});
  EXPECT_EQ(Changed(D), Row4);

  TBitmap E(30, 30);
  E.Canvas().MoveTo(INT_MAX, INT_MAX);
  E.Canvas().LineTo(INT_MIN, INT_MIN);
  PixelSet Diagonal;
  for (int I = 0; I < 30; ++I) Diagonal.insert({I, I});
  EXPECT_EQ(Changed(E), Diagonal);

  // Lines that pass just outside the picture touch nothing; an anti-diagonal
  // from far outside crosses it exactly on x + y = 29.
  TBitmap F(30, 30);
  TCanvas& G = F.Canvas();
  G.MoveTo(INT_MIN, -1);
  G.LineTo(INT_MAX, -1);
  G.MoveTo(30, INT_MAX);
  G.LineTo(30, INT_MIN);
  G.MoveTo(INT_MIN, INT_MIN);
  G.LineTo(INT_MIN, INT_MAX);
  G.MoveTo(INT_MAX, INT_MIN);
  G.LineTo(INT_MIN, INT_MIN);
  EXPECT_TRUE(Changed(F).empty()) << Picture(F);
  G.MoveTo(-30000, 30029);
  G.LineTo(30029, -30000);
  PixelSet Anti;
  for (int X = 0; X < 30; ++X) Anti.insert({X, 29 - X});
  EXPECT_EQ(Changed(F), Anti);
}

TEST(CanvasLine, DashPatternsLeaveGapsAndContinueAcrossLineTo) {
  auto Row = [](TPenStyle Style, bool Split) {
    TBitmap B(60, 1);
    TCanvas& C = B.Canvas();
    C.Pen().SetStyle(Style);
    C.MoveTo(0, 0);
    if (Split) C.LineTo(20, 0);
    C.LineTo(60, 0);
    std::string S;
    for (int X = 0; X < 60; ++X) S += C.Pixels(X, 0) == clBlack ? '#' : '.';
    return S;
  };
  EXPECT_EQ(Row(psDash, false), "##################......##################......############");
  EXPECT_EQ(Row(psDot, false), "###...###...###...###...###...###...###...###...###...###...");
  EXPECT_EQ(Row(psDashDot, false).substr(0, 24), "#########......###......");
  EXPECT_EQ(Row(psDashDotDot, false).substr(0, 24), "#########...###...###...");
  EXPECT_EQ(Row(psSolid, false), std::string(60, '#'));
  EXPECT_EQ(Row(psInsideFrame, false), std::string(60, '#'));
  EXPECT_EQ(Row(psClear, false), std::string(60, '.'));
  // A line split in two keeps the pattern going.
  EXPECT_EQ(Row(psDash, true), Row(psDash, false));

  TBitmap B(30, 1);
  B.Canvas().Pen().SetStyle(psDot);
  B.Canvas().MoveTo(0, 0);
  B.Canvas().LineTo(4, 0);
  B.Canvas().MoveTo(4, 0);  // MoveTo restarts the pattern: 4 and 5 are on
  B.Canvas().LineTo(10, 0);
  EXPECT_EQ(B.Canvas().Pixels(4, 0), clBlack);
  EXPECT_EQ(B.Canvas().Pixels(6, 0), clBlack);
  EXPECT_EQ(B.Canvas().Pixels(7, 0), clWhite);
}

TEST(CanvasLine, WidePensAreUnionsOfSquares) {
  TBitmap B(20, 12);
  B.Canvas().Pen().SetWidth(3);
  B.Canvas().MoveTo(5, 5);
  B.Canvas().LineTo(10, 5);
  PixelSet Want;
  for (int X = 4; X <= 10; ++X)
    for (int Y = 4; Y <= 6; ++Y) Want.insert({X, Y});
  EXPECT_EQ(Changed(B), Want) << Picture(B);

  // Random wide lines, written once each: one exclusive-or pass on white turns
  // exactly the reference pixels (a pixel written twice would come back white).
  TestRandom R{11};
  for (int Round = 0; Round < 800; ++Round) {
    TBitmap D(31, 27);
    const int W = R.Next(2, 6);
    const int X0 = R.Next(-15, 45), Y0 = R.Next(-15, 40), X1 = R.Next(-15, 45), Y1 = R.Next(-15, 40);
    D.Canvas().Pen().SetWidth(W);
    D.Canvas().Pen().SetMode(pmXor);
    D.Canvas().Pen().SetColor(clWhite);
    D.Canvas().MoveTo(X0, Y0);
    D.Canvas().LineTo(X1, Y1);
    ASSERT_EQ(WithColor(D, clBlack), Clip(ReferenceWideLine(X0, Y0, X1, Y1, W), 31, 27))
        << "width " << W << " (" << X0 << "," << Y0 << ")-(" << X1 << "," << Y1 << ")\n" << Picture(D);
    ASSERT_EQ(Changed(D), WithColor(D, clBlack));
  }
}

TEST(CanvasLine, WideDashedPenDrawsSolid) {
  TBitmap B(40, 5);
  B.Canvas().Pen().SetWidth(2);
  B.Canvas().Pen().SetStyle(psDash);
  B.Canvas().MoveTo(1, 2);
  B.Canvas().LineTo(39, 2);
  EXPECT_EQ(Changed(B), Clip(ReferenceWideLine(1, 2, 39, 2, 2), 40, 5));
}

TEST(CanvasLine, PolylineIsOpenAndLeavesThePen) {
  TBitmap B(12, 12);
  TCanvas& C = B.Canvas();
  C.MoveTo(7, 7);
  C.Polyline(std::vector<TPoint>{{1, 1}, {6, 1}, {6, 6}});
  EXPECT_EQ(C.PenPos(), (TPoint{7, 7}));
  PixelSet Want = ReferenceLine(1, 1, 6, 1);
  for (auto P : ReferenceLine(6, 1, 6, 6)) Want.insert(P);
  EXPECT_EQ(Changed(B), Want);  // (6, 6) is the last end point, not drawn; no closing edge
  C.Polyline(nullptr, 3);
  C.Polyline(std::vector<TPoint>{{2, 2}});
  EXPECT_EQ(Changed(B), Want);
}

TEST(CanvasLine, ExclusiveOrTwiceRestoresEveryPixel) {
  TBitmap B(50, 40);
  TestRandom R{3};
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 50; ++X) B.Canvas().SetPixels(X, Y, R.Next(0, 0xFFFFFF));
  QImage Before = B.Image().copy();
  TCanvas& C = B.Canvas();
  C.Pen().SetMode(pmXor);
  C.Pen().SetColor(0x3355AA);
  auto DrawAll = [&] {
    for (int W : {1, 2, 4}) {
      C.Pen().SetWidth(W);
      for (TPenStyle S : {psSolid, psDash, psDot, psDashDotDot}) {
        C.Pen().SetStyle(S);
        C.MoveTo(-5, 3);
        C.LineTo(60, 30 + W);
        C.Polyline(std::vector<TPoint>{{3, 3}, {40, 9}, {12, 35}, {3, 3}});
      }
    }
  };
  DrawAll();
  EXPECT_NE(B.Image(), Before);
  DrawAll();
  EXPECT_EQ(B.Image(), Before);
}

}  // namespace
}  // namespace zkw
