// The chart's mouse actions driven through its message entry points: pans,
// zoom drags, zoom windows and their exclusive-or figures, rubber lines,
// rectangle selection, crosshair and label dragging, axis-scale drags, the
// double click on a scale, the two-corner marking, wheel zoom and stepping
// back through the range history.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"

namespace zkw {
namespace {

constexpr TShiftState Left{ssLeft};
constexpr TShiftState NoKeys{};

// A shown chart shaped like the demo's: 505 by 345, margins 50, 20, 20, 40,
// no shadow, so the plot is x 50..485 (435 pixels) and y 20..305 (285
// pixels); layer 1 shows x 1000..3300 and y -2..3.
class MouseActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = std::make_unique<TVexa>(nullptr);
    Chart->SetBounds(0, 0, 505, 345);
    Chart->SetRange(1, false, false, 1000, -2, 3300, 3);
    Chart->ResetRangeHistory();
    Chart->HandleNeeded();
    Chart->Repaint();
    Chart->OnZoomPan = [this](TObject* Sender) {
      EXPECT_EQ(Sender, Chart.get());
      ++ZoomPans;
    };
  }

  void Move(int X, int Y, TShiftState S = Left) {
    Chart->WMMouseMove(S, static_cast<std::int16_t>(X), static_cast<std::int16_t>(Y));
  }
  void Down(int X, int Y, TMouseButton B = mbLeft) {
    Chart->WMButtonDown(B, TShiftState{B == mbLeft ? ssLeft : ssRight}, static_cast<std::int16_t>(X),
                        static_cast<std::int16_t>(Y));
  }
  void Up(int X, int Y, TMouseButton B = mbLeft) {
    Chart->WMButtonUp(B, NoKeys, static_cast<std::int16_t>(X), static_cast<std::int16_t>(Y));
  }
  // Press, first move (takes the start state), drag to (X1, Y1), release.
  void Drag(int X0, int Y0, int X1, int Y1, bool Release = true) {
    Down(X0, Y0);
    Move(X0, Y0);
    Move(X1, Y1);
    if (Release) Up(X1, Y1);
  }

  double XLow(int L = 1) const { return Chart->ScalePropsX(L).RangeLow(); }
  double XHigh(int L = 1) const { return Chart->ScalePropsX(L).RangeHigh(); }
  double YLow(int L = 1) const { return Chart->ScalePropsY(L).RangeLow(); }
  double YHigh(int L = 1) const { return Chart->ScalePropsY(L).RangeHigh(); }

  QImage Surface() { return Chart->WindowSurface().Image().copy(); }
  // The window as a fresh paint leaves it.
  QImage FreshPaint() {
    Chart->Repaint();
    return Surface();
  }

  std::unique_ptr<TVexa> Chart;
  int ZoomPans = 0;
};

// The smallest rectangle holding every pixel in which two pictures differ
// (Right and Bottom inclusive); Left = -1 when they are equal.
TRect DiffBox(const QImage& A, const QImage& B) {
  TRect Box{-1, -1, -1, -1};
  for (int Y = 0; Y < A.height(); ++Y)
    for (int X = 0; X < A.width(); ++X)
      if (A.pixel(X, Y) != B.pixel(X, Y)) {
        if (Box.Left < 0) Box = {X, Y, X, Y};
        Box.Left = std::min(Box.Left, X);
        Box.Top = std::min(Box.Top, Y);
        Box.Right = std::max(Box.Right, X);
        Box.Bottom = std::max(Box.Bottom, Y);
      }
  return Box;
}

// ---- pans ----------------------------------------------------------------------------------

TEST_F(MouseActionsTest, PanMovesTheRangesWithThePointerAndRecordsThemOnRelease) {
  Chart->SetMouseAction(maPan);
  const int Position = Chart->RangeHistory().Position();
  Drag(200, 150, 287, 150, false);
  // 87 of 435 pixels over 2300 units: the data follow the pointer right.
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_DOUBLE_EQ(XHigh(), 2840);
  EXPECT_DOUBLE_EQ(YLow(), -2);
  EXPECT_DOUBLE_EQ(YHigh(), 3);
  EXPECT_EQ(ZoomPans, 1);
  EXPECT_EQ(Chart->RangeHistory().Position(), Position);
  // Further moves are measured from the start, not from the last move: 57
  // of 285 pixels down moves y by 1.
  Move(287, 207);
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_NEAR(YLow(), -1, 1e-12);
  EXPECT_NEAR(YHigh(), 4, 1e-12);
  Up(287, 207);
  EXPECT_EQ(Chart->RangeHistory().Position(), Position + 1);
  // Without the left button nothing moves.
  Move(100, 100, NoKeys);
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_FALSE(Chart->MouseDragging());
}

