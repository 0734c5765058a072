// The item renderer: draws stored chart items onto the canvas that a render
// pass fills. It knows nothing of the chart component; the pass hands it a
// frame (control size, margins, plot origin, the 16 layer transforms and
// ranges) once, and then one item after another.
//
// Pixel rules every kind follows:
//  - a world point goes through its layer's transform and is shifted onto the
//    canvas by (Left - MarginLeft, Top - MarginTop); a pixel point is
//    (Left + x, Top + y), rounded;
//  - every drawn position is clamped into -30000..30000 per coordinate;
//  - a shape whose corners coincide after clamping is one pixel in the
//    kind's pen colour;
//  - "corner-inclusive" shapes grow their larger corner by one pixel so that
//    both corner pixels are covered (rectangle right/bottom edges are
//    exclusive on the canvas).
//
// Pen colour, pen style, brush colour, font colour and pen width reach the
// canvas through a drawing-state cache, so a long run of items of one look
// sets them once. Consecutive connected line segments are collected into a
// polyline batch of up to 200 points and drawn with one call.
//
// Runs of plain items (RenderRun) are drawn without the per-item dispatch
// (render_runs.cpp), leaving exactly the pixels and drawing state the items
// leave one by one; SettleRunState is the one rule for the state marks leave.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/chart_item.h"
#include "chart/item_store.h"
#include "chart/layers.h"
#include "platform/graphics.h"

namespace zkw {

// Process-wide switches of the rendering shortcuts that must draw exactly
// what the item-by-item path draws: runs of plain items drawn without the
// per-item dispatch (Runs), and redraws that start from the kept data image
// (KeptImage). Off, passes take the reference path (tests and benchmarks
// compare the two). Both on by default.
void SetRenderShortcuts(bool Runs, bool KeptImage);
inline void SetRenderShortcuts(bool On) { SetRenderShortcuts(On, On); }
bool RenderRunsEnabled();
bool KeptImageEnabled();

// Points of one polyline batch.
constexpr int PolyBatchSize = 200;

inline int ClampRender(std::int64_t V) { return ClampInt(V, -RenderClamp, RenderClamp); }

// A drawn position to a fraction of a pixel, for canvases that show
// fractions (TCanvas::FinePositions): the unrounded transform value Raw
// shifted by Shift and clamped like the whole position Whole, which a value
// the transform cannot place finitely keeps.
inline double FineRender(double Raw, std::int64_t Shift, int Whole) {
  if (!(std::fabs(Raw) <= 1e9)) return Whole;
  return std::clamp(Raw + static_cast<double>(Shift), -static_cast<double>(RenderClamp),
                    static_cast<double>(RenderClamp));
}
// The unrounded transform value FineRender takes: in double arithmetic
// where the whole pixel is (QuickPixel), else the extended one.
inline double FineRawX(const TLayerTransform& T, double X) { return T.XMap().FineRaw(X); }
inline double FineRawY(const TLayerTransform& T, double Y) { return T.YMap().FineRaw(Y); }
inline TPointF WholePoint(TPoint P) { return {static_cast<double>(P.X), static_cast<double>(P.Y)}; }

// Whether V lies between the two ends of a range, in either order, ends
// included (the visibility test of marks).
inline bool InAxisRange(double V, const TAxisRange& R) {
  return R.Low <= R.High ? (V >= R.Low && V <= R.High) : (V >= R.High && V <= R.Low);
}

// What the canvas is believed to hold; a kind sets a value on the canvas only
// when it differs from the cached one. A value is only trusted while it is
// known: drawing helpers that change the canvas themselves (DrawMark sets the
// font colour and the brush; a host handler may draw on the canvas) make the
// renderer forget, and the next kind that needs the value sets it again.
struct TDrawStateCache {
  TColor CachedPenColor = 0;
  TPenStyle CachedPenStyle = psSolid;
  TColor CachedBrushColor = 0;
  TColor CachedFontColor = 0;
  int CachedPenWidth = 1;
  bool PenColorKnown = true;
  bool PenStyleKnown = true;
  bool BrushColorKnown = true;
  bool FontColorKnown = true;
  bool PenWidthKnown = true;

