// Unit ZKW_zkwcolors: grey level, contrast colour, the named colour table and
// the lookup of a colour by name. The named colour constants (clBlack ..
// clWhite, clBtnFace, clGrayText, clWindowText, ...) are those of the drawing
// surface, reachable through this header.
#pragma once

#include "base/colors.h"
#include "platform/graphics.h"
