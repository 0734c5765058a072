// quickdemo: starts Main.qml (the chart as a QML item). Options for tests:
//   --trace                 prints "ready item=X,Y,W,H" when the window shows
//                           (the chart's place in the window) and one line
//                           with the ranges after every pan or zoom
//   --screenshot FILE       no window: applies the steps below to the chart
//                           offscreen and saves the chart's picture to FILE
//   --drag X1,Y1,X2,Y2      a left-button drag in chart pixels (8 moves)
#include <QGuiApplication>
#include <QMouseEvent>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <cstdio>
#include <vector>

#include "quick/ZKW_quick.h"

namespace {

struct TDrag {
  int X1, Y1, X2, Y2;
};

int Usage() {
  std::fprintf(stderr, "usage: quickdemo [--trace] [--screenshot FILE [--drag X1,Y1,X2,Y2]...]\n");
  return 2;
}

// The same points xdotool moves through in the end-to-end test.
void Drag(QQuickWindow& Window, zkw::VexaItem& Chart, const TDrag& D) {
  constexpr int Steps = 8;
  const QPointF Origin = Chart.mapToScene(QPointF(0, 0));
  auto Send = [&](QEvent::Type Type, QPointF P, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
    const QPointF At = Origin + P;
    QMouseEvent E(Type, At, At, Window.mapToGlobal(At), Button, Buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window, &E);
  };
  Send(QEvent::MouseMove, QPointF(D.X1, D.Y1), Qt::NoButton, Qt::NoButton);
  Send(QEvent::MouseButtonPress, QPointF(D.X1, D.Y1), Qt::LeftButton, Qt::LeftButton);
  for (int I = 1; I <= Steps; ++I)
    Send(QEvent::MouseMove, QPointF(D.X1 + (D.X2 - D.X1) * I / Steps, D.Y1 + (D.Y2 - D.Y1) * I / Steps), Qt::NoButton,
         Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, QPointF(D.X2, D.Y2), Qt::LeftButton, Qt::NoButton);
}

}  // namespace

int main(int argc, char** argv) {
  bool Trace = false;
  QString Screenshot;
  std::vector<TDrag> Drags;
  for (int I = 1; I < argc; ++I) {
    const QString A = QString::fromLocal8Bit(argv[I]);
    if (A == "--trace") {
      Trace = true;
    } else if (A == "--screenshot" && I + 1 < argc) {
      Screenshot = QString::fromLocal8Bit(argv[++I]);
    } else if (A == "--drag" && I + 1 < argc) {
      TDrag D{};
      if (std::sscanf(argv[++I], "%d,%d,%d,%d", &D.X1, &D.Y1, &D.X2, &D.Y2) != 4) return Usage();
      Drags.push_back(D);
    } else {
      return Usage();
    }
  }
  if (!Drags.empty() && Screenshot.isEmpty()) return Usage();
  if (!Screenshot.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");

  // Main.qml imports Zkw.Vexa: linking zkw::quick is all it takes.
  QGuiApplication App(argc, argv);
  QQmlApplicationEngine Engine;
  Engine.load(QUrl(QStringLiteral("qrc:/quickdemo/Main.qml")));
  if (Engine.rootObjects().isEmpty()) return 1;
  auto* Window = qobject_cast<QQuickWindow*>(Engine.rootObjects().first());
  auto* Chart = Window ? Window->findChild<zkw::VexaItem*>("chart") : nullptr;
  if (!Chart) return 1;

  if (!Screenshot.isEmpty()) {
    for (int I = 0; I < 5; ++I) QCoreApplication::processEvents();
    for (const TDrag& D : Drags) Drag(*Window, *Chart, D);
    return Chart->saveImage(Screenshot) ? 0 : 1;
  }
  if (Trace) {
    auto Ranges = [Chart] {
      std::printf("ranges x=[%.17g, %.17g] y=[%.17g, %.17g]\n", Chart->xLow(), Chart->xHigh(), Chart->yLow(),
                  Chart->yHigh());
      std::fflush(stdout);
    };
    QObject::connect(Chart, &zkw::VexaItem::zoomPan, Ranges);
    QObject::connect(Window, &QQuickWindow::frameSwapped, Window, [Chart] {
      static bool Once = false;
      if (Once) return;
      Once = true;
      const QPointF P = Chart->mapToScene(QPointF(0, 0));
      std::printf("ready item=%d,%d,%d,%d\n", qRound(P.x()), qRound(P.y()), qRound(Chart->width()),
                  qRound(Chart->height()));
      std::fflush(stdout);
    });
  }
  return App.exec();
}
