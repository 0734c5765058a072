// Arbitrary bytes as an axis scale: a stand-alone scale control of any size
// and orientation with any range (linear, logarithmic, reversed, huge, tiny),
// label type (numbers, time, date/time, user texts), decimals, MinTicks,
// date format, font size and margins, painted on its own window or on a
// lent canvas; and the same settings through the tick walk without a window.
//
// Every paint must end (libFuzzer's timeout catches a walk that does not),
// store at most MaxStoredTicks finite ticks and report only finite tick
// values. Painting twice gives the same ticks, and an opaque scale the same
// picture.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <QImage>

#include "fuzz/fuzz_support.h"
#include "platform/gui_app.h"
#include "scale/ZKW_Scale.h"

namespace zkw::fuzz {
namespace {

constexpr int MaxWidth = 400;
constexpr int MaxHeight = 300;

// Ranges that reach the walks' edges: ordinary, calendar days (also outside
// the accepted years), tiny spans about large values, and anything at all.
void AnyRange(TFuzzBytes& B, double& Low, double& High) {
  // Every value is read into its own statement: the replay is built by
  // another compiler, which may evaluate the operands of one expression in
  // another order.
  switch (B.Pick(6)) {
    case 0: {  // a calendar span: from hundredths of a second to centuries
      const int Day = B.IntIn(-700000, 3100000);
      Low = Day + B.Moderate() / 1e4;
      const int Exponent = B.IntIn(-40, 22);
      High = Low + std::ldexp(1.0, Exponent) * (B.Bool() ? 1 : -1);
      return;
    }
    case 1: {  // a narrow span far from zero
      const auto Mantissa = static_cast<double>(B.Raw<std::int16_t>());
      Low = std::ldexp(Mantissa, B.IntIn(-60, 300));
      const int Exponent = B.IntIn(-1074, 10);
      High = Low + std::ldexp(1.0, Exponent) * B.IntIn(-3, 3);
      return;
    }
    case 2: {  // logarithmic-looking: both ends above zero, many decades apart
      Low = std::ldexp(1.0, B.IntIn(-1074, 1023));
      High = std::ldexp(1.0, B.IntIn(-1074, 1023));
      return;
    }
    case 3:
      Low = B.Double();
      High = B.Double();
      return;
    default:
      Low = B.Moderate();
      High = B.Moderate();
      return;
  }
}

// Settings shared by the control and the bare walk.
struct TScaleCase {
  double Low = 0;
  double High = 100;
  bool Logarithmic = false;
  TFigType Labels = ftNum;
  int MinTicks = 3;
  bool ShortTicks = true;
  TScaleType Type = sctXB;
  bool Transparent = false;
};

TScaleCase DecodeCase(TFuzzBytes& B) {
  TScaleCase S;
  AnyRange(B, S.Low, S.High);
  S.Logarithmic = B.Pick(3) == 0;
  S.Labels = static_cast<TFigType>(B.Pick(5));
  S.MinTicks = B.Pick(4) == 0 ? B.Raw<std::int32_t>() : B.IntIn(-1, 12);
  S.ShortTicks = B.Bool();
  S.Type = static_cast<TScaleType>(B.Pick(4));
  S.Transparent = B.Pick(4) == 0;
  return S;
}

void Configure(TScale& S, TFuzzBytes& B, const TScaleCase& Case) {
  S.SetScaleType(Case.Type);
  S.SetMarginLeft(B.IntIn(-10, 250));
  S.SetMarginRight(B.IntIn(-10, 250));
  S.SetMarginTop(B.IntIn(-10, 250));
  S.SetMarginBottom(B.IntIn(-10, 250));
  S.SetFrameStyle(static_cast<TFrameStyle>(B.Pick(6)));
  S.SetColorScheme(static_cast<TColorScheme>(B.Pick(2)));
  S.SetShowBaseLine(B.Bool());
  S.SetShortTicks(Case.ShortTicks);
  S.SetDecPlaces(B.IntIn(-6, 20));
  S.Font().SetSize(B.IntIn(-30, 60));
  if (B.Bool()) S.Font().SetStyle(TFontStyles{fsBold, fsItalic});
  TDTLabel& D = S.DateFormat();
  D.SetTimeFormat(static_cast<TTimeFormat>(B.Pick(3)));
  D.SetDateSeparator(static_cast<char>(B.Byte()));
  D.SetTimeSeparator(static_cast<char>(B.Byte()));
  D.SetYearLength(static_cast<TYearLength>(B.Pick(3)));
  D.SetMonthName(B.Bool());
  D.SetDateOrder(static_cast<TDateOrder>(B.Pick(3)));
  D.SetDateForTime(static_cast<TDateForTime>(B.Pick(4)));
  if (B.Bool()) S.SetCaption(B.String(20));
  S.SetCaptionAnchor(static_cast<TScaleUnitAnchor>(B.Pick(3)));
  S.SetCaptionPosX(B.IntIn(-500, 500));
  S.SetCaptionPosY(B.IntIn(-500, 500));
  if (B.Bool()) S.SetScaleInscript(B.String(12));
  if (B.Bool()) S.SetUserTickText(B.String(60));
  S.SetTransparent(Case.Transparent);
  // The order of range, type and the logarithmic switch matters (the switch
  // is refused for ranges not above zero), so both orders are tried.
  if (B.Bool()) {
    S.SetRange(Case.Low, Case.High);
    S.SetLabelType(Case.Labels);
    S.SetLogarithmic(Case.Logarithmic);
  } else {
    S.SetLogarithmic(Case.Logarithmic);
    S.SetLabelType(Case.Labels);
    S.SetRangeLow(Case.Low);
    S.SetRangeHigh(Case.High);
  }
  S.SetMinTicks(Case.MinTicks);
}

// What one paint reported.
struct TPaintReport {
  int TicksDrawn = 0;
  bool AllFinite = true;
};

void CheckStoredTicks(const TScale& S) {
  ZKW_FUZZ_CHECK(S.NumTicks() <= MaxStoredTicks);
  ZKW_FUZZ_CHECK(S.NumTicks() == static_cast<int>(S.TickPositions().size()));
  for (int I = 1; I <= S.NumTicks(); ++I) {
    ZKW_FUZZ_CHECK(std::isfinite(static_cast<double>(S.GetTickPos(I))));
    ZKW_FUZZ_CHECK(static_cast<double>(S.GetTickPos(I)) == S.TickPositions()[static_cast<std::size_t>(I - 1)]);
  }
  ZKW_FUZZ_CHECK(S.GetTickPos(0) == 0 && S.GetTickPos(S.NumTicks() + 1) == 0);
}

// The walk without a window: ends, and stores at most MaxStoredTicks ticks.
void CheckBareWalk(const TScaleCase& Case) {
  TTickParams P;
  P.RangeLow = Case.Low;
  P.RangeHigh = Case.High;
  P.Logarithmic = Case.Logarithmic;
  P.MinTicks = Case.MinTicks == 0 ? 0 : std::clamp(Case.MinTicks, 2, 10);
  P.ShortTicks = Case.ShortTicks;
  P.LabelType = Case.Labels;
  P.Vertical = IsVerticalScale(Case.Type);
  const TTickWalkResult R = WalkTicks(P);
  const std::vector<double> Stored = StoredTickPositions(R.Ticks);
  ZKW_FUZZ_CHECK(Stored.size() <= static_cast<std::size_t>(MaxStoredTicks));
  for (double V : Stored) ZKW_FUZZ_CHECK(std::isfinite(V));
  if (R.Message != smNone) ZKW_FUZZ_CHECK(R.Ticks.empty());
}

}  // namespace
}  // namespace zkw::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zkw::InitHeadless();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace zkw;
  using namespace zkw::fuzz;
  TFuzzBytes B(Data, Size);
  const int W = B.IntIn(-10, MaxWidth), H = B.IntIn(-10, MaxHeight);
  const bool OnHost = B.Bool();
  const int HostX = B.IntIn(-100, 100), HostY = B.IntIn(-100, 100);
  const TScaleCase Case = DecodeCase(B);
  CheckBareWalk(Case);

  auto S = std::make_unique<TScale>(nullptr);
  S->SetBounds(0, 0, W, H);
  Configure(*S, B, Case);
  TPaintReport Report;
  S->OnScaleTickDrawn = [&Report](TObject*, TCanvas&, TScaleType, double Pos, int, int) {
    ++Report.TicksDrawn;
    if (!std::isfinite(Pos)) Report.AllFinite = false;
  };
  const std::string Suffix = B.String(8);
  S->OnBeforeTickLabel = [&Suffix](TObject*, TScaleType, double, std::string& Label) { Label += Suffix; };
  TBitmap Host(std::max(W, 0) + 40, std::max(H, 0) + 40);
  if (OnHost) S->SetHostCanvas(&Host.Canvas(), HostX, HostY);
  S->HandleNeeded();
  if (Verbose())
    std::fprintf(stderr, "  %dx%d type %d, %.17g .. %.17g log %d labels %d min ticks %d\n", W, H,
                 static_cast<int>(Case.Type), Case.Low, Case.High, S->Logarithmic(),
                 static_cast<int>(S->LabelType()), S->MinTicks());

  // Paints on a white host canvas (or the own window); a transparent scale
  // leaves its background, so only an opaque one must repeat its pixels.
  auto Paint = [&] {
    Report = {};
    if (OnHost) {
      Host.SetSize(0, 0);
      Host.SetSize(std::max(W, 0) + 40, std::max(H, 0) + 40);
    }
    S->ForcePaint();
    return (OnHost ? Host.Image() : S->Canvas().Target().Image()).copy();
  };
  const QImage FirstImage = Paint();
  CheckStoredTicks(*S);
  ZKW_FUZZ_CHECK(Report.AllFinite);
  const TPaintReport First = Report;
  if (Verbose())
    std::fprintf(stderr, "  painted %.17g .. %.17g: %d stored ticks, %d drawn\n", S->RangeLow(), S->RangeHigh(),
                 S->NumTicks(), Report.TicksDrawn);
  const std::vector<double> FirstTicks = S->TickPositions();

  // The same paint again draws the same ticks (and pixels).
  const QImage SecondImage = Paint();
  ZKW_FUZZ_CHECK(Report.TicksDrawn == First.TicksDrawn);
  ZKW_FUZZ_CHECK(S->TickPositions() == FirstTicks);
  if (!Case.Transparent) ZKW_FUZZ_CHECK(SecondImage == FirstImage);

  // A few values through the pixel map: never undefined, whatever the value.
  for (int N = 0; N < 4; ++N) (void)S->ValueToPixel(B.Double());
  if (OnHost) S->SetHostCanvas(nullptr, 0, 0);
  return 0;
}