  void Forget() { PenColorKnown = PenStyleKnown = BrushColorKnown = FontColorKnown = PenWidthKnown = false; }
};

// The values a mark of one look puts on the canvas through the cache.
struct TRunLook {
  int PenWidth = 1;
  TColor PenColor = 0;
  TPenStyle PenStyle = psSolid;
};

// What the marks of a run did to the drawing state, summed up by the last
// item (in any numbering that follows the item order; -1: none) that took
// each step. Item by item, a visible mark sets the pen width, one in range
// then the pen colour and style, and one that passes the duplicate test is
// drawn, which leaves the canvas behind the cache (DrawMark sets the font
// colour and passes filled symbols through the brush).
struct TRunSteps {
  std::int64_t LastWidth = -1;
  std::int64_t LastLook = -1;
  std::int64_t LastDrawn = -1;
};

// Turns Cache into the cache that marks of Look leave after Steps, exactly as
// item-by-item drawing leaves it: nothing is known after a drawn mark but
// what a later mark set again; without a drawn mark, what was set is known.
// The one rule for a single mark and for whole runs drawn at once.
void SettleRunState(TDrawStateCache& Cache, const TRunLook& Look, const TRunSteps& Steps);

// The renderer's state between two items while no batch waits: what a redraw
// keeps to resume a pass in the middle of the data store.
struct TItemRendererState {
  TDrawStateCache Cache;
  TPoint PenPos;
  // The polyline batch still waiting to be drawn (its first point is where
  // the line went on from); the pass that restores the state goes on adding
  // to it, so the batches split where a full pass splits them.
  std::vector<TPoint> WaitingPolyline;
  // The same to a fraction of a pixel, where the canvas shows fractions.
  TPointF PenPosF;
  std::vector<TPointF> WaitingPolylineF;
  std::vector<std::int32_t> DupGrid;
  int DupCols = 0;
  int DupRows = 0;
};

// Everything that stays fixed during one render pass.
struct TItemRenderFrame {
  int Width = 0;  // the control's size
  int Height = 0;
  int MarginLeft = 0;
  int MarginRight = 0;
  int MarginTop = 0;
  int MarginBottom = 0;
  int Left = 0;  // where the plot rectangle's top-left corner lies on the canvas
  int Top = 0;
  bool Monochrome = false;  // pens black, fills silver or white
  bool OnPrinter = false;   // the canvas is the printer's (font sizes follow the printer rule)
  std::array<TLayerTransform, LayerCount> Transforms{};
  std::array<TAxisRange, LayerCount> XRanges{};  // range objects' ends, for the visibility tests
  std::array<TAxisRange, LayerCount> YRanges{};
  const TFont* TextFont = nullptr;  // name and style of item texts; nullptr: the canvas font's
  bool AvoidDuplicateMarks = false;
  int MinDupMarkDist = 1;  // 1..3
};

// Result of MeasureText.
struct TTextMeasure {
  int Lines = 1;        // line feeds + 1
  int LineHeight = 0;   // text height of the whole text + 1
  int BlockHeight = 0;  // LineHeight * Lines
  int BlockWidth = 0;   // widest line (the whole text's width when that is 0)
};

// Lines of a text split at line feeds (which are not part of any line).
std::vector<std::string> SplitTextLines(const std::string& Text);
// Measures Text in the canvas's current font exactly as the text drawing lays it out.
TTextMeasure MeasureText(const std::string& Text, TCanvas& Canvas);

// The printer font rule: the font gets the pixel height that PointSize has at
// the screen's resolution and then takes the printer's vertical resolution
// without changing that height, so text keeps its size relative to the
// pixel geometry of everything else on the page.
void ApplyPrinterFontRule(TFont& Font, int PointSize);

class TItemRenderer {
 public:
  using TTextHook = std::function<void(std::string& Text, int Index, bool IsAnnotation)>;

  TItemRenderer(TCanvas& Canvas, const TItemRenderFrame& Frame);

