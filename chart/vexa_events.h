/// @file
/// The signatures of the chart's own events (the ones TCustomControl does not
/// already have), as TCustomVexa's `On...` members hold them.
#pragma once

#include <functional>
#include <string>

#include "base/ZKW_zkwbase.h"
#include "chart/chart_item.h"
#include "platform/controls.h"
#include "platform/graphics.h"

namespace zkw {

/// OnMouseMoveInChart: whether the pointer lies in the plot area and its
/// position in world coordinates of the current layer.
using TMouseMoveInChartEvent =
    std::function<void(TObject* Sender, bool InChart, TShiftState Shift, double rMousePosX, double rMousePosY)>;
/// OnBeforeRenderData, OnDataRendered, OnScalesRendered: the canvas being
/// painted and the plot's top-left corner on it.
using TRenderEvent = std::function<void(TObject* Sender, TCanvas& Canvas, int Top, int Left)>;
/// OnBeforeRenderText: the text of item Index of the data or annotation store,
/// which the handler may change before it is drawn.
using TBeforeRenderTextEvent = std::function<void(TObject* Sender, std::string& Text, int Index, bool IsAnnotation)>;
/// OnBeforeRenderChartItem: a copy of item Index that the handler may change
/// before it is drawn (the store keeps its own).
using TBeforeRenderCItemEvent =
    std::function<void(TObject* Sender, TvxChartItem& ChartItem, int Index, bool IsAnnotation)>;
/// OnBeforeCrossHairMove: a crosshair is about to be dragged by (dx, dy) pixels;
/// clearing AllowMove keeps it where it is.
using TBeforeCrossHMoveEvent =
    std::function<void(TObject* Sender, TCrossHair& WhichCrossHair, int dx, int dy, bool& AllowMove)>;
/// OnCrossHairMove: the crosshair that was dragged.
using TCrossHairMoveEvent = std::function<void(TObject* Sender, TCrossHair& WhichCrossHair)>;
/// OnTextLabelMove: the text label that was dragged.
using TTextLabelMoveEvent = std::function<void(TObject* Sender, TTextLabel& WhichTextLabel)>;

}  // namespace zkw
