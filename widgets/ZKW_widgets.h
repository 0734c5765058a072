/// @file
/// The Qt widgets of the library: VexaWidget (the chart), ScaleWidget (the
/// stand-alone scale) and the TColor <-> QColor conversions.
#pragma once

#include "widgets/qt_color.h"
#include "widgets/scale_widget.h"
#include "widgets/vexa_widget.h"
