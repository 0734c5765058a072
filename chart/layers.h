// Layer arithmetic: the plot rectangle, the world-to-pixel transform of one
// layer, pan limits, the range history and the isometric rule. Everything
// here is pure and needs no window; the chart feeds it its margins, size and
// the ranges of its scale property objects.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/core.h"
#include "platform/rtl.h"
#include "scale/axis_map.h"
#include "scale/range_math.h"

namespace zkw {

constexpr int LayerCount = 16;

// Clamps a layer number into 1..16.
constexpr int ClampLayer(int Layer) { return Layer < 1 ? 1 : (Layer > LayerCount ? LayerCount : Layer); }

// Every coordinate the renderers draw is clamped into +-RenderClamp.
constexpr int RenderClamp = 30000;

// A sum of pixel terms (size, margins, shadow, scale offsets), worked out in
// 64 bits and clamped into the transforms' range +-2147483647: margins and
// scale offsets accept every 32-bit value, and their sums must not overflow.
constexpr int ClampPixelSum(std::int64_t V) {
  return V < -2147483647 ? -2147483647 : (V > 2147483647 ? 2147483647 : static_cast<int>(V));
}

// Control size, margins and shadow; the plot rectangle derives from them.
// The edges and extents are computed exactly in 64 bits; the int accessors
// clamp them into +-2147483647.
struct TPlotGeometry {
  int Width = 0;
  int Height = 0;
  int MarginLeft = 0;
  int MarginRight = 0;
  int MarginTop = 0;
  int MarginBottom = 0;
  int ShadowWidth = 0;

  bool operator==(const TPlotGeometry&) const = default;

  std::int64_t PlotRight64() const { return std::int64_t{Width} - MarginRight - ShadowWidth; }
  std::int64_t PlotBottom64() const { return std::int64_t{Height} - MarginBottom - ShadowWidth; }
  std::int64_t PlotWidth64() const { return PlotRight64() - MarginLeft; }
  std::int64_t PlotHeight64() const { return PlotBottom64() - MarginTop; }

  int PlotLeft() const { return MarginLeft; }
  int PlotRight() const { return ClampPixelSum(PlotRight64()); }
  int PlotTop() const { return MarginTop; }
  int PlotBottom() const { return ClampPixelSum(PlotBottom64()); }
  int PlotWidth() const { return ClampPixelSum(PlotWidth64()); }
  int PlotHeight() const { return ClampPixelSum(PlotHeight64()); }
  // Size of the off-screen image of the plot area: one pixel more than the
  // plot in each direction, never negative. The image is only ever shown on
  // the control with its corner at (MarginLeft, MarginTop), so it never
  // reaches more than one pixel past the control's far edge, and a plot
  // corner farther than RenderClamp pixels before the control's edge gets no
  // image at all (nothing drawn into it could reach the control). This keeps
  // negative margins of any size from asking for an image billions of pixels wide.
  int DataImageWidth() const { return DataImageSide(PlotWidth64(), Width, MarginLeft); }
  int DataImageHeight() const { return DataImageSide(PlotHeight64(), Height, MarginTop); }
  // Whether a control pixel lies in the plot area (all edges included).
  bool InPlot(int X, int Y) const {
    return X >= PlotLeft() && X <= PlotRight64() && Y >= PlotTop() && Y <= PlotBottom64();
  }

 private:
  static int DataImageSide(std::int64_t Plot, int Control, int Margin) {
    if (Margin < -RenderClamp) return 0;
    const std::int64_t Side = std::min(Plot + 1, std::int64_t{Control} - Margin + 1);
    return Side > 0 ? static_cast<int>(Side) : 0;
  }
};

// Factors of one layer: pixel = world * factor + offset (or ln(world) on a
// logarithmic axis). All zero until first computed.
struct TLayerFactors {
  Extended XFactor = 0;
  Extended XOffset = 0;
  Extended YFactor = 0;
  Extended YOffset = 0;
};

// Computes the x (or y) factor and offset of an axis for the geometry. Returns
// false, leaving Factor and Offset unchanged, when a logarithmic axis has an
// end that is not above 0. Range low maps to the left (bottom) plot edge and
// range high to the right (top) edge; a plot without width (height) maps
// every value to the control's middle.
bool ComputeXFactors(const TAxisRange& Axis, const TPlotGeometry& G, Extended& Factor, Extended& Offset);
bool ComputeYFactors(const TAxisRange& Axis, const TPlotGeometry& G, Extended& Factor, Extended& Offset);

// A layer's transform, taken once and then applied to many points (the
// search and the renderer hoist it out of their loops): the x and y axis
// maps of the layer. Their fields are kept flat under the names the search,
// the renderer and the tests read; XMap() and YMap() give the maps, and every
// computation goes through them.
struct TLayerTransform {
  Extended XFactor = 0;
  Extended XOffset = 0;
  Extended YFactor = 0;
  Extended YOffset = 0;
  bool XLog = false;
  bool YLog = false;
  // Where non-positive values of a logarithmic axis go: the side of the
  // control at the axis' low end (0 or W for x, H or 0 for y).
  double XLogFloor = 0;
  double YLogFloor = 0;
  // Double copies of the linear factors for QuickPixel, set by Make when the
  // axis is linear and its offset small enough; a transform built any other
  // way always takes the exact path.
  double XFactorD = 0;
  double XOffsetD = 0;
  double YFactorD = 0;
  double YOffsetD = 0;
  bool XQuick = false;
  bool YQuick = false;

  bool operator==(const TLayerTransform&) const = default;

