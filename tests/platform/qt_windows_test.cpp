// Real windows under QT_QPA_PLATFORM=offscreen: the example form shown with
// Qt peers, synthetic Qt input reaching the entry points, the message loop,
// cursors and the message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QMessageBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

#include "platform/qt/qt_backend.h"
#include "platform/qt_color.h"
#include "platform/screen.h"
#include "framework_example.h"

using namespace zkw;
using namespace zkw::testing;

namespace {

// Widgets need a QApplication: make sure whatever creates the GUI
// application object in this test program creates that kind.
const bool FactoryInstalled = [] {
  InstallQtApplicationFactory();
  return true;
}();

void Pump() {
  for (int I = 0; I < 5; ++I) Application().ProcessMessages();
}

class QtWindows : public ::testing::Test {
 protected:
  void SetUp() override { InstallQtBackend(); }
  void TearDown() override {
    Pump();
    UninstallQtBackend();
  }

  static void SendMouse(QWidget* W, QEvent::Type Type, QPointF Pos, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                        Qt::KeyboardModifiers Mods) {
    QMouseEvent E(Type, Pos, W->mapToGlobal(Pos), Button, Buttons, Mods);
    QCoreApplication::sendEvent(W, &E);
  }
};

TEST_F(QtWindows, ExampleFormShowsItsControlsAsWidgets) {
  TExampleForm F(nullptr);
  F.Show();
  Pump();
  QWidget* Form = PeerWidget(F);
  QWidget* Swatch = PeerWidget(*F.Swatch1);
  auto* Label = qobject_cast<QLabel*>(PeerWidget(*F.Label1));
  auto* Button = qobject_cast<QPushButton*>(PeerWidget(*F.BitBtn1));
  ASSERT_NE(Form, nullptr);
  ASSERT_NE(Swatch, nullptr);
  ASSERT_NE(Label, nullptr);
  ASSERT_NE(Button, nullptr);
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Form->windowTitle(), "Example");
  EXPECT_EQ(Form->size(), QSize(240, 160));
  EXPECT_EQ(Form->minimumSize(), Form->maximumSize());  // a dialog frame: fixed size
  EXPECT_EQ(Swatch->parentWidget(), Form);
  EXPECT_EQ(Swatch->geometry(), QRect(8, 8, 120, 100));
  EXPECT_TRUE(Swatch->hasMouseTracking());
  EXPECT_EQ(Label->text(), "Move over the disc");
  EXPECT_EQ(Button->text(), "Exit");
  EXPECT_EQ(Label->font().pixelSize(), 13);

  // Caption and bounds changes reach the widgets.
  F.Label1->SetCaption("changed");
  F.Swatch1->SetBounds(10, 12, 100, 90);
  EXPECT_EQ(Label->text(), "changed");
  EXPECT_EQ(Swatch->geometry(), QRect(10, 12, 100, 90));
  EXPECT_EQ(F.Swatch1->WindowSurface().Width(), 100);
}

TEST_F(QtWindows, ShownFormIsActivatedAndItsCustomControlPaintsIntoTheGrab) {
  TExampleForm F(nullptr);
  F.Show();
  Pump();
  EXPECT_GE(F.Activations, 1);
  EXPECT_GE(F.Swatch1->PaintCount, 1);
  TBitmap Shot;
  ASSERT_TRUE(F.GrabImage(Shot));
  EXPECT_EQ(Shot.Width(), 240);
  EXPECT_EQ(Shot.Height(), 160);
  EXPECT_EQ(Shot.Canvas().Pixels(8 + 60, 8 + 50), clNavy);   // the disc
  EXPECT_EQ(Shot.Canvas().Pixels(8 + 1, 8 + 1), clWhite);    // the control's background
  EXPECT_EQ(Shot.Canvas().Pixels(2, 2), ColorToRGB(clBtnFace));  // the form
}

