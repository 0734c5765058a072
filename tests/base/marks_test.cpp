// Mark symbols and glyphs: exact pixels on small bitmaps.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "base/ZKW_zkwbase.h"
#include "platform/devices.h"

using namespace zkw;

namespace {

constexpr TColor Paper = clWhite;
constexpr TColor Ink = clRed;

using TPixelSet = std::set<std::pair<int, int>>;

// A white bitmap with a red 1-pixel pen and a blue solid brush.
struct TSheet {
  TBitmap Bmp;
  explicit TSheet(int W = 21, int H = 21) : Bmp(W, H) {
    TCanvas& C = Bmp.Canvas();
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(Paper);
    C.FillRect({0, 0, W, H});
    C.Brush().SetColor(clBlue);
    C.Pen().SetColor(Ink);
    C.Pen().SetWidth(1);
    C.Pen().SetStyle(psSolid);
  }
  TCanvas& Canvas() { return Bmp.Canvas(); }
  TPixelSet Marked() {
    TPixelSet S;
    for (int Y = 0; Y < Bmp.Height(); ++Y)
      for (int X = 0; X < Bmp.Width(); ++X)
        if (Bmp.Canvas().Pixels(X, Y) != Paper) S.insert({X, Y});
    return S;
  }
  bool AllInk() {
    for (const auto& [X, Y] : Marked())
      if (Bmp.Canvas().Pixels(X, Y) != Ink) return false;
    return true;
  }
};

struct TBox {
  int X1, Y1, X2, Y2;  // inclusive offsets from the centre
};

TBox BoundsOf(const TPixelSet& S, int Cx, int Cy) {
  TBox B{1000, 1000, -1000, -1000};
  for (const auto& [X, Y] : S) {
    B.X1 = std::min(B.X1, X - Cx);
    B.Y1 = std::min(B.Y1, Y - Cy);
    B.X2 = std::max(B.X2, X - Cx);
    B.Y2 = std::max(B.Y2, Y - Cy);
  }
  return B;
}

// The pixel extent of every symbol on the screen, derived from its drawing
// coordinates under the canvas rules (line ends and right/bottom edges of
// rectangles and ellipses excluded; polygon vertices included).
constexpr TBox SymbolBox[52] = {
    {0, 0, 0, 0},     {-1, -1, 1, 1},   {-2, -2, 2, 2},   {-3, -3, 3, 3},   {-1, -1, 1, 1},
    {-2, -2, 2, 2},   {-3, -3, 3, 3},   {-1, -1, 1, 1},   {-2, -2, 2, 2},   {-3, -3, 3, 3},
    {-1, -1, 1, 1},   {-2, -2, 2, 2},   {-3, -3, 3, 3},   {-3, -3, 3, 3},   {-2, -2, 2, 2},
    {-3, -3, 3, 3},   {-2, -2, 2, 2},   {-3, -3, 3, 3},   {-3, -3, 3, 3},   {-3, -3, 3, 3},
    {-2, 0, 2, 2},    {-3, 0, 3, 3},    {-2, -2, 2, 0},   {-3, -3, 3, 0},   {-3, -3, 3, 3},
    {-3, -3, 3, 3},   {-2, -2, 2, 2},   {-2, -2, 1, 1},   {-2, -2, 1, 1},   {-2, 0, 2, 2},
    {-3, 0, 3, 3},    {-2, 0, 2, 2},    {-3, 0, 3, 3},    {-4, -3, 4, 4},   {-4, -3, 4, 4},
    {-4, -4, 4, 3},   {-4, -4, 4, 3},   {-3, -7, 3, 0},   {-3, -2, 3, 2},   {-3, -3, 3, 3},
    {-2, -2, 3, 2},   {-2, -2, 3, 2},   {-3, -3, 4, 3},   {-3, -3, 4, 3},   {-3, -2, 2, 2},
    {-3, -2, 2, 2},   {-4, -3, 3, 3},   {-4, -3, 3, 3},   {-3, -3, 3, 3},   {-4, -4, 4, 4},
    {-4, -4, 4, 4},   {-4, -4, 4, 4}};

}  // namespace

