// Translations between Qt's input, colours, fonts and cursors and the
// platform's own values.
#include <QBitmap>
#include <QImage>
#include <QPixmap>

#include "platform/qt/qt_backend.h"

namespace zkw {

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
  TShiftState S;
  if (Modifiers & Qt::ShiftModifier) S.Include(ssShift);
  if (Modifiers & Qt::AltModifier) S.Include(ssAlt);
  if (Modifiers & Qt::ControlModifier) S.Include(ssCtrl);
  if (Buttons & Qt::LeftButton) S.Include(ssLeft);
  if (Buttons & Qt::RightButton) S.Include(ssRight);
  if (Buttons & Qt::MiddleButton) S.Include(ssMiddle);
  return S;
}

std::uint16_t VirtualKeyFromQt(int Key) {
  if ((Key >= Qt::Key_A && Key <= Qt::Key_Z) || (Key >= Qt::Key_0 && Key <= Qt::Key_9))
    return static_cast<std::uint16_t>(Key);  // same codes as ASCII
  if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24) return static_cast<std::uint16_t>(112 + (Key - Qt::Key_F1));
  switch (Key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
  }
}

QFont FontToQt(const TFont& Font) {
  QFont Q(QString::fromStdString(Font.Name()));
  Q.setStyleHint(QFont::SansSerif);
  Q.setBold(Font.Style().Contains(fsBold));
  Q.setItalic(Font.Style().Contains(fsItalic));
  Q.setUnderline(Font.Style().Contains(fsUnderline));
  Q.setStrikeOut(Font.Style().Contains(fsStrikeOut));
  // Negative heights are character heights; positive ones cell heights, of
  // which the character takes about four fifths.
  const int H = Font.Height();
  const int Pixels = H < 0 ? -H : (H == 0 ? 11 : std::max(1, H * 4 / 5));
  Q.setPixelSize(std::min(Pixels, 4096));
  return Q;
}

namespace {

QCursor ImageCursor(const TCursorImage& Image) {
  // Bit 1 of a QBitmap is black; mask bit 1 makes the pixel visible.
  QImage Bits(32, 32, QImage::Format_Mono);
  QImage Mask(32, 32, QImage::Format_Mono);
  Bits.setColor(0, qRgb(255, 255, 255));
  Bits.setColor(1, qRgb(0, 0, 0));
  Mask.setColor(0, qRgb(255, 255, 255));
  Mask.setColor(1, qRgb(0, 0, 0));
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) {
      Bits.setPixel(X, Y, Image.Pixel(X, Y) ? 1 : 0);
      Mask.setPixel(X, Y, Image.Opaque(X, Y) ? 1 : 0);
    }
  return QCursor(QBitmap::fromImage(Bits), QBitmap::fromImage(Mask), Image.HotX, Image.HotY);
}

}  // namespace

QCursor CursorToQt(TCursor Cursor) {
  if (Cursor > 0) {
    const TCursorImage* Image = Screen().Cursors(Cursor);
    return Image ? ImageCursor(*Image) : QCursor(Qt::ArrowCursor);
  }
  switch (Cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}

}  // namespace zkw
