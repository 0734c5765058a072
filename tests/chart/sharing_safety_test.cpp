// Host handlers that change sharing, destroy charts, change ranges or copy
// charts while paints and redraws run: every chart stays memory-safe (the
// AddressSanitizer build turns any access to freed memory into a failure),
// a paint finishes the items it started with, a redraw's group notification
// skips members that vanished, and a failed Assign leaves the target as it was.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "platform/screen.h"
#include "tests/support/sharing_invariants.h"

namespace zkw {
namespace {

// A shown chart with hidden scales, small enough to paint quickly.
std::unique_ptr<TVexa> MakeChart(int W = 120, int H = 90) {
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, W, H);
  C->Scale1X().SetVisible(false);
  C->Scale1Y().SetVisible(false);
  C->HandleNeeded();
  return C;
}

// Items 0..Count-1 spread over the plot, marks or short texts.
void Fill(TCustomVexa& C, int Count, bool Texts) {
  for (int I = 0; I < Count; ++I) {
    const double X = 0.02 * (I % 50), Y = 0.1 + 0.015 * I;
    if (Texts)
      C.AddText(X, Y, "t", 6);
    else
      C.AddMark(X, Y, 10);
  }
}

struct TSwallowMessages {
  TSwallowMessages() { SetMessageBoxHook([](const std::string&) {}); }
  ~TSwallowMessages() { SetMessageBoxHook(nullptr); }
};

// ---- a chart joins another chart's data from inside its own paint ----------------------

TEST(SharingSafety, JoiningAGroupFromARenderHandlerFinishesThePassOverTheOldItems) {
  for (const bool TextEvent : {false, true}) {
    SCOPED_TRACE(TextEvent ? "OnBeforeRenderText" : "OnBeforeRenderChartItem");
    auto Reference = MakeChart();
    Fill(*Reference, 51, TextEvent);
    Reference->Repaint();
    auto A = MakeChart(), B = MakeChart();
    Fill(*A, 51, TextEvent);
    Fill(*B, 3, false);
    // Joining repaints only with AutoRedraw; without it the pass under test
    // is the only one.
    A->SetAutoRedraw(false);
    std::vector<int> Seen;
    auto Handler = [&](int Index) {
      Seen.push_back(Index);
      if (Seen.size() == 1) A->SetUseDataOf(B.get());  // drops A's own store
    };
    if (TextEvent)
      A->OnBeforeRenderText = [&](TObject*, std::string&, int Index, bool) { Handler(Index); };
    else
      A->OnBeforeRenderChartItem = [&](TObject*, TvxChartItem&, int Index, bool) { Handler(Index); };
    A->Repaint();
    ASSERT_EQ(Seen.size(), 51u);
    EXPECT_EQ(Seen.back(), 50);
    // All 51 items were drawn, exactly as a chart without handlers draws them.
    EXPECT_TRUE(A->DataImage().Image() == Reference->DataImage().Image());
    EXPECT_EQ(A->UseDataOf(), B.get());
    EXPECT_EQ(A->ItemCount(), 3);
    Seen.clear();
    A->Repaint();  // the next pass shows the group's items
    EXPECT_EQ(Seen.size(), TextEvent ? 0u : 3u);
  }
}

// ---- members destroyed while a redraw notifies the group -------------------------------

TEST(SharingSafety, RedrawSkipsGroupMembersThatAHandlerDestroyed) {
  auto A = MakeChart();
  std::unique_ptr<TVexa> B = MakeChart(), C = MakeChart();
  Fill(*A, 5, false);
  B->SetUseDataOf(A.get());
  C->SetUseDataOf(A.get());
  int CPaints = 0;
  C->OnBeforeRenderData = [&](TObject*, TCanvas&, int, int) { ++CPaints; };
  B->OnBeforeRenderData = [&](TObject*, TCanvas&, int, int) { C.reset(); };
  A->Redraw();  // repaints B, whose handler destroys C before C's turn
  EXPECT_EQ(C, nullptr);
  EXPECT_EQ(CPaints, 0);
  ASSERT_EQ(A->Share().UserCount(), 1);
  EXPECT_EQ(A->Share().User(0)->Owner(), B.get());
  A->Redraw();
}

TEST(SharingSafety, RedrawEndsItsNotificationWhenAHandlerDestroysTheRedrawingChart) {
  std::unique_ptr<TVexa> A = MakeChart(), B = MakeChart(), C = MakeChart();
  Fill(*A, 5, false);
  B->SetUseDataOf(A.get());
  C->SetUseDataOf(A.get());
  int CPaints = 0;
  C->OnBeforeRenderData = [&](TObject*, TCanvas&, int, int) { ++CPaints; };
  B->OnBeforeRenderData = [&](TObject*, TCanvas&, int, int) { A.reset(); };
  TVexa* Redrawing = A.get();
  Redrawing->Redraw();
  EXPECT_EQ(A, nullptr);
  EXPECT_EQ(CPaints, 0);  // the group went away with its source
  // The former users stand alone, each with the group's items.
  EXPECT_EQ(B->UseDataOf(), nullptr);
  EXPECT_EQ(C->UseDataOf(), nullptr);
  EXPECT_EQ(B->ItemCount(), 5);
  EXPECT_EQ(C->ItemCount(), 5);
  B->AddMark(0.5, 0.5, 1);
  EXPECT_EQ(C->ItemCount(), 5);
}

// ---- Assign: all or nothing, and never wired to the source -----------------------------

// A made-in-code chart keeps its range objects loading, so a logarithmic
// axis reaching below zero is accepted there; the chart itself raises the
// error when it computes its factors.
std::unique_ptr<TVexa> ChartWithNegativeLogAxis() {
  auto B = MakeChart();
  B->SetCaption("B");
  B->SetMarginLeft(33);
  Fill(*B, 7, false);
  B->SetLoading(true);
  B->Scale1X().SetRangeLow(-5);
  B->Scale1X().SetRangeHigh(100);
  B->Scale1X().SetLogarithmic(true);
  B->SetLoading(false);
  return B;
}

TEST(SharingSafety, FailedAssignLeavesTheTargetAsItWasAndWiredToItself) {
  auto A = MakeChart();
  Fill(*A, 4, false);
  A->SetCaption("A");
  A->Scale1X().SetRangeHigh(7);
  int APaints = 0;
  A->OnBeforeRenderData = [&](TObject*, TCanvas&, int, int) { ++APaints; };
  auto B = ChartWithNegativeLogAxis();
  ASSERT_TRUE(B->Scale1X().Logarithmic());
  ASSERT_LT(B->Scale1X().RangeLow(), 0.0);
  EXPECT_THROW(A->Assign(*B), EZKWVexaError);
  EXPECT_EQ(A->Caption(), "A");
  EXPECT_EQ(A->MarginLeft(), 50);
  EXPECT_EQ(A->ItemCount(), 4);
  EXPECT_FALSE(A->Scale1X().Logarithmic());
  EXPECT_EQ(A->Scale1X().RangeHigh(), 7.0);
  B.reset();
  // A's range objects still report to A: a change moves A's transform and
  // repaints A.
  APaints = 0;
  A->Scale1X().SetRangeHigh(60);
  int PX = 0, PY = 0;
  A->WorldToPixel(1, 60, 0, PX, PY);
  EXPECT_EQ(PX, A->Width() - A->MarginRight());
  EXPECT_GE(APaints, 1);
  A->CrossHair(1).SetMode(chBoth);
  EXPECT_EQ(A->JointLayers().Owner(), A.get());
  A->Repaint();
  A->Redraw();
}

TEST(SharingSafety, ASuccessfulCopyOutlivesItsSource) {
  auto A = MakeChart();
  auto B = MakeChart();
  Fill(*B, 6, false);
  B->SetCaption("B");
  B->Scale1X().SetRangeHigh(3);
  B->CrossHair(2).SetMode(chVert);
  B->BackGroundImg().SetAreaMode(bamLeft);
  A->Assign(*B);
  EXPECT_EQ(A->Caption(), "B");
  EXPECT_EQ(A->ItemCount(), 6);
  EXPECT_EQ(A->JointLayers().Owner(), A.get());
  B.reset();
  A->Scale1X().SetRangeHigh(9);
  A->CrossHair(2).SetPosX(0.5);
  A->TextLabel(3).SetCaption("x");
  A->BackGroundImg().SetAreaColor(clRed);
  A->Scale1X().DateFormat().SetDateSeparator('/');
  A->Repaint();
  A->Redraw();
  EXPECT_EQ(A->Scale1X().RangeHigh(), 9.0);
}

// A property object copied on its own (not through the chart's setters) takes
// the source's change handler along; once the source chart is gone that
// handler must do nothing, not reach the freed chart.
TEST(SharingSafety, PropertyObjectsCopiedFromADestroyedChartNotifyNobody) {
  auto A = MakeChart();
  auto B = MakeChart();
  int BRepaints = 0;
  B->OnDataRendered = [&](TObject*, TCanvas&, int, int) { ++BRepaints; };
  A->CrossHair(1).Assign(B->CrossHair(1));
  A->TextLabel(1).Assign(B->TextLabel(1));
  A->Scale1X().Assign(B->Scale1X());
  A->Scale1X().DateFormat().Assign(B->Scale1X().DateFormat());
  A->BackGroundImg().Assign(B->BackGroundImg());
  // A crosshair given through the chart's setter gets the same kind of handler.
  B->SetCrossHair(2, TCrossHair{});
  A->CrossHair(2).Assign(B->CrossHair(2));
  // While B lives, the copied handlers speak for B, as copies of handlers do.
  A->CrossHair(1).SetPosX(0.25);
  EXPECT_GT(BRepaints, 0);
  B.reset();
  A->CrossHair(1).SetPosX(0.5);
  A->CrossHair(2).SetPosX(0.5);
  A->TextLabel(1).SetCaption("x");
  A->Scale1X().SetRangeHigh(4);
  A->Scale1X().DateFormat().SetDateSeparator('/');
  A->BackGroundImg().SetAreaColor(clRed);
  EXPECT_EQ(A->CrossHair(1).PosX(), 0.5);
  EXPECT_EQ(A->Scale1X().RangeHigh(), 4.0);
}

TEST(SharingSafety, AssignFromInsideTheTargetsOwnHandlerKeepsTheRunningHandlerAlive) {
  auto A = MakeChart(), B = MakeChart();
  Fill(*A, 10, false);
  Fill(*B, 2, false);
  B->SetAutoRedraw(false);
  int BCalls = 0;
  B->OnBeforeRenderChartItem = [&](TObject*, TvxChartItem&, int, bool) { ++BCalls; };
  std::string Log;
  bool Copied = false;
  // The handler owns state (a string held by value); it must stay valid
  // after Assign replaced A's handlers from inside it.
  A->OnBeforeRenderChartItem = [&, Tag = std::string(40, 'a')](TObject*, TvxChartItem&, int, bool) {
    if (!Copied) {
      Copied = true;
      A->Assign(*B);
    }
    Log += Tag.substr(0, 1);
  };
  A->SetAutoRedraw(false);
  A->Repaint();
  EXPECT_TRUE(Copied);
  // Assign's own repaint ran inside the handler, still with A's handler;
  // once that returned, B's handler took over for the rest of the pass.
  EXPECT_EQ(Log, std::string(1 + 2, 'a'));
  EXPECT_EQ(BCalls, 9);
  EXPECT_EQ(A->ItemCount(), 2);
}

// ---- randomized: handlers that do anything while paints run --------------------------------

// Charts whose render handlers run random public operations on random
// charts: share, unshare, destroy, change ranges, copy, add and remove
// items, redraw and repaint - nested up to a small depth. After every
// operation the sharing invariants must hold.
class TSharingFuzz {
 public:
  static constexpr int Slots = 6;

