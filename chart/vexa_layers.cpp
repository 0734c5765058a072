// The chart's layers: transforms, range changes (directly, through joined
// layers, with pan limits and history), the isometric rule, margins and the
// copying of range objects into the internal scale controls.
#include <algorithm>
#include <cstdint>

#include "chart/nearest_item.h"
#include "chart/vexa.h"
#include "chart/paint_suppression.h"

namespace zkw {

namespace {

TAxisRange AxisOf(const TScaleProps& P) { return {P.RangeLow(), P.RangeHigh(), P.Logarithmic()}; }
TRangeEnds EndsOf(const TScaleProps& P) { return {P.RangeLow(), P.RangeHigh()}; }

const std::string LogAxisMessage = "Logarithmic axis must not be negative.";

// Whether a range can be mapped at all: a logarithmic one needs both ends
// above zero, whatever the plot's size.
bool Mappable(const TScaleProps& P) { return !P.Logarithmic() || (P.RangeLow() > 0 && P.RangeHigh() > 0); }

}  // namespace

TPlotGeometry TCustomVexa::Geometry() const {
  return TPlotGeometry{Width(), Height(), FFrame.MarginLeft, FFrame.MarginRight, FFrame.MarginTop, FFrame.MarginBottom, FFrame.ShadowWidth};
}

TScalePropsHoriz& TCustomVexa::ScalePropsX(int Layer) {
  return *FScaleX[static_cast<std::size_t>(Layer >= 1 && Layer <= LayerCount ? Layer - 1 : 0)];
}
TScalePropsVert& TCustomVexa::ScalePropsY(int Layer) {
  return *FScaleY[static_cast<std::size_t>(Layer >= 1 && Layer <= LayerCount ? Layer - 1 : 0)];
}
const TScalePropsHoriz& TCustomVexa::ScalePropsX(int Layer) const {
  return *FScaleX[static_cast<std::size_t>(Layer >= 1 && Layer <= LayerCount ? Layer - 1 : 0)];
}
const TScalePropsVert& TCustomVexa::ScalePropsY(int Layer) const {
  return *FScaleY[static_cast<std::size_t>(Layer >= 1 && Layer <= LayerCount ? Layer - 1 : 0)];
}
TScale& TCustomVexa::ScaleControlX(int Layer) { return *FScaleCtlX[static_cast<std::size_t>(ClampLayer(Layer) - 1)]; }
TScale& TCustomVexa::ScaleControlY(int Layer) { return *FScaleCtlY[static_cast<std::size_t>(ClampLayer(Layer) - 1)]; }

template <typename TProps>
void TCustomVexa::CopyScaleProps(TProps& Own, const TProps& Value) {
  // Refused before anything is copied, so the layer keeps its values.
  if (!IsLoading() && !Mappable(Value)) throw EZKWVexaError(LogAxisMessage);
  if (&Value != &Own) {
    // Assign brings the given object's notifications; this layer's object
    // keeps reporting to this chart.
    ++FNotifySuspend;
    Own.Assign(Value);
    Own.SetScaleLocation(Value.ScaleLocation());
    --FNotifySuspend;
    ConnectNotifications();
  }
  if (Designing()) Repaint();
  ScalePropsChanged();
}

void TCustomVexa::SetScalePropsX(int Layer, const TScalePropsHoriz& Value) {
  CopyScaleProps(ScalePropsX(Layer), Value);
}

void TCustomVexa::SetScalePropsY(int Layer, const TScalePropsVert& Value) {
  CopyScaleProps(ScalePropsY(Layer), Value);
}

// ---- transforms ----------------------------------------------------------------------

TLayerTransform TCustomVexa::LayerTransform(int Layer) const {
  const auto N = static_cast<std::size_t>(ClampLayer(Layer) - 1);
  return TLayerTransform::Make(FFactors[N], AxisOf(*FScaleX[N]), AxisOf(*FScaleY[N]), Width(), Height());
}

void TCustomVexa::WorldToPixel(int Layer, double X, double Y, int& PX, int& PY) const {
  const TLayerTransform T = LayerTransform(Layer);
  PX = T.PixelX(X);
  PY = T.PixelY(Y);
}

void TCustomVexa::PixelToWorld(int Layer, int PX, int PY, double& X, double& Y) const {
  const TLayerTransform T = LayerTransform(Layer);
  X = T.WorldX(PX);
  Y = T.WorldY(PY);
}

void TCustomVexa::ComputeFactors() {
  if (IsLoading()) return;
  const TPlotGeometry G = Geometry();
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    TLayerFactors& F = FFactors[N];
    if (!ComputeXFactors(AxisOf(*FScaleX[N]), G, F.XFactor, F.XOffset)) throw EZKWVexaError(LogAxisMessage);
    if (!ComputeYFactors(AxisOf(*FScaleY[N]), G, F.YFactor, F.YOffset)) throw EZKWVexaError(LogAxisMessage);
  }
}

