// Event types that both the chart and the scale control raise. The scale and
// chart units declare their own event types beside their classes.
#pragma once

#include <functional>

#include "platform/core.h"

namespace zkw {

// The ranges of the sender have been panned or zoomed by the mouse.
using TZoomPanEvent = std::function<void(TObject* Sender)>;

// A rubber line or selection rectangle was finished on Layer; the corners are
// world coordinates of that layer.
using TSelectRectEvent =
    std::function<void(TObject* Sender, int Layer, double LoX, double LoY, double HiX, double HiY)>;

}  // namespace zkw
