#include "chart/render_items.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <numbers>

#include "base/ZKW_zkwbase.h"
#include "base/ZKW_zkwcolors.h"
#include "platform/devices.h"
#include "platform/rtl.h"
#include "platform/two_cores.h"

namespace zkw {

namespace {


// A pixel offset, rounded and held far inside the 64-bit range, so that
// adding it to a position cannot overflow whatever the item holds.
std::int64_t PixelOffset(double V) { return std::clamp<std::int64_t>(Round(V), -(std::int64_t{1} << 40), std::int64_t{1} << 40); }

// Whether V lies between the two ends of a range, in either order, ends included.
bool InRange(double V, const TAxisRange& R) {
  return R.Low <= R.High ? (V >= R.Low && V <= R.High) : (V >= R.High && V <= R.Low);
}

// Whether the interval [A, B] (A <= B) meets the range, in either order.
bool Overlaps(double A, double B, const TAxisRange& R) {
  const double Lo = std::min(R.Low, R.High), Hi = std::max(R.Low, R.High);
  return A <= Hi && B >= Lo;
}

// The fault SetPlaceAheadFault asks for: which thread, in which phase.
std::atomic<int> FaultPart{-1};
std::atomic<std::int64_t> FaultPhase{-1};

void InjectPlaceAheadFault(int Part, std::int64_t Phase) {
  if (FaultPart.load(std::memory_order_relaxed) == Part && FaultPhase.load(std::memory_order_relaxed) == Phase)
    throw EZKWVexaError("Injected fault in phase " + std::to_string(Phase) + " of thread " + std::to_string(Part));
}

}  // namespace

void TItemRenderer::SetPlaceAheadFault(int Part, std::int64_t Phase) {
  FaultPhase.store(Phase, std::memory_order_relaxed);
  FaultPart.store(Part, std::memory_order_relaxed);
}

std::vector<std::string> SplitTextLines(const std::string& Text) {
  std::vector<std::string> Lines;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t End = Text.find('\n', Start);
    if (End == std::string::npos) {
      Lines.push_back(Text.substr(Start));
      return Lines;
    }
    Lines.push_back(Text.substr(Start, End - Start));
    Start = End + 1;
  }
}

TTextMeasure MeasureText(const std::string& Text, TCanvas& Canvas) {
  TTextMeasure M;
  int Widest = 0;
  M.Lines = 0;
  for (const std::string& Line : SplitTextLines(Text)) {
    ++M.Lines;
    Widest = std::max(Widest, Canvas.TextWidth(Line));
  }
  M.LineHeight = Canvas.TextHeight(Text) + 1;
  M.BlockHeight = M.LineHeight * M.Lines;
  M.BlockWidth = Widest != 0 ? Widest : Canvas.TextWidth(Text);
  return M;
}

void ApplyPrinterFontRule(TFont& Font, int PointSize) {
  Font.SetPixelsPerInch(ScreenInfo().PixelsPerInch());
  Font.SetSize(PointSize);
  const int PixelHeight = Font.Height();
  Font.SetPixelsPerInch(Printer().YResolution());
  Font.SetHeight(PixelHeight);
}

namespace {
std::atomic<bool> RunsOn{true};
std::atomic<bool> KeptImageOn{true};
}  // namespace

void SetRenderShortcuts(bool Runs, bool KeptImage) {
  RunsOn.store(Runs, std::memory_order_relaxed);
  KeptImageOn.store(KeptImage, std::memory_order_relaxed);
}
bool RenderRunsEnabled() { return RunsOn.load(std::memory_order_relaxed); }
bool KeptImageEnabled() { return KeptImageOn.load(std::memory_order_relaxed); }

TItemRenderer::TItemRenderer(TCanvas& Canvas, const TItemRenderFrame& Frame) : FCanvas(Canvas), FFrame(Frame) {}

void TItemRenderer::ResetDuplicateMarks() {
  if (FFrame.AvoidDuplicateMarks) {
    const int D = std::clamp(FFrame.MinDupMarkDist, 1, 3);
    FDupCols = ClampPixelSum(std::int64_t{std::max(FFrame.Width, 0)} + 2 * D);
    FDupRows = ClampPixelSum(std::int64_t{std::max(FFrame.Height, 0)} + 2 * D);
    FDupGrid.assign(static_cast<std::size_t>(FDupCols) * static_cast<std::size_t>(FDupRows), -1);
  } else {
    FDupGrid.clear();
    FDupCols = FDupRows = 0;
  }
}

void TItemRenderer::BeginPass(int PenWidth, TColor Color) {
  FPolyCount = 0;
  FCache.Forget();
  SetPenWidth(PenWidth);
  FPenPosX = FFrame.Left;
  FPenPosY = FFrame.Top;
  FCanvas.MoveTo(FPenPosX, FPenPosY);
  SetPenColor(Color);
  SetPenStyle(psSolid);
  SetBrushColor(Color);
  SetFontColor(Color);
}

int TItemRenderer::DupCell(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FDupCols || Y >= FDupRows) return -1;
  return FDupGrid[static_cast<std::size_t>(Y) * static_cast<std::size_t>(FDupCols) + static_cast<std::size_t>(X)];
}

void TItemRenderer::SaveState(TItemRendererState& State) const {
  State.Cache = FCache;
  State.PenPos = {FPenPosX, FPenPosY};
  State.DupGrid = FDupGrid;
  State.DupCols = FDupCols;
  State.DupRows = FDupRows;
}

void TItemRenderer::RestoreState(const TItemRendererState& State) {
  FPolyCount = 0;
  FCache = State.Cache;
  FPenPosX = State.PenPos.X;
  FPenPosY = State.PenPos.Y;
  FDupGrid = State.DupGrid;
  FDupCols = State.DupCols;
  FDupRows = State.DupRows;
}

TPoint TItemRenderer::CurrentPoint() const {
  return FPolyCount > 0 ? FPolyPoints[static_cast<std::size_t>(FPolyCount - 1)] : TPoint{FPenPosX, FPenPosY};
}

// ---- coordinates -------------------------------------------------------------------

std::int64_t TItemRenderer::WorldXRaw(int Layer, double X) const {
  const TLayerTransform& T = FFrame.Transforms[static_cast<std::size_t>(ClampLayer(Layer) - 1)];
  return std::int64_t{T.PixelX(X)} + FFrame.Left - FFrame.MarginLeft;
}

std::int64_t TItemRenderer::WorldYRaw(int Layer, double Y) const {
  const TLayerTransform& T = FFrame.Transforms[static_cast<std::size_t>(ClampLayer(Layer) - 1)];
  return std::int64_t{T.PixelY(Y)} + FFrame.Top - FFrame.MarginTop;
}

TPoint TItemRenderer::World(int Layer, double X, double Y) const {
  return {ClampRender(WorldXRaw(Layer, X)), ClampRender(WorldYRaw(Layer, Y))};
}

TPoint TItemRenderer::Pixel(double X, double Y) const {
  return {ClampRender(Round(static_cast<Extended>(FFrame.Left) + X)),
          ClampRender(Round(static_cast<Extended>(FFrame.Top) + Y))};
}

// One-point kinds: modes 1 and 3 are pixels, 4 and 5 mix them; every other
// value (0, 2 and anything a kind does not list) is world.
TPoint TItemRenderer::OnePoint(const TvxChartItem& Item) const {
  switch (Item.CoordMode) {
    case cmPixel:
    case cmPixelWorld:
      return Pixel(Item.X, Item.Y);
    case cmPixelX:
      return {Pixel(Item.X, 0).X, ClampRender(WorldYRaw(Item.Layer, Item.Y))};
    case cmPixelY:
      return {ClampRender(WorldXRaw(Item.Layer, Item.X)), Pixel(0, Item.Y).Y};
    default:
      return World(Item.Layer, Item.X, Item.Y);
  }
}

