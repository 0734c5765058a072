// Arbitrary bytes as a sequence of public operations on up to six small
// charts: items appended and removed, data shared and unshared, charts
// destroyed in any order and made anew in their slot, Assign, ranges and
// settings, device ratios and anti-aliasing, mouse messages of every kind,
// repaints and redraws. Every chart
// has host handlers on its render, mouse and in-chart events that, as the
// bytes say, run further operations of the same kind from inside the paint
// or mouse action (nested up to a small depth). After every operation the
// sharing invariants must hold, and no chart may refer to a destroyed one;
// the sanitizers catch every access to freed memory on the way.
//
// What a host may not do, and this target therefore never does: destroy a
// chart from inside its own frame - while one of its handlers runs or one of
// its operations other than Redraw is under way (or while it is the argument
// of one, as the source of Assign or the target of SetUseDataOf). Redraw is
// the exception the chart allows: a handler of another group member may
// destroy the redrawing chart, and the redraw ends its group walk.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "fuzz/fuzz_support.h"
#include "platform/gui_app.h"
#include "platform/screen.h"
#include "tests/support/sharing_invariants.h"

namespace zkw::fuzz {
namespace {

constexpr int Slots = 6;
constexpr int MaxSteps = 64;       // top-level operations per input
constexpr int MaxActions = 160;    // all operations, nested ones included
constexpr int MaxDepth = 2;        // operations run by handlers inside handlers
constexpr int MaxItems = 160;      // items a chart may hold before appends stop
constexpr int MaxMouseRepeat = 6;  // moves of one drag

class TOpsRun {
 public:
  explicit TOpsRun(TFuzzBytes& In) : FIn(In) {}
  TOpsRun(const TOpsRun&) = delete;
  TOpsRun& operator=(const TOpsRun&) = delete;

  void Run() {
    const int First = 1 + FIn.Pick(Slots);
    for (int S = 0; S < First; ++S) Make(S);
    Check();
    for (int Step = 0; Step < MaxSteps && !FIn.Empty() && FActions < MaxActions; ++Step) Act();
    // The rest go in an order the input chooses (slot order once it ran out).
    for (int S = PickLive(); S >= 0; S = PickLive()) {
      FCharts[static_cast<std::size_t>(S)].reset();
      Check();
    }
  }

 private:
  TFuzzBytes& FIn;
  std::array<std::unique_ptr<TVexa>, Slots> FCharts;
  std::array<int, Slots> FBusy{};  // > 0: the chart is inside its own frame
  int FDepth = 0;
  int FActions = 0;

  // Marks a slot busy while it lives in this scope.
  class TBusy {
   public:
    TBusy(TOpsRun& Run, int Slot) : FRun(Run), FSlot(Slot) {
      if (FSlot >= 0) ++FRun.FBusy[static_cast<std::size_t>(FSlot)];
    }
    ~TBusy() {
      if (FSlot >= 0) --FRun.FBusy[static_cast<std::size_t>(FSlot)];
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

   private:
    TOpsRun& FRun;
    int FSlot;
  };

  int SlotOf(const TObject* Chart) const {
    for (int S = 0; S < Slots; ++S)
      if (Chart && FCharts[static_cast<std::size_t>(S)].get() == Chart) return S;
    return -1;
  }
  TVexa* At(int Slot) const { return Slot >= 0 ? FCharts[static_cast<std::size_t>(Slot)].get() : nullptr; }
  // A live chart chosen by the input (searching on from the chosen slot), or -1.
  int PickLive() {
    const int Start = FIn.Pick(Slots);
    for (int I = 0; I < Slots; ++I) {
      const int S = (Start + I) % Slots;
      if (At(S)) return S;
    }
    return -1;
  }

