#include "chart/nearest_index.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <bit>
#include <chrono>
#include <functional>
#include <limits>

#include "platform/two_cores.h"

namespace zkw {

namespace {

// Equal values, with NaN equal to NaN: an index over a transform with a NaN
// factor stays as usable as any other.
template <typename T>
bool SameValue(T A, T B) {
  return A == B || (A != A && B != B);
}

bool SameTransform(const TLayerTransform& A, const TLayerTransform& B) {
  return SameValue(A.XFactor, B.XFactor) && SameValue(A.XOffset, B.XOffset) && SameValue(A.YFactor, B.YFactor) &&
         SameValue(A.YOffset, B.YOffset) && A.XLog == B.XLog && A.YLog == B.YLog &&
         SameValue(A.XLogFloor, B.XLogFloor) && SameValue(A.YLogFloor, B.YLogFloor) &&
         SameValue(A.XFactorD, B.XFactorD) && SameValue(A.XOffsetD, B.XOffsetD) &&
         SameValue(A.YFactorD, B.YFactorD) && SameValue(A.YOffsetD, B.YOffsetD) && A.XQuick == B.XQuick &&
         A.YQuick == B.YQuick;
}

std::uint32_t VisibilityBits(const bool* LayerVisible) {
  if (LayerVisible == nullptr) return 0;
  std::uint32_t Bits = 1u << LayerCount;
  for (int L = 0; L < LayerCount; ++L)
    if (LayerVisible[L]) Bits |= 1u << L;
  return Bits;
}

// The least squared distance of a point Gap pixels away, rounded as
// PixelDistance2 rounds: never above the distance of any item that far or farther.
double GapSquared(std::int64_t Gap) {
  const Extended G = static_cast<Extended>(Gap);
  return static_cast<double>(G * G);
}

// Pixels between P and the span Low..High (0 inside it); an open end is
// given by the flags.
std::int64_t GapTo(std::int64_t P, std::int64_t Low, std::int64_t High, bool OpenLow, bool OpenHigh) {
  if (!OpenLow && P < Low) return Low - P;
  if (!OpenHigh && P > High) return P - High;
  return 0;
}

}  // namespace

namespace {

// Calls Visit(I) for each set bit I below Limit of the words Bits, in
// ascending order, and stops early when Visit returns false.
template <typename TVisit>
void ForEachSetBit(const std::vector<std::uint64_t>& Bits, int Limit, TVisit&& Visit) {
  const std::size_t Words = std::min(Bits.size(), (static_cast<std::size_t>(std::max(Limit, 0)) + 63) / 64);
  for (std::size_t W = 0; W < Words; ++W) {
    std::uint64_t Word = Bits[W];
    while (Word != 0) {
      const int I = static_cast<int>(W * 64) + std::countr_zero(Word);
      Word &= Word - 1;
      if (I >= Limit || !Visit(I)) return;
    }
  }
}

}  // namespace

bool TNearestIndex::SameKey(const TKey& A, const TKey& B) {
  return A.Generation == B.Generation && A.KindFilter == B.KindFilter && A.ClassFilter == B.ClassFilter &&
         A.Visibility == B.Visibility && SameTransform(A.Transform, B.Transform);
}

TNearestIndex::~TNearestIndex() { AbandonSort(); }

void TNearestIndex::AbandonSort() {
  if (!FSorting.valid()) return;
  FStopSorting.store(true, std::memory_order_relaxed);
  (void)CellsReady();
  FStopSorting.store(false, std::memory_order_relaxed);
}

bool TNearestIndex::CellsReady() {
  if (!FSorting.valid()) return FBuilt;
  try {
    if (!FSorting.get()) FBuilt = false;  // stopped half way
  } catch (...) {
    // The sort could not get its memory: the next search rebuilds.
    FBuilt = false;
    std::vector<std::int32_t>().swap(FOrder);
    std::vector<std::uint32_t>().swap(FStart);
  }
  return FBuilt;
}

void TNearestIndex::Reset() {
  AbandonSort();
  FBuilt = false;
  FPending = false;
  std::vector<TPixel>().swap(FPixels);
  std::vector<std::uint32_t>().swap(FStart);
  std::vector<std::int32_t>().swap(FOrder);
  std::vector<std::uint64_t>().swap(FQualifies);
}

std::size_t TNearestIndex::MemoryBytes() const {
  if (FSorting.valid()) FSorting.wait();
  return FPixels.capacity() * sizeof(TPixel) + FStart.capacity() * sizeof(std::uint32_t) +
         FOrder.capacity() * sizeof(std::int32_t) + FQualifies.capacity() * sizeof(std::uint64_t);
}

int TNearestIndex::Find(const TvxItemStore& Store, const TLayerTransform& Transform, const TPlotGeometry& Plot,
                        int MX, int MY, std::uint8_t KindFilter, std::uint8_t ClassFilter, const bool* LayerVisible,
                        double& Distance) {
  FLastIndexed = false;
  const int Count = Store.Count();
  if (KindFilter == KindFilterNone || Count < std::max(FMinItems, 1)) {
    // Small stores are searched plainly; an index left from a large one goes.
    if (FBuilt || !FPixels.empty()) Reset();
    return FindNearestInStore(Store.Data(), Count, Transform, MX, MY, KindFilter, ClassFilter, LayerVisible,
                              Distance);
  }
  TKey Key;
  Key.Generation = Store.Generation();
  Key.Transform = Transform;
  Key.KindFilter = KindFilter;
  Key.ClassFilter = ClassFilter;
  Key.Visibility = VisibilityBits(LayerVisible);

  const TKindTable KindOk = KindFilterTable(KindFilter);
  double Best = NoItemSquaredDistance;
  int Found = -1;
  // While the cells are still being sorted, the kept pixels answer instead:
  // an eighth of the bytes a linear search reads, and no waiting.
  const bool Sorting = FSorting.valid() && FSorting.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
  bool Usable = (Sorting || CellsReady()) && FBuilt && SameKey(Key, FKey);
  if (!Usable && FBuilt && Key.Generation == FKey.Generation && SameTransform(Transform, FKey.Transform)) {
    // Only the filters differ. A single search with other filters (a host
    // probing for another kind now and then) is answered linearly and keeps
    // the index; the same filters asked twice in a row get an index of their own.
    const bool Repeated = FPending && SameKey(Key, FPendingKey);
    FPending = !Repeated;
    FPendingKey = Key;
    if (!Repeated) {
      return FindNearestInStore(Store.Data(), Count, Transform, MX, MY, KindFilter, ClassFilter, LayerVisible,
                                Distance);
    }
  }
  if (Usable) {
    // Items below the lowest count the store had since the last look are
    // still the ones indexed; what lies above them is searched linearly.
    const int Low = Store.LowestCountSince(FVersion);
    Usable = Low >= 0;
    if (Usable) {
      FValidCount = std::min(FValidCount, Low);
      FVersion = Store.Version();
      Usable = Count - FValidCount <= MaxTail && FBuiltCount - FValidCount <= MaxTail;
    }
  }
  if (Usable) {
    FPending = false;
    if (Sorting)
      ScanPixels(MX, MY, FValidCount, Best, Found);
    else
      SearchGrid(MX, MY, FValidCount, Best, Found);
    // The tail's indices are all above the grid's, so its ties lose.
    ScanNearest(Store.Data(), FValidCount, Count, Transform, MX, MY, KindOk, ClassFilter, LayerVisible, Best, Found);
    FLastIndexed = true;
  } else {
    Build(Store, Key, Plot, KindOk, LayerVisible, MX, MY, Best, Found);
  }
  Distance = std::sqrt(Best);
  return Found;
}

void TNearestIndex::Build(const TvxItemStore& Store, const TKey& Key, const TPlotGeometry& Plot,
                          const TKindTable& KindOk, const bool* LayerVisible, int MX, int MY, double& Best,
                          int& Found) {
  // A sort still running for the previous build is of no use any more.
  AbandonSort();
  FBuilt = false;
  FPending = false;
  const int Count = Store.Count();
  const TvxChartItem* Items = Store.Data();
  FPixels.resize(static_cast<std::size_t>(Count));
  FQualifies.resize((static_cast<std::size_t>(Count) + 63) / 64);  // every word is written below

  // Pass 1: the linear search itself, keeping every qualifying pixel. It is
  // cut into pieces (whole words of qualifying bits, so pieces never share
  // memory) that both cores take in turn; the pieces' nearest items are
  // merged in index order, so ties still go to the lowest index.
  const int Piece = std::max(64, std::min(1 << 14, (Count / 32) & ~63));
  const int Pieces = (Count + Piece - 1) / Piece;
  std::vector<TPlaced> Placed(static_cast<std::size_t>(Pieces));
  std::atomic<int> Next{0};
  const std::function<void()> Work = [&] {
    for (int P = Next.fetch_add(1, std::memory_order_relaxed); P < Pieces;
         P = Next.fetch_add(1, std::memory_order_relaxed)) {
      const std::int64_t From = std::int64_t{P} * Piece, To = std::min<std::int64_t>(Count, From + Piece);
      Place(Items, static_cast<int>(From), static_cast<int>(To), Key, KindOk, LayerVisible, MX, MY,
            Placed[static_cast<std::size_t>(P)]);
    }
  };
  if (Count >= FMinTwoCoreItems)
    RunShared(Work);
  else
    Work();
  std::int64_t MinX = std::numeric_limits<std::int64_t>::max(), MaxX = std::numeric_limits<std::int64_t>::min();
  std::int64_t MinY = MinX, MaxY = MaxX;
  int Qualifying = 0;
  for (const TPlaced& P : Placed) {
    if (P.Best < Best) {
      Best = P.Best;
      Found = P.Found;
    }
    MinX = std::min(MinX, P.MinX);
    MaxX = std::max(MaxX, P.MaxX);
    MinY = std::min(MinY, P.MinY);
    MaxY = std::max(MaxY, P.MaxY);
    Qualifying += P.Qualifying;
  }
  if (Qualifying == 0) MinX = MaxX = MinY = MaxY = 0;
  ChooseGrid(MinX, MaxX, MinY, MaxY, Plot, Qualifying);

  FKey = Key;
  FVersion = Store.Version();
  FValidCount = Count;
  FBuiltCount = Count;
  FBuilt = true;
  if (Count >= FMinBackgroundItems) {
    try {
      FSorting = std::async(std::launch::async, [this, Count, Qualifying] { return SortIntoCells(Count, Qualifying); });
      return;
    } catch (const std::system_error&) {
      // No thread to be had: sort here.
    }
  }
  try {
    (void)SortIntoCells(Count, Qualifying);
  } catch (const std::bad_alloc&) {
    FBuilt = false;  // answered already; the next search tries again
  }
}

void TNearestIndex::Place(const TvxChartItem* Items, int Begin, int End, const TKey& Key, const TKindTable& KindOk,
                          const bool* LayerVisible, int MX, int MY, TPlaced& Out) {
  const TLayerTransform& T = Key.Transform;
  TPlaced P;
  // Each word of bits is gathered locally and stored once.
  for (int WordBegin = Begin; WordBegin < End; WordBegin += 64) {
    const int WordEnd = std::min(End, WordBegin + 64);
    std::uint64_t Bits = 0;
    for (int I = WordBegin; I < WordEnd; ++I) {
      const TvxChartItem& Item = Items[I];
      if (!ItemQualifies(Item, KindOk, Key.ClassFilter, LayerVisible)) continue;
      const int PX = T.PixelX(Item.X);
      const int PY = T.PixelY(Item.Y);
      FPixels[static_cast<std::size_t>(I)] = {PX, PY};
      Bits |= std::uint64_t{1} << (I - WordBegin);
      ++P.Qualifying;
      P.MinX = std::min<std::int64_t>(P.MinX, PX);
      P.MaxX = std::max<std::int64_t>(P.MaxX, PX);
      P.MinY = std::min<std::int64_t>(P.MinY, PY);
      P.MaxY = std::max<std::int64_t>(P.MaxY, PY);
      const double D2 = PixelDistance2(PX, PY, MX, MY);
      if (D2 < P.Best) {
        P.Best = D2;
        P.Found = I;
      }
    }
    FQualifies[static_cast<std::size_t>(WordBegin) >> 6] = Bits;
  }
  Out = P;
}

bool TNearestIndex::SortIntoCells(int Count, int Qualifying) {
  // Then a stable counting sort of the qualifying items by cell, so each cell
  // lists its items in ascending index order. Sorting by row first and then
  // by column within each row keeps both passes' writes within a few cache
  // lines at a time; one pass over all cells at once would scatter them over
  // the whole grid.
  const auto Rows = static_cast<std::size_t>(FRows), Cols = static_cast<std::size_t>(FCols);
  // A sort on another thread stops early once a new build wants the arrays.
  auto Stopped = [this] { return FStopSorting.load(std::memory_order_relaxed); };
  auto ForEachQualifying = [this, Count, &Stopped](auto&& Visit) {
    int Seen = 0;
    ForEachSetBit(FQualifies, Count, [&](int I) {
      if ((++Seen & 16383) == 0 && Stopped()) return false;
      Visit(I);
      return true;
    });
  };
  std::vector<std::uint32_t> RowStart(Rows + 1, 0);
  ForEachQualifying([&](int I) {
    ++RowStart[static_cast<std::size_t>(CellY(FPixels[static_cast<std::size_t>(I)].Y)) + 1];
  });
  if (Stopped()) return false;
  for (std::size_t R = 0; R < Rows; ++R) RowStart[R + 1] += RowStart[R];
  FOrder.resize(static_cast<std::size_t>(Qualifying));
  std::vector<std::uint32_t> Column(static_cast<std::size_t>(Qualifying));
  {
    std::vector<std::uint32_t> RowPos(RowStart.begin(), RowStart.end() - 1);
    ForEachQualifying([&](int I) {
      const TPixel P = FPixels[static_cast<std::size_t>(I)];
      const std::uint32_t K = RowPos[static_cast<std::size_t>(CellY(P.Y))]++;
      FOrder[K] = I;
      Column[K] = static_cast<std::uint32_t>(CellX(P.X));
    });
  }
  if (Stopped()) return false;
  FStart.assign(Rows * Cols + 1, 0);
  std::uint32_t Longest = 0;
  for (std::size_t R = 0; R < Rows; ++R) {
    Longest = std::max(Longest, RowStart[R + 1] - RowStart[R]);
    for (std::uint32_t K = RowStart[R]; K < RowStart[R + 1]; ++K) ++FStart[R * Cols + Column[K] + 1];
  }
  for (std::size_t C = 0; C < Rows * Cols; ++C) FStart[C + 1] += FStart[C];
  std::vector<std::int32_t> Scratch(Longest);
  std::vector<std::uint32_t> Cursor(Cols);
  for (std::size_t R = 0; R < Rows; ++R) {
    if ((R & 63) == 0 && Stopped()) return false;
    const std::uint32_t Begin = RowStart[R], End = RowStart[R + 1];
    if (Begin == End) continue;
    std::copy_n(FStart.begin() + static_cast<std::ptrdiff_t>(R * Cols), Cols, Cursor.begin());
    for (std::uint32_t K = Begin; K < End; ++K) Scratch[Cursor[Column[K]]++ - Begin] = FOrder[K];
    std::copy_n(Scratch.begin(), End - Begin, FOrder.begin() + Begin);
  }
  return true;
}

void TNearestIndex::ChooseGrid(std::int64_t MinX, std::int64_t MaxX, std::int64_t MinY, std::int64_t MaxY,
                               const TPlotGeometry& Plot, int Qualifying) {
  // The grid spans the items inside the plot: queries there must be fast.
  // Items outside it share the border cells; an axis whose items all lie
  // outside the plot takes the items' own span.
  auto Span = [](std::int64_t& Low, std::int64_t& High, std::int64_t PlotLow, std::int64_t PlotHigh) {
    if (PlotHigh <= PlotLow) return;
    const std::int64_t L = std::max(Low, PlotLow);
    const std::int64_t H = std::min(High, PlotHigh);
    if (L <= H) {
      Low = L;
      High = H;
    }
  };
  Span(MinX, MaxX, Plot.PlotLeft(), Plot.PlotRight64());
  Span(MinY, MaxY, Plot.PlotTop(), Plot.PlotBottom64());
  const std::int64_t W = MaxX - MinX + 1;  // at most 2^32 - 1
  const std::int64_t H = MaxY - MinY + 1;
  // About two items per cell, cells about square, never more cells than that.
  const double Target = std::max(1.0, Qualifying / 2.0);
  const double Wd = static_cast<double>(W), Hd = static_cast<double>(H);
  double Cols = std::clamp(std::round(std::sqrt(Target * Wd / Hd)), 1.0, std::min(Wd, Target));
  double Rows = std::clamp(std::floor(Target / Cols), 1.0, Hd);
  FSX = static_cast<std::uint32_t>(std::ceil(Wd / Cols));
  FSY = static_cast<std::uint32_t>(std::ceil(Hd / Rows));
  FCols = static_cast<int>((W + FSX - 1) / FSX);
  FRows = static_cast<int>((H + FSY - 1) / FSY);
  FInvSX = 1.0 / FSX;
  FInvSY = 1.0 / FSY;
  FX0 = MinX;
  FY0 = MinY;
}

namespace {

// D / Size for 0 < D < 2^32, by a multiplication: a division per item and
// axis would cost the build more than the transform does. The product is off
// by at most one and corrected exactly.
inline std::int64_t CellOfOffset(std::int64_t D, std::int64_t Size, double InvSize) {
  auto C = static_cast<std::int64_t>(static_cast<double>(D) * InvSize);
  if (C * Size > D)
    --C;
  else if ((C + 1) * Size <= D)
    ++C;
  return C;
}

}  // namespace

inline int TNearestIndex::CellX(std::int64_t PX) const {
  const std::int64_t D = PX - FX0;
  if (D <= 0) return 0;
  const std::int64_t C = CellOfOffset(D, FSX, FInvSX);
  return C >= FCols ? FCols - 1 : static_cast<int>(C);
}

inline int TNearestIndex::CellY(std::int64_t PY) const {
  const std::int64_t D = PY - FY0;
  if (D <= 0) return 0;
  const std::int64_t C = CellOfOffset(D, FSY, FInvSY);
  return C >= FRows ? FRows - 1 : static_cast<int>(C);
}

void TNearestIndex::SearchCell(int CX, int CY, int MX, int MY, int Limit, double& Best, int& Found) const {
  const std::size_t Cell =
      static_cast<std::size_t>(CY) * static_cast<std::size_t>(FCols) + static_cast<std::size_t>(CX);
  const std::uint32_t Begin = FStart[Cell], End = FStart[Cell + 1];
  if (Begin == End) return;
  // Skip a cell that lies farther than the best so far (the border cells
  // reach on outwards).
  const std::int64_t Left = FX0 + std::int64_t{CX} * FSX, Top = FY0 + std::int64_t{CY} * FSY;
  const std::int64_t GX = GapTo(MX, Left, Left + FSX - 1, CX == 0, CX == FCols - 1);
  const std::int64_t GY = GapTo(MY, Top, Top + FSY - 1, CY == 0, CY == FRows - 1);
  if (PixelDistance2(GX, GY, 0, 0) > Best) return;
  for (std::uint32_t K = Begin; K < End; ++K) {
    const int I = FOrder[K];
    if (I >= Limit) continue;
    const TPixel P = FPixels[static_cast<std::size_t>(I)];
    const double D2 = PixelDistance2(P.X, P.Y, MX, MY);
    // Cells are not visited in index order: equal distances go to the lower index.
    if (D2 < Best || (D2 == Best && I < Found)) {
      Best = D2;
      Found = I;
    }
  }
}

void TNearestIndex::ScanPixels(int MX, int MY, int Limit, double& Best, int& Found) const {
  ForEachSetBit(FQualifies, Limit, [&](int I) {
    const TPixel P = FPixels[static_cast<std::size_t>(I)];
    const double D2 = PixelDistance2(P.X, P.Y, MX, MY);
    if (D2 < Best) {
      Best = D2;
      Found = I;
    }
    return true;
  });
}

void TNearestIndex::SearchGrid(int MX, int MY, int Limit, double& Best, int& Found) const {
  const int QX = CellX(MX), QY = CellY(MY);
  const int MaxRing = std::max(std::max(QX, FCols - 1 - QX), std::max(QY, FRows - 1 - QY));
  for (int R = 0; R <= MaxRing; ++R) {
    if (R > 0) {
      // Every cell of this ring and the ones beyond lies at least Gap away
      // in x or in y: past column QX - R or QX + R, or row QY - R or QY + R.
      std::int64_t Gap = std::numeric_limits<std::int64_t>::max();
      if (QX - R >= 0) Gap = std::min(Gap, std::max<std::int64_t>(0, MX - (FX0 + std::int64_t{QX - R + 1} * FSX - 1)));
      if (QX + R < FCols) Gap = std::min(Gap, std::max<std::int64_t>(0, FX0 + std::int64_t{QX + R} * FSX - MX));
      if (QY - R >= 0) Gap = std::min(Gap, std::max<std::int64_t>(0, MY - (FY0 + std::int64_t{QY - R + 1} * FSY - 1)));
      if (QY + R < FRows) Gap = std::min(Gap, std::max<std::int64_t>(0, FY0 + std::int64_t{QY + R} * FSY - MY));
      // Strictly farther only: an item at the same distance may have a lower index.
      if (GapSquared(Gap) > Best) break;
    }
    const int X0 = std::max(QX - R, 0), X1 = std::min(QX + R, FCols - 1);
    if (QY - R >= 0)
      for (int CX = X0; CX <= X1; ++CX) SearchCell(CX, QY - R, MX, MY, Limit, Best, Found);
    if (R > 0 && QY + R < FRows)
      for (int CX = X0; CX <= X1; ++CX) SearchCell(CX, QY + R, MX, MY, Limit, Best, Found);
    const int Y0 = std::max(QY - R + 1, 0), Y1 = std::min(QY + R - 1, FRows - 1);
    if (R > 0) {
      if (QX - R >= 0)
        for (int CY = Y0; CY <= Y1; ++CY) SearchCell(QX - R, CY, MX, MY, Limit, Best, Found);
      if (QX + R < FCols)
        for (int CY = Y0; CY <= Y1; ++CY) SearchCell(QX + R, CY, MX, MY, Limit, Best, Found);
    }
  }
}

}  // namespace zkw
