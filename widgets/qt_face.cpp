#include "widgets/qt_face.h"

#include <QPainter>
#include <cmath>
#include <exception>
#include <iterator>
#include <utility>
#include <variant>
#include <vector>

#include "base/marks.h"
#include "platform/rtl.h"
#include "widgets/qt_color.h"

namespace zkw {

// ---------------------------------------------------------------- the face

namespace {

const QDate DayZero(1899, 12, 30);
constexpr double MsPerDay = 86400000.0;

bool Finite(QPointF P) { return std::isfinite(P.x()) && std::isfinite(P.y()); }

QString AxisName(ChartAxis A) { return A == ChartAxis::X ? QStringLiteral("X") : QStringLiteral("Y"); }

}  // namespace

ChartFace::ChartFace(TVexa& Chart) : FChart(&Chart), FLast(snapshot()) {}

double ChartFace::toChartDate(const QDateTime& When) {
  if (!When.isValid()) return std::nan("");
  return static_cast<double>(DayZero.daysTo(When.date())) + When.time().msecsSinceStartOfDay() / MsPerDay;
}

QDateTime ChartFace::fromChartDate(double Days) {
  if (!std::isfinite(Days) || Days < MinDayValue || Days >= MaxDayValue + 1.0) return {};
  const double Day = std::floor(Days);
  // Rounded to the millisecond; a fraction that rounds up to midnight stays on its day.
  const int Ms = std::min(static_cast<int>(std::lround((Days - Day) * MsPerDay)), 86399999);
  return QDateTime(DayZero.addDays(static_cast<qint64>(Day)), QTime::fromMSecsSinceStartOfDay(Ms));
}

QColor ChartFace::chartColor() const { return ToQColor(FChart->ChartColor()); }
void ChartFace::setChartColor(const QColor& Color) { FChart->SetChartColor(FromQColor(Color)); }
QColor ChartFace::dataColor() const { return ToQColor(FChart->DataColor()); }
void ChartFace::setDataColor(const QColor& Color) { FChart->SetDataColor(FromQColor(Color)); }
QString ChartFace::caption() const { return QString::fromStdString(FChart->Caption()); }
void ChartFace::setCaption(const QString& Caption) { FChart->SetCaption(Caption.toStdString()); }
QString ChartFace::xCaption() const { return QString::fromStdString(FChart->Scale1X().Caption()); }
void ChartFace::setXCaption(const QString& Caption) { FChart->Scale1X().SetCaption(Caption.toStdString()); }
QString ChartFace::yCaption() const { return QString::fromStdString(FChart->Scale1Y().Caption()); }
void ChartFace::setYCaption(const QString& Caption) { FChart->Scale1Y().SetCaption(Caption.toStdString()); }
bool ChartFace::wheelZoom() const { return FChart->WheelZoom(); }
void ChartFace::setWheelZoom(bool On) { FChart->SetWheelZoom(On); }
bool ChartFace::antialiased() const { return FChart->Antialiased(); }
void ChartFace::setAntialiased(bool On) { FChart->SetAntialiased(On); }

QString ChartFace::mouseAction() const {
  return QString::fromLatin1(MouseActModeNames[FChart->MouseAction()].data(),
                             static_cast<qsizetype>(MouseActModeNames[FChart->MouseAction()].size()));
}

bool ChartFace::setMouseAction(const QString& Name) {
  const std::string N = Name.toStdString();
  for (std::size_t I = 0; I < MouseActModeNames.size(); ++I)
    if (MouseActModeNames[I] == N) {
      FChart->SetMouseAction(static_cast<TMouseActMode>(I));
      return accept();
    }
  return refuse(QStringLiteral("unknown mouse action '%1' (expected one of maNone, maPan, ..., maZoomPanColors)").arg(Name));
}

bool ChartFace::refuse(const QString& Why) {
  FError = Why;
  return false;
}

bool ChartFace::accept() {
  FError.clear();
  return true;
}

// ---------------------------------------------------------------- data

bool ChartFace::addMark(QPointF Point, int Symbol) {
  return addMarks(std::span<const QPointF>(&Point, 1), Symbol);
}

bool ChartFace::addMark(const QDateTime& X, double Y, int Symbol) {
  if (!X.isValid()) return refuse(QStringLiteral("addMark: the date/time is not valid"));
  return addMark(QPointF(toChartDate(X), Y), Symbol);
}

bool ChartFace::addMarks(std::span<const QPointF> Points, int Symbol) {
  std::vector<double> Xs(Points.size()), Ys(Points.size());
  for (std::size_t I = 0; I < Points.size(); ++I) {
    Xs[I] = Points[I].x();
    Ys[I] = Points[I].y();
  }
  return addMarks(Xs, Ys, Symbol);
}

bool ChartFace::addMarks(std::span<const double> Xs, std::span<const double> Ys, int Symbol) {
  if (Xs.size() != Ys.size())
    return refuse(QStringLiteral("addMarks: %1 x values but %2 y values").arg(Xs.size()).arg(Ys.size()));
  if (Symbol < 0 || Symbol > 255) return refuse(QStringLiteral("addMarks: mark symbol %1 is not in 0..255").arg(Symbol));
  for (std::size_t I = 0; I < Xs.size(); ++I)
    if (!std::isfinite(Xs[I]) || !std::isfinite(Ys[I]))
      return refuse(QStringLiteral("addMarks: point %1 is not a finite number").arg(I));
  FChart->AddMarks(Xs, Ys, static_cast<std::uint8_t>(Symbol));
  return accept();
}

bool ChartFace::addLine(QPointF From, QPointF To) {
  if (!Finite(From) || !Finite(To)) return refuse(QStringLiteral("addLine: an end is not a finite number"));
  FChart->AddLine(From.x(), From.y(), To.x(), To.y());
  return accept();
}

bool ChartFace::addPolyline(std::span<const QPointF> Points) {
  std::vector<double> Xs(Points.size()), Ys(Points.size());
  for (std::size_t I = 0; I < Points.size(); ++I) {
    Xs[I] = Points[I].x();
    Ys[I] = Points[I].y();
  }
  return addPolyline(Xs, Ys);
}

bool ChartFace::addPolyline(std::span<const double> Xs, std::span<const double> Ys) {
  if (Xs.size() != Ys.size())
    return refuse(QStringLiteral("addPolyline: %1 x values but %2 y values").arg(Xs.size()).arg(Ys.size()));
  for (std::size_t I = 0; I < Xs.size(); ++I)
    if (!std::isfinite(Xs[I]) || !std::isfinite(Ys[I]))
      return refuse(QStringLiteral("addPolyline: point %1 is not a finite number").arg(I));
  // The chart's bulk append: one store growth for the whole line.
  FChart->AddPolyline(Xs, Ys);
  return accept();
}

// ---------------------------------------------------------------- ranges

bool ChartFace::checkAxisRange(ChartAxis Axis, double Low, double High, int Layer) {
  const QString Where = QStringLiteral("layer %1, axis %2").arg(Layer).arg(AxisName(Axis));
  if (Layer < 1 || Layer > LayerCount) return refuse(QStringLiteral("%1: no such layer (1..16)").arg(Where));
  if (!std::isfinite(Low) || !std::isfinite(High))
    return refuse(QStringLiteral("%1: the range %2 .. %3 is not finite").arg(Where).arg(Low).arg(High));
  const TVexa& C = *FChart;
  const TScaleProps& P = Axis == ChartAxis::X ? static_cast<const TScaleProps&>(C.ScalePropsX(Layer))
                                              : static_cast<const TScaleProps&>(C.ScalePropsY(Layer));
  const int Lead = Axis == ChartAxis::X ? C.JointLayers().XControlledBy(Layer) : C.JointLayers().YControlledBy(Layer);
  if (Lead != Layer) return refuse(QStringLiteral("%1: the axis follows layer %2").arg(Where).arg(Lead));
  // The chart's own tests of a new range (StoreAxisRange), which it would pass over silently.
  if (std::fabs(High - Low) < 0.99 * P.MinRange())
    return refuse(QStringLiteral("%1: the range %2 .. %3 is narrower than the axis's MinRange %4")
                      .arg(Where).arg(Low).arg(High).arg(P.MinRange()));
  if (P.Logarithmic() && (Low < 1e-100 || High < 1e-100))
    return refuse(QStringLiteral("%1: a logarithmic axis needs both ends above zero, not %2 .. %3")
                      .arg(Where).arg(Low).arg(High));
  return true;
}

bool ChartFace::applyRanges(int Layer, double XLow, double XHigh, double YLow, double YHigh) {
  TVexa& C = *FChart;
  const TRangeEnds OldX{C.ScalePropsX(Layer).RangeLow(), C.ScalePropsX(Layer).RangeHigh()};
  const TRangeEnds OldY{C.ScalePropsY(Layer).RangeLow(), C.ScalePropsY(Layer).RangeHigh()};
  // One SetRange for both axes: the chart paints once.
  try {
    C.SetRange(Layer, {XLow, XHigh}, {YLow, YHigh});
  } catch (const std::exception& E) {
    const QString Why = QStringLiteral("layer %1: %2").arg(Layer).arg(QString::fromStdString(E.what()));
    try {
      C.SetRange(Layer, OldX, OldY);
    } catch (const std::exception&) {  // the old ranges were mapped before; nothing else to restore
    }
    return refuse(Why);
  }
  return accept();
}

bool ChartFace::setAxisRange(ChartAxis Axis, double Low, double High, int Layer) {
  if (!checkAxisRange(Axis, Low, High, Layer)) return false;
  if (Axis == ChartAxis::X)
    return applyRanges(Layer, Low, High, rangeEnd(ChartAxis::Y, false, Layer), rangeEnd(ChartAxis::Y, true, Layer));
  return applyRanges(Layer, rangeEnd(ChartAxis::X, false, Layer), rangeEnd(ChartAxis::X, true, Layer), Low, High);
}

bool ChartFace::setXRange(double Low, double High, int Layer) { return setAxisRange(ChartAxis::X, Low, High, Layer); }
bool ChartFace::setYRange(double Low, double High, int Layer) { return setAxisRange(ChartAxis::Y, Low, High, Layer); }

bool ChartFace::setXRange(const QDateTime& Low, const QDateTime& High, int Layer) {
  if (!Low.isValid() || !High.isValid())
    return refuse(QStringLiteral("layer %1, axis X: a date/time end is not valid").arg(Layer));
  return setAxisRange(ChartAxis::X, toChartDate(Low), toChartDate(High), Layer);
}

bool ChartFace::setRange(const QRectF& World, int Layer) {
  const double XLow = World.left(), XHigh = World.left() + World.width();
  const double YLow = World.top(), YHigh = World.top() + World.height();
  // Both axes are checked before either changes: both or neither.
  if (!checkAxisRange(ChartAxis::X, XLow, XHigh, Layer) || !checkAxisRange(ChartAxis::Y, YLow, YHigh, Layer))
    return false;
  return applyRanges(Layer, XLow, XHigh, YLow, YHigh);
}

double ChartFace::rangeEnd(ChartAxis Axis, bool High, int Layer) const {
  const TScaleProps& P = Axis == ChartAxis::X ? static_cast<const TScaleProps&>(FChart->ScalePropsX(Layer))
                                              : static_cast<const TScaleProps&>(FChart->ScalePropsY(Layer));
  return High ? P.RangeHigh() : P.RangeLow();
}

bool ChartFace::setRangeEnd(ChartAxis Axis, bool High, double Value, int Layer) {
  const double Low = rangeEnd(Axis, false, Layer), Hi = rangeEnd(Axis, true, Layer);
  return setAxisRange(Axis, High ? Low : Value, High ? Value : Hi, Layer);
}

QRectF ChartFace::range(int Layer) const {
  const TScaleProps& X = FChart->ScalePropsX(Layer);
  const TScaleProps& Y = FChart->ScalePropsY(Layer);
  return QRectF(X.RangeLow(), Y.RangeLow(), X.RangeHigh() - X.RangeLow(), Y.RangeHigh() - Y.RangeLow());
}

bool ChartFace::setLogarithmic(ChartAxis Axis, bool On, int Layer) {
  const QString Where = QStringLiteral("layer %1, axis %2").arg(Layer).arg(AxisName(Axis));
  if (Layer < 1 || Layer > LayerCount) return refuse(QStringLiteral("%1: no such layer (1..16)").arg(Where));
  TScaleProps& P = Axis == ChartAxis::X ? static_cast<TScaleProps&>(FChart->ScalePropsX(Layer))
                                        : static_cast<TScaleProps&>(FChart->ScalePropsY(Layer));
  if (On && P.LabelType() == ftDateTime)
    return refuse(QStringLiteral("%1: a date/time axis cannot be logarithmic").arg(Where));
  if (On && (P.RangeLow() < 1e-100 || P.RangeHigh() < 1e-100))
    return refuse(QStringLiteral("%1: a logarithmic axis needs both ends above zero, not %2 .. %3")
                      .arg(Where).arg(P.RangeLow()).arg(P.RangeHigh()));
  try {
    P.SetLogarithmic(On);
  } catch (const std::exception& E) {
    return refuse(QStringLiteral("%1: %2").arg(Where, QString::fromStdString(E.what())));
  }
  if (P.Logarithmic() != On) return refuse(QStringLiteral("%1: the chart kept the axis as it was").arg(Where));
  return accept();
}

// ---------------------------------------------------------------- nearest item

std::optional<ChartHit> ChartFace::nearest(QPointF World) const {
  if (!Finite(World)) return std::nullopt;
  double Distance = 0;
  // Kind filter 11: every kind but the invisible moves; class filter 255: any class.
  const int Index = FChart->FindNearestItem(KindFilterAllButMoveTo, ClassFilterAll, World.x(), World.y(), Distance);
  if (Index < 0) return std::nullopt;
  const TvxChartItem Item = FChart->GetItem(Index);
  return ChartHit{Index, Item.X, Item.Y, Distance, Item.Layer};
}

bool ChartFace::saveImage(const QString& FileName, bool Highlight) {
  return saveImage(FileName, FChart->DrawMode().Scale, Highlight);
}

bool ChartFace::saveImage(const QString& FileName, double Scale, bool Highlight) {
  try {
    // Refused before anything is drawn or written (the chart would raise the same).
    CheckDrawScale(Scale);
    if (!Highlight || !FHovered) {
      FChart->SaveImage(FileName.toStdString(), Scale);
      return accept();
    }
    TBitmap Painted;
    PaintChartPicture(*FChart, Painted, Scale);
    QImage Picture = Painted.Image().convertToFormat(QImage::Format_RGB32);
    // The picture's ratio is Scale: the painter works in chart pixels, as the overlay does.
    Picture.setDevicePixelRatio(Scale);
    QPainter P(&Picture);
    paintHighlight(P);
    P.end();
    if (!Picture.save(FileName)) return refuse(QStringLiteral("saveImage: cannot write '%1'").arg(FileName));
  } catch (const std::exception& E) {
    return refuse(QStringLiteral("saveImage: %1").arg(QString::fromStdString(E.what())));
  }
  return accept();
}

// ---------------------------------------------------------------- hover

void ChartFace::setHoverHighlight(bool On) {
  FHoverOn = On;
  if (!On && !FToolTipOn) FHovered.reset();
}

std::optional<ChartHit> ChartFace::hitAtPixel(QPointF Pixel) const {
  if (!Finite(Pixel)) return std::nullopt;
  double X = 0, Y = 0;
  FChart->PixelToWorld(FChart->CurrentLayer(), static_cast<int>(std::floor(Pixel.x())),
                       static_cast<int>(std::floor(Pixel.y())), X, Y);
  std::optional<ChartHit> Hit = nearest(QPointF(X, Y));
  if (Hit && Hit->distance > FHoverTolerance) return std::nullopt;
  return Hit;
}

bool ChartFace::updateHover(QPointF Pixel) {
  if (!FHoverOn && !FToolTipOn) return clearHover();
  const std::optional<ChartHit> Hit = hitAtPixel(Pixel);
  const bool Changed = Hit.has_value() != FHovered.has_value() || (Hit && Hit->index != FHovered->index);
  FHovered = Hit;
  return Changed;
}

bool ChartFace::clearHover() {
  const bool Had = FHovered.has_value();
  FHovered.reset();
  return Had;
}

QString ChartFace::hoverText() const {
  if (!FToolTipOn || !FHovered) return {};
  const bool Dates = FChart->ScalePropsX(FHovered->layer).LabelType() == ftDateTime;
  const QString X = Dates ? fromChartDate(FHovered->x).toString(Qt::ISODate) : QString::number(FHovered->x, 'g', 8);
  return QStringLiteral("item %1\nx = %2\ny = %3").arg(FHovered->index).arg(X, QString::number(FHovered->y, 'g', 8));
}

QImage ChartFace::highlightImage(QPoint& TopLeft) const {
  if (!FHoverOn || !FHovered) return {};
  // The symbol is drawn by the chart's own DrawMark onto a small bitmap at the
  // chart's device scale (natively, as the chart draws its own marks); every
  // pixel in the pen colour is the symbol, everything else stays transparent.
  constexpr int Size = 17, Centre = Size / 2;
  const TColor Pen = FromQColor(FHoverColor);
  TBitmap B;
  B.SetDrawMode({FChart->DrawMode().Scale, false, false});
  B.SetSizeFilled(Size, Size, ColorToPixel(static_cast<TColor>(Pen ^ 0x00FFFFFF)));
  B.Canvas().Pen().SetColor(Pen);
  DrawMark(B.Canvas(), FHoverSymbol, Centre, Centre, false);
  const QImage Drawn = B.Image().convertToFormat(QImage::Format_RGB32);
  QImage Out(Drawn.size(), QImage::Format_ARGB32_Premultiplied);
  Out.fill(Qt::transparent);
  Out.setDevicePixelRatio(Drawn.devicePixelRatio());
  const QRgb Opaque = FHoverColor.rgb() | 0xFF000000u;
  for (int Y = 0; Y < Drawn.height(); ++Y)
    for (int X = 0; X < Drawn.width(); ++X)
      if ((Drawn.pixel(X, Y) | 0xFF000000u) == Opaque) Out.setPixel(X, Y, Opaque);
  int PX = 0, PY = 0;
  FChart->WorldToPixel(FHovered->layer, FHovered->x, FHovered->y, PX, PY);
  TopLeft = QPoint(PX - Centre, PY - Centre);
  return Out;
}

void ChartFace::paintHighlight(QPainter& Painter) const {
  QPoint TopLeft;
  const QImage Overlay = highlightImage(TopLeft);
  if (!Overlay.isNull()) Painter.drawImage(TopLeft, Overlay);
}

// ---------------------------------------------------------------- change reports

namespace {

// Every property takeChanges reports: its bit and its value on the chart.
// A new property is one line here (and its bit in qt_face.h).
using TValue = std::variant<bool, int, double, std::string>;
struct TReported {
  ChartProperty Bit;
  TValue (*Read)(const TVexa&);
};
const TReported Reported[] = {
    {PropMouseAction, [](const TVexa& C) -> TValue { return int{C.MouseAction()}; }},
    {PropWheelZoom, [](const TVexa& C) -> TValue { return C.WheelZoom(); }},
    {PropAntialiased, [](const TVexa& C) -> TValue { return C.Antialiased(); }},
    {PropCaption, [](const TVexa& C) -> TValue { return C.Caption(); }},
    {PropXCaption, [](const TVexa& C) -> TValue { return C.ScalePropsX(1).Caption(); }},
    {PropYCaption, [](const TVexa& C) -> TValue { return C.ScalePropsY(1).Caption(); }},
    {PropChartColor, [](const TVexa& C) -> TValue { return int{C.ChartColor()}; }},
    {PropDataColor, [](const TVexa& C) -> TValue { return int{C.DataColor()}; }},
    {PropXLow, [](const TVexa& C) -> TValue { return C.ScalePropsX(1).RangeLow(); }},
    {PropXHigh, [](const TVexa& C) -> TValue { return C.ScalePropsX(1).RangeHigh(); }},
    {PropYLow, [](const TVexa& C) -> TValue { return C.ScalePropsY(1).RangeLow(); }},
    {PropYHigh, [](const TVexa& C) -> TValue { return C.ScalePropsY(1).RangeHigh(); }},
};

}  // namespace

ChartFace::Snapshot ChartFace::snapshot() const {
  Snapshot Values;
  Values.reserve(std::size(Reported));
  for (const TReported& R : Reported) Values.push_back(R.Read(*FChart));
  return Values;
}

unsigned ChartFace::takeChanges() {
  Snapshot Now = snapshot();
  unsigned Bits = 0;
  for (std::size_t I = 0; I < Now.size(); ++I)
    if (Now[I] != FLast[I]) Bits |= Reported[I].Bit;
  FLast = std::move(Now);
  return Bits;
}

}  // namespace zkw
