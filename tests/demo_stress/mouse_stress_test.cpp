// A hundred thousand random mouse messages - moves, presses, releases,
// double clicks and wheel turns of every button, at any position including
// far outside the control - through the demo form headless and through a
// chart in each of its mouse actions. Nothing may throw or crash (the
// sanitized build checks the memory), the ranges stay finite and not empty,
// and once every button is up no drag or marking is left running.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "app/frmmain.h"
#include "chart/ZKW_vexa.h"
#include "platform/screen.h"
#include "tests/support/stress_support.h"

namespace zkw {
namespace {

constexpr int MessageCount = 100'000;

// Random messages for one control.
class TMouseMonkey {
 public:
  TMouseMonkey(TCustomControl& Control, unsigned Seed) : FControl(Control), FRng(Seed) {}

  void Send() {
    const std::int16_t X = Coord(FControl.Width()), Y = Coord(FControl.Height());
    const TShiftState S = Shift();
    const int Kind = Pick(10);
    const TMouseButton B = Button();
    FLast = "kind " + std::to_string(Kind) + " button " + std::to_string(B) + " at " + std::to_string(X) + "," +
            std::to_string(Y);
    switch (Kind) {
      case 0:
        FControl.WMButtonDown(B, S, X, Y);
        break;
      case 1:
        FControl.WMButtonUp(B, S, X, Y);
        break;
      case 2:
        FControl.WMButtonDblClk(B, S, X, Y);
        break;
      case 3: {
        static constexpr int Deltas[] = {120, -120, 240, -360, 1, -7, 32767, -32768};
        const int Delta = Deltas[Pick(8)];
        FLast += " wheel " + std::to_string(Delta);
        FControl.WMMouseWheel(S, Delta, X, Y);
        break;
      }
      default:
        FControl.WMMouseMove(S, X, Y);
        break;
    }
  }
  // The latest message, for failure reports.
  const std::string& Last() const { return FLast; }

  // Releases every button where the pointer last was.
  void ReleaseAll() {
    for (TMouseButton B : {mbLeft, mbRight, mbMiddle}) FControl.WMButtonUp(B, TShiftState{}, 10, 10);
  }

  int Pick(int N) { return std::uniform_int_distribution<int>(0, N - 1)(FRng); }

 private:
  // Mostly over the control and close around it, sometimes anywhere a
  // 16-bit message coordinate reaches.
  std::int16_t Coord(int Size) {
    if (Pick(20) == 0) return static_cast<std::int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(FRng));
    return static_cast<std::int16_t>(std::uniform_int_distribution<int>(-60, Size + 60)(FRng));
  }
  TMouseButton Button() { return static_cast<TMouseButton>(Pick(3)); }
  TShiftState Shift() {
    TShiftState S;
    for (TShiftStateItem Item : {ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle})
      if (Pick(4) == 0) S.Include(Item);
    return S;
  }

