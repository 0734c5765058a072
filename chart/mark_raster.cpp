#include "chart/mark_raster.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace zkw {

namespace {

using i64 = std::int64_t;

// Whether the pen writes one opaque colour per pixel with its style taken as Style.
bool OrderFreePen(const TPen& Pen, TPenStyle Style) {
  return Pen.Width() == 1 && Pen.Mode() == pmCopy && (Style == psSolid || Style == psInsideFrame);
}

// Asks for the first three rows of the square with half side D around Centre
// (a 3 by 3 square's all), when it lies inside the picture.
void PrefetchSquareRows(const TPixelView& V, TPoint Centre, int D) {
  const i64 PX = Centre.X, PY = Centre.Y;
  if (PX - D < 0 || PY - D < 0 || PX + D >= V.Width || PY + D >= V.Height) return;
  const std::uint32_t* Q = V.At(PX - D, PY - D);
  __builtin_prefetch(Q, 1);
  __builtin_prefetch(Q + V.Stride, 1);
  __builtin_prefetch(Q + 2 * V.Stride, 1);
}

}  // namespace

void SquareOutlines(TCanvas& Canvas, const TPoint* Centres, int Count, int D) {
  if (!Centres || Count <= 0) return;
  const TPen& Pen = Canvas.Pen();
  if (D < 1 || !OrderFreePen(Pen, Pen.Style()) || !Canvas.Target().Exact()) {
    for (int K = 0; K < Count; ++K) Canvas.SquareOutline(Centres[K].X, Centres[K].Y, D);
    return;
  }
  const TPixelView V = Canvas.Target().PixelView();
  const std::uint32_t C = ColorToPixel(Pen.Color());
  const i64 Stride = V.Stride, N = 2 * i64(D);
  for (int K = 0; K < Count; ++K) {
    // The squares lie anywhere: fetch the rows of one a few ahead.
    if (K + 8 < Count) PrefetchSquareRows(V, Centres[K + 8], D);
    const i64 L = i64(Centres[K].X) - D, T = i64(Centres[K].Y) - D;
    if (L < 0 || T < 0 || L + N >= V.Width || T + N >= V.Height) {
      // Squares that reach the edge are clipped by the canvas.
      Canvas.SquareOutline(Centres[K].X, Centres[K].Y, D);
      continue;
    }
    std::uint32_t* Top = V.At(L, T);
    if (D == 1) {  // the 3 by 3 square: its 8 pixels straight
      Top[0] = Top[1] = Top[2] = C;
      Top[Stride] = Top[Stride + 2] = C;
      Top[2 * Stride] = Top[2 * Stride + 1] = Top[2 * Stride + 2] = C;
      continue;
    }
    // Every border pixel once, as the four lines write it (each line stops
    // before the next one's start).
    std::uint32_t* Bottom = Top + N * Stride;
    for (i64 J = 0; J < N; ++J) {
      Top[J + 1] = C;
      Bottom[J] = C;
      Top[(J + 1) * Stride + N] = C;
      Top[J * Stride] = C;
    }
  }
  // The last square's outline ends where it started, at its top-left corner,
  // with the dash pattern restarted (a solid pen never moves it on).
  const TPoint& Last = Centres[Count - 1];
  Canvas.MoveTo(Last.X - D, Last.Y - D);
}

bool PrepareOrderFreeSquares(TCanvas& Canvas, TPenStyle Style, TPixelView& Pixels) {
  if (!OrderFreePen(Canvas.Pen(), Style) || !Canvas.Target().Exact()) return false;
  // Looked up here, on the calling thread: the threads that share the
  // drawing only read the view.
  Pixels = Canvas.Target().PixelView();
  return true;
}

void SharedSquareOutlines(const TPixelView& Pixels, const TPoint* Centres, int Count, int D, TColor Color) {
  if (!Centres || Count <= 0 || D < 1) return;
  const TPixelView& V = Pixels;
  const i64 Stride = V.Stride, W = V.Width, H = V.Height;
  const std::uint32_t C = ColorToPixel(Color);
  // Another thread may write the same pixel at the same time, always with
  // this value; relaxed atomic stores make that defined (plain moves on x86).
  auto Put = [C](std::uint32_t* Pixel) { std::atomic_ref<std::uint32_t>(*Pixel).store(C, std::memory_order_relaxed); };
  for (int K = 0; K < Count; ++K) {
    // The squares lie anywhere: fetch the rows of one a few ahead.
    if (K + 8 < Count) PrefetchSquareRows(V, Centres[K + 8], D);
    const i64 X = Centres[K].X, Y = Centres[K].Y, L = X - D, T = Y - D, R = X + D, B = Y + D;
    if (B < 0 || T >= H || R < 0 || L >= W) continue;
    if (D == 1 && T >= 0 && B < H && L >= 0 && R < W) {  // the 3 by 3 square: its 8 pixels straight
      std::uint32_t* Top = V.At(L, T);
      Put(Top);
      Put(Top + 1);
      Put(Top + 2);
      Put(Top + Stride);
      Put(Top + Stride + 2);
      Put(Top + 2 * Stride);
      Put(Top + 2 * Stride + 1);
      Put(Top + 2 * Stride + 2);
      continue;
    }
    // The border clipped to the bitmap: whole top and bottom rows, the two
    // side pixels on the rows between.
    const i64 Left = std::max<i64>(L, 0), Right = std::min<i64>(R, W - 1);
    for (i64 Row = std::max<i64>(T, 0); Row <= std::min(B, H - 1); ++Row) {
      std::uint32_t* Line = V.At(0, Row);
      if (Row == T || Row == B) {
        for (i64 Col = Left; Col <= Right; ++Col) Put(Line + Col);
      } else {
        if (L >= 0) Put(Line + L);
        if (R < W) Put(Line + R);
      }
    }
  }
}

}  // namespace zkw
