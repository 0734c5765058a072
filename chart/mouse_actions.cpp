// The chart's mouse actions (TChartMouse, see chart/mouse_actions.h) and the
// chart's mouse entry points, which forward to it.
//
// One move runs, after OnMouseMove: the marking rectangle (which clamps the
// position for the rest of the move), the scale drags, then the action of
// MouseAction. The drag flag and the start state are shared by all actions.
// The range arithmetic lives in scale/range_math.h.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "chart/mouse_actions.h"
#include "chart/paint_suppression.h"
#include "chart/vexa.h"
#include "scale/range_math.h"

namespace zkw {

namespace {

constexpr int YScaleHitBand = 50;  // width of the hit band of a y scale
constexpr int XScaleHitBand = 40;  // height of the hit band of an x scale
constexpr int ScaleDragBand = 50;  // both bands while a scale drag runs

constexpr std::uint8_t FigureNone = 0;
constexpr std::uint8_t FigureLine = 1;
constexpr std::uint8_t FigureRect = 2;

// Wheel zoom: one notch zooms by this factor; larger deltas are cut to this
// many notches so that the factor stays finite.
constexpr Extended WheelNotchFactor = 1.25L;
constexpr int WheelMaxNotches = 64;

bool IsPanMode(TMouseActMode A) { return A == maPan || A == maPanHoriz || A == maPanVert || A == maPanGrid; }

bool IsWindowMode(TMouseActMode A) {
  return A == maRubberBand || A == maZoomWind || A == maZoomWindPos || A == maSelectRect;
}

// Open interval test in 64 bits: offsets and margins may be any integers.
bool Between(std::int64_t Low, std::int64_t V, std::int64_t High) { return Low < V && V < High; }

// Whether Y lies in the band of an x scale of type T standing Ph pixels off
// the plot, Depth pixels deep (the plot is T..H - B, no shadow).
bool InXScaleBand(const TPlotGeometry& G, TScaleType Type, int Ph, int Depth, int Y) {
  const std::int64_t H = G.Height, T = G.MarginTop, B = G.MarginBottom;
  if (Type == sctXT) return Between(H + Ph - B, Y, H + Ph - B + Depth);
  if (Type == sctXB) return Between(T - Ph - Depth, Y, T - Ph);
  return false;
}

// Whether X lies in the band of a y scale of type T standing Pv pixels off the plot.
bool InYScaleBand(const TPlotGeometry& G, TScaleType Type, int Pv, int Depth, int X) {
  const std::int64_t W = G.Width, L = G.MarginLeft, R = G.MarginRight;
  if (Type == sctYL) return Between(W + Pv - R, X, W + Pv - R + Depth);
  if (Type == sctYR) return Between(L - Pv - Depth, X, L - Pv);
  return false;
}

TPoint ClampToPlot(const TPlotGeometry& G, int X, int Y) {
  return TPoint{std::max(G.PlotLeft(), std::min(X, G.PlotRight())),
                std::max(G.PlotTop(), std::min(Y, G.PlotBottom()))};
}

// The control a scale drag of the chart runs on (the plot without shadow).
TDragFrame FrameOf(const TPlotGeometry& G) {
  return {G.Width, G.Height, G.MarginLeft, G.MarginRight, G.MarginTop, G.MarginBottom};
}

TAxisRange SpanOf(const TScaleProps& P) { return {P.RangeLow(), P.RangeHigh(), P.Logarithmic()}; }
TRangeEnds EndsOf(const TScaleProps& P) { return {P.RangeLow(), P.RangeHigh()}; }

// Every drag and the wheel keep a panned axis inside the pan limits; no drag
// step is a history entry of its own.
constexpr TRangeChange KeepInPanLimits{.ApplyPanLimits = true};

// Runs a mouse step. A range change that meets a logarithmic axis reaching
// below zero (set up by the host, unchecked while loading) ends the step:
// a mouse message has nobody to report to, and the paint skips such a chart
// the same way.
template <typename F>
void MouseStep(F&& Step) {
  try {
    Step();
  } catch (const EZKWVexaError&) {
  }
}

}  // namespace

TChartMouse::TChartMouse(TCustomVexa& Chart) : FChart(Chart) { Reset(); }

void TChartMouse::Reset() {
  // Everything but the chart goes back to its initial value.
  FLastPointer = TPoint{};
  FActionPoint = TPoint{};
  FDragging = false;
  FStartPointer = {};
  FStartRanges = {};
  FLayerEnabled = {};
  FLayerEnabled[0] = true;
  FZoomWindState = zsNormal;
  FAnchor = TPoint{};
  FCurrentCorner = TPoint{};
  FMarkRectState = msNormal;
  FFirstCorner = TPoint{};
  FEndCorner = TPoint{};
  FMarkCorner = TPoint{};
  FDoubleClicked = false;
  FSelectedCrossHair = 0;
  FSelectedLabel = 0;
  FZoomFigure = FigureNone;
  FMarkShown = false;
}

TPlotGeometry TChartMouse::Geometry() const { return FChart.Geometry(); }

bool TChartMouse::CanDraw() const { return FChart.HandleAllocated(); }

void TChartMouse::RaiseZoomPan() {
  // A copy: the handler may replace itself.
  if (const TZoomPanEvent Handler = FChart.OnZoomPan) Handler(&FChart);
}

bool TChartMouse::LayerEnabled(int Layer) const {
  return Layer >= 1 && Layer <= LayerCount && FLayerEnabled[static_cast<std::size_t>(Layer - 1)];
}

void TChartMouse::SetLayerEnabled(int Layer, bool Value) {
  if (Layer >= 1 && Layer <= LayerCount) FLayerEnabled[static_cast<std::size_t>(Layer - 1)] = Value;
}

bool TChartMouse::TakeDoubleClick() {
  const bool Pending = FDoubleClicked;
  FDoubleClicked = false;
  return Pending;
}

// ---- start state, figures --------------------------------------------------------------

void TChartMouse::TakeStartState(int X, int Y) {
  for (int N = 1; N <= LayerCount; ++N) {
    const auto I = static_cast<std::size_t>(N - 1);
    FStartPointer[I] = TPoint{X, Y};
    FStartRanges[I] = {EndsOf(FChart.ScalePropsX(N)), EndsOf(FChart.ScalePropsY(N))};
  }
}

void TChartMouse::XorFigure(std::uint8_t Kind, TPoint A, TPoint B) {
  if (Kind == FigureNone || !CanDraw()) return;
  TCanvas& C = FChart.Canvas();
  C.Pen().SetMode(pmXor);
  C.Pen().SetColor(clWhite);
  C.Pen().SetStyle(psSolid);
  C.Pen().SetWidth(1);
  C.Brush().SetStyle(bsClear);
  if (Kind == FigureLine) {
    C.MoveTo(A.X, A.Y);
    C.LineTo(B.X, B.Y);
  } else {
    C.Rectangle(A.X, A.Y, B.X, B.Y);
  }
  C.Pen().SetMode(pmCopy);
  C.Brush().SetStyle(bsSolid);
  FChart.SurfaceChanged();
}

void TChartMouse::EraseZoomFigure() {
  XorFigure(FZoomFigure, FAnchor, FCurrentCorner);
  FZoomFigure = FigureNone;
}

void TChartMouse::ShowZoomFigure(std::uint8_t Kind, TPoint Corner) {
  EraseZoomFigure();
  FCurrentCorner = Corner;
  if (!CanDraw()) return;
  XorFigure(Kind, FAnchor, Corner);
  FZoomFigure = Kind;
}

void TChartMouse::EraseMarkRect() {
  if (FMarkShown) XorFigure(FigureRect, FFirstCorner, FMarkCorner);
  FMarkShown = false;
}

void TChartMouse::RestoreFigures() {
  // The window's image was replaced, figures and all: draw them again.
  if (!CanDraw()) {
    FZoomFigure = FigureNone;
    FMarkShown = false;
    return;
  }
  XorFigure(FZoomFigure, FAnchor, FCurrentCorner);
  if (FMarkShown) XorFigure(FigureRect, FFirstCorner, FMarkCorner);
}

// ---- hit test ----------------------------------------------------------------------------

int TChartMouse::HitScale(int X, int Y) const {
  const TPlotGeometry G = Geometry();
  const std::int64_t W = G.Width, H = G.Height, L = G.MarginLeft, R = G.MarginRight, T = G.MarginTop,
                     B = G.MarginBottom;
  for (int N = 1; N <= LayerCount; ++N) {
    const TScalePropsVert& P = std::as_const(FChart).ScalePropsY(N);
    if (P.Visible() && InYScaleBand(G, P.ScaleType(), P.ScalePos(), YScaleHitBand, X) && Between(T, Y, H - B))
      return N;
  }
  for (int N = 1; N <= LayerCount; ++N) {
    const TScalePropsHoriz& P = std::as_const(FChart).ScalePropsX(N);
    if (P.Visible() && InXScaleBand(G, P.ScaleType(), P.ScalePos(), XScaleHitBand, Y) && Between(L, X, W - R))
      return -N;
  }
  return 0;
}

// ---- press -------------------------------------------------------------------------------

void TChartMouse::Press(TMouseButton Button, int X, int Y) {
  if (FMarkRectState == msFirstCorner) {
    if (Button == mbRight) {
      FMarkRectState = msNormal;
    } else {
      // Clamped like the rest of the rectangle, so that every repaint of the
      // plot area can restore it and erasing it stays exact.
      const TPoint P = ClampToPlot(Geometry(), X, Y);
      FFirstCorner = P;
      FMarkCorner = P;
      FMarkShown = false;
      FMarkRectState = msRectDraw;
    }
  }
  if (IsWindowMode(FChart.MouseAction()) && FZoomWindState == zsNormal && Button == mbLeft &&
      FChart.InPlotArea(X, Y)) {
    FZoomWindState = zsDrawWin;
    FAnchor = TPoint{X, Y};
    FCurrentCorner = TPoint{X, Y};
    FZoomFigure = FigureNone;
  }
}

// ---- move --------------------------------------------------------------------------------

void TChartMouse::Move(TShiftState Shift, int X, int Y) {
  MarkingMove(X, Y);
  FActionPoint = TPoint{X, Y};
  ScaleDrags(Shift, X, Y);
  // Read again: a handler of the scale drags may have changed it.
  const TMouseActMode Action = FChart.MouseAction();
  switch (Action) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maPanGrid: Pan(Shift, X, Y, Action); break;
    case maRubberBand:
      if (FZoomWindState == zsDrawWin) RubberLine(X, Y);
      break;
    case maZoomWind:
    case maZoomWindPos:
    case maSelectRect:
      if (FZoomWindState == zsDrawWin) DragRect(X, Y, Action);
      break;
    case maZoomDrag: ZoomDrag(Shift, X, Y); break;
    case maDragCrossH: CrossHairDrag(Shift, X, Y); break;
    case maDragLabel: LabelDrag(Shift, X, Y); break;
    case maDrawMTrace: FChart.ExtendMouseTrace(Shift, X, Y); break;
    default: break;  // the remaining actions do nothing on the plot area
  }
}

