#include "scale/tick_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/rtl.h"

namespace zkw {

namespace {

// Tolerance factor of the decade and time walks.
constexpr Extended Eps = 0.999999999L;
// Relative slack when a quotient is compared with a table step, so that a
// quotient such as 0.3 / 3 (0.0999...) still selects the 0.1 row.
constexpr Extended TableSlack = 1.0L + 1e-9L;
// Slack in days at the low end of a date/time walk: a position that floating
// point puts a hair before RangeLow still counts as at RangeLow. 86 us is far
// below the finest step (10 ms), so it never admits a wrong tick.
constexpr Extended DayLowSlack = 1e-9L;
// The walks end at the first position beyond RangeHigh + 1e-8 days.
constexpr Extended DayHighSlack = 1e-8L;
// The end of 31 December 9999: nothing after it can be labelled.
constexpr Extended DateTimeEnd = static_cast<Extended>(MaxDayValue) + 1;

// Truncation toward zero without the int64 saturation of Trunc: tick
// quotients may exceed 2^63 for extreme but valid ranges.
Extended IntPart(Extended X) { return std::trunc(X); }
// Rounding halves to even, in extended precision (the default rounding mode).
Extended RoundEven(Extended X) { return std::nearbyint(X); }
// Non-negative remainder of A by B (B > 0).
std::int64_t ModPositive(std::int64_t A, std::int64_t B) {
  const std::int64_t R = A % B;
  return R < 0 ? R + B : R;
}

bool Finite(Extended X) { return std::isfinite(X); }

// MinTicks as a divisor of the time and date/time walks: no minimum (0)
// counts as one interval over the whole range.
int IntervalDivisor(int MinTicks) { return MinTicks > 0 ? MinTicks : 1; }

TTick MakeTick(Extended Value, TTickKind Kind, bool Stored, int LabelNumber = 0,
               std::uint8_t Digit = 0) {
  TTick T;
  T.Value = Value;
  T.Kind = Kind;
  T.Stored = Stored;
  T.LabelNumber = LabelNumber;
  T.Digit = Digit;
  return T;
}

constexpr std::array<TTimeStep, TimeStepCount> TimeSteps = {{
    {0.001, 5}, {0.002, 4}, {0.005, 5}, {0.01, 5},  {0.02, 4},  {0.05, 5},    {0.1, 5},
    {0.2, 4},   {0.5, 5},   {1, 5},     {2, 4},     {5, 5},     {10, 5},      {20, 4},
    {30, 6},    {60, 6},    {120, 6},   {180, 6},   {300, 5},   {600, 5},     {1200, 6},
    {1800, 6},  {3600, 6},  {7200, 4},  {14400, 4}, {21600, 6}, {43200, 6},   {86400, 6},
}};

// What tells two tick positions of a pass apart in the drawing: the pixel
// they are drawn at. Along a pass the positions are monotone and so are the
// keys: a key, once left, never comes back, which lets a pass search for the
// end of a run of equal keys. On a logarithmic map the values not above
// 1e-100 all share one fixed pixel that the others may reach again, so they
// form a key of their own. Pixels before the scale's start or past its end are
// one key on each side: there nothing is seen, and a degenerate map (a range
// narrower than the doubles can tell apart) would otherwise spread the ticks
// of a few pixels' worth of range over tens of thousands of off-scale pixels.
class TPixelKeys {
 public:
  explicit TPixelKeys(const TTickParams& P) {
    TScaleMap Scale;
    if (P.Pixels) {
      Scale = *P.Pixels;
    } else {
      const Extended Span = static_cast<Extended>(P.RangeHigh) - P.RangeLow;
      Scale.Logarithmic = false;
      Scale.RangeLow = P.RangeLow;
      Scale.RangeHigh = P.RangeHigh;
      Scale.Width = DefaultWalkPixels;
      Scale.ScaleFactor = Span != 0 && Finite(Span) ? static_cast<double>(DefaultWalkPixels / Span) : 0;
      Scale.ScaleOffset = static_cast<double>(-static_cast<Extended>(P.RangeLow) * Scale.ScaleFactor);
    }
    FMap = Scale.AxisMap();
    FWidth = Scale.Width;
  }
  std::int64_t Of(Extended V) const {
    if (FMap.AtLogFloor(static_cast<double>(V))) return std::numeric_limits<std::int64_t>::min();
    return std::clamp<std::int64_t>(TickPixel(FMap, V), -1, std::int64_t{std::max(FWidth, 0)} + 1);
  }

