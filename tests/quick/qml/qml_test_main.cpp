// The QML-side tests (Qt Quick Test TestCase files in this folder), with
// the library's QML types registered before the first file loads.
#include <QQmlEngine>
#include <QtQuickTest>

#include "quick/qml_types.h"

class TSetup : public QObject {
  Q_OBJECT

 public slots:
  void qmlEngineAvailable(QQmlEngine*) { zkw::registerQmlTypes(); }
};

QUICK_TEST_MAIN_WITH_SETUP(zkw_quick_qml, TSetup)

#include "qml_test_main.moc"
