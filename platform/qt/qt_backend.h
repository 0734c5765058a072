// Real windows: installs the Qt backend that gives shown controls a QWidget
// peer, runs the application's message loop on a QApplication, shows the
// information message box as a modal QMessageBox and the application-wide
// cursor as Qt's override cursor.
#pragma once

#include <QCursor>
#include <QColor>
#include <QFont>
#include <cstdint>

#include "platform/controls.h"

class QWidget;

namespace zkw {

// Makes a later InitHeadless create a QApplication (widgets need one rather
// than a plain QGuiApplication).
void InstallQtApplicationFactory();

// Creates the QApplication if none exists, then installs the window backend,
// the cursor hook and the message box hook. Raises Exception when a plain
// QGuiApplication exists already. Controls shown afterwards get peers.
void InstallQtBackend();
// Back to headless; existing peers stay until their controls go.
void UninstallQtBackend();

// Conversions the peers use, public for tests.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
// 0 for keys without a virtual key code.
std::uint16_t VirtualKeyFromQt(int Key);
QFont FontToQt(const TFont& Font);
// The window system's shapes map to Qt shapes; positive numbers come from
// the screen's cursor table (the default arrow when unregistered).
QCursor CursorToQt(TCursor Cursor);

// The widget showing Control; nullptr when it has no Qt peer.
QWidget* PeerWidget(const TControl& Control);

}  // namespace zkw
