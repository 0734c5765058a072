// The demo form: its stored description, the data its activation makes, the
// snapping of the cursor mark, the read-out labels and the Exit button.
// Everything runs headless through the controls' entry points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/frmmain.h"
#include "chart/ZKW_vexa.h"
#include "platform/formstream.h"
#include "platform/rtl.h"

namespace zkw {
namespace {

// The generator the demo relies on, written out again independently:
// seed := seed * 134775813 + 1 (mod 2^32), r = seed * 2^-32.
double NextRandom(std::uint32_t& Seed) {
  Seed = Seed * 134775813u + 1u;
  return static_cast<double>(Seed) / 4294967296.0;
}

struct TExpectedMark {
  double X;
  double Y;
};

std::vector<TExpectedMark> ExpectedMarks(std::uint32_t& Seed) {
  std::vector<TExpectedMark> Marks;
  for (int I = 1; I <= 100; ++I) {
    const long double S = std::sin(static_cast<long double>(I) * 0.05L);
    Marks.push_back({1200.0 + 15.0 * I, static_cast<double>(S + NextRandom(Seed))});
  }
  return Marks;
}

class DemoFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedBefore = RandSeed();
    Form = std::make_unique<TForm1>(nullptr);
  }
  // Showing the form creates the windows; headless, the form is then
  // activated at once, which runs FormActivate.
  void ShowForm() { Form->Show(); }
  // Client pixel of the chart at which data item Index is shown.
  TPoint PixelOfItem(int Index) const {
    const TvxChartItem Item = Form->VX1->GetItem(Index);
    TPoint P;
    Form->VX1->WorldToPixel(1, Item.X, Item.Y, P.X, P.Y);
    return P;
  }
  void MoveTo(TPoint P) {
    Form->VX1->WMMouseMove(TShiftState{}, static_cast<std::int16_t>(P.X), static_cast<std::int16_t>(P.Y));
  }

  std::uint32_t SeedBefore = 0;
  std::unique_ptr<TForm1> Form;
};

// ---- the stored description ---------------------------------------------------------

