// Mouse tracking of the chart, driven through its message entry points: the
// in-chart event and its plot-area test, the order of one move's steps, the
// move guard, enter and leave, the pointer shapes and the mouse trace.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/cursors.h"
#include "app/frmmain.h"
#include "chart/mouse_cursors.h"

namespace zkw {
namespace {

struct TInChartRecord {
  bool InChart;
  TShiftState Shift;
  double X;
  double Y;
};

// The demo's chart as its form description builds it: 505 by 345 pixels,
// margins 50, 20, 20, 40, no shadow, x 1000..3300, y -2..3. The form is not
// shown, so no activation runs and the store stays empty.
class DemoChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm1>(nullptr);
    Chart = Form->VX1;
    Chart->HandleNeeded();
    Chart->OnMouseMoveInChart = [this](TObject* Sender, bool InChart, TShiftState Shift, double X, double Y) {
      EXPECT_EQ(Sender, Chart);
      Events.push_back({InChart, Shift, X, Y});
    };
  }
  const TInChartRecord& MoveTo(int X, int Y, TShiftState Shift = {}) {
    Chart->WMMouseMove(Shift, static_cast<std::int16_t>(X), static_cast<std::int16_t>(Y));
    if (Events.empty()) throw std::runtime_error("no in-chart event");
    return Events.back();
  }

  std::unique_ptr<TForm1> Form;
  TVexa* Chart = nullptr;
  std::vector<TInChartRecord> Events;
};

TEST_F(DemoChartTest, PlotEdgesAreInsideAndOnePixelFurtherIsNot) {
  // Plot rectangle: x 50..485, y 20..305, all edges included.
  EXPECT_TRUE(MoveTo(50, 150).InChart);
  EXPECT_FALSE(MoveTo(49, 150).InChart);
  EXPECT_TRUE(MoveTo(485, 150).InChart);
  EXPECT_FALSE(MoveTo(486, 150).InChart);
  EXPECT_TRUE(MoveTo(200, 20).InChart);
  EXPECT_FALSE(MoveTo(200, 19).InChart);
  EXPECT_TRUE(MoveTo(200, 305).InChart);
  EXPECT_FALSE(MoveTo(200, 306).InChart);
  EXPECT_TRUE(MoveTo(50, 20).InChart);
  EXPECT_TRUE(MoveTo(485, 305).InChart);
  EXPECT_FALSE(MoveTo(-1, -1).InChart);
  EXPECT_TRUE(Chart->InPlotArea(485, 305));
  EXPECT_FALSE(Chart->InPlotArea(486, 306));
}

TEST_F(DemoChartTest, EveryPositionGetsWorldCoordinatesOfTheCurrentLayer) {
  const TInChartRecord Left = MoveTo(50, 20);
  EXPECT_DOUBLE_EQ(Left.X, 1000.0);
  EXPECT_DOUBLE_EQ(Left.Y, 3.0);
  const TInChartRecord Right = MoveTo(485, 305);
  EXPECT_DOUBLE_EQ(Right.X, 3300.0);
  EXPECT_DOUBLE_EQ(Right.Y, -2.0);

  // In the margins the layer's transform is extrapolated.
  const double PerPixelX = 2300.0 / 435.0;
  const double PerPixelY = 5.0 / 285.0;
  const TInChartRecord Margin = MoveTo(10, 330);
  EXPECT_FALSE(Margin.InChart);
  EXPECT_NEAR(Margin.X, 1000.0 - 40 * PerPixelX, 1e-9);
  EXPECT_NEAR(Margin.Y, -2.0 - 25 * PerPixelY, 1e-12);
  const TInChartRecord Outside = MoveTo(-300, -100);
  EXPECT_FALSE(Outside.InChart);
  EXPECT_NEAR(Outside.X, 1000.0 - 350 * PerPixelX, 1e-9);
  EXPECT_NEAR(Outside.Y, 3.0 + 120 * PerPixelY, 1e-12);

  // The event carries the message's shift state.
  const TShiftState Keys{ssShift, ssLeft};
  EXPECT_EQ(MoveTo(100, 100, Keys).Shift, Keys);
  EXPECT_EQ(Chart->LastPointerPos(), (TPoint{100, 100}));
}

