// The paint pipeline of the chart: what a paint draws, in which order, into
// which off-screen image, and where the host's rendering events fire.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "chart/render.h"
#include "chart/render_tail.h"
#include "platform/devices.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

// Fixed after creation and never changed by this system: the data is drawn
// under the annotations, annotations are shown, and annotation texts lie on
// top of the other annotation items.
constexpr bool DataOverAnnotations = false;
constexpr bool AnnotationsShown = true;
constexpr bool AnnotationTextsOnTop = true;

// Captions count their length in characters, not bytes, so that cutting a
// long caption never splits a multi-byte character.
bool IsContinuationByte(char C) { return (static_cast<unsigned char>(C) & 0xC0) == 0x80; }

std::size_t CharCount(const std::string& S) {
  return static_cast<std::size_t>(std::count_if(S.begin(), S.end(), [](char C) { return !IsContinuationByte(C); }));
}

std::string FirstChars(const std::string& S, std::int64_t Count) {
  if (Count <= 0) return {};
  std::size_t I = 0;
  std::int64_t Seen = 0;
  for (; I < S.size(); ++I) {
    if (!IsContinuationByte(S[I]) && Seen++ == Count) break;
  }
  return S.substr(0, I);
}

}  // namespace

TChartRenderer::TChartRenderer(TChartPaintHost& Host, std::shared_ptr<const TChartPaintSettings> Settings)
    : FHost(Host), FSettings(std::move(Settings)), FTextFont(FSettings->Data.TextFont.ToFont()) {}

// Runs the per-item steps over one store: copy the record, skip hidden
// classes and layers, let the host change the copy, draw it; then draw what
// waits in the polyline batch. Count and items are read afresh each time,
// since a host handler may change the store while it is being drawn.
//
// From is the first index drawn. When Capture is given it runs just before
// the item at CaptureAt is drawn (the pass then has no handlers).
void TChartRenderer::RenderStore(TItemRenderer& Renderer, const TvxItemStore& Store, bool IsAnnotation,
                                 TItemSubset Subset, int From, int CaptureAt, const std::function<void(int)>& Capture) {
  const TPlotLook& Look = FSettings->Data.Look;
  const std::array<bool, 256>& ClassOn = IsAnnotation ? Look.AnnotationClassVisible : Look.DataClassVisible;
  const std::array<bool, LayerCount>& LayerOn = Look.LayerVisible;
  // Without host handlers the items are drawn straight from the store; a
  // handler gets a copy (it may change the drawing, never the store) and may
  // append to the store, so then no reference into it is held across a call.
  const TRenderHandlers Handlers = FHost.Handlers();
  const bool Hook = Handlers.BeforeRenderChartItem;
  const bool Copy = Hook || Handlers.BeforeRenderText;
  // Without handlers nothing can change the store during the pass, so runs of
  // plain items are drawn straight from it.
  const bool Runs = !Copy && Subset == TItemSubset::All && RenderRunsEnabled();
  for (int I = From; I < Store.Count(); ++I) {
    if (I == CaptureAt && Capture) Capture(I);
    if (Runs) {
      // A run stops at the capture point.
      const int End = I < CaptureAt ? CaptureAt : Store.Count();
      const int Next = Renderer.RenderRun(Store.Data(), I, End, ClassOn.data(), LayerOn.data());
      if (Next > I) {
        I = Next - 1;
        continue;
      }
    }
    const TvxChartItem& Stored = Store.Item(I);
    if (Subset != TItemSubset::All && IsTextKind(Stored.Kind) != (Subset == TItemSubset::Text)) continue;
    if (!ClassOn[Stored.ItemClass] || !LayerOn[static_cast<std::size_t>(ClampLayer(Stored.Layer) - 1)]) continue;
    if (!Copy) {
      Renderer.RenderItem(Stored, I, IsAnnotation, Store.Texts());
      continue;
    }
    TvxChartItem Item = Stored;
    if (Hook) {
      FHost.BeforeRenderChartItem(Item, I, IsAnnotation);
      // The handler may have drawn on the canvas or painted the chart anew.
      Renderer.Cache().Forget();
    }
    Renderer.RenderItem(Item, I, IsAnnotation, Store.Texts());
  }
  Renderer.FlushPolyline();
}


