// The widgets at the device pixel ratio of the screen. CTest runs this file
// again with QT_SCALE_FACTOR=2 and =1.5 (ZKW_EXPECT_DEVICE_RATIO tells the
// ratio): the chart draws natively at that ratio - pictures of the device's
// size, texts finer than a logical pixel, diagonals stepping by one device
// pixel - and its plain areas are the headless pixels enlarged.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>

#include "widget_support.h"
#include "widgets/ZKW_widgets.h"

namespace zkw {
namespace {

using namespace zkw::testing;

double ScreenRatio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// Skips at ratio 1 unless the run expects another ratio (then it fails).
#define REQUIRE_DEVICE_RATIO_ABOVE_1()                                                  \
  do {                                                                                  \
    const char* Expected = std::getenv("ZKW_EXPECT_DEVICE_RATIO");                      \
    if (Expected) {                                                                     \
      ASSERT_EQ(ScreenRatio(), std::atof(Expected));                                    \
    }                                                                                   \
    if (ScreenRatio() == 1.0) GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2 and 1.5";    \
  } while (0)

// Aligned 2 x 2 blocks of Image (twice the size of a logical area) that are
// not one colour, inside the logical rectangle Area.
int MixedBlocks(const QImage& Image, const QRect& Area) {
  int N = 0;
  for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
    for (int X = Area.left(); X <= Area.right(); ++X) {
      const QRgb A = Image.pixel(2 * X, 2 * Y);
      if (Image.pixel(2 * X + 1, 2 * Y) != A || Image.pixel(2 * X, 2 * Y + 1) != A ||
          Image.pixel(2 * X + 1, 2 * Y + 1) != A)
        ++N;
    }
  return N;
}

QImage Enlarged(const QImage& Logical) {
  return Logical.scaled(Logical.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The chart's exact raster at ratio 1, as SavePng writes it.
QImage Headless(TVexa& C) {
  TBitmap B;
  PaintChartPicture(C, B, 1);
  return B.Image().convertToFormat(QImage::Format_RGB32);
}

QSize DeviceSize(const QSize& Logical, double Ratio) {
  return QSize(static_cast<int>(std::lround(Logical.width() * Ratio)),
               static_cast<int>(std::lround(Logical.height() * Ratio)));
}

TEST(DeviceRatio, ChartDrawsNativelyAtTheRatio) {
  REQUIRE_DEVICE_RATIO_ABOVE_1();
  const double R = ScreenRatio();
  QWidget Window;
  auto* L = new QVBoxLayout(&Window);
  L->setContentsMargins(9, 9, 9, 9);
  auto* Plot = new VexaWidget;
  L->addWidget(Plot);
  Window.resize(420, 320);
  FillChart(*Plot->chart());
  Window.show();
  Pump();
  TVexa& C = *Plot->chart();
  const QImage Shot = Plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Shot.save(QString(ZKW_TEST_OUTPUT_DIR) + "/vexa_widget_ratio" + QString::number(R) + ".png");
  // The chart keeps its layout in logical pixels and draws at the device's.
  EXPECT_EQ(QSize(C.Width(), C.Height()), Plot->size());
  EXPECT_EQ(C.DrawMode().Scale, R);
  EXPECT_EQ(C.WindowSurface().Image().size(), DeviceSize(Plot->size(), R));
  EXPECT_EQ(Shot.size(), DeviceSize(Plot->size(), R));
  // Saved without a scale: what the screen shows, pixel for pixel.
  QTemporaryDir Dir;
  ASSERT_TRUE(Plot->face().saveImage(Dir.filePath("shown.png")));
  EXPECT_EQ(QImage(Dir.filePath("shown.png")).convertToFormat(QImage::Format_RGB32), Shot);
  if (R != 2.0) return;

  const QImage Logical = Headless(C);
  // The bottom scale's labels lie below the plot: there the picture has
  // detail finer than a logical pixel, which enlarging cannot give.
  const TPlotGeometry G = C.Geometry();
  const QRect Labels(G.PlotLeft(), G.PlotBottom() + 3, G.PlotWidth(), G.MarginBottom - 4);
  EXPECT_EQ(MixedBlocks(Enlarged(Logical), Labels), 0);
  EXPECT_GT(MixedBlocks(Shot, Labels), 20);
  // The text item in the plot and the caption too.
  int PX = 0, PY = 0;
  C.WorldToPixel(1, 50, 20, PX, PY);
  EXPECT_GT(MixedBlocks(Shot, QRect(PX - 20, PY - 12, 40, 24)), 5);
  EXPECT_GT(MixedBlocks(Shot, QRect(G.PlotLeft(), 0, G.PlotWidth(), G.MarginTop)), 5);

  // Marks, frame and ticks are the headless pixels enlarged (texts and the
  // diagonal are finer): a plot strip left of the text item, above the line.
  const QRect Plain(G.PlotLeft() + 1, G.PlotTop() + 1, 6, G.PlotHeight() / 2);
  EXPECT_EQ(Shot.copy(QRect(Plain.topLeft() * 2, Plain.size() * 2)),
            Enlarged(Logical).copy(QRect(Plain.topLeft() * 2, Plain.size() * 2)));

  // A mouse move redraws the data at the device ratio: texts stay fine.
  SendMove(Plot, QPointF(100, 100));
  C.Redraw();
  Pump();
  const QImage After = Plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(After.size(), Shot.size());
  EXPECT_GT(MixedBlocks(After, Labels), 20);
  EXPECT_GT(MixedBlocks(After, QRect(PX - 20, PY - 12, 40, 24)), 5);
}

// At ratio 2 a one-pixel diagonal is a band two device pixels wide whose
// rows move by one device pixel, never by a 2 x 2 block (a row at either end
// may hold the band's corner only).
TEST(DeviceRatio, ADiagonalStepsByOneDevicePixel) {
  REQUIRE_DEVICE_RATIO_ABOVE_1();
  if (ScreenRatio() != 2.0) GTEST_SKIP() << "ratio 2 only";
  VexaWidget W;
  W.resize(300, 300);
  TVexa& C = *W.chart();
  C.SetMarginLeft(20);
  C.SetMarginRight(20);
  C.SetMarginTop(20);
  C.SetMarginBottom(20);
  C.SetShadowWidth(0);
  C.SetRange(1, false, false, 0, 0, 100, 100);
  C.SetDataColor(clRed);
  C.AddLine(10, 15, 90, 80);  // not 45 degrees: rows of several lengths
  C.Redraw();
  W.show();
  Pump();
  const QImage Shot = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  int PrevLeft = -1, Steps = 0, Rows = 0, Narrow = 0;
  for (int Y = 0; Y < Shot.height(); ++Y) {
    int Left = -1, Right = -1;
    for (int X = 0; X < Shot.width(); ++X) {
      if (Shot.pixel(X, Y) != qRgb(255, 0, 0)) continue;
      if (Left < 0) Left = X;
      Right = X;
    }
    if (Left < 0) continue;
    ++Rows;
    Narrow += Right == Left;
    if (PrevLeft >= 0) {
      EXPECT_LE(std::abs(Left - PrevLeft), 2) << "row " << Y;
      if (std::abs(Left - PrevLeft) == 1) ++Steps;
    }
    PrevLeft = Left;
  }
  EXPECT_GT(Rows, 200);
  EXPECT_LE(Narrow, 2);
  // An enlarged raster moves only by whole blocks of 2.
  EXPECT_GT(Steps, Rows / 4);
}

TEST(DeviceRatio, RemovedTextsLeaveNoTrace) {
  REQUIRE_DEVICE_RATIO_ABOVE_1();
  VexaWidget W;
  W.resize(300, 220);
  TVexa& C = *W.chart();
  C.AddText(50, 50, "Gone", 12);
  C.Redraw();
  W.show();
  Pump();
  (void)W.grab();
  C.ClearItems();
  C.Redraw();
  Pump();
  const QImage Shot = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const TPlotGeometry G = C.Geometry();
  const double R = ScreenRatio();
  // The empty plot is one colour.
  const QRect Plot(G.PlotLeft() + 2, G.PlotTop() + 2, G.PlotWidth() - 4, G.PlotHeight() - 4);
  const QRect Device(static_cast<int>(Plot.left() * R), static_cast<int>(Plot.top() * R),
                     static_cast<int>(Plot.width() * R), static_cast<int>(Plot.height() * R));
  const QRgb Fill = Shot.pixel(Device.topLeft());
  for (int Y = Device.top(); Y < Device.bottom(); ++Y)
    for (int X = Device.left(); X < Device.right(); ++X) ASSERT_EQ(Shot.pixel(X, Y), Fill) << X << "," << Y;
}

TEST(DeviceRatio, ScaleDrawsNativelyAtTheRatio) {
  REQUIRE_DEVICE_RATIO_ABOVE_1();
  ScaleWidget W;
  W.resize(320, 70);
  W.scale()->SetRangeLow(0);
  W.scale()->SetRangeHigh(100);
  W.show();
  Pump();
  const QImage Shot = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(Shot.size(), DeviceSize(QSize(320, 70), ScreenRatio()));
  if (ScreenRatio() != 2.0) return;
  EXPECT_GT(MixedBlocks(Shot, QRect(0, 0, 320, 70)), 20);
}

}  // namespace
}  // namespace zkw
