/// @class zkw::TCustomVexa chart/vexa.h "chart/vexa.h"
/// The chart component. TCustomVexa holds all state and behaviour: the item
/// stores and their sharing group, the 16 layers with their range objects,
/// transforms and scale controls, the drawing attributes that commands
/// capture, the published settings and the events. TVexa publishes them.
///
/// Call order: construct with an owner (painting is suppressed), optionally
/// apply stored values while the component is marked as loading and then call
/// Loaded, create the window (CreateWnd clears the suppression), then issue
/// drawing commands and call Redraw. Drawing commands never draw.
///
/// Copies: Assign copies the source's settings, layers and items, but the copy
/// stands outside the source's sharing group. It gets a private copy of the
/// items the source shows and has neither a data source nor users; nothing
/// is registered with the source's group, so destroying either chart never
/// affects the other. UseDataOf may then join a group explicitly. Assign is all
/// or nothing: a source whose ranges the copy could not use (a logarithmic
/// axis below zero) raises the chart error and leaves the target untouched,
/// and no owned object of the copy ever reports to the source.
///
/// Painting: Paint, DrawPlotBackground, RenderDataToBitmap, RenderData and
/// the drawing step of Redraw are the hooks of the paint pipeline. Each builds
/// the paint-settings value (PaintSettings) and runs the pipeline of
/// chart/render.h on it through the chart's paint host (chart/vexa_paint.cpp);
/// the pipeline calls the hooks back, so a descendant's override takes part.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/ZKW_zkwbase.h"
#include "chart/chart_item.h"
#include "chart/data_sharing.h"
#include "chart/item_store.h"
#include "chart/layers.h"
#include "chart/mouse_actions.h"
#include "chart/nearest_index.h"
#include "chart/chart_settings.h"
#include "chart/paint_host.h"
#include "chart/paint_settings.h"
#include "chart/scale_props.h"
#include "chart/vexa_events.h"
#include "platform/controls.h"
#include "platform/graphics.h"
#include "scale/ZKW_Scale.h"

namespace zkw {

class TCustomVexa;
struct TKeptDataImage;

/// The most points the mouse trace keeps.
constexpr int MouseTraceCapacity = 5000;


class TCustomVexa : public TCustomControl {
 public:
  /// Creates the chart with its defaults, 16 layers and their scale controls;
  /// painting is suppressed until the window is created (see the call order
  /// in the class description).
  explicit TCustomVexa(TComponent* AOwner);
  ~TCustomVexa() override;
  /// The class name, as stored with the settings.
  std::string ClassName() const override { return "TCustomVexa"; }

  // ---- copying and lifecycle ----
  /// Copies another chart's settings, layers and items (see Copies in the
  /// class description); any other source as the base class does.
  void Assign(const TPersistent& Source) override;
  /// Copies into another chart through its Assign; other targets as the base class does.
  void AssignTo(TPersistent& Dest) const override;
  /// Ends loading: copies the stored range objects into the scale controls,
  /// computes the layer transforms and repaints.
  void Loaded() override;
  /// Moves and resizes the chart; the size is raised to leave room for a plot
  /// inside the margins. Keeps an isometric chart isometric.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  /// Sets or clears the paint suppression; clearing it repaints.
  ///@{
  virtual void SetPaintLock(bool Value);
  bool PaintLocked() const { return FPaintLocked; }
  ///@}

  // ---- item store and drawing commands (drawing_commands.cpp) ----
  /// A mark of symbol MarkType at the world point (X, Y).
  void AddMark(double X, double Y, std::uint8_t MarkType);
  /// As AddMark; in annotation mode the integers are pixels of the plot area.
  void AddMarkInt(int X, int Y, std::uint8_t MarkType);
  /// A line from (X1, Y1) to (X2, Y2).
  void AddLine(double X1, double Y1, double X2, double Y2);
  /// Moves the pen to (X, Y) / draws a line from the pen to (X, Y).
  ///@{
  void AddMoveTo(double X, double Y);
  void AddDrawTo(double X, double Y);
  ///@}
  /// Moves / draws by (DX, DY) pixels from the pen position.
  ///@{
  void AddMoveRel(double DX, double DY);
  void AddDrawRel(double DX, double DY);
  ///@}
  /// A rectangle with corners (X1, Y1), (X2, Y2), filled with FillColor unless Transparent.
  void AddRect(double X1, double Y1, double X2, double Y2, bool Transparent = false);
  /// A rectangle in FillColor with a three-dimensional frame in Color2, Color3.
  void AddRect3D(double X1, double Y1, double X2, double Y2, TFrameStyle FrameStyle, TColor Color2,
                 TColor Color3);
  /// The front of a box in FillColor outlined in DataColor, with a depth of
  /// Depth pixels at Angle degrees.
  void AddBar3D(double X1, double Y1, double X2, double Y2, int Angle, int Depth);
  /// Text at (X, Y) in DataColor with font size FontSize (points), aligned by
  /// TextAlignment, on a FillColor background when TextBkStyle is tbSolid.
  /// Texts of up to 17 characters are kept in the item; longer ones take an
  /// entry of the store's long-text table (EZKWVexaError when all 50 are used).
  void AddText(double X, double Y, const std::string& Text, int FontSize);
  /// As AddText, moved by (DX, DY) pixels from the world point.
  void AddTextOffs(double X, double Y, double DX, double DY, const std::string& Text, int FontSize);
  /// An ellipse centred on (X, Y) with radii RX, RY in world units.
  void AddEllipse(double X, double Y, double RX, double RY, bool Transparent = false);
  /// A line from (X1, Y1) to (X2, Y2) with a head of HeadSize pixels at the
  /// end (AddArrow2: at both ends); open heads are two strokes, else filled
  /// in FillColor. HeadSize below 1 draws no head.
  ///@{
  void AddArrow(double X1, double Y1, double X2, double Y2, int HeadSize, bool OpenHeads = false);
  void AddArrow2(double X1, double Y1, double X2, double Y2, int HeadSize, bool OpenHeads = false);
  ///@}
  /// A rectangle centred on (X, Y), HalfWidth and HalfHeight pixels to each side.
  void AddBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent = false);
  /// A mark with an error bar from Value - |ErrLow| to Value + |ErrHigh|,
  /// vertical (along y) or horizontal (along x).
  void AddErrorBar(double X, double Y, double ErrLow, double ErrHigh, std::uint8_t MarkType, bool Horizontal);
  /// A line from (X1, Y1) to (X2, Y2), both ends moved by (DX, DY) pixels.
  void AddLineOffs(double X1, double Y1, double X2, double Y2, int DX, int DY);
  /// An arc of the ellipse centred on (X, Y) with radii RX, RY, counter-
  /// clockwise from StartAngle to EndAngle (radians, within +-21.47).
  void AddArc(double X, double Y, double RX, double RY, double StartAngle, double EndAngle);
  /// A line from the world point (X, Y) to the point (DX, DY) pixels away.
  void AddLineRel(double X, double Y, double DX, double DY);
  /// Lines over the full height at x = X / full width at y = Y.
  ///@{
  void AddVLine(double X);
  void AddHLine(double Y);
  ///@}
  /// A cross centred on (X, Y), HalfWidth wide and HalfHeight high to each side (world units).
  void AddCross(double X, double Y, double HalfWidth, double HalfHeight);

