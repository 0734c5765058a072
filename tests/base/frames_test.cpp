// Three-dimensional frames, bevels and rectangle outlines.
#include <gtest/gtest.h>

#include "base/ZKW_zkwbase.h"

using namespace zkw;

namespace {

constexpr TColor Highlight = 0x0000F0;
constexpr TColor Light = 0x00F000;
constexpr TColor Shadow = 0xF00000;
constexpr TColor Dark = 0x00F0F0;
constexpr TColor Outline = 0xF000F0;

struct TFrameSheet {
  TBitmap Bmp{12, 12};
  TFrameSheet() {
    Bmp.Canvas().Brush().SetColor(clWhite);
    Bmp.Canvas().FillRect({0, 0, 12, 12});
  }
  TFrameSheet& Draw(std::uint8_t Style) {
    DrawFrame3D(Bmp.Canvas(), Style, 0, 0, 9, 9, Highlight, Light, Shadow, Dark, Outline);
    return *this;
  }
  TColor At(int X, int Y) { return Bmp.Canvas().Pixels(X, Y); }
  bool SameAs(TFrameSheet& O) {
    for (int Y = 0; Y < 12; ++Y)
      for (int X = 0; X < 12; ++X)
        if (At(X, Y) != O.At(X, Y)) return false;
    return true;
  }
  bool Blank() {
    for (int Y = 0; Y < 12; ++Y)
      for (int X = 0; X < 12; ++X)
        if (At(X, Y) != clWhite) return false;
    return true;
  }
};

}  // namespace

TEST(Frame3D, RaisedPutsHighlightAndLightTopLeftShadowAndDarkBottomRight) {
  TFrameSheet S;
  S.Draw(fsRaised);
  EXPECT_EQ(S.At(0, 0), Highlight);
  EXPECT_EQ(S.At(9, 0), Highlight);
  EXPECT_EQ(S.At(0, 8), Highlight);
  EXPECT_EQ(S.At(9, 9), Dark);
  EXPECT_EQ(S.At(0, 9), Dark) << "the bottom edge runs to the left end";
  EXPECT_EQ(S.At(9, 1), Dark);
  EXPECT_EQ(S.At(1, 1), Light);
  EXPECT_EQ(S.At(8, 1), Light);
  EXPECT_EQ(S.At(8, 8), Shadow);
  EXPECT_EQ(S.At(1, 8), Shadow);
  EXPECT_EQ(S.At(8, 2), Shadow);
  EXPECT_EQ(S.At(5, 5), clWhite) << "the inside stays untouched";
  EXPECT_EQ(S.At(10, 10), clWhite) << "nothing outside the rectangle";
  EXPECT_EQ(S.Bmp.Canvas().Pen().Color(), Shadow) << "the pen is left at the last bevel colour";
}

TEST(Frame3D, OtherLooksUseTheirColourOrder) {
  TFrameSheet Lowered;
  Lowered.Draw(fsLowered);
  EXPECT_EQ(Lowered.At(0, 0), Shadow);
  EXPECT_EQ(Lowered.At(9, 9), Highlight);
  EXPECT_EQ(Lowered.At(1, 1), Dark);
  EXPECT_EQ(Lowered.At(8, 8), Light);
  TFrameSheet Embossed;
  Embossed.Draw(fsEmbossed);
  EXPECT_EQ(Embossed.At(0, 0), Highlight);
  EXPECT_EQ(Embossed.At(9, 9), Shadow);
  EXPECT_EQ(Embossed.At(1, 1), Shadow);
  EXPECT_EQ(Embossed.At(8, 8), Highlight);
  TFrameSheet Engraved;
  Engraved.Draw(fsEngraved);
  EXPECT_EQ(Engraved.At(0, 0), Shadow);
  EXPECT_EQ(Engraved.At(9, 9), Highlight);
  EXPECT_EQ(Engraved.At(1, 1), Highlight);
  EXPECT_EQ(Engraved.At(8, 8), Shadow);
}

TEST(Frame3D, TopBitOfTheStyleByteIsIgnored) {
  TFrameSheet Flagged, Plain, Raised;
  Flagged.Draw(130);
  Plain.Draw(fsLowered);
  Raised.Draw(fsRaised);
  EXPECT_TRUE(Flagged.SameAs(Plain));
  EXPECT_FALSE(Flagged.SameAs(Raised));
}

TEST(Frame3D, SimpleIsAOneColourOutlineAndUnknownStylesDrawNothing) {
  TFrameSheet S;
  S.Draw(fsSimple);
  for (int I = 0; I <= 9; ++I) {
    EXPECT_EQ(S.At(I, 0), Outline);
    EXPECT_EQ(S.At(I, 9), Outline);
    EXPECT_EQ(S.At(0, I), Outline);
    EXPECT_EQ(S.At(9, I), Outline);
  }
  EXPECT_EQ(S.At(1, 1), clWhite);
  for (std::uint8_t Style : {std::uint8_t{fsNone}, std::uint8_t{6}, std::uint8_t{127}, std::uint8_t{128}}) {
    TFrameSheet N;
    N.Draw(Style);
    EXPECT_TRUE(N.Blank()) << int(Style);
  }
}

TEST(RectOutline, ClosesTheRectangleWhateverTheCornerOrder) {
  TBitmap Bmp(12, 12);
  TCanvas& C = Bmp.Canvas();
  C.Brush().SetColor(clWhite);
  C.FillRect({0, 0, 12, 12});
  C.Pen().SetColor(clRed);
  DrawRectOutline(C, 8, 7, 2, 3);  // corners given right-to-left, bottom-to-top
  int Count = 0;
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X)
      if (C.Pixels(X, Y) == clRed) {
        ++Count;
        EXPECT_TRUE(X == 2 || X == 8 || Y == 3 || Y == 7) << X << "," << Y;
      }
  EXPECT_EQ(Count, 2 * 7 + 2 * 3);
  EXPECT_EQ(C.PenPos(), (TPoint{8, 7}));
}