// Two-point kinds. Modes 4 and 5 (listed for arrows only) put both x or both
// y values in pixels; a value a kind does not list falls back to world, so a
// handler that writes an odd mode still gets a defined drawing.
void TItemRenderer::TwoPoints(const TvxChartItem& Item, TPoint& P1, TPoint& P2) const {
  switch (Item.CoordMode) {
    case cmPixel:
      P1 = Pixel(Item.X, Item.Y);
      P2 = Pixel(Item.X2, Item.Y2);
      return;
    case cmWorldPixel:
      P1 = World(Item.Layer, Item.X, Item.Y);
      P2 = Pixel(Item.X2, Item.Y2);
      return;
    case cmPixelWorld:
      P1 = Pixel(Item.X, Item.Y);
      P2 = World(Item.Layer, Item.X2, Item.Y2);
      return;
    case cmPixelX:
      if (Item.Kind == ckArrow || Item.Kind == ckArrow2) {
        P1 = {Pixel(Item.X, 0).X, ClampRender(WorldYRaw(Item.Layer, Item.Y))};
        P2 = {Pixel(Item.X2, 0).X, ClampRender(WorldYRaw(Item.Layer, Item.Y2))};
        return;
      }
      break;
    case cmPixelY:
      if (Item.Kind == ckArrow || Item.Kind == ckArrow2) {
        P1 = {ClampRender(WorldXRaw(Item.Layer, Item.X)), Pixel(0, Item.Y).Y};
        P2 = {ClampRender(WorldXRaw(Item.Layer, Item.X2)), Pixel(0, Item.Y2).Y};
        return;
      }
      break;
    default:
      break;
  }
  P1 = World(Item.Layer, Item.X, Item.Y);
  P2 = World(Item.Layer, Item.X2, Item.Y2);
}

// ---- drawing state -------------------------------------------------------------------

void TItemRenderer::SetPenColor(TColor C) {
  if (FCacheEnabled && FCache.PenColorKnown && C == FCache.CachedPenColor) return;
  FCanvas.Pen().SetColor(C);
  FCache.CachedPenColor = C;
  FCache.PenColorKnown = true;
}

void TItemRenderer::SetPenStyle(TPenStyle S) {
  if (FCacheEnabled && FCache.PenStyleKnown && S == FCache.CachedPenStyle) return;
  FCanvas.Pen().SetStyle(S);
  FCache.CachedPenStyle = S;
  FCache.PenStyleKnown = true;
}

void TItemRenderer::SetBrushColor(TColor C) {
  if (FCacheEnabled && FCache.BrushColorKnown && C == FCache.CachedBrushColor) return;
  FCanvas.Brush().SetColor(C);
  FCache.CachedBrushColor = C;
  FCache.BrushColorKnown = true;
}

void TItemRenderer::SetFontColor(TColor C) {
  if (FCacheEnabled && FCache.FontColorKnown && C == FCache.CachedFontColor) return;
  FCanvas.Font().SetColor(C);
  FCache.CachedFontColor = C;
  FCache.FontColorKnown = true;
}

void TItemRenderer::SetPenWidth(int W) {
  if (FCacheEnabled && FCache.PenWidthKnown && W == FCache.CachedPenWidth) return;
  FCanvas.Pen().SetWidth(W);
  FCache.CachedPenWidth = W;
  FCache.PenWidthKnown = true;
}

bool TItemRenderer::LineStateDiffers(TColor C, TPenStyle S, TColor F) const {
  return !FCache.PenColorKnown || !FCache.PenStyleKnown || !FCache.BrushColorKnown || C != FCache.CachedPenColor ||
         S != FCache.CachedPenStyle || F != FCache.CachedBrushColor;
}

void TItemRenderer::SetLineState(TColor C, TPenStyle S, TColor F) {
  SetPenColor(C);
  SetPenStyle(S);
  SetBrushColor(F);
}

void TItemRenderer::Dot(TPoint P, TColor C) { FCanvas.SetPixels(P.X, P.Y, C); }

void TItemRenderer::Line(TPoint A, TPoint B) {
  FCanvas.MoveTo(A.X, A.Y);
  FCanvas.LineTo(B.X, B.Y);
}

void TItemRenderer::CornerInclusive(TPoint& P1, TPoint& P2) const {
  if (P2.X > P1.X) {
    ++P2.X;
  } else {
    ++P1.X;
  }
  if (P2.Y > P1.Y) {
    ++P2.Y;
  } else {
    ++P1.Y;
  }
}

// ---- polyline batch --------------------------------------------------------------------

void TItemRenderer::FlushPolyline() {
  if (FPolyCount <= 0) return;
  FCanvas.Polyline(FPolyPoints.data(), FPolyCount);
  ++FPolylineCalls;
  const TPoint Last = FPolyPoints[static_cast<std::size_t>(FPolyCount - 1)];
  FCanvas.MoveTo(Last.X, Last.Y);
  FPenPosX = Last.X;
  FPenPosY = Last.Y;
  FPolyCount = 0;
}

void TItemRenderer::AddPolylinePoint(int X, int Y) {
  if (FPolyCount == 0) FPolyPoints[FPolyCount++] = {FPenPosX, FPenPosY};
  FPolyPoints[static_cast<std::size_t>(FPolyCount++)] = {X, Y};
  if (FPolyCount >= PolyBatchSize) {
    FlushPolyline();
    FPolyPoints[0] = {X, Y};
    FPolyCount = 1;
  }
}

void TItemRenderer::AddPolylinePoints(const TPoint* Points, int Count) {
  for (int K = 0; K < Count;) {
    if (FPolyCount == 0) FPolyPoints[FPolyCount++] = {FPenPosX, FPenPosY};
    const int Take = std::min(Count - K, PolyBatchSize - FPolyCount);
    std::copy_n(Points + K, Take, FPolyPoints.begin() + FPolyCount);
    FPolyCount += Take;
    K += Take;
    if (FPolyCount >= PolyBatchSize) {
      FlushPolyline();
      FPolyPoints[0] = Points[K - 1];
      FPolyCount = 1;
    }
  }
}

// ---- the kinds -------------------------------------------------------------------------

