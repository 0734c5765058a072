// The per-kind item renderer: coordinates, the drawing-state cache, the
// polyline batch, the duplicate-mark memory and one drawing routine per kind.
// Texts are drawn in render_item_texts.cpp, runs of plain items in
// render_runs.cpp.
#include "chart/render_items.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/ZKW_zkwbase.h"
#include "base/ZKW_zkwcolors.h"
#include "chart/item_views.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

// A pixel offset, rounded and held far inside the 64-bit range, so that
// adding it to a position cannot overflow whatever the item holds.
std::int64_t PixelOffset(double V) { return std::clamp<std::int64_t>(Round(V), -(std::int64_t{1} << 40), std::int64_t{1} << 40); }

// A relative step of whole pixels (DX, DY) from From, clamped like the
// whole point P it gives.
TPointF RelativeF(TPointF From, double DX, double DY, TPoint P) {
  return {FineRender(From.X + static_cast<double>(PixelOffset(DX)), 0, P.X),
          FineRender(From.Y + static_cast<double>(PixelOffset(DY)), 0, P.Y)};
}

// Whether the interval [A, B] (A <= B) meets the range, in either order.
bool Overlaps(double A, double B, const TAxisRange& R) {
  const double Lo = std::min(R.Low, R.High), Hi = std::max(R.Low, R.High);
  return A <= Hi && B >= Lo;
}

}  // namespace

TItemRenderer::TItemRenderer(TCanvas& Canvas, const TItemRenderFrame& Frame)
    : FCanvas(Canvas), FFrame(Frame), FFine(Canvas.FinePositions()) {}

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
  MovePen({FFrame.Left, FFrame.Top}, WholePoint({FFrame.Left, FFrame.Top}));
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
  State.WaitingPolyline.assign(FPolyPoints.begin(), FPolyPoints.begin() + FPolyCount);
  State.PenPosF = FPenPosF;
  State.WaitingPolylineF.assign(FPolyFine.begin(), FPolyFine.begin() + (FFine ? FPolyCount : 0));
  State.DupGrid = FDupGrid;
  State.DupCols = FDupCols;
  State.DupRows = FDupRows;
}

void TItemRenderer::RestoreState(const TItemRendererState& State) {
  FPolyCount = static_cast<int>(std::min<std::size_t>(State.WaitingPolyline.size(), PolyBatchSize));
  std::copy_n(State.WaitingPolyline.begin(), FPolyCount, FPolyPoints.begin());
  if (FFine) {
    // A state kept by a pass on a canvas of another kind has no fractions.
    for (int I = 0; I < FPolyCount; ++I) {
      const auto K = static_cast<std::size_t>(I);
      FPolyFine[K] = K < State.WaitingPolylineF.size() ? State.WaitingPolylineF[K] : WholePoint(FPolyPoints[K]);
    }
  }
  FCache = State.Cache;
  MovePen(State.PenPos, State.PenPosF);
  FDupGrid = State.DupGrid;
  FDupCols = State.DupCols;
  FDupRows = State.DupRows;
}

TPoint TItemRenderer::CurrentPoint() const {
  return FPolyCount > 0 ? FPolyPoints[static_cast<std::size_t>(FPolyCount - 1)] : TPoint{FPenPosX, FPenPosY};
}

TPointF TItemRenderer::CurrentPointF() const {
  return FPolyCount > 0 ? FPolyFine[static_cast<std::size_t>(FPolyCount - 1)] : FPenPosF;
}