void TChartMouse::MarkingMove(int& X, int& Y) {
  if (FMarkRectState != msRectDraw) return;
  const TPoint P = ClampToPlot(Geometry(), X, Y);
  X = P.X;
  Y = P.Y;
  EraseMarkRect();
  FMarkCorner = P;
  if (CanDraw()) {
    XorFigure(FigureRect, FFirstCorner, P);
    FMarkShown = true;
  }
}

void TChartMouse::ScaleDrags(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FDragging = false;
    return;
  }
  if (!FDragging) {
    if (HitScale(X, Y) != 0) {
      TakeStartState(X, Y);
      FDragging = true;
    }
    return;
  }
  bool Moved = false;
  {
    const TPaintSuppression Pause(FChart);
    for (int N = 1; N <= LayerCount; ++N) {
      const auto I = static_cast<std::size_t>(N - 1);
      const TPlotGeometry G = Geometry();
      const std::int64_t W = G.Width, H = G.Height, L = G.MarginLeft, R = G.MarginRight, T = G.MarginTop,
                         B = G.MarginBottom;
      const TPointerDrag Drag{FStartPointer[I], TPoint{X, Y}};
      double Low = 0, High = 0;
      {
        const TScalePropsHoriz& P = FChart.ScalePropsX(N);
        if (P.MouseAction() != maNone && InXScaleBand(G, P.ScaleType(), P.ScalePos(), ScaleDragBand, Y) &&
            Between(L, X, W - R) && FZoomWindState != zsDrawWin &&
            ScaleDragRange(Drag, SpanOf(P), FStartRanges[I].X,
                           {P.ScaleType(), P.MouseAction()}, FrameOf(G), Low, High)) {
          FChart.SetRange(N, {Low, High}, EndsOf(FChart.ScalePropsY(N)), KeepInPanLimits);
          Moved = true;
        }
      }
      {
        const TScalePropsVert& P = FChart.ScalePropsY(N);
        if (P.MouseAction() != maNone && InYScaleBand(G, P.ScaleType(), P.ScalePos(), ScaleDragBand, X) &&
            Between(T, Y, H - B) &&
            ScaleDragRange(Drag, SpanOf(P), FStartRanges[I].Y,
                           {P.ScaleType(), P.MouseAction()}, FrameOf(G), Low, High)) {
          FChart.SetRange(N, EndsOf(FChart.ScalePropsX(N)), {Low, High}, KeepInPanLimits);
          Moved = true;
        }
      }
    }
  }
  if (Moved) RaiseZoomPan();
}

