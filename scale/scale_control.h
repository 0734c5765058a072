/// @class zkw::TScale scale/scale_control.h "scale/scale_control.h"
/// A control that shows one axis scale: ticks, labels, base line, caption and
/// frame for a world range.
///
/// TScale: a custom window control that shows one axis scale. Placed on a form
/// it paints in its own window; the chart creates one per layer and axis,
/// lends it the chart's canvas (SetHostCanvas), makes it transparent and
/// embedded, and drives its painting with SetPaintSuspended / ForcePaint.
///
/// Call order the chart relies on: construct (painting suspended, 400 x 400,
/// defaults) -> SetDefaults / setters -> SetEmbedded(true), SetHostCanvas(...)
/// -> ForcePaint() per chart paint. The host canvas is borrowed: the chart
/// must keep it alive while it is lent (or lend nullptr before it goes).
///
/// Every setter that changes what is drawn ends with the repaint request: an
/// opaque or embedded scale paints at once, a transparent stand-alone scale
/// invalidates its window so that its parent repaints what lies behind it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/enums.h"
#include "base/events.h"
#include "base/value_objects.h"
#include "platform/controls.h"
#include "platform/graphics.h"
#include "scale/scale_look.h"
#include "scale/scale_painter.h"
#include "scale/tick_engine.h"

namespace zkw {

class TScale;

/// @file
/// The scale control TScale and the program-wide observer of its mouse drags.

/// A program-wide observer of the stand-alone scales' mouse dragging: it sees
/// every move (after OnMouseMove and the scale's own drag step) and every
/// release (before OnMouseUp) together with the scale's drag state. The
/// scale pans and zooms its own range whether or not one is installed.
/// The two steps of a drag the handler of SetScaleDragHandler sees.
enum TScaleDragStep : std::uint8_t { sdsMove, sdsRelease };
/// The observer of every stand-alone scale's drag steps (see TScaleDragStep).
using TScaleDragHandler =
    std::function<void(TScale& Scale, TScaleDragStep Step, TShiftState Shift, int X, int Y)>;
/// Installs the program-wide drag observer; an empty handler removes it.
void SetScaleDragHandler(TScaleDragHandler Handler);

/// Drag bookkeeping kept by each scale for the drag handler.
struct TScaleDragState {
  /// A drag with the left button is under way.
  bool Dragging = false;
  /// Pointer position where the drag started (control pixels).
  int StartX = 0;
  /// Pointer position where the drag started (control pixels).
  int StartY = 0;
  /// Range ends when the drag started; every move is applied to these.
  double StartLow = 0;
  /// Range ends when the drag started; every move is applied to these.
  double StartHigh = 0;
};

class TScale : public TCustomControl {
 public:
  /// Creates a 400 x 400 scale with the default settings and painting suspended
  /// until its window is created.
  explicit TScale(TComponent* AOwner);
  /// Destroys the scale; a borrowed host canvas is not touched.
  ~TScale() override;
  /// The class name, as stored with the settings.
  std::string ClassName() const override { return "TScale"; }

