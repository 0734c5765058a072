#include "chart/vexa.h"
#include "chart/paint_suppression.h"

#include <algorithm>

#include "chart/render_tail.h"
#include "chart/vexa_paint.h"
#include "platform/devices.h"
#include "platform/rtl.h"
#include "platform/screen.h"

namespace zkw {

bool VexaClassesRegistered();

namespace {

// Referencing the registration keeps its object file, and with it the form
// reader's knowledge of the chart's classes, in every program using the chart.
[[maybe_unused]] const bool ClassesRegistered = VexaClassesRegistered();

// Colours of the 16 layers' scales, layer 1 first.
constexpr std::array<TColor, LayerCount> LayerColors = {clBlack, clMaroon, clGreen, clOlive, clNavy,   clPurple,
                                                        clTeal,  clGray,   clSilver, clRed,  clLime,   clYellow,
                                                        clBlue,  clFuchsia, clAqua,  clWhite};

// Per-scale settings of a standard layout.
struct TScaleLayout {
  int CaptionPosX;
  int CaptionPosY;
  TAlignment CaptionAlignment;
  TScaleUnitAnchor CaptionAnchor;
  int ScalePos;
  bool Visible;
  bool Far;  // slTop for x scales, slRight for y scales
};

struct TChartLayout {
  int MarginLeft, MarginRight, MarginTop, MarginBottom;
  int CaptionPosX, CaptionPosY;
  TAlignment CaptionAlignment;
  TCaptionAnchorHoriz CaptionAnchorHoriz;
  TCaptionAnchorVert CaptionAnchorVert;
  std::array<TScaleLayout, 4> X;
  std::array<TScaleLayout, 4> Y;
};

constexpr TScaleLayout XOff{10, 100, taCenter, uaSclCenter, 0, false, false};
constexpr TScaleLayout YOff{10, 100, taRightJustify, uaSclTopLft, 0, false, false};
constexpr TScaleLayout YAt(int P) { return {0, -23, taRightJustify, uaSclTopLft, P, true, false}; }
constexpr TScaleLayout X1Bottom{0, 22, taCenter, uaSclCenter, 0, true, false};

constexpr std::array<TChartLayout, 7> Layouts = {{
    // vxl_X1Bottom_Y1Left
    {50, 20, 20, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {X1Bottom, XOff, XOff, XOff},
     {TScaleLayout{0, -16, taLeftJustify, uaSclTopLft, 0, true, false}, YOff, YOff, YOff}},
    // vxl_X1Bottom_Y2Left
    {100, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {X1Bottom, XOff, XOff, XOff}, {YAt(0), YAt(50), YOff, YOff}},
    // vxl_X1Bottom_Y3Left
    {150, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {X1Bottom, XOff, XOff, XOff}, {YAt(0), YAt(50), YAt(100), YOff}},
    // vxl_X1Bottom_Y4Left
    {200, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {X1Bottom, XOff, XOff, XOff}, {YAt(0), YAt(50), YAt(100), YAt(150)}},
    // vxl_X1Bottom_Y2Both
    {50, 50, 24, 40, 0, -20, taCenter, cahChartCenter, cavChartTop,
     {X1Bottom, XOff, XOff, XOff},
     {YAt(0), TScaleLayout{0, -23, taLeftJustify, uaSclTopLft, 0, true, true}, YOff, YOff}},
    // vxl_X2Bottom_Y2Left
    {100, 20, 24, 70, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {TScaleLayout{-20, 7, taRightJustify, uaSclTopLft, 0, true, false},
      TScaleLayout{-20, 7, taRightJustify, uaSclTopLft, 30, true, false}, XOff, XOff},
     {YAt(0), YAt(50), YOff, YOff}},
    // vxl_X2Both_Y2Both
    {50, 50, 64, 40, 0, -60, taCenter, cahChartCenter, cavChartTop,
     {TScaleLayout{0, 20, taCenter, uaSclCenter, 0, true, false},
      TScaleLayout{0, -40, taCenter, uaSclCenter, 0, true, true}, XOff, XOff},
     {TScaleLayout{0, -40, taRightJustify, uaSclTopLft, 0, true, false},
      TScaleLayout{0, -40, taLeftJustify, uaSclTopLft, 0, true, true},
      TScaleLayout{0, -23, taRightJustify, uaSclTopLft, 0, false, false},
      TScaleLayout{0, -23, taRightJustify, uaSclTopLft, 0, false, false}}},
}};

template <typename Props>
void ApplyScaleLayout(Props& P, const TScaleLayout& L, decltype(P.ScaleLocation()) Near,
                      decltype(P.ScaleLocation()) Far) {
  P.SetScaleLocation(L.Far ? Far : Near);
  P.SetCaptionPosX(L.CaptionPosX);
  P.SetCaptionPosY(L.CaptionPosY);
  P.SetCaptionAlignment(L.CaptionAlignment);
  P.SetCaptionAnchor(L.CaptionAnchor);
  P.SetScalePos(L.ScalePos);
  P.SetVisible(L.Visible);
}

// Value objects' Assign also copies the change handler (the joined-layer
// table also its chart): a chart's own objects keep reporting to their chart,
// never to the chart they were copied from.
template <typename T>
void AssignKeepingHandlers(T& Own, const T& Source) {
  TNotifyEvent Keep = std::move(Own.OnChange);
  Own.Assign(Source);
  Own.OnChange = std::move(Keep);
}

void AssignRangeObject(TScaleProps& Own, const TScaleProps& Source) {
  TNotifyEvent KeepFormat = std::move(Own.DateFormat().OnChange);
  TNotifyEvent Keep = std::move(Own.OnChange);
  Own.Assign(Source);
  Own.OnChange = std::move(Keep);
  Own.DateFormat().OnChange = std::move(KeepFormat);
}

void AssignKeepingHandlers(TJointLayers& Own, const TJointLayers& Source) {
  TCustomVexa* const Owner = Own.Owner();
  TNotifyEvent Keep = std::move(Own.OnChange);
  Own.Assign(Source);
  Own.OnChange = std::move(Keep);
  Own.SetOwner(Owner);
}

// An internal scale control takes the source control's settings; its tick
// events keep going to its own chart's relays.
void AssignScaleControl(TScale& Own, const TScale& Source) {
  TScaleTickDrawnEvent KeepTick = std::move(Own.OnScaleTickDrawn);
  TBeforeTickLabelEvent KeepLabel = std::move(Own.OnBeforeTickLabel);
  Own.Assign(Source);
  Own.OnScaleTickDrawn = std::move(KeepTick);
  Own.OnBeforeTickLabel = std::move(KeepLabel);
}

}  // namespace

// The host's handlers, as Assign copies them from one chart to another.
struct TCustomVexa::TVexaEvents {
  TMouseMoveInChartEvent MouseMoveInChart;
  TNotifyEvent MouseEnter, MouseLeave;
  TZoomPanEvent ZoomPan;
  TSelectRectEvent RubberBand, SelectRect;
  TBeforeCrossHMoveEvent BeforeCrossHairMove;
  TCrossHairMoveEvent CrossHairMove;
  TTextLabelMoveEvent TextLabelMove;
  TScaleTickDrawnEvent ScaleTickDrawn;
  TBeforeTickLabelEvent BeforeTickLabel;
  TRenderEvent BeforeRenderData, DataRendered, ScalesRendered;
  TBeforeRenderCItemEvent BeforeRenderChartItem;
  TBeforeRenderTextEvent BeforeRenderText;
};

TCustomVexa::TVexaEvents TCustomVexa::EventsOf(const TCustomVexa& S) {
  return {S.OnMouseMoveInChart,  S.OnMouseEnter,   S.OnMouseLeave,          S.OnZoomPan,
          S.OnRubberBand,        S.OnSelectRect,   S.OnBeforeCrossHairMove, S.OnCrossHairMove,
          S.OnTextLabelMove,     S.OnScaleTickDrawn, S.OnBeforeTickLabel,   S.OnBeforeRenderData,
          S.OnDataRendered,      S.OnScalesRendered, S.OnBeforeRenderChartItem, S.OnBeforeRenderText};
}

void TCustomVexa::SetEvents(const TVexaEvents& E) {
  OnMouseMoveInChart = E.MouseMoveInChart;
  OnMouseEnter = E.MouseEnter;
  OnMouseLeave = E.MouseLeave;
  OnZoomPan = E.ZoomPan;
  OnRubberBand = E.RubberBand;
  OnSelectRect = E.SelectRect;
  OnBeforeCrossHairMove = E.BeforeCrossHairMove;
  OnCrossHairMove = E.CrossHairMove;
  OnTextLabelMove = E.TextLabelMove;
  OnScaleTickDrawn = E.ScaleTickDrawn;
  OnBeforeTickLabel = E.BeforeTickLabel;
  OnBeforeRenderData = E.BeforeRenderData;
  OnDataRendered = E.DataRendered;
  OnScalesRendered = E.ScalesRendered;
  OnBeforeRenderChartItem = E.BeforeRenderChartItem;
  OnBeforeRenderText = E.BeforeRenderText;
}

// ---- construction and destruction ----------------------------------------------

TCustomVexa::TCustomVexa(TComponent* AOwner) : TCustomControl(AOwner), FShare(this) {
  FPaintLocked = true;
  for (auto& C : FCrossHairs) C = std::make_unique<TCrossHair>();
  for (auto& L : FTextLabels) L = std::make_unique<TTextLabel>();
  FBackGroundImg = std::make_unique<TBakGndImg>();
  FJointLayers = std::make_unique<TJointLayers>(this);
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    FScaleCtlX[N] = std::make_unique<TScale>(this);
    FScaleX[N] = std::make_unique<TScalePropsHoriz>();
    FScaleCtlY[N] = std::make_unique<TScale>(this);
    FScaleY[N] = std::make_unique<TScalePropsVert>();
    // Internal: their state is the published Scale properties'.
    for (TScale* C : {FScaleCtlX[N].get(), FScaleCtlY[N].get()}) C->SetSubComponent(true);
  }
  SetBounds(Left(), Top(), 280, 200);
  FMouseTrace.assign(MouseTraceCapacity, TMouseTracePoint{});
  FMouseTraceCount = 0;
  ResizeDataImage();
  FControlImage.SetSize(Width(), Height());
  FTextFont.Assign(Font());
  SetDefaults();
}