void TChartMouse::Pan(TShiftState Shift, int X, int Y, TMouseActMode Action) {
  if (!Shift.Contains(ssLeft)) {
    FDragging = false;
    return;
  }
  if (!FDragging) {
    TakeStartState(X, Y);
  } else if (FChart.InPlotArea(X, Y)) {
    {
      const TPaintSuppression Pause(FChart);
      for (int N = 1; N <= LayerCount; ++N) {
        const auto I = static_cast<std::size_t>(N - 1);
        if (!FLayerEnabled[I]) continue;
        const TPlotGeometry G = Geometry();
        const TAxisRange SX = SpanOf(FChart.ScalePropsX(N)), SY = SpanOf(FChart.ScalePropsY(N));
        const TRangeEnds StartX = FStartRanges[I].X;
        const TRangeEnds StartY = FStartRanges[I].Y;
        // The values follow the pointer: dragging right shows lower x values,
        // dragging down higher y values.
        const Extended XTravel = -(static_cast<Extended>(X) - FStartPointer[I].X);
        const Extended YTravel = static_cast<Extended>(Y) - FStartPointer[I].Y;
        const TPanStep PX = PanAxis(SX, StartX, XTravel, G.PlotWidth());
        const TPanStep PY = PanAxis(SY, StartY, YTravel, G.PlotHeight());
        switch (Action) {
          case maPan: FChart.SetRange(N, PX.Range, PY.Range, KeepInPanLimits); break;
          case maPanHoriz: FChart.SetRange(N, PX.Range, {SY.Low, SY.High}, KeepInPanLimits); break;
          case maPanVert: FChart.SetRange(N, {SX.Low, SX.High}, PY.Range, KeepInPanLimits); break;
          default: {
            // maPanGrid: the low ends snap to the grid (cut towards zero);
            // the widths stay. Not on logarithmic axes.
            if (SX.Logarithmic || SY.Logarithmic) break;
            const TRangeEnds GX = SnapPanToGrid(SX, StartX, PX.Moved, FChart.PanGridDx(), FChart.PanGridOffsX());
            const TRangeEnds GY = SnapPanToGrid(SY, StartY, PY.Moved, FChart.PanGridDy(), FChart.PanGridOffsY());
            FChart.SetRange(N, GX, GY, KeepInPanLimits);
            break;
          }
        }
      }
    }
    RaiseZoomPan();
  }
  FDragging = true;
}

