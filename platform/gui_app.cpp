#include "platform/gui_app.h"

#include <QGuiApplication>

#include "platform/core.h"

namespace zkw {

namespace {

TGuiApplicationFactory& Factory() {
  static TGuiApplicationFactory F;
  return F;
}

}  // namespace

bool GuiApplicationRunning() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

void SetGuiApplicationFactory(TGuiApplicationFactory NewFactory) { Factory() = std::move(NewFactory); }

void RequireGuiApplication() {
  if (GuiApplicationRunning()) return;
  if (QCoreApplication::instance())
    throw Exception("Text and printing need a QGuiApplication, but a non-GUI QCoreApplication is running");
  throw Exception(
      "Text and printing need a Qt GUI application: create a QApplication (or QGuiApplication) first, "
      "or call zkw::InitHeadless() in a program without windows");
}

void InitHeadless() {
  if (QCoreApplication::instance()) {
    if (!GuiApplicationRunning())
      throw Exception("InitHeadless needs a GUI application, but a non-GUI QCoreApplication is running");
    return;
  }
  // Qt keeps references to argc and argv for the object's whole life. The
  // platform argument outranks QT_QPA_PLATFORM: a headless program stays
  // headless whatever the environment says.
  static int Argc = 3;
  static char Name[] = "zkw";
  static char PlatformFlag[] = "-platform";
  static char Platform[] = "offscreen";
  static char* Argv[] = {Name, PlatformFlag, Platform, nullptr};
  // The object lives until the process ends and is deliberately never deleted:
  // Qt's own globals are destroyed before function-local statics, so a
  // destructor running at exit would read freed memory.
  QGuiApplication* App = Factory() ? Factory()(Argc, Argv) : new QGuiApplication(Argc, Argv);
  if (!App) throw Exception("The GUI application factory returned no object");
}

}  // namespace zkw
