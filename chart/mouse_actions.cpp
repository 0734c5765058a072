// Mouse actions of the chart: pans, zoom windows, zoom drags, rubber lines,
// rectangle selection, crosshair and text-label dragging, axis-scale drags,
// the two-corner marking, the double click on a scale, wheel zoom and the
// step back through the range history.
//
// One move runs, after OnMouseMove: the marking rectangle (which clamps the
// position for the rest of the move), the scale drags, then the action of
// MouseAction. The drag flag and the start state are shared by all actions.
//
// Host handlers raised from here may change anything (ranges, MouseAction,
// other charts): nothing here keeps a reference into the chart's containers
// across a handler call, and every step reads the chart's state again.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "chart/vexa.h"
#include "chart/paint_suppression.h"
#include "scale/scale_drag.h"

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

int ClampToInt(std::int64_t V) {
  return static_cast<int>(std::clamp<std::int64_t>(V, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A zoom of one axis about the world value Center by Factor (> 1 zooms in).
// Logarithmic axes zoom in log space. False when no finite range results.
bool ZoomAxisAbout(double Low, double High, double Center, Extended Factor, bool Logarithmic, Extended& NewLow,
                   Extended& NewHigh) {
  if (!std::isfinite(Low) || !std::isfinite(High) || !std::isfinite(Center)) return false;
  if (Logarithmic) {
    if (!(Low > 0 && High > 0 && Center > 0)) return false;
    const Extended C = std::log(static_cast<Extended>(Center));
    NewLow = std::exp(C + (std::log(static_cast<Extended>(Low)) - C) / Factor);
    NewHigh = std::exp(C + (std::log(static_cast<Extended>(High)) - C) / Factor);
  } else {
    NewLow = Center + (Low - static_cast<Extended>(Center)) / Factor;
    NewHigh = Center + (High - static_cast<Extended>(Center)) / Factor;
  }
  return std::isfinite(static_cast<double>(NewLow)) && std::isfinite(static_cast<double>(NewHigh));
}

// Keeps (Low, High) only when both ends are finite doubles; otherwise puts
// back the fallback, so that no overflow ever reaches a range.
void KeepFinite(Extended& Low, Extended& High, Extended FallbackLow, Extended FallbackHigh) {
  if (std::isfinite(static_cast<double>(Low)) && std::isfinite(static_cast<double>(High))) return;
  Low = FallbackLow;
  High = FallbackHigh;
}

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

int HitScaleOf(const TCustomVexa& Chart, int X, int Y);

// The mouse-action steps, working on the chart's mouse state. A short-lived
// helper made for one message; it holds the chart, nothing inside it.
class TChartMouse {
 public:
  explicit TChartMouse(TCustomVexa& Chart) : FC(Chart), FM(Chart.FMouse) {}

  void Press(TMouseButton Button, int X, int Y);
  void Move(TShiftState Shift, int X, int Y);
  void Release(TMouseButton Button, int X, int Y);
  void DoubleClick();
  bool Wheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  int HitScale(int X, int Y) const { return HitScaleOf(FC, X, Y); }
  bool HistoryBack();
  void StartMarkRect();
  void RestoreFigures();

 private:
  TPlotGeometry Geometry() const { return FC.Geometry(); }
  void TakeStartState(int X, int Y);
  void RaiseZoomPan() {
    // A copy: the handler may replace itself.
    if (const TZoomPanEvent Handler = FC.OnZoomPan) Handler(&FC);
  }

  // Exclusive-or drawing on the window surface (nothing without a window).
  bool CanDraw() { return FC.HandleAllocated(); }
  void XorFigure(std::uint8_t Kind, TPoint A, TPoint B);
  void EraseZoomFigure();
  void ShowZoomFigure(std::uint8_t Kind, TPoint Corner);
  void EraseMarkRect();

  void MarkingMove(int& X, int& Y);
  void ScaleDrags(TShiftState Shift, int X, int Y);
  void Pan(TShiftState Shift, int X, int Y, TMouseActMode Action);
  void RubberLine(int X, int Y);
  void DragRect(int X, int Y, TMouseActMode Action);
  void ZoomDrag(TShiftState Shift, int X, int Y);
  void CrossHairDrag(TShiftState Shift, int X, int Y);
  void LabelDrag(TShiftState Shift, int X, int Y);
  void FinishWindow(TMouseButton Button);

  TCustomVexa& FC;
  TVexaMouseState& FM;
};

// ---- start state, figures --------------------------------------------------------------

void TChartMouse::TakeStartState(int X, int Y) {
  for (int N = 1; N <= LayerCount; ++N) {
    const auto I = static_cast<std::size_t>(N - 1);
    FM.StartPointer[I] = TPoint{X, Y};
    FM.StartRanges[I] = {FC.ScalePropsX(N).RangeLow(), FC.ScalePropsX(N).RangeHigh(), FC.ScalePropsY(N).RangeLow(),
                         FC.ScalePropsY(N).RangeHigh()};
  }
}

void TChartMouse::XorFigure(std::uint8_t Kind, TPoint A, TPoint B) {
  if (Kind == FigureNone || !CanDraw()) return;
  TCanvas& C = FC.Canvas();
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
  FC.SurfaceChanged();
}

void TChartMouse::EraseZoomFigure() {
  XorFigure(FM.ZoomFigure, FM.Anchor, FM.CurrentCorner);
  FM.ZoomFigure = FigureNone;
}

void TChartMouse::ShowZoomFigure(std::uint8_t Kind, TPoint Corner) {
  EraseZoomFigure();
  FM.CurrentCorner = Corner;
  if (!CanDraw()) return;
  XorFigure(Kind, FM.Anchor, Corner);
  FM.ZoomFigure = Kind;
}

void TChartMouse::EraseMarkRect() {
  if (FM.MarkShown) XorFigure(FigureRect, FM.FirstCorner, FM.MarkCorner);
  FM.MarkShown = false;
}

void TChartMouse::RestoreFigures() {
  // The window's image was replaced, figures and all: draw them again.
  if (!CanDraw()) {
    FM.ZoomFigure = FigureNone;
    FM.MarkShown = false;
    return;
  }
  XorFigure(FM.ZoomFigure, FM.Anchor, FM.CurrentCorner);
  if (FM.MarkShown) XorFigure(FigureRect, FM.FirstCorner, FM.MarkCorner);
}

// ---- hit test ----------------------------------------------------------------------------

int HitScaleOf(const TCustomVexa& Chart, int X, int Y) {
  const TPlotGeometry G = Chart.Geometry();
  const std::int64_t W = G.Width, H = G.Height, L = G.MarginLeft, R = G.MarginRight, T = G.MarginTop,
                     B = G.MarginBottom;
  for (int N = 1; N <= LayerCount; ++N) {
    const TScalePropsVert& P = Chart.ScalePropsY(N);
    if (P.Visible() && InYScaleBand(G, P.ScaleType(), P.ScalePos(), YScaleHitBand, X) && Between(T, Y, H - B))
      return N;
  }
  for (int N = 1; N <= LayerCount; ++N) {
    const TScalePropsHoriz& P = Chart.ScalePropsX(N);
    if (P.Visible() && InXScaleBand(G, P.ScaleType(), P.ScalePos(), XScaleHitBand, Y) && Between(L, X, W - R))
      return -N;
  }
  return 0;
}

// ---- press -------------------------------------------------------------------------------

void TChartMouse::Press(TMouseButton Button, int X, int Y) {
  if (FM.MarkRectState == msFirstCorner) {
    if (Button == mbRight) {
      FM.MarkRectState = msNormal;
    } else {
      // Clamped like the rest of the rectangle, so that every repaint of the
      // plot area can restore it and erasing it stays exact.
      const TPoint P = ClampToPlot(Geometry(), X, Y);
      FM.FirstCorner = P;
      FM.MarkCorner = P;
      FM.MarkShown = false;
      FM.MarkRectState = msRectDraw;
    }
  }
  if (IsWindowMode(FC.MouseAction()) && FM.ZoomWindState == zsNormal && Button == mbLeft && FC.InPlotArea(X, Y)) {
    FM.ZoomWindState = zsDrawWin;
    FM.Anchor = TPoint{X, Y};
    FM.CurrentCorner = TPoint{X, Y};
    FM.ZoomFigure = FigureNone;
  }
}

// ---- move --------------------------------------------------------------------------------

void TChartMouse::Move(TShiftState Shift, int X, int Y) {
  MarkingMove(X, Y);
  FM.ActionPoint = TPoint{X, Y};
  ScaleDrags(Shift, X, Y);
  // Read again: a handler of the scale drags may have changed it.
  const TMouseActMode Action = FC.MouseAction();
  switch (Action) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maPanGrid: Pan(Shift, X, Y, Action); break;
    case maRubberBand:
      if (FM.ZoomWindState == zsDrawWin) RubberLine(X, Y);
      break;
    case maZoomWind:
    case maZoomWindPos:
    case maSelectRect:
      if (FM.ZoomWindState == zsDrawWin) DragRect(X, Y, Action);
      break;
    case maZoomDrag: ZoomDrag(Shift, X, Y); break;
    case maDragCrossH: CrossHairDrag(Shift, X, Y); break;
    case maDragLabel: LabelDrag(Shift, X, Y); break;
    case maDrawMTrace: FC.ExtendMouseTrace(Shift, X, Y); break;
    default: break;  // the remaining actions do nothing on the plot area
  }
}

void TChartMouse::MarkingMove(int& X, int& Y) {
  if (FM.MarkRectState != msRectDraw) return;
  const TPoint P = ClampToPlot(Geometry(), X, Y);
  X = P.X;
  Y = P.Y;
  EraseMarkRect();
  FM.MarkCorner = P;
  if (CanDraw()) {
    XorFigure(FigureRect, FM.FirstCorner, P);
    FM.MarkShown = true;
  }
}

void TChartMouse::ScaleDrags(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FM.Dragging = false;
    return;
  }
  if (!FM.Dragging) {
    if (HitScale(X, Y) != 0) {
      TakeStartState(X, Y);
      FM.Dragging = true;
    }
    return;
  }
  bool Moved = false;
  {
    const TPaintSuppression Pause(FC);
    for (int N = 1; N <= LayerCount; ++N) {
      const auto I = static_cast<std::size_t>(N - 1);
      const TPlotGeometry G = Geometry();
      const std::int64_t W = G.Width, H = G.Height, L = G.MarginLeft, R = G.MarginRight, T = G.MarginTop,
                         B = G.MarginBottom;
      const TPoint Start = FM.StartPointer[I];
      double Low = 0, High = 0;
      {
        const TScalePropsHoriz& P = FC.ScalePropsX(N);
        if (P.MouseAction() != maNone && InXScaleBand(G, P.ScaleType(), P.ScalePos(), ScaleDragBand, Y) &&
            Between(L, X, W - R) && FM.ZoomWindState != zsDrawWin &&
            ScaleDragRange(X, Y, Start.X, Start.Y, P.RangeLow(), P.RangeHigh(), FM.StartRanges[I][0],
                           FM.StartRanges[I][1], P.Logarithmic(), P.ScaleType(), P.MouseAction(), G.Width, G.Height,
                           G.MarginLeft, G.MarginRight, G.MarginTop, G.MarginBottom, Low, High)) {
          const TScalePropsVert& PY = FC.ScalePropsY(N);
          FC.SetRange(N, false, true, Low, PY.RangeLow(), High, PY.RangeHigh());
          Moved = true;
        }
      }
      {
        const TScalePropsVert& P = FC.ScalePropsY(N);
        if (P.MouseAction() != maNone && InYScaleBand(G, P.ScaleType(), P.ScalePos(), ScaleDragBand, X) &&
            Between(T, Y, H - B) &&
            ScaleDragRange(X, Y, Start.X, Start.Y, P.RangeLow(), P.RangeHigh(), FM.StartRanges[I][2],
                           FM.StartRanges[I][3], P.Logarithmic(), P.ScaleType(), P.MouseAction(), G.Width, G.Height,
                           G.MarginLeft, G.MarginRight, G.MarginTop, G.MarginBottom, Low, High)) {
          const TScalePropsHoriz& PX = FC.ScalePropsX(N);
          FC.SetRange(N, false, true, PX.RangeLow(), Low, PX.RangeHigh(), High);
          Moved = true;
        }
      }
    }
  }
  if (Moved) RaiseZoomPan();
}

void TChartMouse::Pan(TShiftState Shift, int X, int Y, TMouseActMode Action) {
  if (!Shift.Contains(ssLeft)) {
    FM.Dragging = false;
    return;
  }
  if (!FM.Dragging) {
    TakeStartState(X, Y);
  } else if (FC.InPlotArea(X, Y)) {
    {
      const TPaintSuppression Pause(FC);
      for (int N = 1; N <= LayerCount; ++N) {
        const auto I = static_cast<std::size_t>(N - 1);
        if (!FM.LayerMouse[I]) continue;
        const TPlotGeometry G = Geometry();
        const Extended PW = G.PlotWidth(), PH = G.PlotHeight();
        const TScalePropsHoriz& PX = FC.ScalePropsX(N);
        const TScalePropsVert& PY = FC.ScalePropsY(N);
        const Extended XL = PX.RangeLow(), XH = PX.RangeHigh(), YL = PY.RangeLow(), YH = PY.RangeHigh();
        const Extended XL0 = FM.StartRanges[I][0], XH0 = FM.StartRanges[I][1];
        const Extended YL0 = FM.StartRanges[I][2], YH0 = FM.StartRanges[I][3];
        const Extended DXPix = static_cast<Extended>(X) - FM.StartPointer[I].X;
        const Extended DYPix = static_cast<Extended>(Y) - FM.StartPointer[I].Y;
        // Shifted ranges; an axis that cannot be shifted (no plot extent,
        // a logarithmic range not above zero) keeps its current range.
        Extended NXL = XL, NXH = XH, NYL = YL, NYH = YH;
        Extended DX = 0, DY = 0;
        if (PW > 0) {
          if (!PX.Logarithmic()) {
            DX = (XH - XL) * DXPix / PW;
            NXL = XL0 - DX;
            NXH = XH0 - DX;
          } else if (XL > 0 && XH > 0) {
            const Extended F = std::exp(std::log(XH / XL) * -DXPix / PW);
            NXL = XL0 * F;
            NXH = XH0 * F;
          }
        }
        if (PH > 0) {
          if (!PY.Logarithmic()) {
            DY = (YH - YL) * DYPix / PH;
            NYL = YL0 + DY;
            NYH = YH0 + DY;
          } else if (YL > 0 && YH > 0) {
            const Extended F = std::exp(std::log(YH / YL) * DYPix / PH);
            NYL = YL0 * F;
            NYH = YH0 * F;
          }
        }
        KeepFinite(NXL, NXH, XL, XH);
        KeepFinite(NYL, NYH, YL, YH);
        switch (Action) {
          case maPan: FC.SetRange(N, false, true, NXL, NYL, NXH, NYH); break;
          case maPanHoriz: FC.SetRange(N, false, true, NXL, YL, NXH, YH); break;
          case maPanVert: FC.SetRange(N, false, true, XL, NYL, XH, NYH); break;
          default: {
            // maPanGrid: the low ends snap to the grid (cut towards zero);
            // the widths stay.
            if (PX.Logarithmic() || PY.Logarithmic()) break;
            const auto Snap = [](Extended V, double Step, double Offset) -> Extended {
              if (!(Step > 0)) return V;
              const Extended Snapped = std::trunc(V / Step) * Step + Offset;
              return std::isfinite(Snapped) ? Snapped : V;
            };
            Extended GXL = Snap(XL0 - DX, FC.PanGridDx(), FC.PanGridOffsX());
            Extended GYL = Snap(YL0 + DY, FC.PanGridDy(), FC.PanGridOffsY());
            Extended GXH = XH0 - (XL0 - GXL), GYH = YH0 - (YL0 - GYL);
            KeepFinite(GXL, GXH, XL, XH);
            KeepFinite(GYL, GYH, YL, YH);
            FC.SetRange(N, false, true, GXL, GYL, GXH, GYH);
            break;
          }
        }
      }
    }
    RaiseZoomPan();
  }
  FM.Dragging = true;
}

void TChartMouse::RubberLine(int X, int Y) { ShowZoomFigure(FigureLine, ClampToPlot(Geometry(), X, Y)); }

void TChartMouse::DragRect(int X, int Y, TMouseActMode Action) {
  const TPlotGeometry G = Geometry();
  X = std::max(G.PlotLeft(), std::min(X, G.PlotRight()));
  if (FC.Isometric() && (Action == maZoomWind || Action == maZoomWindPos)) {
    // A square in pixels, on the side of the anchor the pointer is on.
    const std::int64_t DX = static_cast<std::int64_t>(X) - FM.Anchor.X;
    const std::int64_t DY = static_cast<std::int64_t>(Y) - FM.Anchor.Y;
    Y = ClampToInt(DY * DX < 1 ? FM.Anchor.Y - DX : FM.Anchor.Y + DX);
  }
  Y = std::max(G.PlotTop(), std::min(Y, G.PlotBottom()));
  ShowZoomFigure(FigureRect, TPoint{X, Y});
}

void TChartMouse::ZoomDrag(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FM.Dragging = false;
    return;
  }
  if (!FM.Dragging) {
    TakeStartState(X, Y);
  } else if (FC.InPlotArea(X, Y)) {
    {
      const TPaintSuppression Pause(FC);
      for (int N = 1; N <= LayerCount; ++N) {
        const auto I = static_cast<std::size_t>(N - 1);
        if (!FM.LayerMouse[I]) continue;
        // The whole control's size sets the speed of the zoom.
        const Extended W = FC.Width(), H = FC.Height();
        if (!(W > 0 && H > 0)) continue;
        const Extended TX = 1 - (static_cast<Extended>(X) - FM.StartPointer[I].X) / W;
        const Extended TY = FC.Isometric() ? TX : 1 + (static_cast<Extended>(Y) - FM.StartPointer[I].Y) / H;
        const Extended XL0 = FM.StartRanges[I][0], XH0 = FM.StartRanges[I][1];
        const Extended YL0 = FM.StartRanges[I][2], YH0 = FM.StartRanges[I][3];
        const Extended CX = (XH0 + XL0) / 2, CY = (YH0 + YL0) / 2;
        const Extended HX = (XH0 - XL0) * TX / 2, HY = (YH0 - YL0) * TY / 2;
        Extended NXL = CX - HX, NXH = CX + HX, NYL = CY - HY, NYH = CY + HY;
        KeepFinite(NXL, NXH, FC.ScalePropsX(N).RangeLow(), FC.ScalePropsX(N).RangeHigh());
        KeepFinite(NYL, NYH, FC.ScalePropsY(N).RangeLow(), FC.ScalePropsY(N).RangeHigh());
        FC.SetRange(N, false, true, NXL, NYL, NXH, NYH);
      }
    }
    RaiseZoomPan();
  }
  FM.Dragging = true;
}

