#include "platform/qt/qt_peers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_input.h"
#include "platform/qt_color.h"

namespace zkw::qtpeer {

// ---------------------------------------------------------------- surface widget

TSurfaceWidget::TSurfaceWidget(TCustomControl& Control, QWidget* Parent) : QWidget(Parent), TControlLink(&Control) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // The surface covers every pixel: no background erase before paintEvent.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

template <typename F>
void TSurfaceWidget::Dispatch(F&& Fn) {
  auto* C = static_cast<TCustomControl*>(Control());
  if (!C) return;
  QPointer<QWidget> Self(this);
  Fn(*C);
  if (Self && Control()) update();
}

void TSurfaceWidget::paintEvent(QPaintEvent*) {
  QPainter P(this);
  auto* C = static_cast<TCustomControl*>(Control());
  if (!C) {
    P.fillRect(rect(), palette().window());
    return;
  }
  FollowDeviceRatio(*C, devicePixelRatioF());
  PaintSurface(P, *C);
}

void TSurfaceWidget::mouseMoveEvent(QMouseEvent* E) {
  Dispatch([&](TCustomControl& C) { SendMouseMove(C, *E); });
}

void TSurfaceWidget::mousePressEvent(QMouseEvent* E) {
  Dispatch([&](TCustomControl& C) { SendMousePress(C, *E); });
}

void TSurfaceWidget::mouseReleaseEvent(QMouseEvent* E) {
  Dispatch([&](TCustomControl& C) { SendMouseRelease(C, *E); });
}

void TSurfaceWidget::mouseDoubleClickEvent(QMouseEvent* E) {
  Dispatch([&](TCustomControl& C) { SendMouseDoubleClick(C, *E); });
}

void TSurfaceWidget::wheelEvent(QWheelEvent* E) {
  Dispatch([&](TCustomControl& C) { SendWheel(C, *E); });
  E->accept();
}

void TSurfaceWidget::enterEvent(QEnterEvent*) {
  Dispatch([](TCustomControl& C) { C.CMMouseEnter(); });
}

void TSurfaceWidget::leaveEvent(QEvent*) {
  Dispatch([](TCustomControl& C) { C.CMMouseLeave(); });
}

void TSurfaceWidget::keyPressEvent(QKeyEvent* E) {
  Dispatch([&](TCustomControl& C) { SendKeyPress(C, *E, [this] { return Control() != nullptr; }); });
}

bool TSurfaceWidget::event(QEvent* E) {
  if (E->type() == QEvent::KeyPress) {
    auto* K = static_cast<QKeyEvent*>(E);
    auto* C = static_cast<TCustomControl*>(Control());
    if ((K->key() == Qt::Key_Tab || K->key() == Qt::Key_Backtab) && C &&
        C->WMGetDlgCode().Contains(dcWantTab)) {
      keyPressEvent(K);
      return true;
    }
  }
  return QWidget::event(E);
}

void TSurfaceWidget::keyReleaseEvent(QKeyEvent* E) {
  Dispatch([&](TCustomControl& C) { SendKeyRelease(C, *E); });
}

void TSurfaceWidget::resizeEvent(QResizeEvent* E) {
  const QSize S = E->size();
  Dispatch([&](TCustomControl& C) {
    if (C.Width() != S.width() || C.Height() != S.height()) C.WMSize(S.width(), S.height());
  });
}

// ---------------------------------------------------------------- form widget

TFormWidget::TFormWidget(TForm& Form) : QWidget(nullptr), TControlLink(&Form) { setAutoFillBackground(true); }

bool TFormWidget::event(QEvent* E) {
  const QEvent::Type Type = E->type();
  QPointer<QWidget> Self(this);
  const bool Result = QWidget::event(E);  // may delete this (deferred delete)
  if (!Self) return Result;
  if (auto* F = static_cast<TForm*>(Control())) {
    if (Type == QEvent::WindowActivate && F->Visible())
      F->Activate();
    else if (Type == QEvent::WindowDeactivate)
      F->Deactivate();
  }
  return Result;
}

void TFormWidget::closeEvent(QCloseEvent* E) {
  // The form decides: Close hides it through the peer.
  E->ignore();
  if (auto* F = static_cast<TForm*>(Control())) F->Close();
}

void TFormWidget::resizeEvent(QResizeEvent* E) {
  QWidget::resizeEvent(E);
  auto* F = static_cast<TForm*>(Control());
  if (F && (F->Width() != E->size().width() || F->Height() != E->size().height()))
    F->WMSize(E->size().width(), E->size().height());
}

// ---------------------------------------------------------------- standard widgets

TButtonWidget::TButtonWidget(TBitBtn& Button, QWidget* Parent) : QPushButton(Parent), TControlLink(&Button) {
  connect(this, &QPushButton::clicked, this, [this] {
    if (TControl* C = Control()) C->Click();
  });
}

TLabelWidget::TLabelWidget(TLabel& Label, QWidget* Parent) : QLabel(Parent), TControlLink(&Label) {
  setTextFormat(Qt::PlainText);
  setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

TComboWidget::TComboWidget(TComboBox& Combo, QWidget* Parent) : QComboBox(Parent), TControlLink(&Combo) {
  connect(this, &QComboBox::currentIndexChanged, this, [this](int Index) {
    if (auto* C = static_cast<TComboBox*>(Control())) C->WMSelectItem(Index);
  });
}

TCheckWidget::TCheckWidget(TCheckBox& Check, QWidget* Parent) : QCheckBox(Parent), TControlLink(&Check) {
  connect(this, &QCheckBox::toggled, this, [this](bool On) {
    if (auto* C = static_cast<TCheckBox*>(Control())) C->SetChecked(On);
  });
}

TMemoWidget::TMemoWidget(TMemo& Memo, QWidget* Parent) : QPlainTextEdit(Parent), TControlLink(&Memo) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

TContainerWidget::TContainerWidget(TWinControl& Control, QWidget* Parent) : QWidget(Parent), TControlLink(&Control) {
  setAutoFillBackground(true);
}

// ---------------------------------------------------------------- peers

TQtPeer::TQtPeer(QWidget* Widget, TControlLink* Link) : FWidget(Widget), FLink(Link) {}

TQtPeer::~TQtPeer() {
  if (!FWidget || !QCoreApplication::instance()) return;
  // The widget may be inside one of its own event handlers right now.
  FLink->Detach();
  FWidget->hide();
  FWidget->deleteLater();
}

void TQtPeer::InitFrom(const TControl& Control) {
  if (!FWidget) return;
  FColor = Control.Color();
  FFontColor = Control.Font().Color();
  FWidget->setFont(FontToQt(Control.Font()));
  ApplyPalette();
  TQtPeer::SetBounds(Control.Left(), Control.Top(), Control.Width(), Control.Height());
  SetEnabled(Control.Enabled());
  if (Control.Cursor() != crDefault) SetCursor(Control.Cursor());
}

void TQtPeer::ApplyPalette() {
  QPalette P = FWidget->palette();
  P.setColor(QPalette::Window, ToQColor(FColor));
  P.setColor(QPalette::Button, ToQColor(FColor));
  P.setColor(QPalette::WindowText, ToQColor(FFontColor));
  P.setColor(QPalette::ButtonText, ToQColor(FFontColor));
  FWidget->setPalette(P);
}

void TQtPeer::Invalidate() {
  if (FWidget) FWidget->update();
}

void TQtPeer::UpdateSurface() {
  if (FWidget) FWidget->update();
}

void TQtPeer::SetBounds(int Left, int Top, int Width, int Height) {
  if (FWidget) FWidget->setGeometry(Left, Top, Width, Height);
}

void TQtPeer::SetVisible(bool Visible) {
  if (FWidget) FWidget->setVisible(Visible);
}

void TQtPeer::SetEnabled(bool Enabled) {
  if (FWidget) FWidget->setEnabled(Enabled);
}

void TQtPeer::SetCaption(const std::string& Caption) {
  if (!FWidget) return;
  const QString Text = QString::fromUtf8(Caption.data(), static_cast<qsizetype>(Caption.size()));
  if (auto* L = qobject_cast<QLabel*>(FWidget.data()))
    L->setText(Text);
  else if (auto* B = qobject_cast<QAbstractButton*>(FWidget.data()))
    B->setText(Text);
  else if (FWidget->isWindow())
    FWidget->setWindowTitle(Text);
}

void TQtPeer::SetColor(TColor Color) {
  if (!FWidget) return;
  FColor = Color;
  ApplyPalette();
  FWidget->update();
}

void TQtPeer::SetFont(const TFont& Font) {
  if (!FWidget) return;
  FFontColor = Font.Color();
  FWidget->setFont(FontToQt(Font));
  ApplyPalette();
}

void TQtPeer::SetCursor(TCursor Cursor) {
  if (!FWidget) return;
  if (Cursor == crDefault)
    FWidget->unsetCursor();
  else
    FWidget->setCursor(CursorToQt(Cursor));
}

void TQtPeer::SetAlignment(TAlignment Alignment) {
  auto* L = qobject_cast<QLabel*>(FWidget.data());
  if (!L) return;
  const Qt::Alignment H = Alignment == taRightJustify ? Qt::AlignRight
                          : Alignment == taCenter     ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
  L->setAlignment(H | Qt::AlignTop);
}

namespace {
QString FromUtf8(const std::string& Text) {
  return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}
}  // namespace

void TQtPeer::SetItems(const std::vector<std::string>& Items) {
  if (auto* C = qobject_cast<QComboBox*>(FWidget.data())) {
    const QSignalBlocker Quiet(C);
    C->clear();
    for (const std::string& I : Items) C->addItem(FromUtf8(I));
  } else if (auto* M = qobject_cast<QPlainTextEdit*>(FWidget.data())) {
    QStringList Lines;
    for (const std::string& I : Items) Lines << FromUtf8(I);
    M->setPlainText(Lines.join(QLatin1Char('\n')));
    M->verticalScrollBar()->setValue(M->verticalScrollBar()->maximum());
  }
}

void TQtPeer::AddItem(const std::string& Item) {
  if (auto* C = qobject_cast<QComboBox*>(FWidget.data())) {
    const QSignalBlocker Quiet(C);
    C->addItem(FromUtf8(Item));
  } else if (auto* M = qobject_cast<QPlainTextEdit*>(FWidget.data())) {
    // appendPlainText scrolls to the new line when the view is at the end.
    M->appendPlainText(FromUtf8(Item));
  }
}

void TQtPeer::SetItemIndex(int Index) {
  if (auto* C = qobject_cast<QComboBox*>(FWidget.data())) {
    const QSignalBlocker Quiet(C);
    C->setCurrentIndex(Index);
  }
}

void TQtPeer::SetChecked(bool Checked) {
  if (auto* B = qobject_cast<QCheckBox*>(FWidget.data())) {
    const QSignalBlocker Quiet(B);
    B->setChecked(Checked);
  }
}

void TQtPeer::SetReadOnly(bool ReadOnly) {
  if (auto* M = qobject_cast<QPlainTextEdit*>(FWidget.data())) M->setReadOnly(ReadOnly);
}

void TQtFormPeer::SetFixedSize(bool Fixed) {
  FFixed = Fixed;
  QWidget* W = Widget();
  if (!W) return;
  if (Fixed) {
    W->setFixedSize(W->size());
  } else {
    W->setMinimumSize(0, 0);
    W->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
}

void TQtFormPeer::SetBounds(int Left, int Top, int Width, int Height) {
  QWidget* W = Widget();
  if (!W) return;
  W->move(Left, Top);
  if (FFixed)
    W->setFixedSize(Width, Height);
  else
    W->resize(Width, Height);
}

void TQtFormPeer::Activate() {
  if (QWidget* W = Widget()) {
    if (QGuiApplication::platformName() != "offscreen") W->raise();  // unsupported there
    W->activateWindow();
  }
}

bool TQtFormPeer::Grab(TBitmap& Image) {
  QWidget* W = Widget();
  if (!W) return false;
  const QImage Shot = W->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (Shot.isNull()) return false;
  Image.SetSize(Shot.width(), Shot.height());
  for (int Y = 0; Y < Shot.height(); ++Y) {
    const auto* Src = reinterpret_cast<const std::uint32_t*>(Shot.constScanLine(Y));
    std::copy(Src, Src + Shot.width(), Image.ScanLine(Y));
  }
  return true;
}

namespace {

template <typename W, typename C>
std::unique_ptr<TControlPeer> MakePeer(C& Control, QWidget* Parent) {
  auto* Widget = new W(Control, Parent);
  auto Peer = std::make_unique<TQtPeer>(Widget, Widget);
  Peer->InitFrom(Control);
  return Peer;
}

}  // namespace

std::unique_ptr<TControlPeer> CreateQtPeer(TControl& Control) {
  if (auto* F = dynamic_cast<TForm*>(&Control); F && !F->Parent()) {
    auto Peer = std::make_unique<TQtFormPeer>(*F);
    Peer->InitFrom(*F);
    Peer->SetCaption(F->Caption());
    Peer->SetFixedSize(F->BorderStyle() == bsDialog || F->BorderStyle() == bsSingle ||
                       F->BorderStyle() == bsToolWindow);
    if (QWidget* W = Peer->Widget()) W->setVisible(F->Visible());
    return Peer;
  }
  TWinControl* Parent = Control.Parent();
  QWidget* ParentWidget = Parent ? PeerWidget(*Parent) : nullptr;
  if (!ParentWidget) return nullptr;
  std::unique_ptr<TControlPeer> Peer;
  if (auto* L = dynamic_cast<TLabel*>(&Control)) {
    Peer = MakePeer<TLabelWidget>(*L, ParentWidget);
    Peer->SetCaption(L->Caption());
    Peer->SetAlignment(L->Alignment());
  } else if (auto* B = dynamic_cast<TBitBtn*>(&Control)) {
    Peer = MakePeer<TButtonWidget>(*B, ParentWidget);
    Peer->SetCaption(B->Caption());
  } else if (auto* CB = dynamic_cast<TComboBox*>(&Control)) {
    Peer = MakePeer<TComboWidget>(*CB, ParentWidget);
    Peer->SetItems(CB->Items());
    Peer->SetItemIndex(CB->ItemIndex());
  } else if (auto* CK = dynamic_cast<TCheckBox*>(&Control)) {
    Peer = MakePeer<TCheckWidget>(*CK, ParentWidget);
    Peer->SetCaption(CK->Caption());
    Peer->SetChecked(CK->Checked());
  } else if (auto* M = dynamic_cast<TMemo*>(&Control)) {
    Peer = MakePeer<TMemoWidget>(*M, ParentWidget);
    Peer->SetItems(M->Lines());
    Peer->SetReadOnly(M->ReadOnly());
  } else if (auto* CC = dynamic_cast<TCustomControl*>(&Control)) {
    Peer = MakePeer<TSurfaceWidget>(*CC, ParentWidget);
  } else if (auto* WC = dynamic_cast<TWinControl*>(&Control)) {
    Peer = MakePeer<TContainerWidget>(*WC, ParentWidget);
  } else {
    return nullptr;
  }
  Peer->SetVisible(Control.Visible());
  return Peer;
}

}  // namespace zkw::qtpeer
