// The range arithmetic of the mouse: plot-area pans and zoom drags, the zoom
// about a point and the wheel's factor, scale drags for every action,
// orientation and axis kind, their refusals and fallbacks, and the
// stand-alone scale's own drag handling.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

// The demo chart's geometry: 505 x 345, margins 50, 20, 20, 40, so the plot
// extent is 435 wide (x 50..485) and 285 high (y 20..305).
constexpr int W = 505, H = 345, L = 50, R = 20, T = 20, B = 40;

struct TDrag {
  int X, Y, X0, Y0;
  double Lo, Hi, Lo0, Hi0;
  bool Log;
  TScaleType Type;
  TMouseActMode Action;
};

struct TResult {
  bool Ok;
  double Lo, Hi;
};

TResult DragRange(const TDrag& D, int Width = W, int Height = H) {
  TResult Res{false, -777, -777};
  Res.Ok = ScaleDragRange({{D.X0, D.Y0}, {D.X, D.Y}}, {D.Lo, D.Hi, D.Log}, {D.Lo0, D.Hi0}, {D.Type, D.Action},
                          {Width, Height, L, R, T, B}, Res.Lo, Res.Hi);
  return Res;
}

// The value a horizontal (vertical) linear axis shows at a pixel.
double XValue(double Lo, double Hi, int X) { return Lo + (Hi - Lo) * (X - L) / (W - L - R); }
double YValue(double Lo, double Hi, int Y) { return Lo + (Hi - Lo) * (H - B - Y) / (H - T - B); }

TEST(ScaleDragRange, PanFollowsThePointerOnLinearAndLogarithmicAxes) {
  struct TCase {
    TDrag D;
    double Lo, Hi;
  };
  const TCase Cases[] = {
      // 87 pixels to the right over 2300 units in 435 pixels: the range moves left by 460.
      {{187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maPan}, 540, 2840},
      {{187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXB, maPan}, 540, 2840},
      // The current range sets the scale of the shift, the start range its origin.
      {{187, 0, 100, 0, 0, 4600, 1000, 3300, false, sctXT, maPan}, 80, 2380},
      // 57 pixels down over 5 units in 285 pixels: the range moves up by 1.
      {{0, 157, 0, 100, -2, 3, -2, 3, false, sctYR, maPan}, -1, 4},
      {{0, 43, 0, 100, -2, 3, -2, 3, false, sctYL, maPan}, -3, 2},
      // A third of the extent on 1..1000 is one decade.
      {{245, 0, 100, 0, 1, 1000, 1, 1000, true, sctXT, maPan}, 0.1, 100},
      {{0, 385, 0, 100, 1, 100, 1, 100, true, sctYL, maPan}, 100, 10000},
  };
  for (const TCase& C : Cases) {
    const TResult Res = DragRange(C.D);
    ASSERT_TRUE(Res.Ok);
    EXPECT_NEAR(Res.Lo, C.Lo, 1e-9 * std::fabs(C.Hi)) << C.D.X << "," << C.D.Y;
    EXPECT_NEAR(Res.Hi, C.Hi, 1e-9 * std::fabs(C.Hi)) << C.D.X << "," << C.D.Y;
  }
}

TEST(ScaleDragRange, LinearZoomKeepsTheFarEndAndTheValueUnderThePointer) {
  // Horizontal, start in the right half: the high end follows, the low stays.
  TResult Res = DragRange({300, 0, 400, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoom});
  ASSERT_TRUE(Res.Ok);
  EXPECT_DOUBLE_EQ(Res.Lo, 1000);
  EXPECT_NEAR(Res.Hi, 1000 + 2300.0 * 350 / 250, 1e-9);
  EXPECT_NEAR(XValue(Res.Lo, Res.Hi, 300), XValue(1000, 3300, 400), 1e-9);
  // Start in the left half: the low end follows.
  Res = DragRange({150, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXB, maZoom});
  ASSERT_TRUE(Res.Ok);
  EXPECT_DOUBLE_EQ(Res.Hi, 3300);
  EXPECT_NEAR(XValue(Res.Lo, Res.Hi, 150), XValue(1000, 3300, 100), 1e-9);
  // Vertical, start in the upper half (y 20..162): the high end follows.
  Res = DragRange({0, 100, 0, 50, -2, 3, -2, 3, false, sctYR, maZoom});
  ASSERT_TRUE(Res.Ok);
  EXPECT_DOUBLE_EQ(Res.Lo, -2);
  EXPECT_NEAR(YValue(Res.Lo, Res.Hi, 100), YValue(-2, 3, 50), 1e-12);
  // Lower half: the low end follows.
  Res = DragRange({0, 200, 0, 250, -2, 3, -2, 3, false, sctYL, maZoom});
  ASSERT_TRUE(Res.Ok);
  EXPECT_DOUBLE_EQ(Res.Hi, 3);
  EXPECT_NEAR(YValue(Res.Lo, Res.Hi, 200), YValue(-2, 3, 250), 1e-12);
}