TEST_F(QtWindows, SyntheticQtMouseEventsReachTheEntryPointsWithCoordinatesAndShiftState) {
  TExampleForm F(nullptr);
  F.Show();
  Pump();
  QWidget* Swatch = PeerWidget(*F.Swatch1);
  ASSERT_NE(Swatch, nullptr);

  SendMouse(Swatch, QEvent::MouseMove, QPointF(30, 40), Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
  ASSERT_EQ(F.Moves.size(), 1u);
  EXPECT_EQ(F.Moves[0].X, 30);
  EXPECT_EQ(F.Moves[0].Y, 40);
  EXPECT_EQ(F.Moves[0].Shift, TShiftState{ssShift});
  EXPECT_EQ(F.Label1->Caption(), "30, 40");

  SendMouse(Swatch, QEvent::MouseButtonPress, QPointF(5.7, 6.2), Qt::LeftButton, Qt::LeftButton,
            Qt::ControlModifier | Qt::AltModifier);
  ASSERT_EQ(F.Downs.size(), 1u);
  EXPECT_EQ(F.Downs[0].X, 5);
  EXPECT_EQ(F.Downs[0].Y, 6);
  EXPECT_EQ(F.Downs[0].Shift, (TShiftState{ssLeft, ssCtrl, ssAlt}));
  SendMouse(Swatch, QEvent::MouseButtonRelease, QPointF(5, 6), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);

  // A Qt double click: DblClick, then a press carrying ssDouble.
  int DblClicks = 0;
  F.Swatch1->OnDblClick = [&](TObject*) {
    ++DblClicks;
    EXPECT_EQ(F.Downs.size(), 1u);  // before the press
  };
  SendMouse(Swatch, QEvent::MouseButtonDblClick, QPointF(7, 8), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  EXPECT_EQ(DblClicks, 1);
  ASSERT_EQ(F.Downs.size(), 2u);
  EXPECT_EQ(F.Downs[1].Shift, (TShiftState{ssLeft, ssDouble}));

  // Moves far outside the window keep their sign and saturate at 16 bits.
  SendMouse(Swatch, QEvent::MouseMove, QPointF(-12, 70000), Qt::NoButton, Qt::RightButton, Qt::NoModifier);
  ASSERT_EQ(F.Moves.size(), 2u);
  EXPECT_EQ(F.Moves[1].X, -12);
  EXPECT_EQ(F.Moves[1].Y, 32767);
  EXPECT_EQ(F.Moves[1].Shift, TShiftState{ssRight});
}

TEST_F(QtWindows, TabReachesOnlyAControlThatAsksForIt) {
  TExampleForm F(nullptr);
  F.Show();
  Pump();
  QWidget* Swatch = PeerWidget(*F.Swatch1);
  ASSERT_NE(Swatch, nullptr);
  std::vector<std::uint16_t> Keys;
  F.Swatch1->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) { Keys.push_back(Key); };
  QKeyEvent Tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
  QCoreApplication::sendEvent(Swatch, &Tab);
  EXPECT_TRUE(Keys.empty());  // the form's focus navigation took it
  F.Swatch1->WantsTab = true;
  QCoreApplication::sendEvent(Swatch, &Tab);
  ASSERT_EQ(Keys.size(), 1u);
  EXPECT_EQ(Keys[0], VK_TAB);
}

TEST_F(QtWindows, EnterLeaveWheelAndResizeReachTheControl) {
  TExampleForm F(nullptr);
  F.Show();
  Pump();
  QWidget* Swatch = PeerWidget(*F.Swatch1);
  std::vector<std::string> Log;
  F.Swatch1->OnMouseEnter = [&](TObject*) { Log.push_back("enter"); };
  F.Swatch1->OnMouseLeave = [&](TObject*) { Log.push_back("leave"); };
  F.Swatch1->OnMouseWheel = [&](TObject*, TShiftState, int Delta, TPoint P, bool&) {
    Log.push_back("wheel " + std::to_string(Delta) + " " + std::to_string(P.X) + "," + std::to_string(P.Y));
  };
  F.Swatch1->OnResize = [&](TObject*) { Log.push_back("resize"); };
  QEnterEvent Enter(QPointF(1, 1), QPointF(1, 1), Swatch->mapToGlobal(QPointF(1, 1)));
  QCoreApplication::sendEvent(Swatch, &Enter);
  QWheelEvent Wheel(QPointF(3, 4), Swatch->mapToGlobal(QPointF(3, 4)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(Swatch, &Wheel);
  QEvent Leave(QEvent::Leave);
  QCoreApplication::sendEvent(Swatch, &Leave);
  Swatch->resize(50, 40);  // the window system resizes the widget
  EXPECT_EQ(Log, (std::vector<std::string>{"enter", "wheel -120 3,4", "leave", "resize"}));
  EXPECT_EQ(F.Swatch1->Width(), 50);
  EXPECT_EQ(F.Swatch1->WindowSurface().Height(), 40);
}

TEST_F(QtWindows, AHandlerMayFreeTheControlWhoseWidgetDeliversTheEvent) {
  TExampleForm F(nullptr);
  auto* Extra = new TSwatch(&F);
  Extra->SetParent(&F);
  F.Show();
  Pump();
  QPointer<QWidget> W = PeerWidget(*Extra);
  ASSERT_FALSE(W.isNull());
  Extra->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { delete Extra; };
  SendMouse(W, QEvent::MouseButtonPress, QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  EXPECT_EQ(F.ComponentCount(), 3);
  Pump();
  EXPECT_TRUE(W.isNull());  // deleted once the event was over
}

TEST_F(QtWindows, RunShowsTheMainFormAndReturnsWhenItCloses) {
  TExampleForm* F = nullptr;
  Application().CreateForm(F);
  ASSERT_EQ(Application().MainForm(), F);
  QTimer::singleShot(20, [F] {
    if (auto* B = qobject_cast<QPushButton*>(PeerWidget(*F->BitBtn1))) B->click();
  });
  QTimer Guard;  // never hang the test run
  Guard.setSingleShot(true);
  QObject::connect(&Guard, &QTimer::timeout, [] { Application().Terminate(); });
  Guard.start(5000);
  Application().Run();
  EXPECT_EQ(F->ButtonClicks, 1);
  EXPECT_FALSE(F->Visible());
  EXPECT_TRUE(Application().Terminated());
  delete F;
  EXPECT_EQ(Application().MainForm(), nullptr);
}

TEST_F(QtWindows, ApplicationCursorIsQtsOverrideCursor) {
  TCursorImage Zoom;
  for (int Y = 0; Y < 32; ++Y) Zoom.Mask[Y] = 0xFFFF0000u;
  Zoom.Image[0] = 0x80000000u;
  Zoom.HotX = 7;
  Zoom.HotY = 9;
  Screen().SetCursors(2, Zoom);
  Screen().SetCursor(crCross);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  Screen().SetCursor(2);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BitmapCursor);
  EXPECT_EQ(QApplication::overrideCursor()->hotSpot(), QPoint(7, 9));
  const QImage Mask = QApplication::overrideCursor()->mask().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Mask.pixel(0, 0), qRgb(0, 0, 0));       // drawn
  EXPECT_EQ(Mask.pixel(20, 0), qRgb(255, 255, 255));  // transparent
  Screen().SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  Screen().RemoveCursor(2);
  EXPECT_EQ(CursorToQt(2).shape(), Qt::ArrowCursor);
}

TEST_F(QtWindows, MessageBoxIsModalWithOneOkButton) {
  QString Text;
  int Buttons = -1;
  QTimer::singleShot(0, [&] {
    auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!Box) return;
    Text = Box->text();
    Buttons = static_cast<int>(Box->buttons().size());
    if (Box->standardButtons() != QMessageBox::Ok) Buttons = -2;
    Box->button(QMessageBox::Ok)->click();
  });
  ShowMessage("Chart is already in use");
  EXPECT_EQ(Text, "Chart is already in use");
  EXPECT_EQ(Buttons, 1);
}

TEST(QtConversions, KeysAndShiftStates) {
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Left), VK_LEFT);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A), 'A');
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F5), 116);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter), VK_RETURN);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_MediaPlay), 0);
  EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::MiddleButton),
            (TShiftState{ssShift, ssCtrl, ssMiddle}));
  EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 128));
}

}  // namespace
