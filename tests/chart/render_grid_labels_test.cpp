// The grid walks (linear, logarithmic, at the scale's ticks, with their
// limits) and the text labels (placement, boxes, order), on small images.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "render_support.h"

namespace zkw {
namespace {

using render_test::PixelTransform;
using render_test::White;

// ---- grid --------------------------------------------------------------------------------------

// A control of W x H pixels without margins, x and y ranges as given.
TGridSettings MakeGrid(int W, int H, TAxisRange X, TAxisRange Y, GridStyleType Style, double Dx, double Dy) {
  const TPlotGeometry G{W, H, 0, 0, 0, 0, 0};
  TLayerFactors F;
  ComputeXFactors(X, G, F.XFactor, F.XOffset);
  ComputeYFactors(Y, G, F.YFactor, F.YOffset);
  TGridSettings S;
  S.Style = Style;
  S.Color = clRed;
  S.ChartColor = clWhite;
  S.Transform = TLayerTransform::Make(F, X, Y, W, H);
  S.X = {X.Low, X.High, X.Logarithmic, Dx, {}, X.Low, X.High};
  S.Y = {Y.Low, Y.High, Y.Logarithmic, Dy, {}, Y.Low, Y.High};
  return S;
}

// The columns of row Y holding the grid colour.
std::set<int> RedColumns(TBitmap& B, int Y) {
  std::set<int> Columns;
  for (int X = 0; X < B.Width(); ++X)
    if (B.Canvas().Pixels(X, Y) == clRed) Columns.insert(X);
  return Columns;
}

std::set<int> PixelsOf(const TGridSettings& S, std::initializer_list<double> Values) {
  std::set<int> P;
  for (double V : Values) P.insert(S.Transform.PixelX(V));
  return P;
}

TEST(Grid, LinearStepStopsBelowTheUpperEnd) {
  TBitmap B(101, 51);
  const TGridSettings S = MakeGrid(100, 50, {0, 10, false}, {0, 5, false}, gsVertLines, 2.5, 0);
  DrawGrid(B.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B, 25), (std::set<int>{0, 25, 50, 75}));
  // Each line runs from the bottom of the y range up to, not including, its top.
  EXPECT_EQ(B.Canvas().Pixels(25, 50), clRed);
  EXPECT_EQ(B.Canvas().Pixels(25, 1), clRed);
  EXPECT_EQ(B.Canvas().Pixels(25, 0), White);
}

TEST(Grid, LogarithmicRules) {
  TBitmap B(1001, 11);
  TGridSettings S = MakeGrid(1000, 10, {3, 2000, true}, {0, 1, false}, gsVertLines, -1, 0);
  DrawGrid(B.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B, 5), PixelsOf(S, {10, 100, 1000}));

  TBitmap B2(1001, 11);
  S = MakeGrid(1000, 10, {3, 200, true}, {0, 1, false}, gsVertLines, -2, 0);
  DrawGrid(B2.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B2, 5), PixelsOf(S, {5, 10, 20, 50, 100}));

  TBitmap B3(1001, 11);
  S = MakeGrid(1000, 10, {3, 200, true}, {0, 1, false}, gsVertLines, -3, 0);
  DrawGrid(B3.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B3, 5),
            PixelsOf(S, {3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_FALSE(RedColumns(B3, 5).count(S.Transform.PixelX(200)));
}

TEST(Grid, NextValuesOfTheWalks) {
  TGridAxis A{1, 1000, true, -2, {}, 1, 1000};
  EXPECT_DOUBLE_EQ(NextGridValue(A, 2, 0.05), 0.1);
  EXPECT_DOUBLE_EQ(NextGridValue(A, 2, 300), 1000);  // mantissa 3 is not on the 1-2-5 walk: next decade
  EXPECT_DOUBLE_EQ(FirstGridValue(A, 1), 2);
  // On a linear axis a negative step walks upwards by its size; its start
  // rounds away from the range (that value lies off the plot).
  const TGridAxis L{-3, 3, false, -2, {}, -3, 3};
  EXPECT_DOUBLE_EQ(FirstGridValue(L, -3), -4);
  EXPECT_DOUBLE_EQ(NextGridValue(L, 2, -4), -2);
}

TEST(Grid, ZeroStepFollowsTheScaleTicks) {
  TBitmap B(101, 11);
  TGridSettings S = MakeGrid(100, 10, {0, 100, false}, {0, 1, false}, gsVertLines, 0, 0.5);
  S.X.Ticks = {0, 20, 40, 60, 80, 100};
  DrawGrid(B.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B, 5), (std::set<int>{0, 20, 40, 60, 80}));
  // Without ticks: one line at the scale's lower end.
  TBitmap B2(101, 11);
  S.X.Ticks.clear();
  DrawGrid(B2.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B2, 5), (std::set<int>{0}));
}

TEST(Grid, PointsStopAfterAThousand) {
  TBitmap B(101, 101);
  const TGridSettings S = MakeGrid(100, 100, {0, 50, false}, {0, 50, false}, gsPoints, 1, 1);
  DrawGrid(B.Canvas(), 0, 0, S, nullptr);
  int Count = 0, MaxX = -1;
  for (int Y = 0; Y <= 100; ++Y)
    for (int X = 0; X <= 100; ++X)
      if (B.Canvas().Pixels(X, Y) == clRed) {
        ++Count;
        MaxX = std::max(MaxX, X);
      }
  EXPECT_EQ(Count, 1000);
  EXPECT_EQ(MaxX, S.Transform.PixelX(19));  // the first 20 columns of 50
}

