// Controls: rectangles on a parent with a colour, a font, a cursor and the
// standard input events; windowed controls with children; the custom control
// whose window is a 32-bit surface it paints itself; labels and buttons.
//
// Input reaches a control through plain entry points (WMMouseMove,
// WMButtonDown, ...), called by the Qt peer or directly by tests. Their
// default handling calls the virtual MouseMove / MouseDown / DblClick / ...,
// whose default raises the matching event, so a derived control may override
// either level.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/components.h"
#include "platform/graphics.h"
#include "platform/screen.h"

namespace zkw {

enum TShiftStateItem : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Virtual key codes carried by the key entry points (letters and digits are
// their upper-case ASCII codes).
constexpr std::uint16_t VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
                        VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
                        VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46;

// One wheel notch.
constexpr int WHEEL_DELTA = 120;

class TControlPeer;
class TWinControl;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  std::string ClassName() const override { return "TControl"; }

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Every bounds change ends here; negative sizes become 0. A size change
  // resizes the window surface and (except while loading) raises OnResize.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return FWidth; }
  int ClientHeight() const { return FHeight; }

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // The control's own font; changing it switches ParentFont off.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& Value) { FFont.Assign(Value); }
  // While on, the control takes its parent's font whenever that changes.
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  // Asks for a paint at the next opportunity.
  virtual void Invalidate();
  // Runs a pending paint now.
  virtual void Update();
  // Invalidate and Update: the control is painted before Repaint returns.
  void Repaint();

  // Message entry points: positions are client pixels as the window system
  // delivers them (signed 16 bits).
  virtual void WMMouseMove(TShiftState Shift, std::int16_t X, std::int16_t Y);
  virtual void WMButtonDown(TMouseButton Button, TShiftState Shift, std::int16_t X, std::int16_t Y);
  virtual void WMButtonUp(TMouseButton Button, TShiftState Shift, std::int16_t X, std::int16_t Y);
  // A double click: the left button raises DblClick; every button then
  // gets a MouseDown with ssDouble added to Shift.
  virtual void WMButtonDblClk(TMouseButton Button, TShiftState Shift, std::int16_t X, std::int16_t Y);
  virtual void WMMouseWheel(TShiftState Shift, int WheelDelta, std::int16_t X, std::int16_t Y);
  virtual void CMMouseEnter();
  virtual void CMMouseLeave();
  virtual void WMKeyDown(std::uint16_t Key, TShiftState Shift);
  virtual void WMKeyUp(std::uint16_t Key, TShiftState Shift);
  virtual void WMChar(char Key);
  // The window was resized by the window system.
  virtual void WMSize(int AWidth, int AHeight);
  // Paint request from the window system; controls without a surface ignore it.
  virtual void WMPaint() {}

  // Second level: the default raises the event of the same name.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Raises OnMouseWheel, then (unless handled) OnMouseWheelDown or
  // OnMouseWheelUp; returns whether a handler took the wheel.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void Resize();

  void Loaded() override;

  // The real window showing this control; nullptr headless.
  TControlPeer* Peer() const { return FPeer.get(); }

  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TNotifyEvent OnResize;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  // The caption or text of controls that show one (forms, labels, buttons
  // publish it as Caption).
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  virtual void TextChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  // Called by SetBounds after a size change, before peers and OnResize.
  virtual void SizeChanged() {}
  // Creates the peer when a window backend is installed and the parent has
  // a peer; DestroyPeer also removes the peers of children.
  virtual void CreatePeer();
  virtual void DestroyPeer();
  // Takes the parent's font while ParentFont is on.
  void ApplyParentFont();
  bool Loading() const { return ComponentState().Contains(csLoading); }
  void SetPeer(std::unique_ptr<TControlPeer> Peer);

 private:
  friend class TWinControl;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  bool FClicked = false;
  TColor FColor = clBtnFace;
  TCursor FCursor = crDefault;
  TFont FFont;
  std::string FText;
  TWinControl* FParent = nullptr;
  std::unique_ptr<TControlPeer> FPeer;
};

// A control that has a window of its own and may hold child controls.
// Removing a child (or destroying the parent) detaches it; children are
// freed by their owner, not by their parent.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  std::string ClassName() const override { return "TWinControl"; }

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;  // nullptr outside 0..ControlCount-1
  bool ContainsControl(const TControl* Control) const;

  bool HandleAllocated() const { return FHandleAllocated; }
  // Creates the window (CreateWnd) and then the windows of the children.
  void HandleNeeded();

  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int Value) { FTabOrder = Value; }

 protected:
  // Creates this control's window: marks the handle allocated and creates
  // the peer. Overrides call the inherited CreateWnd first.
  virtual void CreateWnd();
  void CreatePeer() override;
  void DestroyPeer() override;
  void FontChanged() override;

 private:
  friend class TControl;
  std::vector<TControl*> FControls;
  bool FHandleAllocated = false;
  int FTabOrder = -1;
};

