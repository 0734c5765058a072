/// @class zkw::VexaItem quick/vexa_item.h "quick/vexa_item.h"
/// VexaItem: the chart as a Qt Quick item (QML type VexaItem in the module
/// Zkw.Vexa 1.0). The same TVexa as in VexaWidget, with the same Qt-style
/// face (face()), properties and signals.
///
/// @code
///   import Zkw.Vexa
///   VexaItem {
///       anchors.fill: parent
///       mouseAction: "maPan"
///       Component.onCompleted: { addMarks([1, 2, 3], [4, 5, 6], Mark.FilledSquare); redraw() }
///   }
/// @endcode
///
/// The item owns its chart (chart()); the chart follows the item's size
/// (width and height bindings, anchors, layouts), and a size set on the
/// chart sets the item's. The chart's window surface goes into the scene
/// graph as one texture, uploaded only in frames after the surface changed.
/// Mouse presses, moves (with or without a button: hover), releases, double
/// clicks, the wheel, enter, leave and keys reach the chart through the same
/// translation of Qt events as in VexaWidget; pointer shapes go onto this
/// item only, and nothing application-wide changes.
///
/// C++ reaches the chart through chart(); a C++ function that is handed the
/// item from QML (as a QObject* or QQuickItem* argument of an invokable) gets
/// it with VexaItem::chartOf(Object), nullptr for anything but a VexaItem.
/// After changing the chart that way, redraw() shows the change and reports
/// the properties that changed (syncProperties() reports without drawing).
///
/// Properties notify their changes, also after every pan, zoom, wheel step
/// or range step back. Bad input from QML (arrays of different lengths,
/// non-numbers, NaN, an unknown action name, an unwritable file) gives a QML
/// warning naming the problem and changes nothing.
#pragma once

#include <QImage>
#include <QPointF>
#include <QQuickItem>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <atomic>
#include <memory>

#include "chart/ZKW_vexa.h"
#include "widgets/chart_signals.h"
#include "widgets/qt_face.h"

namespace zkw {

class TItemPeer;

class VexaItem : public QQuickItem {
  Q_OBJECT
  QML_ELEMENT
  /// The mouse action by name ("maPan", the TMouseActMode names).
  Q_PROPERTY(QString mouseAction READ mouseAction WRITE setMouseAction NOTIFY mouseActionChanged)
  /// Whether the wheel zooms.
  Q_PROPERTY(bool wheelZoom READ wheelZoom WRITE setWheelZoom NOTIFY wheelZoomChanged)
  /// Smooth drawing at every device ratio and in every picture (the chart's Antialiased).
  Q_PROPERTY(bool antialiased READ antialiased WRITE setAntialiased NOTIFY antialiasedChanged)
  /// The chart's caption.
  Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY captionChanged)
  /// The captions of layer 1's x and y scales.
  Q_PROPERTY(QString xCaption READ xCaption WRITE setXCaption NOTIFY xCaptionChanged)
  Q_PROPERTY(QString yCaption READ yCaption WRITE setYCaption NOTIFY yCaptionChanged)  ///< see xCaption
  /// The colour of the plot area.
  Q_PROPERTY(QColor chartColor READ chartColor WRITE setChartColor NOTIFY chartColorChanged)
  /// The colour of new data items.
  Q_PROPERTY(QColor dataColor READ dataColor WRITE setDataColor NOTIFY dataColorChanged)
  /// The ends of layer 1's ranges.
  Q_PROPERTY(double xLow READ xLow WRITE setXLow NOTIFY xLowChanged)
  Q_PROPERTY(double xHigh READ xHigh WRITE setXHigh NOTIFY xHighChanged)  ///< see xLow
  Q_PROPERTY(double yLow READ yLow WRITE setYLow NOTIFY yLowChanged)      ///< see xLow
  Q_PROPERTY(double yHigh READ yHigh WRITE setYHigh NOTIFY yHighChanged)  ///< see xLow
  /// The hover highlight over the nearest item (off by default; never in the data).
  Q_PROPERTY(bool hoverHighlight READ hoverHighlight WRITE setHoverHighlight NOTIFY hoverHighlightChanged)
  /// Whether hoverText carries the hovered item's values (off by default).
  Q_PROPERTY(bool toolTip READ toolTip WRITE setToolTip NOTIFY toolTipChanged)
  /// The text for a tooltip on the hovered item; empty when none.
  Q_PROPERTY(QString hoverText READ hoverText NOTIFY hoverChanged)
  /// Where the hovered item lies on the item (pixels).
  Q_PROPERTY(QPointF hoverPoint READ hoverPoint NOTIFY hoverChanged)

