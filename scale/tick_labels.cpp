#include "scale/tick_labels.h"

#include <algorithm>
#include <cmath>

#include "base/value_objects.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

// Numeric and decade labels are cut to this many characters.
constexpr std::size_t MaxNumberLabel = 14;

// A separator that is a double quote cannot be quoted for the formatter; it
// travels as this stand-in and is put back in the formatted text.
constexpr char QuoteStandIn = '\x01';

std::string Quoted(char C) {
  if (C == '\0') return {};  // an unset separator shows nothing
  return std::string("\"") + (C == '"' ? QuoteStandIn : C) + "\"";
}

// Tick positions are sums of steps: a position a hair before midnight must
// read as the next day's 00:00, so labels work on the nearest millisecond.
Extended SnapToMillisecond(Extended Value) {
  if (!(std::fabs(Value) < 1e7L)) return Value;
  return std::nearbyint(Value * 86400000.0L) / 86400000.0L;
}

std::string FormatWithPattern(const std::string& Pattern, Extended Value) {
  std::string Text = FormatDateTimeLabel(Pattern, SnapToMillisecond(Value));
  std::replace(Text.begin(), Text.end(), QuoteStandIn, '"');
  return Text;
}

std::string ZeroPadded(std::int64_t Value, int Digits) {
  std::string Text = std::to_string(Value);
  if (static_cast<int>(Text.size()) < Digits) Text.insert(0, static_cast<std::size_t>(Digits) - Text.size(), '0');
  return Text;
}

// Joins the non-empty parts with Separator between them (a part left out
// takes its separator with it).
std::string JoinParts(std::initializer_list<std::string> Parts, const std::string& Separator) {
  std::string Result;
  for (const std::string& Part : Parts) {
    if (Part.empty()) continue;
    if (!Result.empty()) Result += Separator;
    Result += Part;
  }
  return Result;
}

std::string MonthToken(const TDateFormatValues& F) { return F.MonthName ? "mmm" : "mm"; }

std::string YearToken(const TDateFormatValues& F) {
  switch (F.YearLength) {
    case ylYY: return "yy";
    case ylYYYY: return "yyyy";
    default: return {};
  }
}

std::string DaysPattern(const TDateFormatValues& F) {
  const std::string D = Quoted(F.DateSeparator);
  const std::string M = MonthToken(F);
  const std::string Y = YearToken(F);
  switch (F.DateOrder) {
    case doMMDDYY: return JoinParts({M, "dd", Y}, D);
    case doYYMMDD: return JoinParts({Y, M, "dd"}, D);
    default: return JoinParts({"dd", M, Y}, D);
  }
}

}  // namespace

// --- Numbers --------------------------------------------------------------------

std::string FormatTickNumber(Extended Value, int Decimals) {
  if (!std::isfinite(Value)) return {};
  if (Decimals >= 0) return FormatFixed(Value, Decimals);
  if (Value == 0) Value = 0;  // no "-" for a negative zero
  const std::string Body = FormatExponent(Value, 2, 4);  // [-]d.dE+dddd
  std::string Text = (Value < 0 ? "" : " ") + Body;
  const std::size_t E = Text.find_last_of("Ee");
  if (E == std::string::npos || Text.size() < E + 6) return Text;
  const bool Small = Text.compare(E + 2, 2, "00") == 0;
  Text.erase(E + 2, 2);
  if (!Small) Text.assign(Text.size(), '*');
  return Text;
}

int EffectiveDecimals(int DecPlaces, Extended High, Extended Low) {
  if (DecPlaces != -2 && DecPlaces != -3) return DecPlaces;
  const Extended D = std::fabs(High - Low);
  if (!(D < 1000000) || D <= Extended{0.0001}) return -1;
  if (D >= 100) return 0;
  return static_cast<int>(2 - Round(std::log(D) / 2.5L));
}

int EffectiveLogDecimals(int DecPlaces, Extended High, Extended Low) {
  if (DecPlaces != -2) return DecPlaces;
  const Extended Lo = std::min(High, Low);
  const Extended Hi = std::max(High, Low);
  const Extended Span = Hi - Lo;
  if (!(Span < 1000000) || Span <= Extended{0.0001}) return -1;
  if (Lo >= 1) return 0;
  if (!(Lo > 0)) return -1;  // no decade walk runs here; keep the text finite
  return static_cast<int>(1 - Round(std::log10(std::fabs(Lo))));
}

