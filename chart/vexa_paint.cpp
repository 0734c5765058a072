// The chart as the render pipeline sees it: the paint-settings value and the
// paint host, the one place where the pipeline's needs meet the chart.
#include "chart/vexa_paint.h"

#include <memory>

#include "chart/render_tail.h"

namespace zkw {

class TCustomVexa::TVexaPaintHost final : public TChartPaintHost {
 public:
  explicit TVexaPaintHost(TCustomVexa& Chart) : C(Chart) {}

  bool MayPaint() const override {
    const TComponentState State = C.ComponentState();
    return (C.Visible() || State.Contains(csDesigning)) && !State.Contains(csLoading) && !C.PaintLocked();
  }
  TChartPaintSettings PaintSettings() const override { return C.PaintSettings(); }
  void PaintScales(TDataPaintSettings& Data) override {
    C.ComputeFactors();
    for (int N = 1; N <= LayerCount; ++N) {
      C.CopyScalePropsToControl(C.ScalePropsX(N), C.ScaleControlX(N));
      C.ScaleControlX(N).ForcePaint();
    }
    for (int N = 1; N <= LayerCount; ++N) {
      C.CopyScalePropsToControl(C.ScalePropsY(N), C.ScaleControlY(N));
      C.ScaleControlY(N).ForcePaint();
    }
    C.TakeLayerSettings(Data);
  }
  void ForgetBackgroundPicture() override {
    // The change notification would repaint in the middle of this paint, so
    // it is held back while the name is cleared.
    TBakGndImg& Img = C.BackGroundImg();
    TNotifyEvent Notify = std::move(Img.OnChange);
    Img.OnChange = nullptr;
    Img.SetName("");
    Img.OnChange = std::move(Notify);
  }

  TBitmap& DataImage() override { return C.FDataImage; }
  TBitmap& ControlImage() override { return C.FControlImage; }
  TCanvas& WindowCanvas() override { return C.Canvas(); }
  void SurfaceChanged() override { C.SurfaceChanged(); }
  void RestoreMouseFigures() override { C.RestoreMouseFigures(); }
  std::shared_ptr<TKeptDataImage>& KeptDataImage() override { return C.FKeptDataImage; }
  TDataImagePass*& DataImagePass() override { return C.FDataImagePass; }

  std::shared_ptr<const TvxItemStore> DataStoreHandle() const override { return C.DataStoreHandle(); }
  const TvxItemStore& AnnotationStore() const override { return C.FAnnotations; }
  int MouseTraceCount() const override { return C.MouseTraceCount(); }
  const TMouseTracePoint& MouseTracePoint(int Index) const override { return C.MouseTracePoint(Index); }

  void DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height) override {
    C.DrawPlotBackground(Canvas, Left, Top, Width, Height);
  }
  void RenderDataToBitmap(TBitmap& Bitmap, int Left, int Top, bool Monochrome, int NoGrid) override {
    C.RenderDataToBitmap(Bitmap, Left, Top, Monochrome, NoGrid);
  }

  TRenderHandlers Handlers() const override {
    return {static_cast<bool>(C.OnBeforeRenderData), static_cast<bool>(C.OnDataRendered),
            static_cast<bool>(C.OnBeforeRenderChartItem), static_cast<bool>(C.OnBeforeRenderText)};
  }
  void RaiseRenderEvent(TRenderEventKind Kind, TCanvas& Canvas, int Top, int Left) override {
    switch (Kind) {
      case TRenderEventKind::ScalesRendered:
        C.DoRenderEvent(&TCustomVexa::OnScalesRendered, Canvas, Top, Left);
        break;
      case TRenderEventKind::BeforeRenderData:
        C.DoRenderEvent(&TCustomVexa::OnBeforeRenderData, Canvas, Top, Left);
        break;
      case TRenderEventKind::DataRendered:
        C.DoRenderEvent(&TCustomVexa::OnDataRendered, Canvas, Top, Left);
        break;
    }
  }
  void BeforeRenderChartItem(TvxChartItem& Item, int Index, bool IsAnnotation) override {
    C.DoBeforeRenderChartItem(Item, Index, IsAnnotation);
  }
  void BeforeRenderText(std::string& Text, int Index, bool IsAnnotation) override {
    C.DoBeforeRenderText(Text, Index, IsAnnotation);
  }

 private:
  TCustomVexa& C;
};

TCustomVexa::TPaintHostOwner::TPaintHostOwner(TCustomVexa& Chart) : Host(std::make_unique<TVexaPaintHost>(Chart)) {}
TCustomVexa::TPaintHostOwner::~TPaintHostOwner() = default;

TChartPaintHost& TCustomVexa::PaintHost() { return *FPaintHost.Host; }

void TCustomVexa::TakeLayerSettings(TDataPaintSettings& D) const {
  for (int L = 1; L <= LayerCount; ++L) {
    const auto N = static_cast<std::size_t>(L - 1);
    D.Transforms[N] = LayerTransform(L);
    const TScaleProps& X = *FScaleX[N];
    const TScaleProps& Y = *FScaleY[N];
    D.XRanges[N] = {X.RangeLow(), X.RangeHigh(), X.Logarithmic()};
    D.YRanges[N] = {Y.RangeLow(), Y.RangeHigh(), Y.Logarithmic()};
  }
  // The grid follows the current layer's range objects and the ticks of its
  // scales' latest paint.
  auto Axis = [](const TScaleProps& Props, const TScale& Control, double Step) {
    TGridAxis A;
    A.RangeLow = Props.RangeLow();
    A.RangeHigh = Props.RangeHigh();
    A.Logarithmic = Props.Logarithmic();
    A.Step = Step;
    A.Ticks = Control.TickPositions();
    A.ScaleLow = Control.RangeLow();
    A.ScaleHigh = Control.RangeHigh();
    return A;
  };
  const auto Current = static_cast<std::size_t>(FPlot.CurrentLayer - 1);
  D.GridX = Axis(*FScaleX[Current], *FScaleCtlX[Current], FPlot.GridDx);
  D.GridY = Axis(*FScaleY[Current], *FScaleCtlY[Current], FPlot.GridDy);
}

TChartPaintSettings TCustomVexa::PaintSettings() const {
  TChartPaintSettings S;
  S.Data.Geometry = Geometry();
  S.Data.Look = FPlot;
  S.Data.Background = TBackgroundLook::Of(*FBackGroundImg);
  S.Data.TextFont = TFontKey::Of(FTextFont);
  TakeLayerSettings(S.Data);
  S.Frame = FFrame;
  S.Font = TFontKey::Of(Font());
  for (std::size_t I = 0; I < FCrossHairs.size(); ++I) S.CrossHairs[I] = TCrossHairLook::Of(*FCrossHairs[I]);
  for (std::size_t I = 0; I < FTextLabels.size(); ++I) S.Labels[I] = TTextLabelLook::Of(*FTextLabels[I]);
  return S;
}

TChartRenderer ChartRenderer(TCustomVexa& Chart) {
  return TChartRenderer(Chart.PaintHost(), std::make_shared<const TChartPaintSettings>(Chart.PaintSettings()));
}

TChartRenderer PassRenderer(TCustomVexa& Chart) {
  TChartPaintHost& Host = Chart.PaintHost();
  if (const TDataImagePass* Pass = Host.DataImagePass()) return TChartRenderer(Host, Pass->Settings);
  return ChartRenderer(Chart);
}

}  // namespace zkw
