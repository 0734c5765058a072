// Fast paths of the canvas against the general primitives they stand for:
// both draw onto copies of one random picture, and every pixel, the pen
// position and the dash phase must come out the same.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/graphics.h"
#include "canvas_support.h"

namespace zkw {
namespace {

using namespace zkw::testing;

TEST(CanvasFastPath, SquareOutlineMatchesFourLinesEverywhere) {
  TestRandom R{11};
  constexpr int W = 23, H = 17;
  for (int Case = 0; Case < 4000; ++Case) {
    TBitmap Fast(W, H), Slow(W, H);
    FillRandom(Fast, R);
    Slow.Canvas().Draw(0, 0, Fast);
    const int X = R.Next(-5, W + 4), Y = R.Next(-5, H + 4), D = R.Next(0, 4);
    // Mostly the thin solid pen the fast path takes, with every other state mixed in.
    const auto Style = static_cast<TPenStyle>(R.Next(0, 3) == 0 ? R.Next(0, 6) : (R.Next(0, 1) ? psSolid : psInsideFrame));
    const int Width = R.Next(0, 4) == 0 ? R.Next(2, 3) : 1;
    const auto Mode = static_cast<TPenMode>(R.Next(0, 1));
    TColor Color = R.Next(0, 0xFFFFFF);
    if (R.Next(0, 9) == 0) Color = clBtnShadow;  // system colours resolve alike
    for (TBitmap* B : {&Fast, &Slow}) {
      SetPen(B->Canvas(), Color, Style, Width, Mode);
      B->Canvas().MoveTo(R.Next(-3, 3), 0);
    }
    Fast.Canvas().SquareOutline(X, Y, D);
    TCanvas& S = Slow.Canvas();
    S.MoveTo(X - D, Y - D);
    S.LineTo(X - D, Y + D);
    S.LineTo(X + D, Y + D);
    S.LineTo(X + D, Y - D);
    S.LineTo(X - D, Y - D);
    ASSERT_EQ(Fast.Canvas().PenPos(), S.PenPos()) << Case;
    // A dashed line drawn next shows whether the dash phase went on alike.
    for (TBitmap* B : {&Fast, &Slow}) {
      B->Canvas().Pen().SetStyle(psDashDot);
      B->Canvas().Pen().SetWidth(1);
      B->Canvas().LineTo(W / 2, H - 1);
    }
    ASSERT_TRUE(SamePixels(Fast, Slow)) << "case " << Case << " at " << X << "," << Y << " d " << D << " style "
                                        << int(Style) << " width " << Width << " mode " << int(Mode);
  }
}

TEST(CanvasFastPath, SquareOutlineIsReversibleInExclusiveOrAndClipsAtEveryEdge) {
  TestRandom R{5};
  TBitmap B(9, 7);
  FillRandom(B, R);
  TBitmap Before(9, 7);
  Before.Canvas().Draw(0, 0, B);
  SetPen(B.Canvas(), clLime, psSolid, 1, pmXor);
  // Inside, touching each edge, and half outside on each side.
  const TPoint Centres[] = {{4, 3}, {1, 1}, {7, 5}, {0, 3}, {8, 3}, {4, 0}, {4, 6}, {-1, -1}, {9, 7}};
  for (TPoint P : Centres) B.Canvas().SquareOutline(P.X, P.Y, 1);
  EXPECT_FALSE(SamePixels(B, Before));
  for (TPoint P : Centres) B.Canvas().SquareOutline(P.X, P.Y, 1);
  EXPECT_TRUE(SamePixels(B, Before));
}

TEST(CanvasFastPath, SquareOutlineOnAnEmptyBitmapOnlyMovesThePen) {
  TBitmap B;
  B.Canvas().SquareOutline(3, 4, 2);
  EXPECT_EQ(B.Canvas().PenPos(), (TPoint{1, 2}));
}

// A polyline against its segments drawn one by one, in every pen state.
// (The bulk square outlines of the chart's marks are tested beside them, in
// tests/chart/mark_raster_test.cpp.)
TEST(CanvasFastPath, PolylineMatchesItsSegmentsDrawnOneByOne) {
  TestRandom R{23};
  constexpr int W = 31, H = 21;
  for (int Case = 0; Case < 750; ++Case) {
    TBitmap Fast(W, H), Slow(W, H);
    RandomPictureAndPen(Fast, Slow, R);
    std::vector<TPoint> P(static_cast<std::size_t>(R.Next(1, 12)));
    // Mostly short steps inside the picture, some leaving it.
    for (TPoint& Q : P) Q = R.Next(0, 5) == 0 ? TPoint{R.Next(-40, W + 40), R.Next(-40, H + 40)} : TPoint{R.Next(0, W - 1), R.Next(0, H - 1)};
    Fast.Canvas().Polyline(P.data(), static_cast<int>(P.size()));
    TCanvas& S = Slow.Canvas();
    const TPoint Kept = S.PenPos();
    S.MoveTo(P[0].X, P[0].Y);
    for (std::size_t K = 1; K < P.size(); ++K) S.LineTo(P[K].X, P[K].Y);
    S.MoveTo(Kept.X, Kept.Y);
    ASSERT_EQ(Fast.Canvas().PenPos(), S.PenPos()) << Case;
    const TPen& Pen = Slow.Canvas().Pen();
    ASSERT_TRUE(SamePixels(Fast, Slow)) << "case " << Case << " style " << int(Pen.Style()) << " width "
                                        << Pen.Width() << " mode " << int(Pen.Mode());
  }
}

}  // namespace
}  // namespace zkw