void TItemRenderer::RenderItem(const TvxChartItem& Item, int Index, bool IsAnnotation,
                               const TLongTextArray& Texts) {
  if (!IsTextKind(Item.Kind)) {
    if (!FCache.PenWidthKnown || Item.LineWidth != FCache.CachedPenWidth) FlushPolyline();
    SetPenWidth(Item.LineWidth);
  }
  switch (Item.Kind) {
    case ckMark:
      DrawMarkItem(Item);
      break;
    case ckLine:
      DrawLineItem(Item);
      break;
    case ckDrawTo: {
      const TPoint P = OnePoint(Item);
      const TColor C = PenOf(Item);
      // A change of look ends the batch; SetLineState writes only what changed.
      if (LineStateDiffers(C, Item.PenStyle, Item.FillColor)) FlushPolyline();
      SetLineState(C, Item.PenStyle, Item.FillColor);
      AddPolylinePoint(P.X, P.Y);
      break;
    }
    case ckRect:
      DrawRectItem(Item);
      break;
    case ckRect3D:
      DrawRect3DItem(Item);
      break;
    case ckBar3D:
      DrawBar3DItem(Item);
      break;
    case ckText:
      DrawTextItem(Item, OnePoint(Item), Index, IsAnnotation, Texts);
      break;
    case ckTextOffs: {
      // The pixel offset is added in real arithmetic before rounding.
      const TPoint P{ClampRender(Round(static_cast<Extended>(WorldXRaw(Item.Layer, Item.X)) + Item.X2)),
                     ClampRender(Round(static_cast<Extended>(WorldYRaw(Item.Layer, Item.Y)) + Item.Y2))};
      DrawTextItem(Item, P, Index, IsAnnotation, Texts);
      break;
    }
    case ckMoveTo: {
      const TPoint P = OnePoint(Item);
      FlushPolyline();
      FPenPosX = P.X;
      FPenPosY = P.Y;
      FCanvas.MoveTo(P.X, P.Y);
      break;
    }
    case ckEllipse:
      DrawEllipseItem(Item);
      break;
    case ckMoveRel: {
      // Relative moves and draws start from the point a following ckDrawTo
      // would start from (the batch's last point, else the pen position), so
      // that chains of relative steps follow each other whether or not their
      // points are still waiting in the batch.
      const TPoint From = CurrentPoint();
      const TPoint P{ClampRender(From.X + PixelOffset(Item.X)), ClampRender(From.Y + PixelOffset(Item.Y))};
      FlushPolyline();
      FPenPosX = P.X;
      FPenPosY = P.Y;
      FCanvas.MoveTo(P.X, P.Y);
      break;
    }
    case ckDrawRel: {
      const TPoint From = CurrentPoint();
      const TPoint P{ClampRender(From.X + PixelOffset(Item.X)), ClampRender(From.Y + PixelOffset(Item.Y))};
      const TColor C = PenOf(Item);
      // A change of look ends the batch; SetLineState writes only what changed.
      if (LineStateDiffers(C, Item.PenStyle, Item.FillColor)) FlushPolyline();
      SetLineState(C, Item.PenStyle, Item.FillColor);
      AddPolylinePoint(P.X, P.Y);
      break;
    }
    case ckArrow:
    case ckArrow2:
      DrawArrowItem(Item);
      break;
    case ckBox:
      DrawBoxItem(Item);
      break;
    case ckErrorBar:
      DrawErrorBarItem(Item);
      break;
    case ckLineOffs: {
      FlushPolyline();
      const TColor C = PenOf(Item);
      SetLineState(C, Item.PenStyle, Item.FillColor);
      TPoint P1 = World(Item.Layer, Item.X, Item.Y), P2 = World(Item.Layer, Item.X2, Item.Y2);
      P1 = {ClampRender(std::int64_t{P1.X} + Item.Size1), ClampRender(std::int64_t{P1.Y} + Item.Size2)};
      P2 = {ClampRender(std::int64_t{P2.X} + Item.Size1), ClampRender(std::int64_t{P2.Y} + Item.Size2)};
      if (P1 == P2) {
        Dot(P1, C);
      } else {
        Line(P1, P2);
      }
      break;
    }
    case ckArc:
      DrawArcItem(Item);
      break;
    case ckLineRel:
      DrawLineRelItem(Item);
      break;
    case ckVLine:
      DrawFullLineItem(Item, true);
      break;
    case ckHLine:
      DrawFullLineItem(Item, false);
      break;
    case ckCross:
      DrawCrossItem(Item);
      break;
    default:
      // 0, 10, 11 and values above 24 draw nothing; a waiting batch still
      // ends here, as before any kind that is not a line segment.
      FlushPolyline();
      break;
  }
}

void TItemRenderer::SizeMarkFontForPrinter(const TvxChartItem& Item) {
  if (FFrame.OnPrinter && Item.MarkType > 51) ApplyPrinterFontRule(FCanvas.Font(), Item.Size1);
}

bool TItemRenderer::PassDuplicateTest(int X, int Y, int MarkType) {
  // Cells are addressed by the canvas position shifted by d. A mark whose
  // stamp square leaves the memory (possible only with a drawing origin other
  // than the plot corner) uses the part inside it: its centre is tested only
  // when that cell exists - a mark that cannot be compared is drawn, never
  // dropped - and it stamps only cells that exist.
  const int D = std::clamp(FFrame.MinDupMarkDist, 1, 3);
  const std::int64_t CX = std::int64_t{X} + D, CY = std::int64_t{Y} + D;
  const auto Cols = static_cast<std::int64_t>(FDupCols), Rows = static_cast<std::int64_t>(FDupRows);
  if (CX >= 0 && CY >= 0 && CX < Cols && CY < Rows &&
      FDupGrid[static_cast<std::size_t>(CY * Cols + CX)] == MarkType) {
    return false;
  }
  const std::int64_t X0 = std::max<std::int64_t>(CX - D, 0), X1 = std::min<std::int64_t>(CX + D, Cols - 1);
  const std::int64_t Y0 = std::max<std::int64_t>(CY - D, 0), Y1 = std::min<std::int64_t>(CY + D, Rows - 1);
  for (std::int64_t J = Y0; J <= Y1; ++J) {
    std::int32_t* Row = FDupGrid.data() + J * Cols;
    for (std::int64_t I = X0; I <= X1; ++I) Row[I] = MarkType;
  }
  return true;
}

namespace {

// Sets the (2D + 1) x (2D + 1) cells around Cell to Value.
template <int D>
inline void StampSquare(std::int32_t* Cell, std::int64_t Cols, std::int32_t Value) {
  for (int J = -D; J <= D; ++J) {
    std::int32_t* Row = Cell + J * Cols;
    for (int I = -D; I <= D; ++I) Row[I] = Value;
  }
}

}  // namespace

inline bool TItemRenderer::PassDuplicateTestInline(int X, int Y, int MarkType) {
  // The common case: the whole stamp square inside the memory.
  const int D = std::clamp(FFrame.MinDupMarkDist, 1, 3);
  const std::int64_t CX = std::int64_t{X} + D, CY = std::int64_t{Y} + D;
  if (CX < D || CY < D || CX + D >= FDupCols || CY + D >= FDupRows) return PassDuplicateTest(X, Y, MarkType);
  std::int32_t* Cell = FDupGrid.data() + CY * FDupCols + CX;
  if (*Cell == MarkType) return false;
  switch (D) {
    case 1:
      StampSquare<1>(Cell, FDupCols, MarkType);
      break;
    case 2:
      StampSquare<2>(Cell, FDupCols, MarkType);
      break;
    default:
      StampSquare<3>(Cell, FDupCols, MarkType);
      break;
  }
  return true;
}

void TItemRenderer::DrawMarkItem(const TvxChartItem& Item) {
  FlushPolyline();
  if (Item.CoordMode == cmWorld) {
    const std::size_t L = static_cast<std::size_t>(ClampLayer(Item.Layer) - 1);
    if (!InRange(Item.X, FFrame.XRanges[L]) || !InRange(Item.Y, FFrame.YRanges[L])) return;
  } else {
    const double MaxX = static_cast<double>(FFrame.Width) - FFrame.MarginRight - FFrame.MarginLeft;
    const double MaxY = static_cast<double>(FFrame.Height) - FFrame.MarginBottom - FFrame.MarginTop;
    if (!(Item.X >= 0 && Item.X <= MaxX && Item.Y >= 0 && Item.Y <= MaxY)) return;
  }
  SetPenColor(PenOf(Item));
  SetPenStyle(Item.PenStyle);
  const TPoint P = Item.CoordMode == cmWorld ? World(Item.Layer, Item.X, Item.Y) : Pixel(Item.X, Item.Y);
  SizeMarkFontForPrinter(Item);
  if (FFrame.AvoidDuplicateMarks && !PassDuplicateTest(P.X, P.Y, Item.MarkType)) return;
  DrawMark(FCanvas, static_cast<std::uint8_t>(Item.MarkType), P.X, P.Y);
  // DrawMark works on the canvas behind the cache: a character mark takes the
  // pen colour as font colour, filled symbols pass through the brush.
  FCache.Forget();
}

// ---- runs drawn without the per-item dispatch -------------------------------------------

int TItemRenderer::RenderRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                             const bool* LayerOn) {
  if (Begin >= End) return Begin;
  const TvxChartItem& First = Items[Begin];
  // A hidden first item is left to the pass (which skips it without a flush).
  if (First.CoordMode != cmWorld || !ClassOn[First.ItemClass] ||
      !LayerOn[static_cast<std::size_t>(ClampLayer(First.Layer) - 1)]) {
    return Begin;
  }
  if (First.Kind == ckMark && First.MarkType >= 10 && First.MarkType <= 12) {
    const int Next = RenderMarkRunOnTwoCores(Items, Begin, End, ClassOn, LayerOn);
    return Next >= 0 ? Next : RenderMarkRun(Items, Begin, End, ClassOn, LayerOn);
  }
  if (First.Kind == ckDrawTo) return RenderDrawToRun(Items, Begin, End, ClassOn, LayerOn);
  return Begin;
}

