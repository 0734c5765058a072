// Frames of the QML item with a large chart: a pan step (the chart paints
// its million marks again, the item copies the surface into its texture
// once) and a frame in which the chart's surface did not change (no copy). The window is
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
  explicit TFrameRig(std::int64_t Marks) {
    Item = new VexaItem(Window.contentItem());
    Item->setSize(QSizeF(800, 600));
    Window.resize(800, 600);
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> U(0.0, 100.0);
    std::vector<double> Xs(static_cast<std::size_t>(Marks)), Ys(Xs.size());
    for (std::size_t K = 0; K < Xs.size(); ++K) {
      Xs[K] = U(Random);
      Ys[K] = U(Random);
    }
    Item->face().setXRange(0, 100);
    Item->face().setYRange(0, 100);
    Item->face().addMarks(Xs, Ys, Mark::Dot);
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

}  // namespace
}  // namespace zkw
