// Frames of the QML item with a large chart: a pan step (the chart paints
// its million marks again, the item copies the surface into its texture
// once), a frame in which the chart's surface did not change (no copy), and
// a pan step with a readout of the point nearest to the pointer, as a QML
// program's status line does it (three lines of 100,000 points). The window is
// rendered by the software scene graph and read back (grabWindow), so a
// figure includes that read-back of the window.
#include <benchmark/benchmark.h>

#include <QQuickWindow>
#include <cstdint>
#include <random>
#include <vector>

#include "quick/ZKW_quick.h"

namespace zkw {
namespace {

void UseSoftwareSceneGraph() {
  static const bool Once = (QQuickWindow::setGraphicsApi(QSGRendererInterface::Software), true);
  (void)Once;
}

struct TFrameRig {
  QQuickWindow Window;
  VexaItem* Item = nullptr;
  // An 800 x 600 item over 0..100 x 0..100 without data.
  TFrameRig() {
    Item = new VexaItem(Window.contentItem());
    Item->setSize(QSizeF(800, 600));
    Window.resize(800, 600);
    Item->face().setXRange(0, 100);
    Item->face().setYRange(0, 100);
  }
  // With Marks dots spread over the ranges.
  explicit TFrameRig(std::int64_t Marks) : TFrameRig() {
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> U(0.0, 100.0);
    std::vector<double> Xs(static_cast<std::size_t>(Marks)), Ys(Xs.size());
    for (std::size_t K = 0; K < Xs.size(); ++K) {
      Xs[K] = U(Random);
      Ys[K] = U(Random);
    }
    Item->face().addMarks(Xs, Ys, Mark::Dot);
    Show();
  }
  void Show() {
    Item->redraw();
    Window.show();
    Window.grabWindow();
  }
};

void BM_QuickPanFrame(benchmark::State& State) {
  UseSoftwareSceneGraph();
  TFrameRig Rig(State.range(0));
  const int Before = Rig.Item->textureUploads();
  double Shift = 0.5;
  for (auto _ : State) {
    Rig.Item->face().setXRange(Rig.Item->xLow() + Shift, Rig.Item->xHigh() + Shift);
    Rig.Item->syncProperties();
    Shift = -Shift;
    benchmark::DoNotOptimize(Rig.Window.grabWindow());
  }
  State.counters["surface_copies_per_frame"] =
      benchmark::Counter(Rig.Item->textureUploads() - Before, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_QuickPanFrame)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_QuickUnchangedFrame(benchmark::State& State) {
  UseSoftwareSceneGraph();
  TFrameRig Rig(State.range(0));
  const int Before = Rig.Item->textureUploads();
  for (auto _ : State) {
    Rig.Item->update();
    benchmark::DoNotOptimize(Rig.Window.grabWindow());
  }
  State.counters["surface_copies_per_frame"] =
      benchmark::Counter(Rig.Item->textureUploads() - Before, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_QuickUnchangedFrame)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Per frame: a small pan, one findNearestItem at the pointer (the middle of
// the item; its world point moves with the pan) and the frame rendered.
void BM_QuickPanReadoutFrame(benchmark::State& State) {
  UseSoftwareSceneGraph();
  TFrameRig Rig;
  const std::int64_t Points = State.range(0);
  std::mt19937 Random(11);
  std::normal_distribution<double> Noise(0.0, 2.0);
  std::vector<double> Xs(static_cast<std::size_t>(Points)), Ys(Xs.size());
  for (int Line = 0; Line < 3; ++Line) {
    for (std::size_t K = 0; K < Xs.size(); ++K) {
      Xs[K] = 100.0 * static_cast<double>(K) / static_cast<double>(Points);
      Ys[K] = 25.0 * (Line + 1) + Noise(Random);
    }
    Rig.Item->face().addPolyline(Xs, Ys);
  }
  Rig.Show();
  TVexa& C = *Rig.Item->chart();
  double Shift = 0.5;
  std::int64_t Found = 0;
  for (auto _ : State) {
    Rig.Item->face().setXRange(Rig.Item->xLow() + Shift, Rig.Item->xHigh() + Shift);
    Rig.Item->syncProperties();
    Shift = -Shift;
    double X = 0, Y = 0;
    C.PixelToWorld(C.CurrentLayer(), 400, 300, X, Y);
    const QVariantMap Hit = Rig.Item->findNearestItem(X, Y);
    Found += Hit.value(QStringLiteral("index")).toInt() >= 0;
    benchmark::DoNotOptimize(Rig.Window.grabWindow());
  }
  State.counters["found_per_frame"] = benchmark::Counter(static_cast<double>(Found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_QuickPanReadoutFrame)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace zkw