void TChartMouse::CrossHairDrag(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FM.Dragging = false;
    return;
  }
  if (!FC.InPlotArea(X, Y)) return;
  if (FM.Dragging) {
    const int Index = FM.SelectedCrossHair;
    if (Index < 1 || Index > CrossHairCount) return;
    double WX = 0, WY = 0;
    FC.PixelToWorld(FC.CrossHair(Index).Layer(), X, Y, WX, WY);
    // Each setter repaints through the crosshair's notification; take the
    // crosshair afresh after each.
    FC.CrossHair(Index).SetPosX(WX);
    FC.CrossHair(Index).SetPosY(WY);
    FC.Repaint();
    if (const TCrossHairMoveEvent Handler = FC.OnCrossHairMove) Handler(&FC, FC.CrossHair(Index));
    return;
  }
  // Pick the crosshair whose line is nearest to the pointer; crosshair 1
  // when none is shown.
  int Selected = 1;
  double Best = 1.7e308;
  for (int I = 1; I <= CrossHairCount; ++I) {
    const TCrossHair& C = FC.CrossHair(I);
    int PX = 0, PY = 0;
    FC.WorldToPixel(C.Layer(), C.PosX(), C.PosY(), PX, PY);
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
  FM.SelectedCrossHair = Selected;
  bool AllowMove = true;
  if (const TBeforeCrossHMoveEvent Handler = FC.OnBeforeCrossHairMove) {
    const TCrossHair& C = FC.CrossHair(Selected);
    int PX = 0, PY = 0;
    FC.WorldToPixel(C.Layer(), C.PosX(), C.PosY(), PX, PY);
    const int DX = ClampToInt(static_cast<std::int64_t>(X) - PX);
    const int DY = ClampToInt(static_cast<std::int64_t>(Y) - PY);
    Handler(&FC, FC.CrossHair(Selected), DX, DY, AllowMove);
  }
  if (AllowMove) {
    TakeStartState(X, Y);
    FM.Dragging = true;
  }
}

