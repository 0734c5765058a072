// VexaWidget and ScaleWidget in ordinary Qt layouts: position and size,
// input to the chart's events and to Qt signals, no application-wide side
// effects, focus, and the picture at device pixel ratio 1.
#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/screen.h"
#include "widget_support.h"
#include "widgets/ZKW_widgets.h"

namespace zkw {
namespace {

using namespace zkw::testing;

struct THost {
  QWidget Window;
  QLabel* Title;
  VexaWidget* Plot;
  explicit THost(int Margin = 23) {
    auto* L = new QVBoxLayout(&Window);
    L->setContentsMargins(Margin, Margin + 7, Margin, Margin);
    Title = new QLabel("Title");
    Plot = new VexaWidget;
    L->addWidget(Title);
    L->addWidget(Plot, 1);
    Window.resize(520, 420);
  }
};

TEST(VexaWidget, TakesItsLayoutPlaceAndShowsTheChartThere) {
  if (QGuiApplication::primaryScreen()->devicePixelRatio() != 1.0) GTEST_SKIP() << "picture checks at ratio 1";
  THost H;
  FillChart(*H.Plot->chart());
  H.Window.show();
  Pump();
  const QRect G = H.Plot->geometry();
  EXPECT_EQ(G.left(), 23);
  EXPECT_GT(G.top(), 30);  // below the title
  // The chart fills the widget and sits at its own origin.
  TVexa& C = *H.Plot->chart();
  EXPECT_EQ(C.Left(), 0);
  EXPECT_EQ(C.Top(), 0);
  EXPECT_EQ(C.Width(), G.width());
  EXPECT_EQ(C.Height(), G.height());
  // The window's picture holds the chart's surface at the widget's place.
  const QImage Shot = H.Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Shot.copy(G), SurfaceImage(C));
}

TEST(VexaWidget, ResizingTheWidgetResizesTheChartAndTheChartSizeTheWidget) {
  THost H;
  H.Window.show();
  Pump();
  H.Window.resize(700, 560);
  Pump();
  TVexa& C = *H.Plot->chart();
  EXPECT_EQ(QSize(C.Width(), C.Height()), H.Plot->size());
  EXPECT_EQ(QSize(C.WindowSurface().Width(), C.WindowSurface().Height()), H.Plot->size());
  EXPECT_GT(C.Width(), 600);

  // A size set on a free-standing chart widget resizes the widget.
  VexaWidget Free;
  Free.chart()->SetBounds(5, 6, 333, 222);
  EXPECT_EQ(Free.size(), QSize(333, 222));
  // The layout hints: room for the margins.
  EXPECT_GE(Free.minimumSizeHint().width(), C.MarginLeft() + C.MarginRight());
  EXPECT_GE(Free.minimumSizeHint().height(), C.MarginTop() + C.MarginBottom());
  EXPECT_TRUE(Free.sizeHint().isValid());
}

TEST(VexaWidget, MouseMoveRaisesTheSignalAndTheHostHandler) {
  VexaWidget W;
  W.resize(400, 300);
  TVexa& C = *W.chart();
  C.Redraw();
  int HostCalls = 0;
  bool HostInChart = false;
  // Assigned after the widget hooked in: both run.
  C.OnMouseMoveInChart = [&](TObject* Sender, bool InChart, TShiftState, double, double) {
    EXPECT_EQ(Sender, &C);
    ++HostCalls;
    HostInChart = InChart;
  };
  std::vector<std::tuple<bool, double, double>> Signals;
  QObject::connect(&W, &VexaWidget::mouseMoveInChart,
                   [&](bool InChart, double X, double Y) { Signals.emplace_back(InChart, X, Y); });
  SendMove(&W, QPointF(120.6, 100.2));
  ASSERT_EQ(HostCalls, 1);
  ASSERT_EQ(Signals.size(), 1u);
  double X = 0, Y = 0;
  C.PixelToWorld(C.CurrentLayer(), 120, 100, X, Y);
  EXPECT_TRUE(std::get<0>(Signals[0]));
  EXPECT_TRUE(HostInChart);
  EXPECT_DOUBLE_EQ(std::get<1>(Signals[0]), X);
  EXPECT_DOUBLE_EQ(std::get<2>(Signals[0]), Y);
  EXPECT_EQ(C.LastPointerPos(), (TPoint{120, 100}));

  // Outside the plot area; the host replaces its handler, clears it later.
  int Second = 0;
  C.OnMouseMoveInChart = [&](TObject*, bool, TShiftState, double, double) { ++Second; };
  SendMove(&W, QPointF(3, 3));
  EXPECT_EQ(Second, 1);
  ASSERT_EQ(Signals.size(), 2u);
  EXPECT_FALSE(std::get<0>(Signals[1]));
  C.OnMouseMoveInChart = nullptr;
  SendMove(&W, QPointF(200, 150));
  EXPECT_EQ(Signals.size(), 3u);
  EXPECT_EQ(HostCalls, 1);
}

TEST(VexaWidget, ChartEventsBecomeSignalsBesideTheHostHandlers) {
  VexaWidget W;
  TVexa& C = *W.chart();
  int HostZoom = 0, SignalZoom = 0;
  std::vector<int> CrossHairs, Labels;
  std::vector<double> Band;
  C.OnZoomPan = [&](TObject*) { ++HostZoom; };
  QObject::connect(&W, &VexaWidget::zoomPan, [&] { ++SignalZoom; });
  QObject::connect(&W, &VexaWidget::crossHairMoved, [&](int I) { CrossHairs.push_back(I); });
  QObject::connect(&W, &VexaWidget::textLabelMoved, [&](int I) { Labels.push_back(I); });
  QObject::connect(&W, &VexaWidget::rubberBand, [&](int L, double A, double B, double D, double E) {
    Band = {double(L), A, B, D, E};
  });
  // The widget re-chains before every call into the chart; the mouse
  // actions then raise the events from inside such a call.
  SendMove(&W, QPointF(10, 10));
  C.OnZoomPan(&C);
  C.OnCrossHairMove(&C, C.CrossHair(3));
  C.OnTextLabelMove(&C, C.TextLabel(17));
  C.OnRubberBand(&C, 2, 1.0, 2.0, 3.0, 4.0);
  EXPECT_EQ(HostZoom, 1);
  EXPECT_EQ(SignalZoom, 1);
  EXPECT_EQ(CrossHairs, std::vector<int>{3});
  EXPECT_EQ(Labels, std::vector<int>{17});
  EXPECT_EQ(Band, (std::vector<double>{2, 1, 2, 3, 4}));
}

TEST(VexaWidget, ClosingTheHostWindowEndsTheEventLoop) {
  ASSERT_TRUE(QApplication::quitOnLastWindowClosed());
  THost H;
  H.Window.show();
  SendMove(H.Plot, QPointF(100, 100));
  Pump();
  EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
  bool TimedOut = false;
  QTimer::singleShot(0, &H.Window, [&] { H.Window.close(); });
  QTimer Guard;
  Guard.setSingleShot(true);
  QObject::connect(&Guard, &QTimer::timeout, [&] {
    TimedOut = true;
    QApplication::exit(3);
  });
  Guard.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(TimedOut);
}

TEST(VexaWidget, PointerShapesGoOntoTheWidgetOnly) {
  THost H;
  H.Window.show();
  Pump();
  TVexa& C = *H.Plot->chart();
  C.SetMouseCursorFixed(false);  // the chart shows a cross over the plot
  std::vector<TCursor> AppWide;
  SetCursorHook([&](TCursor Cur) { AppWide.push_back(Cur); });
  const TCursor Before = Screen().Cursor();
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));

  SendMove(H.Plot, QPointF(150, 120));
  EXPECT_EQ(H.Plot->cursor().shape(), Qt::CrossCursor);
  SendMove(H.Plot, QPointF(2, 2));  // outside the plot: the default shape
  EXPECT_EQ(H.Plot->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(H.Plot->testAttribute(Qt::WA_SetCursor));

  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_TRUE(AppWide.empty());
  EXPECT_EQ(Screen().Cursor(), Before);
  // The chart's own Cursor property still shows when nothing overrides it.
  C.SetCursor(crHandPoint);
  EXPECT_EQ(H.Plot->cursor().shape(), Qt::PointingHandCursor);
  QApplication::restoreOverrideCursor();
  SetCursorHook(nullptr);
}

