// Drawing at other scales and into vector files: a redraw of a million marks
// at device ratios 1, 1.5 and 2 (with and without anti-aliasing), and the
// demo-sized chart and a million-mark chart written as SVG, PDF and a
// high-resolution PNG (the file's size in the counters).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "chart/ZKW_vexa.h"
#include "chart/vexa_paint.h"
#include "platform/rtl.h"

namespace zkw {
namespace {

const bool Headless = (setenv("QT_QPA_PLATFORM", "offscreen", 0), true);

std::unique_ptr<TVexa> MarksChart(int N, int MarkType) {
  (void)Headless;
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, 505, 345);
  C->SetAllocSize(std::max(N, 1000));
  C->HandleNeeded();
  SetRandSeed(1);
  C->SetDataColor(clNavy);
  for (int I = 0; I < N; ++I) C->AddMark(Random(), Random(), static_cast<std::uint8_t>(MarkType));
  return C;
}

// Redraw of N marks of type range(3) at ratio range(1) / 100, anti-aliased
// when range(2) is 1; the kept image is off, so every redraw draws them all.
void BM_RedrawMarksAtScale(benchmark::State& State) {
  SetRenderShortcuts(true, false);
  auto C = MarksChart(static_cast<int>(State.range(0)), static_cast<int>(State.range(3)));
  C->SetDeviceScale(static_cast<double>(State.range(1)) / 100);
  C->SetAntialiased(State.range(2) != 0);
  C->Repaint();
  for (auto _ : State) C->Redraw();
  State.SetItemsProcessed(State.iterations() * State.range(0));
  SetRenderShortcuts(true);
}
BENCHMARK(BM_RedrawMarksAtScale)
    ->ArgsProduct({{1000000}, {100, 150, 200}, {0}, {10, 1}})
    ->Args({1000000, 200, 1, 10})
    ->Unit(benchmark::kMillisecond);

std::string OutFile(const std::string& Name) {
  return (std::filesystem::temp_directory_path() / ("zkw_bench_" + Name)).string();
}

void ReportSize(benchmark::State& State, const std::string& File) {
  State.counters["bytes"] = static_cast<double>(std::filesystem::file_size(File));
  std::filesystem::remove(File);
}

// range(0) marks of type 1 with a polyline through them (the demo has 100).
std::unique_ptr<TVexa> ExportChart(int N) {
  auto C = MarksChart(N, 1);
  C->SetCaption("Export");
  C->SetDataColor(clRed);
  C->AddMoveTo(0, 0);
  for (int I = 1; I <= 100; ++I) C->AddDrawTo(I / 100.0, (I % 10) / 10.0);
  C->Repaint();
  return C;
}

void BM_SaveSvg(benchmark::State& State) {
  auto C = ExportChart(static_cast<int>(State.range(0)));
  const std::string File = OutFile("chart.svg");
  for (auto _ : State) C->SaveSvg(File);
  ReportSize(State, File);
}
BENCHMARK(BM_SaveSvg)->Arg(100)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_SavePdf(benchmark::State& State) {
  auto C = ExportChart(static_cast<int>(State.range(0)));
  const std::string File = OutFile("chart.pdf");
  for (auto _ : State) C->SavePdf(File);
  ReportSize(State, File);
}
BENCHMARK(BM_SavePdf)->Arg(100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A PNG at range(1) / 100 pixels per chart pixel.
void BM_SavePngAtScale(benchmark::State& State) {
  auto C = ExportChart(static_cast<int>(State.range(0)));
  const std::string File = OutFile("chart.png");
  const double Scale = static_cast<double>(State.range(1)) / 100;
  for (auto _ : State) C->SavePng(File, Scale);
  ReportSize(State, File);
}
BENCHMARK(BM_SavePngAtScale)->ArgsProduct({{100, 1000000}, {100, 300}})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zkw
