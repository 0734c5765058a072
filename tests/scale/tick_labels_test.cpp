// Tick label texts, grouped by label type: numbers, decade labels, user texts
// and inscription, times, and calendar date/time labels with the date line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl.h"
#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

// The labels of the long ticks of one walk, in production order.
std::vector<TTickLabel> LabelsOf(const TTickParams& P, const TTickLabelSettings& S,
                                 TTickLabelCache* Cache = nullptr) {
  const TTickWalkResult Walk = WalkTicks(P);
  TTickLabeller Labeller(S, Walk, Cache);
  std::vector<TTickLabel> Labels;
  for (const TTick& T : Walk.Ticks)
    if (T.Kind == tkLong) Labels.push_back(Labeller.Label(T));
  return Labels;
}

std::vector<std::string> TextsOf(const std::vector<TTickLabel>& Labels) {
  std::vector<std::string> Texts;
  for (const TTickLabel& L : Labels) Texts.push_back(L.Text);
  return Texts;
}

TTickParams Range(double Low, double High, int MinTicks = 3, TFigType Type = ftNum) {
  TTickParams P;
  P.RangeLow = Low;
  P.RangeHigh = High;
  P.MinTicks = MinTicks;
  P.ShortTicks = false;
  P.LabelType = Type;
  return P;
}

TTickLabelSettings Settings(const TTickParams& P, int DecPlaces = -2) {
  TTickLabelSettings S;
  S.LabelType = P.LabelType;
  S.DecPlaces = DecPlaces;
  S.RangeLow = P.RangeLow;
  S.RangeHigh = P.RangeHigh;
  return S;
}

// --- Number texts ---------------------------------------------------------------

TEST(NumberText, FixedAndScientific) {
  EXPECT_EQ(FormatTickNumber(12.5, 2), "12.50");
  EXPECT_EQ(FormatTickNumber(-3, 0), "-3");
  EXPECT_EQ(FormatTickNumber(12345, -1), " 1.2E+04");
  EXPECT_EQ(FormatTickNumber(0.00012, -1), " 1.2E-04");
  EXPECT_EQ(FormatTickNumber(-12345, -1), "-1.2E+04");
  EXPECT_EQ(FormatTickNumber(0, -1), " 0.0E+00");
  EXPECT_EQ(FormatTickNumber(-0.0, -1), " 0.0E+00");
  EXPECT_EQ(FormatTickNumber(9.96e5, -1), " 1.0E+06");
  // Exponents of 100 and more do not fit: eight asterisks.
  EXPECT_EQ(FormatTickNumber(1e100, -1), "********");
  EXPECT_EQ(FormatTickNumber(-2.5e-150, -1), "********");
  EXPECT_EQ(FormatTickNumber(NAN, 2), "");
}

TEST(NumberText, EffectiveDecimalsOfLinearScales) {
  const struct {
    int DecPlaces;
    double Low, High;
    int Expected;
  } Cases[] = {
      {-2, 0, 100, 0},     {-2, 0, 1, 2},       {-2, 0, 10, 1},   {-2, 0, 0.001, 5},
      {-2, 0, 2e6, -1},    {-2, 0, 0.00005, -1}, {-2, 0, 1e6, -1}, {-2, 0, 0.0001, -1},
      {-3, 0, 50, 0},      {-2, 100, 0, 0},     {4, 0, 1e9, 4},   {-1, 0, 1, -1},
      {-2, 0, NAN, -1},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(EffectiveDecimals(C.DecPlaces, C.High, C.Low), C.Expected)
        << C.DecPlaces << " " << C.Low << ".." << C.High;
}

TEST(NumberText, EffectiveDecimalsOfDecadeWalks) {
  EXPECT_EQ(EffectiveLogDecimals(-2, 100, 0.01), 3);
  EXPECT_EQ(EffectiveLogDecimals(-2, 0.01, 100), 3);
  EXPECT_EQ(EffectiveLogDecimals(-2, 1000, 1), 0);
  EXPECT_EQ(EffectiveLogDecimals(-2, 2e6, 1), -1);
  EXPECT_EQ(EffectiveLogDecimals(-3, 1000, 1), -3);  // -3 stays: exponent labels
  EXPECT_EQ(EffectiveLogDecimals(2, 1000, 1), 2);
}

// --- Labels of the linear walk ----------------------------------------------------

TEST(LinearLabels, AutomaticDecimals) {
  auto P = Range(0, 100);
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P))),
            (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
  P = Range(0, 1);
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P))),
            (std::vector<std::string>{"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}));
  P = Range(0, 10);
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P))).at(1), "2.0");
  P = Range(0, 0.001);
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P))).at(1), "0.00020");
}

