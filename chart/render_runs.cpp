// The item renderer's shortcuts: runs of plain items drawn without the
// per-item dispatch, with exactly the pixels and drawing state RenderItem
// leaves item by item. A run of hollow-square marks is placed a chunk at a
// time and its squares drawn in bulk; a long one is placed on the helper
// thread, a chunk ahead of the drawing here (PlaceAhead), or, when the order
// of the squares cannot matter, placed and drawn by both threads in blocks
// taken from one counter. A run of ckDrawTo points goes through the polyline
// batches as RenderItem would. What the marks of a run leave in the drawing
// state comes from SettleRunState, the rule RenderItem follows for one mark.
#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <limits>
#include <string>
#include <vector>

#include "base/ZKW_zkwbase.h"
#include "chart/mark_raster.h"
#include "chart/render_items.h"
#include "platform/two_cores.h"

namespace zkw {

namespace {

std::atomic<bool> RunsOn{true};
std::atomic<bool> KeptImageOn{true};

// The fault SetPlaceAheadFault asks for: which thread, in which phase.
std::atomic<int> FaultPart{-1};
std::atomic<std::int64_t> FaultPhase{-1};

void InjectPlaceAheadFault(int Part, std::int64_t Phase) {
  if (FaultPart.load(std::memory_order_relaxed) == Part && FaultPhase.load(std::memory_order_relaxed) == Phase)
    throw EZKWVexaError("Injected fault in phase " + std::to_string(Phase) + " of thread " + std::to_string(Part));
}

}  // namespace

void SetRenderShortcuts(bool Runs, bool KeptImage) {
  RunsOn.store(Runs, std::memory_order_relaxed);
  KeptImageOn.store(KeptImage, std::memory_order_relaxed);
}
bool RenderRunsEnabled() { return RunsOn.load(std::memory_order_relaxed); }
bool KeptImageEnabled() { return KeptImageOn.load(std::memory_order_relaxed); }

void TItemRenderer::SetPlaceAheadFault(int Part, std::int64_t Phase) {
  FaultPhase.store(Phase, std::memory_order_relaxed);
  FaultPart.store(Part, std::memory_order_relaxed);
}

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

// ---- the duplicate-mark memory in the runs' inner loop ---------------------------------

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

// ---- placing the items of a run --------------------------------------------------------

namespace {

// What decides whether an item belongs to a mark run, and where it goes.
struct TMarkRunLook {
  TLayerTransform T;
  TAxisRange XR, YR;
  std::int64_t DX = 0, DY = 0;
  TRunLook Pen;  // what the marks put on the canvas
  int MarkType = 0, Layer = 0;
  bool Mono = false;
};

TMarkRunLook MakeMarkRunLook(const TItemRenderFrame& Frame, const TvxChartItem& First, const TRunLook& Pen) {
  const std::size_t L = static_cast<std::size_t>(ClampLayer(First.Layer) - 1);
  TMarkRunLook Look;
  Look.T = Frame.Transforms[L];
  Look.XR = Frame.XRanges[L];
  Look.YR = Frame.YRanges[L];
  Look.DX = std::int64_t{Frame.Left} - Frame.MarginLeft;
  Look.DY = std::int64_t{Frame.Top} - Frame.MarginTop;
  Look.Mono = Frame.Monochrome;
  Look.Pen = Pen;
  Look.MarkType = First.MarkType;
  Look.Layer = First.Layer;
  return Look;
}

// Whether a visible item belongs to the mark run Look describes.
inline bool InMarkRun(const TvxChartItem& Item, const TMarkRunLook& Look) {
  return Item.Kind == ckMark && Item.CoordMode == cmWorld && Item.MarkType == Look.MarkType &&
         Item.LineWidth == Look.Pen.PenWidth && Item.Layer == Look.Layer && Item.PenStyle == Look.Pen.PenStyle &&
         (Look.Mono ? clBlack : Item.Color) == Look.Pen.PenColor;
}

// What placing a chunk of a mark run found (items by their index).
struct TMarkChunk {
  int Points = 0;        // marks in range, in order
  int LastVisible = -1;  // the last visible item of the run, -1 when none
  int LastInRange = -1;  // the last mark in range, -1 when none
  int Stop = -1;         // the visible item that ends the run, -1 when none did
};

// Places the items From .. To - 1 of a mark run into Out (the marks in range,
// in order) until an item ends the run. OutIndex, when not null, gets the
// item index of each.
TMarkChunk PlaceMarkChunk(const TvxChartItem* Items, int From, int To, const bool* ClassOn, const bool* LayerOn,
                          const TMarkRunLook& Look, TPoint* Out, int* OutIndex) {
  TMarkChunk R;
  for (int I = From; I < To; ++I) {
    const TvxChartItem& Item = Items[I];
    if (!ClassOn[Item.ItemClass] || !LayerOn[static_cast<std::size_t>(ClampLayer(Item.Layer) - 1)]) continue;
    if (!InMarkRun(Item, Look)) {
      R.Stop = I;
      break;
    }
    R.LastVisible = I;
    if (!InAxisRange(Item.X, Look.XR) || !InAxisRange(Item.Y, Look.YR)) continue;
    R.LastInRange = I;
    if (OutIndex != nullptr) OutIndex[R.Points] = I;
    Out[R.Points++] = {ClampRender(std::int64_t{Look.T.PixelX(Item.X)} + Look.DX),
                       ClampRender(std::int64_t{Look.T.PixelY(Item.Y)} + Look.DY)};
  }
  return R;
}

// Adds what a chunk of marks found, in item order, to the steps of its run;
// without duplicate tests every mark in range is drawn.
void NoteMarkChunk(const TMarkChunk& R, TRunSteps& Steps) {
  if (R.LastVisible >= 0) Steps.LastWidth = R.LastVisible;
  if (R.LastInRange >= 0) Steps.LastLook = Steps.LastDrawn = R.LastInRange;
}

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

// Places the items From .. To - 1 of a ckDrawTo run into Out (and, when
// OutFine is not null, their positions to a fraction of a pixel into it, as
// TItemRenderer::WorldF gives them) until an item ends the run.
TDrawToChunk PlaceDrawToChunk(const TvxChartItem* Items, int From, int To, const bool* ClassOn,
                              const bool* LayerOn, const TDrawToLook& Look, TPoint* Out, TPointF* OutFine) {
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
    const TPoint P{ClampRender(std::int64_t{Look.T.PixelX(Item.X)} + Look.DX),
                   ClampRender(std::int64_t{Look.T.PixelY(Item.Y)} + Look.DY)};
    if (OutFine != nullptr)
      OutFine[R.Points] = {FineRender(FineRawX(Look.T, Item.X), Look.DX, P.X),
                           FineRender(FineRawY(Look.T, Item.Y), Look.DY, P.Y)};
    Out[R.Points++] = P;
  }
  return R;
}

// ---- the helper thread -----------------------------------------------------------------

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

}  // namespace

