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
#include <cstdint>
#include <cwchar>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/graphics.h"
#include "platform/gui_app.h"
#include "platform/pixel_fill.h"

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

// ------------------------------------------------------------ text caches
// Measuring and drawing a label through Qt costs a font look-up, shaping and a
// painter per call, many times the cost of the pixels; a scale repaints the
// same few labels in the same font again and again. Both are cached here:
//  - per font state (name, height, style): the QFont, its metrics and ascent;
//  - per text of that font: its width and the pixels its glyphs set, found
//    once by drawing white on black into a scratch picture.
// Glyphs are drawn without anti-aliasing, so every pixel Qt sets is exactly
// the font colour whatever lies below: replaying the recorded pixels in the
// colour of the moment is the very picture drawText makes. A text whose
// scratch drawing is not two-coloured, or reaches the scratch border, keeps
// being drawn through Qt. Both caches are bounded: over their limits they
// start again empty.

// One horizontal run of set pixels, relative to the top-left of the text box.
struct TInkSpan {
  std::int32_t DY;
  std::int32_t X0;
  std::int32_t X1;  // exclusive
};

struct TTextEntry {
  int Width = 0;
  // 0 not looked at yet, 1 spans recorded, 2 drawn through Qt every time.
  std::uint8_t Ink = 0;
  std::vector<TInkSpan> Spans;
};

struct TFontEntry {
  // ToQFont starts the application object that the font needs.
  explicit TFontEntry(const TFont& F)
      : Font(ToQFont(F)), Metrics(Font), Height(Metrics.height()), Ascent(Metrics.ascent()) {}
  QFont Font;
  QFontMetrics Metrics;
  int Height = 0;
  int Ascent = 0;
  std::unordered_map<std::string, TTextEntry> Texts;
  std::size_t Spans = 0;  // recorded runs of all its texts
};

struct TFontKey {
  std::string Name;
  int Height = 0;
  std::uint32_t Style = 0;
  bool operator==(const TFontKey&) const = default;
};

struct TFontKeyHash {
  std::size_t operator()(const TFontKey& K) const {
    return std::hash<std::string>()(K.Name) ^ (static_cast<std::size_t>(K.Height) * 0x9E3779B97F4A7C15ull) ^
           (static_cast<std::size_t>(K.Style) << 20);
  }
};

constexpr std::size_t MaxCachedFonts = 32;
constexpr std::size_t MaxCachedTexts = 2048;  // per font
// Recorded runs of all fonts (12 bytes each): over this the caches start again.
constexpr std::size_t MaxCachedSpans = 1u << 20;
// Larger texts are not recorded but drawn through Qt each time: recording
// draws the text into a scratch picture with a margin of a line height all
// round and scans every pixel of it, which for long texts in large fonts costs
// far more than drawing them (a scale with a few hundred such labels took
// seconds per paint). Scale labels and captions stay well below the limit.
constexpr int MaxRecordedWidth = 2048;
constexpr int MaxRecordedHeight = 256;
constexpr std::int64_t MaxRecordedPixels = 1 << 16;  // of the scratch picture

void RecordInk(const TFontEntry& F, const std::string& Text, TTextEntry& E);

class TTextCache {
 public:
  std::mutex Lock;
  bool Enabled = true;

  // The entry of the font; the pointer stays valid until the next call.
  TFontEntry& FontOf(const TFont& F) {
    if (FSpans > MaxCachedSpans) Clear();
    if (FLast && FLastKey.Height == F.Height() && FLastKey.Style == F.Style().Raw() && FLastKey.Name == F.Name())
      return *FLast;
    TFontKey Key{F.Name(), F.Height(), F.Style().Raw()};
    auto It = FFonts.find(Key);
    if (It == FFonts.end()) {
      if (FFonts.size() >= MaxCachedFonts) Clear();
      It = FFonts.emplace(Key, std::make_unique<TFontEntry>(F)).first;
    }
    FLastKey = std::move(Key);
    FLast = It->second.get();
    return *FLast;
  }

