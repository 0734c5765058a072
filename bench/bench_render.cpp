// Rendering benchmarks: Redraw of many type-10 marks at two chart sizes, a
// full paint of the demo's chart, and a long ckDrawTo polyline (also at
// other device ratios and anti-aliased).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "chart/vexa_paint.h"
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
  void PaintNow() { Paint(); }
};

std::unique_ptr<TBenchVexa> MakeChart(int W, int H) {
  auto C = std::make_unique<TBenchVexa>(nullptr);
  C->SetBounds(0, 0, W, H);
  C->SetAllocSize(1000000);
  C->HandleNeeded();
  return C;
}

// The rendering shortcuts for one benchmark: runs on or off (off: the
// reference path, i.e. the renderer before they existed). The kept image is
// off throughout: these redraws of an unchanged store would otherwise draw
// only its last item.
struct TShortcuts {
  explicit TShortcuts(bool Runs) { SetRenderShortcuts(Runs, false); }
  ~TShortcuts() { SetRenderShortcuts(true); }
};

// Redraw of N type-10 marks spread over the plot; range(3) = 0 takes the
// reference path.
void BM_RedrawMarks(benchmark::State& State) {
  (void)Headless;
  const int N = static_cast<int>(State.range(0));
  const TShortcuts Mode(State.range(3) != 0);
  auto C = MakeChart(static_cast<int>(State.range(1)), static_cast<int>(State.range(2)));
  SetRandSeed(1);
  C->SetDataColor(clNavy);
  for (int I = 0; I < N; ++I) C->AddMark(Random(), Random(), 10);
  C->Repaint();
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawMarks)
    ->ArgsProduct({{1000, 100000, 1000000}, {505}, {345}, {1}})
    ->ArgsProduct({{1000, 100000, 1000000}, {1000}, {700}, {1}})
    ->Args({1000000, 1000, 700, 0})
    ->Unit(benchmark::kMillisecond);

// The same with duplicate marks suppressed (one grid reset per pass).
void BM_RedrawMarksAvoidDuplicates(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const TShortcuts Mode(State.range(1) != 0);
  auto C = MakeChart(1000, 700);
  C->SetAvoidDuplicateMarks(true);
  SetRandSeed(1);
  for (int I = 0; I < N; ++I) C->AddMark(Random(), Random(), 10);
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawMarksAvoidDuplicates)->Args({1000000, 1})->Args({1000000, 0})->Unit(benchmark::kMillisecond);

// Baseline for the two above: a hand-written loop over the same stored
// points that transforms each one and writes the 8 pixels of its 3 by 3
// hollow square into a picture of the data image's size; range(1) = 1 adds
// a duplicate-mark grid (reset per pass, centre tested, 3 by 3 stamped).
void BM_HandWrittenMarks(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const bool Dup = State.range(1) != 0;
  auto C = MakeChart(1000, 700);
  SetRandSeed(1);
  for (int I = 0; I < N; ++I) C->AddMark(Random(), Random(), 10);
  C->Repaint();
  const std::shared_ptr<const TvxItemStore> Store = C->DataStoreHandle();
  const TLayerTransform T = C->LayerTransform(1);
  const int W = C->DataImage().Width(), H = C->DataImage().Height();
  const int ML = C->MarginLeft(), MT = C->MarginTop();
  std::vector<std::uint32_t> Image(static_cast<std::size_t>(W) * H, 0xFFFFFFFFu);
  const int GW = 1000 + 2, GH = 700 + 2;
  std::vector<std::int32_t> Grid;
  for (auto _ : State) {
    if (Dup) Grid.assign(static_cast<std::size_t>(GW) * GH, -1);
    const TvxChartItem* Items = Store->Data();
    for (int I = 0; I < N; ++I) {
      const int X = T.PixelX(Items[I].X) - ML, Y = T.PixelY(Items[I].Y) - MT;
      if (X < 1 || Y < 1 || X >= W - 1 || Y >= H - 1) continue;
      if (Dup) {
        std::int32_t* G = Grid.data() + static_cast<std::size_t>(Y + 1) * GW + (X + 1);
        if (*G == 10) continue;
        for (int J = -1; J <= 1; ++J) G[J * GW - 1] = G[J * GW] = G[J * GW + 1] = 10;
      }
      std::uint32_t* P = Image.data() + static_cast<std::size_t>(Y) * W + X;
      P[-W - 1] = P[-W] = P[-W + 1] = P[-1] = P[1] = P[W - 1] = P[W] = P[W + 1] = 0xFF000080u;
    }
    benchmark::DoNotOptimize(Image.data());
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_HandWrittenMarks)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

// What a host does for each pan or zoom of its own: change a range (AutoRedraw
// on, as created: the setter repaints the chart), then Redraw; both timed
// together, over 1,000,000 marks spread at random over a 1000 x 700 chart.
// The redraw after the setter's paint should cost what a kept picture costs,
// so the pair should cost about one drawing of all marks (BM_HandWrittenMarks
// is that drawing written by hand). range(0) = 0 turns the kept image off.
void BM_RangeChangeThenRedraw(benchmark::State& State) {
  const bool Kept = State.range(0) != 0;
  SetRenderShortcuts(true, Kept);
  auto C = MakeChart(1000, 700);
  SetRandSeed(1);
  C->SetDataColor(clNavy);
  for (int I = 0; I < 1000000; ++I) C->AddMark(Random(), Random(), 10);
  C->Repaint();
  int Step = 0;
  for (auto _ : State) {
    C->Scale1X().SetRangeLow((++Step % 2) * 0.001);
    C->Redraw();
  }
  SetRenderShortcuts(true);
}
BENCHMARK(BM_RangeChangeThenRedraw)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

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

// Redraw of one polyline of N ckDrawTo points (batches of 200); range(1) = 0
// takes the reference path.
void BM_RedrawDrawTo(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const TShortcuts Mode(State.range(1) != 0);
  auto C = MakeChart(1000, 700);
  C->SetDataColor(clTeal);
  C->AddMoveTo(0, 0.5);
  for (int I = 1; I <= N; ++I) C->AddDrawTo(static_cast<double>(I) / N, 0.5 + 0.45 * std::sin(I * 0.01));
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawDrawTo)
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond);