void TChartMouse::RubberLine(int X, int Y) { ShowZoomFigure(FigureLine, ClampToPlot(Geometry(), X, Y)); }

void TChartMouse::DragRect(int X, int Y, TMouseActMode Action) {
  const TPlotGeometry G = Geometry();
  X = std::max(G.PlotLeft(), std::min(X, G.PlotRight()));
  if (FChart.Isometric() && (Action == maZoomWind || Action == maZoomWindPos)) {
    // A square in pixels, on the side of the anchor the pointer is on.
    const std::int64_t DX = static_cast<std::int64_t>(X) - FAnchor.X;
    const std::int64_t DY = static_cast<std::int64_t>(Y) - FAnchor.Y;
    Y = ClampPixelSum(DY * DX < 1 ? FAnchor.Y - DX : FAnchor.Y + DX);
  }
  Y = std::max(G.PlotTop(), std::min(Y, G.PlotBottom()));
  ShowZoomFigure(FigureRect, TPoint{X, Y});
}

void TChartMouse::ZoomDrag(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FDragging = false;
    return;
  }
  if (!FDragging) {
    TakeStartState(X, Y);
  } else if (FChart.InPlotArea(X, Y)) {
    {
      const TPaintSuppression Pause(FChart);
      for (int N = 1; N <= LayerCount; ++N) {
        const auto I = static_cast<std::size_t>(N - 1);
        if (!FLayerEnabled[I]) continue;
        // The whole control's size sets the speed of the zoom.
        const Extended W = FChart.Width(), H = FChart.Height();
        if (!(W > 0 && H > 0)) continue;
        // Dragging right zooms in, dragging down zooms out.
        const Extended TX = ZoomDragFactor(-(static_cast<Extended>(X) - FStartPointer[I].X), W);
        const Extended TY =
            FChart.Isometric() ? TX : ZoomDragFactor(static_cast<Extended>(Y) - FStartPointer[I].Y, H);
        const TRangeEnds RX = ZoomDragAxis(SpanOf(FChart.ScalePropsX(N)), FStartRanges[I].X, TX);
        const TRangeEnds RY = ZoomDragAxis(SpanOf(FChart.ScalePropsY(N)), FStartRanges[I].Y, TY);
        FChart.SetRange(N, RX, RY, KeepInPanLimits);
      }
    }
    RaiseZoomPan();
  }
  FDragging = true;
}

