// Chart model benchmarks: appending marks (one at a time and in bulk), the
// nearest-item search at several store sizes (indexed, beside the plain linear
// search, in the demo's move pattern, far outside the plot and right after a
// range change), and the world-to-pixel transform.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "chart/nearest_index.h"
#include "chart/nearest_item.h"
#include "platform/two_cores.h"

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

// Bulk data against the one-at-a-time loop that builds the same items: the
// chart (default AllocSize 1000) is made and destroyed outside the timing.
std::vector<double> Ramp(int Count, double Step) {
  std::vector<double> V(static_cast<std::size_t>(Count));
  for (int I = 0; I < Count; ++I) V[static_cast<std::size_t>(I)] = I * Step;
  return V;
}

template <typename Fill>
void TimeAppend(benchmark::State& State, Fill&& Append) {
  const int Count = static_cast<int>(State.range(0));
  const std::vector<double> Xs = Ramp(Count, 1.0), Ys = Ramp(Count, 0.5);
  for (auto _ : State) {
    State.PauseTiming();
    auto Chart = std::make_unique<TVexa>(nullptr);
    State.ResumeTiming();
    Append(*Chart, Xs, Ys);
    benchmark::DoNotOptimize(Chart->ItemCount());
    State.PauseTiming();
    Chart.reset();
    State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * Count);
}

void BM_AddMarkLoop(benchmark::State& State) {
  TimeAppend(State, [](TVexa& Chart, const std::vector<double>& Xs, const std::vector<double>& Ys) {
    for (std::size_t I = 0; I < Xs.size(); ++I) Chart.AddMark(Xs[I], Ys[I], 10);
  });
}
BENCHMARK(BM_AddMarkLoop)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_AddMarks(benchmark::State& State) {
  TimeAppend(State, [](TVexa& Chart, const std::vector<double>& Xs, const std::vector<double>& Ys) {
    Chart.AddMarks(Xs, Ys, 10);
  });
}
BENCHMARK(BM_AddMarks)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_AddDrawToLoop(benchmark::State& State) {
  TimeAppend(State, [](TVexa& Chart, const std::vector<double>& Xs, const std::vector<double>& Ys) {
    Chart.AddMoveTo(Xs[0], Ys[0]);
    for (std::size_t I = 1; I < Xs.size(); ++I) Chart.AddDrawTo(Xs[I], Ys[I]);
  });
}
BENCHMARK(BM_AddDrawToLoop)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_AddPolyline(benchmark::State& State) {
  TimeAppend(State, [](TVexa& Chart, const std::vector<double>& Xs, const std::vector<double>& Ys) {
    Chart.AddPolyline(Xs, Ys);
  });
}
BENCHMARK(BM_AddPolyline)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The same appends into memory the store already touched: a chart whose first
// growth step (AllocSize 1000000) holds every batch, emptied by
// RemoveLastItem (which keeps the array while items remain) between batches.
// This leaves out the page faults of fresh memory that both ways pay alike.
template <typename Fill>
void TimeWarmAppend(benchmark::State& State, Fill&& Append) {
  const int Count = static_cast<int>(State.range(0));
  const std::vector<double> Xs = Ramp(Count, 1.0), Ys = Ramp(Count, 0.5);
  TVexa Chart(nullptr);
  Chart.SetAllocSize(MaxAllocSize);
  Chart.AddMark(0, 0, 1);  // keeps the array alive; its slots are written once
  for (int I = 1; I < MaxAllocSize; ++I) Chart.AddMark(0, 0, 1);
  while (Chart.ItemCount() > 1) Chart.RemoveLastItem();
  for (auto _ : State) {
    Append(Chart, Xs, Ys);
    benchmark::DoNotOptimize(Chart.ItemCount());
    State.PauseTiming();
    while (Chart.ItemCount() > 1) Chart.RemoveLastItem();
    State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * Count);
}

