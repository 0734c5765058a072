// The mouse actions demo form, headless: its controls, the drop-down that
// chooses the chart's action, the axis check boxes, drags played through the
// chart's message entry points, Back through the range history, the event
// log; and the program's command line.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/actiondemo_program.h"
#include "app/frmactions.h"

namespace zkw {
namespace {

// The chart's geometry as the description sets it: 520 x 400, margins
// left 60, right 60, top 24, bottom 40, no shadow.
constexpr int PlotL = 60, PlotR = 460, PlotT = 24, PlotB = 360;

class ActionFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TFormActions>(nullptr);
    Form->Show();  // headless: windows made, form activated
    Chart = Form->VX1;
    ASSERT_NE(Chart, nullptr);
  }

  void Drag(TPoint From, TPoint To, TMouseButton Button = mbLeft) {
    const TShiftState Held{Button == mbLeft ? ssLeft : ssRight};
    Chart->WMMouseMove(TShiftState{}, Short(From.X), Short(From.Y));
    Chart->WMButtonDown(Button, Held, Short(From.X), Short(From.Y));
    for (int I = 0; I <= 4; ++I)
      Chart->WMMouseMove(Held, Short(From.X + (To.X - From.X) * I / 4), Short(From.Y + (To.Y - From.Y) * I / 4));
    Chart->WMButtonUp(Button, TShiftState{}, Short(To.X), Short(To.Y));
  }
  static std::int16_t Short(int V) { return static_cast<std::int16_t>(V); }

  void Choose(TMouseActMode A) { Form->CbAction->WMSelectItem(static_cast<int>(A)); }
  double XLo() const { return Chart->ScalePropsX(1).RangeLow(); }
  double XHi() const { return Chart->ScalePropsX(1).RangeHigh(); }
  double YLo() const { return Chart->ScalePropsY(1).RangeLow(); }
  double YHi() const { return Chart->ScalePropsY(1).RangeHigh(); }
  double Y2Lo() const { return Chart->ScalePropsY(2).RangeLow(); }
  double Y2Hi() const { return Chart->ScalePropsY(2).RangeHigh(); }
  bool LogHas(const std::string& Prefix) const {
    for (const std::string& L : Form->MemoLog->Lines())
      if (L.rfind(Prefix, 0) == 0) return true;
    return false;
  }
  std::string LastLog() const { return Form->MemoLog->Lines().empty() ? "" : Form->MemoLog->Lines().back(); }

  std::unique_ptr<TFormActions> Form;
  TVexa* Chart = nullptr;
};

TEST_F(ActionFormTest, FormHoldsTheControlsAndTheTwoLayerChart) {
  for (const TControl* C : std::vector<const TControl*>{Form->LblRanges, Form->LblPointer, Form->CbAction,
                                                         Form->ChkScaleX, Form->ChkScaleY, Form->ChkWheelZoom,
                                                         Form->ChkLogMoves, Form->BtnBack, Form->BtnClearLog,
                                                         Form->BtnExit, Form->MemoLog})
    ASSERT_NE(C, nullptr);
  EXPECT_EQ(Form->Caption(), "Mouse actions");
  // Every action by name, in enumerator order; the chart's own is chosen.
  ASSERT_EQ(Form->CbAction->Items().size(), MouseActModeNames.size());
  for (std::size_t I = 0; I < MouseActModeNames.size(); ++I)
    EXPECT_EQ(Form->CbAction->Items()[I], MouseActModeNames[I]);
  EXPECT_EQ(Form->CbAction->ItemIndex(), static_cast<int>(Chart->MouseAction()));
  EXPECT_EQ(Chart->MouseAction(), maPan);
  // The check boxes and what they control agree.
  EXPECT_TRUE(Form->ChkScaleX->Checked());
  EXPECT_EQ(Chart->Scale1X().MouseAction(), maPan);
  EXPECT_EQ(Chart->Scale1Y().MouseAction(), maPan);
  EXPECT_EQ(Chart->Scale2Y().MouseAction(), maPan);
  EXPECT_EQ(Chart->WheelZoom(), Form->ChkWheelZoom->Checked());
  EXPECT_TRUE(Form->MemoLog->ReadOnly());
  // 2000 marks on layer 1, a 1500-point line on layer 2 with its own
  // logarithmic axis on the right; both layers follow the mouse.
  EXPECT_EQ(Chart->KindCount(1), 2000);
  EXPECT_EQ(Chart->ItemCount(), 3500);
  EXPECT_TRUE(Chart->ScalePropsY(2).Logarithmic());
  EXPECT_TRUE(Chart->ScalePropsY(2).Visible());
  EXPECT_TRUE(Chart->LayerMouseEnabled(1));
  EXPECT_TRUE(Chart->LayerMouseEnabled(2));
  EXPECT_EQ(Chart->CrossHair1().Mode(), chBoth);
  EXPECT_EQ(Chart->CrossHair2().Mode(), chHoriz);
  EXPECT_EQ(Chart->TextLabel(1).Caption(), "first peak");
  EXPECT_NE(Chart->TextLabel(2).Mode(), tlOff);
  EXPECT_EQ(Form->LblRanges->Caption(), "x: 0 .. 100    y: -2 .. 3    y2: 1 .. 10000");
  EXPECT_EQ(LastLog(), "ready x1=[0, 100] y1=[-2, 3] y2=[1, 10000]");
}

