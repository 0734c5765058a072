// Rendering benchmarks: Redraw of many type-10 marks at two chart sizes, a
// full paint of the demo's chart, and a long ckDrawTo polyline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "chart/ZKW_vexa.h"
#include "chart/render.h"
#include "platform/rtl.h"

namespace zkw {
namespace {

// Text goes through Qt's font engine, which needs a platform; run headless
// unless the caller chose one.
const bool Headless = (setenv("QT_QPA_PLATFORM", "offscreen", 0), true);

// A chart whose paint hooks run the rendering pipeline.
class TBenchVexa : public TVexa {
 public:
  using TVexa::TVexa;
  void DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height) override {
    TChartRenderer(*this).DrawPlotBackground(Canvas, Left, Top, Width, Height);
  }
  void RenderData(TCanvas& Canvas, int Left, int Top, bool Monochrome, int NoGrid) override {
    TChartRenderer(*this).RenderData(Canvas, Left, Top, Monochrome, NoGrid);
  }
  void PaintNow() { Paint(); }

 protected:
  void Paint() override { TChartRenderer(*this).Paint(); }
  void RedrawData() override { TChartRenderer(*this).RedrawData(); }
};

std::unique_ptr<TBenchVexa> MakeChart(int W, int H) {
  auto C = std::make_unique<TBenchVexa>(nullptr);
  C->SetBounds(0, 0, W, H);
  C->SetAllocSize(1000000);
  C->HandleNeeded();
  return C;
}

// Redraw of N type-10 marks spread over the plot.
void BM_RedrawMarks(benchmark::State& State) {
  (void)Headless;
  const int N = static_cast<int>(State.range(0));
  auto C = MakeChart(static_cast<int>(State.range(1)), static_cast<int>(State.range(2)));
  SetRandSeed(1);
  C->SetDataColor(clNavy);
  for (int I = 0; I < N; ++I) C->AddMark(Random(), Random(), 10);
  C->Repaint();
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawMarks)
    ->ArgsProduct({{1000, 100000, 1000000}, {505}, {345}})
    ->ArgsProduct({{1000, 100000, 1000000}, {1000}, {700}})
    ->Unit(benchmark::kMillisecond);

// The same with duplicate marks suppressed (one grid reset per pass).
void BM_RedrawMarksAvoidDuplicates(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  auto C = MakeChart(1000, 700);
  C->SetAvoidDuplicateMarks(true);
  SetRandSeed(1);
  for (int I = 0; I < N; ++I) C->AddMark(Random(), Random(), 10);
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawMarksAvoidDuplicates)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A full paint of the demo's chart: outer area, 32 scales, data, crosshairs.
void BM_PaintDemo(benchmark::State& State) {
  auto C = std::make_unique<TBenchVexa>(nullptr);
  C->SetBounds(8, 8, 505, 345);
  C->Scale1X().SetRangeLow(1000.0);
  C->Scale1X().SetRangeHigh(3300.0);
  C->Scale1Y().SetRangeLow(-2.0);
  C->Scale1Y().SetRangeHigh(3.0);
  C->SetShadowColor(clGray);
  C->SetShadowBakColor(clSilver);
  C->HandleNeeded();
  C->SetDataColor(0x800000);
  SetRandSeed(0);
  for (int I = 1; I <= 100; ++I)
    C->AddMark(I * 15 + 1200, static_cast<double>(std::sin(static_cast<Extended>(I) * 0.05L)) + Random(), 10);
  C->SetDataColor(255);
  C->AddMarkInt(0, 0, 25);
  for (auto _ : State) C->PaintNow();
}
BENCHMARK(BM_PaintDemo)->Unit(benchmark::kMillisecond);

// Redraw of one polyline of 100,000 ckDrawTo points (batches of 200).
void BM_RedrawDrawTo(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  auto C = MakeChart(1000, 700);
  C->SetDataColor(clTeal);
  C->AddMoveTo(0, 0.5);
  for (int I = 1; I <= N; ++I) C->AddDrawTo(static_cast<double>(I) / N, 0.5 + 0.45 * std::sin(I * 0.01));
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawDrawTo)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zkw
