// Arbitrary bytes as a chart: size, margins, layer ranges (linear,
// logarithmic, reversed, of zero width), grid, caption, crosshairs and text
// labels, then a few hundred drawing commands with any values, and raw item
// records (any kind, coordinate mode, pen style, short-text length or
// long-text index) that the host hands to the renderer through
// OnBeforeRenderChartItem. The chart is redrawn, painted and, when the input
// asks for it, printed.
//
// Beyond "no crash, no undefined behaviour" every input checks that
//  - the stores hold exactly the items the commands appended;
//  - the rendering shortcuts (runs of plain items, redraws from the kept data
//    image) give exactly the pixels of the reference path;
//  - painting twice gives the same picture.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include <QImage>

#include "chart/ZKW_vexa.h"
#include "chart/vexa_paint.h"
#include "chart/render_items.h"
#include "fuzz/fuzz_support.h"
#include "platform/devices.h"
#include "platform/gui_app.h"

namespace zkw::fuzz {
namespace {

// Kept small so that one input takes a few milliseconds.
constexpr int MaxWidth = 400;
constexpr int MaxHeight = 300;
constexpr int MaxCommands = 300;

// Flag bits of the input's first byte.
constexpr int fAvoidDuplicates = 1;
constexpr int fPrint = 2;
constexpr int fPrintPng = 4;
constexpr int fMonochrome = 8;
constexpr int fXorPen = 16;
constexpr int fCompareShortcuts = 32;
constexpr int fIsometric = 64;
constexpr int fTailRedraw = 128;

const TColor Colours[] = {clBlack, clRed, clNavy, clGreen, clWhite, clYellow, clSilver, clBtnFace};

TColor AnyColour(TFuzzBytes& B) {
  const int Choice = B.Pick(10);
  if (Choice < 8) return Colours[Choice];
  return static_cast<TColor>(B.Raw<std::uint32_t>());  // also system colours and invalid values
}

// Margins: ordinary, negative, larger than the control, or extreme.
int AnyMargin(TFuzzBytes& B) {
  switch (B.Pick(6)) {
    case 0: return B.IntIn(-1000, 0);
    case 1: return B.IntIn(0, 100000);
    case 2: return B.Bool() ? 2147483647 : -2147483647 - 1;
    default: return B.IntIn(0, 60);
  }
}

// A double that is mostly a sane world value.
double AnyValue(TFuzzBytes& B) { return B.Bool() ? B.Moderate() : B.Double(); }

// A raw record as a host may hand one to the renderer: every field any value
// its type can hold.
TvxChartItem RawItem(TFuzzBytes& B) {
  TvxChartItem I;
  I.X = AnyValue(B);
  I.Y = AnyValue(B);
  I.X2 = AnyValue(B);
  I.Y2 = AnyValue(B);
  I.Color = AnyColour(B);
  I.FillColor = AnyColour(B);
  I.Color2 = AnyColour(B);
  I.Color3 = AnyColour(B);
  I.PenStyle = static_cast<TPenStyle>(B.Pick(8) == 0 ? B.Byte() : B.Pick(7));
  I.Reserved = B.Bool() ? 0 : B.Raw<std::int32_t>();
  I.LineWidth = B.Pick(4) == 0 ? B.Raw<std::int32_t>() : B.IntIn(-2, 60);  // wide lines, any long-text index
  I.ItemClass = B.Byte();
  I.Kind = B.Pick(5) == 0 ? B.Byte() : static_cast<std::uint8_t>(B.Pick(26));
  I.Layer = B.Pick(6) == 0 ? B.Raw<std::int32_t>() : B.IntIn(0, 17);
  I.Flag = B.Bool();
  I.FrameStyle = B.Byte();
  const std::string Text = B.String(TShortText::MaxLength);
  I.ShortText.Set(Text);
  if (B.Bool()) I.ShortText.Length = B.Byte();  // any length byte, also beyond the field
  I.Size1 = B.Pick(3) == 0 ? B.Raw<std::int32_t>() : B.IntIn(-5, 200);
  I.Size2 = B.Pick(3) == 0 ? B.Raw<std::int32_t>() : B.IntIn(-5, 200);
  I.MarkType = B.Pick(3) == 0 ? B.Raw<std::int32_t>() : B.IntIn(0, 300);
  I.CoordMode = B.Pick(4) == 0 ? B.Byte() : static_cast<std::uint8_t>(B.Pick(6));
  return I;
}

// Runs one setting; a setting the chart refuses raises its error (a
// logarithmic axis below zero), which is a clear answer, not a fault.
template <typename TStep>
void Try(TStep&& Step) {
  try {
    Step();
  } catch (const EZKWVexaError& E) {
    if (Verbose()) std::fprintf(stderr, "  refused: %s\n", E.what());
  }
}

// The outer settings, made while painting is still suppressed.
void Configure(TVexa& C, TFuzzBytes& B, int Flags) {
  Try([&] { C.SetMarginLeft(AnyMargin(B)); });
  Try([&] { C.SetMarginRight(AnyMargin(B)); });
  Try([&] { C.SetMarginTop(AnyMargin(B)); });
  Try([&] { C.SetMarginBottom(AnyMargin(B)); });
  Try([&] { C.SetShadowWidth(B.IntIn(-5, 30)); });
  C.SetShadowStyle(static_cast<TShadowStyle>(B.Pick(2)));
  C.SetAvoidDuplicateMarks((Flags & fAvoidDuplicates) != 0);
  C.SetMinDupMarkDist(B.IntIn(-2, 5));
  C.SetGridStyle(static_cast<GridStyleType>(B.Pick(5)));
  C.SetGridColor(AnyColour(B));
  C.SetGridDx(B.Bool() ? static_cast<double>(B.IntIn(-4, 2)) : B.Double());
  C.SetGridDy(B.Bool() ? static_cast<double>(B.IntIn(-4, 2)) : B.Double());
  C.SetChartColor(AnyColour(B));
  C.SetChartFrameColor(AnyColour(B));
  if (B.Bool()) {
    C.SetCaption(B.String(40));
    C.SetCaptionPosX(B.IntIn(-500, 500));
    C.SetCaptionPosY(B.IntIn(-500, 500));
    C.SetCaptionAlignment(static_cast<TAlignment>(B.Pick(3)));
    C.SetCaptionAnchorHoriz(static_cast<TCaptionAnchorHoriz>(B.Pick(6)));
    C.SetCaptionAnchorVert(static_cast<TCaptionAnchorVert>(B.Pick(6)));
    C.SetCaptionTrim(B.IntIn(-10, 120));
  }
  C.TextFont().SetSize(B.IntIn(-20, 40));
  // Ranges of a few layers; the others keep 0..1. Switching an axis to
  // logarithmic before its range is set tries both orders.
  const int Layers = 1 + B.Pick(3);
  for (int L = 1; L <= Layers; ++L) {
    const bool LogX = B.Pick(4) == 0, LogY = B.Pick(4) == 0;
    double XLow = AnyValue(B), XHigh = B.Bool() ? XLow : AnyValue(B);  // also zero width
    double YLow = AnyValue(B), YHigh = B.Bool() ? -YLow : AnyValue(B);
    // A logarithmic axis mostly gets ends above zero: one below zero only
    // makes the chart refuse to paint.
    if (LogX && B.Pick(4) != 0) {
      XLow = std::fabs(XLow) + 1e-3;
      XHigh = std::fabs(XHigh) + 1;
    }
    if (LogY && B.Pick(4) != 0) {
      YLow = std::fabs(YLow) + 1e-3;
      YHigh = std::fabs(YHigh) + 1;
    }
    if (B.Bool()) {
      const double MinRange = B.Double();
      Try([&] { C.ScalePropsX(L).SetMinRange(MinRange); });
    }
    const bool PushHistory = B.Bool(), PanLimits = B.Bool(), Toggle = B.Bool();
    Try([&] { C.ScalePropsX(L).SetLogarithmic(LogX); });
    Try([&] { C.ScalePropsY(L).SetLogarithmic(LogY); });
    Try([&] { C.SetRange(L, PushHistory, PanLimits, XLow, YLow, XHigh, YHigh); });
    if (Toggle) {
      Try([&] { C.ScalePropsX(L).SetLogarithmic(!LogX); });
      Try([&] { C.ScalePropsY(L).SetLogarithmic(!LogY); });
    }
    if (B.Pick(4) == 0) {
      const auto Labels = static_cast<TFigType>(B.Pick(5));
      const int MinTicks = B.IntIn(-1, 12);
      Try([&] {
        C.ScalePropsX(L).SetVisible(true);
        C.ScalePropsY(L).SetVisible(true);
        C.ScalePropsY(L).SetLabelType(Labels);
        C.ScalePropsY(L).SetMinTicks(MinTicks);
      });
    }
  }
  Try([&] { C.SetIsometric((Flags & fIsometric) != 0); });
  for (int N = 1 + B.Pick(CrossHairCount); N > 0; --N) {
    TCrossHair& H = C.CrossHair(B.IntIn(1, CrossHairCount));
    H.SetMode(static_cast<TCrossHMode>(B.Pick(6)));
    H.SetPosX(AnyValue(B));
    H.SetPosY(AnyValue(B));
    H.SetLayer(B.IntIn(-1, 17));
    H.SetLineType(static_cast<TPenStyle>(B.Pick(7)));
    H.SetLineWid(B.IntIn(-2, 20));
    H.SetColor(AnyColour(B));
  }
  for (int N = B.Pick(3); N > 0; --N) {
    TTextLabel& T = C.TextLabel(B.IntIn(1, TextLabelCount));
    T.SetCaption(B.String(30));
    T.SetPosX(AnyValue(B));
    T.SetPosY(AnyValue(B));
    T.SetLayer(B.IntIn(0, 17));
    T.SetAttachToData(static_cast<TTxtLblAttachMode>(B.Pick(4)));
    T.SetMode(static_cast<TTxtLblMode>(B.Pick(5)));
    T.SetAlignment(static_cast<TAlignment>(B.Pick(3)));
    T.SetVerticalAlignment(static_cast<TVerticalAlignment>(B.Pick(3)));
    T.SetShadowDx(B.IntIn(-50, 50));
    T.SetShadowDy(B.IntIn(-50, 50));
    T.SetTransparent(B.Bool());
    T.Font().SetSize(B.IntIn(-10, 30));
  }
}

// What the commands appended, to be compared with the stores.
struct TAppended {
  int Data = 0;
  int Annotations = 0;
  // Raw records the renderer gets in place of stored items: (annotation, index).
  std::map<std::pair<bool, int>, TvxChartItem> Raw;
};

// One drawing command or attribute change. The values are decoded into
// locals first, one after another: the order in which a call's arguments are
// evaluated differs between compilers, and the replay must decode each input
// exactly as the fuzzer did.
void Command(TVexa& C, TFuzzBytes& B, TAppended& A) {
  const bool Annotation = C.AnnotationMode();
  int& Count = Annotation ? A.Annotations : A.Data;
  const int Op = B.Pick(40);  // 33..39: raw records
  switch (Op) {
    case 0: C.SetDataColor(AnyColour(B)); return;
    case 1: C.SetFillColor(AnyColour(B)); return;
    case 2: C.SetPenStyle(static_cast<TPenStyle>(B.Pick(7))); return;
    case 3: C.SetLineWidth(B.Pick(4) == 0 ? B.Byte() : static_cast<std::uint8_t>(B.Pick(6))); return;
    case 4: C.SetCurrentLayer(B.IntIn(-1, 17)); return;
    case 5: C.SetClassDefault(B.Byte()); return;
    case 6: C.SetAnnotationMode(!C.AnnotationMode()); return;
    case 7: C.SetTextBkStyle(static_cast<TTextBkg>(B.Pick(2))); return;
    case 8: C.SetTextAlignment(static_cast<TAlignment>(B.Pick(3))); return;
    default: break;
  }
  double V[6];
  for (double& Value : V) Value = AnyValue(B);
  const int I1 = B.Raw<std::int32_t>(), I2 = B.Raw<std::int32_t>();
  const std::uint8_t Symbol = B.Pick(3) == 0 ? static_cast<std::uint8_t>(10) : B.Byte();
  const bool Flag = B.Bool();
  const TColor C2 = AnyColour(B), C3 = AnyColour(B);
  try {
    switch (Op) {
      case 9: C.AddMark(V[0], V[1], Symbol); break;
      case 10: C.AddMarkInt(I1 % 100000, I2 % 100000, Symbol); break;
      case 11: C.AddLine(V[0], V[1], V[2], V[3]); break;
      case 12: C.AddMoveTo(V[0], V[1]); break;
      case 13: C.AddDrawTo(V[0], V[1]); break;
      case 14: C.AddMoveRel(V[0], V[1]); break;
      case 15: C.AddDrawRel(V[0], V[1]); break;
      case 16: C.AddRect(V[0], V[1], V[2], V[3], Flag); break;
      case 17: C.AddRect3D(V[0], V[1], V[2], V[3], static_cast<TFrameStyle>(Symbol % 6), C2, C3); break;
      case 18: C.AddBar3D(V[0], V[1], V[2], V[3], static_cast<std::int16_t>(I1), static_cast<std::int16_t>(I2)); break;
      case 19:
      case 20: {
        const std::string Text = B.String(Flag ? 60 : 12);
        const int FontSize = I1 % 90;
        if (Op == 19) {
          C.AddText(V[0], V[1], Text, FontSize);
        } else {
          C.AddTextOffs(V[0], V[1], V[2], V[3], Text, FontSize);
        }
        break;
      }
      case 21: C.AddEllipse(V[0], V[1], V[2], V[3], Flag); break;
      case 22: C.AddArrow(V[0], V[1], V[2], V[3], I1 % 100, Flag); break;
      case 23: C.AddArrow2(V[0], V[1], V[2], V[3], I1 % 100, Flag); break;
      case 24: C.AddBox(V[0], V[1], I1 % 100000, I2 % 100000, Flag); break;
      case 25: C.AddErrorBar(V[0], V[1], V[2], V[3], Symbol, Flag); break;
      case 26: C.AddLineOffs(V[0], V[1], V[2], V[3], I1, I2); break;
      case 27: C.AddArc(V[0], V[1], V[2], V[3], V[4], V[5]); break;
      case 28: C.AddLineRel(V[0], V[1], V[2], V[3]); break;
      case 29: C.AddVLine(V[0]); break;
      case 30: C.AddHLine(V[0]); break;
      case 31: C.AddCross(V[0], V[1], V[2], V[3]); break;
      case 32: {
        // A run of marks or a polyline in one call, mostly of nearby points.
        std::vector<double> Xs, Ys;
        for (int N = B.Pick(40); N > 0 && !B.Empty(); --N) {
          const double X = B.Bool() ? 0.01 * static_cast<double>(Xs.size()) + B.IntIn(-5, 5) : AnyValue(B);
          const double Y = B.Bool() ? 0.1 * B.IntIn(-5, 5) : AnyValue(B);
          Xs.push_back(X);
          Ys.push_back(Y);
        }
        if (Flag) {
          C.AddMarks(Xs, Ys, Symbol);
        } else {
          C.AddPolyline(Xs, Ys);
        }
        Count += static_cast<int>(Xs.size());
        return;
      }
      default: {
        // A raw record: a placeholder in the store, replaced for the renderer.
        const TvxChartItem Raw = RawItem(B);
        C.AddMark(0, 0, 0);
        A.Raw[{Annotation, Count}] = Raw;
        break;
      }
    }
    ++Count;
  } catch (const EZKWVexaError& E) {
    // Only the long-text table may be full; nothing was appended then.
    if (Verbose()) std::fprintf(stderr, "  refused: %s\n", E.what());
    ZKW_FUZZ_CHECK(Op == 19 || Op == 20);
  }
}

QImage DataPicture(TVexa& C) { return C.DataImage().Image().copy(); }

// Redraws with the shortcuts and then on the reference path; both must give
// the same data image. A pass starts from the canvas state the previous one
// left (character marks take the canvas's font, the brush style of the last
// mark stays), so a first redraw settles that state before the two compared
// ones: once settled, every pass leaves it as it found it.
void CheckShortcuts(TVexa& C) {
  SetRenderShortcuts(false);
  C.Redraw();
  SetRenderShortcuts(true);
  C.Redraw();
  const QImage Shortcut = DataPicture(C);
  SetRenderShortcuts(false);
  C.Redraw();
  SetRenderShortcuts(true);
  ZKW_FUZZ_CHECK(DataPicture(C) == Shortcut);
}

// The store's items with the raw records in place: what the renderer is
// given. Item by item and with runs, it must draw the same pixels.
void CheckRunsOnRecords(TVexa& C, const TAppended& A) {
  std::vector<TvxChartItem> Items;
  for (int I = 0; I < C.ItemCount(); ++I) {
    const auto Raw = A.Raw.find({false, I});
    Items.push_back(Raw == A.Raw.end() ? C.GetItem(I) : Raw->second);
  }
  const TPlotGeometry G = C.Geometry();
  const int W = G.DataImageWidth(), H = G.DataImageHeight();
  const TChartRenderer Renderer = ChartRenderer(C);  // the frame refers to its text font
  const TItemRenderFrame Frame = Renderer.ItemFrame(0, 0, false, false);
  std::array<bool, 256> ClassOn{};
  ClassOn.fill(true);
  std::array<bool, LayerCount> LayerOn{};
  LayerOn.fill(true);
  TBitmap Fast(W, H), Plain(W, H);
  TItemRenderer FastR(Fast.Canvas(), Frame), PlainR(Plain.Canvas(), Frame);
  for (TItemRenderer* R : {&FastR, &PlainR}) {
    R->ResetDuplicateMarks();
    R->BeginPass(1, clBlack);
  }
  const int N = static_cast<int>(Items.size());
  for (int I = 0; I < N; ++I) PlainR.RenderItem(Items[static_cast<std::size_t>(I)], I, false, C.DataTexts());
  for (int I = 0; I < N;) {
    const int Next = FastR.RenderRun(Items.data(), I, N, ClassOn.data(), LayerOn.data());
    if (Next > I) {
      I = Next;
      continue;
    }
    FastR.RenderItem(Items[static_cast<std::size_t>(I)], I, false, C.DataTexts());
    ++I;
  }
  FastR.FlushPolyline();
  PlainR.FlushPolyline();
  ZKW_FUZZ_CHECK(Fast.Image() == Plain.Image());
}

// A print file per process, so that parallel fuzzing jobs do not collide.
std::string PrintFile(bool Png) {
  return "/tmp/zkw_fuzz_render_" + std::to_string(static_cast<long>(getpid())) + (Png ? ".png" : ".pdf");
}

// The other draw modes, chosen by the input's last byte (so that every
// input, old ones too, reaches them): a device scale (the refused ones must
// change nothing), anti-aliasing, and the chart painted, redrawn and written
// as vector drawings in them.
void OtherDrawModes(TVexa& C, int Mode) {
  if (Mode == 0) return;
  static constexpr double Scales[] = {1, 1.25, 1.5, 1.75, 2, 3, std::numeric_limits<double>::quiet_NaN(), 0};
  const double Scale = Scales[Mode & 7];
  try {
    C.SetDeviceScale(Scale);
  } catch (const EInvalidGraphic&) {
    ZKW_FUZZ_CHECK(C.DrawMode().Scale == 1.0);
  }
  C.SetAntialiased((Mode & 8) != 0);
  C.Repaint();
  C.Redraw();
  for (const char* Kind : {".svg", ".pdf"}) {
    if (!(Mode & (Kind[1] == 's' ? 16 : 32))) continue;
    const std::string File = "/tmp/zkw_fuzz_render_" + std::to_string(static_cast<long>(getpid())) + Kind;
    try {
      C.SaveImage(File);
    } catch (const Exception& E) {
      if (Verbose()) std::fprintf(stderr, "  %s refused: %s\n", Kind, E.what());
    }
    std::remove(File.c_str());
  }
}

}  // namespace
}  // namespace zkw::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zkw::InitHeadless();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace zkw;
  using namespace zkw::fuzz;
  TFuzzBytes B(Data, Size);
  const int Flags = B.Byte();
  int W = B.IntIn(-20, MaxWidth), H = B.IntIn(-20, MaxHeight);
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, W, H);
  Configure(*C, B, Flags);
  C->HandleNeeded();

  TAppended A;
  for (int N = 0; N < MaxCommands && !B.Empty(); ++N) Command(*C, B, A);
  C->SetAnnotationMode(false);
  ZKW_FUZZ_CHECK(C->ItemCount() == A.Data);
  ZKW_FUZZ_CHECK(C->AnnotationStore().Count() == A.Annotations);
  if (Verbose())
    std::fprintf(stderr, "  %dx%d, %d items, %d annotations, %zu raw\n", W, H, A.Data, A.Annotations, A.Raw.size());

  // Without host handlers: shortcuts against the reference path, then a
  // changed tail (the demo's move: drop the last item, append one) redrawn
  // from the kept image against a full redraw.
  if (Flags & fCompareShortcuts) {
    CheckShortcuts(*C);
    if (Flags & fTailRedraw) {
      C->RemoveLastItem();
      const double X = AnyValue(B), Y = AnyValue(B);
      C->AddMark(X, Y, 10);
      CheckShortcuts(*C);
    }
    CheckRunsOnRecords(*C, A);
  }

  // With the host's handlers: raw records in place of the placeholders, texts
  // changed on the way, and (when asked) the items drawn by exclusive-or.
  const std::string Extra = B.String(40);
  C->OnBeforeRenderChartItem = [&A](TObject*, TvxChartItem& Item, int Index, bool IsAnnotation) {
    const auto Raw = A.Raw.find({IsAnnotation, Index});
    if (Raw != A.Raw.end()) Item = Raw->second;
  };
  C->OnBeforeRenderText = [&Extra](TObject*, std::string& Text, int Index, bool) {
    if (Index % 3 == 0) Text += Extra;
  };
  if (Flags & fXorPen) {
    C->OnBeforeRenderData = [](TObject*, TCanvas& Canvas, int, int) { Canvas.Pen().SetMode(pmXor); };
  }
  C->Repaint();
  const QImage First = C->ControlImage().Image().copy();
  C->Repaint();
  ZKW_FUZZ_CHECK(C->ControlImage().Image() == First);
  C->Redraw();
  OtherDrawModes(*C, Size > 0 ? Data[Size - 1] : 0);

  if (Flags & fPrint) {
    const std::string File = PrintFile((Flags & fPrintPng) != 0);
    try {
      PrintChart(*C, File, (Flags & fMonochrome) != 0);
    } catch (const Exception& E) {
      if (Verbose()) std::fprintf(stderr, "  print refused: %s\n", E.what());
    }
    ZKW_FUZZ_CHECK(!Printer().Printing());
    std::remove(File.c_str());
  }
  return 0;
}
