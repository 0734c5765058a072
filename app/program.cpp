#include "app/program.h"

#include <cstdlib>
#include <exception>
#include <iostream>

#include "app/demo_runner.h"
#include "app/frmmain.h"
#include "platform/devices.h"
#include "platform/picture_files.h"
#include "platform/qt/qt_backend.h"

namespace zkw {

const char* const SnapdemoUsage = "usage: snapdemo [--screenshot FILE [--move X,Y]...]";

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
      if (I + 1 >= Args.size() || !ParseDemoPosition(Args[I + 1], P)) {
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
    StartDemoWindows(true);
    TForm1* Form1 = nullptr;
    Application().CreateForm(Form1);
    if (TraceRequested()) InstallTrace(*Form1, std::cout);
    ShowAndActivateForm(*Form1);
    if (!Form1->VX1 || !PeerWidget(*Form1->VX1)) {
      Err << "snapdemo: the chart has no window\n";
      return 1;
    }
    for (const TPoint& P : Options.Moves) SendDemoMouseMove(*Form1->VX1, P, false);
    return SaveFormPicture(*Form1, Options.ScreenshotFile, "snapdemo", Err) ? 0 : 1;
  } catch (const std::exception& E) {
    Err << "snapdemo: " << E.what() << "\n";
    return 1;
  }
}

}  // namespace zkw
