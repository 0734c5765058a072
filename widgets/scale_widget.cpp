#include "widgets/scale_widget.h"

#include <QPointer>

#include "widgets/embedded_control.h"
#include "widgets/event_chain.h"

namespace zkw {

ScaleWidget::ScaleWidget(QWidget* Parent) : SurfaceWidget(std::make_unique<TEmbedded<TScale>>(), Parent) {
  static_cast<TEmbedded<TScale>&>(control()).Embed(*this);
  QPointer<ScaleWidget> Self(this);
  FOwnZoomPan = [Self](TObject*) {
    if (Self) emit Self->zoomPan();
  };
  chainEvents();
  resize(sizeHint());
  control().SetBounds(0, 0, width(), height());
}

ScaleWidget::~ScaleWidget() = default;

TScale* ScaleWidget::scale() const { return static_cast<TScale*>(&control()); }

void ScaleWidget::chainEvents() { Chain(scale()->OnZoomPan, FOwnZoomPan); }

QSize ScaleWidget::minimumControlSize() const { return {24, 24}; }

}  // namespace zkw
