#include "scale/scale_control.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/frames.h"
#include "platform/devices.h"
#include "platform/properties.h"
#include "scale/range_math.h"

namespace zkw {

namespace {

TScaleDragHandler& DragHandler() {
  static TScaleDragHandler Handler;
  return Handler;
}

// The other end of a range whose ends came out equal: one unit away, or the
// neighbouring double where one unit is lost in rounding (|V| >= 2^53) or
// would overflow, so that the two ends are really never equal.
double DistinctFrom(double V) {
  const double Next = V + 1;
  if (Next != V && std::isfinite(Next)) return Next;
  const double Up = std::nextafter(V, std::numeric_limits<double>::infinity());
  if (std::isfinite(Up)) return Up;
  return std::nextafter(V, -std::numeric_limits<double>::infinity());
}

}  // namespace

void SetScaleDragHandler(TScaleDragHandler Handler) { DragHandler() = std::move(Handler); }

// --- Construction -------------------------------------------------------------------

TScale::TScale(TComponent* AOwner) : TCustomControl(AOwner) {
  // Painting stays suspended (FPaintSuspended) until the window exists.
  SetBounds(Left(), Top(), 400, 400);
  SetDefaults();
}

TScale::~TScale() { FDateFormat.OnChange = nullptr; }

void TScale::HookDateFormat() {
  FDateFormat.OnChange = [this](TObject*) { RequestRepaint(); };
}

void TScale::SetDefaults() {
  FCaption.clear();
  FCaptionPosX = 4;
  FCaptionPosY = 4;
  FCaptionAlignment = taCenter;
  FCaptionAnchor = uaSclTopLft;
  FColorBackGnd = clBtnFace;
  FColorScale = clBlack;
  FColorScheme = csBWG;
  FFrameColor = clBlack;
  FFrameShadowColor = clGray;
  FFrameHighlightColor = clWhite;
  FDecPlaces = -2;
  FFrameStyle = fsLowered;
  FLabelType = ftNum;
  FLogarithmic = false;
  FMarginTop = FMarginBottom = FMarginLeft = FMarginRight = 20;
  FMinTicks = 3;
  FMouseAction = maNone;
  FRangeLow = 0;
  FRangeHigh = 100;
  FShortTicks = true;
  FShowBaseLine = true;
  FScaleType = sctXB;
  FTransparent = false;
  FUserTickText.clear();
  FEmbedded = false;
  FNotYetLoaded = true;
  FHostCanvas = nullptr;
  FHostOffsetX = 0;
  FHostOffsetY = 0;
  FDrag = TScaleDragState{};
  // The format's own setters would each ask for a repaint: set it unhooked.
  FDateFormat.OnChange = nullptr;
  FDateFormat.SetTimeFormat(tfHHMMSS);
  FDateFormat.SetDateSeparator('-');
  FDateFormat.SetTimeSeparator(':');
  FDateFormat.SetYearLength(ylYYYY);
  FDateFormat.SetMonthName(true);
  FDateFormat.SetDateForTime(dtOnePerDay);
  FDateFormat.SetDateOrder(doDDMMYY);
  HookDateFormat();
  UpdateScaleFactors();
}

void TScale::CreateWnd() {
  TCustomControl::CreateWnd();
  FPaintSuspended = false;
}

void TScale::Loaded() {
  TCustomControl::Loaded();
  UpdateScaleFactors();
  FNotYetLoaded = false;
  RequestRepaint();
}

void TScale::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  UpdateScaleFactors();
  RequestRepaint();
}

// --- Copying --------------------------------------------------------------------------