TEST(LinearLabels, ZeroTickAndScientificRanges) {
  auto P = Range(0, 2e6);
  std::vector<std::string> Texts = TextsOf(LabelsOf(P, Settings(P)));
  EXPECT_EQ(Texts.at(0), "0.0");  // above 100000: not the scientific zero
  EXPECT_EQ(Texts.at(1), " 5.0E+05");
  P = Range(0, 0.00005);
  Texts = TextsOf(LabelsOf(P, Settings(P)));
  EXPECT_EQ(Texts.at(0), " 0.0E+00");
  EXPECT_EQ(Texts.at(1), " 1.0E-05");
  P = Range(0, 2e6);
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, 0))).at(0), "0");

  // A tick that floating point puts a hair off zero is labelled and reported
  // as exactly 0.
  P = Range(-0.3, 0.3);
  const std::vector<TTickLabel> Labels = LabelsOf(P, Settings(P));
  bool SawZero = false;
  for (const TTickLabel& L : Labels)
    if (L.Text == "0.00") {
      SawZero = true;
      EXPECT_EQ(L.Value, 0.0);
      EXPECT_FALSE(std::signbit(L.Value));
    }
  EXPECT_TRUE(SawZero);
}

TEST(LinearLabels, CutWholeNumbersUserTextAndInscription) {
  auto P = Range(0, 1e13);  // 14 characters at most
  for (const std::string& T : TextsOf(LabelsOf(P, Settings(P, 2)))) EXPECT_LE(T.size(), 14u);
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, 2))).at(1), "2000000000000.");

  P = Range(0, 3, 5);  // distance 0.5
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, 0))),
            (std::vector<std::string>{"0", "", "1", "", "2", "", "3"}));

  P = Range(0, 4, 4, ftUserText);  // five long ticks
  auto S = Settings(P);
  S.UserTickText = "Mon|Tue|Wed";
  EXPECT_EQ(TextsOf(LabelsOf(P, S)),
            (std::vector<std::string>{"Mon", "Tue", "Wed", "Wed", "Wed"}));

  P = Range(0, 100);
  S = Settings(P);
  S.ScaleInscript = "& kg";
  EXPECT_EQ(TextsOf(LabelsOf(P, S)).at(1), "20 kg");
  S.ScaleInscript = "ca. &";
  EXPECT_EQ(TextsOf(LabelsOf(P, S)).at(1), "ca. 20");
}

TEST(UserTexts, FieldsAndInscription) {
  EXPECT_EQ(UserTickField("a|b|c", 1), "a");
  EXPECT_EQ(UserTickField("a|b|c", 3), "c");
  EXPECT_EQ(UserTickField("a|b|c", 7), "c");
  EXPECT_EQ(UserTickField("a|b|", 2), "b");
  EXPECT_EQ(UserTickField("a|b|", 3), "");
  EXPECT_EQ(UserTickField("a|b|", 9), "");
  EXPECT_EQ(UserTickField("", 1), "");
  EXPECT_EQ(UserTickField("a|b", 0), "");
  EXPECT_EQ(UserTickField("|x", 1), "");

  EXPECT_EQ(ApplyInscript("12", "& m"), "12 m");
  EXPECT_EQ(ApplyInscript("12", "$"), "$12");
  EXPECT_EQ(ApplyInscript("12", ""), "12");
  EXPECT_EQ(ApplyInscript("", "& m"), "");
  EXPECT_EQ(ApplyInscript("5", "&&"), "5&");  // only the first "&" is replaced
}

// --- Labels of the decade walk ----------------------------------------------------