  TCustomControl& FControl;
  std::mt19937 FRng;
  std::string FLast;
};

::testing::AssertionResult RangesSane(const TCustomVexa& Chart, int Layer) {
  const double XL = Chart.ScalePropsX(Layer).RangeLow(), XH = Chart.ScalePropsX(Layer).RangeHigh();
  const double YL = Chart.ScalePropsY(Layer).RangeLow(), YH = Chart.ScalePropsY(Layer).RangeHigh();
  // A zoom window drawn backwards turns its axes round: the order may flip,
  // but no range may become empty or leave the doubles.
  if (std::isfinite(XL) && std::isfinite(XH) && std::isfinite(YL) && std::isfinite(YH) && XL != XH && YL != YH)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "layer " << Layer << ": x " << XL << " .. " << XH << ", y " << YL << " .. "
                                       << YH;
}

struct TSwallowMessages {
  TSwallowMessages() { SetMessageBoxHook([](const std::string&) {}); }
  ~TSwallowMessages() { SetMessageBoxHook(nullptr); }
};

TEST(StressMouse, RandomMessagesThroughTheDemoForm) {
  TSwallowMessages Quiet;
  auto Form = std::make_unique<TForm1>(nullptr);
  Form->Show();
  TVexa& Chart = *Form->VX1;
  ASSERT_EQ(Chart.ItemCount(), 101);
  TMouseMonkey Monkey(Chart, 7);
  int Snaps = 0;
  for (int I = 0; I < MessageCount && !::testing::Test::HasFailure(); ++I) {
    Monkey.Send();
    // The cursor mark replaces itself: the store keeps its size, and the
    // cursor always sits on one of the hundred data marks.
    ASSERT_EQ(Chart.ItemCount(), 101) << "message " << I;
    const TvxChartItem Cursor = Chart.GetItem(100);
    ASSERT_EQ(Cursor.MarkType, 25);
    if (I % 97 == 0 && Cursor.X != 0.0) {
      bool OnAMark = false;
      for (int M = 0; M < 100 && !OnAMark; ++M) {
        const TvxChartItem Mark = Chart.GetItem(M);
        OnAMark = Mark.X == Cursor.X && Mark.Y == Cursor.Y;
      }
      ASSERT_TRUE(OnAMark) << "message " << I;
      EXPECT_EQ(Form->LblX->Caption(), FormatReadout(Cursor.X));
      EXPECT_EQ(Form->LblY->Caption(), FormatReadout(Cursor.Y));
      ++Snaps;
    }
    ASSERT_TRUE(RangesSane(Chart, 1)) << "message " << I << ": " << Monkey.Last();
  }
  Monkey.ReleaseAll();
  EXPECT_FALSE(Chart.MouseDragging());
  EXPECT_GT(Snaps, 100);  // the cursor really moved over the marks
}

TEST(StressMouse, RandomMessagesInEveryMouseAction) {
  TSwallowMessages Quiet;
  auto Chart = std::make_unique<TVexa>(nullptr);
  Chart->SetBounds(0, 0, 400, 300);
  Chart->SetRange(1, false, false, 0, -2, 100, 3);
  Chart->HandleNeeded();
  for (int I = 0; I < 200; ++I) Chart->AddMark(I * 0.5, std::sin(I * 0.1), 10);
  Chart->SetLayerMouseEnabled(2, true);
  Chart->CrossHair(1).SetMode(chBoth);
  Chart->CrossHair(2).SetMode(chVert);
  for (int L : {1, 2}) {
    Chart->TextLabel(L).SetMode(tlsimple);
    Chart->TextLabel(L).SetVisible(true);
    Chart->TextLabel(L).SetPosX(30.0 * L);
    Chart->TextLabel(L).SetPosY(1);
  }
  int ZoomPans = 0, Events = 0;
  Chart->OnZoomPan = [&](TObject*) {
    ++ZoomPans;
    EXPECT_TRUE(RangesSane(*Chart, 1));
  };
  Chart->OnRubberBand = [&](TObject*, int, double, double, double, double) { ++Events; };
  Chart->OnSelectRect = [&](TObject*, int, double, double, double, double) { ++Events; };
  Chart->OnCrossHairMove = [&](TObject*, TCrossHair&) { ++Events; };
  Chart->OnTextLabelMove = [&](TObject*, TTextLabel&) { ++Events; };

  TMouseMonkey Monkey(*Chart, 11);
  const int Actions = static_cast<int>(MouseActModeNames.size());
  const int PerAction = MessageCount / Actions;
  for (int A = 0; A < Actions && !::testing::Test::HasFailure(); ++A) {
    const auto Action = static_cast<TMouseActMode>(A);
    SCOPED_TRACE(MouseActModeNames[static_cast<std::size_t>(A)]);
    Chart->SetMouseAction(Action);
    for (int I = 0; I < PerAction; ++I) {
      // Now and then the other switches the host has: wheel zoom, the axis
      // drags, the two-corner marking, back through the history, and a
      // fresh start from sane ranges once a walk has zoomed far out.
      switch (Monkey.Pick(400)) {
        case 0:
          Chart->SetWheelZoom(!Chart->WheelZoom());
          break;
        case 1:
          Chart->Scale1X().SetMouseAction(Monkey.Pick(2) ? maPan : maZoom);
          Chart->Scale1Y().SetMouseAction(Monkey.Pick(2) ? maPan : maNone);
          break;
        case 2:
          Chart->StartMarkRect();
          break;
        case 3:
          Chart->RangeHistoryBack();
          break;
        case 4:
          Chart->SetRange(1, false, false, 0, -2, 100, 3);
          break;
        default:
          break;
      }
      Monkey.Send();
      ASSERT_TRUE(RangesSane(*Chart, 1)) << "message " << I << ": " << Monkey.Last();
      ASSERT_TRUE(RangesSane(*Chart, 2)) << "message " << I << ": " << Monkey.Last();
    }
    Monkey.ReleaseAll();
    EXPECT_FALSE(Chart->MouseDragging());
    EXPECT_EQ(Chart->ZoomWindState(), zsNormal);
    EXPECT_NE(Chart->MarkRectState(), msRectDraw);
    EXPECT_EQ(Chart->MouseAction(), Action);
    EXPECT_EQ(Chart->ItemCount(), 200);
    EXPECT_NO_THROW(Chart->Repaint());
  }
  // The actions really acted.
  EXPECT_GT(ZoomPans, 100);
  EXPECT_GT(Events, 100);
}

}  // namespace
}  // namespace zkw
