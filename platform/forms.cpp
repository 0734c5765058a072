#include "platform/forms.h"

#include "platform/peer.h"
#include "platform/properties.h"

namespace zkw {

const char* const FormBorderStyleNames[6] = {"bsNone",   "bsSingle",     "bsSizeable",
                                             "bsDialog", "bsToolWindow", "bsSizeToolWin"};

namespace {
bool FixedFrame(TFormBorderStyle Style) { return Style == bsDialog || Style == bsSingle || Style == bsToolWindow; }
}  // namespace

// ---------------------------------------------------------------- TForm

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  TControl::SetVisible(false);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  // Children's peers live inside the form's window.
  DestroyPeer();
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (TFormPeer* P = FormPeer()) P->SetFixedSize(FixedFrame(Value));
}

void TForm::SetVisible(bool Value) {
  if (Loading()) {
    // Shown by Loaded, once every stored value is in place.
    TControl::SetVisible(Value);
    return;
  }
  if (Value == Visible() && !(Value && !HandleAllocated())) return;
  if (Value) HandleNeeded();
  TControl::SetVisible(Value);
  if (!Value) {
    FActive = false;
    return;
  }
  if (TFormPeer* P = FormPeer())
    P->Activate();  // the window system answers with an activation
  else
    Activate();
}

void TForm::Loaded() {
  TWinControl::Loaded();
  if (Visible() && !HandleAllocated()) SetVisible(true);
}

void TForm::Close() {
  if (OnClose) OnClose(this);
  Hide();
  if (Application().MainForm() == this) Application().Terminate();
}

void TForm::Activate() {
  FActive = true;
  if (OnActivate) OnActivate(this);
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  // A published field never points at a freed component.
  if (Operation != opRemove || !AComponent) return;
  if (const TClassInfo* Info = FindClassInfo(ClassName()))
    for (const TFieldInfo* F : Info->Fields())
      if (F->Get && F->Get(*this) == AComponent) F->Set(*this, nullptr);
}

bool TForm::GrabImage(TBitmap& Image) {
  TFormPeer* P = FormPeer();
  return P && P->Grab(Image);
}

TFormPeer* TForm::FormPeer() const { return dynamic_cast<TFormPeer*>(Peer()); }

void TForm::CreatePeer() {
  // A form is a top-level window: it needs no parent peer.
  if (!Peer() && !Parent() && WindowBackend()) SetPeer(WindowBackend()->CreatePeer(*this));
  TWinControl::CreatePeer();
}

// ---------------------------------------------------------------- TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  FMainForm = nullptr;
  DestroyComponents();
}

void TApplication::Initialize() { FTerminated = false; }

void TApplication::Run() {
  if (!FMainForm) return;
  FTerminated = false;
  FMainForm->Show();
  if (TWindowBackend* Backend = WindowBackend(); Backend && !FTerminated) Backend->Run();
}

void TApplication::Terminate() {
  FTerminated = true;
  if (TWindowBackend* Backend = WindowBackend()) Backend->Terminate();
}

void TApplication::ProcessMessages() {
  if (TWindowBackend* Backend = WindowBackend()) Backend->ProcessMessages();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
  TComponent::Notification(AComponent, Operation);
}

TApplication& Application() {
  static TApplication TheApplication(nullptr);
  return TheApplication;
}

}  // namespace zkw