  // Bulk data: the same items as the one-at-a-time commands, appended with one
  // growth of the store and one SyncShares at the end. The two spans pair
  // element by element; spans of different lengths raise EZKWVexaError and
  // append nothing. Empty spans append nothing.
  /// At most this many points per bulk call (AddMarks, AddPolyline).
  static constexpr int MaxBulkItems = 0x7FFFFFFF;
  /// One mark of symbol MarkType per point (as AddMark for each point), with
  /// one growth of the store and one SyncShares; spans of different lengths
  /// raise EZKWVexaError and append nothing.
  void AddMarks(std::span<const double> Xs, std::span<const double> Ys, std::uint8_t MarkType);
  /// A line through the points: AddMoveTo for the first, AddDrawTo for the
  /// rest, appended as AddMarks does.
  void AddPolyline(std::span<const double> Xs, std::span<const double> Ys);

  // ---- pictures out (render_export.cpp) ----
  /// The chart as a paint shows it, at the control's size, as a picture file;
  /// SaveImage picks the format by the extension (.png, .jpg/.jpeg, .bmp,
  /// .pdf, .svg; any other raises EInvalidGraphic). Scale draws a PNG, JPEG
  /// or BMP at that many pixels per chart pixel (3: a 300-dpi figure of a
  /// 100-dpi chart); Scale 1 is the exact raster. SavePdf writes a vector page
  /// of the chart's size at Dpi (inches = pixels / Dpi) with texts as text,
  /// SaveRasterPdf that page holding the exact pixels, SaveSvg a vector
  /// drawing. Failures raise Exception (a file that cannot be written; nothing
  /// is left half-written), EInvalidGraphic (a scale not finite or not above
  /// 0) or EZKWVexaError (a logarithmic axis below zero). Printing: PrintChart
  /// in chart/vexa_export.h.
  ///@{
  void SavePng(const std::string& FileName, double Scale = 1);
  void SaveJpeg(const std::string& FileName, int Quality = -1);
  void SaveBmp(const std::string& FileName);
  void SaveImage(const std::string& FileName, double Scale = 1);
  void SavePdf(const std::string& FileName, int Dpi = 96);
  void SaveRasterPdf(const std::string& FileName, int Dpi = 96);
  void SaveSvg(const std::string& FileName);
  ///@}

  /// Empties the data store (annotations and long texts stay).
  void ClearItems();
  /// Removes the data item with the highest index.
  void RemoveLastItem();
  /// A copy of data item Index (0..ItemCount()-1). Any other index raises
  /// EZKWVexaError naming the index and the count (FindNearestItem's -1 for
  /// "nothing found" included).
  TvxChartItem GetItem(int Index) const;
  /// The number of items in the data store.
  int ItemCount() const { return FShare.Store().Count(); }
  /// The slots the data store holds before it grows by AllocSize.
  int ItemCapacity() const { return FShare.Store().Capacity(); }
  /// The number of data items of kind Kind.
  int KindCount(int Kind) const { return FShare.Store().KindCount(Kind); }
  /// The data store (shared with the charts of the sharing group).
  const TvxItemStore& DataStore() const { return FShare.Store(); }
  /// Shared ownership of the data store, for work that must keep it alive
  /// while host handlers run (they may share or unshare the chart's data).
  std::shared_ptr<const TvxItemStore> DataStoreHandle() const { return FShare.StoreHandle(); }
  /// The annotation store (the chart's own, never shared).
  const TvxItemStore& AnnotationStore() const { return FAnnotations; }
  /// The long-text tables of the data and annotation stores.
  ///@{
  const TLongTextArray& DataTexts() const { return FShare.Store().Texts(); }
  const TLongTextArray& AnnotationTexts() const { return FAnnotations.Texts(); }
  ///@}
  /// Brings the display up to date with the store and notifies the group.
  void Redraw();
  /// Hands the data store to every member of the sharing group.
  void SyncShares() { FShare.SyncShares(); }

  /// New items go to the annotation store while this is on.
  ///@{
  bool AnnotationMode() const { return FConduct.AnnotationMode; }
  void SetAnnotationMode(bool Value) { FConduct.AnnotationMode = Value; }
  ///@}
  /// Layer of new items, of mouse positions and of the nearest-item search (clamped into 1..16).
  ///@{
  int CurrentLayer() const { return FPlot.CurrentLayer; }
  void SetCurrentLayer(int Layer) { FPlot.CurrentLayer = ClampLayer(Layer); }
  ///@}
  /// Hidden layers are not drawn and can be left out of the search.
  ///@{
  bool LayerVisible(int Layer) const { return FPlot.LayerVisible[static_cast<std::size_t>(ClampLayer(Layer) - 1)]; }
  void SetLayerVisible(int Layer, bool Value);
  ///@}
  /// Limits for panning; all four 0 means none.
  ///@{
  const TPanLimits& PanLimits() const { return FPanLimits; }
  void SetPanLimits(Extended XLow, Extended YLow, Extended XHigh, Extended YHigh);
  ///@}
  /// Drawing of items of class Class (0..255) of the data (annotation) store.
  bool ClassVisible(std::uint8_t Class, bool Annotation = false) const {
    return (Annotation ? FPlot.AnnotationClassVisible : FPlot.DataClassVisible)[Class];
  }

