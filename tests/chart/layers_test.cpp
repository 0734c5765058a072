// Layer arithmetic without a window: factors, the transform both ways, pan
// limits, range storing rules, the range history and the isometric rule.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "chart/layers.h"

namespace zkw {
namespace {

// The demo chart: 505 by 345 pixels, margins 50, 20, 20, 40, no shadow.
TPlotGeometry DemoGeometry() { return TPlotGeometry{505, 345, 50, 20, 20, 40, 0}; }

TLayerTransform MakeTransform(const TAxisRange& X, const TAxisRange& Y, const TPlotGeometry& G) {
  TLayerFactors F;
  EXPECT_TRUE(ComputeXFactors(X, G, F.XFactor, F.XOffset));
  EXPECT_TRUE(ComputeYFactors(Y, G, F.YFactor, F.YOffset));
  return TLayerTransform::Make(F, X, Y, G.Width, G.Height);
}

// PixelX / PixelY take a double-precision shortcut; over many ranges and
// sizes, and for points placed right on pixel boundaries, they must give the
// integers of the exact path (the pixel of the unrounded extended value).
TEST(LayerTransform, QuickPixelsEqualTheExactPathOnAndAroundPixelBoundaries) {
  std::uint32_t Seed = 99;
  auto Uniform = [&Seed] {
    Seed = Seed * 134775813u + 1u;
    return static_cast<double>(Seed) / 4294967296.0;
  };
  const double Scales[] = {1e-9, 1e-3, 1, 7.3, 1e3, 1e6, 1e12};
  int Quick = 0;
  // The shortcut converts in the processor's rounding mode, which a host may
  // have changed: every mode must give the exact path's pixels.
  struct TRestoreRounding {
    ~TRestoreRounding() { std::fesetround(FE_TONEAREST); }
  } Restore;
  for (int Case = 0; Case < 800; ++Case) {
    static constexpr int Modes[] = {FE_TONEAREST, FE_TOWARDZERO, FE_UPWARD, FE_DOWNWARD};
    std::fesetround(Modes[(Case / 7) % 4]);
    const double Scale = Scales[Case % 7];
    const double Low = (Uniform() - 0.5) * Scale * (Case % 5 == 0 ? 1e6 : 10);
    const double High = Low + (Uniform() + 1e-6) * Scale * (Case % 2 ? 1 : -1);
    const TPlotGeometry G{100 + static_cast<int>(Uniform() * 2000), 80 + static_cast<int>(Uniform() * 1500),
                          static_cast<int>(Uniform() * 60), 20, static_cast<int>(Uniform() * 60), 40, 0};
    const TAxisRange X{Low, High, false}, Y{High, Low, false};
    TLayerFactors F;
    ASSERT_TRUE(ComputeXFactors(X, G, F.XFactor, F.XOffset));
    ASSERT_TRUE(ComputeYFactors(Y, G, F.YFactor, F.YOffset));
    const TLayerTransform T = TLayerTransform::Make(F, X, Y, G.Width, G.Height);
    Quick += T.XQuick;
    auto Check = [&](double V) {
      ASSERT_EQ(T.PixelX(V), PixelFromDouble(T.RawX(V))) << "case " << Case << " x " << V;
      ASSERT_EQ(T.PixelY(V), PixelFromDouble(T.RawY(V))) << "case " << Case << " y " << V;
    };
    for (int K = 0; K < 200; ++K) {
      // A random point of the range and beyond, and the world values of pixel
      // centres and of the halves between pixels with their neighbours.
      Check(Low + (High - Low) * (Uniform() * 3 - 1));
      const double PX = std::floor(Uniform() * G.Width) + (K % 2 ? 0.5 : 0.0);
      const double V = static_cast<double>((static_cast<Extended>(PX) - F.XOffset) / F.XFactor);
      for (double W : {V, std::nextafter(V, -1e308), std::nextafter(V, 1e308)}) Check(W);
      const double VY = static_cast<double>((static_cast<Extended>(PX) - F.YOffset) / F.YFactor);
      for (double W : {VY, std::nextafter(VY, -1e308), std::nextafter(VY, 1e308)}) Check(W);
    }
    for (double V : {0.0, -0.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
      Check(V);
  }
  EXPECT_GT(Quick, 400);  // the shortcut was really taken
}

TEST(PlotGeometry, PlotRectangleAndDataImage) {
  TPlotGeometry G = DemoGeometry();
  G.ShadowWidth = 5;
  EXPECT_EQ(G.PlotRight(), 480);
  EXPECT_EQ(G.PlotBottom(), 300);
  EXPECT_EQ(G.PlotWidth(), 430);
  EXPECT_EQ(G.DataImageHeight(), 281);
  EXPECT_TRUE(G.InPlot(50, 20));
  EXPECT_TRUE(G.InPlot(480, 300));
  EXPECT_FALSE(G.InPlot(480, 301));
  EXPECT_FALSE(G.InPlot(49, 100));
  EXPECT_FALSE(G.InPlot(481, 100));
  const TPlotGeometry Tiny{40, 30, 50, 20, 20, 40, 0};
  EXPECT_EQ(Tiny.DataImageWidth(), 0);
  EXPECT_EQ(Tiny.DataImageHeight(), 0);
}

// Margins take every 32-bit value; the plot's edges and extents are exact
// 64-bit sums, clamped into +-2147483647 where they are handed out as ints.
TEST(PlotGeometry, ExtremeMarginsGiveClampedEdgesAndATransformOnTheTrueEdges) {
  constexpr int Min = std::numeric_limits<int>::min(), Max = std::numeric_limits<int>::max();
  const TPlotGeometry Left{280, 200, Min, 10, 16, 32, 0};
  EXPECT_EQ(Left.PlotRight(), 270);
  EXPECT_EQ(Left.PlotWidth64(), 270 + 2147483648LL);
  EXPECT_EQ(Left.PlotWidth(), 2147483647);
  EXPECT_EQ(Left.DataImageHeight(), 153);
  // The plot's corner lies far beyond the reach of anything drawn: no image.
  EXPECT_EQ(Left.DataImageWidth(), 0);
  EXPECT_TRUE(Left.InPlot(0, 100));
  const TLayerTransform T = MakeTransform({0, 1, false}, {0, 1, false}, Left);
  EXPECT_EQ(T.PixelX(0), -2147483647);  // the left edge, clamped
  EXPECT_EQ(T.PixelX(1), 270);
  EXPECT_EQ(T.PixelX(1 - 100.0 / (270 + 2147483648.0)), 170);
  EXPECT_EQ(T.PixelY(0), 168);

  const TPlotGeometry All{280, 200, Min, Min, Min, Min, 32};
  EXPECT_EQ(All.PlotRight(), 2147483647);
  EXPECT_EQ(All.PlotBottom(), 2147483647);
  EXPECT_EQ(All.PlotWidth64(), 280 - 32 + 2 * 2147483648LL);
  EXPECT_EQ(All.PlotHeight(), 2147483647);
  EXPECT_EQ(All.DataImageWidth(), 0);
  EXPECT_EQ(All.DataImageHeight(), 0);
  const TLayerTransform A = MakeTransform({0, 1, false}, {0, 1, false}, All);
  EXPECT_EQ(A.PixelX(0.5), 124);  // the middle of -2^31 .. 2^31 + 248
  EXPECT_EQ(A.PixelY(0.5), 84);   // the middle of 2^31 + 168 .. -2^31

  // Far margins of the negative extreme: the image stops one pixel past the control.
  const TPlotGeometry Far{280, 200, 50, Min, 16, Min, 0};
  EXPECT_EQ(Far.PlotWidth(), 2147483647);
  EXPECT_EQ(Far.DataImageWidth(), 231);
  EXPECT_EQ(Far.DataImageHeight(), 185);

  const TPlotGeometry Huge{280, 200, Max, Max, Max, Max, 32};
  EXPECT_EQ(Huge.PlotRight(), 280 - 32 - Max);
  EXPECT_EQ(Huge.PlotWidth(), -2147483647);
  EXPECT_EQ(Huge.DataImageWidth(), 0);
  const TLayerTransform H = MakeTransform({0, 1, false}, {0, 1, false}, Huge);
  EXPECT_EQ(H.PixelX(0.7), 140);  // no plot width: the control's middle
  EXPECT_EQ(H.PixelY(0.7), 100);

  double Low = 0, High = 0;
  IsometricYRange(0, 10, 2, 4, All.PlotWidth64(), All.PlotHeight64(), 1, 1, Low, High);
  EXPECT_NEAR(High - Low, 10.0, 1e-6);
}

TEST(LayerTransform, DemoLayerMapsItsRangeOntoThePlotEdges) {
  const TLayerTransform T = MakeTransform({1000, 3300, false}, {-2, 3, false}, DemoGeometry());
  EXPECT_EQ(T.PixelX(1000), 50);
  EXPECT_EQ(T.PixelX(3300), 485);
  EXPECT_EQ(T.PixelY(3), 20);
  EXPECT_EQ(T.PixelY(-2), 305);
  EXPECT_DOUBLE_EQ(T.WorldX(50), 1000.0);
  EXPECT_NEAR(T.WorldY(305), -2.0, 1e-12);
  // Far outside the range is extrapolated, not clamped to the plot...
  EXPECT_EQ(T.PixelX(-1e6), RealToPixel(static_cast<double>(-1e6L * T.XFactor + T.XOffset)));
  EXPECT_LT(T.PixelX(-1e6), -150000);
  // ...and only clamped at the 32-bit limit; NaN does not reach undefined behaviour.
  EXPECT_EQ(T.PixelX(1e300), 2147483647);
  EXPECT_EQ(T.PixelY(1e300), -2147483647);
  EXPECT_EQ(T.PixelX(std::numeric_limits<double>::infinity()), 2147483647);
  (void)T.PixelX(std::numeric_limits<double>::quiet_NaN());
}

TEST(LayerTransform, ReversedRangeMirrorsTheAxis) {
  const TLayerTransform T = MakeTransform({10, 0, false}, {0, 10, false}, DemoGeometry());
  EXPECT_EQ(T.PixelX(10), 50);
  EXPECT_EQ(T.PixelX(0), 485);
}

TEST(LayerTransform, PlotWithoutExtentMapsEverythingToTheMiddle) {
  const TPlotGeometry G{60, 50, 50, 20, 20, 40, 0};  // width and height too small
  TLayerFactors F;
  ASSERT_TRUE(ComputeXFactors({0, 1, false}, G, F.XFactor, F.XOffset));
  ASSERT_TRUE(ComputeYFactors({0, 1, false}, G, F.YFactor, F.YOffset));
  EXPECT_EQ(F.XFactor, 0);
  EXPECT_EQ(F.YFactor, 0);
  const TLayerTransform T = TLayerTransform::Make(F, {0, 1, false}, {0, 1, false}, 60, 50);
  EXPECT_EQ(T.PixelX(-1e9), 30);
  EXPECT_EQ(T.PixelX(1e9), 30);
  EXPECT_EQ(T.PixelY(0.5), 25);
  EXPECT_EQ(T.WorldX(30), 0.0);  // no inverse: a defined value instead of a division by zero
}

TEST(LayerTransform, LogarithmicAxes) {
  const TPlotGeometry G{500, 300, 50, 50, 50, 50, 0};  // plot 50..450 by 50..250
  const TLayerTransform T = MakeTransform({1, 10000, true}, {0.1, 10, true}, G);
  EXPECT_EQ(T.PixelX(1), 50);
  EXPECT_EQ(T.PixelX(100), 250);
  EXPECT_EQ(T.PixelX(10000), 450);
  EXPECT_EQ(T.PixelY(1), 150);
  EXPECT_NEAR(T.WorldX(250), 100.0, 1e-9);
  // Non-positive values go to the control's side at the axis' low end.
  EXPECT_EQ(T.PixelX(0), 0);
  EXPECT_EQ(T.PixelX(-5), 0);
  EXPECT_EQ(T.PixelY(0), 300);
  const TLayerTransform Reversed = MakeTransform({10000, 1, true}, {10, 0.1, true}, G);
  EXPECT_EQ(Reversed.PixelX(0), 500);
  EXPECT_EQ(Reversed.PixelY(-1), 0);
  // An axis reaching 0 or below has no logarithmic factors; they stay as they were.
  Extended Factor = 7, Offset = 8;
  EXPECT_FALSE(ComputeXFactors({0, 10, true}, G, Factor, Offset));
  EXPECT_FALSE(ComputeYFactors({1, -10, true}, G, Factor, Offset));
  EXPECT_EQ(Factor, 7);
  EXPECT_EQ(Offset, 8);
}

TEST(PanLimits, PanModesKeepTheWidthOtherModesMoveOneEnd) {
  Extended Low = -5, High = 5;
  ApplyPanLimit(Low, High, 0, 100, true);
  EXPECT_EQ(Low, 0);
  EXPECT_EQ(High, 10);
  Low = 95, High = 105;
  ApplyPanLimit(Low, High, 0, 100, true);
  EXPECT_EQ(Low, 90);
  EXPECT_EQ(High, 100);
  Low = -5, High = 105;
  ApplyPanLimit(Low, High, 0, 100, false);
  EXPECT_EQ(Low, 0);
  EXPECT_EQ(High, 100);
  Low = 150, High = 160;
  ApplyPanLimit(Low, High, 0, 100, false);
  EXPECT_EQ(Low, 100);
  EXPECT_EQ(High, 100);
  EXPECT_FALSE(TPanLimits{}.Active());
  EXPECT_TRUE((TPanLimits{0, 0, 0, 1}).Active());
}

TEST(StoreAxisRange, NarrowRangesAndTinyLogarithmicEndsAreIgnored) {
  double Low = 0, High = 1;
  EXPECT_FALSE(StoreAxisRange(2, 2 + 0.98e-10L, false, 1e-10, Low, High));
  EXPECT_EQ(Low, 0);
  EXPECT_TRUE(StoreAxisRange(2, 2 + 0.995e-10L, false, 1e-10, Low, High));
  EXPECT_EQ(Low, 2);
  EXPECT_TRUE(StoreAxisRange(-3, 4, false, 1e-10, Low, High));
  EXPECT_EQ(Low, -3);
  EXPECT_EQ(High, 4);
  Low = 1, High = 10;
  EXPECT_TRUE(StoreAxisRange(0, 100, true, 1e-10, Low, High));
  EXPECT_EQ(Low, 1);
  EXPECT_EQ(High, 100);
  EXPECT_FALSE(StoreAxisRange(-1, 0, true, 1e-10, Low, High));
  EXPECT_FALSE(StoreAxisRange(std::numeric_limits<Extended>::quiet_NaN(), 5, false, 1e-10, Low, High));
  EXPECT_FALSE(StoreAxisRange(0, std::numeric_limits<Extended>::infinity(), false, 1e-10, Low, High));
  // Wide enough in extended precision, but not once stored: beyond the
  // doubles, or both ends rounding to one double (they lie 1.5e-8 apart at 1e8).
  EXPECT_FALSE(StoreAxisRange(0, 1e400L, false, 1e-10, Low, High));
  EXPECT_FALSE(StoreAxisRange(-1e400L, 0, false, 1e-10, Low, High));
  EXPECT_FALSE(StoreAxisRange(1e8L, 1e8L + 5e-10L, false, 1e-10, Low, High));
  EXPECT_EQ(Low, 1);
  EXPECT_EQ(High, 100);
  EXPECT_TRUE(StoreAxisRange(1e8L, 1e8L + 2e-8L, false, 1e-10, Low, High));
  EXPECT_LT(Low, High);
}

TEST(RangeHistory, RingOfSixteenWrapsToTheFirstSlot) {
  TRangeHistory H;
  TRangeSnapshot S{};
  for (int I = 1; I <= 16; ++I) {
    S[0][0] = I;
    H.Push(S);
  }
  EXPECT_EQ(H.Position(), 1);
  EXPECT_EQ(H.Snapshot(16)[0][0], 16);
  S[0][0] = 17;
  H.Push(S);
  EXPECT_EQ(H.Position(), 2);
  EXPECT_EQ(H.Snapshot(1)[0][0], 17);
  H.Clear();
  EXPECT_EQ(H.Position(), 1);
  EXPECT_EQ(H.Snapshot(16)[0][0], 0);
}

// A snapshot whose layer 1 has x low V (the rest as recorded by a chart: never all zero).
TRangeSnapshot Ranges(double V) {
  TRangeSnapshot S{};
  S[0] = {V, 1, V + 1, 0};
  return S;
}

TEST(RangeHistory, StepBackReturnsToTheLatestEntryOrTheLatestOtherOne) {
  TRangeHistory H;
  TRangeSnapshot Target = Ranges(-1);
  EXPECT_FALSE(H.StepBack(Ranges(5), Target));  // nothing recorded
  EXPECT_EQ(Target, Ranges(-1));

  for (double V : {1.0, 2.0, 2.0, 3.0}) H.Push(Ranges(V));
  // Moved since the latest entry: back to that entry, the ring unchanged.
  ASSERT_TRUE(H.StepBack(Ranges(7), Target));
  EXPECT_EQ(Target, Ranges(3));
  EXPECT_EQ(H.Position(), 5);
  EXPECT_EQ(H.Snapshot(4), Ranges(3));

  // At the latest entry: the one before, which forgets the entry left.
  ASSERT_TRUE(H.StepBack(Ranges(3), Target));
  EXPECT_EQ(Target, Ranges(2));
  EXPECT_EQ(H.Position(), 4);
  EXPECT_EQ(H.Snapshot(4), TRangeSnapshot{});
  // Entries equal to the current ranges are stepped over and forgotten together.
  ASSERT_TRUE(H.StepBack(Ranges(2), Target));
  EXPECT_EQ(Target, Ranges(1));
  EXPECT_EQ(H.Position(), 2);
  EXPECT_EQ(H.Snapshot(2), TRangeSnapshot{});
  EXPECT_EQ(H.Snapshot(3), TRangeSnapshot{});
  // The oldest entry has nothing before it: no step, nothing changes.
  EXPECT_FALSE(H.StepBack(Ranges(1), Target));
  EXPECT_EQ(H.Position(), 2);
  EXPECT_EQ(H.Snapshot(1), Ranges(1));
  // The next record continues after the entry returned to.
  H.Push(Ranges(9));
  EXPECT_EQ(H.Snapshot(2), Ranges(9));
}

TEST(RangeHistory, StepBackAcrossTheEndOfTheRingNeverReachesNewerEntries) {
  TRangeHistory H;
  for (int V = 1; V <= 20; ++V) H.Push(Ranges(V));  // slots hold 17..20, 5..16
  ASSERT_EQ(H.Position(), 5);
  TRangeSnapshot Target{};
  int Steps = 0;
  double Current = 20;
  while (H.StepBack(Ranges(Current), Target)) {
    ++Steps;
    EXPECT_EQ(Target, Ranges(Current - 1));  // always the next older entry
    Current = Target[0][0];
  }
  EXPECT_EQ(Steps, 15);
  EXPECT_EQ(Current, 5);
  // A full ring of equal entries has nothing to go back to.
  TRangeHistory Same;
  for (int I = 0; I < TRangeHistory::Size; ++I) Same.Push(Ranges(4));
  EXPECT_FALSE(Same.StepBack(Ranges(4), Target));
  EXPECT_EQ(Same.Snapshot(16), Ranges(4));
}

TEST(Isometric, YRangeMatchesTheXScaleAroundItsCentre) {
  double Low = 0, High = 0;
  // Plot of 200 by 100 image pixels, square pixels, x range 10 wide.
  IsometricYRange(0, 10, 2, 4, 199, 99, 1, 1, Low, High);
  EXPECT_DOUBLE_EQ(High - Low, 5.0);
  EXPECT_DOUBLE_EQ((High + Low) / 2, 3.0);
  // Pixels twice as high as wide need half as many world units per pixel row.
  IsometricYRange(0, 10, 2, 4, 199, 99, 1, 2, Low, High);
  EXPECT_DOUBLE_EQ(High - Low, 10.0);
  // Without a plot the range stays.
  IsometricYRange(0, 10, 2, 4, -1, 99, 1, 1, Low, High);
  EXPECT_EQ(Low, 2);
  EXPECT_EQ(High, 4);
}

}  // namespace
}  // namespace zkw