TEST(MarkSymbols, EverySymbolFillsExactlyItsBoxInThePenColour) {
  for (int Kind = 0; Kind < 52; ++Kind) {
    TSheet S;
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 10, 10, false);
    const TPixelSet M = S.Marked();
    ASSERT_FALSE(M.empty()) << "kind " << Kind;
    const TBox B = BoundsOf(M, 10, 10);
    const TBox E = SymbolBox[Kind];
    EXPECT_TRUE(B.X1 == E.X1 && B.Y1 == E.Y1 && B.X2 == E.X2 && B.Y2 == E.Y2)
        << "kind " << Kind << ": drawn " << B.X1 << "," << B.Y1 << ".." << B.X2 << "," << B.Y2
        << " expected " << E.X1 << "," << E.Y1 << ".." << E.X2 << "," << E.Y2;
    EXPECT_TRUE(S.AllInk()) << "kind " << Kind;
  }
}

TEST(MarkSymbols, HollowSquareTouchesOnlyTheEightNeighbours) {
  TSheet S(11, 11);
  DrawMark(S.Canvas(), 10, 5, 5, false);
  const TPixelSet Expected = {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}};
  EXPECT_EQ(S.Marked(), Expected);
}

TEST(MarkSymbols, BoldCrossOnTheScreenSpansSevenBySeven) {
  TSheet S;
  DrawMark(S.Canvas(), 25, 10, 10, false);
  const TPixelSet M = S.Marked();
  for (const auto& [X, Y] : M) {
    EXPECT_GE(X, 7);
    EXPECT_LE(X, 13);
    EXPECT_GE(Y, 7);
    EXPECT_LE(Y, 13);
  }
  for (auto P : {std::pair{7, 7}, {13, 13}, {7, 13}, {13, 7}, {10, 10}}) EXPECT_TRUE(M.count(P));
  // The printer variant's lines end one pixel earlier: nothing right of x + 2.
  TSheet P;
  DrawMark(P.Canvas(), 25, 10, 10, true);
  const TBox B = BoundsOf(P.Marked(), 10, 10);
  EXPECT_TRUE(B.X1 == -3 && B.Y1 == -3 && B.X2 == 2 && B.Y2 == 3);
  EXPECT_FALSE(P.Marked().count({13, 13}));
}

TEST(MarkSymbols, GlyphPlusOnScreenPenArmsOnPrinter) {
  TSheet S;
  DrawMark(S.Canvas(), 1, 10, 10, false);
  EXPECT_EQ(S.Marked(), (TPixelSet{{10, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11}}));
  TSheet P;
  DrawMark(P.Canvas(), 1, 10, 10, true);
  const TPixelSet M = P.Marked();
  TPixelSet Row, Column;
  for (const auto& [X, Y] : M) {
    if (Y == 10) Row.insert({X, Y});
    if (X == 10) Column.insert({X, Y});
  }
  EXPECT_EQ(Row, (TPixelSet{{8, 10}, {9, 10}, {10, 10}, {11, 10}}));
  EXPECT_EQ(Column, (TPixelSet{{10, 8}, {10, 9}, {10, 10}, {10, 11}}));
  EXPECT_EQ(M.size(), 7u);
}

TEST(MarkSymbols, PrinterVariantsUseArmsOfTheSymbolSize) {
  // Pen arms of length d reach d pixels left/up and d - 1 right/down.
  TSheet P3;
  DrawMark(P3.Canvas(), 3, 10, 10, true);
  TBox B = BoundsOf(P3.Marked(), 10, 10);
  EXPECT_TRUE(B.X1 == -4 && B.Y1 == -4 && B.X2 == 3 && B.Y2 == 3);
  TSheet P5;
  DrawMark(P5.Canvas(), 5, 10, 10, true);
  B = BoundsOf(P5.Marked(), 10, 10);
  EXPECT_TRUE(B.X1 == -3 && B.Y1 == -3 && B.X2 == 2 && B.Y2 == 3);
  EXPECT_TRUE(P5.Marked().count({7, 13})) << "the rising diagonal starts at the bottom left";
  EXPECT_FALSE(P5.Marked().count({13, 7}));
}