  // ---- sharing ----
  /// The chart whose data store this one shows (nullptr: its own).
  TCustomVexa* UseDataOf() const;
  /// Shows a message and changes nothing when the request is refused.
  void SetUseDataOf(TCustomVexa* Value);
  /// The chart's membership in its sharing group.
  const TvxDataShare& Share() const { return FShare; }

  // ---- layers and transforms (vexa_layers.cpp) ----
  /// Converts between world coordinates of layer Layer and control pixels.
  ///@{
  void WorldToPixel(int Layer, double X, double Y, int& PX, int& PY) const;
  void PixelToWorld(int Layer, int PX, int PY, double& X, double& Y) const;
  ///@}
  /// The transform of a layer (clamped into 1..16), for loops over many points.
  TLayerTransform LayerTransform(int Layer) const;
  /// Scale factors and offsets of a layer's transform (clamped into 1..16).
  TLayerFactors LayerFactors(int Layer) const { return FFactors[static_cast<std::size_t>(ClampLayer(Layer) - 1)]; }
  /// Recomputes every layer's transform from the geometry and the range objects
  /// (not while loading); raises EZKWVexaError for a logarithmic axis with a range
  /// not above zero.
  virtual void ComputeFactors();
  /// Sets the ranges of one layer alone (its scale controls and transform
  /// follow); How.ApplyPanLimits keeps a panned axis inside the pan limits,
  /// and How.PushHistory records a change in the range history.
  void SetLayerRange(int Layer, TRangeEnds X, TRangeEnds Y, TRangeChange How = {});
  /// As SetLayerRange, then carries the change to the layers joined to this one
  /// (TJointLayers). An axis that another layer controls keeps its range.
  void SetRange(int Layer, TRangeEnds X, TRangeEnds Y, TRangeChange How = {});
  /// The same two with the ends and switches spelled out one by one.
  ///@{
  void SetLayerRange(int Layer, bool PushHistory, bool ApplyPanLimits, Extended XLow, Extended YLow,
                     Extended XHigh, Extended YHigh) {
    SetLayerRange(Layer, {XLow, XHigh}, {YLow, YHigh}, {PushHistory, ApplyPanLimits});
  }
  void SetRange(int Layer, bool PushHistory, bool ApplyPanLimits, Extended XLow, Extended YLow, Extended XHigh,
                Extended YHigh) {
    SetRange(Layer, {XLow, XHigh}, {YLow, YHigh}, {PushHistory, ApplyPanLimits});
  }
  ///@}
  /// Records the ranges of all layers in the range history (not while loading).
  void PushRangeHistory();
  /// Empties the range history and records the present ranges as its first entry.
  void ResetRangeHistory();
  /// The range history (see RangeHistoryBack, SetRangeHistory).
  const TRangeHistory& RangeHistory() const { return FHistory; }
  /// Undo for range changes through the range history (the ring of 16
  /// entries PushRangeHistory writes). When the layers have moved since the
  /// latest entry, returns to that entry; otherwise goes back to the latest
  /// earlier entry with other ranges and forgets the entries after it, so
  /// that the next record continues from there. Applies the ranges to all 16
  /// layers (as recorded, without pan limits) without recording a new entry
  /// and raises no event. Returns false, changing nothing, when there is no
  /// such entry (at most 15 steps back from a full ring).
  bool RangeHistoryBack();
  /// The range objects of a layer; outside 1..16 those of layer 1.
  ///@{
  TScalePropsHoriz& ScalePropsX(int Layer);
  TScalePropsVert& ScalePropsY(int Layer);
  const TScalePropsHoriz& ScalePropsX(int Layer) const;
  const TScalePropsVert& ScalePropsY(int Layer) const;
  ///@}
  /// The internal scale controls of a layer (clamped into 1..16).
  ///@{
  TScale& ScaleControlX(int Layer);
  TScale& ScaleControlY(int Layer);
  ///@}
  /// The control's size, margins and shadow: where the plot area lies.
  TPlotGeometry Geometry() const;
  /// Applies the range objects again: copies all 32 into their scale controls
  /// and sets every layer's own range (carrying it to joined layers).
  void ApplyAllScaleProps();
  /// Copies one range object into its scale control (placement and settings).
  void CopyScalePropsToControl(const TScaleProps& Props, TScale& Control) const;
  /// CopyScalePropsToControl for all 32 range objects, without setting ranges.
  void CopyAllScalePropsToControls();
  /// Pixel aspect of the display (relative width and height of a pixel).
  ///@{
  int PixelAspectX() const { return FPixelAspectX; }
  int PixelAspectY() const { return FPixelAspectY; }
  ///@}

  // ---- nearest-item search ----
  /// The data item nearest to the world point (X, Y) of the current layer, in
  /// pixels; Distance is set to that distance. KindFilter: 0 none, 10 every kind,
  /// 11 every kind but ckMoveTo, else that kind; ClassFilter: 255 every class,
  /// else that class. Among equally near items the lowest index wins; -1 when no
  /// item qualifies.
  int FindNearestItem(std::uint8_t KindFilter, std::uint8_t ClassFilter, double X, double Y,
                      double& Distance) const;
  /// As FindNearestItem; with VisibleLayersOnly, items of hidden layers do not qualify.
  int FindNearestItemEx(std::uint8_t KindFilter, std::uint8_t ClassFilter, double X, double Y,
                        bool VisibleLayersOnly, double& Distance) const;

