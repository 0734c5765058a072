// Tick label texts: numbers with chosen or automatic decimals, exponent labels
// of decade walks, user texts, the unit inscription, times in seconds and
// calendar date/time labels with their date line. Pure functions and one small
// labeller that walks a tick list in production order; the painter raises
// OnBeforeTickLabel with each text it gets from here.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/enums.h"
#include "platform/core.h"
#include "scale/tick_engine.h"

namespace zkw {

class TDTLabel;

// Number text for Decimals >= 0 (fixed point, "-" for negatives) or -1 (and
// below): a sign position (blank or "-"), two significant digits and a
// two-digit exponent (" 1.2E+04"); exponents of 100 and more give eight
// asterisks. Non-finite values give an empty text.
std::string FormatTickNumber(Extended Value, int Decimals);

// Automatic decimals of linear scales: DecPlaces -2 and -3 become -1
// (scientific) for ranges of a million and more or 0.0001 and less, 0 for
// ranges of 100 and more, else 2 - Round(ln(range) / 2.5). Other values stay.
int EffectiveDecimals(int DecPlaces, Extended High, Extended Low);
// Automatic decimals of decade walks: only -2 is replaced: -1 for spans of a
// million and more or 0.0001 and less, 0 when the lower end is 1 or more,
// else 1 - Round(log10(lower end)).
int EffectiveLogDecimals(int DecPlaces, Extended High, Extended Low);

// Field N (from 1) of a "|"-separated list; numbers beyond the last "|" give
// the last field, an empty list or N below 1 an empty text.
std::string UserTickField(const std::string& Text, int N);

// Puts Label where the inscription holds its first "&", or after the whole
// inscription when it holds none. An empty label stays empty.
std::string ApplyInscript(const std::string& Label, const std::string& Inscript);

// Signed time text of Value seconds: " 01:02:05", with milliseconds
// "-00:00:00.250". Non-finite values give an empty text.
std::string FormatTimeOfDay(Extended Value, bool WithMillis);

// The date/time pattern formatter for a day value (values within 1e-8 of 0
// count as 0). Tokens as the run-time library's FormatDateTime.
std::string FormatDateTimeLabel(const std::string& Pattern, Extended Value);

// The plain values of a date/time label format.
struct TDateFormatValues {
  TTimeFormat TimeFormat = tfHHMMSS;
  char DateSeparator = '-';
  char TimeSeparator = ':';
  TYearLength YearLength = ylYYYY;
  bool MonthName = true;
  TDateOrder DateOrder = doDDMMYY;
  TDateForTime DateForTime = dtOnePerDay;
  bool operator==(const TDateFormatValues&) const = default;
};
TDateFormatValues DateFormatValuesOf(const TDTLabel& Format);

// The label pattern of a date/time level, and the pattern of the date line
// shown beside the times of the sub-day levels.
std::string DateTimeLabelPattern(TDateTimeLevel Level, const TDateFormatValues& Format);
std::string DateLinePattern(const TDateFormatValues& Format);
// A date/time label: the pattern's text, and on the years level with four
// digits the year without leading zeros (year 800 gives "800").
std::string FormatDateTimeTick(TDateTimeLevel Level, const TDateFormatValues& Format, Extended Value);

// The settings the labels read.
struct TTickLabelSettings {
  TFigType LabelType = ftNum;
  int DecPlaces = -2;
  std::string UserTickText;
  std::string ScaleInscript;
  TDateFormatValues DateFormat;
  double RangeLow = 0;
  double RangeHigh = 100;
  bool operator==(const TTickLabelSettings&) const = default;
};

// One long tick's label as the painter hands it to OnBeforeTickLabel.
struct TTickLabel {
  double Value = 0;         // tick value for the events (a zero tick is exactly 0)
  std::string Text;
  bool HasDateLine = false;  // date/time sub-day levels, by DateForTime
  std::string DateText;
};

// The texts of earlier labellings: a scale repaints the same ticks with the
// same settings many times, and formatting numbers and dates costs more than
// drawing them. A labeller given a cache reads its texts from it while the
// settings and walk kind match and empties it when they do not; the cache
// also starts again empty when it grows over MaxEntries.
class TTickLabelCache {
 public:
  static constexpr std::size_t MaxEntries = 4096;
  std::size_t Size() const { return FEntries.size(); }

 private:
  friend class TTickLabeller;
  struct TKey {
    Extended Value = 0;
    int LabelNumber = 0;
    std::uint8_t Digit = 0;
    bool operator==(const TKey& O) const;
  };
  struct TKeyHash {
    std::size_t operator()(const TKey& K) const;
  };
  struct TEntry {
    TTickLabel Label;  // without the date line, which depends on the ticks before
    int Day = 0;       // day of the month, for the date line
    bool DateKnown = false;
    std::string DateText;
  };
  // What the cached texts were made with.
  bool FValid = false;
  TTickLabelSettings FSettings;
  TTickWalk FWalk = twNone;
  TDateTimeLevel FLevel = dlYears;
  bool FWithMillis = false;
  // Counts the resets: a labeller whose settings the cache no longer holds
  // (another labelling reset it meanwhile) stops reading it.
  std::uint64_t FGeneration = 0;
  std::unordered_map<TKey, TEntry, TKeyHash> FEntries;
};

// Labels the long ticks of one walk. Ticks must be passed in production order:
// the date line remembers the day of the last date it showed.
class TTickLabeller {
 public:
  TTickLabeller(const TTickLabelSettings& Settings, const TTickWalkResult& Walk, TTickLabelCache* Cache = nullptr);
  // False for ftNoFigs: no label texts and no label events.
  bool HasLabels() const { return FSettings.LabelType != ftNoFigs; }
  TTickLabel Label(const TTick& Tick);

 private:
  // The label without its date line; Day is the tick's day of the month on
  // the sub-day date/time levels.
  TTickLabel PlainLabel(const TTick& Tick, int& Day) const;
  TTickLabel LinearLabel(const TTick& Tick) const;
  TTickLabel LogLabel(const TTick& Tick) const;
  bool SubDay() const;
  std::string UserOrInscript(const std::string& Text, int LabelNumber) const;

  TTickLabelSettings FSettings;
  TTickWalk FWalk;
  TDateTimeLevel FLevel;
  bool FWithMillis;
  int FDecimals;  // effective decimals of the numeric walks
  std::string FLabelPattern;
  std::string FDateLinePattern;
  bool FFirstLong = true;
  int FLastDateDay = 0;
  TTickLabelCache* FCache = nullptr;
  std::uint64_t FCacheGeneration = 0;
};

}  // namespace zkw