// ---- frames handed to the item, grid and label drawing ---------------------------------

TItemRenderFrame TChartRenderer::ItemFrame(int Left, int Top, bool Monochrome, bool OnPrinter) const {
  const TDataPaintSettings& D = FSettings->Data;
  const TPlotGeometry& G = D.Geometry;
  TItemRenderFrame F;
  F.Width = G.Width;
  F.Height = G.Height;
  F.MarginLeft = G.MarginLeft;
  F.MarginRight = G.MarginRight;
  F.MarginTop = G.MarginTop;
  F.MarginBottom = G.MarginBottom;
  F.Left = Left;
  F.Top = Top;
  F.Monochrome = Monochrome;
  F.OnPrinter = OnPrinter;
  F.Transforms = D.Transforms;
  F.XRanges = D.XRanges;
  F.YRanges = D.YRanges;
  F.TextFont = &FTextFont;
  F.AvoidDuplicateMarks = D.Look.AvoidDuplicateMarks;
  F.MinDupMarkDist = D.Look.MinDupMarkDist;
  return F;
}

TGridSettings TChartRenderer::GridSettings() const {
  const TDataPaintSettings& D = FSettings->Data;
  TGridSettings S;
  S.Style = D.Look.GridStyle;
  S.Color = D.Look.GridColor;
  S.ChartColor = D.Look.ChartColor;
  S.Transform = D.Transform(D.Look.CurrentLayer);
  S.MarginLeft = D.Geometry.MarginLeft;
  S.MarginTop = D.Geometry.MarginTop;
  S.X = D.GridX;
  S.Y = D.GridY;
  return S;
}

TLabelRenderFrame TChartRenderer::LabelFrame(bool OnPrinter) const {
  const TDataPaintSettings& D = FSettings->Data;
  TLabelRenderFrame F;
  F.MarginLeft = D.Geometry.MarginLeft;
  F.MarginTop = D.Geometry.MarginTop;
  F.Transforms = D.Transforms;
  F.LayerVisible = D.Look.LayerVisible;
  F.OnPrinter = OnPrinter;
  return F;
}

// ---- the paint -------------------------------------------------------------------------

void TChartRenderer::Paint() {
  if (!FHost.MayPaint()) return;
  try {
    PaintControlImage();
  } catch (const EZKWVexaError&) {
    // A logarithmic axis below zero: the paint ends after the caption and
    // the window keeps its previous image.
    return;
  }
  ShowImage(0, 0, FHost.WindowCanvas(), FHost.ControlImage());
}

void TChartRenderer::PaintControlImage() {
  TBitmap& Control = FHost.ControlImage();
  TBitmap& Data = FHost.DataImage();
  DrawOuterArea(Control.Canvas());
  DrawDataImage();
  DrawMouseTrace(0, 0, Data);
  const TPlotGeometry& G = FSettings->Data.Geometry;
  Control.Canvas().Draw(G.MarginLeft, G.MarginTop, Data);
}

void TChartRenderer::RedrawData() {
  DrawDataImage();
  const TPlotGeometry& G = FSettings->Data.Geometry;
  ShowImage(G.MarginLeft, G.MarginTop, FHost.WindowCanvas(), FHost.DataImage());
  FHost.SurfaceChanged();
}