void TChartMouse::LabelDrag(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) {
    FM.Dragging = false;
    return;
  }
  if (FM.Dragging) {
    const int Index = FM.SelectedLabel;
    if (Index >= 1 && Index <= TextLabelCount) {
      double WX = 0, WY = 0;
      FC.PixelToWorld(FC.TextLabel(Index).Layer(), X, Y, WX, WY);
      // Pixel coordinates where the label is not attached to the data.
      double NX = X, NY = Y;
      switch (FC.TextLabel(Index).AttachToData()) {
        case tlamNone: break;
        case tlamXOnly: NX = WX; break;
        case tlamYOnly: NY = WY; break;
        case tlamBoth:
          NX = WX;
          NY = WY;
          break;
      }
      FC.TextLabel(Index).SetPosX(NX);
      FC.TextLabel(Index).SetPosY(NY);
      FC.Repaint();
      if (const TTextLabelMoveEvent Handler = FC.OnTextLabelMove) Handler(&FC, FC.TextLabel(Index));
    }
  } else {
    TakeStartState(X, Y);
    // The nearest shown label, however far; label 1 when none is shown.
    int Selected = 1;
    double Best = 1.7e308;
    for (int I = 1; I <= TextLabelCount; ++I) {
      const TTextLabel& Label = FC.TextLabel(I);
      if (Label.Mode() == tlOff || !Label.Visible()) continue;
      int WPX = 0, WPY = 0;
      FC.WorldToPixel(Label.Layer(), Label.PosX(), Label.PosY(), WPX, WPY);
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
    FM.SelectedLabel = Selected;
  }
  FM.Dragging = true;
}

