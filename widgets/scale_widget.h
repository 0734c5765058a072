/// @class zkw::ScaleWidget widgets/scale_widget.h "widgets/scale_widget.h"
/// ScaleWidget: the stand-alone axis scale (TScale) as a QWidget. It owns its
/// scale (scale()), which fills the widget and follows its size; the mouse
/// reaches the scale's entry points, so a scale with a mouse action pans and
/// zooms its own range and reports it as zoomPan() (and through the scale's
/// OnZoomPan, which keeps working beside the signal). Everything else is as
/// for VexaWidget: no application-wide state, shapes on this widget only,
/// drawn natively at any device pixel ratio (scale()->SetAntialiased(true)
/// smooths it).
#pragma once

#include "scale/ZKW_Scale.h"
#include "widgets/surface_widget.h"

namespace zkw {

class ScaleWidget : public SurfaceWidget {
  Q_OBJECT

 public:
  /// Creates the widget with its own scale, sized to the size hint.
  explicit ScaleWidget(QWidget* Parent = nullptr);
  ~ScaleWidget() override;

  /// The scale; owned by the widget, lives as long as it.
  TScale* scale() const;

 signals:
  /// A mouse drag panned or zoomed the scale's range (as the scale's OnZoomPan).
  void zoomPan();

 protected:
  /// Chains the widget's handler for zoomPan() into the scale's OnZoomPan.
  void chainEvents() override;
  /// 24 x 24 pixels.
  QSize minimumControlSize() const override;

 private:
  TZoomPanEvent FOwnZoomPan;
};

}  // namespace zkw
