// Unit ZKW_Scale: the axis-scale engine and the scale control.
//  - axis_map.h: the value-to-pixel map of an axis, linear or logarithmic,
//    that the scale and the chart's layers, items and grid share (pure);
//  - tick_engine.h: the scale's factors and the tick walks (pure);
//  - tick_labels.h: the label texts of the ticks (pure);
//  - scale_painter.h: drawing ticks, labels, date lines, messages and the
//    caption on a canvas, and the scale's event types;
//  - range_math.h: the range arithmetic of pans, zooms and scale drags (pure);
//  - scale_control.h: the control TScale.
#pragma once

#include "scale/axis_map.h"
#include "scale/scale_control.h"
#include "scale/range_math.h"
#include "scale/scale_painter.h"
#include "scale/tick_engine.h"
#include "scale/tick_labels.h"
