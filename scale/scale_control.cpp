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
  // Every published setting goes back to its default but the unit inscript,
  // which a reset keeps (the header's promise).
  std::string Inscript = std::move(FLook.ScaleInscript);
  FLook = TScaleLook{};
  FLook.ScaleInscript = std::move(Inscript);
  FMouseAction = maNone;
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
  FLook = S->FLook;
  OnScaleTickDrawn = S->OnScaleTickDrawn;
  OnBeforeTickLabel = S->OnBeforeTickLabel;
  FScaleFactor = S->FScaleFactor;
  FScaleOffset = S->FScaleOffset;
  // The settings only: this scale's format keeps reporting to this scale.
  FDateFormat.Assign(S->FDateFormat);
  HookDateFormat();
  FTickPositions = S->FTickPositions;
  FHostOffsetX = S->FHostOffsetX;
  FHostOffsetY = S->FHostOffsetY;
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
  FLook.Caption = Value;
  RequestRepaint();
}

void TScale::SetCaptionPosX(int Value) {
  FLook.CaptionPosX = Value;
  RequestRepaint();
}

void TScale::SetCaptionPosY(int Value) {
  FLook.CaptionPosY = Value;
  RequestRepaint();
}

void TScale::SetCaptionAlignment(TAlignment Value) {
  FLook.CaptionAlignment = Value;
  RequestRepaint();
}

void TScale::SetCaptionAnchor(TScaleUnitAnchor Value) {
  FLook.CaptionAnchor = Value;
  RequestRepaint();
}

void TScale::SetColorBackGnd(TColor Value) {
  if (Value == FLook.Box.ColorBackGnd) return;
  FLook.Box.ColorBackGnd = Value;
  RequestRepaint();
}

void TScale::SetColorScale(TColor Value) {
  if (Value == FLook.ColorScale) return;
  FLook.ColorScale = Value;
  RequestRepaint();
}

