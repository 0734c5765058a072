// Internal: a control hosted by a SurfaceWidget. Its window is created
// without a framework window (the surface only) and its peer is the
// widget's, so the control's repaint requests, surface updates, size and
// cursor reach the widget.
#pragma once

#include <QPointer>
#include <memory>

#include "platform/peer.h"
#include "widgets/surface_widget.h"

namespace zkw {

class TWidgetPeer : public TControlPeer {
 public:
  explicit TWidgetPeer(SurfaceWidget& Widget) : FWidget(&Widget) {}
  void Invalidate() override;
  void UpdateSurface() override;
  void SetBounds(int Left, int Top, int Width, int Height) override;
  void SetVisible(bool) override {}  // the host shows and hides the widget
  void SetEnabled(bool Enabled) override;
  void SetCaption(const std::string&) override {}
  void SetColor(TColor) override;
  void SetFont(const TFont&) override {}
  void SetCursor(TCursor Cursor) override;

 private:
  QPointer<SurfaceWidget> FWidget;
};

// T with its window created and the widget's peer attached.
template <typename T>
class TEmbedded : public T {
 public:
  TEmbedded() : T(nullptr) {}
  void Embed(SurfaceWidget& Widget) {
    this->HandleNeeded();
    this->SetPeer(std::make_unique<TWidgetPeer>(Widget));
  }
};

}  // namespace zkw
