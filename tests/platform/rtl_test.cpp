// Run-time helpers: rounding, the generator, the calendar, number and date texts,
// file names.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl.h"

namespace zkw {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(Round(0.5L), 0);
  EXPECT_EQ(Round(1.5L), 2);
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(-0.5L), 0);
  EXPECT_EQ(Round(-1.5L), -2);
  EXPECT_EQ(Round(-2.5L), -2);
  EXPECT_EQ(Round(2.4999L), 2);
  EXPECT_EQ(Round(-2.5001L), -3);
  EXPECT_EQ(Round(-0.92L), -1);
  EXPECT_EQ(Trunc(-2.7L), -2);
  EXPECT_EQ(Floor(-2.2L), -3);
  EXPECT_EQ(Ceil(-2.7L), -2);
  EXPECT_EQ(Ceil(2.1L), 3);
}

TEST(Rounding, NoInputReachesUndefinedBehaviour) {
  constexpr auto Max = std::numeric_limits<std::int64_t>::max(), Min = std::numeric_limits<std::int64_t>::min();
  for (auto F : {&Round, &Trunc, &Floor, &Ceil}) {
    EXPECT_EQ(F(NaN), 0);
    EXPECT_EQ(F(Inf), Max);
    EXPECT_EQ(F(-Inf), Min);
    EXPECT_EQ(F(1e300), Max);
    EXPECT_EQ(F(-1e300), Min);
  }
  EXPECT_EQ(RealToPixel(1e12), 2147483647);
  EXPECT_EQ(RealToPixel(-1e12), -2147483647);
  EXPECT_EQ(RealToPixel(NaN), 0);
  EXPECT_EQ(RealToPixel(-Inf), -2147483647);
  EXPECT_EQ(RealToPixel(99.5), 100);
  EXPECT_EQ(RealToPixel(100.5), 100);
  EXPECT_EQ(ClampInt(std::int64_t{1} << 40, -30000, 30000), 30000);
}

TEST(Generator, StartsFromSeedZeroWithTheKnownSequence) {
  const std::uint32_t Kept = RandSeed();
  SetRandSeed(0);
  EXPECT_EQ(Random(), std::ldexp(1.0, -32));
  EXPECT_EQ(Random(), 134775814 * std::ldexp(1.0, -32));
  EXPECT_EQ(RandSeed(), 134775814u);
  SetRandSeed(0xFFFFFFFFu);  // wraps modulo 2^32
  const double R = Random();
  EXPECT_EQ(RandSeed(), 0xFFFFFFFFu * 134775813u + 1u);
  EXPECT_GE(R, 0.0);
  EXPECT_LT(R, 1.0);
  SetRandSeed(Kept);
}

TEST(Calendar, KnownDates) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1, 1, 1), MinDayValue);
  EXPECT_EQ(EncodeDate(9999, 12, 31), MaxDayValue);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
  int Y, M, D;
  DecodeDate(38711.75, Y, M, D);
  EXPECT_EQ((std::array{Y, M, D}), (std::array{2005, 12, 25}));
  DecodeDate(-0.25, Y, M, D);  // the day is the floor: 29 December 1899
  EXPECT_EQ((std::array{Y, M, D}), (std::array{1899, 12, 29}));
  DecodeDate(1e300, Y, M, D);  // clamped into the supported range
  EXPECT_EQ((std::array{Y, M, D}), (std::array{9999, 12, 31}));
  DecodeDate(NaN, Y, M, D);
  EXPECT_EQ((std::array{Y, M, D}), (std::array{1899, 12, 30}));
}

TEST(Calendar, ValidationAndLeapYears) {
  double Date = 42;
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, Date));
  EXPECT_FALSE(TryEncodeDate(2023, 13, 1, Date));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, Date));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, Date));
  EXPECT_FALSE(TryEncodeDate(2023, 4, 31, Date));
  EXPECT_EQ(Date, 42);
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, Date));
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(4));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 0), 0);
}

TEST(Calendar, EveryDayOfYearsOneToNineThousandRoundTrips) {
  int PY = 1, PM = 1, PD = 0;  // the day before 1 January 1
  for (int Day = MinDayValue; Day <= MaxDayValue; ++Day) {
    int Y, M, D;
    DecodeDate(Day + 0.5, Y, M, D);
    // Each day is the successor of the one before it.
    const bool NextDay = Y == PY && M == PM && D == PD + 1;
    const bool NextMonth = Y == PY && M == PM + 1 && D == 1 && PD == DaysInMonth(PY, PM);
    const bool NextYear = Y == PY + 1 && M == 1 && D == 1 && PM == 12 && PD == 31;
    ASSERT_TRUE(NextDay || NextMonth || NextYear) << Day << ": " << Y << "-" << M << "-" << D;
    double Back = 0;
    ASSERT_TRUE(TryEncodeDate(Y, M, D, Back));
    ASSERT_EQ(Back, Day);
    PY = Y, PM = M, PD = D;
  }
  EXPECT_EQ(PY, 9999);
}