// ---- release -----------------------------------------------------------------------------

void TChartMouse::Release(TMouseButton Button, int X, int Y) {
  FM.Dragging = false;
  if (FM.MarkRectState == msRectDraw) {
    EraseMarkRect();
    if (Button == mbRight) {
      FM.MarkRectState = msNormal;
    } else {
      FM.EndCorner = TPoint{X, Y};
      FM.MarkRectState = msFinished;
    }
  }
  if (FC.MouseAction() == maDrawMTrace) FC.EndMouseTraceStroke();
  if (FM.ZoomWindState == zsDrawWin) FinishWindow(Button);
  const TMouseActMode Action = FC.MouseAction();
  if (IsPanMode(Action) || Action == maZoomDrag) FC.PushRangeHistory();
}

void TChartMouse::FinishWindow(TMouseButton Button) {
  FM.ZoomWindState = zsNormal;
  // The figure goes first, whatever follows: a cancelled, empty or
  // abandoned window leaves no trace, and a zoom repaints anyway.
  EraseZoomFigure();
  const TMouseActMode Action = FC.MouseAction();
  if (!IsWindowMode(Action) || Button != mbLeft) return;
  const TPoint A = FM.Anchor;
  const TPoint C = FM.CurrentCorner;
  if (A.X == C.X || A.Y == C.Y) return;
  const TPaintSuppression Pause(FC);
  for (int N = 1; N <= LayerCount; ++N) {
    if (!FM.LayerMouse[static_cast<std::size_t>(N - 1)]) continue;
    double XA = 0, YA = 0, XC = 0, YC = 0;
    FC.PixelToWorld(N, A.X, A.Y, XA, YA);
    FC.PixelToWorld(N, C.X, C.Y, XC, YC);
    if (Action == maZoomWindPos || Action == maSelectRect) {
      // Keep each axis's direction: order the pair like the present range.
      const double XLo = FC.ScalePropsX(N).RangeLow(), XHi = FC.ScalePropsX(N).RangeHigh();
      const double YLo = FC.ScalePropsY(N).RangeLow(), YHi = FC.ScalePropsY(N).RangeHigh();
      if ((XC < XA && XLo < XHi) || (XC > XA && XLo > XHi)) std::swap(XA, XC);
      if ((YC < YA && YLo < YHi) || (YC > YA && YLo > YHi)) std::swap(YA, YC);
    }
    switch (Action) {
      case maRubberBand:
        if (const TSelectRectEvent Handler = FC.OnRubberBand) Handler(&FC, N, XA, YA, XC, YC);
        break;
      case maSelectRect:
        if (const TSelectRectEvent Handler = FC.OnSelectRect) Handler(&FC, N, XA, YA, XC, YC);
        break;
      default: FC.SetRange(N, true, false, XA, YA, XC, YC); break;
    }
  }
  RaiseZoomPan();
}