TEST_F(DemoChartTest, StepsOfOneMoveRunInTheirOrder) {
  std::vector<std::string> Steps;
  Chart->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
    Steps.push_back("OnMouseMove " + std::to_string(X) + "," + std::to_string(Y));
    // The position is recorded before the host hears of the move.
    EXPECT_EQ(Chart->LastPointerPos(), (TPoint{X, Y}));
  };
  SetCursorHook([&](TCursor C) { Steps.push_back("cursor " + std::to_string(C)); });
  Chart->OnMouseMoveInChart = [&](TObject*, bool, TShiftState, double, double) { Steps.push_back("InChart"); };
  Chart->WMMouseMove(TShiftState{}, 120, 130);
  SetCursorHook(nullptr);
  const std::vector<std::string> Want = {"OnMouseMove 120,130", "cursor 0", "InChart"};
  EXPECT_EQ(Steps, Want);
}

TEST_F(DemoChartTest, AMoveArrivingWhileOneIsHandledIsDropped) {
  int Moves = 0;
  int InChart = 0;
  Chart->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++Moves; };
  Chart->OnMouseMoveInChart = [&](TObject*, bool, TShiftState, double, double) {
    ++InChart;
    // A host handler that lets messages through: the nested move is lost.
    if (InChart == 1) Chart->WMMouseMove(TShiftState{}, 300, 200);
  };
  Chart->WMMouseMove(TShiftState{}, 100, 100);
  EXPECT_EQ(Moves, 1);
  EXPECT_EQ(InChart, 1);
  EXPECT_EQ(Chart->LastPointerPos(), (TPoint{100, 100}));
  // Once the first move is done the guard is down again.
  Chart->WMMouseMove(TShiftState{}, 300, 200);
  EXPECT_EQ(Moves, 2);
  EXPECT_EQ(InChart, 2);
}

TEST_F(DemoChartTest, AFailingHandlerDoesNotLeaveTheGuardUp) {
  Chart->OnMouseMoveInChart = [](TObject*, bool, TShiftState, double, double) {
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Chart->WMMouseMove(TShiftState{}, 100, 100), std::runtime_error);
  int InChart = 0;
  Chart->OnMouseMoveInChart = [&](TObject*, bool, TShiftState, double, double) { ++InChart; };
  Chart->WMMouseMove(TShiftState{}, 101, 100);
  EXPECT_EQ(InChart, 1);
}

TEST_F(DemoChartTest, EnterAndLeaveAreReportedOnceAndKeepThePointerShape) {
  int Enters = 0;
  int Leaves = 0;
  Chart->OnMouseEnter = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Chart);
    ++Enters;
  };
  Chart->OnMouseLeave = [&](TObject*) { ++Leaves; };
  Screen().SetCursor(crHourGlass);
  Chart->CMMouseEnter();
  EXPECT_EQ(Enters, 1);
  EXPECT_EQ(Screen().Cursor(), crHourGlass);
  Chart->CMMouseLeave();
  EXPECT_EQ(Leaves, 1);
  EXPECT_EQ(Enters, 1);
  EXPECT_EQ(Screen().Cursor(), crHourGlass);
  Screen().SetCursor(crDefault);
}

// ---- pointer shapes ----------------------------------------------------------------------

TEST_F(DemoChartTest, FixedPointerShowsTheDefaultShapeEverywhere) {
  ASSERT_TRUE(Chart->MouseCursorFixed());
  Chart->SetMouseAction(maPan);
  Screen().SetCursor(crHourGlass);
  Chart->WMMouseMove(TShiftState{}, 200, 150);
  EXPECT_EQ(Screen().Cursor(), crDefault);
  Screen().SetCursor(crHourGlass);
  Chart->WMMouseMove(TShiftState{}, 10, 10);
  EXPECT_EQ(Screen().Cursor(), crDefault);
}

TEST_F(DemoChartTest, FreePointerFollowsTheMouseActionInsideThePlot) {
  Chart->SetMouseCursorFixed(false);
  struct TCase {
    TMouseActMode Action;
    TCursor Inside;
  };
  const TCase Cases[] = {
      {maNone, crCross},           {maPan, crPanHand},          {maPanHoriz, crPanHand},
      {maPanVert, crPanHand},      {maPanGrid, crPanHand},      {maZoomWind, crZoomWindow},
      {maZoomWindPos, crZoomWindowPos}, {maZoomDrag, crZoomDrag}, {maRubberBand, crDefault},
      {maDragCrossH, crDefault},   {maDragLabel, crDefault},    {maSelectRect, crDefault},
  };
  for (const TCase& C : Cases) {
    Chart->SetMouseAction(C.Action);
    Screen().SetCursor(crHourGlass);
    Chart->WMMouseMove(TShiftState{}, 485, 305);
    EXPECT_EQ(Screen().Cursor(), C.Inside) << MouseActModeNames[C.Action];
    // In the margins: the default shape, whatever the action.
    Chart->WMMouseMove(TShiftState{}, 486, 305);
    EXPECT_EQ(Screen().Cursor(), crDefault) << MouseActModeNames[C.Action];
  }
  // These actions leave the shape inside the plot as it was.
  for (TMouseActMode A : {maZoom, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly, maDrawMTrace, maZoomPanColors}) {
    Chart->SetMouseAction(A);
    Screen().SetCursor(crHourGlass);
    Chart->WMMouseMove(TShiftState{}, 200, 150);
    EXPECT_EQ(Screen().Cursor(), crHourGlass) << MouseActModeNames[A];
  }
  Screen().SetCursor(crDefault);
}

