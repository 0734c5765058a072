// The seam between the headless controls and real windows. A control that is
// shown on screen holds a peer; the peer forwards the control's state to the
// window system and feeds window-system input back into the control's entry
// points. Without an installed backend there are no peers: everything runs
// headless and tests drive the entry points themselves.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.h"
#include "platform/screen.h"

namespace zkw {

class TControl;
class TForm;

class TControlPeer {
 public:
  virtual ~TControlPeer() = default;
  // Schedules a paint; for a custom control the peer's paint runs the
  // control's WMPaint when one is pending, then shows the surface.
  virtual void Invalidate() = 0;
  // Shows the control's surface again as it is (no Paint).
  virtual void UpdateSurface() = 0;
  virtual void SetBounds(int Left, int Top, int Width, int Height) = 0;
  virtual void SetVisible(bool Visible) = 0;
  virtual void SetEnabled(bool Enabled) = 0;
  virtual void SetCaption(const std::string& Caption) = 0;
  virtual void SetColor(TColor Color) = 0;
  virtual void SetFont(const TFont& Font) = 0;
  virtual void SetCursor(TCursor Cursor) = 0;
  // Label alignment; ignored by other peers.
  virtual void SetAlignment(TAlignment) {}
  // List controls (combo box items, memo lines); ignored by other peers.
  virtual void SetItems(const std::vector<std::string>&) {}
  virtual void AddItem(const std::string&) {}
  virtual void SetItemIndex(int) {}
  virtual void SetChecked(bool) {}
  virtual void SetReadOnly(bool) {}
};

class TFormPeer : public virtual TControlPeer {
 public:
  // Fixed-size frame for dialogs.
  virtual void SetFixedSize(bool Fixed) = 0;
  virtual void Activate() = 0;
  // Copies the form's client area as shown (children included) into Image;
  // false when the window system cannot provide it.
  virtual bool Grab(TBitmap& Image) = 0;
};

class TWindowBackend {
 public:
  virtual ~TWindowBackend() = default;
  // A peer for Control; its parent's peer exists already (forms have none).
  // nullptr for controls the backend does not show.
  virtual std::unique_ptr<TControlPeer> CreatePeer(TControl& Control) = 0;
  // Runs the message loop until Terminate is called.
  virtual void Run() = 0;
  virtual void Terminate() = 0;
  // Handles the pending window-system events and returns.
  virtual void ProcessMessages() = 0;
};

// The installed backend, nullptr when headless. Installing does not create
// peers for controls that exist already.
TWindowBackend* WindowBackend();
void SetWindowBackend(TWindowBackend* Backend);

}  // namespace zkw