TEST_F(ActionFormTest, DropDownChoosesEveryActionByName) {
  for (std::size_t I = 0; I < MouseActModeNames.size(); ++I) {
    Form->CbAction->WMSelectItem(static_cast<int>(I));
    EXPECT_EQ(Chart->MouseAction(), static_cast<TMouseActMode>(I));
    EXPECT_EQ(LastLog(), "MouseAction := " + std::string(MouseActModeNames[I]));
  }
}

TEST_F(ActionFormTest, PanFollowsTheDragAndBackRestoresTheRanges) {
  // 40 pixels right over a 400-pixel plot: the data move right, the x
  // range moves left by a tenth of its width.
  Drag({200, 200}, {240, 200});
  EXPECT_DOUBLE_EQ(XLo(), -10.0);
  EXPECT_DOUBLE_EQ(XHi(), 90.0);
  EXPECT_DOUBLE_EQ(YLo(), -2.0);
  EXPECT_DOUBLE_EQ(Y2Hi(), 10000.0);
  EXPECT_DOUBLE_EQ(Chart->ScalePropsX(2).RangeHigh(), 90.0);
  EXPECT_TRUE(LogHas("OnMouseDown Button=mbLeft Shift=[ssLeft] X=200 Y=200"));
  EXPECT_TRUE(LogHas("OnZoomPan x1=[-10, 90] y1=[-2, 3] y2=[1, 10000]"));
  EXPECT_EQ(Form->LblRanges->Caption(), "x: -10 .. 90    y: -2 .. 3    y2: 1 .. 10000");
  // 42 pixels down over 336: both y axes follow, the logarithmic one by a
  // factor (10^4)^(42/336) = 10^0.5.
  Drag({200, 100}, {200, 142});
  EXPECT_NEAR(YLo(), -1.375, 1e-9);
  EXPECT_NEAR(YHi(), 3.625, 1e-9);
  EXPECT_NEAR(Y2Lo(), 3.16227766, 1e-6);
  EXPECT_NEAR(Y2Hi(), 31622.7766, 1e-3);

  Form->BtnBack->Click();
  EXPECT_DOUBLE_EQ(XLo(), -10.0);
  EXPECT_DOUBLE_EQ(YLo(), -2.0);
  EXPECT_NEAR(Y2Hi(), 10000.0, 1e-6);
  EXPECT_EQ(LastLog().rfind("Back x1=[-10, 90]", 0), 0u) << LastLog();
  Form->BtnBack->Click();
  EXPECT_DOUBLE_EQ(XLo(), 0.0);
  EXPECT_DOUBLE_EQ(XHi(), 100.0);
  EXPECT_EQ(Form->LblRanges->Caption(), "x: 0 .. 100    y: -2 .. 3    y2: 1 .. 10000");
}