// --- User texts and inscription -------------------------------------------------

std::string UserTickField(const std::string& Text, int N) {
  if (Text.empty() || N < 1) return {};
  std::size_t Start = 0;
  for (int Field = 1; Field < N; ++Field) {
    const std::size_t Bar = Text.find('|', Start);
    if (Bar == std::string::npos) break;  // beyond the last "|": the last field
    Start = Bar + 1;
  }
  const std::size_t End = Text.find('|', Start);
  return Text.substr(Start, End == std::string::npos ? std::string::npos : End - Start);
}

std::string ApplyInscript(const std::string& Label, const std::string& Inscript) {
  if (Label.empty()) return Label;
  const std::size_t Amp = Inscript.find('&');
  if (Amp == std::string::npos) return Inscript + Label;
  return Inscript.substr(0, Amp) + Label + Inscript.substr(Amp + 1);
}

// --- Times ----------------------------------------------------------------------

std::string FormatTimeOfDay(Extended Value, bool WithMillis) {
  if (!std::isfinite(Value)) return {};
  Extended A = std::fabs(Value);
  // Tick values come from sums of steps; snap to the microsecond so that
  // 2.9999999999999996 reads as 3 s.
  if (A < 1e12L) A = std::nearbyint(A * 1e6L) / 1e6L;
  Extended Hours = std::trunc(A / 3600);
  Extended Minutes = std::trunc((A - 3600 * Hours) / 60);
  Extended Seconds = std::trunc(A - 3600 * Hours - 60 * Minutes);
  std::int64_t Millis = 0;
  if (WithMillis) {
    Millis = Round((A - std::trunc(A)) * 1000);
    if (Millis >= 1000) {  // 59.9996 s is 00:01:00.000, not 00:00:59.1000
      Millis -= 1000;
      Seconds += 1;
      if (Seconds >= 60) { Seconds -= 60; Minutes += 1; }
      if (Minutes >= 60) { Minutes -= 60; Hours += 1; }
    }
  }
  std::string Text = Value < 0 ? "-" : " ";
  std::string HoursText = FormatFixed(Hours, 0);
  if (HoursText.size() < 2) HoursText.insert(0, 2 - HoursText.size(), '0');
  Text += HoursText + ":" + ZeroPadded(static_cast<std::int64_t>(Minutes), 2) + ":" +
          ZeroPadded(static_cast<std::int64_t>(Seconds), 2);
  if (WithMillis) Text += "." + ZeroPadded(Millis, 3);
  return Text;
}

// --- Dates ----------------------------------------------------------------------

std::string FormatDateTimeLabel(const std::string& Pattern, Extended Value) {
  if (!std::isfinite(Value)) return {};
  if (std::fabs(Value) < 1e-8L) Value = 0;
  return FormatDateTime(Pattern, static_cast<double>(Value));
}

TDateFormatValues DateFormatValuesOf(const TDTLabel& Format) {
  TDateFormatValues F;
  F.TimeFormat = Format.TimeFormat();
  F.DateSeparator = Format.DateSeparator();
  F.TimeSeparator = Format.TimeSeparator();
  F.YearLength = Format.YearLength();
  F.MonthName = Format.MonthName();
  F.DateOrder = Format.DateOrder();
  F.DateForTime = Format.DateForTime();
  return F;
}

std::string DateTimeLabelPattern(TDateTimeLevel Level, const TDateFormatValues& F) {
  const std::string T = Quoted(F.TimeSeparator);
  const std::string H = Quoted('h');
  const std::string Dot = Quoted('.');
  switch (Level) {
    case dlHours:
      return F.TimeFormat == tfHHMMSS ? "hh" + T + "nn" : F.TimeFormat == tfHHhMM ? "h" + H : "ham/pm";
    case dlMinutes:
      return F.TimeFormat == tfHHMMSS   ? "hh" + T + "nn"
             : F.TimeFormat == tfHHhMM ? "h" + H + "nn"
                                       : "h" + T + "nnam/pm";
    case dlSeconds:
      return F.TimeFormat == tfHHMMSS   ? "hh" + T + "nn" + T + "ss"
             : F.TimeFormat == tfHHhMM ? "h" + H + "nn" + T + "ss"
                                       : "h" + T + "nn" + Dot + "ssam/pm";
    case dlHundredths:
      return F.TimeFormat == tfHHMMSS   ? "hh" + T + "nn" + T + "ss.zz"
             : F.TimeFormat == tfHHhMM ? "h" + H + "nn" + T + "ss.zz"
                                       : "h" + T + "nn" + Dot + "ss.zzam/pm";
    case dlDays: return DaysPattern(F);
    case dlMonths: {
      const std::string D = Quoted(F.DateSeparator);
      const std::string M = MonthToken(F);
      const std::string Y = YearToken(F);
      return F.DateOrder == doYYMMDD ? JoinParts({Y, M}, D) : JoinParts({M, Y}, D);
    }
    case dlYears: return YearToken(F);
  }
  return {};
}