TCustomVexa::~TCustomVexa() {
  FLife.reset();
  // Leave the sharing group (or release its users) before anything else of
  // this chart goes away, so no other chart can reach it any more.
  FShare.DetachDying();
  // The scale controls are components owned by this chart; deleting them
  // here removes them from the owner's list before the base class runs.
  for (auto& C : FScaleCtlX) C.reset();
  for (auto& C : FScaleCtlY) C.reset();
}

TNotifyEvent TCustomVexa::WhileAlive(void (TCustomVexa::*Method)()) {
  return [this, Life = std::weak_ptr<char>(FLife), Method](TObject*) {
    if (!Life.expired()) (this->*Method)();
  };
}

void TCustomVexa::ConnectNotifications() {
  const TNotifyEvent Repaint = WhileAlive(&TCustomVexa::RepaintIfAutoRedraw);
  for (auto& C : FCrossHairs) C->OnChange = Repaint;
  for (auto& L : FTextLabels) L->OnChange = Repaint;
  FBackGroundImg->OnChange = Repaint;
  FJointLayers->OnChange = Repaint;
  FJointLayers->SetOwner(this);
  const TNotifyEvent PropsChanged = WhileAlive(&TCustomVexa::ScalePropsChanged);
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    FScaleX[N]->OnChange = PropsChanged;
    FScaleX[N]->DateFormat().OnChange = PropsChanged;
    FScaleY[N]->OnChange = PropsChanged;
    FScaleY[N]->DateFormat().OnChange = PropsChanged;
    for (TScale* Control : {FScaleCtlX[N].get(), FScaleCtlY[N].get()}) {
      Control->OnScaleTickDrawn = [this](TObject*, TCanvas& Canvas, TScaleType ScaleType, double Pos, int ChartX,
                                         int ChartY) {
        // Local copies: a handler may Assign another chart's handlers to this one.
        if (const TScaleTickDrawnEvent Handler = OnScaleTickDrawn) Handler(this, Canvas, ScaleType, Pos, ChartX, ChartY);
      };
      Control->OnBeforeTickLabel = [this](TObject*, TScaleType ScaleType, double Pos, std::string& Label) {
        if (const TBeforeTickLabelEvent Handler = OnBeforeTickLabel) Handler(this, ScaleType, Pos, Label);
      };
      Control->OnZoomPan = PropsChanged;
      Control->SetHostCanvas(&FControlImage.Canvas(), 0, 0);
    }
  }
}

