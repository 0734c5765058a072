// Unit ZKW_zkwbase: the suite's shared vocabulary (enumerations and their name
// tables), event types, error classes, the value objects for date/time label
// formats, crosshairs and text labels, and the mark and frame drawing helpers.
#pragma once

#include "base/enums.h"
#include "base/errors.h"
#include "base/events.h"
#include "base/frames.h"
#include "base/marks.h"
#include "base/value_objects.h"