  void Make(int Slot) {
    auto C = std::make_unique<TVexa>(nullptr);
    C->SetBounds(0, 0, FIn.IntIn(120, 300), FIn.IntIn(90, 200));
    const std::uint8_t Look = FIn.Byte();
    C->Scale1X().SetVisible((Look & 1) != 0);
    C->Scale1Y().SetVisible((Look & 2) != 0);
    C->SetAutoRedraw((Look & 4) == 0);
    C->HandleNeeded();
    const int Items = FIn.Pick(12);
    for (int I = 0; I < Items; ++I) C->AddMark(0.1 * (I % 10), 0.07 * I, static_cast<std::uint8_t>(I));
    C->AddText(0.5, 0.5, "t", 8);
    Wire(*C, FIn.Byte());
    FCharts[static_cast<std::size_t>(Slot)] = std::move(C);
  }

  // Runs an operation from inside a handler of Sender when the input says so.
  // Exhausted input says no, so every input ends.
  void Maybe(TObject* Sender) {
    const int Slot = SlotOf(Sender);
    // A handler only ever runs for a live chart.
    ZKW_FUZZ_CHECK(Slot >= 0);
    if (FDepth >= MaxDepth || FActions >= MaxActions || (FIn.Byte() & 7) != 7) return;
    TBusy Own(*this, Slot);
    Act();
  }

  // The handlers the Mask byte chooses. They capture only this run, so that
  // Assign may copy them to any chart.
  void Wire(TVexa& C, std::uint8_t Mask) {
    if (Mask & 1) {
      C.OnBeforeRenderData = [this](TObject* S, TCanvas&, int, int) { Maybe(S); };
      C.OnDataRendered = [this](TObject* S, TCanvas&, int, int) { Maybe(S); };
      C.OnScalesRendered = [this](TObject* S, TCanvas&, int, int) { Maybe(S); };
    }
    if (Mask & 2) {
      C.OnBeforeRenderChartItem = [this](TObject* S, TvxChartItem& Item, int, bool) {
        // The handler may change the copy it is given, to anything.
        if (FIn.Pick(16) == 0) {
          Item.X = FIn.Double();
          Item.Y = FIn.Double();
          Item.X2 = FIn.Double();
          Item.Y2 = FIn.Double();
          Item.Kind = FIn.Byte();
          Item.CoordMode = FIn.Byte();
        }
        Maybe(S);
      };
      C.OnBeforeRenderText = [this](TObject* S, std::string& Text, int, bool) {
        if (FIn.Pick(8) == 0) Text = FIn.String(12);
        Maybe(S);
      };
    }
    if (Mask & 4) {
      C.OnMouseMoveInChart = [this](TObject* S, bool, TShiftState, double, double) { Maybe(S); };
      C.OnMouseMove = [this](TObject* S, TShiftState, int, int) { Maybe(S); };
      C.OnMouseDown = [this](TObject* S, TMouseButton, TShiftState, int, int) { Maybe(S); };
      C.OnMouseUp = [this](TObject* S, TMouseButton, TShiftState, int, int) { Maybe(S); };
      C.OnDblClick = [this](TObject* S) { Maybe(S); };
      C.OnMouseEnter = [this](TObject* S) { Maybe(S); };
      C.OnMouseLeave = [this](TObject* S) { Maybe(S); };
    }
    if (Mask & 8) {
      C.OnMouseWheel = [this](TObject* S, TShiftState, int, TPoint, bool& Handled) {
        Handled = FIn.Pick(4) == 0;
        Maybe(S);
      };
      C.OnMouseWheelUp = [this](TObject* S, TShiftState, TPoint, bool&) { Maybe(S); };
      C.OnMouseWheelDown = [this](TObject* S, TShiftState, TPoint, bool&) { Maybe(S); };
    }
    if (Mask & 16) {
      C.OnZoomPan = [this](TObject* S) { Maybe(S); };
      C.OnRubberBand = [this](TObject* S, int, double, double, double, double) { Maybe(S); };
      C.OnSelectRect = [this](TObject* S, int, double, double, double, double) { Maybe(S); };
    }
    if (Mask & 32) {
      C.OnBeforeCrossHairMove = [this](TObject* S, TCrossHair&, int, int, bool& Allow) {
        Allow = FIn.Pick(4) != 0;
        Maybe(S);
      };
      C.OnCrossHairMove = [this](TObject* S, TCrossHair&) { Maybe(S); };
      C.OnTextLabelMove = [this](TObject* S, TTextLabel&) { Maybe(S); };
    }
    if (Mask & 64) {
      C.OnBeforeTickLabel = [this](TObject* S, TScaleType, double, std::string& Label) {
        if (FIn.Pick(8) == 0) Label = FIn.String(12);
        Maybe(S);
      };
      C.OnScaleTickDrawn = [this](TObject* S, TCanvas&, TScaleType, double, int, int) { Maybe(S); };
    }
  }