TEST(ScaleDragRange, LogarithmicZoomScalesTheFarDecades) {
  // 1..10000: geometric middle 100, half ratio 100. A full extent's drag
  // squares the half ratio on the moving side.
  struct TCase {
    TDrag D;
    double Lo, Hi;
  };
  const TCase Cases[] = {
      {{0, 0, 435, 0, 1, 1e4, 1, 1e4, true, sctXT, maZoom}, 1, 1e6},        // right half, dragged left
      {{400, 0, 400, 0, 1, 1e4, 1, 1e4, true, sctXT, maZoom}, 1, 1e4},      // no movement
      {{535, 0, 100, 0, 1, 1e4, 1, 1e4, true, sctXB, maZoom}, 0.01, 1e4},   // left half, dragged right
      {{0, 335, 0, 50, 1, 1e4, 1, 1e4, true, sctYR, maZoom}, 1, 1e6},       // upper half, dragged down
      {{0, -35, 0, 250, 1, 1e4, 1, 1e4, true, sctYL, maZoom}, 0.01, 1e4},   // lower half, dragged up
  };
  for (const TCase& C : Cases) {
    const TResult Res = DragRange(C.D);
    ASSERT_TRUE(Res.Ok);
    EXPECT_NEAR(Res.Lo, C.Lo, 1e-9 * C.Lo);
    EXPECT_NEAR(Res.Hi, C.Hi, 1e-9 * C.Hi);
  }
}

TEST(ScaleDragRange, ZoomDragAboutTheMiddleUsesTheWholeControl) {
  struct TCase {
    TDrag D;
    double Lo, Hi;
  };
  const TCase Cases[] = {
      // 101 of 505 pixels: 0.8 and 1.2 of the width about the centre 2150.
      {{201, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoomDrag}, 1230, 3070},
      {{-1, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoomDrag}, 770, 3530},
      // 69 of 345 pixels down: 1.2 times the height about 0.5.
      {{0, 169, 0, 100, -2, 3, -2, 3, false, sctYR, maZoomDrag}, -2.5, 3.5},
      // Logarithmic: about the geometric middle 100.
      {{0, 0, 505, 0, 1, 1e4, 1, 1e4, true, sctXB, maZoomDrag}, 0.01, 1e6},
      {{0, 100, 0, 100, 1, 1e4, 1, 1e4, true, sctYL, maZoomDrag}, 1, 1e4},
  };
  for (const TCase& C : Cases) {
    const TResult Res = DragRange(C.D);
    ASSERT_TRUE(Res.Ok);
    EXPECT_NEAR(Res.Lo, C.Lo, 1e-9 * std::fabs(C.Hi));
    EXPECT_NEAR(Res.Hi, C.Hi, 1e-9 * std::fabs(C.Hi));
  }
}

TEST(ScaleDragRange, RefusesWhatHasNoFiniteResult) {
  const double Inf = std::numeric_limits<double>::infinity();
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const TDrag Refused[] = {
      // actions without scale arithmetic
      {187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maNone},
      {187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoomWind},
      {187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maRotate},
      // the pointer on the fixed end of a zoom: division by zero
      {L, 0, 400, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoom},
      {W - R, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoom},
      {0, H - B, 0, 50, -2, 3, -2, 3, false, sctYR, maZoom},
      {0, T, 0, 250, -2, 3, -2, 3, false, sctYR, maZoom},
      // logarithms of ends that are not above zero
      {187, 0, 100, 0, 0, 1000, 0, 1000, true, sctXT, maPan},
      {187, 0, 100, 0, -1, 1000, 1, 1000, true, sctXT, maPan},
      {187, 0, 100, 0, 1, 1000, 1, -1000, true, sctXT, maZoomDrag},
      // non-finite inputs and results
      {187, 0, 100, 0, NaN, 3300, 1000, 3300, false, sctXT, maPan},
      {187, 0, 100, 0, 1000, Inf, 1000, 3300, false, sctXT, maPan},
      {32000, 0, -32000, 0, -1e308, 1e308, -1e308, 1e308, false, sctXT, maPan},
      {-32000, 0, 32000, 0, 1e-300, 1e300, 1e-300, 1e300, true, sctXT, maPan},
  };
  for (const TDrag& D : Refused) {
    const TResult Res = DragRange(D);
    EXPECT_FALSE(Res.Ok) << D.X << "," << D.Y << " action " << static_cast<int>(D.Action);
    EXPECT_EQ(Res.Lo, -777);  // outputs untouched
    EXPECT_EQ(Res.Hi, -777);
  }
  // A control without plot extent or without size.
  const TDrag Pan{187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maPan};
  EXPECT_FALSE(DragRange(Pan, L + R, H).Ok);
  EXPECT_FALSE(DragRange(Pan, L + R - 10, H).Ok);
  const TDrag Vert{0, 150, 0, 100, -2, 3, -2, 3, false, sctYL, maPan};
  EXPECT_FALSE(DragRange(Vert, W, T + B).Ok);
  const TDrag ZoomDrag{187, 0, 100, 0, 1000, 3300, 1000, 3300, false, sctXT, maZoomDrag};
  EXPECT_FALSE(DragRange(ZoomDrag, 0, H).Ok);
}