void TChartRenderer::DrawDataImage() {
  TBitmap& Data = FHost.DataImage();
  // A chart resized since its last paint draws at its new size, as a paint would.
  const TPlotGeometry& G = FSettings->Data.Geometry;
  Data.SetSize(G.DataImageWidth(), G.DataImageHeight());
  // Held locally: the chart keeps its own reference, which a nested paint
  // could replace.
  std::shared_ptr<TKeptDataImage> Kept = FHost.KeptDataImage();
  if (!Kept) Kept = FHost.KeptDataImage() = std::make_shared<TKeptDataImage>();
  // The pass is known to the chart's hooks only while it runs, also when it
  // ends in an error: a later pass into the data image (an export, a host's
  // own) must neither start from the kept image nor replace it.
  TDataImagePass Pass{FSettings, TFontKey::Of(Data.Canvas().Font())};
  struct TRegistration {
    TDataImagePass*& Slot;
    TDataImagePass* Outer;
    ~TRegistration() { Slot = Outer; }
  } Registration{FHost.DataImagePass(), FHost.DataImagePass()};
  Registration.Slot = &Pass;
  if (!KeptImageEnabled()) {
    // The reference path: a full redraw that leaves the kept image alone.
  } else if (DataPassKeepable(*FSettings, FHost.Handlers(), Data)) {
    Pass.Capture = true;
    Pass.Armed = Kept->Fits(FSettings->Data, Pass.StartFont, FHost.DataStoreHandle());
  } else if (Kept->Valid) {
    Kept->Invalidate();
  }
  FHost.DrawPlotBackground(Data.Canvas(), 0, 0, Data.Width(), Data.Height());
  FHost.RenderDataToBitmap(Data, 0, 0, false, 0);
  if (Pass.BackgroundSkipped) {
    // The background was left to a kept image that no data pass used: draw
    // the whole image the ordinary way.
    Pass.Armed = Pass.Capture = Pass.BackgroundSkipped = false;
    FHost.DrawPlotBackground(Data.Canvas(), 0, 0, Data.Width(), Data.Height());
    FHost.RenderDataToBitmap(Data, 0, 0, false, 0);
  }
}

void TChartRenderer::ShowImage(int OffsetX, int OffsetY, TCanvas& Canvas, TBitmap& Bitmap) {
  DrawCrossHairs(OffsetX, OffsetY, Bitmap);
  Canvas.Draw(OffsetX, OffsetY, Bitmap);
  // Rubber lines and drag rectangles live on the window only.
  if (&Canvas == &FHost.WindowCanvas()) FHost.RestoreMouseFigures();
}

// ---- outer area ----------------------------------------------------------------------------

void TChartRenderer::DrawOuterArea(TCanvas& Canvas) {
  const TFrameLook& Look = FSettings->Frame;
  const TPlotGeometry& G = FSettings->Data.Geometry;
  // Margins take every 32-bit value: the anchor sums below are 64-bit.
  const std::int64_t L = G.MarginLeft, R = G.MarginRight, T = G.MarginTop, B = G.MarginBottom;
  const int S = G.ShadowWidth;
  const int W = G.Width, H = G.Height;
  TBitmap& Control = FHost.ControlImage();
  Control.SetSize(W, H);

  // The canvas keeps its state between paints (the caption leaves the brush
  // clear), so the background sets every part of the state it relies on.
  Canvas.Pen().SetStyle(psSolid);
  Canvas.Pen().SetMode(pmCopy);
  Canvas.Pen().SetWidth(1);
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(Look.WindColor);
  Canvas.Pen().SetColor(Look.WindColor);
  Canvas.Rectangle(0, 0, W, H);

  if (S > 0) {
    const int w = Control.Width(), h = Control.Height();
    Canvas.Brush().SetColor(Look.ShadowBakColor);
    Canvas.Pen().SetColor(Look.ShadowBakColor);
    Canvas.Rectangle(w - S, 0, w, S);
    Canvas.Rectangle(0, h - S, S, h);
    Canvas.Brush().SetColor(Look.ShadowColor);
    int F;
    if (Look.ShadowStyle == ssFlying) {
      Canvas.Pen().SetColor(Look.ShadowColor);
      F = S - 1;
    } else {
      Canvas.Pen().SetColor(clBlack);
      F = 0;
    }
    const TPoint Bottom[4] = {{F, h - S}, {S - 1, h - 1}, {w - 1, h - 1}, {w - S, h - S}};
    Canvas.Polygon(Bottom, 4);
    const TPoint Right[4] = {{w - S, h - S}, {w - 1, h - 1}, {w - 1, S - 1}, {w - S, F}};
    Canvas.Polygon(Right, 4);
    Canvas.Pen().SetColor(clBlack);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(W - S, 0);
    Canvas.LineTo(W - S, H - S);
    Canvas.LineTo(0, H - S);
    Canvas.LineTo(0, 0);
  }

  Canvas.Pen().SetColor(FSettings->Data.Look.ChartFrameColor);
  Canvas.Brush().SetStyle(bsClear);
  const TFont Font = FSettings->Font.ToFont();
  Canvas.SetFont(Font);
  if (IsPrinterCanvas(Canvas)) ApplyPrinterFontRule(Canvas.Font(), Font.Size());

  std::string Text = Look.Caption;
  std::int64_t TW = Canvas.TextWidth(Text);
  const int Trim = Look.CaptionTrim;
  // An empty or zero-width caption has nothing to shorten (and no width to
  // divide by).
  if (Trim != 0 && TW > 0) {
    const std::int64_t Avail =
        Round(static_cast<Extended>(Control.Width() - (S + L + R)) * 0.01L * static_cast<Extended>(Trim));
    if (Avail < TW) {
      const std::int64_t K =
          Round(static_cast<Extended>(CharCount(Text)) * static_cast<Extended>(Avail) / static_cast<Extended>(TW)) - 2;
      Text = FirstChars(Text, K) + "...";
      TW = Canvas.TextWidth(Text);
    }
  }
  std::int64_t AX = Look.CaptionPosX;
  switch (Look.CaptionAnchorHoriz) {
    case cahControlLeft:
      break;
    case cahChartLeft:
      AX += L;
      break;
    case cahChartCenter:
      AX += L + (W - L - R - S) / 2;
      break;
    case cahChartRight:
      AX += W - R - S;
      break;
    case cahControlRight:
      AX += W;
      break;
  }
  std::int64_t AY = Look.CaptionPosY;
  switch (Look.CaptionAnchorVert) {
    case cavControlTop:
      break;
    case cavChartTop:
      AY += T;
      break;
    case cavChartCenter:
      AY += T + (H - T - B - S) / 2;
      break;
    case cavChartBottom:
      AY += H - B;  // the shadow width is not taken off here
      break;
    case cavControlBottom:
      AY += H;
      break;
  }
  if (Look.CaptionAlignment == taRightJustify) {
    AX -= TW;
  } else if (Look.CaptionAlignment == taCenter) {
    AX -= TW / 2;
  }
  Canvas.TextOut(ClampPixelSum(AX), ClampPixelSum(AY), Text);

  // The factors are computed (which may raise the logarithmic-axis error,
  // ending the paint) and the scales painted; the layer part of the settings
  // is what that made.
  auto Completed = std::make_shared<TChartPaintSettings>(*FSettings);
  FHost.PaintScales(Completed->Data);
  FSettings = std::move(Completed);
  FHost.RaiseRenderEvent(TRenderEventKind::ScalesRendered, Canvas, 0, 0);
}

