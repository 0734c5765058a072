// Tick placement without any window: the value-to-pixel map, the tick
// distance and every walk, as tables of (range, expected ticks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "platform/rtl.h"
#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

std::vector<double> ValuesOf(const std::vector<TTick>& Ticks, TTickKind Kind) {
  std::vector<double> V;
  for (const TTick& T : Ticks)
    if (T.Kind == Kind) V.push_back(static_cast<double>(T.Value));
  return V;
}

void ExpectValues(const std::vector<double>& Actual, const std::vector<double>& Expected,
                  double Tolerance = 1e-9) {
  ASSERT_EQ(Actual.size(), Expected.size());
  for (std::size_t I = 0; I < Expected.size(); ++I)
    EXPECT_NEAR(Actual[I], Expected[I], Tolerance) << "tick " << I;
}

TTickParams Params(double Low, double High, int MinTicks, bool ShortTicks = false,
                   bool Vertical = false) {
  TTickParams P;
  P.RangeLow = Low;
  P.RangeHigh = High;
  P.MinTicks = MinTicks;
  P.ShortTicks = ShortTicks;
  P.Vertical = Vertical;
  return P;
}

// --- Value-to-pixel map ---------------------------------------------------------

TEST(ScaleMap, HorizontalAndVerticalLinearFactors) {
  TScaleGeometry G;  // 400 x 400, margins 20
  double F = 0, O = 0;
  ASSERT_TRUE(CalcScaleFactors(G, 0, 100, false, F, O));
  EXPECT_DOUBLE_EQ(F, 3.59);
  EXPECT_DOUBLE_EQ(O, 20);
  TScaleMap M{F, O, false, 0, 100, 400};
  EXPECT_EQ(M.ValueToPixel(0), 20);
  EXPECT_EQ(M.ValueToPixel(100), 379);

  G.Vertical = true;
  ASSERT_TRUE(CalcScaleFactors(G, 0, 100, false, F, O));
  EXPECT_DOUBLE_EQ(F, -3.59);
  M = TScaleMap{F, O, false, 0, 100, 400};
  EXPECT_EQ(M.ValueToPixel(100), 20);  // the high end sits at the top
  EXPECT_EQ(M.ValueToPixel(0), 379);

  // Reversed horizontal axis: RangeLow stays at the left margin.
  G.Vertical = false;
  ASSERT_TRUE(CalcScaleFactors(G, 100, 0, false, F, O));
  M = TScaleMap{F, O, false, 100, 0, 400};
  EXPECT_EQ(M.ValueToPixel(100), 20);
  EXPECT_EQ(M.ValueToPixel(0), 379);
}

TEST(ScaleMap, LogarithmicFactorsAndNonPositiveValues) {
  TScaleGeometry G;
  double F = 0, O = 0;
  ASSERT_TRUE(CalcScaleFactors(G, 1, 1000, true, F, O));
  TScaleMap M{F, O, true, 1, 1000, 400};
  EXPECT_EQ(M.ValueToPixel(1), 20);
  EXPECT_EQ(M.ValueToPixel(10), 140);  // 20 + 359 / 3 = 139.67
  EXPECT_EQ(M.ValueToPixel(1000), 379);
  EXPECT_EQ(M.ValueToPixel(0), 0);
  EXPECT_EQ(M.ValueToPixel(-5), 0);
  M.RangeLow = 1000;
  M.RangeHigh = 1;
  EXPECT_EQ(M.ValueToPixel(1e-101), 400);

  // A logarithmic range with an end not above 0 keeps the previous factors.
  F = 7;
  O = 9;
  EXPECT_FALSE(CalcScaleFactors(G, 0, 100, true, F, O));
  EXPECT_FALSE(CalcScaleFactors(G, -1, 100, true, F, O));
  EXPECT_FALSE(CalcScaleFactors(G, 5, 5, false, F, O));
  EXPECT_EQ(F, 7);
  EXPECT_EQ(O, 9);
}

