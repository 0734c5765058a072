// Painting a chart: the paint pipeline and the text labels.
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
// TChartRenderer holds no state between calls: the chart constructs one for
// each call from its paint host (chart/paint_host.h) and the paint-settings
// value it builds once per paint (chart/paint_settings.h). The chart's
// virtual hooks (Paint, DrawPlotBackground, RenderData, the drawing step of
// Redraw) forward here; the pipeline calls those hooks back through the
// host, so a descendant that overrides one of them changes what is painted.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ZKW_zkwbase.h"
#include "chart/layers.h"
#include "chart/paint_host.h"
#include "chart/paint_settings.h"
#include "chart/render_grid.h"
#include "chart/render_items.h"
#include "platform/devices.h"
#include "platform/graphics.h"

namespace zkw {

struct TKeptDataImage;
struct TDataImagePass;

// ---- text labels -----------------------------------------------------------------------

struct TLabelRenderFrame {
  int MarginLeft = 0;
  int MarginTop = 0;
  std::array<TLayerTransform, LayerCount> Transforms{};
  std::array<bool, LayerCount> LayerVisible{};
  bool OnPrinter = false;
};

// Draws one label (if it is shown) with the plot's top-left corner at (Left, Top).
void DrawTextLabel(TCanvas& Canvas, int Left, int Top, const TTextLabelLook& Label,
                   const TLabelRenderFrame& Frame, TDrawStateCache* Cache);
// Draws Labels[Count - 1] first and Labels[0] last, so label 1 lies on top.
void DrawTextLabels(TCanvas& Canvas, int Left, int Top, const TTextLabelLook* Labels, int Count,
                    const TLabelRenderFrame& Frame, TDrawStateCache* Cache);

// ---- the pipeline ----------------------------------------------------------------------

class TChartRenderer {
 public:
  // Settings: the value the chart built for this paint (shared, so that the
  // hooks a pass calls back draw from the same value).
  TChartRenderer(TChartPaintHost& Host, std::shared_ptr<const TChartPaintSettings> Settings);

  // The full paint of the control (nothing while the chart may not paint).
  // A logarithmic axis below zero ends it after the caption; the window
  // keeps its image.
  void Paint();
  // The paint's steps 2 to 7: everything into ControlImage, the window untouched.
  // Raises EZKWVexaError for a logarithmic axis below zero.
  void PaintControlImage();
  // Window background, shadow, caption, then the scales (which complete the
  // layer part of the settings this renderer draws from).
  void DrawOuterArea(TCanvas& Canvas);
  // Chart background, picture or area colouring into (Left, Top, Left + Width, Top + Height).
  void DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height);
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
  // step a paint and a redraw share, through the chart's hooks. It starts
  // from the kept image when that still fits and keeps one for the next
  // pass, so whichever of the two comes second after a change draws only
  // what changed since.
  void DrawDataImage();

  // The pieces RenderData is made of (exposed for hosts that print or export).
  // The item frame refers to this renderer's text font: keep the renderer.
  TItemRenderFrame ItemFrame(int Left, int Top, bool Monochrome, bool OnPrinter) const;
  TGridSettings GridSettings() const;
  TLabelRenderFrame LabelFrame(bool OnPrinter) const;
  const TChartPaintSettings& Settings() const { return *FSettings; }

 private:
  // Keeps the data image and the pass's state before data item Prefix.
  void KeepDataImage(TCanvas& Canvas, TItemRenderer& Renderer, TKeptDataImage& Kept, const TDataImagePass& Pass,
                     const std::shared_ptr<const TvxItemStore>& Store, int Prefix);
  // The data pass of a redraw that starts from the kept image.
  void RenderDataFromKept(TCanvas& Canvas, TItemRenderer& Renderer, TKeptDataImage& Kept, const TDataImagePass& Pass,
                          const std::shared_ptr<const TvxItemStore>& Store);
  // What follows the items: annotations (when DataDone: the data store has
  // been drawn and the annotations have not), text labels, OnDataRendered,
  // plot frame.
  void FinishRenderData(TCanvas& Canvas, TItemRenderer& Renderer, int Left, int Top, bool OnPrinter, bool DataDone);
  // Runs the per-item steps over one store (see render_pipeline.cpp).
  enum class TItemSubset : std::uint8_t { All, NonText, Text };
  void RenderStore(TItemRenderer& Renderer, const TvxItemStore& Store, bool IsAnnotation, TItemSubset Subset,
                   int From = 0, int CaptureAt = -1, const std::function<void(int)>& Capture = nullptr);
  void RenderAnnotations(TItemRenderer& Renderer);

  TChartPaintHost& FHost;
  std::shared_ptr<const TChartPaintSettings> FSettings;
  TFont FTextFont;  // the text items' font, made from the settings
};

}  // namespace zkw
