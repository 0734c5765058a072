// Scale engine benchmarks: one paint of a 1000-pixel horizontal scale per
// walk (opaque, as a stand-alone scale paints, and transparent on a lent
// canvas, as the chart paints its scales), and the walks alone, with and
// without their label texts. Text and label caches fill at a first paint
// before each loop.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/graphics.h"
#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

struct TWalkCase {
  const char* Name;
  TFigType LabelType;
  bool Logarithmic;
  double Low;
  double High;
};

// 40000 is 6 July 2009 as a day value.
const TWalkCase Cases[] = {
    {"linear", ftNum, false, 0, 1000},
    {"logarithmic", ftNum, true, 0.001, 1e6},
    {"time", ftTime, false, 0, 3600},
    {"datetime_hours", ftDateTime, false, 40000, 40002},
    {"datetime_days", ftDateTime, false, 40000, 40060},
    {"datetime_months", ftDateTime, false, 40000, 41000},
    {"datetime_years", ftDateTime, false, 0, 40000},
};

TTickParams ParamsOf(const TWalkCase& C) {
  TTickParams P;
  P.RangeLow = C.Low;
  P.RangeHigh = C.High;
  P.Logarithmic = C.Logarithmic;
  P.MinTicks = 10;  // a long scale wants many intervals
  P.ShortTicks = true;
  P.LabelType = C.LabelType;
  return P;
}

std::unique_ptr<TScale> MakeScale(const TWalkCase& C) {
  auto S = std::make_unique<TScale>(nullptr);
  S->SetBounds(0, 0, 1000, 60);
  S->SetMinTicks(10);
  S->SetLabelType(C.LabelType);
  S->SetRange(C.Low, C.High);
  S->SetLogarithmic(C.Logarithmic);
  S->HandleNeeded();
  // The first paint loads the font database and fills the text caches; the
  // loops measure the paints a running program repeats.
  S->ForcePaint();
  return S;
}

void BM_PaintOpaque(benchmark::State& State) {
  const TWalkCase& C = Cases[State.range(0)];
  State.SetLabel(C.Name);
  auto S = MakeScale(C);
  for (auto _ : State) S->ForcePaint();
  State.counters["ticks"] = S->NumTicks();
}

// The same paint with every text measured and drawn afresh through Qt (the
// label texts still come from the scale's label cache): the gain of the text
// caches, measured in the same run.
void BM_PaintOpaqueUncachedText(benchmark::State& State) {
  const TWalkCase& C = Cases[State.range(0)];
  State.SetLabel(C.Name);
  auto S = MakeScale(C);
  SetTextCaching(false);
  for (auto _ : State) S->ForcePaint();
  SetTextCaching(true);
}

void BM_PaintOnHost(benchmark::State& State) {
  const TWalkCase& C = Cases[State.range(0)];
  State.SetLabel(C.Name);
  auto S = MakeScale(C);
  TBitmap Host(1000, 400);
  S->SetTransparent(true);
  S->SetHostCanvas(&Host.Canvas(), 0, 300);
  S->SetEmbedded(true);
  S->ForcePaint();
  for (auto _ : State) S->ForcePaint();
}

void BM_Walk(benchmark::State& State) {
  const TWalkCase& C = Cases[State.range(0)];
  State.SetLabel(C.Name);
  const TTickParams P = ParamsOf(C);
  std::size_t Ticks = 0;
  for (auto _ : State) {
    TTickWalkResult R = WalkTicks(P);
    Ticks = R.Ticks.size();
    benchmark::DoNotOptimize(R);
  }
  State.counters["ticks"] = static_cast<double>(Ticks);
}

void BM_WalkAndLabels(benchmark::State& State) {
  const TWalkCase& C = Cases[State.range(0)];
  State.SetLabel(C.Name);
  const TTickParams P = ParamsOf(C);
  TTickLabelSettings L;
  L.LabelType = C.LabelType;
  L.RangeLow = C.Low;
  L.RangeHigh = C.High;
  for (auto _ : State) {
    TTickWalkResult R = WalkTicks(P);
    TTickLabeller Labeller(L, R);
    for (const TTick& T : R.Ticks)
      if (T.Kind == tkLong) benchmark::DoNotOptimize(Labeller.Label(T));
  }
}

// The chart builds 32 scales per chart: construction must stay cheap.
void BM_Construct(benchmark::State& State) {
  for (auto _ : State) {
    TScale S(nullptr);
    benchmark::DoNotOptimize(S.ScaleFactor());
  }
}

constexpr int CaseCount = static_cast<int>(sizeof(Cases) / sizeof(Cases[0]));
BENCHMARK(BM_PaintOpaque)->DenseRange(0, CaseCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOpaqueUncachedText)->DenseRange(0, CaseCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOnHost)->DenseRange(0, CaseCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Walk)->DenseRange(0, CaseCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkAndLabels)->DenseRange(0, CaseCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Construct)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zkw
