// The range arithmetic of a drag on an axis scale: pan, zoom about the far
// end, or zoom about the middle, on linear and logarithmic axes. Pure; the
// chart uses it for the scales of its layers and TScale for its own range.
#pragma once

#include "base/enums.h"

namespace zkw {

// The new range (NewLow, NewHigh) of a scale dragged from the start pointer
// (X0, Y0) to (X, Y), given its current range (Low, High), its range when the
// drag started (Low0, High0), whether it is logarithmic, its scale type
// (sctXB / sctXT horizontal, sctYL / sctYR vertical), its MouseAction
// (maPan, maZoom, maZoomDrag; anything else gives no result), and the size
// W, H and margins L, R, T, B of the control the drag runs on. The plot
// extent is W - L - R wide and H - T - B high (no shadow).
//
// Returns false, leaving the outputs untouched, when there is no result:
// another action, an empty plot extent or control, a zoom whose pointer sits
// on the fixed end (division by zero), a logarithmic axis with an end that is
// not above zero, a non-finite input, or a result that is not finite.
bool ScaleDragRange(int X, int Y, int X0, int Y0, double Low, double High, double Low0, double High0,
                    bool Logarithmic, TScaleType ScaleType, TMouseActMode Action, int W, int H, int L, int R,
                    int T, int B, double& NewLow, double& NewHigh);

}  // namespace zkw