TEST_F(MouseActionsTest, PanHorizAndPanVertKeepTheOtherAxis) {
  Chart->SetMouseAction(maPanHoriz);
  Drag(200, 150, 287, 207);
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_DOUBLE_EQ(YLow(), -2);
  EXPECT_DOUBLE_EQ(YHigh(), 3);
  Chart->SetMouseAction(maPanVert);
  Drag(200, 150, 287, 207);
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_DOUBLE_EQ(XHigh(), 2840);
  EXPECT_NEAR(YLow(), -1, 1e-12);
  EXPECT_EQ(ZoomPans, 2);
}

TEST_F(MouseActionsTest, PanGridSnapsTheLowEndTowardsZeroAndKeepsTheWidth) {
  Chart->SetMouseAction(maPanGrid);
  Chart->SetPanGridDx(100);
  // One unit per pixel: a drag of 100 pixels right would start x at 1234.5.
  Chart->SetRange(1, false, false, 1334.5, -2, 1769.5, 3);
  Drag(200, 150, 300, 150);
  EXPECT_DOUBLE_EQ(XLow(), 1200);
  EXPECT_DOUBLE_EQ(XHigh(), 1635);
  EXPECT_DOUBLE_EQ(YLow(), -2);  // already on the y grid of 1
  Chart->SetRange(1, false, false, -1134.5, -2, -699.5, 3);
  Drag(200, 150, 300, 150);
  EXPECT_DOUBLE_EQ(XLow(), -1200);
  EXPECT_DOUBLE_EQ(XHigh(), -765);
  // With an offset the grid moves.
  Chart->SetPanGridOffsX(7);
  Chart->SetRange(1, false, false, 1334.5, -2, 1769.5, 3);
  Drag(200, 150, 300, 150);
  EXPECT_DOUBLE_EQ(XLow(), 1207);
}

TEST_F(MouseActionsTest, PanOnLogarithmicAxesAndWithinPanLimits) {
  Chart->SetRange(1, false, false, 1, -2, 1000, 3);
  Chart->Scale1X().SetLogarithmic(true);
  ASSERT_TRUE(Chart->Scale1X().Logarithmic());
  Chart->SetMouseAction(maPan);
  // A third of the plot width is one decade.
  Drag(200, 150, 345, 150);
  EXPECT_NEAR(XLow(), 0.1, 1e-12);
  EXPECT_NEAR(XHigh(), 100, 1e-10);
  Chart->Scale1X().SetLogarithmic(false);

  // The pan modes move the whole range back inside the limits.
  Chart->SetRange(1, false, false, 1000, -2, 3300, 3);
  Chart->SetPanLimits(500, -10, 4000, 10);
  Drag(200, 150, 400, 150);
  EXPECT_DOUBLE_EQ(XLow(), 500);
  EXPECT_DOUBLE_EQ(XHigh(), 2800);
}

// ---- zoom drag -------------------------------------------------------------------------------

TEST_F(MouseActionsTest, ZoomDragZoomsAboutTheMiddleByTheControlWidth) {
  Chart->SetMouseAction(maZoomDrag);
  const int Position = Chart->RangeHistory().Position();
  Drag(200, 150, 301, 150, false);
  EXPECT_NEAR(XLow(), 1230, 1e-9);
  EXPECT_NEAR(XHigh(), 3070, 1e-9);
  EXPECT_DOUBLE_EQ(YLow(), -2);
  Move(99, 150);
  EXPECT_NEAR(XLow(), 770, 1e-9);
  EXPECT_NEAR(XHigh(), 3530, 1e-9);
  // Outside the plot area the drag does nothing.
  Move(10, 150);
  EXPECT_NEAR(XLow(), 770, 1e-9);
  Up(10, 150);
  EXPECT_EQ(Chart->RangeHistory().Position(), Position + 1);
  // Isometric: y follows the x factor.
  Chart->SetRange(1, false, false, 1000, -2, 3300, 3);
  Chart->SetIsometric(true);
  const double YL = YLow(), YH = YHigh();
  Drag(200, 150, 301, 250);
  EXPECT_NEAR(YHigh() - YLow(), 0.8 * (YH - YL), 1e-9);
}

// ---- zoom windows and their figures ---------------------------------------------------------