  void Check() {
    std::array<TCustomVexa*, Slots> Live{};
    for (int S = 0; S < Slots; ++S) Live[static_cast<std::size_t>(S)] = At(S);
    const std::string Fault = testsupport::SharingFault(Live);
    if (!Fault.empty()) std::fprintf(stderr, "sharing: %s\n", Fault.c_str());
    ZKW_FUZZ_CHECK(Fault.empty());
    for (TCustomVexa* C : Live) {
      if (!C) continue;
      // Owned objects never report to another (perhaps destroyed) chart.
      ZKW_FUZZ_CHECK(C->JointLayers().Owner() == C);
      ZKW_FUZZ_CHECK(C->ItemCount() >= 0 && C->ItemCount() <= C->ItemCapacity());
    }
  }

  void Act() {
    ++FActions;
    ++FDepth;
    const int Op = FIn.Pick(21);
    const int Slot = PickLive();
    if (Verbose()) std::fprintf(stderr, "%*sop %d on %d\n", 2 * FDepth, "", Op, Slot);
    try {
      if (Slot < 0) {
        Make(FIn.Pick(Slots));
      } else {
        Run(Op, Slot);
      }
    } catch (const Exception& E) {
      // The clear error of a refused value; the chart stays usable.
      if (Verbose()) std::fprintf(stderr, "%*s  refused: %s\n", 2 * FDepth, "", E.what());
    }
    --FDepth;
    Check();
  }

  void Run(int Op, int Slot) {
    TVexa& C = *At(Slot);
    // Redraw is the one operation during which the chart may be destroyed
    // by another member's handler; every other one is the chart's own frame.
    if (Op == 14) {
      C.Redraw();  // C may be gone now
      return;
    }
    TBusy Own(*this, Slot);
    switch (Op) {
      case 0: AddItems(C); break;
      case 1: C.RemoveLastItem(); break;
      case 2:
        if (FIn.Bool()) C.ClearItems(); else C.SyncShares();
        break;
      case 3:
      case 4: {
        const int Other = FIn.Pick(4) == 0 ? -1 : PickLive();
        TBusy Target(*this, Other);
        C.SetUseDataOf(At(Other));
        break;
      }
      case 5: {
        // Destroy a chart outside its own frame, or make one in an empty slot.
        const int Victim = FIn.Pick(Slots);
        if (!At(Victim))
          Make(Victim);
        else if (FBusy[static_cast<std::size_t>(Victim)] == 0)
          FCharts[static_cast<std::size_t>(Victim)].reset();
        break;
      }
      case 6: {
        const int Source = PickLive();
        TBusy From(*this, Source);
        if (FIn.Bool())
          C.Assign(*At(Source));
        else
          At(Source)->AssignTo(C);
        break;
      }
      case 7: Ranges(C); break;
      case 8: ScaleProps(C); break;
      case 9: Geometry(C); break;
      case 10: MouseSettings(C); break;
      case 11: Figures(C); break;
      case 12:
      case 13: MouseMessage(C); break;
      case 15: Drag(C); break;
      case 16: History(C); break;
      case 17: Layers(C); break;
      case 18: {
        const int Other = PickLive();
        TBusy From(*this, Other);
        Borrow(C, *At(Other));
        break;
      }
      default: C.Repaint(); break;
    }
  }

