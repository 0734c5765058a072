#include "scale/scale_drag.h"

#include <cmath>

#include "platform/core.h"

namespace zkw {

namespace {

bool Finite(Extended V) { return std::isfinite(V); }

// Rounds both ends to double and accepts them only when both stay finite
// (and, on a logarithmic axis, above zero: an underflow is no range either).
bool Deliver(Extended Low, Extended High, bool Logarithmic, double& NewLow, double& NewHigh) {
  const auto L = static_cast<double>(Low);
  const auto H = static_cast<double>(High);
  if (!std::isfinite(L) || !std::isfinite(H)) return false;
  if (Logarithmic && !(L > 0 && H > 0)) return false;
  NewLow = L;
  NewHigh = H;
  return true;
}

}  // namespace

bool ScaleDragRange(int X, int Y, int X0, int Y0, double Low, double High, double Low0, double High0,
                    bool Logarithmic, TScaleType ScaleType, TMouseActMode Action, int W, int H, int L, int R,
                    int T, int B, double& NewLow, double& NewHigh) {
  if (Action != maPan && Action != maZoom && Action != maZoomDrag) return false;
  if (!Finite(Low) || !Finite(High) || !Finite(Low0) || !Finite(High0)) return false;
  // Logarithms and the geometric middle need every end above zero.
  if (Logarithmic && !(Low > 0 && High > 0 && Low0 > 0 && High0 > 0)) return false;

  const bool Horizontal = ScaleType == sctXB || ScaleType == sctXT;
  // Extents in extended precision: margins may be any integers.
  const Extended PW = static_cast<Extended>(W) - L - R;
  const Extended PH = static_cast<Extended>(H) - T - B;
  const Extended Lo = Low, Hi = High, Lo0 = Low0, Hi0 = High0;
  const Extended K = Hi0 - Lo0;
  // Geometric middle and half-ratio of the start range (logarithmic axes only).
  const Extended G = Logarithmic ? std::sqrt(Lo0 * Hi0) : 0;
  const Extended J = Logarithmic ? Hi0 / G : 0;
  const Extended DX = static_cast<Extended>(X) - X0;
  const Extended DY = static_cast<Extended>(Y) - Y0;

  switch (Action) {
    case maPan: {
      const Extended Extent = Horizontal ? PW : PH;
      if (!(Extent > 0)) return false;
      // Dragging right moves a horizontal range left; dragging down moves a
      // vertical range up, so the values follow the pointer.
      if (Logarithmic) {
        const Extended Shift = Horizontal ? -DX : DY;
        const Extended F = std::exp(Shift * std::log(Hi / Lo) / Extent);
        return Deliver(Lo0 * F, Hi0 * F, Logarithmic, NewLow, NewHigh);
      }
      if (Horizontal) {
        const Extended D = DX * (Hi - Lo) / Extent;
        return Deliver(Lo0 - D, Hi0 - D, Logarithmic, NewLow, NewHigh);
      }
      const Extended D = DY * (Hi - Lo) / Extent;
      return Deliver(Lo0 + D, Hi0 + D, Logarithmic, NewLow, NewHigh);
    }
    case maZoom: {
      // The end nearer to the start point follows the pointer; the far end stays.
      if (Horizontal) {
        if (!(PW > 0)) return false;
        if (static_cast<Extended>(X0) >= L + PW / 2) {
          if (Logarithmic) return Deliver(Lo0, G * std::pow(J, -DX / PW + 1), Logarithmic, NewLow, NewHigh);
          const Extended Den = static_cast<Extended>(X) - L;
          if (Den == 0) return false;
          return Deliver(Lo0, Lo0 + K * (static_cast<Extended>(X0) - L) / Den, Logarithmic, NewLow, NewHigh);
        }
        if (Logarithmic) return Deliver(G / std::pow(J, DX / PW + 1), Hi0, Logarithmic, NewLow, NewHigh);
        const Extended Right = static_cast<Extended>(W) - R;
        const Extended Den = Right - X;
        if (Den == 0) return false;
        return Deliver(Hi0 - K * (Right - X0) / Den, Hi0, Logarithmic, NewLow, NewHigh);
      }
      if (!(PH > 0)) return false;
      if (static_cast<Extended>(Y0) <= T + PH / 2) {
        if (Logarithmic) return Deliver(Lo0, G * std::pow(J, DY / PH + 1), Logarithmic, NewLow, NewHigh);
        const Extended Bottom = static_cast<Extended>(H) - B;
        const Extended Den = Bottom - Y;
        if (Den == 0) return false;
        return Deliver(Lo0, Lo0 + K * (Bottom - Y0) / Den, Logarithmic, NewLow, NewHigh);
      }
      if (Logarithmic) return Deliver(G / std::pow(J, -DY / PH + 1), Hi0, Logarithmic, NewLow, NewHigh);
      const Extended Den = static_cast<Extended>(Y) - T;
      if (Den == 0) return false;
      return Deliver(Hi0 - K * (static_cast<Extended>(Y0) - T) / Den, Hi0, Logarithmic, NewLow, NewHigh);
    }
    case maZoomDrag: {
      // Zoom about the middle; the whole control's size sets the speed.
      const Extended Size = Horizontal ? static_cast<Extended>(W) : static_cast<Extended>(H);
      if (!(Size > 0)) return false;
      const Extended Step = Horizontal ? -DX / Size : DY / Size;
      if (Logarithmic) {
        const Extended JJ = std::pow(J, Step + 1);
        return Deliver(G / JJ, G * JJ, Logarithmic, NewLow, NewHigh);
      }
      const Extended C = (Lo0 + Hi0) / 2;
      const Extended Half = K * (1 + Step) / 2;
      return Deliver(C - Half, C + Half, Logarithmic, NewLow, NewHigh);
    }
    default: return false;
  }
}

}  // namespace zkw
