// The Qt peers: a QWidget per shown control. The widget forwards Qt's input
// to the control's entry points; the peer forwards the control's state to
// the widget. When a control goes, its peer detaches the widget from it and
// lets Qt delete it later, so a handler may free a control (even the form)
// in the middle of one of its widget's events.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/peer.h"

namespace zkw::qtpeer {

// The widget side: knows its control until the peer detaches it.
class TControlLink {
 public:
  explicit TControlLink(TControl* Control) : FControl(Control) {}
  TControl* Control() const { return FControl; }
  void Detach() { FControl = nullptr; }

 private:
  TControl* FControl;
};

// Shows a custom control's surface and feeds it the mouse, keys and sizes.
class TSurfaceWidget : public QWidget, public TControlLink {
 public:
  TSurfaceWidget(TCustomControl& Control, QWidget* Parent);

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  // Tab and Backtab move the focus unless the control asks for them.
  bool event(QEvent* Event) override;

 private:
  // Runs F on the control (if still there), then shows the surface again:
  // a handler may have drawn on it directly.
  template <typename F>
  void Dispatch(F&& Fn);
};

// A top-level window for a form; activation raises the form's OnActivate
// and the close button closes the form.
class TFormWidget : public QWidget, public TControlLink {
 public:
  explicit TFormWidget(TForm& Form);

 protected:
  bool event(QEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
};

class TButtonWidget : public QPushButton, public TControlLink {
 public:
  TButtonWidget(TBitBtn& Button, QWidget* Parent);
};

class TLabelWidget : public QLabel, public TControlLink {
 public:
  TLabelWidget(TLabel& Label, QWidget* Parent);
};

// The user's choice reaches the control through WMSelectItem; the peer sets
// the index with the widget's signals blocked, so the program's own
// changes raise no OnChange.
class TComboWidget : public QComboBox, public TControlLink {
 public:
  TComboWidget(TComboBox& Combo, QWidget* Parent);
};

class TCheckWidget : public QCheckBox, public TControlLink {
 public:
  TCheckWidget(TCheckBox& Check, QWidget* Parent);
};

class TMemoWidget : public QPlainTextEdit, public TControlLink {
 public:
  TMemoWidget(TMemo& Memo, QWidget* Parent);
};

// A windowed control without a picture of its own (a panel): a plain widget.
class TContainerWidget : public QWidget, public TControlLink {
 public:
  TContainerWidget(TWinControl& Control, QWidget* Parent);
};

// The peer for any of the widgets above.
class TQtPeer : public virtual TControlPeer {
 public:
  TQtPeer(QWidget* Widget, TControlLink* Link);
  ~TQtPeer() override;
  QWidget* Widget() const { return FWidget.data(); }

  void Invalidate() override;
  void UpdateSurface() override;
  void SetBounds(int Left, int Top, int Width, int Height) override;
  void SetVisible(bool Visible) override;
  void SetEnabled(bool Enabled) override;
  void SetCaption(const std::string& Caption) override;
  void SetColor(TColor Color) override;
  void SetFont(const TFont& Font) override;
  void SetCursor(TCursor Cursor) override;
  void SetAlignment(TAlignment Alignment) override;
  void SetItems(const std::vector<std::string>& Items) override;
  void AddItem(const std::string& Item) override;
  void SetItemIndex(int Index) override;
  void SetChecked(bool Checked) override;
  void SetReadOnly(bool ReadOnly) override;

  // Applies the control's whole state to the new widget.
  void InitFrom(const TControl& Control);

 private:
  QPointer<QWidget> FWidget;
  TControlLink* FLink;
  TColor FColor = clBtnFace;
  TColor FFontColor = clWindowText;
  bool FOwnBackground = false;
  void ApplyPalette();
};

class TQtFormPeer : public TQtPeer, public TFormPeer {
 public:
  explicit TQtFormPeer(TForm& Form) : TQtFormPeer(new TFormWidget(Form)) {}
  void SetFixedSize(bool Fixed) override;
  void SetBounds(int Left, int Top, int Width, int Height) override;
  void Activate() override;
  bool Grab(TBitmap& Image) override;

 private:
  explicit TQtFormPeer(TFormWidget* Widget) : TQtPeer(Widget, Widget) {}
  bool FFixed = false;
};

std::unique_ptr<TControlPeer> CreateQtPeer(TControl& Control);

}  // namespace zkw::qtpeer
