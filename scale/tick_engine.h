// Tick placement of an axis scale, as pure functions that need no window:
// the value-to-pixel map, the round-numbered tick distance of numeric scales
// and the five walks (linear, logarithmic decades, time of day in seconds and
// calendar date/time). A walk returns its ticks in production order; the
// painter draws them in that order so that the events of one paint fire in
// the order the ticks are produced.
//
// Every walk ends. A walk with a fixed one-unit distance (linear, MinTicks 0)
// over a huge range has more ticks than its axis has pixels; ticks that fall
// on one pixel draw the same tick line, so the linear and time walks thin
// them: a pass produces at most MaxTicksPerPixel ticks at one pixel, the
// first ones and the last one, and skips the rest. Every pixel the
// plain walk would draw a tick at still gets one, the first MaxStoredTicks
// stored ticks are never skipped, and the cost is bounded by the pixels of
// the axis, not by the range. The other walks produce a number of ticks that
// grows with MinTicks only; MaxWalkSteps guards them against settings no
// scale accepts.
#pragma once

#include <cstdint>
#include <vector>

#include "base/enums.h"
#include "platform/core.h"
#include "scale/axis_map.h"

namespace zkw {

// Ticks one pass produces at most at one pixel, the last of them being the
// pixel's last tick; the others there are skipped (see above).
constexpr int MaxTicksPerPixel = 4;
// Runaway guard of the decade and date/time walks, far above what any
// accepted MinTicks produces.
constexpr int MaxWalkSteps = 100000;
// Coordinates along the scale are clamped to +-TickDrawLimit before drawing:
// a tick that far out is invisible on any canvas.
constexpr int TickDrawLimit = 30000;
// Without the scale's map, a walk tells ticks apart as on an axis of this
// many pixels.
constexpr int DefaultWalkPixels = 1024;
// Capacity of the stored tick list (TickPositions / NumTicks / GetTickPos).
constexpr int MaxStoredTicks = 250;
// The accepted date/time range: day values from 1 January of year 1 up to
// this bound; ticks after 31 December 9999 are never produced.
constexpr double MaxDateTimeRange = 3000000.0;

// What a produced tick is. Long ticks carry labels; logarithmic intermediate
// ticks (3, 4, 6, ...) carry none and are drawn long on vertical and short on
// horizontal scales.
enum TTickKind : std::uint8_t { tkShort, tkLong, tkIntermediate };

// The walk that placed the ticks of a scale.
enum TTickWalk : std::uint8_t { twNone, twLinear, twLogarithmic, twTime, twDateTime };

// Level of a date/time walk (chooses the step row and the label pattern).
enum TDateTimeLevel : std::uint8_t {
  dlHundredths,
  dlSeconds,
  dlMinutes,
  dlHours,
  dlDays,
  dlMonths,
  dlYears
};

// The two texts a date/time scale draws instead of ticks.
enum TScaleMessage : std::uint8_t { smNone, smInvalidDateTime, smDateTimeBelowSecond };

struct TTick {
  Extended Value = 0;    // axis value (stored values are its double)
  TTickKind Kind = tkLong;
  bool Stored = true;    // appended to the tick list (while it has room)
  int LabelNumber = 0;   // labelled ticks counted from 1 (user texts); 0 otherwise
  std::uint8_t Digit = 0;  // decade walk: leading digit 1..9 of the value
};

struct TScaleMap;

// The settings a walk reads.
struct TTickParams {
  double RangeLow = 0;
  double RangeHigh = 100;
  bool Logarithmic = false;
  int MinTicks = 3;
  bool ShortTicks = true;
  TFigType LabelType = ftNum;
  bool Vertical = false;  // sctYL / sctYR
  // The map the ticks will be drawn with (TickPixel); nullptr: the range
  // spread over DefaultWalkPixels pixels. Borrowed for the walk only.
  const TScaleMap* Pixels = nullptr;
};

struct TTickWalkResult {
  TTickWalk Walk = twNone;
  TScaleMessage Message = smNone;
  int TimeIndex = 0;            // time walk: row 1..28 of the step table
  bool TimeWithMillis = false;  // time walk: labels with milliseconds
  TDateTimeLevel Level = dlYears;  // date/time walk
  std::vector<TTick> Ticks;     // in production order
};

// --- The value-to-pixel map (the scale's use of TAxisMap) ----------------------

// Extent and margins of a scale, in pixels.
struct TScaleGeometry {
  int Width = 400;
  int Height = 400;
  int MarginLeft = 20;
  int MarginRight = 20;
  int MarginTop = 20;
  int MarginBottom = 20;
  bool Vertical = false;
};

// Recomputes ScaleFactor (pixels per axis unit, per unit of ln for a
// logarithmic axis) and ScaleOffset (pixel of value 0, of ln 0). Returns false
// and leaves both untouched for equal range ends, or for a logarithmic axis
// with an end not above 0. A span of no pixels gives factor 0 and the middle
// of the extent as offset.
bool CalcScaleFactors(const TScaleGeometry& Geometry, double RangeLow, double RangeHigh,
                      bool Logarithmic, double& ScaleFactor, double& ScaleOffset);

// The state ValueToPixel reads: the scale's factors (doubles, as the scale
// publishes them) and what decides its axis map's log floor.
struct TScaleMap {
  double ScaleFactor = 0;
  double ScaleOffset = 0;
  bool Logarithmic = false;
  double RangeLow = 0;
  double RangeHigh = 100;
  int Width = 400;
  // The axis map: on a logarithmic axis values not above 1e-100 go to 0
  // (RangeHigh >= RangeLow) or to Width, whatever the orientation.
  TAxisMap AxisMap() const {
    return TAxisMap::Make(ScaleFactor, ScaleOffset, Logarithmic, RangeHigh >= RangeLow ? 0.0 : Width);
  }
  // Pixel along the scale of axis value V, clamped to +-2147483647 and
  // rounded halves to even from the extended value (PixelOfExtended).
  int ValueToPixel(double V) const;
};

// The coordinate along the scale at which a tick of value V is drawn:
// ValueToPixel of its double, clamped to +-TickDrawLimit.
int TickPixel(const TScaleMap& Map, Extended V);
int TickPixel(const TAxisMap& Map, Extended V);

// --- Tick distance and walks --------------------------------------------------

// The tick distance of a linear numeric scale: 1, 2 or 5 times a power of ten,
// the largest not above |High - Low| / MinTicks (the borders moved up by
// 1e-10, so a quotient of exactly 2 x 10^n gives 1 x 10^n), signed like
// High - Low; MinTicks 0 means a distance of one unit. FirstTick is the first
// multiple of the distance at or beyond Low (tolerance 0.001 distance).
// Equal or non-finite ends give distance 0.
void CalcTickDistance(int MinTicks, Extended High, Extended Low, Extended& FirstTick,
                      Extended& TickDistance, std::uint16_t& SubDivisions);

// The linear numeric walk: short ticks (when ShortTicks) from one distance
// before FirstTick, then the long ticks, each pass thinned per pixel. A
// distance of 0 produces nothing.
void WalkLinearTicks(const TTickParams& Params, std::vector<TTick>& Ticks);

// The decade walk of a logarithmic scale. Returns false (and produces
// nothing) when it does not apply: less than one decade, or a range end not
// above 0; the caller then runs the linear walk.
bool WalkLogTicks(const TTickParams& Params, std::vector<TTick>& Ticks);

// Row of the time step table (seconds per long tick and sub-steps).
struct TTimeStep {
  double Step;
  int SubSteps;
};
constexpr int TimeStepCount = 28;
const TTimeStep& TimeStepRow(int Index);  // Index 1..28

// Time step table row for an interval of Q seconds: the largest row whose step
// is not above Q, 0 when Q is below 1 ms.
int TimeStepIndex(Extended Q);

// The time walk (axis values in seconds). Returns false when it declines (a
// tick interval below 1 ms or of a day and more); Index gets the table row.
bool WalkTimeTicks(const TTickParams& Params, std::vector<TTick>& Ticks, int& Index);

// The level a date/time walk chooses for Q days per interval, by orientation;
// false when Q is below the finest level (the range message).
bool DateTimeLevelFor(Extended Q, bool Vertical, TDateTimeLevel& Level);

// The calendar date/time walk. Returns smInvalidDateTime for a reversed range
// or one outside day -693593 .. 3000000, smDateTimeBelowSecond for intervals
// below the finest level; both produce no ticks.
TScaleMessage WalkDateTimeTicks(const TTickParams& Params, std::vector<TTick>& Ticks,
                                TDateTimeLevel& Level);

// Chooses and runs the walk of a scale: date/time for ftDateTime; the time
// walk for ftTime (the numeric walk when it declines); otherwise the decade
// walk on logarithmic scales (linear when it does not apply) or the linear walk.
TTickWalkResult WalkTicks(const TTickParams& Params);

// The tick list of a paint: the stored ticks' values in production order, at
// most MaxStoredTicks of them.
std::vector<double> StoredTickPositions(const std::vector<TTick>& Ticks);

}  // namespace zkw