// ---- the runs ----------------------------------------------------------------------------

// The canvas pen keeps one value throughout, so the squares are placed a
// chunk at a time and drawn in batches; pen width and look go onto the canvas
// (through the cache) before the first mark that needs them, as item by item,
// and the cache ends as SettleRunState says. Long runs are placed on the
// helper thread, a chunk ahead of the drawing here, which keeps the item
// order for the duplicate tests and the pen.
int TItemRenderer::RenderMarkRun(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                                 const bool* LayerOn) {
  const TMarkRunLook Look = MakeMarkRunLook(FFrame, Items[Begin], MarkLookOf(Items[Begin]));
  const int D = std::clamp(FFrame.MinDupMarkDist, 1, 3);
  const bool Avoid = FFrame.AvoidDuplicateMarks;
  // A mark ends any waiting batch before it draws, whatever its width.
  FlushPolyline();
  TRunSteps Steps;
  // Draws a placed chunk: pen steps first, then the duplicate tests over the
  // whole chunk in order (each fetching the memory cell of a mark a few
  // ahead, so the random reads overlap), then the squares that passed.
  // Index holds the item index of each point when the tests need it.
  auto Draw = [&](const TMarkChunk& R, TPoint* P, const int* Index) {
    if (R.LastVisible >= 0 && Steps.LastWidth < 0) SetPenWidth(Look.Pen.PenWidth);
    if (R.Points > 0 && Steps.LastLook < 0) {
      SetPenColor(Look.Pen.PenColor);
      SetPenStyle(Look.Pen.PenStyle);
    }
    if (!Avoid) {
      NoteMarkChunk(R, Steps);
      if (R.Points > 0) SquareOutlines(FCanvas, P, R.Points, Look.MarkType - 9);
      return;
    }
    if (R.LastVisible >= 0) Steps.LastWidth = R.LastVisible;
    if (R.LastInRange >= 0) Steps.LastLook = R.LastInRange;
    constexpr int Ahead = 16;
    int Kept = 0;
    for (int K = 0; K < R.Points; ++K) {
      if (K + Ahead < R.Points) {
        const std::int64_t CX = std::int64_t{P[K + Ahead].X} + D, CY = std::int64_t{P[K + Ahead].Y} + D;
        if (CX >= 0 && CY >= 0 && CX < FDupCols && CY < FDupRows) __builtin_prefetch(FDupGrid.data() + CY * FDupCols + CX);
      }
      if (!PassDuplicateTestInline(P[K].X, P[K].Y, Look.MarkType)) continue;
      Steps.LastDrawn = Index[K];
      P[Kept++] = P[K];
    }
    if (Kept > 0) SquareOutlines(FCanvas, P, Kept, Look.MarkType - 9);
  };
  int RunEnd = End;
  bool Ahead = false;
  if (FTwoCoreMinItems > 0 && End - Begin >= FTwoCoreMinItems) {
    const int Chunk = std::max(FTwoCoreChunkItems, 1);
    // Allocated here: the helper thread must not throw.
    std::array<std::vector<TPoint>, 2> Points;
    std::array<std::vector<int>, 2> Indices;
    for (int Slot = 0; Slot < 2; ++Slot) {
      Points[static_cast<std::size_t>(Slot)].resize(static_cast<std::size_t>(Chunk));
      if (Avoid) Indices[static_cast<std::size_t>(Slot)].resize(static_cast<std::size_t>(Chunk));
    }
    Ahead = PlaceAhead<TMarkChunk>(
        Begin, End, Chunk,
        [&](int From, int To, int Slot) {
          return PlaceMarkChunk(Items, From, To, ClassOn, LayerOn, Look, Points[static_cast<std::size_t>(Slot)].data(),
                                Avoid ? Indices[static_cast<std::size_t>(Slot)].data() : nullptr);
        },
        [&](const TMarkChunk& R, int Slot) {
          Draw(R, Points[static_cast<std::size_t>(Slot)].data(), Indices[static_cast<std::size_t>(Slot)].data());
        },
        RunEnd);
  }
  if (!Ahead) {
    constexpr int ChunkSize = 1024;
    std::array<TPoint, ChunkSize> Points;
    std::array<int, ChunkSize> Indices;
    for (int From = Begin; From < End; From += ChunkSize) {
      const TMarkChunk R = PlaceMarkChunk(Items, From, std::min(End, From + ChunkSize), ClassOn, LayerOn, Look,
                                          Points.data(), Avoid ? Indices.data() : nullptr);
      Draw(R, Points.data(), Indices.data());
      if (R.Stop >= 0) {
        RunEnd = R.Stop;
        break;
      }
    }
  }
  SettleRunState(FCache, Look.Pen, Steps);
  return RunEnd;
}

