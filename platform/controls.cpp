#include "platform/controls.h"

#include <algorithm>

#include "platform/peer.h"

namespace zkw {

namespace {
TWindowBackend* GBackend = nullptr;
}  // namespace

TWindowBackend* WindowBackend() { return GBackend; }
void SetWindowBackend(TWindowBackend* Backend) { GBackend = Backend; }

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  FFont.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  FFont.OnChange = nullptr;
  SetParent(nullptr);
  FPeer.reset();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool Sized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (Sized) SizeChanged();
  if (FPeer) FPeer->SetBounds(FLeft, FTop, FWidth, FHeight);
  if (Sized && !Loading()) Resize();
}

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  if (FPeer) FPeer->SetVisible(Value);
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (FPeer) FPeer->SetEnabled(Value);
}

void TControl::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  ColorChanged();
}

void TControl::ColorChanged() {
  if (FPeer) FPeer->SetColor(FColor);
  Invalidate();
}

void TControl::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  if (Value) ApplyParentFont();
}

void TControl::ApplyParentFont() {
  if (!FParentFont || !FParent) return;
  FTakingParentFont = true;
  try {
    FFont.Assign(FParent->Font());
  } catch (...) {
    FTakingParentFont = false;
    throw;
  }
  FTakingParentFont = false;
}

void TControl::FontChanged() {
  if (!FTakingParentFont) FParentFont = false;
  if (FPeer) FPeer->SetFont(FFont);
  Invalidate();
}

void TControl::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  if (FPeer) FPeer->SetCursor(Value);
}

void TControl::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  TextChanged();
}

void TControl::TextChanged() {
  if (FPeer) FPeer->SetCaption(FText);
  Invalidate();
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EComponentError("A control cannot be its own parent");
  for (TWinControl* P = AParent; P; P = P->Parent())
    if (P == this) throw EComponentError("A control cannot be placed inside one of its own children");
  if (FParent) {
    DestroyPeer();
    auto& L = FParent->FControls;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
  }
  FParent = AParent;
  if (!FParent) return;
  FParent->FControls.push_back(this);
  ApplyParentFont();
  // A control put on a parent whose window exists gets its own at once.
  if (FParent->HandleAllocated()) {
    if (auto* W = dynamic_cast<TWinControl*>(this)) W->HandleNeeded();
    CreatePeer();
  }
}

void TControl::SetPeer(std::unique_ptr<TControlPeer> Peer) { FPeer = std::move(Peer); }

void TControl::CreatePeer() {
  if (FPeer) return;
  TWindowBackend* Backend = WindowBackend();
  if (!Backend || !FParent || !FParent->Peer()) return;
  FPeer = Backend->CreatePeer(*this);
}

void TControl::DestroyPeer() { FPeer.reset(); }

void TControl::Invalidate() {
  if (FPeer) FPeer->Invalidate();
}

void TControl::Update() {}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Loaded() {
  TComponent::Loaded();
  ApplyParentFont();
}

// Message entry points ------------------------------------------------------

void TControl::WMMouseMove(TShiftState Shift, std::int16_t X, std::int16_t Y) { MouseMove(Shift, X, Y); }

void TControl::WMButtonDown(TMouseButton Button, TShiftState Shift, std::int16_t X, std::int16_t Y) {
  if (Button == mbLeft) FClicked = FEnabled;
  MouseDown(Button, Shift, X, Y);
}

void TControl::WMButtonUp(TMouseButton Button, TShiftState Shift, std::int16_t X, std::int16_t Y) {
  // A click is a left press and release on the control.
  if (Button == mbLeft && FClicked) {
    FClicked = false;
    if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) Click();
  }
  MouseUp(Button, Shift, X, Y);
}

void TControl::WMButtonDblClk(TMouseButton Button, TShiftState Shift, std::int16_t X, std::int16_t Y) {
  if (Button == mbLeft) DblClick();
  Shift.Include(ssDouble);
  MouseDown(Button, Shift, X, Y);
}

