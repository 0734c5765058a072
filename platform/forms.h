// Forms (top-level windows built from a stored description) and the
// application object that creates them and runs the message loop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/controls.h"

namespace zkw {

enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
extern const char* const FormBorderStyleNames[6];

class TFormPeer;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;
  std::string ClassName() const override { return "TForm"; }

  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  // The area inside the frame; the window system adds the frame outside it.
  void SetClientWidth(int Value) { SetWidth(Value); }
  void SetClientHeight(int Value) { SetHeight(Value); }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);

  // Values a stored description carries; kept and written back.
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int Value) { FTextHeight = Value; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }

  // Showing creates the windows of the form and its controls. Headless
  // there is no window manager, so a shown form is activated at once.
  void SetVisible(bool Value) override;
  void Loaded() override;
  // Hides the form; closing the application's main form ends the program.
  void Close();
  // Raises OnActivate; the window system calls it on each activation.
  virtual void Activate();
  bool Active() const { return FActive; }
  void Deactivate() { FActive = false; }

  // The form as shown on screen (needs a real window); false headless.
  bool GrabImage(TBitmap& Image);
  TFormPeer* FormPeer() const;

  TNotifyEvent OnActivate;
  TNotifyEvent OnClose;

 protected:
  void CreatePeer() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TFormBorderStyle FBorderStyle = bsSizeable;
  bool FScaled = true;
  int FPixelsPerInch = 96;
  int FTextHeight = 13;
  bool FOldCreateOrder = false;
  bool FActive = false;
};

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;
  std::string ClassName() const override { return "TApplication"; }

  void Initialize();
  // Creates a form of class T owned by the application; the first one
  // becomes the main form.
  template <typename T>
  void CreateForm(T*& Reference) {
    Reference = nullptr;
    T* Form = new T(this);
    if (!FMainForm) FMainForm = Form;
    Reference = Form;
  }
  TForm* MainForm() const { return FMainForm; }
  // Shows the main form and runs the message loop until it closes. Headless
  // there is no event source: the main form is shown and Run returns.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ProcessMessages();
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  std::string FTitle;
};

// The program's application object.
TApplication& Application();

}  // namespace zkw
