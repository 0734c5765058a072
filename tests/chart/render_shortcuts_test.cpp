// The rendering shortcuts against the reference path: runs of plain items
// drawn without the per-item dispatch, and redraws that start from the kept
// data image, must give exactly the pixels of the item-by-item full redraw -
// in the exact raster and in every other draw mode (device scales 1.5 and 2,
// anti-aliased), where lines run through positions finer than a pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "chart/render_tail.h"
#include "platform/two_cores.h"
#include "render_support.h"

namespace zkw {
namespace {

using render_test::RandomItem;
using render_test::TPixelScene;

// The draw modes every shortcut is checked in.
const TDrawMode Modes[] = {{1, false, false}, {1.5, false, false}, {2, false, false}, {1, true, false}};

std::string ModeName(const TDrawMode& M) {
  return "scale " + std::to_string(M.Scale) + (M.Antialiased ? " anti-aliased" : "");
}

void SetMode(TVexa& C, const TDrawMode& M) {
  C.SetDeviceScale(M.Scale);
  C.SetAntialiased(M.Antialiased);
}

// Restores the shortcuts however a test ends.
struct TShortcutsOn {
  ~TShortcutsOn() { SetRenderShortcuts(true); }
};

// Random items with long runs of what the shortcuts take (hollow-square
// marks in world coordinates, ckDrawTo points) between items of every kind.
std::vector<TvxChartItem> RandomMix(std::mt19937& R, int W, int H, int Count) {
  auto Pick = [&R](int N) { return static_cast<int>(R() % static_cast<unsigned>(N)); };
  const TColor Colours[] = {clRed, clNavy, clGreen};
  const TPenStyle Styles[] = {psSolid, psSolid, psSolid, psDash, psClear, psInsideFrame};
  std::vector<TvxChartItem> Items;
  while (static_cast<int>(Items.size()) < Count) {
    const int Choice = Pick(5);
    if (Choice <= 2) {
      TvxChartItem Run;
      Run.Kind = Choice == 0 ? ckDrawTo : ckMark;
      Run.MarkType = 10 + Pick(3);
      Run.Color = Colours[Pick(3)];
      Run.FillColor = Colours[Pick(3)];
      Run.PenStyle = Styles[Pick(6)];
      Run.LineWidth = Pick(3);
      Run.Layer = 1 + Pick(2);
      for (int K = 1 + Pick(40); K > 0; --K) {
        TvxChartItem I = Run;
        // Some points lie outside the ranges or off the image; fractions
        // of a pixel show in the modes that draw them.
        I.X = Pick(W + 21) - 10 + 0.25 * Pick(4);
        I.Y = Pick(H + 21) - 10 + 0.25 * Pick(4);
        I.ItemClass = static_cast<std::uint8_t>(Pick(8) == 0 ? 2 : 0);
        // Now and then one field breaks the run.
        if (Pick(20) == 0) I.Color = Colours[Pick(3)];
        if (Pick(30) == 0) I.CoordMode = cmPixel;
        Items.push_back(I);
      }
    } else {
      Items.push_back(RandomItem(R, W, H));
    }
  }
  return Items;
}

// Every mode of the pass: duplicate marks, cache, pen mode, monochrome,
// hidden classes and layers.
TEST(RenderRuns, RunsDrawExactlyWhatItemByItemRenderingDraws) {
  constexpr int W = 150, H = 110;
  std::array<bool, 256> ClassOn{};
  ClassOn.fill(true);
  ClassOn[2] = false;
  std::array<bool, LayerCount> LayerOn{};
  LayerOn.fill(true);
  for (unsigned Seed = 1; Seed <= 48; ++Seed) {
    std::mt19937 R(Seed);
    const std::vector<TvxChartItem> Items = RandomMix(R, W, H, 300);
    TPixelScene Fast(W, H), Plain(W, H);
    LayerOn[1] = Seed % 4 != 0;  // layer 2 hidden in some passes
    const TDrawMode& Mode = Modes[Seed % 4];
    for (TPixelScene* S : {&Fast, &Plain}) {
      S->Image.SetDrawMode(Mode);
      S->Texts.Add("Line one\nline 2");
      S->Frame.AvoidDuplicateMarks = Seed % 3 != 0;
      S->Frame.MinDupMarkDist = 1 + static_cast<int>(Seed % 3);
      S->Frame.Monochrome = Seed % 7 == 0;
      // Layer 2 maps the world at half scale.
      S->Frame.Transforms[1] = render_test::PixelTransform(W * 2, H * 2);
      S->Image.Canvas().Pen().SetMode(Seed % 5 == 0 ? pmXor : pmCopy);
      S->Start();
      S->Renderer->SetStateCacheEnabled(Seed % 6 != 1);
    }
    // Mark runs on two cores from their first item, in chunks that split
    // them at every kind of place (and off in some passes).
    const int Chunks[] = {0, 2, 3, 16};
    Fast.Renderer->SetTwoCoreRuns(Seed % 4 == 0 ? 0 : 1, Chunks[Seed % 4]);
    Plain.Renderer->SetTwoCoreRuns(0, 0);
    const int N = static_cast<int>(Items.size());
    for (int I = 0; I < N; ++I) {
      const TvxChartItem& It = Items[static_cast<std::size_t>(I)];
      if (!ClassOn[It.ItemClass] || !LayerOn[static_cast<std::size_t>(ClampLayer(It.Layer) - 1)]) continue;
      Plain.Draw(It, I);
    }
    int Runs = 0;
    for (int I = 0; I < N;) {
      const int Next = Fast.Renderer->RenderRun(Items.data(), I, N, ClassOn.data(), LayerOn.data());
      if (Next > I) {
        ++Runs;
        I = Next;
        continue;
      }
      const TvxChartItem& It = Items[static_cast<std::size_t>(I)];
      if (ClassOn[It.ItemClass] && LayerOn[static_cast<std::size_t>(ClampLayer(It.Layer) - 1)]) Fast.Draw(It, I);
      ++I;
    }
    Fast.Finish();
    Plain.Finish();
    EXPECT_GT(Runs, 3);
    EXPECT_EQ(Fast.Renderer->PolylineCalls(), Plain.Renderer->PolylineCalls()) << "seed " << Seed;
    EXPECT_TRUE(Fast.Image.Image() == Plain.Image.Image()) << "seed " << Seed << ", " << ModeName(Mode);
    // The canvas state a run leaves for whatever draws next.
    TCanvas &FC = Fast.Image.Canvas(), &PC = Plain.Image.Canvas();
    EXPECT_EQ(FC.PenPos(), PC.PenPos()) << "seed " << Seed;
    EXPECT_EQ(FC.Pen().Color(), PC.Pen().Color()) << "seed " << Seed;
    EXPECT_EQ(FC.Pen().Style(), PC.Pen().Style()) << "seed " << Seed;
    EXPECT_EQ(FC.Pen().Width(), PC.Pen().Width()) << "seed " << Seed;
  }
}

// Whether two drawing-state caches know the same values (an unknown value's
// stale content does not count).
::testing::AssertionResult SameCache(const TDrawStateCache& A, const TDrawStateCache& B) {
  auto Differs = [](bool KA, bool KB, auto VA, auto VB) { return KA != KB || (KA && VA != VB); };
  if (Differs(A.PenWidthKnown, B.PenWidthKnown, A.CachedPenWidth, B.CachedPenWidth))
    return ::testing::AssertionFailure() << "pen width";
  if (Differs(A.PenColorKnown, B.PenColorKnown, A.CachedPenColor, B.CachedPenColor))
    return ::testing::AssertionFailure() << "pen colour";
  if (Differs(A.PenStyleKnown, B.PenStyleKnown, A.CachedPenStyle, B.CachedPenStyle))
    return ::testing::AssertionFailure() << "pen style";
  if (Differs(A.BrushColorKnown, B.BrushColorKnown, A.CachedBrushColor, B.CachedBrushColor))
    return ::testing::AssertionFailure() << "brush colour";
  if (Differs(A.FontColorKnown, B.FontColorKnown, A.CachedFontColor, B.CachedFontColor))
    return ::testing::AssertionFailure() << "font colour";
  return ::testing::AssertionSuccess();
}

// A run leaves the cache the items leave one by one (the next item trusts it
// to skip writes): after any item before it, with the last mark drawn, out of
// range, hidden or left out as a duplicate, on one core and on two.
TEST(RenderRuns, ARunLeavesTheCacheOfItemByItemRendering) {
  constexpr int W = 40, H = 30;
  std::array<bool, 256> ClassOn{};
  ClassOn.fill(true);
  ClassOn[2] = false;
  std::array<bool, LayerCount> LayerOn{};
  LayerOn.fill(true);
  for (unsigned Seed = 1; Seed <= 300; ++Seed) {
    std::mt19937 R(Seed);
    auto Pick = [&R](int N) { return static_cast<int>(R() % static_cast<unsigned>(N)); };
    std::vector<TvxChartItem> Items{RandomItem(R, W, H)};
    TvxChartItem Run = render_test::MakeItem(Pick(4) == 0 ? ckDrawTo : ckMark, 0, 0, 0, 0, Pick(2) ? clRed : clNavy);
    Run.MarkType = 10 + Pick(3);
    Run.PenStyle = Pick(3) == 0 ? psDash : psSolid;
    Run.LineWidth = Pick(3);
    for (int K = 1 + Pick(30); K > 0; --K) {
      TvxChartItem I = Run;
      // A small area, so that duplicates are frequent; some points out of range.
      I.X = Pick(16) - 3;
      I.Y = Pick(12) - 3;
      I.ItemClass = static_cast<std::uint8_t>(Pick(6) == 0 ? 2 : 0);
      Items.push_back(I);
    }
    if (Pick(2)) Items.push_back(RandomItem(R, W, H));
    TPixelScene Fast(W, H), Plain(W, H);
    for (TPixelScene* S : {&Fast, &Plain}) {
      S->Frame.AvoidDuplicateMarks = Seed % 2 == 0;
      S->Frame.MinDupMarkDist = 1 + static_cast<int>(Seed % 3);
      S->Start();
      S->Draw(Items[0]);
    }
    const int Chunks[] = {0, 2, 3};
    Fast.Renderer->SetTwoCoreRuns(Seed % 3 == 0 ? 0 : 1, Chunks[Seed % 3]);
    const int N = static_cast<int>(Items.size());
    if (!ClassOn[Items[1].ItemClass]) continue;  // a hidden first item starts no run
    const int Next = Fast.Renderer->RenderRun(Items.data(), 1, N, ClassOn.data(), LayerOn.data());
    ASSERT_GT(Next, 1) << "seed " << Seed;
    for (int I = 1; I < Next; ++I)
      if (ClassOn[Items[static_cast<std::size_t>(I)].ItemClass]) Plain.Draw(Items[static_cast<std::size_t>(I)], I);
    EXPECT_TRUE(SameCache(Fast.Renderer->Cache(), Plain.Renderer->Cache())) << "seed " << Seed;
    EXPECT_EQ(Fast.Renderer->CurrentPoint(), Plain.Renderer->CurrentPoint()) << "seed " << Seed;
    Fast.Finish();
    Plain.Finish();
    EXPECT_TRUE(Fast.Image.Image() == Plain.Image.Image()) << "seed " << Seed;
  }
}

// A throw in any phase of the pipelined placing, on either thread, ends both
// threads and reaches the caller (no thread is left waiting at a meeting),
// and the helper serves the next run. Runs of 20 items in chunks of 3 take
// phases 0..7: the helper places chunk P in phase P, the caller draws chunk
// P - 1.
TEST(RenderRuns, AThrowInAnyPhaseOfThePipelinedPlacingEndsBothThreadsAndIsPassedOn) {
  if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core: no helper thread";
  struct TFaultOff {
    ~TFaultOff() {
      TItemRenderer::SetPlaceAheadFault(-1, 0);
      SetHelperStartWait(DefaultHelperStartWait);
    }
  } Restore;
  // The helper must take part even when a loaded machine wakes it late.
  SetHelperStartWait(std::chrono::seconds(30));
  constexpr int W = 60, H = 40, N = 20, LastPhase = 7;
  std::array<bool, 256> ClassOn{};
  ClassOn.fill(true);
  std::array<bool, LayerCount> LayerOn{};
  LayerOn.fill(true);
  for (const std::uint8_t Kind : {ckMark, ckDrawTo}) {
    std::vector<TvxChartItem> Items;
    for (int I = 0; I < N; ++I) {
      TvxChartItem It = render_test::MakeItem(Kind, 3 + (I * 7) % 50, 3 + (I * 5) % 30, 0, 0, clNavy);
      It.MarkType = 10;
      Items.push_back(It);
    }
    // Duplicate tests make a mark run take the pipelined placing.
    auto Draw = [&](TPixelScene& S) {
      EXPECT_EQ(S.Renderer->RenderRun(Items.data(), 0, N, ClassOn.data(), LayerOn.data()), N);
      S.Finish();
    };
    TPixelScene Reference(W, H);
    Reference.Frame.AvoidDuplicateMarks = true;
    Reference.Start();
    Reference.Renderer->SetTwoCoreRuns(0, 0);
    Draw(Reference);
    for (int Part = 0; Part < 2; ++Part) {
      for (int Phase = 0; Phase <= LastPhase + 2; ++Phase) {
        TItemRenderer::SetPlaceAheadFault(Part, Phase);
        TPixelScene S(W, H);
        S.Frame.AvoidDuplicateMarks = true;
        S.Start();
        S.Renderer->SetTwoCoreRuns(1, 3);
        auto Run = std::async(std::launch::async, [&] {
          try {
            Draw(S);
          } catch (const EZKWVexaError&) {
            return true;
          }
          return false;
        });
        if (Run.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
          ADD_FAILURE() << "kind " << int{Kind} << ", thread " << Part << ", phase " << Phase << ": the run hangs";
          std::_Exit(1);
        }
        const bool Threw = Run.get();
        EXPECT_EQ(Threw, Phase <= LastPhase) << "kind " << int{Kind} << ", thread " << Part << ", phase " << Phase;
        if (!Threw) {
          EXPECT_TRUE(S.Image.Image() == Reference.Image.Image()) << "phase " << Phase;
        }
      }
    }
  }
}

using TTailVexa = render_test::TPipelineVexa;

// A whole chart redrawn with long mark runs: on two cores, on one, and on the
// reference path, the data images are equal.
TEST(RenderRuns, TwoCoreRedrawsOfLongRunsEqualTheReference) {
  TShortcutsOn Restore;
  struct TTwoCoresOn {
    ~TTwoCoresOn() { SetTwoCoresEnabled(true); }
  } RestoreCores;
  std::mt19937 R(7);
  auto Pick = [&R](int N) { return static_cast<int>(R() % static_cast<unsigned>(N)); };
  auto C = std::make_unique<TTailVexa>(nullptr);
  C->SetBounds(0, 0, 300, 200);
  C->HandleNeeded();
  C->SetLayerVisible(2, false);
  const TColor Colours[] = {clNavy, clRed};
  // Runs end in the first and in the second half of a chunk, at its end and
  // past it.
  const int Lengths[] = {40000, 16000, 32768, 20000, 70001, 5000};
  for (int Run = 0; Run < 6; ++Run) {
    C->SetDataColor(Colours[Run % 2]);
    for (int K = 0; K < Lengths[Run]; ++K) {
      // Some marks off the ranges and off the image, some hidden, a few
      // other items and symbols break the run now and then.
      C->SetCurrentLayer(Pick(50) == 0 ? 2 : 1);
      C->AddMark(-0.05 + 0.0011 * Pick(1000), -0.05 + 0.0011 * Pick(1000), static_cast<std::uint8_t>(10 + Run % 3));
      if (Pick(40000) == 0) C->AddLine(0.1, 0.1, 0.9, 0.5);
    }
  }
  // A long polyline: a random walk of a few pixels a step (so that every
  // point shows), reaching off the image, with points on the hidden layer and
  // a change of colour and pen that splits it into two runs past the first
  // chunk (a dashed pen starts its pattern anew with each batch of points, so
  // the batches must be the item-by-item ones).
  C->SetDataColor(clTeal);
  C->SetCurrentLayer(1);
  C->AddMoveTo(0.5, 0.5);
  double X = 0.5, Y = 0.5;
  for (int K = 1; K <= 120000; ++K) {
    if (K == 50001) {
      C->SetDataColor(clRed);
      C->SetPenStyle(psDash);
    }
    C->SetCurrentLayer(Pick(50) == 0 ? 2 : 1);
    X = std::clamp(X + 0.004 * (Pick(5) - 2), -0.05, 1.05);
    Y = std::clamp(Y + 0.006 * (Pick(5) - 2), -0.05, 1.05);
    // Now and then a point that is not a number: a gap the fine placing must treat alike.
    C->AddDrawTo(X, Pick(5000) == 0 ? std::nan("") : Y);
  }
  for (const TDrawMode& Mode : Modes) {
    SCOPED_TRACE(ModeName(Mode));
    SetMode(*C, Mode);
    C->SetRange(1, false, false, 0, 0, 1, 1);
    C->Scale1Y().SetLogarithmic(false);
    C->SetAvoidDuplicateMarks(false);
    for (int Pass = 0; Pass < 3; ++Pass) {
      const QImage TwoCores = (C->Redraw(), C->DataImage().Image().copy());
      SetTwoCoresEnabled(false);
      const QImage OneCore = (C->Redraw(), C->DataImage().Image().copy());
      SetTwoCoresEnabled(true);
      SetRenderShortcuts(false);
      C->Redraw();
      SetRenderShortcuts(true);
      EXPECT_TRUE(TwoCores == C->DataImage().Image()) << "pass " << Pass;
      EXPECT_TRUE(OneCore == C->DataImage().Image()) << "pass " << Pass;
      // The second time half the marks are out of range, and duplicates are
      // left out (the placing runs ahead on the helper, the drawing stays here).
      C->Scale1X().SetRangeHigh(0.5);
      C->SetAvoidDuplicateMarks(true);
      if (Pass == 1) {
        // The third time x runs backwards and y is logarithmic (points at or
        // below 0 go to its floor).
        C->SetAvoidDuplicateMarks(false);
        C->SetRange(1, false, false, 1.02, 0.01, -0.02, 1.1);
        C->Scale1Y().SetLogarithmic(true);
      }
    }
  }
}

// Redraws with the shortcuts, then in full on the reference path, and tells
// whether the two data images are equal.
bool RedrawMatchesFullRedraw(TTailVexa& C) {
  C.Redraw();
  const QImage Shortcut = C.DataImage().Image().copy();
  SetRenderShortcuts(false);
  C.Redraw();
  SetRenderShortcuts(true);
  return C.DataImage().Image() == Shortcut;
}

// Random sequences of the demo's move (remove the last item, append one)
// among other changes of the store and of what decides the drawing.
TEST(TailRedraw, TailRedrawsMatchFullRedrawsOverRandomChanges) {
  TShortcutsOn Restore;
  for (unsigned Seed = 1; Seed <= 8; ++Seed) {
    std::mt19937 R(Seed);
    auto Pick = [&R](int N) { return static_cast<int>(R() % static_cast<unsigned>(N)); };
    auto C = std::make_unique<TTailVexa>(nullptr);
    C->SetBounds(0, 0, 260, 190);
    C->HandleNeeded();
    SetMode(*C, Modes[Seed % 4]);
    C->SetAvoidDuplicateMarks(Seed % 2 == 0);
    C->TextLabel(1).SetCaption("label");
    C->TextLabel(1).SetPosX(0.5);
    C->TextLabel(1).SetPosY(0.5);
    C->CrossHair(1).SetMode(chBoth);
    C->SetDataColor(clNavy);
    for (int K = 0; K < 400; ++K) C->AddMark(0.001 * Pick(1000), 0.001 * Pick(1000), 10);
    C->SetDataColor(clRed);
    C->AddMark(0.5, 0.5, 25);
    C->Repaint();
    int Tails = 0;
    for (int Step = 0; Step < 90; ++Step) {
      const int Change = Pick(24);
      const double X = 0.001 * Pick(1000), Y = 0.001 * Pick(1000);
      if (Change < 12) {  // the demo's move
        C->RemoveLastItem();
        C->SetDataColor(Pick(2) ? clRed : clNavy);
        C->AddMark(X, Y, static_cast<std::uint8_t>(Pick(3) ? 25 : 10));
      } else if (Change == 12) {
        C->SetDataColor(clGreen);
        C->AddLine(X, Y, 0.5, 0.5);
      } else if (Change == 13) {
        C->AddMoveTo(X, Y);
        C->AddDrawTo(Y, X);
      } else if (Change == 14) {
        C->RemoveLastItem();
      } else if (Change == 15) {
        C->Scale1X().SetRangeHigh(1.0 + 0.01 * Pick(10));
      } else if (Change == 16) {
        C->SetChartColor(Pick(2) ? clWhite : clSilver);
      } else if (Change == 17) {
        C->CrossHair(1).SetPosX(X);
        C->CrossHair(1).SetPosY(Y);
      } else if (Change == 18) {
        C->TextLabel(1).SetPosX(X);
      } else if (Change == 19) {
        C->SetGridStyle(Pick(2) ? gsNone : gsDotLines);
      } else if (Change == 20) {
        C->SetAnnotationMode(true);
        C->AddRect(X, Y, 0.5, 0.5, true);
        C->SetAnnotationMode(false);
      } else if (Change == 21) {
        C->SetLineWidth(static_cast<std::uint8_t>(1 + Pick(2)));
      } else if (Change == 22) {
        C->SetMinDupMarkDist(1 + Pick(3));
      } else {
        C->AddText(X, Y, "t", 8);
      }
      const bool Armed = C->KeptDataImage() && C->KeptDataImage()->Valid;
      ASSERT_TRUE(RedrawMatchesFullRedraw(*C)) << "seed " << Seed << " step " << Step << " change " << Change;
      Tails += Armed;
    }
    EXPECT_GT(Tails, 30) << "seed " << Seed;
  }
}

// A line that grows at its end (a live chart's data): the store ends in a
// polyline batch that has not been drawn yet, and the kept image holds that
// batch, so the next redraw draws only the new points, with the batches
// (and a dashed pen's pattern, which starts anew with each) where a full
// redraw puts them.
TEST(TailRedraw, ALineGrowingAtItsEndIsRedrawnFromTheKeptImage) {
  TShortcutsOn Restore;
  for (int Case = 0; Case < 8; ++Case) {
    const TPenStyle Style = Case % 2 == 0 ? psSolid : psDash;
    const TDrawMode& Mode = Modes[Case / 2];
    SCOPED_TRACE(static_cast<int>(Style));
    SCOPED_TRACE(ModeName(Mode));
    auto C = std::make_unique<TTailVexa>(nullptr);
    C->SetBounds(0, 0, 260, 190);
    C->HandleNeeded();
    SetMode(*C, Mode);
    C->SetDataColor(clNavy);
    C->SetPenStyle(Style);
    C->AddMoveTo(0, 0.5);
    int N = 0;
    auto Grow = [&](int Count) {
      for (int K = 0; K < Count; ++K, ++N) C->AddDrawTo(0.002 * N, 0.5 + 0.4 * std::sin(N * 0.05));
    };
    Grow(150);
    // The first pass leaves the canvas a font colour it did not start with
    // (character marks draw in that font), so only the second keeps an
    // image the next pass can start from.
    C->Redraw();
    C->Redraw();
    // A pixel planted in the kept image shows: the redraw starts from it.
    Grow(5);
    ASSERT_TRUE(C->KeptDataImage() && C->KeptDataImage()->Valid);
    C->KeptDataImage()->Image.Canvas().SetPixels(1, 1, clLime);
    C->Redraw();
    EXPECT_EQ(C->DataImage().Canvas().Pixels(1, 1), clLime);
    C->KeptDataImage()->Invalidate();
    C->Redraw();
    for (const int Count : {3, 60, 1, 120, 250}) {  // batches of 200 points end in some of these
      Grow(Count);
      ASSERT_TRUE(C->KeptDataImage() && C->KeptDataImage()->Valid);
      const int Prefix = C->KeptDataImage()->Prefix;
      // The tail redraw's picture is the full redraw's, and it keeps the
      // image again before the new last item.
      EXPECT_TRUE(RedrawMatchesFullRedraw(*C)) << Count;
      EXPECT_EQ(C->KeptDataImage()->Prefix, C->ItemCount() - 1);
      EXPECT_GT(C->KeptDataImage()->Prefix, Prefix);
    }
  }
}

// A 200 x 150 chart with Count hollow-square marks along its diagonal, redrawn once.
std::unique_ptr<TTailVexa> DiagonalMarks(int Count) {
  auto C = std::make_unique<TTailVexa>(nullptr);
  C->SetBounds(0, 0, 200, 150);
  C->HandleNeeded();
  for (int K = 0; K < Count; ++K) C->AddMark(K / static_cast<double>(Count), K / static_cast<double>(Count), 10);
  C->Redraw();
  return C;
}

// A range change repaints the chart (AutoRedraw on, as created), and that
// paint keeps the data image as a redraw does: the host's Redraw right after
// it starts from the kept image (a pixel planted in it shows) and draws only
// the last item, and either order of paint and redraw gives the full picture.
TEST(TailRedraw, ARedrawAfterAPaintOfTheSameStateStartsFromThePaintsKeptImage) {
  TShortcutsOn Restore;
  auto C = DiagonalMarks(50);
  C->Scale1X().SetRangeLow(0.01);
  const std::shared_ptr<TKeptDataImage> Kept = C->KeptDataImage();
  ASSERT_TRUE(Kept && Kept->Valid);
  EXPECT_EQ(Kept->Prefix, 49);
  Kept->Image.Canvas().SetPixels(2, 2, clLime);
  C->Redraw();
  EXPECT_EQ(C->DataImage().Canvas().Pixels(2, 2), clLime);
  // A new range: the planted pixel goes with the old image.
  C->Scale1X().SetRangeLow(0.02);
  EXPECT_TRUE(RedrawMatchesFullRedraw(*C));
  C->Repaint();
  const QImage Repainted = C->DataImage().Image().copy();
  SetRenderShortcuts(false);
  C->Repaint();
  SetRenderShortcuts(true);
  EXPECT_TRUE(C->DataImage().Image() == Repainted);
}

// The tail redraw is taken only when it may be: after a change below the
// tail, or with a host handler assigned, the whole image is drawn again.
TEST(TailRedraw, KeptImageIsDroppedOrBypassedWhenItCannotBeUsed) {
  TShortcutsOn Restore;
  auto C = DiagonalMarks(20);
  ASSERT_TRUE(C->KeptDataImage() && C->KeptDataImage()->Valid);
  EXPECT_EQ(C->KeptDataImage()->Prefix, 19);

  // A handler draws after the items: it must show on every redraw.
  int Calls = 0;
  C->OnDataRendered = [&Calls](TObject*, TCanvas& Canvas, int, int) {
    ++Calls;
    Canvas.SetPixels(3, 3, clLime);
  };
  C->RemoveLastItem();
  C->AddMark(0.9, 0.1, 10);
  EXPECT_TRUE(RedrawMatchesFullRedraw(*C));
  EXPECT_FALSE(C->KeptDataImage()->Valid);
  EXPECT_EQ(C->DataImage().Canvas().Pixels(3, 3), clLime);
  C->OnDataRendered = nullptr;

  // Clearing the store changes it from index 0: nothing of the old image stays.
  C->Redraw();
  ASSERT_TRUE(C->KeptDataImage()->Valid);
  C->ClearItems();
  C->AddMark(0.5, 0.5, 10);
  EXPECT_TRUE(RedrawMatchesFullRedraw(*C));
  EXPECT_EQ(C->KeptDataImage()->Prefix, 0);
}

}  // namespace
}  // namespace zkw