  // ---- properties ----
  /// How many item slots the data store grows by at a time (1..1000000; other
  /// values are ignored).
  ///@{
  int AllocSize() const { return FConduct.AllocSize; }
  void SetAllocSize(int Value);
  ///@}
  /// Setters repaint at once while this is on; off, changes show at the next Redraw
  /// or paint.
  ///@{
  bool AutoRedraw() const { return FConduct.AutoRedraw; }
  void SetAutoRedraw(bool Value) { FConduct.AutoRedraw = Value; }
  ///@}
  /// Skips a mark when one of the same symbol was already drawn within
  /// MinDupMarkDist pixels (clamped into 1..3), which keeps dense data fast to draw.
  ///@{
  bool AvoidDuplicateMarks() const { return FPlot.AvoidDuplicateMarks; }
  void SetAvoidDuplicateMarks(bool Value);
  int MinDupMarkDist() const { return FPlot.MinDupMarkDist; }
  void SetMinDupMarkDist(int Value);
  ///@}
  /// The distances in pixels between the control's edges and the plot area; the
  /// scales and the caption live in them. Changing one keeps an isometric chart
  /// isometric.
  ///@{
  int MarginLeft() const { return FFrame.MarginLeft; }
  void SetMarginLeft(int Value);
  int MarginRight() const { return FFrame.MarginRight; }
  void SetMarginRight(int Value);
  int MarginTop() const { return FFrame.MarginTop; }
  void SetMarginTop(int Value);
  int MarginBottom() const { return FFrame.MarginBottom; }
  void SetMarginBottom(int Value);
  ///@}
  /// Other names of MarginLeft, MarginRight, MarginTop, MarginBottom.
  ///@{
  int LRim() const { return MarginLeft(); }
  void SetLRim(int Value) { SetMarginLeft(Value); }
  int RRim() const { return MarginRight(); }
  void SetRRim(int Value) { SetMarginRight(Value); }
  int TRim() const { return MarginTop(); }
  void SetTRim(int Value) { SetMarginTop(Value); }
  int BRim() const { return MarginBottom(); }
  void SetBRim(int Value) { SetMarginBottom(Value); }
  ///@}
  /// Width in pixels of the shadow along the right and bottom edges (0..32; 0 none).
  ///@{
  int ShadowWidth() const { return FFrame.ShadowWidth; }
  void SetShadowWidth(int Value);
  ///@}
  /// How the shadow is drawn: ssFlying in ShadowColor only, otherwise with a
  /// black outline.
  ///@{
  TShadowStyle ShadowStyle() const { return FFrame.ShadowStyle; }
  void SetShadowStyle(TShadowStyle Value);
  ///@}
  /// The shadow's colour.
  ///@{
  TColor ShadowColor() const { return FFrame.ShadowColor; }
  void SetShadowColor(TColor Value);
  ///@}
  /// The colour of the two corners the shadow leaves free.
  ///@{
  TColor ShadowBakColor() const { return FFrame.ShadowBakColor; }
  void SetShadowBakColor(TColor Value);
  ///@}
  /// The picture behind the plot; setting copies the values into the chart's own
  /// object, which keeps repainting the chart on changes.
  ///@{
  TBakGndImg& BackGroundImg() { return *FBackGroundImg; }
  const TBakGndImg& BackGroundImg() const { return *FBackGroundImg; }
  void SetBackGroundImg(const TBakGndImg& Value);
  ///@}
  /// The class the drawing commands give new items; 255 is ignored (the
  /// nearest-item search reads it as any class).
  ///@{
  std::uint8_t ClassDefault() const { return FConduct.ClassDefault; }
  void SetClassDefault(std::uint8_t Value);
  ///@}
  /// Which grid the plot area shows (gsNone: none).
  ///@{
  GridStyleType GridStyle() const { return FPlot.GridStyle; }
  void SetGridStyle(GridStyleType Value);
  ///@}
  /// Grid distance along x / y in world units; 0 puts the grid lines at the
  /// scale's ticks. On a logarithmic axis -1 draws a line per decade, -2 at 1, 2
  /// and 5 of each decade, -3 at every mantissa. Values below -3 are ignored.
  ///@{
  double GridDx() const { return FPlot.GridDx; }
  void SetGridDx(double Value);
  double GridDy() const { return FPlot.GridDy; }
  void SetGridDy(double Value);
  ///@}
  /// The colour of the grid.
  ///@{
  TColor GridColor() const { return FPlot.GridColor; }
  void SetGridColor(TColor Value);
  ///@}
  /// Keeps one world unit equally long along both axes: switching it on adjusts
  /// the y ranges to the plot's shape and records the ranges.
  ///@{
  bool Isometric() const { return FConduct.Isometric; }
  void SetIsometric(bool Value);
  ///@}
  /// The pen and text colour the drawing commands capture.
  ///@{
  TColor DataColor() const { return FConduct.DataColor; }
  void SetDataColor(TColor Value) { FConduct.DataColor = Value; }
  ///@}
  /// The pen style the drawing commands capture.
  ///@{
  TPenStyle PenStyle() const { return FConduct.PenStyle; }
  void SetPenStyle(TPenStyle Value) { FConduct.PenStyle = Value; }
  ///@}
  /// The pen width a paint starts with, also captured by the drawing commands.
  ///@{
  std::uint8_t LineWidth() const { return FPlot.LineWidth; }
  void SetLineWidth(std::uint8_t Value) { FPlot.LineWidth = Value; }
  ///@}
  /// The fill colour the drawing commands capture (also the text background).
  ///@{
  TColor FillColor() const { return FConduct.FillColor; }
  void SetFillColor(TColor Value) { FConduct.FillColor = Value; }
  ///@}
  /// Another name of FillColor.
  ///@{
  TColor TextBkColor() const { return FillColor(); }
  void SetTextBkColor(TColor Value) { SetFillColor(Value); }
  ///@}
  /// The colour of the frame around the plot area.
  ///@{
  TColor ChartFrameColor() const { return FPlot.ChartFrameColor; }
  void SetChartFrameColor(TColor Value);
  ///@}
  /// The background colour of the plot area.
  ///@{
  TColor ChartColor() const { return FPlot.ChartColor; }
  void SetChartColor(TColor Value);
  ///@}
  /// The background colour of the area around the plot.
  ///@{
  TColor WindColor() const { return FFrame.WindColor; }
  void SetWindColor(TColor Value);
  ///@}
  /// Which layers follow the ranges of which others (see SetRange); setting
  /// copies the values into the chart's own object.
  ///@{
  TJointLayers& JointLayers() { return *FJointLayers; }
  const TJointLayers& JointLayers() const { return *FJointLayers; }
  void SetJointLayers(const TJointLayers& Value);
  ///@}
  /// The chart's caption, drawn in the area around the plot.
  ///@{
  const std::string& Caption() const { return FFrame.Caption; }
  void SetCaption(const std::string& Value);
  ///@}
  /// The caption's offset in pixels from its anchor point.
  ///@{
  int CaptionPosX() const { return FFrame.CaptionPosX; }
  void SetCaptionPosX(int Value);
  int CaptionPosY() const { return FFrame.CaptionPosY; }
  void SetCaptionPosY(int Value);
  ///@}
  /// How the caption is aligned on its position.
  ///@{
  TAlignment CaptionAlignment() const { return FFrame.CaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  ///@}
  /// The point the caption position is measured from: the control's or the
  /// plot's edges.
  ///@{
  TCaptionAnchorHoriz CaptionAnchorHoriz() const { return FFrame.CaptionAnchorHoriz; }
  void SetCaptionAnchorHoriz(TCaptionAnchorHoriz Value);
  TCaptionAnchorVert CaptionAnchorVert() const { return FFrame.CaptionAnchorVert; }
  void SetCaptionAnchorVert(TCaptionAnchorVert Value);
  ///@}
  /// The share (in percent, 5..100) of the space between the margins a caption may
  /// take; a longer one is shortened and ends with "...". 0 never shortens.
  ///@{
  int CaptionTrim() const { return FFrame.CaptionTrim; }
  void SetCaptionTrim(int Value);
  ///@}
  /// The colour of the mouse trace's segments.
  ///@{
  TColor MouseTraceColor() const { return FConduct.MouseTraceColor; }
  void SetMouseTraceColor(TColor Value) { FConduct.MouseTraceColor = Value; }
  ///@}
  /// Draws the mouse trace by inverting the pixels, so that drawing it again
  /// erases it.
  ///@{
  bool MouseTraceInvert() const { return FConduct.MouseTraceInvert; }
  void SetMouseTraceInvert(bool Value) { FConduct.MouseTraceInvert = Value; }
  ///@}
  /// Crosshairs 1..4 (clamped).
  ///@{
  TCrossHair& CrossHair(int Index) { return *FCrossHairs[static_cast<std::size_t>(ClampIndex(Index, CrossHairCount) - 1)]; }
  const TCrossHair& CrossHair(int Index) const { return *FCrossHairs[static_cast<std::size_t>(ClampIndex(Index, CrossHairCount) - 1)]; }
  void SetCrossHair(int Index, const TCrossHair& Value);
  ///@}
  /// The four crosshairs by name (see CrossHair, SetCrossHair).
  ///@{
  TCrossHair& CrossHair1() { return CrossHair(1); }
  TCrossHair& CrossHair2() { return CrossHair(2); }
  TCrossHair& CrossHair3() { return CrossHair(3); }
  TCrossHair& CrossHair4() { return CrossHair(4); }
  void SetCrossHair1(const TCrossHair& Value) { SetCrossHair(1, Value); }
  void SetCrossHair2(const TCrossHair& Value) { SetCrossHair(2, Value); }
  void SetCrossHair3(const TCrossHair& Value) { SetCrossHair(3, Value); }
  void SetCrossHair4(const TCrossHair& Value) { SetCrossHair(4, Value); }
  ///@}
  /// Text labels 1..50 (clamped). A new chart's labels are switched off
  /// and hidden (Mode tlOff, Visible false, empty Caption): set a Caption,
  /// the position, a Mode other than tlOff and Visible to show one.
  ///@{
  TTextLabel& TextLabel(int Index) { return *FTextLabels[static_cast<std::size_t>(ClampIndex(Index, TextLabelCount) - 1)]; }
  const TTextLabel& TextLabel(int Index) const { return *FTextLabels[static_cast<std::size_t>(ClampIndex(Index, TextLabelCount) - 1)]; }
  ///@}
  /// What the mouse does in the plot area: pan, zoom window, zoom drag and so on
  /// (maNone: nothing but the pointer).
  ///@{
  TMouseActMode MouseAction() const { return FConduct.MouseAction; }
  void SetMouseAction(TMouseActMode Value) { FConduct.MouseAction = Value; }
  ///@}
  /// Keeps the default pointer shape; off, the shape over the plot area shows
  /// the mouse action.
  ///@{
  bool MouseCursorFixed() const { return FConduct.MouseCursorFixed; }
  void SetMouseCursorFixed(bool Value) { FConduct.MouseCursorFixed = Value; }
  ///@}
  /// With maPanGrid, panning moves the ranges' low ends onto the grid of these
  /// distances and offsets (world units).
  ///@{
  double PanGridDx() const { return FConduct.PanGridDx; }
  void SetPanGridDx(double Value) { FConduct.PanGridDx = Value; }
  double PanGridDy() const { return FConduct.PanGridDy; }
  void SetPanGridDy(double Value) { FConduct.PanGridDy = Value; }
  double PanGridOffsX() const { return FConduct.PanGridOffsX; }
  void SetPanGridOffsX(double Value) { FConduct.PanGridOffsX = Value; }
  double PanGridOffsY() const { return FConduct.PanGridOffsY; }
  void SetPanGridOffsY(double Value) { FConduct.PanGridOffsY = Value; }
  ///@}
  /// The range objects of layers 1..4 by name (see ScalePropsX, ScalePropsY).
  ///@{
  TScalePropsHoriz& Scale1X() { return ScalePropsX(1); }
  TScalePropsHoriz& Scale2X() { return ScalePropsX(2); }
  TScalePropsHoriz& Scale3X() { return ScalePropsX(3); }
  TScalePropsHoriz& Scale4X() { return ScalePropsX(4); }
  TScalePropsVert& Scale1Y() { return ScalePropsY(1); }
  TScalePropsVert& Scale2Y() { return ScalePropsY(2); }
  TScalePropsVert& Scale3Y() { return ScalePropsY(3); }
  TScalePropsVert& Scale4Y() { return ScalePropsY(4); }
  ///@}
  /// Copy the given values into the layer's own object (its notification stays).
  ///@{
  void SetScalePropsX(int Layer, const TScalePropsHoriz& Value);
  void SetScalePropsY(int Layer, const TScalePropsVert& Value);
  ///@}
  /// Set the range objects of layers 1..4 by name (see SetScalePropsX).
  ///@{
  void SetScale1X(const TScalePropsHoriz& Value) { SetScalePropsX(1, Value); }
  void SetScale2X(const TScalePropsHoriz& Value) { SetScalePropsX(2, Value); }
  void SetScale3X(const TScalePropsHoriz& Value) { SetScalePropsX(3, Value); }
  void SetScale4X(const TScalePropsHoriz& Value) { SetScalePropsX(4, Value); }
  void SetScale1Y(const TScalePropsVert& Value) { SetScalePropsY(1, Value); }
  void SetScale2Y(const TScalePropsVert& Value) { SetScalePropsY(2, Value); }
  void SetScale3Y(const TScalePropsVert& Value) { SetScalePropsY(3, Value); }
  void SetScale4Y(const TScalePropsVert& Value) { SetScalePropsY(4, Value); }
  ///@}
  /// Reads back the recorded layout (vxl_X1Bottom_Y1Left unless Assign copied
  /// another); setting applies a layout without recording it.
  ///@{
  TvxLayout StandardLayout() const { return FConduct.StandardLayout; }
  void SetStandardLayout(TvxLayout Value);
  ///@}
  /// The font name and style of the text items (each AddText call gives the
  /// size); setting copies the values.
  ///@{
  TFont& TextFont() { return FTextFont; }
  const TFont& TextFont() const { return FTextFont; }
  void SetTextFont(const TFont& Value) { FTextFont.Assign(Value); }
  TFontStyles TextFontStyle() const { return FTextFont.Style(); }
  void SetTextFontStyle(TFontStyles Value) { FTextFont.SetStyle(Value); }
  ///@}
  /// Whether texts are drawn on a FillColor background (tbSolid) or clear.
  ///@{
  TTextBkg TextBkStyle() const { return FConduct.TextBkStyle; }
  void SetTextBkStyle(TTextBkg Value) { FConduct.TextBkStyle = Value; }
  ///@}
  /// How the text commands align texts on their point.
  ///@{
  TAlignment TextAlignment() const { return FConduct.TextAlignment; }
  void SetTextAlignment(TAlignment Value);
  ///@}

  // ---- mouse trace ----
  /// The number of points in the mouse trace.
  int MouseTraceCount() const { return FMouseTraceCount; }
  /// Point Index (0..MouseTraceCount()-1); any other index raises EZKWVexaError.
  const TMouseTracePoint& MouseTracePoint(int Index) const;
  /// Appends the clamped position to the trace and draws its segment on the window.
  void ExtendMouseTrace(TShiftState Shift, int X, int Y);
  /// Marks the last trace point as the end of a stroke.
  void EndMouseTraceStroke();

  /// The chart handles the arrow keys and Tab itself (OnKeyDown sees them).
  TDialogCodes WMGetDlgCode() const override;

  // ---- mouse tracking (mouse_tracking.cpp) ----
  /// A mouse-move message: dropped while another one is being handled;
  /// otherwise the standard processing (MouseMove), then OnMouseMoveInChart
  /// with the position in world coordinates of the current layer.
  void WMMouseMove(TShiftState Shift, std::int16_t X, std::int16_t Y) override;
  /// Records the position, raises OnMouseMove, runs the mouse actions
  /// (MouseActionMove), then sets the pointer shape.
  void MouseMove(TShiftState Shift, int X, int Y) override;
  // ---- mouse actions (mouse_actions.cpp) ----
  /// Press: swallowed right after a double click; otherwise OnMouseDown, then
  /// the first corner of a two-corner marking and the anchor of a rubber line
  /// or drag rectangle.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  /// Release: swallowed right after a double click; otherwise ends drags,
  /// the marking and the trace's stroke, finishes a rubber line or drag
  /// rectangle (left button; the right one cancels), records the ranges after
  /// pans and zoom drags, then OnMouseUp.
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  /// Switches the scale under the latest pointer between maPan and maZoom and
  /// swallows the press that follows, then OnDblClick.
  void DblClick() override;
  /// OnMouseWheel / Up / Down first; when no handler took it and WheelZoom is
  /// on, zooms about the pointer (see WheelZoom).
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  /// The axis scale at (X, Y): +n for the y scale of layer n, -n for the x
  /// scale of layer n, 0 for none. Only visible scales count; a y scale is hit
  /// in a band 50 pixels wide beside the plot, an x scale in one 40 pixels high.
  int HitScale(int X, int Y) const;
  /// Two-corner marking: StartMarkRect waits for the first corner
  /// (msFirstCorner); a press takes it (msRectDraw), moves show the rectangle
  /// clamped into the plot area, a release takes the end corner (msFinished);
  /// the right button cancels (msNormal). The corners are control pixels; the
  /// first one is clamped into the plot area.
  ///@{
  void StartMarkRect();
  TMarkRectState MarkRectState() const { return FMouse.MarkRectState(); }
  TPoint MarkRectFirstCorner() const { return FMouse.MarkRectFirstCorner(); }
  TPoint MarkRectEndCorner() const { return FMouse.MarkRectEndCorner(); }
  ///@}
  /// Whether layer 1..16 takes part in the plot-area pans, zooms, rubber lines
  /// and rectangle selections (only layer 1 after creation). Other layer
  /// numbers are ignored (false).
  ///@{
  void SetLayerMouseEnabled(int Layer, bool Value);
  bool LayerMouseEnabled(int Layer) const;
  ///@}
  /// Puts back a history taken from RangeHistory(): a wheel message moves
  /// several layers, whose joined layers record as they follow, and leaves
  /// one entry for the whole message.
  void SetRangeHistory(const TRangeHistory& Value) { FHistory = Value; }
  /// Off by default. When on, a wheel notch (WheelDelta 120) over the plot
  /// zooms the layers whose mouse flag is on by 1.25 about the pointer, in (up)
  /// or out (down); Shift zooms x only, Ctrl y only. Over an axis scale
  /// (HitScale) it zooms that axis. Logarithmic axes zoom in log space; pan
  /// limits apply; one history entry per wheel message, then OnZoomPan.
  ///@{
  bool WheelZoom() const { return FConduct.WheelZoom; }
  void SetWheelZoom(bool Value) { FConduct.WheelZoom = Value; }
  ///@}
  /// Off by default: the exact raster. When on, lines, marks, ellipses, arcs
  /// and texts are drawn smooth, on the screen at every device ratio and in
  /// every picture file; the geometry stays the same.
  ///@{
  bool Antialiased() const { return DrawMode().Antialiased; }
  void SetAntialiased(bool Value) { SetDrawAntialiased(Value); }
  ///@}
  /// The state of a running zoom-window action.
  TZoomWindState ZoomWindState() const { return FMouse.ZoomWindState(); }
  /// A mouse drag (pan, zoom drag, crosshair, label or scale) is under way.
  bool MouseDragging() const { return FMouse.Dragging(); }
  /// The renderer replaced the window's image: draws the exclusive-or figures
  /// of a running marking, rubber line or drag rectangle again, so that they
  /// stay visible and erasing them later restores the window exactly.
  void RestoreMouseFigures();
  /// The plot-area test, all four edges included.
  bool InPlotArea(int X, int Y) const;
  /// Position of the latest mouse move, relative to the control.
  TPoint LastPointerPos() const { return FMouse.LastPointer(); }

  // ---- events ----
  /// After each mouse move: the position in world coordinates of the current layer.
  TMouseMoveInChartEvent OnMouseMoveInChart;
  /// After the mouse (drag, wheel, zoom window, scale drag) changed ranges.
  TZoomPanEvent OnZoomPan;
  /// A rubber line was finished (maRubberBand); its ends in world coordinates.
  TSelectRectEvent OnRubberBand;
  /// A selection rectangle was finished (maSelectRect); its corners in world coordinates.
  TSelectRectEvent OnSelectRect;
  /// Before a crosshair is dragged; the handler may forbid the move.
  TBeforeCrossHMoveEvent OnBeforeCrossHairMove;
  /// After a crosshair was dragged.
  TCrossHairMoveEvent OnCrossHairMove;
  /// After a text label was dragged.
  TTextLabelMoveEvent OnTextLabelMove;
  /// After each tick of the chart's scales is drawn.
  TScaleTickDrawnEvent OnScaleTickDrawn;
  /// Before each tick label of the chart's scales; the handler may change the text.
  TBeforeTickLabelEvent OnBeforeTickLabel;
  /// Before the data image is drawn.
  TRenderEvent OnBeforeRenderData;
  /// After the data image is drawn.
  TRenderEvent OnDataRendered;
  /// After the scales are drawn.
  TRenderEvent OnScalesRendered;
  /// Before each item is drawn; the handler may change the copy that is drawn.
  TBeforeRenderCItemEvent OnBeforeRenderChartItem;
  /// Before each text item is drawn; the handler may change the text.
  TBeforeRenderTextEvent OnBeforeRenderText;

  // ---- off-screen images and the paint pipeline's hooks ----
  /// Every setting a paint reads, as one value (see chart/paint_settings.h).
  /// The layer part is as of now; a paint completes it after the scales.
  TChartPaintSettings PaintSettings() const;
  /// The chart as the render pipeline sees it.
  TChartPaintHost& PaintHost();
  /// The off-screen images the paint draws into: the plot area (data image) and
  /// the whole control (control image).
  ///@{
  TBitmap& DataImage() { return FDataImage; }
  TBitmap& ControlImage() { return FControlImage; }
  ///@}
  /// What the redraw keeps of the data image between redraws (the image of the
  /// background and all items but the last, to redraw only a changed tail);
  /// owned and interpreted by the renderer, empty until its first redraw.
  std::shared_ptr<TKeptDataImage>& KeptDataImage() { return FKeptDataImage; }
  /// Paints the plot background into (Left, Top, Left + Width, Top + Height).
  virtual void DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height);
  /// RenderData on the bitmap's canvas.
  virtual void RenderDataToBitmap(TBitmap& Bitmap, int Left, int Top, bool Monochrome, int NoGrid);
  /// Grid, items, text labels and plot frame; (Left, Top) is the plot's corner on Canvas.
  virtual void RenderData(TCanvas& Canvas, int Left, int Top, bool Monochrome, int NoGrid);
  /// Relays of the renderer's host events. A handler may call Assign on this
  /// chart: the handlers that Assign copies take over once the outermost
  /// running handler has returned, so none is replaced while it runs.
  ///@{
  void DoBeforeRenderChartItem(TvxChartItem& Item, int Index, bool IsAnnotation);
  void DoBeforeRenderText(std::string& Text, int Index, bool IsAnnotation);
  /// Event is one of OnBeforeRenderData, OnDataRendered, OnScalesRendered.
  ///@}
  void DoRenderEvent(TRenderEvent TCustomVexa::*Event, TCanvas& Canvas, int Top, int Left);