void TCustomVexa::PrepareScaleControl(TScale& Control, const TScaleProps& Props, bool IsX) {
  Control.SetMouseAction(maZoom);
  Control.SetTransparent(true);
  Control.SetColorBackGnd(FFrame.WindColor);
  Control.SetFrameStyle(fsNone);
  Control.SetBounds(0, 0, Width(), Height());
  CopyScalePropsToControl(Props, Control);
  if (IsX) {
    Control.SetMarginLeft(FFrame.MarginLeft);
    Control.SetMarginRight(ScaleFarMargin(FFrame.MarginRight));
  } else {
    Control.SetMarginTop(FFrame.MarginTop);
    Control.SetMarginBottom(ScaleFarMargin(FFrame.MarginBottom));
  }
}

void TCustomVexa::SetDefaults() {
  // Range-object notifications are held back until everything is set; the
  // layout at the end copies all range objects into their controls.
  ++FNotifySuspend;
  FPaintLocked = true;
  // The plain values from the one table of defaults (chart/chart_settings.h).
  FPlot = TPlotLook{};
  FFrame = TFrameLook{};
  FConduct = TChartConduct{};
  FShare.Store().Clear();
  FShare.Store().Texts().Clear();
  FAnnotations.Clear();
  FAnnotations.Texts().Clear();
  FShare.Store().ResetKindCounts();
  constexpr TChartCrossHairDefaults CrossHairDefaults;
  for (int I = 0; I < CrossHairCount; ++I) {
    TCrossHair& C = *FCrossHairs[static_cast<std::size_t>(I)];
    C.OnChange = nullptr;
    C.SetPosX(CrossHairDefaults.PosX);
    C.SetPosY(CrossHairDefaults.PosY);
    C.SetLayer(I + 1);
    C.SetColor(CrossHairDefaults.Color);
    C.SetMode(CrossHairDefaults.Mode);
    C.SetLineType(CrossHairDefaults.LineType);
    C.SetLineWid(CrossHairDefaults.LineWid);
  }
  constexpr TChartTextLabelDefaults LabelDefaults;
  for (auto& Label : FTextLabels) {
    TTextLabel& L = *Label;
    L.OnChange = nullptr;
    L.SetPosX(LabelDefaults.PosX);
    L.SetPosY(LabelDefaults.PosY);
    L.SetLayer(LabelDefaults.Layer);
    L.SetAttachToData(LabelDefaults.AttachToData);
    L.SetAlignment(LabelDefaults.Alignment);
    L.SetVerticalAlignment(LabelDefaults.VerticalAlignment);
    L.SetColorBkg(LabelDefaults.ColorBkg);
    L.SetColorBorder(LabelDefaults.ColorBorder);
    L.SetShadowDx(LabelDefaults.ShadowDx);
    L.SetShadowDy(LabelDefaults.ShadowDy);
    L.SetColorShadow(LabelDefaults.ColorShadow);
    L.SetTransparent(LabelDefaults.Transparent);
    L.SetCaption("");
    L.SetFont(Font());
    L.SetVisible(LabelDefaults.Visible);
    L.SetMode(LabelDefaults.Mode);
  }
  FBackGroundImg->OnChange = nullptr;
  FBackGroundImg->SetName("");
  FTextFont.Assign(Font());
  Screen().LoadCursor(1, "CURHAND");
  Screen().LoadCursor(2, "CURZOOMW");
  Screen().LoadCursor(3, "CURZOOMD");
  Screen().LoadCursor(4, "CURZOOMP");
  FProbeBitmap.SetSize(10, 10);
  // The display's pixel aspect, as integers in hundredths of the smaller
  // side (100, 100 on square pixels); only the isometric rule uses their ratio.
  double AspectX = 1, AspectY = 1;
  ScreenInfo().PixelAspect(AspectX, AspectY);
  FPixelAspectX = ClampInt(Round(AspectX * 100), 1, 1000000);
  FPixelAspectY = ClampInt(Round(AspectY * 100), 1, 1000000);
  ConnectNotifications();
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    FScaleX[N]->SetDefaults();
    PrepareScaleControl(*FScaleCtlX[N], *FScaleX[N], true);
    FScaleY[N]->SetDefaults();
    PrepareScaleControl(*FScaleCtlY[N], *FScaleY[N], false);
  }
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    const std::string Number = std::to_string(I + 1);
    TScale& CX = *FScaleCtlX[N];
    CX.SetPaintSuspended(true);
    CX.SetEmbedded(true);
    CX.SetHostCanvas(&FControlImage.Canvas(), 0, 0);
    CX.SetName("VX_FScale_X_" + Number);
    FScaleX[N]->SetColorScale(LayerColors[N]);
    FScaleX[N]->SetScaleType(I % 2 == 0 ? sctXT : sctXB);
    FScaleX[N]->SetScalePos((I / 2) * 30);
    TScale& CY = *FScaleCtlY[N];
    CY.SetPaintSuspended(true);
    CY.SetEmbedded(true);
    CY.SetHostCanvas(&FControlImage.Canvas(), 0, 0);
    CY.SetName("VX_FScale_Y_" + Number);
    FScaleY[N]->SetColorScale(LayerColors[N]);
    FScaleY[N]->SetScaleType(I % 2 == 0 ? sctYR : sctYL);
    FScaleY[N]->SetScalePos((I / 2) * 50);
  }
  FPaintLocked = true;
  --FNotifySuspend;
  SetStandardLayout(vxl_X1Bottom_Y1Left);
  ResetRangeHistory();
  FPanLimits = TPanLimits{};
  FMouse.Reset();
}

