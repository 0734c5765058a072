// VexaItem in a Qt Quick window on the software scene graph: its picture,
// input through the window (drag, hover, wheel), bound properties and their
// signals, bad input from QML, the hover highlight and the texture uploads.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "../widgets/widget_support.h"
#include "widgets/vexa_widget.h"
#include "quick_support.h"

namespace zkw {
namespace {

using namespace zkw::testing;

bool RatioOne() { return QGuiApplication::primaryScreen()->devicePixelRatio() == 1.0; }

QImage Headless(QSize Size, const std::function<void(TVexa&)>& Fill) {
  TVexa C(nullptr);
  C.SetBounds(0, 0, Size.width(), Size.height());
  C.HandleNeeded();
  Fill(C);
  C.Repaint();
  return SurfaceImage(C);
}

TEST(VexaItem, AtRatioOneTheWindowShowsExactlyTheHeadlessPixels) {
  if (!RatioOne()) GTEST_SKIP() << "picture checks at ratio 1";
  TItemWindow W({360, 260});
  FillChart(*W.Item->chart());
  const QImage Shot = W.Frame();
  ASSERT_EQ(Shot.size(), QSize(360, 260));
  EXPECT_EQ(Shot, Headless({360, 260}, [](TVexa& C) { FillChart(C); }));
  // A change of the data shows in the next frame.
  W.Item->chart()->AddLine(0, 50, 100, -50);
  W.Item->redraw();
  EXPECT_EQ(W.Frame(), Headless({360, 260}, [](TVexa& C) {
              FillChart(C);
              C.AddLine(0, 50, 100, -50);
              C.Redraw();
            }));
}

// At another ratio (CTest runs this file again with QT_SCALE_FACTOR=2) the
// item draws as the widget does: natively at the window's ratio, its frame
// the chart's own picture at that device scale.
TEST(VexaItem, AtOtherRatiosTheItemDrawsNativelyAsTheWidgetDoes) {
  if (RatioOne()) GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";
  const double Ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
  TItemWindow W({360, 260});
  FillChart(*W.Item->chart());
  const QImage Shot = W.Frame();
  EXPECT_EQ(W.Item->chart()->DrawMode().Scale, Ratio);
  ASSERT_EQ(Shot.size(), QSize(static_cast<int>(360 * Ratio), static_cast<int>(260 * Ratio)));
  TVexa C(nullptr);
  C.SetBounds(0, 0, 360, 260);
  C.HandleNeeded();
  FillChart(C);
  TBitmap Picture;
  PaintChartPicture(C, Picture, Ratio);
  EXPECT_EQ(Shot, Picture.Image().convertToFormat(QImage::Format_RGB32));
  // Saved without a scale: what the window shows, pixel for pixel.
  QTemporaryDir Dir;
  ASSERT_TRUE(W.Item->saveImage(Dir.filePath("shown.png")));
  EXPECT_EQ(QImage(Dir.filePath("shown.png")).convertToFormat(QImage::Format_RGB32), Shot);
}

TEST(VexaItem, ADragPansAndTheRangePropertiesAndSignalsFollow) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  TVexa& C = *I.chart();
  FillChart(C);
  I.setMouseAction("maPan");
  W.Frame();
  QSignalSpy XLow(&I, &VexaItem::xLowChanged), XHigh(&I, &VexaItem::xHighChanged);
  QSignalSpy YLow(&I, &VexaItem::yLowChanged), YHigh(&I, &VexaItem::yHighChanged);
  QSignalSpy ZoomPan(&I, &VexaItem::zoomPan);
  int HostZoomPans = 0;
  C.OnZoomPan = [&](TObject*) { ++HostZoomPans; };
  C.ResetRangeHistory();
  const double Low0 = I.xLow(), High0 = I.xHigh(), YLow0 = I.yLow();