 protected:
  /// Paints the whole chart through the paint pipeline (chart/render.h).
  void Paint() override;
  /// Gives the chart's pictures and its 32 scales the new draw mode.
  void DrawModeChanged() override;
  /// The repaint rule of setters and notifications: repaint at once when
  /// AutoRedraw is on or the component is being designed.
  void RepaintIfAutoRedraw();
  /// Redraw's drawing step (AutoRedraw on): plot background and items into the
  /// data image, then the image onto the window at the plot corner.
  virtual void RedrawData();
  /// The chart is being designed (csDesigning).
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  /// Clears the paint suppression without the repaint SetPaintLock makes.
  void ClearPaintLockDirect() { FPaintLocked = false; }
  /// Stored values are being applied (csLoading).
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  /// The mouse-action step of a move, before the pointer shape is chosen:
  /// the marking rectangle, scale drags, then the action of MouseAction.
  virtual void MouseActionMove(TShiftState Shift, int X, int Y);
  /// Sets the application-wide pointer shape for a move to (X, Y).
  void UpdatePointerShape(int X, int Y);

  /// The mouse actions and their drag state, for the chart's whole life.
  TChartMouse FMouse{*this};
  bool FMouseMoveGuard = false;  ///< a mouse move is being handled
  /// The points of the mouse trace (MouseTraceCount() of them are in use).
  std::vector<TMouseTracePoint> FMouseTrace;
  /// The number of points in use in FMouseTrace.
  int FMouseTraceCount = 0;