namespace {

// What placing one block of a mark run found.
struct TRunBlock {
  int Points = 0;  // marks in range, in order
  int Stop = -1;   // the visible item that ends the run, -1 when none did
  bool AnyVisible = false;
  bool LastVisibleInRange = false;
  TPoint Last{};  // the last mark in range
};

// What decides whether an item belongs to a mark run, and where it goes.
struct TMarkRunLook {
  TLayerTransform T;
  TAxisRange XR, YR;
  std::int64_t DX = 0, DY = 0;
  TColor C = 0;
  int MarkType = 0, Width = 0, Layer = 0;
  TPenStyle Style = psSolid;
  bool Mono = false;
};

TMarkRunLook MakeMarkRunLook(const TItemRenderFrame& Frame, const TvxChartItem& First) {
  const std::size_t L = static_cast<std::size_t>(ClampLayer(First.Layer) - 1);
  TMarkRunLook Look;
  Look.T = Frame.Transforms[L];
  Look.XR = Frame.XRanges[L];
  Look.YR = Frame.YRanges[L];
  Look.DX = std::int64_t{Frame.Left} - Frame.MarginLeft;
  Look.DY = std::int64_t{Frame.Top} - Frame.MarginTop;
  Look.Mono = Frame.Monochrome;
  Look.C = Look.Mono ? clBlack : First.Color;
  Look.MarkType = First.MarkType;
  Look.Width = First.LineWidth;
  Look.Layer = First.Layer;
  Look.Style = First.PenStyle;
  return Look;
}

// Whether a visible item belongs to the mark run Look describes.
inline bool InMarkRun(const TvxChartItem& Item, const TMarkRunLook& Look) {
  return Item.Kind == ckMark && Item.CoordMode == cmWorld && Item.MarkType == Look.MarkType &&
         Item.LineWidth == Look.Width && Item.Layer == Look.Layer && Item.PenStyle == Look.Style &&
         (Look.Mono ? clBlack : Item.Color) == Look.C;
}

// What placing a chunk of a mark run found, for drawing it in item order.
struct TMarkChunk {
  int Points = 0;       // marks in range, with their numbers among the visible items
  int Visible = 0;      // visible items of the run
  int LastInRange = 0;  // number of the last mark in range, 0 when none
  int Stop = -1;        // the visible item that ends the run, -1 when none did
};

TMarkChunk PlaceMarkChunk(const TvxChartItem* Items, int From, int To, const bool* ClassOn, const bool* LayerOn,
                          const TMarkRunLook& Look, TPoint* Out, int* OutSeq) {
  // OutSeq may be null when the numbers are not needed.
  TMarkChunk R;
  for (int I = From; I < To; ++I) {
    const TvxChartItem& Item = Items[I];
    if (!ClassOn[Item.ItemClass] || !LayerOn[static_cast<std::size_t>(ClampLayer(Item.Layer) - 1)]) continue;
    if (!InMarkRun(Item, Look)) {
      R.Stop = I;
      break;
    }
    ++R.Visible;
    if (!InRange(Item.X, Look.XR) || !InRange(Item.Y, Look.YR)) continue;
    R.LastInRange = R.Visible;
    if (OutSeq != nullptr) OutSeq[R.Points] = R.Visible;
    Out[R.Points++] = {ClampRender(std::int64_t{Look.T.PixelX(Item.X)} + Look.DX),
                       ClampRender(std::int64_t{Look.T.PixelY(Item.Y)} + Look.DY)};
  }
  return R;
}

// Places the chunks of a long run on the helper thread while this thread
// draws the chunk placed before, so the drawing keeps the item order. Place(
// From, To, Slot) fills buffer Slot (0 or 1) with items From..To-1 and
// returns what it found (Stop: the item that ended the run, or -1). Draw(
// Found, Slot) draws that buffer here. An error either throws ends both
// threads after the meeting of the phase it was thrown in and is passed on
// once both have stopped. RunEnd gets the item that ended the run (End when
// none did). False, with nothing run, when no helper is free.
//
// Phase P: the helper places chunk P while this thread draws chunk P - 1;
// then both meet. What one thread writes in phase P the other may read only
// after that meeting, but a thread that is quick off the mark reads it while
// the other is still in phase P. So the hand-over values are atomics, and
// each thread, after meeting P, takes notice only of values stamped with a
// phase up to P: both see the same ones and leave after the same meeting.
template <typename TFound, typename TPlace, typename TDraw>
bool PlaceAhead(int Begin, int End, int Chunk, const TPlace& Place, const TDraw& Draw, int& RunEnd) {
  constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();
  std::array<TFound, 2> Found{};                // by slot: one is drawn while the other is filled
  std::atomic<std::int64_t> LastChunk{Never};   // the phase that placed the run's last chunk
  std::atomic<std::int64_t> FailedPhase{Never};  // the earliest phase in which either thread threw
  std::array<std::exception_ptr, 2> Failure;     // by thread; read once both have returned
  auto Fail = [&](int Part, std::int64_t Phase) {
    Failure[static_cast<std::size_t>(Part)] = std::current_exception();
    std::int64_t Seen = FailedPhase.load(std::memory_order_relaxed);
    while (Phase < Seen && !FailedPhase.compare_exchange_weak(Seen, Phase, std::memory_order_relaxed)) {
    }
  };
  auto Job = [&](int Part, TPairBarrier& Sync) {
    for (std::int64_t Phase = 0;; ++Phase) {
      try {
        InjectPlaceAheadFault(Part, Phase);
        if (Part == 1) {
          // Only this thread writes LastChunk: its own reads need no care.
          if (LastChunk.load(std::memory_order_relaxed) == Never) {
            const std::int64_t From = Begin + Phase * Chunk, To = std::min<std::int64_t>(From + Chunk, End);
            const TFound R = Place(static_cast<int>(From), static_cast<int>(To), static_cast<int>(Phase & 1));
            Found[static_cast<std::size_t>(Phase & 1)] = R;
            if (R.Stop >= 0 || To >= End) LastChunk.store(Phase, std::memory_order_relaxed);
          }
        } else if (Phase >= 1) {
          const TFound& R = Found[static_cast<std::size_t>((Phase - 1) & 1)];
          if (R.Stop >= 0) RunEnd = R.Stop;
          Draw(R, static_cast<int>((Phase - 1) & 1));
        }
      } catch (...) {
        Fail(Part, Phase);
      }
      // The meeting orders everything written before it (relaxed stores
      // included) before everything either thread does after it.
      Sync.arrive_and_wait();
      if (FailedPhase.load(std::memory_order_relaxed) <= Phase) return;
      const std::int64_t Last = LastChunk.load(std::memory_order_relaxed);
      if (Last != Never && Phase > Last) return;
    }
  };
  if (!RunOnTwoCores(Job)) return false;
  for (const std::exception_ptr& E : Failure)
    if (E) std::rethrow_exception(E);
  return true;
}

// Places the items From .. To - 1 of a mark run into Out (the marks in range,
// in order) until an item ends the run, and sums up what the split drawing
// needs to know of them.
TRunBlock TransformMarkRun(const TvxChartItem* Items, int From, int To, const bool* ClassOn, const bool* LayerOn,
                          const TMarkRunLook& Look, TPoint* Out) {
  const TMarkChunk C = PlaceMarkChunk(Items, From, To, ClassOn, LayerOn, Look, Out, nullptr);
  TRunBlock R;
  R.Points = C.Points;
  R.Stop = C.Stop;
  R.AnyVisible = C.Visible > 0;
  R.LastVisibleInRange = C.Visible > 0 && C.LastInRange == C.Visible;
  if (R.Points > 0) R.Last = Out[R.Points - 1];
  return R;
}

}  // namespace

