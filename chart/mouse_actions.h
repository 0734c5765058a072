// Mouse actions of the chart: pans, zoom windows, zoom drags, rubber lines,
// rectangle selection, crosshair and text-label dragging, axis-scale drags,
// the two-corner marking, the double click on a scale and wheel zoom.
//
// TChartMouse is owned by its chart (one for its whole life) and holds the
// drag state of all actions; it works through the chart's public operations
// only. The chart's mouse entry points forward to it.
//
// Host handlers raised from here may change anything (ranges, MouseAction,
// other charts, the chart's settings through Assign): nothing here keeps a
// reference into the chart's containers across a handler call, and every
// step reads the chart's state again.
#pragma once

#include <array>
#include <cstdint>

#include "base/enums.h"
#include "chart/layers.h"
#include "platform/controls.h"
#include "platform/graphics.h"

namespace zkw {

class TCustomVexa;

class TChartMouse {
 public:
  // Keeps Chart, which must outlive it (the chart owns it).
  explicit TChartMouse(TCustomVexa& Chart);
  TChartMouse(const TChartMouse&) = delete;
  TChartMouse& operator=(const TChartMouse&) = delete;

  // Back to the state of a new chart: nothing running, only layer 1 takes
  // part in the plot-area actions.
  void Reset();

  // ---- the steps of the chart's messages ----
  // The first corner of a two-corner marking and the anchor of a rubber line
  // or drag rectangle.
  void Press(TMouseButton Button, int X, int Y);
  // One move: the marking rectangle (which clamps the position for the rest
  // of the move, see ActionPoint), the scale drags, then the action of the
  // chart's MouseAction.
  void Move(TShiftState Shift, int X, int Y);
  // Ends drags, the marking and the trace's stroke, finishes a rubber line or
  // drag rectangle and records the ranges after pans and zoom drags.
  void Release(TMouseButton Button, int X, int Y);
  // Switches the scale under the latest pointer between maPan and maZoom;
  // the press and release that follow are swallowed (TakeDoubleClick).
  void DoubleClick();
  // Whether a double click is pending; clears it.
  bool TakeDoubleClick();
  // Zooms about MousePos; false when the pointer is neither over the plot
  // nor over a scale.
  bool Wheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  void StartMarkRect();
  // Draws the exclusive-or figures again after the window's image was replaced.
  void RestoreFigures();
  // The axis scale at (X, Y): +n for the y scale of layer n, -n for the x
  // scale of layer n, 0 for none.
  int HitScale(int X, int Y) const;

  // ---- state the chart reports ----
  TMarkRectState MarkRectState() const { return FMarkRectState; }
  TPoint MarkRectFirstCorner() const { return FFirstCorner; }
  TPoint MarkRectEndCorner() const { return FEndCorner; }
  TZoomWindState ZoomWindState() const { return FZoomWindState; }
  bool Dragging() const { return FDragging; }
  // Layers 1..16 that take part in the plot-area actions; others are ignored (false).
  bool LayerEnabled(int Layer) const;
  void SetLayerEnabled(int Layer, bool Value);
  // The latest pointer position of a move (the double click acts there).
  TPoint LastPointer() const { return FLastPointer; }
  void SetLastPointer(TPoint Value) { FLastPointer = Value; }
  // The move's position as its later steps use it: clamped into the plot
  // while a marking rectangle is drawn.
  TPoint ActionPoint() const { return FActionPoint; }
  void SetActionPoint(TPoint Value) { FActionPoint = Value; }

 private:
  TPlotGeometry Geometry() const;
  void TakeStartState(int X, int Y);
  void RaiseZoomPan();

  // Exclusive-or drawing on the window surface (nothing without a window).
  bool CanDraw() const;
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

  TCustomVexa& FChart;

  TPoint FLastPointer;
  TPoint FActionPoint;
  bool FDragging = false;
  // Where each layer's drag started and its ranges then.
  struct TStartRanges {
    TRangeEnds X;
    TRangeEnds Y;
  };
  std::array<TPoint, LayerCount> FStartPointer{};
  std::array<TStartRanges, LayerCount> FStartRanges{};
  std::array<bool, LayerCount> FLayerEnabled{};
  TZoomWindState FZoomWindState = zsNormal;
  TPoint FAnchor;
  TPoint FCurrentCorner;
  TMarkRectState FMarkRectState = msNormal;
  TPoint FFirstCorner;
  TPoint FEndCorner;
  TPoint FMarkCorner;  // latest corner of the marking rectangle on the screen
  bool FDoubleClicked = false;
  int FSelectedCrossHair = 0;
  int FSelectedLabel = 0;
  // Exclusive-or figures now on the window, so that erasing them is exact:
  // the rubber line or drag rectangle (0 none, 1 line, 2 rectangle) and the
  // marking rectangle.
  std::uint8_t FZoomFigure = 0;
  bool FMarkShown = false;
};

}  // namespace zkw
