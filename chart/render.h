// Painting a chart: the paint pipeline, the grid, the text labels and the
// pictures a chart can give out (a PNG of what it shows, a printed page).
//
// All drawing goes to off-screen images first; the window receives finished
// images only:
//   Paint:   outer area (window background, shadow, caption, the 32 scales)
//            into ControlImage; plot background, grid, items, text labels and
//            plot frame into DataImage; the mouse trace into DataImage;
//            DataImage into ControlImage at (MarginLeft, MarginTop); the
//            crosshairs into ControlImage; ControlImage onto the window.
//   Redraw (AutoRedraw on): plot background and data into DataImage, the
//            crosshairs into it, DataImage onto the window at the plot
//            corner; caption, scales and mouse trace stay as they are.
//
// TChartRenderer holds no state between calls: construct one on a chart for
// each call. The chart's virtual hooks (Paint, DrawPlotBackground,
// RenderData, the drawing step of Redraw) forward here; the pipeline calls
// those hooks back on the chart, so a descendant that overrides one of them
// changes what the pipeline paints.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ZKW_zkwbase.h"
#include "chart/layers.h"
#include "chart/render_items.h"
#include "platform/devices.h"
#include "platform/graphics.h"
#include "platform/picture_files.h"

namespace zkw {

class TCustomVexa;
struct TKeptDataImage;

// ---- grid ----------------------------------------------------------------------------

// One axis of the grid walk.
struct TGridAxis {
  double RangeLow = 0.0;  // the range object's ends (either order)
  double RangeHigh = 1.0;
  bool Logarithmic = false;
  // Spacing: 0 = at the scale's ticks; above 0 = this step; on a logarithmic
  // axis -1, -2 and -3 walk decades, 1-2-5 and 1-2-3-..-9.
  double Step = 0.0;
  // The scale control's tick list of its last paint and its own range ends.
  std::vector<double> Ticks;
  double ScaleLow = 0.0;
  double ScaleHigh = 1.0;
};

// The first grid value at or above Low (the smaller range end).
double FirstGridValue(const TGridAxis& Axis, double Low);
// The grid value after Current; Index (2, 3, ...) is the value's position in
// the walk, used when the grid follows the scale's ticks.
double NextGridValue(const TGridAxis& Axis, int Index, double Current);

struct TGridSettings {
  GridStyleType Style = gsNone;
  TColor Color = 0;       // lines and points
  TColor ChartColor = 0;  // brush colour set before the grid
  TLayerTransform Transform;  // of the current layer
  int MarginLeft = 0;
  int MarginTop = 0;
  TGridAxis X;
  TGridAxis Y;
};

// Lines or points of a grid walk stop after this many.
constexpr int GridLimit = 1000;

// Draws the grid with the plot's top-left corner at (Left, Top) on Canvas.
// Cache, when given, takes the brush colour.
void DrawGrid(TCanvas& Canvas, int Left, int Top, const TGridSettings& Grid, TDrawStateCache* Cache);

// ---- text labels -----------------------------------------------------------------------

struct TLabelRenderFrame {
  int MarginLeft = 0;
  int MarginTop = 0;
  std::array<TLayerTransform, LayerCount> Transforms{};
  std::array<bool, LayerCount> LayerVisible{};
  bool OnPrinter = false;
};

// Draws one label (if it is shown) with the plot's top-left corner at (Left, Top).
void DrawTextLabel(TCanvas& Canvas, int Left, int Top, const TCustomTextLabel& Label,
                   const TLabelRenderFrame& Frame, TDrawStateCache* Cache);
// Draws Labels[Count - 1] first and Labels[0] last, so label 1 lies on top.
void DrawTextLabels(TCanvas& Canvas, int Left, int Top, const TCustomTextLabel* const* Labels, int Count,
                    const TLabelRenderFrame& Frame, TDrawStateCache* Cache);

// ---- the pipeline ----------------------------------------------------------------------

class TChartRenderer {
 public:
  explicit TChartRenderer(TCustomVexa& Chart);

