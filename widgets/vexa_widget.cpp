#include "widgets/vexa_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include "widgets/embedded_control.h"
#include "widgets/chart_signals.h"

namespace zkw {

VexaWidget::VexaWidget(QWidget* Parent)
    : SurfaceWidget(std::make_unique<TEmbedded<TVexa>>(), Parent),
      FFace(static_cast<TVexa&>(control())),
      FSignals(this) {
  static_cast<TEmbedded<TVexa>&>(control()).Embed(*this);
  chainEvents();
  resize(sizeHint());
  control().SetBounds(0, 0, width(), height());
}

VexaWidget::~VexaWidget() = default;

TVexa* VexaWidget::chart() const { return static_cast<TVexa*>(&control()); }

TVexa* VexaWidget::chartOf(QObject* Object) {
  auto* W = qobject_cast<VexaWidget*>(Object);
  return W ? W->chart() : nullptr;
}

void VexaWidget::chainEvents() { FSignals.chain(*chart()); }

QSize VexaWidget::minimumControlSize() const {
  const TVexa& C = *chart();
  // The margins and a small plot area.
  return {C.MarginLeft() + C.MarginRight() + C.ShadowWidth() + 16,
          C.MarginTop() + C.MarginBottom() + C.ShadowWidth() + 16};
}

void VexaWidget::syncProperties() { EmitPropertyChanges(this, FFace.takeChanges()); }

void VexaWidget::inputHandled() { syncProperties(); }

void VexaWidget::setMouseAction(const QString& Name) {
  if (!FFace.setMouseAction(Name)) qWarning("VexaWidget: %s", qPrintable(FFace.lastError()));
  syncProperties();
}

void VexaWidget::setWheelZoom(bool On) {
  FFace.setWheelZoom(On);
  syncProperties();
}

void VexaWidget::setAntialiased(bool On) {
  FFace.setAntialiased(On);
  syncProperties();
}

void VexaWidget::setCaption(const QString& Caption) {
  FFace.setCaption(Caption);
  syncProperties();
}

void VexaWidget::setXCaption(const QString& Caption) {
  FFace.setXCaption(Caption);
  syncProperties();
}

void VexaWidget::setYCaption(const QString& Caption) {
  FFace.setYCaption(Caption);
  syncProperties();
}

void VexaWidget::setChartColor(const QColor& Color) {
  FFace.setChartColor(Color);
  syncProperties();
}

void VexaWidget::setDataColor(const QColor& Color) {
  FFace.setDataColor(Color);
  syncProperties();
}

void VexaWidget::setRangeEnd(ChartAxis Axis, bool High, double Value) {
  if (!FFace.setRangeEnd(Axis, High, Value)) qWarning("VexaWidget: %s", qPrintable(FFace.lastError()));
  syncProperties();
}

void VexaWidget::setXLow(double Value) { setRangeEnd(ChartAxis::X, false, Value); }
void VexaWidget::setXHigh(double Value) { setRangeEnd(ChartAxis::X, true, Value); }
void VexaWidget::setYLow(double Value) { setRangeEnd(ChartAxis::Y, false, Value); }
void VexaWidget::setYHigh(double Value) { setRangeEnd(ChartAxis::Y, true, Value); }

void VexaWidget::paintEvent(QPaintEvent* Event) {
  SurfaceWidget::paintEvent(Event);
  if (!FFace.hovered()) return;
  QPainter P(this);
  FFace.paintHighlight(P);
}

void VexaWidget::mouseMoveEvent(QMouseEvent* Event) {
  QPointer<VexaWidget> Self(this);
  SurfaceWidget::mouseMoveEvent(Event);
  if (!Self || !FFace.updateHover(Event->position())) return;
  update();
  if (FFace.toolTip()) {
    const QString Text = FFace.hoverText();
    if (Text.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(Event->globalPosition().toPoint(), Text, this);
  }
}

void VexaWidget::leaveEvent(QEvent* Event) {
  QPointer<VexaWidget> Self(this);
  SurfaceWidget::leaveEvent(Event);
  if (!Self || !FFace.clearHover()) return;
  update();
  if (FFace.toolTip()) QToolTip::hideText();
}

}  // namespace zkw