 public:
  /// Creates the item with its own chart, 400 x 300 by default.
  explicit VexaItem(QQuickItem* Parent = nullptr);
  ~VexaItem() override;

  /// The chart; owned by the item, lives as long as it.
  TVexa* chart() const { return FChart.get(); }
  /// The chart of Object when it is a VexaItem (the item as QML hands it to
  /// C++: a QObject* or QQuickItem*), otherwise nullptr.
  static TVexa* chartOf(QObject* Object);
  /// The chart in Qt's conventions (see ChartFace).
  ChartFace& face() { return *FFace; }

  /// Property accessors (see the Q_PROPERTYs).
  ///@{
  QString mouseAction() const { return FFace->mouseAction(); }
  void setMouseAction(const QString& Name);
  bool wheelZoom() const { return FFace->wheelZoom(); }
  void setWheelZoom(bool On);
  bool antialiased() const { return FFace->antialiased(); }
  void setAntialiased(bool On);
  QString caption() const { return FFace->caption(); }
  void setCaption(const QString& Caption);
  QString xCaption() const { return FFace->xCaption(); }
  void setXCaption(const QString& Caption);
  QString yCaption() const { return FFace->yCaption(); }
  void setYCaption(const QString& Caption);
  QColor chartColor() const { return FFace->chartColor(); }
  void setChartColor(const QColor& Color);
  QColor dataColor() const { return FFace->dataColor(); }
  void setDataColor(const QColor& Color);
  double xLow() const { return FFace->rangeEnd(ChartAxis::X, false); }
  void setXLow(double Value);
  double xHigh() const { return FFace->rangeEnd(ChartAxis::X, true); }
  void setXHigh(double Value);
  double yLow() const { return FFace->rangeEnd(ChartAxis::Y, false); }
  void setYLow(double Value);
  double yHigh() const { return FFace->rangeEnd(ChartAxis::Y, true); }
  void setYHigh(double Value);
  bool hoverHighlight() const { return FFace->hoverHighlight(); }
  void setHoverHighlight(bool On);
  bool toolTip() const { return FFace->toolTip(); }
  void setToolTip(bool On);
  QString hoverText() const { return FFace->hoverText(); }
  QPointF hoverPoint() const;
  ///@}

  /// Operations for QML. Numbers must be numbers (finite); xs and ys are
  /// JavaScript arrays or QList<qreal> of the same length; type is a mark
  /// symbol (0..255, e.g. Mark.FilledSquare). A refused call warns and
  /// returns false with nothing appended.
  ///@{
  Q_INVOKABLE bool addMark(const QVariant& x, const QVariant& y, const QVariant& type);
  Q_INVOKABLE bool addMarks(const QVariant& xs, const QVariant& ys, const QVariant& type);
  Q_INVOKABLE bool addLine(const QVariant& x1, const QVariant& y1, const QVariant& x2, const QVariant& y2);
  /// One connected line through the points (xs[i], ys[i]) in dataColor,
  /// appended in one go (fast for 100,000 points and more).
  Q_INVOKABLE bool addPolyline(const QVariant& xs, const QVariant& ys);
  /// Removes every data item (the picture follows at the next redraw()).
  Q_INVOKABLE void clear();
  /// Draws the chart again (after adding data).
  Q_INVOKABLE void redraw();
  /// Back to the previous ranges (RangeHistoryBack); false when there are none.
  Q_INVOKABLE bool rangeHistoryBack();
  /// Saves the chart's picture (format by extension); warns and returns
  /// false when it cannot. A PNG, JPEG or BMP has scale picture pixels per
  /// item pixel (1: the item's size, 3: a 300-dpi figure of a 100-dpi
  /// chart; PDF and SVG ignore it). Without a scale the picture is what the
  /// window shows, at its device pixel ratio (twice the item's size at ratio
  /// 2; 1 without a window). A scale that is not a finite number above 0 and
  /// at most 64 is refused.
  Q_INVOKABLE bool saveImage(const QString& file, const QVariant& scale = QVariant());
  /// The data item nearest to a world point of the current layer: a map with
  /// index (-1 when there is none), x, y (the item's) and distance (pixels).
  Q_INVOKABLE QVariantMap findNearestItem(double x, double y) const;
  ///@}

