// The chart's model through the component: the demo's transform, layer
// clamping, isometric ranges, joined layers, sharing between charts (with
// destruction in every order) and the demo's stored values read from a form
// description and written back.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <climits>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "platform/formstream.h"
#include "platform/forms.h"
#include "platform/properties.h"
#include "platform/screen.h"

namespace zkw {
namespace {

// A chart shaped like the demo's: 505 by 345, margins 50, 20, 20, 40.
void MakeDemoLike(TVexa& Chart) {
  Chart.SetBounds(8, 8, 505, 345);
  Chart.Scale1X().SetRangeLow(1000);
  Chart.Scale1X().SetRangeHigh(3300);
  Chart.Scale1Y().SetRangeLow(-2);
  Chart.Scale1Y().SetRangeHigh(3);
}

TEST(VexaTransform, DemoLayerOneMapsOntoThePlotEdges) {
  TVexa Chart(nullptr);
  MakeDemoLike(Chart);
  int PX = 0, PY = 0;
  Chart.WorldToPixel(1, 1000, 3, PX, PY);
  EXPECT_EQ(PX, 50);
  EXPECT_EQ(PY, 20);
  Chart.WorldToPixel(1, 3300, -2, PX, PY);
  EXPECT_EQ(PX, 485);
  EXPECT_EQ(PY, 305);
  double X = 0, Y = 0;
  Chart.PixelToWorld(1, 50, 305, X, Y);
  EXPECT_NEAR(X, 1000.0, 1e-9);
  EXPECT_NEAR(Y, -2.0, 1e-12);
  // Layer numbers outside 1..16 act as the nearest layer.
  Chart.ScalePropsX(16).SetRangeHigh(10);
  int QX = 0, QY = 0;
  Chart.WorldToPixel(0, 1000, 3, QX, QY);
  EXPECT_EQ(QX, 50);
  Chart.WorldToPixel(17, 10, 1, QX, QY);
  Chart.WorldToPixel(16, 10, 1, PX, PY);
  EXPECT_EQ(QX, PX);
  EXPECT_EQ(QX, 485);
}

TEST(VexaTransform, LogarithmicErrorAndShrinkingControl) {
  TVexa Chart(nullptr);
  Chart.Scale2X().SetRangeLow(-1);
  // Never loaded, so the switch is taken unchecked; the chart refuses the
  // range it cannot map, and the axis stays linear.
  try {
    Chart.Scale2X().SetLogarithmic(true);
    ADD_FAILURE() << "the switch was taken";
  } catch (const EZKWVexaError& E) {
    EXPECT_EQ(E.Message(), "Logarithmic axis must not be negative.");
  }
  EXPECT_FALSE(Chart.Scale2X().Logarithmic());
  EXPECT_NO_THROW(Chart.ComputeFactors());
  // The control never gets smaller than margins plus 80 by 20.
  Chart.SetBounds(0, 0, 10, 10);
  EXPECT_EQ(Chart.Width(), 50 + 20 + 80);
  EXPECT_EQ(Chart.Height(), 20 + 40 + 20);
}

// A range change the chart refuses (a logarithmic axis with an end at or
// below zero) leaves the chart of a host's code as it was, sized or not,
// shown or not: the axis reads back as before, and nothing later fails.
TEST(VexaTransform, ARefusedLogarithmicRangeLeavesTheChartAsItWas) {
  auto Picture = [](TVexa& C) {
    C.Repaint();
    return C.ControlImage().Image().copy();
  };
  for (const bool Sized : {false, true}) {
    TVexa Chart(nullptr), Untouched(nullptr);
    for (TVexa* C : {&Chart, &Untouched}) {
      if (Sized) {
        MakeDemoLike(*C);
        C->HandleNeeded();
      }
      C->Scale1Y().SetRangeLow(-10);
      C->Scale1Y().SetRangeHigh(100);
      C->Scale3X().SetRangeLow(1);
      C->Scale3X().SetRangeHigh(2);
      C->Scale3X().SetLogarithmic(true);
    }
    EXPECT_THROW(Chart.Scale1Y().SetLogarithmic(true), EZKWVexaError) << Sized;
    EXPECT_FALSE(Chart.Scale1Y().Logarithmic());
    EXPECT_EQ(Chart.Scale1Y().RangeLow(), -10);
    EXPECT_EQ(Chart.Scale1Y().RangeHigh(), 100);
    // A minimum range that would widen a logarithmic axis below zero.
    ASSERT_TRUE(Chart.Scale3X().Logarithmic());
    EXPECT_THROW(Chart.Scale3X().SetMinRange(10), EZKWVexaError);
    EXPECT_TRUE(Chart.Scale3X().Logarithmic());
    EXPECT_EQ(Chart.Scale3X().RangeLow(), 1);
    EXPECT_EQ(Chart.Scale3X().RangeHigh(), 2);
    EXPECT_EQ(Chart.Scale3X().MinRange(), 1e-10);
    // A whole range object the chart cannot use is refused before it is copied.
    TScalePropsVert Bad;
    Bad.SetRangeLow(-5);
    Bad.SetLogarithmic(true);
    EXPECT_THROW(Chart.SetScale2Y(Bad), EZKWVexaError);
    EXPECT_FALSE(Chart.Scale2Y().Logarithmic());
    EXPECT_EQ(Chart.Scale2Y().RangeLow(), 0);
    // Nothing later fails because of them.
    for (TVexa* C : {&Chart, &Untouched}) {
      EXPECT_NO_THROW(C->Scale2Y().SetRangeLow(1)) << Sized;
      EXPECT_NO_THROW(C->SetBounds(8, 8, 400, 300)) << Sized;
      EXPECT_NO_THROW(C->ComputeFactors()) << Sized;
    }
    if (Sized) {
      EXPECT_TRUE(Picture(Chart) == Picture(Untouched));
    }
  }
}

// Indices a host passes: items and trace points outside their count raise
// the chart's error naming the index and the count (never a read outside the
// store); crosshairs, text labels and layers act as the nearest valid one;
// other counted things answer "nothing there".
TEST(VexaIndices, EveryIndexFromTheHostIsCheckedOrClamped) {
  TVexa Chart(nullptr);
  MakeDemoLike(Chart);
  double Distance = 0;
  const int Nothing = Chart.FindNearestItem(1, 255, 2000, 0, Distance);
  ASSERT_EQ(Nothing, -1);
  try {
    Chart.GetItem(Nothing);
    ADD_FAILURE() << "GetItem(-1) of an empty store returned";
  } catch (const EZKWVexaError& E) {
    EXPECT_EQ(E.Message(), "GetItem: index -1 is out of range (0 items in the data store)");
  }
  Chart.AddMark(2000, 0, 7);
  Chart.AddMark(2100, 1, 7);
  for (const int Bad : {-1, 2, 3, INT_MIN, INT_MAX}) EXPECT_THROW(Chart.GetItem(Bad), EZKWVexaError) << Bad;
  try {
    Chart.GetItem(2);
  } catch (const EZKWVexaError& E) {
    EXPECT_EQ(E.Message(), "GetItem: index 2 is out of range (2 items in the data store, valid 0..1)");
  }
  EXPECT_EQ(Chart.GetItem(1).X, 2100);
  Chart.RemoveLastItem();
  EXPECT_THROW(Chart.GetItem(1), EZKWVexaError);  // the slot is still there, the item is not
  EXPECT_THROW(Chart.MouseTracePoint(0), EZKWVexaError);
  EXPECT_THROW(Chart.MouseTracePoint(-1), EZKWVexaError);
  EXPECT_EQ(&Chart.CrossHair(0), &Chart.CrossHair(1));
  EXPECT_EQ(&Chart.CrossHair(INT_MAX), &Chart.CrossHair(4));
  EXPECT_EQ(&Chart.TextLabel(INT_MIN), &Chart.TextLabel(1));
  EXPECT_EQ(&Chart.TextLabel(51), &Chart.TextLabel(50));
  EXPECT_EQ(&Chart.ScalePropsX(INT_MIN), &Chart.ScalePropsX(1));
  EXPECT_EQ(&Chart.ScaleControlY(INT_MAX), &Chart.ScaleControlY(16));
  Chart.SetLayerVisible(INT_MAX, false);
  EXPECT_FALSE(Chart.LayerVisible(16));
  Chart.SetLayerMouseEnabled(0, true);
  EXPECT_FALSE(Chart.LayerMouseEnabled(0));
  EXPECT_EQ(Chart.KindCount(-1), 0);
  EXPECT_EQ(Chart.DataTexts()[0], "");
  EXPECT_EQ(Chart.DataTexts()[51], "");
  EXPECT_EQ(Chart.ScaleControlX(1).GetTickPos(0), 0);
  EXPECT_EQ(Chart.ScaleControlX(1).GetTickPos(INT_MAX), 0);
}

TEST(VexaIsometric, YRangesFollowTheXScale) {
  TVexa Chart(nullptr);
  // Plot of 200 by 100 image pixels.
  Chart.SetBounds(0, 0, 50 + 20 + 199, 20 + 40 + 99);
  for (int L = 1; L <= 16; ++L) {
    Chart.ScalePropsX(L).SetRangeHigh(10);
    Chart.ScalePropsY(L).SetRangeLow(2);
    Chart.ScalePropsY(L).SetRangeHigh(4);
  }
  Chart.SetIsometric(true);
  for (int L = 1; L <= 16; ++L) {
    EXPECT_NEAR(Chart.ScalePropsY(L).RangeHigh() - Chart.ScalePropsY(L).RangeLow(), 5.0, 1e-12) << L;
    EXPECT_NEAR(Chart.ScalePropsY(L).RangeLow(), 0.5, 1e-12) << L;
  }
  // While on, a margin change applies the rule again.
  Chart.SetMarginRight(20 + 100);
  EXPECT_NEAR(Chart.Scale1Y().RangeHigh() - Chart.Scale1Y().RangeLow(), 10.0, 1e-12);
}

TEST(VexaJoinedLayers, JoinsCopyTheRangeAndCarryZooms) {
  TVexa Chart(nullptr);
  Chart.Scale1X().SetRangeHigh(50);
  Chart.Scale1Y().SetRangeLow(-7);
  Chart.JointLayers().SetL02yControlledBy(1);
  EXPECT_EQ(Chart.Scale2Y().RangeLow(), -7.0);
  EXPECT_EQ(Chart.Scale2X().RangeHigh(), 1.0);  // the x range stays its own
  Chart.JointLayers().SetL03xControlledBy(1);
  EXPECT_EQ(Chart.ScalePropsX(3).RangeHigh(), 50.0);
  EXPECT_THROW(Chart.JointLayers().SetL04xControlledBy(3), EZKWVexaError);
  // A zoom of layer 1 carries over to the layers that follow it.
  Chart.SetRange(1, true, false, 10, -1, 20, 1);
  EXPECT_EQ(Chart.Scale2Y().RangeLow(), -1.0);
  EXPECT_EQ(Chart.Scale2Y().RangeHigh(), 1.0);
  EXPECT_EQ(Chart.Scale2X().RangeHigh(), 1.0);
  EXPECT_EQ(Chart.ScalePropsX(3).RangeLow(), 10.0);
  EXPECT_EQ(Chart.ScalePropsX(3).RangeHigh(), 20.0);
  // A zoom on a follower changes only its free axis.
  Chart.SetRange(3, true, false, 100, 5, 200, 6);
  EXPECT_EQ(Chart.ScalePropsX(3).RangeLow(), 10.0);
  EXPECT_EQ(Chart.ScalePropsY(3).RangeLow(), 5.0);
  // Ranges narrower than MinRange are ignored.
  Chart.SetRange(1, false, false, 5, 0, 5 + 1e-12, 1);
  EXPECT_EQ(Chart.Scale1X().RangeLow(), 10.0);
}

TEST(VexaJoinedLayers, NamedRangesDoWhatTheSpelledOutFormDoes) {
  TVexa Named(nullptr), Spelled(nullptr);
  for (TVexa* C : {&Named, &Spelled}) {
    C->JointLayers().SetL02yControlledBy(1);
    C->ResetRangeHistory();
  }
  Named.SetRange(1, {10, 20}, {-1, 1}, {.PushHistory = true});
  Spelled.SetRange(1, true, false, 10, -1, 20, 1);
  for (int L : {1, 2}) {
    EXPECT_EQ(Named.ScalePropsX(L).RangeLow(), Spelled.ScalePropsX(L).RangeLow());
    EXPECT_EQ(Named.ScalePropsX(L).RangeHigh(), Spelled.ScalePropsX(L).RangeHigh());
    EXPECT_EQ(Named.ScalePropsY(L).RangeLow(), Spelled.ScalePropsY(L).RangeLow());
    EXPECT_EQ(Named.ScalePropsY(L).RangeHigh(), Spelled.ScalePropsY(L).RangeHigh());
  }
  EXPECT_EQ(Named.Scale1X().RangeLow(), 10.0);
  EXPECT_EQ(Named.Scale2Y().RangeHigh(), 1.0);
  EXPECT_EQ(Named.RangeHistory().Position(), Spelled.RangeHistory().Position());
  // No switch set: a layer no other follows records nothing.
  const int Recorded = Named.RangeHistory().Position();
  Named.SetRange(3, {30, 40}, {-2, 2});
  EXPECT_EQ(Named.ScalePropsX(3).RangeLow(), 30.0);
  EXPECT_EQ(Named.RangeHistory().Position(), Recorded);
}

TEST(VexaTransform, SettingARangeObjectCopiesItAndKeepsTheChartListening) {
  TVexa Chart(nullptr);
  TScalePropsHoriz Given;  // a caller's object without any notification
  Given.SetRangeHigh(500);
  Given.SetScaleLocation(slTop);
  Chart.SetScale1X(Given);
  EXPECT_EQ(Chart.Scale1X().ScaleLocation(), slTop);
  int PX = 0, PY = 0;
  Chart.WorldToPixel(1, 500, 0, PX, PY);
  EXPECT_EQ(PX, Chart.Width() - Chart.MarginRight());
  EXPECT_EQ(Chart.ScaleControlX(1).RangeHigh(), 500.0);
  // Later changes of the chart's own object still reach the transform.
  Chart.Scale1X().SetRangeHigh(250);
  Chart.WorldToPixel(1, 250, 0, PX, PY);
  EXPECT_EQ(PX, Chart.Width() - Chart.MarginRight());
  Given.SetRangeHigh(9);  // the caller's object stays the caller's
  EXPECT_EQ(Chart.Scale1X().RangeHigh(), 250.0);
}

TEST(VexaJoinedLayers, PanLimitsInPanModesKeepTheWidth) {
  TVexa Chart(nullptr);
  Chart.SetPanLimits(0, -10, 100, 10);
  Chart.SetMouseAction(maPanHoriz);
  Chart.SetRange(1, false, true, -5, -20, 15, -15);
  EXPECT_EQ(Chart.Scale1X().RangeLow(), 0.0);
  EXPECT_EQ(Chart.Scale1X().RangeHigh(), 20.0);
  // maPanHoriz is no pan mode for y: each end is pulled in on its own, which
  // leaves -10..-10, narrower than MinRange, so the y range stays.
  EXPECT_EQ(Chart.Scale1Y().RangeLow(), 0.0);
  EXPECT_EQ(Chart.Scale1Y().RangeHigh(), 1.0);
  Chart.SetRange(1, false, true, 0, -20, 10, 5);
  EXPECT_EQ(Chart.Scale1Y().RangeLow(), -10.0);
  EXPECT_EQ(Chart.Scale1Y().RangeHigh(), 5.0);
}

// Records what the information message box would show.
struct MessageRecorder {
  std::vector<std::string> Texts;
  MessageRecorder() {
    SetMessageBoxHook([this](const std::string& Text) { Texts.push_back(Text); });
  }
  ~MessageRecorder() { SetMessageBoxHook(nullptr); }
};

TEST(VexaSharing, ChartsShareThroughTheSourceAndReportRefusals) {
  MessageRecorder Messages;
  TVexa A(nullptr), B(nullptr), C(nullptr);
  A.AddMark(1, 1, 1);
  B.SetUseDataOf(&A);
  C.SetUseDataOf(&B);
  EXPECT_EQ(C.UseDataOf(), &A);
  EXPECT_EQ(C.ItemCount(), 1);
  C.AddMark(2, 2, 1);
  EXPECT_EQ(A.ItemCount(), 2);
  EXPECT_EQ(B.GetItem(1).X, 2.0);
  A.SetUseDataOf(&A);
  A.SetUseDataOf(&C);
  std::array<std::unique_ptr<TVexa>, 3> More;
  for (auto& M : More) {
    M = std::make_unique<TVexa>(nullptr);
    M->AddMark(9, 9, 9);
  }
  More[0]->SetUseDataOf(&A);
  More[1]->SetUseDataOf(&A);
  More[2]->SetUseDataOf(&A);  // the fifth
  ASSERT_EQ(Messages.Texts.size(), 3u);
  EXPECT_EQ(Messages.Texts[0], "Vexa: Cannot share data with myself");
  EXPECT_EQ(Messages.Texts[1], "Vexa: Cannot use foreign data. Other Vexas are using my own data.");
  EXPECT_EQ(Messages.Texts[2], "Vexa: Max. number of data shares exceeded");
  EXPECT_EQ(More[2]->UseDataOf(), nullptr);
  EXPECT_EQ(More[2]->ItemCount(), 1);
  EXPECT_EQ(More[2]->GetItem(0).X, 9.0);
  // Leaving keeps the items of the moment.
  B.SetUseDataOf(nullptr);
  A.ClearItems();
  EXPECT_EQ(B.ItemCount(), 2);
  EXPECT_EQ(C.ItemCount(), 0);
}

TEST(VexaSharing, DestroyingChartsOfAGroupInEveryOrder) {
  std::vector<int> Order = {0, 1, 2, 3};
  do {
    std::array<std::unique_ptr<TVexa>, 4> Charts;
    for (auto& C : Charts) C = std::make_unique<TVexa>(nullptr);
    Charts[0]->AddMark(1, 2, 3);
    Charts[1]->SetUseDataOf(Charts[0].get());
    Charts[2]->SetUseDataOf(Charts[0].get());
    Charts[3]->SetUseDataOf(Charts[1].get());
    for (int Victim : Order) {
      Charts[static_cast<std::size_t>(Victim)].reset();
      for (auto& C : Charts) {
        if (!C) continue;
        TCustomVexa* Source = C->UseDataOf();
        EXPECT_TRUE(Source == nullptr ||
                    std::any_of(Charts.begin(), Charts.end(), [Source](auto& P) { return P.get() == Source; }));
        C->AddMark(4, 5, 6);
        C->Redraw();
        C->RemoveLastItem();
        EXPECT_EQ(C->ItemCount(), 1);
      }
    }
  } while (std::next_permutation(Order.begin(), Order.end()));
}

TEST(VexaAssign, CopyStandsOutsideTheSourcesGroup) {
  TVexa A(nullptr), B(nullptr), Copy(nullptr);
  A.AddMark(1, 1, 1);
  B.SetUseDataOf(&A);
  B.SetCaption("shared");
  B.SetMarginLeft(77);
  B.Scale1X().SetRangeHigh(42);
  Copy.Assign(B);
  EXPECT_EQ(Copy.Caption(), "shared");
  EXPECT_EQ(Copy.MarginLeft(), 77);
  EXPECT_EQ(Copy.Scale1X().RangeHigh(), 42.0);
  EXPECT_EQ(Copy.UseDataOf(), nullptr);
  EXPECT_EQ(Copy.ItemCount(), 1);
  EXPECT_EQ(Copy.ItemCapacity(), 1000);
  EXPECT_EQ(A.Share().UserCount(), 1);
  A.AddMark(2, 2, 2);
  EXPECT_EQ(Copy.ItemCount(), 1);
  // The copy's range objects report to the copy, not to B.
  Copy.Scale1X().SetRangeHigh(60);
  EXPECT_EQ(B.Scale1X().RangeHigh(), 42.0);
  int PX = 0, PY = 0;
  Copy.WorldToPixel(1, 60, 0, PX, PY);
  EXPECT_EQ(PX, Copy.Width() - Copy.MarginRight());
  B.AssignTo(Copy);
  EXPECT_EQ(Copy.Scale1X().RangeHigh(), 42.0);
}

// A form class for reading descriptions: publishes the demo's chart handler.
class TChartTestForm : public TForm {
 public:
  explicit TChartTestForm(TComponent* Owner) : TForm(Owner) {
    PublishHandler("VX1MouseMoveInChart",
                   TMouseMoveInChartEvent([this](TObject*, bool, TShiftState, double, double) { ++Moves; }));
  }
  std::string ClassName() const override { return "TChartTestForm"; }
  int Moves = 0;
};

const bool TestFormRegistered = [] {
  RegisterClass<TChartTestForm>("TChartTestForm", "TForm");
  return true;
}();

const char* const DemoFont = R"({"Charset": 1, "Color": "clWindowText", "Height": -13, "Name": "MS Sans Serif", "Style": []})";

std::string ScaleJson(int PosX, int PosY, const char* Align, const char* Anchor, const char* Color,
                      const std::string& Range, bool Visible, const char* Location) {
  return std::string(R"({"CaptionPosX": )") + std::to_string(PosX) + R"(, "CaptionPosY": )" + std::to_string(PosY) +
         R"(, "CaptionAlignment": ")" + Align + R"(", "CaptionAnchor": ")" + Anchor + R"(", "ColorScale": ")" +
         Color +
         R"(", "DateFormat": {"TimeFormat": "tfHHMMSS", "DateSeparator": "-", "TimeSeparator": ":", "YearLength": "ylYYYY", "MonthName": true, "DateOrder": "doDDMMYY", "DateForTime": "dtOnePerDay"}, "DecPlaces": -2, "Font": )" +
         DemoFont + R"(, "Logarithmic": false, "LabelType": "ftNum", "MinTicks": 3, "MinRange": 1e-10)" + Range +
         R"(, "ShortTicks": true, "ScalePos": 0, "Visible": )" + (Visible ? "true" : "false") +
         R"(, "ScaleLocation": ")" + Location + "\"}";
}