TEST_F(DemoFormTest, StoredDescriptionBuildsTheFormAsDescribed) {
  EXPECT_EQ(Form->Name(), "Form1");
  EXPECT_EQ(Form->Caption(), "Form1");
  EXPECT_EQ(Form->Left(), 388);
  EXPECT_EQ(Form->Top(), 193);
  EXPECT_EQ(Form->ClientWidth(), 525);
  EXPECT_EQ(Form->ClientHeight(), 403);
  EXPECT_EQ(Form->BorderStyle(), bsDialog);
  EXPECT_EQ(Form->Color(), clBtnFace);
  EXPECT_EQ(Form->Font().Height(), -13);
  EXPECT_EQ(Form->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(Form->Font().Color(), clWindowText);
  EXPECT_TRUE(Form->Font().Style().Empty());
  EXPECT_FALSE(Form->Scaled());
  EXPECT_TRUE(Form->OldCreateOrder());
  EXPECT_EQ(Form->PixelsPerInch(), 120);
  EXPECT_EQ(Form->TextHeight(), 16);
  EXPECT_TRUE(static_cast<bool>(Form->OnActivate));

  // The six published components, in their order, bound to the fields.
  const std::vector<std::string> Names = {"VX1", "BitBtn1", "LblX", "LblY", "Label1", "Label2"};
  ASSERT_EQ(Form->ComponentCount(), 6);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(Form->Components(I)->Name(), Names[static_cast<std::size_t>(I)]);
  ASSERT_NE(Form->VX1, nullptr);
  ASSERT_NE(Form->BitBtn1, nullptr);
  ASSERT_NE(Form->LblX, nullptr);
  ASSERT_NE(Form->LblY, nullptr);
  ASSERT_NE(Form->Label1, nullptr);
  ASSERT_NE(Form->Label2, nullptr);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(Form->Controls(I), Form->Components(I));

  EXPECT_EQ(Form->BitBtn1->Caption(), "Exit");
  EXPECT_EQ(Form->BitBtn1->BoundsRect(), (TRect{8, 368, 83, 393}));
  EXPECT_EQ(Form->BitBtn1->TabOrder(), 0);
  EXPECT_TRUE(static_cast<bool>(Form->BitBtn1->OnClick));

  EXPECT_EQ(Form->LblX->Caption(), "LblX");
  EXPECT_FALSE(Form->LblX->AutoSize());
  EXPECT_EQ(Form->LblX->BoundsRect(), (TRect{354, 360, 491, 380}));
  EXPECT_EQ(Form->LblY->Caption(), "LblY");
  EXPECT_FALSE(Form->LblY->AutoSize());
  EXPECT_EQ(Form->LblY->BoundsRect(), (TRect{355, 376, 492, 396}));
  EXPECT_EQ(Form->Label1->Caption(), "X = ");
  EXPECT_EQ(Form->Label1->Alignment(), taRightJustify);
  EXPECT_EQ(Form->Label2->Caption(), "Y = ");
  EXPECT_EQ(Form->Label2->Alignment(), taRightJustify);
  // Right-justified labels that size themselves keep their right edge.
  EXPECT_EQ(Form->Label1->Left() + Form->Label1->Width(), 349);
  EXPECT_EQ(Form->Label2->Left() + Form->Label2->Width(), 350);
}

TEST_F(DemoFormTest, StoredDescriptionSetsUpTheChart) {
  const TVexa& C = *Form->VX1;
  EXPECT_EQ(C.BoundsRect(), (TRect{8, 8, 513, 353}));
  EXPECT_EQ(C.AllocSize(), 1000);
  EXPECT_TRUE(C.AutoRedraw());
  EXPECT_EQ(C.Geometry().PlotLeft(), 50);
  EXPECT_EQ(C.Geometry().PlotRight(), 485);
  EXPECT_EQ(C.Geometry().PlotTop(), 20);
  EXPECT_EQ(C.Geometry().PlotBottom(), 305);
  EXPECT_EQ(C.ShadowColor(), clGray);
  EXPECT_EQ(C.ShadowBakColor(), clSilver);
  EXPECT_EQ(C.GridStyle(), gsNone);
  EXPECT_EQ(C.CaptionPosY(), -16);
  EXPECT_EQ(C.MouseAction(), maNone);
  EXPECT_TRUE(C.MouseCursorFixed());
  EXPECT_EQ(C.FillColor(), clWhite);  // TextBkColor shares its storage
  for (int I = 1; I <= 4; ++I) {
    EXPECT_EQ(C.CrossHair(I).Layer(), I);
    EXPECT_EQ(C.CrossHair(I).Mode(), chOff);
  }
  EXPECT_TRUE(static_cast<bool>(C.OnMouseMoveInChart));

  TVexa& V = *Form->VX1;
  EXPECT_EQ(V.Scale1X().RangeLow(), 1000.0);
  EXPECT_EQ(V.Scale1X().RangeHigh(), 3300.0);
  EXPECT_EQ(V.Scale1Y().RangeLow(), -2.0);
  EXPECT_EQ(V.Scale1Y().RangeHigh(), 3.0);
  EXPECT_EQ(V.Scale2X().RangeHigh(), 1.0);
  EXPECT_TRUE(V.Scale1X().Visible() && V.Scale1Y().Visible());
  EXPECT_FALSE(V.Scale2X().Visible() || V.Scale2Y().Visible());
  EXPECT_EQ(V.Scale2X().ColorScale(), clMaroon);
  EXPECT_EQ(V.Scale1Y().CaptionAlignment(), taLeftJustify);
  EXPECT_EQ(V.Scale1Y().DateFormat().DateOrder(), doDDMMYY);
  EXPECT_EQ(V.Scale2Y().Font().Height(), -13);
}

TEST_F(DemoFormTest, WrittenDescriptionReadsBackWithEveryValue) {
  // Values equal to the stored defaults but not to what a new chart has.
  Form->VX1->SetMarginRight(10);
  Form->VX1->Scale1Y().SetVisible(false);
  const std::string Text = WriteComponentToJson(*Form);
  TForm1 Again(nullptr, Text);
  EXPECT_EQ(Again.VX1->MarginRight(), 10);
  EXPECT_FALSE(Again.VX1->Scale1Y().Visible());
  EXPECT_TRUE(Again.VX1->Scale1X().Visible());
  EXPECT_EQ(WriteComponentToJson(Again), Text);

  // The chart written on its own reads back equal (its handler belongs to
  // the form and is not named).
  const std::string Alone = WriteComponentToJson(*Form->VX1);
  TVexa Chart(nullptr);
  ASSERT_NO_THROW(ReadComponentFromJson(Chart, Alone));
  EXPECT_EQ(WriteComponentToJson(Chart), Alone);
  EXPECT_EQ(Chart.MarginRight(), 10);
  EXPECT_EQ(Chart.Width(), Form->VX1->Width());
  EXPECT_EQ(Chart.Scale1X().RangeHigh(), Form->VX1->Scale1X().RangeHigh());
}

TEST_F(DemoFormTest, BadDescriptionIsARefusedReadNotAHalfBuiltForm) {
  std::string Json = StoredFormDescription();
  const std::string Good = "\"MouseAction\": \"maNone\"";
  const auto At = Json.find(Good);
  ASSERT_NE(At, std::string::npos);
  Json.replace(At, Good.size(), "\"MouseAction\": \"maFlyAway\"");
  try {
    TForm1 Bad(nullptr, Json);
    FAIL() << "an unknown enumerator was accepted";
  } catch (const EReadError& E) {
    EXPECT_NE(std::string(E.what()).find("VX1.MouseAction"), std::string::npos) << E.what();
  }
}

// ---- activation --------------------------------------------------------------------

TEST_F(DemoFormTest, FirstActivationMakesHundredMarksAndTheCursorMark) {
  ShowForm();
  ASSERT_TRUE(Form->Active());
  const TVexa& C = *Form->VX1;
  ASSERT_EQ(C.ItemCount(), 101);
  std::uint32_t Seed = SeedBefore;
  const std::vector<TExpectedMark> Expected = ExpectedMarks(Seed);
  for (int I = 0; I < 100; ++I) {
    const TvxChartItem Item = C.GetItem(I);
    EXPECT_EQ(Item.Kind, ckMark);
    EXPECT_EQ(Item.MarkType, 10);
    EXPECT_EQ(Item.Color, 0x800000) << "mark " << I;
    EXPECT_EQ(Item.X, Expected[static_cast<std::size_t>(I)].X);
    EXPECT_EQ(Item.Y, Expected[static_cast<std::size_t>(I)].Y) << "mark " << I;
  }
  EXPECT_EQ(C.GetItem(0).X, 1215.0);
  EXPECT_EQ(C.GetItem(99).X, 2700.0);
  const TvxChartItem Cursor = C.GetItem(100);
  EXPECT_EQ(Cursor.Kind, ckMark);
  EXPECT_EQ(Cursor.MarkType, 25);
  EXPECT_EQ(Cursor.Color, 255);
  EXPECT_EQ(Cursor.X, 0.0);
  EXPECT_EQ(Cursor.Y, 0.0);
  EXPECT_EQ(RandSeed(), Seed);
}

TEST_F(DemoFormTest, SecondActivationContinuesTheGenerator) {
  ShowForm();
  std::vector<double> FirstY;
  for (int I = 0; I < 100; ++I) FirstY.push_back(Form->VX1->GetItem(I).Y);
  Form->Activate();
  ASSERT_EQ(Form->VX1->ItemCount(), 101);
  std::uint32_t Seed = SeedBefore;
  ExpectedMarks(Seed);
  const std::vector<TExpectedMark> Second = ExpectedMarks(Seed);
  int Differing = 0;
  for (int I = 0; I < 100; ++I) {
    const TvxChartItem Item = Form->VX1->GetItem(I);
    EXPECT_EQ(Item.X, 1215.0 + 15.0 * I);
    EXPECT_EQ(Item.Y, Second[static_cast<std::size_t>(I)].Y) << "mark " << I;
    if (Item.Y != FirstY[static_cast<std::size_t>(I)]) ++Differing;
  }
  EXPECT_EQ(Differing, 100);
  EXPECT_EQ(Form->VX1->GetItem(100).MarkType, 25);
}

// ---- the snapping cursor mark -------------------------------------------------------

TEST_F(DemoFormTest, CursorSnapsToTheNearestMarkAndLabelsShowIt) {
  ShowForm();
  MoveTo(PixelOfItem(0));
  const TvxChartItem First = Form->VX1->GetItem(0);
  TvxChartItem Cursor = Form->VX1->GetItem(100);
  EXPECT_EQ(Cursor.MarkType, 25);
  EXPECT_EQ(Cursor.Color, 255);
  EXPECT_EQ(Cursor.X, First.X);
  EXPECT_EQ(Cursor.Y, First.Y);
  EXPECT_EQ(Form->LblX->Caption(), "1215.00");
  EXPECT_EQ(Form->LblY->Caption(), FormatFixed(First.Y, 2));

  // A pointer a few pixels beside mark 57 still picks mark 57.
  TPoint P = PixelOfItem(57);
  P.Y += 3;
  MoveTo(P);
  Cursor = Form->VX1->GetItem(100);
  EXPECT_EQ(Cursor.X, Form->VX1->GetItem(57).X);
  EXPECT_EQ(Cursor.Y, Form->VX1->GetItem(57).Y);
  EXPECT_EQ(Form->LblX->Caption(), "2070.00");

  // Anywhere over the chart, margins included, the cursor goes to the mark
  // with the smallest pixel distance (the lowest index on ties).
  for (const TPoint Pointer : {TPoint{504, 0}, TPoint{0, 344}, TPoint{260, 170}, TPoint{486, 306}}) {
    int Best = -1;
    std::int64_t BestD2 = 0;
    for (int I = 0; I < 100; ++I) {
      const TPoint M = PixelOfItem(I);
      const std::int64_t DX = M.X - Pointer.X, DY = M.Y - Pointer.Y;
      if (Best < 0 || DX * DX + DY * DY < BestD2) {
        Best = I;
        BestD2 = DX * DX + DY * DY;
      }
    }
    MoveTo(Pointer);
    const TvxChartItem Want = Form->VX1->GetItem(Best);
    EXPECT_EQ(Form->VX1->GetItem(100).X, Want.X) << Pointer.X << "," << Pointer.Y;
    EXPECT_EQ(Form->VX1->GetItem(100).Y, Want.Y) << Pointer.X << "," << Pointer.Y;
    EXPECT_EQ(Form->LblX->Caption(), FormatFixed(Want.X, 2));
    EXPECT_EQ(Form->LblY->Caption(), FormatFixed(Want.Y, 2));
  }
}

TEST_F(DemoFormTest, CursorNeverSnapsToItselfAndTheStoreKeepsItsSize) {
  ShowForm();
  const TvxChartItem Before = Form->VX1->GetItem(33);
  for (int Round = 0; Round < 5; ++Round) {
    // The cursor mark lies exactly on mark 33; the data mark has the lower
    // index and wins, so the cursor stays there.
    MoveTo(PixelOfItem(33));
    ASSERT_EQ(Form->VX1->ItemCount(), 101);
    double Distance = -1;
    const TvxChartItem Cursor = Form->VX1->GetItem(100);
    EXPECT_EQ(Form->VX1->FindNearestItem(1, 255, Cursor.X, Cursor.Y, Distance), 33);
    EXPECT_EQ(Cursor.X, Before.X);
    EXPECT_EQ(Cursor.Y, Before.Y);
  }
  for (int X = -20; X < 540; X += 7) MoveTo(TPoint{X, (X * 3) % 380});
  EXPECT_EQ(Form->VX1->ItemCount(), 101);
  for (int I = 0; I < 100; ++I) EXPECT_EQ(Form->VX1->GetItem(I).MarkType, 10) << I;
  EXPECT_EQ(Form->VX1->GetItem(100).MarkType, 25);
}

TEST_F(DemoFormTest, MoveBeforeAnyActivationChangesNothing) {
  // Without activation the store is empty: the search finds no item and the
  // handler must neither read nor remove anything.
  Form->VX1->HandleNeeded();
  ASSERT_EQ(Form->VX1->ItemCount(), 0);
  MoveTo(TPoint{100, 100});
  EXPECT_EQ(Form->VX1->ItemCount(), 0);
  EXPECT_EQ(Form->LblX->Caption(), "LblX");
  EXPECT_EQ(Form->LblY->Caption(), "LblY");
}

TEST_F(DemoFormTest, ReadoutHasTwoDecimalsAndNoPadding) {
  EXPECT_EQ(FormatReadout(1215.0), "1215.00");
  EXPECT_EQ(FormatReadout(-0.35), "-0.35");
  EXPECT_EQ(FormatReadout(0.004), "0.00");
  EXPECT_EQ(FormatReadout(1.999), "2.00");
  EXPECT_EQ(FormatReadout(2700.0), "2700.00");
}

// ---- the Exit button ----------------------------------------------------------------

TEST_F(DemoFormTest, ExitButtonClosesTheForm) {
  ShowForm();
  ASSERT_TRUE(Form->Visible());
  bool Closed = false;
  Form->OnClose = [&](TObject*) { Closed = true; };
  // A left press and release on the button is a click.
  Form->BitBtn1->WMButtonDown(mbLeft, TShiftState{ssLeft}, 10, 10);
  Form->BitBtn1->WMButtonUp(mbLeft, TShiftState{}, 10, 10);
  EXPECT_TRUE(Closed);
  EXPECT_FALSE(Form->Visible());
}

}  // namespace
}  // namespace zkw
