/// @class zkw::VexaWidget widgets/vexa_widget.h "widgets/vexa_widget.h"
/// VexaWidget: the chart as a QWidget for any Qt program.
///
/// @code
///   auto* Plot = new zkw::VexaWidget;          // in any layout
///   Plot->chart()->AddMark(1.0, 2.0, 3);
///   Plot->chart()->Redraw();
///   connect(Plot, &zkw::VexaWidget::mouseMoveInChart, ...);
/// @endcode
///
/// The widget owns its TVexa (chart()); the chart fills the widget and
/// follows its size. Mouse moves, presses, releases, double clicks, the wheel,
/// enter, leave and keys go to the chart's message entry points as they do in
/// a form; Tab and Backtab move the focus on past the chart. Pointer shapes the
/// chart sets go onto this widget only (see SurfaceWidget).
///
/// Events: every chart event that reports what the mouse did is also a Qt
/// signal. The chart's own handler slots keep working: a host may assign
/// chart()->OnZoomPan (or any of the others) before or after connecting, and
/// gets both its handler and the signal - the widget chains its own handler
/// with whatever the slot holds before each call into the chart. (A host that
/// copies the slot's value into its own wrapper sees the signal twice.)
/// A handler must not delete the widget directly; use deleteLater(). The
/// chart stays the widget's: do not give it a parent control or a form.
///
/// Sharpness: at device pixel ratio 1 the widget shows exactly the pixels of
/// the headless rendering (SaveChartToPng of the same chart). At any other
/// ratio (2, or 1.25, 1.5, 1.75) the chart draws natively at the device's
/// resolution; chart()->SetAntialiased(true) smooths it at every ratio.
///
/// Text needs a Qt GUI application: create the QApplication before the widget.
#pragma once

#include "chart/ZKW_vexa.h"
#include "widgets/surface_widget.h"

namespace zkw {

class VexaWidget : public SurfaceWidget {
  Q_OBJECT

 public:
  /// Creates the widget with its own chart, window created and sized to the size hint.
  explicit VexaWidget(QWidget* Parent = nullptr);
  ~VexaWidget() override;

  /// The chart; owned by the widget, lives as long as it.
  TVexa* chart() const;

 signals:
  /// The pointer moved over the chart: whether it lies in the plot area and
  /// its position in world coordinates of the chart's current layer.
  void mouseMoveInChart(bool inChart, double x, double y);
  /// The mouse panned or zoomed the chart's ranges.
  void zoomPan();
  /// A rubber line / selection rectangle was finished on layer; corners in
  /// world coordinates of that layer.
  ///@{
  void rubberBand(int layer, double loX, double loY, double hiX, double hiY);
  void selectRect(int layer, double loX, double loY, double hiX, double hiY);
  ///@}
  /// Crosshair index (1..4) / text label index (1..50) was dragged.
  ///@{
  void crossHairMoved(int index);
  void textLabelMoved(int index);
  ///@}

 protected:
  /// Chains the widget's handlers for the signals into the chart's event slots.
  void chainEvents() override;
  /// The chart's margins and shadow plus a small plot area.
  QSize minimumControlSize() const override;

 private:
  TMouseMoveInChartEvent FOwnMove;
  TZoomPanEvent FOwnZoomPan;
  TSelectRectEvent FOwnRubberBand;
  TSelectRectEvent FOwnSelectRect;
  TCrossHairMoveEvent FOwnCrossHair;
  TTextLabelMoveEvent FOwnTextLabel;
};

}  // namespace zkw