TEST_F(MouseActionsTest, ZoomWindowFollowsTheDragAndZoomWindowPosKeepsDirections) {
  Chart->SetMouseAction(maZoomWind);
  double XA, YA, XC, YC;
  Chart->PixelToWorld(1, 100, 100, XA, YA);
  Chart->PixelToWorld(1, 300, 200, XC, YC);
  const int Position = Chart->RangeHistory().Position();
  Down(100, 100);
  EXPECT_EQ(Chart->ZoomWindState(), zsDrawWin);
  Move(300, 200);
  Up(300, 200);
  EXPECT_EQ(Chart->ZoomWindState(), zsNormal);
  EXPECT_DOUBLE_EQ(XLow(), XA);
  EXPECT_DOUBLE_EQ(XHigh(), XC);
  // Drawn downwards: the y axis turns upside down.
  EXPECT_DOUBLE_EQ(YLow(), YA);
  EXPECT_DOUBLE_EQ(YHigh(), YC);
  EXPECT_GT(YLow(), YHigh());
  EXPECT_EQ(ZoomPans, 1);
  EXPECT_EQ(Chart->RangeHistory().Position(), Position + 1);

  Chart->SetRange(1, false, false, 1000, -2, 3300, 3);
  Chart->SetMouseAction(maZoomWindPos);
  Down(300, 100);
  Move(100, 200);
  Up(100, 200);
  EXPECT_LT(XLow(), XHigh());
  EXPECT_LT(YLow(), YHigh());
  // A window without height does nothing.
  const double Low = XLow();
  Down(100, 100);
  Move(300, 100);
  Up(300, 100);
  EXPECT_DOUBLE_EQ(XLow(), Low);
  EXPECT_EQ(ZoomPans, 2);
}

TEST_F(MouseActionsTest, ExclusiveOrFiguresLeaveNoTrace) {
  const QImage Fresh = FreshPaint();
  for (TMouseActMode Action : {maZoomWind, maZoomWindPos, maSelectRect, maRubberBand}) {
    SCOPED_TRACE(static_cast<int>(Action));
    Chart->SetMouseAction(Action);
    Down(100, 100);
    Move(150, 120);
    Move(400, 250);
    // The figure is on the window, clamped into the plot.
    Move(600, 330);
    EXPECT_NE(DiffBox(Surface(), Fresh).Left, -1);
    // A repaint in the middle of the drag (as a host's Redraw does) keeps it.
    Chart->Repaint();
    EXPECT_NE(DiffBox(Surface(), Fresh).Left, -1);
    Chart->Redraw();
    Move(300, 200);
    // The right button cancels: the ranges stay, the window is as before.
    Up(300, 200, mbRight);
    EXPECT_EQ(DiffBox(Surface(), Fresh).Left, -1);
    EXPECT_DOUBLE_EQ(XLow(), 1000);
    EXPECT_EQ(Chart->ZoomWindState(), zsNormal);
  }
  EXPECT_EQ(ZoomPans, 0);
  // A rubber line released without height is removed as well.
  Chart->SetMouseAction(maRubberBand);
  Down(100, 100);
  Move(300, 100);
  EXPECT_NE(DiffBox(Surface(), Fresh).Left, -1);
  Up(300, 100);
  EXPECT_EQ(DiffBox(Surface(), Fresh).Left, -1);
}

TEST_F(MouseActionsTest, IsometricZoomWindowIsASquareInPixels) {
  Chart->SetIsometric(true);
  const QImage Fresh = FreshPaint();
  Chart->SetMouseAction(maZoomWind);
  Down(100, 100);
  Move(150, 180);
  // The rectangle's right and bottom edges are exclusive.
  const TRect Box = DiffBox(Surface(), Fresh);
  EXPECT_EQ(Box.Left, 100);
  EXPECT_EQ(Box.Top, 100);
  EXPECT_EQ(Box.Right, 149);
  EXPECT_EQ(Box.Bottom, 149);
  // Dragged up and right the square goes up.
  Move(150, 60);
  const TRect Upward = DiffBox(Surface(), Fresh);
  EXPECT_EQ(Upward.Top, 50);
  EXPECT_EQ(Upward.Right, 149);
  Chart->WMButtonUp(mbRight, NoKeys, 150, 60);
  EXPECT_EQ(DiffBox(Surface(), Fresh).Left, -1);
}

TEST_F(MouseActionsTest, JoinedLayersFollowAZoomWindow) {
  Chart->JointLayers().SetXControlledBy(2, 1);
  ASSERT_FALSE(Chart->LayerMouseEnabled(2));
  Chart->SetMouseAction(maZoomWind);
  Down(100, 100);
  Move(300, 200);
  Up(300, 200);
  EXPECT_NE(XLow(), 1000);
  EXPECT_DOUBLE_EQ(XLow(2), XLow());
  EXPECT_DOUBLE_EQ(XHigh(2), XHigh());
  EXPECT_DOUBLE_EQ(YLow(2), 0);  // layer 2's own y stays
  EXPECT_DOUBLE_EQ(YHigh(2), 1);
}

