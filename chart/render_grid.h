// The grid of the plot area: where its lines or points fall (pure) and how
// they are drawn.
#pragma once

#include <vector>

#include "base/ZKW_zkwbase.h"
#include "chart/layers.h"
#include "chart/render_items.h"
#include "platform/graphics.h"

namespace zkw {

// One axis of the grid walk.
struct TGridAxis {
  double RangeLow = 0.0;  // the range object's ends (either order)
  double RangeHigh = 1.0;
  bool Logarithmic = false;
  // Spacing: 0 = at the scale's ticks; above 0 = this step; on a logarithmic
  // axis -1, -2 and -3 walk decades, 1-2-5 and 1-2-3-..-9.
  double Step = 0.0;
  // The scale control's tick list of its last paint and its own range ends.
  std::vector<double> Ticks;
  double ScaleLow = 0.0;
  double ScaleHigh = 1.0;

  bool operator==(const TGridAxis&) const = default;
};

// The first grid value at or above Low (the smaller range end).
double FirstGridValue(const TGridAxis& Axis, double Low);
// The grid value after Current; Index (2, 3, ...) is the value's position in
// the walk, used when the grid follows the scale's ticks.
double NextGridValue(const TGridAxis& Axis, int Index, double Current);

struct TGridSettings {
  GridStyleType Style = gsNone;
  TColor Color = 0;       // lines and points
  TColor ChartColor = 0;  // brush colour set before the grid
  TLayerTransform Transform;  // of the current layer
  int MarginLeft = 0;
  int MarginTop = 0;
  TGridAxis X;
  TGridAxis Y;
};

// Lines or points of a grid walk stop after this many.
constexpr int GridLimit = 1000;

// Draws the grid with the plot's top-left corner at (Left, Top) on Canvas.
// Cache, when given, takes the brush colour.
void DrawGrid(TCanvas& Canvas, int Left, int Top, const TGridSettings& Grid, TDrawStateCache* Cache);

}  // namespace zkw
