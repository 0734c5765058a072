#include "platform/qt/qt_backend.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "platform/forms.h"
#include "platform/gui_app.h"
#include "platform/qt/qt_peers.h"

namespace zkw {

namespace {

class TQtBackend : public TWindowBackend {
 public:
  std::unique_ptr<TControlPeer> CreatePeer(TControl& Control) override { return qtpeer::CreateQtPeer(Control); }

  // TApplication only enters the loop while it is not terminated; quit()
  // ends a running loop.
  void Run() override {
    if (QCoreApplication::instance()) QCoreApplication::exec();
  }

  void Terminate() override { QCoreApplication::quit(); }

  void ProcessMessages() override {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Widgets of freed controls are deleted later; at the top level that
    // is now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TQtBackend& Backend() {
  static TQtBackend B;
  return B;
}

QApplication* MakeApplication(int& Argc, char** Argv) { return new QApplication(Argc, Argv); }

void ApplyOverrideCursor(TCursor Cursor) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (Cursor == crDefault) {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return;
  }
  if (QApplication::overrideCursor())
    QApplication::changeOverrideCursor(CursorToQt(Cursor));
  else
    QApplication::setOverrideCursor(CursorToQt(Cursor));
}

void ShowQtMessageBox(const std::string& Text) {
  const QString Title = Application().Title().empty() ? QCoreApplication::applicationName()
                                                      : QString::fromStdString(Application().Title());
  QMessageBox Box(QMessageBox::Information, Title, QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())),
                  QMessageBox::Ok);
  Box.exec();
}

}  // namespace

void InstallQtApplicationFactory() { SetGuiApplicationFactory(MakeApplication); }

void InstallQtBackend() {
  InstallQtApplicationFactory();
  if (!QCoreApplication::instance()) {
    // Lives as long as the program; a real display is used when there is one.
    static int Argc = 1;
    static char Name[] = "snapdemo";
    static char* Argv[] = {Name, nullptr};
    MakeApplication(Argc, Argv);
  }
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw Exception("Real windows need a QApplication, but a plain GUI application is running already");
  QApplication::setQuitOnLastWindowClosed(false);
  SetWindowBackend(&Backend());
  SetCursorHook(ApplyOverrideCursor);
  SetMessageBoxHook(ShowQtMessageBox);
}

void UninstallQtBackend() {
  if (WindowBackend() == &Backend()) SetWindowBackend(nullptr);
  SetCursorHook(nullptr);
  SetMessageBoxHook(nullptr);
}

QWidget* PeerWidget(const TControl& Control) {
  auto* P = dynamic_cast<qtpeer::TQtPeer*>(Control.Peer());
  return P ? P->Widget() : nullptr;
}

}  // namespace zkw
