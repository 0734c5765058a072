// The chart component: a new chart's values, setter rules, standard layouts,
// internal scale controls, drawing commands and the item operations.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/ZKW_vexa.h"
#include "platform/screen.h"

namespace zkw {
namespace {

TEST(VexaCreation, NewChartHasTheFirstLayoutAndItsDefaults) {
  TVexa Chart(nullptr);
  EXPECT_EQ(Chart.Width(), 280);
  EXPECT_EQ(Chart.Height(), 200);
  // The chart keeps the arrow keys and Tab from the form's focus navigation.
  EXPECT_EQ(Chart.WMGetDlgCode(), (TDialogCodes{dcWantArrows, dcWantTab}));
  // The first standard layout overrides the constructor's margins.
  EXPECT_EQ(Chart.MarginLeft(), 50);
  EXPECT_EQ(Chart.MarginRight(), 20);
  EXPECT_EQ(Chart.MarginTop(), 20);
  EXPECT_EQ(Chart.MarginBottom(), 40);
  EXPECT_EQ(Chart.RRim(), 20);
  EXPECT_EQ(Chart.CaptionPosY(), -16);
  EXPECT_EQ(Chart.CaptionAlignment(), taRightJustify);
  EXPECT_EQ(Chart.AllocSize(), 1000);
  EXPECT_TRUE(Chart.AutoRedraw());
  EXPECT_TRUE(Chart.PaintLocked());
  EXPECT_EQ(Chart.FillColor(), clSilver);
  EXPECT_EQ(Chart.ChartColor(), clWhite);
  EXPECT_EQ(Chart.WindColor(), clBtnFace);
  EXPECT_EQ(Chart.ShadowColor(), clGrayText);
  EXPECT_EQ(Chart.GridDx(), 0.0);
  EXPECT_EQ(Chart.CaptionTrim(), 100);
  EXPECT_EQ(Chart.CurrentLayer(), 1);
  EXPECT_EQ(Chart.ItemCount(), 0);
  EXPECT_EQ(Chart.ItemCapacity(), 0);
  EXPECT_EQ(Chart.UseDataOf(), nullptr);
  EXPECT_EQ(Chart.StandardLayout(), vxl_X1Bottom_Y1Left);
  EXPECT_EQ(Chart.CrossHair(3).Layer(), 3);
  EXPECT_EQ(Chart.CrossHair(1).Color(), 255);
  EXPECT_EQ(Chart.CrossHair(1).LineType(), psDashDotDot);
  EXPECT_FALSE(Chart.TextLabel(50).Visible());
  EXPECT_EQ(Chart.TextLabel(7).AttachToData(), tlamBoth);
  EXPECT_EQ(Chart.RangeHistory().Position(), 2);
  // The same values as the table of defaults the registry reads.
  const TChartPaintSettings S = Chart.PaintSettings();
  EXPECT_TRUE(S.Data.Look == TPlotLook{});
  EXPECT_TRUE(S.Frame == TFrameLook{});
}

// A default look value is what a new chart's crosshair 1 and labels have
// (the label's font is the chart's).
TEST(VexaCreation, NewCrossHairsAndLabelsHaveTheDefaultLooks) {
  TVexa Chart(nullptr);
  EXPECT_EQ(TCrossHairLook::Of(Chart.CrossHair(1)), TCrossHairLook{});
  EXPECT_EQ(Chart.CrossHair(3).Layer(), 3);
  TTextLabelLook Label = TTextLabelLook::Of(Chart.TextLabel(50));
  EXPECT_EQ(Label.Font, TFontKey::Of(Chart.Font()));
  Label.Font = TFontKey{};
  EXPECT_EQ(Label, TTextLabelLook{});
}

// Assign copies every setting a paint reads: the copy's settings value is
// the source's, whatever was changed on it.
TEST(VexaCreation, AssignGivesTheCopyTheSourcesPaintSettings) {
  TVexa A(nullptr), B(nullptr);
  A.SetBounds(0, 0, 300, 220);
  B.SetBounds(0, 0, 300, 220);
  A.SetMarginLeft(61);
  A.SetShadowWidth(4);
  A.SetCaption("copied");
  A.SetCaptionAnchorVert(cavChartBottom);
  A.SetGridStyle(gsPoints);
  A.SetGridColor(clTeal);
  A.SetMinDupMarkDist(2);
  A.SetLineWidth(3);
  A.SetCurrentLayer(2);
  A.SetLayerVisible(5, false);
  A.TextFont().SetHeight(-20);
  A.BackGroundImg().SetAreaMode(bamVStripe);
  A.CrossHair(2).SetMode(chBoth);
  A.TextLabel(3).SetCaption("three");
  A.Scale1X().SetRangeHigh(5);
  ASSERT_FALSE(A.PaintSettings() == B.PaintSettings());
  B.Assign(A);
  EXPECT_TRUE(A.PaintSettings() == B.PaintSettings());
  EXPECT_EQ(B.MarginLeft(), 61);
}

TEST(VexaCreation, LayerObjectsGetColoursSidesAndOffsets) {
  TVexa Chart(nullptr);
  EXPECT_EQ(Chart.ScalePropsX(5).ColorScale(), clNavy);
  EXPECT_EQ(Chart.ScalePropsY(5).ColorScale(), clNavy);
  EXPECT_EQ(Chart.ScalePropsX(5).ScalePos(), 60);
  EXPECT_EQ(Chart.ScalePropsY(5).ScalePos(), 100);
  EXPECT_EQ(Chart.ScalePropsX(16).ColorScale(), clWhite);
  EXPECT_EQ(Chart.ScalePropsX(5).ScaleType(), sctXT);
  EXPECT_EQ(Chart.ScalePropsX(6).ScaleType(), sctXB);
  EXPECT_EQ(Chart.ScalePropsY(6).ScaleType(), sctYL);
  EXPECT_TRUE(Chart.Scale1X().Visible());
  EXPECT_TRUE(Chart.Scale1Y().Visible());
  EXPECT_FALSE(Chart.Scale2X().Visible());
  EXPECT_EQ(Chart.Scale1Y().CaptionAlignment(), taLeftJustify);
  // Outside 1..16 the accessors give layer 1's objects.
  EXPECT_EQ(&Chart.ScalePropsX(0), &Chart.Scale1X());
  EXPECT_EQ(&Chart.ScalePropsY(17), &Chart.Scale1Y());
  for (int N = 1; N <= 16; ++N) {
    const std::string Number = std::to_string(N);
    EXPECT_EQ(Chart.FindComponent("VX_FScale_X_" + Number), &Chart.ScaleControlX(N));
    EXPECT_EQ(Chart.FindComponent("VX_FScale_Y_" + Number), &Chart.ScaleControlY(N));
  }
  // The layer-1 x scale stands below the plot: its top margin reaches the plot's bottom.
  EXPECT_EQ(Chart.ScaleControlX(1).ScaleType(), sctXT);
  EXPECT_EQ(Chart.ScaleControlX(1).MarginTop(), 200 - 40 - 0);
  EXPECT_EQ(Chart.ScaleControlY(1).MarginRight(), 280 - 50 - 1);
  EXPECT_EQ(Chart.ScaleControlX(1).MarginLeft(), 50);
  EXPECT_EQ(Chart.ScaleControlX(1).MarginRight(), 20 - 1);
}

TEST(VexaProperties, ClampedAndIgnoredValues) {
  TVexa Chart(nullptr);
  Chart.SetCaptionTrim(0);
  EXPECT_EQ(Chart.CaptionTrim(), 0);
  Chart.SetCaptionTrim(3);
  EXPECT_EQ(Chart.CaptionTrim(), 5);
  Chart.SetCaptionTrim(250);
  EXPECT_EQ(Chart.CaptionTrim(), 100);
  Chart.SetMinDupMarkDist(0);
  EXPECT_EQ(Chart.MinDupMarkDist(), 1);
  Chart.SetMinDupMarkDist(7);
  EXPECT_EQ(Chart.MinDupMarkDist(), 3);
  Chart.SetClassDefault(7);
  Chart.SetClassDefault(255);
  EXPECT_EQ(Chart.ClassDefault(), 7);
  Chart.SetGridDx(-3.0);
  EXPECT_EQ(Chart.GridDx(), -3.0);
  Chart.SetGridDx(-3.5);
  EXPECT_EQ(Chart.GridDx(), -3.0);
  Chart.SetGridDy(-4);
  EXPECT_EQ(Chart.GridDy(), 0.0);
  Chart.SetAllocSize(0);
  Chart.SetAllocSize(-5);
  Chart.SetAllocSize(1000001);
  EXPECT_EQ(Chart.AllocSize(), 1000);
  Chart.SetAllocSize(1000000);
  EXPECT_EQ(Chart.AllocSize(), 1000000);
  Chart.SetShadowWidth(40);
  EXPECT_EQ(Chart.ShadowWidth(), 32);
  Chart.SetShadowWidth(-1);
  EXPECT_EQ(Chart.ShadowWidth(), 0);
  Chart.SetTextBkColor(clWhite);
  EXPECT_EQ(Chart.FillColor(), clWhite);
  Chart.SetFillColor(clRed);
  EXPECT_EQ(Chart.TextBkColor(), clRed);
  Chart.SetTextFontStyle(TFontStyles{fsBold});
  EXPECT_TRUE(Chart.TextFont().Style().Contains(fsBold));
}

TEST(VexaLayouts, EveryStandardLayoutSetsItsMarginsAndIsNotRecorded) {
  struct Expect {
    TvxLayout Layout;
    int L, R, T, B, CaptionY;
  };
  const Expect Table[] = {{vxl_X1Bottom_Y2Left, 100, 20, 24, 40, -16}, {vxl_X1Bottom_Y3Left, 150, 20, 24, 40, -16},
                          {vxl_X1Bottom_Y4Left, 200, 20, 24, 40, -16}, {vxl_X1Bottom_Y2Both, 50, 50, 24, 40, -20},
                          {vxl_X2Bottom_Y2Left, 100, 20, 24, 70, -16}, {vxl_X2Both_Y2Both, 50, 50, 64, 40, -60},
                          {vxl_X1Bottom_Y1Left, 50, 20, 20, 40, -16}};
  TVexa Chart(nullptr);
  for (const Expect& E : Table) {
    Chart.SetStandardLayout(E.Layout);
    EXPECT_EQ(Chart.MarginLeft(), E.L) << E.Layout;
    EXPECT_EQ(Chart.MarginRight(), E.R) << E.Layout;
    EXPECT_EQ(Chart.MarginTop(), E.T) << E.Layout;
    EXPECT_EQ(Chart.MarginBottom(), E.B) << E.Layout;
    EXPECT_EQ(Chart.CaptionPosY(), E.CaptionY) << E.Layout;
    EXPECT_EQ(Chart.StandardLayout(), vxl_X1Bottom_Y1Left);
  }
  Chart.SetStandardLayout(vxl_X2Both_Y2Both);
  EXPECT_TRUE(Chart.Scale2X().Visible());
  EXPECT_EQ(Chart.Scale2X().ScaleLocation(), slTop);
  EXPECT_EQ(Chart.Scale2X().ScaleType(), sctXB);
  EXPECT_EQ(Chart.Scale2Y().ScaleLocation(), slRight);
  EXPECT_EQ(Chart.ScaleControlY(2).ScaleType(), sctYL);
  EXPECT_FALSE(Chart.Scale3Y().Visible());
  EXPECT_EQ(Chart.CaptionAnchorHoriz(), cahChartCenter);
  Chart.SetStandardLayout(vxl_X1Bottom_Y4Left);
  EXPECT_EQ(Chart.Scale4Y().ScalePos(), 150);
  EXPECT_TRUE(Chart.Scale4Y().Visible());
  EXPECT_FALSE(Chart.Scale2X().Visible());
}

TEST(VexaItems, MarksCaptureTheDrawingAttributes) {
  TVexa Chart(nullptr);
  Chart.SetDataColor(clNavy);
  Chart.SetClassDefault(4);
  Chart.SetPenStyle(psDot);
  Chart.SetLineWidth(3);
  Chart.AddMark(1.5, -2.5, 10);
  Chart.SetCurrentLayer(3);
  Chart.AddMarkInt(7, 8, 25);
  ASSERT_EQ(Chart.ItemCount(), 2);
  const TvxChartItem A = Chart.GetItem(0);
  EXPECT_EQ(A.Kind, ckMark);
  EXPECT_EQ(A.X, 1.5);
  EXPECT_EQ(A.Y, -2.5);
  EXPECT_EQ(A.Color, clNavy);
  EXPECT_EQ(A.ItemClass, 4);
  EXPECT_EQ(A.PenStyle, psDot);
  EXPECT_EQ(A.LineWidth, 3);
  EXPECT_EQ(A.MarkType, 10);
  EXPECT_EQ(A.Layer, 1);
  EXPECT_EQ(A.CoordMode, cmWorld);
  EXPECT_EQ(Chart.GetItem(1).Layer, 3);
  EXPECT_EQ(Chart.GetItem(1).X, 7.0);
  EXPECT_EQ(Chart.GetItem(1).CoordMode, cmWorld);  // integers are world coordinates in the data store
  EXPECT_EQ(Chart.KindCount(ckMark), 2);
  // In annotation mode the integers are pixels and the data store is untouched.
  Chart.SetAnnotationMode(true);
  Chart.AddMarkInt(5, 6, 1);
  EXPECT_EQ(Chart.ItemCount(), 2);
  ASSERT_EQ(Chart.AnnotationStore().Count(), 1);
  EXPECT_EQ(Chart.AnnotationStore().Item(0).CoordMode, cmPixel);
  EXPECT_EQ(Chart.KindCount(ckMark), 2);
}

TEST(VexaItems, GrowthRemovalAndClearing) {
  TVexa Chart(nullptr);
  for (int I = 0; I < 1001; ++I) Chart.AddMark(I, 0, 1);
  EXPECT_EQ(Chart.ItemCapacity(), 2000);
  EXPECT_EQ(Chart.GetItem(999).X, 999.0);
  Chart.ClearItems();
  EXPECT_EQ(Chart.ItemCount(), 0);
  EXPECT_EQ(Chart.ItemCapacity(), 0);
  EXPECT_EQ(Chart.KindCount(ckMark), 0);
  Chart.AddRect(0, 0, 1, 1);
  EXPECT_EQ(Chart.GetItem(0).FillColor, clSilver);
  Chart.RemoveLastItem();
  EXPECT_EQ(Chart.ItemCapacity(), 0);
  Chart.RemoveLastItem();  // on an empty store: no change
  EXPECT_EQ(Chart.ItemCount(), 0);
}

TEST(VexaItems, DrawingCommandsFillTheFieldsTheRendererReads) {
  TVexa Chart(nullptr);
  Chart.SetFillColor(clYellow);
  Chart.SetTextBkStyle(tbSolid);
  Chart.SetTextAlignment(taRightJustify);
  Chart.AddArrow2(0, 0, 1, 1, 8, true);
  Chart.AddRect3D(0, 0, 1, 1, fsRaised, clRed, clBlue);
  Chart.AddBar3D(0, 0, 1, 1, 135, 10);
  Chart.AddText(1, 2, "short", 12);
  Chart.AddTextOffs(1, 2, 3, -4, "a text longer than seventeen characters", 9);
  Chart.AddErrorBar(5, 6, -0.5, 0.7, 12, true);
  Chart.AddArc(0, 0, 1, 2, M_PI / 2, -M_PI);
  Chart.AddCross(3, 4, 0.5, 0.25);
  Chart.AddBox(1, 1, 4, 5, true);
  ASSERT_EQ(Chart.ItemCount(), 9);
  TvxChartItem I = Chart.GetItem(0);
  EXPECT_EQ(I.Kind, ckArrow2);
  EXPECT_EQ(I.Size1, 8);
  EXPECT_TRUE(I.Flag);
  EXPECT_EQ(I.FillColor, clYellow);
  I = Chart.GetItem(1);
  EXPECT_EQ(I.FrameStyle, fsRaised);
  EXPECT_EQ(I.Color2, clRed);
  EXPECT_EQ(I.Color3, clBlue);
  I = Chart.GetItem(2);
  EXPECT_EQ(I.Size1, 135);
  EXPECT_EQ(I.Size2, 10);
  I = Chart.GetItem(3);
  EXPECT_EQ(I.Kind, ckText);
  EXPECT_EQ(I.ShortText.Get(), "short");
  EXPECT_LT(I.LineWidth, 1);
  EXPECT_EQ(I.Size1, 12);
  EXPECT_EQ(I.Size2, 1);
  EXPECT_EQ(I.MarkType, 1);
  I = Chart.GetItem(4);
  EXPECT_EQ(I.Kind, ckTextOffs);
  EXPECT_EQ(I.LineWidth, 1);
  EXPECT_EQ(Chart.DataTexts()[1], "a text longer than seventeen characters");
  EXPECT_EQ(I.X2, 3.0);
  EXPECT_EQ(I.Y2, -4.0);
  I = Chart.GetItem(5);
  EXPECT_EQ(I.X2, 0.5);
  EXPECT_EQ(I.Y2, 0.7);
  EXPECT_EQ(I.Size1, 1);
  EXPECT_EQ(I.MarkType, 12);
  I = Chart.GetItem(6);
  EXPECT_EQ(I.Size1, 157079633);
  EXPECT_EQ(I.Size2, -314159265);
  EXPECT_EQ(Chart.GetItem(7).X2, 0.5);
  EXPECT_EQ(Chart.GetItem(8).Size2, 5);
  EXPECT_EQ(Chart.KindCount(ckText), 1);
  // The long-text table refuses a 51st entry without storing an item.
  for (int N = 2; N <= 50; ++N) Chart.AddText(0, 0, std::string(20, 'x'), 8);
  const int Count = Chart.ItemCount();
  EXPECT_THROW(Chart.AddText(0, 0, std::string(20, 'y'), 8), EZKWVexaError);
  EXPECT_EQ(Chart.ItemCount(), Count);
  Chart.AddText(0, 0, "still fits", 8);
  EXPECT_EQ(Chart.ItemCount(), Count + 1);
}

TEST(VexaSearch, FindsTheNearestMarkInTheCurrentLayer) {
  TVexa Chart(nullptr);
  Chart.SetBounds(8, 8, 505, 345);
  Chart.Scale1X().SetRangeLow(1000);
  Chart.Scale1X().SetRangeHigh(3300);
  Chart.Scale1Y().SetRangeLow(-2);
  Chart.Scale1Y().SetRangeHigh(3);
  for (int I = 1; I <= 100; ++I) Chart.AddMark(I * 15 + 1200, std::sin(I * 0.05L), 10);
  Chart.AddMarkInt(0, 0, 25);
  double D = 0;
  EXPECT_EQ(Chart.FindNearestItem(1, 255, 1215, std::sin(0.05), D), 0);
  EXPECT_EQ(D, 0.0);
  // The cursor mark on top of a data mark never wins over it.
  Chart.RemoveLastItem();
  Chart.AddMark(1230, std::sin(0.1L), 25);
  EXPECT_EQ(Chart.FindNearestItem(1, 255, 1230, std::sin(0.1), D), 1);
  EXPECT_EQ(Chart.FindNearestItem(0, 255, 1230, 0, D), -1);
  EXPECT_EQ(Chart.FindNearestItem(2, 255, 1230, 0, D), -1);
  // Hidden layers only drop out when asked to.
  Chart.SetLayerVisible(1, false);
  EXPECT_EQ(Chart.FindNearestItemEx(1, 255, 1230, 0, true, D), -1);
  EXPECT_NE(Chart.FindNearestItem(1, 255, 1230, 0, D), -1);
}

}  // namespace
}  // namespace zkw
