// Text through the font engine: box, colours, opaque background, sizes.
#include <gtest/gtest.h>

#include "platform/gui_app.h"
#include "platform/graphics.h"
#include "test_canvas_support.h"

namespace zkw {
namespace {

using namespace zkw::testing;

TEST(CanvasText, LandsInsideItsBoxInTheFontColour) {
  TBitmap B(120, 50);
  TCanvas& C = B.Canvas();
  C.Font().SetHeight(-13);
  C.Font().SetColor(clRed);
  C.Brush().SetStyle(bsClear);
  C.TextOut(10, 8, "Hgjy|");
  EXPECT_TRUE(GuiApplicationRunning());
  const int W = C.TextWidth("Hgjy|"), H = C.TextHeight("Hgjy|");
  ASSERT_GT(W, 10);
  ASSERT_GE(H, 13);
  const PixelSet Ink = Changed(B);
  ASSERT_GT(Ink.size(), 20u);
  for (auto [X, Y] : Ink) {
    EXPECT_TRUE(X >= 10 && X < 10 + W && Y >= 8 && Y < 8 + H) << X << "," << Y;
    EXPECT_EQ(C.Pixels(X, Y), clRed);  // no blended edge pixels
  }
}

TEST(CanvasText, SolidBrushFillsTheBoxAndClearBrushKeepsTheBackground) {
  TBitmap B(100, 40);
  TCanvas& C = B.Canvas();
  C.Brush().SetColor(clBlue);
  C.Font().SetColor(clWindowText);
  C.TextOut(5, 5, "Ab");
  const int W = C.TextWidth("Ab"), H = C.TextHeight("Ab");
  PixelSet Box;
  for (int Y = 5; Y < 5 + H; ++Y)
    for (int X = 5; X < 5 + W; ++X) Box.insert({X, Y});
  EXPECT_EQ(Changed(B), Box);
  EXPECT_EQ(WithColor(B, clBlue).size() + WithColor(B, clBlack).size(), Box.size());
  EXPECT_GT(WithColor(B, clBlack).size(), 5u);
  EXPECT_EQ(C.PenPos(), (TPoint{0, 0}));  // text does not move the pen
}

TEST(CanvasText, HeightsStylesAndFallbackFonts) {
  TBitmap B(10, 10);
  TCanvas& C = B.Canvas();
  C.Font().SetName("MS Sans Serif");  // not installed: falls back to a sans font
  C.Font().SetHeight(-11);
  const int Small = C.TextHeight("X"), SmallW = C.TextWidth("Hello");
  C.Font().SetHeight(-22);
  EXPECT_GT(C.TextHeight("X"), Small * 3 / 2);
  EXPECT_GT(C.TextWidth("Hello"), SmallW * 3 / 2);
  C.Font().SetHeight(24);  // positive: the cell height
  EXPECT_NEAR(C.TextHeight("X"), 24, 2);
  C.Font().SetHeight(-13);
  const int Plain = C.TextWidth("Wide text");
  C.Font().SetStyle(TFontStyles{fsBold});
  EXPECT_GT(C.TextWidth("Wide text"), Plain);
  EXPECT_EQ(C.TextWidth(""), 0);
  // One byte 128..255 (a character mark) is read as Latin-1, not dropped.
  EXPECT_GT(C.TextWidth("\xB0"), 0);
  EXPECT_EQ(C.TextWidth("\xC2\xB0"), C.TextWidth("\xB0"));
}

TEST(CanvasText, FontSizeAndHeightFollowPixelsPerInch) {
  TFont F;
  int Changes = 0;
  F.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_EQ(F.Height(), -11);
  EXPECT_EQ(F.Size(), 8);
  F.SetSize(10);
  EXPECT_EQ(F.Height(), -13);
  F.SetPixelsPerInch(120);  // keeps the size
  EXPECT_EQ(F.Size(), 10);
  EXPECT_EQ(F.Height(), -17);
  F.SetHeight(-13);
  EXPECT_EQ(F.Size(), 8);
  EXPECT_EQ(Changes, 3);
  F.SetHeight(-13);
  EXPECT_EQ(Changes, 3);  // no change, no notification

  TFont G;
  G.Assign(F);
  EXPECT_EQ(G.Height(), -13);
  EXPECT_EQ(G.PixelsPerInch(), 120);
  EXPECT_FALSE(G.OnChange);  // a copy does not notify the original's owner
}

}  // namespace
}  // namespace zkw