 private:
  friend void CopyJoinedRange(TCustomVexa& Chart, int Layer, bool IsX, int Dest);
  static constexpr int ClampIndex(int I, int N) { return I < 1 ? 1 : (I > N ? N : I); }
  void SetDefaults();
  void ConnectNotifications();
  /// A change handler for this chart's own property objects that does nothing
  /// once the chart is gone: Assign copies a property object's handler along
  /// with its values, so a copy in another chart can outlive this one.
  TNotifyEvent WhileAlive(void (TCustomVexa::*Method)());
  void ApplyIsometric();
  void MarginsChanged(bool Isometric);
  void UpdateScaleMargins();
  /// A scale control's margin on the plot's far side: Margin + ShadowWidth - 1, clamped.
  int ScaleFarMargin(int Margin) const;
  void ResizeDataImage();
  TvxChartItem& NewItem(std::uint8_t Kind);
  // An arrow of one or two heads (ckArrow, ckArrow2).
  void AddArrowOfKind(std::uint8_t Kind, double X1, double Y1, double X2, double Y2, int HeadSize, bool OpenHeads);
  /// Writes the drawing attributes a command captures (and Kind) into Item.
  void CaptureAttributes(TvxChartItem& Item, std::uint8_t Kind) const;
  /// The store a bulk command of Count items appends to (EZKWVexaError when
  /// Count is too large for one call).
  TvxItemStore& BulkStore(std::size_t Count, const char* Command);
  void CommitItem();
  int StoreLongText(const std::string& Text);
  void SetItemText(TvxChartItem& Item, const std::string& Text, int LongTextIndex);
  void ScalePropsChanged();
  /// Copies a caller's range object into the chart's own (Own), which keeps
  /// reporting to this chart, then applies the change.
  template <typename TProps>
  void CopyScaleProps(TProps& Own, const TProps& Value);
  TRangeSnapshot CurrentRanges() const;
  void PrepareScaleControl(TScale& Control, const TScaleProps& Props, bool IsX);

