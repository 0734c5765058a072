#include "platform/qt/qt_input.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "platform/qt/qt_backend.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

bool ButtonFromQt(Qt::MouseButton B, TMouseButton& Button) {
  switch (B) {
    case Qt::LeftButton: Button = mbLeft; return true;
    case Qt::RightButton: Button = mbRight; return true;
    case Qt::MiddleButton: Button = mbMiddle; return true;
    default: return false;
  }
}

template <typename F>
bool SendButton(TControl& Control, const QMouseEvent& E, F&& Entry) {
  TMouseButton B = mbLeft;
  if (!ButtonFromQt(E.button(), B)) return false;
  const TShiftState S = ShiftStateFromQt(E.modifiers(), E.buttons());
  Entry(Control, B, S, ClientCoord(E.position().x()), ClientCoord(E.position().y()));
  return true;
}

}  // namespace

std::int16_t ClientCoord(double V) {
  if (std::isnan(V)) return 0;
  return static_cast<std::int16_t>(ClampInt(Floor(V), -32768, 32767));
}

bool SendMouseMove(TControl& Control, const QSinglePointEvent& E) {
  const TShiftState S = ShiftStateFromQt(E.modifiers(), E.buttons());
  Control.WMMouseMove(S, ClientCoord(E.position().x()), ClientCoord(E.position().y()));
  return true;
}

bool SendMousePress(TControl& Control, const QMouseEvent& E) {
  return SendButton(Control, E, [](TControl& C, TMouseButton B, TShiftState S, std::int16_t X, std::int16_t Y) {
    C.WMButtonDown(B, S, X, Y);
  });
}

bool SendMouseRelease(TControl& Control, const QMouseEvent& E) {
  return SendButton(Control, E, [](TControl& C, TMouseButton B, TShiftState S, std::int16_t X, std::int16_t Y) {
    C.WMButtonUp(B, S, X, Y);
  });
}

bool SendMouseDoubleClick(TControl& Control, const QMouseEvent& E) {
  // Qt sends press, release, double click, release; the double click takes
  // the place of the second press.
  return SendButton(Control, E, [](TControl& C, TMouseButton B, TShiftState S, std::int16_t X, std::int16_t Y) {
    C.WMButtonDblClk(B, S, X, Y);
  });
}

void SendWheel(TControl& Control, const QWheelEvent& E) {
  const TShiftState S = ShiftStateFromQt(E.modifiers(), E.buttons());
  Control.WMMouseWheel(S, E.angleDelta().y(), ClientCoord(E.position().x()), ClientCoord(E.position().y()));
}

void SendKeyPress(TControl& Control, const QKeyEvent& E, const std::function<bool()>& StillThere) {
  const TShiftState S = ShiftStateFromQt(E.modifiers(), Qt::NoButton);
  const std::uint16_t Key = VirtualKeyFromQt(E.key());
  const QByteArray Text = E.text().toLatin1();
  if (Key) Control.WMKeyDown(Key, S);
  if (Text.size() == 1 && (!StillThere || StillThere())) Control.WMChar(Text[0]);
}

void SendKeyRelease(TControl& Control, const QKeyEvent& E) {
  const TShiftState S = ShiftStateFromQt(E.modifiers(), Qt::NoButton);
  const std::uint16_t Key = VirtualKeyFromQt(E.key());
  if (Key) Control.WMKeyUp(Key, S);
}

void FollowDeviceRatio(TCustomControl& Control, double Ratio) {
  if (std::isfinite(Ratio) && Ratio > 0 && Ratio <= 64 && Control.DrawMode().Scale != Ratio)
    Control.SetDeviceScale(Ratio);
}

void PaintSurface(QPainter& Painter, TCustomControl& Control) {
  if (Control.NeedsPaint()) Control.WMPaint();
  Painter.drawImage(0, 0, Control.WindowSurface().Image());
}

}  // namespace zkw