TEST(ScaleMap, EmptySpanRoundingAndClamping) {
  TScaleGeometry G;
  G.Width = 40;  // 40 - 20 - 20 - 1 < 0
  double F = 1, O = 1;
  ASSERT_TRUE(CalcScaleFactors(G, 0, 100, false, F, O));
  EXPECT_EQ(F, 0);
  EXPECT_EQ(O, 20);
  G.Vertical = true;
  G.Height = 41;
  ASSERT_TRUE(CalcScaleFactors(G, 0, 100, false, F, O));
  EXPECT_EQ(O, 20.5);

  TScaleMap M{1, 0.5, false, 0, 100, 400};
  EXPECT_EQ(M.ValueToPixel(0), 0);  // 0.5 rounds to the even 0
  EXPECT_EQ(M.ValueToPixel(1), 2);  // 1.5 rounds to 2
  M.ScaleFactor = 1e300;
  EXPECT_EQ(M.ValueToPixel(1e10), 2147483647);
  EXPECT_EQ(M.ValueToPixel(-1e10), -2147483647);
  EXPECT_EQ(M.ValueToPixel(std::numeric_limits<double>::quiet_NaN()), RealToPixel(NAN));
}

// --- Tick distance --------------------------------------------------------------

struct DistanceCase {
  int MinTicks;
  double Low, High;
  double First, Distance;
  int Sub;
};

TEST(TickDistance, RoundNumberedDistances) {
  const DistanceCase Cases[] = {
      {3, 0, 100, 0, 20, 4},      // 33.3 per interval
      {5, 0, 10, 0, 1, 5},        // exactly 2 per interval gives 1
      {5, 0, 25, 0, 2, 4},        // exactly 5 per interval gives 2
      {3, 0.95, 2.05, 1.0, 0.2, 4},
      {3, 100, 0, 100, -20, 4},   // reversed
      {0, 0, 5, 0, 1, 5},
      {0, 0, 50, 0, 1, 1},
      {0, 50, 0, 50, -1, 1},
      {3, 0, 1, 0, 0.2, 4},
      {3, 0, 0.3, 0, 0.1, 5},
      {4, -7, 13, -6, 2, 4},
      {3, 1e-9, 4e-9, 1e-9, 1e-9, 5},
      {3, 0, 1e300, 0, 2e299, 4},
  };
  for (const DistanceCase& C : Cases) {
    Extended First = -1, Distance = -1;
    std::uint16_t Sub = 0;
    CalcTickDistance(C.MinTicks, C.High, C.Low, First, Distance, Sub);
    EXPECT_NEAR(static_cast<double>(Distance), C.Distance, std::fabs(C.Distance) * 1e-12)
        << C.Low << ".." << C.High;
    EXPECT_NEAR(static_cast<double>(First), C.First, std::fabs(C.Distance) * 1e-9)
        << C.Low << ".." << C.High;
    EXPECT_EQ(Sub, C.Sub) << C.Low << ".." << C.High;
  }
}

TEST(TickDistance, DegenerateRangesGiveNoDistance) {
  Extended First = 0, Distance = 1;
  std::uint16_t Sub = 0;
  CalcTickDistance(3, 5, 5, First, Distance, Sub);
  EXPECT_EQ(Distance, 0);
  EXPECT_EQ(First, 5);
  EXPECT_EQ(Sub, 1);
  CalcTickDistance(3, NAN, 0, First, Distance, Sub);
  EXPECT_EQ(Distance, 0);
  CalcTickDistance(3, INFINITY, 0, First, Distance, Sub);
  EXPECT_EQ(Distance, 0);
}

// --- Linear walk ----------------------------------------------------------------

TEST(LinearWalk, LongAndShortTicksInProductionOrder) {
  std::vector<TTick> Ticks;
  WalkLinearTicks(Params(0, 100, 3, true), Ticks);
  ExpectValues(ValuesOf(Ticks, tkLong), {0, 20, 40, 60, 80, 100});
  std::vector<double> Short;
  for (int K = 0; K <= 20; ++K) Short.push_back(5.0 * K);
  ExpectValues(ValuesOf(Ticks, tkShort), Short);
  // All short ticks come first, then the long ones numbered from 1.
  EXPECT_EQ(Ticks.front().Kind, tkShort);
  EXPECT_EQ(Ticks[21].Kind, tkLong);
  EXPECT_EQ(Ticks[21].LabelNumber, 1);
  EXPECT_EQ(Ticks.back().LabelNumber, 6);
}