  W.Drag({150, 120}, {210, 160});
  EXPECT_LT(I.xLow(), Low0);
  EXPECT_GT(I.yLow(), YLow0);
  // Exactly what the same drag does in the widget: one translation of Qt input.
  VexaWidget Widget;
  Widget.resize(400, 300);
  FillChart(*Widget.chart());
  Widget.setMouseAction("maPan");
  auto Send = [&](QEvent::Type Type, QPointF Pos, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
    QMouseEvent E(Type, Pos, Widget.mapToGlobal(Pos), Button, Buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&Widget, &E);
  };
  Send(QEvent::MouseButtonPress, {150, 120}, Qt::LeftButton, Qt::LeftButton);
  for (int K = 1; K <= 4; ++K) Send(QEvent::MouseMove, QPointF(150, 120) + QPointF(60, 40) * K / 4.0, Qt::NoButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, {210, 160}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(I.xLow(), Widget.xLow());
  EXPECT_EQ(I.xHigh(), Widget.xHigh());
  EXPECT_EQ(I.yLow(), Widget.yLow());
  EXPECT_EQ(I.yHigh(), Widget.yHigh());
  // The properties read the chart, and every end reported its change.
  EXPECT_EQ(I.xLow(), C.Scale1X().RangeLow());
  EXPECT_EQ(I.yHigh(), C.Scale1Y().RangeHigh());
  EXPECT_GE(XLow.count(), 1);
  EXPECT_GE(XHigh.count(), 1);
  EXPECT_GE(YLow.count(), 1);
  EXPECT_GE(YHigh.count(), 1);
  EXPECT_GE(ZoomPan.count(), 1);
  EXPECT_EQ(HostZoomPans, ZoomPan.count());

  // Back: the ranges return and say so.
  const int Before = XLow.count();
  EXPECT_TRUE(I.rangeHistoryBack());
  EXPECT_EQ(I.xLow(), Low0);
  EXPECT_EQ(I.xHigh(), High0);
  EXPECT_EQ(XLow.count(), Before + 1);
}

TEST(VexaItem, TheWheelZoomsOnlyWhenWheelZoomIsOn) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  FillChart(*I.chart());
  W.Frame();
  QSignalSpy XLow(&I, &VexaItem::xLowChanged), Flag(&I, &VexaItem::wheelZoomChanged);
  I.setWheelZoom(false);
  const double Width0 = I.xHigh() - I.xLow();
  W.Wheel({200, 150}, 120);
  EXPECT_EQ(I.xHigh() - I.xLow(), Width0);
  EXPECT_EQ(XLow.count(), 0);

  I.setWheelZoom(true);
  EXPECT_EQ(Flag.count(), 1);
  I.setWheelZoom(true);
  EXPECT_EQ(Flag.count(), 1) << "no signal without a change";
  W.Wheel({200, 150}, 120);
  EXPECT_NE(I.xHigh() - I.xLow(), Width0);
  EXPECT_EQ(XLow.count(), 1);
}

TEST(VexaItem, MovesWithoutAButtonReachTheChartAsInTheWidget) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  TVexa& C = *I.chart();
  FillChart(C);
  W.Frame();
  int Host = 0;
  C.OnMouseMoveInChart = [&](TObject*, bool, TShiftState, double, double) { ++Host; };
  QSignalSpy Moves(&I, &VexaItem::mouseMoveInChart);
  W.Hover({120.6, 100.2});
  ASSERT_EQ(Moves.count(), 1);
  EXPECT_EQ(Host, 1);
  double X = 0, Y = 0;
  C.PixelToWorld(C.CurrentLayer(), 120, 100, X, Y);
  EXPECT_TRUE(Moves[0][0].toBool());
  EXPECT_DOUBLE_EQ(Moves[0][1].toDouble(), X);
  EXPECT_DOUBLE_EQ(Moves[0][2].toDouble(), Y);
  W.Hover({2, 2});
  ASSERT_EQ(Moves.count(), 2);
  EXPECT_FALSE(Moves[1][0].toBool());
}

