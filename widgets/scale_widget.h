// ScaleWidget: the stand-alone axis scale (TScale) as a QWidget. It owns its
// scale (scale()), which fills the widget and follows its size; the mouse
// reaches the scale's entry points, so a scale with a mouse action pans and
// zooms its own range and reports it as zoomPan() (and through the scale's
// OnZoomPan, which keeps working beside the signal). Everything else is as
// for VexaWidget: no application-wide state, shapes on this widget only,
// sharp text at any device pixel ratio (the scale is painted afresh for
// every picture above ratio 1 and its texts drawn at device resolution).
#pragma once

#include "scale/ZKW_Scale.h"
#include "widgets/surface_widget.h"

namespace zkw {

class ScaleWidget : public SurfaceWidget {
  Q_OBJECT

 public:
  explicit ScaleWidget(QWidget* Parent = nullptr);
  ~ScaleWidget() override;

  TScale* scale() const;

 signals:
  void zoomPan();

 protected:
  void chainEvents() override;
  QSize minimumControlSize() const override;
  void traceTexts(bool) override {}
  std::vector<TTextLayer> textLayers() override;
  void paintControl(bool Fresh) override;

 private:
  TZoomPanEvent FOwnZoomPan;
  std::vector<TTracedText> FTexts;
};

}  // namespace zkw
