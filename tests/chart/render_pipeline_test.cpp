// The paint pipeline on real charts: what a paint and a redraw put on the
// window, the outer area (caption, shadow), the plot background, crosshairs,
// the mouse trace, the render events, pictures out, and complete charts
// written to the test output folder for a look.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "chart/vexa_paint.h"
#include "platform/devices.h"
#include "platform/rtl.h"
#include "render_support.h"

namespace zkw {
namespace {

// A chart whose paint hooks run the pipeline, and which can record a mouse trace.
class TRenderedVexa : public TVexa {
 public:
  using TVexa::TVexa;
  void AddTracePoint(double X, double Y, std::uint16_t Flags, TColor Color) {
    if (static_cast<int>(FMouseTrace.size()) <= FMouseTraceCount) FMouseTrace.resize(FMouseTraceCount + 1);
    FMouseTrace[static_cast<std::size_t>(FMouseTraceCount++)] = {X, Y, Flags, Color};
  }
};

std::string OutputPath(const std::string& Name) {
  std::filesystem::create_directories(ZKW_TEST_OUTPUT_DIR);
  return std::string(ZKW_TEST_OUTPUT_DIR) + "/" + Name;
}

// A shown chart of the given size with the standard margins (50, 20, 20,
// 40) and its scales hidden, so that only the parts under test draw ink.
std::unique_ptr<TRenderedVexa> MakeChart(int W = 200, int H = 150) {
  auto C = std::make_unique<TRenderedVexa>(nullptr);
  C->SetBounds(0, 0, W, H);
  C->Scale1X().SetVisible(false);
  C->Scale1Y().SetVisible(false);
  C->HandleNeeded();
  return C;
}

// The demo's chart with its stored values and the data of its first activation.
std::unique_ptr<TRenderedVexa> MakeDemoChart() {
  auto C = std::make_unique<TRenderedVexa>(nullptr);
  C->SetBounds(8, 8, 505, 345);
  TFont F;
  F.SetName("MS Sans Serif");
  F.SetHeight(-13);
  C->SetFont(F);
  C->SetShadowColor(clGray);
  C->SetShadowBakColor(clSilver);
  C->SetGridDx(1.0);
  C->SetGridDy(1.0);
  C->SetFillColor(clWhite);
  C->Scale1X().SetRangeLow(1000.0);
  C->Scale1X().SetRangeHigh(3300.0);
  C->Scale1Y().SetRangeLow(-2.0);
  C->Scale1Y().SetRangeHigh(3.0);
  for (TScaleProps* P : {static_cast<TScaleProps*>(&C->Scale1X()), static_cast<TScaleProps*>(&C->Scale1Y()),
                         static_cast<TScaleProps*>(&C->Scale2X()), static_cast<TScaleProps*>(&C->Scale2Y())})
    P->SetFont(F);
  for (int I = 1; I <= 4; ++I) {
    C->CrossHair(I).SetColor(clBlack);
    C->CrossHair(I).SetLineType(psSolid);
  }
  C->HandleNeeded();
  C->ClearItems();
  C->SetDataColor(0x800000);
  SetRandSeed(0);
  for (int I = 1; I <= 100; ++I) {
    const double X = I * 15 + 1200;
    const double Y = static_cast<double>(std::sin(static_cast<Extended>(I) * 0.05L)) + Random();
    C->AddMark(X, Y, 10);
  }
  C->SetDataColor(255);
  C->AddMarkInt(0, 0, 25);
  C->Redraw();
  return C;
}

TColor Window(TRenderedVexa& C, int X, int Y) { return C.WindowSurface().Canvas().Pixels(X, Y); }

using render_test::CountColour;

// Bounding box of the pixels in R that differ from Background.
TRect InkExtent(TBitmap& B, TColor Background, TRect R) { return render_test::ExtentOf(B, Background, false, R); }

const TColor BtnFace = ColorToRGB(clBtnFace);

// ---- the demo chart ----------------------------------------------------------------------------

TEST(PaintDemo, MarksAreNavySquaresAndTheCursorStartsOutOfRange) {
  auto C = MakeDemoChart();
  C->Repaint();
  TBitmap& S = C->WindowSurface();
  int PX, PY;
  const TvxChartItem First = C->GetItem(0);
  C->WorldToPixel(1, First.X, First.Y, PX, PY);
  EXPECT_EQ(Window(*C, PX - 1, PY - 1), clNavy);
  EXPECT_EQ(Window(*C, PX + 1, PY + 1), clNavy);
  EXPECT_EQ(Window(*C, PX, PY), clWhite);
  EXPECT_GE(CountColour(S, clNavy), 100 * 8 - 40);  // a few squares overlap
  EXPECT_EQ(CountColour(S, clRed), 0);              // the cursor at (0, 0) lies left of x 1000
  // Plot frame in black at the plot rectangle, window colour around it.
  EXPECT_EQ(Window(*C, 50, 100), clBlack);
  EXPECT_EQ(Window(*C, 485, 100), clBlack);
  EXPECT_EQ(Window(*C, 200, 305), clBlack);
  EXPECT_EQ(Window(*C, 20, 5), BtnFace);
  // Tick labels below the plot.
  EXPECT_GT(InkExtent(S, BtnFace, {50, 310, 485, 345}).Left, 0);
  S.SaveToFile(OutputPath("render_demo_chart.png"));
}

TEST(PaintDemo, RedrawMovesTheCursorOntoAMark) {
  auto C = MakeDemoChart();
  C->Repaint();
  const TvxChartItem Target = C->GetItem(40);
  C->RemoveLastItem();
  C->AddMark(Target.X, Target.Y, 25);
  C->Redraw();
  int PX, PY;
  C->WorldToPixel(1, Target.X, Target.Y, PX, PY);
  EXPECT_EQ(Window(*C, PX, PY), clRed);
  EXPECT_EQ(Window(*C, PX + 3, PY + 3), clRed);
  C->WindowSurface().SaveToFile(OutputPath("render_demo_cursor.png"));
}

// A chart resized after its last paint (or never painted) and then only
// redrawn shows its data at the new size, as the next paint would.
TEST(PaintDemo, RedrawAfterAResizeDrawsAtTheNewSize) {
  auto C = MakeChart(200, 150);
  C->SetDataColor(clNavy);
  for (int K = 0; K <= 20; ++K) C->AddMark(0.05 * K, 0.05 * K, 10);
  C->Repaint();
  C->SetBounds(0, 0, 420, 330);
  C->Redraw();
  const TPlotGeometry G = C->Geometry();
  ASSERT_EQ(C->DataImage().Width(), G.DataImageWidth());
  ASSERT_EQ(C->DataImage().Height(), G.DataImageHeight());
  int PX, PY;
  C->WorldToPixel(1, 0.5, 0.5, PX, PY);  // the middle mark, where the new plot has it
  EXPECT_EQ(Window(*C, PX - 1, PY), clNavy);
  const QImage Redrawn = C->DataImage().Image().copy();
  C->Repaint();
  EXPECT_TRUE(Redrawn == C->DataImage().Image());
}

// ---- outer area ----------------------------------------------------------------------------------

TEST(PaintOuterArea, LongCaptionIsShortenedToThePlotWidth) {
  auto C = MakeChart(260, 150);  // plot 260 - 50 - 20 = 190 wide
  const std::string Long = "A caption that is far too long for this small chart, really";
  C->SetCaption(Long);
  TBitmap Probe(10, 10);
  Probe.Canvas().SetFont(C->Font());
  const int TW = Probe.Canvas().TextWidth(Long);
  ASSERT_GT(TW, 190);
  const auto K = Round(static_cast<Extended>(Long.size()) * 190 / TW) - 2;
  const std::string Short = Long.substr(0, static_cast<std::size_t>(K)) + "...";
  const int SW = Probe.Canvas().TextWidth(Short);
  C->Repaint();
  const TRect Band{0, 0, 260, 20};
  const TRect Ink = InkExtent(C->WindowSurface(), BtnFace, Band);
  EXPECT_GE(Ink.Left, 240 - SW);  // right-justified at W - R - S = 240
  EXPECT_LT(Ink.Right, 240);
  EXPECT_LT(Ink.Left, 240 - SW + 4);

  C->SetCaptionTrim(0);  // never cut
  const TRect Full = InkExtent(C->WindowSurface(), BtnFace, Band);
  EXPECT_LT(Full.Left, 240 - 190);
}

TEST(PaintOuterArea, ShadowStylesAndNoShadow) {
  auto C = MakeChart(200, 150);
  C->Repaint();
  EXPECT_EQ(Window(*C, 0, 0), BtnFace);  // no shadow, no body outline
  C->SetShadowColor(clGreen);
  C->SetShadowBakColor(clYellow);
  C->SetShadowWidth(5);
  EXPECT_EQ(Window(*C, 0, 0), clBlack);     // body outline
  EXPECT_EQ(Window(*C, 197, 1), clYellow);  // corner beside the right band
  EXPECT_EQ(Window(*C, 1, 147), clYellow);
  EXPECT_EQ(Window(*C, 100, 148), clGreen);  // bottom band
  EXPECT_EQ(Window(*C, 198, 100), clGreen);  // right band
  C->SetShadowStyle(ssBox);
  EXPECT_EQ(Window(*C, 100, 149), clBlack);  // the box's bevel edge is outlined
  EXPECT_EQ(Window(*C, 100, 147), clGreen);
}

TEST(PaintOuterArea, ScalesRenderedEventAndLogarithmicErrorKeepsTheWindow) {
  auto C = MakeChart(200, 150);
  int Calls = 0;
  C->OnScalesRendered = [&](TObject* Sender, TCanvas& Canvas, int Top, int Left) {
    ++Calls;
    EXPECT_EQ(Sender, C.get());
    EXPECT_EQ(&Canvas, &C->ControlImage().Canvas());
    EXPECT_EQ(Top, 0);
    EXPECT_EQ(Left, 0);
    Canvas.SetPixels(1, 1, clFuchsia);
  };
  C->Repaint();
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Window(*C, 1, 1), clFuchsia);

