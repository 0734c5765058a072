#include "app/program.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "app/frmmain.h"
#include "platform/devices.h"
#include "platform/picture_files.h"
#include "platform/qt/qt_backend.h"

namespace zkw {

const char* const SnapdemoUsage = "usage: snapdemo [--screenshot FILE [--move X,Y]...]";

namespace {

bool ParseCoordinate(const std::string& Text, int& Value) {
  if (Text.empty()) return false;
  const char* First = Text.data();
  const char* Last = First + Text.size();
  const auto [End, Fault] = std::from_chars(First, Last, Value);
  // Window messages carry positions as signed 16-bit values.
  return Fault == std::errc() && End == Last && Value >= -32768 && Value <= 32767;
}

bool ParsePosition(const std::string& Text, TPoint& Point) {
  const auto Comma = Text.find(',');
  if (Comma == std::string::npos) return false;
  return ParseCoordinate(Text.substr(0, Comma), Point.X) && ParseCoordinate(Text.substr(Comma + 1), Point.Y);
}

}  // namespace

bool ParseSnapdemoArgs(const std::vector<std::string>& Args, TSnapdemoOptions& Options, std::string& Error) {
  Options = TSnapdemoOptions{};
  bool SawMove = false;
  for (std::size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    if (A == "--help" || A == "-h") {
      Options.Help = true;
    } else if (A == "--screenshot") {
      if (!Options.ScreenshotFile.empty()) {
        Error = "--screenshot given twice";
        return false;
      }
      if (I + 1 >= Args.size() || Args[I + 1].empty()) {
        Error = "--screenshot needs a file name";
        return false;
      }
      Options.ScreenshotFile = Args[++I];
      try {
        PictureFormatOf(Options.ScreenshotFile);
      } catch (const std::exception& E) {
        Error = std::string("--screenshot: ") + E.what();
        return false;
      }
    } else if (A == "--move") {
      TPoint P;
      if (I + 1 >= Args.size() || !ParsePosition(Args[I + 1], P)) {
        Error = "--move needs a position X,Y of two integers within -32768..32767";
        return false;
      }
      ++I;
      Options.Moves.push_back(P);
      SawMove = true;
    } else {
      Error = "unknown argument '" + A + "'";
      return false;
    }
  }
  if (SawMove && Options.ScreenshotFile.empty()) {
    Error = "--move needs --screenshot";
    return false;
  }
  return true;
}

bool TraceRequested() {
  const char* Value = std::getenv("SNAPDEMO_TRACE");
  return Value && std::string(Value) == "1";
}

void InstallTrace(TForm1& Form, std::ostream& Out) {
  std::ostream* Stream = &Out;
  TNotifyEvent Activate = Form.OnActivate;
  Form.OnActivate = [Activate, Stream](TObject* Sender) {
    if (Activate) Activate(Sender);
    *Stream << "activated" << std::endl;
  };
  if (!Form.VX1) return;
  TForm1* Self = &Form;
  TMouseMoveInChartEvent Move = Form.VX1->OnMouseMoveInChart;
  Form.VX1->OnMouseMoveInChart = [Move, Self, Stream](TObject* Sender, bool InChart, TShiftState Shift, double X,
                                                      double Y) {
    if (Move) Move(Sender, InChart, Shift, X, Y);
    *Stream << "move InChart=" << (InChart ? 1 : 0) << " LblX=" << (Self->LblX ? Self->LblX->Caption() : "")
            << " LblY=" << (Self->LblY ? Self->LblY->Caption() : "") << std::endl;
  };
}

int RunHeadless(const TSnapdemoOptions& Options, std::ostream& Err) {
  try {
    // Real widgets, but on Qt's offscreen platform: the labels and the
    // button look as they do on screen, and the picture needs no display.
    if (!QCoreApplication::instance()) qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallQtBackend();
    Application().Initialize();
    TForm1* Form1 = nullptr;
    Application().CreateForm(Form1);
    if (TraceRequested()) InstallTrace(*Form1, std::cout);
    Form1->Show();
    Application().ProcessMessages();
    // The offscreen platform may not activate windows by itself.
    if (!Form1->Active()) Form1->Activate();
    QWidget* Chart = Form1->VX1 ? PeerWidget(*Form1->VX1) : nullptr;
    if (!Chart) {
      Err << "snapdemo: the chart has no window\n";
      return 1;
    }
    for (const TPoint& P : Options.Moves) {
      const QPointF Local(P.X, P.Y);
      QMouseEvent Move(QEvent::MouseMove, Local, Chart->mapToGlobal(Local), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QCoreApplication::sendEvent(Chart, &Move);
      Application().ProcessMessages();
    }
    Application().ProcessMessages();
    TBitmap Picture;
    if (!Form1->GrabImage(Picture)) {
      Err << "snapdemo: the form could not be drawn\n";
      return 1;
    }
    // The file's extension names the format (checked with the arguments).
    const TPictureFormat Format = PictureFormatOf(Options.ScreenshotFile);
    if (Format == pfPdf) {
      SavePicturePdf(Picture, Options.ScreenshotFile, ScreenInfo().PixelsPerInch());
    } else {
      SavePicture(Picture, Options.ScreenshotFile, Format);
    }
    return 0;
  } catch (const std::exception& E) {
    Err << "snapdemo: " << E.what() << "\n";
    return 1;
  }
}

}  // namespace zkw