TEST(AppCursors, FourMonochromeCursorsWithTheirHotSpotsReachTheScreenTable) {
  const char* const Names[] = {"CURHAND", "CURZOOMW", "CURZOOMD", "CURZOOMP"};
  const int Hot[4][2] = {{12, 3}, {7, 9}, {15, 15}, {7, 8}};
  for (int I = 0; I < AppCursorCount; ++I) {
    const TAppCursor& C = AppCursor(I);
    EXPECT_STREQ(C.Name, Names[I]);
    EXPECT_EQ(C.HotX, Hot[I][0]);
    EXPECT_EQ(C.HotY, Hot[I][1]);
    int Black = 0;
    for (int Y = 0; Y < 32; ++Y) {
      const std::string Row = C.Rows[Y];
      ASSERT_EQ(Row.size(), 32u) << C.Name << " row " << Y;
      EXPECT_EQ(Row.find_first_not_of("#-."), std::string::npos) << C.Name << " row " << Y;
      for (char Ch : Row) Black += Ch == '#';
    }
    EXPECT_GT(Black, 20) << C.Name;
    // The hot spot lies on the drawn picture, not on a transparent pixel.
    EXPECT_NE(C.Rows[C.HotY][C.HotX], '.') << C.Name;
  }
  // Built charts copy the four pictures into the screen's table as 1..4.
  TForm1 Form(nullptr);
  for (int I = 0; I < AppCursorCount; ++I) {
    const TCursorImage* Registered = Screen().Cursors(I + 1);
    ASSERT_NE(Registered, nullptr) << Names[I];
    const TAppCursor& C = AppCursor(I);
    EXPECT_EQ(*Registered, CursorFromRows(C.Rows, C.HotX, C.HotY)) << Names[I];
  }
}

TEST(AppCursors, RowsBecomeImageAndMaskPlanes) {
  const char* Rows[32] = {"#-.", "..#"};
  const TCursorImage C = CursorFromRows(Rows, 40, -3);
  EXPECT_TRUE(C.Opaque(0, 0));
  EXPECT_TRUE(C.Pixel(0, 0));   // black
  EXPECT_TRUE(C.Opaque(1, 0));
  EXPECT_FALSE(C.Pixel(1, 0));  // white
  EXPECT_FALSE(C.Opaque(2, 0));
  EXPECT_TRUE(C.Pixel(2, 1));
  EXPECT_FALSE(C.Opaque(31, 31));  // rows left out are transparent
  EXPECT_EQ(C.Image[0], 0x80000000u);
  EXPECT_EQ(C.Mask[0], 0xC0000000u);
}

// ---- the mouse trace -----------------------------------------------------------------------

class MouseTraceTest : public DemoChartTest {
 protected:
  void SetUp() override {
    DemoChartTest::SetUp();
    Chart->SetMouseAction(maDrawMTrace);
    // A known ground to draw on.
    TCanvas& C = Chart->Canvas();
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(clNavy);
    C.FillRect(Chart->ClientRect());
  }
  void Drag(int X, int Y) { Chart->WMMouseMove(TShiftState{ssLeft}, static_cast<std::int16_t>(X), static_cast<std::int16_t>(Y)); }
  void Release(int X, int Y) { Chart->WMButtonUp(mbLeft, TShiftState{}, static_cast<std::int16_t>(X), static_cast<std::int16_t>(Y)); }
  TColor At(int X, int Y) { return Chart->Canvas().Pixels(X, Y); }
};

