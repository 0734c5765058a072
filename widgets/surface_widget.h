/// @class zkw::SurfaceWidget widgets/surface_widget.h "widgets/surface_widget.h"
/// The common base of the library's Qt widgets: a QWidget that owns one of the
/// library's self-painting controls, takes part in layouts, shows the
/// control's window surface and feeds it Qt's input.
///
/// What it never does: change application-wide state. It needs no framework
/// backend (InstallQtBackend), sets no application attribute, no override
/// cursor and no other widget's focus policy. Pointer shapes the control sets
/// while it handles this widget's input go onto this widget (setCursor). Tab
/// and Backtab move the focus on past the widget as in any Qt form.
///
/// Size: the widget owns the control's size. The control fills the widget
/// (its position is always 0, 0) and follows every resize; a size set on
/// the control resizes the widget, which a layout may override.
///
/// Device pixel ratios: the widget gives the control its device pixel ratio
/// as the device scale (TCustomControl::SetDeviceScale), so the control draws
/// its surface natively at the device's resolution - lines, marks, curves,
/// texts and the exclusive-or figures of drags alike - and the widget shows
/// one surface pixel per device pixel. At ratio 1 (without anti-aliasing)
/// the widget shows exactly the pixels of the headless rendering. A window
/// moved to a screen of another ratio paints again at the new one.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "platform/controls.h"

namespace zkw {

class TWidgetPeer;

class SurfaceWidget : public QWidget {
  Q_OBJECT

 public:
  ~SurfaceWidget() override;

  /// 400 x 300, or the smallest useful size when that is larger.
  QSize sizeHint() const override;
  /// The control's smallest useful size (minimumControlSize()).
  QSize minimumSizeHint() const override;

  /// The picture the widget shows now at its device pixel ratio (device
  /// pixels; devicePixelRatio() set), without waiting for a paint event.
  QImage renderImage();

 protected:
  /// Takes ownership of Control, whose window the derived widget has created with
  /// this widget's peer (see TEmbedded).
  SurfaceWidget(std::unique_ptr<TCustomControl> Control, QWidget* Parent);
  /// The hosted control.
  TCustomControl& control() const { return *FControl; }

  /// Called before every call into the control: re-chain the event slots.
  virtual void chainEvents() {}
  /// Called after the control has handled an input event (the widget still
  /// exists): a derived widget reports what the input changed.
  virtual void inputHandled() {}
  /// Smallest useful size of the control.
  virtual QSize minimumControlSize() const { return {16, 16}; }
  /// Brings the surface up to date before it is shown: by default runs a
  /// pending paint (a full one when Fresh is set).
  virtual void paintControl(bool Fresh);

  /// Qt's events, passed to the control's message entry points with the pointer
  /// shapes routed to this widget; the widget repaints after each (input may
  /// change the picture). A paint shows the control's surface at the device
  /// ratio; a resize sets the control's size.
  ///@{
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  ///@}

 private:
  friend class TWidgetPeer;
  /// Runs Fn on the control with the pointer shapes routed to this widget and
  /// the event slots chained.
  template <typename F>
  void callControl(F&& Fn);
  /// callControl, then a repaint of the widget (input may change the picture).
  template <typename F>
  void dispatch(F&& Fn);
  void setPointerShape(TCursor Shape);
  void applyCursor();
  std::unique_ptr<TCustomControl> FControl;
  TCursor FPointerShape = crDefault;  ///< the shape the control asked for
};

}  // namespace zkw