TEST(VexaWidget, TabMovesTheFocusOnPastTheChart) {
  QWidget Window;
  auto* L = new QHBoxLayout(&Window);
  auto* Before = new QLineEdit;
  auto* Plot = new VexaWidget;
  auto* After = new QLineEdit;
  L->addWidget(Before);
  L->addWidget(Plot);
  L->addWidget(After);
  const Qt::FocusPolicy BeforePolicy = Before->focusPolicy();
  Window.show();
  Window.activateWindow();
  Pump();
  Before->setFocus();
  Pump();
  ASSERT_EQ(QApplication::focusWidget(), Before);
  auto PressTab = [] {
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &Press);
    Pump();
  };
  PressTab();
  EXPECT_EQ(QApplication::focusWidget(), Plot);
  PressTab();
  EXPECT_EQ(QApplication::focusWidget(), After);
  EXPECT_EQ(Before->focusPolicy(), BeforePolicy);
  // Other keys still reach the chart.
  std::vector<std::uint16_t> Keys;
  Plot->chart()->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) { Keys.push_back(Key); };
  QKeyEvent Left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  QCoreApplication::sendEvent(Plot, &Left);
  EXPECT_EQ(Keys, std::vector<std::uint16_t>{VK_LEFT});
}

TEST(VexaWidget, AtRatioOneTheGrabIsTheHeadlessRendering) {
  if (QGuiApplication::primaryScreen()->devicePixelRatio() != 1.0) GTEST_SKIP() << "picture checks at ratio 1";
  VexaWidget W;
  W.resize(360, 260);
  FillChart(*W.chart());
  W.show();
  Pump();
  // The same chart drawn without any widget.
  TVexa Headless(nullptr);
  Headless.SetBounds(0, 0, 360, 260);
  Headless.HandleNeeded();
  FillChart(Headless);
  Headless.Repaint();
  const QImage Shot = W.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(Shot.size(), QSize(360, 260));
  EXPECT_EQ(Shot, SurfaceImage(Headless));
}

