// The axis map without any window: its two rounding rules, logarithmic
// floors, maps without extent and the extremes of the doubles, as one table;
// the double-precision pixel conversion against the checked one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/rtl.h"
#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(PixelFromDouble, AgreesWithTheCheckedConversion) {
  const double Specials[] = {0.5,
                             1.5,
                             2.5,
                             -0.5,
                             -1.5,
                             -2.5,
                             0.49999999999999994,
                             2147483646.5,
                             -2147483646.5,
                             2147483647.0,
                             2147483647.4,
                             3e9,
                             -3e9,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             -0.0,
                             4.9e-324};
  for (double V : Specials) EXPECT_EQ(PixelFromDouble(V), RealToPixel(V)) << V;
  std::uint32_t Seed = 7;
  for (int I = 0; I < 100000; ++I) {
    Seed = Seed * 134775813u + 1u;
    const double V = (static_cast<double>(Seed) - 2147483648.0) * (I % 3 == 0 ? 1.0 : I % 3 == 1 ? 0.001 : 0.5);
    ASSERT_EQ(PixelFromDouble(V), RealToPixel(V)) << V;
  }
}

TEST(PixelFromDouble, HalvesAndTheirNeighboursRoundLikeTheCheckedConversion) {
  // Every half between -1000 and 1000 (odd and even neighbours, both signs),
  // the doubles next to it, and pixel-sized fractions around it.
  for (int K = -2000; K <= 2000; ++K) {
    const double Half = K * 0.5;
    const double Values[] = {Half,
                             std::nextafter(Half, -1e9),
                             std::nextafter(Half, 1e9),
                             Half - 1e-9,
                             Half + 1e-9,
                             Half + 0.25,
                             Half - 0.2500001};
    for (double V : Values) ASSERT_EQ(PixelFromDouble(V), RealToPixel(V)) << V;
  }
  // Near the clamp, where the floor by truncation must not overflow.
  for (double V : {2147483646.4999998, 2147483646.5000002, -2147483646.4999998, -2147483646.5000002,
                   2147483646.9999998, -2147483646.9999998, -2147483647.0, std::nextafter(-2147483647.0, 0.0)})
    ASSERT_EQ(PixelFromDouble(V), RealToPixel(V)) << V;
}

TEST(AxisMap, PixelsOfBothRulesAndTheInverse) {
  // 0..100 on pixels 20..420; ln 1..ln 1000 on 20..380 (log floor 0);
  // the same reversed (floor 400); no extent (factor 0, the middle 200.5);
  // an offset a hair above a half, where only the extended value shows it.
  Extended F = 0, O = 0;
  ASSERT_TRUE(FitAxisToEdges({0, 100, false}, 20, 420, F, O));
  const TAxisMap Lin = TAxisMap::Make(F, O, false, 0);
  ASSERT_TRUE(FitAxisToEdges({1, 1000, true}, 20, 380, F, O));
  const TAxisMap Log = TAxisMap::Make(F, O, true, 0);
  ASSERT_TRUE(FitAxisToEdges({1000, 1, true}, 20, 380, F, O));
  const TAxisMap LogRev = TAxisMap::Make(F, O, true, 400);
  const TAxisMap Flat = TAxisMap::Make(0, 200.5L, false, 0);
  const TAxisMap Hair = TAxisMap::Make(1, 0.5L + 0x1p-60L, false, 0);
  EXPECT_TRUE(Lin.Quick);
  EXPECT_FALSE(Log.Quick);
  EXPECT_FALSE(TAxisMap::Make(1, 1e10L, false, 0).Quick);  // offset beyond the shortcut's reach

  const struct {
    const TAxisMap& Map;
    double Value;
    int Pixel;            // the chart's rule
    int PixelOfExtended;  // the scale's rule
  } Rows[] = {
      {Lin, 0, 20, 20},
      {Lin, 100, 420, 420},
      {Lin, 50, 220, 220},
      {Lin, 1.125, 24, 24},
      {Lin, 1.375, 26, 26},             // halves to the even neighbour
      {Lin, -1e6, -3999980, -3999980},  // extrapolated, not clamped to the plot
      {Lin, 1e300, 2147483647, 2147483647},
      {Lin, -1e300, -2147483647, -2147483647},
      {Lin, Inf, 2147483647, 2147483647},
      {Lin, -Inf, -2147483647, -2147483647},
      {Lin, NaN, 0, 0},
      {Lin, std::numeric_limits<double>::max(), 2147483647, 2147483647},
      {Log, 1, 20, 20},
      {Log, 10, 140, 140},
      {Log, 1000, 380, 380},
      {Log, 1e-100, 0, 0},
      {Log, 0, 0, 0},
      {Log, -5, 0, 0},
      {Log, NaN, 0, 0},
      {Log, 4.9e-324, 0, 0},
      {Log, Inf, 2147483647, 2147483647},
      {Log, std::nextafter(1e-100, 1.0), -11980, -11980},  // just above the floor: its logarithm
      {LogRev, 1000, 20, 20},
      {LogRev, 0, 400, 400},
      {LogRev, 1e-101, 400, 400},
      {Flat, -1e300, 200, 200},
      {Flat, 7, 200, 200},
      {Flat, NaN, 0, 0},  // NaN * 0 stays NaN
      {Hair, 2, 2, 3},
      {Hair, 3, 4, 4},  // 2.5 + 2^-60: a double rounds it to 2.5 first
  };
  for (const auto& R : Rows) {
    EXPECT_EQ(R.Map.Pixel(R.Value), R.Pixel) << R.Value;
    EXPECT_EQ(R.Map.PixelOfExtended(R.Value), R.PixelOfExtended) << R.Value;
    EXPECT_EQ(R.Map.Pixel(R.Value), PixelFromDouble(R.Map.Raw(R.Value))) << R.Value;
  }

  EXPECT_DOUBLE_EQ(Lin.Value(220), 50.0);
  EXPECT_NEAR(Log.Value(140), 10.0, 1e-9);
  EXPECT_EQ(Flat.Value(200), 0.0);  // no inverse: a defined value, no division by zero
  EXPECT_EQ(Lin.FineRaw(1.125), 24.5);
  EXPECT_EQ(Log.FineRaw(0), 0.0);
}

TEST(AxisMap, FitsFromBothEdgesAndFromOneEnd) {
  Extended F = 0, O = 0;
  // From the edges: a logarithmic range with an end not above 0 leaves the factors.
  F = 7;
  O = 9;
  EXPECT_FALSE(FitAxisToEdges({0, 10, true}, 0, 100, F, O));
  EXPECT_FALSE(FitAxisToEdges({10, -1, true}, 0, 100, F, O));
  EXPECT_EQ(F, 7);
  EXPECT_EQ(O, 9);
  // Edges beyond 2^31 keep the range ends exactly on them.
  ASSERT_TRUE(FitAxisToEdges({0, 1, false}, -2147483648.0L, 270, F, O));
  EXPECT_EQ(O, -2147483648.0L);
  EXPECT_EQ(F + O, 270);
  // From one end: From at Start, To Span pixels on (here upwards, as a vertical scale).
  FitAxisFromStart(100, 0, false, 20, 359, F, O);
  EXPECT_EQ(TAxisMap::Make(F, O, false, 0).PixelOfExtended(100), 20);
  EXPECT_EQ(TAxisMap::Make(F, O, false, 0).PixelOfExtended(0), 379);
  FitAxisFromStart(1, 1000, true, 20, 359, F, O);
  EXPECT_EQ(TAxisMap::Make(F, O, true, 0).PixelOfExtended(10), 140);
}

}  // namespace
}  // namespace zkw