void TChartMouse::CrossHairDrag(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FDragging = false;
    return;
  }
  if (!FChart.InPlotArea(X, Y)) return;
  if (FDragging) {
    const int Index = FSelectedCrossHair;
    if (Index < 1 || Index > CrossHairCount) return;
    double WX = 0, WY = 0;
    FChart.PixelToWorld(FChart.CrossHair(Index).Layer(), X, Y, WX, WY);
    // Each setter repaints through the crosshair's notification; take the
    // crosshair afresh after each.
    FChart.CrossHair(Index).SetPosX(WX);
    FChart.CrossHair(Index).SetPosY(WY);
    FChart.Repaint();
    if (const TCrossHairMoveEvent Handler = FChart.OnCrossHairMove) Handler(&FChart, FChart.CrossHair(Index));
    return;
  }
  // Pick the crosshair whose line is nearest to the pointer; crosshair 1
  // when none is shown.
  int Selected = 1;
  double Best = 1.7e308;
  for (int I = 1; I <= CrossHairCount; ++I) {
    const TCrossHair& C = FChart.CrossHair(I);
    int PX = 0, PY = 0;
    FChart.WorldToPixel(C.Layer(), C.PosX(), C.PosY(), PX, PY);
    const TCrossHMode Mode = C.Mode();
    const double DX = static_cast<double>(PX) - X;
    const double DY = static_cast<double>(PY) - Y;
    if ((Mode == chVert || Mode == chBoth || Mode == chCrossBox || Mode == chBox) && DX * DX < Best) {
      Best = DX * DX;
      Selected = I;
    }
    if ((Mode == chHoriz || Mode == chBoth || Mode == chCrossBox || Mode == chBox) && DY * DY < Best) {
      Best = DY * DY;
      Selected = I;
    }
  }
  FSelectedCrossHair = Selected;
  bool AllowMove = true;
  if (const TBeforeCrossHMoveEvent Handler = FChart.OnBeforeCrossHairMove) {
    const TCrossHair& C = FChart.CrossHair(Selected);
    int PX = 0, PY = 0;
    FChart.WorldToPixel(C.Layer(), C.PosX(), C.PosY(), PX, PY);
    const int DX = ClampPixelSum(static_cast<std::int64_t>(X) - PX);
    const int DY = ClampPixelSum(static_cast<std::int64_t>(Y) - PY);
    Handler(&FChart, FChart.CrossHair(Selected), DX, DY, AllowMove);
  }
  if (AllowMove) {
    TakeStartState(X, Y);
    FDragging = true;
  }
}