  // ---- copying (Assign) ----
  struct TVexaEvents;
  static TVexaEvents EventsOf(const TCustomVexa& S);
  void SetEvents(const TVexaEvents& Events);
  /// Raises the logarithmic-axis error when S's ranges would raise it in a copy.
  void CheckAssignableRanges(const TCustomVexa& S) const;
  /// The plain settings of S (no owned objects, no items).
  void CopySettings(const TCustomVexa& S);
  class THostEventScope;
  class TVexaPaintHost;
  struct TPaintHostOwner {
    explicit TPaintHostOwner(TCustomVexa& Chart);
    ~TPaintHostOwner();
    std::unique_ptr<TVexaPaintHost> Host;
  };
  TPaintHostOwner FPaintHost{*this};
  TDataImagePass* FDataImagePass = nullptr;  ///< the pipeline's data pass under way
  /// The layer part of a settings value: transforms, ranges, grid axes.
  void TakeLayerSettings(TDataPaintSettings& Data) const;
  int FEventDepth = 0;                  ///< host render handlers of this chart now running
  std::function<void()> FPendingEvents;  ///< handlers Assign copied while one was running

  int FNotifySuspend = 0;   ///< range-object notifications are ignored while > 0
  bool FApplyingProps = false;

  // items and sharing
  TvxDataShare FShare;
  TvxItemStore FAnnotations;
  /// Follows the data store, the current layer's transform and the filters by
  /// itself; a search is const for the host, the index is only a cache.
  mutable TNearestIndex FNearestIndex;