  // Sizes the duplicate-mark memory to the control plus a border of
  // MinDupMarkDist and empties it (when the frame asks for duplicate tests).
  void ResetDuplicateMarks();
  // Starts drawing items: empties the batch and puts the initial drawing
  // state on the canvas: pen width PenWidth, pen position (Left, Top), pen,
  // brush and font colour Color, solid pen. Every value also goes into the cache.
  void BeginPass(int PenWidth, TColor Color);
  // Draws one item. Texts is the long-text table of the item's store.
  void RenderItem(const TvxChartItem& Item, int Index, bool IsAnnotation, const TLongTextArray& Texts);
  // Draws a run of items that starts at Items[Begin] without the per-item
  // dispatch, with exactly the pixels and drawing state RenderItem would leave
  // item by item: plain hollow-square marks (world coordinates, one symbol,
  // colour, style, width and layer) and world ckDrawTo points of one look.
  // Items whose class (ClassOn) or layer (LayerOn, 16 entries) is hidden are
  // skipped as the pass skips them. Returns the index of the first item not
  // drawn, Begin when Items[Begin] starts no such run. Only for passes in which
  // no host handler sees the items (the store must not change meanwhile).
  int RenderRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn, const bool* LayerOn);
  // Long mark runs (End - Begin of at least MinItems) without duplicate tests
  // are placed and drawn on two cores in blocks of ChunkItems / 2 items,
  // each block by whichever core takes it. One colour written over squares
  // gives the same pixels in any order. Long runs that must be drawn in order
  // are placed a chunk of ChunkItems ahead on the helper. MinItems 0 turns
  // both off.
  static constexpr int DefaultTwoCoreMinItems = 1 << 15;
  static constexpr int DefaultTwoCoreChunkItems = 1 << 15;
  void SetTwoCoreRuns(int MinItems, int ChunkItems) {
    FTwoCoreMinItems = MinItems;
    FTwoCoreChunkItems = ChunkItems;
  }
  // Test hook of the long runs whose chunks the helper places ahead of the
  // drawing here: from now on thread Part (0 the drawing caller, 1 the
  // placing helper) raises EZKWVexaError at the start of phase Phase of every
  // such run (phase P places chunk P and draws chunk P - 1). Part -1 turns
  // it off. Process-wide.
  static void SetPlaceAheadFault(int Part, std::int64_t Phase);
  // Draws the waiting batch as one polyline and leaves the canvas pen at its end.
  void FlushPolyline();
  // Appends a point to the batch (starting it at the pen position when empty).
  void AddPolylinePoint(int X, int Y) { AddPolylinePoint({X, Y}, WholePoint({X, Y})); }
  // The same with the point's position to a fraction of a pixel (Fine),
  // which a canvas that shows fractions draws (TCanvas::FinePositions).
  void AddPolylinePoint(TPoint P, TPointF Fine);
  // AddPolylinePoint for each of Points[0..Count-1] (and Fine[0..Count-1]
  // when the canvas shows fractions), batch for batch the same.
  void AddPolylinePoints(const TPoint* Points, const TPointF* Fine, int Count);
  // Whether the renderer places line points to a fraction of a pixel (its
  // canvas shows them): data lines then run through their true positions at
  // device scales and anti-aliased, instead of a logical pixel staircase.
  bool FinePositions() const { return FFine; }

  // Called for text kinds with the text about to be drawn; may replace it.
  TTextHook OnBeforeRenderText;

  // Off: every pen, brush and font value is written to the canvas each time
  // a kind asks for it (the batching decisions stay those of the cache). A
  // rendering with the cache must look exactly like one without; tests
  // compare the two.
  void SetStateCacheEnabled(bool Value) { FCacheEnabled = Value; }

  TDrawStateCache& Cache() { return FCache; }
  TPoint PenPos() const { return {FPenPosX, FPenPosY}; }
  // The point a following connected segment starts from: the batch's last
  // point while one waits, else the pen position.
  TPoint CurrentPoint() const;
  int PolyCount() const { return FPolyCount; }
  // Number of polyline calls made so far (for measuring the batching).
  int PolylineCalls() const { return FPolylineCalls; }
  // Duplicate-mark memory: (Width + 2d) x (Height + 2d) cells, -1 = none.
  int DupCell(int X, int Y) const;
  // Saves / restores the state above (only while no batch waits).
  void SaveState(TItemRendererState& State) const;
  void RestoreState(const TItemRendererState& State);

 private:
  // Pixel position of a world point of a layer (already clamped).
  TPoint World(int Layer, double X, double Y) const;
  // Unclamped canvas x / y of a world value (64-bit, so no shift overflows).
  std::int64_t WorldXRaw(int Layer, double X) const;
  std::int64_t WorldYRaw(int Layer, double Y) const;
  // Pixel position of a pixel point (rounded, clamped).
  TPoint Pixel(double X, double Y) const;
  TPoint OnePoint(const TvxChartItem& Item) const;
  void TwoPoints(const TvxChartItem& Item, TPoint& P1, TPoint& P2) const;
  // The same positions to a fraction of a pixel (see FineRender).
  TPointF WorldF(int Layer, double X, double Y) const;
  TPointF PixelF(double X, double Y) const;
  TPointF OnePointF(const TvxChartItem& Item) const;
  // CurrentPoint to a fraction of a pixel (fine positions only).
  TPointF CurrentPointF() const;
  // Moves the renderer's pen (not the canvas's) to P, at Fine where the
  // canvas shows fractions.
  void MovePen(TPoint P, TPointF Fine);