// ---- range changes ---------------------------------------------------------------------

void TCustomVexa::SetLayerRange(int Layer, TRangeEnds X, TRangeEnds Y, TRangeChange How) {
  const auto N = static_cast<std::size_t>(ClampLayer(Layer) - 1);
  if (How.ApplyPanLimits && FPanLimits.Active()) {
    const bool PanX = FConduct.MouseAction == maPan || FConduct.MouseAction == maPanHoriz || FConduct.MouseAction == maPanGrid;
    const bool PanY = FConduct.MouseAction == maPan || FConduct.MouseAction == maPanVert || FConduct.MouseAction == maPanGrid;
    ApplyPanLimit(X.Low, X.High, FPanLimits.XLow, FPanLimits.XHigh, PanX);
    ApplyPanLimit(Y.Low, Y.High, FPanLimits.YLow, FPanLimits.YHigh, PanY);
  }
  bool Changed = false;
  for (TScaleProps* P : {static_cast<TScaleProps*>(FScaleX[N].get()), static_cast<TScaleProps*>(FScaleY[N].get())}) {
    const TRangeEnds& New = P == FScaleX[N].get() ? X : Y;
    double Low = P->RangeLow();
    double High = P->RangeHigh();
    if (StoreAxisRange(New.Low, New.High, P->Logarithmic(), P->MinRange(), Low, High)) {
      P->StoreRange(Low, High);
      Changed = true;
    }
  }
  CopyScalePropsToControl(*FScaleX[N], *FScaleCtlX[N]);
  CopyScalePropsToControl(*FScaleY[N], *FScaleCtlY[N]);
  if (How.PushHistory && Changed) PushRangeHistory();
  ComputeFactors();
}

void TCustomVexa::SetRange(int Layer, TRangeEnds X, TRangeEnds Y, TRangeChange How) {
  const bool Previous = FPaintLocked;
  FPaintLocked = true;
  try {
    const int L = ClampLayer(Layer);
    // A controlled axis cannot be changed through its own layer.
    if (FJointLayers->XControlledBy(L) != L) X = EndsOf(ScalePropsX(L));
    if (FJointLayers->YControlledBy(L) != L) Y = EndsOf(ScalePropsY(L));
    SetLayerRange(L, X, Y, How);
    for (int I = 1; I <= LayerCount; ++I) {
      if (I == L) continue;
      const int XLead = FJointLayers->XControlledBy(I);
      const int YLead = FJointLayers->YControlledBy(I);
      if (XLead != L && YLead != L) continue;
      SetLayerRange(I, EndsOf(ScalePropsX(XLead)), EndsOf(ScalePropsY(YLead)), {.PushHistory = true});
    }
  } catch (...) {
    FPaintLocked = Previous;
    throw;
  }
  SetPaintLock(Previous);
}

void CopyJoinedRange(TCustomVexa& Chart, int Layer, bool IsX, int Dest) {
  const TScaleProps& OwnX = Chart.ScalePropsX(Layer);
  const TScaleProps& OwnY = Chart.ScalePropsY(Layer);
  const TScaleProps& From = IsX ? static_cast<const TScaleProps&>(Chart.ScalePropsX(Dest))
                                : static_cast<const TScaleProps&>(Chart.ScalePropsY(Dest));
  if (IsX)
    Chart.SetLayerRange(Layer, EndsOf(From), EndsOf(OwnY));
  else
    Chart.SetLayerRange(Layer, EndsOf(OwnX), EndsOf(From));
}

TRangeSnapshot TCustomVexa::CurrentRanges() const {
  TRangeSnapshot S{};
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    S[N] = {FScaleX[N]->RangeLow(), FScaleY[N]->RangeHigh(), FScaleX[N]->RangeHigh(), FScaleY[N]->RangeLow()};
  }
  return S;
}

void TCustomVexa::PushRangeHistory() {
  if (IsLoading()) return;
  FHistory.Push(CurrentRanges());
}

void TCustomVexa::ResetRangeHistory() {
  FHistory.Clear();
  PushRangeHistory();
}

bool TCustomVexa::RangeHistoryBack() {
  TRangeSnapshot Target{};
  if (!FHistory.StepBack(CurrentRanges(), Target)) return false;
  const TPaintSuppression Pause(*this);
  // Entries hold x low, y high, x high, y low per layer.
  for (int N = 1; N <= LayerCount; ++N) {
    const TLayerRangeEntry& E = Target[static_cast<std::size_t>(N - 1)];
    SetLayerRange(N, {E[0], E[2]}, {E[3], E[1]});
  }
  return true;
}