TEST_F(MouseActionsTest, RubberBandAndSelectRectReportEveryEnabledLayer) {
  struct TReport {
    int Layer;
    double LoX, LoY, HiX, HiY;
  };
  std::vector<TReport> Rubber, Select;
  Chart->OnRubberBand = [&](TObject*, int L, double A, double B, double C, double D) {
    Rubber.push_back({L, A, B, C, D});
  };
  Chart->OnSelectRect = [&](TObject*, int L, double A, double B, double C, double D) {
    Select.push_back({L, A, B, C, D});
  };
  Chart->SetLayerMouseEnabled(3, true);
  Chart->SetLayerMouseEnabled(0, true);   // ignored
  Chart->SetLayerMouseEnabled(17, true);  // ignored
  EXPECT_FALSE(Chart->LayerMouseEnabled(0));
  EXPECT_FALSE(Chart->LayerMouseEnabled(17));
  Chart->SetMouseAction(maRubberBand);
  Down(300, 100);
  Move(100, 200);
  Up(100, 200);
  ASSERT_EQ(Rubber.size(), 2u);
  EXPECT_EQ(Rubber[0].Layer, 1);
  EXPECT_EQ(Rubber[1].Layer, 3);
  double X, Y;
  Chart->PixelToWorld(1, 300, 100, X, Y);
  EXPECT_DOUBLE_EQ(Rubber[0].LoX, X);  // from the anchor, as drawn
  EXPECT_DOUBLE_EQ(Rubber[0].LoY, Y);
  EXPECT_DOUBLE_EQ(XLow(), 1000);  // nothing zoomed
  Chart->SetMouseAction(maSelectRect);
  Down(300, 100);
  Move(100, 200);
  Up(100, 200);
  ASSERT_EQ(Select.size(), 2u);
  EXPECT_LT(Select[0].LoX, Select[0].HiX);  // ordered like the ranges
  EXPECT_LT(Select[0].LoY, Select[0].HiY);
  EXPECT_EQ(ZoomPans, 2);
}

// ---- crosshairs and labels ----------------------------------------------------------------

TEST_F(MouseActionsTest, CrossHairDragPicksTheNearestLineAndMayBeRefused) {
  Chart->SetMouseAction(maDragCrossH);
  std::vector<int> Moved;
  Chart->OnCrossHairMove = [&](TObject*, TCrossHair& C) {
    for (int I = 1; I <= 4; ++I)
      if (&C == &Chart->CrossHair(I)) Moved.push_back(I);
  };
  // All crosshairs off: crosshair 1 moves.
  Drag(200, 150, 250, 100);
  double X, Y;
  Chart->PixelToWorld(1, 250, 100, X, Y);
  EXPECT_DOUBLE_EQ(Chart->CrossHair(1).PosX(), X);
  EXPECT_DOUBLE_EQ(Chart->CrossHair(1).PosY(), Y);
  EXPECT_EQ(Moved, std::vector<int>{1});

  // A vertical line at pixel 300 and a horizontal one at pixel 120.
  double WX, WY;
  Chart->PixelToWorld(2, 300, 120, WX, WY);
  Chart->CrossHair(2).SetMode(chVert);
  Chart->CrossHair(2).SetPosX(WX);
  Chart->PixelToWorld(3, 300, 120, WX, WY);
  Chart->CrossHair(3).SetMode(chHoriz);
  Chart->CrossHair(3).SetPosY(WY);
  std::vector<std::pair<int, int>> Asked;
  bool Allow = false;
  Chart->OnBeforeCrossHairMove = [&](TObject*, TCrossHair& C, int DX, int DY, bool& AllowMove) {
    EXPECT_EQ(&C, &Chart->CrossHair(2));
    Asked.emplace_back(DX, DY);
    AllowMove = Allow;
  };
  const double Before = Chart->CrossHair(2).PosX();
  Down(305, 200);
  Move(305, 200);
  Move(320, 200);
  EXPECT_DOUBLE_EQ(Chart->CrossHair(2).PosX(), Before);  // refused: asked again on every move
  EXPECT_EQ(Asked.size(), 2u);
  EXPECT_EQ(Asked[0].first, 5);
  Allow = true;
  Move(320, 200);
  Move(330, 210);
  Up(330, 210);
  Chart->PixelToWorld(2, 330, 210, X, Y);
  EXPECT_DOUBLE_EQ(Chart->CrossHair(2).PosX(), X);
  EXPECT_EQ(Moved.back(), 2);
}