TEST(MarkSymbols, ChequerOnThePrinterSetsTheGlyphsTwentyFivePoints) {
  TSheet Printer, Glyph;
  DrawMark(Printer.Canvas(), 18, 10, 10, true);
  DrawGlyph7x7(18, Ink, Glyph.Canvas(), 10, 10);
  EXPECT_EQ(Printer.Marked().size(), 25u);
  EXPECT_EQ(Printer.Marked(), Glyph.Marked());
  TSheet Screen;
  DrawMark(Screen.Canvas(), 18, 10, 10, false);
  EXPECT_EQ(Screen.Marked(), Glyph.Marked());
}

TEST(Glyphs, RowBitsMapLeftToRightAndOutOfRangeGlyphsDrawNothing) {
  TSheet S;
  DrawGlyph7x7(6, Ink, S.Canvas(), 10, 10);
  const TPixelSet M = S.Marked();
  EXPECT_EQ(M.size(), 13u);
  EXPECT_TRUE(M.count({7, 7}) && M.count({13, 7}) && M.count({7, 13}) && M.count({13, 13}));
  TSheet T;
  DrawGlyph7x7(3, Ink, T.Canvas(), 10, 10);
  // Row 4 of the large plus is 0x7F: seven pixels, bit 6 at x - 3.
  for (int X = 7; X <= 13; ++X) EXPECT_TRUE(T.Marked().count({X, 10}));
  TSheet N;
  DrawGlyph7x7(0, Ink, N.Canvas(), 10, 10);
  DrawGlyph7x7(MarkGlyphCount + 1, Ink, N.Canvas(), 10, 10);
  DrawGlyph7x7(-5, Ink, N.Canvas(), 10, 10);
  EXPECT_TRUE(N.Marked().empty());
}

TEST(MarkSymbols, ClippedAtTheBitmapEdgeWithoutHarm) {
  TSheet S(5, 5);
  for (int Kind = 0; Kind < 52; ++Kind) {
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 0, 0, false);
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 4, 4, true);
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), -30000, 30000, false);
  }
  EXPECT_TRUE(S.Marked().count({0, 0}));
  EXPECT_TRUE(S.AllInk());
}

// The hollow squares take the canvas's one-step outline; they must stay the
// exact closed path of four lines in every pen state and at every edge.
TEST(MarkSymbols, HollowSquaresEqualTheirFourLinePathAnywhere) {
  std::uint32_t Seed = 3;
  auto Next = [&Seed](int Lo, int Hi) {
    Seed = Seed * 1664525u + 1013904223u;
    return Lo + static_cast<int>((Seed >> 8) % static_cast<std::uint32_t>(Hi - Lo + 1));
  };
  constexpr int W = 13, H = 11;
  for (int Case = 0; Case < 3000; ++Case) {
    TBitmap Mark(W, H), Path(W, H);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        const TColor Back = Next(0, 0xFFFFFF);
        Mark.Canvas().SetPixels(X, Y, Back);
        Path.Canvas().SetPixels(X, Y, Back);
      }
    const int Kind = Next(10, 12), D = Kind - 9, X = Next(-4, W + 3), Y = Next(-4, H + 3);
    const auto Style = static_cast<TPenStyle>(Next(0, 2) == 0 ? Next(0, 6) : psSolid);
    const int Width = Next(0, 3) == 0 ? 2 : 1;
    const auto Mode = static_cast<TPenMode>(Next(0, 1));
    const TColor Colour = Next(0, 0xFFFFFF);
    for (TBitmap* B : {&Mark, &Path}) {
      B->Canvas().Pen().SetColor(Colour);
      B->Canvas().Pen().SetStyle(Style);
      B->Canvas().Pen().SetWidth(Width);
      B->Canvas().Pen().SetMode(Mode);
    }
    DrawMark(Mark.Canvas(), static_cast<std::uint8_t>(Kind), X, Y, false);
    TCanvas& P = Path.Canvas();
    P.MoveTo(X - D, Y - D);
    P.LineTo(X - D, Y + D);
    P.LineTo(X + D, Y + D);
    P.LineTo(X + D, Y - D);
    P.LineTo(X - D, Y - D);
    ASSERT_EQ(Mark.Canvas().PenPos(), P.PenPos()) << "case " << Case;
    for (int Y2 = 0; Y2 < H; ++Y2)
      for (int X2 = 0; X2 < W; ++X2)
        ASSERT_EQ(Mark.Canvas().Pixels(X2, Y2), P.Pixels(X2, Y2))
            << "case " << Case << " kind " << Kind << " at " << X << "," << Y << " pixel " << X2 << "," << Y2;
  }
}

