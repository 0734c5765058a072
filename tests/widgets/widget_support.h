// Helpers of the widget tests: a chart with fixed content, synthetic Qt
// input, picture comparison.
#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "chart/ZKW_vexa.h"

namespace zkw::testing {

// The same content on any chart: a few marks, a line and a text item, and
// ranges that give the scales several labels.
inline void FillChart(TCustomVexa& C) {
  C.Scale1X().SetRangeLow(0);
  C.Scale1X().SetRangeHigh(100);
  C.Scale1Y().SetRangeLow(-50);
  C.Scale1Y().SetRangeHigh(50);
  C.SetCaption("Widget chart");
  for (int I = 0; I <= 20; ++I) C.AddMark(I * 5.0, (I % 7) * 10.0 - 30.0, static_cast<std::uint8_t>(1 + I % 5));
  C.AddLine(0, -50, 100, 50);
  C.AddText(50, 20, "Peak", 10);
  C.Redraw();
}

inline void SendMove(QWidget* W, QPointF Pos, Qt::MouseButtons Buttons = Qt::NoButton) {
  QMouseEvent E(QEvent::MouseMove, Pos, W->mapToGlobal(Pos), Qt::NoButton, Buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(W, &E);
}

inline void Pump() {
  for (int I = 0; I < 5; ++I) QCoreApplication::processEvents();
}

inline QImage SurfaceImage(TCustomControl& C) {
  return C.WindowSurface().Image().convertToFormat(QImage::Format_RGB32);
}

}  // namespace zkw::testing
