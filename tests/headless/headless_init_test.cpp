// A program without any Qt application object: text raises a clear error
// until InitHeadless creates the offscreen one; the library never creates it
// by itself. (Its own main: every other test program creates the object.)
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <string>

#include "platform/gui_app.h"
#include "platform/graphics.h"

namespace zkw {
namespace {

TEST(HeadlessInit, TextNeedsAnApplicationAndInitHeadlessMakesOne) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  TBitmap B(40, 20);
  try {
    B.Canvas().TextOut(2, 2, "x");
    FAIL() << "text drew without a GUI application";
  } catch (const Exception& E) {
    const std::string Message = E.what();
    EXPECT_NE(Message.find("QApplication"), std::string::npos) << Message;
    EXPECT_NE(Message.find("zkw::InitHeadless()"), std::string::npos) << Message;
  }
  EXPECT_THROW(B.Canvas().TextWidth("x"), Exception);
  // Nothing was created behind the program's back.
  EXPECT_EQ(QCoreApplication::instance(), nullptr);

  InitHeadless();
  QCoreApplication* First = QCoreApplication::instance();
  ASSERT_NE(First, nullptr);
  EXPECT_TRUE(GuiApplicationRunning());
  EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
  InitHeadless();  // idempotent
  EXPECT_EQ(QCoreApplication::instance(), First);
  EXPECT_GT(B.Canvas().TextWidth("xx"), 0);
  B.Canvas().TextOut(2, 2, "x");
}

}  // namespace
}  // namespace zkw