  // The full paint of the control (nothing while the chart is invisible and
  // not designed, loading, or painting is suppressed). A logarithmic axis
  // below zero ends it after the caption; the window keeps its image.
  void Paint();
  // The paint's steps 2 to 7: everything into ControlImage, the window untouched.
  // Raises EZKWVexaError for a logarithmic axis below zero.
  void PaintControlImage();
  // Window background, shadow, caption, factors and scales on Canvas.
  void DrawOuterArea(TCanvas& Canvas);
  // Chart background, picture or area colouring into (Left, Top, Left + Width, Top + Height).
  void DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height);
  void RenderDataToBitmap(TBitmap& Bitmap, int Left, int Top, bool Monochrome, int NoGrid);
  // Grid, items, text labels, plot frame and the two data events;
  // (Left, Top) is the plot rectangle's top-left corner on Canvas.
  void RenderData(TCanvas& Canvas, int Left, int Top, bool Monochrome, int NoGrid);
  void DrawMouseTrace(int OffsetX, int OffsetY, TBitmap& Bitmap);
  // Control pixel (x, y) lands at (x - OffsetX, y - OffsetY) of Bitmap.
  void DrawCrossHairs(int OffsetX, int OffsetY, TBitmap& Bitmap);
  void ShowImage(int OffsetX, int OffsetY, TCanvas& Canvas, TBitmap& Bitmap);
  // The drawing step of Redraw with AutoRedraw on.
  void RedrawData();
  // Plot background and data into the data image at the chart's size, the
  // step a paint and a redraw share. It starts from the kept image when that
  // still holds and keeps one for the next pass, so whichever of the two
  // comes second after a change draws only what changed since.
  void DrawDataImage();

  // The pieces RenderData is made of (exposed for hosts that print or export).
  TItemRenderFrame ItemFrame(int Left, int Top, bool Monochrome, bool OnPrinter) const;
  TGridSettings GridSettings() const;
  TLabelRenderFrame LabelFrame(bool OnPrinter) const;

 private:
  // Keeps the data image and the pass's state before data item Prefix.
  void KeepDataImage(TCanvas& Canvas, TItemRenderer& Renderer, TKeptDataImage& Kept,
                     const std::shared_ptr<const TvxItemStore>& Store, int Prefix);
  // The data pass of a redraw that starts from the kept image.
  void RenderDataFromKept(TCanvas& Canvas, TItemRenderer& Renderer, TKeptDataImage& Kept, const TvxItemStore& Store);
  // What follows the items: annotations (when DataDone: the data store has
  // been drawn and the annotations have not), text labels, OnDataRendered,
  // plot frame.
  void FinishRenderData(TCanvas& Canvas, TItemRenderer& Renderer, int Left, int Top, bool OnPrinter, bool DataDone);

  TCustomVexa& FChart;
};

// ---- pictures out ------------------------------------------------------------------------

// Every picture shows the chart as a paint does (without touching the window,
// whether or not painting is suppressed): the control image, crosshairs
// included, at the control's size. Each raises EZKWVexaError for a
// logarithmic axis below zero and Exception when the file cannot be written.

// Resolution of a PDF page that SaveChartImage writes for a ".pdf" name.
constexpr int DefaultPdfDpi = 96;

void SaveChartToPng(TCustomVexa& Chart, const std::string& FileName);
// As a picture file of the given format (Quality: JPEG only, 0..100, -1 the
// encoder's default); pfPdf writes a PDF at DefaultPdfDpi.
void SaveChartPicture(TCustomVexa& Chart, const std::string& FileName, TPictureFormat Format, int Quality = -1);
// The format follows the file name's extension (.png, .jpg, .jpeg, .bmp,
// .pdf, any case); any other raises EInvalidGraphic before anything is drawn.
void SaveChartImage(TCustomVexa& Chart, const std::string& FileName);
// A one-page PDF whose page is the chart's size at Dpi (1..9600; width in
// inches = pixels / Dpi), holding the chart's pixels losslessly.
void SaveChartToPdf(TCustomVexa& Chart, const std::string& FileName, int Dpi = DefaultPdfDpi);

// Prints the chart onto an A4 page of the program's printer and writes the
// document to FileName (a PDF, or a PNG when the name ends in ".png"). The
// chart keeps its pixel geometry (fonts follow the printer font rule, so
// texts have the same pixel size as on the screen); the page's resolution
// for this print is PrintFitResolution of the chart's size, so the chart
// fills the page inside 10 mm margins, and it is centred on the page. The
// printer's own resolution is restored afterwards. Monochrome draws item pens
// black and fills silver or white. Raises Exception when a document is already
// open or the file cannot be written; the printer is left without an open
// document.
void PrintChart(TCustomVexa& Chart, const std::string& FileName, bool Monochrome = false);
// The smallest resolution (36..1200 pixels per inch) at which a Width x Height
// pixel picture fits an A4 page inside 10 mm margins.
int PrintFitResolution(int Width, int Height);

}  // namespace zkw
