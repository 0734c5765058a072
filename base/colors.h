// Colour helpers and the named colour table.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/graphics.h"

namespace zkw {

struct TNamedColor {
  std::string_view Name;
  TColor Value;  // 0x00BBGGRR
};

inline constexpr std::size_t ColorTableSize = 466;
// Fixed order: the 16 basic colours, MoneyGreen, Cream, MedGray, then the X11
// names (with their numbered variants) in alphabetical order.
extern const std::array<TNamedColor, ColorTableSize> ColorTable;

// Grey level 0.3 R + 0.59 G + 0.11 B, rounded to the nearest integer (halves to even).
int RGBToGray(int R, int G, int B);
// Grey level of a colour's low three bytes; the system-colour marker byte is
// ignored, so system colours are not resolved first.
int ColorToGray(TColor Color);
// Black for a grey level of 140 or more, otherwise white: a line colour that
// stays visible on a fill of the given colour.
TColor ContrastColor(TColor Color);

// Looks a colour up by name, ignoring letter case: a name of the colour table
// ("AliceBlue"), the same with a "cl" prefix ("clAliceBlue"), or a named
// colour constant of the drawing surface ("clBtnFace", "clNone"). Unknown
// names give std::nullopt; nothing is guessed.
std::optional<TColor> FindColorByName(std::string_view Name);

// Makes the form reader accept every name of the colour table (and its
// "cl"-prefixed spelling) for colour values. Safe to call repeatedly.
void InstallColorNameLookup();

}  // namespace zkw
