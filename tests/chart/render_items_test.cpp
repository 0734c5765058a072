// The item renderer on small images whose world coordinates are their pixels:
// marks and duplicate marks, lines and the polyline batch, relative steps,
// shapes, arrows, texts, monochrome output and the coordinate clamp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "render_support.h"

namespace zkw {
namespace {

using render_test::MakeItem;
using render_test::MakeMark;
using render_test::MakeText;
using render_test::RandomItem;
using render_test::TPixelScene;
using render_test::White;

// ---- marks ---------------------------------------------------------------------------------

TEST(RenderMarks, DemoDataMarkIsANavyHollowSquareAndTheCursorIsRed) {
  TPixelScene S(40, 40);
  S.Draw(MakeMark(5, 5, 10, clNavy));
  for (int Y = 4; Y <= 6; ++Y)
    for (int X = 4; X <= 6; ++X) EXPECT_EQ(S.At(X, Y), (X == 5 && Y == 5) ? White : clNavy) << X << "," << Y;
  EXPECT_EQ(S.Count(clNavy), 8);

  S.Draw(MakeMark(20, 20, 25, clRed));
  const TRect R = S.Extent(clRed);
  EXPECT_GE(R.Left, 17);
  EXPECT_GE(R.Top, 17);
  EXPECT_LE(R.Right, 23);
  EXPECT_LE(R.Bottom, 23);
  EXPECT_EQ(S.At(20, 20), clRed);
}

TEST(RenderMarks, WorldMarkOutsideTheRangeDrawsNothingAndTheEdgesAreInclusive) {
  TPixelScene S(40, 40);
  S.Draw(MakeMark(40.0001, 10, 12, clRed));  // would reach x = 37..40 if drawn
  S.Draw(MakeMark(10, -0.001, 12, clRed));
  EXPECT_EQ(S.Count(clRed), 0);
  S.Draw(MakeMark(40, 10, 12, clBlue));  // exactly on the range end
  EXPECT_EQ(S.At(37, 10), clBlue);
}

// ---- duplicate marks ------------------------------------------------------------------------

class DuplicateMarks : public ::testing::Test {
 protected:
  void Begin(int Dist) {
    S.Frame.AvoidDuplicateMarks = true;
    S.Frame.MinDupMarkDist = Dist;
    S.Start();
  }
  TPixelScene S{40, 40};
};

TEST_F(DuplicateMarks, SameTypeWithinDistanceIsSuppressed) {
  Begin(1);
  S.Draw(MakeMark(10, 10, 10, clNavy));
  S.Draw(MakeMark(11, 11, 10, clRed));  // (1, 1) away: suppressed
  EXPECT_EQ(S.Count(clRed), 0);
  S.Draw(MakeMark(12, 10, 10, clBlue));  // (2, 0) away: drawn
  EXPECT_GT(S.Count(clBlue), 0);
  S.Draw(MakeMark(30, 30, 10, clNavy));
  S.Draw(MakeMark(30, 30, 25, clRed));  // another type at the same pixel: drawn
  EXPECT_GT(S.Count(clRed), 0);
}

TEST_F(DuplicateMarks, DistanceThreeIsASquareAndOnlyTheLastStampCounts) {
  Begin(3);
  S.Draw(MakeMark(10, 10, 0, clNavy));
  S.Draw(MakeMark(13, 7, 0, clRed));  // corner of the square: suppressed
  EXPECT_EQ(S.At(13, 7), White);
  S.Draw(MakeMark(14, 10, 0, clRed));  // 4 away: drawn
  EXPECT_EQ(S.At(14, 10), clRed);
  // A mark of another type stamps over the cell; the first type may then draw again.
  S.Draw(MakeMark(20, 20, 0, clNavy));
  S.Draw(MakeMark(20, 20, 1, clGreen));
  S.Draw(MakeMark(20, 20, 0, clBlue));
  EXPECT_EQ(S.At(20, 20), clBlue);
}

TEST_F(DuplicateMarks, MarksWhoseSquareLeavesTheMemoryStayInsideIt) {
  // The memory covers the control plus a border of d (here 40 + 6 cells); a
  // plot corner away from the canvas origin moves marks beyond it.
  TPixelScene Far(40, 40, 120, 60);
  Far.Frame.Left = 50;
  Far.Frame.AvoidDuplicateMarks = true;
  Far.Frame.MinDupMarkDist = 3;
  Far.Start();
  // Centre beyond the memory: it cannot be compared, so both marks are drawn.
  Far.Draw(MakeMark(20, 10, 0, clNavy));  // canvas x 70
  Far.Draw(MakeMark(20, 10, 0, clRed));
  EXPECT_EQ(Far.At(70, 10), clRed);

  TPixelScene Edge(40, 40, 60, 50);
  Edge.Frame.Left = 2;
  Edge.Frame.AvoidDuplicateMarks = true;
  Edge.Frame.MinDupMarkDist = 3;
  Edge.Start();
  // Centre on the memory's last column: the stamp is cut at the edge and the
  // test still works for its neighbour.
  Edge.Draw(MakeMark(40, 5, 0, clNavy));  // canvas x 42, cell 45 of 0..45
  Edge.Draw(MakeMark(39, 6, 0, clRed));
  EXPECT_EQ(Edge.At(42, 5), clNavy);
  EXPECT_EQ(Edge.At(41, 6), White);
  EXPECT_EQ(Edge.Renderer->DupCell(45, 8), 0);
  EXPECT_EQ(Edge.Renderer->DupCell(46, 8), -1);  // outside: reads as empty
}

// ---- lines and the polyline batch --------------------------------------------------------------

TEST(RenderLines, LineExcludesItsEndAndACollapsedLineIsOnePixel) {
  TPixelScene S(20, 20);
  S.Draw(MakeItem(ckLine, 2, 2, 8, 2, clRed));
  for (int X = 2; X < 8; ++X) EXPECT_EQ(S.At(X, 2), clRed);
  EXPECT_EQ(S.At(8, 2), White);
  S.Draw(MakeItem(ckLine, 10.2, 10.1, 9.8, 9.9, clBlue));  // both ends on pixel (10, 10)
  EXPECT_EQ(S.Count(clBlue), 1);
  EXPECT_EQ(S.At(10, 10), clBlue);
}

TEST(RenderLines, FarAndInvalidCoordinatesAreClampedNotLost) {
  TPixelScene S(20, 20);
  S.Draw(MakeItem(ckLine, 5, 5, 1e15, 5, clRed));
  for (int X = 5; X <= 20; ++X) EXPECT_EQ(S.At(X, 5), clRed);
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const double Inf = std::numeric_limits<double>::infinity();
  for (std::uint8_t Kind = 0; Kind <= 30; ++Kind) {
    TvxChartItem I = MakeItem(Kind, NaN, Inf, -Inf, 1e308, clBlue);
    I.Size1 = 2147483647;
    I.Size2 = -2147483647;
    I.MarkType = 25;
    S.Draw(I);
  }
  S.Finish();
}

TEST(RenderLines, FourHundredFiftyDrawTosMakeThreePolylines) {
  TPixelScene S(500, 20);
  TvxChartItem Move = MakeItem(ckMoveTo, 0, 10);
  Move.CoordMode = cmPixel;
  S.Draw(Move);
  for (int I = 1; I <= 450; ++I) {
    TvxChartItem D = MakeItem(ckDrawTo, I, 10, 0, 0, clRed);
    D.CoordMode = cmPixel;
    S.Draw(D);
  }
  EXPECT_EQ(S.Renderer->PolylineCalls(), 2);
  S.Finish();
  EXPECT_EQ(S.Renderer->PolylineCalls(), 3);
  // Each batch starts at the previous one's last point: no gaps.
  for (int X = 0; X < 450; ++X) ASSERT_EQ(S.At(X, 10), clRed) << X;
  EXPECT_EQ(S.At(450, 10), White);
  EXPECT_EQ(S.Renderer->PenPos(), (TPoint{450, 10}));
}

TEST(RenderLines, BatchedSegmentsMatchSegmentBySegmentDrawing) {
  std::mt19937 Random(7);
  std::uniform_int_distribution<int> Step(-12, 12);
  TPixelScene S(300, 200);
  TBitmap Reference(301, 201);
  TCanvas& R = Reference.Canvas();
  R.Pen().SetColor(clRed);
  TPoint P{150, 100};
  S.Draw(MakeItem(ckMoveTo, P.X, P.Y));
  R.MoveTo(P.X, P.Y);
  for (int I = 0; I < 700; ++I) {
    P = {std::clamp(P.X + Step(Random), 0, 300), std::clamp(P.Y + Step(Random), 0, 200)};
    S.Draw(MakeItem(ckDrawTo, P.X, P.Y, 0, 0, clRed));
    R.LineTo(P.X, P.Y);
  }
  S.Finish();
  for (int Y = 0; Y <= 200; ++Y)
    for (int X = 0; X <= 300; ++X) ASSERT_EQ(S.At(X, Y), R.Pixels(X, Y)) << X << "," << Y;
}

TEST(RenderLines, RelativeStepsChainFromTheBatchEnd) {
  TPixelScene S(40, 40);
  S.Draw(MakeItem(ckMoveTo, 2, 2));
  S.Draw(MakeItem(ckDrawRel, 5, 0, 0, 0, clRed));
  S.Draw(MakeItem(ckDrawRel, 0, 5, 0, 0, clRed));  // from (7, 2), not from the canvas pen at (2, 2)
  S.Draw(MakeItem(ckMoveRel, 10, 0));              // from (7, 7)
  S.Draw(MakeItem(ckDrawRel, 0, 5, 0, 0, clBlue));
  S.Finish();
  EXPECT_EQ(S.At(4, 2), clRed);
  EXPECT_EQ(S.At(7, 5), clRed);
  EXPECT_EQ(S.At(2, 5), White);
  EXPECT_EQ(S.At(17, 9), clBlue);
  EXPECT_EQ(S.Renderer->PenPos(), (TPoint{17, 12}));

  // A relative line runs from its own world point; a ckDrawTo continues from its end.
  S.Draw(MakeItem(ckLineRel, 10, 20, 5, 0, clGreen));
  S.Draw(MakeItem(ckDrawTo, 15, 30, 0, 0, clGreen));
  S.Finish();
  EXPECT_EQ(S.At(12, 20), clGreen);
  EXPECT_EQ(S.At(15, 25), clGreen);
  EXPECT_EQ(S.At(16, 16), White);  // nothing joins (17, 12) to (10, 20)
}



// ---- shapes ------------------------------------------------------------------------------------

TEST(RenderShapes, PixelRectangleCoversBothCorners) {
  TPixelScene S(20, 20);
  TvxChartItem R = MakeItem(ckRect, 0, 0, 10, 5, clRed);
  R.CoordMode = cmPixel;
  R.FillColor = clBlue;
  S.Draw(R);
  EXPECT_EQ(S.At(10, 5), clRed);
  EXPECT_EQ(S.At(0, 0), clRed);
  EXPECT_EQ(S.At(5, 3), clBlue);
  EXPECT_EQ(S.At(11, 5), White);
  EXPECT_EQ(S.At(10, 6), White);
  R.Flag = true;  // transparent body
  R.X = 12;
  R.X2 = 18;
  R.FillColor = clGreen;
  S.Draw(R);
  EXPECT_EQ(S.At(15, 3), White);
  EXPECT_EQ(S.At(18, 3), clRed);
}

TEST(RenderShapes, ThreeDimensionalRectangleBodyAndFrame) {
  TPixelScene S(20, 20);
  TvxChartItem R = MakeItem(ckRect3D, 0, 0, 10, 5, clRed);
  R.CoordMode = cmPixel;
  R.FillColor = clGreen;
  S.Draw(R);  // no frame: the body alone, right and bottom edges exclusive
  EXPECT_EQ(S.Extent(clGreen), (TRect{0, 0, 9, 4}));
  EXPECT_EQ(S.Count(clGreen), 50);

  TPixelScene F(20, 20);
  R.FrameStyle = fsLowered;
  R.Color2 = clRed;
  R.Color3 = clBlue;
  F.Draw(R);
  EXPECT_EQ(F.At(0, 3), clRed);   // left edge
  EXPECT_EQ(F.At(5, 0), clRed);   // top edge
  EXPECT_EQ(F.At(10, 2), clBlue);  // right edge
  EXPECT_EQ(F.At(5, 5), clBlue);   // bottom edge
  EXPECT_EQ(F.At(4, 2), clGreen);
  EXPECT_EQ(F.Renderer->Cache().CachedPenColor, clBlue);
}

TEST(RenderShapes, CollapsedShapesAreOnePixelInThePenColour) {
  TPixelScene S(20, 20);
  for (std::uint8_t Kind : {ckRect, ckEllipse, ckBox, ckCross}) {
    const double Second = Kind == ckRect ? 10 : 0;  // corners, or half-sizes
    TvxChartItem I = MakeItem(Kind, 10, 10, Second, Second, clRed);
    I.FillColor = clBlue;
    S.Draw(I);
    EXPECT_EQ(S.Count(clRed), 1) << int(Kind);
    EXPECT_EQ(S.Count(clBlue), 0) << int(Kind);
  }
}

TEST(RenderShapes, BarDepthAt135DegreesGoesUpAndLeft) {
  TPixelScene S(40, 50);
  TvxChartItem B = MakeItem(ckBar3D, 10, 30, 20, 40, clRed);
  B.FillColor = clBlue;
  B.Size1 = 135;
  B.Size2 = 10;
  S.Draw(B);
  EXPECT_EQ(S.At(15, 35), clBlue);  // front
  EXPECT_EQ(S.At(10, 35), clRed);   // front outline
  EXPECT_EQ(S.At(20, 40), clRed);   // corner-inclusive front
  EXPECT_EQ(S.At(12, 27), clBlue);  // top face, up and left
  EXPECT_EQ(S.At(7, 35), clBlue);   // side face, on the left
  EXPECT_EQ(S.At(24, 25), White);   // nothing up and right
  EXPECT_EQ(S.At(22, 35), White);
}

TEST(RenderShapes, CrossCentreIsWhereTheNextDrawToStarts) {
  TPixelScene S(40, 40);
  TvxChartItem C = MakeItem(ckCross, 10, 10, 3, 2, clRed);
  C.CoordMode = cmWorldPixel;  // half-sizes in pixels
  S.Draw(C);
  // Corner-inclusive corners (7, 13) and (14, 8); the strokes exclude their ends.
  EXPECT_EQ(S.Extent(clRed), (TRect{7, 9, 13, 13}));
  S.Draw(MakeItem(ckDrawTo, 30, 10, 0, 0, clBlue));
  S.Finish();
  EXPECT_EQ(S.At(20, 10), clBlue);
  EXPECT_EQ(S.At(14, 10), clBlue);
}

// ---- arrows ------------------------------------------------------------------------------------

TEST(RenderArrows, DownwardDoubleArrowPointsUpAtTheStartAndDownAtTheEnd) {
  TPixelScene S(40, 50);
  TvxChartItem A = MakeItem(ckArrow2, 20, 10, 20, 40, clRed);
  A.CoordMode = cmPixel;
  A.FillColor = clBlue;
  A.Size1 = 8;
  S.Draw(A);
  EXPECT_EQ(S.At(20, 25), clRed);
  EXPECT_EQ(S.At(20, 15), clBlue);  // start head below its tip
  EXPECT_EQ(S.At(19, 6), White);
  EXPECT_EQ(S.At(20, 35), clBlue);  // end head above its tip
  EXPECT_EQ(S.At(20, 42), White);

  TPixelScene O(40, 50);
  A.Flag = true;  // open heads: two strokes each
  O.Draw(A);
  EXPECT_EQ(O.Count(clBlue), 0);
  EXPECT_EQ(O.At(18, 15), clRed);
  EXPECT_EQ(O.At(19, 16), White);
}

// ---- texts ------------------------------------------------------------------------------------

TEST(RenderTexts, ThreeCentredLinesShareOneAxisAndTheFirstSitsOnThePoint) {
  TPixelScene S(160, 100);
  TvxChartItem T = MakeText(80, 30, "", 2, 12, clRed);
  T.LineWidth = S.Texts.Add("I\nWWWWWWWW\nMMM");
  T.CoordMode = cmPixel;
  S.Draw(T);
  const TTextMeasure M = MeasureText("I\nWWWWWWWW\nMMM", S.Image.Canvas());
  const int Top = 30 - M.LineHeight / 2;
  for (int K = 0; K < 3; ++K) {
    int L = 1000, R = -1;
    for (int Y = Top + K * M.LineHeight; Y < Top + (K + 1) * M.LineHeight; ++Y)
      for (int X = 0; X <= 160; ++X)
        if (S.At(X, Y) == clRed) {
          L = std::min(L, X);
          R = std::max(R, X);
        }
    ASSERT_GE(R, 0) << "line " << K;
    EXPECT_NEAR((L + R) / 2.0, 80.0, 2.0) << "line " << K;
  }
  EXPECT_GE(S.Extent(clRed).Top, Top);
  EXPECT_LE(S.Extent(clRed).Bottom, Top + 3 * M.LineHeight);
}

TEST(RenderTexts, AlignmentOpaqueBackgroundAndTheTextHook) {
  TPixelScene S(200, 60);
  TvxChartItem T = MakeText(100, 20, "Right", 1, 10, clRed);
  T.CoordMode = cmPixel;
  T.FillColor = clYellow;
  T.Size2 = 1;  // opaque
  S.Draw(T);
  const TRect R = S.Extent(clRed);
  EXPECT_LE(R.Right, 100);
  EXPECT_GT(R.Right, 90);
  EXPECT_GT(S.Count(clYellow), 0);
  EXPECT_EQ(S.Extent(clYellow).Right, 99);  // the background ends where the text does

  int Calls = 0;
  S.Renderer->OnBeforeRenderText = [&](std::string& Text, int Index, bool IsAnnotation) {
    ++Calls;
    EXPECT_EQ(Index, 4);
    EXPECT_FALSE(IsAnnotation);
    Text.clear();
  };
  TvxChartItem Gone = MakeText(100, 45, "Gone", 0, 10, clBlue);
  Gone.CoordMode = cmPixel;
  S.Draw(Gone, 4);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(S.Count(clBlue), 0);
}

// ---- monochrome ----------------------------------------------------------------------

TEST(RenderLook, MonochromeDrawsBlackPensAndSilverFills) {
  TPixelScene S(20, 20);
  S.Frame.Monochrome = true;
  S.Start();
  TvxChartItem R = MakeItem(ckRect, 2, 2, 10, 10, clRed);
  R.FillColor = clBlue;
  S.Draw(R);
  EXPECT_EQ(S.At(2, 2), clBlack);
  EXPECT_EQ(S.At(6, 6), clSilver);
  EXPECT_EQ(S.Count(clRed) + S.Count(clBlue), 0);
}

// ---- the drawing-state cache ------------------------------------------------------------

// Items that change the canvas behind the cache must not leak their state
// into later items: a character mark sets the font colour to its pen colour.
TEST(RenderStateCache, TextAfterACharacterMarkKeepsItsOwnColour) {
  TPixelScene S(120, 40);
  S.Draw(MakeText(10, 20, "WWW", 0, 12, clRed));
  S.Draw(MakeMark(50, 20, 'B', clBlue));
  const int BlueOfMark = S.Count(clBlue);
  ASSERT_GT(BlueOfMark, 0);
  S.Draw(MakeText(70, 20, "WWW", 0, 12, clRed));
  EXPECT_EQ(S.Count(clBlue), BlueOfMark);  // the second text adds no blue
  EXPECT_GT(render_test::CountColour(S.Image, clRed, {65, 0, 121, 41}), 0);
}

// The same random item sequences drawn with the cache and with every value
// written each time must give the same pixels.
TEST(RenderStateCache, CachedRenderingMatchesRenderingWithoutTheCache) {
  constexpr int W = 160, H = 120;
  for (unsigned Seed = 1; Seed <= 60; ++Seed) {
    TPixelScene Cached(W, H), Plain(W, H);
    Plain.Renderer->SetStateCacheEnabled(false);
    for (TPixelScene* S : {&Cached, &Plain}) {
      S->Texts.Add("Line one\nline 2");
      S->Texts.Add("Z");
    }
    std::mt19937 R(Seed);
    for (int K = 0; K < 80; ++K) {
      const TvxChartItem I = RandomItem(R, W, H);
      Cached.Draw(I, K);
      Plain.Draw(I, K);
    }
    Cached.Finish();
    Plain.Finish();
    int Differ = 0;
    for (int Y = 0; Y <= H; ++Y)
      for (int X = 0; X <= W; ++X) Differ += Cached.At(X, Y) != Plain.At(X, Y);
    EXPECT_EQ(Differ, 0) << "seed " << Seed;
  }
}

}  // namespace
}  // namespace zkw