TEST_F(MouseTraceTest, PointsAreRecordedOnlyWhileTheLeftButtonIsHeld) {
  Chart->WMMouseMove(TShiftState{}, 100, 100);
  Chart->WMMouseMove(TShiftState{ssRight}, 110, 100);
  EXPECT_EQ(Chart->MouseTraceCount(), 0);
  Drag(100, 100);
  Drag(-50, 400);  // clamped into the plot area: (50, 305)
  ASSERT_EQ(Chart->MouseTraceCount(), 2);
  const TMouseTracePoint& P0 = Chart->MouseTracePoint(0);
  EXPECT_NEAR(P0.X, 1000.0 + 50 * 2300.0 / 435.0, 1e-9);
  EXPECT_NEAR(P0.Y, 3.0 - 80 * 5.0 / 285.0, 1e-12);
  EXPECT_EQ(P0.Color, clWhite);
  EXPECT_EQ(P0.Flags, mtfInvert);
  const TMouseTracePoint& P1 = Chart->MouseTracePoint(1);
  EXPECT_DOUBLE_EQ(P1.X, 1000.0);
  EXPECT_DOUBLE_EQ(P1.Y, -2.0);
  // Other actions record nothing.
  Chart->SetMouseAction(maNone);
  Drag(200, 200);
  EXPECT_EQ(Chart->MouseTraceCount(), 2);
}

TEST_F(MouseTraceTest, SegmentsAreInvertedOnTheWindowAndInvertingTwiceRestores) {
  Drag(100, 100);
  EXPECT_EQ(At(100, 100), clNavy);  // a single point draws nothing
  Drag(140, 100);
  // White exclusive-or on navy gives the inverse of navy; the end pixel is excluded.
  const TColor Inverted = clNavy ^ 0xFFFFFF;
  EXPECT_EQ(At(100, 100), Inverted);
  EXPECT_EQ(At(139, 100), Inverted);
  EXPECT_EQ(At(140, 100), clNavy);
  EXPECT_EQ(At(120, 101), clNavy);
  // Going back over the same segment inverts it again.
  Drag(100, 100);
  EXPECT_EQ(At(120, 100), clNavy);

  // Without inversion the trace colour is painted.
  Chart->SetMouseTraceInvert(false);
  Chart->SetMouseTraceColor(clYellow);
  Drag(100, 150);
  EXPECT_EQ(At(100, 120), clYellow);
  EXPECT_EQ(Chart->MouseTracePoint(3).Flags, 0);
  EXPECT_EQ(Chart->MouseTracePoint(3).Color, clYellow);
  EXPECT_EQ(Chart->Canvas().Pen().Mode(), pmCopy);
}

TEST_F(MouseTraceTest, AReleaseEndsTheStrokeAndTheNextOneIsNotJoined) {
  Chart->SetMouseTraceInvert(false);
  Drag(100, 100);
  Drag(100, 140);
  Release(100, 140);
  ASSERT_EQ(Chart->MouseTraceCount(), 2);
  EXPECT_EQ(Chart->MouseTracePoint(1).Flags & mtfStrokeEnd, mtfStrokeEnd);
  EXPECT_EQ(Chart->MouseTracePoint(0).Flags & mtfStrokeEnd, 0);
  // The second stroke starts at (300, 100): nothing between the strokes.
  Drag(300, 100);
  for (int X = 101; X < 300; ++X) ASSERT_EQ(At(X, 120), clNavy) << X;
  EXPECT_EQ(At(300, 100), clNavy);
  Drag(300, 140);
  EXPECT_EQ(At(300, 120), clWhite);
  EXPECT_EQ(Chart->MouseTraceCount(), 4);
  // A release in another action leaves the trace alone.
  Chart->SetMouseAction(maNone);
  Release(300, 140);
  EXPECT_EQ(Chart->MouseTracePoint(3).Flags & mtfStrokeEnd, 0);
}

TEST_F(MouseTraceTest, TheTraceHoldsAtMost5000Points) {
  Chart->SetMouseTraceInvert(false);
  for (int I = 0; I < 5000; ++I) Drag(60 + I % 400, 30 + (I / 400) * 2);
  ASSERT_EQ(Chart->MouseTraceCount(), 5000);
  const TMouseTracePoint Last = Chart->MouseTracePoint(4999);
  // The 5001st point is dropped and draws nothing.
  Chart->SetMouseTraceColor(clRed);
  Drag(300, 300);
  EXPECT_EQ(Chart->MouseTraceCount(), 5000);
  EXPECT_EQ(Chart->MouseTracePoint(4999).X, Last.X);
  EXPECT_EQ(Chart->MouseTracePoint(4999).Y, Last.Y);
  int Red = 0;
  for (int Y = 60; Y <= 305; ++Y)
    for (int X = 50; X <= 485; ++X) Red += At(X, Y) == clRed;
  EXPECT_EQ(Red, 0);
  // The moves themselves still report where the pointer is.
  EXPECT_FALSE(Events.empty());
  EXPECT_EQ(Chart->LastPointerPos(), (TPoint{300, 300}));
}

}  // namespace
}  // namespace zkw