 private:
  TAxisMap FMap;
  int FWidth = 0;
};

std::size_t CountStored(const std::vector<TTick>& Ticks) {
  return static_cast<std::size_t>(std::count_if(Ticks.begin(), Ticks.end(), [](const TTick& T) { return T.Stored; }));
}

// The next index after K; beyond 2^64 adding one no longer changes an
// extended value, so the step grows to the next representable one.
Extended NextIndex(Extended K) {
  const Extended N = K + 1;
  return N > K ? N : std::nextafter(K, std::numeric_limits<Extended>::infinity());
}

// One pass of a walk over the positions Base + K x Step, K = 0, 1, 2, ...,
// up to the first one for which Beyond holds. Admit says whether a position
// is a tick; Add appends it (its K passed along for label numbers). After
// MaxTicksPerPixel - 1 ticks in a row at one pixel the pass produces the last
// position at that pixel and goes on at the first position at another one,
// but only once the ticks it skips could no longer enter the stored tick
// list (Stores: this pass's ticks are stored).
template <typename BeyondF, typename AdmitF, typename AddF>
void WalkProgression(Extended Base, Extended Step, const TPixelKeys& Keys, bool Stores, std::vector<TTick>& Ticks,
                     BeyondF Beyond, AdmitF Admit, AddF Add) {
  auto At = [&](Extended K) { return Base + K * Step; };
  std::size_t Stored = CountStored(Ticks);
  std::int64_t RunKey = 0;
  int Run = 0;
  // Length of the last skipped run: the next one is about as long, so the
  // search for its end starts near there instead of at 1.
  Extended LastRun = 0;
  Extended K = 0;
  for (;;) {
    const Extended V = At(K);
    if (Beyond(V)) break;
    if (!Admit(V)) {
      K = NextIndex(K);
      continue;
    }
    const std::int64_t Key = Keys.Of(V);
    Run = Run > 0 && Key == RunKey ? Run + 1 : 1;
    RunKey = Key;
    Add(V, K);
    if (Stores) ++Stored;
    if (Run < MaxTicksPerPixel - 1 || (Stores && Stored < static_cast<std::size_t>(MaxStoredTicks))) {
      K = NextIndex(K);
      continue;
    }
    // The first index past K whose position ends the pass or lies at
    // another pixel: doubling, then halving the gap. Both conditions are
    // monotone in the index, so the search cannot step over another pixel.
    auto Leaves = [&](Extended J) {
      const Extended W = At(J);
      return Beyond(W) || Keys.Of(W) != Key;
    };
    Extended Lo = K;
    Extended Gap = std::max<Extended>(1, std::floor(LastRun / 4));
    Extended Hi;
    for (;;) {
      Hi = Lo + Gap;
      if (!(Hi > Lo)) Hi = NextIndex(Lo);
      if (Leaves(Hi)) break;
      Lo = Hi;
      Gap = Gap * 2;
    }
    for (;;) {
      const Extended Mid = std::floor(Lo + (Hi - Lo) / 2);
      if (!(Mid > Lo) || !(Mid < Hi)) break;
      if (Leaves(Mid))
        Hi = Mid;
      else
        Lo = Mid;
    }
    // The run's last tick is produced too: its label is the one the plain
    // walk leaves on top at this pixel, and the walk's last tick stays the
    // end of the range.
    if (Lo > K) {
      const Extended Last = At(Lo);
      if (Admit(Last)) {
        Add(Last, Lo);
        if (Stores) ++Stored;
      }
    }
    LastRun = Hi - K;
    K = Hi;
  }
}

}  // namespace

// --- The value-to-pixel map ---------------------------------------------------

bool CalcScaleFactors(const TScaleGeometry& G, double RangeLow, double RangeHigh, bool Logarithmic,
                      double& ScaleFactor, double& ScaleOffset) {
  if (RangeHigh == RangeLow) return false;
  if (Logarithmic && (RangeLow <= 0 || RangeHigh <= 0)) return false;
  // Horizontal: RangeLow at the left margin; vertical: RangeHigh at the top.
  const Extended Span = G.Vertical ? static_cast<Extended>(G.Height) - G.MarginTop - G.MarginBottom - 1
                                   : static_cast<Extended>(G.Width) - G.MarginLeft - G.MarginRight - 1;
  if (Span <= 0) {
    ScaleFactor = 0;
    ScaleOffset = (G.Vertical ? G.Height : G.Width) / 2.0;
    return true;
  }
  Extended Factor, Offset;
  if (!G.Vertical)
    FitAxisFromStart(RangeLow, RangeHigh, Logarithmic, G.MarginLeft, Span, Factor, Offset);
  else
    FitAxisFromStart(RangeHigh, RangeLow, Logarithmic, G.MarginTop, Span, Factor, Offset);
  ScaleFactor = static_cast<double>(Factor);
  ScaleOffset = static_cast<double>(Offset);
  return true;
}

int TickPixel(const TAxisMap& Map, Extended V) {
  return std::clamp(Map.PixelOfExtended(static_cast<double>(V)), -TickDrawLimit, TickDrawLimit);
}

int TickPixel(const TScaleMap& Map, Extended V) { return TickPixel(Map.AxisMap(), V); }

int TScaleMap::ValueToPixel(double V) const { return AxisMap().PixelOfExtended(V); }

// --- Tick distance ------------------------------------------------------------

void CalcTickDistance(int MinTicks, Extended High, Extended Low, Extended& FirstTick,
                      Extended& TickDistance, std::uint16_t& SubDivisions) {
  FirstTick = Low;
  TickDistance = 0;
  SubDivisions = 1;
  if (High == Low || !Finite(High) || !Finite(Low) || !Finite(High - Low)) return;
  const Extended E = High > Low ? 1 : -1;
  const Extended Range = std::fabs(High - Low);
  if (MinTicks <= 0) {
    TickDistance = E;
    SubDivisions = Range > 10 ? 1 : 5;
  } else {
    Extended G = std::log10(Range / MinTicks);
    Extended H = G - IntPart(G);
    if (std::fabs(H) < 1e-10L || std::fabs(H) > 0.9999999999L) {
      G = RoundEven(G);
      H = 0;
    }
    if (G < 0 && H != 0) G = G - 1;
    if (H < 0) H = H + 1;
    static const Extended Log2 = std::log10(2.0L);
    static const Extended Log5 = std::log10(5.0L);
    if (H < Log2 + 1e-10L) {
      G = IntPart(G);
      SubDivisions = 5;
    } else if (H < Log5 + 1e-10L) {
      G = IntPart(G) + Log2;
      SubDivisions = 4;
    } else {
      G = IntPart(G) + Log5;
      SubDivisions = 5;
    }
    TickDistance = E * std::pow(10.0L, G);
    // 10^(n + log10 2) is 2 x 10^n up to rounding; snap to the exact mantissa.
    const Extended Decade = std::pow(10.0L, std::floor(G + 1e-9L));
    const Extended Mantissa = RoundEven(std::fabs(TickDistance) / Decade);
    if (Mantissa == 1 || Mantissa == 2 || Mantissa == 5) TickDistance = E * Mantissa * Decade;
  }
  if (TickDistance == 0 || !Finite(TickDistance)) {
    TickDistance = 0;
    return;
  }
  FirstTick = (IntPart(Low / TickDistance) - 1) * TickDistance;
  // At most a few steps; the bound only guards against a distance that
  // floating point can no longer add.
  for (int I = 0; I < 64 && std::fabs(TickDistance) * 0.001L < E * (Low - FirstTick); ++I)
    FirstTick = FirstTick + TickDistance;
}

// --- Linear walk --------------------------------------------------------------

void WalkLinearTicks(const TTickParams& P, std::vector<TTick>& Ticks) {
  Extended First = 0;
  Extended Distance = 0;
  std::uint16_t Sub = 1;
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  CalcTickDistance(P.MinTicks, High, Low, First, Distance, Sub);
  if (Distance == 0) return;
  const Extended Dir = High > Low ? 1 : -1;
  const TPixelKeys Keys(P);
  if (P.ShortTicks) {
    // A short tick is produced once it has reached RangeLow; the pass goes
    // on while the next position stays within 0.001 sub-distance of
    // RangeHigh, i.e. it ends at the first position beyond that.
    const Extended SubDistance = Distance / Sub;
    WalkProgression(
        First - Distance, SubDistance, Keys, true, Ticks,
        [&](Extended V) { return !(Dir * (V - High) <= Dir * 0.001L * SubDistance); },
        [&](Extended V) { return Dir * V >= Dir * Low; },
        [&](Extended V, Extended) { Ticks.push_back(MakeTick(V, tkShort, true)); });
  }
  // Horizontal scales store each position once: the short tick already
  // stands where a long one falls.
  const bool StoreLong = P.Vertical || !P.ShortTicks;
  // Also the first one is tested: with a one-unit distance (MinTicks 0) a
  // range narrower than a unit may hold no multiple at all.
  WalkProgression(
      First, Distance, Keys, StoreLong, Ticks,
      [&](Extended V) { return !(Dir * (V - High) <= Dir * 0.001L * Distance); }, [](Extended) { return true; },
      [&](Extended V, Extended K) {
        Ticks.push_back(MakeTick(V, tkLong, StoreLong, static_cast<int>(std::min<Extended>(K + 1, INT32_MAX))));
      });
}

// --- Decade walk ----------------------------------------------------------------

bool WalkLogTicks(const TTickParams& P, std::vector<TTick>& Ticks) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  const Extended Lo = std::min(Low, High);
  const Extended Hi = std::max(Low, High);
  if (!(Lo > 0) || !Finite(Hi)) return false;
  const Extended Decades = std::fabs(std::log10(High / Low));
  if (!(Decades >= 1)) return false;
  const Extended Decade = std::pow(10.0L, std::floor(std::log10(Lo * Eps)));
  const bool Dense = P.MinTicks > Decades + 0.5L;
  Extended M = 1;
  int Label = 0;
  for (int Pass = 0; Pass < MaxWalkSteps; ++Pass) {
    for (int I = 1; I <= (Dense ? 9 : 1); ++I) {
      const bool Labelled = I == 1 || I == 2 || I == 5;
      if (!Labelled && !P.ShortTicks) continue;
      const Extended C = M * Decade * I;
      if (C / Eps > Lo && Eps * C < Hi) {
        const int Number = Labelled ? ++Label : 0;
        Ticks.push_back(MakeTick(C, Labelled ? tkLong : tkIntermediate, true, Number,
                                 static_cast<std::uint8_t>(I)));
      }
    }
    M = M * 10;
    if (!(Hi >= Eps * Decade * M)) break;
  }
  return true;
}

