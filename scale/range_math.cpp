#include "scale/range_math.h"

#include <algorithm>
#include <cmath>

namespace zkw {

namespace {

bool Finite(Extended V) { return std::isfinite(V); }

// Rounds both ends to double and accepts them only when both stay finite
// (and, on a logarithmic axis, above zero: an underflow is no range either).
bool Deliver(TRangeEnds Range, bool Logarithmic, double& NewLow, double& NewHigh) {
  const auto L = static_cast<double>(Range.Low);
  const auto H = static_cast<double>(Range.High);
  if (!std::isfinite(L) || !std::isfinite(H)) return false;
  if (Logarithmic && !(L > 0 && H > 0)) return false;
  NewLow = L;
  NewHigh = H;
  return true;
}

// The start range shifted by Pixels of Extent at the scale of the current
// range (Low, High): linearly by the same world distance at both ends, on a
// logarithmic axis by the same factor. Moved gets the linear distance.
TRangeEnds Shifted(Extended Low, Extended High, TRangeEnds Start, Extended Pixels, Extended Extent,
                   bool Logarithmic, Extended& Moved) {
  if (Logarithmic) {
    const Extended F = std::exp(std::log(High / Low) * Pixels / Extent);
    return {Start.Low * F, Start.High * F};
  }
  Moved = (High - Low) * Pixels / Extent;
  return {Start.Low + Moved, Start.High + Moved};
}

// maZoom on a scale: the end nearer to the start point follows the pointer,
// the far end stays. Along is the pointer's axis: X for a horizontal scale.
bool ZoomFarEndFixed(const TPointerDrag& Drag, TRangeEnds Start, bool Horizontal, bool Logarithmic,
                     const TDragFrame& F, double& NewLow, double& NewHigh) {
  const Extended Lo0 = Start.Low, Hi0 = Start.High;
  const Extended K = Hi0 - Lo0;
  // Geometric middle and half-ratio of the start range (logarithmic axes only).
  const Extended G = Logarithmic ? std::sqrt(Lo0 * Hi0) : 0;
  const Extended J = Logarithmic ? Hi0 / G : 0;
  const int X = Drag.Pointer.X, Y = Drag.Pointer.Y, X0 = Drag.Start.X, Y0 = Drag.Start.Y;
  const Extended DX = static_cast<Extended>(X) - X0;
  const Extended DY = static_cast<Extended>(Y) - Y0;
  const int L = F.MarginLeft, T = F.MarginTop;
  if (Horizontal) {
    const Extended PW = static_cast<Extended>(F.Width) - F.MarginLeft - F.MarginRight;
    if (!(PW > 0)) return false;
    if (static_cast<Extended>(X0) >= L + PW / 2) {
      if (Logarithmic) return Deliver({Lo0, G * std::pow(J, -DX / PW + 1)}, Logarithmic, NewLow, NewHigh);
      const Extended Den = static_cast<Extended>(X) - L;
      if (Den == 0) return false;
      return Deliver({Lo0, Lo0 + K * (static_cast<Extended>(X0) - L) / Den}, Logarithmic, NewLow, NewHigh);
    }
    if (Logarithmic) return Deliver({G / std::pow(J, DX / PW + 1), Hi0}, Logarithmic, NewLow, NewHigh);
    const Extended Right = static_cast<Extended>(F.Width) - F.MarginRight;
    const Extended Den = Right - X;
    if (Den == 0) return false;
    return Deliver({Hi0 - K * (Right - X0) / Den, Hi0}, Logarithmic, NewLow, NewHigh);
  }
  const Extended PH = static_cast<Extended>(F.Height) - F.MarginTop - F.MarginBottom;
  if (!(PH > 0)) return false;
  if (static_cast<Extended>(Y0) <= T + PH / 2) {
    if (Logarithmic) return Deliver({Lo0, G * std::pow(J, DY / PH + 1)}, Logarithmic, NewLow, NewHigh);
    const Extended Bottom = static_cast<Extended>(F.Height) - F.MarginBottom;
    const Extended Den = Bottom - Y;
    if (Den == 0) return false;
    return Deliver({Lo0, Lo0 + K * (Bottom - Y0) / Den}, Logarithmic, NewLow, NewHigh);
  }
  if (Logarithmic) return Deliver({G / std::pow(J, -DY / PH + 1), Hi0}, Logarithmic, NewLow, NewHigh);
  const Extended Den = static_cast<Extended>(Y) - T;
  if (Den == 0) return false;
  return Deliver({Hi0 - K * (static_cast<Extended>(Y0) - T) / Den, Hi0}, Logarithmic, NewLow, NewHigh);
}

}  // namespace

TRangeEnds FiniteOr(TRangeEnds Range, TRangeEnds Fallback) {
  if (std::isfinite(static_cast<double>(Range.Low)) && std::isfinite(static_cast<double>(Range.High)))
    return Range;
  return Fallback;
}

// ---- plot-area pan -------------------------------------------------------------------------

TPanStep PanAxis(const TAxisRange& Current, TRangeEnds Start, Extended Pixels, Extended Extent) {
  const Extended L = Current.Low, H = Current.High;
  TPanStep Step{{L, H}, 0};
  if (Extent > 0 && (!Current.Logarithmic || (L > 0 && H > 0)))
    Step.Range = Shifted(L, H, Start, Pixels, Extent, Current.Logarithmic, Step.Moved);
  Step.Range = FiniteOr(Step.Range, {L, H});
  return Step;
}

TRangeEnds SnapPanToGrid(const TAxisRange& Current, TRangeEnds Start, Extended Moved, double Step, double Offset) {
  Extended Low = Start.Low + Moved;
  if (Step > 0) {
    const Extended Snapped = std::trunc(Low / Step) * Step + Offset;
    if (std::isfinite(Snapped)) Low = Snapped;
  }
  return FiniteOr({Low, Start.High - (Start.Low - Low)}, {Current.Low, Current.High});
}

// ---- zooms ---------------------------------------------------------------------------------

Extended ZoomDragFactor(Extended Pixels, Extended Size) { return 1 + Pixels / Size; }

TRangeEnds ZoomAboutMiddle(TRangeEnds Start, Extended Factor, bool Logarithmic) {
  if (Logarithmic) {
    const Extended G = std::sqrt(Start.Low * Start.High);
    const Extended JJ = std::pow(Start.High / G, Factor);
    return {G / JJ, G * JJ};
  }
  const Extended C = (Start.High + Start.Low) / 2;
  const Extended Half = (Start.High - Start.Low) * Factor / 2;
  return {C - Half, C + Half};
}

TRangeEnds ZoomDragAxis(const TAxisRange& Current, TRangeEnds Start, Extended Factor) {
  // Linear even on a logarithmic axis: storing the range refuses ends that
  // such an axis cannot show.
  return FiniteOr(ZoomAboutMiddle(Start, Factor, false), {Current.Low, Current.High});
}

bool ZoomAbout(const TAxisRange& Axis, double Center, Extended Factor, TRangeEnds& Result) {
  const double Low = Axis.Low, High = Axis.High;
  if (!std::isfinite(Low) || !std::isfinite(High) || !std::isfinite(Center)) return false;
  TRangeEnds R;
  if (Axis.Logarithmic) {
    if (!(Low > 0 && High > 0 && Center > 0)) return false;
    const Extended C = std::log(static_cast<Extended>(Center));
    R.Low = std::exp(C + (std::log(static_cast<Extended>(Low)) - C) / Factor);
    R.High = std::exp(C + (std::log(static_cast<Extended>(High)) - C) / Factor);
  } else {
    R.Low = Center + (Low - static_cast<Extended>(Center)) / Factor;
    R.High = Center + (High - static_cast<Extended>(Center)) / Factor;
  }
  if (!std::isfinite(static_cast<double>(R.Low)) || !std::isfinite(static_cast<double>(R.High))) return false;
  Result = R;
  return true;
}

Extended WheelZoomFactor(int WheelDelta, int NotchDelta, Extended NotchFactor, int MaxNotches) {
  const int Notches = std::clamp(WheelDelta, -MaxNotches * NotchDelta, MaxNotches * NotchDelta);
  return std::pow(NotchFactor, static_cast<Extended>(Notches) / NotchDelta);
}

// ---- drags on an axis scale ------------------------------------------------------------------

bool ScaleDragRange(const TPointerDrag& Drag, const TAxisRange& Current, TRangeEnds Start, TScaleDragKind Kind,
                    const TDragFrame& Frame, double& NewLow, double& NewHigh) {
  const TMouseActMode Action = Kind.Action;
  if (Action != maPan && Action != maZoom && Action != maZoomDrag) return false;
  const bool Log = Current.Logarithmic;
  if (!Finite(Current.Low) || !Finite(Current.High) || !Finite(Start.Low) || !Finite(Start.High)) return false;
  // Logarithms and the geometric middle need every end above zero.
  if (Log && !(Current.Low > 0 && Current.High > 0 && Start.Low > 0 && Start.High > 0)) return false;

  const bool Horizontal = Kind.ScaleType == sctXB || Kind.ScaleType == sctXT;
  const Extended DX = static_cast<Extended>(Drag.Pointer.X) - Drag.Start.X;
  const Extended DY = static_cast<Extended>(Drag.Pointer.Y) - Drag.Start.Y;
  // Dragging right moves a horizontal range left; dragging down moves a
  // vertical range up, so the values follow the pointer.
  const Extended Travel = Horizontal ? -DX : DY;

  switch (Action) {
    case maPan: {
      const Extended Extent = Horizontal
                                  ? static_cast<Extended>(Frame.Width) - Frame.MarginLeft - Frame.MarginRight
                                  : static_cast<Extended>(Frame.Height) - Frame.MarginTop - Frame.MarginBottom;
      if (!(Extent > 0)) return false;
      Extended Moved = 0;
      return Deliver(Shifted(Current.Low, Current.High, Start, Travel, Extent, Log, Moved), Log, NewLow, NewHigh);
    }
    case maZoom: return ZoomFarEndFixed(Drag, Start, Horizontal, Log, Frame, NewLow, NewHigh);
    case maZoomDrag: {
      // Zoom about the middle; the whole control's size sets the speed.
      const Extended Size = Horizontal ? static_cast<Extended>(Frame.Width) : static_cast<Extended>(Frame.Height);
      if (!(Size > 0)) return false;
      return Deliver(ZoomAboutMiddle(Start, ZoomDragFactor(Travel, Size), Log), Log, NewLow, NewHigh);
    }
    default: return false;
  }
}

}  // namespace zkw