TEST(VexaItem, PointerShapesGoOntoTheItemOnly) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  FillChart(*I.chart());
  I.setMouseAction("maZoomWind");
  W.Frame();
  W.Hover({200, 150});
  W.Mouse(QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  W.Mouse(QEvent::MouseButtonRelease, {200, 150}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  // A shape the chart itself has shows on the item.
  I.chart()->SetCursor(crCross);
  EXPECT_EQ(I.cursor().shape(), Qt::CrossCursor);
}

TEST(VexaItem, AMoveToAnotherScreenShowsTheChartAgain) {
  TItemWindow W;
  FillChart(*W.Item->chart());
  W.Frame();
  const int Before = W.Item->textureUploads();
  W.Frame();
  EXPECT_EQ(W.Item->textureUploads(), Before) << "nothing changed";
  // What the window reports when it moves to a screen (of another ratio).
  QMetaObject::invokeMethod(&W.Window, "screenChanged", Q_ARG(QScreen*, W.Window.screen()));
  W.Frame();
  EXPECT_EQ(W.Item->textureUploads(), Before + 1);
}

TEST(VexaItem, KeysReachTheChartAndTabMovesTheFocusOn) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  TVexa& C = *I.chart();
  auto* Next = new QQuickItem(W.Window.contentItem());
  Next->setActiveFocusOnTab(true);
  W.Frame();
  // A click gives the item the focus, as it gives a widget.
  W.Mouse(QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton, Qt::LeftButton);
  W.Mouse(QEvent::MouseButtonRelease, {200, 150}, Qt::LeftButton, Qt::NoButton);
  ASSERT_TRUE(I.hasActiveFocus());
  std::vector<int> Keys;
  std::string Chars;
  C.OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) { Keys.push_back(Key); };
  C.OnKeyPress = [&](TObject*, char& Key) { Chars += Key; };
  QKeyEvent A(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QCoreApplication::sendEvent(&W.Window, &A);
  QKeyEvent Left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  QCoreApplication::sendEvent(&W.Window, &Left);
  EXPECT_EQ(Keys, (std::vector<int>{'A', 0x25}));
  EXPECT_EQ(Chars, "a");
  QKeyEvent Tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
  QCoreApplication::sendEvent(&W.Window, &Tab);
  EXPECT_EQ(Keys.size(), 2u) << "Tab is not the chart's";
  EXPECT_TRUE(Next->hasActiveFocus());
}

TEST(VexaItem, FollowsAnchorsAndSizeBindingsInQml) {
  UseSoftwareSceneGraph();
  registerQmlTypes();
  QQmlEngine Engine;
  QQmlComponent Component(&Engine);
  Component.setData("import QtQuick\nimport Zkw.Vexa\n"
                    "Item { width: 300; height: 200\n"
                    "  VexaItem { objectName: 'chart'; anchors.fill: parent; anchors.margins: 10 } }",
                    QUrl());
  std::unique_ptr<QObject> Root(Component.create());
  ASSERT_TRUE(Root) << Component.errorString().toStdString();
  auto* I = Root->findChild<VexaItem*>("chart");
  ASSERT_NE(I, nullptr);
  EXPECT_EQ(I->chart()->Width(), 280);
  EXPECT_EQ(I->chart()->Height(), 180);
  Root->setProperty("width", 500);
  EXPECT_EQ(I->chart()->Width(), 480);
  // A fractional size stays as the layout made it; the chart takes it rounded.
  Root->setProperty("width", 300.4);
  EXPECT_EQ(I->width(), 280.4);
  EXPECT_EQ(I->chart()->Width(), 280);
  // A size set on the chart sizes the item.
  auto* Free = new VexaItem;
  std::unique_ptr<VexaItem> Own(Free);
  Free->chart()->SetBounds(0, 0, 222, 111);
  EXPECT_EQ(Free->size(), QSizeF(222, 111));
}