  // The entry of a text in the font, measured on first use.
  TTextEntry& TextOf(TFontEntry& F, const std::string& Text) {
    auto It = F.Texts.find(Text);
    if (It != F.Texts.end()) return It->second;
    if (F.Texts.size() >= MaxCachedTexts) {
      F.Texts.clear();
      FSpans -= F.Spans;
      F.Spans = 0;
    }
    TTextEntry E;
    E.Width = Text.empty() ? 0 : F.Metrics.horizontalAdvance(ToQString(Text));
    return F.Texts.emplace(Text, std::move(E)).first->second;
  }

  // Records the text's pixels (see Record) and counts them against the limit.
  void Record(TFontEntry& F, const std::string& Text, TTextEntry& E) {
    RecordInk(F, Text, E);
    F.Spans += E.Spans.size();
    FSpans += E.Spans.size();
  }

  void Clear() {
    FFonts.clear();
    FLast = nullptr;
    FSpans = 0;
  }

 private:
  std::unordered_map<TFontKey, std::unique_ptr<TFontEntry>, TFontKeyHash> FFonts;
  TFontKey FLastKey;
  TFontEntry* FLast = nullptr;
  std::size_t FSpans = 0;
};

// Never destroyed: Qt's font objects must not outlive the application object,
// and static destruction would run after it.
TTextCache& Cache() {
  static TTextCache* C = new TTextCache;
  return *C;
}

// Draws the text white on black with a margin around its box and records the
// set pixels; gives up (Ink = 2) when the picture is not two-coloured or ink
// reaches the margin's outer edge.
void RecordInk(const TFontEntry& F, const std::string& Text, TTextEntry& E) {
  E.Ink = 2;
  E.Spans.clear();
  if (E.Width <= 0 || E.Width > MaxRecordedWidth || F.Height <= 0 || F.Height > MaxRecordedHeight) return;
  const int Pad = F.Height + 4;  // italics and accents may leave the box
  if (std::int64_t{E.Width + 2 * Pad} * (F.Height + 2 * Pad) > MaxRecordedPixels) return;
  QImage Scratch(E.Width + 2 * Pad, F.Height + 2 * Pad, QImage::Format_RGB32);
  if (Scratch.isNull()) return;
  Scratch.fill(0xFF000000u);
  {
    QPainter P(&Scratch);
    P.setFont(F.Font);
    P.setPen(QColor(255, 255, 255));
    P.drawText(QPoint(Pad, Pad + F.Ascent), ToQString(Text));
  }
  std::vector<TInkSpan> Spans;
  const int W = Scratch.width(), H = Scratch.height();
  for (int Y = 0; Y < H; ++Y) {
    const auto* Row = reinterpret_cast<const std::uint32_t*>(Scratch.constScanLine(Y));
    int X = 0;
    while (X < W) {
      const std::uint32_t C = Row[X] & 0xFFFFFFu;
      if (C == 0) {
        ++X;
        continue;
      }
      if (C != 0xFFFFFFu) return;
      const int Start = X;
      while (X < W && (Row[X] & 0xFFFFFFu) == 0xFFFFFFu) ++X;
      if (X < W && (Row[X] & 0xFFFFFFu) != 0) return;
      if (Y == 0 || Y == H - 1 || Start == 0 || X == W) return;
      Spans.push_back({Y - Pad, Start - Pad, X - Pad});
    }
  }
  E.Spans = std::move(Spans);
  E.Ink = 1;
}

// The recorded pixels of a text whose box is at (X, Y), clipped to the picture.
void Replay(std::uint32_t* Bits, std::int64_t Stride, int W, int H, std::int64_t X, std::int64_t Y,
            const std::vector<TInkSpan>& Spans, std::uint32_t Pixel) {
  for (const TInkSpan& S : Spans) {
    const std::int64_t Row = Y + S.DY;
    if (Row < 0 || Row >= H) continue;
    const std::int64_t L = std::max<std::int64_t>(X + S.X0, 0), R = std::min<std::int64_t>(X + S.X1, W);
    if (L >= R) continue;
    FillPixels(Bits + Row * Stride + L, R - L, Pixel);
  }
}

}  // namespace