std::string DateLinePattern(const TDateFormatValues& F) {
  if (F.YearLength != ylNone) return DaysPattern(F);
  const std::string D = Quoted(F.DateSeparator);
  const std::string M = MonthToken(F);
  return F.DateOrder == doDDMMYY ? JoinParts({"dd", M}, D) : JoinParts({M, "dd"}, D);
}

std::string FormatDateTimeTick(TDateTimeLevel Level, const TDateFormatValues& F, Extended Value) {
  const std::string Pattern = DateTimeLabelPattern(Level, F);
  if (Pattern.empty()) return {};
  std::string Text = FormatWithPattern(Pattern, Value);
  if (Level == dlYears && F.YearLength == ylYYYY) {
    const std::size_t Digit = Text.find_first_not_of('0');
    Text.erase(0, Digit == std::string::npos ? Text.size() : Digit);
  }
  return Text;
}

// --- The labeller ---------------------------------------------------------------

bool TTickLabelCache::TKey::operator==(const TKey& O) const {
  // 0 and -0 may read differently; NaN never matches and is never reused.
  return Value == O.Value && std::signbit(Value) == std::signbit(O.Value) && LabelNumber == O.LabelNumber &&
         Digit == O.Digit;
}

std::size_t TTickLabelCache::TKeyHash::operator()(const TKey& K) const {
  return std::hash<Extended>()(K.Value) ^ (static_cast<std::size_t>(K.LabelNumber) * 0x9E3779B97F4A7C15ull) ^
         (static_cast<std::size_t>(K.Digit) << 7);
}

TTickLabeller::TTickLabeller(const TTickLabelSettings& Settings, const TTickWalkResult& Walk, TTickLabelCache* Cache)
    : FSettings(Settings),
      FWalk(Walk.Walk),
      FLevel(Walk.Level),
      FWithMillis(Walk.TimeWithMillis),
      FDecimals(0),
      FCache(Cache) {
  if (FCache && !(FCache->FValid && FCache->FSettings == Settings && FCache->FWalk == FWalk &&
                  FCache->FLevel == FLevel && FCache->FWithMillis == FWithMillis)) {
    FCache->FEntries.clear();
    FCache->FValid = true;
    FCache->FSettings = Settings;
    FCache->FWalk = FWalk;
    FCache->FLevel = FLevel;
    FCache->FWithMillis = FWithMillis;
    ++FCache->FGeneration;
  }
  if (FCache) FCacheGeneration = FCache->FGeneration;
  if (FWalk == twLogarithmic)
    FDecimals = EffectiveLogDecimals(Settings.DecPlaces, Settings.RangeHigh, Settings.RangeLow);
  else
    FDecimals = EffectiveDecimals(Settings.DecPlaces, Settings.RangeHigh, Settings.RangeLow);
  if (FWalk == twDateTime) {
    FLabelPattern = DateTimeLabelPattern(FLevel, Settings.DateFormat);
    FDateLinePattern = DateLinePattern(Settings.DateFormat);
  }
}

std::string TTickLabeller::UserOrInscript(const std::string& Text, int LabelNumber) const {
  if (FSettings.LabelType == ftUserText) return UserTickField(FSettings.UserTickText, LabelNumber);
  return ApplyInscript(Text, FSettings.ScaleInscript);
}

bool TTickLabeller::SubDay() const {
  return FWalk == twDateTime &&
         (FLevel == dlHundredths || FLevel == dlSeconds || FLevel == dlMinutes || FLevel == dlHours);
}