void BM_AddMarkLoopWarm(benchmark::State& State) {
  TimeWarmAppend(State, [](TVexa& Chart, const std::vector<double>& Xs, const std::vector<double>& Ys) {
    for (std::size_t I = 0; I < Xs.size(); ++I) Chart.AddMark(Xs[I], Ys[I], 10);
  });
}
BENCHMARK(BM_AddMarkLoopWarm)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_AddMarksWarm(benchmark::State& State) {
  TimeWarmAppend(State, [](TVexa& Chart, const std::vector<double>& Xs, const std::vector<double>& Ys) {
    Chart.AddMarks(Xs, Ys, 10);
  });
}
BENCHMARK(BM_AddMarksWarm)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_FindNearestItem(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  double X = 0;
  for (auto _ : State) {
    double Distance = 0;
    X = X > 990 ? 0 : X + 7.3;
    benchmark::DoNotOptimize(Chart->FindNearestItem(ckMark, ClassFilterAll, X, 350, Distance));
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
    benchmark::DoNotOptimize(FindNearestInStore(Store.Data(), Store.Count(), T, T.PixelX(X), T.PixelY(350), ckMark,
                                                ClassFilterAll, nullptr, Distance));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestLinear)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The demo's move: the cursor mark (the last item) goes, a mark is appended
// at the found item, and the next search follows.
void BM_FindNearestDemoMove(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  Chart->SetAutoRedraw(false);
  Chart->AddMark(0, 0, 25);
  double X = 0;
  double Distance = 0;
  Chart->FindNearestItem(ckMark, ClassFilterAll, X, 350, Distance);
  for (auto _ : State) {
    X = X > 990 ? 0 : X + 7.3;
    const int Index = Chart->FindNearestItem(ckMark, ClassFilterAll, X, 350, Distance);
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
    benchmark::DoNotOptimize(Chart->FindNearestItem(ckMark, ClassFilterAll, Far, -Far, Distance));
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestFarOutside)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The first search after the x range changed (the change itself not timed).
// The index does not depend on the view, so this is a tree search; range(1):
// 1 after a pause, 2 the same and a second search at once, 3 the pause case
// on one core, 4 a pan without pauses (a change before every search), 5 the
// linear search after the same pause, for comparison with 1.
void BM_FindNearestAfterRangeChange(benchmark::State& State) {
  const auto Chart = MakeChart(static_cast<int>(State.range(0)));
  const int Mode = static_cast<int>(State.range(1));
  SetTwoCoresEnabled(Mode != 3);
  int N = 0;
  double Distance = 0;
  for (auto _ : State) {
    State.PauseTiming();
    if (Mode != 4) {
      Chart->FindNearestItem(ckMark, ClassFilterAll, 400, 350, Distance);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Chart->SetLayerRange(1, {0, (N++ & 1) ? 1000.0 : 900.0}, {0, 700});
    State.ResumeTiming();
    if (Mode == 5) {
      const TLayerTransform T = Chart->LayerTransform(1);
      const TvxItemStore& Store = Chart->DataStore();
      benchmark::DoNotOptimize(FindNearestInStore(Store.Data(), Store.Count(), T, T.PixelX(400), T.PixelY(350),
                                                  ckMark, ClassFilterAll, nullptr, Distance));
      continue;
    }
    benchmark::DoNotOptimize(Chart->FindNearestItem(ckMark, ClassFilterAll, 400, 350, Distance));
    if (Mode == 2) benchmark::DoNotOptimize(Chart->FindNearestItem(ckMark, ClassFilterAll, 410, 350, Distance));
  }
  SetTwoCoresEnabled(true);
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_FindNearestAfterRangeChange)
    ->ArgsProduct({{1000000}, {1, 2, 3, 4, 5}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The index itself over a store of random marks on a 1000 by 700 plot, for
// the two costs a host meets: the first search after the store changed (the
// build's linear pass) and the first search after a pan or zoom; bytes/item
// is the index's memory.
struct TIndexBench {
  TPlotGeometry Geometry{1000, 700, 0, 0, 0, 0, 0};
  TvxItemStore Store;
  explicit TIndexBench(int Count) {
    SetRandSeed(1);
    for (int I = 0; I < Count; ++I) {
      TvxChartItem& Item = Store.NextSlot(1 << 20);
      Item = TvxChartItem{};
      Item.Kind = ckMark;
      Item.Layer = 1;
      Item.X = Random() * 1000;
      Item.Y = Random() * 700;
      Store.Commit(true);
    }
  }
  // The view of x Low..Low+Width, y 0..Width*0.7.
  TLayerTransform View(double Low, double Width) const {
    const TAxisRange XA{Low, Low + Width, false}, YA{0, Width * 0.7, false};
    TLayerFactors F;
    ComputeXFactors(XA, Geometry, F.XFactor, F.XOffset);
    ComputeYFactors(YA, Geometry, F.YFactor, F.YOffset);
    return TLayerTransform::Make(F, XA, YA, Geometry.Width, Geometry.Height);
  }
};

// The first search after the store changed: the build's linear pass answers
// it (the rest of the build goes on in the background, waited for untimed).
void BM_NearestIndexAfterStoreChange(benchmark::State& State) {
  TIndexBench B(static_cast<int>(State.range(0)));
  TNearestIndex Index;
  const TLayerTransform T = B.View(0, 1000);
  double Distance = 0;
  double Background = 0;  // seconds the builds went on after their searches
  for (auto _ : State) {
    State.PauseTiming();
    (void)B.Store.Item(0);  // write access: a new generation
    State.ResumeTiming();
    benchmark::DoNotOptimize(Index.Find(B.Store, T, 400, 350, ckMark, 255, nullptr, Distance));
    State.PauseTiming();
    const auto Start = std::chrono::steady_clock::now();
    Index.WaitForBuild();
    Background += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    State.ResumeTiming();
  }
  State.counters["background ms"] = 1e3 * Background / static_cast<double>(State.iterations());
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_NearestIndexAfterStoreChange)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first search after a pan or zoom, the index built and settled before.
void BM_NearestIndexAfterRangeChange(benchmark::State& State) {
  TIndexBench B(static_cast<int>(State.range(0)));
  TNearestIndex Index;
  double Distance = 0;
  Index.Find(B.Store, B.View(0, 1000), 400, 350, ckMark, 255, nullptr, Distance);
  Index.WaitForBuild();
  int N = 0;
  for (auto _ : State) {
    ++N;
    // Pans by a few pixels and, every fourth time, a zoom.
    const TLayerTransform T = N % 4 == 0 ? B.View(100, 500 + N % 7 * 50) : B.View(N % 50 * 3.7, 1000);
    benchmark::DoNotOptimize(Index.Find(B.Store, T, 400 + N % 13, 350, ckMark, 255, nullptr, Distance));
  }
  State.counters["bytes/item"] = static_cast<double>(Index.MemoryBytes()) / static_cast<double>(State.range(0));
  State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_NearestIndexAfterRangeChange)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();

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