  // A range the transform cannot map, as a form being read may leave it
  // until its loading ends (the chart refuses it at once otherwise).
  C->Scale1X().SetRangeLow(-5.0);
  C->SetLoading(true);
  C->Scale1X().SetLogarithmic(true);
  C->SetLoading(false);
  ASSERT_TRUE(C->Scale1X().Logarithmic());
  C->WindowSurface().Canvas().SetPixels(100, 60, clAqua);
  EXPECT_NO_THROW(C->Repaint());
  EXPECT_EQ(Window(*C, 100, 60), clAqua);
  EXPECT_THROW(ChartRenderer(*C).PaintControlImage(), EZKWVexaError);
}

// ---- plot background --------------------------------------------------------------------------------

TEST(PaintBackground, MissingPictureLeavesThePlainColourAndForgetsTheName) {
  auto C = MakeChart(200, 150);
  C->SetChartColor(clYellow);
  C->BackGroundImg().SetIncludePath(true);
  C->BackGroundImg().SetName(OutputPath("no_such_picture.png"));
  C->Repaint();
  EXPECT_EQ(Window(*C, 100, 60), clYellow);
  EXPECT_TRUE(C->BackGroundImg().Name().empty());
}

TEST(PaintBackground, PictureModesPlaceThePictureFromTheImageCorner) {
  const std::string File = OutputPath("render_tile.png");
  {
    TBitmap P(4, 3);
    P.Canvas().Brush().SetColor(clBlue);
    P.Canvas().FillRect({0, 0, 4, 3});
    P.Canvas().SetPixels(1, 1, clRed);
    P.SaveToFile(File);
  }
  auto C = MakeChart(200, 150);
  C->SetChartColor(clYellow);
  C->BackGroundImg().SetIncludePath(true);
  C->BackGroundImg().SetName(File);
  C->BackGroundImg().SetFillMode(bfTile);
  TBitmap& D = C->DataImage();
  EXPECT_EQ(D.Canvas().Pixels(5, 4), clRed);  // the tile repeats every 4 by 3 pixels
  EXPECT_EQ(D.Canvas().Pixels(9, 7), clRed);
  EXPECT_EQ(D.Canvas().Pixels(10, 7), clBlue);
  EXPECT_EQ(D.Canvas().Pixels(128, 88), clBlue);  // tiles reach the far corner
  EXPECT_EQ(D.Canvas().Pixels(129, 88), clRed);
  C->BackGroundImg().SetFillMode(bfSimple);
  EXPECT_EQ(D.Canvas().Pixels(1, 1), clRed);
  EXPECT_EQ(D.Canvas().Pixels(3, 2), clBlue);
  EXPECT_EQ(D.Canvas().Pixels(20, 20), clYellow);
  C->BackGroundImg().SetFillMode(bfStretch);
  EXPECT_EQ(D.Canvas().Pixels(45, 45), clRed);  // the red pixel now covers a quarter by a third
  EXPECT_EQ(D.Canvas().Pixels(10, 10), clBlue);
  EXPECT_EQ(D.Canvas().Pixels(100, 60), clBlue);
  EXPECT_EQ(C->BackGroundImg().Name(), File);  // a good picture keeps its name
}

TEST(PaintBackground, AreaModes) {
  auto C = MakeChart(150, 110);  // plot 80 x 50 at (50, 20)
  C->Scale1X().SetRangeLow(0);
  C->Scale1X().SetRangeHigh(80);
  C->Scale1Y().SetRangeLow(0);
  C->Scale1Y().SetRangeHigh(50);
  TBakGndImg& B = C->BackGroundImg();
  B.SetAreaColor(clLime);
  B.SetAreaLeft(20);
  B.SetAreaRight(40);
  B.SetAreaTop(30);  // world y 30 is image row 20
  B.SetAreaBottom(10);
  B.SetAreaMode(bamRect);
  TBitmap& D = C->DataImage();
  EXPECT_EQ(D.Canvas().Pixels(30, 30), clLime);
  EXPECT_EQ(D.Canvas().Pixels(20, 20), clLime);
  EXPECT_EQ(D.Canvas().Pixels(40, 30), clWhite);  // right and bottom edges exclusive
  EXPECT_EQ(D.Canvas().Pixels(10, 30), clWhite);
  B.SetAreaMode(bamVStripeInv);
  EXPECT_EQ(D.Canvas().Pixels(10, 30), clLime);
  EXPECT_EQ(D.Canvas().Pixels(30, 5), clWhite);
  // The inverse rectangle of an area left of the range fills the whole plot.
  B.SetAreaLeft(-30);
  B.SetAreaRight(-10);
  B.SetAreaMode(bamRectInv);
  const int Frame = 2 * (D.Width() + D.Height()) - 4;  // the plot frame lies on top
  EXPECT_EQ(CountColour(D, clLime), D.Width() * D.Height() - Frame);
}

// ---- data, events and redraw -------------------------------------------------------------------------

TEST(PaintData, EventsSeeTheMarginsAndColoursAreRestored) {
  auto C = MakeChart(200, 150);
  C->SetMarginLeft(40);
  C->SetMarginTop(25);
  std::vector<std::string> Order;
  C->OnBeforeRenderData = [&](TObject*, TCanvas& Canvas, int Top, int Left) {
    Order.push_back("before");
    EXPECT_EQ(Top, 25);
    EXPECT_EQ(Left, 40);
    Canvas.Pen().SetColor(clRed);
    Canvas.Brush().SetColor(clRed);
  };
  C->OnDataRendered = [&](TObject*, TCanvas& Canvas, int Top, int Left) {
    Order.push_back("after");
    // Drawn over the items but under the plot frame.
    Canvas.SetPixels(0, 50, clRed);
    Canvas.SetPixels(5, 50, clRed);
    EXPECT_EQ(Top, 25);
    EXPECT_EQ(Left, 40);
  };
  C->OnBeforeRenderChartItem = [&](TObject*, TvxChartItem& Item, int Index, bool IsAnnotation) {
    Order.push_back("item");
    EXPECT_EQ(Index, 0);
    EXPECT_FALSE(IsAnnotation);
    Item.Color = clBlue;  // changes this drawing only
  };
  C->SetDataColor(clGreen);
  C->AddLine(0, 0.5, 1, 0.5);
  Order.clear();
  C->Repaint();
  EXPECT_EQ(Order, (std::vector<std::string>{"before", "item", "after"}));
  TBitmap& D = C->DataImage();
  EXPECT_EQ(D.Canvas().Pixels(0, 50), clBlack);  // the frame came last
  EXPECT_EQ(D.Canvas().Pixels(5, 50), clRed);
  EXPECT_GT(CountColour(D, clBlue), 50);
  EXPECT_EQ(CountColour(D, clGreen), 0);
  EXPECT_EQ(C->GetItem(0).Color, clGreen);
}

TEST(PaintData, ItemHooksThatChangeNothingLeaveEveryPixelAsItWas) {
  // Items are drawn straight from the store without handlers and from copies
  // with them; both ways must give the same picture.
  auto C = MakeChart(240, 180);
  C->SetDataColor(clNavy);
  for (int I = 0; I < 60; ++I) C->AddMark(0.015 * I, 0.5 + 0.4 * std::sin(I * 0.3), static_cast<std::uint8_t>(I % 52));
  C->AddLine(0.1, 0.1, 0.9, 0.8);
  C->AddRect(0.2, 0.2, 0.4, 0.3, false);
  C->AddText(0.5, 0.5, "text", 8);
  C->Repaint();
  const QImage Plain = C->DataImage().Image().copy();
  int Seen = 0;
  C->OnBeforeRenderChartItem = [&](TObject*, TvxChartItem&, int, bool) { ++Seen; };
  C->OnBeforeRenderText = [&](TObject*, std::string&, int, bool) {};
  C->Repaint();
  EXPECT_EQ(Seen, 63);
  EXPECT_TRUE(C->DataImage().Image() == Plain);
}

TEST(PaintData, AHandlerThatAppendsItemsWhileTheyAreDrawnIsSafe) {
  auto C = MakeChart(200, 150);
  for (int I = 0; I < 5; ++I) C->AddMark(0.1 * I, 0.5, 10);
  C->SetAllocSize(1);  // every append reallocates the store
  int Added = 0;
  C->OnBeforeRenderChartItem = [&](TObject*, TvxChartItem&, int, bool) {
    if (Added < 20) {
      ++Added;
      C->AddMark(0.9, 0.9, 10);
    }
  };
  C->Repaint();
  EXPECT_EQ(Added, 20);
  EXPECT_EQ(C->DataStore().Count(), 25);
}

TEST(PaintData, RedrawKeepsCaptionAndScalesButDropsTheTrace) {
  auto C = MakeChart(200, 150);
  C->SetCaption("First");
  C->AddTracePoint(0.2, 0.2, 0, clRed);
  C->AddTracePoint(0.8, 0.8, 0, clRed);
  C->Repaint();
  EXPECT_GT(CountColour(C->WindowSurface(), clRed), 50);  // the trace after a paint
  const TRect Caption = InkExtent(C->WindowSurface(), BtnFace, {0, 0, 200, 20});
  ASSERT_GE(Caption.Left, 0);

  C->SetAutoRedraw(false);
  C->SetCaption("Second, much longer");  // no repaint without AutoRedraw
  C->SetAutoRedraw(true);
  C->WindowSurface().Canvas().SetPixels(5, 140, clAqua);
  C->Redraw();
  EXPECT_EQ(CountColour(C->WindowSurface(), clRed), 0);
  EXPECT_EQ(InkExtent(C->WindowSurface(), BtnFace, {0, 0, 200, 20}), Caption);
  EXPECT_EQ(Window(*C, 5, 140), clAqua);

  C->SetAutoRedraw(false);
  C->Redraw();  // a full paint
  EXPECT_NE(InkExtent(C->WindowSurface(), BtnFace, {0, 0, 200, 20}), Caption);
  EXPECT_EQ(Window(*C, 5, 140), BtnFace);

  C->SetDataColor(clRed);
  C->AddRect(0.1, 0.1, 0.9, 0.9);
  C->Repaint();
  EXPECT_GT(CountColour(C->DataImage(), clRed), 0);
  C->ClearItems();  // paints the empty background into the data image
  EXPECT_EQ(CountColour(C->DataImage(), clRed), 0);
}

TEST(PaintData, ItemsOfHiddenLayersStayOut) {
  auto C = MakeChart(200, 150);
  C->SetDataColor(clRed);
  C->SetCurrentLayer(2);
  C->AddRect(0.1, 0.1, 0.9, 0.9);
  C->SetCurrentLayer(1);
  C->SetLayerVisible(2, false);
  C->Repaint();
  EXPECT_EQ(CountColour(C->DataImage(), clRed), 0);
  C->SetLayerVisible(2, true);
  C->Repaint();
  EXPECT_GT(CountColour(C->DataImage(), clRed), 300);  // the outline
}

TEST(PaintData, AnnotationTextsLieOnTopOfTheOtherAnnotations) {
  auto C = MakeChart(200, 150);
  C->SetAnnotationMode(true);
  C->SetDataColor(clRed);
  C->AddText(0.5, 0.5, "Top", 12);  // first in the store...
  C->SetDataColor(clBlue);
  C->SetFillColor(clGreen);
  C->AddRect(0, 0, 1, 1);  // ...yet drawn before this rectangle's fill would hide it
  C->SetAnnotationMode(false);
  C->Repaint();
  EXPECT_GT(CountColour(C->DataImage(), clGreen), 5000);
  EXPECT_GT(CountColour(C->DataImage(), clRed), 10);
}

// ---- crosshairs ---------------------------------------------------------------------------------

TEST(PaintCrossHairs, PlotEdgeIsOutsideAndLowerNumbersLieOnTop) {
  auto C = MakeChart(200, 150);  // plot from x 50 to 180, y 20 to 110
  C->Scale1X().SetRangeLow(0);
  C->Scale1X().SetRangeHigh(130);
  C->Scale1Y().SetRangeLow(0);
  C->Scale1Y().SetRangeHigh(90);
  TCrossHair& V = C->CrossHair(1);
  V.SetColor(clRed);
  V.SetLineType(psSolid);
  V.SetMode(chVert);
  EXPECT_EQ(CountColour(C->WindowSurface(), clRed), 0);  // x = 50: on the edge
  V.SetPosX(1);
  EXPECT_EQ(Window(*C, 51, 21), clRed);
  EXPECT_EQ(Window(*C, 51, 109), clRed);
  EXPECT_EQ(Window(*C, 51, 110), clBlack);  // the frame, not the crosshair
  EXPECT_EQ(Window(*C, 51, 20), clBlack);

  TCrossHair& H2 = C->CrossHair(2);
  H2.SetLayer(1);
  H2.SetColor(clBlue);
  H2.SetLineType(psSolid);
  H2.SetPosY(45);
  H2.SetMode(chHoriz);
  EXPECT_EQ(Window(*C, 100, 65), clBlue);
  EXPECT_EQ(Window(*C, 51, 65), clRed);  // crosshair 1 over crosshair 2

  V.SetMode(chBox);
  V.SetPosX(65);
  V.SetPosY(45);
  EXPECT_EQ(Window(*C, 111, 61), clRed);
  EXPECT_EQ(Window(*C, 115, 65), clBlue);
  C->Redraw();  // crosshairs also come with a redraw
  EXPECT_EQ(Window(*C, 111, 61), clRed);
}

// A plot that reaches billions of pixels past the control (a huge negative
// far margin) puts a crosshair's box at the largest pixel: the box lies far
// off the window and draws nothing there, in either direction.
TEST(PaintCrossHairs, BoxesAtTheFarEndOfAHugePlotDrawNothing) {
  constexpr int Min = std::numeric_limits<int>::min();
  for (const bool Horizontal : {true, false}) {
    for (const TCrossHMode Mode : {chBox, chCrossBox}) {
      auto C = MakeChart(200, 150);
      if (Horizontal) {
        C->SetMarginRight(Min);
      } else {
        C->SetMarginBottom(Min);
      }
      TCrossHair& H = C->CrossHair(1);
      H.SetColor(clRed);
      H.SetLineType(psSolid);
      H.SetPosX(Horizontal ? 1e12 : 0.5);  // beyond the pixel range: clamped to the largest pixel
      H.SetPosY(Horizontal ? 0.5 : -1e12);
      H.SetMode(Mode);
      C->Repaint();
      EXPECT_EQ(CountColour(C->WindowSurface(), clRed), 0) << Horizontal << " " << Mode;
    }
  }
}

// ---- pictures out ------------------------------------------------------------------------------------

TEST(PicturesOut, PngOfTheChartAndAPrintedPageWithItsPixelGeometry) {
  auto C = MakeDemoChart();
  C->SetCaption("Printed");
  const std::string Png = OutputPath("render_demo_saved.png");
  std::filesystem::remove(Png);
  SaveChartToPng(*C, Png);
  TBitmap Back;
  Back.LoadFromFile(Png);
  EXPECT_EQ(Back.Width(), 505);
  EXPECT_EQ(Back.Height(), 345);
  EXPECT_GT(CountColour(Back, clNavy), 700);
  EXPECT_THROW(SaveChartToPng(*C, "/nonexistent-dir/x.png"), Exception);

  const std::string File = OutputPath("render_demo_page.png");
  PrintChart(*C, File);
  EXPECT_FALSE(Printer().Printing());
  TBitmap Page;
  Page.LoadFromFile(File);
  // An A4 page at the resolution that fits the chart inside 10 mm margins,
  // the chart in its middle; the printer keeps its own resolution.
  const int Dpi = PrintFitResolution(505, 345);
  EXPECT_EQ(Dpi, 68);  // 505 pixels over 190 mm
  EXPECT_EQ(Printer().XResolution(), 300);
  EXPECT_EQ(Page.Width(), 562);   // 210 mm at 68 dpi
  EXPECT_EQ(Page.Height(), 795);  // 297 mm
  const int OX = (562 - 505) / 2, OY = (795 - 345) / 2;
  EXPECT_EQ(CountColour(Page, clNavy, {OX, OY, OX + 505, OY + 345}), CountColour(C->ControlImage(), clNavy));
  EXPECT_EQ(CountColour(Page, clWhite, {0, 0, 562, OY}), 562 * OY);  // blank above the chart
  const TRect Ink = InkExtent(Page, clWhite, {0, 0, 562, 795});
  EXPECT_EQ(Ink.Left, OX);
  EXPECT_EQ(Ink.Top, OY);
  EXPECT_EQ(Ink.Right, OX + 504);
  EXPECT_EQ(Ink.Bottom, OY + 344);
  // The caption has the same pixel height on the page as on the screen.
  const TRect Screen = InkExtent(C->ControlImage(), BtnFace, {300, 0, 485, 19});
  const TRect Paper = InkExtent(Page, BtnFace, {OX + 300, OY, OX + 485, OY + 19});
  EXPECT_EQ(Screen.Bottom - Screen.Top, Paper.Bottom - Paper.Top);

  const std::string Pdf = OutputPath("render_demo_page.pdf");
  std::filesystem::remove(Pdf);
  PrintChart(*C, Pdf, true);
  EXPECT_GT(std::filesystem::file_size(Pdf), 1000u);

  PrintChart(*C, OutputPath("render_demo_mono.png"), true);
  TBitmap Mono;
  Mono.LoadFromFile(OutputPath("render_demo_mono.png"));
  EXPECT_EQ(CountColour(Mono, clNavy), 0);

  Printer().BeginDoc(OutputPath("busy.png"));  // a document already open
  EXPECT_THROW(PrintChart(*C, OutputPath("other.png")), Exception);
  Printer().EndDoc();
}

// A chart with items of every kind that fill (filled marks, rectangles, 3D
// shapes, boxes, ellipses, filled arrow heads, crosses) and the line kinds,
// without texts and without the marks that have printer variants (1..6, 18,
// 25), so that its page and its screen image must agree pixel for pixel.
std::unique_ptr<TRenderedVexa> MakeFilledKindsChart() {
  auto C = std::make_unique<TRenderedVexa>(nullptr);
  C->SetBounds(0, 0, 420, 320);
  C->SetCaption("Filled kinds");  // the caption leaves the page's brush clear
  C->Scale1X().SetRangeLow(0);
  C->Scale1X().SetRangeHigh(100);
  C->Scale1Y().SetRangeLow(0);
  C->Scale1Y().SetRangeHigh(100);
  C->HandleNeeded();
  C->SetDataColor(clNavy);
  C->SetFillColor(clAqua);
  // First, so that it fills with the brush style the pass starts with.
  C->AddRect3D(5, 70, 25, 55, fsRaised, clWhite, clGray);
  const std::uint8_t Filled[] = {7, 8, 9, 14, 15, 24, 26, 28, 29, 30, 34, 36, 41, 43, 45, 47};
  for (std::size_t I = 0; I < std::size(Filled); ++I)
    C->AddMark(5 + static_cast<double>(I) * 5.5, 92, Filled[I]);
  const std::uint8_t Hollow[] = {0, 10, 11, 12, 13, 16, 17, 19, 20, 23, 27, 33, 37, 39, 48, 50, 51};
  for (std::size_t I = 0; I < std::size(Hollow); ++I)
    C->AddMark(5 + static_cast<double>(I) * 5.5, 82, Hollow[I]);
  C->SetFillColor(clYellow);
  C->AddRect3D(30, 70, 45, 55, fsEmbossed, clWhite, clGray);
  C->AddBar3D(50, 55, 60, 70, 45, 10);
  C->AddRect(65, 70, 80, 55);
  C->SetFillColor(clLime);
  C->AddEllipse(90, 62, 6, 6);
  C->AddBox(10, 40, 8, 6);
  C->AddArrow2(25, 30, 45, 45, 10);
  C->AddCross(55, 40, 5, 5);
  C->AddErrorBar(70, 40, 4, 6, 9, false);
  C->AddLine(5, 20, 40, 10);
  C->AddMoveTo(50, 10);
  for (int I = 1; I <= 12; ++I) C->AddDrawTo(50 + 3 * I, 10 + 6 * std::sin(I * 0.7));
  C->AddLineOffs(5, 5, 40, 5, 0, 3);
  C->AddArc(90, 25, 6, 6, 0.3, 2.8);
  return C;
}

// The centre pixel of every filled mark of MakeFilledKindsChart, in control pixels.
std::vector<TPoint> FilledMarkCentres(TRenderedVexa& C) {
  std::vector<TPoint> P;
  for (int I = 1; I <= 16; ++I) {
    const TvxChartItem Item = C.GetItem(I);
    int X, Y;
    C.WorldToPixel(1, Item.X, Item.Y, X, Y);
    // Half-diamonds (29, 30) have no centre pixel of their own; take the one below.
    P.push_back({X, Item.MarkType == 29 || Item.MarkType == 30 ? Y + 1 : Y});
  }
  return P;
}

TEST(PicturesOut, PrintedItemsLookAsOnTheScreen) {
  auto C = MakeFilledKindsChart();
  C->Repaint();
  TBitmap& Screen = C->ControlImage();
  const std::string File = OutputPath("render_filled_kinds_page.png");
  PrintChart(*C, File);
  TBitmap Page;
  Page.LoadFromFile(File);
  // The chart keeps its pixel geometry and is centred on the page.
  const int OX = (Page.Width() - C->Width()) / 2, OY = (Page.Height() - C->Height()) / 2;

  for (const TPoint& P : FilledMarkCentres(*C)) {
    EXPECT_EQ(Screen.Canvas().Pixels(P.X, P.Y), clNavy) << P.X << "," << P.Y;
    EXPECT_EQ(Page.Canvas().Pixels(OX + P.X, OY + P.Y), clNavy) << P.X << "," << P.Y;
  }
  int X, Y;
  C->WorldToPixel(1, 15, 62, X, Y);  // inside the first 3D rectangle
  EXPECT_EQ(Page.Canvas().Pixels(OX + X, OY + Y), clAqua);
  C->WorldToPixel(1, 37, 62, X, Y);  // inside the second
  EXPECT_EQ(Page.Canvas().Pixels(OX + X, OY + Y), clYellow);

  // The whole plot area, pixel for pixel (the chart is printed 1:1).
  const int L = C->MarginLeft(), T = C->MarginTop();
  const TPlotGeometry G = C->Geometry();
  int Differ = 0;
  for (int PY = T; PY <= G.PlotBottom(); ++PY)
    for (int PX = L; PX <= G.PlotRight(); ++PX)
      Differ += Screen.Canvas().Pixels(PX, PY) != Page.Canvas().Pixels(OX + PX, OY + PY);
  EXPECT_EQ(Differ, 0);
}

TEST(PicturesOut, PrintedTextsAndCharacterMarksKeepTheirColours) {
  auto C = MakeChart(300, 200);
  C->SetCaption("Texts");
  C->Scale1X().SetRangeLow(0);
  C->Scale1X().SetRangeHigh(100);
  C->Scale1Y().SetRangeLow(0);
  C->Scale1Y().SetRangeHigh(100);
  C->SetDataColor(clRed);
  C->AddText(20, 70, "Red", 10);
  C->SetDataColor(clBlue);
  C->AddMark(50, 70, 'B');
  C->SetDataColor(clRed);
  C->AddText(80, 70, "Red", 10);
  C->SetDataColor(clGreen);
  C->AddMark(50, 30, 203);
  C->Repaint();
  const std::string File = OutputPath("render_texts_page.png");
  PrintChart(*C, File);
  TBitmap Page;
  Page.LoadFromFile(File);
  for (TBitmap* B : {&C->ControlImage(), &Page}) {
    // The page holds the chart centred.
    const int OX = B == &Page ? (Page.Width() - C->Width()) / 2 : 0;
    const int OY = B == &Page ? (Page.Height() - C->Height()) / 2 : 0;
    int X, Y;
    C->WorldToPixel(1, 80, 70, X, Y);
    X += OX;
    Y += OY;
    const TRect SecondText{X - 10, Y - 20, X + 40, Y + 20};
    EXPECT_GT(CountColour(*B, clRed, SecondText), 0);
    EXPECT_EQ(CountColour(*B, clBlue, SecondText), 0);
    C->WorldToPixel(1, 50, 70, X, Y);
    EXPECT_GT(CountColour(*B, clBlue, {OX + X - 15, OY + Y - 15, OX + X + 15, OY + Y + 15}), 0);
    C->WorldToPixel(1, 50, 30, X, Y);
    EXPECT_GT(CountColour(*B, clGreen, {OX + X - 15, OY + Y - 15, OX + X + 15, OY + Y + 15}), 0);
  }
}

// ---- extreme margins and scale offsets ---------------------------------------------------------------

// Margins and ScalePos accept every 32-bit value, and a form description may
// hold any of them. Painting, redrawing, resizing, the isometric rule, the
// crosshairs and the mouse must all stay defined (the sanitizer build reports
// any overflow on the way).
TEST(PaintExtremes, ExtremeMarginsAndScaleOffsetsPaintAndTrack) {
  constexpr int Min = std::numeric_limits<int>::min(), Max = std::numeric_limits<int>::max();
  struct TCase {
    int L, R, T, B, S, Pos;
  };
  const TCase Cases[] = {{Min, 10, 16, 32, 0, 0},     {Min, Min, Min, Min, 0, 0},   {Min, Min, Min, Min, 32, Max},
                         {50, Min, 16, Min, 32, -Max}, {Max, Max, Max, Max, 32, Max}, {50, 10, 16, 32, 32, Max},
                         {50, 10, 16, 32, 32, -Max},  {-2000, 10, -2000, 32, 5, Min}};
  for (const TCase& K : Cases) {
    auto C = MakeChart(280, 200);
    C->Scale1X().SetRangeLow(0);
    C->Scale1X().SetRangeHigh(1);
    C->Scale1Y().SetRangeLow(0);
    C->Scale1Y().SetRangeHigh(1);
    // One scale on every side of the plot.
    C->Scale1X().SetVisible(true);
    C->Scale1Y().SetVisible(true);
    C->Scale2X().SetScaleLocation(slTop);
    C->Scale2Y().SetScaleLocation(slRight);
    C->Scale2X().SetVisible(true);
    C->Scale2Y().SetVisible(true);
    for (TScaleProps* P : {static_cast<TScaleProps*>(&C->Scale1X()), static_cast<TScaleProps*>(&C->Scale1Y()),
                           static_cast<TScaleProps*>(&C->Scale2X()), static_cast<TScaleProps*>(&C->Scale2Y())})
      P->SetScalePos(K.Pos);
    C->SetCaption("Extreme");
    C->SetCaptionAnchorHoriz(cahChartCenter);
    C->SetCaptionAnchorVert(cavChartCenter);
    C->SetShadowWidth(K.S);
    C->SetMarginLeft(K.L);
    C->SetMarginRight(K.R);
    C->SetMarginTop(K.T);
    C->SetMarginBottom(K.B);
    C->SetGridStyle(gsLines);
    C->AddMark(0.5, 0.5, 9);
    C->AddRect(0.2, 0.8, 0.4, 0.6);
    C->AddVLine(0.3);
    C->AddHLine(0.3);
    C->TextLabel(1).SetCaption("label");
    C->TextLabel(1).SetPosX(0.5);
    C->TextLabel(1).SetPosY(0.5);
    C->TextLabel(1).SetVisible(true);
    C->TextLabel(1).SetMode(tlBox);
    C->CrossHair(1).SetMode(chBoth);
    C->CrossHair(1).SetPosX(0.5);
    C->CrossHair(1).SetPosY(0.5);
    C->Repaint();
    C->Redraw();
    C->SetIsometric(true);
    C->SetBounds(0, 0, 300, 220);
    EXPECT_LE(C->Width(), 4096);
    EXPECT_LE(C->Height(), 4096);
    C->Repaint();
    C->WMMouseMove({}, 100, 100);
    const TPlotGeometry G = C->Geometry();
    EXPECT_GE(G.DataImageWidth(), 0);
    EXPECT_LE(G.DataImageWidth(), C->Width() + RenderClamp + 1);
    EXPECT_EQ(C->DataImage().Width(), G.DataImageWidth());
    int PX, PY;
    C->WorldToPixel(1, 0, 0, PX, PY);
    EXPECT_EQ(PX, G.PlotWidth64() > 0 ? std::max(K.L, -2147483647) : C->Width() / 2) << K.L;
  }
}

// ---- complete charts to look at ----------------------------------------------------------------------

TEST(PaintGallery, EveryItemKind) {
  auto C = std::make_unique<TRenderedVexa>(nullptr);
  C->SetBounds(0, 0, 640, 480);
  C->SetCaption("Every item kind");
  C->Scale1X().SetRangeLow(0);
  C->Scale1X().SetRangeHigh(100);
  C->Scale1Y().SetRangeLow(0);
  C->Scale1Y().SetRangeHigh(100);
  C->SetGridStyle(gsDotLines);
  C->SetGridColor(clSilver);
  C->SetShadowWidth(6);
  C->HandleNeeded();
  C->SetDataColor(clNavy);
  C->SetFillColor(clAqua);
  for (int I = 0; I < 10; ++I) C->AddMark(5 + I * 2, 95, static_cast<std::uint8_t>(I * 5));
  C->AddLine(5, 88, 30, 80);
  C->AddMoveTo(35, 80);
  for (int I = 1; I <= 20; ++I) C->AddDrawTo(35 + I, 80 + 6 * std::sin(I * 0.6));
  C->AddMoveRel(10, 0);
  C->AddDrawRel(20, -20);
  C->AddRect(5, 70, 20, 60);
  // Three-dimensional kinds fill with the brush style the item before left.
  C->SetFillColor(clSilver);
  C->AddRect3D(45, 70, 60, 60, fsRaised, clWhite, clGray);
  C->SetFillColor(clYellow);
  C->AddBar3D(65, 60, 75, 72, 45, 12);
  C->AddBar3D(82, 60, 92, 72, 135, 12);
  C->AddRect(25, 70, 40, 60, true);
  C->SetDataColor(clMaroon);
  C->AddText(10, 52, "Short text", 9);
  C->SetTextAlignment(taLeftJustify);
  C->SetTextBkStyle(tbSolid);
  C->AddText(30, 52, "A long text\nover two lines", 9);
  C->AddTextOffs(60, 52, 10, 5, "offset", 8);
  C->SetFillColor(clLime);
  C->AddEllipse(15, 40, 8, 5);
  C->AddArrow(30, 35, 45, 45, 8);
  C->AddArrow2(50, 35, 50, 45, 6, true);
  C->AddBox(60, 40, 6, 4);
  C->AddErrorBar(70, 40, 3, 5, 12, false);
  C->AddErrorBar(80, 40, 3, 5, 9, true);
  C->AddLineOffs(5, 25, 25, 25, 0, 4);
  C->AddArc(40, 20, 8, 8, 0.3, 2.8);
  C->AddLineRel(55, 20, 30, -10);
  C->AddVLine(95);
  C->AddHLine(5);
  C->SetDataColor(clPurple);
  C->AddCross(75, 20, 4, 4);
  C->AddDrawTo(85, 25);
  TTextLabel& L = C->TextLabel(1);
  L.SetCaption("Label 1\nshadowed");
  L.SetMode(tlShadow);
  L.SetAttachToData(tlamBoth);
  L.SetPosX(80);
  L.SetPosY(10);
  L.SetVisible(true);
  C->CrossHair(1).SetMode(chCrossBox);
  C->CrossHair(1).SetPosX(50);
  C->CrossHair(1).SetPosY(50);
  C->Repaint();
  TBitmap S;
  S.Assign(C->WindowSurface());
  S.SaveToFile(OutputPath("render_every_kind.png"));
  // Each item shows its colour where its world coordinates put it.
  auto Near = [&](double X, double Y, TColor Colour, int Reach) {
    int PX = 0, PY = 0;
    C->WorldToPixel(1, X, Y, PX, PY);
    for (int DY = -Reach; DY <= Reach; ++DY) {
      for (int DX = -Reach; DX <= Reach; ++DX) {
        if (S.Canvas().Pixels(PX + DX, PY + DY) == Colour) return true;
      }
    }
    return false;
  };
  for (int I = 0; I < 10; ++I) EXPECT_TRUE(Near(5 + I * 2, 95, clNavy, 3)) << "mark " << I * 5;
  EXPECT_TRUE(Near(17.5, 84, clNavy, 1));            // the line, half-way
  EXPECT_TRUE(Near(12.5, 65, clAqua, 0));            // inside the filled rectangle
  EXPECT_FALSE(Near(32.5, 65, clAqua, 3));           // the transparent one is not filled
  EXPECT_TRUE(Near(52.5, 65, clSilver, 0));          // the raised 3-D rectangle
  EXPECT_TRUE(Near(70, 66, clYellow, 0));            // the front of a bar
  EXPECT_TRUE(Near(15, 40, clLime, 0));              // the ellipse's centre
  EXPECT_TRUE(Near(75, 20, clPurple, 0));            // the cross's centre
  EXPECT_TRUE(Near(95, 50, clMaroon, 0));            // the vertical line
  EXPECT_TRUE(Near(50, 5, clMaroon, 0));             // the horizontal line
  EXPECT_GT(CountColour(S, clMaroon), 20);
  // The crosshair's box: white outside, black inside.
  int CX = 0, CY = 0;
  C->WorldToPixel(1, 50, 50, CX, CY);
  EXPECT_EQ(S.Canvas().Pixels(CX - 3, CY - 3), clWhite);
  EXPECT_EQ(S.Canvas().Pixels(CX - 2, CY - 2), clBlack);
}

TEST(PaintGallery, DatesOnBothAxes) {
  auto C = std::make_unique<TRenderedVexa>(nullptr);
  C->SetBounds(0, 0, 640, 420);
  C->SetMarginLeft(90);
  C->SetMarginBottom(50);
  C->SetCaption("Dates on both axes");
  const double X0 = EncodeDate(2024, 1, 1), X1 = EncodeDate(2024, 4, 1);
  const double Y0 = EncodeDate(2019, 1, 1), Y1 = EncodeDate(2023, 1, 1);
  C->Scale1X().SetLabelType(ftDateTime);
  C->Scale1Y().SetLabelType(ftDateTime);
  C->Scale1X().SetRangeLow(X0);
  C->Scale1X().SetRangeHigh(X1);
  C->Scale1Y().SetRangeLow(Y0);
  C->Scale1Y().SetRangeHigh(Y1);
  C->SetGridStyle(gsDotLines);
  C->SetGridColor(clSilver);
  C->SetGridDx(0);
  C->SetGridDy(0);
  C->HandleNeeded();
  C->SetDataColor(clTeal);
  C->AddMoveTo(X0, Y0);
  for (int I = 0; I <= 90; ++I) C->AddDrawTo(X0 + I, Y0 + (Y1 - Y0) * (0.5 + 0.4 * std::sin(I / 9.0)));
  C->Repaint();
  C->WindowSurface().SaveToFile(OutputPath("render_dates.png"));
  EXPECT_GT(CountColour(C->WindowSurface(), clTeal), 100);
  EXPECT_GT(CountColour(C->WindowSurface(), clSilver), 100);  // grid at the ticks
}

}  // namespace
}  // namespace zkw
