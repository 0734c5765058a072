// How snapdemo runs: in a real window (no arguments), or headless
// (--screenshot FILE [--move X,Y]...), where it builds the form on Qt's
// offscreen platform, activates it, sends the pointer positions to the chart
// as real mouse-move events, and writes a picture of the whole form in the
// format its file name names (PNG, JPEG, BMP, or a PDF page of the form's
// size at the screen's resolution).
//
// With the environment variable SNAPDEMO_TRACE=1 the program writes one line
// to standard output on each activation ("activated") and after each mouse
// move over the chart ("move InChart=<0|1> LblX=<text> LblY=<text>"), so
// that a test driving the real window can read the labels.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace zkw {

class TForm1;

struct TSnapdemoOptions {
  std::string ScreenshotFile;  // empty: run in a real window
  std::vector<TPoint> Moves;   // client pixels of the chart, in order
  bool Help = false;
  bool Headless() const { return !ScreenshotFile.empty(); }
};

extern const char* const SnapdemoUsage;

// Reads the command-line arguments (without the program name). Returns false
// and describes the fault in Error for an unknown argument, a missing or
// empty FILE, a FILE whose extension names no picture type (.png, .jpg,
// .jpeg, .bmp, .pdf), a position that is not two integers "X,Y" within -32768..32767,
// --move without --screenshot, or --screenshot given twice.
bool ParseSnapdemoArgs(const std::vector<std::string>& Args, TSnapdemoOptions& Options, std::string& Error);

// True when SNAPDEMO_TRACE is set to 1.
bool TraceRequested();
// Chains the trace lines onto the form's activation and the chart's
// in-chart mouse event; the form's own handlers run first.
void InstallTrace(TForm1& Form, std::ostream& Out);

// Headless run; 0 when the picture was written, 1 when something failed.
int RunHeadless(const TSnapdemoOptions& Options, std::ostream& Err);

}  // namespace zkw