TEST(Grid, WalksThatCannotProgressEnd) {
  TBitmap B(101, 11);
  // A step far below the values' precision, and a y walk that is empty.
  TGridSettings S = MakeGrid(100, 10, {1000, 2000, false}, {0, 1, false}, gsPoints, 1e-300, 0);
  S.Y.ScaleLow = 5;  // no ticks: the walk starts above the range
  S.Y.ScaleHigh = 6;
  DrawGrid(B.Canvas(), 0, 0, S, nullptr);
  S.Style = gsLines;
  DrawGrid(B.Canvas(), 0, 0, S, nullptr);
  EXPECT_EQ(RedColumns(B, 5).size(), 1u);
}

// ---- text labels -------------------------------------------------------------------------------

class TextLabels : public ::testing::Test {
 protected:
  TextLabels() : Image(300, 200) {
    Frame.MarginLeft = 10;
    Frame.MarginTop = 5;
    for (int L = 0; L < LayerCount; ++L) {
      Frame.Transforms[static_cast<std::size_t>(L)] = PixelTransform(300, 200);
      Frame.LayerVisible[static_cast<std::size_t>(L)] = true;
    }
  }
  void Setup(TTextLabel& L, double X, double Y, const std::string& Caption) {
    L.SetMode(tlsimple);
    L.SetVisible(true);
    L.SetAttachToData(tlamNone);
    L.SetPosX(X);
    L.SetPosY(Y);
    L.SetCaption(Caption);
    L.SetColorBkg(clYellow);
    L.SetColorBorder(clBlue);
    L.SetColorShadow(clGray);
    L.SetAlignment(taLeftJustify);
    L.SetVerticalAlignment(vaTop);
    L.Font().SetColor(clRed);
  }
  TRect Extent(TColor C) { return render_test::ExtentOf(Image, C); }
  void Draw(const TTextLabel& L) { DrawTextLabel(Image.Canvas(), 0, 0, TTextLabelLook::Of(L), Frame, nullptr); }
  TBitmap Image;
  TLabelRenderFrame Frame;
};

TEST_F(TextLabels, HiddenLabelsDrawNothing) {
  TTextLabel L;
  Setup(L, 100, 50, "Hidden");
  L.SetMode(tlOff);
  Draw(L);
  L.SetMode(tlBox);
  L.SetVisible(false);
  Draw(L);
  L.SetVisible(true);
  Frame.LayerVisible[0] = false;
  Draw(L);
  EXPECT_EQ(Extent(clYellow).Left, -1);
  EXPECT_EQ(Extent(clBlue).Left, -1);
  EXPECT_EQ(Extent(clRed).Left, -1);
}

TEST_F(TextLabels, PixelAnchoredLabelSitsAtItsControlPixel) {
  TTextLabel L;
  Setup(L, 100, 50, "Label");
  Draw(L);
  const int W = Image.Canvas().TextWidth("Label"), H = Image.Canvas().TextHeight("Label");
  // Text top-left at control (100, 50), i.e. image (90, 45); the background
  // box reaches 4 pixels left and right and 2 up and down.
  EXPECT_EQ(Extent(clYellow), (TRect{86, 43, 90 + W + 3, 45 + H + 1}));
  const TRect T = Extent(clRed);
  EXPECT_GE(T.Left, 90);
  EXPECT_GE(T.Top, 45);
  EXPECT_LT(T.Bottom, 45 + H);
}

TEST_F(TextLabels, TwoCentredLinesAroundTheAnchor) {
  TTextLabel L;
  Setup(L, 150, 100, "One\nTwo");
  L.SetVerticalAlignment(vaCenter);
  L.SetAlignment(taCenter);
  Draw(L);
  const int H = Image.Canvas().TextHeight("One\nTwo");
  const TRect B = Extent(clYellow);
  EXPECT_EQ(B.Top, 95 - H - 2);     // anchor y 100 - MarginTop, block of two lines around it
  EXPECT_EQ(B.Bottom, 95 + H + 1);
  EXPECT_NEAR((B.Left + B.Right) / 2.0, 140.0, 1.0);
}

TEST_F(TextLabels, LabelOneLiesOnTopAndShadowsAreOffset) {
  TTextLabel One, Two;
  Setup(One, 100, 50, "Same");
  Setup(Two, 100, 50, "Same");
  Two.SetColorBkg(clLime);
  const TTextLabelLook Labels[2] = {TTextLabelLook::Of(One), TTextLabelLook::Of(Two)};
  DrawTextLabels(Image.Canvas(), 0, 0, Labels, 2, Frame, nullptr);
  EXPECT_EQ(Image.Canvas().Pixels(87, 44), clYellow);
  EXPECT_EQ(Extent(clLime).Left, -1);

  TBitmap Fresh(300, 200);
  TTextLabel S;
  Setup(S, 100, 50, "Shadow");
  S.SetMode(tlShadow);
  S.SetShadowDx(3);
  S.SetShadowDy(3);
  DrawTextLabel(Fresh.Canvas(), 0, 0, TTextLabelLook::Of(S), Frame, nullptr);
  Image.Canvas().Draw(0, 0, Fresh);
  const TRect Box = Extent(clBlue);      // the main box's border
  const TRect Shadow = Extent(clGray);   // what shows of the shadow box
  EXPECT_EQ(Shadow.Right, Box.Right + 3);
  EXPECT_EQ(Shadow.Bottom, Box.Bottom + 3);
}

}  // namespace
}  // namespace zkw