// ---- lifecycle -------------------------------------------------------------------

void TCustomVexa::Loaded() {
  TCustomControl::Loaded();
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    CopyScalePropsToControl(*FScaleX[N], *FScaleCtlX[N]);
    FScaleX[N]->SetLoading(false);
    CopyScalePropsToControl(*FScaleY[N], *FScaleCtlY[N]);
    FScaleY[N]->SetLoading(false);
  }
  ComputeFactors();
  Repaint();
}

void TVexa::CreateWnd() {
  TCustomVexa::CreateWnd();
  // The window exists: painting may start (no repaint of its own here).
  ClearPaintLockDirect();
}

void TCustomVexa::SetPaintLock(bool Value) {
  if (Value == FPaintLocked) return;
  FPaintLocked = Value;
  if (!Value) Repaint();
}

void TCustomVexa::RepaintIfAutoRedraw() {
  if (FConduct.AutoRedraw || Designing()) Repaint();
}

// The paint pipeline lives in the renderer (chart/render_*.cpp); these
// virtual operations forward to it, and the renderer calls back through them,
// so a descendant that overrides one still changes what is painted.
void TCustomVexa::Paint() { ChartRenderer(*this).Paint(); }

void TCustomVexa::DrawModeChanged() {
  const TDrawMode& Mode = DrawMode();
  FDataImage.SetDrawMode(Mode);
  FControlImage.SetDrawMode(Mode);
  // The kept image was drawn in the old mode; the next pass starts afresh.
  if (FKeptDataImage) FKeptDataImage->Invalidate();
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    for (TScale* C : {FScaleCtlX[N].get(), FScaleCtlY[N].get()}) {
      C->SetDeviceScale(Mode.Scale);
      C->SetAntialiased(Mode.Antialiased);
    }
  }
  TCustomControl::DrawModeChanged();
}

