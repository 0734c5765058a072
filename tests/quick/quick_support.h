// Helpers of the Qt Quick tests: the software scene graph, a window holding
// one VexaItem, synthetic input sent to the window (as a user's would be),
// and a recorder of QML warnings.
#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QQuickWindow>
#include <QWheelEvent>
#include <QtGlobal>
#include <memory>
#include <mutex>

#include "quick/ZKW_quick.h"

namespace zkw::testing {

// The item's pixels are compared exactly: the software scene graph, before
// the first window exists.
inline void UseSoftwareSceneGraph() {
  static const bool Once = (QQuickWindow::setGraphicsApi(QSGRendererInterface::Software), true);
  (void)Once;
}

inline void PumpEvents() {
  for (int I = 0; I < 5; ++I) QCoreApplication::processEvents();
}

// Selects the software scene graph before any member window exists.
struct TSoftwareSceneGraph {
  TSoftwareSceneGraph() { UseSoftwareSceneGraph(); }
};

// A window whose content is one VexaItem of Size at (0, 0).
struct TItemWindow : TSoftwareSceneGraph {
  QQuickWindow Window;
  VexaItem* Item;
  explicit TItemWindow(QSize Size = {400, 300}) {
    Item = new VexaItem(Window.contentItem());
    Item->setSize(Size);
    Window.resize(Size);
  }
  // Shows the window and renders a frame; the picture of that frame.
  QImage Frame() {
    if (!Window.isVisible()) Window.show();
    PumpEvents();
    return Window.grabWindow().convertToFormat(QImage::Format_RGB32);
  }
  void Mouse(QEvent::Type Type, QPointF Pos, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
    QMouseEvent E(Type, Pos, Pos, Window.mapToGlobal(Pos), Button, Buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window, &E);
  }
  // A left-button drag in a few steps.
  void Drag(QPointF From, QPointF To) {
    Mouse(QEvent::MouseButtonPress, From, Qt::LeftButton, Qt::LeftButton);
    for (int I = 1; I <= 4; ++I) Mouse(QEvent::MouseMove, From + (To - From) * I / 4.0, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, To, Qt::LeftButton, Qt::NoButton);
  }
  void Hover(QPointF Pos) { Mouse(QEvent::MouseMove, Pos, Qt::NoButton, Qt::NoButton); }
  void Wheel(QPointF Pos, int Delta) {
    QWheelEvent E(Pos, Window.mapToGlobal(Pos), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&Window, &E);
  }
};

// Collects the warnings Qt reports while it lives.
class TWarnings {
 public:
  TWarnings() {
    Current() = this;
    FPrevious = qInstallMessageHandler([](QtMsgType Type, const QMessageLogContext&, const QString& Text) {
      if (Type == QtWarningMsg && Current()) Current()->Texts.append(Text);
    });
  }
  ~TWarnings() {
    qInstallMessageHandler(FPrevious);
    Current() = nullptr;
  }
  bool Contains(const QString& Part) const {
    for (const QString& T : Texts)
      if (T.contains(Part)) return true;
    return false;
  }
  QStringList Texts;

 private:
  static TWarnings*& Current() {
    static TWarnings* C = nullptr;
    return C;
  }
  QtMessageHandler FPrevious;
};

}  // namespace zkw::testing