TEST_F(ActionFormTest, AxisDragPansThatAxisOnlyWhileItsBoxIsTicked) {
  Choose(maNone);  // the plot area does nothing; only the axis acts
  const int AxisY = PlotB + 15;
  Drag({200, AxisY}, {240, AxisY});
  EXPECT_DOUBLE_EQ(XLo(), -10.0);
  EXPECT_DOUBLE_EQ(XHi(), 90.0);
  // Layer 2's x moves alike (its hidden scale shares the band).
  EXPECT_DOUBLE_EQ(Chart->ScalePropsX(2).RangeLow(), -10.0);
  EXPECT_DOUBLE_EQ(YLo(), -2.0);
  EXPECT_DOUBLE_EQ(YHi(), 3.0);

  Form->ChkScaleX->SetChecked(false);
  EXPECT_EQ(Chart->Scale1X().MouseAction(), maNone);
  EXPECT_EQ(Chart->Scale2X().MouseAction(), maNone);
  EXPECT_EQ(LastLog(), "Scale1X, Scale2X.MouseAction := maNone");
  Drag({200, AxisY}, {260, AxisY});
  EXPECT_DOUBLE_EQ(XLo(), -10.0);

  // The left y axis: only layer 1's y range moves.
  const int AxisX = PlotL - 15;
  Drag({AxisX, 100}, {AxisX, 142});
  EXPECT_NEAR(YLo(), -1.375, 1e-9);
  EXPECT_DOUBLE_EQ(XLo(), -10.0);
  EXPECT_DOUBLE_EQ(Y2Lo(), 1.0);
  Form->ChkScaleY->SetChecked(false);
  EXPECT_EQ(Chart->Scale1Y().MouseAction(), maNone);
  EXPECT_EQ(Chart->Scale2Y().MouseAction(), maNone);

  Form->ChkWheelZoom->SetChecked(!Form->ChkWheelZoom->Checked());
  EXPECT_EQ(Chart->WheelZoom(), Form->ChkWheelZoom->Checked());
}

TEST_F(ActionFormTest, ZoomWindowNarrowsTheRangesToTheRectangle) {
  Choose(maZoomWindPos);
  // Pixels 160..360 of x are 25..75; pixels 74..242 of y are 2.256..-0.244.
  Drag({160, 74}, {360, 242});
  EXPECT_NEAR(XLo(), 25.0, 1e-9);
  EXPECT_NEAR(XHi(), 75.0, 1e-9);
  EXPECT_NEAR(YLo(), 3.0 - 218.0 / 336.0 * 5.0, 1e-9);
  EXPECT_NEAR(YHi(), 3.0 - 50.0 / 336.0 * 5.0, 1e-9);
  EXPECT_NEAR(Y2Lo(), std::pow(10.0, 4.0 * 118.0 / 336.0), 1e-6);
  EXPECT_TRUE(LogHas("OnZoomPan x1=[25"));
  // Each mouse layer's new ranges are recorded on their own, so Back first
  // returns to the entry made after layer 1 (layer 2 not yet zoomed), then
  // to the ranges before the zoom.
  Form->BtnBack->Click();
  EXPECT_NEAR(XLo(), 25.0, 1e-9);
  EXPECT_DOUBLE_EQ(Y2Lo(), 1.0);
  Form->BtnBack->Click();
  EXPECT_DOUBLE_EQ(XLo(), 0.0);
  EXPECT_DOUBLE_EQ(XHi(), 100.0);
  EXPECT_DOUBLE_EQ(YHi(), 3.0);
}

TEST_F(ActionFormTest, WheelZoomsAboutThePointerOnlyWhileItsBoxIsTicked) {
  Form->ChkWheelZoom->SetChecked(true);
  Chart->WMMouseMove(TShiftState{}, 260, 192);
  Chart->WMMouseWheel(TShiftState{}, WHEEL_DELTA, 260, 192);
  // Zoomed in about the pointer: narrower, and the pointer's x (50) inside.
  EXPECT_LT(XHi() - XLo(), 100.0);
  EXPECT_LT(XLo(), 50.0);
  EXPECT_GT(XHi(), 50.0);
  EXPECT_TRUE(LogHas("OnZoomPan x1=["));
  Form->BtnBack->Click();
  EXPECT_DOUBLE_EQ(XLo(), 0.0);
  EXPECT_DOUBLE_EQ(XHi(), 100.0);

  Form->ChkWheelZoom->SetChecked(false);
  EXPECT_FALSE(Chart->WheelZoom());
  Chart->WMMouseWheel(TShiftState{}, WHEEL_DELTA, 260, 192);
  EXPECT_DOUBLE_EQ(XLo(), 0.0);
  EXPECT_DOUBLE_EQ(XHi(), 100.0);
}

