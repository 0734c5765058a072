// The kept data image: what a redraw keeps so that the next redraw, when only
// the tail of the data store has changed (the demo's cursor mark: remove the
// last item, append one), can start from the image of the plot background,
// grid and the items before the tail and draw only the rest.
//
// The image is taken during a full redraw just before the data store's last
// item, together with everything the drawing of the following items reads:
// the renderer's cache, pen position and duplicate-mark memory, and the
// canvas's pen, brush, font and pen position. It is used only when
//  - a key of every input that decides those pixels is unchanged: image size,
//    margins, layer transforms and ranges, colours, line width, background
//    area, grid (style, colour, steps, tick positions), class and layer
//    visibility, item text font, duplicate-mark settings, the canvas font the
//    pass starts with, and the store's identity and long-text count;
//  - the store reports no change below the kept prefix since the image was
//    taken (TvxItemStore::DirtyFrom);
//  - no host render handler is assigned and no background picture is set
//    (both always take the full redraw).
// Nothing drawn after the data items (annotations, text labels, plot frame,
// crosshairs) is ever in the kept image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chart/item_store.h"
#include "chart/render_items.h"
#include "platform/graphics.h"

namespace zkw {

class TCustomVexa;

struct TKeptDataImage {
  // ---- the kept image and the state at its point ----
  bool Valid = false;
  std::string Key;  // inputs of the pass that took it
  std::weak_ptr<const TvxItemStore> Store;
  std::uint64_t StoreVersion = 0;  // store version the prefix was checked at
  int Prefix = 0;                  // items [0, Prefix) are in Image
  TBitmap Image;
  TItemRendererState Renderer;
  TPen Pen;
  TBrush Brush;
  TFont Font;
  TPoint CanvasPenPos;

  // ---- the redraw under way ----
  bool Capture = false;            // this pass may take a new image
  bool Armed = false;              // this pass may start from the kept image
  bool BackgroundSkipped = false;  // the plot background was left to the kept image
  std::string CurrentKey;

  // Drops the image (its memory too).
  void Invalidate();
};

// The key of everything that decides the pixels of the data image up to the
// data items, for a redraw into Chart's data image; false (key empty) when
// the chart must always be redrawn in full.
bool KeptImageKey(TCustomVexa& Chart, const TItemRenderFrame& Frame, std::string& Key);

}  // namespace zkw