  double Coord() { return FIn.Pick(4) == 0 ? FIn.Double() : FIn.Moderate(); }

  void AddItems(TVexa& C) {
    const int Count = 1 + FIn.Pick(8);
    for (int I = 0; I < Count && C.ItemCount() + C.AnnotationStore().Count() < MaxItems; ++I) {
      const double X = Coord(), Y = Coord(), X2 = Coord(), Y2 = Coord();
      switch (FIn.Pick(16)) {
        case 0: C.AddMark(X, Y, FIn.Byte()); break;
        case 1: C.AddLine(X, Y, X2, Y2); break;
        case 2: C.AddMoveTo(X, Y); break;
        case 3: C.AddDrawTo(X, Y); break;
        case 4: C.AddRect(X, Y, X2, Y2, FIn.Bool()); break;
        case 5: C.AddText(X, Y, FIn.String(10), FIn.IntIn(-4, 60)); break;
        case 6: C.AddEllipse(X, Y, X2, Y2, FIn.Bool()); break;
        case 7: C.AddArrow(X, Y, X2, Y2, FIn.IntIn(-5, 40), FIn.Bool()); break;
        case 8: C.AddBar3D(X, Y, X2, Y2, FIn.IntIn(-400, 400), FIn.IntIn(-50, 50)); break;
        case 9: C.AddBox(X, Y, FIn.IntIn(-10, 60), FIn.IntIn(-10, 60), FIn.Bool()); break;
        case 10: C.AddErrorBar(X, Y, X2, Y2, FIn.Byte(), FIn.Bool()); break;
        case 11: C.AddArc(X, Y, X2, Y2, FIn.Double(), FIn.Double()); break;
        case 12: if (FIn.Bool()) C.AddVLine(X); else C.AddHLine(Y); break;
        case 13: C.AddCross(X, Y, X2, Y2); break;
        case 14: {
          std::vector<double> Xs(static_cast<std::size_t>(FIn.Pick(6))), Ys(Xs.size());
          for (std::size_t P = 0; P < Xs.size(); ++P) {
            Xs[P] = Coord();
            Ys[P] = Coord();
          }
          if (FIn.Bool()) C.AddMarks(Xs, Ys, FIn.Byte()); else C.AddPolyline(Xs, Ys);
          break;
        }
        default: C.AddMarkInt(FIn.IntIn(-1000, 1000), FIn.IntIn(-1000, 1000), FIn.Byte()); break;
      }
    }
    if (FIn.Bool()) C.Redraw();
  }

  void Ranges(TVexa& C) {
    const int Layer = FIn.IntIn(0, 17);
    const bool Push = FIn.Bool(), Limits = FIn.Bool();
    switch (FIn.Pick(3)) {
      case 0:  // any values, reversed and empty ones included
        C.SetRange(Layer, Push, Limits, Coord(), Coord(), Coord(), Coord());
        break;
      case 1: {  // a logarithmic-friendly range, either way round
        const double Low = 1e-3 * (1 + FIn.Pick(100)), High = Low * (2 + FIn.Pick(1000));
        if (FIn.Bool())
          C.SetRange(Layer, Push, Limits, Low, Low, High, High);
        else
          C.SetRange(Layer, Push, Limits, High, High, Low, Low);
        break;
      }
      default:
        C.SetLayerRange(Layer, Push, Limits, Coord(), Coord(), Coord(), Coord());
        break;
    }
  }

  void ScaleProps(TVexa& C) {
    const int Layer = FIn.IntIn(1, 4);
    TScaleProps& P = FIn.Bool() ? static_cast<TScaleProps&>(C.ScalePropsX(Layer))
                                : static_cast<TScaleProps&>(C.ScalePropsY(Layer));
    switch (FIn.Pick(8)) {
      case 0: P.SetLogarithmic(FIn.Bool()); break;
      case 1: P.SetRangeLow(Coord()); break;
      case 2: P.SetRangeHigh(Coord()); break;
      case 3: P.SetVisible(FIn.Bool()); break;
      case 4: P.SetMouseAction(static_cast<TMouseActMode>(FIn.Pick(maZoomPanColors + 1))); break;
      case 5: P.SetMinRange(FIn.Double()); break;
      case 6: P.SetDecPlaces(FIn.IntIn(-10, 20)); break;
      default: P.SetLabelType(static_cast<TFigType>(FIn.Pick(ftUserText + 1))); break;
    }
  }