void TCustomVexa::ScalePropsChanged() {
  if (FNotifySuspend > 0 || FApplyingProps) return;
  // A range object of a chart created in code takes a logarithmic switch
  // unchecked. One that cannot be mapped is refused here, before anything is
  // applied and whatever the plot's size (a chart not yet sized would
  // otherwise fail later, at its first size or paint); the object puts its
  // range back when this raises.
  if (!IsLoading()) {
    for (int L = 1; L <= LayerCount; ++L)
      if (!Mappable(ScalePropsX(L)) || !Mappable(ScalePropsY(L))) throw EZKWVexaError(LogAxisMessage);
  }
  ApplyAllScaleProps();
}

void TCustomVexa::ApplyAllScaleProps() {
  if (FApplyingProps) return;
  FApplyingProps = true;
  const bool Previous = FPaintLocked;
  FPaintLocked = true;
  try {
    CopyAllScalePropsToControls();
    for (int L = 1; L <= LayerCount; ++L) SetRange(L, EndsOf(ScalePropsX(L)), EndsOf(ScalePropsY(L)));
  } catch (...) {
    FPaintLocked = Previous;
    FApplyingProps = false;
    throw;
  }
  FApplyingProps = false;
  if (Previous != FPaintLocked)
    SetPaintLock(Previous);
  else
    Repaint();
}

// ---- scale controls ----------------------------------------------------------------------

void TCustomVexa::CopyScalePropsToControl(const TScaleProps& P, TScale& Control) const {
  // The control shows the range object's look in its own box (transparent,
  // no frame, the margins along the axis from the plot); only the margin
  // across the axis follows the scale's distance from the plot. ScalePos and
  // the margins take every 32-bit value: the sums are formed in 64 bits and
  // clamped (the scale control keeps its margins at 0 or more).
  const std::int64_t W = Width();
  const std::int64_t H = Height();
  const std::int64_t Pos = P.ScalePos();
  TScaleLook Look = P.Look();
  Look.Box = Control.Look().Box;
  switch (P.ScaleType()) {
    case sctXB: Look.Box.MarginBottom = ClampPixelSum(Pos + H - FFrame.MarginTop - 1); break;
    case sctXT: Look.Box.MarginTop = ClampPixelSum(Pos + H - FFrame.MarginBottom - FFrame.ShadowWidth); break;
    case sctYL: Look.Box.MarginLeft = ClampPixelSum(Pos + W - FFrame.MarginRight - FFrame.ShadowWidth); break;
    case sctYR: Look.Box.MarginRight = ClampPixelSum(Pos + W - FFrame.MarginLeft - 1); break;
  }
  Control.SetLook(Look);
  Control.SetVisible(P.Visible());
  Control.SetFont(P.Font());
  Control.Font().SetColor(P.Font().Color());
  Control.SetDateFormat(P.DateFormat());
}

void TCustomVexa::CopyAllScalePropsToControls() {
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    CopyScalePropsToControl(*FScaleX[N], *FScaleCtlX[N]);
    CopyScalePropsToControl(*FScaleY[N], *FScaleCtlY[N]);
  }
}

void TCustomVexa::UpdateScaleMargins() {
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    FScaleCtlX[N]->SetMarginLeft(FFrame.MarginLeft);
    FScaleCtlX[N]->SetMarginRight(ScaleFarMargin(FFrame.MarginRight));
    FScaleCtlY[N]->SetMarginTop(FFrame.MarginTop);
    FScaleCtlY[N]->SetMarginBottom(ScaleFarMargin(FFrame.MarginBottom));
  }
}

int TCustomVexa::ScaleFarMargin(int Margin) const {
  return ClampPixelSum(std::int64_t{Margin} + FFrame.ShadowWidth - 1);
}

// ---- margins, shadow, size, isometric ----------------------------------------------------

void TCustomVexa::ResizeDataImage() {
  const TPlotGeometry G = Geometry();
  FDataImage.SetSize(G.DataImageWidth(), G.DataImageHeight());
}