  /// Expires when the chart starts to go away (see WhileAlive).
  std::shared_ptr<char> FLife = std::make_shared<char>();

  // owned objects
  std::array<std::unique_ptr<TCrossHair>, CrossHairCount> FCrossHairs;
  std::array<std::unique_ptr<TTextLabel>, TextLabelCount> FTextLabels;
  std::unique_ptr<TBakGndImg> FBackGroundImg;
  std::unique_ptr<TJointLayers> FJointLayers;
  TBitmap FDataImage;
  TBitmap FControlImage;
  std::shared_ptr<TKeptDataImage> FKeptDataImage;
  TBitmap FProbeBitmap;
  std::array<std::unique_ptr<TScale>, LayerCount> FScaleCtlX;
  std::array<std::unique_ptr<TScalePropsHoriz>, LayerCount> FScaleX;
  std::array<std::unique_ptr<TScale>, LayerCount> FScaleCtlY;
  std::array<std::unique_ptr<TScalePropsVert>, LayerCount> FScaleY;
  TFont FTextFont;

  // layers
  std::array<TLayerFactors, LayerCount> FFactors{};
  TPanLimits FPanLimits;
  TRangeHistory FHistory;
  int FPixelAspectX = 1;
  int FPixelAspectY = 1;

  // settings (their values after creation are the structs' own)
  bool FPaintLocked = true;
  TPlotLook FPlot;
  TFrameLook FFrame;
  TChartConduct FConduct;
};

/// The published chart.
class TVexa : public TCustomVexa {
 public:
  /// Creates the chart (see TCustomVexa).
  explicit TVexa(TComponent* AOwner) : TCustomVexa(AOwner) {}
  /// The class name, as stored with the settings.
  std::string ClassName() const override { return "TVexa"; }
  /// As TCustomVexa::SetBounds.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
    TCustomVexa::SetBounds(ALeft, ATop, AWidth, AHeight);
  }

 protected:
  /// Creates the window and lifts the paint suppression of construction (without
  /// a repaint of its own).
  void CreateWnd() override;
};

}  // namespace zkw
