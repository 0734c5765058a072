#include "platform/gui_app.h"

#include <QGuiApplication>
#include <cstdlib>

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

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) {
    if (!GuiApplicationRunning()) {
      throw Exception("Text and printing need a QGuiApplication, but a non-GUI QCoreApplication is running");
    }
    return;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Qt keeps references to argc and argv for the object's whole life.
  static int Argc = 1;
  static char Name[] = "zkw";
  static char* Argv[] = {Name, nullptr};
  // The object lives until the process ends and is deliberately never deleted:
  // Qt's own globals are destroyed before function-local statics, so a
  // destructor running at exit would read freed memory.
  QGuiApplication* App = Factory() ? Factory()(Argc, Argv) : new QGuiApplication(Argc, Argv);
  if (!App) throw Exception("The GUI application factory returned no object");
}

}  // namespace zkw