  void SetPenColor(TColor C);
  void SetPenStyle(TPenStyle S);
  void SetBrushColor(TColor C);
  void SetFontColor(TColor C);
  void SetPenWidth(int W);
  bool LineStateDiffers(TColor C, TPenStyle S, TColor F) const;
  void SetLineState(TColor C, TPenStyle S, TColor F);
  // The first steps RenderItem takes for an item that draws with the pen (not a text),
  // shared with the runs: a change of pen width ends the waiting batch.
  void EnterPenWidth(int W);
  // The look of a connected segment (ckDrawTo, ckDrawRel): a change ends the
  // waiting batch; then only what changed is written.
  void EnterLineLook(TColor C, TPenStyle S, TColor F);
  void Dot(TPoint P, TColor C);
  void Line(TPoint A, TPoint B);
  void CornerInclusive(TPoint& P1, TPoint& P2) const;

  void DrawMarkItem(const TvxChartItem& Item);
  // What a mark puts on the canvas through the cache.
  TRunLook MarkLookOf(const TvxChartItem& Item) const { return {Item.LineWidth, PenOf(Item), Item.PenStyle}; }
  void DrawLineItem(const TvxChartItem& Item);
  void DrawRectItem(const TvxChartItem& Item);
  void DrawRect3DItem(const TvxChartItem& Item);
  void DrawBar3DItem(const TvxChartItem& Item);
  void DrawEllipseItem(const TvxChartItem& Item);
  void DrawArrowItem(const TvxChartItem& Item);
  void DrawBoxItem(const TvxChartItem& Item);
  void DrawErrorBarItem(const TvxChartItem& Item);
  void DrawArcItem(const TvxChartItem& Item);
  void DrawLineRelItem(const TvxChartItem& Item);
  void DrawCrossItem(const TvxChartItem& Item);
  void DrawFullLineItem(const TvxChartItem& Item, bool Vertical);
  void DrawTextItem(const TvxChartItem& Item, TPoint Position, int Index, bool IsAnnotation,
                    const TLongTextArray& Texts);
  void SizeMarkFontForPrinter(const TvxChartItem& Item);
  // Whether the duplicate-mark memory lets a mark at (X, Y) be drawn; stamps it.
  bool PassDuplicateTest(int X, int Y, int MarkType);

  // The runs drawn without the per-item dispatch (render_runs.cpp).
  int RenderMarkRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn, const bool* LayerOn);
  // RenderMarkRun on two cores; -1 when it does not apply or no helper is free.
  int RenderMarkRunOnTwoCores(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                              const bool* LayerOn);
  int RenderDrawToRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn, const bool* LayerOn);
  // PassDuplicateTest, quicker for a mark whose stamp square lies inside the memory.
  bool PassDuplicateTestInline(int X, int Y, int MarkType);

  TColor PenOf(const TvxChartItem& Item) const { return FFrame.Monochrome ? clBlack : Item.Color; }
  TColor FillOf(const TvxChartItem& Item) const { return FFrame.Monochrome ? clSilver : Item.FillColor; }
  TColor TextBackOf(const TvxChartItem& Item) const { return FFrame.Monochrome ? clWhite : Item.FillColor; }

  TCanvas& FCanvas;
  const TItemRenderFrame& FFrame;
  TDrawStateCache FCache;
  bool FCacheEnabled = true;
  int FPenPosX = 0;
  int FPenPosY = 0;
  bool FFine = false;
  TPointF FPenPosF;
  std::array<TPoint, PolyBatchSize> FPolyPoints{};
  std::array<TPointF, PolyBatchSize> FPolyFine{};  // fine positions only
  int FPolyCount = 0;
  int FPolylineCalls = 0;
  int FTwoCoreMinItems = DefaultTwoCoreMinItems;
  int FTwoCoreChunkItems = DefaultTwoCoreChunkItems;
  // Duplicate-mark memory, row by row; cell (x, y) is FDupGrid[y * FDupCols + x].
  std::vector<std::int32_t> FDupGrid;
  int FDupCols = 0;
  int FDupRows = 0;
};

}  // namespace zkw
