#include "chart/layers.h"

namespace zkw {

bool ComputeXFactors(const TAxisRange& Axis, const TPlotGeometry& G, Extended& Factor, Extended& Offset) {
  // The exact 64-bit edges: a plot wider than the pixel range still maps its
  // range ends onto its true edges (the pixels are clamped afterwards).
  const std::int64_t PW = G.PlotWidth64();
  if (PW <= 0) {
    Factor = 0;
    Offset = static_cast<Extended>(G.Width) / 2;
    return true;
  }
  return FitAxisToEdges(Axis, static_cast<Extended>(G.PlotLeft()), static_cast<Extended>(G.PlotRight64()), Factor,
                        Offset);
}

bool ComputeYFactors(const TAxisRange& Axis, const TPlotGeometry& G, Extended& Factor, Extended& Offset) {
  const std::int64_t PH = G.PlotHeight64();
  if (PH <= 0) {
    Factor = 0;
    Offset = static_cast<Extended>(G.Height) / 2;
    return true;
  }
  // Range low at the bottom edge, high at the top.
  return FitAxisToEdges(Axis, static_cast<Extended>(G.PlotBottom64()), static_cast<Extended>(G.PlotTop()), Factor,
                        Offset);
}

void ApplyPanLimit(Extended& Low, Extended& High, Extended LimitLow, Extended LimitHigh, bool MoveWhole) {
  const Extended D = High - Low;
  if (Low < LimitLow) {
    Low = LimitLow;
    if (MoveWhole) High = LimitLow + D;
  }
  if (Low > LimitHigh) {
    Low = LimitHigh;
    if (MoveWhole) High = LimitHigh + D;
  }
  if (High < LimitLow) {
    High = LimitLow;
    if (MoveWhole) Low = LimitLow - D;
  }
  if (High > LimitHigh) {
    High = LimitHigh;
    if (MoveWhole) Low = LimitHigh - D;
  }
}

bool StoreAxisRange(Extended NewLow, Extended NewHigh, bool Logarithmic, double MinRange, double& Low,
                    double& High) {
  // The checks see the ends as they will be stored: an end beyond the
  // doubles would become infinite, and a width that rounds away (a zoom far
  // in at a large offset) would leave an empty range no zoom could widen.
  const double StoredLow = static_cast<double>(NewLow), StoredHigh = static_cast<double>(NewHigh);
  if (!std::isfinite(StoredLow) || !std::isfinite(StoredHigh)) return false;
  if (std::fabs(static_cast<Extended>(StoredHigh) - StoredLow) < 0.99L * MinRange) return false;
  bool Changed = false;
  if (!Logarithmic || NewLow >= 1e-100L) {
    Low = StoredLow;
    Changed = true;
  }
  if (!Logarithmic || NewHigh >= 1e-100L) {
    High = StoredHigh;
    Changed = true;
  }
  return Changed;
}

void TRangeHistory::Push(const TRangeSnapshot& Snapshot) {
  FSnapshots[static_cast<std::size_t>(FPosition - 1)] = Snapshot;
  FPosition = FPosition >= Size ? 1 : FPosition + 1;
}

void TRangeHistory::Clear() {
  for (TRangeSnapshot& S : FSnapshots)
    for (TLayerRangeEntry& E : S) E.fill(0.0);
  FPosition = 1;
}

bool TRangeHistory::Recorded(const TRangeSnapshot& S) {
  for (const TLayerRangeEntry& E : S)
    for (double V : E)
      if (V != 0) return true;
  return false;
}

bool TRangeHistory::StepBack(const TRangeSnapshot& Current, TRangeSnapshot& Target) {
  const int Latest = Slot(FPosition - 1);
  if (!Recorded(Snapshot(Latest))) return false;
  int To = Latest;
  if (Current == Snapshot(Latest)) {
    // Already there: find the latest earlier entry that differs (a release
    // may have recorded the same ranges twice).
    int Oldest = Latest;  // the oldest entry equal to the current ranges
    To = 0;
    for (int Step = 1; Step < Size; ++Step) {
      const int Previous = Slot(Oldest - 1);
      if (!Recorded(Snapshot(Previous))) break;
      if (Snapshot(Previous) != Current) {
        To = Previous;
        break;
      }
      Oldest = Previous;
    }
    if (To == 0) return false;
    for (int S = Latest;; S = Slot(S - 1)) {
      Snapshot(S) = TRangeSnapshot{};
      if (S == Oldest) break;
    }
    SetPosition(Oldest);
  }
  Target = Snapshot(To);
  return true;
}

void IsometricYRange(double XLow, double XHigh, double YLow, double YHigh, std::int64_t PlotWidth,
                     std::int64_t PlotHeight, int PixelWidth, int PixelHeight, double& NewLow, double& NewHigh) {
  if (PlotWidth + 1 <= 0 || PlotHeight + 1 <= 0 || PixelWidth <= 0 || PixelHeight <= 0) {
    // No plot area (or no pixel aspect): there is nothing to make square.
    NewLow = YLow;
    NewHigh = YHigh;
    return;
  }
  const Extended XRange = static_cast<Extended>(XHigh) - XLow;
  const Extended Centre = (static_cast<Extended>(YHigh) + YLow) / 2;
  const Extended Denominator = static_cast<Extended>(PlotWidth + 1) * PixelWidth;
  const Extended Half = XRange * static_cast<Extended>(PlotHeight + 1) * PixelHeight / Denominator / 2;
  NewHigh = static_cast<double>(Centre + Half);
  NewLow = static_cast<double>(Centre - Half);
}

}  // namespace zkw
