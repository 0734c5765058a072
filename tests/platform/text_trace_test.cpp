// Text traces: which texts a traced bitmap remembers, the scope that collects
// the texts of untraced bitmaps, and the pointer-shape redirect.
#include <gtest/gtest.h>

#include "platform/graphics.h"
#include "platform/screen.h"
#include "platform/text_trace.h"

namespace zkw {
namespace {

TEST(TextTrace, RemembersTheTextsOfTracedBitmapsOnly) {
  TBitmap Traced(200, 60), Other(200, 60);
  StartTextTrace(Traced);
  EXPECT_EQ(TracedTexts(Other), nullptr);
  TCanvas& C = Traced.Canvas();
  C.Font().SetColor(clRed);
  C.Brush().SetColor(clYellow);
  C.TextOut(10, 5, "first");
  C.Brush().SetStyle(bsClear);
  C.TextOut(100, 5, "second");
  Other.Canvas().TextOut(10, 5, "elsewhere");
  C.TextOut(500, 5, "off the picture");
  std::vector<TTracedText>* L = TracedTexts(Traced);
  ASSERT_NE(L, nullptr);
  ASSERT_EQ(L->size(), 2u);
  const TTracedText& A = (*L)[0];
  EXPECT_EQ(A.Text, "first");
  EXPECT_EQ(A.X, 10);
  EXPECT_EQ(A.Y, 5);
  EXPECT_EQ(A.Width, C.TextWidth("first"));
  EXPECT_EQ(A.Height, C.TextHeight("first"));
  EXPECT_EQ(A.Color, qRgb(255, 0, 0));
  EXPECT_TRUE(A.Opaque);
  EXPECT_EQ(A.Background, qRgb(255, 255, 0));
  EXPECT_FALSE((*L)[1].Opaque);

  // Drawn again over its whole box: the old record goes, a neighbour stays.
  C.TextOut(10, 5, "first");
  ASSERT_EQ(L->size(), 2u);
  EXPECT_EQ((*L)[0].Text, "second");
  StopTextTrace(Traced);
  EXPECT_EQ(TracedTexts(Traced), nullptr);
}

TEST(TextTrace, KeepsOnlyTheNewestTexts) {
  // Every text starts right of the one before: none covers another.
  TBitmap B(3100, 100);
  StartTextTrace(B);
  for (std::size_t I = 0; I < MaxTracedTexts + 10; ++I)
    B.Canvas().TextOut(static_cast<int>(I % 1000) * 3, static_cast<int>(I / 1000) * 14, std::to_string(I));
  ASSERT_EQ(TracedTexts(B)->size(), MaxTracedTexts);
  EXPECT_EQ(TracedTexts(B)->front().Text, "10");
  EXPECT_EQ(TracedTexts(B)->back().Text, QString::number(MaxTracedTexts + 9));
  StopTextTrace(B);
}

TEST(TextTrace, AScopeCollectsTheTextsOfUntracedBitmaps) {
  TBitmap Traced(100, 40), Temporary(100, 40);
  StartTextTrace(Traced);
  std::vector<TTracedText> Outer, Inner;
  {
    const TTextTraceScope S1(Outer);
    Temporary.Canvas().TextOut(1, 1, "a");
    {
      const TTextTraceScope S2(Inner);
      Temporary.Canvas().TextOut(1, 20, "b");
      Traced.Canvas().TextOut(1, 1, "c");  // its own trace, not the scope
    }
    Temporary.Canvas().TextOut(50, 1, "d");
  }
  Temporary.Canvas().TextOut(50, 20, "e");  // no scope any more
  ASSERT_EQ(Outer.size(), 2u);
  EXPECT_EQ(Outer[0].Text, "a");
  EXPECT_EQ(Outer[1].Text, "d");
  ASSERT_EQ(Inner.size(), 1u);
  EXPECT_EQ(Inner[0].Text, "b");
  ASSERT_EQ(TracedTexts(Traced)->size(), 1u);
  StopTextTrace(Traced);
}

TEST(CursorRedirect, RoutesShapesAwayFromTheApplicationCursor) {
  std::vector<TCursor> Hooked, First, Second;
  SetCursorHook([&](TCursor C) { Hooked.push_back(C); });
  Screen().SetCursor(crHourGlass);
  {
    const TCursorRedirect R1([&](TCursor C) { First.push_back(C); });
    Screen().SetCursor(crCross);
    {
      const TCursorRedirect R2([&](TCursor C) { Second.push_back(C); });
      Screen().SetCursor(crDefault);
    }
    Screen().SetCursor(crSizeAll);
    EXPECT_EQ(Screen().Cursor(), crHourGlass);
  }
  Screen().SetCursor(crDefault);
  EXPECT_EQ(Hooked, (std::vector<TCursor>{crHourGlass, crDefault}));
  EXPECT_EQ(First, (std::vector<TCursor>{crCross, crSizeAll}));
  EXPECT_EQ(Second, std::vector<TCursor>{crDefault});
  SetCursorHook(nullptr);
}

}  // namespace
}  // namespace zkw