void TCustomVexa::DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height) {
  PassRenderer(*this).DrawPlotBackground(Canvas, Left, Top, Width, Height);
}

void TCustomVexa::RenderDataToBitmap(TBitmap& Bitmap, int Left, int Top, bool Monochrome, int NoGrid) {
  RenderData(Bitmap.Canvas(), Left, Top, Monochrome, NoGrid);
}

void TCustomVexa::RenderData(TCanvas& Canvas, int Left, int Top, bool Monochrome, int NoGrid) {
  PassRenderer(*this).RenderData(Canvas, Left, Top, Monochrome, NoGrid);
}

TDialogCodes TCustomVexa::WMGetDlgCode() const {
  return TCustomControl::WMGetDlgCode() + TDialogCodes{dcWantArrows, dcWantTab};
}

// Marks a host handler of the chart as running; when the outermost one has
// returned, handlers that Assign copied meanwhile are installed.
class TCustomVexa::THostEventScope {
 public:
  explicit THostEventScope(TCustomVexa& Chart) : FChart(Chart) { ++FChart.FEventDepth; }
  ~THostEventScope() {
    if (--FChart.FEventDepth > 0 || !FChart.FPendingEvents) return;
    const std::function<void()> Install = std::move(FChart.FPendingEvents);
    FChart.FPendingEvents = nullptr;
    Install();
  }
  THostEventScope(const THostEventScope&) = delete;
  THostEventScope& operator=(const THostEventScope&) = delete;