TEST(LinearWalk, ToleranceAtTheEndsAndReversedRanges) {
  std::vector<TTick> Ticks;
  WalkLinearTicks(Params(0.95, 2.05, 3), Ticks);
  ExpectValues(ValuesOf(Ticks, tkLong), {1.0, 1.2, 1.4, 1.6, 1.8, 2.0});

  Ticks.clear();
  WalkLinearTicks(Params(100, 0, 3, true), Ticks);
  ExpectValues(ValuesOf(Ticks, tkLong), {100, 80, 60, 40, 20, 0});
  EXPECT_NEAR(static_cast<double>(ValuesOf(Ticks, tkShort).front()), 100, 1e-12);
  EXPECT_NEAR(static_cast<double>(ValuesOf(Ticks, tkShort).back()), 0, 1e-12);

  // A long tick less than 0.001 distance before the range start is still
  // produced; the short tick there is not.
  Ticks.clear();
  WalkLinearTicks(Params(0.0001, 1, 3, true), Ticks);
  EXPECT_NEAR(static_cast<double>(ValuesOf(Ticks, tkLong).front()), 0, 1e-12);
  EXPECT_NEAR(static_cast<double>(ValuesOf(Ticks, tkShort).front()), 0.05, 1e-12);

  // The widest finite range.
  Ticks.clear();
  WalkLinearTicks(Params(-1e308, 1e308, 3), Ticks);
  ExpectValues(ValuesOf(Ticks, tkLong), {-1e308, -5e307, 0, 5e307, 1e308}, 1e294);
}

TEST(LinearWalk, StoringRulesByOrientation) {
  std::vector<TTick> Ticks;
  WalkLinearTicks(Params(0, 100, 3, true, false), Ticks);
  EXPECT_EQ(StoredTickPositions(Ticks).size(), 21u);  // each position once
  Ticks.clear();
  WalkLinearTicks(Params(0, 100, 3, true, true), Ticks);
  EXPECT_EQ(StoredTickPositions(Ticks).size(), 27u);  // long positions twice
  Ticks.clear();
  WalkLinearTicks(Params(0, 100, 3, false, false), Ticks);
  ExpectValues(StoredTickPositions(Ticks), {0, 20, 40, 60, 80, 100});
}

// Ticks a pass may produce on an axis of Pixels pixels: MaxTicksPerPixel
// at each pixel the range covers (plus the two clamped ends) and the stored
// ones on top.
std::size_t PassBound(int Pixels) {
  return static_cast<std::size_t>(MaxTicksPerPixel) * static_cast<std::size_t>(Pixels + 3) + MaxStoredTicks;
}

TEST(LinearWalk, EveryTickOfALongWalkIsDrawnUpToTheEnd) {
  // 0..5000 with a one-unit distance (MinTicks 0) on a 400-pixel axis:
  // about twelve ticks a pixel. Every pixel the plain walk reaches gets a
  // tick, the last one is 5000, and the stored list is the plain walk's.
  TScaleMap Map;
  Map.RangeLow = 0;
  Map.RangeHigh = 5000;
  Map.Width = 400;
  Map.ScaleFactor = 359.0 / 5000;
  Map.ScaleOffset = 20;
  for (const bool Short : {false, true}) {
    SCOPED_TRACE(Short);
    TTickParams P = Params(0, 5000, 0, Short);
    P.Pixels = &Map;
    std::vector<TTick> Ticks;
    WalkLinearTicks(P, Ticks);
    std::set<int> Drawn[3];
    Extended LastLong = -1;
    for (const TTick& T : Ticks) {
      Drawn[T.Kind].insert(TickPixel(Map, T.Value));
      if (T.Kind == tkLong) LastLong = T.Value;
    }
    EXPECT_EQ(LastLong, 5000);
    std::set<int> Plain;
    for (int V = 0; V <= 5000; ++V) Plain.insert(TickPixel(Map, V));
    EXPECT_EQ(Drawn[tkLong], Plain);
    if (Short) {
      EXPECT_EQ(Drawn[tkShort], Plain);
    }
    EXPECT_LE(Ticks.size(), 2 * PassBound(400));
    const std::vector<double> Stored = StoredTickPositions(Ticks);
    ASSERT_EQ(Stored.size(), static_cast<std::size_t>(MaxStoredTicks));
    for (int I = 0; I < MaxStoredTicks; ++I) EXPECT_EQ(Stored[static_cast<std::size_t>(I)], I);
    // The label numbers stay those of the plain walk.
    EXPECT_EQ(std::find_if(Ticks.rbegin(), Ticks.rend(), [](const TTick& T) { return T.Kind == tkLong; })->LabelNumber,
              5001);
  }
}

