// The nearest-item index against the plain linear search: random stores,
// transforms (linear, logarithmic, reversed, without extent), filters, hidden
// layers and points, pans and zooms between searches (which must not cost a
// rebuild), and random sequences of store changes and live appends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "chart/ZKW_vexa.h"
#include "chart/nearest_index.h"

namespace zkw {
namespace {

class TRandomCase {
 public:
  explicit TRandomCase(unsigned Seed) : FGen(Seed) {}

  double Uniform(double Low, double High) { return std::uniform_real_distribution<double>(Low, High)(FGen); }
  int Int(int Low, int High) {
    if (Low > High) std::swap(Low, High);  // a plot without extent has its edges swapped
    return std::uniform_int_distribution<int>(Low, High)(FGen);
  }
  bool Chance(double P) { return Uniform(0, 1) < P; }

  TAxisRange Axis() {
    TAxisRange A;
    A.Logarithmic = Chance(0.25);
    if (A.Logarithmic) {
      A.Low = std::pow(10.0, Uniform(-3, 2));
      A.High = A.Low * std::pow(10.0, Uniform(0.1, 4));
    } else {
      A.Low = Uniform(-1000, 1000);
      A.High = A.Low + std::pow(10.0, Uniform(-2, 4));
    }
    if (Chance(0.3)) std::swap(A.Low, A.High);  // a mirrored axis
    return A;
  }

  TPlotGeometry Geometry() {
    TPlotGeometry G;
    G.Width = Int(20, 600);
    G.Height = Int(20, 400);
    G.MarginLeft = Int(-10, 40);
    G.MarginRight = Int(-10, 40);
    G.MarginTop = Int(-10, 40);
    G.MarginBottom = Int(-10, 40);
    if (Chance(0.05)) G.MarginLeft = G.Width;  // no plot width: every x to the middle
    return G;
  }

  TLayerTransform Transform(const TPlotGeometry& G, TAxisRange& XA, TAxisRange& YA) {
    XA = Axis();
    YA = Axis();
    TLayerFactors F;
    ComputeXFactors(XA, G, F.XFactor, F.XOffset);
    ComputeYFactors(YA, G, F.YFactor, F.YOffset);
    return TLayerTransform::Make(F, XA, YA, G.Width, G.Height);
  }

  // Mostly inside the range, some far outside, a few unplaceable values.
  double Value(const TAxisRange& A) {
    const double Lo = std::min(A.Low, A.High), Hi = std::max(A.Low, A.High);
    const int Pick = Int(0, 99);
    if (Pick < 75) return Uniform(Lo, Hi);
    if (Pick < 85) return Lo - (Hi - Lo) * Uniform(0, 50);
    if (Pick < 93) return Hi + (Hi - Lo) * Uniform(0, 1e6);
    if (Pick < 95) return Chance(0.5) ? 1e300 : -1e300;
    if (Pick < 96) return Chance(0.5) ? 1e-150 : -1e-150;  // a logarithmic axis' floor
    if (Pick < 97) return 0.0;
    if (Pick < 98) return Chance(0.5) ? HUGE_VAL : -HUGE_VAL;
    return std::nan("");
  }

  TvxChartItem Item(const TAxisRange& XA, const TAxisRange& YA) {
    TvxChartItem I;
    I.Kind = static_cast<std::uint8_t>(Chance(0.7) ? ckMark : Int(0, 24));
    I.ItemClass = static_cast<std::uint8_t>(Chance(0.8) ? 0 : Int(0, 3) == 3 ? 255 : Int(0, 2));
    I.Layer = Chance(0.9) ? 1 : Int(-1, 18);
    I.X = Value(XA);
    I.Y = Value(YA);
    return I;
  }

  // A query point in pixels: mostly in or near the plot, some far away.
  void Point(const TPlotGeometry& G, int& MX, int& MY) {
    const int Pick = Int(0, 9);
    if (Pick < 7) {
      MX = Int(G.PlotLeft() - 5, G.PlotRight() + 5);
      MY = Int(G.PlotTop() - 5, G.PlotBottom() + 5);
    } else if (Pick < 9) {
      MX = Int(-3000000, 3000000);
      MY = Int(-3000000, 3000000);
    } else {
      MX = Chance(0.5) ? 2147483647 : -2147483647;
      MY = Chance(0.5) ? 2147483647 : -2147483647;
    }
  }