// ---- plot background -------------------------------------------------------------------------

void TChartRenderer::DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height) {
  TBitmap& DataImage = FHost.DataImage();
  TDataImagePass* Pass = FHost.DataImagePass();
  if (Pass && Pass->Armed && !Pass->BackgroundSkipped && &Canvas == &DataImage.Canvas() && Left == 0 && Top == 0 &&
      Width == DataImage.Width() && Height == DataImage.Height()) {
    // The kept image holds this background; the data pass restores it.
    Pass->BackgroundSkipped = true;
    return;
  }
  const int Right = ClampPixelSum(std::int64_t{Left} + Width), Bottom = ClampPixelSum(std::int64_t{Top} + Height);
  const TDataPaintSettings& D = FSettings->Data;
  const TBackgroundLook& Img = D.Background;
  // The image keeps its canvas state between paints: items and labels may
  // have left a clear brush or a wide pen, which would let old pixels through.
  Canvas.Pen().SetStyle(psSolid);
  Canvas.Pen().SetMode(pmCopy);
  Canvas.Pen().SetWidth(1);
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(D.Look.ChartColor);
  Canvas.Pen().SetColor(D.Look.ChartFrameColor);

  if (!Img.Picture.empty()) {
    // Read from the file on every paint; nothing is cached.
    TBitmap Picture;
    bool Loaded = true;
    try {
      Picture.LoadFromFile(Img.Picture);
    } catch (const std::exception&) {
      Loaded = false;
    }
    if (!Loaded) {
      Canvas.Rectangle(Left, Top, Right, Bottom);
      // Forget the name so that later paints do not try again.
      FHost.ForgetBackgroundPicture();
      return;
    }
    const int PW = Picture.Width(), PH = Picture.Height();
    switch (Img.FillMode) {
      case bfSimple:
        Canvas.Rectangle(0, 0, Width, Height);
        Canvas.Draw(0, 0, Picture);
        break;
      case bfStretch:
        Canvas.StretchDraw(TRect{0, 0, Width, Height}, Picture);
        break;
      case bfTile:
        if (PW <= 0 || PH <= 0) {
          // A picture without extent cannot be tiled: the plain background.
          Canvas.Rectangle(Left, Top, Right, Bottom);
          break;
        }
        {
          const int Columns = (Width - 1) / PW + 1, Rows = (Height - 1) / PH + 1;
          for (int C = 1; C <= Columns; ++C) {
            for (int Row = 0; Row < Rows; ++Row) Canvas.Draw(PW * (C - 1), PH * Row, Picture);
          }
        }
        break;
    }
    return;
  }

  Canvas.Rectangle(Left, Top, Right, Bottom);
  Canvas.Brush().SetColor(Img.AreaColor);
  Canvas.Pen().SetColor(Img.AreaColor);
  const TLayerTransform& T = D.Transform(D.Look.CurrentLayer);
  const int X1 = T.PixelX(Img.AreaLeft), Y1 = T.PixelY(Img.AreaTop);
  const int X2 = T.PixelX(Img.AreaRight), Y2 = T.PixelY(Img.AreaBottom);
  const std::int64_t DX = std::int64_t{Left} - D.Geometry.MarginLeft, DY = std::int64_t{Top} - D.Geometry.MarginTop;
  const int AX1 = ClampPixelSum(ClampRender(X1) + DX), AX2 = ClampPixelSum(ClampRender(X2) + DX);
  const int AY1 = ClampPixelSum(ClampRender(Y1) + DY), AY2 = ClampPixelSum(ClampRender(Y2) + DY);
  auto Fill = [&](int A, int B, int C, int D) { Canvas.Rectangle(A, B, C, D); };
  switch (Img.AreaMode) {
    case bamNone:
      break;
    case bamLeft:
      Fill(Left, Top, AX1, Bottom);
      break;
    case bamRight:
      Fill(AX2, Top, Right, Bottom);
      break;
    case bamTop:
      Fill(Left, Top, Right, AY1);
      break;
    case bamBottom:
      Fill(Left, AY2, Right, Bottom);
      break;
    case bamVStripe:
      Fill(AX1, Top, AX2, Bottom);
      break;
    case bamHStripe:
      Fill(Left, AY1, Right, AY2);
      break;
    case bamRect:
      Fill(AX1, AY1, AX2, AY2);
      break;
    case bamRectInv:
      Fill(Left, Top, Right, AY1);
      Fill(Left, AY2, Right, Bottom);
      Fill(Left, Top, AX1, Bottom);
      Fill(AX2, Top, Right, Bottom);
      break;
    case bamVStripeInv:
      Fill(Left, Top, AX1, Bottom);
      Fill(AX2, Top, Right, Bottom);
      break;
    case bamHStripeInv:
      Fill(Left, Top, Right, AY1);
      Fill(Left, AY2, Right, Bottom);
      break;
  }
}

