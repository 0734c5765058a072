// Pointer shapes of the chart's mouse actions: the numbers under which every
// chart registers the program's four cursor resources when it is built.
#pragma once

#include "platform/screen.h"

namespace zkw {

constexpr TCursor crPanHand = 1;        // "CURHAND": the pan modes
constexpr TCursor crZoomWindow = 2;     // "CURZOOMW": zoom window
constexpr TCursor crZoomDrag = 3;       // "CURZOOMD": zoom by dragging
constexpr TCursor crZoomWindowPos = 4;  // "CURZOOMP": zoom window keeping directions

}  // namespace zkw
