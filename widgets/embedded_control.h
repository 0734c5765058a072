/// @file
/// Internal: a control hosted by a SurfaceWidget. Its window is created
/// without a framework window (the surface only) and its peer is the
/// widget's, so the control's repaint requests, surface updates, size and
/// cursor reach the widget.
#pragma once

#include <QPointer>
#include <memory>

#include "platform/peer.h"
#include "widgets/surface_widget.h"

namespace zkw {

/// The peer of a control hosted by a SurfaceWidget: what the control asks of its
/// window goes to the widget (a no-op once the widget is gone).
class TWidgetPeer : public TControlPeer {
 public:
  /// A peer for the control shown by Widget.
  explicit TWidgetPeer(SurfaceWidget& Widget) : FWidget(&Widget) {}
  /// Repaint requests and surface updates schedule a repaint of the widget.
  ///@{
  void Invalidate() override;
  void UpdateSurface() override;
  ///@}
  /// Passes on a size set on the control (the position is the layout's).
  void SetBounds(int Left, int Top, int Width, int Height) override;
  void SetVisible(bool) override {}  ///< the host shows and hides the widget
  /// Enables or disables the widget.
  void SetEnabled(bool Enabled) override;
  /// The widget shows no caption.
  void SetCaption(const std::string&) override {}
  /// Repaints the widget (the colour fills what the surface does not cover).
  void SetColor(TColor) override;
  /// The control draws its own texts; the widget's font plays no part.
  void SetFont(const TFont&) override {}
  /// Shows the pointer shape the control asked for on the widget.
  void SetCursor(TCursor Cursor) override;

 private:
  QPointer<SurfaceWidget> FWidget;
};

/// T with its window created and the widget's peer attached.
template <typename T>
class TEmbedded : public T {
 public:
  /// A control without owner; Embed attaches it to its widget.
  TEmbedded() : T(nullptr) {}
  /// Creates the control's window and gives it Widget's peer.
  void Embed(SurfaceWidget& Widget) {
    this->HandleNeeded();
    this->SetPeer(std::make_unique<TWidgetPeer>(Widget));
  }
};

}  // namespace zkw
