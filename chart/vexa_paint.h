// The chart's side of painting: a renderer for a chart, built on the chart's
// paint host and a paint-settings value.
#pragma once

#include "chart/render.h"
#include "chart/vexa.h"

namespace zkw {

// A renderer on the chart's current settings.
TChartRenderer ChartRenderer(TCustomVexa& Chart);
// The same, but inside the pipeline's pass into the data image (a hook the
// pass calls back) one on the pass's own value, so the whole pass sees one value.
TChartRenderer PassRenderer(TCustomVexa& Chart);

}  // namespace zkw
