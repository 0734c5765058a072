#include "app/actiondemo_program.h"

#include <cstdlib>
#include <exception>
#include <iostream>

#include "app/demo_runner.h"
#include "app/frmactions.h"

namespace zkw {

const char* const ActiondemoUsage =
    "usage: actiondemo [--trace] [--screenshot FILE [STEP]...]\n"
    "steps, played in order (positions in pixels of the chart):\n"
    "  --action NAME          choose NAME in the drop-down (maPan, maZoomWind, ...)\n"
    "  --move X,Y             move the pointer\n"
    "  --drag X1,Y1,X2,Y2     left-button drag\n"
    "  --rdrag X1,Y1,X2,Y2    right-button drag\n"
    "  --wheel X,Y,DELTA      turn the wheel (120 = one notch away from the user)\n"
    "  --check NAME=0|1       untick or tick ChkScaleX, ChkScaleY, ChkWheelZoom or ChkLogMoves\n"
    "  --back                 click Back\n"
    "--trace (or ACTIONDEMO_TRACE=1) also writes the event log to standard output.";

namespace {

bool IsActionName(const std::string& Name) {
  for (const std::string_view N : MouseActModeNames)
    if (Name == N) return true;
  return false;
}

bool IsCheckName(const std::string& Name) {
  return Name == "ChkScaleX" || Name == "ChkScaleY" || Name == "ChkWheelZoom" || Name == "ChkLogMoves";
}

TCheckBox* CheckBoxOf(TFormActions& Form, const std::string& Name) {
  if (Name == "ChkScaleX") return Form.ChkScaleX;
  if (Name == "ChkScaleY") return Form.ChkScaleY;
  if (Name == "ChkWheelZoom") return Form.ChkWheelZoom;
  if (Name == "ChkLogMoves") return Form.ChkLogMoves;
  return nullptr;
}

bool TraceFromEnvironment() {
  const char* Value = std::getenv("ACTIONDEMO_TRACE");
  return Value && std::string(Value) == "1";
}

constexpr int DragSteps = 8;

}  // namespace

bool ParseActiondemoArgs(const std::vector<std::string>& Args, TActiondemoOptions& Options, std::string& Error) {
  Options = TActiondemoOptions{};
  Options.Trace = TraceFromEnvironment();
  for (std::size_t I = 0; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    const bool HasValue = I + 1 < Args.size();
    const std::string Value = HasValue ? Args[I + 1] : std::string();
    TActiondemoStep Step;
    if (A == "--help" || A == "-h") {
      Options.Help = true;
      continue;
    }
    if (A == "--trace") {
      Options.Trace = true;
      continue;
    }
    if (A == "--screenshot") {
      if (!Options.ScreenshotFile.empty()) {
        Error = "--screenshot given twice";
        return false;
      }
      if (Value.empty()) {
        Error = "--screenshot needs a file name";
        return false;
      }
      Options.ScreenshotFile = Value;
      ++I;
      continue;
    }
    if (A == "--back") {
      Step.Kind = TActiondemoStep::Back;
    } else if (A == "--move" || A == "--drag" || A == "--rdrag" || A == "--wheel") {
      const int Count = A == "--move" ? 2 : A == "--wheel" ? 3 : 4;
      Step.Kind = A == "--move"    ? TActiondemoStep::Move
                  : A == "--wheel" ? TActiondemoStep::Wheel
                  : A == "--drag"  ? TActiondemoStep::Drag
                                   : TActiondemoStep::RightDrag;
      if (!HasValue || !ParseDemoInts(Value, Count, Step.Values)) {
        Error = A + " needs " + std::to_string(Count) + " integers within -32768..32767, separated by commas";
        return false;
      }
      ++I;
    } else if (A == "--action") {
      if (!IsActionName(Value)) {
        Error = "--action needs a mouse action name such as maPan or maZoomWind";
        return false;
      }
      Step.Kind = TActiondemoStep::Action;
      Step.Name = Value;
      ++I;
    } else if (A == "--check") {
      const auto Eq = Value.find('=');
      const std::string Name = Value.substr(0, Eq);
      const std::string State = Eq == std::string::npos ? std::string() : Value.substr(Eq + 1);
      if (!IsCheckName(Name) || (State != "0" && State != "1")) {
        Error = "--check needs NAME=0 or NAME=1 with NAME one of ChkScaleX, ChkScaleY, ChkWheelZoom, ChkLogMoves";
        return false;
      }
      Step.Kind = TActiondemoStep::Check;
      Step.Name = Name;
      Step.On = State == "1";
      ++I;
    } else {
      Error = "unknown argument '" + A + "'";
      return false;
    }
    Options.Steps.push_back(Step);
  }
  if (!Options.Steps.empty() && Options.ScreenshotFile.empty()) {
    Error = "steps need --screenshot";
    return false;
  }
  return true;
}

bool RunActiondemoStep(TFormActions& Form, const TActiondemoStep& Step, std::string& Error) {
  if (!Form.VX1) {
    Error = "the form has no chart";
    return false;
  }
  TVexa& Chart = *Form.VX1;
  const std::vector<int>& V = Step.Values;
  bool Done = false;
  switch (Step.Kind) {
    case TActiondemoStep::Move: Done = SendDemoMouseMove(Chart, TPoint{V[0], V[1]}, false); break;
    case TActiondemoStep::Drag:
    case TActiondemoStep::RightDrag:
      Done = SendDemoDrag(Chart, TPoint{V[0], V[1]}, TPoint{V[2], V[3]},
                          Step.Kind == TActiondemoStep::Drag ? mbLeft : mbRight, DragSteps);
      break;
    case TActiondemoStep::Wheel: Done = SendDemoMouseWheel(Chart, TPoint{V[0], V[1]}, V[2]); break;
    case TActiondemoStep::Action:
      if (!Form.CbAction) break;
      for (int I = 0; I < static_cast<int>(Form.CbAction->Items().size()); ++I)
        if (Form.CbAction->Items()[static_cast<std::size_t>(I)] == Step.Name) Form.CbAction->WMSelectItem(I);
      Done = true;
      break;
    case TActiondemoStep::Check:
      if (TCheckBox* C = CheckBoxOf(Form, Step.Name)) {
        C->SetChecked(Step.On);
        Done = true;
      }
      break;
    case TActiondemoStep::Back:
      if (Form.BtnBack) {
        Form.BtnBack->Click();
        Done = true;
      }
      break;
  }
  Application().ProcessMessages();
  if (!Done) Error = "a step could not be played (missing control or window)";
  return Done;
}

int RunActiondemoHeadless(const TActiondemoOptions& Options, std::ostream& Err) {
  try {
    StartDemoWindows(true);
    TFormActions* Form = nullptr;
    Application().CreateForm(Form);
    const TDemoFormKeeper Keeper(Form);
    if (Options.Trace) Form->SetLogEcho(&std::cout);
    ShowAndActivateForm(*Form);
    std::string Error;
    for (const TActiondemoStep& Step : Options.Steps) {
      if (!RunActiondemoStep(*Form, Step, Error)) {
        Err << "actiondemo: " << Error << "\n";
        return 1;
      }
    }
    return SaveFormPicture(*Form, Options.ScreenshotFile, "actiondemo", Err) ? 0 : 1;
  } catch (const std::exception& E) {
    Err << "actiondemo: " << E.what() << "\n";
    return 1;
  }
}

int RunActiondemoWindow(const TActiondemoOptions& Options, std::ostream& Err) {
  try {
    StartDemoWindows(false);
    TFormActions* Form = nullptr;
    Application().CreateForm(Form);
    if (Options.Trace) Form->SetLogEcho(&std::cout);
    const TDemoFormKeeper Keeper(Form);
    // Returns when the main form closes.
    Application().Run();
  } catch (const std::exception& E) {
    Err << "actiondemo: " << E.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace zkw