void SetTextCaching(bool Enabled) {
  TTextCache& C = Cache();
  const std::lock_guard<std::mutex> Guard(C.Lock);
  C.Enabled = Enabled;
  C.Clear();
}

bool TextCaching() {
  TTextCache& C = Cache();
  const std::lock_guard<std::mutex> Guard(C.Lock);
  return C.Enabled;
}

int TCanvas::TextWidth(const std::string& Text) {
  if (Text.empty()) return 0;
  TTextCache& C = Cache();
  const std::lock_guard<std::mutex> Guard(C.Lock);
  if (!C.Enabled) return QFontMetrics(ToQFont(FFont)).horizontalAdvance(ToQString(Text));
  return C.TextOf(C.FontOf(FFont), Text).Width;
}

int TCanvas::TextHeight(const std::string& Text) {
  (void)Text;  // every text of a font has the same cell height
  TTextCache& C = Cache();
  const std::lock_guard<std::mutex> Guard(C.Lock);
  if (!C.Enabled) return QFontMetrics(ToQFont(FFont)).height();
  return C.FontOf(FFont).Height;
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  TTextCache& C = Cache();
  const std::lock_guard<std::mutex> Guard(C.Lock);
  // Without the cache a font of its own for this call (the reference drawing).
  std::unique_ptr<TFontEntry> Own;
  TFontEntry* F = nullptr;
  if (C.Enabled) {
    F = &C.FontOf(FFont);
  } else {
    Own = std::make_unique<TFontEntry>(FFont);
    F = Own.get();
  }
  TTextEntry Scratch;
  TTextEntry* E = &Scratch;
  if (C.Enabled) {
    E = &C.TextOf(*F, Text);
  } else {
    Scratch.Width = Text.empty() ? 0 : F->Metrics.horizontalAdvance(ToQString(Text));
    Scratch.Ink = 2;
  }
  const std::int64_t W = E->Width, H = F->Height;
  TBitmap& T = FTarget;
  if (!T.FExact) {
    PaintText(X, Y, ToQString(Text), static_cast<int>(W), static_cast<int>(H), F->Ascent, F->Font);
    return;
  }
  if (T.FStale) T.Surface();
  if (FBrush.Style() == bsSolid && W > 0) {
    const auto B = static_cast<std::uint32_t>(ColorToRGB(FBrush.Color()));
    const std::uint32_t Pixel = 0xFF000000u | ((B & 0xFFu) << 16) | (B & 0xFF00u) | ((B >> 16) & 0xFFu);
    const std::int64_t L = std::max<std::int64_t>(X, 0), R = std::min<std::int64_t>(X + W, T.FW);
    const std::int64_t Top = std::max<std::int64_t>(Y, 0), Bottom = std::min<std::int64_t>(Y + H, T.FH);
    for (std::int64_t Row = Top; L < R && Row < Bottom; ++Row) FillPixels(T.FBits + Row * T.FStride + L, R - L, Pixel);
  }
  // Only a box that meets the picture is drawn, so Qt's coordinates stay small.
  if (W <= 0 || T.FW <= 0 || T.FH <= 0 || X >= T.FW || Y >= T.FH || X + W <= 0 || Y + H <= 0) return;
  const auto Ink = static_cast<std::uint32_t>(ColorToRGB(FFont.Color()));
  if (E->Ink == 0) C.Record(*F, Text, *E);
  if (E->Ink == 1) {
    const std::uint32_t Pixel = 0xFF000000u | ((Ink & 0xFFu) << 16) | (Ink & 0xFF00u) | ((Ink >> 16) & 0xFFu);
    Replay(T.FBits, T.FStride, T.FW, T.FH, X, Y, E->Spans, Pixel);
    return;
  }
  QPainter Painter(&FTarget.Image());
  Painter.setFont(F->Font);
  Painter.setPen(QColor(static_cast<int>(Ink & 0xFF), static_cast<int>((Ink >> 8) & 0xFF), static_cast<int>((Ink >> 16) & 0xFF)));
  Painter.drawText(QPoint(X, Y + F->Ascent), ToQString(Text));
}

}  // namespace zkw