// ---- data --------------------------------------------------------------------------------------

void TChartRenderer::RenderData(TCanvas& Canvas, int Left, int Top, bool Monochrome, int NoGrid) {
  const bool OnPrinter = IsPrinterCanvas(Canvas);
  const TItemRenderFrame Frame = ItemFrame(Left, Top, Monochrome, OnPrinter);
  TItemRenderer Renderer(Canvas, Frame);
  const TDataPaintSettings& D = FSettings->Data;

  // A pass into the data image may start from the kept image, and may keep
  // one for the next pass (the pass has checked that no handler runs).
  TDataImagePass* Pass = FHost.DataImagePass();
  TBitmap& DataImage = FHost.DataImage();
  const bool Keepable =
      Pass && Pass->Capture && &Canvas == &DataImage.Canvas() && Left == 0 && Top == 0 && !Monochrome && NoGrid == 0;
  const bool FromKept = Keepable && Pass->Armed && Pass->BackgroundSkipped;
  if (Pass && Pass->BackgroundSkipped && !FromKept) DrawPlotBackground(Canvas, 0, 0, DataImage.Width(), DataImage.Height());
  if (Pass) Pass->BackgroundSkipped = false;
  // The pass owns a share of the data store: a host handler may make the
  // chart join or leave a group, which drops the chart's store, and the pass
  // then finishes the items it started with.
  const std::shared_ptr<const TvxItemStore> Data = FHost.DataStoreHandle();
  if (FromKept) {
    RenderDataFromKept(Canvas, Renderer, *FHost.KeptDataImage(), *Pass, Data);
    return;
  }
  Renderer.ResetDuplicateMarks();

  const int EventTop = D.Geometry.MarginTop - Top, EventLeft = D.Geometry.MarginLeft - Left;
  const TRenderHandlers Handlers = FHost.Handlers();
  if (Handlers.BeforeRenderData) {
    const TColor Brush = Canvas.Brush().Color(), Pen = Canvas.Pen().Color();
    FHost.RaiseRenderEvent(TRenderEventKind::BeforeRenderData, Canvas, EventTop, EventLeft);
    Canvas.Brush().SetColor(Brush);
    Canvas.Pen().SetColor(Pen);
  }
  if (D.Look.GridStyle != gsNone && NoGrid == 0) DrawGrid(Canvas, Left, Top, GridSettings(), &Renderer.Cache());

  Renderer.BeginPass(D.Look.LineWidth, D.Look.ChartColor);
  if (Handlers.BeforeRenderText) {
    Renderer.OnBeforeRenderText = [this](std::string& Text, int Index, bool IsAnnotation) {
      FHost.BeforeRenderText(Text, Index, IsAnnotation);
    };
  }
  if (Keepable) {
    TKeptDataImage& Kept = *FHost.KeptDataImage();
    Kept.Valid = false;  // its memory is reused below
    // The image is taken just before the last data item, with the polyline
    // batch that waits there (it is part of the renderer's state).
    const std::function<void(int)> Capture = [&](int Index) {
      KeepDataImage(Canvas, Renderer, Kept, *Pass, Data, Index);
    };
    RenderStore(Renderer, *Data, false, TItemSubset::All, 0, Data->Count() - 1, Capture);
    FinishRenderData(Canvas, Renderer, Left, Top, OnPrinter, true);
    return;
  }
  if (!DataOverAnnotations) RenderStore(Renderer, *Data, false, TItemSubset::All);
  if (AnnotationsShown) RenderAnnotations(Renderer);
  if (DataOverAnnotations) RenderStore(Renderer, *Data, false, TItemSubset::All);
  FinishRenderData(Canvas, Renderer, Left, Top, OnPrinter, false);
}