TEST(VexaItem, BadInputFromQmlWarnsAndChangesNothing) {
  UseSoftwareSceneGraph();
  registerQmlTypes();
  QQmlEngine Engine;
  QQmlComponent Component(&Engine);
  Component.setData("import QtQuick\nimport Zkw.Vexa\n"
                    "VexaItem { width: 300; height: 200\n"
                    "  function lengths() { return addMarks([1, 2, 3], [1, 2], Mark.FilledSquare) }\n"
                    "  function text() { return addMarks([1, 'two'], [1, 2], Mark.FilledSquare) }\n"
                    "  function nan() { return addMark(NaN, 1, 7) }\n"
                    "  function notAnArray() { return addMarks(5, [1], 7) }\n"
                    "  function badType() { return addMark(1, 1, 'square') }\n"
                    "  function good() { return addMarks([1, 2, 3], [4, 5, 6], Mark.FilledSquare) }\n"
                    "  function action() { mouseAction = 'maFly' }\n"
                    "  function save(f) { return saveImage(f) }\n"
                    "}",
                    QUrl());
  std::unique_ptr<QObject> Root(Component.create());
  ASSERT_TRUE(Root) << Component.errorString().toStdString();
  auto* I = qobject_cast<VexaItem*>(Root.get());
  ASSERT_NE(I, nullptr);
  auto Call = [&](const char* Fn, QVariant Arg = {}) {
    QVariant Result;
    if (Arg.isValid())
      QMetaObject::invokeMethod(Root.get(), Fn, Q_RETURN_ARG(QVariant, Result), Q_ARG(QVariant, Arg));
    else
      QMetaObject::invokeMethod(Root.get(), Fn, Q_RETURN_ARG(QVariant, Result));
    return Result;
  };
  TWarnings Warn;
  EXPECT_FALSE(Call("lengths").toBool());
  EXPECT_TRUE(Warn.Contains("3 x values but 2 y values"));
  EXPECT_FALSE(Call("text").toBool());
  EXPECT_TRUE(Warn.Contains("xs[1] is the text \"two\""));
  EXPECT_FALSE(Call("nan").toBool());
  EXPECT_TRUE(Warn.Contains("x is nan, not a finite number"));
  EXPECT_FALSE(Call("notAnArray").toBool());
  EXPECT_TRUE(Warn.Contains("not an array of numbers"));
  EXPECT_FALSE(Call("badType").toBool());
  EXPECT_TRUE(Warn.Contains("type is the text \"square\""));
  EXPECT_EQ(I->chart()->ItemCount(), 0);

  const QString Before = I->mouseAction();
  Call("action");
  EXPECT_TRUE(Warn.Contains("unknown mouse action 'maFly'"));
  EXPECT_EQ(I->mouseAction(), Before);

  EXPECT_FALSE(Call("save", QStringLiteral("/no/such/folder/chart.png")).toBool());
  EXPECT_TRUE(Warn.Contains("chart.png"));
  EXPECT_EQ(Warn.Texts.size(), 7);

  EXPECT_TRUE(Call("good").toBool());
  EXPECT_EQ(I->chart()->ItemCount(), 3);
  EXPECT_EQ(I->chart()->GetItem(2).MarkType, 7);
  EXPECT_EQ(Warn.Texts.size(), 7);

  // Typed lists from a C++ side: QList<qreal>, checked the same way.
  const QVariant Xs = QVariant::fromValue(QList<qreal>{7, 8}), Ys = QVariant::fromValue(QList<qreal>{9, 10});
  EXPECT_TRUE(I->addMarks(Xs, Ys, Mark::Star));
  EXPECT_EQ(I->chart()->GetItem(4).X, 8);
  EXPECT_FALSE(I->addMarks(Xs, QVariant::fromValue(QList<qreal>{1, std::nan("")}), Mark::Star));
  EXPECT_TRUE(Warn.Contains("ys[1] is nan"));
  EXPECT_FALSE(I->addMarks(Xs, Ys, 2.5));
  EXPECT_FALSE(I->addMarks(Xs, Ys, 300));
  EXPECT_EQ(I->chart()->ItemCount(), 5);
}

// What QML could not do without C++: a scale for saved pictures, polylines
// from two arrays, the axis captions, and the route from the item to its chart.
TEST(VexaItem, SaveImageTakesAScaleAndRefusesBadOnes) {
  VexaItem I;
  I.setSize({200, 150});
  FillChart(*I.chart());
  QTemporaryDir Dir;
  const QString File = Dir.filePath("x2.png");
  ASSERT_TRUE(I.saveImage(File, 2));
  TBitmap Expected;
  PaintChartPicture(*I.chart(), Expected, 2);
  const QImage Saved(File);
  EXPECT_EQ(Saved.size(), QSize(400, 300));
  EXPECT_EQ(Saved.convertToFormat(QImage::Format_RGB32), Expected.Image().convertToFormat(QImage::Format_RGB32));
  // Without a window and without a scale: the item's own size.
  ASSERT_TRUE(I.saveImage(Dir.filePath("x1.png")));
  EXPECT_EQ(QImage(Dir.filePath("x1.png")).size(), QSize(200, 150));
  TWarnings Warn;
  for (const QVariant& Bad : {QVariant(std::nan("")), QVariant(INFINITY), QVariant(0.0), QVariant(-1.0),
                              QVariant(65.0), QVariant(QStringLiteral("2"))})
    EXPECT_FALSE(I.saveImage(Dir.filePath("bad.png"), Bad)) << Bad.toString().toStdString();
  EXPECT_EQ(Warn.Texts.size(), 6);
  EXPECT_TRUE(Warn.Contains("scale is nan"));
  EXPECT_TRUE(Warn.Contains("at most 64"));
  EXPECT_FALSE(QFile::exists(Dir.filePath("bad.png")));
}

