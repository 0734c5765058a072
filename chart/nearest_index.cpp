#include "chart/nearest_index.h"

#include <algorithm>
#include <bit>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <system_error>

#include "platform/two_cores.h"

namespace zkw {

namespace {

std::uint32_t VisibilityBits(const bool* LayerVisible) {
  if (LayerVisible == nullptr) return 0;
  std::uint32_t Bits = 1u << LayerCount;
  for (int L = 0; L < LayerCount; ++L)
    if (LayerVisible[L]) Bits |= 1u << L;
  return Bits;
}

// Whether the transform's pixels are monotone in each coordinate, which the
// tree's pruning relies on: finite factors and offsets, and the double-precision
// shortcut (where it is on) agreeing with the exact path as Make sets it up.
bool AxisIndexable(Extended Factor, Extended Offset, bool Log, bool Quick, double FactorD, double OffsetD) {
  if (!std::isfinite(Factor) || !std::isfinite(Offset)) return false;
  if (!Quick) return true;
  return !Log && FactorD == static_cast<double>(Factor) && OffsetD == static_cast<double>(Offset) &&
         std::fabs(OffsetD) <= 0x1p29;
}

bool Indexable(const TLayerTransform& T) {
  return AxisIndexable(T.XFactor, T.XOffset, T.XLog, T.XQuick, T.XFactorD, T.XOffsetD) &&
         AxisIndexable(T.YFactor, T.YOffset, T.YLog, T.YQuick, T.YFactorD, T.YOffsetD);
}

// Logarithmic axes place every value up to this one on the floor pixel.
constexpr double LogThreshold = 1e-100;

// How one axis maps a span of world values to a span of pixels for the
// current transform. Pixels are monotone in the value, so the span's ends give
// the pixel span; a logarithmic axis adds the floor pixel for values up to
// the threshold and widens by a little slack, as the logarithm is not
// guaranteed to be correctly rounded.
class TAxisSpan {
 public:
  TAxisSpan(const TLayerTransform& T, bool IsX) : FT(T), FIsX(IsX), FLog(IsX ? T.XLog : T.YLog) {
    if (!FLog) return;
    FFloor = Pixel(0.0);
    FAbove = std::nextafter(LogThreshold, 1.0);
    // One pixel, and more for factors so large that a few units in the last
    // place of the logarithm come to a pixel.
    const double F = std::fabs(static_cast<double>(IsX ? T.XFactor : T.YFactor));
    const double S = 1.0 + std::ceil(F * 1e-15);
    FSlack = S < 0x1p32 ? static_cast<std::int64_t>(S) : std::int64_t{1} << 32;
  }
  std::int64_t Pixel(double V) const { return FIsX ? FT.PixelX(V) : FT.PixelY(V); }
  void Span(double Low, double High, std::int64_t& P0, std::int64_t& P1) const {
    if (!FLog) {
      const std::int64_t A = Pixel(Low), B = Pixel(High);
      P0 = std::min(A, B);
      P1 = std::max(A, B);
      return;
    }
    P0 = std::numeric_limits<std::int64_t>::max();
    P1 = std::numeric_limits<std::int64_t>::min();
    if (Low <= LogThreshold) P0 = P1 = FFloor;
    if (High > LogThreshold) {
      const std::int64_t A = Pixel(std::max(Low, FAbove)), B = Pixel(High);
      P0 = std::min(P0, std::min(A, B) - FSlack);
      P1 = std::max(P1, std::max(A, B) + FSlack);
    }
  }