  static TLayerTransform Make(const TLayerFactors& F, const TAxisRange& X, const TAxisRange& Y, int Width,
                              int Height) {
    return FromMaps(TAxisMap::Make(F.XFactor, F.XOffset, X.Logarithmic, X.High >= X.Low ? 0.0 : Width),
                    TAxisMap::Make(F.YFactor, F.YOffset, Y.Logarithmic, Y.High >= Y.Low ? Height : 0.0));
  }
  static TLayerTransform FromMaps(const TAxisMap& X, const TAxisMap& Y) {
    return {.XFactor = X.Factor,
            .XOffset = X.Offset,
            .YFactor = Y.Factor,
            .YOffset = Y.Offset,
            .XLog = X.Logarithmic,
            .YLog = Y.Logarithmic,
            .XLogFloor = X.LogFloor,
            .YLogFloor = Y.LogFloor,
            .XFactorD = X.FactorD,
            .XOffsetD = X.OffsetD,
            .YFactorD = Y.FactorD,
            .YOffsetD = Y.OffsetD,
            .XQuick = X.Quick,
            .YQuick = Y.Quick};
  }

  TAxisMap XMap() const { return {XFactor, XOffset, XLog, XLogFloor, XFactorD, XOffsetD, XQuick}; }
  TAxisMap YMap() const { return {YFactor, YOffset, YLog, YLogFloor, YFactorD, YOffsetD, YQuick}; }

  // The pixel value before rounding, held as a double.
  double RawX(double X) const { return XMap().Raw(X); }
  double RawY(double Y) const { return YMap().Raw(Y); }
  // Control pixels, clamped to +-2147483647 and rounded halves to even.
  // (The quick path reads the fields in place: building a map with its two
  // extended-precision values for every point costs the per-item loops.)
  int PixelX(double X) const {
    int P;
    if (XQuick && QuickPixel(X, XFactorD, XOffsetD, P)) return P;
    return XMap().Pixel(X);
  }
  int PixelY(double Y) const {
    int P;
    if (YQuick && QuickPixel(Y, YFactorD, YOffsetD, P)) return P;
    return YMap().Pixel(Y);
  }
  // The inverse; 0 when the axis has no extent (factor 0).
  double WorldX(int PX) const { return XMap().Value(PX); }
  double WorldY(int PY) const { return YMap().Value(PY); }
};

// Pan limits: all four zero means no limits.
struct TPanLimits {
  Extended XLow = 0;
  Extended YLow = 0;
  Extended XHigh = 0;
  Extended YHigh = 0;
  bool Active() const { return XLow != 0 || YLow != 0 || XHigh != 0 || YHigh != 0; }
};

// How a range change is applied (SetRange, SetLayerRange): PushHistory records
// it in the range history, ApplyPanLimits keeps a panned axis inside the pan
// limits. Named so that a call says which of the two it wants:
// SetRange(L, X, Y, {.ApplyPanLimits = true}).
struct TRangeChange {
  bool PushHistory = false;
  bool ApplyPanLimits = false;
};

// Pulls one axis range into [LimitLow, LimitHigh] by four tests in a fixed
// order. MoveWhole (the pan modes) shifts the whole range and keeps its
// width; otherwise only the offending end moves.
void ApplyPanLimit(Extended& Low, Extended& High, Extended LimitLow, Extended LimitHigh, bool MoveWhole);

// Stores a new axis range unless it is narrower than 0.99 * MinRange once
// rounded to doubles; on a logarithmic axis each end is only taken when it is
// at least 1e-100. An end that is not a finite double leaves the range as it
// is. Returns whether anything was stored.
bool StoreAxisRange(Extended NewLow, Extended NewHigh, bool Logarithmic, double MinRange, double& Low,
                    double& High);

// Range history: a ring of 16 snapshots; a snapshot holds, per layer, x low,
// y high, x high, y low.
using TLayerRangeEntry = std::array<double, 4>;
using TRangeSnapshot = std::array<TLayerRangeEntry, LayerCount>;

class TRangeHistory {
 public:
  static constexpr int Size = 16;
  // Writes Snapshot at the current position and advances it (16 wraps to 1).
  void Push(const TRangeSnapshot& Snapshot);
  // All snapshots zero, position 1.
  void Clear();
  // One step back, given the Current ranges: when they differ from the latest
  // entry, that entry; otherwise the latest earlier entry with other ranges,
  // forgetting (zeroing) the entries after it so that the next Push continues
  // from there and repeated steps never wrap round to newer entries. An
  // all-zero snapshot was never recorded. Returns false, changing nothing,
  // when there is no such entry.
  bool StepBack(const TRangeSnapshot& Current, TRangeSnapshot& Target);
  int Position() const { return FPosition; }
  void SetPosition(int Value) { FPosition = Value < 1 || Value > Size ? 1 : Value; }
  const TRangeSnapshot& Snapshot(int Index) const { return FSnapshots[static_cast<std::size_t>(ClampSlot(Index) - 1)]; }
  TRangeSnapshot& Snapshot(int Index) { return FSnapshots[static_cast<std::size_t>(ClampSlot(Index) - 1)]; }

 private:
  static int ClampSlot(int I) { return I < 1 ? 1 : (I > Size ? Size : I); }
  // The slot P steps from the latest one, wrapping round the ring.
  static int Slot(int P) { return ((P - 1) % Size + Size) % Size + 1; }
  static bool Recorded(const TRangeSnapshot& S);
  std::array<TRangeSnapshot, Size> FSnapshots{};
  int FPosition = 1;
};

// The isometric y range of a layer: centred on the old y range, high - low =
// xr * (PH + 1) / (PW + 1) * PixelHeight / PixelWidth, xr the x range's width.
void IsometricYRange(double XLow, double XHigh, double YLow, double YHigh, std::int64_t PlotWidth,
                     std::int64_t PlotHeight, int PixelWidth, int PixelHeight, double& NewLow, double& NewHigh);

}  // namespace zkw
