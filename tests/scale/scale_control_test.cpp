// The scale control: defaults, setter rules, the repaint request, loading,
// bounds, copying, the chart's operations, the double click and the form
// description.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/formstream.h"
#include "platform/forms.h"
#include "scale/ZKW_Scale.h"

namespace zkw {
namespace {

// Counts paints through the first event of every paint.
struct TPaintCounter {
  int Paints = 0;
  void Attach(TScale& S) {
    S.OnBeforeScaleRendered = [this](TObject*, TCanvas&) { ++Paints; };
  }
};

TEST(ScaleControl, NewScaleDefaults) {
  TScale S(nullptr);
  EXPECT_EQ(S.Width(), 400);
  EXPECT_EQ(S.Height(), 400);
  EXPECT_EQ(S.RangeLow(), 0);
  EXPECT_EQ(S.RangeHigh(), 100);
  EXPECT_FALSE(S.Logarithmic());
  EXPECT_EQ(S.ScaleType(), sctXB);
  EXPECT_EQ(S.MinTicks(), 3);
  EXPECT_EQ(S.DecPlaces(), -2);
  EXPECT_TRUE(S.PaintSuspended());
  const TDTLabel& F = S.DateFormat();
  EXPECT_EQ(F.DateSeparator(), '-');
  EXPECT_EQ(F.YearLength(), ylYYYY);
  EXPECT_EQ(F.DateForTime(), dtOnePerDay);
  EXPECT_EQ(F.DateOrder(), doDDMMYY);
  // Factors are ready: 359 pixels over 100 units.
  EXPECT_DOUBLE_EQ(S.ScaleFactor(), 3.59);
  EXPECT_EQ(S.ValueToPixel(0), 20);
  EXPECT_EQ(S.ValueToPixel(100), 379);
  // SetDefaults restores every setting but the inscription.
  S.SetRange(3, 4);
  S.SetScaleInscript("& V");
  S.SetEmbedded(true);
  S.SetDefaults();
  EXPECT_EQ(S.RangeHigh(), 100);
  EXPECT_FALSE(S.Embedded());
  EXPECT_EQ(S.ScaleInscript(), "& V");
}

TEST(ScaleControl, SetterClampsAndRangeRules) {
  TScale S(nullptr);
  S.SetRangeLow(5);
  S.SetRangeHigh(5);  // the axis turns round
  EXPECT_EQ(S.RangeHigh(), 5);
  EXPECT_EQ(S.RangeLow(), 6);
  S.SetRange(0, 100);
  S.SetRangeHigh(100);
  S.SetRangeLow(100);
  EXPECT_EQ(S.RangeHigh(), 101);
  S.SetRange(7, 7);
  EXPECT_EQ(S.RangeHigh(), 8);
  // Where one unit is lost in rounding the ends still differ.
  S.SetRange(1e20, 1e20);
  EXPECT_NE(S.RangeLow(), S.RangeHigh());
  S.SetRangeLow(std::numeric_limits<double>::max());
  S.SetRangeHigh(std::numeric_limits<double>::max());
  EXPECT_NE(S.RangeLow(), S.RangeHigh());
  EXPECT_TRUE(std::isfinite(S.RangeLow()));
  // Non-finite ends are refused and change nothing.
  S.SetRange(0, 10);
  S.SetRangeLow(NAN);
  S.SetRangeHigh(INFINITY);
  S.SetRange(NAN, 3);
  EXPECT_EQ(S.RangeLow(), 0);
  EXPECT_EQ(S.RangeHigh(), 10);

  const struct {
    int In, Out;
  } MinTicks[] = {{1, 2}, {15, 10}, {0, 0}, {-5, 2}, {7, 7}};
  for (const auto& C : MinTicks) {
    S.SetMinTicks(C.In);
    EXPECT_EQ(S.MinTicks(), C.Out) << C.In;
  }
  S.SetDecPlaces(-7);
  EXPECT_EQ(S.DecPlaces(), -3);
  S.SetDecPlaces(20);
  EXPECT_EQ(S.DecPlaces(), 12);
  S.SetMarginLeft(-3);
  EXPECT_EQ(S.MarginLeft(), 0);
  S.SetMarginBottom(-1);
  EXPECT_EQ(S.MarginBottom(), 0);

  S.SetLabelType(ftTime);
  EXPECT_EQ(S.DecPlaces(), 4);
  S.SetRange(1, 100);
  S.SetLogarithmic(true);
  S.SetLabelType(ftDateTime);
  EXPECT_FALSE(S.Logarithmic());

  S.SetColorScheme(csSystem);
  EXPECT_EQ(S.FrameShadowColor(), clBtnShadow);
  EXPECT_EQ(S.FrameHighlightColor(), clBtnHighlight);
  S.SetColorScheme(csBWG);
  EXPECT_EQ(S.FrameShadowColor(), clGray);
}

// A whole look is taken with the single setters' rules, in the chart's
// copying order; a new scale's look is the look's defaults.
TEST(ScaleControl, SetLookAppliesTheSettersRules) {
  TScale S(nullptr);
  EXPECT_EQ(S.Look(), TScaleLook{});
  TScaleLook L;
  L.MinTicks = 15;
  L.DecPlaces = 2;
  L.LabelType = ftTime;
  L.RangeLow = L.RangeHigh = 7;
  L.Box.MarginLeft = -3;
  S.SetLook(L);
  EXPECT_EQ(S.MinTicks(), 10);
  EXPECT_EQ(S.DecPlaces(), 4);
  EXPECT_EQ(S.RangeHigh(), 7);
  EXPECT_EQ(S.RangeLow(), 8);
  EXPECT_EQ(S.MarginLeft(), 0);
  L = TScaleLook{};
  L.LabelType = ftDateTime;
  L.Logarithmic = true;
  L.RangeLow = 1;
  S.SetLook(L);
  EXPECT_FALSE(S.Logarithmic());
}

TEST(ScaleControl, FactorsFollowRangeMarginsTypeAndBounds) {
  TScale S(nullptr);
  S.SetMarginLeft(0);
  EXPECT_DOUBLE_EQ(S.ScaleOffset(), 0);
  EXPECT_DOUBLE_EQ(S.ScaleFactor(), 3.79);
  S.SetBounds(0, 0, 121, 50);
  EXPECT_DOUBLE_EQ(S.ScaleFactor(), 1.0);  // 121 - 0 - 20 - 1 pixels
  S.SetScaleType(sctYL);
  EXPECT_DOUBLE_EQ(S.ScaleFactor(), -0.09);  // 50 - 40 - 1 over 100, upwards
  S.SetRange(10, 20);
  EXPECT_EQ(S.ValueToPixel(20), 20);
  EXPECT_EQ(S.ValueToPixel(10), 29);
}

TEST(ScaleControl, LogarithmicNeedsAPositiveRangeOnceLoaded) {
  // Created at run time: accepted unchecked, the factors stay as they were.
  TScale S(nullptr);
  const double Factor = S.ScaleFactor();
  S.SetLogarithmic(true);
  EXPECT_TRUE(S.Logarithmic());
  EXPECT_EQ(S.ScaleFactor(), Factor);

  // Loaded: the range is checked.
  TScale L(nullptr);
  L.SetLoading(true);
  L.SetRangeLow(0);
  L.Loaded();
  L.SetLogarithmic(true);
  EXPECT_FALSE(L.Logarithmic());
  L.SetRange(1, 1000);
  L.SetLogarithmic(true);
  EXPECT_TRUE(L.Logarithmic());
  EXPECT_NEAR(L.ScaleFactor(), 359 / std::log(1000.0), 1e-9);
  L.SetLogarithmic(false);
  L.SetLabelType(ftDateTime);
  L.SetLogarithmic(true);  // calendar axes stay linear
  EXPECT_FALSE(L.Logarithmic());
}

TEST(ScaleControl, LoadingDefersTheFactors) {
  TScale S(nullptr);
  S.SetLoading(true);
  S.SetRange(0, 10);
  EXPECT_DOUBLE_EQ(S.ScaleFactor(), 3.59);  // still those of 0 .. 100
  S.Loaded();
  EXPECT_DOUBLE_EQ(S.ScaleFactor(), 35.9);
}

TEST(ScaleControl, RepaintRequestRule) {
  TScale Opaque(nullptr);
  TPaintCounter C;
  C.Attach(Opaque);
  Opaque.SetCaption("x");
  EXPECT_EQ(C.Paints, 0);  // suspended until the window exists
  Opaque.HandleNeeded();
  EXPECT_FALSE(Opaque.PaintSuspended());
  Opaque.SetCaption("y");
  EXPECT_EQ(C.Paints, 1);  // opaque: at once

  TScale Clear(nullptr);
  TPaintCounter T;
  T.Attach(Clear);
  Clear.HandleNeeded();
  Clear.SetTransparent(true);
  EXPECT_EQ(T.Paints, 0);  // transparent stand-alone: invalidated only
  EXPECT_TRUE(Clear.NeedsPaint());
  Clear.WMPaint();
  EXPECT_EQ(T.Paints, 1);
  Clear.SetEmbedded(true);  // embedded: at once
  EXPECT_EQ(T.Paints, 2);
  Clear.SetCaption("z");
  EXPECT_EQ(T.Paints, 3);

  // Invisible scales do not paint, unless a stand-alone one is designed.
  Opaque.SetVisible(false);
  const int Before = C.Paints;
  Opaque.SetCaption("hidden");
  EXPECT_EQ(C.Paints, Before);
  Opaque.SetDesigning(true);
  Opaque.SetCaption("designed");
  EXPECT_EQ(C.Paints, Before + 1);
  Opaque.SetEmbedded(true);
  Opaque.SetCaption("in a chart");
  EXPECT_EQ(C.Paints, Before + 1);
}

TEST(ScaleControl, SuspendForceAndHostCanvas) {
  TScale S(nullptr);
  TPaintCounter C;
  C.Attach(S);
  TBitmap Host(400, 400);
  S.SetHostCanvas(&Host.Canvas(), 0, 0);
  S.SetEmbedded(true);
  EXPECT_EQ(C.Paints, 0);
  S.ForcePaint();
  EXPECT_EQ(C.Paints, 1);
  EXPECT_TRUE(S.PaintSuspended());  // restored
  EXPECT_EQ(S.NumTicks(), 21);
  S.SetPaintSuspended(false);
  EXPECT_EQ(C.Paints, 2);
  S.SetPaintSuspended(false);  // no change, no paint
  EXPECT_EQ(C.Paints, 2);
  S.SetPaintSuspended(true);
  S.SetCaption("q");
  EXPECT_EQ(C.Paints, 2);

  // A handler that changes the scale while it paints does not recurse.
  S.SetPaintSuspended(false);
  int Depth = 0, MaxDepth = 0;
  S.OnScaleTickDrawn = [&](TObject*, TCanvas&, TScaleType, double, int, int) {
    ++Depth;
    MaxDepth = std::max(MaxDepth, Depth);
    S.SetCaption("again");
    --Depth;
  };
  S.ForcePaint();
  EXPECT_EQ(MaxDepth, 1);
}

TEST(ScaleControl, DateFormatChangesRepaintAndKeepTheirHook) {
  TScale S(nullptr);
  TPaintCounter C;
  C.Attach(S);
  S.HandleNeeded();
  S.DateFormat().SetDateOrder(doYYMMDD);
  EXPECT_EQ(C.Paints, 1);
  TDTLabel Other;
  int OtherChanges = 0;
  Other.OnChange = [&](TObject*) { ++OtherChanges; };
  Other.SetYearLength(ylYY);
  OtherChanges = 0;
  S.SetDateFormat(Other);
  EXPECT_EQ(S.DateFormat().YearLength(), ylYY);
  const int After = C.Paints;
  S.DateFormat().SetTimeFormat(tfAMPM);  // still reports to the scale only
  EXPECT_EQ(C.Paints, After + 1);
  EXPECT_EQ(OtherChanges, 0);
}

TEST(ScaleControl, DoubleClickSwitchesPanAndZoom) {
  TScale S(nullptr);
  int Clicks = 0;
  S.OnDblClick = [&](TObject*) { ++Clicks; };
  S.SetMouseAction(maPan);
  S.DblClick();
  EXPECT_EQ(S.MouseAction(), maZoom);
  S.DblClick();
  EXPECT_EQ(S.MouseAction(), maPan);
  S.SetMouseAction(maZoomDrag);
  S.DblClick();
  EXPECT_EQ(S.MouseAction(), maZoomDrag);
  EXPECT_EQ(Clicks, 3);
}

TEST(ScaleControl, DragHandlerSeesMovesAndReleases) {
  TScale S(nullptr);
  std::vector<TScaleDragStep> Steps;
  SetScaleDragHandler([&](TScale& Scale, TScaleDragStep Step, TShiftState, int, int) {
    EXPECT_EQ(&Scale, &S);
    Steps.push_back(Step);
    if (Step == sdsMove) Scale.DragState().Dragging = true;
  });
  S.WMMouseMove(TShiftState{ssLeft}, 50, 10);
  EXPECT_TRUE(S.DragState().Dragging);
  S.WMButtonUp(mbLeft, TShiftState{}, 60, 10);
  EXPECT_FALSE(S.DragState().Dragging);
  SetScaleDragHandler(nullptr);
  S.WMMouseMove(TShiftState{ssLeft}, 50, 10);
  EXPECT_EQ(Steps, (std::vector<TScaleDragStep>{sdsMove, sdsRelease}));
}

TEST(ScaleControl, AssignCopiesSettingsButNotFontOrMouse) {
  TScale A(nullptr);
  A.SetRange(-5, 5);
  A.SetScaleType(sctYR);
  A.SetCaption("amps");
  A.SetUserTickText("a|b");
  A.SetMinTicks(7);
  A.SetColorScheme(csSystem);
  A.DateFormat().SetDateOrder(doMMDDYY);
  A.SetMouseAction(maPan);
  A.Font().SetName("Courier");
  A.SetHostCanvas(nullptr, 3, 4);
  A.SetEmbedded(true);
  int Ticks = 0;
  A.OnScaleTickDrawn = [&](TObject*, TCanvas&, TScaleType, double, int, int) { ++Ticks; };
  A.OnZoomPan = [](TObject*) {};
  TBitmap Host(400, 400);
  A.SetHostCanvas(&Host.Canvas(), 3, 4);
  A.ForcePaint();
  const int Painted = Ticks;

  TScale B(nullptr);
  const std::string BFont = B.Font().Name();
  B.Assign(A);
  EXPECT_EQ(B.RangeLow(), -5);
  EXPECT_EQ(B.RangeHigh(), 5);
  EXPECT_EQ(B.ScaleType(), sctYR);
  EXPECT_EQ(B.Caption(), "amps");
  EXPECT_EQ(B.UserTickText(), "a|b");
  EXPECT_EQ(B.MinTicks(), 7);
  EXPECT_EQ(B.FrameShadowColor(), clBtnShadow);
  EXPECT_EQ(B.DateFormat().DateOrder(), doMMDDYY);
  EXPECT_EQ(B.ScaleFactor(), A.ScaleFactor());
  EXPECT_EQ(B.NumTicks(), A.NumTicks());
  EXPECT_EQ(B.GetTickPos(2), A.GetTickPos(2));
  EXPECT_EQ(B.HostOffsetX(), 3);
  EXPECT_EQ(B.HostCanvas(), nullptr);
  EXPECT_TRUE(B.Embedded());
  EXPECT_EQ(B.Font().Name(), BFont);
  EXPECT_EQ(B.MouseAction(), maNone);
  EXPECT_FALSE(static_cast<bool>(B.OnZoomPan));
  ASSERT_TRUE(static_cast<bool>(B.OnScaleTickDrawn));
  // The copied tick list is independent, the format still reports to B.
  A.SetRange(0, 1);
  A.ForcePaint();
  EXPECT_EQ(B.RangeHigh(), 5);
  EXPECT_NE(B.GetTickPos(2), A.GetTickPos(2));
  EXPECT_GT(Ticks, Painted);

  TScale C(nullptr);
  A.AssignTo(C);
  EXPECT_EQ(C.RangeHigh(), 1);
  TFont NotAScale;
  EXPECT_THROW(C.Assign(NotAScale), EConvertError);
  EXPECT_EQ(C.RangeHigh(), 1);
}

TEST(ScaleControl, PlacedOnAFormFromItsDescription) {
  TForm Form(nullptr);
  ReadComponentFromJson(Form, R"({"object": "Form1", "class": "TForm", "properties": {},
    "children": [{"object": "Scale1", "class": "TScale", "properties": {
      "Width": 300, "Height": 80, "RangeLow": 0.0, "RangeHigh": 50.0, "Logarithmic": true,
      "ScaleType": "sctXT", "LabelType": "ftTime", "ColorBackGnd": "clWhite",
      "CaptionAnchor": "uaSclCenter", "MouseAction": "maPan",
      "DateFormat": {"DateOrder": "doYYMMDD"}}}]})");
  auto* S = dynamic_cast<TScale*>(Form.FindComponent("Scale1"));
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->Width(), 300);
  EXPECT_EQ(S->RangeHigh(), 50);
  EXPECT_TRUE(S->Logarithmic());  // accepted while loading
  EXPECT_EQ(S->ScaleType(), sctXT);
  EXPECT_EQ(S->LabelType(), ftTime);
  EXPECT_EQ(S->DecPlaces(), 4);
  EXPECT_EQ(S->ColorBackGnd(), clWhite);
  EXPECT_EQ(S->CaptionAnchor(), uaSclCenter);
  EXPECT_EQ(S->MouseAction(), maPan);
  EXPECT_EQ(S->DateFormat().DateOrder(), doYYMMDD);
  // Once loaded, the range check of Logarithmic applies.
  S->SetLogarithmic(false);
  EXPECT_DOUBLE_EQ(S->ScaleFactor(), 259.0 / 50);
  S->SetLogarithmic(true);
  EXPECT_FALSE(S->Logarithmic());

  // Written back, only values that differ from the defaults appear.
  const std::string Text = WriteComponentToJson(Form);
  EXPECT_NE(Text.find("\"RangeHigh\""), std::string::npos);
  EXPECT_EQ(Text.find("\"RangeLow\""), std::string::npos);
  EXPECT_NE(Text.find("\"sctXT\""), std::string::npos);

  TForm Bad(nullptr);
  EXPECT_THROW(ReadComponentFromJson(Bad, R"({"object": "F", "class": "TForm", "properties": {},
    "children": [{"object": "S", "class": "TScale", "properties": {"ScaleType": "sctZZ"}}]})"),
               EReadError);
}

}  // namespace
}  // namespace zkw
