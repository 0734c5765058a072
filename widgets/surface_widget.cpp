#include "widgets/surface_widget.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QWheelEvent>

#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_input.h"
#include "platform/screen.h"
#include "widgets/embedded_control.h"
#include "widgets/qt_color.h"

namespace zkw {

// ---------------------------------------------------------------- the peer

void TWidgetPeer::Invalidate() {
  if (FWidget) FWidget->update();
}

void TWidgetPeer::UpdateSurface() {
  if (FWidget) FWidget->update();
}

void TWidgetPeer::SetBounds(int, int, int Width, int Height) {
  // The position inside the host is the layout's business; only a size set
  // on the control itself is passed on.
  if (FWidget && FWidget->size() != QSize(Width, Height)) FWidget->resize(Width, Height);
}

void TWidgetPeer::SetEnabled(bool Enabled) {
  if (FWidget) FWidget->setEnabled(Enabled);
}

void TWidgetPeer::SetColor(TColor) {
  if (FWidget) FWidget->update();
}

void TWidgetPeer::SetCursor(TCursor) {
  if (FWidget) FWidget->applyCursor();
}

// ---------------------------------------------------------------- the widget

SurfaceWidget::SurfaceWidget(std::unique_ptr<TCustomControl> Control, QWidget* Parent)
    : QWidget(Parent), FControl(std::move(Control)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // The surface covers every pixel: no background erase before paintEvent.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

SurfaceWidget::~SurfaceWidget() { FControl.reset(); }

QSize SurfaceWidget::sizeHint() const { return QSize(400, 300).expandedTo(minimumSizeHint()); }

QSize SurfaceWidget::minimumSizeHint() const { return minimumControlSize(); }

template <typename F>
void SurfaceWidget::callControl(F&& Fn) {
  QPointer<SurfaceWidget> Self(this);
  chainEvents();
  const TCursorRedirect Redirect([Self](TCursor Shape) {
    if (Self) Self->setPointerShape(Shape);
  });
  Fn(*FControl);
}

template <typename F>
void SurfaceWidget::dispatch(F&& Fn) {
  QPointer<SurfaceWidget> Self(this);
  callControl(std::forward<F>(Fn));
  if (!Self) return;
  update();
  inputHandled();
}

void SurfaceWidget::setPointerShape(TCursor Shape) {
  FPointerShape = Shape;
  applyCursor();
}

void SurfaceWidget::applyCursor() {
  // A shape the control asks for while handling input wins over the
  // control's own Cursor, as the application-wide shape would.
  const TCursor Shape = FPointerShape != crDefault ? FPointerShape : FControl->Cursor();
  if (Shape == crDefault)
    unsetCursor();
  else
    setCursor(CursorToQt(Shape));
}

void SurfaceWidget::paintControl(bool Fresh) {
  if (Fresh || FControl->NeedsPaint()) FControl->WMPaint();
}

QImage SurfaceWidget::renderImage() {
  QImage Picture;
  callControl([&](TCustomControl& C) {
    FollowDeviceRatio(C, devicePixelRatioF());
    paintControl(false);
    Picture = C.WindowSurface().Image().copy();
  });
  return Picture;
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  QPainter P(this);
  const QSize Surface(FControl->WindowSurface().Width(), FControl->WindowSurface().Height());
  if (Surface != size()) P.fillRect(rect(), ToQColor(FControl->Color()));
  callControl([&](TCustomControl& C) {
    FollowDeviceRatio(C, devicePixelRatioF());
    // The surface is drawn at the device ratio: one surface pixel per device pixel.
    PaintSurface(P, C);
  });
}

void SurfaceWidget::resizeEvent(QResizeEvent* E) {
  const QSize S = E->size();
  dispatch([&](TCustomControl& C) {
    if (C.Left() != 0 || C.Top() != 0 || C.Width() != S.width() || C.Height() != S.height())
      C.SetBounds(0, 0, S.width(), S.height());
  });
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* E) {
  dispatch([&](TCustomControl& C) { SendMouseMove(C, *E); });
}

void SurfaceWidget::mousePressEvent(QMouseEvent* E) {
  dispatch([&](TCustomControl& C) { SendMousePress(C, *E); });
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* E) {
  dispatch([&](TCustomControl& C) { SendMouseRelease(C, *E); });
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* E) {
  dispatch([&](TCustomControl& C) { SendMouseDoubleClick(C, *E); });
}

void SurfaceWidget::wheelEvent(QWheelEvent* E) {
  dispatch([&](TCustomControl& C) { SendWheel(C, *E); });
  E->accept();
}

void SurfaceWidget::enterEvent(QEnterEvent*) {
  dispatch([](TCustomControl& C) { C.CMMouseEnter(); });
}

void SurfaceWidget::leaveEvent(QEvent*) {
  dispatch([](TCustomControl& C) { C.CMMouseLeave(); });
}

void SurfaceWidget::keyPressEvent(QKeyEvent* E) {
  QPointer<SurfaceWidget> Self(this);
  dispatch([&](TCustomControl& C) { SendKeyPress(C, *E, [Self] { return !Self.isNull(); }); });
}

void SurfaceWidget::keyReleaseEvent(QKeyEvent* E) {
  dispatch([&](TCustomControl& C) { SendKeyRelease(C, *E); });
}

}  // namespace zkw