// --- Time walk ------------------------------------------------------------------

const TTimeStep& TimeStepRow(int Index) {
  return TimeSteps[static_cast<std::size_t>(std::clamp(Index, 1, TimeStepCount) - 1)];
}

int TimeStepIndex(Extended Q) {
  int Index = 0;
  if (!(Q >= 0.001L / TableSlack)) return 0;
  for (int I = 1; I <= TimeStepCount; ++I)
    if (static_cast<Extended>(TimeSteps[I - 1].Step) <= Q * TableSlack) Index = I;
  return Index;
}

bool WalkTimeTicks(const TTickParams& P, std::vector<TTick>& Ticks, int& Index) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  Index = 0;
  if (!Finite(High - Low) || High == Low) return false;
  Index = TimeStepIndex(std::fabs(High - Low) / IntervalDivisor(P.MinTicks));
  if (Index == 0 || Index == TimeStepCount) return false;
  const Extended Dir = High > Low ? 1 : -1;
  const TTimeStep& Row = TimeStepRow(Index);
  const Extended Step = Dir * static_cast<Extended>(Row.Step);
  const Extended Sub = Step / Row.SubSteps;
  // The ends widened by a relative 1e-9 outward, in the walking direction
  // (a reversed axis widens the other way, so its end ticks stay inside).
  Extended Lower, Upper;
  if (Dir > 0) {
    Lower = Low >= 0 ? Low * Eps : Low / Eps;
    Upper = High > 0 ? High / Eps : High * Eps;
  } else {
    Lower = Low >= 0 ? Low / Eps : Low * Eps;
    Upper = High > 0 ? High * Eps : High / Eps;
  }
  Extended Start = IntPart(Low / Step / Eps) * Step;
  // Truncation moves the start toward zero, which for a walk heading toward
  // zero lands inside the range and would lose the short ticks before it.
  if (Dir * Start > Dir * Lower) Start = Start - Step;
  auto Inside = [&](Extended V) { return Dir * Lower <= Dir * V && Dir * V <= Dir * Upper; };
  auto Beyond = [&](Extended V) { return Dir * V > Dir * Upper; };
  const bool StoreLong = P.Vertical || !P.ShortTicks;
  const TPixelKeys Keys(P);
  if (P.ShortTicks) {
    WalkProgression(Start, Sub, Keys, true, Ticks, Beyond, Inside,
                    [&](Extended V, Extended) { Ticks.push_back(MakeTick(V, tkShort, true)); });
  }
  int Label = 0;
  WalkProgression(
      Start, Sub, Keys, StoreLong, Ticks, Beyond,
      [&](Extended V) {
        const Extended R = V / Step;
        return std::fabs(R - std::round(R)) < 0.01L && Inside(V);
      },
      [&](Extended V, Extended) { Ticks.push_back(MakeTick(V, tkLong, StoreLong, ++Label)); });
  return true;
}