void TChartMouse::LabelDrag(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FDragging = false;
    return;
  }
  if (FDragging) {
    const int Index = FSelectedLabel;
    if (Index >= 1 && Index <= TextLabelCount) {
      double WX = 0, WY = 0;
      FChart.PixelToWorld(FChart.TextLabel(Index).Layer(), X, Y, WX, WY);
      // Pixel coordinates where the label is not attached to the data.
      double NX = X, NY = Y;
      switch (FChart.TextLabel(Index).AttachToData()) {
        case tlamNone: break;
        case tlamXOnly: NX = WX; break;
        case tlamYOnly: NY = WY; break;
        case tlamBoth:
          NX = WX;
          NY = WY;
          break;
      }
      FChart.TextLabel(Index).SetPosX(NX);
      FChart.TextLabel(Index).SetPosY(NY);
      FChart.Repaint();
      if (const TTextLabelMoveEvent Handler = FChart.OnTextLabelMove) Handler(&FChart, FChart.TextLabel(Index));
    }
  } else {
    TakeStartState(X, Y);
    // The nearest shown label, however far; label 1 when none is shown.
    int Selected = 1;
    double Best = 1.7e308;
    for (int I = 1; I <= TextLabelCount; ++I) {
      const TTextLabel& Label = FChart.TextLabel(I);
      if (Label.Mode() == tlOff || !Label.Visible()) continue;
      int WPX = 0, WPY = 0;
      FChart.WorldToPixel(Label.Layer(), Label.PosX(), Label.PosY(), WPX, WPY);
      const TTxtLblAttachMode Mode = Label.AttachToData();
      const int PX = Mode == tlamXOnly || Mode == tlamBoth ? WPX : PixelFromDouble(Label.PosX());
      const int PY = Mode == tlamYOnly || Mode == tlamBoth ? WPY : PixelFromDouble(Label.PosY());
      const double DX = static_cast<double>(PX) - X;
      const double DY = static_cast<double>(PY) - Y;
      if (DX * DX + DY * DY < Best) {
        Best = DX * DX + DY * DY;
        Selected = I;
      }
    }
    FSelectedLabel = Selected;
  }
  FDragging = true;
}

// ---- release -----------------------------------------------------------------------------

void TChartMouse::Release(TMouseButton Button, int X, int Y) {
  FDragging = false;
  if (FMarkRectState == msRectDraw) {
    EraseMarkRect();
    if (Button == mbRight) {
      FMarkRectState = msNormal;
    } else {
      FEndCorner = TPoint{X, Y};
      FMarkRectState = msFinished;
    }
  }
  if (FChart.MouseAction() == maDrawMTrace) FChart.EndMouseTraceStroke();
  if (FZoomWindState == zsDrawWin) FinishWindow(Button);
  const TMouseActMode Action = FChart.MouseAction();
  if (IsPanMode(Action) || Action == maZoomDrag) FChart.PushRangeHistory();
}

void TChartMouse::FinishWindow(TMouseButton Button) {
  FZoomWindState = zsNormal;
  // The figure goes first, whatever follows: a cancelled, empty or
  // abandoned window leaves no trace, and a zoom repaints anyway.
  EraseZoomFigure();
  const TMouseActMode Action = FChart.MouseAction();
  if (!IsWindowMode(Action) || Button != mbLeft) return;
  const TPoint A = FAnchor;
  const TPoint C = FCurrentCorner;
  if (A.X == C.X || A.Y == C.Y) return;
  const TPaintSuppression Pause(FChart);
  for (int N = 1; N <= LayerCount; ++N) {
    if (!FLayerEnabled[static_cast<std::size_t>(N - 1)]) continue;
    double XA = 0, YA = 0, XC = 0, YC = 0;
    FChart.PixelToWorld(N, A.X, A.Y, XA, YA);
    FChart.PixelToWorld(N, C.X, C.Y, XC, YC);
    if (Action == maZoomWindPos || Action == maSelectRect) {
      // Keep each axis's direction: order the pair like the present range.
      const double XLo = FChart.ScalePropsX(N).RangeLow(), XHi = FChart.ScalePropsX(N).RangeHigh();
      const double YLo = FChart.ScalePropsY(N).RangeLow(), YHi = FChart.ScalePropsY(N).RangeHigh();
      if ((XC < XA && XLo < XHi) || (XC > XA && XLo > XHi)) std::swap(XA, XC);
      if ((YC < YA && YLo < YHi) || (YC > YA && YLo > YHi)) std::swap(YA, YC);
    }
    switch (Action) {
      case maRubberBand:
        if (const TSelectRectEvent Handler = FChart.OnRubberBand) Handler(&FChart, N, XA, YA, XC, YC);
        break;
      case maSelectRect:
        if (const TSelectRectEvent Handler = FChart.OnSelectRect) Handler(&FChart, N, XA, YA, XC, YC);
        break;
      default: FChart.SetRange(N, {XA, XC}, {YA, YC}, {.PushHistory = true}); break;
    }
  }
  RaiseZoomPan();
}

