// The bulk square outlines of the mark runs against the canvas's own
// SquareOutline, square by square: both draw onto copies of one random
// picture, and every pixel and the pen position must come out the same.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../platform/canvas_support.h"
#include "chart/mark_raster.h"

namespace zkw {
namespace {

using namespace zkw::testing;

// Centres mostly inside the picture, some across its edges or far off it.
std::vector<TPoint> RandomCentres(TestRandom& R, int W, int H, int MaxCount) {
  std::vector<TPoint> P(static_cast<std::size_t>(R.Next(1, MaxCount)));
  for (TPoint& Q : P)
    Q = R.Next(0, 5) == 0 ? TPoint{R.Next(-40, W + 40), R.Next(-40, H + 40)} : TPoint{R.Next(0, W - 1), R.Next(0, H - 1)};
  return P;
}

// Many squares in one call against one call per square, in every pen state.
TEST(MarkRaster, SquareOutlinesMatchTheirSingleSteps) {
  TestRandom R{23};
  constexpr int W = 31, H = 21;
  for (int Case = 0; Case < 750; ++Case) {
    TBitmap Fast(W, H), Slow(W, H);
    RandomPictureAndPen(Fast, Slow, R);
    const std::vector<TPoint> P = RandomCentres(R, W, H, 12);
    const int D = R.Next(1, 3);
    SquareOutlines(Fast.Canvas(), P.data(), static_cast<int>(P.size()), D);
    for (const TPoint& Q : P) Slow.Canvas().SquareOutline(Q.X, Q.Y, D);
    ASSERT_EQ(Fast.Canvas().PenPos(), Slow.Canvas().PenPos()) << Case;
    const TPen& Pen = Slow.Canvas().Pen();
    ASSERT_TRUE(SamePixels(Fast, Slow)) << "case " << Case << " style " << int(Pen.Style()) << " width "
                                        << Pen.Width() << " mode " << int(Pen.Mode());
  }
}

// The order-free squares take exactly the pens that write one opaque colour
// per pixel, with the style the caller names (the run's, which the canvas
// pen may not have yet).
TEST(MarkRaster, OrderFreeSquaresOnlyForThinOpaquePens) {
  TBitmap B(8, 8);
  TPixelView V;
  for (int Style = psSolid; Style <= psInsideFrame; ++Style) {
    SetPen(B.Canvas(), clRed, psDash, 1, pmCopy);
    const bool Free = Style == psSolid || Style == psInsideFrame;
    EXPECT_EQ(PrepareOrderFreeSquares(B.Canvas(), static_cast<TPenStyle>(Style), V), Free) << Style;
  }
  EXPECT_EQ(V.Bits, B.ScanLine(0));
  EXPECT_EQ(V.Width, 8);
  EXPECT_EQ(V.Height, 8);
  SetPen(B.Canvas(), clRed, psSolid, 2, pmCopy);
  EXPECT_FALSE(PrepareOrderFreeSquares(B.Canvas(), psSolid, V));
  SetPen(B.Canvas(), clRed, psSolid, 1, pmXor);
  EXPECT_FALSE(PrepareOrderFreeSquares(B.Canvas(), psSolid, V));
}

// The shared drawing gives the pixels of the canvas's drawing and leaves the
// canvas as it was; in pieces, in any order, it gives the same.
TEST(MarkRaster, SharedSquareOutlinesMatchTheCanvasInAnyOrder) {
  TestRandom R{41};
  constexpr int W = 29, H = 19;
  for (int Case = 0; Case < 600; ++Case) {
    TBitmap Shared(W, H), Canvas(W, H);
    FillRandom(Shared, R);
    Canvas.Canvas().Draw(0, 0, Shared);
    TColor Colour = R.Next(0, 0xFFFFFF);
    if (R.Next(0, 9) == 0) Colour = clBtnShadow;  // system colours resolve alike
    const auto Style = R.Next(0, 1) ? psSolid : psInsideFrame;
    SetPen(Canvas.Canvas(), Colour, Style, 1, pmCopy);
    SetPen(Shared.Canvas(), clBlack, psDot, 1, pmCopy);  // not the drawing's: the shared drawing ignores the pen
    Shared.Canvas().MoveTo(5, 6);
    const std::vector<TPoint> P = RandomCentres(R, W, H, 20);
    const int D = R.Next(1, 3);
    SquareOutlines(Canvas.Canvas(), P.data(), static_cast<int>(P.size()), D);
    TPixelView V;
    ASSERT_TRUE(PrepareOrderFreeSquares(Shared.Canvas(), Style, V));
    // The second half first, as the helper might take it.
    const int Half = static_cast<int>(P.size()) / 2;
    SharedSquareOutlines(V, P.data() + Half, static_cast<int>(P.size()) - Half, D, Colour);
    SharedSquareOutlines(V, P.data(), Half, D, Colour);
    ASSERT_TRUE(SamePixels(Shared, Canvas)) << "case " << Case << " d " << D;
    EXPECT_EQ(Shared.Canvas().PenPos(), (TPoint{5, 6}));
    EXPECT_EQ(Shared.Canvas().Pen().Color(), clBlack);
  }
}

TEST(MarkRaster, AnEmptyBitmapOnlyMovesThePen) {
  TBitmap B;
  const TPoint P[] = {{3, 4}, {-2, 0}};
  SquareOutlines(B.Canvas(), P, 2, 2);
  EXPECT_EQ(B.Canvas().PenPos(), (TPoint{-4, -2}));
  TPixelView V;
  ASSERT_TRUE(PrepareOrderFreeSquares(B.Canvas(), psSolid, V));
  EXPECT_EQ(V.Bits, nullptr);
  SharedSquareOutlines(V, P, 2, 2, clRed);  // nothing to write, nothing read
  SquareOutlines(B.Canvas(), nullptr, 5, 1);
  SharedSquareOutlines(V, nullptr, 5, 1, clRed);
  EXPECT_EQ(B.Canvas().PenPos(), (TPoint{-4, -2}));
}

}  // namespace
}  // namespace zkw