void TChartRenderer::RenderAnnotations(TItemRenderer& Renderer) {
  const TvxItemStore& Annotations = FHost.AnnotationStore();
  if (AnnotationTextsOnTop) {
    RenderStore(Renderer, Annotations, true, TItemSubset::NonText);
    RenderStore(Renderer, Annotations, true, TItemSubset::Text);
  } else {
    RenderStore(Renderer, Annotations, true, TItemSubset::All);
  }
}

void TChartRenderer::KeepDataImage(TCanvas& Canvas, TItemRenderer& Renderer, TKeptDataImage& Kept,
                                   const TDataImagePass& Pass, const std::shared_ptr<const TvxItemStore>& Store,
                                   int Prefix) {
  TBitmap& Data = FHost.DataImage();
  // The kept copy is pixel for pixel the data image, at its draw mode.
  if (Kept.Image.DrawMode() != Data.DrawMode()) {
    Kept.Image.SetSize(0, 0);
    Kept.Image.SetDrawMode(Data.DrawMode());
  }
  if (Kept.Image.Width() != Data.Width() || Kept.Image.Height() != Data.Height()) {
    Kept.Image.SetSize(Data.Width(), Data.Height());
  }
  Kept.Image.Canvas().Draw(0, 0, Data);
  Renderer.SaveState(Kept.Renderer);
  Kept.Pen.Assign(Canvas.Pen());
  Kept.Brush.Assign(Canvas.Brush());
  Kept.Font.Assign(Canvas.Font());
  Kept.CanvasPenPos = Canvas.PenPos();
  Kept.Store = Store;
  Kept.TextCount = Store->Texts().Count();
  Kept.StoreVersion = Store->Version();
  Kept.Prefix = Prefix;
  Kept.Settings = Pass.Settings->Data;
  Kept.StartFont = Pass.StartFont;
  Kept.Valid = true;
}