TEST_F(MouseActionsTest, LabelDragMovesTheNearestShownLabelByItsAttachMode) {
  Chart->SetMouseAction(maDragLabel);
  const TTxtLblAttachMode Modes[] = {tlamNone, tlamXOnly, tlamYOnly, tlamBoth};
  for (TTxtLblAttachMode Mode : Modes) {
    SCOPED_TRACE(static_cast<int>(Mode));
    TTextLabel& Near = Chart->TextLabel(7);
    TTextLabel& Far = Chart->TextLabel(9);
    for (TTextLabel* L : {&Near, &Far}) {
      L->SetMode(tlsimple);
      L->SetVisible(true);
      L->SetAttachToData(tlamNone);
    }
    Near.SetPosX(200);
    Near.SetPosY(150);
    Far.SetPosX(400);
    Far.SetPosY(250);
    // A hidden label right under the pointer does not count.
    Chart->TextLabel(3).SetMode(tlsimple);
    Chart->TextLabel(3).SetAttachToData(tlamNone);
    Chart->TextLabel(3).SetPosX(205);
    Chart->TextLabel(3).SetPosY(150);
    Near.SetAttachToData(Mode);
    if (Mode != tlamNone) {
      // Put the attached coordinates at the same pixels in world units.
      double WX, WY;
      Chart->PixelToWorld(1, 200, 150, WX, WY);
      if (Mode == tlamXOnly || Mode == tlamBoth) Near.SetPosX(WX);
      if (Mode == tlamYOnly || Mode == tlamBoth) Near.SetPosY(WY);
    }
    TTextLabel* MovedLabel = nullptr;
    Chart->OnTextLabelMove = [&](TObject*, TTextLabel& L) { MovedLabel = &L; };
    Drag(205, 150, 260, 90);
    EXPECT_EQ(MovedLabel, &Near);
    double WX, WY;
    Chart->PixelToWorld(1, 260, 90, WX, WY);
    const bool AttX = Mode == tlamXOnly || Mode == tlamBoth;
    const bool AttY = Mode == tlamYOnly || Mode == tlamBoth;
    EXPECT_DOUBLE_EQ(Near.PosX(), AttX ? WX : 260.0);
    EXPECT_DOUBLE_EQ(Near.PosY(), AttY ? WY : 90.0);
    EXPECT_DOUBLE_EQ(Far.PosX(), 400);
  }
}

// ---- scale drags, hit test, double click -----------------------------------------------------

TEST_F(MouseActionsTest, HitScaleBandsOfTheVisibleScales) {
  // Layer 1's x scale below the plot (y 305..345 exclusive), its y scale
  // left of it (x 0..50 exclusive).
  EXPECT_EQ(Chart->HitScale(200, 306), -1);
  EXPECT_EQ(Chart->HitScale(200, 344), -1);
  EXPECT_EQ(Chart->HitScale(200, 305), 0);
  EXPECT_EQ(Chart->HitScale(200, 345), 0);
  EXPECT_EQ(Chart->HitScale(50, 320), 0);
  EXPECT_EQ(Chart->HitScale(1, 150), 1);
  EXPECT_EQ(Chart->HitScale(49, 150), 1);
  EXPECT_EQ(Chart->HitScale(0, 150), 0);
  EXPECT_EQ(Chart->HitScale(25, 20), 0);
  EXPECT_EQ(Chart->HitScale(200, 150), 0);
  // A scale offset moves its band; a hidden scale is never hit.
  Chart->Scale2Y().SetVisible(true);
  Chart->Scale2Y().SetScaleLocation(slRight);
  EXPECT_EQ(Chart->HitScale(486, 150), 2);
  Chart->Scale1X().SetScalePos(30);
  EXPECT_EQ(Chart->HitScale(200, 320), 0);
  EXPECT_EQ(Chart->HitScale(200, 340), -1);
  Chart->Scale1X().SetVisible(false);
  EXPECT_EQ(Chart->HitScale(200, 340), 0);
}

TEST_F(MouseActionsTest, ScaleDragPansOrZoomsOneAxisAndDoubleClickSwitchesIt) {
  Chart->Scale1X().SetMouseAction(maPan);
  Drag(200, 320, 287, 320, false);
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_DOUBLE_EQ(XHigh(), 2840);
  EXPECT_DOUBLE_EQ(YLow(), -2);
  EXPECT_EQ(ZoomPans, 1);
  Up(287, 320);

  // A double click on the x scale turns panning into zooming and back; the
  // press that belongs to it is swallowed.
  int Downs = 0, Ups = 0, Doubles = 0;
  Chart->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
  Chart->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Ups; };
  Chart->OnDblClick = [&](TObject*) { ++Doubles; };
  Move(200, 320, NoKeys);
  Chart->WMButtonDblClk(mbLeft, Left, 200, 320);
  EXPECT_EQ(Chart->Scale1X().MouseAction(), maZoom);
  EXPECT_EQ(Doubles, 1);
  EXPECT_EQ(Downs, 0);
  Up(200, 320);
  EXPECT_EQ(Ups, 1);
  Chart->WMButtonDblClk(mbLeft, Left, 200, 320);
  Up(200, 320);
  EXPECT_EQ(Chart->Scale1X().MouseAction(), maPan);
  // Elsewhere a double click switches nothing.
  Chart->Scale1Y().SetMouseAction(maZoomDrag);
  Move(25, 150, NoKeys);
  Chart->WMButtonDblClk(mbLeft, Left, 25, 150);
  Up(25, 150);
  EXPECT_EQ(Chart->Scale1Y().MouseAction(), maZoomDrag);
  Chart->Scale1Y().SetMouseAction(maNone);

  // The y scale zooms with its own action while the x scale does not move.
  Chart->SetRange(1, false, false, 1000, -2, 3300, 3);
  Chart->Scale1Y().SetMouseAction(maZoom);
  Drag(25, 100, 25, 200);  // upper half: the high end follows
  EXPECT_DOUBLE_EQ(YLow(), -2);
  EXPECT_DOUBLE_EQ(XLow(), 1000);
  EXPECT_NEAR(YHigh(), -2 + 5.0 * 205 / 105, 1e-12);
}

