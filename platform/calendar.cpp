// Day values (days since 30 December 1899) and the proleptic Gregorian calendar.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/rtl.h"

namespace zkw {

namespace {

// Days from 1 March of year 0 (civil-from-days counting in 400-year eras);
// day 0 of the value scale, 30 December 1899, is 693899 days after it.
constexpr std::int64_t EpochShift = 693899;

std::int64_t DaysFromCivil(std::int64_t Y, unsigned M, unsigned D) {
  Y -= M <= 2;
  const std::int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
  const auto YoE = static_cast<unsigned>(Y - Era * 400);
  const unsigned DoY = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
  const unsigned DoE = YoE * 365 + YoE / 4 - YoE / 100 + DoY;
  return Era * 146097 + static_cast<std::int64_t>(DoE);
}

void CivilFromDays(std::int64_t Z, int& Y, int& M, int& D) {
  const std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const auto DoE = static_cast<unsigned>(Z - Era * 146097);
  const unsigned YoE = (DoE - DoE / 1460 + DoE / 36524 - DoE / 146096) / 365;
  const unsigned DoY = DoE - (365 * YoE + YoE / 4 - YoE / 100);
  const unsigned MP = (5 * DoY + 2) / 153;
  D = static_cast<int>(DoY - (153 * MP + 2) / 5 + 1);
  M = static_cast<int>(MP < 10 ? MP + 3 : MP - 9);
  Y = static_cast<int>(static_cast<std::int64_t>(YoE) + Era * 400 + (M <= 2));
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, double& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month)) return false;
  Date = static_cast<double>(DaysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)) -
                             EpochShift);
  return true;
}

double EncodeDate(int Year, int Month, int Day) {
  double Date = 0;
  if (!TryEncodeDate(Year, Month, Day, Date)) {
    throw EConvertError("Invalid date: year " + std::to_string(Year) + ", month " + std::to_string(Month) +
                        ", day " + std::to_string(Day));
  }
  return Date;
}

void DecodeDate(double DateTime, int& Year, int& Month, int& Day) {
  const std::int64_t Days = std::clamp<std::int64_t>(Floor(DateTime), MinDayValue, MaxDayValue);
  CivilFromDays(Days + EpochShift, Year, Month, Day);
}

void DecodeTime(double DateTime, int& Hour, int& Minute, int& Second, int& MilliSecond) {
  std::int64_t Ms = 0;
  if (std::isfinite(DateTime)) {
    const double Fraction = DateTime - std::floor(DateTime);
    Ms = std::clamp<std::int64_t>(Round(static_cast<Extended>(Fraction) * 86400000.0L), 0, 86399999);
  }
  Hour = static_cast<int>(Ms / 3600000);
  Minute = static_cast<int>(Ms / 60000 % 60);
  Second = static_cast<int>(Ms / 1000 % 60);
  MilliSecond = static_cast<int>(Ms % 1000);
}

}  // namespace zkw
