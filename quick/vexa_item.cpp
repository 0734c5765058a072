#include "quick/vexa_item.h"

#include <QJSValue>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPointer>
#include <QQuickWindow>
#include <QSGSimpleTextureNode>
#include <QtQml/qqmlinfo.h>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/peer.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_input.h"
#include "platform/screen.h"
#include "quick/qml_values.h"

namespace zkw {

// ---------------------------------------------------------------- the peer

/// What the chart asks of its window goes to the item (nothing once it is gone).
class TItemPeer : public TControlPeer {
 public:
  explicit TItemPeer(VexaItem& Item) : FItem(&Item) {}
  void Invalidate() override {
    if (FItem) FItem->paintRequested();
  }
  void UpdateSurface() override {
    if (FItem) FItem->surfaceChanged();
  }
  void SetBounds(int, int, int Width, int Height) override {
    // The position is the scene's business; a size set on the chart sizes
    // the item. The chart's size is the item's rounded, so a fractional item
    // size that rounds to the chart's is left as the layout made it.
    if (!FItem || FItem->FClosing) return;
    if (std::lround(FItem->width()) != Width || std::lround(FItem->height()) != Height)
      FItem->setSize(QSizeF(Width, Height));
  }
  void SetVisible(bool) override {}
  void SetEnabled(bool Enabled) override {
    if (FItem && !FItem->FClosing) FItem->setEnabled(Enabled);
  }
  void SetCaption(const std::string&) override {}
  void SetColor(TColor) override {
    if (FItem) FItem->paintRequested();
  }
  void SetFont(const TFont&) override {}
  void SetCursor(TCursor) override {
    if (FItem) FItem->applyCursor();
  }