// Each item goes through the same cache steps as RenderItem and DrawMarkItem
// (so the cache ends in the state they leave); the canvas pen keeps one value
// throughout, so the squares are placed a chunk at a time and drawn in
// batches. Long runs are placed on the helper thread, a chunk ahead of the
// drawing here, which keeps the item order for the duplicate tests and the pen.
int TItemRenderer::RenderMarkRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                                 const bool* LayerOn) {
  const TMarkRunLook Look = MakeMarkRunLook(FFrame, Items[Begin]);
  const int D = std::clamp(FFrame.MinDupMarkDist, 1, 3);
  const bool Avoid = FFrame.AvoidDuplicateMarks;
  // A mark ends any waiting batch before it draws, whatever its width.
  FlushPolyline();
  // Item by item, a mark sets the pen width, a visible one also pen colour
  // and style, and a drawn one makes the cache forget everything. The values
  // are the run's throughout, so the canvas needs them once; the cache's end
  // state follows from what happened after the last drawn mark (numbers count
  // the run's visible items).
  bool WidthSet = false, LookSet = false;
  int Base = 0, LastWidthSeq = -1, LastLookSeq = -1, LastDrawnSeq = -1;
  // Draws a placed chunk: pen steps first, then the duplicate tests over the
  // whole chunk in order (each fetching the memory cell of a mark a few
  // ahead, so the random reads overlap), then the squares that passed.
  auto Draw = [&](const TMarkChunk& R, TPoint* P, const int* Seq) {
    if (R.Visible > 0) {
      if (!WidthSet) {
        SetPenWidth(Look.Width);
        WidthSet = true;
      }
      LastWidthSeq = Base + R.Visible;
    }
    if (R.Points > 0) {
      if (!LookSet) {
        SetPenColor(Look.C);
        SetPenStyle(Look.Style);
        LookSet = true;
      }
      LastLookSeq = Base + R.LastInRange;
      int Kept = R.Points;
      if (Avoid) {
        constexpr int Ahead = 16;
        Kept = 0;
        for (int K = 0; K < R.Points; ++K) {
          if (K + Ahead < R.Points) {
            const std::int64_t CX = std::int64_t{P[K + Ahead].X} + D, CY = std::int64_t{P[K + Ahead].Y} + D;
            if (CX >= 0 && CY >= 0 && CX < FDupCols && CY < FDupRows) __builtin_prefetch(FDupGrid.data() + CY * FDupCols + CX);
          }
          if (!PassDuplicateTestInline(P[K].X, P[K].Y, Look.MarkType)) continue;
          LastDrawnSeq = Base + Seq[K];
          P[Kept++] = P[K];
        }
      } else {
        LastDrawnSeq = Base + Seq[R.Points - 1];
      }
      if (Kept > 0) FCanvas.SquareOutlines(P, Kept, Look.MarkType - 9);
    }
    Base += R.Visible;
  };
  int RunEnd = End;
  bool Ahead = false;
  if (FTwoCoreMinItems > 0 && End - Begin >= FTwoCoreMinItems) {
    const int Chunk = std::max(FTwoCoreChunkItems, 1);
    // Allocated here: the helper thread must not throw.
    std::array<std::vector<TPoint>, 2> Points;
    std::array<std::vector<int>, 2> Seqs;
    for (int Slot = 0; Slot < 2; ++Slot) {
      Points[static_cast<std::size_t>(Slot)].resize(static_cast<std::size_t>(Chunk));
      Seqs[static_cast<std::size_t>(Slot)].resize(static_cast<std::size_t>(Chunk));
    }
    Ahead = PlaceAhead<TMarkChunk>(
        Begin, End, Chunk,
        [&](int From, int To, int Slot) {
          return PlaceMarkChunk(Items, From, To, ClassOn, LayerOn, Look, Points[static_cast<std::size_t>(Slot)].data(),
                                Seqs[static_cast<std::size_t>(Slot)].data());
        },
        [&](const TMarkChunk& R, int Slot) {
          Draw(R, Points[static_cast<std::size_t>(Slot)].data(), Seqs[static_cast<std::size_t>(Slot)].data());
        },
        RunEnd);
  }
  if (!Ahead) {
    constexpr int ChunkSize = 1024;
    std::array<TPoint, ChunkSize> Points;
    std::array<int, ChunkSize> Seqs;
    for (int From = Begin; From < End; From += ChunkSize) {
      const TMarkChunk R =
          PlaceMarkChunk(Items, From, std::min(End, From + ChunkSize), ClassOn, LayerOn, Look, Points.data(), Seqs.data());
      Draw(R, Points.data(), Seqs.data());
      if (R.Stop >= 0) {
        RunEnd = R.Stop;
        break;
      }
    }
  }
  if (LastDrawnSeq >= 0) {
    FCache.Forget();  // as after DrawMark
    if (LastWidthSeq > LastDrawnSeq) {
      FCache.CachedPenWidth = Look.Width;
      FCache.PenWidthKnown = true;
    }
    if (LastLookSeq > LastDrawnSeq) {
      FCache.CachedPenColor = Look.C;
      FCache.CachedPenStyle = Look.Style;
      FCache.PenColorKnown = FCache.PenStyleKnown = true;
    }
  }
  return RunEnd;
}


// The run is cut into blocks that the caller and the helper take from one
// counter (RunShared): first to place each block's marks into its part of one
// buffer, then to draw them. Both write the one pen colour, so pixels they
// share end the same whoever writes last, and neither waits at a meeting for
// the other: a helper that wakes late, or is descheduled on a loaded machine,
// leaves more blocks to the caller, which waits at the end of a pass at most
// for the block the helper is on. The run ends at the first visible item that
// does not belong to it: no block after that one is drawn. The drawing state
// the run leaves is worked out from the blocks' findings in item order, as
// RenderMarkRun does it (without duplicate tests every mark in range is drawn).
int TItemRenderer::RenderMarkRunOnTwoCores(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                                           const bool* LayerOn) {
  if (FFrame.AvoidDuplicateMarks || FTwoCoreMinItems <= 0 || End - Begin < FTwoCoreMinItems) return -1;
  const TvxChartItem& First = Items[Begin];
  const TMarkRunLook Look = MakeMarkRunLook(FFrame, First);
  const int D = First.MarkType - 9;
  // The first item is visible and belongs to the run: the steps every run takes.
  FlushPolyline();
  SetPenWidth(Look.Width);
  if (!FCanvas.PrepareOrderFreeSquares(Look.Style)) return -1;

  // A pass of up to 32 blocks keeps the buffer small (4 MB at the default
  // block of 16,384 marks) and the findings of a pass in item order.
  constexpr std::int64_t PassBlocks = 32;
  const std::int64_t Block = std::max(FTwoCoreChunkItems / 2, 1);
  const std::int64_t PassItems = std::min<std::int64_t>(PassBlocks * Block, std::int64_t{End} - Begin);
  // Allocated here: the work the helper shares must not throw.
  std::vector<TPoint> Points(static_cast<std::size_t>(PassItems));
  std::array<TRunBlock, PassBlocks> Found{};
  bool AnyDrawn = false, LastVisibleInRange = false;
  TPoint LastDrawn{};
  int RunEnd = End;
  for (std::int64_t PassBegin = Begin; PassBegin < End; PassBegin += PassItems) {
    const std::int64_t PassEnd = std::min<std::int64_t>(PassBegin + PassItems, End);
    const int Blocks = static_cast<int>((PassEnd - PassBegin + Block - 1) / Block);
    std::atomic<int> NextPlace{0};
    std::atomic<int> FirstStop{Blocks};  // the earliest block known to end the run
    RunShared([&] {
      for (int B = NextPlace.fetch_add(1); B < Blocks; B = NextPlace.fetch_add(1)) {
        if (B > FirstStop.load(std::memory_order_relaxed)) continue;  // past the run's end
        const std::int64_t From = PassBegin + B * Block, To = std::min(From + Block, PassEnd);
        TRunBlock& R = Found[static_cast<std::size_t>(B)];
        R = TransformMarkRun(Items, static_cast<int>(From), static_cast<int>(To), ClassOn, LayerOn, Look,
                             Points.data() + B * Block);
        if (R.Stop < 0) continue;
        int Seen = FirstStop.load(std::memory_order_relaxed);
        while (B < Seen && !FirstStop.compare_exchange_weak(Seen, B, std::memory_order_relaxed)) {
        }
      }
    });
    // Every block up to the first that ends the run has been placed (a block
    // is skipped only past a block already known to end it).
    const int Last = std::min(FirstStop.load(std::memory_order_relaxed), Blocks - 1);
    std::atomic<int> NextDraw{0};
    RunShared([&] {
      for (int B = NextDraw.fetch_add(1); B <= Last; B = NextDraw.fetch_add(1))
        FCanvas.SharedSquareOutlines(Points.data() + B * Block, Found[static_cast<std::size_t>(B)].Points, D, Look.C);
    });
    for (int B = 0; B <= Last; ++B) {
      const TRunBlock& R = Found[static_cast<std::size_t>(B)];
      if (R.AnyVisible) LastVisibleInRange = R.LastVisibleInRange;
      if (R.Points > 0) {
        AnyDrawn = true;
        LastDrawn = R.Last;
      }
      if (R.Stop >= 0) RunEnd = R.Stop;
    }
    if (RunEnd != End) break;
  }
  if (AnyDrawn) {
    // As item by item: the look set for the first mark in range, the last
    // mark (drawn once more, the same pixels) leaves the pen position, and
    // the cache forgets what DrawMark may change.
    SetPenColor(Look.C);
    SetPenStyle(Look.Style);
    FCanvas.SquareOutlines(&LastDrawn, 1, D);
    FCache.Forget();
    if (!LastVisibleInRange) {
      FCache.CachedPenWidth = Look.Width;
      FCache.PenWidthKnown = true;
    }
  }
  return RunEnd;
}