TEST(LinearWalk, RunawayRangesEndWithinTheAxisPixels) {
  // One-unit distance over a trillion units, with and without the scale's
  // map: the walk reaches the far end with a bounded number of ticks.
  TScaleMap Map;
  Map.RangeLow = 0;
  Map.RangeHigh = 1e12;
  Map.Width = 1000;
  Map.ScaleFactor = 959 / 1e12;
  Map.ScaleOffset = 20;
  for (const bool WithMap : {false, true}) {
    SCOPED_TRACE(WithMap);
    TTickParams P = Params(0, 1e12, 0, true);
    if (WithMap) P.Pixels = &Map;
    std::vector<TTick> Ticks;
    WalkLinearTicks(P, Ticks);
    EXPECT_LE(Ticks.size(), 2 * PassBound(WithMap ? 1000 : DefaultWalkPixels));
    ASSERT_FALSE(Ticks.empty());
    EXPECT_EQ(Ticks.back().Value, 1e12);
    EXPECT_EQ(StoredTickPositions(Ticks).size(), static_cast<std::size_t>(MaxStoredTicks));
  }
  // Ranges floating point cannot divide finely, or that are wider than any
  // count of unit steps.
  for (const auto& [Low, High] : {std::pair{1e20, std::nextafter(1e20, 2e20)}, std::pair{-1e300, 1e300},
                                  std::pair{1e300, -1e300}}) {
    std::vector<TTick> Ticks;
    WalkLinearTicks(Params(Low, High, 0, true), Ticks);
    EXPECT_LE(Ticks.size(), 2 * PassBound(DefaultWalkPixels));
  }
  std::vector<TTick> Ticks;
  WalkLinearTicks(Params(NAN, 1, 3, true), Ticks);
  EXPECT_TRUE(Ticks.empty());
}

// --- Decade walk ----------------------------------------------------------------

TEST(LogWalk, DecadesOnlyWhenFewTicksAreWanted) {
  std::vector<TTick> Ticks;
  TTickParams P = Params(1, 1000, 3, true);
  P.Logarithmic = true;
  ASSERT_TRUE(WalkLogTicks(P, Ticks));  // 3 decades: 3 > 3.5 is false
  ExpectValues(ValuesOf(Ticks, tkLong), {1, 10, 100, 1000});
  EXPECT_TRUE(ValuesOf(Ticks, tkIntermediate).empty());
}

TEST(LogWalk, DenseDecadesWithIntermediates) {
  std::vector<TTick> Ticks;
  TTickParams P = Params(1, 1000, 4, true);
  P.Logarithmic = true;
  ASSERT_TRUE(WalkLogTicks(P, Ticks));
  ExpectValues(ValuesOf(Ticks, tkLong), {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}, 1e-9);
  const std::vector<double> Mid = ValuesOf(Ticks, tkIntermediate);
  ASSERT_EQ(Mid.size(), 18u);
  EXPECT_NEAR(Mid[0], 3, 1e-12);
  EXPECT_NEAR(Mid[5], 9, 1e-12);
  EXPECT_NEAR(Mid[17], 900, 1e-9);
  // Production order is ascending; labels are counted over labelled ticks only.
  for (std::size_t I = 1; I < Ticks.size(); ++I) EXPECT_LT(Ticks[I - 1].Value, Ticks[I].Value);
  int Expected = 0;
  for (const TTick& T : Ticks) {
    EXPECT_EQ(T.LabelNumber, T.Kind == tkLong ? ++Expected : 0);
  }
  EXPECT_EQ(StoredTickPositions(Ticks).size(), 28u);

  // Without short ticks the intermediates do not exist.
  Ticks.clear();
  P.ShortTicks = false;
  ASSERT_TRUE(WalkLogTicks(P, Ticks));
  EXPECT_EQ(Ticks.size(), 10u);
}

TEST(LogWalk, FallsBackToTheLinearWalk) {
  TTickParams P = Params(2, 15, 3);
  P.Logarithmic = true;
  TTickWalkResult R = WalkTicks(P);  // less than one decade
  EXPECT_EQ(R.Walk, twLinear);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {2, 4, 6, 8, 10, 12, 14});

  P = Params(0, 100, 3);
  P.Logarithmic = true;  // a range end not above 0 (scale created at run time)
  R = WalkTicks(P);
  EXPECT_EQ(R.Walk, twLinear);

  P = Params(1000, 0.1, 3);
  P.Logarithmic = true;  // reversed: same decades
  R = WalkTicks(P);
  EXPECT_EQ(R.Walk, twLogarithmic);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {0.1, 1, 10, 100, 1000}, 1e-9);

  // 600 decades stay bounded.
  P = Params(1e-300, 1e300, 3);
  P.Logarithmic = true;
  R = WalkTicks(P);
  EXPECT_EQ(ValuesOf(R.Ticks, tkLong).size(), 601u);
}