TEST(LogLabels, ExponentsAndStrippedDecimals) {
  auto P = Range(1, 10000);
  P.Logarithmic = true;
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, -3))),
            (std::vector<std::string>{"0", "1", "2", "3", "4"}));

  P = Range(0.01, 100);
  P.Logarithmic = true;
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, -2))),
            (std::vector<std::string>{"0.01", "0.1", "1", "10", "100"}));
  // A fixed DecPlaces keeps its zeros.
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, 2))).at(4), "100.00");

  // Dense decades with exponent labels: 2 and 5 stay empty.
  P = Range(0.1, 10, 5);
  P.Logarithmic = true;
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P, -3))),
            (std::vector<std::string>{"-1", "", "", "0", "", "", "1"}));

  // User texts count labelled ticks only.
  P = Range(1, 1000, 4, ftUserText);
  P.Logarithmic = true;
  P.ShortTicks = true;
  auto S = Settings(P);
  S.UserTickText = "a|b|c|d";
  EXPECT_EQ(TextsOf(LabelsOf(P, S)).at(3), "d");
}

// --- Time labels ------------------------------------------------------------------

TEST(TimeLabels, SignedClockTexts) {
  EXPECT_EQ(FormatTimeOfDay(3725, false), " 01:02:05");
  EXPECT_EQ(FormatTimeOfDay(-0.25, true), "-00:00:00.250");
  EXPECT_EQ(FormatTimeOfDay(59.5, true), " 00:00:59.500");
  EXPECT_EQ(FormatTimeOfDay(360000, false), " 100:00:00");
  // Sums of steps land a hair below the whole second; the text does not.
  EXPECT_EQ(FormatTimeOfDay(2.9999999999999996, false), " 00:00:03");
  EXPECT_EQ(FormatTimeOfDay(59.9996, true), " 00:01:00.000");
  EXPECT_EQ(FormatTimeOfDay(NAN, true), "");

  auto P = Range(0, 1.5, 3, ftTime);  // 0.5 s steps: milliseconds
  EXPECT_EQ(TextsOf(LabelsOf(P, Settings(P))),
            (std::vector<std::string>{" 00:00:00.000", " 00:00:00.500", " 00:00:01.000",
                                      " 00:00:01.500"}));
  P = Range(0, 0.002, 3, ftTime);  // declined: numeric labels with the inscription
  auto S = Settings(P, 4);
  S.ScaleInscript = "& s";
  EXPECT_EQ(TextsOf(LabelsOf(P, S)).at(1), "0.0005 s");
}

// --- Date/time labels ---------------------------------------------------------------

TDateFormatValues Format(TTimeFormat Time, char DateSep = '-', TYearLength Year = ylYYYY,
                       bool MonthName = true, TDateOrder Order = doDDMMYY) {
  TDateFormatValues F;
  F.TimeFormat = Time;
  F.DateSeparator = DateSep;
  F.TimeSeparator = ':';
  F.YearLength = Year;
  F.MonthName = MonthName;
  F.DateOrder = Order;
  return F;
}

TEST(DateTimeLabels, SubDayLevelsByTimeFormat) {
  const double T1430 = EncodeDate(2005, 12, 25) + 14.5 / 24;
  EXPECT_EQ(FormatDateTimeTick(dlMinutes, Format(tfHHMMSS), T1430), "14:30");
  EXPECT_EQ(FormatDateTimeTick(dlMinutes, Format(tfHHhMM), T1430), "14h30");
  EXPECT_EQ(FormatDateTimeTick(dlMinutes, Format(tfAMPM), T1430), "2:30pm");
  EXPECT_EQ(FormatDateTimeTick(dlHours, Format(tfAMPM), 0.0), "12am");
  EXPECT_EQ(FormatDateTimeTick(dlHours, Format(tfAMPM), 0.5), "12pm");
  EXPECT_EQ(FormatDateTimeTick(dlHours, Format(tfHHhMM), 0.75), "18h");
  const double Sec = EncodeDate(2005, 12, 25) + (9 * 3600 + 5 * 60 + 7.25) / 86400;
  EXPECT_EQ(FormatDateTimeTick(dlSeconds, Format(tfHHMMSS), Sec), "09:05:07");
  EXPECT_EQ(FormatDateTimeTick(dlSeconds, Format(tfAMPM), Sec), "9:05.07am");
  EXPECT_EQ(FormatDateTimeTick(dlHundredths, Format(tfHHMMSS), Sec), "09:05:07.250");
  EXPECT_EQ(FormatDateTimeTick(dlHundredths, Format(tfHHhMM), Sec), "9h05:07.250");
  // A position a hair before midnight reads as the next day's 00:00.
  EXPECT_EQ(FormatDateTimeTick(dlHours, Format(tfHHMMSS), 2 - 1e-12), "00:00");
}