namespace {

// What decides whether an item belongs to a run of world ckDrawTo points, and
// where it goes.
struct TDrawToLook {
  TLayerTransform T;
  std::int64_t DX = 0, DY = 0;
  TColor C = 0, F = 0;
  int Width = 0, Layer = 0;
  TPenStyle Style = psSolid;
  bool Mono = false;
};

// What placing a chunk of a ckDrawTo run found.
struct TDrawToChunk {
  int Points = 0;  // the visible points of the run, in order
  int Stop = -1;   // the visible item that ends the run, -1 when none did
};

TDrawToChunk TransformDrawToRun(const TvxChartItem* Items, int From, int To, const bool* ClassOn,
                                const bool* LayerOn, const TDrawToLook& Look, TPoint* Out) {
  TDrawToChunk R;
  for (int I = From; I < To; ++I) {
    const TvxChartItem& Item = Items[I];
    if (!ClassOn[Item.ItemClass] || !LayerOn[static_cast<std::size_t>(ClampLayer(Item.Layer) - 1)]) continue;
    if (Item.Kind != ckDrawTo || Item.CoordMode != cmWorld || Item.LineWidth != Look.Width ||
        Item.Layer != Look.Layer || Item.PenStyle != Look.Style || Item.FillColor != Look.F ||
        (Look.Mono ? clBlack : Item.Color) != Look.C) {
      R.Stop = I;
      break;
    }
    Out[R.Points++] = {ClampRender(std::int64_t{Look.T.PixelX(Item.X)} + Look.DX),
                       ClampRender(std::int64_t{Look.T.PixelY(Item.Y)} + Look.DY)};
  }
  return R;
}

}  // namespace

// The points are placed a chunk at a time and drawn point by point through
// the polyline batches, as RenderItem would draw them. Long runs are placed
// on the helper thread a chunk ahead of the drawing here.
int TItemRenderer::RenderDrawToRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                                   const bool* LayerOn) {
  const TvxChartItem& First = Items[Begin];
  TDrawToLook Look;
  Look.T = FFrame.Transforms[static_cast<std::size_t>(ClampLayer(First.Layer) - 1)];
  Look.DX = std::int64_t{FFrame.Left} - FFrame.MarginLeft;
  Look.DY = std::int64_t{FFrame.Top} - FFrame.MarginTop;
  Look.C = PenOf(First);
  Look.F = First.FillColor;
  Look.Width = First.LineWidth;
  Look.Layer = First.Layer;
  Look.Style = First.PenStyle;
  Look.Mono = FFrame.Monochrome;
  // The first item is visible and belongs to the run: RenderItem's steps for
  // it. They leave width, colours and style known and equal to the run's,
  // which nothing in the run changes, so for the later items they do nothing.
  if (!FCache.PenWidthKnown || Look.Width != FCache.CachedPenWidth) FlushPolyline();
  SetPenWidth(Look.Width);
  if (LineStateDiffers(Look.C, Look.Style, Look.F)) FlushPolyline();
  SetLineState(Look.C, Look.Style, Look.F);
  auto Draw = [this](const TDrawToChunk& R, const TPoint* P) {
    AddPolylinePoints(P, R.Points);
  };
  if (FTwoCoreMinItems > 0 && End - Begin >= FTwoCoreMinItems) {
    const int Chunk = std::max(FTwoCoreChunkItems, 1);
    // Allocated here: the helper thread must not throw.
    std::array<std::vector<TPoint>, 2> Buffers{std::vector<TPoint>(static_cast<std::size_t>(Chunk)),
                                               std::vector<TPoint>(static_cast<std::size_t>(Chunk))};
    int RunEnd = End;
    if (PlaceAhead<TDrawToChunk>(
            Begin, End, Chunk,
            [&](int From, int To, int Slot) {
              return TransformDrawToRun(Items, From, To, ClassOn, LayerOn, Look,
                                        Buffers[static_cast<std::size_t>(Slot)].data());
            },
            [&](const TDrawToChunk& R, int Slot) { Draw(R, Buffers[static_cast<std::size_t>(Slot)].data()); },
            RunEnd)) {
      return RunEnd;
    }
  }
  constexpr int ChunkSize = 1024;
  std::array<TPoint, ChunkSize> Points;
  for (int From = Begin; From < End; From += ChunkSize) {
    const TDrawToChunk R =
        TransformDrawToRun(Items, From, std::min(End, From + ChunkSize), ClassOn, LayerOn, Look, Points.data());
    Draw(R, Points.data());
    if (R.Stop >= 0) return R.Stop;
  }
  return End;
}

void TItemRenderer::DrawLineItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, Item.FillColor);
  TPoint P1, P2;
  TwoPoints(Item, P1, P2);
  if (P1 == P2) {
    Dot(P1, C);
  } else {
    Line(P1, P2);
  }
}

void TItemRenderer::DrawRectItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, FillOf(Item));
  FCanvas.Brush().SetStyle(Item.Flag ? bsClear : bsSolid);
  TPoint P1, P2;
  TwoPoints(Item, P1, P2);
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  CornerInclusive(P1, P2);
  FCanvas.Rectangle(P1.X, P1.Y, P2.X, P2.Y);
}

