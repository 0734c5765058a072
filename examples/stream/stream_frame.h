// One frame of a live chart: append the points that arrived since the last
// frame, scroll the x axis over the last seconds, redraw. Shared by the
// stream example and its benchmark (bench/bench_stream.cpp), so that the
// figure measured is the frame the example shows.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "chart/ZKW_vexa.h"

namespace zkw::stream {

constexpr double SampleRate = 1000.0;  // points per second
constexpr double WindowSeconds = 10.0;  // the live chart shows the last ten seconds

// A simulated sensor: a few slow waves and some noise, one value per sample.
inline double Sample(std::int64_t Index) {
  const double T = static_cast<double>(Index) / SampleRate;
  const double Noise = std::sin(static_cast<double>(Index) * 12.9898) * 43758.5453;
  return std::sin(T * 0.7) + 0.4 * std::sin(T * 3.1) + 0.15 * (Noise - std::floor(Noise) - 0.5);
}

// The time of sample Index, in seconds.
inline double SampleTime(std::int64_t Index) { return static_cast<double>(Index) / SampleRate; }

// Appends samples [From, To) to the chart's polyline in one call (the first
// sample of all starts the line).
inline void AppendSamples(TCustomVexa& Chart, std::int64_t From, std::int64_t To) {
  if (To <= From) return;
  std::vector<double> Xs, Ys;
  Xs.reserve(static_cast<std::size_t>(To - From));
  Ys.reserve(static_cast<std::size_t>(To - From));
  for (std::int64_t I = From; I < To; ++I) {
    Xs.push_back(SampleTime(I));
    Ys.push_back(Sample(I));
  }
  if (From == 0) {
    Chart.AddPolyline(Xs, Ys);
  } else {
    for (std::size_t K = 0; K < Xs.size(); ++K) Chart.AddDrawTo(Xs[K], Ys[K]);
  }
}

// The live chart's x range ends just after the newest sample (its mark shows
// whole); its y range is fixed.
inline void ScrollTo(TCustomVexa& Chart, std::int64_t Newest) {
  const double End = SampleTime(std::max<std::int64_t>(Newest - 1, 0)) + 0.02 * WindowSeconds;
  const double Start = End - WindowSeconds;
  Chart.SetRange(1, {Start, End}, {Chart.Scale1Y().RangeLow(), Chart.Scale1Y().RangeHigh()});
}

// The newest sample is marked: a move to it and a red mark end the store.
// Keeping them last lets a frame replace only the mark (the move stays and
// the line goes on from it), so an overview chart sharing the store finds
// everything before the mark unchanged and draws only the new tail.
constexpr std::uint8_t NewestMark = 25;

inline void MarkNewest(TCustomVexa& Chart, std::int64_t Newest, TColor LineColor) {
  const std::int64_t I = std::max<std::int64_t>(Newest - 1, 0);
  Chart.AddMoveTo(SampleTime(I), Sample(I));
  Chart.SetDataColor(clRed);
  Chart.AddMark(SampleTime(I), Sample(I), NewestMark);
  Chart.SetDataColor(LineColor);
}

// One frame: the samples [Shown, Arrived) join the chart's line, the newest
// is marked, the axis scrolls to it and the chart is drawn once. The live
// chart is meant to run with AutoRedraw off, so that the range change does
// not paint before Redraw does (Redraw then repaints the whole chart, axes
// included). Returns the new Shown.
// [gallery:stream] Live data: one frame of examples/stream
inline std::int64_t Frame(TCustomVexa& Chart, std::int64_t Shown, std::int64_t Arrived) {
  if (Arrived <= Shown) return Shown;
  const TColor LineColor = Chart.DataColor();
  if (Shown > 0) Chart.RemoveLastItem();  // the newest-sample mark of the frame before
  AppendSamples(Chart, Shown, Arrived);
  MarkNewest(Chart, Arrived, LineColor);
  ScrollTo(Chart, Arrived);
  Chart.Redraw();
  return Arrived;
}
// [/gallery:stream]

}  // namespace zkw::stream
