// The entry point of every GoogleTest program. The library never creates a
// Qt application object itself: programs whose tests show widgets get a
// QApplication, the others the headless one InitHeadless makes. Both run on
// Qt's offscreen platform unless QT_QPA_PLATFORM names another.
#include <gtest/gtest.h>

#include "platform/gui_app.h"

#ifdef ZKW_TEST_QAPPLICATION
#include <QApplication>
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
#ifdef ZKW_TEST_QAPPLICATION
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never deleted: widgets and fonts held by static objects outlive main.
  new QApplication(argc, argv);
#else
  zkw::InitHeadless();
#endif
  return RUN_ALL_TESTS();
}