void TItemRenderer::DrawRect3DItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor W = FillOf(Item);
  SetPenStyle(Item.PenStyle);
  SetPenColor(W);
  SetBrushColor(W);
  TPoint P1, P2;
  TwoPoints(Item, P1, P2);
  // Point 1 bottom-left, point 2 top-right.
  const int X1 = std::min(P1.X, P2.X), X2 = std::max(P1.X, P2.X);
  const int Y1 = std::max(P1.Y, P2.Y), Y2 = std::min(P1.Y, P2.Y);
  if (P1 == P2) {
    Dot(P1, W);
    return;
  }
  FCanvas.Rectangle(X1, Y1, X2, Y2);
  TColor First = 0, Second = 0;
  switch (Item.FrameStyle) {
    case fsLowered:
    case fsEmbossed:
      First = Item.Color2;
      Second = Item.Color3;
      break;
    case fsRaised:
    case fsEngraved:
      First = Item.Color3;
      Second = Item.Color2;
      break;
    default:
      return;
  }
  if (Item.FrameStyle == fsLowered || Item.FrameStyle == fsRaised) {
    FCanvas.Pen().SetColor(First);
    FCanvas.MoveTo(X1, Y1);
    FCanvas.LineTo(X1, Y2);
    FCanvas.LineTo(X2, Y2);
    FCanvas.Pen().SetColor(Second);
    FCanvas.LineTo(X2, Y1);
    FCanvas.LineTo(X1, Y1);
  } else {
    FCanvas.Pen().SetColor(First);
    FCanvas.MoveTo(X1 + 1, Y1);
    FCanvas.LineTo(X1 + 1, Y2 + 1);
    FCanvas.LineTo(X2, Y2 + 1);
    FCanvas.LineTo(X2, Y1);
    FCanvas.LineTo(X1 + 1, Y1);
    FCanvas.Pen().SetColor(Second);
    FCanvas.MoveTo(X1, Y1 - 1);
    FCanvas.LineTo(X1, Y2);
    FCanvas.LineTo(X2 - 1, Y2);
    FCanvas.LineTo(X2 - 1, Y1 - 1);
    FCanvas.LineTo(X1, Y1 - 1);
  }
  FCache.CachedPenColor = Second;
  FCache.PenColorKnown = true;
}

void TItemRenderer::DrawBar3DItem(const TvxChartItem& Item) {
  FlushPolyline();
  SetLineState(PenOf(Item), Item.PenStyle, FillOf(Item));
  const TPoint A = World(Item.Layer, Item.X, Item.Y), B = World(Item.Layer, Item.X2, Item.Y2);
  std::int64_t X1 = std::min(A.X, B.X), X2 = std::max(A.X, B.X);
  const std::int64_t Y1 = std::min(A.Y, B.Y), Y2 = std::max(A.Y, B.Y);
  const Extended Angle = static_cast<Extended>(Item.Size1) * std::numbers::pi_v<Extended> / 180;
  const std::int64_t DX = Round(static_cast<Extended>(Item.Size2) * std::cos(Angle));
  const std::int64_t DY = Round(-(static_cast<Extended>(Item.Size2) * std::sin(Angle)));
  if (Item.Size1 > 90) std::swap(X1, X2);  // the depth goes to the left
  auto Pt = [](std::int64_t X, std::int64_t Y) { return TPoint{ClampRender(X), ClampRender(Y)}; };
  const TPoint Top[4] = {Pt(X1, Y1), Pt(X1 + DX, Y1 + DY), Pt(X2 + DX, Y1 + DY), Pt(X2, Y1)};
  FCanvas.Polygon(Top, 4);
  const TPoint Side[4] = {Pt(X2 + DX, Y1 + DY), Pt(X2, Y1), Pt(X2, Y2), Pt(X2 + DX, Y2 + DY)};
  FCanvas.Polygon(Side, 4);
  TPoint F1{static_cast<int>(X1), static_cast<int>(Y1)}, F2{static_cast<int>(X2), static_cast<int>(Y2)};
  CornerInclusive(F1, F2);
  FCanvas.Rectangle(F1.X, F1.Y, F2.X, F2.Y);
}

void TItemRenderer::DrawEllipseItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, FillOf(Item));
  FCanvas.Brush().SetStyle(Item.Flag ? bsClear : bsSolid);
  TPoint P1 = World(Item.Layer, Item.X - Item.X2, Item.Y + Item.Y2);
  TPoint P2 = World(Item.Layer, Item.X + Item.X2, Item.Y - Item.Y2);
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  CornerInclusive(P1, P2);
  FCanvas.Ellipse(P1.X, P1.Y, P2.X, P2.Y);
}

void TItemRenderer::DrawArrowItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item), F = FillOf(Item);
  SetLineState(C, Item.PenStyle, F);
  FCanvas.Brush().SetStyle(Item.Flag ? bsClear : bsSolid);
  TPoint P1, P2;
  TwoPoints(Item, P1, P2);
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  // A broken line whose gaps would take the line's own colour gets a
  // contrasting brush for its duration.
  const bool Contrast = Item.PenStyle != psSolid && F == C;
  if (Contrast) FCanvas.Brush().SetColor(ContrastColor(C));
  Line(P1, P2);
  if (Contrast) FCanvas.Brush().SetColor(F);
  if (Item.Size1 < 1) return;

  using std::numbers::pi_v;
  const Extended Pi = pi_v<Extended>;
  Extended T;
  if (P1.X == P2.X) {
    T = P2.Y > P1.Y ? Pi : 2 * Pi;
  } else {
    T = std::atan(static_cast<Extended>(P2.Y - P1.Y) / static_cast<Extended>(P2.X - P1.X)) +
        (P2.X < P1.X ? 3 * Pi / 2 : Pi / 2);
  }
  SetPenStyle(psSolid);
  const Extended S = Item.Size1, Wing = Pi / 9;
  // Wing offsets: (sin(t +- wing) * s, -cos(t +- wing) * s), rounded.
  const std::int64_t AX = Round(std::sin(T + Wing) * S), AY = Round(-std::cos(T + Wing) * S);
  const std::int64_t BX = Round(std::sin(T - Wing) * S), BY = Round(-std::cos(T - Wing) * S);
  auto Head = [&](TPoint Tip, int Sign) {
    const TPoint WA{ClampRender(Tip.X + Sign * AX), ClampRender(Tip.Y + Sign * AY)};
    const TPoint WB{ClampRender(Tip.X + Sign * BX), ClampRender(Tip.Y + Sign * BY)};
    if (Item.Flag) {
      Line(Tip, WA);
      Line(Tip, WB);
    } else {
      const TPoint Tri[3] = {Tip, WA, WB};
      FCanvas.Polygon(Tri, 3);
    }
  };
  if (Item.Kind == ckArrow2) Head(P1, +1);
  Head(P2, -1);
}

void TItemRenderer::DrawBoxItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, FillOf(Item));
  FCanvas.Brush().SetStyle(Item.Flag ? bsClear : bsSolid);
  const TPoint P = World(Item.Layer, Item.X, Item.Y);
  TPoint P1{ClampRender(std::int64_t{P.X} - Item.Size1), ClampRender(std::int64_t{P.Y} - Item.Size2)};
  TPoint P2{ClampRender(std::int64_t{P.X} + Item.Size1), ClampRender(std::int64_t{P.Y} + Item.Size2)};
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  CornerInclusive(P1, P2);
  FCanvas.Rectangle(P1.X, P1.Y, P2.X, P2.Y);
}

void TItemRenderer::DrawErrorBarItem(const TvxChartItem& Item) {
  FlushPolyline();
  const double Low = std::fabs(Item.X2), High = std::fabs(Item.Y2);
  const std::size_t L = static_cast<std::size_t>(ClampLayer(Item.Layer) - 1);
  if (!Overlaps(Item.X - Low, Item.X + High, FFrame.XRanges[L]) ||
      !Overlaps(Item.Y - Low, Item.Y + High, FFrame.YRanges[L])) {
    return;
  }
  SetLineState(PenOf(Item), Item.PenStyle, Item.FillColor);
  const TPoint P = World(Item.Layer, Item.X, Item.Y);
  SizeMarkFontForPrinter(Item);
  const double Ends[2] = {Item.X - Low, Item.X + High};
  const double EndsY[2] = {Item.Y - Low, Item.Y + High};
  if (Item.Size1 != 0) {
    for (double E : Ends) {
      const int EX = ClampRender(WorldXRaw(Item.Layer, E));
      Line(P, {EX, P.Y});
      Line({EX, P.Y - 3}, {EX, P.Y + 4});
    }
  } else {
    for (double E : EndsY) {
      const int EY = ClampRender(WorldYRaw(Item.Layer, E));
      Line(P, {P.X, EY});
      Line({P.X - 3, EY}, {P.X + 4, EY});
    }
  }
  DrawMark(FCanvas, static_cast<std::uint8_t>(Item.MarkType), P.X, P.Y);
  FCache.Forget();  // as after a ckMark
}

