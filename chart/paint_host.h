// What the render pipeline needs from the chart beyond the paint-settings
// value: the images it draws into, the stores, the chart's virtual drawing
// hooks, the host's events and the few steps only the chart can take. The
// chart implements it; the rendering files know the chart only through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chart/chart_item.h"
#include "chart/item_store.h"
#include "chart/paint_settings.h"
#include "platform/graphics.h"

namespace zkw {

struct TKeptDataImage;
struct TDataImagePass;

// One recorded point of the mouse trace, in world coordinates of the current layer.
struct TMouseTracePoint {
  double X = 0;
  double Y = 0;
  std::uint16_t Flags = 0;  // bit 0: a stroke ends here; bit 1: drawn by exclusive-or
  TColor Color = 0;
};
constexpr std::uint16_t mtfStrokeEnd = 1;
constexpr std::uint16_t mtfInvert = 2;

// The host's render events, in the order a paint raises them.
enum class TRenderEventKind : std::uint8_t { ScalesRendered, BeforeRenderData, DataRendered };

// Which host handlers are assigned (a pass with any of the data handlers is
// always drawn in full).
struct TRenderHandlers {
  bool BeforeRenderData = false;
  bool DataRendered = false;
  bool BeforeRenderChartItem = false;
  bool BeforeRenderText = false;
};

class TChartPaintHost {
 public:
  virtual ~TChartPaintHost() = default;

  // ---- state of the paint ----
  // Whether a paint may draw (visible or designed, not loading, not suppressed).
  virtual bool MayPaint() const = 0;
  // The settings value as of now.
  virtual TChartPaintSettings PaintSettings() const = 0;
  // Computes the layers' factors (raising EZKWVexaError for a logarithmic
  // axis below zero), paints the 32 scales and completes Data's
  // layer part with what that made: transforms, ranges and grid axes.
  virtual void PaintScales(TDataPaintSettings& Data) = 0;
  // The background picture could not be read: forget its name, without a repaint.
  virtual void ForgetBackgroundPicture() = 0;

  // ---- images and the window ----
  virtual TBitmap& DataImage() = 0;
  virtual TBitmap& ControlImage() = 0;
  virtual TCanvas& WindowCanvas() = 0;
  virtual void SurfaceChanged() = 0;
  // Draws the exclusive-or figures of a running mouse action again.
  virtual void RestoreMouseFigures() = 0;
  virtual std::shared_ptr<TKeptDataImage>& KeptDataImage() = 0;
  // The data pass under way, registered while the pipeline draws the data
  // image so that the chart's own hooks can take part in it.
  virtual TDataImagePass*& DataImagePass() = 0;

  // ---- stores ----
  virtual std::shared_ptr<const TvxItemStore> DataStoreHandle() const = 0;
  virtual const TvxItemStore& AnnotationStore() const = 0;
  virtual int MouseTraceCount() const = 0;
  virtual const TMouseTracePoint& MouseTracePoint(int Index) const = 0;

  // ---- the chart's virtual drawing hooks (a descendant may override them) ----
  virtual void DrawPlotBackground(TCanvas& Canvas, int Left, int Top, int Width, int Height) = 0;
  virtual void RenderDataToBitmap(TBitmap& Bitmap, int Left, int Top, bool Monochrome, int NoGrid) = 0;

  // ---- host events (they may change anything, this chart included) ----
  virtual TRenderHandlers Handlers() const = 0;
  virtual void RaiseRenderEvent(TRenderEventKind Kind, TCanvas& Canvas, int Top, int Left) = 0;
  virtual void BeforeRenderChartItem(TvxChartItem& Item, int Index, bool IsAnnotation) = 0;
  virtual void BeforeRenderText(std::string& Text, int Index, bool IsAnnotation) = 0;
};

}  // namespace zkw
