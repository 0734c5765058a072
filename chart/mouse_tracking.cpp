// Mouse tracking of the chart: the mouse-move message with its guard, the
// in-chart event in world coordinates, the pointer shape and the mouse trace.
//
// One mouse-move message runs, in this order:
//   1. dropped when another move is still being handled (the guard);
//   2. the standard processing, which calls MouseMove: remember the position,
//      raise OnMouseMove, the mouse actions (MouseActionMove), the pointer shape;
//   3. the position in world coordinates of the current layer, for every
//      position, inside the plot area or not;
//   4. the inclusive plot-area test;
//   5. OnMouseMoveInChart.
#include <algorithm>
#include <cstdint>

#include "chart/mouse_cursors.h"
#include "chart/vexa.h"
#include "platform/screen.h"

namespace zkw {

namespace {

// Clears the move guard however the handling ends, exceptions included.
class TMoveGuard {
 public:
  explicit TMoveGuard(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TMoveGuard() { FFlag = false; }
  TMoveGuard(const TMoveGuard&) = delete;
  TMoveGuard& operator=(const TMoveGuard&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

void TCustomVexa::WMMouseMove(TShiftState Shift, std::int16_t X, std::int16_t Y) {
  // A host handler that lets the window system deliver messages must not
  // start a second move inside the first: such a move is dropped, not queued.
  if (FMouseMoveGuard) return;
  const TMoveGuard Guard(FMouseMoveGuard);
  FMouse.SetActionPoint(TPoint{X, Y});
  TCustomControl::WMMouseMove(Shift, X, Y);
  // The mouse actions may have clamped the position (two-corner marking).
  const TPoint P = FMouse.ActionPoint();
  double WorldX = 0.0;
  double WorldY = 0.0;
  PixelToWorld(CurrentLayer(), P.X, P.Y, WorldX, WorldY);
  const bool InChart = InPlotArea(P.X, P.Y);
  // A local copy: the handler may Assign another chart's handlers to this one.
  if (const TMouseMoveInChartEvent Handler = OnMouseMoveInChart) Handler(this, InChart, Shift, WorldX, WorldY);
}

void TCustomVexa::MouseMove(TShiftState Shift, int X, int Y) {
  FMouse.SetLastPointer(TPoint{X, Y});
  TCustomControl::MouseMove(Shift, X, Y);
  FMouse.SetActionPoint(TPoint{X, Y});
  MouseActionMove(Shift, X, Y);
  const TPoint P = FMouse.ActionPoint();
  UpdatePointerShape(P.X, P.Y);
}

bool TCustomVexa::InPlotArea(int X, int Y) const { return Geometry().InPlot(X, Y); }

void TCustomVexa::UpdatePointerShape(int X, int Y) {
  // The chart sets the application-wide shape, which overrides every
  // control's own, and never a shape of its own.
  if (MouseCursorFixed() || !InPlotArea(X, Y)) {
    Screen().SetCursor(crDefault);
    return;
  }
  switch (MouseAction()) {
    case maNone: Screen().SetCursor(crCross); break;
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maPanGrid: Screen().SetCursor(crPanHand); break;
    case maZoomWind: Screen().SetCursor(crZoomWindow); break;
    case maZoomWindPos: Screen().SetCursor(crZoomWindowPos); break;
    case maZoomDrag: Screen().SetCursor(crZoomDrag); break;
    case maRubberBand:
    case maDragCrossH:
    case maDragLabel:
    case maSelectRect: Screen().SetCursor(crDefault); break;
    default: break;  // the remaining actions leave the shape as it is
  }
}

void TCustomVexa::ExtendMouseTrace(TShiftState Shift, int X, int Y) {
  // Only while the left button draws and no drag rectangle is on the screen.
  if (!Shift.Contains(ssLeft) || FMouse.ZoomWindState() != zsNormal) return;
  const TPlotGeometry G = Geometry();
  X = std::max(G.PlotLeft(), std::min(X, G.PlotRight()));
  Y = std::max(G.PlotTop(), std::min(Y, G.PlotBottom()));
  if (FMouseTraceCount >= MouseTraceCapacity) return;
  if (FMouseTrace.size() < static_cast<std::size_t>(MouseTraceCapacity))
    FMouseTrace.resize(static_cast<std::size_t>(MouseTraceCapacity));

  TMouseTracePoint Point;
  PixelToWorld(CurrentLayer(), X, Y, Point.X, Point.Y);
  Point.Color = MouseTraceColor();
  Point.Flags = MouseTraceInvert() ? mtfInvert : std::uint16_t{0};
  FMouseTrace[static_cast<std::size_t>(FMouseTraceCount)] = Point;
  ++FMouseTraceCount;

  if (FMouseTraceCount < 2) return;
  const TMouseTracePoint& Previous = FMouseTrace[static_cast<std::size_t>(FMouseTraceCount - 2)];
  if (Previous.Flags & mtfStrokeEnd) return;
  // Straight onto the window, between paints; every paint draws the whole
  // trace again from the stored points.
  if (!HandleAllocated()) return;
  int FromX = 0;
  int FromY = 0;
  WorldToPixel(CurrentLayer(), Previous.X, Previous.Y, FromX, FromY);
  TCanvas& C = Canvas();
  C.Pen().SetColor(MouseTraceColor());
  C.Pen().SetMode(MouseTraceInvert() ? pmXor : pmCopy);
  C.MoveTo(FromX, FromY);
  C.LineTo(X, Y);
  C.Pen().SetMode(pmCopy);
  SurfaceChanged();
}

const TMouseTracePoint& TCustomVexa::MouseTracePoint(int Index) const {
  if (Index < 0 || Index >= FMouseTraceCount)
    RaiseIndexError("MouseTracePoint", Index, FMouseTraceCount, "points in the mouse trace");
  return FMouseTrace[static_cast<std::size_t>(Index)];
}

void TCustomVexa::EndMouseTraceStroke() {
  if (FMouseTraceCount <= 0) return;
  FMouseTrace[static_cast<std::size_t>(FMouseTraceCount - 1)].Flags |= mtfStrokeEnd;
}

}  // namespace zkw