// ---- plot-area pan and zooms ------------------------------------------------------------------

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Exact unless a tolerance is given.
void ExpectEnds(const TRangeEnds& R, double Low, double High, double Tolerance = 0) {
  if (Tolerance == 0) {
    EXPECT_EQ(static_cast<double>(R.Low), Low);
    EXPECT_EQ(static_cast<double>(R.High), High);
    return;
  }
  EXPECT_NEAR(static_cast<double>(R.Low), Low, Tolerance);
  EXPECT_NEAR(static_cast<double>(R.High), High, Tolerance);
}

TEST(PanAxis, ShiftsTheStartRangeAtTheScaleOfTheCurrentOne) {
  // 87 of 435 pixels towards the low end over 2300 units: 460 units.
  TPanStep P = PanAxis({1000, 3300, false}, {1000, 3300}, -87, 435);
  ExpectEnds(P.Range, 540, 2840, 1e-9);
  EXPECT_NEAR(static_cast<double>(P.Moved), -460, 1e-9);
  // The current range sets the scale of the shift, the start range its origin.
  P = PanAxis({0, 4600, false}, {1000, 3300}, 87, 435);
  ExpectEnds(P.Range, 1920, 4220, 1e-9);
  // A reversed axis moves the other way in values, the same way on the screen.
  P = PanAxis({3300, 1000, false}, {3300, 1000}, -87, 435);
  ExpectEnds(P.Range, 3760, 1460, 1e-9);
  // Logarithmic: a third of the extent on 1..1000 is one decade, and Moved
  // (the grid pan's linear shift) stays 0.
  P = PanAxis({1, 1000, true}, {1, 1000}, 145, 435);
  ExpectEnds(P.Range, 10, 10000, 1e-9);
  EXPECT_EQ(P.Moved, 0);
  P = PanAxis({1, 1000, true}, {1, 1000}, -145, 435);
  ExpectEnds(P.Range, 0.1, 100, 1e-12);
  // The same arithmetic as a pan on a scale.
  double Low = 0, High = 0;
  ASSERT_TRUE(ScaleDragRange({{100, 0}, {187, 0}}, {1, 1000, true}, {2, 50}, {sctXT, maPan}, {W, H, L, R, T, B},
                             Low, High));
  P = PanAxis({1, 1000, true}, {2, 50}, -87, W - L - R);
  EXPECT_EQ(static_cast<double>(P.Range.Low), Low);
  EXPECT_EQ(static_cast<double>(P.Range.High), High);
}

TEST(PanAxis, AnAxisThatCannotMoveKeepsItsCurrentRange) {
  const TAxisRange Linear{1000, 3300, false};
  // No plot extent.
  ExpectEnds(PanAxis(Linear, {0, 10}, 50, 0).Range, 1000, 3300);
  ExpectEnds(PanAxis(Linear, {0, 10}, 50, -5).Range, 1000, 3300);
  // A logarithmic range that is not above zero.
  ExpectEnds(PanAxis({0, 100, true}, {1, 10}, 50, 435).Range, 0, 100);
  ExpectEnds(PanAxis({-1, 100, true}, {1, 10}, 50, 435).Range, -1, 100);
  // Overflow and non-finite inputs: the current range, never an infinity.
  ExpectEnds(PanAxis({-1e308, 1e308, false}, {-1e308, 1e308}, 30000, 435).Range, -1e308, 1e308);
  ExpectEnds(PanAxis({1e-300, 1e300, true}, {1e-300, 1e300}, 30000, 435).Range, 1e-300, 1e300);
  ExpectEnds(PanAxis(Linear, {NaN, 10}, 50, 435).Range, 1000, 3300);
  const TPanStep P = PanAxis({1000, Inf, false}, {0, 10}, 50, 435);
  ExpectEnds(P.Range, 1000, Inf);  // already infinite: nothing better to fall back to
}

