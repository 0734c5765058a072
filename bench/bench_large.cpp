// Ten million marks in one 1000 x 700 chart: the bulk append, one full
// redraw, the nearest-item search (the first one after a change of ranges,
// which builds the index, and repeated ones), and removal one item at a time
// back to an empty store. The benchmarks run in this order on one chart;
// each reports the process's memory beside the size of the items alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "chart/ZKW_vexa.h"
#include "chart/render.h"
#include "platform/rtl.h"

namespace zkw {
namespace {

const bool Headless = (setenv("QT_QPA_PLATFORM", "offscreen", 0), true);

constexpr int MarkCount = 10'000'000;
constexpr double MiB = 1024.0 * 1024.0;

// Resident and peak resident memory of the process, in MiB.
double ResidentMiB() {
  std::ifstream Statm("/proc/self/statm");
  long long Size = 0, Resident = 0;
  Statm >> Size >> Resident;
  return static_cast<double>(Resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / MiB;
}
double PeakMiB() {
  std::ifstream Status("/proc/self/status");
  std::string Key;
  while (Status >> Key) {
    if (Key == "VmHWM:") {
      double KiB = 0;
      Status >> KiB;
      return KiB / 1024.0;
    }
  }
  return 0;
}

void ReportMemory(benchmark::State& State) {
  State.counters["items_MiB"] = static_cast<double>(MarkCount) * sizeof(TvxChartItem) / MiB;
  State.counters["rss_MiB"] = ResidentMiB();
  State.counters["peak_MiB"] = PeakMiB();
}

std::unique_ptr<TVexa>& Chart() {
  static std::unique_ptr<TVexa> C;
  return C;
}

std::unique_ptr<TVexa> MakeChart() {
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, 1000, 700);
  C->Scale1X().SetRangeHigh(1000);
  C->Scale1Y().SetRangeHigh(700);
  C->SetDataColor(clNavy);
  C->HandleNeeded();
  return C;
}

// The ten million points, the same for every benchmark.
struct TPoints {
  std::vector<double> Xs, Ys;
};
const TPoints& Points() {
  static const TPoints P = [] {
    TPoints R{std::vector<double>(MarkCount), std::vector<double>(MarkCount)};
    SetRandSeed(1);
    for (int I = 0; I < MarkCount; ++I) {
      R.Xs[static_cast<std::size_t>(I)] = Random() * 1000;
      R.Ys[static_cast<std::size_t>(I)] = Random() * 700;
    }
    return R;
  }();
  return P;
}

// The chart the benchmarks after BM_Large_AddMarks work on; made and filled
// here when that one did not run (a filter left it out) or a benchmark emptied it.
TVexa& FilledChart() {
  if (!Chart() || Chart()->ItemCount() == 0) {
    Chart() = MakeChart();
    Chart()->AddMarks(Points().Xs, Points().Ys, 10);
  }
  return *Chart();
}

// One AddMarks call of ten million points into a new chart.
void BM_Large_AddMarks(benchmark::State& State) {
  (void)Headless;
  const TPoints& P = Points();
  for (auto _ : State) {
    State.PauseTiming();
    Chart().reset();
    Chart() = MakeChart();
    State.ResumeTiming();
    Chart()->AddMarks(P.Xs, P.Ys, 10);
  }
  State.SetItemsProcessed(State.iterations() * MarkCount);
  ReportMemory(State);
}
BENCHMARK(BM_Large_AddMarks)->Iterations(3)->Unit(benchmark::kMillisecond);

// A redraw of every item (the kept image is off, so each one draws all ten million).
void BM_Large_Redraw(benchmark::State& State) {
  TVexa& C = FilledChart();
  SetRenderShortcuts(true, false);
  for (auto _ : State) C.Redraw();
  SetRenderShortcuts(true);
  State.SetItemsProcessed(State.iterations() * MarkCount);
  ReportMemory(State);
}
BENCHMARK(BM_Large_Redraw)->Iterations(5)->Unit(benchmark::kMillisecond);

// The first search after a change of ranges: it builds the index.
void BM_Large_FindNearestFirst(benchmark::State& State) {
  int N = 0;
  double Distance = 0;
  for (auto _ : State) {
    State.PauseTiming();
    FilledChart().SetLayerRange(1, {0, (N++ & 1) ? 1000.0 : 990.0}, {0, 700});
    State.ResumeTiming();
    benchmark::DoNotOptimize(FilledChart().FindNearestItem(KindFilterAll, ClassFilterAll, 500, 350, Distance));
  }
  ReportMemory(State);
}
BENCHMARK(BM_Large_FindNearestFirst)->Iterations(5)->Unit(benchmark::kMillisecond);

// Searches with an unchanged view, at a point moving over the plot, once the
// index is complete: the build before has sorted its cells on the other core
// by then (searches that come before that scan the kept pixels instead, about
// 25 ms each at ten million; BM_Large_FindNearestWhileSorting).
void BM_Large_FindNearestRepeated(benchmark::State& State) {
  int N = 0;
  double Distance = 0;
  FilledChart().FindNearestItem(KindFilterAll, ClassFilterAll, 500, 350, Distance);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  for (auto _ : State) {
    const double X = (N * 37) % 1000, Y = (N * 53) % 700;
    ++N;
    benchmark::DoNotOptimize(FilledChart().FindNearestItem(KindFilterAll, ClassFilterAll, X, Y, Distance));
  }
  ReportMemory(State);
}
BENCHMARK(BM_Large_FindNearestRepeated)->Unit(benchmark::kMicrosecond);

// The second search right after the first one after a change: the cells are
// still being sorted on the other core, so it scans the kept pixels.
void BM_Large_FindNearestWhileSorting(benchmark::State& State) {
  int N = 0;
  double Distance = 0;
  for (auto _ : State) {
    State.PauseTiming();
    FilledChart().SetLayerRange(1, {0, (N++ & 1) ? 1000.0 : 990.0}, {0, 700});
    FilledChart().FindNearestItem(KindFilterAll, ClassFilterAll, 500, 350, Distance);
    State.ResumeTiming();
    benchmark::DoNotOptimize(FilledChart().FindNearestItem(KindFilterAll, ClassFilterAll, 510, 350, Distance));
  }
  ReportMemory(State);
}
BENCHMARK(BM_Large_FindNearestWhileSorting)->Iterations(5)->Unit(benchmark::kMillisecond);

// RemoveLastItem ten million times, back to an empty store.
void BM_Large_RemoveAll(benchmark::State& State) {
  TVexa& C = FilledChart();
  for (auto _ : State) {
    for (int I = 0; I < MarkCount; ++I) C.RemoveLastItem();
  }
  State.SetItemsProcessed(State.iterations() * MarkCount);
  ReportMemory(State);
  Chart().reset();
}
BENCHMARK(BM_Large_RemoveAll)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zkw