// ------------------------------------------------------- brush side effects

TEST(MarkBrush, HollowSymbolsLeaveASolidBrushAndKeepItsColour) {
  for (int Kind : {16, 17, 27, 31, 32, 33, 35, 39, 40, 42, 44, 46, 48, 49, 50, 51}) {
    TSheet S;
    S.Canvas().Brush().SetStyle(bsClear);
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 10, 10, false);
    EXPECT_EQ(S.Canvas().Brush().Style(), bsSolid) << "kind " << Kind;
    EXPECT_EQ(S.Canvas().Brush().Color(), clBlue) << "kind " << Kind;
  }
}

TEST(MarkBrush, HollowSymbolsDoNotFillTheirInside) {
  for (int Kind : {16, 17, 33, 35, 39, 42, 46, 48}) {
    TSheet S;
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 10, 10, false);
    const TPixelSet M = S.Marked();
    const bool Crossed = Kind == 39 || Kind == 48;
    EXPECT_EQ(M.count({10, 10}), Crossed ? 1u : 0u) << "kind " << Kind;
  }
}

TEST(MarkBrush, FilledSymbolsRestoreTheBrushColourAndKeepTheStyle) {
  for (int Kind : {7, 8, 9, 14, 15, 24, 26, 28, 29, 30, 34, 36, 41, 43, 45, 47}) {
    TSheet S;
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 10, 10, false);
    EXPECT_EQ(S.Canvas().Brush().Color(), clBlue) << "kind " << Kind;
    EXPECT_EQ(S.Canvas().Brush().Style(), bsSolid) << "kind " << Kind;
    EXPECT_TRUE(S.AllInk()) << "filled with the pen colour, kind " << Kind;
  }
}

TEST(MarkBrush, FilledSymbolWithAClearBrushShowsOnlyItsOutline) {
  for (int Kind : {9, 15, 24, 34}) {
    TSheet Clear, Solid;
    Clear.Canvas().Brush().SetStyle(bsClear);
    DrawMark(Clear.Canvas(), static_cast<std::uint8_t>(Kind), 10, 10, false);
    DrawMark(Solid.Canvas(), static_cast<std::uint8_t>(Kind), 10, 10, false);
    EXPECT_EQ(Clear.Canvas().Brush().Style(), bsClear) << "kind " << Kind;
    EXPECT_TRUE(Solid.Marked().count({10, 10})) << "kind " << Kind;
    EXPECT_FALSE(Clear.Marked().count({10, 10})) << "kind " << Kind;
    EXPECT_EQ(BoundsOf(Clear.Marked(), 10, 10).X1, BoundsOf(Solid.Marked(), 10, 10).X1);
    EXPECT_LT(Clear.Marked().size(), Solid.Marked().size());
  }
  // The square's outline is exactly its 24 border pixels.
  TSheet Sq;
  Sq.Canvas().Brush().SetStyle(bsClear);
  DrawMark(Sq.Canvas(), 9, 10, 10, false);
  EXPECT_EQ(Sq.Marked().size(), 24u);
}

TEST(MarkBrush, LineSymbolsFollowThePenWidthAndStyle) {
  TSheet Thin, Wide;
  Wide.Canvas().Pen().SetWidth(3);
  DrawMark(Thin.Canvas(), 37, 10, 12, false);
  DrawMark(Wide.Canvas(), 37, 10, 12, false);
  EXPECT_GT(Wide.Marked().size(), Thin.Marked().size());
  TSheet None;
  None.Canvas().Pen().SetStyle(psClear);
  DrawMark(None.Canvas(), 12, 10, 10, false);
  EXPECT_TRUE(None.Marked().empty());
}