 private:
  TCustomVexa& FChart;
};

void TCustomVexa::DoBeforeRenderChartItem(TvxChartItem& Item, int Index, bool IsAnnotation) {
  if (!OnBeforeRenderChartItem) return;
  THostEventScope Running(*this);
  OnBeforeRenderChartItem(this, Item, Index, IsAnnotation);
}

void TCustomVexa::DoBeforeRenderText(std::string& Text, int Index, bool IsAnnotation) {
  if (!OnBeforeRenderText) return;
  THostEventScope Running(*this);
  OnBeforeRenderText(this, Text, Index, IsAnnotation);
}

void TCustomVexa::DoRenderEvent(TRenderEvent TCustomVexa::*Event, TCanvas& Canvas, int Top, int Left) {
  if (!(this->*Event)) return;
  THostEventScope Running(*this);
  (this->*Event)(this, Canvas, Top, Left);
}

void TCustomVexa::RedrawData() { ChartRenderer(*this).RedrawData(); }

void TCustomVexa::Redraw() {
  if (Visible()) {
    SyncShares();
    if (FConduct.AutoRedraw) {
      RedrawData();
    } else {
      Repaint();
    }
  }
  // Each repaint runs host handlers, which may destroy members (this chart
  // too) or move them to other groups; the walk re-checks every member.
  FShare.ForEachToNotify([](TvxDataShare& Member) {
    if (TCustomVexa* Chart = Member.Owner()) Chart->RepaintIfAutoRedraw();
  });
}

// ---- sharing -----------------------------------------------------------------------

TCustomVexa* TCustomVexa::UseDataOf() const { return FShare.Source() ? FShare.Source()->Owner() : nullptr; }

void TCustomVexa::SetUseDataOf(TCustomVexa* Value) {
  const TShareResult Result = FShare.UseDataOf(Value ? &Value->FShare : nullptr);
  switch (Result) {
    case srJoined:
    case srLeft:
      RepaintIfAutoRedraw();
      break;
    case srSelf:
    case srHasUsers:
    case srTooMany:
      ShowMessage(ShareResultMessage(Result));
      break;
    case srUnchanged:
      break;
  }
}

// ---- copying -----------------------------------------------------------------------

void TCustomVexa::AssignTo(TPersistent& Dest) const {
  if (auto* Chart = dynamic_cast<TCustomVexa*>(&Dest)) {
    Chart->Assign(*this);
    return;
  }
  TCustomControl::AssignTo(Dest);
}