TEST_F(MouseActionsTest, HiddenScalesStartNoDragButARunningDragActsInTheirBand) {
  Chart->Scale1X().SetMouseAction(maPan);
  Chart->Scale1X().SetVisible(false);
  Drag(200, 320, 287, 320, false);
  EXPECT_FALSE(Chart->MouseDragging());
  EXPECT_DOUBLE_EQ(XLow(), 1000);
  Up(287, 320);
  // A drag started on the (visible) y scale moves the hidden x scale in its band.
  Drag(25, 150, 112, 320, false);
  EXPECT_TRUE(Chart->MouseDragging());
  EXPECT_DOUBLE_EQ(XLow(), 540);
  EXPECT_DOUBLE_EQ(XHigh(), 2840);
  Up(112, 320);
  EXPECT_FALSE(Chart->MouseDragging());
}

// ---- two-corner marking ------------------------------------------------------------------------

TEST_F(MouseActionsTest, TwoCornerMarkingDrawsAClampedRectangleAndKeepsItsCorners) {
  const QImage Fresh = FreshPaint();
  EXPECT_EQ(Chart->MarkRectState(), msNormal);
  Chart->StartMarkRect();
  EXPECT_EQ(Chart->MarkRectState(), msFirstCorner);
  Down(100, 80);
  EXPECT_EQ(Chart->MarkRectState(), msRectDraw);
  EXPECT_EQ(Chart->MarkRectFirstCorner(), (TPoint{100, 80}));
  std::vector<double> Reported;
  Chart->OnMouseMoveInChart = [&](TObject*, bool InChart, TShiftState, double X, double) {
    EXPECT_TRUE(InChart);  // the clamped position
    Reported.push_back(X);
  };
  Move(600, 400);
  const TRect Box = DiffBox(Surface(), Fresh);
  EXPECT_EQ(Box.Left, 100);
  EXPECT_EQ(Box.Top, 80);
  EXPECT_EQ(Box.Right, 484);  // clamped to 485, right edge exclusive
  EXPECT_EQ(Box.Bottom, 304);
  ASSERT_EQ(Reported.size(), 1u);
  EXPECT_DOUBLE_EQ(Reported[0], 3300);
  Move(200, 200);
  Up(200, 200);
  EXPECT_EQ(Chart->MarkRectState(), msFinished);
  EXPECT_EQ(Chart->MarkRectEndCorner(), (TPoint{200, 200}));
  EXPECT_EQ(DiffBox(Surface(), Fresh).Left, -1);
  // The right button cancels, at the press or at the release.
  Chart->StartMarkRect();
  Down(100, 80, mbRight);
  EXPECT_EQ(Chart->MarkRectState(), msNormal);
  Chart->StartMarkRect();
  Down(100, 80);
  Move(150, 150);
  Up(150, 150, mbRight);
  EXPECT_EQ(Chart->MarkRectState(), msNormal);
  EXPECT_EQ(DiffBox(Surface(), Fresh).Left, -1);
}

// ---- wheel zoom --------------------------------------------------------------------------------