TTickLabel TTickLabeller::PlainLabel(const TTick& Tick, int& Day) const {
  Day = 0;
  switch (FWalk) {
    case twLogarithmic: return LogLabel(Tick);
    case twDateTime: {
      TTickLabel L;
      L.Value = static_cast<double>(Tick.Value);
      L.Text = FormatDateTimeTick(FLevel, FSettings.DateFormat, Tick.Value);
      if (SubDay()) {
        int Year, Month;
        DecodeDate(static_cast<double>(SnapToMillisecond(Tick.Value)), Year, Month, Day);
      }
      return L;
    }
    case twTime: {
      TTickLabel L;
      L.Value = static_cast<double>(Tick.Value);
      L.Text = FormatTimeOfDay(Tick.Value, FWithMillis);
      return L;
    }
    default: return LinearLabel(Tick);
  }
}

TTickLabel TTickLabeller::Label(const TTick& Tick) {
  TTickLabelCache::TEntry* Entry = nullptr;
  TTickLabel L;
  int Day = 0;
  if (FCache && FCache->FGeneration != FCacheGeneration) FCache = nullptr;
  if (FCache) {
    const TTickLabelCache::TKey Key{Tick.Value, Tick.LabelNumber, Tick.Digit};
    auto It = FCache->FEntries.find(Key);
    if (It == FCache->FEntries.end()) {
      if (FCache->FEntries.size() >= TTickLabelCache::MaxEntries) FCache->FEntries.clear();
      TTickLabelCache::TEntry E;
      E.Label = PlainLabel(Tick, E.Day);
      It = FCache->FEntries.emplace(Key, std::move(E)).first;
    }
    Entry = &It->second;
    L = Entry->Label;
    Day = Entry->Day;
  } else {
    L = PlainLabel(Tick, Day);
  }
  if (FWalk != twDateTime) return L;
  if (SubDay()) {
    switch (FSettings.DateFormat.DateForTime) {
      case dtOnePerChart: L.HasDateLine = FFirstLong; break;
      case dtOnePerDay: L.HasDateLine = FFirstLong || Day != FLastDateDay; break;
      case dtAllTicks: L.HasDateLine = true; break;
      default: break;
    }
    if (L.HasDateLine) {
      if (Entry && Entry->DateKnown) {
        L.DateText = Entry->DateText;
      } else {
        L.DateText = FormatWithPattern(FDateLinePattern, Tick.Value);
        if (Entry) {
          Entry->DateText = L.DateText;
          Entry->DateKnown = true;
        }
      }
      FLastDateDay = Day;
    }
  }
  FFirstLong = false;
  return L;
}

TTickLabel TTickLabeller::LinearLabel(const TTick& Tick) const {
  TTickLabel L;
  Extended V = Tick.Value;
  const Extended Range = static_cast<Extended>(FSettings.RangeHigh) - FSettings.RangeLow;
  if (std::fabs(V / Range) < 1e-14L) {
    V = 0;
    if (std::fabs(Range) <= 100000)
      L.Text = FormatTickNumber(0, FDecimals);
    else
      L.Text = FDecimals != 0 ? "0.0" : "0";
  } else {
    L.Text = FormatTickNumber(V, FDecimals);
  }
  L.Value = static_cast<double>(V);
  if (L.Text.size() > MaxNumberLabel) L.Text.resize(MaxNumberLabel);
  // With no decimals, ticks that are not whole numbers stay unlabelled.
  if (FSettings.DecPlaces == 0 && std::fabs(V - std::nearbyint(V)) > 1e-6L) L.Text.clear();
  L.Text = UserOrInscript(L.Text, Tick.LabelNumber);
  return L;
}

TTickLabel TTickLabeller::LogLabel(const TTick& Tick) const {
  TTickLabel L;
  L.Value = static_cast<double>(Tick.Value);
  if (FDecimals == -3) {
    // "+ 0" turns the -0 of a decade a hair below 1 into 0.
    if (Tick.Digit == 1) L.Text = FormatFixed(std::nearbyint(std::log10(Tick.Value)) + 0.0L, 0);
  } else {
    L.Text = FormatTickNumber(Tick.Value, FDecimals);
  }
  if (L.Text.size() > MaxNumberLabel) L.Text.resize(MaxNumberLabel);
  if (FSettings.DecPlaces == -2 && L.Text.find('.') != std::string::npos &&
      L.Text.find_first_of("eE") == std::string::npos) {
    const std::size_t Last = L.Text.find_last_not_of('0');
    L.Text.erase(Last + 1);
    if (!L.Text.empty() && L.Text.back() == '.') L.Text.pop_back();
  }
  L.Text = UserOrInscript(L.Text, Tick.LabelNumber);
  return L;
}

}  // namespace zkw