TEST(DateTimeLabels, DaysMonthsAndYears) {
  const double Xmas = EncodeDate(2005, 12, 25);
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, '.', ylYYYY, false), Xmas), "25.12.2005");
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, '.', ylNone, false), Xmas), "25.12");
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, '/', ylYY, false, doMMDDYY), Xmas),
            "12/25/05");
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, '-', ylNone, false, doYYMMDD), Xmas),
            "12-25");
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, '-', ylYYYY, true, doYYMMDD), Xmas),
            "2005-" + ShortMonthNames()[11] + "-25");
  EXPECT_EQ(FormatDateTimeTick(dlMonths, Format(tfHHMMSS, '-', ylYYYY, false), Xmas), "12-2005");
  EXPECT_EQ(FormatDateTimeTick(dlMonths, Format(tfHHMMSS, '-', ylYY, false, doYYMMDD), Xmas),
            "05-12");
  EXPECT_EQ(FormatDateTimeTick(dlMonths, Format(tfHHMMSS, '-', ylNone, false), Xmas), "12");
  EXPECT_EQ(FormatDateTimeTick(dlYears, Format(tfHHMMSS), EncodeDate(2000, 1, 1)), "2000");
  EXPECT_EQ(FormatDateTimeTick(dlYears, Format(tfHHMMSS), EncodeDate(800, 1, 1)), "800");
  EXPECT_EQ(FormatDateTimeTick(dlYears, Format(tfHHMMSS, '-', ylYY), EncodeDate(1999, 1, 1)), "99");
  EXPECT_EQ(FormatDateTimeTick(dlYears, Format(tfHHMMSS, '-', ylNone), EncodeDate(2000, 1, 1)), "");
  // Separators are literal text, even a double quote.
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, '"', ylNone, false), Xmas), "25\"12");
  EXPECT_EQ(FormatDateTimeTick(dlDays, Format(tfHHMMSS, 'y', ylNone, false), Xmas), "25y12");
}

TEST(DateTimeLabels, DateLineRules) {
  auto P = Range(0, 2, 3, ftDateTime);  // hours level, long ticks every 12 h
  auto S = Settings(P);
  S.DateFormat = Format(tfHHMMSS, '-', ylYYYY, false);
  auto DateLines = [&](TDateForTime Rule) {
    S.DateFormat.DateForTime = Rule;
    std::vector<std::string> Lines;
    for (const TTickLabel& L : LabelsOf(P, S)) Lines.push_back(L.HasDateLine ? L.DateText : "-");
    return Lines;
  };
  EXPECT_EQ(DateLines(dtOnePerDay),
            (std::vector<std::string>{"30-12-1899", "-", "31-12-1899", "-", "01-01-1900"}));
  EXPECT_EQ(DateLines(dtOnePerChart), (std::vector<std::string>{"30-12-1899", "-", "-", "-", "-"}));
  EXPECT_EQ(DateLines(dtAllTicks).at(1), "30-12-1899");
  EXPECT_EQ(DateLines(dtNone), (std::vector<std::string>(5, "-")));
  EXPECT_EQ(TextsOf(LabelsOf(P, S)).at(1), "12:00");

  // Without a year the date line is day and month in the chosen order.
  S.DateFormat.YearLength = ylNone;
  EXPECT_EQ(DateLines(dtOnePerChart).at(0), "30-12");
  S.DateFormat.DateOrder = doYYMMDD;
  EXPECT_EQ(DateLines(dtOnePerChart).at(0), "12-30");
  // Days and coarser levels have no date line.
  P = Range(0, 20, 3, ftDateTime);
  S.DateFormat.DateForTime = dtAllTicks;
  for (const TTickLabel& L : LabelsOf(P, S)) EXPECT_FALSE(L.HasDateLine);
}