void TScale::Assign(const TPersistent& Source) {
  const TScale* S = dynamic_cast<const TScale*>(&Source);
  if (!S) {
    TCustomControl::Assign(Source);
    return;
  }
  if (S == this) return;
  FFrameStyle = S->FFrameStyle;
  FColorBackGnd = S->FColorBackGnd;
  FColorScale = S->FColorScale;
  FFrameColor = S->FFrameColor;
  FFrameShadowColor = S->FFrameShadowColor;
  FFrameHighlightColor = S->FFrameHighlightColor;
  FColorScheme = S->FColorScheme;
  OnScaleTickDrawn = S->OnScaleTickDrawn;
  OnBeforeTickLabel = S->OnBeforeTickLabel;
  FLogarithmic = S->FLogarithmic;
  FScaleFactor = S->FScaleFactor;
  FScaleOffset = S->FScaleOffset;
  FRangeHigh = S->FRangeHigh;
  FRangeLow = S->FRangeLow;
  FShortTicks = S->FShortTicks;
  FMinTicks = S->FMinTicks;
  FDecPlaces = S->FDecPlaces;
  FShowBaseLine = S->FShowBaseLine;
  FTransparent = S->FTransparent;
  FLabelType = S->FLabelType;
  // The settings only: this scale's format keeps reporting to this scale.
  FDateFormat.Assign(S->FDateFormat);
  HookDateFormat();
  FMarginTop = S->FMarginTop;
  FMarginBottom = S->FMarginBottom;
  FMarginLeft = S->FMarginLeft;
  FMarginRight = S->FMarginRight;
  FCaptionPosX = S->FCaptionPosX;
  FCaptionPosY = S->FCaptionPosY;
  FUserTickText = S->FUserTickText;
  FScaleInscript = S->FScaleInscript;
  FTickPositions = S->FTickPositions;
  FCaption = S->FCaption;
  FCaptionAnchor = S->FCaptionAnchor;
  FCaptionAlignment = S->FCaptionAlignment;
  FHostOffsetX = S->FHostOffsetX;
  FHostOffsetY = S->FHostOffsetY;
  FScaleType = S->FScaleType;
  FEmbedded = S->FEmbedded;
  OnBeforeScaleRendered = S->OnBeforeScaleRendered;
  OnAfterScaleRendered = S->OnAfterScaleRendered;
  FPaintSuspended = S->FPaintSuspended;
  RequestRepaint();
}

void TScale::AssignTo(TPersistent& Dest) const {
  if (TScale* D = dynamic_cast<TScale*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TCustomControl::AssignTo(Dest);
}

// --- Setters ----------------------------------------------------------------------------

void TScale::SetCaption(const std::string& Value) {
  FCaption = Value;
  RequestRepaint();
}

void TScale::SetCaptionPosX(int Value) {
  FCaptionPosX = Value;
  RequestRepaint();
}

void TScale::SetCaptionPosY(int Value) {
  FCaptionPosY = Value;
  RequestRepaint();
}

void TScale::SetCaptionAlignment(TAlignment Value) {
  FCaptionAlignment = Value;
  RequestRepaint();
}

void TScale::SetCaptionAnchor(TScaleUnitAnchor Value) {
  FCaptionAnchor = Value;
  RequestRepaint();
}

void TScale::SetColorBackGnd(TColor Value) {
  if (Value == FColorBackGnd) return;
  FColorBackGnd = Value;
  RequestRepaint();
}

void TScale::SetColorScale(TColor Value) {
  if (Value == FColorScale) return;
  FColorScale = Value;
  RequestRepaint();
}

void TScale::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  if (Value == csSystem) {
    FFrameShadowColor = clBtnShadow;
    FFrameHighlightColor = clBtnHighlight;
  } else {
    FFrameShadowColor = clGray;
    FFrameHighlightColor = clWhite;
  }
  RequestRepaint();
}

void TScale::SetDateFormat(const TDTLabel& Value) {
  if (&Value != &FDateFormat) {
    FDateFormat.Assign(Value);
    HookDateFormat();
  }
  RequestRepaint();
}

void TScale::SetDecPlaces(int Value) {
  FDecPlaces = std::clamp(Value, -3, 12);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle) return;
  FFrameStyle = Value;
  RequestRepaint();
}

void TScale::SetLabelType(TFigType Value) {
  FLabelType = Value;
  if (Value == ftDateTime) {
    FLogarithmic = false;  // calendar axes are linear
    UpdateScaleFactors();
  }
  if (Value == ftTime) FDecPlaces = 4;
  RequestRepaint();
}