void TControl::WMMouseWheel(TShiftState Shift, int WheelDelta, std::int16_t X, std::int16_t Y) {
  DoMouseWheel(Shift, WheelDelta, TPoint{X, Y});
}

void TControl::CMMouseEnter() { MouseEnter(); }
void TControl::CMMouseLeave() { MouseLeave(); }

void TControl::WMKeyDown(std::uint16_t Key, TShiftState Shift) { KeyDown(Key, Shift); }
void TControl::WMKeyUp(std::uint16_t Key, TShiftState Shift) { KeyUp(Key, Shift); }
void TControl::WMChar(char Key) { KeyPress(Key); }

void TControl::WMSize(int AWidth, int AHeight) { SetBounds(FLeft, FTop, AWidth, AHeight); }

// Second level ----------------------------------------------------------------

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool Handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
  if (!Handled) {
    if (WheelDelta < 0 && OnMouseWheelDown)
      OnMouseWheelDown(this, Shift, MousePos, Handled);
    else if (WheelDelta > 0 && OnMouseWheelUp)
      OnMouseWheelUp(this, Shift, MousePos, Handled);
  }
  return Handled;
}

void TControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // Children are detached, not freed: their owner frees them.
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
  DestroyPeer();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) return nullptr;
  return FControls[static_cast<std::size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* C = Control; C; C = C->Parent())
    if (C == this) return true;
  return false;
}

void TWinControl::HandleNeeded() {
  if (FHandleAllocated) return;
  CreateWnd();
  FHandleAllocated = true;
  for (TControl* C : std::vector<TControl*>(FControls)) {
    if (auto* W = dynamic_cast<TWinControl*>(C))
      W->HandleNeeded();
    else
      C->CreatePeer();
  }
}

void TWinControl::CreateWnd() {
  FHandleAllocated = true;
  CreatePeer();
}

void TWinControl::CreatePeer() {
  if (!Peer()) TControl::CreatePeer();
  if (!Peer()) return;
  for (TControl* C : FControls) {
    auto* W = dynamic_cast<TWinControl*>(C);
    if (W && !W->HandleAllocated()) continue;  // gets its peer with its window
    C->CreatePeer();
  }
}

void TWinControl::DestroyPeer() {
  // Children's windows live inside ours: they go first.
  for (TControl* C : FControls) C->DestroyPeer();
  TControl::DestroyPeer();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* C : FControls) C->ApplyParentFont();
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() { DestroyPeer(); }

void TCustomControl::CreateWnd() {
  // The surface exists before the peer, which shows it.
  FSurface.SetSize(Width(), Height());
  FSurface.Canvas().Brush().SetColor(Color());
  FSurface.Canvas().Brush().SetStyle(bsSolid);
  FSurface.Canvas().FillRect(TRect{0, 0, Width(), Height()});
  FNeedsPaint = true;
  TWinControl::CreateWnd();
}

void TCustomControl::SizeChanged() {
  if (HandleAllocated()) {
    FSurface.SetSize(Width(), Height());
    FNeedsPaint = true;
  }
}

void TCustomControl::WMPaint() {
  if (!HandleAllocated()) return;
  FNeedsPaint = false;
  Paint();
}

void TCustomControl::Invalidate() {
  FNeedsPaint = true;
  TWinControl::Invalidate();
}

void TCustomControl::Update() {
  if (!HandleAllocated() || !FNeedsPaint) return;
  WMPaint();
  SurfaceChanged();
}

void TCustomControl::SurfaceChanged() {
  if (Peer()) Peer()->UpdateSurface();
}

void TCustomControl::SetDeviceScale(double Scale) {
  CheckDrawScale(Scale);
  TDrawMode Mode = FDrawMode;
  Mode.Scale = Scale;
  ApplyDrawMode(Mode);
}

void TCustomControl::SetDrawAntialiased(bool Value) {
  TDrawMode Mode = FDrawMode;
  Mode.Antialiased = Value;
  ApplyDrawMode(Mode);
}