// BM_RedrawDrawTo's million-point polyline at device ratio range(0) / 100,
// anti-aliased when range(1) is 1: the line runs through its true positions
// at the device's resolution (ratio 100 without anti-aliasing is the exact
// raster, the reference for the others' cost).
void BM_RedrawDrawToAtScale(benchmark::State& State) {
  constexpr int N = 1000000;
  const TShortcuts Mode(true);
  auto C = MakeChart(1000, 700);
  C->SetDataColor(clTeal);
  C->AddMoveTo(0, 0.5);
  for (int I = 1; I <= N; ++I) C->AddDrawTo(static_cast<double>(I) / N, 0.5 + 0.45 * std::sin(I * 0.01));
  C->SetDeviceScale(static_cast<double>(State.range(0)) / 100);
  C->SetAntialiased(State.range(1) != 0);
  C->Repaint();
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_RedrawDrawToAtScale)->ArgsProduct({{100, 150, 200}, {0, 1}})->Unit(benchmark::kMillisecond);

// Baseline: a hand-written loop that transforms the same stored points and
// joins them with Bresenham lines (end pixel excluded) in a picture of the
// data image's size.
void BM_HandWrittenPolyline(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  auto C = MakeChart(1000, 700);
  C->AddMoveTo(0, 0.5);
  for (int I = 1; I <= N; ++I) C->AddDrawTo(static_cast<double>(I) / N, 0.5 + 0.45 * std::sin(I * 0.01));
  C->Repaint();  // the data image takes the chart's size
  const std::shared_ptr<const TvxItemStore> Store = C->DataStoreHandle();
  const TLayerTransform T = C->LayerTransform(1);
  const int W = C->DataImage().Width(), H = C->DataImage().Height();
  const int ML = C->MarginLeft(), MT = C->MarginTop();
  std::vector<std::uint32_t> Image(static_cast<std::size_t>(W) * H, 0xFFFFFFFFu);
  for (auto _ : State) {
    const TvxChartItem* Items = Store->Data();
    int X0 = T.PixelX(Items[0].X) - ML, Y0 = T.PixelY(Items[0].Y) - MT;
    for (int I = 1; I <= N; ++I) {
      const int X1 = T.PixelX(Items[I].X) - ML, Y1 = T.PixelY(Items[I].Y) - MT;
      const int DX = std::abs(X1 - X0), DY = -std::abs(Y1 - Y0), SX = X0 < X1 ? 1 : -1, SY = Y0 < Y1 ? 1 : -1;
      int X = X0, Y = Y0, E = DX + DY;
      while (X != X1 || Y != Y1) {
        if (X >= 0 && Y >= 0 && X < W && Y < H) Image[static_cast<std::size_t>(Y) * W + X] = 0xFF008080u;
        const int E2 = 2 * E;
        if (E2 >= DY) {
          E += DY;
          X += SX;
        }
        if (E2 <= DX) {
          E += DX;
          Y += SY;
        }
      }
      X0 = X1;
      Y0 = Y1;
    }
    benchmark::DoNotOptimize(Image.data());
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_HandWrittenPolyline)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zkw