void TCustomVexa::MarginsChanged(bool Isometric) {
  ResizeDataImage();
  if (Isometric && FConduct.Isometric) ApplyIsometric();
  CopyAllScalePropsToControls();
  UpdateScaleMargins();
  ComputeFactors();
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetMarginLeft(int Value) {
  FFrame.MarginLeft = Value;
  MarginsChanged(true);
}

void TCustomVexa::SetMarginRight(int Value) {
  FFrame.MarginRight = Value;
  MarginsChanged(true);
}

void TCustomVexa::SetMarginTop(int Value) {
  FFrame.MarginTop = Value;
  MarginsChanged(true);
}

void TCustomVexa::SetMarginBottom(int Value) {
  FFrame.MarginBottom = Value;
  MarginsChanged(true);
}

void TCustomVexa::SetShadowWidth(int Value) {
  FFrame.ShadowWidth = std::clamp(Value, 0, 32);
  MarginsChanged(false);
}

void TCustomVexa::ApplyIsometric() {
  const TPlotGeometry G = Geometry();
  for (int L = 1; L <= LayerCount; ++L) {
    const TScaleProps& X = ScalePropsX(L);
    TScalePropsVert& Y = ScalePropsY(L);
    double Low = 0;
    double High = 0;
    IsometricYRange(X.RangeLow(), X.RangeHigh(), Y.RangeLow(), Y.RangeHigh(), G.PlotWidth64(), G.PlotHeight64(),
                    FPixelAspectX, FPixelAspectY, Low, High);
    Y.SetRangeHigh(High);
    Y.SetRangeLow(Low);
  }
}

void TCustomVexa::SetIsometric(bool Value) {
  FConduct.Isometric = Value;
  if (!Value) return;
  ApplyIsometric();
  PushRangeHistory();
  RepaintIfAutoRedraw();
}

void TCustomVexa::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool Previous = FPaintLocked;
  FPaintLocked = true;
  // The least size that leaves room for a plot, formed in 64 bits so that
  // extreme margins cannot overflow it. Margins take any 32-bit value, but
  // no window (nor its off-screen images) can grow to billions of pixels: the
  // raise stops at MaxRaisedSize, and a plot that still finds no room simply
  // has no extent.
  static constexpr std::int64_t MaxRaisedSize = 4096;
  auto Least = [](std::int64_t Needed) { return static_cast<int>(std::min(Needed, MaxRaisedSize)); };
  AHeight = std::max(AHeight, Least(std::int64_t{FFrame.MarginTop} + FFrame.MarginBottom + FFrame.ShadowWidth + 20));
  AWidth = std::max(AWidth, Least(std::int64_t{FFrame.MarginLeft} + FFrame.MarginRight + FFrame.ShadowWidth + 80));
  try {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FConduct.Isometric) ApplyIsometric();
    for (auto& C : FScaleCtlX)
      if (C) C->SetBounds(0, 0, Width(), Height());
    for (auto& C : FScaleCtlY)
      if (C) C->SetBounds(0, 0, Width(), Height());
    ComputeFactors();
  } catch (const EZKWVexaError&) {
    // A logarithmic range that reaches below zero keeps the old factors; the
    // paint reports nothing either. A resize must not fail for it.
  }
  FPaintLocked = Previous;
}

// ---- nearest-item search ------------------------------------------------------------------

int TCustomVexa::FindNearestItem(std::uint8_t KindFilter, std::uint8_t ClassFilter, double X, double Y,
                                 double& Distance) const {
  return FindNearestItemEx(KindFilter, ClassFilter, X, Y, false, Distance);
}

int TCustomVexa::FindNearestItemEx(std::uint8_t KindFilter, std::uint8_t ClassFilter, double X, double Y,
                                   bool VisibleLayersOnly, double& Distance) const {
  const TLayerTransform T = LayerTransform(FPlot.CurrentLayer);
  const TvxItemStore& Store = FShare.Store();
  return FNearestIndex.Find(Store, T, T.PixelX(X), T.PixelY(Y), KindFilter, ClassFilter,
                            VisibleLayersOnly ? FPlot.LayerVisible.data() : nullptr, Distance);
}

// ---- copies -------------------------------------------------------------------------

void TCustomVexa::CheckAssignableRanges(const TCustomVexa& S) const {
  // The factors are computed with this chart's size and the source's
  // margins, as the copy will have them; a loading chart computes none.
  if (IsLoading()) return;
  const TPlotGeometry G{Width(), Height(), S.FFrame.MarginLeft, S.FFrame.MarginRight, S.FFrame.MarginTop, S.FFrame.MarginBottom,
                        S.FFrame.ShadowWidth};
  for (int I = 0; I < LayerCount; ++I) {
    const auto N = static_cast<std::size_t>(I);
    Extended Factor = 0, Offset = 0;
    if (!ComputeXFactors(AxisOf(*S.FScaleX[N]), G, Factor, Offset) ||
        !ComputeYFactors(AxisOf(*S.FScaleY[N]), G, Factor, Offset)) {
      throw EZKWVexaError(LogAxisMessage);
    }
  }
}

}  // namespace zkw