TEST_F(ActionFormTest, EveryEventIsLoggedWithItsArguments) {
  Choose(maRubberBand);
  Drag({160, 74}, {360, 242});
  EXPECT_TRUE(LogHas("OnRubberBand Layer=1 Lo=(25, "));
  EXPECT_TRUE(LogHas("OnRubberBand Layer=2 Lo=(25, "));
  Choose(maSelectRect);
  Drag({160, 74}, {360, 242});
  EXPECT_TRUE(LogHas("OnSelectRect Layer=1 Lo=(25, "));
  EXPECT_DOUBLE_EQ(XLo(), 0.0);  // neither changes a range

  Choose(maDragCrossH);
  Drag({258, 148}, {300, 200});
  EXPECT_TRUE(LogHas("OnBeforeCrossHairMove CrossHair=1 dx="));
  EXPECT_TRUE(LogHas("OnCrossHairMove CrossHair=1 Pos=("));
  EXPECT_NEAR(Chart->CrossHair1().PosX(), 60.0, 0.5);

  Choose(maDragLabel);
  Drag({330, 340}, {300, 300});
  EXPECT_TRUE(LogHas("OnTextLabelMove Label=2 \"drag me (maDragLabel)\" Pos=(300, 300)"));

  // Mouse moves are logged only while their box is ticked.
  Choose(maNone);
  Chart->WMMouseMove(TShiftState{}, 100, 100);
  EXPECT_FALSE(LogHas("OnMouseMoveInChart"));
  Form->ChkLogMoves->SetChecked(true);
  Chart->WMMouseMove(TShiftState{}, 101, 100);
  EXPECT_TRUE(LogHas("OnMouseMoveInChart InChart=1 Shift=[] X="));
  EXPECT_NE(Form->LblPointer->Caption().find("pointer x = "), std::string::npos);

  std::ostringstream Echo;
  Form->SetLogEcho(&Echo);
  Form->BtnClearLog->Click();
  EXPECT_TRUE(Form->MemoLog->Lines().empty());
  Form->Log("hello");
  EXPECT_EQ(Echo.str(), "hello\n");
}

TEST(ActiondemoArgs, StepsAreReadInOrderAndFaultsAreNamed) {
  TActiondemoOptions O;
  std::string Error;
  ASSERT_TRUE(ParseActiondemoArgs({"--screenshot", "a.png", "--action", "maZoomWind", "--drag", "1,2,3,4",
                                   "--check", "ChkScaleX=0", "--wheel", "5,6,-120", "--back", "--move", "7,8"},
                                  O, Error))
      << Error;
  EXPECT_EQ(O.ScreenshotFile, "a.png");
  ASSERT_EQ(O.Steps.size(), 6u);
  EXPECT_EQ(O.Steps[0].Kind, TActiondemoStep::Action);
  EXPECT_EQ(O.Steps[0].Name, "maZoomWind");
  EXPECT_EQ(O.Steps[1].Values, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(O.Steps[2].Name, "ChkScaleX");
  EXPECT_FALSE(O.Steps[2].On);
  EXPECT_EQ(O.Steps[3].Values, (std::vector<int>{5, 6, -120}));
  EXPECT_EQ(O.Steps[4].Kind, TActiondemoStep::Back);
  EXPECT_EQ(O.Steps[5].Kind, TActiondemoStep::Move);

  const std::vector<std::vector<std::string>> Bad = {
      {"--drag", "1,2,3,4"},                            // a step without a picture
      {"--screenshot"},                                 // no file
      {"--screenshot", "a", "--screenshot", "b"},       // twice
      {"--screenshot", "a", "--drag", "1,2,3"},         // too few numbers
      {"--screenshot", "a", "--drag", "1,2,3,4,5"},     // too many
      {"--screenshot", "a", "--move", "1,99999"},       // out of range
      {"--screenshot", "a", "--action", "maFly"},       // unknown action
      {"--screenshot", "a", "--check", "ChkScaleX=2"},  // not 0 or 1
      {"--screenshot", "a", "--check", "BtnBack=1"},    // not a check box
      {"--bogus"}};
  for (const auto& Args : Bad) {
    Error.clear();
    EXPECT_FALSE(ParseActiondemoArgs(Args, O, Error)) << Args[0];
    EXPECT_FALSE(Error.empty());
  }
  ASSERT_TRUE(ParseActiondemoArgs({"--trace"}, O, Error));
  EXPECT_TRUE(O.Trace);
  EXPECT_FALSE(O.Headless());
}

}  // namespace
}  // namespace zkw