// A windowed control that paints itself: its window is a 32-bit surface of
// its size (allocated by CreateWnd, resized with the control) and Canvas()
// draws on it. Paint runs on WMPaint; drawing outside Paint (for example
// exclusive-or rubber bands) writes into the surface too and is shown after
// SurfaceChanged.
// Answers of the dialog-code query: the navigation keys a control handles
// itself instead of leaving them to the form's focus navigation.
enum TDialogCode : std::uint8_t { dcWantArrows, dcWantTab };
using TDialogCodes = TSet<TDialogCode>;

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  std::string ClassName() const override { return "TCustomControl"; }

  TCanvas& Canvas() { return FSurface.Canvas(); }
  TBitmap& WindowSurface() { return FSurface; }
  const TBitmap& WindowSurface() const { return FSurface; }

  // Runs Paint on the surface (when the window exists) and shows the result.
  void WMPaint() override;
  void Invalidate() override;
  void Update() override;
  // A paint was requested and has not run yet.
  bool NeedsPaint() const { return FNeedsPaint; }
  // The surface was drawn on outside Paint; the peer shows it again.
  void SurfaceChanged();
  // The dialog-code query; by default the form keeps Tab and the arrow keys.
  virtual TDialogCodes WMGetDlgCode() const { return {}; }

  // How the surface and the control's own pictures are drawn. The view that
  // shows the control sets the device scale (its device pixel ratio); a
  // control with an Antialiased property sets that part. A change takes
  // effect at once and asks for a full paint. Raises EInvalidGraphic for a
  // scale that is not finite or not above 0 (nothing changes then).
  const TDrawMode& DrawMode() const { return FDrawMode; }
  void SetDeviceScale(double Scale);

 protected:
  void SetDrawAntialiased(bool Value);
  // The surface has taken the new mode; a control with pictures of its own
  // gives them the mode here (the inherited one only invalidates).
  virtual void DrawModeChanged();
  virtual void Paint() {}
  void CreateWnd() override;
  void SizeChanged() override;

 private:
  void ApplyDrawMode(const TDrawMode& Mode);
  TBitmap FSurface;
  TDrawMode FDrawMode;
  bool FNeedsPaint = true;
};

// A caption on the parent's background.
class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* AOwner);
  std::string ClassName() const override { return "TLabel"; }
  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  // While on, the label's size follows its caption and font (kept from the
  // right edge for right-justified labels).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  void Loaded() override;

 protected:
  void TextChanged() override;
  void FontChanged() override;

 private:
  void AdjustBounds();
  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
};

// A push button with a caption; a click raises OnClick.
class TBitBtn : public TWinControl {
 public:
  explicit TBitBtn(TComponent* AOwner);
  std::string ClassName() const override { return "TBitBtn"; }
  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
};

// A drop-down list of texts of which one (or none) is selected. Choosing an
// item in the window raises OnChange; setting ItemIndex from code does not.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  std::string ClassName() const override { return "TComboBox"; }
  const std::vector<std::string>& Items() const { return FItems; }
  // Replaces the list; the selection is kept when its index still exists.
  void SetItems(const std::vector<std::string>& Value);
  // -1 for no selection; values outside -1..count-1 are ignored.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // The selected item's text, empty without a selection.
  std::string SelectedText() const;
  // Entry point of the window: the user chose item Index.
  void WMSelectItem(int Index);
  virtual void Change();
  TNotifyEvent OnChange;

 private:
  std::vector<std::string> FItems;
  int FItemIndex = -1;
};

// A box with a caption that the user ticks on and off. Every change of
// Checked (the user's or the program's, except while loading) raises OnClick.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  std::string ClassName() const override { return "TCheckBox"; }
  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  // A left click on the box toggles it.
  void Click() override;

 private:
  bool FChecked = false;
};

// A multi-line text box holding a list of lines. With MaxLines above 0 the
// oldest lines go when AddLine would exceed it, so a log stays bounded.
class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* AOwner);
  std::string ClassName() const override { return "TMemo"; }
  const std::vector<std::string>& Lines() const { return FLines; }
  // Line feeds in Value start new lines.
  void AddLine(const std::string& Value);
  void ClearLines();
  // All lines joined by line feeds.
  std::string JoinedText() const;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  int MaxLines() const { return FMaxLines; }
  void SetMaxLines(int Value);

 private:
  void Trim();
  std::vector<std::string> FLines;
  bool FReadOnly = false;
  int FMaxLines = 0;
};

}  // namespace zkw