  std::uint8_t KindFilter() {
    static constexpr std::uint8_t Kinds[] = {ckMark, ckMark, ckMark, KindFilterAll, KindFilterAllButMoveTo, ckLine};
    return Kinds[Int(0, 5)];
  }
  std::uint8_t ClassFilter() { return static_cast<std::uint8_t>(Chance(0.7) ? 255 : Int(0, 2)); }

 private:
  std::mt19937 FGen;
};

void Append(TvxItemStore& Store, const TvxChartItem& Item) {
  Store.NextSlot(64) = Item;
  Store.Commit(true);
}

// One search by the index, checked against the linear search.
struct TChecker {
  int Searches = 0;
  int Indexed = 0;
  void Check(TNearestIndex& Index, const TvxItemStore& Store, const TLayerTransform& T, int MX, int MY,
             std::uint8_t Kind, std::uint8_t Class, const bool* Visible) {
    double Expected = 0, Got = 0;
    const int Want = FindNearestInStore(Store.Data(), Store.Count(), T, MX, MY, Kind, Class, Visible, Expected);
    const int Have = Index.Find(Store, T, MX, MY, Kind, Class, Visible, Got);
    ++Searches;
    Indexed += Index.LastWasIndexed() ? 1 : 0;
    ASSERT_EQ(Have, Want) << "point " << MX << "," << MY << " kind " << int(Kind) << " class " << int(Class)
                          << " items " << Store.Count() << " search " << Searches;
    ASSERT_EQ(Got, Expected);
  }
};

TEST(NearestIndex, RandomStoresTransformsFiltersAndPointsMatchTheLinearSearch) {
  TRandomCase R(20261207);
  TChecker C;
  for (int Case = 0; Case < 300; ++Case) {
    const TPlotGeometry G = R.Geometry();
    TAxisRange XA, YA;
    const TLayerTransform T = R.Transform(G, XA, YA);
    TvxItemStore Store;
    const int Count = R.Chance(0.5) ? R.Int(0, 60) : R.Int(60, 2500);
    // Some stores crowd their items onto few pixels: ties everywhere.
    const bool Crowded = R.Chance(0.3);
    for (int I = 0; I < Count; ++I) {
      TvxChartItem Item = R.Item(XA, YA);
      if (Crowded) {
        Item.X = XA.Low + (XA.High - XA.Low) * R.Int(0, 4) / 4;
        Item.Y = YA.Low + (YA.High - YA.Low) * R.Int(0, 4) / 4;
      }
      Append(Store, Item);
    }
    bool Visible[LayerCount];
    for (bool& V : Visible) V = R.Chance(0.8);
    // Every other case builds its tree on another thread, and every third
    // splits its building pass between two cores, as large stores do.
    TNearestIndex Index(0, Case % 2 ? 0 : TNearestIndex::DefaultMinBackgroundItems,
                        Case % 3 ? TNearestIndex::DefaultMinTwoCoreItems : 0);
    // The same filters several times in a row, so that the index is built and
    // used; most searches follow a pan or zoom (or another axis altogether).
    for (int Round = 0; Round < 4; ++Round) {
      const std::uint8_t Kind = R.KindFilter(), Class = R.ClassFilter();
      const bool* Layers = R.Chance(0.2) ? Visible : nullptr;
      for (int Q = 0; Q < 6; ++Q) {
        TLayerTransform View = T;
        if (R.Chance(0.7)) View = R.Transform(G, XA, YA);
        if (R.Chance(0.03)) View.YFactor = R.Chance(0.5) ? std::nanl("") : HUGE_VALL;  // no tree can bound it
        int MX = 0, MY = 0;
        R.Point(G, MX, MY);
        C.Check(Index, Store, View, MX, MY, Kind, Class, Layers);
        if (HasFatalFailure()) return;
        if (R.Chance(0.5)) Index.WaitForBuild();
      }
    }
  }
  EXPECT_GT(C.Indexed, C.Searches / 2);
}

TEST(NearestIndex, FollowsAppendsRemovalsAndEveryOtherChange) {
  TRandomCase R(7);
  TChecker C;
  for (int Run = 0; Run < 6; ++Run) {
    TPlotGeometry G = R.Geometry();
    TAxisRange XA, YA;
    TLayerTransform T = R.Transform(G, XA, YA);
    TvxItemStore Store;
    for (int I = 0; I < 3000; ++I) Append(Store, R.Item(XA, YA));
    TNearestIndex Index(0, Run % 2 ? 0 : TNearestIndex::DefaultMinBackgroundItems,
                        Run % 3 ? 0 : TNearestIndex::DefaultMinTwoCoreItems);
    std::uint8_t Kind = ckMark, Class = 255;
    for (int Step = 0; Step < 700; ++Step) {
      const int Op = R.Int(0, 99);
      if (R.Chance(0.3)) Index.WaitForBuild();
      if (R.Chance(0.04)) {
        // A live stream's frame: enough points to outgrow the linear tail,
        // while a new tree may still be building over the old one's points.
        for (int I = R.Int(500, 2500); I > 0; --I) Append(Store, R.Item(XA, YA));
      } else if (Op < 30) {
        // The demo's move: the last item goes, another is appended.
        Store.RemoveLast();
        Append(Store, R.Item(XA, YA));
      } else if (Op < 45) {
        Append(Store, R.Item(XA, YA));
      } else if (Op < 60) {
        Store.RemoveLast();
      } else if (Op < 62) {
        for (int I = R.Int(0, 20); I > 0; --I) Store.RemoveLast();
      } else if (Op < 64 && Store.Count() > 0) {
        // An item changed in place, anywhere in the store.
        TvxChartItem& Item = Store.Item(R.Int(0, Store.Count() - 1));
        Item.X = R.Value(XA);
        Item.Y = R.Value(YA);
      } else if (Op < 66) {
        TvxItemStore Copy = Store;  // a copy with the same content is another store
        Copy.RemoveLast();
        Append(Copy, R.Item(XA, YA));
        C.Check(Index, Copy, T, 0, 0, Kind, Class, nullptr);
      } else if (Op < 68) {
        T = R.Transform(G, XA, YA);
      } else if (Op < 69) {
        G = R.Geometry();
        T = R.Transform(G, XA, YA);
      } else if (Op < 72) {
        Kind = R.KindFilter();
        Class = R.ClassFilter();
      } else if (Op < 73) {
        Store.Clear();
      }
      int MX = 0, MY = 0;
      R.Point(G, MX, MY);
      C.Check(Index, Store, T, MX, MY, Kind, Class, nullptr);
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GT(C.Indexed, C.Searches / 2);
}

// A pan or zoom costs no rebuild: once the tree is built, every search after
// a range change answers from it, and its memory stays put.
TEST(NearestIndex, PansAndZoomsKeepTheTreeWithinThirtyTwoBytesPerItem) {
  TRandomCase R(3);
  TPlotGeometry G{1000, 700, 0, 0, 0, 0, 0};
  auto View = [&G](double XLow, double XHigh, double YLow, double YHigh, bool Log) {
    const TAxisRange XA{XLow, XHigh, Log}, YA{YLow, YHigh, false};
    TLayerFactors F;
    ComputeXFactors(XA, G, F.XFactor, F.XOffset);
    ComputeYFactors(YA, G, F.YFactor, F.YOffset);
    return TLayerTransform::Make(F, XA, YA, G.Width, G.Height);
  };
  TvxItemStore Store;
  constexpr int Count = 100000;
  for (int I = 0; I < Count; ++I) {
    TvxChartItem Item;
    Item.Kind = ckMark;
    // Many items share a world point, and many more a pixel.
    Item.X = I % 5 == 0 ? 500 : R.Uniform(0, 1000);
    Item.Y = I % 5 == 0 ? 350 : R.Uniform(0, 700);
    Append(Store, Item);
  }
  TNearestIndex Index;
  TChecker C;
  C.Check(Index, Store, View(0, 1000, 0, 700, false), 500, 350, ckMark, 255, nullptr);
  EXPECT_FALSE(Index.LastWasIndexed());  // the first search builds
  Index.WaitForBuild();
  C.Check(Index, Store, View(0, 1000, 0, 700, false), 10, 10, ckMark, 255, nullptr);
  const std::size_t Bytes = Index.MemoryBytes();
  EXPECT_LE(Bytes, std::size_t{32} * Count);
  for (int Step = 0; Step < 200; ++Step) {
    const double Width = std::pow(10.0, R.Uniform(-3, 4)), Low = R.Uniform(-100, 1000);
    int MX = 0, MY = 0;
    R.Point(G, MX, MY);
    C.Check(Index, Store, View(Low, Low + Width, Low * 0.7, (Low + Width) * 0.7, false), MX, MY, ckMark, 255,
            nullptr);
    C.Check(Index, Store, View(Width * 1e-3, Width, 700, 0, true), MX, MY, ckMark, 255, nullptr);
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(C.Indexed, C.Searches - 1);
  EXPECT_EQ(Index.MemoryBytes(), Bytes);
}

// The chart keeps its index in step with its own commands, the current
// layer, hidden layers and a store shared with another chart.
TEST(NearestIndex, ChartSearchesMatchTheLinearSearchThroughItsChanges) {
  auto A = std::make_unique<TVexa>(nullptr);
  auto B = std::make_unique<TVexa>(nullptr);
  for (TVexa* V : {A.get(), B.get()}) {
    V->SetBounds(0, 0, 400, 300);
    V->SetAutoRedraw(false);
  }
  B->SetUseDataOf(A.get());
  TRandomCase R(11);
  for (int I = 0; I < 4000; ++I) {
    A->SetCurrentLayer(I % 3 == 0 ? 2 : 1);
    A->AddMark(R.Uniform(-0.2, 1.2), R.Uniform(-0.2, 1.2), 1);
  }
  A->SetCurrentLayer(1);
  auto Expect = [&](TVexa& V, double X, double Y, bool VisibleOnly) {
    const TLayerTransform T = V.LayerTransform(V.CurrentLayer());
    bool Visible[LayerCount];
    for (int L = 1; L <= LayerCount; ++L) Visible[L - 1] = V.LayerVisible(L);
    double Want = 0, Got = 0;
    const int Linear = FindNearestInStore(V.DataStore().Data(), V.ItemCount(), T, T.PixelX(X), T.PixelY(Y), ckMark,
                                          255, VisibleOnly ? Visible : nullptr, Want);
    EXPECT_EQ(V.FindNearestItemEx(ckMark, 255, X, Y, VisibleOnly, Got), Linear);
    EXPECT_EQ(Got, Want);
  };
  for (int Step = 0; Step < 400; ++Step) {
    TVexa& V = Step % 2 ? *A : *B;
    const double X = R.Uniform(-0.5, 1.5), Y = R.Uniform(-0.5, 1.5);
    switch (R.Int(0, 9)) {
      case 0:
        V.SetLayerRange(1, false, false, R.Uniform(-1, 0.5), R.Uniform(-1, 0.5), R.Uniform(0.6, 2), R.Uniform(0.6, 2));
        break;
      case 1:
        V.SetCurrentLayer(R.Int(1, 2));
        break;
      case 2:
        V.SetLayerVisible(2, R.Chance(0.5));
        break;
      case 3:
        V.SetMarginLeft(R.Int(0, 60));
        break;
      case 4: {
        // Bulk appends must reach the index like single ones.
        const double Xs[] = {X, R.Uniform(-0.2, 1.2)}, Ys[] = {Y, R.Uniform(-0.2, 1.2)};
        V.AddMarks(Xs, Ys, 1);
        break;
      }
      default: {
        double D = 0;
        const int Index = V.FindNearestItem(ckMark, 255, X, Y, D);
        ASSERT_GE(Index, 0);
        const TvxChartItem Found = V.GetItem(Index);
        V.RemoveLastItem();
        V.AddMark(Found.X, Found.Y, 25);
      }
    }
    Expect(V, X, Y, false);
    Expect(V, X, Y, true);
  }
}

}  // namespace
}  // namespace zkw
