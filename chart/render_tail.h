// The kept data image: what a redraw keeps so that the next redraw, when only
// the tail of the data store has changed (the demo's cursor mark: remove the
// last item, append one), can start from the image of the plot background,
// grid and the items before the tail and draw only the rest.
//
// The image is taken during a full redraw just before the data store's last
// item, together with everything the drawing of the following items reads:
// the renderer's cache, pen position, duplicate-mark memory and the polyline
// batch still waiting to be drawn (a line growing at its end), and the
// canvas's pen, brush, font and pen position. It is used only when
//  - the data part of the paint-settings value is equal to the one it was
//    taken with, and so is the canvas font the pass starts with (character
//    marks draw in it);
//  - it is the same store, with as many long texts, and the store reports no
//    change below the kept prefix since the image was taken
//    (TvxItemStore::DirtyFrom);
//  - no host render handler is assigned and no background picture is set
//    (both always take the full redraw).
// Nothing drawn after the data items (annotations, text labels, plot frame,
// crosshairs) is ever in the kept image.
#pragma once

#include <cstdint>
#include <memory>

#include "chart/item_store.h"
#include "chart/paint_host.h"
#include "chart/paint_settings.h"
#include "chart/render_items.h"
#include "platform/graphics.h"

namespace zkw {

struct TKeptDataImage {
  bool Valid = false;
  // The inputs of the pass that took it.
  TDataPaintSettings Settings;
  TFontKey StartFont;
  std::weak_ptr<const TvxItemStore> Store;
  int TextCount = 0;
  std::uint64_t StoreVersion = 0;  // store version the prefix was checked at
  int Prefix = 0;                  // items [0, Prefix) are in Image
  // The image and the state at its point.
  TBitmap Image;
  TItemRendererState Renderer;
  TPen Pen;
  TBrush Brush;
  TFont Font;
  TPoint CanvasPenPos;

  // Whether a pass with these inputs may start from the image.
  bool Fits(const TDataPaintSettings& Data, const TFontKey& Start, const std::shared_ptr<const TvxItemStore>& S) const;
  // Drops the image (its memory too).
  void Invalidate();
};

// One pass of the pipeline into the chart's data image at its full size:
// what it decided about the kept image, and what the chart's own hooks report
// back while it runs. The hooks' signatures are public and take no pass, so
// the pipeline registers the pass with the chart for its duration
// (TChartPaintHost::DataImagePass); nothing of it outlives the pass.
struct TDataImagePass {
  std::shared_ptr<const TChartPaintSettings> Settings;
  TFontKey StartFont;              // the data canvas's font as the pass starts
  bool Capture = false;            // the pass may take a new kept image
  bool Armed = false;              // the pass may start from the kept image
  bool BackgroundSkipped = false;  // the chart's background hook left the background to the kept image
};

// Whether a pass into the data image with these settings and handlers may
// use or keep an image at all.
bool DataPassKeepable(const TChartPaintSettings& Settings, const TRenderHandlers& Handlers, const TBitmap& Data);

}  // namespace zkw