void TScale::SetColorScheme(TColorScheme Value) {
  if (Value == FLook.Box.ColorScheme) return;
  FLook.Box.ColorScheme = Value;
  if (Value == csSystem) {
    FLook.Box.FrameShadowColor = clBtnShadow;
    FLook.Box.FrameHighlightColor = clBtnHighlight;
  } else {
    FLook.Box.FrameShadowColor = clGray;
    FLook.Box.FrameHighlightColor = clWhite;
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
  FLook.DecPlaces = std::clamp(Value, -3, 12);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetFrameStyle(TFrameStyle Value) {
  if (Value == FLook.Box.FrameStyle) return;
  FLook.Box.FrameStyle = Value;
  RequestRepaint();
}

void TScale::SetLabelType(TFigType Value) {
  FLook.LabelType = Value;
  if (Value == ftDateTime) {
    FLook.Logarithmic = false;  // calendar axes are linear
    UpdateScaleFactors();
  }
  if (Value == ftTime) FLook.DecPlaces = 4;
  RequestRepaint();
}

void TScale::SetLogarithmic(bool Value) {
  if (!Value || FNotYetLoaded)
    FLook.Logarithmic = Value;
  else if (FLook.RangeLow >= 1e-100 && FLook.RangeHigh >= 1e-100 && FLook.LabelType != ftDateTime)
    FLook.Logarithmic = true;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginTop(int Value) {
  FLook.Box.MarginTop = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginBottom(int Value) {
  FLook.Box.MarginBottom = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginLeft(int Value) {
  FLook.Box.MarginLeft = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMarginRight(int Value) {
  FLook.Box.MarginRight = std::max(Value, 0);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetMinTicks(int Value) {
  FLook.MinTicks = Value == 0 ? 0 : std::clamp(Value, 2, 10);
  RequestRepaint();
}

void TScale::SetRangeLow(double Value) {
  if (!std::isfinite(Value)) return;
  FLook.RangeLow = Value;
  if (FLook.RangeLow == FLook.RangeHigh) FLook.RangeHigh = DistinctFrom(FLook.RangeLow);
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetRangeHigh(double Value) {
  if (!std::isfinite(Value)) return;
  FLook.RangeHigh = Value;
  if (FLook.RangeHigh == FLook.RangeLow) FLook.RangeLow = DistinctFrom(FLook.RangeHigh);  // the axis turns round
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetRange(double Low, double High) {
  if (!std::isfinite(Low) || !std::isfinite(High)) return;
  FLook.RangeLow = Low;
  FLook.RangeHigh = High == Low ? DistinctFrom(Low) : High;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetLook(const TScaleLook& Value) {
  const TScaleLook Old = FLook;
  FLook = Value;
  FLook.DecPlaces = std::clamp(Value.DecPlaces, -3, 12);
  FLook.MinTicks = Value.MinTicks == 0 ? 0 : std::clamp(Value.MinTicks, 2, 10);
  for (int* Margin : {&FLook.Box.MarginTop, &FLook.Box.MarginBottom, &FLook.Box.MarginLeft, &FLook.Box.MarginRight})
    *Margin = std::max(*Margin, 0);
  if (FLook.RangeHigh == FLook.RangeLow) FLook.RangeLow = DistinctFrom(FLook.RangeHigh);
  // As SetLogarithmic before SetLabelType: the switch is checked against the
  // label type the scale had, and a refused switch keeps the old state.
  if (Value.Logarithmic && !FNotYetLoaded &&
      !(FLook.RangeLow >= 1e-100 && FLook.RangeHigh >= 1e-100 && Old.LabelType != ftDateTime))
    FLook.Logarithmic = Old.Logarithmic;
  if (FLook.LabelType == ftDateTime) FLook.Logarithmic = false;  // calendar axes are linear
  if (FLook.LabelType == ftTime) FLook.DecPlaces = 4;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetShortTicks(bool Value) {
  if (Value == FLook.ShortTicks) return;
  FLook.ShortTicks = Value;
  RequestRepaint();
}

void TScale::SetShowBaseLine(bool Value) {
  FLook.Box.ShowBaseLine = Value;
  RequestRepaint();
}

void TScale::SetScaleInscript(const std::string& Value) {
  FLook.ScaleInscript = Value;
  RequestRepaint();
}

void TScale::SetScaleType(TScaleType Value) {
  if (Value == FLook.ScaleType) return;
  FLook.ScaleType = Value;
  UpdateScaleFactors();
  RequestRepaint();
}

void TScale::SetTransparent(bool Value) {
  FLook.Box.Transparent = Value;
  RequestRepaint();
}

void TScale::SetUserTickText(const std::string& Value) {
  FLook.UserTickText = Value;
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
  G.MarginLeft = FLook.Box.MarginLeft;
  G.MarginRight = FLook.Box.MarginRight;
  G.MarginTop = FLook.Box.MarginTop;
  G.MarginBottom = FLook.Box.MarginBottom;
  G.Vertical = IsVerticalScale(FLook.ScaleType);
  CalcScaleFactors(G, FLook.RangeLow, FLook.RangeHigh, FLook.Logarithmic, FScaleFactor, FScaleOffset);
}

int TScale::ValueToPixel(double V) const {
  return TScaleMap{FScaleFactor, FScaleOffset, FLook.Logarithmic, FLook.RangeLow, FLook.RangeHigh, Width()}.ValueToPixel(V);
}

Extended TScale::GetTickPos(int Index) const {
  if (Index < 1 || Index > NumTicks()) return 0;
  return FTickPositions[static_cast<std::size_t>(Index - 1)];
}

// --- Painting ---------------------------------------------------------------------------------

void TScale::RequestRepaint() {
  if (!FLook.Box.Transparent || FEmbedded) {
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
  if (FLook.Box.Transparent) {
    Target.Pen().SetColor(FLook.ColorScale);
    const int Base = ScaleBaseCoordinate(Drawing(), OffsetX, OffsetY);
    DrawScale(Target, Base);
    if (FLook.Box.ShowBaseLine) {
      Target.Pen().SetColor(FLook.ColorScale);
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
  Image.SetSizeFilled(Width(), Height(), ColorToPixel(FLook.Box.ColorBackGnd));
  TCanvas& C = Image.Canvas();
  C.SetFont(Font());
  C.Pen().SetColor(FLook.Box.ColorBackGnd);
  C.Brush().SetColor(FLook.Box.ColorBackGnd);
  C.Brush().SetStyle(bsSolid);
  C.Pen().SetColor(FLook.ColorScale);
  const int Base = ScaleBaseCoordinate(Drawing(), 0, 0);
  DrawScale(C, Base);
  if (FLook.Box.ShowBaseLine) {
    C.Pen().SetColor(FLook.ColorScale);
    DrawScaleBaseLine(C, Drawing(), Base);
  }
  const TScaleRenderedEvent After = OnAfterScaleRendered;
  if (After) After(this, C);
  DrawFrame3D(C, FLook.Box.FrameStyle, 0, 0, Width() - 1, Height() - 1, FLook.Box.FrameHighlightColor, clSilver,
              FLook.Box.FrameShadowColor, FLook.Box.FrameColor, FLook.Box.FrameColor);
  Target.Draw(OffsetX, OffsetY, Image);
}

void TScale::DrawScale(TCanvas& Canvas, int Base) {
  if (IsVerticalScale(FLook.ScaleType))
    DrawVerticalScale(Canvas, Base);
  else
    DrawHorizontalScale(Canvas, Base);
}

TScaleDrawing TScale::Drawing() const {
  TScaleDrawing D;
  D.Sender = const_cast<TScale*>(this);
  D.ScaleType = FLook.ScaleType;
  D.Width = Width();
  D.Height = Height();
  D.MarginLeft = FLook.Box.MarginLeft;
  D.MarginRight = FLook.Box.MarginRight;
  D.MarginTop = FLook.Box.MarginTop;
  D.MarginBottom = FLook.Box.MarginBottom;
  D.Map = TScaleMap{FScaleFactor, FScaleOffset, FLook.Logarithmic, FLook.RangeLow, FLook.RangeHigh, Width()};
  D.Ticks.RangeLow = FLook.RangeLow;
  D.Ticks.RangeHigh = FLook.RangeHigh;
  D.Ticks.Logarithmic = FLook.Logarithmic;
  D.Ticks.MinTicks = FLook.MinTicks;
  D.Ticks.ShortTicks = FLook.ShortTicks;
  D.Ticks.LabelType = FLook.LabelType;
  D.Ticks.Vertical = IsVerticalScale(FLook.ScaleType);
  D.Labels.LabelType = FLook.LabelType;
  D.Labels.DecPlaces = FLook.DecPlaces;
  D.Labels.UserTickText = FLook.UserTickText;
  D.Labels.ScaleInscript = FLook.ScaleInscript;
  D.Labels.DateFormat = DateFormatValuesOf(FDateFormat);
  D.Labels.RangeLow = FLook.RangeLow;
  D.Labels.RangeHigh = FLook.RangeHigh;
  D.Caption = FLook.Caption;
  D.CaptionPosX = FLook.CaptionPosX;
  D.CaptionPosY = FLook.CaptionPosY;
  D.CaptionAlignment = FLook.CaptionAlignment;
  D.CaptionAnchor = FLook.CaptionAnchor;
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
  if (FLook.MinTicks != 0) FLook.MinTicks = std::clamp(FLook.MinTicks, 2, 20);
  DrawTicksAndCaption(Canvas, BaseY);
}

void TScale::DrawVerticalScale(TCanvas& Canvas, int BaseX) { DrawTicksAndCaption(Canvas, BaseX); }

void TScale::DrawTicksAndCaption(TCanvas& Canvas, int Base) {
  MatchPrinterFont(Canvas, Font());
  Canvas.Brush().SetStyle(FLook.Box.Transparent ? bsClear : bsSolid);
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
  const bool Horizontal = FLook.ScaleType == sctXB || FLook.ScaleType == sctXT;
  const bool Inside = Horizontal ? (FLook.Box.MarginLeft < X && X < W - FLook.Box.MarginRight && 0 < Y && Y < H)
                                 : (0 < X && X < W && FLook.Box.MarginTop < Y && Y < H - FLook.Box.MarginBottom);
  if (!Inside) return;
  if (!FDrag.Dragging) {
    FDrag.StartX = X;
    FDrag.StartY = Y;
    FDrag.StartLow = FLook.RangeLow;
    FDrag.StartHigh = FLook.RangeHigh;
  } else {
    double Low = 0, High = 0;
    if (ScaleDragRange({{FDrag.StartX, FDrag.StartY}, {X, Y}}, {FLook.RangeLow, FLook.RangeHigh, FLook.Logarithmic},
                       {FDrag.StartLow, FDrag.StartHigh}, {FLook.ScaleType, FMouseAction},
                       {W, H, FLook.Box.MarginLeft, FLook.Box.MarginRight, FLook.Box.MarginTop, FLook.Box.MarginBottom}, Low, High)) {
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
      .String("Caption", &TScale::Caption, &TScale::SetCaption, TScaleLook{}.Caption)
      .Int("CaptionPosX", &TScale::CaptionPosX, &TScale::SetCaptionPosX, TScaleLook{}.CaptionPosX)
      .Int("CaptionPosY", &TScale::CaptionPosY, &TScale::SetCaptionPosY, TScaleLook{}.CaptionPosY)
      .Enum("CaptionAlignment", &TScale::CaptionAlignment, &TScale::SetCaptionAlignment, AlignmentNames, TScaleLook{}.CaptionAlignment)
      .Enum("CaptionAnchor", &TScale::CaptionAnchor, &TScale::SetCaptionAnchor, ScaleUnitAnchorNames, TScaleLook{}.CaptionAnchor)
      .Color("ColorBackGnd", &TScale::ColorBackGnd, &TScale::SetColorBackGnd, TScaleBox{}.ColorBackGnd)
      .Color("ColorScale", &TScale::ColorScale, &TScale::SetColorScale, TScaleLook{}.ColorScale)
      .Enum("ColorScheme", &TScale::ColorScheme, &TScale::SetColorScheme, ColorSchemeNames, TScaleBox{}.ColorScheme)
      .Object("DateFormat", [](TScale& S) -> TDTLabel& { return S.DateFormat(); })
      .Int("DecPlaces", &TScale::DecPlaces, &TScale::SetDecPlaces, TScaleLook{}.DecPlaces)
      .Range(-3, 12)
      .Enum("FrameStyle", &TScale::FrameStyle, &TScale::SetFrameStyle, FrameStyleNames, TScaleBox{}.FrameStyle)
      .Enum("LabelType", &TScale::LabelType, &TScale::SetLabelType, FigTypeNames, TScaleLook{}.LabelType)
      .Bool("Logarithmic", &TScale::Logarithmic, &TScale::SetLogarithmic, TScaleLook{}.Logarithmic)
      .Int("MarginTop", &TScale::MarginTop, &TScale::SetMarginTop, TScaleBox{}.MarginTop)
      .Int("MarginBottom", &TScale::MarginBottom, &TScale::SetMarginBottom, TScaleBox{}.MarginBottom)
      .Int("MarginLeft", &TScale::MarginLeft, &TScale::SetMarginLeft, TScaleBox{}.MarginLeft)
      .Int("MarginRight", &TScale::MarginRight, &TScale::SetMarginRight, TScaleBox{}.MarginRight)
      .Int("MinTicks", &TScale::MinTicks, &TScale::SetMinTicks, TScaleLook{}.MinTicks)
      .Enum("MouseAction", &TScale::MouseAction, &TScale::SetMouseAction, MouseActModeNames, maNone)
      .Double("RangeLow", &TScale::RangeLow, &TScale::SetRangeLow, TScaleLook{}.RangeLow)
      .Double("RangeHigh", &TScale::RangeHigh, &TScale::SetRangeHigh, TScaleLook{}.RangeHigh)
      .Bool("ShortTicks", &TScale::ShortTicks, &TScale::SetShortTicks, TScaleLook{}.ShortTicks)
      .Bool("ShowBaseLine", &TScale::ShowBaseLine, &TScale::SetShowBaseLine, TScaleBox{}.ShowBaseLine)
      .String("ScaleInscript", &TScale::ScaleInscript, &TScale::SetScaleInscript, TScaleLook{}.ScaleInscript)
      .Enum("ScaleType", &TScale::ScaleType, &TScale::SetScaleType, ScaleTypeNames, TScaleLook{}.ScaleType)
      .Bool("Transparent", &TScale::Transparent, &TScale::SetTransparent, TScaleBox{}.Transparent)
      .Bool("Antialiased", &TScale::Antialiased, &TScale::SetAntialiased, false)
      .String("UserTickText", &TScale::UserTickText, &TScale::SetUserTickText, TScaleLook{}.UserTickText)
      .Event("OnScaleTickDrawn", &TScale::OnScaleTickDrawn)
      .Event("OnBeforeTickLabel", &TScale::OnBeforeTickLabel)
      .Event("OnBeforeScaleRendered", &TScale::OnBeforeScaleRendered)
      .Event("OnAfterScaleRendered", &TScale::OnAfterScaleRendered)
      .Event("OnZoomPan", &TScale::OnZoomPan);
  return true;
}();

}  // namespace

}  // namespace zkw
