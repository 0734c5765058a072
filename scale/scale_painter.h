// Drawing of a scale on a canvas: the base line, the ticks and labels of one
// walk in production order (with the events a host can hook in), the date
// lines, the two date/time messages and the caption. The control decides the
// target canvas, the background bitmap and the frame; everything here draws
// on whatever canvas it is given.
//
// Integer rules: positions along the scale come from TScaleMap::ValueToPixel
// and are clamped to -30000..30000 before any pixel arithmetic (a tick that
// far out is invisible on any canvas, and the clamp keeps x + 8 from
// overflowing); a line excludes its end pixel, so a long horizontal-scale
// tick from y to y - 7 sets the seven pixels y .. y - 6.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/enums.h"
#include "platform/graphics.h"
#include "scale/tick_engine.h"
#include "scale/tick_labels.h"

namespace zkw {

// Events of the scale unit.
using TScaleTickDrawnEvent = std::function<void(TObject* Sender, TCanvas& Canvas, TScaleType ScaleType,
                                                double CurrentTickPos, int ChartX, int ChartY)>;
using TBeforeTickLabelEvent =
    std::function<void(TObject* Sender, TScaleType ScaleType, double CurrentTickPos, std::string& TickLabel)>;
using TScaleRenderedEvent = std::function<void(TObject* Sender, TCanvas& Canvas)>;

constexpr bool IsVerticalScale(TScaleType T) { return T == sctYL || T == sctYR; }

// Tick line lengths in pixels.
constexpr int ShortTickLength = 4;
constexpr int LongTickLengthHoriz = 7;
constexpr int LongTickLengthVert = 6;
// Gap between a tick's base point and its label.
constexpr int LabelGapHoriz = 7;
constexpr int LabelGapVert = 8;

// The texts drawn instead of ticks.
inline constexpr const char* InvalidDateTimeText = "invalid DateTime scale";
inline constexpr const char* DateTimeBelowSecondText = "DateTime range is below 1 second";

// Everything one drawing of a scale reads. Built by the control for each
// paint; the events are borrowed, not copied.
struct TScaleDrawing {
  TObject* Sender = nullptr;
  TScaleType ScaleType = sctXB;
  int Width = 400;
  int Height = 400;
  int MarginLeft = 20;
  int MarginRight = 20;
  int MarginTop = 20;
  int MarginBottom = 20;
  TScaleMap Map;
  TTickParams Ticks;
  TTickLabelSettings Labels;
  std::string Caption;
  int CaptionPosX = 4;
  int CaptionPosY = 4;
  TAlignment CaptionAlignment = taCenter;
  TScaleUnitAnchor CaptionAnchor = uaSclTopLft;
  const TScaleTickDrawnEvent* OnScaleTickDrawn = nullptr;
  const TBeforeTickLabelEvent* OnBeforeTickLabel = nullptr;
  // Label texts of the previous paints (optional); shared so that a handler
  // destroying the scale mid-paint leaves it alive until the paint ends.
  std::shared_ptr<TTickLabelCache> LabelCache;
};

// The coordinate of the base line across the scale (y of a horizontal, x of
// a vertical scale), shifted by the host offset (OffsetY for horizontal,
// OffsetX for vertical scales).
int ScaleBaseCoordinate(const TScaleDrawing& D, int OffsetX, int OffsetY);

// Left edge of a label of width W centred on X on a horizontal scale of the
// given width, kept 2 pixels inside both ends.
int HorizontalLabelLeft(int X, int W, int Width);

// The base line along the scale at Base, in the current pen.
void DrawScaleBaseLine(TCanvas& Canvas, const TScaleDrawing& D, int Base);

// The walk of the drawing's settings (orientation from its scale type).
TTickWalkResult WalkScale(const TScaleDrawing& D);

// Draws the walk's ticks, labels and date lines in production order (or its
// date/time message instead); raises OnBeforeTickLabel before each text is
// measured and drawn and OnScaleTickDrawn once per tick line.
void DrawScaleTicks(TCanvas& Canvas, const TScaleDrawing& D, int Base, const TTickWalkResult& Walk);

// The caption at its anchor, position and alignment.
void DrawScaleCaption(TCanvas& Canvas, const TScaleDrawing& D, int Base);

}  // namespace zkw