std::string CrossHairJson(int Layer) {
  return R"({"Color": "clBlack", "Layer": )" + std::to_string(Layer) +
         R"(, "Mode": "chOff", "LineType": "psSolid", "LineWid": 1})";
}

std::string DemoDescription() {
  return std::string(R"({"object": "Form1", "class": "TChartTestForm", "properties": {"Caption": "Form1"},
    "children": [{"object": "VX1", "class": "TVexa", "properties": {
      "Left": 8, "Top": 8, "Width": 505, "Height": 345, "AllocSize": 1000, "AutoRedraw": true,
      "MarginRight": 20, "RRim": 20, "MarginTop": 20, "TRim": 20, "MarginBottom": 40, "BRim": 40,
      "BackGroundImg": {"IncludePath": false, "FillMode": "bfStretch", "AreaMode": "bamNone", "AreaColor": 14540253,
                        "AreaLeft": -1.0, "AreaRight": 1.0, "AreaTop": 1.0, "AreaBottom": -1.0},
      "ClassDefault": 0, "GridStyle": "gsNone", "GridDx": 1.0, "GridDy": 1.0, "Isometric": false,
      "JointLayers": {"L01xControlledBy": 1, "L01yControlledBy": 1, "L02xControlledBy": 2, "L02yControlledBy": 2},
      "CaptionPosX": 0, "CaptionPosY": -16, "CaptionAlignment": "taRightJustify",
      "CaptionAnchorHoriz": "cahChartRight", "CaptionAnchorVert": "cavChartTop",
      "CrossHair1": )") +
         CrossHairJson(1) + R"(, "CrossHair2": )" + CrossHairJson(2) + R"(, "CrossHair3": )" + CrossHairJson(3) +
         R"(, "CrossHair4": )" + CrossHairJson(4) + R"(,
      "MouseAction": "maNone", "MouseCursorFixed": true,
      "Scale1X": )" +
         ScaleJson(0, 22, "taCenter", "uaSclCenter", "clBlack", R"(, "RangeLow": 1000.0, "RangeHigh": 3300.0)", true,
                   "slBottom") +
         R"(, "Scale1Y": )" +
         ScaleJson(0, -16, "taLeftJustify", "uaSclTopLft", "clBlack", R"(, "RangeLow": -2.0, "RangeHigh": 3.0)", true,
                   "slLeft") +
         R"(, "Scale2X": )" +
         ScaleJson(10, 100, "taCenter", "uaSclCenter", "clMaroon", R"(, "RangeHigh": 1.0)", false, "slBottom") +
         R"(, "Scale2Y": )" +
         ScaleJson(10, 100, "taRightJustify", "uaSclTopLft", "clMaroon", R"(, "RangeHigh": 1.0)", false, "slLeft") +
         R"(,
      "ShadowStyle": "ssFlying", "ShadowColor": "clGray", "ShadowBakColor": "clSilver",
      "TextFontStyle": [], "TextBkStyle": "tbClear", "TextBkColor": "clWhite", "TextAlignment": "taCenter",
      "OnMouseMoveInChart": "VX1MouseMoveInChart"}}]})";
}

