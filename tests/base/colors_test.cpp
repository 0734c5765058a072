// Grey level, contrast colour, the named colour table and the lookup by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "base/ZKW_zkwcolors.h"

using namespace zkw;

TEST(ContrastColor, PicksBlackOnLightAndWhiteOnDarkFills) {
  EXPECT_EQ(ContrastColor(0xFFFFFF), clBlack);
  EXPECT_EQ(ContrastColor(0x000000), clWhite);
  EXPECT_EQ(ColorToGray(0x0000FF), 76);
  EXPECT_EQ(ContrastColor(0x0000FF), clWhite);
  EXPECT_EQ(ColorToGray(0x00FFFF), 227);
  EXPECT_EQ(ContrastColor(0x00FFFF), clBlack);
}

TEST(ContrastColor, ThresholdLiesBetween139And140) {
  EXPECT_EQ(RGBToGray(140, 140, 140), 140);
  EXPECT_EQ(ContrastColor(0x8C8C8C), clBlack);  // grey level 140
  EXPECT_EQ(RGBToGray(139, 139, 139), 139);
  EXPECT_EQ(ContrastColor(0x8B8B8B), clWhite);
}

TEST(ContrastColor, WeighsTheChannelsInTheirByteOrder) {
  // Red is the low byte, blue the third: swapping them changes the level.
  EXPECT_EQ(ColorToGray(0x0000FF), RGBToGray(255, 0, 0));
  EXPECT_EQ(ColorToGray(0xFF0000), RGBToGray(0, 0, 255));
  EXPECT_EQ(ColorToGray(0xFF0000), 28);
  EXPECT_EQ(ColorToGray(0x00FF00), 150);
  // The system-colour marker byte is ignored, not resolved.
  EXPECT_EQ(ColorToGray(static_cast<TColor>(0xFF808080u)), 128);
  EXPECT_EQ(ContrastColor(clBtnFace), clWhite);
}

TEST(ColorTable, HoldsTheNamesInTheirFixedOrder) {
  ASSERT_EQ(ColorTable.size(), 466u);
  EXPECT_EQ(ColorTable[0].Name, "Black");
  EXPECT_EQ(ColorTable[15].Name, "White");
  EXPECT_EQ(ColorTable[16].Name, "MoneyGreen");
  EXPECT_EQ(ColorTable[18].Name, "MedGray");
  EXPECT_EQ(ColorTable[19].Name, "AliceBlue");
  EXPECT_EQ(ColorTable[47].Name, "Bronze");
  EXPECT_EQ(ColorTable[63].Name, "Carbon");
  EXPECT_EQ(ColorTable[465].Name, "YellowGreen");
  std::set<std::string> Lower;
  for (const auto& E : ColorTable) {
    std::string S(E.Name);
    std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return std::tolower(C); });
    Lower.insert(S);
  }
  EXPECT_EQ(Lower.size(), 466u) << "names must differ even ignoring case";
}

TEST(ColorTable, BasicPaletteMatchesTheNamedConstants) {
  const TColor Basic[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal,    clGray,
                            clSilver, clRed,   clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
  for (int I = 0; I < 16; ++I) EXPECT_EQ(ColorTable[I].Value, Basic[I]) << ColorTable[I].Name;
  EXPECT_EQ(ColorTable[16].Value, 0xC0DCC0);
  EXPECT_EQ(ColorTable[17].Value, 0xF0FBFF);
  EXPECT_EQ(ColorTable[18].Value, 0xA4A0A0);
  for (const auto& E : ColorTable) EXPECT_EQ(E.Value & ~0xFFFFFF, 0) << E.Name;
}

TEST(ColorTable, X11NamesCarryTheirUsualValues) {
  // 0xBBGGRR of the X11 list.
  EXPECT_EQ(FindColorByName("AliceBlue"), 0xFFF8F0);
  EXPECT_EQ(FindColorByName("Tomato"), 0x4763FF);
  EXPECT_EQ(FindColorByName("DarkGoldenRod4"), 0x08658B);
  EXPECT_EQ(FindColorByName("NavyBlue"), 0x800000);
  EXPECT_EQ(FindColorByName("Gold"), 0x00D7FF);
  EXPECT_EQ(FindColorByName("RebeccaPurple"), 0x993366);
  EXPECT_EQ(FindColorByName("WebGray"), 0x808080);
  EXPECT_EQ(FindColorByName("Crimson"), 0x3C14DC);
}

TEST(ColorLookup, IgnoresCaseAndAcceptsTheConstantSpelling) {
  EXPECT_EQ(FindColorByName("aliceblue"), FindColorByName("ALICEBLUE"));
  EXPECT_EQ(FindColorByName("clAliceBlue"), 0xFFF8F0);
  EXPECT_EQ(FindColorByName("clRed"), clRed);
  EXPECT_EQ(FindColorByName("CLRED"), clRed);
  EXPECT_EQ(FindColorByName("clBtnFace"), clBtnFace);
  EXPECT_EQ(FindColorByName("clbtnface"), clBtnFace);
  EXPECT_EQ(FindColorByName("clWindowText"), clWindowText);
  EXPECT_EQ(FindColorByName("clNone"), clNone);
  EXPECT_EQ(FindColorByName("clMoneyGreen"), clMoneyGreen);
}

TEST(ColorLookup, UnknownNamesAreNotGuessed) {
  EXPECT_FALSE(FindColorByName("").has_value());
  EXPECT_FALSE(FindColorByName("cl").has_value());
  EXPECT_FALSE(FindColorByName("Redd").has_value());
  EXPECT_FALSE(FindColorByName("Re").has_value());
  EXPECT_FALSE(FindColorByName("AliceBlue ").has_value());
  EXPECT_FALSE(FindColorByName("Blue5").has_value());
  EXPECT_FALSE(FindColorByName(std::string_view("Red\0x", 5)).has_value());
}