// The run is cut into blocks that the caller and the helper take from one
// counter (RunShared): first to place each block's marks into its part of one
// buffer, then to draw them. Both write the one pen colour, so pixels they
// share end the same whoever writes last, and neither waits at a meeting for
// the other: a helper that wakes late, or is descheduled on a loaded machine,
// leaves more blocks to the caller, which waits at the end of a pass at most
// for the block the helper is on. The run ends at the first visible item that
// does not belong to it: no block after that one is drawn. The blocks'
// findings, taken in item order, give the steps of the run for SettleRunState.
int TItemRenderer::RenderMarkRunOnTwoCores(const TvxChartItem* Items, int Begin, int End, const bool* ClassOn,
                                           const bool* LayerOn) {
  if (FFrame.AvoidDuplicateMarks || FTwoCoreMinItems <= 0 || End - Begin < FTwoCoreMinItems) return -1;
  const TvxChartItem& First = Items[Begin];
  const TMarkRunLook Look = MakeMarkRunLook(FFrame, First, MarkLookOf(First));
  const int D = First.MarkType - 9;
  // The first item is visible and belongs to the run: the steps every run takes.
  FlushPolyline();
  SetPenWidth(Look.Pen.PenWidth);
  TPixelView Pixels;
  if (!PrepareOrderFreeSquares(FCanvas, Look.Pen.PenStyle, Pixels)) return -1;

  // A pass of up to 32 blocks keeps the buffer small (4 MB at the default
  // block of 16,384 marks) and the findings of a pass in item order.
  constexpr std::int64_t PassBlocks = 32;
  const std::int64_t Block = std::max(FTwoCoreChunkItems / 2, 1);
  const std::int64_t PassItems = std::min<std::int64_t>(PassBlocks * Block, std::int64_t{End} - Begin);
  // Allocated here: the work the helper shares must not throw.
  std::vector<TPoint> Points(static_cast<std::size_t>(PassItems));
  std::array<TMarkChunk, PassBlocks> Found{};
  TRunSteps Steps;
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
        TMarkChunk& R = Found[static_cast<std::size_t>(B)];
        R = PlaceMarkChunk(Items, static_cast<int>(From), static_cast<int>(To), ClassOn, LayerOn, Look,
                           Points.data() + B * Block, nullptr);
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
        SharedSquareOutlines(Pixels, Points.data() + B * Block, Found[static_cast<std::size_t>(B)].Points, D,
                             Look.Pen.PenColor);
    });
    for (int B = 0; B <= Last; ++B) {
      const TMarkChunk& R = Found[static_cast<std::size_t>(B)];
      NoteMarkChunk(R, Steps);
      if (R.Points > 0) LastDrawn = Points[static_cast<std::size_t>(B * Block + R.Points - 1)];
      if (R.Stop >= 0) RunEnd = R.Stop;
    }
    if (RunEnd != End) break;
  }
  if (Steps.LastDrawn >= 0) {
    // As item by item: the look set for the first mark in range, and the pen
    // where the last square's outline ends (its top-left corner; a solid pen
    // leaves the dash pattern at its start).
    SetPenColor(Look.Pen.PenColor);
    SetPenStyle(Look.Pen.PenStyle);
    FCanvas.MoveTo(LastDrawn.X - D, LastDrawn.Y - D);
  }
  SettleRunState(FCache, Look.Pen, Steps);
  return RunEnd;
}

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
  EnterPenWidth(Look.Width);
  EnterLineLook(Look.C, Look.Style, Look.F);
  auto Draw = [this](const TDrawToChunk& R, const TPoint* P, const TPointF* F) { AddPolylinePoints(P, F, R.Points); };
  // Fine positions only where the canvas shows them: the exact raster's
  // runs place whole pixels alone, as before.
  const std::size_t FineSize = FFine ? 1 : 0;
  if (FTwoCoreMinItems > 0 && End - Begin >= FTwoCoreMinItems) {
    const auto Chunk = static_cast<std::size_t>(std::max(FTwoCoreChunkItems, 1));
    // Allocated here: the helper thread must not throw.
    std::array<std::vector<TPoint>, 2> Buffers{std::vector<TPoint>(Chunk), std::vector<TPoint>(Chunk)};
    std::array<std::vector<TPointF>, 2> Fine{std::vector<TPointF>(Chunk * FineSize),
                                             std::vector<TPointF>(Chunk * FineSize)};
    const auto FineOf = [&](int Slot) { return FFine ? Fine[static_cast<std::size_t>(Slot)].data() : nullptr; };
    int RunEnd = End;
    if (PlaceAhead<TDrawToChunk>(
            Begin, End, static_cast<int>(Chunk),
            [&](int From, int To, int Slot) {
              return PlaceDrawToChunk(Items, From, To, ClassOn, LayerOn, Look,
                                      Buffers[static_cast<std::size_t>(Slot)].data(), FineOf(Slot));
            },
            [&](const TDrawToChunk& R, int Slot) {
              Draw(R, Buffers[static_cast<std::size_t>(Slot)].data(), FineOf(Slot));
            },
            RunEnd)) {
      return RunEnd;
    }
  }
  constexpr int ChunkSize = 1024;
  std::array<TPoint, ChunkSize> Points;
  std::vector<TPointF> Fine(ChunkSize * FineSize);
  TPointF* FineOut = FFine ? Fine.data() : nullptr;
  for (int From = Begin; From < End; From += ChunkSize) {
    const TDrawToChunk R = PlaceDrawToChunk(Items, From, std::min(End, From + ChunkSize), ClassOn, LayerOn, Look,
                                            Points.data(), FineOut);
    Draw(R, Points.data(), FineOut);
    if (R.Stop >= 0) return R.Stop;
  }
  return End;
}

}  // namespace zkw