void TScale::SetLogarithmic(bool Value) {
  if (!Value || FNotYetLoaded)
    FLogarithmic = Value;
  else if (FRangeLow >= 1e-100 && FRangeHigh >= 1e-100 && FLabelType != ftDateTime)
    FLogarithmic = true;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginTop(int Value) {
  FMarginTop = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginBottom(int Value) {
  FMarginBottom = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginLeft(int Value) {
  FMarginLeft = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginRight(int Value) {
  FMarginRight = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMinTicks(int Value) {
  FMinTicks = Value == 0 ? 0 : std::clamp(Value, 2, 10);
  RequestRepaint();
}

void TScale::SetRangeLow(double Value) {
  if (!std::isfinite(Value)) return;
  FRangeLow = Value;
  if (FRangeLow == FRangeHigh) FRangeHigh = DistinctFrom(FRangeLow);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetRangeHigh(double Value) {
  if (!std::isfinite(Value)) return;
  FRangeHigh = Value;
  if (FRangeHigh == FRangeLow) FRangeLow = DistinctFrom(FRangeHigh);  // the axis turns round
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetRange(double Low, double High) {
  if (!std::isfinite(Low) || !std::isfinite(High)) return;
  FRangeLow = Low;
  FRangeHigh = High == Low ? DistinctFrom(Low) : High;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetShortTicks(bool Value) {
  if (Value == FShortTicks) return;
  FShortTicks = Value;
  RequestRepaint();
}

void TScale::SetShowBaseLine(bool Value) {
  FShowBaseLine = Value;
  RequestRepaint();
}

void TScale::SetScaleInscript(const std::string& Value) {
  FScaleInscript = Value;
  RequestRepaint();
}

void TScale::SetScaleType(TScaleType Value) {
  if (Value == FScaleType) return;
  FScaleType = Value;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetTransparent(bool Value) {
  FTransparent = Value;
  RequestRepaint();
}

void TScale::SetUserTickText(const std::string& Value) {
  FUserTickText = Value;
  RequestRepaint();
}

// --- Operations for the chart -------------------------------------------------------------

void TScale::SetPaintSuspended(bool Value) {
  if (Value == FPaintSuspended) return;
  FPaintSuspended = Value;
  if (!Value) RequestRepaint();
}

void TScale::ForcePaint() {
  const bool Suspended = FPaintSuspended;
  FPaintSuspended = false;
  RequestRepaint();
  FPaintSuspended = Suspended;
}

void TScale::SetHostCanvas(TCanvas* Canvas, int OffsetX, int OffsetY) {
  FHostCanvas = Canvas;
  FHostOffsetX = OffsetX;
  FHostOffsetY = OffsetY;
}

void TScale::SetEmbedded(bool Value) {
  if (Value == FEmbedded) return;
  FEmbedded = Value;
  RequestRepaint();
}

// --- Tick placement ------------------------------------------------------------------------

void TScale::UpdateScaleFactors() {
  if (ComponentState().Contains(csLoading)) return;
  TScaleGeometry G;
  G.Width = Width();
  G.Height = Height();
  G.MarginLeft = FMarginLeft;
  G.MarginRight = FMarginRight;
  G.MarginTop = FMarginTop;
  G.MarginBottom = FMarginBottom;
  G.Vertical = IsVerticalScale(FScaleType);
  CalcScaleFactors(G, FRangeLow, FRangeHigh, FLogarithmic, FScaleFactor, FScaleOffset);
}

int TScale::ValueToPixel(double V) const {
  return TScaleMap{FScaleFactor, FScaleOffset, FLogarithmic, FRangeLow, FRangeHigh, Width()}.ValueToPixel(V);
}

Extended TScale::GetTickPos(int Index) const {
  if (Index < 1 || Index > NumTicks()) return 0;
  return FTickPositions[static_cast<std::size_t>(Index - 1)];
}

// --- Painting ---------------------------------------------------------------------------------

void TScale::RequestRepaint() {
  if (!FTransparent || FEmbedded) {
    Paint();
    if (!FHostCanvas && !FPaintSuspended && HandleAllocated()) SurfaceChanged();
  } else {
    // The parent must first repaint what lies behind a transparent scale.
    Invalidate();
  }
}

void TScale::Paint() {
  if (FPaintSuspended) return;
  const TComponentState State = ComponentState();
  if (State.Contains(csLoading)) return;
  if (!Visible() && !(State.Contains(csDesigning) && !FEmbedded)) return;
  // A handler that changes the scale while it paints asks for another paint;
  // it comes from the window later instead of recursing here.
  if (FInPaint) {
    Invalidate();
    return;
  }
  FInPaint = true;
  try {
    if (FHostCanvas)
      PaintOn(*FHostCanvas, FHostOffsetX, FHostOffsetY);
    else
      PaintOn(Canvas(), 0, 0);
  } catch (...) {
    FInPaint = false;
    throw;
  }
  FInPaint = false;
}

void TScale::PaintOn(TCanvas& Target, int OffsetX, int OffsetY) {
  Target.SetFont(Font());
  const TScaleRenderedEvent Before = OnBeforeScaleRendered;
  if (Before) Before(this, Target);
  if (FTransparent) {
    Target.Pen().SetColor(FColorScale);
    const int Base = ScaleBaseCoordinate(Drawing(), OffsetX, OffsetY);
    DrawScale(Target, Base);
    if (FShowBaseLine) {
      Target.Pen().SetColor(FColorScale);
      DrawScaleBaseLine(Target, Drawing(), Base);
    }
    const TScaleRenderedEvent After = OnAfterScaleRendered;
    if (After) After(this, Target);
    return;
  }
  // Opaque: the whole control is drawn off-screen and copied in one piece,
  // on a bitmap that starts in the background colour (one fill instead of
  // white and then the background rectangle).
  TBitmap Image;
  Image.SetDrawMode(Target.Target().DrawMode());
  Image.SetSizeFilled(Width(), Height(), ColorToPixel(FColorBackGnd));
  TCanvas& C = Image.Canvas();
  C.SetFont(Font());
  C.Pen().SetColor(FColorBackGnd);
  C.Brush().SetColor(FColorBackGnd);
  C.Brush().SetStyle(bsSolid);
  C.Pen().SetColor(FColorScale);
  const int Base = ScaleBaseCoordinate(Drawing(), 0, 0);
  DrawScale(C, Base);
  if (FShowBaseLine) {
    C.Pen().SetColor(FColorScale);
    DrawScaleBaseLine(C, Drawing(), Base);
  }
  const TScaleRenderedEvent After = OnAfterScaleRendered;
  if (After) After(this, C);
  DrawFrame3D(C, FFrameStyle, 0, 0, Width() - 1, Height() - 1, FFrameHighlightColor, clSilver,
              FFrameShadowColor, FFrameColor, FFrameColor);
  Target.Draw(OffsetX, OffsetY, Image);
}

void TScale::DrawScale(TCanvas& Canvas, int Base) {
  if (IsVerticalScale(FScaleType))
    DrawVerticalScale(Canvas, Base);
  else
    DrawHorizontalScale(Canvas, Base);
}

TScaleDrawing TScale::Drawing() const {
  TScaleDrawing D;
  D.Sender = const_cast<TScale*>(this);
  D.ScaleType = FScaleType;
  D.Width = Width();
  D.Height = Height();
  D.MarginLeft = FMarginLeft;
  D.MarginRight = FMarginRight;
  D.MarginTop = FMarginTop;
  D.MarginBottom = FMarginBottom;
  D.Map = TScaleMap{FScaleFactor, FScaleOffset, FLogarithmic, FRangeLow, FRangeHigh, Width()};
  D.Ticks.RangeLow = FRangeLow;
  D.Ticks.RangeHigh = FRangeHigh;
  D.Ticks.Logarithmic = FLogarithmic;
  D.Ticks.MinTicks = FMinTicks;
  D.Ticks.ShortTicks = FShortTicks;
  D.Ticks.LabelType = FLabelType;
  D.Ticks.Vertical = IsVerticalScale(FScaleType);
  D.Labels.LabelType = FLabelType;
  D.Labels.DecPlaces = FDecPlaces;
  D.Labels.UserTickText = FUserTickText;
  D.Labels.ScaleInscript = FScaleInscript;
  D.Labels.DateFormat = DateFormatValuesOf(FDateFormat);
  D.Labels.RangeLow = FRangeLow;
  D.Labels.RangeHigh = FRangeHigh;
  D.Caption = FCaption;
  D.CaptionPosX = FCaptionPosX;
  D.CaptionPosY = FCaptionPosY;
  D.CaptionAlignment = FCaptionAlignment;
  D.CaptionAnchor = FCaptionAnchor;
  return D;
}

namespace {

// On the printer, text keeps the pixel height it has on the screen, like the
// rest of the scale's pixel geometry.
void MatchPrinterFont(TCanvas& Canvas, const TFont& ScreenFont) {
  if (!IsPrinterCanvas(Canvas)) return;
  TFont& F = Canvas.Font();
  F.SetPixelsPerInch(ScreenInfo().PixelsPerInch());
  F.SetSize(ScreenFont.Size());
  const int PixelHeight = F.Height();
  F.SetPixelsPerInch(Printer().YResolution());
  F.SetHeight(PixelHeight);
}

}  // namespace

void TScale::DrawHorizontalScale(TCanvas& Canvas, int BaseY) {
  if (FMinTicks != 0) FMinTicks = std::clamp(FMinTicks, 2, 20);
  DrawTicksAndCaption(Canvas, BaseY);
}

void TScale::DrawVerticalScale(TCanvas& Canvas, int BaseX) { DrawTicksAndCaption(Canvas, BaseX); }

void TScale::DrawTicksAndCaption(TCanvas& Canvas, int Base) {
  MatchPrinterFont(Canvas, Font());
  Canvas.Brush().SetStyle(FTransparent ? bsClear : bsSolid);
  FTickPositions.clear();
  // Handlers may reassign the scale's events while they run: draw with copies.
  const TScaleTickDrawnEvent TickDrawn = OnScaleTickDrawn;
  const TBeforeTickLabelEvent BeforeLabel = OnBeforeTickLabel;
  TScaleDrawing D = Drawing();
  D.OnScaleTickDrawn = &TickDrawn;
  D.OnBeforeTickLabel = &BeforeLabel;
  if (!FLabelCache) FLabelCache = std::make_shared<TTickLabelCache>();
  D.LabelCache = FLabelCache;
  const TTickWalkResult Walk = WalkScale(D);
  FTickPositions = StoredTickPositions(Walk.Ticks);
  DrawScaleTicks(Canvas, D, Base, Walk);
  DrawScaleCaption(Canvas, D, Base);
}

// --- Mouse ----------------------------------------------------------------------------------------

void TScale::DblClick() {
  if (FMouseAction == maPan)
    FMouseAction = maZoom;
  else if (FMouseAction == maZoom)
    FMouseAction = maPan;
  TCustomControl::DblClick();
}

void TScale::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  DragMove(Shift, X, Y);
  const TScaleDragHandler Handler = DragHandler();
  if (Handler) Handler(*this, sdsMove, Shift, X, Y);
}

void TScale::DragMove(TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) return;
  const int W = Width(), H = Height();
  const bool Horizontal = FScaleType == sctXB || FScaleType == sctXT;
  const bool Inside = Horizontal ? (FMarginLeft < X && X < W - FMarginRight && 0 < Y && Y < H)
                                 : (0 < X && X < W && FMarginTop < Y && Y < H - FMarginBottom);
  if (!Inside) return;
  if (!FDrag.Dragging) {
    FDrag.StartX = X;
    FDrag.StartY = Y;
    FDrag.StartLow = FRangeLow;
    FDrag.StartHigh = FRangeHigh;
  } else {
    double Low = 0, High = 0;
    if (ScaleDragRange({{FDrag.StartX, FDrag.StartY}, {X, Y}}, {FRangeLow, FRangeHigh, FLogarithmic},
                       {FDrag.StartLow, FDrag.StartHigh}, {FScaleType, FMouseAction},
                       {W, H, FMarginLeft, FMarginRight, FMarginTop, FMarginBottom}, Low, High)) {
      const bool Previous = FPaintSuspended;
      SetPaintSuspended(true);
      SetRange(Low, High);
      SetPaintSuspended(Previous);
      // The host may change anything here, the drag state included.
      FDrag.Dragging = true;
      if (OnZoomPan) OnZoomPan(this);
      return;
    }
  }
  FDrag.Dragging = true;
}

void TScale::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FDrag.Dragging = false;
  const TScaleDragHandler Handler = DragHandler();
  if (Handler) Handler(*this, sdsRelease, Shift, X, Y);
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- Form descriptions ------------------------------------------------------------------------------

namespace {

const bool Registered = [] {
  RegisterClass<TScale>("TScale", "TCustomControl", [](TComponent* Owner) { return new TScale(Owner); })
      .String("Caption", &TScale::Caption, &TScale::SetCaption, "")
      .Int("CaptionPosX", &TScale::CaptionPosX, &TScale::SetCaptionPosX, 4)
      .Int("CaptionPosY", &TScale::CaptionPosY, &TScale::SetCaptionPosY, 4)
      .Enum("CaptionAlignment", &TScale::CaptionAlignment, &TScale::SetCaptionAlignment, AlignmentNames, taCenter)
      .Enum("CaptionAnchor", &TScale::CaptionAnchor, &TScale::SetCaptionAnchor, ScaleUnitAnchorNames,
            uaSclTopLft)
      .Color("ColorBackGnd", &TScale::ColorBackGnd, &TScale::SetColorBackGnd, clBtnFace)
      .Color("ColorScale", &TScale::ColorScale, &TScale::SetColorScale, clBlack)
      .Enum("ColorScheme", &TScale::ColorScheme, &TScale::SetColorScheme, ColorSchemeNames, csBWG)
      .Object("DateFormat", [](TScale& S) -> TDTLabel& { return S.DateFormat(); })
      .Int("DecPlaces", &TScale::DecPlaces, &TScale::SetDecPlaces, -2)
      .Range(-3, 12)
      .Enum("FrameStyle", &TScale::FrameStyle, &TScale::SetFrameStyle, FrameStyleNames, fsLowered)
      .Enum("LabelType", &TScale::LabelType, &TScale::SetLabelType, FigTypeNames, ftNum)
      .Bool("Logarithmic", &TScale::Logarithmic, &TScale::SetLogarithmic, false)
      .Int("MarginTop", &TScale::MarginTop, &TScale::SetMarginTop, 20)
      .Int("MarginBottom", &TScale::MarginBottom, &TScale::SetMarginBottom, 20)
      .Int("MarginLeft", &TScale::MarginLeft, &TScale::SetMarginLeft, 20)
      .Int("MarginRight", &TScale::MarginRight, &TScale::SetMarginRight, 20)
      .Int("MinTicks", &TScale::MinTicks, &TScale::SetMinTicks, 3)
      .Enum("MouseAction", &TScale::MouseAction, &TScale::SetMouseAction, MouseActModeNames, maNone)
      .Double("RangeLow", &TScale::RangeLow, &TScale::SetRangeLow, 0.0)
      .Double("RangeHigh", &TScale::RangeHigh, &TScale::SetRangeHigh, 100.0)
      .Bool("ShortTicks", &TScale::ShortTicks, &TScale::SetShortTicks, true)
      .Bool("ShowBaseLine", &TScale::ShowBaseLine, &TScale::SetShowBaseLine, true)
      .String("ScaleInscript", &TScale::ScaleInscript, &TScale::SetScaleInscript, "")
      .Enum("ScaleType", &TScale::ScaleType, &TScale::SetScaleType, ScaleTypeNames, sctXB)
      .Bool("Transparent", &TScale::Transparent, &TScale::SetTransparent, false)
      .Bool("Antialiased", &TScale::Antialiased, &TScale::SetAntialiased, false)
      .String("UserTickText", &TScale::UserTickText, &TScale::SetUserTickText, "")
      .Event("OnScaleTickDrawn", &TScale::OnScaleTickDrawn)
      .Event("OnBeforeTickLabel", &TScale::OnBeforeTickLabel)
      .Event("OnBeforeScaleRendered", &TScale::OnBeforeScaleRendered)
      .Event("OnAfterScaleRendered", &TScale::OnAfterScaleRendered)
      .Event("OnZoomPan", &TScale::OnZoomPan);
  return true;
}();

}  // namespace

}  // namespace zkw