void TItemRenderer::MovePen(TPoint P, TPointF Fine) {
  FPenPosX = P.X;
  FPenPosY = P.Y;
  FPenPosF = FFine ? Fine : WholePoint(P);
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

TPointF TItemRenderer::WorldF(int Layer, double X, double Y) const {
  const TLayerTransform& T = FFrame.Transforms[static_cast<std::size_t>(ClampLayer(Layer) - 1)];
  const TPoint P = World(Layer, X, Y);
  return {FineRender(FineRawX(T, X), std::int64_t{FFrame.Left} - FFrame.MarginLeft, P.X),
          FineRender(FineRawY(T, Y), std::int64_t{FFrame.Top} - FFrame.MarginTop, P.Y)};
}

TPointF TItemRenderer::PixelF(double X, double Y) const {
  const TPoint P = Pixel(X, Y);
  return {FineRender(X, FFrame.Left, P.X), FineRender(Y, FFrame.Top, P.Y)};
}

TPointF TItemRenderer::OnePointF(const TvxChartItem& Item) const {
  switch (Item.CoordMode) {
    case cmPixel:
    case cmPixelWorld:
      return PixelF(Item.X, Item.Y);
    case cmPixelX:
      return {PixelF(Item.X, 0).X, WorldF(Item.Layer, 0, Item.Y).Y};
    case cmPixelY:
      return {WorldF(Item.Layer, Item.X, 0).X, PixelF(0, Item.Y).Y};
    default:
      return WorldF(Item.Layer, Item.X, Item.Y);
  }
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

void TItemRenderer::EnterPenWidth(int W) {
  if (!FCache.PenWidthKnown || W != FCache.CachedPenWidth) FlushPolyline();
  SetPenWidth(W);
}

void TItemRenderer::EnterLineLook(TColor C, TPenStyle S, TColor F) {
  if (LineStateDiffers(C, S, F)) FlushPolyline();
  SetLineState(C, S, F);
}

void SettleRunState(TDrawStateCache& Cache, const TRunLook& Look, const TRunSteps& Steps) {
  // The steps of one mark come in the order width, look, drawing, so only a
  // step of a later mark survives a drawing.
  std::int64_t Since = -1;
  if (Steps.LastDrawn >= 0) {
    Cache.Forget();
    Since = Steps.LastDrawn;
  }
  if (Steps.LastWidth > Since) {
    Cache.CachedPenWidth = Look.PenWidth;
    Cache.PenWidthKnown = true;
  }
  if (Steps.LastLook > Since) {
    Cache.CachedPenColor = Look.PenColor;
    Cache.CachedPenStyle = Look.PenStyle;
    Cache.PenColorKnown = Cache.PenStyleKnown = true;
  }
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
  const auto Last = static_cast<std::size_t>(FPolyCount - 1);
  if (FFine) {
    FCanvas.PolylineF(FPolyFine.data(), FPolyCount);
  } else {
    FCanvas.Polyline(FPolyPoints.data(), FPolyCount);
  }
  ++FPolylineCalls;
  FCanvas.MoveTo(FPolyPoints[Last].X, FPolyPoints[Last].Y);
  MovePen(FPolyPoints[Last], FPolyFine[Last]);
  FPolyCount = 0;
}

void TItemRenderer::AddPolylinePoint(TPoint P, TPointF Fine) {
  if (FPolyCount == 0) {
    FPolyPoints[0] = {FPenPosX, FPenPosY};
    FPolyFine[0] = FPenPosF;
    FPolyCount = 1;
  }
  FPolyPoints[static_cast<std::size_t>(FPolyCount)] = P;
  if (FFine) FPolyFine[static_cast<std::size_t>(FPolyCount)] = Fine;
  ++FPolyCount;
  if (FPolyCount >= PolyBatchSize) {
    FlushPolyline();
    FPolyPoints[0] = P;
    FPolyFine[0] = FPenPosF;
    FPolyCount = 1;
  }
}

void TItemRenderer::AddPolylinePoints(const TPoint* Points, const TPointF* Fine, int Count) {
  for (int K = 0; K < Count;) {
    if (FPolyCount == 0) {
      FPolyPoints[0] = {FPenPosX, FPenPosY};
      FPolyFine[0] = FPenPosF;
      FPolyCount = 1;
    }
    const int Take = std::min(Count - K, PolyBatchSize - FPolyCount);
    std::copy_n(Points + K, Take, FPolyPoints.begin() + FPolyCount);
    if (FFine) std::copy_n(Fine + K, Take, FPolyFine.begin() + FPolyCount);
    FPolyCount += Take;
    K += Take;
    if (FPolyCount >= PolyBatchSize) {
      FlushPolyline();
      FPolyPoints[0] = Points[K - 1];
      FPolyFine[0] = FPenPosF;
      FPolyCount = 1;
    }
  }
}

// ---- the kinds -------------------------------------------------------------------------

void TItemRenderer::RenderItem(const TvxChartItem& Item, int Index, bool IsAnnotation,
                               const TLongTextArray& Texts) {
  if (!IsTextKind(Item.Kind)) EnterPenWidth(Item.LineWidth);
  switch (Item.Kind) {
    case ckMark:
      DrawMarkItem(Item);
      break;
    case ckLine:
      DrawLineItem(Item);
      break;
    case ckDrawTo: {
      const TPoint P = OnePoint(Item);
      EnterLineLook(PenOf(Item), Item.PenStyle, Item.FillColor);
      AddPolylinePoint(P, FFine ? OnePointF(Item) : TPointF{});
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
      const TTextView Text = AsText(Item);
      const TPoint P{ClampRender(Round(static_cast<Extended>(WorldXRaw(Item.Layer, Item.X)) + Text.OffsetX)),
                     ClampRender(Round(static_cast<Extended>(WorldYRaw(Item.Layer, Item.Y)) + Text.OffsetY))};
      DrawTextItem(Item, P, Index, IsAnnotation, Texts);
      break;
    }
    case ckMoveTo: {
      const TPoint P = OnePoint(Item);
      FlushPolyline();
      MovePen(P, FFine ? OnePointF(Item) : TPointF{});
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
      const TPointF PF = RelativeF(CurrentPointF(), Item.X, Item.Y, P);
      FlushPolyline();
      MovePen(P, PF);
      FCanvas.MoveTo(P.X, P.Y);
      break;
    }
    case ckDrawRel: {
      const TPoint From = CurrentPoint();
      const TPoint P{ClampRender(From.X + PixelOffset(Item.X)), ClampRender(From.Y + PixelOffset(Item.Y))};
      const TPointF PF = RelativeF(CurrentPointF(), Item.X, Item.Y, P);
      EnterLineLook(PenOf(Item), Item.PenStyle, Item.FillColor);
      AddPolylinePoint(P, PF);
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
      const TLineOffsView Offs = AsLineOffs(Item);
      TPoint P1 = World(Item.Layer, Item.X, Item.Y), P2 = World(Item.Layer, Item.X2, Item.Y2);
      P1 = {ClampRender(std::int64_t{P1.X} + Offs.OffsetX), ClampRender(std::int64_t{P1.Y} + Offs.OffsetY)};
      P2 = {ClampRender(std::int64_t{P2.X} + Offs.OffsetX), ClampRender(std::int64_t{P2.Y} + Offs.OffsetY)};
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

void TItemRenderer::DrawMarkItem(const TvxChartItem& Item) {
  FlushPolyline();
  if (Item.CoordMode == cmWorld) {
    const std::size_t L = static_cast<std::size_t>(ClampLayer(Item.Layer) - 1);
    if (!InAxisRange(Item.X, FFrame.XRanges[L]) || !InAxisRange(Item.Y, FFrame.YRanges[L])) return;
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
  // A run of one mark that set the pen width and look and was drawn.
  SettleRunState(FCache, MarkLookOf(Item), {0, 0, 0});
}

void TItemRenderer::DrawLineItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetLineState(C, Item.PenStyle, Item.FillColor);
  TPoint P1, P2;
  TwoPoints(Item, P1, P2);
  if (FFine) {
    // A segment shorter than a pixel is still a line where fractions show:
    // a dense line of such segments must not become a row of pixel boxes.
    // The ends are placed as TwoPoints places them for this kind.
    const bool PixelFrom = Item.CoordMode == cmPixel || Item.CoordMode == cmPixelWorld;
    const bool PixelTo = Item.CoordMode == cmPixel || Item.CoordMode == cmWorldPixel;
    const TPointF Ends[2] = {PixelFrom ? PixelF(Item.X, Item.Y) : WorldF(Item.Layer, Item.X, Item.Y),
                             PixelTo ? PixelF(Item.X2, Item.Y2) : WorldF(Item.Layer, Item.X2, Item.Y2)};
    if (Ends[0] == Ends[1]) {
      Dot(P1, C);
    } else {
      FCanvas.PolylineF(Ends, 2);
      FCanvas.MoveTo(P2.X, P2.Y);
    }
    return;
  }
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
  FCanvas.Brush().SetStyle(AsRect(Item).Transparent ? bsClear : bsSolid);
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
  const TBar3DView Bar = AsBar3D(Item);
  const Extended Angle = static_cast<Extended>(Bar.Angle) * std::numbers::pi_v<Extended> / 180;
  const std::int64_t DX = Round(static_cast<Extended>(Bar.Depth) * std::cos(Angle));
  const std::int64_t DY = Round(-(static_cast<Extended>(Bar.Depth) * std::sin(Angle)));
  if (Bar.Angle > 90) std::swap(X1, X2);  // the depth goes to the left
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
  const TEllipseView Ellipse = AsEllipse(Item);
  FCanvas.Brush().SetStyle(Ellipse.Transparent ? bsClear : bsSolid);
  TPoint P1 = World(Item.Layer, Item.X - Ellipse.RadiusX, Item.Y + Ellipse.RadiusY);
  TPoint P2 = World(Item.Layer, Item.X + Ellipse.RadiusX, Item.Y - Ellipse.RadiusY);
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
  const TArrowView Arrow = AsArrow(Item);
  FCanvas.Brush().SetStyle(Arrow.OpenHeads ? bsClear : bsSolid);
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
  if (Arrow.HeadSize < 1) return;

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
  const Extended S = Arrow.HeadSize, Wing = Pi / 9;
  // Wing offsets: (sin(t +- wing) * s, -cos(t +- wing) * s), rounded.
  const std::int64_t AX = Round(std::sin(T + Wing) * S), AY = Round(-std::cos(T + Wing) * S);
  const std::int64_t BX = Round(std::sin(T - Wing) * S), BY = Round(-std::cos(T - Wing) * S);
  auto Head = [&](TPoint Tip, int Sign) {
    const TPoint WA{ClampRender(Tip.X + Sign * AX), ClampRender(Tip.Y + Sign * AY)};
    const TPoint WB{ClampRender(Tip.X + Sign * BX), ClampRender(Tip.Y + Sign * BY)};
    if (Arrow.OpenHeads) {
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
  const TBoxView Box = AsBox(Item);
  FCanvas.Brush().SetStyle(Box.Transparent ? bsClear : bsSolid);
  const TPoint P = World(Item.Layer, Item.X, Item.Y);
  TPoint P1{ClampRender(std::int64_t{P.X} - Box.HalfWidth), ClampRender(std::int64_t{P.Y} - Box.HalfHeight)};
  TPoint P2{ClampRender(std::int64_t{P.X} + Box.HalfWidth), ClampRender(std::int64_t{P.Y} + Box.HalfHeight)};
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  CornerInclusive(P1, P2);
  FCanvas.Rectangle(P1.X, P1.Y, P2.X, P2.Y);
}

void TItemRenderer::DrawErrorBarItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TErrorBarView Bar = AsErrorBar(Item);
  const double Low = std::fabs(Bar.ErrLow), High = std::fabs(Bar.ErrHigh);
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
  if (Bar.Horizontal()) {
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
  SettleRunState(FCache, MarkLookOf(Item), {0, 0, 0});  // as a drawn ckMark leaves it
}

void TItemRenderer::DrawArcItem(const TvxChartItem& Item) {
  FlushPolyline();
  const TColor C = PenOf(Item);
  SetPenColor(C);
  const TArcView Arc = AsArc(Item);
  TPoint P1 = World(Item.Layer, Item.X - Arc.RadiusX, Item.Y - Arc.RadiusY);
  TPoint P2 = World(Item.Layer, Item.X + Arc.RadiusX, Item.Y + Arc.RadiusY);
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
  Radial(Arc.StartAngle, X3, Y3);
  Radial(Arc.EndAngle, X4, Y4);
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
  const TLineRelView Step = AsLineRel(Item);
  const TPoint P2{ClampRender(P1.X + PixelOffset(Step.DX)), ClampRender(P1.Y + PixelOffset(Step.DY))};
  if (P1 == P2) {
    Dot(P1, C);
    return;
  }
  const TPointF P1F = FFine ? WorldF(Item.Layer, Item.X, Item.Y) : WholePoint(P1);
  MovePen(P1, P1F);
  AddPolylinePoint(P2, RelativeF(P1F, Step.DX, Step.DY, P2));
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
  const TCrossView Cross = AsCross(Item);
  const double HW = Cross.HalfWidth, HH = Cross.HalfHeight;
  TPoint P1, P2;
  switch (Item.CoordMode) {
    case cmPixel:
      P1 = Pixel(Item.X - HW, Item.Y + HH);
      P2 = Pixel(Item.X + HW, Item.Y - HH);
      break;
    case cmWorldPixel: {
      const TPoint P = World(Item.Layer, Item.X, Item.Y);
      const std::int64_t HX = PixelOffset(HW), HY = PixelOffset(HH);
      P1 = {ClampRender(P.X - HX), ClampRender(P.Y + HY)};
      P2 = {ClampRender(P.X + HX), ClampRender(P.Y - HY)};
      break;
    }
    default:  // world half-sizes (modes the kind does not list included)
      P1 = World(Item.Layer, Item.X - HW, Item.Y + HH);
      P2 = World(Item.Layer, Item.X + HW, Item.Y - HH);
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
  const TPoint Middle{(P1.X + P2.X) / 2, (P1.Y + P2.Y) / 2};
  MovePen(Middle, WholePoint(Middle));
}

}  // namespace zkw