TEST(VexaForm, DemoStoredValuesLoadAndReadBack) {
  TChartTestForm Form(nullptr);
  ReadComponentFromJson(Form, DemoDescription());
  auto* Chart = dynamic_cast<TVexa*>(Form.FindComponent("VX1"));
  ASSERT_NE(Chart, nullptr);
  EXPECT_EQ(Chart->Width(), 505);
  EXPECT_EQ(Chart->MarginLeft(), 50);
  EXPECT_EQ(Chart->MarginBottom(), 40);
  EXPECT_EQ(Chart->FillColor(), clWhite);
  EXPECT_EQ(Chart->GridDx(), 1.0);
  EXPECT_EQ(Chart->ShadowColor(), clGray);
  EXPECT_EQ(Chart->CrossHair(4).Layer(), 4);
  EXPECT_EQ(Chart->CrossHair(2).LineType(), psSolid);
  EXPECT_EQ(Chart->Scale2X().ColorScale(), clMaroon);
  EXPECT_FALSE(Chart->Scale2X().Visible());
  EXPECT_FALSE(Chart->Scale1X().Loading());  // loading has ended
  ASSERT_TRUE(Chart->OnMouseMoveInChart);
  Chart->OnMouseMoveInChart(Chart, true, {}, 0, 0);
  EXPECT_EQ(Form.Moves, 1);
  // Loaded computed the transform.
  int PX = 0, PY = 0;
  Chart->WorldToPixel(1, 1000, 3, PX, PY);
  EXPECT_EQ(PX, 50);
  EXPECT_EQ(PY, 20);
  Chart->WorldToPixel(1, 3300, -2, PX, PY);
  EXPECT_EQ(PX, 485);
  EXPECT_EQ(PY, 305);
  EXPECT_EQ(Chart->ScaleControlX(1).RangeHigh(), 3300.0);

  // Written back and read into a fresh form, the chart holds the same values.
  const std::string Written = WriteComponentToJson(Form);
  // 20 is the right margin of a new chart, so it is not written.
  EXPECT_EQ(Written.find("\"RRim\""), std::string::npos);
  EXPECT_EQ(Written.find("StandardLayout"), std::string::npos);
  TChartTestForm Again(nullptr);
  ReadComponentFromJson(Again, Written);
  auto* Chart2 = dynamic_cast<TVexa*>(Again.FindComponent("VX1"));
  ASSERT_NE(Chart2, nullptr);
  EXPECT_EQ(Chart2->Scale1X().RangeLow(), 1000.0);
  EXPECT_EQ(Chart2->Scale1Y().RangeHigh(), 3.0);
  EXPECT_EQ(Chart2->MarginTop(), 20);
  EXPECT_EQ(Chart2->TextBkColor(), clWhite);
  EXPECT_EQ(WriteComponentToJson(Again), Written);
}

