// One demo mouse move, from the chart's mouse-move message to the updated
// window surface and labels: the world position, the nearest-item search,
// the cursor mark's move, the redraw of the data image onto the surface, and
// the two read-out texts. Measured on the demo form as its description
// builds it (headless), with its 101 items and with 1,000,000 marks, and at
// device pixel ratios above 1.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <memory>

#include "app/frmmain.h"
#include "chart/render_items.h"
#include "platform/rtl.h"

namespace zkw {
namespace {

// The demo form, shown (which activates it) and optionally filled up with
// further navy marks over the visible ranges; the cursor mark stays last.
std::unique_ptr<TForm1> DemoForm(int TotalMarks) {
  auto Form = std::make_unique<TForm1>(nullptr);
  Form->Show();
  TVexa& C = *Form->VX1;
  const int Extra = TotalMarks - (C.ItemCount() - 1);
  if (Extra > 0) {
    // Grow the store in one step instead of by 1000 items at a time.
    const int Kept = C.AllocSize();
    C.SetAllocSize(1000000);
    C.RemoveLastItem();
    C.SetDataColor(0x800000);
    for (int I = 0; I < Extra; ++I) C.AddMark(1000.0 + 2300.0 * Random(), -2.0 + 5.0 * Random(), 10);
    C.SetDataColor(255);
    C.AddMarkInt(0, 0, 25);
    C.SetAllocSize(Kept);
  }
  return Form;
}

// One mouse move per iteration over the demo's chart, to two pointer
// positions in turn, so that every move snaps somewhere else.
void MoveInTurns(benchmark::State& State, TForm1& Form) {
  TVexa& C = *Form.VX1;
  const std::int16_t Xs[2] = {120, 400};
  const std::int16_t Ys[2] = {90, 250};
  int N = 0;
  for (auto _ : State) {
    C.WMMouseMove(TShiftState{}, Xs[N & 1], Ys[N & 1]);
    ++N;
    benchmark::DoNotOptimize(C.WindowSurface().Canvas().Pixels(C.MarginLeft(), C.MarginTop()));
    benchmark::DoNotOptimize(Form.LblX->Caption().data());
  }
}

// range(1) = 0 takes the reference rendering path (every redraw in full).
void BM_DemoMouseMove(benchmark::State& State) {
  SetRenderShortcuts(State.range(1) != 0);
  const auto Form = DemoForm(static_cast<int>(State.range(0)));
  TVexa& C = *Form->VX1;
  MoveInTurns(State, *Form);
  State.counters["items"] = C.ItemCount();
  State.SetItemsProcessed(State.iterations());
  SetRenderShortcuts(true);
}
BENCHMARK(BM_DemoMouseMove)
    ->Args({100, 1})
    ->Args({100, 0})
    ->Args({1000000, 1})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond);

// The parts of one move on their own: the nearest-item search the handler
// starts with, and the redraw it ends with.
void BM_DemoMoveSearchOnly(benchmark::State& State) {
  const auto Form = DemoForm(static_cast<int>(State.range(0)));
  TVexa& C = *Form->VX1;
  double X = 0.0;
  double Y = 0.0;
  C.PixelToWorld(1, 120, 90, X, Y);
  for (auto _ : State) {
    double Distance = 0.0;
    benchmark::DoNotOptimize(C.FindNearestItem(ckMark, ClassFilterAll, X, Y, Distance));
  }
}
BENCHMARK(BM_DemoMoveSearchOnly)->Arg(100)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DemoMoveRedrawOnly(benchmark::State& State) {
  const auto Form = DemoForm(static_cast<int>(State.range(0)));
  TVexa& C = *Form->VX1;
  for (auto _ : State) {
    C.Redraw();
    benchmark::DoNotOptimize(C.WindowSurface().Canvas().Pixels(C.MarginLeft(), C.MarginTop()));
  }
}
BENCHMARK(BM_DemoMoveRedrawOnly)->Arg(100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The demo's move on a screen of device pixel ratio range(0) / 100 (the
// chart draws natively at it), anti-aliased when range(1) is 1.
void BM_DemoMouseMoveAtRatio(benchmark::State& State) {
  const auto Form = DemoForm(100);
  TVexa& C = *Form->VX1;
  C.SetDeviceScale(static_cast<double>(State.range(0)) / 100);
  C.SetAntialiased(State.range(1) != 0);
  C.Repaint();
  MoveInTurns(State, *Form);
  State.SetItemsProcessed(State.iterations());
}
// The demo's chart written as a vector drawing: range(0) 0 SVG, 1 PDF.
void BM_DemoSaveVector(benchmark::State& State) {
  const auto Form = DemoForm(100);
  TVexa& C = *Form->VX1;
  const std::string File = std::string("/tmp/zkw_bench_demo") + (State.range(0) == 0 ? ".svg" : ".pdf");
  for (auto _ : State) C.SaveImage(File);
  std::remove(File.c_str());
}
BENCHMARK(BM_DemoSaveVector)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_DemoMouseMoveAtRatio)
    ->Args({100, 0})
    ->Args({150, 0})
    ->Args({200, 0})
    ->Args({200, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zkw