TEST(VexaItem, AddPolylineDrawsOneLineAndRefusesArraysOfDifferentLengths) {
  if (!RatioOne()) GTEST_SKIP() << "picture checks at ratio 1";
  UseSoftwareSceneGraph();
  registerQmlTypes();
  QQuickWindow Window;  // outlives the item shown in it
  QQmlEngine Engine;
  QQmlComponent Component(&Engine);
  Component.setData("import QtQuick\nimport Zkw.Vexa\n"
                    "Item { width: 300; height: 200\n"
                    "  VexaItem { objectName: 'chart'; anchors.fill: parent; dataColor: 'red'\n"
                    "    function good() { return addPolyline([0, 30, 60, 100], [-40, 40, -10, 30]) }\n"
                    "    function uneven() { return addPolyline([0, 30, 60], [-40, 40]) } } }",
                    QUrl());
  std::unique_ptr<QObject> Root(Component.create());
  ASSERT_TRUE(Root) << Component.errorString().toStdString();
  auto* I = Root->findChild<VexaItem*>("chart");
  ASSERT_NE(I, nullptr);
  QVariant Result;
  TWarnings Warn;
  QMetaObject::invokeMethod(I, "uneven", Q_RETURN_ARG(QVariant, Result));
  EXPECT_FALSE(Result.toBool());
  EXPECT_TRUE(Warn.Contains("addPolyline: 3 x values but 2 y values"));
  EXPECT_EQ(I->chart()->ItemCount(), 0);
  QMetaObject::invokeMethod(I, "good", Q_RETURN_ARG(QVariant, Result));
  EXPECT_TRUE(Result.toBool());
  I->redraw();
  // The same pixels as the chart's own move-to and draw-tos in the same colour.
  qobject_cast<QQuickItem*>(Root.get())->setParentItem(Window.contentItem());
  Window.resize(300, 200);
  Window.show();
  PumpEvents();
  const QImage Shot = Window.grabWindow().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Shot, Headless({300, 200}, [](TVexa& C) {
              C.SetDataColor(clRed);
              C.AddMoveTo(0, -40);
              C.AddDrawTo(30, 40);
              C.AddDrawTo(60, -10);
              C.AddDrawTo(100, 30);
              C.Redraw();
            }));
}

TEST(VexaItem, AxisCaptionsAreTheLayerOneScaleCaptionsAndNotify) {
  if (!RatioOne()) GTEST_SKIP() << "picture checks at ratio 1";
  TItemWindow W;
  VexaItem& I = *W.Item;
  TVexa& C = *I.chart();
  FillChart(C);
  const QImage Plain = W.Frame();
  QSignalSpy X(&I, &VexaItem::xCaptionChanged), Y(&I, &VexaItem::yCaptionChanged);
  I.setXCaption(QStringLiteral("time [s]"));
  I.setProperty("yCaption", QStringLiteral("volts"));
  EXPECT_EQ(C.Scale1X().Caption(), "time [s]");
  EXPECT_EQ(C.Scale1Y().Caption(), "volts");
  EXPECT_EQ(X.count(), 1);
  EXPECT_EQ(Y.count(), 1);
  EXPECT_EQ(W.Frame(), Headless({400, 300}, [](TVexa& H) {
              FillChart(H);
              H.Scale1X().SetCaption("time [s]");
              H.Scale1Y().SetCaption("volts");
            }));
  EXPECT_NE(W.Frame(), Plain);
  // A caption set on the chart itself is reported at the next redraw().
  C.Scale1X().SetCaption("t");
  I.redraw();
  EXPECT_EQ(I.xCaption(), "t");
  EXPECT_EQ(X.count(), 2);
}

TEST(VexaItem, ChartOfGivesTheChartOfAnItemHandedOverAsAnObject) {
  VexaItem I;
  QQuickItem Other;
  QObject* AsObject = &I;
  EXPECT_EQ(VexaItem::chartOf(AsObject), I.chart());
  EXPECT_EQ(VexaItem::chartOf(&Other), nullptr);
  EXPECT_EQ(VexaItem::chartOf(nullptr), nullptr);
  VexaWidget Widget;
  EXPECT_EQ(VexaItem::chartOf(&Widget), nullptr);
  EXPECT_EQ(VexaWidget::chartOf(&Widget), Widget.chart());
  EXPECT_EQ(VexaWidget::chartOf(&I), nullptr);
}

