// Qt input to a control's message entry points, shared by the framework's
// peers and by the Qt widgets that host a control themselves: positions
// become signed 16-bit client pixels, buttons and modifiers the shift state,
// and a Qt double click becomes the double-click message (DblClick, then a
// press carrying ssDouble) in place of the second press.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/controls.h"

class QKeyEvent;
class QMouseEvent;
class QPainter;
class QSinglePointEvent;
class QWheelEvent;

namespace zkw {

// A client coordinate as the entry points take it: floored and clamped into
// -32768..32767; NaN becomes 0.
std::int16_t ClientCoord(double V);

// Each forwards one event; false when it carries nothing for the control
// (a button other than left, right or middle). A move may also be a hover
// event (a Qt Quick item sees moves without a button as hovers).
bool SendMouseMove(TControl& Control, const QSinglePointEvent& Event);
bool SendMousePress(TControl& Control, const QMouseEvent& Event);
bool SendMouseRelease(TControl& Control, const QMouseEvent& Event);
bool SendMouseDoubleClick(TControl& Control, const QMouseEvent& Event);
void SendWheel(TControl& Control, const QWheelEvent& Event);
// Key down, then the character for a one-character Latin-1 text unless
// StillThere says the control went in between.
void SendKeyPress(TControl& Control, const QKeyEvent& Event, const std::function<bool()>& StillThere);
void SendKeyRelease(TControl& Control, const QKeyEvent& Event);

// Gives Control the device pixel ratio of the view that shows it as its
// device scale, so that it draws natively at the device's resolution (a new
// ratio - the first paint, or the window moved to another screen - asks for a
// full paint at it). Ratios that are not finite or not in (0, 64] are ignored.
void FollowDeviceRatio(TCustomControl& Control, double Ratio);
// Runs the control's pending paint, then draws its window surface with its
// top-left corner at the painter's origin, one surface pixel per device pixel.
void PaintSurface(QPainter& Painter, TCustomControl& Control);

}  // namespace zkw
