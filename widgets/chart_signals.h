/// @file
/// The chart's events as Qt signals and the face's property changes as
/// change signals, written once for every Qt host of a chart (VexaWidget,
/// VexaItem). A host class provides chart() and the signals named below.
#pragma once

#include <QPointer>
#include <utility>

#include "chart/ZKW_vexa.h"
#include "widgets/event_chain.h"
#include "widgets/qt_face.h"

namespace zkw {

/// The host's own handlers for the chart's mouse events: each only emits
/// the host's signal (nothing once the host is gone). chain() puts them into
/// the chart's slots beside whatever the program assigned (see Chain).
template <typename Host>
class TChartSignalHandlers {
 public:
  /// Handlers that emit the signals of H.
  explicit TChartSignalHandlers(Host* H) {
    QPointer<Host> Self(H);
    FMove = [Self](TObject*, bool InChart, TShiftState, double X, double Y) {
      if (Self) emit Self->mouseMoveInChart(InChart, X, Y);
    };
    FZoomPan = [Self](TObject*) {
      if (Self) emit Self->zoomPan();
    };
    FRubberBand = [Self](TObject*, int Layer, double LoX, double LoY, double HiX, double HiY) {
      if (Self) emit Self->rubberBand(Layer, LoX, LoY, HiX, HiY);
    };
    FSelectRect = [Self](TObject*, int Layer, double LoX, double LoY, double HiX, double HiY) {
      if (Self) emit Self->selectRect(Layer, LoX, LoY, HiX, HiY);
    };
    FCrossHair = [Self](TObject*, TCrossHair& Which) {
      for (int I = 1; Self && I <= CrossHairCount; ++I)
        if (&Self->chart()->CrossHair(I) == &Which) emit Self->crossHairMoved(I);
    };
    FTextLabel = [Self](TObject*, TTextLabel& Which) {
      for (int I = 1; Self && I <= TextLabelCount; ++I)
        if (&Self->chart()->TextLabel(I) == &Which) emit Self->textLabelMoved(I);
    };
  }
  /// Chains the handlers into C's event slots (again before each call into C).
  void chain(TVexa& C) const {
    Chain(C.OnMouseMoveInChart, FMove);
    Chain(C.OnZoomPan, FZoomPan);
    Chain(C.OnRubberBand, FRubberBand);
    Chain(C.OnSelectRect, FSelectRect);
    Chain(C.OnCrossHairMove, FCrossHair);
    Chain(C.OnTextLabelMove, FTextLabel);
  }

 private:
  TMouseMoveInChartEvent FMove;
  TZoomPanEvent FZoomPan;
  TSelectRectEvent FRubberBand;
  TSelectRectEvent FSelectRect;
  TCrossHairMoveEvent FCrossHair;
  TTextLabelMoveEvent FTextLabel;
};

/// Emits H's change signals for the ChartProperty bits in Changed, in a
/// fixed order; stops when a signal's receiver deleted the host.
template <typename Host>
void EmitPropertyChanges(Host* H, unsigned Changed) {
  const std::pair<unsigned, void (Host::*)()> Signals[] = {
      {PropMouseAction, &Host::mouseActionChanged}, {PropWheelZoom, &Host::wheelZoomChanged},
      {PropCaption, &Host::captionChanged},         {PropChartColor, &Host::chartColorChanged},
      {PropDataColor, &Host::dataColorChanged},     {PropXLow, &Host::xLowChanged},
      {PropXHigh, &Host::xHighChanged},             {PropYLow, &Host::yLowChanged},
      {PropYHigh, &Host::yHighChanged},             {PropAntialiased, &Host::antialiasedChanged},
      {PropXCaption, &Host::xCaptionChanged},       {PropYCaption, &Host::yCaptionChanged}};
  QPointer<Host> Self(H);
  for (const auto& [Bit, Signal] : Signals)
    if ((Changed & Bit) && Self) emit(Self->*Signal)();
}

}  // namespace zkw