// ---- double click, marking, wheel, history --------------------------------------------------

void TChartMouse::DoubleClick() {
  FM.DoubleClicked = true;
  const int N = HitScale(FM.LastPointer.X, FM.LastPointer.Y);
  if (N == 0) return;
  TScaleProps& P = N < 0 ? static_cast<TScaleProps&>(FC.ScalePropsX(-N)) : FC.ScalePropsY(N);
  if (P.MouseAction() == maPan)
    P.SetMouseAction(maZoom);
  else if (P.MouseAction() == maZoom)
    P.SetMouseAction(maPan);
}

void TChartMouse::StartMarkRect() {
  EraseMarkRect();
  FM.MarkRectState = msFirstCorner;
}

bool TChartMouse::Wheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  const int X = MousePos.X, Y = MousePos.Y;
  const int Hit = FC.InPlotArea(X, Y) ? 0 : HitScale(X, Y);
  if (!FC.InPlotArea(X, Y) && Hit == 0) return false;
  const int Notches = std::clamp(WheelDelta, -WheelMaxNotches * WHEEL_DELTA, WheelMaxNotches * WHEEL_DELTA);
  const Extended Factor = std::pow(WheelNotchFactor, static_cast<Extended>(Notches) / WHEEL_DELTA);
  const bool XOnly = Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
  const bool YOnly = Shift.Contains(ssCtrl) && !Shift.Contains(ssShift);
  {
    const TPaintSuppression Pause(FC);
    // SetRange records the ranges of joined layers it carries along; one
    // wheel message is one entry, written after all layers have moved.
    const TRangeHistory History = FC.FHistory;
    for (int N = 1; N <= LayerCount; ++N) {
      bool DoX = false, DoY = false;
      if (Hit == 0) {
        if (!FM.LayerMouse[static_cast<std::size_t>(N - 1)]) continue;
        DoX = !YOnly;
        DoY = !XOnly;
      } else {
        DoX = Hit == -N;
        DoY = Hit == N;
        if (!DoX && !DoY) continue;
      }
      double WX = 0, WY = 0;
      FC.PixelToWorld(N, X, Y, WX, WY);
      const TScalePropsHoriz& PX = FC.ScalePropsX(N);
      const TScalePropsVert& PY = FC.ScalePropsY(N);
      Extended XL = PX.RangeLow(), XH = PX.RangeHigh(), YL = PY.RangeLow(), YH = PY.RangeHigh();
      Extended L = 0, H = 0;
      if (DoX && ZoomAxisAbout(PX.RangeLow(), PX.RangeHigh(), WX, Factor, PX.Logarithmic(), L, H)) {
        XL = L;
        XH = H;
      }
      if (DoY && ZoomAxisAbout(PY.RangeLow(), PY.RangeHigh(), WY, Factor, PY.Logarithmic(), L, H)) {
        YL = L;
        YH = H;
      }
      FC.SetRange(N, false, true, XL, YL, XH, YH);
    }
    FC.FHistory = History;
    FC.PushRangeHistory();
  }
  RaiseZoomPan();
  return true;
}

