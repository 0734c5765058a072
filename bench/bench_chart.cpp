// Chart model benchmarks: appending marks, the nearest-item search at
// several store sizes (indexed, beside the plain linear search, in the demo's
// move pattern, far outside the plot and right after a range change), and the
// world-to-pixel transform.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "chart/ZKW_vexa.h"
#include "chart/nearest_item.h"

namespace zkw {
namespace {

// A 1000 by 700 pixel chart with a 0..1000 by 0..700 layer 1.
std::unique_ptr<TVexa> MakeChart(int Marks) {
  auto Chart = std::make_unique<TVexa>(nullptr);
  Chart->SetBounds(0, 0, 1000, 700);
  Chart->SetAllocSize(100000);
  Chart->Scale1X().SetRangeHigh(1000);
  Chart->Scale1Y().SetRangeHigh(700);
  SetRandSeed(1);
  for (int I = 0; I < Marks; ++I) Chart->AddMark(Random() * 1000, Random() * 700, 10);
  return Chart;
}

void BM_AddMark(benchmark::State& State) {
  const int Count = static_cast<int>(State.range(0));
  for (auto _ : State) {
    State.PauseTiming();
    TVexa Chart(nullptr);
    Chart.SetAllocSize(1000);
    State.ResumeTiming();
    for (int I = 0; I < Count; ++I) Chart.AddMark(I, I * 0.5, 10);
    benchmark::DoNotOptimize(Chart.ItemCount());
  }
  State.SetItemsProcessed(State.iterations() * Count);
}
BENCHMARK(BM_AddMark)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_FindNearestItem(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  double X = 0;
  for (auto _ : State) {
    double Distance = 0;
    X = X > 990 ? 0 : X + 7.3;
    benchmark::DoNotOptimize(Chart->FindNearestItem(1, 255, X, 350, Distance));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestItem)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The plain linear search over the same store and points, for comparison.
void BM_FindNearestLinear(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  const TLayerTransform T = Chart->LayerTransform(1);
  const TvxItemStore& Store = Chart->DataStore();
  double X = 0;
  for (auto _ : State) {
    double Distance = 0;
    X = X > 990 ? 0 : X + 7.3;
    benchmark::DoNotOptimize(
        FindNearestInStore(Store.Data(), Store.Count(), T, T.PixelX(X), T.PixelY(350), 1, 255, nullptr, Distance));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestLinear)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The demo's move: the cursor mark (the last item) goes, a mark is appended
// at the found item, and the next search follows.
void BM_FindNearestDemoMove(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  Chart->SetAutoRedraw(false);
  Chart->AddMark(0, 0, 25);
  double X = 0;
  double Distance = 0;
  Chart->FindNearestItem(1, 255, X, 350, Distance);
  for (auto _ : State) {
    X = X > 990 ? 0 : X + 7.3;
    const int Index = Chart->FindNearestItem(1, 255, X, 350, Distance);
    const TvxChartItem Found = Chart->GetItem(Index);
    Chart->RemoveLastItem();
    Chart->AddMark(Found.X, Found.Y, 25);
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_FindNearestDemoMove)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Points far outside the plot: millions of pixels away on either side.
void BM_FindNearestFarOutside(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  int N = 0;
  for (auto _ : State) {
    double Distance = 0;
    const double Far = (N++ & 1) ? 1e7 : -1e7;
    benchmark::DoNotOptimize(Chart->FindNearestItem(1, 255, Far, -Far, Distance));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestFarOutside)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The first search after the x range changed (the change itself not timed):
// the index is built by this search.
void BM_FindNearestAfterRangeChange(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  int N = 0;
  for (auto _ : State) {
    State.PauseTiming();
    Chart->SetLayerRange(1, false, false, 0, 0, (N++ & 1) ? 1000 : 900, 700);
    State.ResumeTiming();
    double Distance = 0;
    benchmark::DoNotOptimize(Chart->FindNearestItem(1, 255, 400, 350, Distance));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestAfterRangeChange)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_WorldToPixelMillion(benchmark::State& State) {
  const auto Chart = MakeChart(0);
  for (auto _ : State) {
    long long Sum = 0;
    for (int I = 0; I < 1000000; ++I) {
      int PX = 0, PY = 0;
      Chart->WorldToPixel(1, I * 0.001, I * 0.0007, PX, PY);
      Sum += PX + PY;
    }
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * 1000000);
}
BENCHMARK(BM_WorldToPixelMillion)->Unit(benchmark::kMillisecond);

// The hoisted transform the search and the renderer use per item.
void BM_LayerTransformMillion(benchmark::State& State) {
  const auto Chart = MakeChart(0);
  const TLayerTransform T = Chart->LayerTransform(1);
  for (auto _ : State) {
    long long Sum = 0;
    for (int I = 0; I < 1000000; ++I) Sum += T.PixelX(I * 0.001) + T.PixelY(I * 0.0007);
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * 1000000);
}
BENCHMARK(BM_LayerTransformMillion)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zkw
