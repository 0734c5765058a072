// What both demo programs share: reading pixel positions from the command
// line, starting the window backend (on a display or on Qt's offscreen
// platform), showing and activating the main form, sending a control real
// Qt mouse events as the window system would, and saving a picture of the
// form.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/graphics.h"

namespace zkw {

// "X,Y" (or "X1,Y1,X2,Y2", ... for Count values): integers within
// -32768..32767, as window messages carry them. False for anything else.
bool ParseDemoInts(const std::string& Text, int Count, std::vector<int>& Values);
bool ParseDemoPosition(const std::string& Text, TPoint& Point);

// Installs the Qt backend and initialises the application object. Headless,
// the widgets are real but live on Qt's offscreen platform (unless a Qt
// application exists already), so pictures look as on screen.
void StartDemoWindows(bool Headless);

// Shows the form and lets its windows appear; activates it when the window
// system did not (the offscreen platform may not).
void ShowAndActivateForm(TForm& Form);

// Real Qt mouse events sent to the control's widget, followed by the
// pending window messages. False when the control has no widget.
bool SendDemoMouseMove(TControl& Control, TPoint P, bool LeftHeld);
bool SendDemoMousePress(TControl& Control, TPoint P, TMouseButton Button);
bool SendDemoMouseRelease(TControl& Control, TPoint P, TMouseButton Button);
bool SendDemoMouseWheel(TControl& Control, TPoint P, int Delta);
// Press at From, Steps moves on the straight line to To with the button
// held, release at To.
bool SendDemoDrag(TControl& Control, TPoint From, TPoint To, TMouseButton Button, int Steps);

// Frees the form now, while the window system is fully alive: left to the
// program's exit, its widgets would go while Qt's text machinery is being
// torn down, and a focus change on the way could reach it.
void FreeDemoForm(TForm*& Form);
// Runs FreeDemoForm when it goes out of scope, on every way out.
class TDemoFormKeeper {
 public:
  explicit TDemoFormKeeper(TForm* Form) : FForm(Form) {}
  ~TDemoFormKeeper();
  TDemoFormKeeper(const TDemoFormKeeper&) = delete;
  TDemoFormKeeper& operator=(const TDemoFormKeeper&) = delete;

 private:
  TForm* FForm;
};

// Grabs the form as shown and writes it to File (format from the
// extension). False, with a line on Err naming Program, when that fails.
bool SaveFormPicture(TForm& Form, const std::string& File, const std::string& Program, std::ostream& Err);

}  // namespace zkw