 private:
  const TLayerTransform& FT;
  bool FIsX;
  bool FLog;
  std::int64_t FFloor = 0;
  double FAbove = 0;
  std::int64_t FSlack = 0;
};

// Pixels between P and the span P0..P1 (0 inside it).
std::int64_t GapTo(std::int64_t P, std::int64_t P0, std::int64_t P1) {
  return P < P0 ? P0 - P : P > P1 ? P - P1 : 0;
}

// The coordinate as the split choice measures spreads: on an axis shown
// logarithmically when the tree was built, its logarithm.
double Measure(double V, bool Log) {
  if (!Log) return V;
  return std::log(V > LogThreshold ? V : LogThreshold);
}

}  // namespace

struct TNearestIndex::TTree {
  // The points in tree order (node K's are one run) and their item indices.
  std::unique_ptr<TPoint[]> Points;
  std::unique_ptr<std::int32_t[]> Ids;
  std::size_t PointCapacity = 0;
  int Count = 0;
  int Depth = 0;              // of the leaves; the root is at 0
  std::vector<TNode> Nodes;   // node K's children are 2K+1 and 2K+2
  std::vector<TEntry> Loose;  // items with a NaN or infinite coordinate

  std::size_t Bytes() const {
    return PointCapacity * sizeof(TPoint) + static_cast<std::size_t>(Count) * sizeof(std::int32_t) +
           Nodes.capacity() * sizeof(TNode) + Loose.capacity() * sizeof(TEntry);
  }
};

// A build of a tree. The caller's thread fills the input and reads the
// result once the build has ended; the builder touches nothing else.
struct TNearestIndex::TJob {
  // Set by the caller's thread only.
  TKey Key;
  std::uint64_t Version = 0;  // the store's version the points were taken at
  int ValidCount = 0;         // items unchanged since
  int Count = 0;              // the store's count then
  // Input: the points of a first build, each piece of Piece items having
  // written its qualifying items' points from its first position on, and
  // one bit per item telling whether it qualifies...
  std::unique_ptr<TPoint[]> Points;
  std::size_t PointCapacity = 0;
  std::unique_ptr<std::uint64_t[]> Qualifies;
  int Piece = 64;
  // ... or a kept tree's points below BaseLimit and the points past them.
  std::shared_ptr<const TTree> Base;
  int BaseLimit = 0;
  std::vector<TEntry> Tail;
  std::shared_ptr<const TTree> Retired;  // a tree out of use, to be freed by the builder
  bool LogX = false, LogY = false;  // the axes shown logarithmically: the splits measure spreads so
  std::atomic<bool> Stop{false};
  // Output, when the build ran to its end and had its memory.
  std::unique_ptr<TTree> Result;

  void Run();

