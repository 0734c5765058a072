// Unit ZKW_Scale: the axis-scale engine and the scale control.
//  - tick_engine.h: the value-to-pixel map and the tick walks (pure);
//  - tick_labels.h: the label texts of the ticks (pure);
#pragma once

#include "scale/tick_engine.h"
#include "scale/tick_labels.h"