void TCustomVexa::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TCustomVexa*>(&Source);
  if (!S) {
    TCustomControl::Assign(Source);
    return;
  }
  if (S == this) return;
  // All or nothing: whatever can fail runs before this chart changes. The
  // one error of the copy, a logarithmic axis below zero, is found first (it
  // would otherwise be raised half-way, by the range objects' notifications);
  // the item copies and the data image's new size are made next.
  CheckAssignableRanges(*S);
  auto Data = std::make_shared<TvxItemStore>();
  Data->CopyFrom(S->FShare.Store(), CopiedCapacity(S->FShare.Store().Count(), S->FConduct.AllocSize));
  TvxItemStore Annotations;
  Annotations.CopyFrom(S->FAnnotations, CopiedCapacity(S->FAnnotations.Count(), S->FConduct.AllocSize));
  const TPlotGeometry NewGeometry{Width(), Height(), S->FFrame.MarginLeft, S->FFrame.MarginRight, S->FFrame.MarginTop,
                                  S->FFrame.MarginBottom, S->FFrame.ShadowWidth};
  FDataImage.SetSize(NewGeometry.DataImageWidth(), NewGeometry.DataImageHeight());
  const auto Events = std::make_shared<const TVexaEvents>(EventsOf(*S));
  {
    // Range-object notifications are ignored while the values arrive, and
    // on every way out of this block every owned object reports to this
    // chart again (the copies below keep this chart's handlers anyway).
    ++FNotifySuspend;
    struct TRewire {
      TCustomVexa& Chart;
      ~TRewire() {
        Chart.ConnectNotifications();
        --Chart.FNotifySuspend;
      }
    } Rewire{*this};
    CopySettings(*S);
    // The copy stands alone: it leaves any group it was in, with a private
    // copy of the items the source shows (see the header).
    FShare.StandAlone(std::move(Data));
    FAnnotations = std::move(Annotations);
    for (int I = 0; I < LayerCount; ++I) {
      const auto N = static_cast<std::size_t>(I);
      AssignScaleControl(*FScaleCtlX[N], *S->FScaleCtlX[N]);
      AssignScaleControl(*FScaleCtlY[N], *S->FScaleCtlY[N]);
      AssignRangeObject(*FScaleX[N], *S->FScaleX[N]);
      FScaleX[N]->SetScaleLocation(S->FScaleX[N]->ScaleLocation());
      FScaleX[N]->SetMouseAction(S->FScaleX[N]->MouseAction());
      AssignRangeObject(*FScaleY[N], *S->FScaleY[N]);
      FScaleY[N]->SetScaleLocation(S->FScaleY[N]->ScaleLocation());
      FScaleY[N]->SetMouseAction(S->FScaleY[N]->MouseAction());
      FFactors[N] = S->FFactors[N];
    }
    for (int I = 1; I <= TRangeHistory::Size; ++I) FHistory.Snapshot(I) = S->FHistory.Snapshot(I);
    FHistory.SetPosition(S->FHistory.Position());
    FPanLimits = S->FPanLimits;
    AssignKeepingHandlers(*FBackGroundImg, *S->FBackGroundImg);
    for (int I = 0; I < CrossHairCount; ++I)
      AssignKeepingHandlers(*FCrossHairs[static_cast<std::size_t>(I)], *S->FCrossHairs[static_cast<std::size_t>(I)]);
    for (int I = 0; I < TextLabelCount; ++I)
      AssignKeepingHandlers(*FTextLabels[static_cast<std::size_t>(I)], *S->FTextLabels[static_cast<std::size_t>(I)]);
    AssignKeepingHandlers(*FJointLayers, *S->FJointLayers);
    FTextFont.Assign(S->FTextFont);
    // A handler of this chart that is running now (it called Assign) must
    // not be overwritten under its feet: the copied handlers then take over
    // when it has returned.
    if (FEventDepth > 0) {
      FPendingEvents = [this, Events] { SetEvents(*Events); };
    } else {
      FPendingEvents = nullptr;
      SetEvents(*Events);
    }
  }
  ApplyAllScaleProps();
  ComputeFactors();
  RepaintIfAutoRedraw();
}

void TCustomVexa::CopySettings(const TCustomVexa& S) {
  SetTag(S.Tag());
  FPlot = S.FPlot;
  FFrame = S.FFrame;
  FConduct = S.FConduct;
  FPixelAspectX = S.FPixelAspectX;
  FPixelAspectY = S.FPixelAspectY;
  FPaintLocked = S.FPaintLocked;
}

// ---- properties --------------------------------------------------------------------

void TCustomVexa::SetAllocSize(int Value) {
  if (Value >= MinAllocSize && Value <= MaxAllocSize) FConduct.AllocSize = Value;
}

void TCustomVexa::SetAvoidDuplicateMarks(bool Value) {
  if (Value == FPlot.AvoidDuplicateMarks) return;
  FPlot.AvoidDuplicateMarks = Value;
  Repaint();
}

void TCustomVexa::SetMinDupMarkDist(int Value) {
  if (Value == FPlot.MinDupMarkDist) return;
  FPlot.MinDupMarkDist = std::clamp(Value, 1, 3);
  Repaint();
}