  /// Copies every setting of another TScale (not its font, OnZoomPan,
  /// MouseAction, host canvas, mouse state or loading state) and repaints.
  void Assign(const TPersistent& Source) override;
  /// Copies into another TScale through its Assign; other targets as the base class does.
  void AssignTo(TPersistent& Dest) const override;
  /// Ends loading: recomputes the value-to-pixel map from the stored values and repaints.
  void Loaded() override;
  /// Moves and resizes the control, then recomputes the value-to-pixel map and repaints.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // --- Published properties -----------------------------------------------------
  // Each setter stores the (checked) value and repaints the scale. The range
  // ends are world values; Logarithmic needs both ends above zero (the scale
  // then draws an error text in place of its ticks).
  /// The unit caption, placed at (CaptionPosX, CaptionPosY) from CaptionAnchor.
  ///@{
  const std::string& Caption() const { return FLook.Caption; }
  void SetCaption(const std::string& Value);
  ///@}
  /// Offset of the caption in pixels from its anchor corner (horizontal, vertical).
  ///@{
  int CaptionPosX() const { return FLook.CaptionPosX; }
  void SetCaptionPosX(int Value);
  int CaptionPosY() const { return FLook.CaptionPosY; }
  void SetCaptionPosY(int Value);
  ///@}
  /// How the caption text is aligned on its position.
  ///@{
  TAlignment CaptionAlignment() const { return FLook.CaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  ///@}
  /// The corner of the control the caption position is measured from.
  ///@{
  TScaleUnitAnchor CaptionAnchor() const { return FLook.CaptionAnchor; }
  void SetCaptionAnchor(TScaleUnitAnchor Value);
  ///@}
  /// Colour of the background (unless Transparent).
  ///@{
  TColor ColorBackGnd() const { return FLook.Box.ColorBackGnd; }
  void SetColorBackGnd(TColor Value);
  ///@}
  /// Colour of the ticks, the base line and the labels.
  ///@{
  TColor ColorScale() const { return FLook.ColorScale; }
  void SetColorScale(TColor Value);
  ///@}
  /// The frame colours: csSystem takes the system's button shadow and highlight,
  /// the others grey and white (see FrameShadowColor, FrameHighlightColor).
  ///@{
  TColorScheme ColorScheme() const { return FLook.Box.ColorScheme; }
  void SetColorScheme(TColorScheme Value);
  ///@}
  /// How date/time labels are formatted (LabelType ftDateTime).
  ///@{
  TDTLabel& DateFormat() { return FDateFormat; }
  const TDTLabel& DateFormat() const { return FDateFormat; }
  void SetDateFormat(const TDTLabel& Value);  ///< copies the settings, keeps the own OnChange
  ///@}
  /// Decimal places of numeric labels; negative values choose the places from the
  /// tick distance.
  ///@{
  int DecPlaces() const { return FLook.DecPlaces; }
  void SetDecPlaces(int Value);  ///< clamped to -3..12
  ///@}
  /// The frame drawn around the control.
  ///@{
  TFrameStyle FrameStyle() const { return FLook.Box.FrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  ///@}
  /// What the labels show: nothing, numbers, times, dates or user texts.
  ///@{
  TFigType LabelType() const { return FLook.LabelType; }
  void SetLabelType(TFigType Value);
  ///@}
  /// A logarithmic value-to-pixel map. After loading, switching it on is ignored
  /// unless both range ends are above zero and the labels are not dates or times.
  ///@{
  bool Logarithmic() const { return FLook.Logarithmic; }
  void SetLogarithmic(bool Value);
  ///@}
  /// Pixels between the control's edges and the scale's ends; negative values
  /// become 0.
  ///@{
  int MarginTop() const { return FLook.Box.MarginTop; }
  void SetMarginTop(int Value);  // negative values become 0
  int MarginBottom() const { return FLook.Box.MarginBottom; }
  void SetMarginBottom(int Value);
  int MarginLeft() const { return FLook.Box.MarginLeft; }
  void SetMarginLeft(int Value);
  int MarginRight() const { return FLook.Box.MarginRight; }
  void SetMarginRight(int Value);
  ///@}
  /// The fewest labelled ticks the tick walk aims for (0: no lower bound).
  ///@{
  int MinTicks() const { return FLook.MinTicks; }
  void SetMinTicks(int Value);  ///< 0, or clamped to 2..10
  ///@}
  /// What dragging the stand-alone scale does: maPan moves the range, maZoom
  /// stretches it; a double click switches between the two.
  ///@{
  TMouseActMode MouseAction() const { return FMouseAction; }
  void SetMouseAction(TMouseActMode Value) { FMouseAction = Value; }
  ///@}
  /// Number of ticks of the last paint.
  int NumTicks() const { return static_cast<int>(FTickPositions.size()); }
  /// The world values at the scale's two ends.
  /// Non-finite values are ignored; an end set equal to the other is moved
  /// away from it, so that the range never collapses.
  ///@{
  double RangeLow() const { return FLook.RangeLow; }
  void SetRangeLow(double Value);  // non-finite values are ignored
  double RangeHigh() const { return FLook.RangeHigh; }
  void SetRangeHigh(double Value);
  ///@}
  /// Draws short unlabelled ticks between the labelled ones.
  ///@{
  bool ShortTicks() const { return FLook.ShortTicks; }
  void SetShortTicks(bool Value);
  ///@}
  /// Draws the base line along the scale.
  ///@{
  bool ShowBaseLine() const { return FLook.Box.ShowBaseLine; }
  void SetShowBaseLine(bool Value);
  ///@}
  /// A unit text placed among the tick labels.
  ///@{
  const std::string& ScaleInscript() const { return FLook.ScaleInscript; }
  void SetScaleInscript(const std::string& Value);
  ///@}
  /// Orientation and label side: x at the bottom / top, y at the left / right.
  ///@{
  TScaleType ScaleType() const { return FLook.ScaleType; }
  void SetScaleType(TScaleType Value);
  ///@}
  /// Leaves the background unpainted, so that what lies behind the scale shows.
  ///@{
  bool Transparent() const { return FLook.Box.Transparent; }
  void SetTransparent(bool Value);
  ///@}
  /// Off by default: the exact raster. When on, lines and texts are drawn
  /// smooth at every device ratio and in every picture.
  ///@{
  bool Antialiased() const { return DrawMode().Antialiased; }
  void SetAntialiased(bool Value) { SetDrawAntialiased(Value); }
  ///@}
  /// Tick label texts given by the user (LabelType ftUserText).
  ///@{
  const std::string& UserTickText() const { return FLook.UserTickText; }
  void SetUserTickText(const std::string& Value);
  ///@}

  // Events: after each tick, before each label text (may change it), around
  // each paint, and after the range changed by a mouse action.
  /// After each tick is drawn.
  TScaleTickDrawnEvent OnScaleTickDrawn;
  /// Before each label is drawn; the handler may change the text.
  TBeforeTickLabelEvent OnBeforeTickLabel;
  /// Before each paint of the scale.
  TScaleRenderedEvent OnBeforeScaleRendered;
  /// After each paint of the scale.
  TScaleRenderedEvent OnAfterScaleRendered;
  /// After a mouse drag changed the range.
  TZoomPanEvent OnZoomPan;

  // --- Operations used by the chart and the mouse handling ------------------------
  /// Every setting the paint reads, as one value (the date format and the font
  /// are the scale's own objects beside it).
  const TScaleLook& Look() const { return FLook; }
  /// Takes a whole look with the rules of the single setters, as if they were
  /// called in the chart's copying order (scale type, margins, range ends,
  /// decimal places, Logarithmic, LabelType, minimum ticks): DecPlaces,
  /// MinTicks and the margins are clamped, equal range ends are moved apart, Logarithmic
  /// switched on after loading is checked against the new range and the
  /// previous label type, ftDateTime makes the scale linear and ftTime gives
  /// 4 decimal places. Then recomputes the map and repaints.
  void SetLook(const TScaleLook& Value);
  /// The defaults of every published setting (but ScaleInscript) and of the
  /// internal state; ends with UpdateScaleFactors.
  void SetDefaults();
  /// While set the scale does not paint (ForcePaint still does). Set from
  /// construction until the window is created; the chart keeps its scales suspended.
  ///@{
  bool PaintSuspended() const { return FPaintSuspended; }
  void SetPaintSuspended(bool Value);  ///< clearing it repaints
  ///@}
  /// Paints now even while painting is suspended (then suspends it again).
  void ForcePaint();
  /// Lends a canvas (nullptr: paint on the own window) and the shift applied
  /// across the scale when painting on it.
  ///@{
  void SetHostCanvas(TCanvas* Canvas, int OffsetX, int OffsetY);
  /// The lent canvas (nullptr: the scale paints on its own window).
  TCanvas* HostCanvas() const { return FHostCanvas; }
  ///@}
  /// The shift applied when painting on the host canvas.
  ///@{
  int HostOffsetX() const { return FHostOffsetX; }
  int HostOffsetY() const { return FHostOffsetY; }
  ///@}
  /// Marks the scale as part of a chart: it then paints at once on every change,
  /// like an opaque scale, instead of asking its parent to repaint.
  ///@{
  bool Embedded() const { return FEmbedded; }
  void SetEmbedded(bool Value);
  ///@}
  /// Both ends at once; equal ends become Low and Low + 1.
  void SetRange(double Low, double High);

  // --- Tick placement -----------------------------------------------------------------
  /// Recomputes the value-to-pixel map (pixel = value * ScaleFactor +
  /// ScaleOffset, of the logarithm on a logarithmic scale) from the size,
  /// margins and range.
  void UpdateScaleFactors();
  /// The value-to-pixel map of UpdateScaleFactors: pixel = value * ScaleFactor + ScaleOffset.
  ///@{
  double ScaleFactor() const { return FScaleFactor; }
  double ScaleOffset() const { return FScaleOffset; }
  ///@}
  /// The pixel of world value V along the scale (clamped, never undefined).
  int ValueToPixel(double V) const;
  /// Entry Index (1-based) of the last paint's tick list; 0 outside 1..NumTicks.
  Extended GetTickPos(int Index) const;
  /// The tick values of the last paint, in drawing order.
  const std::vector<double>& TickPositions() const { return FTickPositions; }

  /// Frame colours: the outline (black, changed only by Assign) and the
  /// shadow and highlight that ColorScheme sets.
  ///@{
  TColor FrameColor() const { return FLook.Box.FrameColor; }
  TColor FrameShadowColor() const { return FLook.Box.FrameShadowColor; }
  TColor FrameHighlightColor() const { return FLook.Box.FrameHighlightColor; }
  ///@}

  /// Draw ticks, labels and caption with the base line at BaseY / BaseX (the
  /// base line itself is drawn by Paint).
  ///@{
  void DrawHorizontalScale(TCanvas& Canvas, int BaseY);
  void DrawVerticalScale(TCanvas& Canvas, int BaseX);
  ///@}

  /// The scale's drag bookkeeping, as the drag handler sees it.
  TScaleDragState& DragState() { return FDrag; }

  /// Switches MouseAction between maPan and maZoom, then OnDblClick.
  void DblClick() override;
  /// OnMouseMove, then the drag: while the left button is held inside the
  /// scale's area (between the margins along the axis) the first move takes
  /// the start state and later ones apply ScaleDragRange with this scale's
  /// MouseAction, set the range and raise OnZoomPan.
  void MouseMove(TShiftState Shift, int X, int Y) override;
  /// A release ends the drag, then OnMouseUp.
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  /// Creates the window and lifts the paint suspension of construction.
  void CreateWnd() override;
  /// Paints frame, background, base line, ticks, labels and caption on the own
  /// window or the host canvas.
  void Paint() override;

 private:
  void RequestRepaint();
  void PaintOn(TCanvas& Target, int OffsetX, int OffsetY);
  TScaleDrawing Drawing() const;
  void DrawScale(TCanvas& Canvas, int Base);
  void DrawTicksAndCaption(TCanvas& Canvas, int Base);
  void HookDateFormat();
  void DragMove(TShiftState Shift, int X, int Y);

  TScaleLook FLook;
  TDTLabel FDateFormat;
  TMouseActMode FMouseAction = maNone;

  double FScaleFactor = 0;
  double FScaleOffset = 0;
  std::vector<double> FTickPositions;
  bool FPaintSuspended = true;
  bool FEmbedded = false;
  bool FNotYetLoaded = true;
  bool FInPaint = false;
  TCanvas* FHostCanvas = nullptr;
  int FHostOffsetX = 0;
  int FHostOffsetY = 0;
  TScaleDragState FDrag;
  std::shared_ptr<TTickLabelCache> FLabelCache;  ///< made at the first paint
};

}  // namespace zkw