 private:
  bool Stopped() const { return Stop.load(std::memory_order_relaxed); }
  bool Split(TTree& Tree, int K, int Lo, int Hi, int Depth);
  double Spread(const TPoint* P, int Lo, int Hi, bool Y) const;
  double FScaleX = 1, FScaleY = 1;
};

namespace {

// Orders P[Lo..Hi-1] and their Ids alike so that position Mid holds what a
// sort by x (or y) would put there, nothing above it before and nothing below
// it after. Hoare partitions around the median of three; a run that keeps
// splitting badly is sorted instead.
template <bool ByY, typename TPointType>
void SelectPoints(TPointType* P, std::int32_t* Ids, int Lo, int Hi, int Mid) {
  auto Key = [P](int I) { return ByY ? P[I].Y : P[I].X; };
  auto Swap = [P, Ids](int A, int B) {
    std::swap(P[A], P[B]);
    std::swap(Ids[A], Ids[B]);
  };
  int Rounds = 0;
  const int MaxRounds = 2 * std::bit_width(static_cast<unsigned>(Hi - Lo)) + 16;
  while (Hi - Lo > 16) {
    if (++Rounds > MaxRounds) {
      // Pivots that keep missing: sort an order of the run instead, which is
      // O(n log n) whatever the values.
      std::vector<int> Order(static_cast<std::size_t>(Hi - Lo));
      for (int I = Lo; I < Hi; ++I) Order[static_cast<std::size_t>(I - Lo)] = I;
      std::sort(Order.begin(), Order.end(), [&](int A, int B) { return Key(A) < Key(B); });
      std::vector<TPointType> PS(Order.size());
      std::vector<std::int32_t> IS(Order.size());
      for (std::size_t K = 0; K < Order.size(); ++K) {
        PS[K] = P[Order[K]];
        IS[K] = Ids[Order[K]];
      }
      std::copy(PS.begin(), PS.end(), P + Lo);
      std::copy(IS.begin(), IS.end(), Ids + Lo);
      return;
    }
    const double A = Key(Lo), B = Key(Lo + (Hi - Lo) / 2), C = Key(Hi - 1);
    const double Pivot = std::max(std::min(A, B), std::min(std::max(A, B), C));
    // Both scans stop at values equal to the pivot, so runs of equal values
    // are split evenly; the pivot is one of the values, so neither scan
    // leaves the run.
    int I = Lo - 1, J = Hi;
    for (;;) {
      do ++I;
      while (Key(I) < Pivot);
      do --J;
      while (Key(J) > Pivot);
      if (I >= J) break;
      Swap(I, J);
    }
    // Lo..J hold no value above the pivot, J+1..Hi-1 none below it.
    if (Mid <= J)
      Hi = J + 1;
    else
      Lo = J + 1;
  }
  for (int I = Lo + 1; I < Hi; ++I)
    for (int J = I; J > Lo && Key(J) < Key(J - 1); --J) Swap(J, J - 1);
}

}  // namespace

void TNearestIndex::TJob::Run() {
  Retired.reset();
  try {
    auto Tree = std::make_unique<TTree>();
    std::size_t N = 0;
    if (Base) {
      const std::size_t Most = static_cast<std::size_t>(Base->Count) + Base->Loose.size() + Tail.size();
      Tree->Points = std::make_unique_for_overwrite<TPoint[]>(Most);
      Tree->Ids = std::make_unique_for_overwrite<std::int32_t[]>(Most);
      Tree->PointCapacity = Most;
      TPoint* P = Tree->Points.get();
      std::int32_t* Ids = Tree->Ids.get();
      auto Add = [&](double X, double Y, std::int32_t I) {
        P[N] = {X, Y};
        Ids[N++] = I;
      };
      for (int I = 0; I < Base->Count; ++I)
        if (Base->Ids[static_cast<std::size_t>(I)] < BaseLimit)
          Add(Base->Points[static_cast<std::size_t>(I)].X, Base->Points[static_cast<std::size_t>(I)].Y,
              Base->Ids[static_cast<std::size_t>(I)]);
      for (const TEntry& E : Base->Loose)
        if (E.Index < BaseLimit) Add(E.X, E.Y, E.Index);
      for (const TEntry& E : Tail) Add(E.X, E.Y, E.Index);
      Base.reset();
      std::vector<TEntry>().swap(Tail);
    } else {
      // The pieces' runs moved together; the k-th point is the k-th item whose bit is set.
      const std::size_t Words = (static_cast<std::size_t>(Count) + 63) / 64;
      std::size_t Total = 0;
      for (std::size_t W = 0; W < Words; ++W) Total += static_cast<std::size_t>(std::popcount(Qualifies[W]));
      Tree->Ids = std::make_unique_for_overwrite<std::int32_t[]>(Total);
      TPoint* P = Points.get();
      const std::size_t WordsPerPiece = static_cast<std::size_t>(Piece) / 64;
      for (std::size_t W = 0; W < Words; W += WordsPerPiece) {
        const std::size_t From = W * 64;
        std::size_t K = N;
        for (std::size_t V = W; V < std::min(Words, W + WordsPerPiece); ++V)
          for (std::uint64_t Bits = Qualifies[V]; Bits != 0; Bits &= Bits - 1)
            Tree->Ids[K++] = static_cast<std::int32_t>(V * 64 + static_cast<std::size_t>(std::countr_zero(Bits)));
        if (From != N) std::memmove(P + N, P + From, sizeof(TPoint) * (K - N));
        N = K;
      }
      Tree->Points = std::move(Points);
      Tree->PointCapacity = PointCapacity;
      Qualifies.reset();
    }
    if (Stopped()) return;
    // Points with a NaN or infinite coordinate go aside; the rest keep their order.
    TPoint* P = Tree->Points.get();
    std::int32_t* Ids = Tree->Ids.get();
    std::size_t Finite = 0;
    for (std::size_t I = 0; I < N; ++I) {
      if (std::isfinite(P[I].X) && std::isfinite(P[I].Y)) {
        P[Finite] = P[I];
        Ids[Finite++] = Ids[I];
      } else {
        Tree->Loose.push_back({P[I].X, P[I].Y, Ids[I]});
      }
    }
    Tree->Count = static_cast<int>(Finite);
    if (Tree->Count > 0) {
      while (((Tree->Count - 1) >> Tree->Depth) + 1 > LeafItems) ++Tree->Depth;
      Tree->Nodes.resize((std::size_t{2} << Tree->Depth) - 1);
      // Spreads are compared relative to the whole set's, so that axes in
      // unrelated units split about as a view framing the data would need.
      FScaleX = Spread(P, 0, Tree->Count, false);
      FScaleY = Spread(P, 0, Tree->Count, true);
      if (!(FScaleX > 0 && FScaleX < std::numeric_limits<double>::infinity())) FScaleX = 1;
      if (!(FScaleY > 0 && FScaleY < std::numeric_limits<double>::infinity())) FScaleY = 1;
      if (!Split(*Tree, 0, 0, Tree->Count, 0)) return;
    }
    Result = std::move(Tree);
  } catch (const std::bad_alloc&) {
    Result.reset();  // the index stays unbuilt; searches go on linearly
  }
}

double TNearestIndex::TJob::Spread(const TPoint* P, int Lo, int Hi, bool Y) const {
  const bool Log = Y ? LogY : LogX;
  auto Value = [&](int I) { return Y ? P[I].Y : P[I].X; };
  const int N = Hi - Lo;
  constexpr int Samples = 64;
  if (N <= Samples * 16) {
    // Small runs: the extent of up to 64 of their points, evenly spaced, is
    // close enough and spares the choice a pass over every run of every level.
    const int Step = std::max(1, N / Samples);
    double Low = Value(Lo), High = Low;
    for (int I = Lo + Step; I < Hi; I += Step) {
      Low = std::min(Low, Value(I));
      High = std::max(High, Value(I));
    }
    return Measure(High, Log) - Measure(Low, Log);
  }
  // Large runs: the spread of the middle nine tenths of a sample, which a
  // few far outliers do not blow up.
  double S[Samples];
  for (int K = 0; K < Samples; ++K)
    S[K] = Measure(Value(Lo + static_cast<int>(static_cast<std::int64_t>(N) * K / Samples)), Log);
  std::sort(S, S + Samples);
  return S[Samples - 4] - S[3];
}

bool TNearestIndex::TJob::Split(TTree& Tree, int K, int Lo, int Hi, int Depth) {
  TPoint* P = Tree.Points.get();
  std::int32_t* Ids = Tree.Ids.get();
  TNode& Node = Tree.Nodes[static_cast<std::size_t>(K)];
  if (Depth == Tree.Depth) {
    Node = {P[Lo].X, P[Lo].Y, P[Lo].X, P[Lo].Y, Ids[Lo]};
    for (int I = Lo + 1; I < Hi; ++I) {
      Node.X0 = std::min(Node.X0, P[I].X);
      Node.X1 = std::max(Node.X1, P[I].X);
      Node.Y0 = std::min(Node.Y0, P[I].Y);
      Node.Y1 = std::max(Node.Y1, P[I].Y);
      Node.Lowest = std::min(Node.Lowest, Ids[I]);
    }
    return true;
  }
  if (Hi - Lo > (1 << 14) && Stopped()) return false;
  // Split across the axis on which the points spread more, relative to the whole set.
  const double SX = Spread(P, Lo, Hi, false) / FScaleX, SY = Spread(P, Lo, Hi, true) / FScaleY;
  const int Mid = Lo + (Hi - Lo) / 2;
  if (SY > SX)
    SelectPoints<true>(P, Ids, Lo, Hi, Mid);
  else
    SelectPoints<false>(P, Ids, Lo, Hi, Mid);
  bool Done = true;
  if (Depth == 0 && Hi - Lo >= (1 << 16)) {
    // The halves share nothing: the second goes to a thread of its own, so a
    // caller idle between frames lends its core to the build.
    std::future<bool> Second;
    try {
      Second = std::async(std::launch::async, [&] { return Split(Tree, 2 * K + 2, Mid, Hi, Depth + 1); });
    } catch (const std::system_error&) {
    }
    Done = Split(Tree, 2 * K + 1, Lo, Mid, Depth + 1);
    Done = (Second.valid() ? Second.get() : Split(Tree, 2 * K + 2, Mid, Hi, Depth + 1)) && Done;
  } else {
    Done = Split(Tree, 2 * K + 1, Lo, Mid, Depth + 1) && Split(Tree, 2 * K + 2, Mid, Hi, Depth + 1);
  }
  if (!Done) return false;
  const TNode& A = Tree.Nodes[static_cast<std::size_t>(2 * K + 1)];
  const TNode& B = Tree.Nodes[static_cast<std::size_t>(2 * K + 2)];
  Node = {std::min(A.X0, B.X0), std::min(A.Y0, B.Y0), std::max(A.X1, B.X1), std::max(A.Y1, B.Y1),
          std::min(A.Lowest, B.Lowest)};
  return true;
}

// One search through a tree: the nearest item below Limit to (MX, MY) by
// (squared pixel distance, index), on top of (Best, Found).
struct TNearestIndex::TSearch {
  const TTree& Tree;
  const TLayerTransform& T;
  TAxisSpan AX;
  TAxisSpan AY;
  std::int64_t MX, MY;
  int Limit;
  double Best;
  int Found;