// ---- double click, marking, wheel, history --------------------------------------------------

void TChartMouse::DoubleClick() {
  FDoubleClicked = true;
  const int N = HitScale(FLastPointer.X, FLastPointer.Y);
  if (N == 0) return;
  TScaleProps& P = N < 0 ? static_cast<TScaleProps&>(FChart.ScalePropsX(-N)) : FChart.ScalePropsY(N);
  if (P.MouseAction() == maPan)
    P.SetMouseAction(maZoom);
  else if (P.MouseAction() == maZoom)
    P.SetMouseAction(maPan);
}

void TChartMouse::StartMarkRect() {
  EraseMarkRect();
  FMarkRectState = msFirstCorner;
}

bool TChartMouse::Wheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  const int X = MousePos.X, Y = MousePos.Y;
  const int Hit = FChart.InPlotArea(X, Y) ? 0 : HitScale(X, Y);
  if (!FChart.InPlotArea(X, Y) && Hit == 0) return false;
  const Extended Factor = WheelZoomFactor(WheelDelta, WHEEL_DELTA, WheelNotchFactor, WheelMaxNotches);
  const bool XOnly = Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
  const bool YOnly = Shift.Contains(ssCtrl) && !Shift.Contains(ssShift);
  {
    const TPaintSuppression Pause(FChart);
    // SetRange records the ranges of joined layers it carries along; one
    // wheel message is one entry, written after all layers have moved.
    const TRangeHistory History = FChart.RangeHistory();
    for (int N = 1; N <= LayerCount; ++N) {
      bool DoX = false, DoY = false;
      if (Hit == 0) {
        if (!FLayerEnabled[static_cast<std::size_t>(N - 1)]) continue;
        DoX = !YOnly;
        DoY = !XOnly;
      } else {
        DoX = Hit == -N;
        DoY = Hit == N;
        if (!DoX && !DoY) continue;
      }
      double WX = 0, WY = 0;
      FChart.PixelToWorld(N, X, Y, WX, WY);
      const TAxisRange SX = SpanOf(FChart.ScalePropsX(N)), SY = SpanOf(FChart.ScalePropsY(N));
      TRangeEnds RX{SX.Low, SX.High}, RY{SY.Low, SY.High};
      // An axis without a finite zoom keeps its range.
      if (DoX) ZoomAbout(SX, WX, Factor, RX);
      if (DoY) ZoomAbout(SY, WY, Factor, RY);
      FChart.SetRange(N, RX, RY, KeepInPanLimits);
    }
    FChart.SetRangeHistory(History);
    FChart.PushRangeHistory();
  }
  RaiseZoomPan();
  return true;
}

// ---- the chart's entry points ------------------------------------------------------------

void TCustomVexa::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The press that belongs to a double click is neither reported nor handled.
  if (FMouse.TakeDoubleClick()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  MouseStep([&] { FMouse.Press(Button, X, Y); });
}

void TCustomVexa::MouseActionMove(TShiftState Shift, int X, int Y) {
  MouseStep([&] { FMouse.Move(Shift, X, Y); });
}

void TCustomVexa::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FMouse.TakeDoubleClick()) return;
  MouseStep([&] { FMouse.Release(Button, X, Y); });
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomVexa::DblClick() {
  FMouse.DoubleClick();
  TCustomControl::DblClick();
}

bool TCustomVexa::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!WheelZoom() || WheelDelta == 0) return false;
  bool Zoomed = false;
  MouseStep([&] { Zoomed = FMouse.Wheel(Shift, WheelDelta, MousePos); });
  return Zoomed;
}

int TCustomVexa::HitScale(int X, int Y) const { return FMouse.HitScale(X, Y); }

void TCustomVexa::StartMarkRect() { FMouse.StartMarkRect(); }

void TCustomVexa::SetLayerMouseEnabled(int Layer, bool Value) { FMouse.SetLayerEnabled(Layer, Value); }

bool TCustomVexa::LayerMouseEnabled(int Layer) const { return FMouse.LayerEnabled(Layer); }

void TCustomVexa::RestoreMouseFigures() { FMouse.RestoreFigures(); }

}  // namespace zkw
