// The one Qt GUI application object that text, fonts and printing need.
// The library never creates it behind the host's back: a program with
// windows creates its QApplication first, and a program without windows
// (a batch renderer, a test) calls InitHeadless once at start-up.
#pragma once

#include <functional>

class QGuiApplication;

namespace zkw {

// For programs without windows: creates a QGuiApplication on Qt's offscreen
// platform when no application object exists yet (through the installed
// factory when there is one). Idempotent: does nothing while a GUI
// application exists. Raises Exception when only a non-GUI QCoreApplication
// exists. The object created here lives until the program ends.
void InitHeadless();

// Raises Exception (saying to create a QApplication or to call
// InitHeadless) unless a QGuiApplication (or QApplication) exists. Text,
// fonts and printing call it before they touch Qt's font engine.
void RequireGuiApplication();

// True when a QGuiApplication (or QApplication) exists.
bool GuiApplicationRunning();

// Lets the window layer (which may use Qt Widgets) make the object that
// InitHeadless creates a QApplication. The factory receives argc and argv
// that outlive the object.
using TGuiApplicationFactory = std::function<QGuiApplication*(int& Argc, char** Argv)>;
void SetGuiApplicationFactory(TGuiApplicationFactory Factory);

}  // namespace zkw
