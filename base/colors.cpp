#include "base/colors.h"

#include "platform/properties.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

constexpr char LowerAscii(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool SameTextAscii(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I)
    if (LowerAscii(A[I]) != LowerAscii(B[I])) return false;
  return true;
}

std::optional<TColor> FindInTable(std::string_view Name) {
  for (const TNamedColor& Entry : ColorTable)
    if (SameTextAscii(Entry.Name, Name)) return Entry.Value;
  return std::nullopt;
}

}  // namespace

int RGBToGray(int R, int G, int B) {
  const Extended Gray = 0.3L * R + 0.59L * G + 0.11L * B;
  return ClampInt(Round(Gray), -2147483647 - 1, 2147483647);
}

int ColorToGray(TColor Color) {
  const auto C = static_cast<std::uint32_t>(Color);
  return RGBToGray(static_cast<int>(C & 0xFF), static_cast<int>((C >> 8) & 0xFF),
                   static_cast<int>((C >> 16) & 0xFF));
}

TColor ContrastColor(TColor Color) { return ColorToGray(Color) >= 140 ? clBlack : clWhite; }

std::optional<TColor> FindColorByName(std::string_view Name) {
  if (Name.empty()) return std::nullopt;
  // The platform's own identifiers (clBtnFace, clWindowText, ...) first.
  if (TColor Value; FindColorIdent(std::string(Name), Value)) return Value;
  if (auto Found = FindInTable(Name)) return Found;
  if (Name.size() > 2 && LowerAscii(Name[0]) == 'c' && LowerAscii(Name[1]) == 'l')
    return FindInTable(Name.substr(2));
  return std::nullopt;
}

void InstallColorNameLookup() {
  SetColorNameLookup([](const std::string& Name, TColor& Color) {
    const std::optional<TColor> Found = FindColorByName(Name);
    if (Found) Color = *Found;
    return Found.has_value();
  });
}

namespace {
const bool ColorLookupInstalled = (InstallColorNameLookup(), true);
}  // namespace

}  // namespace zkw