// --- Time walk --------------------------------------------------------------------

TEST(TimeWalk, StepTableChoice) {
  const struct {
    double Q;
    int Index;
  } Cases[] = {{0.0009, 0}, {0.001, 1},  {0.0015, 1}, {0.1, 7},      {0.3 / 3, 7}, {20, 14},
               {29.9, 14},  {30, 15},    {3599, 22},  {43200, 27},   {86399, 27},  {86400, 28},
               {1e9, 28}};
  for (const auto& C : Cases) EXPECT_EQ(TimeStepIndex(C.Q), C.Index) << C.Q;
  EXPECT_EQ(TimeStepRow(14).Step, 20);
  EXPECT_EQ(TimeStepRow(14).SubSteps, 4);
  EXPECT_EQ(TimeStepRow(21).SubSteps, 6);
}

TEST(TimeWalk, MinuteScaleWithShortTicks) {
  TTickParams P = Params(0, 60, 3, true);
  P.LabelType = ftTime;
  TTickWalkResult R = WalkTicks(P);
  ASSERT_EQ(R.Walk, twTime);
  EXPECT_EQ(R.TimeIndex, 14);
  EXPECT_FALSE(R.TimeWithMillis);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {0, 20, 40, 60});
  EXPECT_EQ(ValuesOf(R.Ticks, tkShort).size(), 13u);
  EXPECT_EQ(StoredTickPositions(R.Ticks).size(), 13u);  // horizontal: short ticks only
  P.Vertical = true;
  EXPECT_EQ(StoredTickPositions(WalkTicks(P).Ticks).size(), 17u);
}

TEST(TimeWalk, DeclinesOutsideItsTable) {
  TTickParams P = Params(0, 0.002, 3);
  P.LabelType = ftTime;
  EXPECT_EQ(WalkTicks(P).Walk, twLinear);
  P = Params(0, 86400.0 * 10, 3);
  P.LabelType = ftTime;
  EXPECT_EQ(WalkTicks(P).Walk, twLinear);
  P.Logarithmic = true;
  P.RangeLow = 1;
  EXPECT_EQ(WalkTicks(P).Walk, twLogarithmic);
  P = Params(0, 1.5, 3);
  P.LabelType = ftTime;
  TTickWalkResult R = WalkTicks(P);
  EXPECT_EQ(R.TimeIndex, 9);  // 0.5 s steps carry milliseconds
  EXPECT_TRUE(R.TimeWithMillis);
}

TEST(TimeWalk, NoTickLostAtEitherEnd) {
  // Range starting just after a long tick with six sub-steps: the long tick
  // at 120 lies inside and must be produced.
  TTickParams P = Params(29.99, 120.49, 3);
  P.LabelType = ftTime;
  ExpectValues(ValuesOf(WalkTicks(P).Ticks, tkLong), {30, 60, 90, 120});

  // Negative start: short ticks before the first long tick are kept.
  P = Params(-7, 7, 3, true);
  P.LabelType = ftTime;
  TTickWalkResult R = WalkTicks(P);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {-6, -4, -2, 0, 2, 4, 6});
  EXPECT_DOUBLE_EQ(ValuesOf(R.Ticks, tkShort).front(), -7);
  EXPECT_DOUBLE_EQ(ValuesOf(R.Ticks, tkShort).back(), 7);

  // Reversed axis: both end ticks are inside.
  P = Params(120, 0, 3);
  P.LabelType = ftTime;
  ExpectValues(ValuesOf(WalkTicks(P).Ticks, tkLong), {120, 90, 60, 30, 0});
}

// --- Date/time walk -----------------------------------------------------------------

