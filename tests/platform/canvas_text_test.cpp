// Text through the font engine: box, colours, opaque background, sizes.
#include <gtest/gtest.h>

#include "platform/gui_app.h"
#include "platform/graphics.h"
#include "canvas_support.h"

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

// A picture with a different colour at every pixel, so that any pixel a text
// drawing wrongly keeps or overwrites shows.
void Stripes(TBitmap& B) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.Canvas().SetPixels(X, Y, static_cast<TColor>((X * 37 + Y * 101) & 0xFFFFFF));
}

struct TTextCase {
  const char* Name;
  int Height;
  TFontStyles Style;
};

// Draws texts in several fonts, colours, brushes and positions (partly outside
// the picture) twice: through the caches, the second time from them.
void DrawTexts(TBitmap& B) {
  Stripes(B);
  TCanvas& C = B.Canvas();
  const TTextCase Fonts[] = {{"MS Sans Serif", -11, {}},
                             {"DejaVu Sans", -13, TFontStyles{fsBold}},
                             {"MS Sans Serif", 20, TFontStyles{fsItalic}},
                             {"Courier New", -12, TFontStyles{fsUnderline, fsStrikeOut}},
                             // Too large to record: drawn through Qt each time.
                             {"DejaVu Sans", -60, {}}};
  const char* Texts[] = {"0", "1.5E+03", "06-Jul-2009", "Hgjy|", "\xB0", "f/WA_", "-0.001", "-1234567.890123 long label"};
  const TColor Colours[] = {clBlack, clRed, clWindowText, clNavy};
  int N = 0;
  for (int Pass = 0; Pass < 2; ++Pass)
    for (const TTextCase& F : Fonts) {
      C.Font().SetName(F.Name);
      C.Font().SetHeight(F.Height);
      C.Font().SetStyle(F.Style);
      for (const char* T : Texts) {
        ++N;
        C.Font().SetColor(Colours[N % 4]);
        C.Brush().SetStyle(N % 3 == 0 ? bsSolid : bsClear);
        C.Brush().SetColor(Colours[(N + 1) % 4]);
        const int X = (N * 53) % (B.Width() + 40) - 30, Y = (N * 29) % (B.Height() + 30) - 20;
        C.TextOut(X, Y, T);
      }
    }
}

TEST(CanvasText, CachedGlyphsGiveTheSamePixelsAsQtDrawing) {
  TBitmap Cached(230, 120), Direct(230, 120);
  SetTextCaching(false);
  EXPECT_FALSE(TextCaching());
  DrawTexts(Direct);
  SetTextCaching(true);
  DrawTexts(Cached);
  EXPECT_TRUE(Cached.Image() == Direct.Image());
  // Once more, every text now from the caches.
  DrawTexts(Cached);
  EXPECT_TRUE(Cached.Image() == Direct.Image());
}

TEST(CanvasText, CachedMeasuresFollowFontChanges) {
  TBitmap B(10, 10);
  TCanvas& C = B.Canvas();
  C.Font().SetHeight(-11);
  const int W11 = C.TextWidth("12345"), H11 = C.TextHeight("1");
  C.Font().SetHeight(-22);
  EXPECT_GT(C.TextWidth("12345"), W11);
  EXPECT_GT(C.TextHeight("1"), H11);
  C.Font().SetStyle(TFontStyles{fsBold});
  const int Bold = C.TextWidth("12345");
  C.Font().SetStyle({});
  EXPECT_NE(C.TextWidth("12345"), Bold);
  C.Font().SetHeight(-11);
  EXPECT_EQ(C.TextWidth("12345"), W11);
  // Another canvas with its own font state shares the caches but not the font.
  TBitmap Other(10, 10);
  Other.Canvas().Font().SetHeight(-30);
  EXPECT_GT(Other.Canvas().TextWidth("12345"), W11 * 2);
  EXPECT_EQ(C.TextWidth("12345"), W11);
  // Many texts and fonts: the caches start again and still answer the same.
  for (int K = 0; K < 5000; ++K) C.TextWidth(std::to_string(K));
  for (int K = 1; K < 60; ++K) {
    Other.Canvas().Font().SetHeight(-K);
    Other.Canvas().TextWidth("x");
  }
  EXPECT_EQ(C.TextWidth("12345"), W11);
  EXPECT_EQ(C.TextHeight("1"), H11);
}

}  // namespace
}  // namespace zkw