void TChartRenderer::RenderDataFromKept(TCanvas& Canvas, TItemRenderer& Renderer, TKeptDataImage& Kept,
                                        const TDataImagePass& Pass, const std::shared_ptr<const TvxItemStore>& Store) {
  // The kept image stands for the background, the grid and the items before
  // Prefix, and the state below for where their drawing left the pass.
  Canvas.Draw(0, 0, Kept.Image);
  Canvas.Pen().Assign(Kept.Pen);
  Canvas.Brush().Assign(Kept.Brush);
  Canvas.Font().Assign(Kept.Font);
  Canvas.MoveTo(Kept.CanvasPenPos.X, Kept.CanvasPenPos.Y);
  Renderer.RestoreState(Kept.Renderer);
  const int Prefix = Kept.Prefix;
  // Items appended since: keep the image again before the new last item.
  const std::function<void(int)> Capture = [&](int Index) { KeepDataImage(Canvas, Renderer, Kept, Pass, Store, Index); };
  const int CaptureAt = Store->Count() - 1 > Prefix ? Store->Count() - 1 : -1;
  RenderStore(Renderer, *Store, false, TItemSubset::All, Prefix, CaptureAt, Capture);
  // The prefix has been checked unchanged up to this version.
  if (Kept.Prefix == Prefix) Kept.StoreVersion = Store->Version();
  FinishRenderData(Canvas, Renderer, 0, 0, false, true);
}

void TChartRenderer::FinishRenderData(TCanvas& Canvas, TItemRenderer& Renderer, int Left, int Top, bool OnPrinter,
                                      bool DataDone) {
  if (DataDone && AnnotationsShown) RenderAnnotations(Renderer);
  const TPlotGeometry& G = FSettings->Data.Geometry;
  const int EventTop = G.MarginTop - Top, EventLeft = G.MarginLeft - Left;
  Canvas.Pen().SetWidth(1);
  DrawTextLabels(Canvas, Left, Top, FSettings->Labels.data(), TextLabelCount, LabelFrame(OnPrinter),
                 &Renderer.Cache());

  FHost.RaiseRenderEvent(TRenderEventKind::DataRendered, Canvas, EventTop, EventLeft);

  const int X1 = ClampPixelSum(std::int64_t{Left} + G.PlotWidth()), Y1 = ClampPixelSum(std::int64_t{Top} + G.PlotHeight());
  Canvas.Pen().SetColor(FSettings->Data.Look.ChartFrameColor);
  Canvas.Pen().SetStyle(psSolid);
  Canvas.MoveTo(Left, Top);
  Canvas.LineTo(X1, Top);
  Canvas.LineTo(X1, Y1);
  Canvas.LineTo(Left, Y1);
  Canvas.LineTo(Left, Top);
}

// ---- mouse trace and crosshairs ---------------------------------------------------------------

void TChartRenderer::DrawMouseTrace(int OffsetX, int OffsetY, TBitmap& Bitmap) {
  const int Count = FHost.MouseTraceCount();
  if (Count <= 0) return;
  TCanvas& Canvas = Bitmap.Canvas();
  const TColor KeptColor = Canvas.Pen().Color();
  const int KeptWidth = Canvas.Pen().Width();
  const TPenStyle KeptStyle = Canvas.Pen().Style();
  const TBrushStyle KeptBrush = Canvas.Brush().Style();
  const TDataPaintSettings& D = FSettings->Data;
  const TLayerTransform& T = D.Transform(D.Look.CurrentLayer);
  const std::int64_t DX = std::int64_t{OffsetX} - D.Geometry.MarginLeft, DY = std::int64_t{OffsetY} - D.Geometry.MarginTop;
  for (int K = 1; K < Count; ++K) {
    const TMouseTracePoint& From = FHost.MouseTracePoint(K - 1);
    if (From.Flags & mtfStrokeEnd) continue;
    const TMouseTracePoint& To = FHost.MouseTracePoint(K);
    Canvas.Pen().SetColor(To.Color);
    Canvas.Pen().SetMode(To.Flags & mtfInvert ? pmXor : pmCopy);
    Canvas.MoveTo(ClampRender(T.PixelX(From.X) + DX), ClampRender(T.PixelY(From.Y) + DY));
    Canvas.LineTo(ClampRender(T.PixelX(To.X) + DX), ClampRender(T.PixelY(To.Y) + DY));
    Canvas.Pen().SetMode(pmCopy);
  }
  Canvas.Pen().SetColor(KeptColor);
  Canvas.Pen().SetWidth(KeptWidth);
  Canvas.Pen().SetStyle(KeptStyle);
  Canvas.Brush().SetStyle(KeptBrush);
}

