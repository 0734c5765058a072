// Rectangles, ellipses, arcs and polygons: exact boxes, pen and brush parts,
// wide pens, exclusive-or and extreme coordinates.
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics.h"
#include "canvas_support.h"

namespace zkw {
namespace {

using namespace zkw::testing;

PixelSet BoxSet(int L, int T, int R, int B) {
  PixelSet S;
  for (int Y = T; Y < B; ++Y)
    for (int X = L; X < R; ++X) S.insert({X, Y});
  return S;
}

PixelSet Minus(PixelSet A, const PixelSet& B) {
  for (auto P : B) A.erase(P);
  return A;
}

TEST(CanvasRectangle, ThreeByThreeOutlineInPenInteriorInBrush) {
  TBitmap B(6, 6);
  TCanvas& C = B.Canvas();
  C.Pen().SetColor(clRed);
  C.Brush().SetColor(clBlue);
  C.Rectangle(0, 0, 3, 3);
  EXPECT_EQ(Changed(B), BoxSet(0, 0, 3, 3));
  EXPECT_EQ(WithColor(B, clBlue), (PixelSet{{1, 1}}));
  EXPECT_EQ(WithColor(B, clRed).size(), 8u);

  TBitmap D(6, 6);
  D.Canvas().Brush().SetColor(clBlack);
  D.Canvas().Rectangle(3, 4, 0, 1);  // corners in any order
  EXPECT_EQ(Changed(D), BoxSet(0, 1, 3, 4));
}

TEST(CanvasRectangle, ClippedAndUnclippedBoxesAgree) {
  TestRandom R{13};
  for (int Round = 0; Round < 500; ++Round) {
    const int L = R.Next(-10, 35), T = R.Next(-10, 30), Rt = R.Next(-10, 35), B = R.Next(-10, 30);
    const int W = R.Next(1, 2);
    TBitmap Bmp(30, 25);
    Bmp.Canvas().Pen().SetWidth(W);
    Bmp.Canvas().Brush().SetColor(clBlue);
    Bmp.Canvas().Rectangle(L, T, Rt, B);
    const int X0 = std::min(L, Rt), X1 = std::max(L, Rt), Y0 = std::min(T, B), Y1 = std::max(T, B);
    PixelSet Outer = X0 == X1 || Y0 == Y1 ? PixelSet{} : BoxSet(X0 - W / 2, Y0 - W / 2, X1 + W - 1 - W / 2, Y1 + W - 1 - W / 2);
    PixelSet Inner = X0 == X1 || Y0 == Y1 ? PixelSet{} : BoxSet(X0 - W / 2 + W, Y0 - W / 2 + W, X1 - 1 - W / 2, Y1 - 1 - W / 2);
    ASSERT_EQ(WithColor(Bmp, clBlue), Clip(Inner, 30, 25)) << Picture(Bmp);
    ASSERT_EQ(WithColor(Bmp, clBlack), Clip(Minus(Outer, Inner), 30, 25)) << Picture(Bmp);
  }
}

TEST(CanvasRectangle, ClearBrushKeepsTheInterior) {
  TBitmap B(8, 8);
  TCanvas& C = B.Canvas();
  C.Brush().SetColor(clLime);
  C.FillRect(TRect{0, 0, 8, 8});
  C.Brush().SetStyle(bsClear);
  C.Pen().SetColor(clBlack);
  C.Rectangle(1, 1, 6, 6);
  EXPECT_EQ(WithColor(B, clBlack), Minus(BoxSet(1, 1, 6, 6), BoxSet(2, 2, 5, 5)));
  EXPECT_EQ(WithColor(B, clLime).size(), 64u - 16u);

  // Mark 10: a 3 by 3 hollow square leaves its centre alone.
  C.Rectangle(3, 6, 6, 9);
  EXPECT_EQ(C.Pixels(4, 7), clLime);
}

TEST(CanvasRectangle, ClearPenFillsTheWholeBoxAndFillRectSkipsThePen) {
  TBitmap B(8, 8);
  B.Canvas().Pen().SetStyle(psClear);
  B.Canvas().Brush().SetColor(clNavy);
  B.Canvas().Rectangle(1, 2, 5, 7);
  EXPECT_EQ(WithColor(B, clNavy), BoxSet(1, 2, 5, 7));
  TBitmap D(8, 8);
  D.Canvas().Brush().SetColor(clNavy);
  D.Canvas().FillRect(TRect{2, 2, 4, 7});
  D.Canvas().FillRect(TRect{6, 6, 5, 5});  // inverted: empty
  EXPECT_EQ(Changed(D), BoxSet(2, 2, 4, 7));
}

TEST(CanvasRectangle, WidePenBandIsCentredOrInsideTheFrame) {
  TBitmap B(30, 30);
  TCanvas& C = B.Canvas();
  C.Pen().SetWidth(3);
  C.Brush().SetColor(clYellow);
  C.Rectangle(10, 10, 20, 20);
  EXPECT_EQ(Changed(B), BoxSet(9, 9, 21, 21)) << Picture(B);
  EXPECT_EQ(WithColor(B, clYellow), BoxSet(12, 12, 18, 18));

  TBitmap D(30, 30);
  D.Canvas().Pen().SetWidth(3);
  D.Canvas().Pen().SetStyle(psInsideFrame);
  D.Canvas().Brush().SetColor(clYellow);
  D.Canvas().Rectangle(10, 10, 20, 20);
  EXPECT_EQ(Changed(D), BoxSet(10, 10, 20, 20));
  EXPECT_EQ(WithColor(D, clYellow), BoxSet(13, 13, 17, 17));
}

TEST(CanvasRectangle, DashedOutlineHasGapsButKeepsTheBox) {
  TBitmap B(60, 40);
  B.Canvas().Pen().SetStyle(psDot);
  B.Canvas().Brush().SetStyle(bsClear);
  B.Canvas().Rectangle(0, 0, 60, 40);
  const PixelSet Drawn = Changed(B);
  const PixelSet Ring = Minus(BoxSet(0, 0, 60, 40), BoxSet(1, 1, 59, 39));
  EXPECT_TRUE(std::includes(Ring.begin(), Ring.end(), Drawn.begin(), Drawn.end()));
  EXPECT_LT(Drawn.size(), Ring.size());
  EXPECT_GT(Drawn.size(), Ring.size() / 3);
  EXPECT_EQ(B.Canvas().Pixels(0, 0), clBlack);  // every side starts in the pattern's "on" part
}

TEST(CanvasEllipse, SmallCirclesHaveTheirClassicShapes) {
  TBitmap B(5, 5);
  B.Canvas().Pen().SetColor(clRed);
  B.Canvas().Brush().SetColor(clBlue);
  B.Canvas().Ellipse(0, 0, 5, 5);
  EXPECT_EQ(Picture(B), ".###.\n#####\n#####\n#####\n.###.\n");
  EXPECT_EQ(WithColor(B, clBlue), BoxSet(1, 1, 4, 4));

  TBitmap D(7, 7);
  D.Canvas().Brush().SetStyle(bsClear);
  D.Canvas().Ellipse(0, 0, 7, 7);
  EXPECT_EQ(Picture(D), "..###..\n.#...#.\n#.....#\n#.....#\n#.....#\n.#...#.\n..###..\n");

  TBitmap E(4, 4);
  E.Canvas().Ellipse(0, 0, 4, 4);  // white brush: only the ring shows
  EXPECT_EQ(Picture(E), ".##.\n#..#\n#..#\n.##.\n");

  TBitmap Flat(12, 4);
  Flat.Canvas().Brush().SetColor(clBlack);
  Flat.Canvas().Ellipse(1, 1, 11, 3);  // two rows high: still reaches both ends
  EXPECT_EQ(Changed(Flat), BoxSet(1, 1, 11, 3)) << Picture(Flat);

  TBitmap Thin(3, 12);
  Thin.Canvas().Ellipse(1, 1, 2, 11);  // one pixel wide: a vertical line
  EXPECT_EQ(Changed(Thin), BoxSet(1, 1, 2, 11));
}

TEST(CanvasEllipse, StaysInItsBoxTouchesEveryEdgeAndIsSymmetric) {
  TestRandom R{5};
  for (int Round = 0; Round < 300; ++Round) {
    const int W = R.Next(1, 40), H = R.Next(1, 40);
    TBitmap B(W + 4, H + 4);
    B.Canvas().Pen().SetWidth(R.Next(1, 3));
    B.Canvas().Pen().SetStyle(psInsideFrame);
    B.Canvas().Ellipse(2, 2, 2 + W, 2 + H);
    const PixelSet S = Changed(B);
    int MinX = 1 << 30, MaxX = -1, MinY = 1 << 30, MaxY = -1;
    for (auto [X, Y] : S) {
      MinX = std::min(MinX, X);
      MaxX = std::max(MaxX, X);
      MinY = std::min(MinY, Y);
      MaxY = std::max(MaxY, Y);
      ASSERT_TRUE(S.count({2 + W - 1 - (X - 2), Y})) << W << "x" << H << "\n" << Picture(B);
      ASSERT_TRUE(S.count({X, 2 + H - 1 - (Y - 2)})) << W << "x" << H << "\n" << Picture(B);
    }
    ASSERT_EQ(MinX, 2);
    ASSERT_EQ(MaxX, 2 + W - 1);
    ASSERT_EQ(MinY, 2);
    ASSERT_EQ(MaxY, 2 + H - 1);
  }
}

TEST(CanvasEllipse, OutlineIsConnectedWithoutHoles) {
  TBitmap B(90, 50);
  B.Canvas().Brush().SetStyle(bsClear);
  B.Canvas().Ellipse(3, 3, 87, 47);
  const PixelSet Ring = Changed(B);
  // Flood from the centre through white pixels must not escape the ring.
  PixelSet Seen{{45, 25}};
  std::vector<std::pair<int, int>> Todo{{45, 25}};
  while (!Todo.empty()) {
    auto [X, Y] = Todo.back();
    Todo.pop_back();
    ASSERT_TRUE(X > 0 && Y > 0 && X < 89 && Y < 49) << Picture(B);
    for (auto [DX, DY] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      const std::pair<int, int> N{X + DX, Y + DY};
      if (!Ring.count(N) && Seen.insert(N).second) Todo.push_back(N);
    }
  }
}

TEST(CanvasArc, RunsCounterClockwiseFromStartToEndRadial) {
  auto ArcPixels = [](int X3, int Y3, int X4, int Y4) {
    TBitmap B(21, 21);
    B.Canvas().Arc(0, 0, 21, 21, X3, Y3, X4, Y4);
    return Changed(B);
  };
  TBitmap Full(21, 21);
  Full.Canvas().Brush().SetStyle(bsClear);
  Full.Canvas().Ellipse(0, 0, 21, 21);
  const PixelSet Ring = Changed(Full);

  const PixelSet UpperRight = ArcPixels(20, 10, 10, 0);  // from east to north
  const PixelSet Rest = ArcPixels(10, 0, 20, 10);         // from north round to east
  ASSERT_FALSE(UpperRight.empty());
  for (auto [X, Y] : UpperRight) EXPECT_TRUE(X >= 10 && Y <= 10) << X << "," << Y;
  PixelSet Union = UpperRight;
  Union.insert(Rest.begin(), Rest.end());
  EXPECT_EQ(Union, Ring);
  EXPECT_LT(UpperRight.size(), Rest.size());
  EXPECT_EQ(ArcPixels(20, 10, 20, 10), Ring);  // equal radials: the whole ellipse
}

TEST(CanvasPolygon, ClosedOutlineAndFilledInterior) {
  TBitmap B(12, 12);
  TCanvas& C = B.Canvas();
  C.Pen().SetColor(clRed);
  C.Brush().SetColor(clBlue);
  const std::vector<TPoint> Tri{{1, 1}, {10, 1}, {1, 10}};
  C.Polygon(Tri);
  PixelSet Outline;
  for (std::size_t I = 0; I < 3; ++I)
    for (auto P : ReferenceLine(Tri[I].X, Tri[I].Y, Tri[(I + 1) % 3].X, Tri[(I + 1) % 3].Y)) Outline.insert(P);
  EXPECT_EQ(WithColor(B, clRed), Outline) << Picture(B);
  EXPECT_EQ(C.Pixels(3, 3), clBlue);
  EXPECT_EQ(C.Pixels(8, 8), clWhite);

  TBitmap D(12, 12);
  D.Canvas().Brush().SetStyle(bsClear);
  D.Canvas().Polygon(Tri);
  EXPECT_EQ(Changed(D), Outline);
}

TEST(CanvasPolygon, FillMatchesEvenOddReference) {
  TestRandom R{9};
  for (int Round = 0; Round < 400; ++Round) {
    std::vector<TPoint> P(static_cast<std::size_t>(R.Next(3, 7)));
    for (auto& Pt : P) Pt = {R.Next(-10, 35), R.Next(-10, 30)};
    TBitmap B(25, 20);
    B.Canvas().Pen().SetStyle(psClear);
    B.Canvas().Brush().SetColor(clBlack);
    B.Canvas().Polygon(P);
    PixelSet Want;
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 25; ++X)
        if (ReferenceInside(P, X, Y)) Want.insert({X, Y});
    ASSERT_EQ(Changed(B), Want) << Picture(B);
  }
  // Even-odd: the centre of a pentagram stays empty.
  TBitmap S(40, 40);
  S.Canvas().Pen().SetStyle(psClear);
  S.Canvas().Brush().SetColor(clBlack);
  S.Canvas().Polygon(std::vector<TPoint>{{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}});
  EXPECT_EQ(S.Canvas().Pixels(20, 20), clWhite);
  EXPECT_EQ(S.Canvas().Pixels(20, 6), clBlack);
}

TEST(CanvasShapes, ExclusiveOrTwiceRestoresEveryPixel) {
  TBitmap B(60, 50);
  TestRandom R{21};
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 60; ++X) B.Canvas().SetPixels(X, Y, R.Next(0, 0xFFFFFF));
  const QImage Before = B.Image().copy();
  TCanvas& C = B.Canvas();
  C.Pen().SetMode(pmXor);
  C.Pen().SetColor(0x00FF80);
  C.Brush().SetColor(0x804020);
  auto DrawAll = [&] {
    for (int W : {1, 3}) {
      C.Pen().SetWidth(W);
      for (TPenStyle S : {psSolid, psDashDot, psInsideFrame, psClear}) {
        C.Pen().SetStyle(S);
        C.Rectangle(5, 5, 40, 30);
        C.Ellipse(-10, 8, 50, 45);
        C.Arc(10, 10, 55, 48, 0, 0, 60, 40);
        C.Polygon(std::vector<TPoint>{{2, 2}, {55, 10}, {8, 45}, {50, 48}});
      }
    }
  };
  DrawAll();
  // A pixel written twice inside one call would cancel out: the interior shows the brush.
  EXPECT_NE(B.Image(), Before);
  DrawAll();
  EXPECT_EQ(B.Image(), Before);

