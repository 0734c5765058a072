// The Qt-style face: mark names, dates, refused ranges that leave the chart
// as it was, data in Qt types, the nearest hit, the hover highlight as an
// overlay outside the data, and VexaWidget's properties with their signals.
#include <gtest/gtest.h>

#include <QMetaEnum>
#include <QPainter>
#include <QSignalSpy>
#include <QToolTip>
#include <QTemporaryDir>
#include <set>

#include "base/marks.h"
#include "widget_support.h"
#include "widgets/ZKW_widgets.h"

namespace zkw {
namespace {

using namespace zkw::testing;

struct TFaceChart {
  TVexa Chart{nullptr};
  ChartFace Face{Chart};
  TFaceChart() {
    Chart.SetBounds(0, 0, 400, 300);
    Chart.HandleNeeded();
  }
};

TEST(MarkNames, EverySymbolHasOneNameAndNamesGoWhereNumbersGo) {
  std::set<QString> Names;
  for (int N = 0; N < Mark::Count; ++N) {
    const QString Name = Mark::name(N);
    ASSERT_FALSE(Name.isEmpty()) << N;
    EXPECT_EQ(Mark::fromName(Name), N) << Name.toStdString();
    Names.insert(Name);
  }
  EXPECT_EQ(Names.size(), 52u);
  EXPECT_EQ(Mark::name(52), QString());
  EXPECT_EQ(Mark::name(-1), QString());
  EXPECT_EQ(Mark::fromName("Pentagon"), -1);
  // The aliases and a few sized names against the symbol numbers.
  EXPECT_EQ(Mark::FilledSquare, 7);
  EXPECT_EQ(Mark::fromName("FilledSquare"), 7);
  EXPECT_EQ(Mark::name(7), "FilledSquare3");
  EXPECT_EQ(Mark::HollowSquare, 10);
  EXPECT_EQ(Mark::FilledCircle7, 24);
  EXPECT_EQ(Mark::BoldDiagonalCross, 25);
  EXPECT_EQ(Mark::Sight, 51);
  // Every value of the enumeration is a symbol number.
  const QMetaEnum E = QMetaEnum::fromType<Mark::Symbol>();
  for (int K = 0; K < E.keyCount(); ++K) EXPECT_LT(E.value(K), Mark::Count) << E.key(K);

  TVexa C(nullptr);
  C.AddMark(1, 2, Mark::FilledSquare);
  C.AddMarks(std::vector<double>{1, 2}, std::vector<double>{3, 4}, Mark::Star);
  EXPECT_EQ(C.GetItem(0).MarkType, 7);
  EXPECT_EQ(C.GetItem(2).MarkType, 50);
  // A name draws what its number draws.
  TBitmap A(20, 20, clWhite), B(20, 20, clWhite);
  DrawMark(A.Canvas(), Mark::FilledDiamond3, 10, 10);
  DrawMark(B.Canvas(), 15, 10, 10);
  EXPECT_EQ(A.Image(), B.Image());
}

TEST(ChartFace, DatesAreDaysSinceTheEndOf1899) {
  EXPECT_EQ(ChartFace::toChartDate(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
  EXPECT_EQ(ChartFace::toChartDate(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);
  EXPECT_EQ(ChartFace::toChartDate(QDateTime(QDate(2000, 1, 1), QTime(12, 0))), 36526.5);
  EXPECT_EQ(ChartFace::toChartDate(QDateTime(QDate(1899, 12, 29), QTime(18, 0))), -0.25);
  EXPECT_TRUE(std::isnan(ChartFace::toChartDate(QDateTime())));
  EXPECT_EQ(ChartFace::fromChartDate(36526.5), QDateTime(QDate(2000, 1, 1), QTime(12, 0)));
  EXPECT_EQ(ChartFace::fromChartDate(-0.25), QDateTime(QDate(1899, 12, 29), QTime(18, 0)));
  // Just below midnight stays on its day.
  EXPECT_EQ(ChartFace::fromChartDate(1.0 - 1e-12), QDateTime(QDate(1899, 12, 30), QTime(23, 59, 59, 999)));
  EXPECT_FALSE(ChartFace::fromChartDate(std::nan("")).isValid());
  EXPECT_FALSE(ChartFace::fromChartDate(1e12).isValid());

  TFaceChart F;
  const QDateTime Lo(QDate(2024, 3, 1), QTime(0, 0)), Hi(QDate(2024, 3, 31), QTime(0, 0));
  ASSERT_TRUE(F.Face.setXRange(Lo, Hi));
  EXPECT_EQ(F.Chart.Scale1X().RangeLow(), ChartFace::toChartDate(Lo));
  EXPECT_TRUE(F.Face.addMark(QDateTime(QDate(2024, 3, 15), QTime(12, 0)), 1.0, Mark::Dot));
  EXPECT_EQ(F.Chart.GetItem(0).X, ChartFace::toChartDate(QDateTime(QDate(2024, 3, 15), QTime(12, 0))));
  EXPECT_FALSE(F.Face.addMark(QDateTime(), 1.0, Mark::Dot));
  EXPECT_FALSE(F.Face.setXRange(Lo, QDateTime()));
  EXPECT_EQ(F.Chart.ItemCount(), 1);
}

TEST(ChartFace, RefusedRangesNameLayerAndAxisAndLeaveTheChartAsItWas) {
  TFaceChart F;
  ASSERT_TRUE(F.Face.setXRange(0, 100));
  ASSERT_TRUE(F.Face.setYRange(1, 1000, 2));
  EXPECT_EQ(F.Chart.ScalePropsY(2).RangeHigh(), 1000);
  EXPECT_TRUE(F.Face.lastError().isEmpty());
  auto Ranges = [&] {
    std::vector<double> R;
    for (int L = 1; L <= 16; ++L)
      for (bool High : {false, true})
        for (ChartAxis A : {ChartAxis::X, ChartAxis::Y}) R.push_back(F.Face.rangeEnd(A, High, L));
    return R;
  };
  auto Refused = [&](bool Result, const char* Where) {
    EXPECT_FALSE(Result);
    EXPECT_TRUE(F.Face.lastError().contains(Where)) << F.Face.lastError().toStdString();
  };
  const auto Before = Ranges();
  Refused(F.Face.setXRange(5, 5), "layer 1, axis X");
  Refused(F.Face.setXRange(0, std::nan("")), "layer 1, axis X");
  Refused(F.Face.setYRange(0, 1, 17), "layer 17, axis Y");
  Refused(F.Face.setYRange(0, 1, 0), "layer 0, axis Y");
  F.Chart.ScalePropsX(3).SetMinRange(10);
  Refused(F.Face.setXRange(0, 5, 3), "layer 3, axis X");
  // A logarithmic axis takes no end at or below zero.
  ASSERT_TRUE(F.Face.setLogarithmic(ChartAxis::Y, true, 2));
  EXPECT_TRUE(F.Chart.ScalePropsY(2).Logarithmic());
  const auto LogBefore = Ranges();
  Refused(F.Face.setYRange(-1, 10, 2), "layer 2, axis Y");
  EXPECT_EQ(Ranges(), LogBefore);
  // An axis another layer controls.
  F.Chart.JointLayers().SetXControlledBy(4, 1);
  Refused(F.Face.setXRange(3, 4, 4), "layer 4, axis X");
  // Both axes or neither.
  const auto Joint = Ranges();
  Refused(F.Face.setRange(QRectF(10, 5, 20, 0), 1), "layer 1, axis Y");
  EXPECT_EQ(Ranges(), Joint);
  ASSERT_TRUE(F.Face.setRange(QRectF(10, 5, 20, 30), 1));
  EXPECT_EQ(F.Face.range(1), QRectF(10, 5, 20, 30));
  EXPECT_EQ(F.Face.rangeEnd(ChartAxis::X, true, 1), 30);
  // One end alone.
  ASSERT_TRUE(F.Face.setRangeEnd(ChartAxis::Y, true, 50));
  EXPECT_EQ(F.Face.rangeEnd(ChartAxis::Y, false), 5);
  EXPECT_EQ(F.Face.rangeEnd(ChartAxis::Y, true), 50);
  (void)Before;
}

TEST(ChartFace, LogarithmicSwitchIsRefusedForRangesNotAboveZeroAndDateAxes) {
  TFaceChart F;
  ASSERT_TRUE(F.Face.setXRange(-5, 5));
  EXPECT_FALSE(F.Face.setLogarithmic(ChartAxis::X, true));
  EXPECT_TRUE(F.Face.lastError().contains("layer 1, axis X"));
  EXPECT_FALSE(F.Chart.Scale1X().Logarithmic());
  ASSERT_TRUE(F.Face.setYRange(1, 100));
  F.Chart.Scale1Y().SetLabelType(ftDateTime);
  EXPECT_FALSE(F.Face.setLogarithmic(ChartAxis::Y, true));
  EXPECT_TRUE(F.Face.lastError().contains("date/time"));
  F.Chart.Scale1Y().SetLabelType(ftNum);
  EXPECT_TRUE(F.Face.setLogarithmic(ChartAxis::Y, true));
  EXPECT_TRUE(F.Face.setLogarithmic(ChartAxis::Y, false));
  EXPECT_FALSE(F.Face.setLogarithmic(ChartAxis::Y, true, 99));
}

TEST(ChartFace, DataInQtTypesIsAppendedWholeOrNotAtAll) {
  TFaceChart F;
  const QList<QPointF> Points{{1, 2}, {3, 4}, {5, 6}};
  ASSERT_TRUE(F.Face.addMarks(Points, Mark::Plus));
  ASSERT_EQ(F.Chart.ItemCount(), 3);
  EXPECT_EQ(F.Chart.GetItem(2).X, 5);
  EXPECT_EQ(F.Chart.GetItem(2).Y, 6);
  EXPECT_EQ(F.Chart.GetItem(2).MarkType, 2);
  const std::vector<double> Xs{1, 2, 3}, Short{1, 2}, WithNaN{1, std::nan(""), 3};
  EXPECT_FALSE(F.Face.addMarks(Xs, Short, Mark::Dot));
  EXPECT_TRUE(F.Face.lastError().contains("3 x values but 2 y values"));
  EXPECT_FALSE(F.Face.addMarks(Xs, WithNaN, Mark::Dot));
  EXPECT_TRUE(F.Face.lastError().contains("point 1"));
  EXPECT_FALSE(F.Face.addMarks(Xs, Xs, 256));
  EXPECT_FALSE(F.Face.addMark(QPointF(1, INFINITY), Mark::Dot));
  EXPECT_FALSE(F.Face.addLine(QPointF(0, 0), QPointF(std::nan(""), 1)));
  EXPECT_FALSE(F.Face.addPolyline(QList<QPointF>{{0, 0}, {1, std::nan("")}}));
  EXPECT_FALSE(F.Face.addPolyline(Xs, Short));
  EXPECT_TRUE(F.Face.lastError().contains("addPolyline: 3 x values but 2 y values"));
  EXPECT_EQ(F.Chart.ItemCount(), 3);
  EXPECT_TRUE(F.Face.addLine(QPointF(0, 0), QPointF(1, 1)));
  EXPECT_TRUE(F.Face.addPolyline(QList<QPointF>{{0, 0}, {1, 1}, {2, 0}}));
  EXPECT_GT(F.Chart.ItemCount(), 4);
  // Colours in Qt's order, kept by the chart in its own.
  F.Face.setDataColor(QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(F.Chart.DataColor(), 0x332211);
  EXPECT_EQ(F.Face.dataColor(), QColor(0x11, 0x22, 0x33));
  F.Face.setCaption(QString::fromUtf8("Über"));
  EXPECT_EQ(F.Chart.Caption(), "\xC3\x9C" "ber");
  EXPECT_TRUE(F.Face.setMouseAction("maZoomWind"));
  EXPECT_EQ(F.Chart.MouseAction(), maZoomWind);
  EXPECT_FALSE(F.Face.setMouseAction("zoom"));
  EXPECT_EQ(F.Face.mouseAction(), "maZoomWind");
}

TEST(ChartFace, NearestGivesTheChartsAnswerAsAnOptionalHit) {
  TFaceChart F;
  F.Face.setXRange(0, 100);
  F.Face.setYRange(0, 100);
  EXPECT_FALSE(F.Face.nearest(QPointF(1, 1)).has_value());
  F.Face.addMarks(QList<QPointF>{{10, 10}, {50, 50}, {90, 20}}, Mark::Dot);
  const auto Hit = F.Face.nearest(QPointF(52, 49));
  ASSERT_TRUE(Hit.has_value());
  double Distance = 0;
  EXPECT_EQ(Hit->index, F.Chart.FindNearestItem(11, 255, 52, 49, Distance));
  EXPECT_EQ(Hit->index, 1);
  EXPECT_EQ(Hit->x, 50);
  EXPECT_EQ(Hit->y, 50);
  EXPECT_DOUBLE_EQ(Hit->distance, Distance);
  EXPECT_FALSE(F.Face.nearest(QPointF(std::nan(""), 1)).has_value());
}

TEST(ChartFace, TheHoverHighlightIsTheSymbolOverTheItemAndStaysOutOfTheData) {
  TFaceChart F;
  F.Face.setXRange(0, 100);
  F.Face.setYRange(0, 100);
  F.Face.addMark(QPointF(40, 60), Mark::Dot);
  F.Chart.Redraw();
  int PX = 0, PY = 0;
  F.Chart.WorldToPixel(1, 40, 60, PX, PY);
  // Off by default: nothing follows the pointer.
  EXPECT_FALSE(F.Face.updateHover(QPointF(PX, PY)));
  EXPECT_FALSE(F.Face.hovered());
  F.Face.setHoverHighlight(true);
  F.Face.setHoverSymbol(Mark::HollowSquare5);
  F.Face.setHoverColor(QColor(0, 128, 0));
  EXPECT_TRUE(F.Face.updateHover(QPointF(PX + 3, PY - 2)));
  EXPECT_FALSE(F.Face.updateHover(QPointF(PX + 2, PY - 2))) << "the same item: no change";
  ASSERT_TRUE(F.Face.hovered());
  EXPECT_EQ(F.Face.hovered()->index, 0);
  EXPECT_TRUE(F.Face.hoverText().isEmpty()) << "the tooltip is off";
  F.Face.setToolTip(true);
  EXPECT_EQ(F.Face.hoverText(), "item 0\nx = 40\ny = 60");
  // The overlay is exactly DrawMark's symbol at the item's pixel.
  QPoint TopLeft;
  const QImage Overlay = F.Face.highlightImage(TopLeft);
  ASSERT_FALSE(Overlay.isNull());
  TBitmap Expected(400, 300, clWhite);
  Expected.Canvas().Pen().SetColor(static_cast<TColor>(0x008000));
  DrawMark(Expected.Canvas(), Mark::HollowSquare5, PX, PY);
  QImage Painted(400, 300, QImage::Format_RGB32);
  Painted.fill(Qt::white);
  QPainter P(&Painted);
  F.Face.paintHighlight(P);
  P.end();
  EXPECT_EQ(Painted, Expected.Image().convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(F.Chart.ItemCount(), 1);
  // Exports: without the highlight unless asked for.
  QTemporaryDir Dir;
  ASSERT_TRUE(F.Face.saveImage(Dir.filePath("plain.png")));
  ASSERT_TRUE(F.Face.saveImage(Dir.filePath("lit.png"), true));
  const QImage Plain = QImage(Dir.filePath("plain.png")).convertToFormat(QImage::Format_RGB32);
  const QImage Lit = QImage(Dir.filePath("lit.png")).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Plain, SurfaceImage(F.Chart));
  EXPECT_NE(Lit, Plain);
  EXPECT_EQ(Lit.pixel(PX + 2, PY), qRgb(0, 128, 0));
  EXPECT_FALSE(F.Face.saveImage("/no/such/folder/x.png"));
  EXPECT_TRUE(F.Face.lastError().contains("x.png"));
  // Far away and gone.
  EXPECT_TRUE(F.Face.updateHover(QPointF(2, 2)));
  EXPECT_FALSE(F.Face.hovered());
  EXPECT_TRUE(F.Face.highlightImage(TopLeft).isNull());
}

TEST(ChartFace, TakeChangesReportsEachChangedPropertyOnce) {
  TFaceChart F;
  EXPECT_EQ(F.Face.takeChanges(), 0u);
  F.Face.setCaption("C");
  F.Face.setXRange(-3, 3);
  EXPECT_EQ(F.Face.takeChanges(), unsigned(PropCaption | PropXLow | PropXHigh));
  EXPECT_EQ(F.Face.takeChanges(), 0u);
  F.Chart.SetWheelZoom(!F.Chart.WheelZoom());
  F.Chart.SetChartColor(clRed);
  EXPECT_EQ(F.Face.takeChanges(), unsigned(PropWheelZoom | PropChartColor));
  F.Face.setAntialiased(true);
  EXPECT_TRUE(F.Chart.Antialiased());
  EXPECT_EQ(F.Face.takeChanges(), unsigned(PropAntialiased));
  // The scale captions, through the face or on the chart itself.
  F.Face.setXCaption("t");
  F.Chart.Scale1Y().SetCaption("u");
  EXPECT_EQ(F.Face.takeChanges(), unsigned(PropXCaption | PropYCaption));
  EXPECT_EQ(F.Chart.Scale1X().Caption(), "t");
}

TEST(VexaWidget, PropertiesNotifyAlsoAfterPansAndRefusals) {
  VexaWidget W;
  W.resize(400, 300);
  FillChart(*W.chart());
  W.syncProperties();
  QSignalSpy XLow(&W, &VexaWidget::xLowChanged), YHigh(&W, &VexaWidget::yHighChanged);
  QSignalSpy Caption(&W, &VexaWidget::captionChanged), Action(&W, &VexaWidget::mouseActionChanged);
  EXPECT_TRUE(W.setProperty("caption", "New"));
  EXPECT_EQ(Caption.count(), 1);
  EXPECT_EQ(W.chart()->Caption(), "New");
  QSignalSpy YCaption(&W, &VexaWidget::yCaptionChanged);
  EXPECT_TRUE(W.setProperty("yCaption", "volts"));
  EXPECT_EQ(W.chart()->Scale1Y().Caption(), "volts");
  EXPECT_EQ(YCaption.count(), 1);
  W.setXLow(W.xHigh());  // refused: no change, no signal
  EXPECT_EQ(XLow.count(), 0);
  W.setMouseAction("maFly");
  EXPECT_EQ(Action.count(), 0);
  W.setMouseAction("maPan");
  EXPECT_EQ(Action.count(), 1);
  const double Low0 = W.xLow();
  SendMove(&W, {150, 120});
  QMouseEvent Press(QEvent::MouseButtonPress, QPointF(150, 120), W.mapToGlobal(QPointF(150, 120)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&W, &Press);
  for (int K = 1; K <= 4; ++K) SendMove(&W, QPointF(150 + 15 * K, 120 + 10 * K), Qt::LeftButton);
  QMouseEvent Release(QEvent::MouseButtonRelease, QPointF(210, 160), W.mapToGlobal(QPointF(210, 160)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&W, &Release);
  EXPECT_LT(W.xLow(), Low0);
  EXPECT_GE(XLow.count(), 1);
  EXPECT_GE(YHigh.count(), 1);
  EXPECT_EQ(W.property("xLow").toDouble(), W.chart()->Scale1X().RangeLow());
}

TEST(VexaWidget, TheHoverHighlightIsPaintedOverTheChartOnly) {
  if (QGuiApplication::primaryScreen()->devicePixelRatio() != 1.0) GTEST_SKIP() << "picture checks at ratio 1";
  VexaWidget W;
  W.resize(400, 300);
  FillChart(*W.chart());
  W.show();
  Pump();
  const QImage Plain = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  W.face().setHoverHighlight(true);
  W.face().setToolTip(true);
  int PX = 0, PY = 0;
  W.chart()->WorldToPixel(1, 55, 10, PX, PY);
  SendMove(&W, QPointF(PX, PY - 1));
  ASSERT_TRUE(W.face().hovered());
  EXPECT_EQ(QToolTip::text(), "item 11\nx = 55\ny = 10");
  const QImage Lit = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(Lit, Plain);
  EXPECT_EQ(W.chart()->ItemCount(), 23);
  EXPECT_EQ(SurfaceImage(*W.chart()), Plain) << "the chart's own surface holds no highlight";
  QEvent Leave(QEvent::Leave);
  QCoreApplication::sendEvent(&W, &Leave);
  EXPECT_FALSE(W.face().hovered());
  EXPECT_EQ(W.grab().toImage().convertToFormat(QImage::Format_RGB32), Plain);
}

}  // namespace
}  // namespace zkw