TEST(VexaItem, RefusedRangeEndsWarnAndKeepTheRange) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  FillChart(*I.chart());
  QSignalSpy XLow(&I, &VexaItem::xLowChanged);
  TWarnings Warn;
  I.setXLow(100);  // equal to xHigh
  EXPECT_TRUE(Warn.Contains("layer 1, axis X"));
  EXPECT_EQ(I.xLow(), 0);
  EXPECT_EQ(XLow.count(), 0);
  I.setXLow(-20);
  EXPECT_EQ(I.xLow(), -20);
  EXPECT_EQ(XLow.count(), 1);
}

TEST(VexaItem, TheHoverHighlightIsAnOverlayOutsideTheDataAndTheExports) {
  if (!RatioOne()) GTEST_SKIP() << "picture checks at ratio 1";
  TItemWindow W;
  VexaItem& I = *W.Item;
  TVexa& C = *I.chart();
  FillChart(C);
  const QImage Plain = W.Frame();
  const int Items = C.ItemCount();
  I.setHoverHighlight(true);
  I.setToolTip(true);
  QSignalSpy Hover(&I, &VexaItem::hoverChanged);
  int PX = 0, PY = 0;
  C.WorldToPixel(1, 55, 10, PX, PY);  // mark 11 of FillChart: (55, 10), above the line
  W.Hover(QPointF(PX + 1, PY - 1));
  EXPECT_GE(Hover.count(), 1);
  EXPECT_EQ(I.hoverPoint(), QPointF(PX, PY));
  EXPECT_TRUE(I.hoverText().contains("x = 55")) << I.hoverText().toStdString();
  const QImage Shot = W.Frame();
  EXPECT_NE(Shot, Plain);
  // Only the overlay's square around the item differs, in the highlight colour.
  for (int Y = 0; Y < Shot.height(); ++Y)
    for (int X = 0; X < Shot.width(); ++X)
      if (Shot.pixel(X, Y) != Plain.pixel(X, Y)) {
        ASSERT_LE(std::abs(X - PX), 8);
        ASSERT_LE(std::abs(Y - PY), 8);
        ASSERT_EQ(Shot.pixel(X, Y), qRgb(255, 0, 0));
      }
  EXPECT_EQ(C.ItemCount(), Items);
  QTemporaryDir Dir;
  const QString File = Dir.filePath("export.png");
  ASSERT_TRUE(I.saveImage(File));
  EXPECT_EQ(QImage(File).convertToFormat(QImage::Format_RGB32), Plain);
  // Leaving removes it.
  W.Hover({3, 3});
  EXPECT_TRUE(I.hoverText().isEmpty());
  EXPECT_EQ(W.Frame(), Plain);
  // Lit again, then the ranges change: the overlay moves with its item.
  W.Hover(QPointF(PX + 1, PY - 1));
  ASSERT_EQ(W.Frame().pixel(PX - 3, PY), qRgb(255, 0, 0));  // the left edge of the hollow square
  I.setXLow(-20);
  int NX = 0, NY = 0;
  C.WorldToPixel(1, 55, 10, NX, NY);
  ASSERT_NE(NX, PX);
  const QImage Moved = W.Frame();
  EXPECT_EQ(Moved.pixel(NX - 3, NY), qRgb(255, 0, 0));
  EXPECT_NE(Moved.pixel(PX - 3, PY), qRgb(255, 0, 0));
}

TEST(VexaItem, AFrameWithAMillionMarksCopiesTheSurfaceOnce) {
  TItemWindow W;
  VexaItem& I = *W.Item;
  TVexa& C = *I.chart();
  std::vector<double> Xs(1000000), Ys(1000000);
  for (std::size_t K = 0; K < Xs.size(); ++K) {
    Xs[K] = static_cast<double>(K % 1000) / 10.0;
    Ys[K] = static_cast<double>(K / 1000) / 10.0 - 50.0;
  }
  FillChart(C);
  W.Frame();
  ASSERT_TRUE(I.face().addMarks(Xs, Ys, Mark::Dot));
  const int Before = I.textureUploads();
  I.redraw();
  W.Frame();
  EXPECT_EQ(I.textureUploads() - Before, 1);
  // The texture keeps no reference to the surface: the chart's next drawing copies nothing.
  EXPECT_TRUE(static_cast<const TBitmap&>(C.WindowSurface()).Image().isDetached());
  // A frame without a change of the surface copies nothing.
  W.Hover({5, 5});
  W.Frame();
  EXPECT_EQ(I.textureUploads() - Before, 1);
}

}  // namespace
}  // namespace zkw
