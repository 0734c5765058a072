// The range arithmetic of the mouse: plot-area pans and zoom drags, the zoom
// about a point, and drags on an axis scale, on linear and logarithmic axes.
// Pure; the chart uses it for the plot area and the scales of its layers,
// TScale for its own range.
//
// Every step works in extended precision in a fixed order of operations, so
// that a drag lands on the same doubles however it is reached. Results that
// overflow or are not finite never reach a range: each function documents
// what it gives back instead.
#pragma once

#include "base/enums.h"
#include "platform/core.h"
#include "platform/graphics.h"

namespace zkw {

// One axis as the arithmetic (and the chart's layer transforms) read it:
// its current ends and kind.
struct TAxisRange {
  double Low = 0.0;
  double High = 1.0;
  bool Logarithmic = false;

  bool operator==(const TAxisRange&) const = default;
};

// Two ends of a range in extended precision (a start range, a result).
struct TRangeEnds {
  Extended Low = 0;
  Extended High = 0;
};

// A drag in control pixels: where the pointer started and where it is now.
struct TPointerDrag {
  TPoint Start;
  TPoint Pointer;
};

// The control a scale drag runs on: its size and margins. Its plot extent is
// Width - MarginLeft - MarginRight wide and Height - MarginTop - MarginBottom
// high (no shadow), worked out in extended precision: margins may be any integers.
struct TDragFrame {
  int Width = 0;
  int Height = 0;
  int MarginLeft = 0;
  int MarginRight = 0;
  int MarginTop = 0;
  int MarginBottom = 0;
};

// (Low, High) when both ends are finite doubles, otherwise Fallback: no
// overflow ever reaches a range.
TRangeEnds FiniteOr(TRangeEnds Range, TRangeEnds Fallback);

// ---- plot-area pan -------------------------------------------------------------------------

// One axis of a pan: the start range shifted by Pixels pixels of Extent
// (positive towards the axis' high end), at the scale of the current range,
// so that the values follow the pointer. A logarithmic axis shifts by a
// factor. Moved is the linear shift in world units (0 on a logarithmic axis).
struct TPanStep {
  TRangeEnds Range;
  Extended Moved = 0;
};
// An axis that cannot be shifted (Extent not above 0, a logarithmic range
// not above zero) and a result that is not finite give the current range.
TPanStep PanAxis(const TAxisRange& Current, TRangeEnds Start, Extended Pixels, Extended Extent);

// The grid pan (maPanGrid) of a linear axis: the start range's low end moved
// by Moved and cut towards zero onto the grid of Step plus Offset, the width
// kept. A Step not above 0, or a snapped end that is not finite, leaves the
// low end unsnapped; a result that is not finite gives the current range.
TRangeEnds SnapPanToGrid(const TAxisRange& Current, TRangeEnds Start, Extended Moved, double Step, double Offset);

// ---- zooms ---------------------------------------------------------------------------------

// The factor of a zoom drag: 1 plus the pointer's travel Pixels over Size
// pixels (the whole control's width or height sets the speed).
Extended ZoomDragFactor(Extended Pixels, Extended Size);

// The range Factor times as wide as Start about its middle (the geometric
// middle on a logarithmic axis, where the factor applies to the half-ratio's
// exponent). Plain arithmetic: the caller checks the result.
TRangeEnds ZoomAboutMiddle(TRangeEnds Start, Extended Factor, bool Logarithmic);

// One axis of the plot-area zoom drag: the start range zoomed about its
// middle, linearly on every axis; a result that is not finite gives the
// current range.
TRangeEnds ZoomDragAxis(const TAxisRange& Current, TRangeEnds Start, Extended Factor);

// A zoom of an axis about the world value Center by Factor (> 1 zooms in);
// a logarithmic axis zooms in log space. Returns false, leaving Result
// untouched, when an input is not finite, a logarithmic end or Center is not
// above zero, or the result is not finite.
bool ZoomAbout(const TAxisRange& Axis, double Center, Extended Factor, TRangeEnds& Result);

// The factor of WheelDelta on a wheel (NotchDelta per notch, each notch
// NotchFactor); deltas are cut to MaxNotches notches so that it stays finite.
Extended WheelZoomFactor(int WheelDelta, int NotchDelta, Extended NotchFactor, int MaxNotches);

// ---- drags on an axis scale ------------------------------------------------------------------

// A drag on an axis scale: the scale's type (sctXB / sctXT horizontal, sctYL
// / sctYR vertical) and MouseAction (maPan, maZoom, maZoomDrag).
struct TScaleDragKind {
  TScaleType ScaleType = sctXB;
  TMouseActMode Action = maNone;
};

// The new range (NewLow, NewHigh) of a scale dragged as Drag, given its
// current range and kind (Current), its range when the drag started (Start)
// and the control it runs on. maPan shifts the range with the pointer, maZoom
// moves the end nearer to the start point with the pointer and keeps the far
// one, maZoomDrag zooms about the middle by the whole control's size.
//
// Returns false, leaving the outputs untouched, when there is no result:
// another action, an empty plot extent or control, a zoom whose pointer sits
// on the fixed end (division by zero), a logarithmic axis with an end that is
// not above zero, a non-finite input, or a result that is not finite (or, on
// a logarithmic axis, not above zero once rounded to doubles).
bool ScaleDragRange(const TPointerDrag& Drag, const TAxisRange& Current, TRangeEnds Start, TScaleDragKind Kind,
                    const TDragFrame& Frame, double& NewLow, double& NewHigh);

}  // namespace zkw
