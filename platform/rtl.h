// Run-time helpers: rounding, the uniform generator, number formatting, the
// calendar, date/time patterns and file names. Pure functions, no window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/core.h"

namespace zkw {

// Rounding. Every helper saturates to the int64 range and maps NaN to 0, so no
// double input reaches undefined behaviour.
std::int64_t Round(Extended X);  // nearest integer, halves to the even neighbour
std::int64_t Trunc(Extended X);  // toward zero
std::int64_t Floor(Extended X);  // largest integer not above X
std::int64_t Ceil(Extended X);   // smallest integer not below X

// The one checked real-to-pixel conversion: rounds halves to even and clamps to
// -2147483647 .. 2147483647; NaN gives 0.
int RealToPixel(Extended X);
// Clamps an integer into Lo..Hi (used for the renderers' -30000..30000 clamp).
constexpr int ClampInt(std::int64_t V, int Lo, int Hi) {
  return V < Lo ? Lo : (V > Hi ? Hi : static_cast<int>(V));
}

// Uniform generator: seed := seed * 134775813 + 1 (mod 2^32), r = seed * 2^-32.
// The seed starts at 0 and is never reseeded implicitly.
double Random();
std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t Seed);

// Fixed-point text with exactly Decimals (>= 0) decimals, "-" for negatives, no
// leading blanks: FormatFixed(12.5, 2) == "12.50".
std::string FormatFixed(Extended Value, int Decimals);
// Scientific text: optional "-", Precision significant digits as d.ddd, "E",
// the exponent's sign and at least ExpDigits exponent digits:
// FormatExponent(12345, 2, 4) == "1.2E+0004", FormatExponent(-0.00012, 2, 4) == "-1.2E-0004".
std::string FormatExponent(Extended Value, int Precision, int ExpDigits);

// Calendar. Day values count days since 30 December 1899; the day of a value v is
// floor(v), its time of day v - floor(v). Proleptic Gregorian, years 1..9999
// (day -693593 is 1 January 1, day 2958465 is 31 December 9999).
constexpr int MinDayValue = -693593;
constexpr int MaxDayValue = 2958465;
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
bool TryEncodeDate(int Year, int Month, int Day, double& Date);
double EncodeDate(int Year, int Month, int Day);  // EConvertError when invalid
// Splits floor(DateTime); days outside the supported range are clamped into it.
void DecodeDate(double DateTime, int& Year, int& Month, int& Day);
// Splits the time of day, rounded to the nearest millisecond (a fraction that
// rounds to 24:00:00.000 gives 23:59:59.999).
void DecodeTime(double DateTime, int& Hour, int& Minute, int& Second, int& MilliSecond);

// Abbreviated month names used by "mmm" (index 0 = January). English by default;
// UseLocaleMonthNames() takes the platform locale's where it has them.
const std::array<std::string, 12>& ShortMonthNames();
void SetShortMonthNames(const std::array<std::string, 12>& Names);
void UseLocaleMonthNames();

// Date/time pattern formatting. Tokens, letters in either case: "text" (quoted,
// literal), yyyy, yy, mmm, mm, dd, hh, h, nn, ss, zz (milliseconds, at least two
// digits), am/pm (12-hour clock for hh and h when present); any other character
// is copied.
std::string FormatDateTime(const std::string& Pattern, double DateTime);

// The file-name part of a path: after the last '/', '\' or drive ':'.
std::string ExtractFileName(const std::string& Path);

}  // namespace zkw
