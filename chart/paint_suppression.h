// Suppresses a chart's painting for a scope; restoring the previous state at
// its end repaints when that state allows painting. Multi-step updates (pans,
// zooms, layouts) use it so the chart paints once, after the last step.
#pragma once

#include "chart/vexa.h"

namespace zkw {

class TPaintSuppression {
 public:
  explicit TPaintSuppression(TCustomVexa& Chart) : FChart(Chart), FPrevious(Chart.PaintLocked()) {
    Chart.SetPaintLock(true);
  }
  ~TPaintSuppression() {
    try {
      FChart.SetPaintLock(FPrevious);
    } catch (...) {
      // A failing repaint must not escape a destructor; the next paint retries.
    }
  }
  TPaintSuppression(const TPaintSuppression&) = delete;
  TPaintSuppression& operator=(const TPaintSuppression&) = delete;

 private:
  TCustomVexa& FChart;
  bool FPrevious;
};

}  // namespace zkw