void TCustomControl::ApplyDrawMode(const TDrawMode& Mode) {
  if (Mode == FDrawMode) return;
  FDrawMode = Mode;
  FSurface.SetDrawMode(Mode);
  DrawModeChanged();
}

void TCustomControl::DrawModeChanged() { Invalidate(); }

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  if (Peer()) Peer()->SetAlignment(Value);
  Invalidate();
}

void TLabel::Loaded() {
  TControl::Loaded();
  AdjustBounds();
}

void TLabel::TextChanged() {
  TControl::TextChanged();
  AdjustBounds();
}

void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  // While loading the font and caption may still change; Loaded adjusts.
  if (!FAutoSize || Loading() || ComponentState().Contains(csDestroying)) return;
  TBitmap Probe(1, 1);
  TCanvas& C = Probe.Canvas();
  C.SetFont(Font());
  const std::string Sample = Caption().empty() ? std::string(" ") : Caption();
  const int W = Caption().empty() ? 0 : C.TextWidth(Sample);
  const int H = C.TextHeight(Sample);
  int X = Left();
  if (FAlignment == taRightJustify) X += Width() - W;
  SetBounds(X, Top(), W, H);
}

// ---------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 75, 25); }

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 145, 24); }

void TComboBox::SetItems(const std::vector<std::string>& Value) {
  FItems = Value;
  if (FItemIndex >= static_cast<int>(FItems.size())) FItemIndex = -1;
  if (Peer()) {
    Peer()->SetItems(FItems);
    Peer()->SetItemIndex(FItemIndex);
  }
}

void TComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= static_cast<int>(FItems.size()) || Value == FItemIndex) return;
  FItemIndex = Value;
  if (Peer()) Peer()->SetItemIndex(Value);
}

std::string TComboBox::SelectedText() const {
  return FItemIndex < 0 ? std::string() : FItems[static_cast<std::size_t>(FItemIndex)];
}

void TComboBox::WMSelectItem(int Index) {
  if (Index < -1 || Index >= static_cast<int>(FItems.size())) return;
  SetItemIndex(Index);
  Change();
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  if (Peer()) Peer()->SetChecked(Value);
  if (!Loading()) TControl::Click();
}

void TCheckBox::Click() { SetChecked(!FChecked); }

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 185, 89);
  SetColor(clWindow);
}

void TMemo::AddLine(const std::string& Value) {
  std::size_t Start = 0;
  for (;;) {
    const std::size_t End = Value.find('\n', Start);
    FLines.push_back(Value.substr(Start, End == std::string::npos ? std::string::npos : End - Start));
    if (Peer()) Peer()->AddItem(FLines.back());
    if (End == std::string::npos) break;
    Start = End + 1;
  }
  Trim();
}

void TMemo::ClearLines() {
  FLines.clear();
  if (Peer()) Peer()->SetItems(FLines);
}

std::string TMemo::JoinedText() const {
  std::string Result;
  for (std::size_t I = 0; I < FLines.size(); ++I) {
    if (I) Result += '\n';
    Result += FLines[I];
  }
  return Result;
}

void TMemo::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (Peer()) Peer()->SetReadOnly(Value);
}

void TMemo::SetMaxLines(int Value) {
  FMaxLines = std::max(Value, 0);
  Trim();
}

void TMemo::Trim() {
  if (FMaxLines <= 0 || static_cast<int>(FLines.size()) <= FMaxLines) return;
  // Drop a quarter more than needed, so the window's text is rebuilt
  // only now and then, not on every line.
  const std::size_t Keep = static_cast<std::size_t>(FMaxLines - FMaxLines / 4);
  FLines.erase(FLines.begin(), FLines.end() - static_cast<std::ptrdiff_t>(std::min(Keep, FLines.size())));
  if (Peer()) Peer()->SetItems(FLines);
}

}  // namespace zkw