  /// Emits the change signals of the properties that changed since the last
  /// report (after changes made through chart()).
  void syncProperties();
  /// How many times the chart's surface was copied into a texture so far.
  int textureUploads() const { return FUploads.load(); }

 signals:
  /// As VexaWidget's signals of the same names.
  ///@{
  void mouseMoveInChart(bool inChart, double x, double y);
  void zoomPan();
  void rubberBand(int layer, double loX, double loY, double hiX, double hiY);
  void selectRect(int layer, double loX, double loY, double hiX, double hiY);
  void crossHairMoved(int index);
  void textLabelMoved(int index);
  ///@}
  /// Change signals of the properties.
  ///@{
  void mouseActionChanged();
  void wheelZoomChanged();
  void antialiasedChanged();
  void captionChanged();
  void xCaptionChanged();
  void yCaptionChanged();
  void chartColorChanged();
  void dataColorChanged();
  void xLowChanged();
  void xHighChanged();
  void yLowChanged();
  void yHighChanged();
  void hoverHighlightChanged();
  void toolTipChanged();
  void hoverChanged();
  ///@}

 protected:
  /// Runs the chart's pending paint before the frame (on the GUI thread).
  void updatePolish() override;
  /// Shows the surface as a texture, copied only when it changed, and the
  /// hover highlight above it.
  QSGNode* updatePaintNode(QSGNode* Old, UpdatePaintNodeData* Data) override;
  /// The chart follows the item's size.
  void geometryChange(const QRectF& NewGeometry, const QRectF& OldGeometry) override;
  /// A new window or device pixel ratio shows the surface again.
  void itemChange(ItemChange Change, const ItemChangeData& Value) override;
  /// Qt's input, passed to the chart's message entry points.
  ///@{
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void hoverEnterEvent(QHoverEvent* Event) override;
  void hoverMoveEvent(QHoverEvent* Event) override;
  void hoverLeaveEvent(QHoverEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  ///@}

 private:
  friend class TItemPeer;
  // Runs Fn on the chart with its signals chained and its pointer shapes
  // sent to this item; false when Fn destroyed the item.
  template <typename F>
  bool runOnChart(F&& Fn);
  // runOnChart, then asks for a frame and reports the properties that changed.
  template <typename F>
  void dispatch(F&& Fn);
  void followPointer(QPointF Position);
  void surfaceChanged();
  void paintRequested();
  void setPointerShape(TCursor Shape);
  void applyCursor();
  void setRangeEnd(ChartAxis Axis, bool High, double Value);
  bool refused(bool Ok);
  const QImage& pictureForWindowRatio() const;
  void ratioChanged();
  void watchScreen(QQuickWindow* Window);

  std::unique_ptr<TVexa> FChart;
  std::unique_ptr<ChartFace> FFace;
  TChartSignalHandlers<VexaItem> FSignals;
  TCursor FPointerShape = crDefault;
  bool FSurfaceDirty = true;
  bool FHighlightDirty = true;
  QMetaObject::Connection FScreenConnection;  ///< the window's screenChanged
  bool FClosing = false;  ///< set while the item goes: the chart's last requests are dropped
  std::atomic<int> FUploads{0};  ///< written where the scene graph renders
};

}  // namespace zkw