TEST(SnapPanToGrid, CutsTheLowEndTowardsZeroAndKeepsTheWidth) {
  const TAxisRange Current{1000, 3300, false};
  // Low end 1000 - 460 = 540 on a grid of 100: 500, width 2300 kept.
  ExpectEnds(SnapPanToGrid(Current, {1000, 3300}, -460, 100, 0), 500, 2800);
  // Towards zero below zero too, then the offset.
  ExpectEnds(SnapPanToGrid(Current, {-50, 50}, -75, 100, 0), -100, 0);
  ExpectEnds(SnapPanToGrid(Current, {-50, 50}, -75, 100, 7), -93, 7);
  // No grid step: the low end moves unsnapped.
  ExpectEnds(SnapPanToGrid(Current, {1000, 3300}, -460, 0, 5), 540, 2840);
  ExpectEnds(SnapPanToGrid(Current, {1000, 3300}, -460, NaN, 5), 540, 2840);
  // A snapped end that is not finite stays unsnapped; a result that is not
  // finite gives the current range.
  ExpectEnds(SnapPanToGrid(Current, {1000, 3300}, -460, 100, Inf), 540, 2840);
  ExpectEnds(SnapPanToGrid(Current, {-1e308, 1e308}, -1e308, 100, 0), 1000, 3300);
}

TEST(ZoomAboutMiddle, LinearAboutTheCentreLogarithmicAboutTheGeometricMiddle) {
  EXPECT_NEAR(static_cast<double>(ZoomDragFactor(-101, 505)), 0.8, 1e-15);
  EXPECT_EQ(ZoomDragFactor(0, 505), 1);
  ExpectEnds(ZoomAboutMiddle({1000, 3300}, 0.8L, false), 1230, 3070, 1e-9);
  ExpectEnds(ZoomAboutMiddle({3300, 1000}, 1.2L, false), 3530, 770, 1e-9);
  // 1..10000 about 100: the factor scales the decades on each side.
  ExpectEnds(ZoomAboutMiddle({1, 1e4}, 1.5L, true), 0.1, 1e5, 1e-9);
  ExpectEnds(ZoomAboutMiddle({1, 1e4}, 0.5L, true), 10, 1000, 1e-9);
  // The plot's zoom drag is linear on every axis and falls back to the
  // current range when the result overflows.
  ExpectEnds(ZoomDragAxis({1, 1e4, true}, {1, 1e4}, 0.5L), 2500.75, 7500.25, 1e-9);
  ExpectEnds(ZoomDragAxis({-1e308, 1e308, false}, {-1e308, 1e308}, 2), -1e308, 1e308);
  ExpectEnds(ZoomDragAxis({0, 1, false}, {NaN, 1}, 0.5L), 0, 1);
}

TEST(ZoomAbout, KeepsTheCentreAndRefusesWhatHasNoFiniteResult) {
  TRangeEnds R{-7, -7};
  ASSERT_TRUE(ZoomAbout({0, 100, false}, 20, 1.25L, R));
  ExpectEnds(R, 4, 84, 1e-12);  // 20 stays where it was, a fifth of the way
  ASSERT_TRUE(ZoomAbout({0, 100, false}, 20, 0.8L, R));
  ExpectEnds(R, -5, 120, 1e-12);
  ASSERT_TRUE(ZoomAbout({1, 1e4, true}, 100, 2, R));
  ExpectEnds(R, 10, 1000, 1e-9);
  ASSERT_TRUE(ZoomAbout({1, 1e4, true}, 10, 0.5L, R));
  ExpectEnds(R, 0.1, 1e7, 1e-6);
  const struct {
    TAxisRange Axis;
    double Center;
    Extended Factor;
  } Refused[] = {
      {{NaN, 1, false}, 0, 2},   {{0, Inf, false}, 0, 2},          {{0, 1, false}, NaN, 2},
      {{0, 100, true}, 10, 2},   {{1, 100, true}, 0, 2},           {{1, 100, true}, -5, 2},
      {{-1e308, 1e308, false}, 0, 0.5L}, {{1e-300, 1e300, true}, 1, 0.01L},
  };
  for (const auto& C : Refused) {
    R = {-7, -7};
    EXPECT_FALSE(ZoomAbout(C.Axis, C.Center, C.Factor, R)) << C.Axis.Low << " " << C.Center;
    ExpectEnds(R, -7, -7);  // untouched
  }
}