TEST_F(MouseActionsTest, WheelZoomIsOffByDefaultAndKeepsThePointsUnderThePointer) {
  EXPECT_FALSE(Chart->WheelZoom());
  Chart->WMMouseWheel(NoKeys, 120, 200, 150);
  EXPECT_DOUBLE_EQ(XLow(), 1000);
  EXPECT_EQ(ZoomPans, 0);

  Chart->SetWheelZoom(true);
  double WX, WY;
  Chart->PixelToWorld(1, 200, 150, WX, WY);
  const int Position = Chart->RangeHistory().Position();
  Chart->WMMouseWheel(NoKeys, 120, 200, 150);
  EXPECT_NEAR(XHigh() - XLow(), 2300 / 1.25, 1e-9);
  EXPECT_NEAR(YHigh() - YLow(), 5 / 1.25, 1e-12);
  const TLayerTransform T = Chart->LayerTransform(1);
  EXPECT_NEAR(T.RawX(WX), 200, 0.5);
  EXPECT_NEAR(T.RawY(WY), 150, 0.5);
  EXPECT_EQ(ZoomPans, 1);
  EXPECT_EQ(Chart->RangeHistory().Position(), Position + 1);
  // Down zooms out again.
  Chart->WMMouseWheel(NoKeys, -120, 200, 150);
  EXPECT_NEAR(XHigh() - XLow(), 2300, 1e-9);
  // Shift: x only; Ctrl: y only.
  Chart->WMMouseWheel(TShiftState{ssShift}, 240, 300, 100);
  EXPECT_NEAR(XHigh() - XLow(), 2300 / 1.5625, 1e-9);
  EXPECT_NEAR(YHigh() - YLow(), 5, 1e-12);
  Chart->WMMouseWheel(TShiftState{ssCtrl}, 120, 300, 100);
  EXPECT_NEAR(XHigh() - XLow(), 2300 / 1.5625, 1e-9);
  EXPECT_NEAR(YHigh() - YLow(), 4, 1e-12);

  // Over the x scale only that axis zooms, about the pointer's x.
  Chart->SetRange(1, false, false, 1000, -2, 3300, 3);
  Chart->PixelToWorld(1, 400, 320, WX, WY);
  Chart->WMMouseWheel(NoKeys, 120, 400, 320);
  EXPECT_NEAR(XHigh() - XLow(), 1840, 1e-9);
  EXPECT_NEAR(Chart->LayerTransform(1).RawX(WX), 400, 0.5);
  EXPECT_DOUBLE_EQ(YLow(), -2);
  // In the margins away from any scale nothing happens.
  const int Before = ZoomPans;
  Chart->WMMouseWheel(NoKeys, 120, 500, 5);
  EXPECT_EQ(ZoomPans, Before);

  // A logarithmic axis zooms in log space: 1..10000 about 100 keeps 100.
  Chart->SetRange(1, false, false, 1, -2, 10000, 3);
  Chart->Scale1X().SetLogarithmic(true);
  int PX, PY;
  Chart->WorldToPixel(1, 100, 0, PX, PY);
  Chart->PixelToWorld(1, PX, 150, WX, WY);
  Chart->WMMouseWheel(TShiftState{ssShift}, 120, static_cast<std::int16_t>(PX), 150);
  EXPECT_NEAR(std::log10(XHigh() / XLow()), 4 / 1.25, 1e-9);
  EXPECT_NEAR(Chart->LayerTransform(1).RawX(WX), PX, 0.5);

  // Joined layers follow; the message is still one history entry.
  Chart->JointLayers().SetXControlledBy(2, 1);
  Chart->JointLayers().SetYControlledBy(3, 1);
  const int Entries = Chart->RangeHistory().Position();
  Chart->WMMouseWheel(NoKeys, 120, 200, 150);
  EXPECT_DOUBLE_EQ(XLow(2), XLow());
  EXPECT_DOUBLE_EQ(YLow(3), YLow());
  EXPECT_EQ(Chart->RangeHistory().Position(), Entries % 16 + 1);

  // A host handler that takes the wheel leaves the chart alone.
  Chart->OnMouseWheel = [](TObject*, TShiftState, int, TPoint, bool& Handled) { Handled = true; };
  const double Low = XLow();
  Chart->WMMouseWheel(NoKeys, 120, 200, 150);
  EXPECT_DOUBLE_EQ(XLow(), Low);
}

// ---- range history --------------------------------------------------------------------------------

TEST_F(MouseActionsTest, RangeHistoryBackStepsThroughTheRecordedRanges) {
  EXPECT_FALSE(Chart->RangeHistoryBack());  // only the start is recorded
  Chart->SetMouseAction(maZoomDrag);
  Drag(200, 150, 301, 150);  // 1230..3070
  Drag(200, 150, 301, 150);  // 0.8 of that
  const double Second = XLow();
  ASSERT_GT(Second, 1230);
  Chart->SetMouseAction(maPan);
  Drag(200, 150, 210, 150, false);  // moved, not yet recorded
  EXPECT_TRUE(Chart->RangeHistoryBack());
  EXPECT_DOUBLE_EQ(XLow(), Second);  // back to the latest record first
  Up(210, 150);                      // the release records the ranges again
  EXPECT_TRUE(Chart->RangeHistoryBack());
  EXPECT_NEAR(XLow(), 1230, 1e-9);
  EXPECT_TRUE(Chart->RangeHistoryBack());
  EXPECT_DOUBLE_EQ(XLow(), 1000);
  EXPECT_DOUBLE_EQ(YLow(), -2);
  EXPECT_FALSE(Chart->RangeHistoryBack());
  EXPECT_DOUBLE_EQ(XLow(), 1000);
  // Over a full ring no step wraps round to newer entries.
  Chart->SetMouseAction(maZoomDrag);
  for (int I = 0; I < 20; ++I) Drag(200, 150, 210, 150);
  int Steps = 0;
  double Width = XHigh() - XLow();
  while (Chart->RangeHistoryBack()) {
    ++Steps;
    EXPECT_GT(XHigh() - XLow(), Width);
    Width = XHigh() - XLow();
  }
  EXPECT_EQ(Steps, 15);
}

// ---- host handlers may do anything -------------------------------------------------------------