TEST(DateTimeWalk, LevelTablesOfBothOrientations) {
  const struct {
    double Q;
    bool Vertical;
    bool Valid;
    TDateTimeLevel Level;
  } Cases[] = {
      {1e-7, true, false, dlYears},        {1.2e-7, true, true, dlHundredths},
      {1.1e-5, true, true, dlHundredths},  {1.1e-5, false, false, dlYears},
      {1.2e-5, false, true, dlSeconds},    {0.0006944444444444445, true, true, dlSeconds},
      {0.000695, false, true, dlMinutes},  {0.041667, false, true, dlMinutes},
      {0.5, true, true, dlHours},          {1, false, true, dlHours},
      {1.01, false, true, dlDays},         {30, true, true, dlDays},
      {31, false, true, dlMonths},         {366, false, true, dlMonths},
      {367, true, true, dlYears},
  };
  for (const auto& C : Cases) {
    TDateTimeLevel Level = dlYears;
    EXPECT_EQ(DateTimeLevelFor(C.Q, C.Vertical, Level), C.Valid) << C.Q;
    if (C.Valid) {
      EXPECT_EQ(Level, C.Level) << C.Q;
    }
  }
}

TEST(DateTimeWalk, MessagesInsteadOfTicks) {
  TTickParams P = Params(10, 5, 3);
  P.LabelType = ftDateTime;
  TTickWalkResult R = WalkTicks(P);
  EXPECT_EQ(R.Message, smInvalidDateTime);
  EXPECT_TRUE(R.Ticks.empty());
  P.RangeLow = -693594;
  P.RangeHigh = 0;
  EXPECT_EQ(WalkTicks(P).Message, smInvalidDateTime);
  P.RangeLow = 0;
  P.RangeHigh = 3000001;
  EXPECT_EQ(WalkTicks(P).Message, smInvalidDateTime);
  P.RangeLow = NAN;
  EXPECT_EQ(WalkTicks(P).Message, smInvalidDateTime);

  const double Second = 1.0 / 86400;
  P = Params(0, 0.02 * Second, 3, true, true);
  P.LabelType = ftDateTime;
  EXPECT_EQ(WalkTicks(P).Message, smDateTimeBelowSecond);
  P.RangeHigh = 2 * Second;  // vertical: hundredths, horizontal: the message
  R = WalkTicks(P);
  EXPECT_EQ(R.Message, smNone);
  EXPECT_EQ(R.Level, dlHundredths);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {0, 0.5 * Second, Second, 1.5 * Second, 2 * Second},
               1e-12);
  P.Vertical = false;
  EXPECT_EQ(WalkTicks(P).Message, smDateTimeBelowSecond);
}

TEST(DateTimeWalk, HoursLevelSteps) {
  // Two days, MinTicks 3: 16 hours per interval, step 12 h, sub-step 3 h.
  TTickParams P = Params(0, 2, 3, true);
  P.LabelType = ftDateTime;
  TTickWalkResult R = WalkTicks(P);
  ASSERT_EQ(R.Level, dlHours);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {0, 0.5, 1, 1.5, 2});
  EXPECT_EQ(ValuesOf(R.Ticks, tkShort).size(), 12u);
  EXPECT_EQ(StoredTickPositions(R.Ticks).size(), 17u);  // every tick is stored

  // Ten hours on a vertical scale: step 3 h.
  P = Params(0, 10.0 / 24, 3, false, true);
  P.LabelType = ftDateTime;
  ExpectValues(ValuesOf(WalkTicks(P).Ticks, tkLong), {0, 3.0 / 24, 6.0 / 24, 9.0 / 24});

  // A whole negative day is itself the first tick; the range end is reached.
  P = Params(-5.0, -4.0, 3);
  P.LabelType = ftDateTime;
  ExpectValues(ValuesOf(WalkTicks(P).Ticks, tkLong), {-5, -5 + 8.0 / 24, -5 + 16.0 / 24, -4});

  // A start between boundaries: the first tick is the next boundary; with
  // short ticks the sub-steps before it are walked too.
  P = Params(0.3, 0.6, 3, true);  // 07:12 .. 14:24, step 2 h, sub 1 h
  P.LabelType = ftDateTime;
  R = WalkTicks(P);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {8.0 / 24, 10.0 / 24, 12.0 / 24, 14.0 / 24});
  ExpectValues(ValuesOf(R.Ticks, tkShort), {9.0 / 24, 11.0 / 24, 13.0 / 24});
}