TEST(VexaForm, BadStoredValuesAreReadingErrors) {
  TChartTestForm Form(nullptr);
  const std::string Bad =
      R"({"object": "Form1", "class": "TChartTestForm", "children": [{"object": "VX1", "class": "TVexa",
         "properties": {"JointLayers": {"L02xControlledBy": 17}}}]})";
  EXPECT_THROW(ReadComponentFromJson(Form, Bad), EReadError);
  EXPECT_EQ(Form.FindComponent("VX1"), nullptr);
}

// A form description may give the margins and scale offsets any 32-bit
// value; loading such a chart gives a defined plot and transform.
TEST(VexaForm, ExtremeMarginsAndScaleOffsetsLoad) {
  TChartTestForm Form(nullptr);
  const std::string Description =
      R"({"object": "Form1", "class": "TChartTestForm", "children": [{"object": "VX1", "class": "TVexa",
         "properties": {"Left": 0, "Top": 0, "Width": 280, "Height": 200,
           "MarginLeft": -2147483648, "MarginRight": -2147483648, "MarginTop": -2147483648,
           "MarginBottom": -2147483648, "ShadowWidth": 32,
           "Scale1X": {"RangeLow": 0.0, "RangeHigh": 1.0, "ScalePos": 2147483647, "Visible": true},
           "Scale1Y": {"RangeLow": 0.0, "RangeHigh": 1.0, "ScalePos": -2147483647, "Visible": true}}}]})";
  ReadComponentFromJson(Form, Description);
  auto* Chart = dynamic_cast<TVexa*>(Form.FindComponent("VX1"));
  ASSERT_NE(Chart, nullptr);
  EXPECT_EQ(Chart->MarginLeft(), -2147483647 - 1);
  EXPECT_EQ(Chart->Scale1X().ScalePos(), 2147483647);
  int PX = 0, PY = 0;
  Chart->WorldToPixel(1, 0.5, 0.5, PX, PY);
  EXPECT_EQ(PX, 124);  // the middle of -2^31 .. 2^31 + 248
  EXPECT_EQ(PY, 84);
  Chart->WorldToPixel(1, 0, 1, PX, PY);
  EXPECT_EQ(PX, -2147483647);
  EXPECT_EQ(PY, -2147483647);
  // The scale below the plot stands ScalePos + H - B - S from the top: clamped.
  EXPECT_EQ(Chart->ScaleControlX(1).MarginTop(), 2147483647);
  EXPECT_EQ(Chart->ScaleControlY(1).MarginRight(), 280);  // -(2^31 - 1) + 280 + 2^31 - 1
  EXPECT_EQ(Chart->ScaleControlX(1).MarginRight(), 0);
  EXPECT_EQ(Chart->DataImage().Width(), 0);
}

}  // namespace
}  // namespace zkw
