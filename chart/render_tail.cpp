#include "chart/render_tail.h"

namespace zkw {

bool TKeptDataImage::Fits(const TDataPaintSettings& Data, const TFontKey& Start,
                          const std::shared_ptr<const TvxItemStore>& S) const {
  // Long texts only grow while the items stay; a new one may be read by an
  // item of the tail, so the count is part of the inputs.
  return Valid && S && Store.lock() == S && TextCount == S->Texts().Count() && Start == StartFont &&
         Data == Settings && S->DirtyFrom(StoreVersion) >= Prefix;
}

void TKeptDataImage::Invalidate() {
  Valid = false;
  Store.reset();
  Image.SetSize(0, 0);
  Renderer = TItemRendererState{};
}

bool DataPassKeepable(const TChartPaintSettings& Settings, const TRenderHandlers& Handlers, const TBitmap& Data) {
  // Host handlers may draw anything or change anything while the data is
  // drawn, and a background picture is read from its file every time.
  if (Handlers.BeforeRenderData || Handlers.DataRendered || Handlers.BeforeRenderChartItem ||
      Handlers.BeforeRenderText || !Settings.Data.Background.Picture.empty()) {
    return false;
  }
  return Data.Width() > 0 && Data.Height() > 0;
}

}  // namespace zkw