  TSearch(const TTree& Tree, const TLayerTransform& T, int MX, int MY, int Limit, double Best, int Found)
      : Tree(Tree), T(T), AX(T, true), AY(T, false), MX(MX), MY(MY), Limit(Limit), Best(Best), Found(Found) {}

  bool Better(double D2, int I) const { return D2 < Best || (D2 == Best && I < Found); }

  // The least squared distance any point of node K can have, and whether all
  // its points fall on one pixel (then that is their distance).
  struct TBound {
    double D2;
    int Lowest;
    bool OnePixel;
  };
  TBound Bound(int K) const {
    const TNode& N = Tree.Nodes[static_cast<std::size_t>(K)];
    std::int64_t X0, X1, Y0, Y1;
    AX.Span(N.X0, N.X1, X0, X1);
    AY.Span(N.Y0, N.Y1, Y0, Y1);
    return {PixelDistance2(GapTo(MX, X0, X1), GapTo(MY, Y0, Y1), 0, 0), N.Lowest, X0 == X1 && Y0 == Y1};
  }

  // Visits node K (points Lo..Hi-1, at Depth) when it may hold a better item.
  void Consider(const TBound& B, int K, int Lo, int Hi, int Depth) {
    // A node with no item below Limit, or none that can beat the best so far, is skipped.
    if (B.Lowest >= Limit || !Better(B.D2, B.Lowest)) return;
    if (B.OnePixel) {
      // All its points are equally near: the lowest index wins.
      Best = B.D2;
      Found = B.Lowest;
      return;
    }
    if (Depth == Tree.Depth) {
      for (int I = Lo; I < Hi; ++I) {
        const int Id = Tree.Ids[static_cast<std::size_t>(I)];
        if (Id >= Limit) continue;
        const TPoint& P = Tree.Points[static_cast<std::size_t>(I)];
        const double D2 = PixelDistance2(T.PixelX(P.X), T.PixelY(P.Y), MX, MY);
        if (Better(D2, Id)) {
          Best = D2;
          Found = Id;
        }
      }
      return;
    }
    const int Mid = Lo + (Hi - Lo) / 2;
    const TBound A = Bound(2 * K + 1), C = Bound(2 * K + 2);
    // The more promising child first: its best then prunes the other.
    if (C.D2 < A.D2 || (C.D2 == A.D2 && C.Lowest < A.Lowest)) {
      Consider(C, 2 * K + 2, Mid, Hi, Depth + 1);
      Consider(A, 2 * K + 1, Lo, Mid, Depth + 1);
    } else {
      Consider(A, 2 * K + 1, Lo, Mid, Depth + 1);
      Consider(C, 2 * K + 2, Mid, Hi, Depth + 1);
    }
  }