bool TChartMouse::HistoryBack() {
  TRangeHistory& History = FC.FHistory;
  const int Size = TRangeHistory::Size;
  const auto Slot = [Size](int P) { return ((P - 1) % Size + Size) % Size + 1; };
  const auto Recorded = [](const TRangeSnapshot& S) {
    for (const TLayerRangeEntry& E : S)
      for (double V : E)
        if (V != 0) return true;
    return false;
  };
  const int Latest = Slot(History.Position() - 1);
  if (!Recorded(History.Snapshot(Latest))) return false;
  const TRangeSnapshot Current = FC.CurrentRanges();
  int Target = Latest;
  if (Current == History.Snapshot(Latest)) {
    // Already there: find the latest earlier entry that differs (a release
    // may have recorded the same ranges twice). The entries stepped over
    // are forgotten (zero snapshots), so repeated steps never wrap round the
    // ring to newer entries.
    int Oldest = Latest;  // the oldest entry equal to the current ranges
    Target = 0;
    for (int Step = 1; Step < Size; ++Step) {
      const int Previous = Slot(Oldest - 1);
      if (!Recorded(History.Snapshot(Previous))) break;
      if (History.Snapshot(Previous) != Current) {
        Target = Previous;
        break;
      }
      Oldest = Previous;
    }
    if (Target == 0) return false;
    for (int S = Latest;; S = Slot(S - 1)) {
      History.Snapshot(S) = TRangeSnapshot{};
      if (S == Oldest) break;
    }
    History.SetPosition(Oldest);
  }
  const TRangeSnapshot S = History.Snapshot(Target);
  {
    const TPaintSuppression Pause(FC);
    // Entries hold x low, y high, x high, y low per layer.
    for (int N = 1; N <= LayerCount; ++N) {
      const TLayerRangeEntry& E = S[static_cast<std::size_t>(N - 1)];
      FC.SetLayerRange(N, false, false, E[0], E[3], E[2], E[1]);
    }
  }
  return true;
}

