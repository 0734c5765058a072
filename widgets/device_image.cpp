#include "widgets/device_image.h"

#include <QPainter>
#include <cmath>
#include <unordered_map>

namespace zkw {

namespace {

// A text counts as showing when at least this share of its glyph pixels
// still has its colour (a crosshair or a mark may cross it).
constexpr int ShowingPercent = 75;

struct TShownText {
  TTracedText Text;
  QPoint At;     // box corner on the surface
  QRect Clip;    // on the surface
  QImage Glyphs; // 1x glyph mask: white where the text sets a pixel
};

QImage GlyphMask(const TTracedText& T) {
  QImage M(std::max(T.Width, 1), std::max(T.Height, 1), QImage::Format_RGB32);
  M.fill(Qt::black);
  QPainter P(&M);
  P.setFont(T.Font);
  P.setPen(Qt::white);
  P.drawText(QPoint(0, T.Ascent), T.Text);
  return M;
}

template <typename F>
void ForGlyphPixels(const TShownText& S, const QImage& Surface, F&& Fn) {
  const QRect Box = QRect(S.At, S.Glyphs.size()).intersected(S.Clip).intersected(Surface.rect());
  for (int Y = Box.top(); Y <= Box.bottom(); ++Y) {
    const auto* Mask = reinterpret_cast<const QRgb*>(S.Glyphs.constScanLine(Y - S.At.y()));
    for (int X = Box.left(); X <= Box.right(); ++X)
      if (qRed(Mask[X - S.At.x()])) Fn(X, Y);
  }
}

// What lies behind a text: the brush colour of an opaque box, else the most
// frequent colour of the box's pixels that are not glyph pixels.
bool BackgroundOf(const TShownText& S, const QImage& Surface, QRgb& Color) {
  if (S.Text.Opaque) {
    Color = S.Text.Background;
    return true;
  }
  const QRect Box = QRect(S.At, S.Glyphs.size()).intersected(S.Clip).intersected(Surface.rect());
  std::unordered_map<QRgb, int> Count;
  for (int Y = Box.top(); Y <= Box.bottom(); ++Y) {
    const auto* Mask = reinterpret_cast<const QRgb*>(S.Glyphs.constScanLine(Y - S.At.y()));
    const auto* Row = reinterpret_cast<const QRgb*>(Surface.constScanLine(Y));
    for (int X = Box.left(); X <= Box.right(); ++X)
      if (!qRed(Mask[X - S.At.x()])) ++Count[Row[X] | 0xFF000000u];
  }
  int Best = 0;
  for (const auto& [C, N] : Count)
    if (N > Best) {
      Best = N;
      Color = C;
    }
  return Best > 0;
}

}  // namespace

int DeviceFactor(double Ratio) {
  if (!(Ratio > 1.0)) return 1;
  return static_cast<int>(std::ceil(std::min(Ratio, 8.0) - 1e-9));
}

QImage ComposeDeviceImage(const QImage& Source, int K, const std::vector<TTextLayer>& Layers) {
  const QImage Surface = Source.format() == QImage::Format_RGB32 ? Source : Source.convertToFormat(QImage::Format_RGB32);
  K = std::max(K, 1);
  QImage Device = Surface.scaled(Surface.width() * K, Surface.height() * K, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (K == 1) return Device;

  std::vector<TShownText> Shown;
  for (const TTextLayer& L : Layers) {
    if (!L.Texts) continue;
    std::erase_if(*L.Texts, [&](const TTracedText& T) {
      if (T.Text.isEmpty() || T.Width <= 0 || T.Height <= 0) return true;
      TShownText S{T, QPoint(T.X, T.Y) + L.Offset, L.Clip, GlyphMask(T)};
      int Glyph = 0, Same = 0;
      const QRgb Want = T.Color | 0xFF000000u;
      ForGlyphPixels(S, Surface, [&](int X, int Y) {
        ++Glyph;
        if ((reinterpret_cast<const QRgb*>(Surface.constScanLine(Y))[X] | 0xFF000000u) == Want) ++Same;
      });
      if (Glyph == 0) return false;  // outside the visible part: keep for later
      if (Same * 100 < Glyph * ShowingPercent) return true;  // painted over: gone
      Shown.push_back(std::move(S));
      return false;
    });
  }
  // Every enlarged glyph goes before any sharp one is drawn, so that texts
  // lying close together do not erase each other.
  for (const TShownText& S : Shown) {
    QRgb Back = 0;
    if (!BackgroundOf(S, Surface, Back)) continue;
    const QRgb Want = S.Text.Color | 0xFF000000u;
    ForGlyphPixels(S, Surface, [&](int X, int Y) {
      if ((reinterpret_cast<const QRgb*>(Surface.constScanLine(Y))[X] | 0xFF000000u) != Want) return;
      for (int DY = 0; DY < K; ++DY) {
        auto* Row = reinterpret_cast<QRgb*>(Device.scanLine(Y * K + DY));
        for (int DX = 0; DX < K; ++DX) Row[X * K + DX] = Back;
      }
    });
  }
  QPainter P(&Device);
  for (const TShownText& S : Shown) {
    QFont F = S.Text.Font;
    F.setPixelSize(std::max(1, S.Text.Font.pixelSize() * K));
    F.setStyleStrategy(QFont::PreferAntialias);
    const QRect Clip = S.Clip.intersected(Surface.rect());
    P.setClipRect(QRect(Clip.topLeft() * K, Clip.size() * K));
    P.setFont(F);
    P.setPen(QColor::fromRgb(S.Text.Color));
    P.drawText(QPoint(S.At.x() * K, (S.At.y() + S.Text.Ascent) * K), S.Text.Text);
  }
  return Device;
}

}  // namespace zkw