// --- Date/time walk -------------------------------------------------------------

// The borders are the double values of the table, so that an interval equal
// to a border, as a double, still belongs to the finer level.
bool DateTimeLevelFor(Extended Q, bool Vertical, TDateTimeLevel& Level) {
  if (Vertical) {
    if (Q <= 1.1574074074074074e-07) return false;
    if (Q <= 1.1574074074074073e-05) {
      Level = dlHundredths;
      return true;
    }
    if (Q <= 0.0006944444444444445) {
      Level = dlSeconds;
      return true;
    }
  } else {
    if (Q <= 1.1574e-05) return false;
    if (Q <= 0.00069444) {
      Level = dlSeconds;
      return true;
    }
  }
  if (Q <= 0.041667)
    Level = dlMinutes;
  else if (Q <= 1)
    Level = dlHours;
  else if (Q <= 30)
    Level = dlDays;
  else if (Q <= 366)
    Level = dlMonths;
  else
    Level = dlYears;
  return true;
}

namespace {

struct TSubDayRow {
  Extended Units;  // units per day
  std::array<int, 6> Steps;
  std::array<int, 6> SubSteps;
};

const TSubDayRow& SubDayRow(TDateTimeLevel Level) {
  static const TSubDayRow Hours{24, {1, 2, 3, 6, 8, 12}, {1, 1, 1, 2, 2, 3}};
  static const TSubDayRow Minutes{1440, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
  static const TSubDayRow Seconds{86400, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
  static const TSubDayRow Hundredths{8640000, {1, 2, 5, 10, 20, 50}, {1, 1, 1, 5, 10, 10}};
  switch (Level) {
    case dlHours: return Hours;
    case dlMinutes: return Minutes;
    case dlSeconds: return Seconds;
    default: return Hundredths;
  }
}

// The largest entry of Steps not above Q (with slack), else the first.
template <std::size_t N>
int LargestStepNotAbove(const std::array<int, N>& Steps, Extended Q) {
  int Chosen = Steps[0];
  for (int S : Steps)
    if (static_cast<Extended>(S) <= Q * TableSlack) Chosen = S;
  return Chosen;
}

void WalkSubDay(const TTickParams& P, TDateTimeLevel Level, Extended Q, std::vector<TTick>& Ticks) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  const TSubDayRow& Row = SubDayRow(Level);
  int Choice = 0;
  for (int J = 0; J < 6; ++J)
    if (static_cast<Extended>(Row.Steps[J]) <= Row.Units * Q * TableSlack) Choice = J;
  const std::int64_t S = Row.Steps[static_cast<std::size_t>(Choice)];
  const Extended StepDays = S / Row.Units;
  const Extended SubDays = Row.SubSteps[static_cast<std::size_t>(Choice)] / Row.Units;
  // First step boundary, counted from midnight, at or after RangeLow.
  const Extended Day = std::floor(Low);
  const Extended Fraction = Low - Day;
  std::int64_t N = static_cast<std::int64_t>(std::ceil(Row.Units * (Fraction - DayLowSlack)));
  if (N < 0) N = 0;
  N = (N + S - 1) / S * S;
  Extended Base = Day + N / Row.Units;
  Extended Advance = StepDays;
  if (P.ShortTicks) {
    int Back = 0;
    while (Back < MaxWalkSteps && Base - Back * SubDays > Low) ++Back;
    Base = Base - Back * SubDays;
    Advance = SubDays;
  }
  for (int K = 0; K < MaxWalkSteps; ++K) {
    const Extended Pos = Base + K * Advance;
    if (!(Pos - High < DayHighSlack) || Pos >= DateTimeEnd) break;
    if (Pos < Low - DayLowSlack) continue;
    const Extended R = Pos / StepDays;
    const bool Long = !P.ShortTicks || std::fabs(R - RoundEven(R)) <= 0.1L;
    Ticks.push_back(MakeTick(Pos, Long ? tkLong : tkShort, true));
  }
}

void WalkDays(const TTickParams& P, Extended Q, std::vector<TTick>& Ticks) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  static const std::array<int, 6> Steps = {1, 2, 3, 7, 14, 28};
  const std::int64_t S = LargestStepNotAbove(Steps, Q);
  int Year, Month, DayOfMonth;
  DecodeDate(static_cast<double>(Low), Year, Month, DayOfMonth);
  const Extended January1 = EncodeDate(Year, 1, 1);
  const Extended First =
      January1 + static_cast<Extended>(S * (static_cast<std::int64_t>(IntPart(Low - January1)) / S));
  // Residues in 0 .. S - 1, so that days before the epoch class like the rest.
  const std::int64_t Residue = ModPositive(Round(First), S);
  const Extended Advance = P.ShortTicks ? (S <= 7 ? 1 : 7) : static_cast<Extended>(S);
  for (int K = 0; K < MaxWalkSteps; ++K) {
    const Extended Pos = First + K * Advance;
    if (!(Pos - High < DayHighSlack) || Pos >= DateTimeEnd) break;
    if (Pos < Low - DayLowSlack) continue;
    const bool Short = P.ShortTicks && ModPositive(Round(Pos), S) != Residue;
    Ticks.push_back(MakeTick(Pos, Short ? tkShort : tkLong, true));
  }
}

void AdvanceMonth(int& Year, int& Month, int By) {
  const int Unreduced = Month + By;
  Month = (Unreduced - 1) % 12 + 1;
  Year += (Unreduced - 1) / 12;
}

void WalkMonths(const TTickParams& P, std::vector<TTick>& Ticks) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  static const std::array<int, 5> Steps = {1, 2, 3, 4, 6};
  const Extended QMonths = (High - Low) / 30.4375L / IntervalDivisor(P.MinTicks);
  const int S = LargestStepNotAbove(Steps, QMonths);
  int Year, Month, DayOfMonth;
  DecodeDate(static_cast<double>(Low), Year, Month, DayOfMonth);
  if (S > 1 && !P.ShortTicks) {
    // To the next month that starts a step; a range that begins exactly on
    // such a month's first day keeps it.
    const bool StartsOnStep = Month % S == 1 && EncodeDate(Year, Month, 1) == static_cast<double>(Low);
    if (!StartsOnStep) {
      do AdvanceMonth(Year, Month, 1);
      while (Month % S != 1);
    }
  }
  for (int K = 0; K < MaxWalkSteps && Year <= 9999; ++K) {
    const Extended Pos = EncodeDate(Year, Month, 1);
    if (!(Pos - High < DayHighSlack)) break;
    if (Pos >= Low - DayLowSlack) {
      const bool Short = P.ShortTicks && S != 1 && Month % S != 1;
      Ticks.push_back(MakeTick(Pos, Short ? tkShort : tkLong, true));
    }
    AdvanceMonth(Year, Month, P.ShortTicks ? 1 : S);
  }
}