TEST(WheelZoomFactor, OneNotchIsTheNotchFactorAndLargeDeltasAreCut) {
  EXPECT_EQ(WheelZoomFactor(120, 120, 1.25L, 64), 1.25L);
  EXPECT_NEAR(static_cast<double>(WheelZoomFactor(-120, 120, 1.25L, 64)), 0.8, 1e-15);
  EXPECT_NEAR(static_cast<double>(WheelZoomFactor(60, 120, 1.25L, 64)), std::sqrt(1.25), 1e-15);
  const Extended Max = WheelZoomFactor(64 * 120, 120, 1.25L, 64);
  EXPECT_EQ(WheelZoomFactor(std::numeric_limits<int>::max(), 120, 1.25L, 64), Max);
  EXPECT_EQ(WheelZoomFactor(std::numeric_limits<int>::min(), 120, 1.25L, 64),
            WheelZoomFactor(-64 * 120, 120, 1.25L, 64));
  EXPECT_NEAR(static_cast<double>(WheelZoomFactor(-64 * 120, 120, 1.25L, 64) * Max), 1, 1e-15);
  EXPECT_TRUE(std::isfinite(static_cast<double>(Max)));
}

// The stand-alone scale: 400 x 400, margins 20, horizontal (sctXB), range 0..100.
TEST(ScaleControlDrag, PansAndZoomsItsOwnRangeWhileTheLeftButtonIsHeld) {
  TScale S(nullptr);
  S.HandleNeeded();
  S.SetMouseAction(maPan);
  int ZoomPans = 0;
  S.OnZoomPan = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &S);
    ++ZoomPans;
  };
  // Without the left button nothing starts.
  S.WMMouseMove(TShiftState{}, 100, 10);
  EXPECT_FALSE(S.DragState().Dragging);
  S.WMMouseMove(TShiftState{ssLeft}, 100, 10);
  EXPECT_TRUE(S.DragState().Dragging);
  EXPECT_EQ(S.DragState().StartX, 100);
  // 36 of 360 pixels to the right: the range moves left by 10.
  S.WMMouseMove(TShiftState{ssLeft}, 136, 10);
  EXPECT_DOUBLE_EQ(S.RangeLow(), -10);
  EXPECT_DOUBLE_EQ(S.RangeHigh(), 90);
  EXPECT_EQ(ZoomPans, 1);
  EXPECT_FALSE(S.PaintSuspended());
  // Outside the scale's area along the axis: nothing.
  S.WMMouseMove(TShiftState{ssLeft}, 10, 10);
  EXPECT_DOUBLE_EQ(S.RangeLow(), -10);
  EXPECT_EQ(ZoomPans, 1);
  S.WMButtonUp(mbLeft, TShiftState{}, 136, 10);
  EXPECT_FALSE(S.DragState().Dragging);

  // A double click turns panning into zooming; the next drag zooms.
  S.DblClick();
  EXPECT_EQ(S.MouseAction(), maZoom);
  S.SetRange(0, 100);
  S.WMMouseMove(TShiftState{ssLeft}, 290, 10);  // right half: the low end stays
  S.WMMouseMove(TShiftState{ssLeft}, 200, 10);
  EXPECT_DOUBLE_EQ(S.RangeLow(), 0);
  EXPECT_NEAR(S.RangeHigh(), 100.0 * 270 / 180, 1e-12);

  // A vertical scale acts between its top and bottom margins.
  TScale V(nullptr);
  V.SetScaleType(sctYL);
  V.SetMouseAction(maPan);
  V.WMMouseMove(TShiftState{ssLeft}, 10, 10);  // in the top margin
  EXPECT_FALSE(V.DragState().Dragging);
  V.WMMouseMove(TShiftState{ssLeft}, 10, 100);
  V.WMMouseMove(TShiftState{ssLeft}, 10, 136);
  EXPECT_DOUBLE_EQ(V.RangeLow(), 10);
  EXPECT_DOUBLE_EQ(V.RangeHigh(), 110);
}

}  // namespace
}  // namespace zkw