TEST(DateTimeWalk, DaysLevelAgainstTheCalendar) {
  // Across the leap day of 2000: three-day steps anchored at 1 January.
  const double Low = EncodeDate(2000, 2, 20);
  const double High = EncodeDate(2000, 3, 5);
  TTickParams P = Params(Low, High, 3);
  P.LabelType = ftDateTime;
  TTickWalkResult R = WalkTicks(P);
  ASSERT_EQ(R.Level, dlDays);
  ExpectValues(ValuesOf(R.Ticks, tkLong),
               {EncodeDate(2000, 2, 21), EncodeDate(2000, 2, 24), EncodeDate(2000, 2, 27),
                EncodeDate(2000, 3, 1), EncodeDate(2000, 3, 4)});

  // Weekly steps before the epoch, across a year end, with daily short ticks:
  // long ticks keep the residue of the first one.
  P = Params(EncodeDate(1850, 12, 10), EncodeDate(1851, 1, 20), 3, true);
  P.LabelType = ftDateTime;
  R = WalkTicks(P);
  ASSERT_EQ(R.Level, dlDays);
  const std::vector<double> Long = ValuesOf(R.Ticks, tkLong);
  ASSERT_FALSE(Long.empty());
  for (std::size_t I = 1; I < Long.size(); ++I) EXPECT_DOUBLE_EQ(Long[I] - Long[I - 1], 7);
  int Y, M, D;
  DecodeDate(Long.front(), Y, M, D);
  EXPECT_EQ(Y, 1850);
  EXPECT_EQ(M, 12);
  EXPECT_EQ(D, 10);  // 1 Jan 1850 + 49 weeks
  EXPECT_EQ(R.Ticks.size(), 42u);  // every day of the range
}

TEST(DateTimeWalk, MonthsLevelAcrossAYearBefore1900) {
  const double Low = EncodeDate(1899, 11, 15);
  const double High = EncodeDate(1900, 6, 10);
  TTickParams P = Params(Low, High, 3);
  P.LabelType = ftDateTime;
  TTickWalkResult R = WalkTicks(P);
  ASSERT_EQ(R.Level, dlMonths);
  ExpectValues(ValuesOf(R.Ticks, tkLong),
               {EncodeDate(1900, 1, 1), EncodeDate(1900, 3, 1), EncodeDate(1900, 5, 1)});
  P.ShortTicks = true;
  R = WalkTicks(P);
  ExpectValues(ValuesOf(R.Ticks, tkLong),
               {EncodeDate(1900, 1, 1), EncodeDate(1900, 3, 1), EncodeDate(1900, 5, 1)});
  ExpectValues(ValuesOf(R.Ticks, tkShort),
               {EncodeDate(1899, 12, 1), EncodeDate(1900, 2, 1), EncodeDate(1900, 4, 1),
                EncodeDate(1900, 6, 1)});

  // A range beginning on the first day of a step month keeps that tick.
  P = Params(EncodeDate(2001, 1, 1), EncodeDate(2001, 12, 31), 3);
  P.LabelType = ftDateTime;
  ExpectValues(ValuesOf(WalkTicks(P).Ticks, tkLong),
               {EncodeDate(2001, 1, 1), EncodeDate(2001, 4, 1), EncodeDate(2001, 7, 1),
                EncodeDate(2001, 10, 1)});
}

TEST(DateTimeWalk, YearsLevelFromYearOneToYear9999) {
  TTickParams P = Params(EncodeDate(1, 1, 1), EncodeDate(400, 1, 1), 3);
  P.LabelType = ftDateTime;
  TTickWalkResult R = WalkTicks(P);
  ASSERT_EQ(R.Level, dlYears);
  ExpectValues(ValuesOf(R.Ticks, tkLong), {EncodeDate(100, 1, 1), EncodeDate(200, 1, 1),
                                           EncodeDate(300, 1, 1), EncodeDate(400, 1, 1)});
  P.ShortTicks = true;  // 100 years per long tick, short every 50
  R = WalkTicks(P);
  ExpectValues(ValuesOf(R.Ticks, tkShort), {EncodeDate(50, 1, 1), EncodeDate(150, 1, 1),
                                            EncodeDate(250, 1, 1), EncodeDate(350, 1, 1)});

  // A start after 1 January skips its own year.
  P = Params(EncodeDate(2000, 6, 1), EncodeDate(2010, 1, 1), 3);
  P.LabelType = ftDateTime;
  R = WalkTicks(P);
  EXPECT_DOUBLE_EQ(ValuesOf(R.Ticks, tkLong).front(), EncodeDate(2002, 1, 1));

  // The last position is 31 December 9999, produced once.
  P = Params(EncodeDate(9000, 1, 1), 3000000, 3);
  P.LabelType = ftDateTime;
  R = WalkTicks(P);
  ExpectValues(ValuesOf(R.Ticks, tkLong),
               {EncodeDate(9000, 1, 1), EncodeDate(9200, 1, 1), EncodeDate(9400, 1, 1),
                EncodeDate(9600, 1, 1), EncodeDate(9800, 1, 1), EncodeDate(9999, 12, 31)});
}