void TChartRenderer::DrawCrossHairs(int OffsetX, int OffsetY, TBitmap& Bitmap) {
  bool Any = false;
  for (const TCrossHairLook& CH : FSettings->CrossHairs) Any = Any || CH.Mode != chOff;
  if (!Any) return;
  TCanvas& Canvas = Bitmap.Canvas();
  const TColor KeptColor = Canvas.Pen().Color();
  const int KeptWidth = Canvas.Pen().Width();
  const TPenStyle KeptStyle = Canvas.Pen().Style();
  const TBrushStyle KeptBrush = Canvas.Brush().Style();
  const TDataPaintSettings& D = FSettings->Data;
  const TPlotGeometry& G = D.Geometry;
  const std::int64_t L = G.MarginLeft, T = G.MarginTop, XEdge = G.PlotRight64(), YEdge = G.PlotBottom64();

  for (int I = CrossHairCount; I >= 1; --I) {
    const TCrossHairLook& CH = FSettings->CrossHairs[static_cast<std::size_t>(I - 1)];
    const TCrossHMode Mode = CH.Mode;
    if (Mode == chOff) continue;
    const TLayerTransform& Layer = D.Transform(CH.Layer);
    const int PX = Layer.PixelX(CH.PosX), PY = Layer.PixelY(CH.PosY);
    Canvas.Pen().SetColor(CH.Color);
    Canvas.Pen().SetWidth(CH.LineWid);
    Canvas.Pen().SetStyle(CH.LineType);
    Canvas.Brush().SetColor(D.Look.ChartColor);
    const std::int64_t Hw = CH.LineWid / 2;
    const bool XIn = L + Hw < PX && PX < XEdge - Hw;
    const bool YIn = T + Hw < PY && PY < YEdge - Hw;
    // Clamped as every drawn position is: a plot that reaches past the pixel
    // range (a huge negative margin) can put an inside position at the
    // largest int, and the box corners around it must still fit an int.
    const int X = ClampRender(std::int64_t{PX} - OffsetX), Y = ClampRender(std::int64_t{PY} - OffsetY);
    auto SX = [&](std::int64_t V) { return ClampPixelSum(V - OffsetX); };
    auto SY = [&](std::int64_t V) { return ClampPixelSum(V - OffsetY); };
    if ((Mode == chHoriz || Mode == chBoth) && YIn) {
      Canvas.MoveTo(SX(L + Hw + 1), Y);
      Canvas.LineTo(SX(XEdge - Hw), Y);
    }
    if ((Mode == chVert || Mode == chBoth) && XIn) {
      Canvas.MoveTo(X, SY(T + Hw + 1));
      Canvas.LineTo(X, SY(YEdge - Hw));
    }
    if (Mode == chCrossBox && XIn && YIn) {
      Canvas.MoveTo(X - 13, Y);
      Canvas.LineTo(X + 14, Y);
      Canvas.MoveTo(X, Y - 13);
      Canvas.LineTo(X, Y + 14);
      Canvas.Brush().SetStyle(bsClear);
      Canvas.Pen().SetStyle(psSolid);
      Canvas.Pen().SetColor(clWhite);
      Canvas.Rectangle(X - 3, Y - 3, X + 4, Y + 4);
      Canvas.Pen().SetColor(clBlack);
      Canvas.Rectangle(X - 2, Y - 2, X + 3, Y + 3);
    }
    if (Mode == chBox && XIn && YIn) {
      Canvas.Brush().SetStyle(bsClear);
      Canvas.Rectangle(X - 4, Y - 4, X + 5, Y + 5);
    }
  }
  Canvas.Pen().SetColor(KeptColor);
  Canvas.Pen().SetWidth(KeptWidth);
  Canvas.Pen().SetStyle(KeptStyle);
  Canvas.Brush().SetStyle(KeptBrush);
}

}  // namespace zkw