// ---- the chart's entry points ------------------------------------------------------------

void TCustomVexa::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The press that belongs to a double click is neither reported nor handled.
  if (FMouse.DoubleClicked) {
    FMouse.DoubleClicked = false;
    return;
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
  MouseStep([&] { TChartMouse(*this).Press(Button, X, Y); });
}

void TCustomVexa::MouseActionMove(TShiftState Shift, int X, int Y) {
  MouseStep([&] { TChartMouse(*this).Move(Shift, X, Y); });
}

void TCustomVexa::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FMouse.DoubleClicked) {
    FMouse.DoubleClicked = false;
    return;
  }
  MouseStep([&] { TChartMouse(*this).Release(Button, X, Y); });
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomVexa::DblClick() {
  TChartMouse(*this).DoubleClick();
  TCustomControl::DblClick();
}

bool TCustomVexa::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!WheelZoom() || WheelDelta == 0) return false;
  bool Zoomed = false;
  MouseStep([&] { Zoomed = TChartMouse(*this).Wheel(Shift, WheelDelta, MousePos); });
  return Zoomed;
}

int TCustomVexa::HitScale(int X, int Y) const { return HitScaleOf(*this, X, Y); }

void TCustomVexa::StartMarkRect() { TChartMouse(*this).StartMarkRect(); }

void TCustomVexa::SetLayerMouseEnabled(int Layer, bool Value) {
  if (Layer >= 1 && Layer <= LayerCount) FMouse.LayerMouse[static_cast<std::size_t>(Layer - 1)] = Value;
}

bool TCustomVexa::LayerMouseEnabled(int Layer) const {
  return Layer >= 1 && Layer <= LayerCount && FMouse.LayerMouse[static_cast<std::size_t>(Layer - 1)];
}

bool TCustomVexa::RangeHistoryBack() { return TChartMouse(*this).HistoryBack(); }

void TCustomVexa::RestoreMouseFigures() { TChartMouse(*this).RestoreFigures(); }

}  // namespace zkw