void WalkYears(const TTickParams& P, std::vector<TTick>& Ticks) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  Extended A = (High - Low) / 365.25L / IntervalDivisor(P.MinTicks);
  if (A < 1) A = 1;
  const Extended L = std::log10(A);
  const Extended IntL = IntPart(L);
  const Extended Mantissa = std::pow(10.0L, L - IntL);
  const int F = Mantissa < 2 ? 1 : (Mantissa < 5 ? 2 : 5);
  const std::int64_t H = std::max<std::int64_t>(1, Round(IntPart(std::pow(10.0L, IntL)) * F));
  std::int64_t S = H;
  if (P.ShortTicks && H > 1) S = Round(static_cast<Extended>(H) / (F == 5 ? 5 : 2));
  if (S < 1) S = 1;
  int Year, Month, DayOfMonth;
  DecodeDate(static_cast<double>(Low), Year, Month, DayOfMonth);
  std::int64_t TickYear = (Year + S - 1) / S * S;
  if (TickYear == Year && Low > EncodeDate(Year, 1, 1)) TickYear += S;
  for (int K = 0; K < MaxWalkSteps; ++K) {
    // A year beyond 9999 becomes its last day, produced once.
    const bool Last = TickYear > 9999;
    if (Last) TickYear = 9999;
    const Extended Pos = Last ? EncodeDate(9999, 12, 31) : EncodeDate(static_cast<int>(TickYear), 1, 1);
    if (!(Pos - High < DayHighSlack)) break;
    if (Pos >= Low - DayLowSlack) {
      const bool Short = P.ShortTicks && TickYear % H != 0;
      Ticks.push_back(MakeTick(Pos, Short ? tkShort : tkLong, true));
    }
    if (Last) break;
    TickYear += S;
  }
}

}  // namespace

