// The grid over the plot background: lines or points at a fixed step, at
// logarithmic steps, or at the ticks of the layer's scales.
#include <algorithm>
#include <cmath>

#include "chart/render.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

const Extended Ln10 = std::log(static_cast<Extended>(10));

Extended Log10(Extended X) { return std::log(X) / Ln10; }
Extended Pow10(Extended X) { return std::exp(X * Ln10); }

// Decade exponent and rounded mantissa of a positive value; an exponent that
// lies within 1e-14 of an integer counts as that integer, so exact powers of
// ten are not taken for 9.99.. times the decade below.
void DecadeOf(Extended V, Extended& T, std::int64_t& Mantissa, bool Snap) {
  Extended E = Log10(V);
  if (Snap) {
    const Extended N = std::round(E);
    if (std::fabs(E - N) < 1e-14L) E = N;
  }
  T = std::floor(E);
  Mantissa = Round(Pow10(E - T));
}

}  // namespace

double FirstGridValue(const TGridAxis& Axis, double Low) {
  const Extended Step = Axis.Step;
  if (Step != 0) {
    if (!Axis.Logarithmic || Step > 0) return static_cast<double>(std::ceil(Low / Step) * Step);
    if (Step == -1) return static_cast<double>(Pow10(std::ceil(Log10(Low))));
    if (Step == -2 || Step == -3) {
      Extended T;
      std::int64_t V;
      DecadeOf(Low, T, V, false);
      if (Step == -3) return static_cast<double>(Pow10(T) * static_cast<Extended>(V));
      const int M = V <= 2 ? 2 : (V <= 5 ? 5 : 10);
      return static_cast<double>(Pow10(T) * M);
    }
    return Low;
  }
  if (Axis.Ticks.empty()) return std::min(Axis.ScaleLow, Axis.ScaleHigh);
  return Axis.Ticks.front();
}

double NextGridValue(const TGridAxis& Axis, int Index, double Current) {
  const Extended Step = Axis.Step;
  if (Step != 0) {
    if (!Axis.Logarithmic || Step > 0) return static_cast<double>(Current + std::fabs(Step));
    if (Step == -1) return static_cast<double>(static_cast<Extended>(Current) * 10);
    Extended T;
    std::int64_t V;
    DecadeOf(Current, T, V, true);
    if (Step == -2) {
      if (V == 1) return static_cast<double>(Pow10(T) * 2);
      if (V == 2) return static_cast<double>(Pow10(T) * 5);
      if (V == 5) return static_cast<double>(Pow10(T) * 10);
      // The 1-2-5 walk only meets mantissas 1, 2 and 5; any other value
      // (which its start rule cannot produce) moves on to the next decade,
      // so the walk still ends.
      return static_cast<double>(Pow10(T + 1));
    }
    return static_cast<double>(Pow10(T) * static_cast<Extended>(V + 1));
  }
  const int NumTicks = static_cast<int>(Axis.Ticks.size());
  if (Index > NumTicks || Index <= 0) return std::max(Axis.RangeLow, Axis.RangeHigh);
  return Axis.Ticks[static_cast<std::size_t>(Index - 1)];
}

void DrawGrid(TCanvas& Canvas, int Left, int Top, const TGridSettings& Grid, TDrawStateCache* Cache) {
  Canvas.Brush().SetColor(Grid.ChartColor);
  if (Cache) Cache->CachedBrushColor = Grid.ChartColor;
  const double XLo = std::min(Grid.X.RangeLow, Grid.X.RangeHigh), XHi = std::max(Grid.X.RangeLow, Grid.X.RangeHigh);
  const double YLo = std::min(Grid.Y.RangeLow, Grid.Y.RangeHigh), YHi = std::max(Grid.Y.RangeLow, Grid.Y.RangeHigh);
  const double XS = FirstGridValue(Grid.X, XLo);
  const double YS = FirstGridValue(Grid.Y, YLo);
  Canvas.Pen().SetColor(Grid.Color);

  const std::int64_t DX = std::int64_t{Left} - Grid.MarginLeft, DY = std::int64_t{Top} - Grid.MarginTop;
  // Grid positions are the layer's axis maps' pixels, as its items' are.
  const TAxisMap XMap = Grid.Transform.XMap(), YMap = Grid.Transform.YMap();
  auto PX = [&](double X) { return ClampRender(XMap.Pixel(X) + DX); };
  auto PY = [&](double Y) { return ClampRender(YMap.Pixel(Y) + DY); };
  // A walk also ends when a step makes no progress (a step too small for the
  // value's precision), so no walk can run forever.
  auto Walk = [](const TGridAxis& Axis, double Start, double Hi, auto&& Visit) {
    double V = Start;
    for (int K = 2; V < Hi; ++K) {
      if (!Visit(V)) return;
      const double Next = NextGridValue(Axis, K, V);
      if (!(Next > V)) return;
      V = Next;
    }
  };

  if (Grid.Style == gsPoints) {
    int Points = 0, Columns = 0;
    Walk(Grid.X, XS, XHi, [&](double X) {
      const int CX = PX(X);
      Walk(Grid.Y, YS, YHi, [&](double Y) {
        if (Points >= GridLimit) return false;
        Canvas.SetPixels(CX, PY(Y), Grid.Color);
        ++Points;
        return true;
      });
      return Points < GridLimit && ++Columns < GridLimit;
    });
    return;
  }

  const bool Dotted = Grid.Style == gsHorizDotLines || Grid.Style == gsVertDotLines || Grid.Style == gsDotLines;
  const bool Vertical = Grid.Style == gsVertLines || Grid.Style == gsVertDotLines || Grid.Style == gsLines ||
                        Grid.Style == gsDotLines;
  const bool Horizontal = Grid.Style == gsHorizLines || Grid.Style == gsHorizDotLines || Grid.Style == gsLines ||
                          Grid.Style == gsDotLines;
  if (!Vertical && !Horizontal) return;
  Canvas.Pen().SetStyle(Dotted ? psDot : psSolid);
  if (Vertical) {
    const int Y0 = PY(Grid.Y.RangeLow), Y1 = PY(Grid.Y.RangeHigh);
    int Lines = 0;
    Walk(Grid.X, XS, XHi, [&](double X) {
      const int CX = PX(X);
      Canvas.MoveTo(CX, Y0);
      Canvas.LineTo(CX, Y1);
      return ++Lines < GridLimit;
    });
  }
  if (Horizontal) {
    const int X0 = PX(Grid.X.RangeLow), X1 = PX(Grid.X.RangeHigh);
    int Lines = 0;
    Walk(Grid.Y, YS, YHi, [&](double Y) {
      const int CY = PY(Y);
      Canvas.MoveTo(X0, CY);
      Canvas.LineTo(X1, CY);
      return ++Lines < GridLimit;
    });
  }
  if (Dotted) Canvas.Pen().SetStyle(psSolid);
}

}  // namespace zkw