void TCustomVexa::SetShadowStyle(TShadowStyle Value) {
  FFrame.ShadowStyle = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetShadowColor(TColor Value) {
  FFrame.ShadowColor = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetShadowBakColor(TColor Value) {
  FFrame.ShadowBakColor = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetBackGroundImg(const TBakGndImg& Value) {
  if (&Value != FBackGroundImg.get()) {
    FBackGroundImg->Assign(Value);
    FBackGroundImg->OnChange = WhileAlive(&TCustomVexa::RepaintIfAutoRedraw);
  }
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetClassDefault(std::uint8_t Value) {
  // 255 is the search's "any class" and cannot be an item's class.
  if (Value != ClassFilterAll) FConduct.ClassDefault = Value;
}

void TCustomVexa::SetGridStyle(GridStyleType Value) {
  FPlot.GridStyle = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetGridDx(double Value) {
  if (Value >= -3.0) {
    FPlot.GridDx = Value;
    RepaintIfAutoRedraw();
  }
}

void TCustomVexa::SetGridDy(double Value) {
  if (Value >= -3.0) {
    FPlot.GridDy = Value;
    RepaintIfAutoRedraw();
  }
}

void TCustomVexa::SetGridColor(TColor Value) {
  FPlot.GridColor = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetChartFrameColor(TColor Value) {
  FPlot.ChartFrameColor = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetChartColor(TColor Value) {
  FPlot.ChartColor = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetWindColor(TColor Value) {
  FFrame.WindColor = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetJointLayers(const TJointLayers& Value) {
  if (&Value != FJointLayers.get()) {
    FJointLayers->Assign(Value);
    FJointLayers->SetOwner(this);
    FJointLayers->OnChange = WhileAlive(&TCustomVexa::RepaintIfAutoRedraw);
  }
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaption(const std::string& Value) {
  FFrame.Caption = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaptionPosX(int Value) {
  FFrame.CaptionPosX = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaptionPosY(int Value) {
  FFrame.CaptionPosY = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaptionAlignment(TAlignment Value) {
  FFrame.CaptionAlignment = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaptionAnchorHoriz(TCaptionAnchorHoriz Value) {
  FFrame.CaptionAnchorHoriz = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaptionAnchorVert(TCaptionAnchorVert Value) {
  FFrame.CaptionAnchorVert = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCaptionTrim(int Value) {
  FFrame.CaptionTrim = Value == 0 ? 0 : std::clamp(Value, 5, 100);
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetCrossHair(int Index, const TCrossHair& Value) {
  TCrossHair& Own = CrossHair(Index);
  if (&Value != &Own) {
    Own.Assign(Value);
    Own.OnChange = WhileAlive(&TCustomVexa::RepaintIfAutoRedraw);
  }
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetTextAlignment(TAlignment Value) {
  FConduct.TextAlignment = Value;
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetLayerVisible(int Layer, bool Value) {
  FPlot.LayerVisible[static_cast<std::size_t>(ClampLayer(Layer) - 1)] = Value;
}

void TCustomVexa::SetPanLimits(Extended XLow, Extended YLow, Extended XHigh, Extended YHigh) {
  FPanLimits = TPanLimits{XLow, YLow, XHigh, YHigh};
}

void TCustomVexa::SetStandardLayout(TvxLayout Value) {
  const TChartLayout& L = Layouts[static_cast<std::size_t>(Value < Layouts.size() ? Value : 0)];
  TPaintSuppression Suppress(*this);
  SetMarginLeft(L.MarginLeft);
  SetMarginRight(L.MarginRight);
  SetMarginTop(L.MarginTop);
  SetMarginBottom(L.MarginBottom);
  SetCaptionPosX(L.CaptionPosX);
  SetCaptionPosY(L.CaptionPosY);
  SetCaptionAlignment(L.CaptionAlignment);
  SetCaptionAnchorHoriz(L.CaptionAnchorHoriz);
  SetCaptionAnchorVert(L.CaptionAnchorVert);
  // The layout changes no range: the objects are copied into their controls
  // once at the end instead of after every single setting.
  ++FNotifySuspend;
  for (int I = 0; I < 4; ++I) {
    const auto N = static_cast<std::size_t>(I);
    ApplyScaleLayout(*FScaleX[N], L.X[N], slBottom, slTop);
    ApplyScaleLayout(*FScaleY[N], L.Y[N], slLeft, slRight);
  }
  for (int I = 4; I < LayerCount; ++I) {
    FScaleX[static_cast<std::size_t>(I)]->SetVisible(false);
    FScaleY[static_cast<std::size_t>(I)]->SetVisible(false);
  }
  --FNotifySuspend;
  CopyAllScalePropsToControls();
}

}  // namespace zkw