  TBitmap W(10, 10);
  W.Canvas().Pen().SetMode(pmXor);
  W.Canvas().Pen().SetColor(clWhite);
  W.Canvas().Brush().SetColor(clWhite);
  W.Canvas().Polygon(std::vector<TPoint>{{1, 1}, {8, 1}, {8, 8}, {1, 8}});
  EXPECT_EQ(WithColor(W, clBlack), BoxSet(1, 1, 9, 9)) << Picture(W);  // outline and fill, each once
}

TEST(CanvasShapes, ExtremeCoordinatesClipWithoutOverflow) {
  const int Values[] = {INT_MIN, -30000, -1, 0, 7, 30000, INT_MAX};
  TBitmap B(16, 12);
  TCanvas& C = B.Canvas();
  C.Pen().SetWidth(3);
  for (int A : Values)
    for (int Bv : Values) {
      C.Rectangle(A, Bv, Bv, A);
      C.Ellipse(A, A, Bv, Bv);
      C.Arc(A, Bv, Bv, A, A, A, Bv, Bv);
      C.Polygon(std::vector<TPoint>{{A, Bv}, {Bv, A}, {A, A}, {7, Bv}});
      C.Polyline(std::vector<TPoint>{{A, Bv}, {Bv, A}, {A, A}});
      C.FillRect(TRect{A, Bv, Bv, A});
      C.TextOut(A, Bv, "Wg");
      C.SetPixels(A, Bv, clRed);
    }
  // Boxes far larger than the picture cover it entirely with the brush.
  TBitmap D(16, 12);
  D.Canvas().Brush().SetColor(clGreen);
  D.Canvas().Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(WithColor(D, clGreen).size(), 16u * 12u);
  D.Canvas().Brush().SetColor(clTeal);
  D.Canvas().Pen().SetWidth(5);
  D.Canvas().Ellipse(-30000, -30000, 30000, 30000);
  EXPECT_EQ(WithColor(D, clTeal).size(), 16u * 12u);
  D.Canvas().Brush().SetColor(clMaroon);
  D.Canvas().Polygon(std::vector<TPoint>{{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}});
  EXPECT_EQ(WithColor(D, clMaroon).size(), 16u * 12u);
}

}  // namespace
}  // namespace zkw
