/// @file
/// The Qt Quick library: the chart as the QML item VexaItem (module
/// Zkw.Vexa 1.0) and the module's declaration of its QML types.
#pragma once

#include "quick/qml_types.h"
#include "quick/vexa_item.h"