bool SameLabels(const std::vector<TTickLabel>& A, const std::vector<TTickLabel>& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t K = 0; K < A.size(); ++K) {
    if (A[K].Text != B[K].Text || A[K].HasDateLine != B[K].HasDateLine || A[K].DateText != B[K].DateText ||
        std::signbit(A[K].Value) != std::signbit(B[K].Value) || A[K].Value != B[K].Value)
      return false;
  }
  return true;
}

TEST(LabelCache, RepeatedAndChangedLabellingsMatchFreshOnes) {
  TTickLabelCache Cache;
  struct TCase {
    TTickParams P;
    int DecPlaces;
  };
  std::vector<TCase> Cases = {{Range(-50, 50), -2},        {Range(0, 1e7), -2},  {Range(0.001, 1e6), -2},
                              {Range(0, 3600, 3, ftTime), -2}, {Range(0, 2, 3, ftDateTime), -2},
                              {Range(0, 400, 3, ftDateTime), -2}, {Range(-1, 1), 0}};
  Cases[2].P.Logarithmic = true;
  Cases.push_back(Cases[2]);
  Cases.back().DecPlaces = -3;
  for (int Round = 0; Round < 2; ++Round) {
    for (const TCase& C : Cases) {
      TTickLabelSettings S = Settings(C.P, C.DecPlaces);
      for (TDateForTime Rule : {dtOnePerDay, dtOnePerChart, dtAllTicks}) {
        S.DateFormat.DateForTime = Rule;
        const auto Fresh = LabelsOf(C.P, S);
        ASSERT_FALSE(Fresh.empty());
        // Twice in a row: the second labelling reads every text from the cache.
        EXPECT_TRUE(SameLabels(LabelsOf(C.P, S, &Cache), Fresh)) << C.P.RangeLow << " " << Rule;
        EXPECT_TRUE(SameLabels(LabelsOf(C.P, S, &Cache), Fresh)) << C.P.RangeLow << " " << Rule;
      }
      // A changed inscription or format is not answered from the old texts.
      S.ScaleInscript = "& V";
      EXPECT_TRUE(SameLabels(LabelsOf(C.P, S, &Cache), LabelsOf(C.P, S)));
      S.DateFormat.DateSeparator = '/';
      S.DateFormat.MonthName = !S.DateFormat.MonthName;
      EXPECT_TRUE(SameLabels(LabelsOf(C.P, S, &Cache), LabelsOf(C.P, S)));
    }
  }
  EXPECT_LE(Cache.Size(), TTickLabelCache::MaxEntries);

  // A labelling that another one reset meanwhile stops reading the cache.
  const TTickParams A = Range(0, 100), B = Range(0, 2, 3, ftDateTime);
  const TTickWalkResult WalkA = WalkTicks(A), WalkB = WalkTicks(B);
  const TTickLabelSettings SA = Settings(A), SB = Settings(B);
  TTickLabeller First(SA, WalkA, &Cache);
  TTickLabeller Second(SB, WalkB, &Cache);
  TTickLabeller Plain(SA, WalkA);
  for (const TTick& T : WalkA.Ticks) {
    if (T.Kind == tkLong) {
      EXPECT_EQ(First.Label(T).Text, Plain.Label(T).Text);
    }
  }
  // ... and leaves no texts of its settings behind for the other one.
  EXPECT_TRUE(SameLabels(LabelsOf(B, SB, &Cache), LabelsOf(B, SB)));
  (void)Second;

  // Many different ticks: the cache starts again instead of growing.
  for (int K = 0; K < 400; ++K) LabelsOf(Range(K * 1000.0, K * 1000.0 + 999, 10), Settings(Range(0, 1000)), &Cache);
  EXPECT_LE(Cache.Size(), TTickLabelCache::MaxEntries);
}

}  // namespace
}  // namespace zkw
