// The nearest-item search: pixel rounding, ties, filters and the empty result.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "chart/nearest_item.h"

namespace zkw {
namespace {

// One world unit per pixel: x = pixel, y = 100 - pixel.
TLayerTransform UnitTransform() {
  TLayerFactors F{1, 0, -1, 100};
  return TLayerTransform::Make(F, {0, 100, false}, {0, 100, false}, 100, 100);
}

TvxChartItem Item(std::uint8_t Kind, double X, double Y, std::uint8_t Class = 0, int Layer = 1) {
  TvxChartItem I;
  I.Kind = Kind;
  I.X = X;
  I.Y = Y;
  I.ItemClass = Class;
  I.Layer = Layer;
  return I;
}

int Find(const std::vector<TvxChartItem>& Items, std::uint8_t Kind, std::uint8_t Class, int MX, int MY,
         double& Distance, const bool* Visible = nullptr) {
  return FindNearestInStore(Items.data(), static_cast<int>(Items.size()), UnitTransform(), MX, MY, Kind, Class,
                            Visible, Distance);
}

// The integer shortcut for near offsets must round exactly as the wide sum
// does, up to and across the offsets where it hands over (sums past 2^53
// round; past 2^62 a square would no longer fit).
TEST(NearestItem, DistancesRoundAsTheWideSumAtEveryOffset) {
  auto Wide = [](std::int64_t DX, std::int64_t DY) {
    const Extended X = static_cast<Extended>(DX), Y = static_cast<Extended>(DY);
    return static_cast<double>(X * X + Y * Y);
  };
  const std::int64_t Edge = (std::int64_t{1} << 31) - 1;
  const std::int64_t Offsets[] = {0, 1, 3, 94906265, 94906267, 134217729, Edge - 1, Edge, Edge + 1, Edge + 2,
                                  std::int64_t{1} << 32, 4294967295};
  for (const std::int64_t A : Offsets)
    for (const std::int64_t B : Offsets)
      for (const int SA : {1, -1})
        for (const int SB : {1, -1}) {
          EXPECT_EQ(PixelDistance2(SA * A, 0, 0, SB * B), Wide(SA * A, SB * B)) << A << " " << B;
          // The same offsets between two points away from zero.
          EXPECT_EQ(PixelDistance2(-2147483647, 2147483647, -2147483647 + SA * A, 2147483647 - SB * B),
                    Wide(SA * A, SB * B));
        }
}

TEST(NearestItem, MeasuresRoundedPixelsAndKeepsTheLowestIndexOnTies) {
  double D = -1;
  // Two marks equally far from x = 15; the first stored wins.
  std::vector<TvxChartItem> Items = {Item(ckMark, 10, 50), Item(ckMark, 20, 50)};
  EXPECT_EQ(Find(Items, ckMark, 255, 15, 50, D), 0);
  EXPECT_DOUBLE_EQ(D, 5.0);
  // Different world positions that round to the same pixel are a tie as well.
  Items = {Item(ckMark, 30, 50), Item(ckMark, 10.4, 50), Item(ckMark, 9.6, 50)};
  EXPECT_EQ(Find(Items, ckMark, 255, 10, 50, D), 1);
  EXPECT_EQ(D, 0.0);
  // A later, strictly nearer item replaces the best.
  Items = {Item(ckMark, 0, 0), Item(ckMark, 60, 40), Item(ckMark, 61, 40)};
  EXPECT_EQ(Find(Items, ckMark, 255, 61, 60, D), 2);
  EXPECT_DOUBLE_EQ(D, 0.0);
  EXPECT_EQ(Find(Items, ckMark, 255, 64, 56, D), 2);
  EXPECT_DOUBLE_EQ(D, 5.0);
}

TEST(NearestItem, KindAndClassFilters) {
  double D = 0;
  const std::vector<TvxChartItem> Items = {Item(ckMark, 0, 0, 3), Item(ckMoveTo, 50, 50, 0),
                                           Item(ckLine, 40, 50, 255), Item(ckMark, 45, 50, 0)};
  EXPECT_EQ(Find(Items, KindFilterAll, 255, 50, 50, D), 1);
  EXPECT_EQ(Find(Items, KindFilterAllButMoveTo, 255, 50, 50, D), 3);
  EXPECT_EQ(Find(Items, ckLine, 255, 50, 50, D), 2);
  EXPECT_EQ(Find(Items, ckMark, 255, 50, 50, D), 3);
  EXPECT_EQ(Find(Items, ckMark, 3, 50, 50, D), 0);
  EXPECT_EQ(Find(Items, KindFilterAll, 255, 40, 50, D), 2);  // class 255 is found by the wildcard
  EXPECT_EQ(Find(Items, ckRect, 255, 50, 50, D), -1);
  EXPECT_EQ(Find(Items, KindFilterNone, 255, 50, 50, D), -1);
  EXPECT_DOUBLE_EQ(D, std::sqrt(1.7e308));
}

TEST(NearestItem, HiddenLayersOnlyCountWhenAsked) {
  double D = 0;
  const std::vector<TvxChartItem> Items = {Item(ckMark, 50, 50, 0, 2), Item(ckMark, 10, 50, 0, 1)};
  bool Visible[16];
  std::fill(std::begin(Visible), std::end(Visible), true);
  Visible[1] = false;
  EXPECT_EQ(Find(Items, ckMark, 255, 50, 50, D), 0);
  EXPECT_EQ(Find(Items, ckMark, 255, 50, 50, D, Visible), 1);
}

TEST(NearestItem, EmptyStoreAndFarPoints) {
  double D = 0;
  EXPECT_EQ(Find({}, ckMark, 255, 1, 1, D), -1);
  EXPECT_DOUBLE_EQ(D, 1.3038404810405297e154);
  // Millions of pixels away is an ordinary distance.
  const std::vector<TvxChartItem> Items = {Item(ckMark, 3e6, 100)};
  EXPECT_EQ(Find(Items, ckMark, 255, 0, 0, D), 0);
  EXPECT_DOUBLE_EQ(D, 3e6);
  // Items clamped at the 32-bit pixel limit still yield a finite distance.
  const std::vector<TvxChartItem> Huge = {Item(ckMark, 1e300, -1e300)};
  EXPECT_EQ(Find(Huge, ckMark, 255, -2147483647, -2147483647, D), 0);
  EXPECT_TRUE(std::isfinite(D));
}

}  // namespace
}  // namespace zkw
