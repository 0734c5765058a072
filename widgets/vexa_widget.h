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
/// Qt style: face() speaks Qt types (QColor, QString, QPointF, QDateTime,
/// named mark symbols, refused ranges reported) and keeps the opt-in hover
/// highlight and tooltip; the properties below are Q_PROPERTYs with change
/// signals, which also follow every pan, zoom, wheel step or key the chart
/// handles. A change made through chart() directly is reported at the next
/// input or syncProperties().
///
/// Text needs a Qt GUI application: create the QApplication before the widget.
#pragma once

#include "chart/ZKW_vexa.h"
#include "widgets/chart_signals.h"
#include "widgets/qt_face.h"
#include "widgets/surface_widget.h"

namespace zkw {

class VexaWidget : public SurfaceWidget {
  Q_OBJECT
  /// The mouse action by name ("maPan"); an unknown name is ignored with a warning.
  Q_PROPERTY(QString mouseAction READ mouseAction WRITE setMouseAction NOTIFY mouseActionChanged)
  /// Whether the wheel zooms.
  Q_PROPERTY(bool wheelZoom READ wheelZoom WRITE setWheelZoom NOTIFY wheelZoomChanged)
  /// Smooth drawing at every device ratio and in every picture (the chart's Antialiased).
  Q_PROPERTY(bool antialiased READ antialiased WRITE setAntialiased NOTIFY antialiasedChanged)
  /// The chart's caption.
  Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY captionChanged)
  /// The captions of layer 1's x and y scales.
  Q_PROPERTY(QString xCaption READ xCaption WRITE setXCaption NOTIFY xCaptionChanged)
  Q_PROPERTY(QString yCaption READ yCaption WRITE setYCaption NOTIFY yCaptionChanged)  ///< see xCaption
  /// The colour of the plot area.
  Q_PROPERTY(QColor chartColor READ chartColor WRITE setChartColor NOTIFY chartColorChanged)
  /// The colour of new data items.
  Q_PROPERTY(QColor dataColor READ dataColor WRITE setDataColor NOTIFY dataColorChanged)
  /// The ends of layer 1's ranges; a refused end is ignored with a warning.
  Q_PROPERTY(double xLow READ xLow WRITE setXLow NOTIFY xLowChanged)
  Q_PROPERTY(double xHigh READ xHigh WRITE setXHigh NOTIFY xHighChanged)  ///< see xLow
  Q_PROPERTY(double yLow READ yLow WRITE setYLow NOTIFY yLowChanged)      ///< see xLow
  Q_PROPERTY(double yHigh READ yHigh WRITE setYHigh NOTIFY yHighChanged)  ///< see xLow

 public:
  /// Creates the widget with its own chart, window created and sized to the size hint.
  explicit VexaWidget(QWidget* Parent = nullptr);
  ~VexaWidget() override;

  /// The chart; owned by the widget, lives as long as it.
  TVexa* chart() const;
  /// The chart of Object when it is a VexaWidget (a sender(), a child found
  /// by name), otherwise nullptr.
  static TVexa* chartOf(QObject* Object);
  /// The chart in Qt's conventions (see ChartFace).
  ChartFace& face() { return FFace; }

  /// Property accessors (see the Q_PROPERTYs).
  ///@{
  QString mouseAction() const { return FFace.mouseAction(); }
  void setMouseAction(const QString& Name);
  bool wheelZoom() const { return FFace.wheelZoom(); }
  void setWheelZoom(bool On);
  bool antialiased() const { return FFace.antialiased(); }
  void setAntialiased(bool On);
  QString caption() const { return FFace.caption(); }
  void setCaption(const QString& Caption);
  QString xCaption() const { return FFace.xCaption(); }
  void setXCaption(const QString& Caption);
  QString yCaption() const { return FFace.yCaption(); }
  void setYCaption(const QString& Caption);
  QColor chartColor() const { return FFace.chartColor(); }
  void setChartColor(const QColor& Color);
  QColor dataColor() const { return FFace.dataColor(); }
  void setDataColor(const QColor& Color);
  double xLow() const { return FFace.rangeEnd(ChartAxis::X, false); }
  void setXLow(double Value);
  double xHigh() const { return FFace.rangeEnd(ChartAxis::X, true); }
  void setXHigh(double Value);
  double yLow() const { return FFace.rangeEnd(ChartAxis::Y, false); }
  void setYLow(double Value);
  double yHigh() const { return FFace.rangeEnd(ChartAxis::Y, true); }
  void setYHigh(double Value);
  ///@}
  /// Emits the change signals of the properties that changed since the
  /// last report (after changes made through chart()).
  void syncProperties();

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
  /// Change signals of the properties.
  ///@{
  void mouseActionChanged();
  void wheelZoomChanged();
  void antialiasedChanged();
  void captionChanged();
  void xCaptionChanged();
  void yCaptionChanged();
  void chartColorChanged();
  void dataColorChanged();
  void xLowChanged();
  void xHighChanged();
  void yLowChanged();
  void yHighChanged();
  ///@}

 protected:
  /// Chains the widget's handlers for the signals into the chart's event slots.
  void chainEvents() override;
  /// The chart's margins and shadow plus a small plot area.
  QSize minimumControlSize() const override;
  /// Reports the properties the input changed.
  void inputHandled() override;
  /// The chart's surface, then the hover highlight over it.
  void paintEvent(QPaintEvent* Event) override;
  /// The chart's handling, then the hover highlight and tooltip follow the pointer.
  void mouseMoveEvent(QMouseEvent* Event) override;
  /// The chart's handling; the highlight and tooltip go.
  void leaveEvent(QEvent* Event) override;

 private:
  void setRangeEnd(ChartAxis Axis, bool High, double Value);
  ChartFace FFace;
  TChartSignalHandlers<VexaWidget> FSignals;
};

}  // namespace zkw