  void Geometry(TVexa& C) {
    switch (FIn.Pick(9)) {
      case 0: C.SetMarginLeft(FIn.IntIn(-20, 320)); break;
      case 1: C.SetMarginRight(FIn.IntIn(-20, 320)); break;
      case 2: C.SetMarginTop(FIn.IntIn(-20, 220)); break;
      case 3: C.SetMarginBottom(FIn.IntIn(-20, 220)); break;
      case 4: C.SetShadowWidth(FIn.IntIn(-5, 40)); break;
      case 5: C.SetIsometric(FIn.Bool()); break;
      case 6: {
        // Another device ratio (the refused ones raise), from a handler too.
        static constexpr double Scales[] = {1, 1.5, 2, 0, -1};
        C.SetDeviceScale(Scales[FIn.Pick(5)]);
        break;
      }
      case 7: C.SetAntialiased(FIn.Bool()); break;
      default: C.SetBounds(0, 0, FIn.IntIn(0, 300), FIn.IntIn(0, 200)); break;
    }
  }

  void MouseSettings(TVexa& C) {
    switch (FIn.Pick(6)) {
      case 0:
      case 1: C.SetMouseAction(static_cast<TMouseActMode>(FIn.Pick(maZoomPanColors + 1))); break;
      case 2: C.SetWheelZoom(FIn.Bool()); break;
      case 3: C.SetLayerMouseEnabled(FIn.IntIn(0, 17), FIn.Bool()); break;
      case 4: C.SetCurrentLayer(FIn.IntIn(0, 17)); break;
      default: C.StartMarkRect(); break;
    }
  }

  void Figures(TVexa& C) {
    if (FIn.Bool()) {
      TCrossHair& H = C.CrossHair(FIn.IntIn(1, CrossHairCount));
      switch (FIn.Pick(3)) {
        case 0: H.SetMode(static_cast<TCrossHMode>(FIn.Pick(chBox + 1))); break;
        case 1: H.SetPosX(Coord()); H.SetPosY(Coord()); break;
        default: H.SetLayer(FIn.IntIn(0, 17)); break;
      }
    } else {
      TTextLabel& L = C.TextLabel(FIn.IntIn(1, TextLabelCount));
      switch (FIn.Pick(4)) {
        case 0: L.SetMode(static_cast<TTxtLblMode>(FIn.Pick(tlShadow + 1))); break;
        case 1: L.SetPosX(Coord()); L.SetPosY(Coord()); break;
        case 2: L.SetCaption(FIn.String(10)); break;
        default: L.SetAttachToData(static_cast<TTxtLblAttachMode>(FIn.Pick(tlamBoth + 1))); break;
      }
    }
  }

  // A position mostly on or near the chart, sometimes anywhere.
  std::int16_t PosX(const TVexa& C) {
    return FIn.Pick(8) == 0 ? FIn.Raw<std::int16_t>() : static_cast<std::int16_t>(FIn.IntIn(-10, C.Width() + 10));
  }
  std::int16_t PosY(const TVexa& C) {
    return FIn.Pick(8) == 0 ? FIn.Raw<std::int16_t>() : static_cast<std::int16_t>(FIn.IntIn(-10, C.Height() + 10));
  }
  TShiftState Shift() { return TShiftState::FromRaw(FIn.Byte() & 0x7F); }
  TMouseButton Button() { return static_cast<TMouseButton>(FIn.Pick(3)); }

