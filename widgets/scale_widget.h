/// @class zkw::ScaleWidget widgets/scale_widget.h "widgets/scale_widget.h"
/// ScaleWidget: the stand-alone axis scale (TScale) as a QWidget. It owns its
/// scale (scale()), which fills the widget and follows its size; the mouse
/// reaches the scale's entry points, so a scale with a mouse action pans and
/// zooms its own range and reports it as zoomPan() (and through the scale's
/// OnZoomPan, which keeps working beside the signal). Everything else is as
/// for VexaWidget: no application-wide state, shapes on this widget only,
/// sharp text at any device pixel ratio (the scale is painted afresh for
/// every picture above ratio 1 and its texts drawn at device resolution).
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
  /// The SurfaceWidget hooks for the scale: chains OnZoomPan to zoomPan(), a
  /// smallest size of 24 x 24, and a paint that records the scale's texts when the
  /// device pixel ratio is above 1 (the scale paints through a temporary picture,
  /// so its texts are traced during the paint rather than on a surface).
  ///@{
  void chainEvents() override;
  QSize minimumControlSize() const override;
  void traceTexts(bool) override {}
  std::vector<TTextLayer> textLayers() override;
  void paintControl(bool Fresh) override;
  ///@}

 private:
  TZoomPanEvent FOwnZoomPan;
  std::vector<TTracedText> FTexts;
};

}  // namespace zkw