TEST_F(MouseActionsTest, HandlersMayDestroyChartsAndChangeTheAction) {
  auto Other = std::make_unique<TVexa>(nullptr);
  Other->SetUseDataOf(Chart.get());
  Chart->SetMouseAction(maPan);
  Chart->OnZoomPan = [&](TObject*) {
    Other.reset();
    Chart->SetMouseAction(maZoomDrag);
    Chart->SetRange(1, false, false, 0, 0, 10, 10);
    Chart->SetLayerMouseEnabled(1, false);
  };
  Drag(200, 150, 250, 150, false);
  EXPECT_EQ(Other, nullptr);
  Move(260, 160);
  Move(270, 170);
  Up(270, 170);
  Chart->OnZoomPan = nullptr;
  Chart->SetLayerMouseEnabled(1, true);
  Chart->SetMouseAction(maRubberBand);
  Chart->OnRubberBand = [&](TObject*, int, double, double, double, double) {
    Chart->SetMouseAction(maNone);
    Chart->SetRange(1, false, false, 5, 5, 6, 6);
  };
  Down(100, 100);
  Move(200, 200);
  Up(200, 200);
  EXPECT_DOUBLE_EQ(XLow(), 5);
  Chart->SetMouseAction(maDragCrossH);
  Chart->OnCrossHairMove = [&](TObject*, TCrossHair&) { Chart->SetMouseAction(maDragLabel); };
  Drag(200, 150, 250, 150);
  EXPECT_EQ(Chart->MouseAction(), maDragLabel);
  Chart->OnTextLabelMove = [&](TObject*, TTextLabel& L) { L.SetLayer(16); };
  Drag(200, 150, 30000, -30000);
  Drag(200, 150, -30000, 30000);
}

TEST_F(MouseActionsTest, ALogarithmicAxisBelowZeroElsewhereStaysInsideTheChart) {
  // Layer 2's x range 0..1 taken as logarithmic (unchecked for a chart that
  // was never loaded) is refused; the mouse actions go on as before.
  EXPECT_THROW(Chart->Scale2X().SetLogarithmic(true), EZKWVexaError);
  EXPECT_FALSE(Chart->Scale2X().Logarithmic());
  Chart->SetMouseAction(maPan);
  EXPECT_NO_THROW(Drag(200, 150, 287, 150));
  Chart->SetWheelZoom(true);
  EXPECT_NO_THROW(Chart->WMMouseWheel(NoKeys, 120, 200, 150));
  Chart->SetMouseAction(maZoomWind);
  EXPECT_NO_THROW(Drag(100, 100, 200, 200));
  EXPECT_EQ(Chart->ZoomWindState(), zsNormal);
}

TEST_F(MouseActionsTest, RangesNearTheLimitsOfDoublesNeverOverflow) {
  const auto Finite = [&] {
    return std::isfinite(XLow()) && std::isfinite(XHigh()) && std::isfinite(YLow()) && std::isfinite(YHigh());
  };
  Chart->SetRange(1, false, false, -1e308, -1e308, 1e308, 1e308);
  for (TMouseActMode Action : {maPan, maPanGrid, maZoomDrag}) {
    Chart->SetMouseAction(Action);
    Drag(60, 300, 480, 25);
    EXPECT_TRUE(Finite()) << static_cast<int>(Action);
    Drag(480, 25, 60, 300);
    EXPECT_TRUE(Finite()) << static_cast<int>(Action);
  }
  Chart->SetWheelZoom(true);
  for (int I = 0; I < 5; ++I) Chart->WMMouseWheel(NoKeys, -32000, 100, 100);
  EXPECT_TRUE(Finite());
  Chart->Scale1X().SetMouseAction(maZoom);
  Drag(60, 320, 480, 320);
  EXPECT_TRUE(Finite());
}

TEST_F(MouseActionsTest, ZoomingInBelowTheResolutionOfDoublesKeepsTheRange) {
  // x spans a thousandth at 1e8, where doubles lie 1.5e-8 apart: zooming in
  // far enough would round both ends to one value, a range no zoom could
  // widen again. The axis keeps a range of at least one step instead; the
  // other axis zooms on.
  const double Low = 1e8, High = 1e8 + 1e-3;
  Chart->SetRange(1, false, false, Low, -2, High, 3);
  Chart->SetWheelZoom(true);
  for (int I = 0; I < 3; ++I) Chart->WMMouseWheel(NoKeys, 64 * 120, 200, 150);
  EXPECT_LT(XLow(), XHigh());
  EXPECT_GE(XLow(), Low);
  EXPECT_LE(XHigh(), High);
  EXPECT_GT(YHigh() - YLow(), 0.0);
  Chart->WMMouseWheel(NoKeys, -64 * 120, 200, 150);  // and out again
  EXPECT_GT(XHigh() - XLow(), 1e-8);

  Chart->SetRange(1, false, false, Low, -2, High, 3);
  Chart->SetMouseAction(maZoomDrag);
  for (int I = 0; I < 30; ++I) Drag(60, 150, 440, 150);
  EXPECT_LT(XLow(), XHigh());
  Drag(440, 150, 60, 150);
  EXPECT_LT(XLow(), XHigh());
}

}  // namespace
}  // namespace zkw
