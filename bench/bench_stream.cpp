// One frame of the live-data example (examples/stream): append the frame's
// points (1,000 per second at 60 frames per second: 17), scroll the x axis
// over the last ten seconds, redraw, with the window's surface updated. The
// chart holds range(0) points already; range(1) = 1 adds the example's
// overview chart, which shares the store and shows all of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "chart/ZKW_vexa.h"
#include "examples/stream/stream_frame.h"

namespace zkw {
namespace {

constexpr std::int64_t PointsPerFrame = 17;

void BM_StreamFrame(benchmark::State& State) {
  namespace st = stream;
  const std::int64_t Points = State.range(0);
  auto Live = std::make_unique<TVexa>(nullptr);
  Live->SetBounds(0, 0, 900, 380);
  Live->SetAllocSize(1000000);
  Live->Scale1Y().SetRangeLow(-2);
  Live->Scale1Y().SetRangeHigh(2);
  Live->SetGridStyle(gsDotLines);
  Live->SetDataColor(clNavy);
  Live->SetAutoRedraw(false);
  Live->HandleNeeded();
  std::unique_ptr<TVexa> All;
  if (State.range(1)) {
    All = std::make_unique<TVexa>(nullptr);
    All->SetBounds(0, 0, 900, 200);
    All->Scale1Y().SetRangeLow(-2);
    All->Scale1Y().SetRangeHigh(2);
    All->HandleNeeded();
    All->SetUseDataOf(Live.get());
  }
  std::int64_t Shown = st::Frame(*Live, 0, Points);
  if (All) All->SetRange(1, {0, st::SampleTime(Points) * 1.25}, {-2, 2});
  for (auto _ : State) {
    Shown = st::Frame(*Live, Shown, Shown + PointsPerFrame);
  }
  State.counters["items"] = static_cast<double>(Live->ItemCount());
}
BENCHMARK(BM_StreamFrame)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Args({10000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
}  // namespace zkw