TScaleMessage WalkDateTimeTicks(const TTickParams& P, std::vector<TTick>& Ticks,
                                TDateTimeLevel& Level) {
  const Extended Low = P.RangeLow;
  const Extended High = P.RangeHigh;
  if (!(High >= Low) || !(Low >= MinDayValue) || !(High <= MaxDateTimeRange))
    return smInvalidDateTime;
  const Extended Q = (High - Low) / IntervalDivisor(P.MinTicks);
  if (!DateTimeLevelFor(Q, P.Vertical, Level)) return smDateTimeBelowSecond;
  switch (Level) {
    case dlDays: WalkDays(P, Q, Ticks); break;
    case dlMonths: WalkMonths(P, Ticks); break;
    case dlYears: WalkYears(P, Ticks); break;
    default: WalkSubDay(P, Level, Q, Ticks); break;
  }
  int Label = 0;
  for (TTick& T : Ticks)
    if (T.Kind == tkLong) T.LabelNumber = ++Label;
  return smNone;
}

// --- Choosing the walk ------------------------------------------------------------

TTickWalkResult WalkTicks(const TTickParams& Params) {
  TTickWalkResult R;
  if (Params.LabelType == ftDateTime) {
    R.Walk = twDateTime;
    R.Message = WalkDateTimeTicks(Params, R.Ticks, R.Level);
    return R;
  }
  if (Params.LabelType == ftTime) {
    if (WalkTimeTicks(Params, R.Ticks, R.TimeIndex)) {
      R.Walk = twTime;
      R.TimeWithMillis = R.TimeIndex <= 9;
      return R;
    }
    R.Ticks.clear();
  }
  if (Params.Logarithmic && WalkLogTicks(Params, R.Ticks)) {
    R.Walk = twLogarithmic;
    return R;
  }
  R.Walk = twLinear;
  WalkLinearTicks(Params, R.Ticks);
  return R;
}

std::vector<double> StoredTickPositions(const std::vector<TTick>& Ticks) {
  std::vector<double> Positions;
  Positions.reserve(MaxStoredTicks);
  for (const TTick& T : Ticks) {
    if (!T.Stored) continue;
    if (Positions.size() >= static_cast<std::size_t>(MaxStoredTicks)) break;
    Positions.push_back(static_cast<double>(T.Value));
  }
  return Positions;
}

}  // namespace zkw
