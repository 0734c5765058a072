// The per-kind views name the record's own fields: what a command writes
// reads back through the view of its kind, and a view of a const record
// cannot write.
#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <utility>

#include "chart/ZKW_vexa.h"

namespace zkw {
namespace {

static_assert(std::is_same_v<decltype(AsBox(std::declval<const TvxChartItem&>()).HalfWidth), const std::int32_t&>);
static_assert(std::is_same_v<decltype(AsBox(std::declval<TvxChartItem&>()).HalfWidth), std::int32_t&>);

TEST(ItemViews, TheCommandsWriteWhatTheViewsName) {
  TVexa Chart(nullptr);
  Chart.AddBox(1, 2, 3, 4, true);
  Chart.AddArrow2(0, 0, 1, 1, 9, true);
  Chart.AddErrorBar(5, 5, -0.5, 2, 3, true);
  Chart.AddTextOffs(0, 0, 7, -8, "a", 12);
  const TvxChartItem Box = Chart.GetItem(0), Arrow = Chart.GetItem(1), Bar = Chart.GetItem(2),
                     Text = Chart.GetItem(3);
  EXPECT_EQ(AsBox(Box).HalfWidth, 3);
  EXPECT_EQ(AsBox(Box).HalfHeight, 4);
  EXPECT_TRUE(AsBox(Box).Transparent);
  EXPECT_EQ(AsArrow(Arrow).HeadSize, 9);
  EXPECT_TRUE(AsArrow(Arrow).OpenHeads);
  EXPECT_EQ(AsErrorBar(Bar).ErrLow, 0.5);
  EXPECT_EQ(AsErrorBar(Bar).ErrHigh, 2.0);
  EXPECT_TRUE(AsErrorBar(Bar).Horizontal());
  EXPECT_EQ(AsText(Text).OffsetX, 7.0);
  EXPECT_EQ(AsText(Text).OffsetY, -8.0);
  EXPECT_EQ(AsText(Text).FontSize, 12);
  EXPECT_LT(AsText(Text).LongText, 1);
}

}  // namespace
}  // namespace zkw