TEST(ScaleWidget, ShowsTheScaleAndChainsItsZoomPanEvent) {
  if (QGuiApplication::primaryScreen()->devicePixelRatio() != 1.0) GTEST_SKIP() << "picture checks at ratio 1";
  QWidget Window;
  auto* L = new QVBoxLayout(&Window);
  L->setContentsMargins(11, 17, 11, 11);
  auto* Axis = new ScaleWidget;
  L->addWidget(Axis);
  Window.resize(300, 90);
  Axis->scale()->SetRangeLow(0);
  Axis->scale()->SetRangeHigh(10);
  Window.show();
  Pump();
  TScale& S = *Axis->scale();
  EXPECT_EQ(QSize(S.Width(), S.Height()), Axis->size());
  const QImage Shot = Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Shot.copy(Axis->geometry()), SurfaceImage(S));

  int Host = 0, Signal = 0;
  S.OnZoomPan = [&](TObject*) { ++Host; };
  QObject::connect(Axis, &ScaleWidget::zoomPan, [&] { ++Signal; });
  SendMove(Axis, QPointF(20, 20));
  S.OnZoomPan(&S);
  EXPECT_EQ(Host, 1);
  EXPECT_EQ(Signal, 1);
}

TEST(QtColor, ConvertsBothWays) {
  EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
  EXPECT_EQ(ToQColor(clBtnFace), ToQColor(ColorToRGB(clBtnFace)));
  EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412);
  EXPECT_EQ(FromQColor(QColor(10, 20, 30, 40)), FromQColor(QColor(10, 20, 30)));
  EXPECT_EQ(FromQColor(QColor()), clBlack);
  for (TColor C : {clNavy, clTeal, clCream, TColor(0x00010203)}) EXPECT_EQ(FromQColor(ToQColor(C)), C);
}

}  // namespace
}  // namespace zkw