 private:
  QPointer<VexaItem> FItem;
};

/// The item's chart: its window created without a framework window, with the item's peer.
class TItemChart : public TVexa {
 public:
  TItemChart() : TVexa(nullptr) {}
  void Embed(VexaItem& Item) {
    HandleNeeded();
    SetPeer(std::make_unique<TItemPeer>(Item));
  }
};

// ---------------------------------------------------------------- the item

VexaItem::VexaItem(QQuickItem* Parent)
    : QQuickItem(Parent), FChart(std::make_unique<TItemChart>()), FFace(std::make_unique<ChartFace>(*FChart)),
      FSignals(this) {
  static_cast<TItemChart&>(*FChart).Embed(*this);
  FSignals.chain(*FChart);
  setFlag(ItemHasContents);
  setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  setAcceptHoverEvents(true);
  setActiveFocusOnTab(true);
  setImplicitSize(400, 300);
  FChart->SetBounds(0, 0, 400, 300);
  // Made with a parent already in a window: the scene change reached only
  // the base class (no virtual calls during construction).
  watchScreen(window());
}

VexaItem::~VexaItem() {
  // The chart goes first; what it asks of its window on the way is dropped.
  FClosing = true;
  FChart.reset();
}

TVexa* VexaItem::chartOf(QObject* Object) {
  auto* Item = qobject_cast<VexaItem*>(Object);
  return Item ? Item->chart() : nullptr;
}

template <typename F>
bool VexaItem::runOnChart(F&& Fn) {
  QPointer<VexaItem> Self(this);
  FSignals.chain(*FChart);
  const TCursorRedirect Redirect([Self](TCursor Shape) {
    if (Self) Self->setPointerShape(Shape);
  });
  Fn(*FChart);
  return !Self.isNull();
}

template <typename F>
void VexaItem::dispatch(F&& Fn) {
  if (!runOnChart(std::forward<F>(Fn))) return;
  paintRequested();
  syncProperties();
}

void VexaItem::syncProperties() { EmitPropertyChanges(this, FFace->takeChanges()); }

bool VexaItem::refused(bool Ok) {
  if (!Ok) qmlWarning(this) << FFace->lastError();
  return !Ok;
}

void VexaItem::paintRequested() {
  if (FClosing) return;
  polish();
  update();
}

void VexaItem::surfaceChanged() {
  if (FClosing) return;
  FSurfaceDirty = true;
  update();
}

void VexaItem::setPointerShape(TCursor Shape) {
  FPointerShape = Shape;
  applyCursor();
}

void VexaItem::applyCursor() {
  if (FClosing) return;
  const TCursor Shape = FPointerShape != crDefault ? FPointerShape : FChart->Cursor();
  if (Shape == crDefault)
    unsetCursor();
  else
    setCursor(CursorToQt(Shape));
}

// ---------------------------------------------------------------- properties

void VexaItem::setMouseAction(const QString& Name) {
  refused(FFace->setMouseAction(Name));
  syncProperties();
}

void VexaItem::setWheelZoom(bool On) {
  FFace->setWheelZoom(On);
  syncProperties();
}

void VexaItem::setAntialiased(bool On) {
  FFace->setAntialiased(On);
  syncProperties();
}

void VexaItem::setCaption(const QString& Caption) {
  FFace->setCaption(Caption);
  syncProperties();
}

void VexaItem::setXCaption(const QString& Caption) {
  FFace->setXCaption(Caption);
  syncProperties();
}

void VexaItem::setYCaption(const QString& Caption) {
  FFace->setYCaption(Caption);
  syncProperties();
}

void VexaItem::setChartColor(const QColor& Color) {
  FFace->setChartColor(Color);
  syncProperties();
}

void VexaItem::setDataColor(const QColor& Color) {
  FFace->setDataColor(Color);
  syncProperties();
}

void VexaItem::setRangeEnd(ChartAxis Axis, bool High, double Value) {
  refused(FFace->setRangeEnd(Axis, High, Value));
  syncProperties();
}

void VexaItem::setXLow(double Value) { setRangeEnd(ChartAxis::X, false, Value); }
void VexaItem::setXHigh(double Value) { setRangeEnd(ChartAxis::X, true, Value); }
void VexaItem::setYLow(double Value) { setRangeEnd(ChartAxis::Y, false, Value); }
void VexaItem::setYHigh(double Value) { setRangeEnd(ChartAxis::Y, true, Value); }

void VexaItem::setHoverHighlight(bool On) {
  if (On == FFace->hoverHighlight()) return;
  FFace->setHoverHighlight(On);
  FHighlightDirty = true;
  update();
  emit hoverHighlightChanged();
}

void VexaItem::setToolTip(bool On) {
  if (On == FFace->toolTip()) return;
  FFace->setToolTip(On);
  emit toolTipChanged();
  emit hoverChanged();
}

QPointF VexaItem::hoverPoint() const {
  const auto& H = FFace->hovered();
  if (!H) return {};
  int PX = 0, PY = 0;
  FChart->WorldToPixel(H->layer, H->x, H->y, PX, PY);
  return QPointF(PX, PY);
}

// ---------------------------------------------------------------- operations

bool VexaItem::addMark(const QVariant& X, const QVariant& Y, const QVariant& Type) {
  double XV = 0, YV = 0, T = 0;
  QString Why;
  if (!QmlNumber(X, XV, Why, QStringLiteral("x")) || !QmlNumber(Y, YV, Why, QStringLiteral("y")) ||
      !QmlNumber(Type, T, Why, QStringLiteral("type"))) {
    qmlWarning(this) << "addMark: " << Why;
    return false;
  }
  if (T != std::floor(T)) {
    qmlWarning(this) << "addMark: type " << T << " is not a whole number";
    return false;
  }
  return !refused(FFace->addMark(QPointF(XV, YV), static_cast<int>(std::clamp(T, -1.0, 256.0))));
}

bool VexaItem::addMarks(const QVariant& Xs, const QVariant& Ys, const QVariant& Type) {
  std::vector<double> XV, YV;
  double T = 0;
  QString Why;
  if (!QmlNumbers(Xs, XV, Why, QStringLiteral("xs")) || !QmlNumbers(Ys, YV, Why, QStringLiteral("ys")) ||
      !QmlNumber(Type, T, Why, QStringLiteral("type"))) {
    qmlWarning(this) << "addMarks: " << Why;
    return false;
  }
  if (T != std::floor(T)) {
    qmlWarning(this) << "addMarks: type " << T << " is not a whole number";
    return false;
  }
  return !refused(FFace->addMarks(XV, YV, static_cast<int>(std::clamp(T, -1.0, 256.0))));
}

bool VexaItem::addLine(const QVariant& X1, const QVariant& Y1, const QVariant& X2, const QVariant& Y2) {
  double A = 0, B = 0, C = 0, D = 0;
  QString Why;
  if (!QmlNumber(X1, A, Why, QStringLiteral("x1")) || !QmlNumber(Y1, B, Why, QStringLiteral("y1")) ||
      !QmlNumber(X2, C, Why, QStringLiteral("x2")) || !QmlNumber(Y2, D, Why, QStringLiteral("y2"))) {
    qmlWarning(this) << "addLine: " << Why;
    return false;
  }
  return !refused(FFace->addLine(QPointF(A, B), QPointF(C, D)));
}

bool VexaItem::addPolyline(const QVariant& Xs, const QVariant& Ys) {
  std::vector<double> XV, YV;
  QString Why;
  if (!QmlNumbers(Xs, XV, Why, QStringLiteral("xs")) || !QmlNumbers(Ys, YV, Why, QStringLiteral("ys"))) {
    qmlWarning(this) << "addPolyline: " << Why;
    return false;
  }
  return !refused(FFace->addPolyline(XV, YV));
}

void VexaItem::clear() {
  dispatch([](TVexa& C) { C.ClearItems(); });
  if (FFace->clearHover()) {
    FHighlightDirty = true;
    emit hoverChanged();
  }
}

void VexaItem::redraw() {
  dispatch([](TVexa& C) { C.Redraw(); });
}

bool VexaItem::rangeHistoryBack() {
  bool Ok = false;
  dispatch([&](TVexa& C) { Ok = C.RangeHistoryBack(); });
  return Ok;
}

bool VexaItem::saveImage(const QString& File, const QVariant& Scale) {
  // What the window shows: the chart follows the window's ratio only at the
  // next frame, so the window is asked, not the chart.
  double S = window() ? window()->effectiveDevicePixelRatio() : FChart->DrawMode().Scale;
  QString Why;
  if (Scale.isValid() && !QmlNumber(Scale, S, Why, QStringLiteral("scale"))) {
    qmlWarning(this) << "saveImage: " << Why;
    return false;
  }
  return !refused(FFace->saveImage(File, S));
}

QVariantMap VexaItem::findNearestItem(double X, double Y) const {
  const std::optional<ChartHit> Hit = FFace->nearest(QPointF(X, Y));
  if (!Hit) return {{QStringLiteral("index"), -1}};
  return {{QStringLiteral("index"), Hit->index},
          {QStringLiteral("x"), Hit->x},
          {QStringLiteral("y"), Hit->y},
          {QStringLiteral("distance"), Hit->distance}};
}

// ---------------------------------------------------------------- picture

const QImage& VexaItem::pictureForWindowRatio() const {
  // The chart draws its surface at the window's device pixel ratio (set in
  // updatePolish): one surface pixel per device pixel, and the texture
  // node's rectangle is the surface's logical size.
  return static_cast<const TBitmap&>(FChart->WindowSurface()).Image();
}

void VexaItem::updatePolish() {
  // Not dispatch: this runs inside the frame it would ask for.
  bool Painted = false;
  const bool Alive = runOnChart([&](TVexa& C) {
    // The window's ratio (the first frame, or the window moved to a screen of
    // another ratio) becomes the chart's device scale: it draws natively at it.
    if (window()) FollowDeviceRatio(C, window()->effectiveDevicePixelRatio());
    if (C.NeedsPaint()) {
      C.WMPaint();
      Painted = true;
    }
  });
  if (Alive && Painted) FSurfaceDirty = true;
}

QSGNode* VexaItem::updatePaintNode(QSGNode* Old, UpdatePaintNodeData*) {
  const QImage& Picture = pictureForWindowRatio();
  if (Picture.isNull() || !window()) {
    delete Old;
    return nullptr;
  }
  auto* Node = static_cast<QSGSimpleTextureNode*>(Old);
  if (!Node) {
    Node = new QSGSimpleTextureNode;
    Node->setOwnsTexture(true);
    FSurfaceDirty = true;
    FHighlightDirty = true;
  }
  // A new picture may have moved the hovered item (a pan, a zoom).
  if (FSurfaceDirty && FFace->hovered()) FHighlightDirty = true;
  if (FSurfaceDirty) {
    // The one copy of the surface in a frame. The texture gets a picture of
    // its own: were it to share the surface's pixels, the chart's next
    // drawing would have to copy them first (copy on write).
    Node->setTexture(window()->createTextureFromImage(Picture.copy()));
    Node->setRect(0, 0, Picture.width() / Picture.devicePixelRatio(), Picture.height() / Picture.devicePixelRatio());
    ++FUploads;
    FSurfaceDirty = false;
  }
  if (FHighlightDirty) {
    // The hover highlight: a child node above the surface, never in the chart's data.
    delete Node->firstChild();
    QPoint TopLeft;
    const QImage Overlay = FFace->highlightImage(TopLeft);
    if (!Overlay.isNull()) {
      auto* H = new QSGSimpleTextureNode;
      H->setOwnsTexture(true);
      H->setTexture(window()->createTextureFromImage(Overlay));
      H->setRect(QRectF(TopLeft, Overlay.deviceIndependentSize()));
      H->setFlag(QSGNode::OwnedByParent);
      Node->appendChildNode(H);
    }
    FHighlightDirty = false;
  }
  return Node;
}

void VexaItem::geometryChange(const QRectF& NewGeometry, const QRectF& OldGeometry) {
  QQuickItem::geometryChange(NewGeometry, OldGeometry);
  const int W = std::max(0, static_cast<int>(std::lround(NewGeometry.width())));
  const int H = std::max(0, static_cast<int>(std::lround(NewGeometry.height())));
  if (FChart->Width() != W || FChart->Height() != H) dispatch([&](TVexa& C) { C.SetBounds(0, 0, W, H); });
}

void VexaItem::itemChange(ItemChange Change, const ItemChangeData& Value) {
  QQuickItem::itemChange(Change, Value);
  if (Change == ItemSceneChange) {
    // The window's screen decides the device pixel ratio: a move to another
    // screen shows the chart again, for that screen's ratio.
    watchScreen(Value.window);
  }
  if (Change == ItemSceneChange || Change == ItemDevicePixelRatioHasChanged) ratioChanged();
}

void VexaItem::watchScreen(QQuickWindow* Window) {
  QObject::disconnect(FScreenConnection);
  if (Window) FScreenConnection = connect(Window, &QWindow::screenChanged, this, [this] { ratioChanged(); });
}

void VexaItem::ratioChanged() {
  FSurfaceDirty = true;
  FHighlightDirty = true;
  paintRequested();
}

// ---------------------------------------------------------------- input

void VexaItem::followPointer(QPointF Position) {
  if (!FFace->updateHover(Position)) return;
  FHighlightDirty = true;
  update();
  emit hoverChanged();
}

void VexaItem::mousePressEvent(QMouseEvent* E) {
  forceActiveFocus(Qt::MouseFocusReason);
  bool Used = false;
  dispatch([&](TVexa& C) { Used = SendMousePress(C, *E); });
  E->setAccepted(Used);
}

void VexaItem::mouseMoveEvent(QMouseEvent* E) {
  QPointer<VexaItem> Self(this);
  dispatch([&](TVexa& C) { SendMouseMove(C, *E); });
  if (Self) followPointer(E->position());
}

void VexaItem::mouseReleaseEvent(QMouseEvent* E) {
  dispatch([&](TVexa& C) { SendMouseRelease(C, *E); });
}

void VexaItem::mouseDoubleClickEvent(QMouseEvent* E) {
  dispatch([&](TVexa& C) { SendMouseDoubleClick(C, *E); });
}

void VexaItem::hoverEnterEvent(QHoverEvent*) {
  dispatch([](TVexa& C) { C.CMMouseEnter(); });
}

void VexaItem::hoverMoveEvent(QHoverEvent* E) {
  QPointer<VexaItem> Self(this);
  dispatch([&](TVexa& C) { SendMouseMove(C, *E); });
  if (Self) followPointer(E->position());
}

void VexaItem::hoverLeaveEvent(QHoverEvent*) {
  QPointer<VexaItem> Self(this);
  dispatch([](TVexa& C) { C.CMMouseLeave(); });
  if (Self && FFace->clearHover()) {
    FHighlightDirty = true;
    update();
    emit hoverChanged();
  }
}

void VexaItem::wheelEvent(QWheelEvent* E) {
  dispatch([&](TVexa& C) { SendWheel(C, *E); });
  E->accept();
}

void VexaItem::keyPressEvent(QKeyEvent* E) {
  // Tab and Backtab move the focus on, as in any Qt Quick form.
  if (E->key() == Qt::Key_Tab || E->key() == Qt::Key_Backtab) {
    E->ignore();
    return;
  }
  QPointer<VexaItem> Self(this);
  dispatch([&](TVexa& C) { SendKeyPress(C, *E, [Self] { return !Self.isNull(); }); });
}

void VexaItem::keyReleaseEvent(QKeyEvent* E) {
  if (E->key() == Qt::Key_Tab || E->key() == Qt::Key_Backtab) {
    E->ignore();
    return;
  }
  dispatch([&](TVexa& C) { SendKeyRelease(C, *E); });
}

}  // namespace zkw
