#include "app/demo_runner.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <charconv>
#include <exception>

#include "platform/devices.h"
#include "platform/picture_files.h"
#include "platform/qt/qt_backend.h"

namespace zkw {

namespace {

bool ParseCoordinate(const std::string& Text, int& Value) {
  if (Text.empty()) return false;
  const char* First = Text.data();
  const char* Last = First + Text.size();
  const auto [End, Fault] = std::from_chars(First, Last, Value);
  // Window messages carry positions as signed 16-bit values.
  return Fault == std::errc() && End == Last && Value >= -32768 && Value <= 32767;
}

Qt::MouseButton QtButton(TMouseButton Button) {
  switch (Button) {
    case mbRight: return Qt::RightButton;
    case mbMiddle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
  }
}

bool Send(TControl& Control, QEvent::Type Type, TPoint P, Qt::MouseButton Button, Qt::MouseButtons Held) {
  QWidget* W = PeerWidget(Control);
  if (!W) return false;
  const QPointF Local(P.X, P.Y);
  QMouseEvent Event(Type, Local, W->mapToGlobal(Local), Button, Held, Qt::NoModifier);
  QCoreApplication::sendEvent(W, &Event);
  Application().ProcessMessages();
  return true;
}

}  // namespace

bool ParseDemoInts(const std::string& Text, int Count, std::vector<int>& Values) {
  Values.clear();
  std::size_t Start = 0;
  for (int I = 0; I < Count; ++I) {
    const std::size_t Comma = Text.find(',', Start);
    const bool Last = I == Count - 1;
    // The last value runs to the end; the others end at a comma.
    if (Last != (Comma == std::string::npos)) return false;
    int V = 0;
    if (!ParseCoordinate(Text.substr(Start, Last ? std::string::npos : Comma - Start), V)) return false;
    Values.push_back(V);
    Start = Comma + 1;
  }
  return true;
}

bool ParseDemoPosition(const std::string& Text, TPoint& Point) {
  std::vector<int> V;
  if (!ParseDemoInts(Text, 2, V)) return false;
  Point = TPoint{V[0], V[1]};
  return true;
}

void StartDemoWindows(bool Headless) {
  if (Headless && !QCoreApplication::instance()) qputenv("QT_QPA_PLATFORM", "offscreen");
  InstallQtBackend();
  Application().Initialize();
}

void ShowAndActivateForm(TForm& Form) {
  Form.Show();
  Application().ProcessMessages();
  if (!Form.Active()) Form.Activate();
}

bool SendDemoMouseMove(TControl& Control, TPoint P, bool LeftHeld) {
  return Send(Control, QEvent::MouseMove, P, Qt::NoButton, LeftHeld ? Qt::LeftButton : Qt::NoButton);
}

bool SendDemoMousePress(TControl& Control, TPoint P, TMouseButton Button) {
  return Send(Control, QEvent::MouseButtonPress, P, QtButton(Button), QtButton(Button));
}

bool SendDemoMouseRelease(TControl& Control, TPoint P, TMouseButton Button) {
  return Send(Control, QEvent::MouseButtonRelease, P, QtButton(Button), Qt::NoButton);
}

bool SendDemoMouseWheel(TControl& Control, TPoint P, int Delta) {
  QWidget* W = PeerWidget(Control);
  if (!W) return false;
  const QPointF Local(P.X, P.Y);
  QWheelEvent Event(Local, W->mapToGlobal(Local), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(W, &Event);
  Application().ProcessMessages();
  return true;
}

bool SendDemoDrag(TControl& Control, TPoint From, TPoint To, TMouseButton Button, int Steps) {
  if (Steps < 1) Steps = 1;
  if (!SendDemoMouseMove(Control, From, false) || !SendDemoMousePress(Control, From, Button)) return false;
  const Qt::MouseButton B = QtButton(Button);
  for (int I = 1; I <= Steps; ++I) {
    const TPoint P{From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps};
    if (!Send(Control, QEvent::MouseMove, P, Qt::NoButton, B)) return false;
  }
  return SendDemoMouseRelease(Control, To, Button);
}

void FreeDemoForm(TForm*& Form) {
  delete Form;
  Form = nullptr;
  Application().ProcessMessages();
}

TDemoFormKeeper::~TDemoFormKeeper() {
  try {
    FreeDemoForm(FForm);
  } catch (...) {
    // Nothing left to report to at this point.
  }
}

bool SaveFormPicture(TForm& Form, const std::string& File, const std::string& Program, std::ostream& Err) {
  Application().ProcessMessages();
  TBitmap Picture;
  if (!Form.GrabImage(Picture)) {
    Err << Program << ": the form could not be drawn\n";
    return false;
  }
  // The file's extension names the format; an unknown one is an error, not
  // PNG bytes under another name.
  try {
    const TPictureFormat Format = PictureFormatOf(File);
    if (Format == pfPdf) {
      SavePicturePdf(Picture, File, ScreenInfo().PixelsPerInch());
    } else {
      SavePicture(Picture, File, Format);
    }
  } catch (const std::exception& E) {
    Err << Program << ": " << E.what() << "\n";
    return false;
  }
  return true;
}

}  // namespace zkw
