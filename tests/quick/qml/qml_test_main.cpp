// The QML-side tests (Qt Quick Test TestCase files in this folder). They
// import Zkw.Vexa as any program's QML does: the module comes with the link
// to zkw_quick, nothing registers it here.
#include <QtQuickTest>

QUICK_TEST_MAIN(zkw_quick_qml)
