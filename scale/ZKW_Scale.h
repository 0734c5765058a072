// Unit ZKW_Scale: the axis-scale engine and the scale control.
//  - tick_engine.h: the value-to-pixel map and the tick walks (pure);
//  - tick_labels.h: the label texts of the ticks (pure);
//  - scale_painter.h: drawing ticks, labels, date lines, messages and the
//    caption on a canvas, and the scale's event types;
//  - range_math.h: the range arithmetic of pans, zooms and scale drags (pure);
//  - scale_control.h: the control TScale.
#pragma once

#include "scale/scale_control.h"
#include "scale/range_math.h"
#include "scale/scale_painter.h"
#include "scale/tick_engine.h"
#include "scale/tick_labels.h"
