/// @file
/// ChartFace: the chart in Qt's own conventions, shared by VexaWidget and the
/// QML item. It holds no state of the chart's own and owns no QObject: every
/// call goes through the component API of the TVexa it was given (which
/// stays as it is), with Qt types in and out:
///
/// - colours are QColor, texts QString, file names QString;
/// - data are QPointF, spans of QPointF or of x and y values, QDateTime on
///   date/time axes (converted to the chart's day numbers);
/// - ranges are QRectF (x, y = low ends; width, height = extents) or pairs;
///   a range the chart cannot take is refused with false and a message
///   naming the layer and axis (lastError()), leaving the chart as it was;
/// - mark symbols by name (zkw::Mark);
/// - the nearest item as a std::optional<ChartHit>.
///
/// It also keeps the opt-in hover highlight: a symbol drawn over the nearest
/// qualifying item while the pointer moves. The highlight is an overlay the
/// host paints over the chart's surface (paintHighlight); it never enters
/// the data store, ItemCount or the chart's own exports.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "widgets/marks_enum.h"

class QPainter;

namespace zkw {

/// The item found near a point: its index in the data store, its first
/// point in world coordinates of its layer and its distance in pixels.
struct ChartHit {
  int index = -1;        ///< index in the data store
  double x = 0;          ///< the item's X (world, its own layer)
  double y = 0;          ///< the item's Y (world, its own layer)
  double distance = 0;   ///< pixels from the point asked about
  int layer = 1;         ///< the item's layer
};

/// An axis of a layer.
enum class ChartAxis : std::uint8_t {
  X,  ///< the horizontal axis
  Y   ///< the vertical axis
};

/// The properties a host reports as Qt change signals; see ChartFace::takeChanges.
enum ChartProperty : unsigned {
  PropMouseAction = 1u << 0,  ///< MouseAction
  PropWheelZoom = 1u << 1,    ///< WheelZoom
  PropCaption = 1u << 2,      ///< Caption
  PropChartColor = 1u << 3,   ///< ChartColor
  PropDataColor = 1u << 4,    ///< DataColor
  PropXLow = 1u << 5,         ///< layer 1, X, low end
  PropXHigh = 1u << 6,        ///< layer 1, X, high end
  PropYLow = 1u << 7,         ///< layer 1, Y, low end
  PropYHigh = 1u << 8,        ///< layer 1, Y, high end
  PropAntialiased = 1u << 9,  ///< Antialiased
  PropXCaption = 1u << 10,    ///< layer 1, X, the scale's caption
  PropYCaption = 1u << 11     ///< layer 1, Y, the scale's caption
};

/// The Qt-style face of one chart (see the file comment). The chart must
/// outlive the face.
class ChartFace {
 public:
  /// A face for Chart.
  explicit ChartFace(TVexa& Chart);

  /// The chart this face speaks for.
  TVexa& chart() const { return *FChart; }
  /// Why the last refused call was refused (empty after a call that succeeded).
  const QString& lastError() const { return FError; }

  /// Day numbers of date/time axes: days since 1899-12-30, the fraction the
  /// time of day (in the QDateTime's own calendar fields). An invalid
  /// QDateTime becomes NaN; a number outside the calendar an invalid one.
  ///@{
  static double toChartDate(const QDateTime& When);
  static QDateTime fromChartDate(double Days);
  ///@}

  /// Plain properties in Qt types.
  ///@{
  QColor chartColor() const;
  void setChartColor(const QColor& Color);
  QColor dataColor() const;
  void setDataColor(const QColor& Color);
  QString caption() const;
  void setCaption(const QString& Caption);
  /// The captions of layer 1's axis scales (Scale1X().Caption(), Scale1Y().Caption()).
  QString xCaption() const;
  void setXCaption(const QString& Caption);
  QString yCaption() const;
  void setYCaption(const QString& Caption);
  /// The mouse action by its name ("maPan"); setMouseAction refuses an unknown name.
  QString mouseAction() const;
  bool setMouseAction(const QString& Name);
  bool wheelZoom() const;
  void setWheelZoom(bool On);
  /// The chart's Antialiased property (smooth drawing at every ratio and in every picture).
  bool antialiased() const;
  void setAntialiased(bool On);
  ///@}

  /// Data. Non-finite values and a symbol outside 0..255 are refused, the
  /// spans only as a whole (nothing is appended); the pairs of xs and ys
  /// must have the same length. Marks in the chart's DataColor.
  ///@{
  bool addMark(QPointF Point, int Symbol);
  bool addMark(const QDateTime& X, double Y, int Symbol);
  bool addMarks(std::span<const QPointF> Points, int Symbol);
  bool addMarks(std::span<const double> Xs, std::span<const double> Ys, int Symbol);
  bool addLine(QPointF From, QPointF To);
  /// One connected line in the chart's DataColor (AddPolyline: a move to the
  /// first point, a draw to each of the others), appended in one go.
  bool addPolyline(std::span<const QPointF> Points);
  bool addPolyline(std::span<const double> Xs, std::span<const double> Ys);
  ///@}