  explicit TSharingFuzz(unsigned Seed) : FRng(Seed) {
    for (int S = 0; S < Slots; ++S) Make(S);
  }

  void Run(int Steps) {
    for (int Step = 0; Step < Steps && !::testing::Test::HasFatalFailure(); ++Step) {
      for (int S = 0; S < Slots; ++S)
        if (!FCharts[static_cast<std::size_t>(S)] && Chance(0.3)) Make(S);
      Act();
    }
  }

  int Actions() const { return FActions; }
  int NestedActions() const { return FNested; }
  int Destroyed() const { return FDestroyed; }

 private:
  std::array<std::unique_ptr<TVexa>, Slots> FCharts;
  std::map<const TObject*, int> FPainting;  // charts inside their RenderData
  std::mt19937 FRng;
  int FDepth = 0;
  int FActions = 0;
  int FNested = 0;     // actions run by handlers inside paints
  int FDestroyed = 0;  // charts destroyed by handlers

  bool Chance(double P) { return std::uniform_real_distribution<double>(0, 1)(FRng) < P; }
  int Pick(int N) { return std::uniform_int_distribution<int>(0, N - 1)(FRng); }
  TVexa* Random() {
    std::vector<TVexa*> Live;
    for (auto& C : FCharts)
      if (C) Live.push_back(C.get());
    return Live.empty() ? nullptr : Live[static_cast<std::size_t>(Pick(static_cast<int>(Live.size())))];
  }