TEST(Calendar, TimeOfDayRoundsToMilliseconds) {
  int H, N, S, Z;
  DecodeTime(0.5, H, N, S, Z);
  EXPECT_EQ((std::array{H, N, S, Z}), (std::array{12, 0, 0, 0}));
  DecodeTime(1 + (3600 + 120 + 5.25) / 86400.0, H, N, S, Z);
  EXPECT_EQ((std::array{H, N, S, Z}), (std::array{1, 2, 5, 250}));
  DecodeTime(-0.25, H, N, S, Z);  // fraction above the floor
  EXPECT_EQ((std::array{H, N, S, Z}), (std::array{18, 0, 0, 0}));
  DecodeTime(0.9999999999, H, N, S, Z);  // would round to 24:00
  EXPECT_EQ((std::array{H, N, S, Z}), (std::array{23, 59, 59, 999}));
  DecodeTime(NaN, H, N, S, Z);
  EXPECT_EQ((std::array{H, N, S, Z}), (std::array{0, 0, 0, 0}));
}

TEST(NumberText, FixedPoint) {
  EXPECT_EQ(FormatFixed(12.5, 2), "12.50");
  EXPECT_EQ(FormatFixed(1215, 2), "1215.00");
  EXPECT_EQ(FormatFixed(-0.35, 2), "-0.35");
  EXPECT_EQ(FormatFixed(0, 0), "0");
  EXPECT_EQ(FormatFixed(0.2 * 3, 1), "0.6");
  EXPECT_EQ(FormatFixed(2.5, 0), "3");
  EXPECT_EQ(FormatFixed(0.15, 1), "0.2");
  EXPECT_EQ(FormatFixed(999.996, 2), "1000.00");
  EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
  EXPECT_EQ(FormatFixed(0.00012, 5), "0.00012");
  EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
  EXPECT_EQ(FormatFixed(3.7, -2), "4");
  EXPECT_EQ(FormatFixed(NaN, 2), "NAN");
  EXPECT_EQ(FormatFixed(-Inf, 2), "-INF");
}

TEST(NumberText, Scientific) {
  EXPECT_EQ(FormatExponent(12345, 2, 4), "1.2E+0004");
  EXPECT_EQ(FormatExponent(-0.00012, 2, 4), "-1.2E-0004");
  EXPECT_EQ(FormatExponent(0.00005, 2, 4), "5.0E-0005");
  EXPECT_EQ(FormatExponent(0, 2, 4), "0.0E+0000");
  EXPECT_EQ(FormatExponent(9.96, 2, 4), "1.0E+0001");
  EXPECT_EQ(FormatExponent(1e100, 2, 4), "1.0E+0100");
  EXPECT_EQ(FormatExponent(2e6, 2, 2), "2.0E+06");
  EXPECT_EQ(FormatExponent(6.02e23, 3, 1), "6.02E+23");
  EXPECT_EQ(FormatExponent(7, 1, 1), "7E+0");
  EXPECT_EQ(FormatExponent(NaN, 2, 4), "NAN");
}

TEST(DateTimeText, PatternTokens) {
  const double Christmas = EncodeDate(2005, 12, 25);
  const double T1430 = Christmas + (14 * 60 + 30) / 1440.0;
  EXPECT_EQ(FormatDateTime("dd\".\"mm\".\"yyyy", Christmas), "25.12.2005");
  EXPECT_EQ(FormatDateTime("dd\".\"mm", Christmas), "25.12");
  EXPECT_EQ(FormatDateTime("mmm\"-\"yy", Christmas), "Dec-05");
  EXPECT_EQ(FormatDateTime("hh\":\"nn", T1430), "14:30");
  EXPECT_EQ(FormatDateTime("h\"h\"nn", T1430), "14h30");
  EXPECT_EQ(FormatDateTime("h\":\"nnam/pm", T1430), "2:30pm");
  EXPECT_EQ(FormatDateTime("HH:NN", T1430), "14:30");  // letters in either case
  EXPECT_EQ(FormatDateTime("ham/pm", 0.0), "12am");
  EXPECT_EQ(FormatDateTime("ham/pm", 0.5), "12pm");
  EXPECT_EQ(FormatDateTime("hAM/PM", 0.75), "6PM");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zz", 1 + (3600 + 120 + 5.25) / 86400.0), "01:02:05.250");
  EXPECT_EQ(FormatDateTime("ss.zz", 5.005 / 86400.0), "05.05");
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(800, 6, 1)), "0800");
  EXPECT_EQ(FormatDateTime("yy", EncodeDate(1, 1, 1)), "01");
  EXPECT_EQ(FormatDateTime("\"dd mm\" dd", Christmas), "dd mm 25");
  EXPECT_EQ(FormatDateTime("dd \"open", Christmas), "25 open");
  EXPECT_EQ(FormatDateTime("dd", -1e-9), "30");  // a hair below zero is day zero
}

TEST(DateTimeText, MonthNamesCanBeReplaced) {
  const auto Kept = ShortMonthNames();
  EXPECT_EQ(Kept[0], "Jan");
  EXPECT_EQ(Kept[11], "Dec");
  auto Names = Kept;
  Names[4] = "Mai";
  SetShortMonthNames(Names);
  EXPECT_EQ(FormatDateTime("mmm", EncodeDate(2020, 5, 3)), "Mai");
  SetShortMonthNames(Kept);
}

TEST(FileNames, AfterTheLastSeparator) {
  EXPECT_EQ(ExtractFileName("C:\\pictures\\back.bmp"), "back.bmp");
  EXPECT_EQ(ExtractFileName("/home/user/back.png"), "back.png");
  EXPECT_EQ(ExtractFileName("D:back.bmp"), "back.bmp");
  EXPECT_EQ(ExtractFileName("back.bmp"), "back.bmp");
  EXPECT_EQ(ExtractFileName("dir/sub\\"), "");
  EXPECT_EQ(ExtractFileName(""), "");
}

}  // namespace
}  // namespace zkw