  /// Ranges of a layer (1..16). The setters refuse (false, lastError(),
  /// the chart unchanged) a layer outside 1..16, a non-finite end, equal
  /// ends, a range narrower than the axis's MinRange, an end not above zero
  /// on a logarithmic axis and an axis another layer controls.
  ///@{
  bool setXRange(double Low, double High, int Layer = 1);
  bool setYRange(double Low, double High, int Layer = 1);
  bool setXRange(const QDateTime& Low, const QDateTime& High, int Layer = 1);
  bool setRange(const QRectF& World, int Layer = 1);
  QRectF range(int Layer = 1) const;
  /// One end of an axis's range exactly as the chart keeps it.
  double rangeEnd(ChartAxis Axis, bool High, int Layer = 1) const;
  /// Sets one end, keeping the other (refused as the setters above refuse).
  bool setRangeEnd(ChartAxis Axis, bool High, double Value, int Layer = 1);
  ///@}
  /// Makes an axis of Layer logarithmic or linear; refuses (false,
  /// lastError()) a layer outside 1..16, a range with an end not above zero
  /// and a date/time axis.
  bool setLogarithmic(ChartAxis Axis, bool On, int Layer = 1);

  /// The data item nearest to a world point of the current layer (any kind
  /// but moves, any class); nothing when the store holds none.
  std::optional<ChartHit> nearest(QPointF World) const;

  /// Saves the chart as its own export does (format by extension); with
  /// Highlight the hover highlight is drawn into the picture (raster only).
  /// A PNG, JPEG or BMP has Scale picture pixels per chart pixel (1: the
  /// exact raster; vector files ignore it); without a Scale, the chart's
  /// device scale: the picture the screen shows, pixel for pixel, which at
  /// ratio 2 is twice the chart's size. A scale that is not finite, not
  /// above 0 or above 64 is refused (false, lastError()) and nothing is written.
  ///@{
  bool saveImage(const QString& FileName, bool Highlight = false);
  bool saveImage(const QString& FileName, double Scale, bool Highlight = false);
  bool saveImage(const QString& FileName, int Scale, bool Highlight = false) {
    return saveImage(FileName, static_cast<double>(Scale), Highlight);
  }
  ///@}

  /// The hover highlight: off by default. Symbol and colour of the overlay;
  /// only items within Tolerance pixels of the pointer qualify.
  ///@{
  void setHoverHighlight(bool On);
  bool hoverHighlight() const { return FHoverOn; }
  void setHoverSymbol(int Symbol) { FHoverSymbol = static_cast<std::uint8_t>(std::clamp(Symbol, 0, 51)); }
  int hoverSymbol() const { return FHoverSymbol; }
  void setHoverColor(const QColor& Color) { FHoverColor = Color; }
  QColor hoverColor() const { return FHoverColor; }
  void setHoverTolerance(int Pixels) { FHoverTolerance = std::max(0, Pixels); }
  int hoverTolerance() const { return FHoverTolerance; }
  ///@}
  /// The tooltip with the hovered item's values: off by default.
  ///@{
  void setToolTip(bool On) { FToolTipOn = On; }
  bool toolTip() const { return FToolTipOn; }
  ///@}
  /// Follows the pointer at a pixel position of the chart: finds the item
  /// the highlight and tooltip show. True when the hovered item changed (the
  /// host repaints). Does nothing while both are off.
  bool updateHover(QPointF Pixel);
  /// The pointer left: no item is hovered. True when one was.
  bool clearHover();
  /// The hovered item, if any.
  const std::optional<ChartHit>& hovered() const { return FHovered; }
  /// The tooltip's text for the hovered item; empty without one or while
  /// the tooltip is off.
  QString hoverText() const;
  /// The overlay picture (transparent but for the symbol) and where its
  /// top-left corner goes on the chart; a null picture without a hovered item.
  QImage highlightImage(QPoint& TopLeft) const;
  /// Draws the overlay with the painter's origin at the chart's corner.
  void paintHighlight(QPainter& Painter) const;

  /// Which reported properties changed since the last call (ChartProperty
  /// bits); the first call reports none.
  unsigned takeChanges();

 private:
  // The reported properties' values, in the order of their table in qt_face.cpp.
  using Snapshot = std::vector<std::variant<bool, int, double, std::string>>;
  Snapshot snapshot() const;
  bool refuse(const QString& Why);
  bool accept();
  bool checkAxisRange(ChartAxis Axis, double Low, double High, int Layer);
  bool applyRanges(int Layer, double XLow, double XHigh, double YLow, double YHigh);
  bool setAxisRange(ChartAxis Axis, double Low, double High, int Layer);
  std::optional<ChartHit> hitAtPixel(QPointF Pixel) const;

  TVexa* FChart;
  QString FError;
  Snapshot FLast;
  bool FHoverOn = false;
  bool FToolTipOn = false;
  std::uint8_t FHoverSymbol = Mark::HollowSquare7;
  QColor FHoverColor = QColor(255, 0, 0);
  int FHoverTolerance = 10;
  std::optional<ChartHit> FHovered;
};

}  // namespace zkw
