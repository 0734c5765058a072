#include "widgets/vexa_widget.h"

#include <QPointer>

#include "widgets/embedded_control.h"
#include "widgets/event_chain.h"

namespace zkw {

VexaWidget::VexaWidget(QWidget* Parent) : SurfaceWidget(std::make_unique<TEmbedded<TVexa>>(), Parent) {
  static_cast<TEmbedded<TVexa>&>(control()).Embed(*this);
  // The handlers only emit; a deleted widget (QPointer) emits nothing.
  QPointer<VexaWidget> Self(this);
  FOwnMove = [Self](TObject*, bool InChart, TShiftState, double X, double Y) {
    if (Self) emit Self->mouseMoveInChart(InChart, X, Y);
  };
  FOwnZoomPan = [Self](TObject*) {
    if (Self) emit Self->zoomPan();
  };
  FOwnRubberBand = [Self](TObject*, int Layer, double LoX, double LoY, double HiX, double HiY) {
    if (Self) emit Self->rubberBand(Layer, LoX, LoY, HiX, HiY);
  };
  FOwnSelectRect = [Self](TObject*, int Layer, double LoX, double LoY, double HiX, double HiY) {
    if (Self) emit Self->selectRect(Layer, LoX, LoY, HiX, HiY);
  };
  FOwnCrossHair = [Self](TObject*, TCrossHair& Which) {
    if (!Self) return;
    for (int I = 1; I <= CrossHairCount; ++I)
      if (&Self->chart()->CrossHair(I) == &Which) emit Self->crossHairMoved(I);
  };
  FOwnTextLabel = [Self](TObject*, TTextLabel& Which) {
    if (!Self) return;
    for (int I = 1; I <= TextLabelCount; ++I)
      if (&Self->chart()->TextLabel(I) == &Which) emit Self->textLabelMoved(I);
  };
  chainEvents();
  resize(sizeHint());
  control().SetBounds(0, 0, width(), height());
}

VexaWidget::~VexaWidget() = default;

TVexa* VexaWidget::chart() const { return static_cast<TVexa*>(&control()); }

void VexaWidget::chainEvents() {
  TVexa& C = *chart();
  Chain(C.OnMouseMoveInChart, FOwnMove);
  Chain(C.OnZoomPan, FOwnZoomPan);
  Chain(C.OnRubberBand, FOwnRubberBand);
  Chain(C.OnSelectRect, FOwnSelectRect);
  Chain(C.OnCrossHairMove, FOwnCrossHair);
  Chain(C.OnTextLabelMove, FOwnTextLabel);
}

QSize VexaWidget::minimumControlSize() const {
  const TVexa& C = *chart();
  // The margins and a small plot area.
  return {C.MarginLeft() + C.MarginRight() + C.ShadowWidth() + 16,
          C.MarginTop() + C.MarginBottom() + C.ShadowWidth() + 16};
}

}  // namespace zkw
