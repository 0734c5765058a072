// How actiondemo runs: in a real window, or headless (--screenshot FILE
// followed by steps), where it builds the form on Qt's offscreen platform,
// plays the steps on it as real Qt events in the given order (pointer moves,
// drags, wheel turns, choices in the drop-down, check boxes, Back) and
// writes a picture of the whole form.
//
// With --trace (or ACTIONDEMO_TRACE=1) every line of the event log is
// written to standard output as well; the log carries the chart's ranges in
// exact form, so a test can check them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zkw {

class TFormActions;

struct TActiondemoStep {
  enum TKind { Move, Drag, RightDrag, Wheel, Action, Check, Back };
  TKind Kind = Move;
  std::vector<int> Values;  // positions in client pixels of the chart; the wheel's delta
  std::string Name;         // Action: enumerator name; Check: check box name
  bool On = false;          // Check
};

struct TActiondemoOptions {
  std::string ScreenshotFile;  // empty: run in a real window
  std::vector<TActiondemoStep> Steps;
  bool Trace = false;
  bool Help = false;
  bool Headless() const { return !ScreenshotFile.empty(); }
};

extern const char* const ActiondemoUsage;

// Reads the command-line arguments (without the program name). False with
// the fault in Error for an unknown argument or action or check box name,
// malformed numbers, a step without --screenshot, or --screenshot twice.
bool ParseActiondemoArgs(const std::vector<std::string>& Args, TActiondemoOptions& Options, std::string& Error);

// Plays one step on the shown form. False (with the reason in Error) when
// the form has no such control or the control has no window.
bool RunActiondemoStep(TFormActions& Form, const TActiondemoStep& Step, std::string& Error);

// Headless run; 0 when the picture was written, 1 when something failed.
int RunActiondemoHeadless(const TActiondemoOptions& Options, std::ostream& Err);

// Real window; returns when the form closes.
int RunActiondemoWindow(const TActiondemoOptions& Options, std::ostream& Err);

}  // namespace zkw