  void Make(int Slot) {
    auto C = MakeChart(90, 70);
    Fill(*C, 2 + Pick(12), false);
    C->AddText(0.5, 0.5, "text", 6);
    C->OnBeforeRenderData = [this](TObject* Sender, TCanvas&, int, int) {
      ++FPainting[Sender];
      Maybe(0.3);
    };
    C->OnDataRendered = [this](TObject* Sender, TCanvas&, int, int) {
      Maybe(0.3);
      --FPainting[Sender];
    };
    C->OnBeforeRenderChartItem = [this](TObject*, TvxChartItem&, int, bool) { Maybe(0.04); };
    C->OnBeforeRenderText = [this](TObject*, std::string&, int, bool) { Maybe(0.2); };
    FCharts[static_cast<std::size_t>(Slot)] = std::move(C);
  }

  void Maybe(double P) {
    if (FDepth < 2 && Chance(P)) Act();
  }

  void Act() {
    TVexa* T = Random();
    if (!T) return;
    FNested += FDepth > 0;
    ++FDepth;
    ++FActions;
    switch (Pick(9)) {
      case 0:
      case 1: {
        TVexa* Other = Chance(0.2) ? nullptr : Random();
        T->SetUseDataOf(Other);
        break;
      }
      case 2: {
        // A chart in the middle of its own paint is the host's own frame:
        // only the others may go.
        for (auto& C : FCharts) {
          if (C.get() != T || FPainting[T] > 0) continue;
          FDestroyed += FDepth > 1;
          C.reset();
        }
        break;
      }
      case 3:
        T->Scale1X().SetRangeHigh(1 + Pick(5));
        break;
      case 4:
        T->SetRange(1, Chance(0.5), false, -Pick(3), -Pick(3), 1 + Pick(3), 1 + Pick(3));
        break;
      case 5:
        if (TVexa* S = Random()) T->Assign(*S);
        break;
      case 6:
        if (Chance(0.5)) {
          T->AddMark(0.1 * Pick(10), 0.1 * Pick(10), 10);
        } else if (Chance(0.5)) {
          T->RemoveLastItem();
        } else {
          T->ClearItems();
        }
        break;
      case 7:
        T->Redraw();
        break;
      default:
        T->Repaint();
        break;
    }
    --FDepth;
    CheckInvariants();
  }

  void CheckInvariants() {
    std::array<TCustomVexa*, Slots> Charts{};
    for (int S = 0; S < Slots; ++S) Charts[static_cast<std::size_t>(S)] = FCharts[static_cast<std::size_t>(S)].get();
    ASSERT_EQ(testsupport::SharingFault(Charts), "");
  }
};

TEST(SharingSafety, RandomHandlersThatShareDestroyCopyAndChangeRangesDuringPaints) {
  TSwallowMessages Quiet;
  int Nested = 0, Destroyed = 0;
  for (unsigned Seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("seed " + std::to_string(Seed));
    TSharingFuzz Fuzz(Seed);
    Fuzz.Run(30);
    Nested += Fuzz.NestedActions();
    Destroyed += Fuzz.Destroyed();
  }
  // The handlers really acted inside paints, charts among them destroyed.
  RecordProperty("NestedActions", Nested);
  RecordProperty("DestroyedInHandlers", Destroyed);
  EXPECT_GT(Nested, 40);
  EXPECT_GT(Destroyed, 3);
}

}  // namespace
}  // namespace zkw