  void Run() {
    for (const TEntry& E : Tree.Loose) {
      if (E.Index >= Limit) continue;
      const double D2 = PixelDistance2(T.PixelX(E.X), T.PixelY(E.Y), MX, MY);
      if (Better(D2, E.Index)) {
        Best = D2;
        Found = E.Index;
      }
    }
    if (Tree.Count > 0) Consider(Bound(0), 0, 0, Tree.Count, 0);
  }
};

TNearestIndex::~TNearestIndex() {
  AbandonBuild();
  for (std::future<void>& F : FStopped) F.wait();
}

void TNearestIndex::AbandonBuild() {
  if (FJob) {
    FJob->Stop.store(true, std::memory_order_relaxed);
    FJob.reset();
    if (FBuilding.valid()) FStopped.push_back(std::move(FBuilding));
  }
  // Builds stopped before that have ended by now are let go.
  std::erase_if(FStopped, [](const std::future<void>& F) {
    return F.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  });
}

void TNearestIndex::Reset() {
  AbandonBuild();
  FTree.reset();
  FPending = false;
}

void TNearestIndex::WaitForBuild() const {
  if (FBuilding.valid()) FBuilding.wait();
}

std::size_t TNearestIndex::MemoryBytes() const {
  WaitForBuild();
  std::size_t Bytes = FTree ? FTree->Bytes() : 0;
  if (FJob && FJob->Result) Bytes += FJob->Result->Bytes();
  return Bytes;
}

void TNearestIndex::TakeFinishedBuild() {
  if (!FJob) return;
  if (FBuilding.valid()) {
    if (FBuilding.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    FBuilding.get();
  }
  const std::shared_ptr<TJob> Job = std::move(FJob);
  if (!Job->Result) return;  // out of memory: the tree in use, if any, stays
  FTree = std::move(Job->Result);
  FKey = Job->Key;
  FVersion = Job->Version;
  FValidCount = Job->ValidCount;
  FBuiltCount = Job->Count;
}

bool TNearestIndex::Follow(const TvxItemStore& Store, std::uint64_t& Version, int& ValidCount) {
  // Items below the lowest count the store had since the last look are
  // still the ones indexed.
  const int Low = Store.LowestCountSince(Version);
  if (Low < 0) return false;
  ValidCount = std::min(ValidCount, Low);
  Version = Store.Version();
  return true;
}

void TNearestIndex::Start(std::shared_ptr<TJob> Job, int Count) {
  FJob = Job;
  if (Count >= FMinBackgroundItems) {
    try {
      FBuilding = std::async(std::launch::async, [Job] { Job->Run(); });
      return;
    } catch (const std::system_error&) {
      // No thread to be had: build here.
    }
  }
  Job->Run();
  TakeFinishedBuild();
}

int TNearestIndex::Find(const TvxItemStore& Store, const TLayerTransform& Transform, int MX, int MY,
                        std::uint8_t KindFilter, std::uint8_t ClassFilter, const bool* LayerVisible,
                        double& Distance) {
  FLastIndexed = false;
  const int Count = Store.Count();
  if (KindFilter == KindFilterNone || Count < std::max(FMinItems, 1)) {
    // Small stores are searched plainly; an index left from a large one goes.
    if (FTree || FJob) Reset();
    return FindNearestInStore(Store.Data(), Count, Transform, MX, MY, KindFilter, ClassFilter, LayerVisible,
                              Distance);
  }
  // A transform the tree cannot bound (a factor out of range) is answered
  // plainly; the index waits for the next one.
  if (!Indexable(Transform))
    return FindNearestInStore(Store.Data(), Count, Transform, MX, MY, KindFilter, ClassFilter, LayerVisible,
                              Distance);
  TKey Key;
  Key.Generation = Store.Generation();
  Key.KindFilter = KindFilter;
  Key.ClassFilter = ClassFilter;
  Key.Visibility = VisibilityBits(LayerVisible);
  TakeFinishedBuild();

  bool TreeFits = FTree && FKey == Key;
  bool JobFits = FJob && FJob->Key == Key;
  if (!TreeFits && !JobFits && (FTree || FJob) && Key.Generation == (FJob ? FJob->Key : FKey).Generation) {
    // Only the filters differ. A single search with other filters (a host
    // probing for another kind now and then) is answered linearly and keeps
    // the index; the same filters asked twice in a row get an index of their own.
    const bool Repeated = FPending && FPendingKey == Key;
    FPending = !Repeated;
    FPendingKey = Key;
    if (!Repeated)
      return FindNearestInStore(Store.Data(), Count, Transform, MX, MY, KindFilter, ClassFilter, LayerVisible,
                                Distance);
  }
  if (TreeFits && !Follow(Store, FVersion, FValidCount)) {
    TreeFits = false;
    FTree.reset();
  }
  if (JobFits && !Follow(Store, FJob->Version, FJob->ValidCount)) {
    JobFits = false;
    AbandonBuild();
  }
  const TKindTable KindOk = KindFilterTable(KindFilter);
  double Best = NoItemSquaredDistance;
  int Found = -1;
  if (TreeFits) {
    FPending = false;
    TSearch Search(*FTree, Transform, MX, MY, FValidCount, Best, Found);
    Search.Run();
    Best = Search.Best;
    Found = Search.Found;
    // The tail's indices are all above the tree's, so its ties lose.
    ScanNearest(Store.Data(), FValidCount, Count, Transform, MX, MY, KindOk, ClassFilter, LayerVisible, Best, Found);
    FLastIndexed = true;
    // A long tail, or a tree holding many items the store has dropped, gets a
    // new tree, built while this one serves.
    const int Limit = RebuildTail(FBuiltCount);
    if (!FJob && (Count - FValidCount > Limit || FBuiltCount - FValidCount > Limit))
      BuildOnTree(Store, Transform, KindOk, LayerVisible);
  } else if (JobFits) {
    // The tree is still being built: the plain search, rather than waiting.
    FPending = false;
    ScanNearest(Store.Data(), 0, Count, Transform, MX, MY, KindOk, ClassFilter, LayerVisible, Best, Found);
  } else {
    BuildFull(Store, Key, Transform, KindOk, LayerVisible, MX, MY, Best, Found);
  }
  Distance = std::sqrt(Best);
  return Found;
}

void TNearestIndex::BuildFull(const TvxItemStore& Store, const TKey& Key, const TLayerTransform& T,
                              const TKindTable& KindOk, const bool* LayerVisible, int MX, int MY, double& Best,
                              int& Found) {
  AbandonBuild();
  FPending = false;
  const int Count = Store.Count();
  const TvxChartItem* Items = Store.Data();
  auto Job = std::make_shared<TJob>();
  Job->Key = Key;
  Job->Version = Store.Version();
  Job->ValidCount = Count;
  Job->Count = Count;
  Job->LogX = T.XLog;
  Job->LogY = T.YLog;
  // The points go into the dropped tree's memory when no build may still
  // read it: fresh pages cost the pass more than writing the points does.
  if (FTree && FStopped.empty() && FTree.use_count() == 1 &&
      FTree->PointCapacity >= static_cast<std::size_t>(Count)) {
    auto& Old = const_cast<TTree&>(*FTree);
    Job->Points = std::move(Old.Points);
    Job->PointCapacity = Old.PointCapacity;
  }
  // The rest of the old tree is freed by the builder, off the caller's thread.
  Job->Retired = std::move(FTree);
  try {
    if (!Job->Points) {
      Job->Points = std::make_unique_for_overwrite<TPoint[]>(static_cast<std::size_t>(Count));
      Job->PointCapacity = static_cast<std::size_t>(Count);
    }
    Job->Qualifies = std::make_unique_for_overwrite<std::uint64_t[]>((static_cast<std::size_t>(Count) + 63) / 64);
  } catch (const std::bad_alloc&) {
    ScanNearest(Items, 0, Count, T, MX, MY, KindOk, Key.ClassFilter, LayerVisible, Best, Found);
    return;
  }

  // The linear search itself, keeping every qualifying item's point and
  // bit. It is cut into pieces of whole words of bits, each writing its
  // points from its own first position on, so pieces never share memory;
  // both cores take them in turn. The pieces' nearest items are merged in
  // index order, so ties still go to the lowest index.
  struct TPlaced {
    double Best = NoItemSquaredDistance;
    int Found = -1;
  };
  const int Piece = std::max(64, std::min(1 << 14, (Count / 32) & ~63));
  const int Pieces = (Count + Piece - 1) / Piece;
  Job->Piece = Piece;
  std::vector<TPlaced> Placed(static_cast<std::size_t>(Pieces));
  TPoint* Points = Job->Points.get();
  std::uint64_t* Qualifies = Job->Qualifies.get();
  const std::uint8_t ClassFilter = Key.ClassFilter;
  std::atomic<int> Next{0};
  const std::function<void()> Work = [&] {
    for (int P = Next.fetch_add(1, std::memory_order_relaxed); P < Pieces;
         P = Next.fetch_add(1, std::memory_order_relaxed)) {
      const int From = static_cast<int>(std::int64_t{P} * Piece);
      const int To = static_cast<int>(std::min<std::int64_t>(Count, std::int64_t{From} + Piece));
      TPlaced R;
      TPoint* W = Points + From;
      for (int WordBegin = From; WordBegin < To; WordBegin += 64) {
        const int WordEnd = std::min(To, WordBegin + 64);
        std::uint64_t Bits = 0;
        for (int I = WordBegin; I < WordEnd; ++I) {
          const TvxChartItem& Item = Items[I];
          if (!ItemQualifies(Item, KindOk, ClassFilter, LayerVisible)) continue;
          *W++ = {Item.X, Item.Y};
          Bits |= std::uint64_t{1} << (I - WordBegin);
          const double D2 = PixelDistance2(T.PixelX(Item.X), T.PixelY(Item.Y), MX, MY);
          if (D2 < R.Best) {
            R.Best = D2;
            R.Found = I;
          }
        }
        Qualifies[static_cast<std::size_t>(WordBegin) >> 6] = Bits;
      }
      Placed[static_cast<std::size_t>(P)] = R;
    }
  };
  if (Count >= FMinTwoCoreItems)
    RunShared(Work);
  else
    Work();
  for (const TPlaced& R : Placed) {
    if (R.Best < Best) {
      Best = R.Best;
      Found = R.Found;
    }
  }
  Start(std::move(Job), Count);
}

void TNearestIndex::BuildOnTree(const TvxItemStore& Store, const TLayerTransform& T, const TKindTable& KindOk,
                                const bool* LayerVisible) {
  const int Count = Store.Count();
  auto Job = std::make_shared<TJob>();
  Job->Key = FKey;
  Job->Version = Store.Version();
  Job->ValidCount = Count;
  Job->Count = Count;
  Job->LogX = T.XLog;
  Job->LogY = T.YLog;
  Job->Base = FTree;
  Job->BaseLimit = FValidCount;
  try {
    Job->Tail.reserve(static_cast<std::size_t>(Count - FValidCount));
  } catch (const std::bad_alloc&) {
    return;  // the tree in use goes on serving, with its tail
  }
  const TvxChartItem* Items = Store.Data();
  for (int I = FValidCount; I < Count; ++I)
    if (ItemQualifies(Items[I], KindOk, FKey.ClassFilter, LayerVisible)) Job->Tail.push_back({Items[I].X, Items[I].Y, I});
  Start(std::move(Job), Count);
}

}  // namespace zkw
