// Number texts, month names and date/time patterns.
//
// Numbers are first taken to 15 significant decimal digits (what a double holds
// reliably), then rounded half away from zero to the wanted digits, so 2.5 with
// no decimals gives "3" and 0.15 with one decimal gives "0.2", as a reader
// expects. A value that rounds to zero shows no minus sign. NaN and infinities
// give "NAN", "INF" and "-INF".
#include <QLocale>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/rtl.h"

namespace zkw {

namespace {

// |value| = 0.D1D2D3... x 10^Exp (Digits empty or all zero for zero).
struct Decimal {
  bool Negative = false;
  std::string Digits;
  int Exp = 0;
};

Decimal ToDecimal(Extended Value) {
  Decimal D;
  D.Negative = std::signbit(Value);
  const Extended A = std::fabs(Value);
  if (A == 0) {
    D.Digits = "0";
    D.Exp = 1;
    return D;
  }
  char Buffer[64];
  std::snprintf(Buffer, sizeof Buffer, "%.14Le", A);  // d.dddddddddddddde[+-]x
  const std::string Text(Buffer);
  const std::size_t E = Text.find('e');
  D.Digits = Text.substr(0, 1) + Text.substr(2, E - 2);
  D.Exp = std::stoi(Text.substr(E + 1)) + 1;
  return D;
}

// Keeps the first Keep digits, rounding half away from zero; a carry out of the
// first digit raises the exponent.
void RoundDigits(Decimal& D, int Keep) {
  if (Keep >= static_cast<int>(D.Digits.size())) return;
  const bool Up = Keep >= 0 && D.Digits[static_cast<std::size_t>(Keep)] >= '5';
  D.Digits.resize(static_cast<std::size_t>(std::max(Keep, 0)));
  if (!Up) return;
  int I = Keep - 1;
  while (I >= 0 && D.Digits[static_cast<std::size_t>(I)] == '9') D.Digits[static_cast<std::size_t>(I--)] = '0';
  if (I >= 0) {
    ++D.Digits[static_cast<std::size_t>(I)];
  } else {
    D.Digits.insert(D.Digits.begin(), '1');
    ++D.Exp;
  }
}

char DigitAt(const Decimal& D, long long Pos) {
  return Pos >= 0 && Pos < static_cast<long long>(D.Digits.size()) ? D.Digits[static_cast<std::size_t>(Pos)] : '0';
}

const char* NonFinite(Extended Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  return nullptr;
}

std::string Padded(long long Value, int Width) {
  std::string S = std::to_string(Value < 0 ? -Value : Value);
  if (static_cast<int>(S.size()) < Width) S.insert(0, static_cast<std::size_t>(Width - static_cast<int>(S.size())), '0');
  return S;
}

std::array<std::string, 12>& MonthNames() {
  static std::array<std::string, 12> Names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return Names;
}

bool StartsWithNoCase(const std::string& S, std::size_t At, const char* Token) {
  for (std::size_t K = 0; Token[K]; ++K) {
    if (At + K >= S.size() || std::tolower(static_cast<unsigned char>(S[At + K])) != Token[K]) return false;
  }
  return true;
}

}  // namespace

std::string FormatFixed(Extended Value, int Decimals) {
  if (const char* Special = NonFinite(Value)) return Special;
  Decimals = std::clamp(Decimals, 0, 4000);
  Decimal D = ToDecimal(Value);
  RoundDigits(D, D.Exp + Decimals);
  std::string Out;
  if (D.Exp <= 0) {
    Out = "0";
  } else {
    for (int I = 0; I < D.Exp; ++I) Out += DigitAt(D, I);
  }
  if (Decimals > 0) {
    Out += '.';
    for (int I = 0; I < Decimals; ++I) Out += DigitAt(D, static_cast<long long>(D.Exp) + I);
  }
  const bool NonZero = Out.find_first_of("123456789") != std::string::npos;
  return D.Negative && NonZero ? "-" + Out : Out;
}

std::string FormatExponent(Extended Value, int Precision, int ExpDigits) {
  if (const char* Special = NonFinite(Value)) return Special;
  Precision = std::clamp(Precision, 1, 40);
  ExpDigits = std::clamp(ExpDigits, 1, 10);
  Decimal D = ToDecimal(Value);
  int Exponent = 0;
  const bool Zero = D.Digits.find_first_not_of('0') == std::string::npos;
  if (!Zero) {
    RoundDigits(D, Precision);
    Exponent = D.Exp - 1;
  }
  std::string Out;
  if (D.Negative && !Zero) Out += '-';
  Out += Zero ? '0' : DigitAt(D, 0);
  if (Precision > 1) {
    Out += '.';
    for (int I = 1; I < Precision; ++I) Out += Zero ? '0' : DigitAt(D, I);
  }
  Out += Exponent < 0 ? "E-" : "E+";
  Out += Padded(Exponent, ExpDigits);
  return Out;
}

const std::array<std::string, 12>& ShortMonthNames() { return MonthNames(); }

void SetShortMonthNames(const std::array<std::string, 12>& Names) { MonthNames() = Names; }

void UseLocaleMonthNames() {
  const QLocale Locale = QLocale::system();
  for (int M = 1; M <= 12; ++M) {
    const QString Name = Locale.monthName(M, QLocale::ShortFormat);
    if (!Name.isEmpty()) MonthNames()[static_cast<std::size_t>(M - 1)] = Name.toStdString();
  }
}

std::string FormatDateTime(const std::string& Pattern, double DateTime) {
  if (std::fabs(DateTime) < 1e-8) DateTime = 0;  // a hair below midnight of day 0 is day 0
  int Year, Month, Day, Hour, Minute, Second, Milli;
  DecodeDate(DateTime, Year, Month, Day);
  DecodeTime(DateTime, Hour, Minute, Second, Milli);

  // am/pm anywhere outside quoted text switches hh and h to the 12-hour clock.
  bool TwelveHour = false;
  for (std::size_t I = 0; I < Pattern.size(); ++I) {
    if (Pattern[I] == '"') {
      const std::size_t Close = Pattern.find('"', I + 1);
      if (Close == std::string::npos) break;
      I = Close;
    } else if (StartsWithNoCase(Pattern, I, "am/pm")) {
      TwelveHour = true;
    }
  }
  const int ClockHour = TwelveHour ? (Hour % 12 == 0 ? 12 : Hour % 12) : Hour;

  std::string Out;
  std::size_t I = 0;
  while (I < Pattern.size()) {
    const char C = Pattern[I];
    if (C == '"') {
      const std::size_t Close = Pattern.find('"', I + 1);
      const std::size_t End = Close == std::string::npos ? Pattern.size() : Close;
      Out.append(Pattern, I + 1, End - I - 1);
      I = Close == std::string::npos ? Pattern.size() : Close + 1;
    } else if (StartsWithNoCase(Pattern, I, "am/pm")) {
      const bool Upper = std::isupper(static_cast<unsigned char>(C)) != 0;
      Out += Hour < 12 ? (Upper ? "AM" : "am") : (Upper ? "PM" : "pm");
      I += 5;
    } else if (StartsWithNoCase(Pattern, I, "yyyy")) {
      Out += Padded(Year, 4);
      I += 4;
    } else if (StartsWithNoCase(Pattern, I, "yy")) {
      Out += Padded(Year % 100, 2);
      I += 2;
    } else if (StartsWithNoCase(Pattern, I, "mmm")) {
      Out += ShortMonthNames()[static_cast<std::size_t>(Month - 1)];
      I += 3;
    } else if (StartsWithNoCase(Pattern, I, "mm")) {
      Out += Padded(Month, 2);
      I += 2;
    } else if (StartsWithNoCase(Pattern, I, "dd")) {
      Out += Padded(Day, 2);
      I += 2;
    } else if (StartsWithNoCase(Pattern, I, "hh")) {
      Out += Padded(ClockHour, 2);
      I += 2;
    } else if (StartsWithNoCase(Pattern, I, "h")) {
      Out += std::to_string(ClockHour);
      I += 1;
    } else if (StartsWithNoCase(Pattern, I, "nn")) {
      Out += Padded(Minute, 2);
      I += 2;
    } else if (StartsWithNoCase(Pattern, I, "ss")) {
      Out += Padded(Second, 2);
      I += 2;
    } else if (StartsWithNoCase(Pattern, I, "zz")) {
      Out += Padded(Milli, 2);
      I += 2;
    } else {
      Out += C;
      ++I;
    }
  }
  return Out;
}

}  // namespace zkw