  void MouseMessage(TVexa& C) {
    switch (FIn.Pick(7)) {
      case 0: C.WMMouseMove(Shift(), PosX(C), PosY(C)); break;
      case 1: C.WMButtonDown(Button(), Shift(), PosX(C), PosY(C)); break;
      case 2: C.WMButtonUp(Button(), Shift(), PosX(C), PosY(C)); break;
      case 3: C.WMButtonDblClk(Button(), Shift(), PosX(C), PosY(C)); break;
      case 4: {
        const int Delta = FIn.Bool() ? (FIn.Bool() ? 120 : -120) : FIn.IntIn(-1000, 1000);
        C.WMMouseWheel(Shift(), Delta, PosX(C), PosY(C));
        break;
      }
      case 5: C.CMMouseEnter(); break;
      default: C.CMMouseLeave(); break;
    }
  }

  // Press, a few moves, release: what makes the mouse actions run.
  void Drag(TVexa& C) {
    const TMouseButton B = Button();
    const TShiftState S = Shift();
    C.WMButtonDown(B, S, PosX(C), PosY(C));
    const int Moves = FIn.Pick(MaxMouseRepeat + 1);
    for (int M = 0; M < Moves; ++M) C.WMMouseMove(S, PosX(C), PosY(C));
    if (FIn.Pick(4) != 0) C.WMButtonUp(B, S, PosX(C), PosY(C));
  }

  // The setters that take a property object, given another chart's: the
  // values are copied, the object keeps reporting to its own chart.
  void Borrow(TVexa& C, TVexa& Other) {
    const int Layer = FIn.IntIn(1, LayerCount);
    switch (FIn.Pick(7)) {
      case 0: C.SetScalePropsX(Layer, Other.ScalePropsX(FIn.IntIn(1, LayerCount))); break;
      case 1: C.SetScalePropsY(Layer, Other.ScalePropsY(FIn.IntIn(1, LayerCount))); break;
      case 2: C.SetCrossHair(FIn.IntIn(1, CrossHairCount), Other.CrossHair(FIn.IntIn(1, CrossHairCount))); break;
      case 3: C.SetBackGroundImg(Other.BackGroundImg()); break;
      case 4: C.SetJointLayers(Other.JointLayers()); break;
      case 5: C.ScalePropsX(Layer).SetDateFormat(Other.ScalePropsX(Layer).DateFormat()); break;
      default: C.ScalePropsY(Layer).SetFont(Other.ScalePropsY(Layer).Font()); break;
    }
  }

  void History(TVexa& C) {
    switch (FIn.Pick(4)) {
      case 0: C.RangeHistoryBack(); break;
      case 1: C.PushRangeHistory(); break;
      case 2: C.ResetRangeHistory(); break;
      default: C.SetPanLimits(Coord(), Coord(), Coord(), Coord()); break;
    }
  }

  void Layers(TVexa& C) {
    switch (FIn.Pick(8)) {
      case 0: C.JointLayers().SetXControlledBy(FIn.IntIn(0, 17), FIn.IntIn(0, 17)); break;
      case 1: C.JointLayers().SetYControlledBy(FIn.IntIn(0, 17), FIn.IntIn(0, 17)); break;
      case 2: C.SetLayerVisible(FIn.IntIn(0, 17), FIn.Bool()); break;
      case 3: C.SetAutoRedraw(FIn.Bool()); break;
      case 4: C.SetVisible(FIn.Bool()); break;
      case 5: C.SetPaintLock(FIn.Bool()); break;
      case 6: C.SetAnnotationMode(FIn.Bool()); break;
      default: C.SetGridStyle(static_cast<GridStyleType>(FIn.Pick(gsDotLines + 1))); break;
    }
  }
};

}  // namespace
}  // namespace zkw::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zkw::InitHeadless();
  // A refused share shows a message box; the run has nobody to click it.
  zkw::SetMessageBoxHook([](const std::string&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  zkw::fuzz::TFuzzBytes In(Data, Size);
  zkw::fuzz::TOpsRun Run(In);
  Run.Run();
  return 0;
}
