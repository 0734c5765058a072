// Text on the canvas through Qt's font engine, on the bitmap's own pixels.
//  - The font name goes to fontconfig; a name it does not know ("MS Sans Serif")
//    falls back to an installed sans-serif font.
//  - Height < 0 is the character height (em size) in pixels, Height > 0 the cell
//    height (ascent + descent), 0 the default of 11 pixels.
//  - Glyphs are drawn without anti-aliasing, so every text pixel is exactly the
//    font colour and drawings stay reproducible pixel for pixel.
//  - The text box is TextWidth x TextHeight with its top-left corner at (X, Y);
//    a solid brush fills it first. TextOut does not move the pen.
//  - Strings are UTF-8; a string that is not valid UTF-8 is read as Latin-1, so a
//    single character code 128..255 (as a character mark uses) still draws.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <unordered_map>

#include "platform/graphics.h"
#include "platform/gui_app.h"
#include "platform/text_trace.h"

namespace zkw {

namespace {

bool IsValidUtf8(const std::string& S) {
  std::size_t I = 0;
  while (I < S.size()) {
    const auto C = static_cast<unsigned char>(S[I]);
    int Extra = 0;
    if (C < 0x80) {
      Extra = 0;
    } else if (C >= 0xC2 && C <= 0xDF) {
      Extra = 1;
    } else if (C >= 0xE0 && C <= 0xEF) {
      Extra = 2;
    } else if (C >= 0xF0 && C <= 0xF4) {
      Extra = 3;
    } else {
      return false;
    }
    if (I + Extra >= S.size()) return false;
    for (int K = 1; K <= Extra; ++K) {
      if ((static_cast<unsigned char>(S[I + K]) & 0xC0) != 0x80) return false;
    }
    I += static_cast<std::size_t>(Extra) + 1;
  }
  return true;
}

QString ToQString(const std::string& S) {
  return IsValidUtf8(S) ? QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size()))
                        : QString::fromLatin1(S.data(), static_cast<qsizetype>(S.size()));
}

QFont ToQFont(const TFont& F) {
  RequireGuiApplication();
  QFont Q(QString::fromStdString(F.Name()));
  Q.setStyleHint(QFont::SansSerif, QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
  Q.setBold(F.Style().Contains(fsBold));
  Q.setItalic(F.Style().Contains(fsItalic));
  Q.setUnderline(F.Style().Contains(fsUnderline));
  Q.setStrikeOut(F.Style().Contains(fsStrikeOut));
  const int H = F.Height();
  if (H < 0) {
    Q.setPixelSize(std::min(-H, 4096));
  } else if (H == 0) {
    Q.setPixelSize(11);
  } else {
    // Scale the em size so that ascent + descent comes out at the cell height.
    const int Cell = std::min(H, 4096);
    Q.setPixelSize(Cell);
    const int Measured = QFontMetrics(Q).height();
    if (Measured > 0) Q.setPixelSize(std::max(1, (Cell * Cell + Measured / 2) / Measured));
  }
  return Q;
}

using TTraceTable = std::unordered_map<const TBitmap*, std::vector<TTracedText>>;

TTraceTable& Traces() {
  static TTraceTable Table;
  return Table;
}

std::vector<TTracedText>*& ScopeList() {
  static std::vector<TTracedText>* List = nullptr;
  return List;
}

bool Covers(const TTracedText& Outer, const TTracedText& Inner) {
  return Inner.X >= Outer.X && Inner.Y >= Outer.Y && Inner.X + Inner.Width <= Outer.X + Outer.Width &&
         Inner.Y + Inner.Height <= Outer.Y + Outer.Height;
}

void Trace(std::vector<TTracedText>& List, TTracedText Text) {
  // A repaint draws the same texts again: the new one takes the old one's place.
  std::erase_if(List, [&](const TTracedText& Old) { return Covers(Text, Old); });
  if (List.size() >= MaxTracedTexts)
    List.erase(List.begin(), List.begin() + static_cast<std::ptrdiff_t>(List.size() - MaxTracedTexts + 1));
  List.push_back(std::move(Text));
}

QRgb ToRgb(TColor Color) {
  const auto C = static_cast<std::uint32_t>(ColorToRGB(Color));
  return qRgb(static_cast<int>(C & 0xFF), static_cast<int>((C >> 8) & 0xFF), static_cast<int>((C >> 16) & 0xFF));
}

}  // namespace

void StartTextTrace(const TBitmap& Bitmap) { Traces().try_emplace(&Bitmap); }

void StopTextTrace(const TBitmap& Bitmap) { Traces().erase(&Bitmap); }

TTextTraceScope::TTextTraceScope(std::vector<TTracedText>& Into) : FPreviousList(ScopeList()) { ScopeList() = &Into; }

TTextTraceScope::~TTextTraceScope() { ScopeList() = FPreviousList; }

std::vector<TTracedText>* TracedTexts(const TBitmap& Bitmap) {
  auto It = Traces().find(&Bitmap);
  return It == Traces().end() ? nullptr : &It->second;
}

int TCanvas::TextWidth(const std::string& Text) {
  if (Text.empty()) return 0;
  return QFontMetrics(ToQFont(FFont)).horizontalAdvance(ToQString(Text));
}

int TCanvas::TextHeight(const std::string& Text) {
  (void)Text;  // every text of a font has the same cell height
  return QFontMetrics(ToQFont(FFont)).height();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  const QFont Font = ToQFont(FFont);
  const QFontMetrics Metrics(Font);
  const QString S = ToQString(Text);
  const std::int64_t W = Text.empty() ? 0 : Metrics.horizontalAdvance(S), H = Metrics.height();
  if (FBrush.Style() == bsSolid && W > 0) {
    const auto C = static_cast<std::uint32_t>(ColorToRGB(FBrush.Color()));
    FillBox(X, Y, X + W, Y + H, 0xFF000000u | ((C & 0xFFu) << 16) | (C & 0xFF00u) | ((C >> 16) & 0xFFu), false);
  }
  QImage& Image = FTarget.Image();
  // Only a box that meets the picture is handed to Qt, so its coordinates stay small.
  if (W <= 0 || Image.isNull() || X >= Image.width() || Y >= Image.height() || X + W <= 0 || Y + H <= 0) return;
  const auto C = static_cast<std::uint32_t>(ColorToRGB(FFont.Color()));
  QPainter Painter(&Image);
  Painter.setFont(Font);
  Painter.setPen(QColor(static_cast<int>(C & 0xFF), static_cast<int>((C >> 8) & 0xFF), static_cast<int>((C >> 16) & 0xFF)));
  Painter.drawText(QPoint(X, Y + Metrics.ascent()), S);
  if (!Traces().empty() || ScopeList()) {
    auto It = Traces().find(&FTarget);
    std::vector<TTracedText>* List = It != Traces().end() ? &It->second : ScopeList();
    if (List) {
      TTracedText T;
      T.X = X;
      T.Y = Y;
      T.Width = static_cast<int>(W);
      T.Height = static_cast<int>(H);
      T.Ascent = Metrics.ascent();
      T.Text = S;
      T.Font = Font;
      T.Color = ToRgb(FFont.Color());
      T.Opaque = FBrush.Style() == bsSolid;
      T.Background = ToRgb(FBrush.Color());
      Trace(*List, std::move(T));
    }
  }
}

}  // namespace zkw