// ---------------------------------------------------------- character marks

TEST(CharacterMarks, DrawTheCharacterCentredInThePenColourOverAClearBrush) {
  TSheet S(40, 40);
  S.Canvas().Font().SetHeight(-16);
  DrawMark(S.Canvas(), 65, 20, 20, false);
  EXPECT_EQ(S.Canvas().Brush().Style(), bsClear);
  EXPECT_EQ(S.Canvas().Brush().Color(), clBlue) << "character marks leave the brush colour";
  EXPECT_EQ(S.Canvas().Font().Color(), Ink);
  ASSERT_FALSE(S.Marked().empty());
  EXPECT_FALSE(S.Marked().count({0, 0})) << "no background box with the clear brush";

  // The same letter placed by hand, top-left at (x - w div 2, y - h div 2).
  TSheet R(40, 40);
  TCanvas& C = R.Canvas();
  C.Font().SetHeight(-16);
  C.Font().SetColor(Ink);
  C.Brush().SetStyle(bsClear);
  C.TextOut(20 - C.TextWidth("A") / 2, 20 - C.TextHeight("A") / 2, "A");
  EXPECT_EQ(S.Marked(), R.Marked());
  const TBox B = BoundsOf(S.Marked(), 20, 20);
  EXPECT_LE(std::abs(B.X1 + B.X2), 2) << "centred horizontally";
}

TEST(CharacterMarks, DigitKindsAndCodeKindsAgree) {
  auto Draw = [](int Kind) {
    TSheet S(40, 40);
    S.Canvas().Font().SetHeight(-16);
    DrawMark(S.Canvas(), static_cast<std::uint8_t>(Kind), 20, 20, false);
    return S.Marked();
  };
  EXPECT_EQ(Draw(204), Draw(52)) << "kind 204 and kind 52 are both the digit 4";
  EXPECT_NE(Draw(203), Draw(204));
  // Codes 48..51 are symbols, so the digits 0..3 are reached through 200..203.
  for (int D = 4; D <= 9; ++D) EXPECT_EQ(Draw(200 + D), Draw(48 + D)) << "digit " << D;
  EXPECT_NE(Draw(200), Draw(48));
  EXPECT_NE(Draw(200), Draw(209));
  EXPECT_FALSE(Draw(128).empty()) << "high codes draw a visible character";
  EXPECT_FALSE(Draw(233).empty());
}

// ------------------------------------------------------- the real printer

TEST(MarkDevices, ThePrintersCanvasGetsThePrinterVariants) {
  TPrinter& P = Printer();
  P.SetResolution(72);
  P.BeginDoc(std::string(ZKW_TEST_OUTPUT_DIR) + "/marks_on_printer.png");
  TCanvas& C = P.Canvas();
  C.Pen().SetColor(Ink);
  C.Pen().SetWidth(1);
  DrawMark(C, 1, 10, 10);
  DrawMark(C, 18, 30, 10);
  TSheet Glyph;
  DrawGlyph7x7(18, Ink, Glyph.Canvas(), 10, 10);
  TPixelSet Plus, Chequer;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 40; ++X)
      if (C.Pixels(X, Y) == Ink) (X < 20 ? Plus : Chequer).insert({X < 20 ? X : X - 20, Y});
  P.EndDoc();
  EXPECT_TRUE(Plus.count({8, 10})) << "printer arm reaches x - 2";
  EXPECT_FALSE(Plus.count({12, 10}));
  EXPECT_EQ(Plus.size(), 7u);
  EXPECT_EQ(Chequer, Glyph.Marked());
  // Any other canvas is the screen: the glyph plus of five pixels.
  TSheet Screen;
  DrawMark(Screen.Canvas(), 1, 10, 10);
  EXPECT_EQ(Screen.Marked().size(), 5u);
}
