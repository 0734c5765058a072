// Ten million marks: one bulk append, nearest-item searches over them, then
// removal one item at a time back to an empty store, with searches on the
// way (the index follows removals of the last item). Every search answer is
// compared with the plain linear search, and the memory the items took is
// given back at the end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "chart/nearest_item.h"
#include "tests/support/stress_support.h"

namespace zkw {
namespace {

using stress::Coordinate;
using stress::MiB;
using stress::ResidentBytes;

constexpr int MarkCount = 10'000'000;

// World points of layer 1 (0..1000 by 0..700 on a 1000 by 700 chart): inside
// the plot, on its corners and far outside it.
const std::vector<std::pair<double, double>> SearchPoints = {
    {500, 350}, {0, 0}, {1000, 700}, {123.4, 654.3}, {-5000, 350}, {500, 1e9}};

// Item counts at which the chart is searched on the way down: every count
// of the first removals (the index follows each removal of the last item),
// every million, and around the size below which the search is linear.
std::vector<int> SearchCounts() {
  std::vector<int> Counts;
  for (int C = MarkCount; C >= MarkCount - 50; --C) Counts.push_back(C);
  for (int C = 9'000'000; C > 0; C -= 1'000'000) Counts.push_back(C);
  for (int C : {500'000, 4097, 2049, 2048, 2047, 100, 1, 0}) Counts.push_back(C);
  return Counts;
}

// The linear search's answer for every prefix of Counts (descending), from
// one ascending pass: the search keeps the first of equally near items, so
// its state after the first N items is the answer for a store of N.
struct TAnswer {
  int Found = -1;
  double Distance = 0;
};
std::vector<TAnswer> LinearAnswers(const TvxItemStore& Store, const TLayerTransform& T, double X, double Y,
                                   const std::vector<int>& Counts) {
  const TKindTable AllKinds = KindFilterTable(10);
  std::vector<TAnswer> Answers(Counts.size());
  double Best = NoItemSquaredDistance;
  int Found = -1, Done = 0;
  for (std::size_t I = Counts.size(); I-- > 0;) {
    ScanNearest(Store.Data(), Done, Counts[I], T, T.PixelX(X), T.PixelY(Y), AllKinds, 255, nullptr, Best, Found);
    Done = Counts[I];
    Answers[I] = {Found, std::sqrt(Best)};
  }
  return Answers;
}

TEST(StressMarks, TenMillionMarksAppendedSearchedAndRemovedOneByOne) {
  auto Chart = std::make_unique<TVexa>(nullptr);
  Chart->SetBounds(0, 0, 1000, 700);
  Chart->Scale1X().SetRangeHigh(1000);
  Chart->Scale1Y().SetRangeHigh(700);
  Chart->HandleNeeded();
  const std::int64_t Before = ResidentBytes();

  {
    std::vector<double> Xs(MarkCount), Ys(MarkCount);
    for (int I = 0; I < MarkCount; ++I) {
      Xs[static_cast<std::size_t>(I)] = Coordinate(static_cast<std::uint64_t>(I), 0, 1000);
      Ys[static_cast<std::size_t>(I)] = Coordinate(static_cast<std::uint64_t>(I), 1, 700);
    }
    Chart->AddMarks(Xs, Ys, 10);
  }
  ASSERT_EQ(Chart->ItemCount(), MarkCount);
  ASSERT_EQ(Chart->KindCount(ckMark), MarkCount);
  const std::int64_t Full = ResidentBytes();
  // The items really are resident: at least the array of ten million.
  EXPECT_GE(Full - Before, static_cast<std::int64_t>(MarkCount) * static_cast<std::int64_t>(sizeof(TvxChartItem)) * 9 / 10);
  for (int I : {0, 1, 4'999'999, MarkCount - 1}) {
    const TvxChartItem Item = Chart->GetItem(I);
    EXPECT_EQ(Item.X, Coordinate(static_cast<std::uint64_t>(I), 0, 1000)) << I;
    EXPECT_EQ(Item.Y, Coordinate(static_cast<std::uint64_t>(I), 1, 700)) << I;
    EXPECT_EQ(Item.Kind, ckMark);
    EXPECT_EQ(Item.MarkType, 10);
  }

  const std::vector<int> Counts = SearchCounts();
  std::vector<std::vector<TAnswer>> Expected;
  for (const auto& [X, Y] : SearchPoints)
    Expected.push_back(LinearAnswers(Chart->DataStore(), Chart->LayerTransform(1), X, Y, Counts));

  // Removal one by one down to each count, then a search at every point:
  // the first answer of a new store size and, for the full store, a repeated one.
  for (std::size_t C = 0; C < Counts.size(); ++C) {
    while (Chart->ItemCount() > Counts[C]) Chart->RemoveLastItem();
    ASSERT_EQ(Chart->ItemCount(), Counts[C]);
    for (int Repeat = 0; Repeat < (C == 0 ? 2 : 1); ++Repeat) {
      for (std::size_t P = 0; P < SearchPoints.size(); ++P) {
        double Distance = -1;
        const int Found = Chart->FindNearestItem(10, 255, SearchPoints[P].first, SearchPoints[P].second, Distance);
        ASSERT_EQ(Found, Expected[P][C].Found) << "count " << Counts[C] << ", point " << P;
        ASSERT_EQ(Distance, Expected[P][C].Distance) << "count " << Counts[C] << ", point " << P;
        ASSERT_EQ(Found >= 0, Counts[C] > 0);
      }
    }
  }
  EXPECT_EQ(Chart->ItemCount(), 0);
  EXPECT_EQ(Chart->ItemCapacity(), 0);
  EXPECT_EQ(Chart->KindCount(ckMark), 0);

  // The items' memory and the search index went back. The tolerance leaves
  // room for the allocator's own bookkeeping, far below the gigabyte the
  // items took.
  const std::int64_t After = ResidentBytes();
  EXPECT_LT(After - Before, 64 * MiB) << "resident before " << Before / MiB << " MiB, full " << Full / MiB
                                       << " MiB, after " << After / MiB << " MiB";
  // The chart works on as before.
  Chart->AddMark(10, 10, 1);
  double Distance = 0;
  EXPECT_EQ(Chart->FindNearestItem(10, 255, 10, 10, Distance), 0);
  EXPECT_EQ(Distance, 0.0);
}

}  // namespace
}  // namespace zkw