TEST(DateTimeWalk, NothingBeyondYear9999) {
  for (double Span : {0.5, 20.0, 300.0}) {  // hours, days and months levels
    TTickParams P = Params(2999000, 2999000 + Span, 3, true);
    P.LabelType = ftDateTime;
    TTickWalkResult R = WalkTicks(P);
    EXPECT_EQ(R.Message, smNone);
    EXPECT_TRUE(R.Ticks.empty()) << Span;
  }
  TTickParams P = Params(MaxDayValue - 10, MaxDayValue + 10, 3, true);
  P.LabelType = ftDateTime;
  for (const TTick& T : WalkTicks(P).Ticks) EXPECT_LT(T.Value, MaxDayValue + 1);
}

// Random ranges of every walk: each terminates, stays bounded, produces only
// ticks inside its range (linear: within the 0.001 distance tolerance) and
// numeric labels of at most 14 characters.
TEST(AllWalks, RandomRangesStayInside) {
  std::mt19937 Gen(12345);
  std::uniform_real_distribution<double> Exponent(-12, 12);
  std::uniform_real_distribution<double> Unit(-1, 1);
  std::uniform_int_distribution<int> Pick(0, 9);
  const TFigType Types[] = {ftNum, ftTime, ftDateTime, ftUserText};
  for (int I = 0; I < 3000; ++I) {
    TTickParams P;
    const double Scale = std::pow(10.0, Exponent(Gen));
    P.RangeLow = Unit(Gen) * Scale;
    P.RangeHigh = P.RangeLow + Unit(Gen) * Scale * std::pow(10.0, Pick(Gen) - 5);
    P.MinTicks = Pick(Gen) < 2 ? 0 : 2 + Pick(Gen) * 2;
    P.ShortTicks = Pick(Gen) < 5;
    P.Vertical = Pick(Gen) < 5;
    P.Logarithmic = Pick(Gen) < 3;
    P.LabelType = Types[Pick(Gen) % 4];
    if (P.LabelType == ftDateTime) {
      P.RangeLow = Unit(Gen) * 700000;
      P.RangeHigh = P.RangeLow + std::fabs(Unit(Gen)) * std::pow(10.0, Pick(Gen) - 4);
    }
    if (P.RangeLow == P.RangeHigh) continue;
    const TTickWalkResult R = WalkTicks(P);
    ASSERT_LE(R.Ticks.size(), 2 * PassBound(DefaultWalkPixels));
    const double Lo = std::min(P.RangeLow, P.RangeHigh);
    const double Hi = std::max(P.RangeLow, P.RangeHigh);
    // The linear walk admits ticks up to 0.001 distance outside; with
    // MinTicks 0 the distance (one unit) may exceed the range itself.
    Extended First, Distance;
    std::uint16_t Sub;
    CalcTickDistance(P.MinTicks, P.RangeHigh, P.RangeLow, First, Distance, Sub);
    const double Slack = R.Walk == twLinear       ? 0.0011 * std::fabs(static_cast<double>(Distance))
                         : R.Walk == twDateTime ? 1e-8
                                                : (Hi - Lo) * 1e-6;
    TTickLabelSettings L;
    L.LabelType = P.LabelType;
    L.DecPlaces = Pick(Gen) - 4;
    L.RangeLow = P.RangeLow;
    L.RangeHigh = P.RangeHigh;
    TTickLabeller Labeller(L, R);
    for (const TTick& T : R.Ticks) {
      if (T.Kind == tkLong && (R.Walk == twLinear || R.Walk == twLogarithmic)) {
        ASSERT_LE(Labeller.Label(T).Text.size(), 14u);
      }
      ASSERT_TRUE(std::isfinite(static_cast<double>(T.Value)));
      ASSERT_GE(T.Value, Lo - std::fabs(Lo) * 1e-8 - Slack) << P.RangeLow << ".." << P.RangeHigh;
      ASSERT_LE(T.Value, Hi + std::fabs(Hi) * 1e-8 + Slack)
          << P.RangeLow << ".." << P.RangeHigh << " walk " << int(R.Walk) << " min " << P.MinTicks
          << " type " << int(P.LabelType) << " log " << P.Logarithmic << " short " << P.ShortTicks;
    }
  }
}

}  // namespace
}  // namespace zkw
