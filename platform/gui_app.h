// The one Qt GUI application object that text, fonts and printing need.
// Headless programs and tests get an offscreen one on first use; a program that
// shows windows creates its own QApplication first, or installs a factory.
#pragma once

#include <functional>

class QGuiApplication;

namespace zkw {

// Makes sure a QGuiApplication (or a QApplication) exists. When none does, one is
// created through the installed factory, else as a plain QGuiApplication; when
// QT_QPA_PLATFORM is unset it is set to "offscreen" first. The object created
// here lives until the program ends. Raises Exception when only a non-GUI
// QCoreApplication exists.
void EnsureGuiApplication();

// True when a QGuiApplication (or QApplication) exists.
bool GuiApplicationRunning();

// Lets the window layer (which may use Qt Widgets) make the object a
// QApplication. The factory receives argc and argv that outlive the object.
using TGuiApplicationFactory = std::function<QGuiApplication*(int& Argc, char** Argv)>;
void SetGuiApplicationFactory(TGuiApplicationFactory Factory);

}  // namespace zkw
