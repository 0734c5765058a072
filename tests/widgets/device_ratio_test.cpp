// The widgets at the device pixel ratio of the screen. Run a second time by
// CTest with QT_SCALE_FACTOR=2 (ZKW_EXPECT_DEVICE_RATIO=2): the pictures are
// twice the size, lines and fills are the headless pixels enlarged, and the
// texts are drawn at device resolution rather than enlarged.
#include <gtest/gtest.h>

#include <QVBoxLayout>
#include <cstdlib>

#include "widget_support.h"
#include "widgets/ZKW_widgets.h"

namespace zkw {
namespace {

using namespace zkw::testing;

double ScreenRatio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// Skips at ratio 1 unless the run expects another ratio (then it fails).
#define REQUIRE_DEVICE_RATIO_2()                                                        \
  do {                                                                                  \
    const char* Expected = std::getenv("ZKW_EXPECT_DEVICE_RATIO");                      \
    if (Expected) {                                                                     \
      ASSERT_EQ(ScreenRatio(), std::atof(Expected));                                    \
    }                                                                                   \
    if (ScreenRatio() != 2.0) GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";            \
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

TEST(DeviceRatio, ChartTextIsDrawnAtDeviceResolution) {
  REQUIRE_DEVICE_RATIO_2();
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
  ASSERT_EQ(Shot.size(), Plot->size() * 2);
  Shot.save(QString(ZKW_TEST_OUTPUT_DIR) + "/vexa_widget_ratio2.png");
  // The chart keeps its layout in logical pixels.
  EXPECT_EQ(QSize(C.Width(), C.Height()), Plot->size());
  const QImage Logical = SurfaceImage(C);

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

  // Away from text the pixels are the headless ones, enlarged: a plot strip
  // left of the text item, under the caption.
  const QRect Plain(G.PlotLeft() + 1, G.PlotTop() + 1, 6, G.PlotHeight() - 2);
  EXPECT_EQ(Shot.copy(QRect(Plain.topLeft() * 2, Plain.size() * 2)),
            Enlarged(Logical).copy(QRect(Plain.topLeft() * 2, Plain.size() * 2)));

  // A mouse move redraws the data, texts stay sharp.
  SendMove(Plot, QPointF(100, 100));
  C.Redraw();
  Pump();
  const QImage After = Plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_GT(MixedBlocks(After, Labels), 20);
  EXPECT_GT(MixedBlocks(After, QRect(PX - 20, PY - 12, 40, 24)), 5);
}

TEST(DeviceRatio, RemovedTextsLeaveNoTrace) {
  REQUIRE_DEVICE_RATIO_2();
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
  // The empty plot is one colour: no text was drawn again from the record.
  const QRect Plot(G.PlotLeft() + 2, G.PlotTop() + 2, G.PlotWidth() - 4, G.PlotHeight() - 4);
  const QRgb Fill = Shot.pixel(Plot.left() * 2, Plot.top() * 2);
  for (int Y = Plot.top() * 2; Y < Plot.bottom() * 2; ++Y)
    for (int X = Plot.left() * 2; X < Plot.right() * 2; ++X) ASSERT_EQ(Shot.pixel(X, Y), Fill) << X << "," << Y;
}

TEST(DeviceRatio, ScaleTextIsDrawnAtDeviceResolution) {
  REQUIRE_DEVICE_RATIO_2();
  ScaleWidget W;
  W.resize(320, 70);
  W.scale()->SetRangeLow(0);
  W.scale()->SetRangeHigh(100);
  W.show();
  Pump();
  const QImage Shot = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(Shot.size(), QSize(640, 140));
  const QImage Logical = SurfaceImage(*W.scale());
  EXPECT_EQ(MixedBlocks(Enlarged(Logical), QRect(0, 0, 320, 70)), 0);
  EXPECT_GT(MixedBlocks(Shot, QRect(0, 0, 320, 70)), 20);
}

}  // namespace
}  // namespace zkw