void TItemRenderer::DrawArcItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetPenColor(C);
  TPoint P1 = World(Item.Layer, Item.X - Item.X2, Item.Y - Item.Y2);
  TPoint P2 = World(Item.Layer, Item.X + Item.X2, Item.Y + Item.Y2);
  const TPoint Centre = World(Item.Layer, Item.X, Item.Y);
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  CornerInclusive(P1, P2);
  // Radial points far out along the start and end angles (1e-8 radian units);
  // they only give directions, so they are not clamped.
  constexpr Extended Far = 1e8;
  auto Radial = [&](std::int32_t Angle, int& X, int& Y) {
    const Extended A = static_cast<Extended>(Angle) / Far;
    X = static_cast<int>(Centre.X + Round(Far * std::cos(A)));
    Y = static_cast<int>(Centre.Y - Round(Far * std::sin(A)));
  };
  int X3, Y3, X4, Y4;
  Radial(Item.Size1, X3, Y3);
  Radial(Item.Size2, X4, Y4);
  FCanvas.Arc(P1.X, P1.Y, P2.X, P2.Y, X3, Y3, X4, Y4);
}

void TItemRenderer::DrawLineRelItem(const TvxChartItem& Item) {
  // Like every kind that is not a continuation, a relative line first draws
  // the waiting batch, so it always runs from its own world point; a
  // following ckDrawTo or ckDrawRel continues from its end.
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, Item.FillColor);
  const TPoint P1 = World(Item.Layer, Item.X, Item.Y);
  const TPoint P2{ClampRender(P1.X + PixelOffset(Item.X2)), ClampRender(P1.Y + PixelOffset(Item.Y2))};
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  FPenPosX = P1.X;
  FPenPosY = P1.Y;
  AddPolylinePoint(P2.X, P2.Y);
}

void TItemRenderer::DrawFullLineItem(const TvxChartItem& Item, bool Vertical) {
  const bool PixelMode = Item.CoordMode == cmPixel || Item.CoordMode == cmPixelWorld;
  const TPoint P = PixelMode ? Pixel(Item.X, Item.Y) : World(Item.Layer, Item.X, Item.Y);
  FlushPolyline();
  const TColor C = PenOf(Item);
  // Set unconditionally, cache or not.
  FCache.PenColorKnown = FCache.PenStyleKnown = FCache.BrushColorKnown = false;
  SetLineState(C, Item.PenStyle, Item.FillColor);
  if (Vertical) {
    const int YEnd = ClampRender(std::int64_t{FFrame.Top} + FFrame.Height - FFrame.MarginBottom - FFrame.MarginTop);
    Line({P.X, FFrame.Top}, {P.X, YEnd});
  } else {
    const int XEnd = ClampRender(std::int64_t{FFrame.Left} + FFrame.Width - FFrame.MarginLeft - FFrame.MarginRight);
    Line({FFrame.Left, P.Y}, {XEnd, P.Y});
  }
}

void TItemRenderer::DrawCrossItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, FillOf(Item));
  FCanvas.Brush().SetStyle(bsSolid);
  TPoint P1, P2;
  switch (Item.CoordMode) {
    case cmPixel:
      P1 = Pixel(Item.X - Item.X2, Item.Y + Item.Y2);
      P2 = Pixel(Item.X + Item.X2, Item.Y - Item.Y2);
      break;
    case cmWorldPixel: {
      const TPoint P = World(Item.Layer, Item.X, Item.Y);
      const std::int64_t HX = PixelOffset(Item.X2), HY = PixelOffset(Item.Y2);
      P1 = {ClampRender(P.X - HX), ClampRender(P.Y + HY)};
      P2 = {ClampRender(P.X + HX), ClampRender(P.Y - HY)};
      break;
    }
    default:  // world half-sizes (modes the kind does not list included)
      P1 = World(Item.Layer, Item.X - Item.X2, Item.Y + Item.Y2);
      P2 = World(Item.Layer, Item.X + Item.X2, Item.Y - Item.Y2);
      break;
  }
  if (P1 == P2) {
    Dot(P1, C);
  } else {
    CornerInclusive(P1, P2);
    const int XM = (P1.X + P2.X) / 2, YM = (P1.Y + P2.Y) / 2;
    Line({XM, P1.Y}, {XM, P2.Y});
    Line({P1.X, YM}, {P2.X, YM});
  }
  FPenPosX = (P1.X + P2.X) / 2;
  FPenPosY = (P1.Y + P2.Y) / 2;
}

void TItemRenderer::DrawTextItem(const TvxChartItem& Item, TPoint Position, int Index, bool IsAnnotation,
                                 const TLongTextArray& Texts) {
  FlushPolyline();
  // A long-text index outside 1..50 reads an empty text.
  std::string Text = Item.LineWidth < 1 ? Item.ShortText.Get() : Texts[Item.LineWidth];
  if (OnBeforeRenderText) {
    // The host handler runs before this text's font and brush are set, so
    // nothing it does to the canvas can spoil them; what it changed is
    // unknown to the cache, which therefore forgets.
    OnBeforeRenderText(Text, Index, IsAnnotation);
    FCache.Forget();
  }
  SetFontColor(PenOf(Item));
  TFont& Font = FCanvas.Font();
  if (FFrame.TextFont) {
    Font.SetName(FFrame.TextFont->Name());
    Font.SetStyle(FFrame.TextFont->Style());
  }
  if (FFrame.OnPrinter) {
    ApplyPrinterFontRule(Font, Item.Size1);
  } else {
    Font.SetSize(Item.Size1);
  }
  const TColor B = TextBackOf(Item);
  SetBrushColor(B);
  const bool Opaque = (Item.Size2 & 0xFF) != 0;
  FCanvas.Brush().SetStyle(Opaque ? bsSolid : bsClear);

  const TTextMeasure M = MeasureText(Text, FCanvas);
  std::int64_t X = Position.X;
  const std::int64_t Y = std::int64_t{Position.Y} - M.LineHeight / 2;
  if (Item.MarkType == 1) {
    X -= M.BlockWidth;
  } else if (Item.MarkType == 2) {
    X -= M.BlockWidth / 2;
  }
  if (M.Lines <= 1) {
    FCanvas.TextOut(static_cast<int>(X), static_cast<int>(Y), Text);
    return;
  }
  if (Opaque) {
    SetPenColor(B);
    FCanvas.Rectangle(static_cast<int>(X - 4), static_cast<int>(Y - 2), static_cast<int>(X + M.BlockWidth + 4),
                      static_cast<int>(Y + std::int64_t{M.Lines} * M.LineHeight + 2));
  }
  int K = 0;
  for (const std::string& LineText : SplitTextLines(Text)) {
    std::int64_t O = 0;
    if (Item.MarkType == 1) {
      O = M.BlockWidth - FCanvas.TextWidth(LineText);
    } else if (Item.MarkType == 2) {
      O = (M.BlockWidth - FCanvas.TextWidth(LineText)) / 2;
    }
    FCanvas.TextOut(static_cast<int>(X + O), static_cast<int>(Y + std::int64_t{K} * M.LineHeight), LineText);
    ++K;
  }
}

}  // namespace zkw
