// The canvas's figures through QPainter, for every bitmap that is not exact:
// another device scale, anti-aliasing, or a page of a vector file or printer.
//
// Geometry stays in logical pixels; the painter maps them to the device.
// Logical pixel (x, y) is the painter's unit square [x, x + 1) x [y, y + 1),
// so a figure through pixel centres is drawn through (x + 0.5, y + 0.5) and a
// filled box [L, R) x [T, B) is exactly that square range. What a painter
// cannot express of the exact rules, and how it shows:
//  - a line's end pixel: a line or polyline stops one step before its end
//    point, as in the exact raster, with square ends over its pixels;
//  - pens wider than 1 are bands centred on the thin line with square ends
//    and round joins (even widths sit up to half a pixel off the exact band,
//    and acute corners are rounder than the exact squares);
//  - dash patterns follow the line's length, not its count of major steps;
//  - exclusive-or figures are rasterised into a mask first, then each device
//    pixel the mask covers is XORed once, so drawing twice restores the
//    picture; on a page (a vector file) they are drawn in the colour they
//    give over white;
//  - glyphs come from the same font at the device's pixel size, so hinting
//    can make a text a device pixel wider or narrower than Scale times the
//    logical text.
// On a picture without anti-aliasing (or at a whole scale, where a box's
// edges fall on device pixels either way), axis-aligned boxes (fills, single
// pixels, thin solid horizontal and vertical lines, square outlines) are
// written straight into the device pixels: logical box [L, R) covers device
// columns [round(L * Scale), round(R * Scale)), which is what the painter
// fills for it at whole scales, at a small part of the painter's cost per
// call - millions of marks are mostly such boxes.
// Data lines reach these modes with their points to a fraction of a logical
// pixel (PolylineF; whole only at scale 1 without anti-aliasing on a bitmap):
// rounded first, a dense line would keep its logical staircase at every
// scale. A thin solid one on a bitmap steps along the device pixels
// (fine_lines.h), far quicker than the painter's stroke; other pens and
// pages go through the painter.
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/canvas_painter.h"
#include "platform/dash_patterns.h"
#include "platform/fine_lines.h"
#include "platform/graphics.h"
#include "platform/pixel_fill.h"
#include "platform/qt_color.h"

namespace zkw {

namespace {

using i64 = std::int64_t;

// A 1-pixel pen's dash pattern (nullptr: solid); wider pens draw solid.
const DashPattern* DashesOf(const TPen& Pen) { return Pen.Width() == 1 ? PatternOf(Pen.Style()) : nullptr; }

// The pattern as Qt's alternating on and off lengths.
QList<qreal> QtDashes(const DashPattern& D) {
  QList<qreal> Runs;
  int Run = 0;
  for (int I = 0; I < D.Length; ++I) {
    ++Run;
    if (I + 1 == D.Length || D.On[I + 1] != D.On[I]) {
      Runs.append(Run);
      Run = 0;
    }
  }
  return Runs;
}

QPen PenOf(const TPen& Pen, int DashPhase, Qt::PenCapStyle Cap, bool OnPage) {
  TColor C = Pen.Color();
  if (Pen.Mode() == pmXor && OnPage) C = ColorToRGB(C) ^ 0xFFFFFF;
  QPen Q(ToQColor(C), Pen.Width(), Qt::SolidLine, Cap, Qt::MiterJoin);
  if (const DashPattern* Dash = DashesOf(Pen)) {
    Q.setDashPattern(QtDashes(*Dash));
    Q.setDashOffset(DashPhase);
    Q.setCapStyle(Qt::FlatCap);
  }
  return Q;
}

QBrush BrushOf(const TBrush& Brush) {
  return Brush.Style() == bsSolid ? QBrush(ToQColor(Brush.Color())) : QBrush(Qt::NoBrush);
}

// Exclusive-or on a picture: the figure is drawn into a mask of the device
// pixels it may touch (the brush in grey, the pen in white over it), then
// every covered pixel is XORed once with the colour of what covers it.
template <typename F>
void XorThroughMask(QImage& Image, const QRectF& Logical, double Scale, std::uint32_t PenBits,
                    std::uint32_t BrushBits, F&& Draw) {
  const QRect Device = QRectF(Logical.left() * Scale, Logical.top() * Scale, Logical.width() * Scale,
                              Logical.height() * Scale)
                           .toAlignedRect()
                           .adjusted(-1, -1, 1, 1)
                           .intersected(Image.rect());
  if (Device.isEmpty()) return;
  QImage Mask(Device.size(), QImage::Format_ARGB32_Premultiplied);
  Mask.fill(0);
  {
    QPainter M(&Mask);
    M.translate(-Device.left(), -Device.top());
    M.scale(Scale, Scale);
    Draw(M);
  }
  for (int Y = 0; Y < Device.height(); ++Y) {
    const auto* From = reinterpret_cast<const std::uint32_t*>(Mask.constScanLine(Y));
    auto* To = reinterpret_cast<std::uint32_t*>(Image.scanLine(Y + Device.top())) + Device.left();
    for (int X = 0; X < Device.width(); ++X) {
      const std::uint32_t M = From[X];
      if (M == 0) continue;
      To[X] ^= (M & 0xFF) == 0xFF ? PenBits : BrushBits;
    }
  }
}

const QColor MaskPen(255, 255, 255);
const QColor MaskBrush(128, 128, 128);

std::uint32_t XorBits(TColor Color) { return ColorToPixel(Color) & 0x00FFFFFFu; }

// A figure's logical bounds widened by the pen.
QRectF Bounds(double L, double T, double R, double B, int PenWidth) {
  const double A = PenWidth + 1.0;
  return QRectF(QPointF(std::min(L, R) - A, std::min(T, B) - A), QPointF(std::max(L, R) + A, std::max(T, B) + A));
}

// Coordinates far outside any picture would overflow the painter's fixed
// point: they are pulled in to a range that still crosses the picture the
// same way for every straight figure.
constexpr double Far = 1 << 22;
double Near(i64 V) { return static_cast<double>(std::clamp<i64>(V, -static_cast<i64>(Far), static_cast<i64>(Far))); }

}  // namespace

bool TCanvas::Paintable() const { return FTarget.FPage || !FTarget.FImage->isNull(); }

bool TCanvas::DirectBoxes() const {
  // At a whole scale a box's edges fall on device pixels, where smooth and
  // aliased filling cover the same pixels.
  const double S = FTarget.FMode.Scale;
  return FTarget.FPage || !FTarget.FMode.Antialiased || S == std::floor(S);
}

void TCanvas::FillDeviceBox(double L, double T, double R, double B, std::uint32_t Pixel) {
  if (FTarget.FPage) {
    if (L >= R || T >= B) return;
    const QRectF Box(QPointF(std::clamp(L, -Far, Far), std::clamp(T, -Far, Far)),
                     QPointF(std::clamp(R, -Far, Far), std::clamp(B, -Far, Far)));
    const QColor Color = QColor::fromRgb(Pixel);
    FTarget.Painter();
    TPainterDevice& D = *FTarget.FDevice;
    if (D.BoxesPending && (D.ConfiguredFor != &FTarget || D.BoxColor != Color)) D.FlushBoxes();
    if (!D.BoxesPending) {
      PainterFor(false);
      D.BoxesPending = true;
      D.BoxColor = Color;
      D.Open = Box;
      return;
    }
    // A box that continues the open one's row (or column) joins it.
    if (Box.top() == D.Open.top() && Box.bottom() == D.Open.bottom() && Box.left() == D.Open.right()) {
      D.Open.setRight(Box.right());
    } else if (Box.left() == D.Open.left() && Box.right() == D.Open.right() && Box.top() == D.Open.bottom()) {
      D.Open.setBottom(Box.bottom());
    } else {
      D.Boxes.push_back(D.Open);
      D.Open = Box;
    }
    return;
  }
  // The painter, if one is open, draws straight into the same pixels: the
  // picture is not shared, so the raw view neither detaches it nor ends it.
  TBitmap& Tg = FTarget;
  if (Tg.FStale) Tg.Surface();
  const double S = Tg.FMode.Scale;
  const auto Device = [S](double V, i64 Limit) {
    return static_cast<i64>(std::clamp(V * S, 0.0, static_cast<double>(Limit)) + 0.5);
  };
  const i64 DL = Device(L, Tg.FW), DR = Device(R, Tg.FW);
  const i64 DT = Device(T, Tg.FH), DB = Device(B, Tg.FH);
  if (DL >= DR || DT >= DB) return;
  for (i64 Y = DT; Y < DB; ++Y) FillPixels(Tg.FBits + Y * Tg.FStride + DL, DR - DL, Pixel);
}

void TCanvas::PaintSquareOutline(int X, int Y, int D) {
  // The four sides' pixels, as the four lines of the exact rules write them.
  const double L = Near(i64(X) - D), T = Near(i64(Y) - D), R = Near(i64(X) + D) + 1, B = Near(i64(Y) + D) + 1;
  const std::uint32_t C = ColorToPixel(FPen.Color());
  FillDeviceBox(L, T, R, T + 1, C);
  FillDeviceBox(L, B - 1, R, B, C);
  FillDeviceBox(L, T + 1, L + 1, B - 1, C);
  FillDeviceBox(R - 1, T + 1, R, B - 1, C);
  FPenPos = {X - D, Y - D};
  FDashPhase = 0;
}

QPainter& TCanvas::PainterFor(bool Xor) {
  QPainter& P = FTarget.Painter();
  TPainterDevice& D = *FTarget.FDevice;
  D.FlushBoxes();
  if (FTarget.FPage && D.ConfiguredFor != &FTarget) {
    P.setTransform(QTransform::fromTranslate(FTarget.FOriginX, FTarget.FOriginY) * D.Base);
    P.setClipRect(QRectF(0, 0, FTarget.FWidth, FTarget.FHeight));
    D.ConfiguredFor = &FTarget;
  }
  const bool Smooth = FTarget.FMode.Antialiased && !Xor;
  P.setRenderHint(QPainter::Antialiasing, Smooth);
  P.setRenderHint(QPainter::SmoothPixmapTransform, true);
  return P;
}

void TCanvas::PaintLine(i64 X0, i64 Y0, i64 X1, i64 Y1) {
  if (!Paintable()) return;
  if (FPen.Style() == psClear) return;
  const i64 DX = X1 - X0, DY = Y1 - Y0;
  const i64 N = std::max(DX < 0 ? -DX : DX, DY < 0 ? -DY : DY);
  if (N == 0) return;
  if ((DX == 0 || DY == 0) && FPen.Width() == 1 && FPen.Mode() == pmCopy && !PatternOf(FPen.Style()) &&
      DirectBoxes()) {
    // The pixels from the start up to, not including, the end.
    const double L = Near(std::min(X0, DX < 0 ? X1 + 1 : X0)), R = Near(std::max(X0 + 1, DX < 0 ? X0 + 1 : X1));
    const double T = Near(std::min(Y0, DY < 0 ? Y1 + 1 : Y0)), B = Near(std::max(Y0 + 1, DY < 0 ? Y0 + 1 : Y1));
    FillDeviceBox(L, T, R, B, ColorToPixel(FPen.Color()));
    return;
  }
  const int Phase = FDashPhase;
  const DashPattern* Dashes = DashesOf(FPen);
  if (Dashes) FDashPhase = static_cast<int>((Phase + N % Dashes->Length) % Dashes->Length);
  // The end pixel is excluded: stop one major step short, with square ends
  // covering the first and the last pixel drawn.
  const double Back = 1.0 / static_cast<double>(N);
  const QPointF A(Near(X0) + 0.5, Near(Y0) + 0.5);
  const QPointF B(Near(X1) + 0.5 - (Near(X1) - Near(X0)) * Back, Near(Y1) + 0.5 - (Near(Y1) - Near(Y0)) * Back);
  const bool Dashed = Dashes != nullptr;
  auto Draw = [&](QPainter& P, const QPen& Pen) {
    P.setPen(Pen);
    if (A == B) {
      // One pixel: a square of the pen's width.
      const double H = Pen.widthF() / 2;
      P.fillRect(QRectF(A.x() - H, A.y() - H, Pen.widthF(), Pen.widthF()), Pen.color());
    } else {
      P.drawLine(A, Dashed ? B + (B - A) / std::max(1.0, static_cast<double>(N - 1)) : B);
    }
  };
  if (FPen.Mode() == pmXor && !FTarget.FPage) {
    FTarget.EndPainting();
    QPen Mask = PenOf(FPen, Phase, Qt::SquareCap, false);
    Mask.setColor(MaskPen);
    XorThroughMask(*FTarget.FImage, Bounds(A.x(), A.y(), B.x(), B.y(), FPen.Width()), FTarget.FMode.Scale,
                   XorBits(FPen.Color()), 0, [&](QPainter& M) { Draw(M, Mask); });
    return;
  }
  QPainter& P = PainterFor(FPen.Mode() == pmXor);
  Draw(P, PenOf(FPen, Phase, Qt::SquareCap, FTarget.FPage));
}

void TCanvas::PaintPolyline(const TPoint* Points, int Count) {
  if (!Paintable()) return;
  if (FPen.Style() == psClear || FPen.Mode() == pmXor || DashesOf(FPen)) {
    // Segment by segment, so that exclusive-or and dash phases follow the rules of single lines.
    const int Kept = FDashPhase;
    FDashPhase = 0;
    for (int I = 1; I < Count; ++I) PaintLine(Points[I - 1].X, Points[I - 1].Y, Points[I].X, Points[I].Y);
    FDashPhase = Kept;
    return;
  }
  QPolygonF Line;
  Line.reserve(Count);
  for (int I = 0; I < Count; ++I) Line.append(QPointF(Near(Points[I].X) + 0.5, Near(Points[I].Y) + 0.5));
  StrokePolyline(Line);
}

void TCanvas::StrokePolyline(QPolygonF& Line) {
  // The last point is excluded, as a single line's end: one major step short
  // (a last step shorter than that ends where it began).
  const qsizetype Count = Line.size();
  const QPointF D = Line[Count - 1] - Line[Count - 2];
  const double Steps = std::max(std::abs(D.x()), std::abs(D.y()));
  if (Steps > 0) Line[Count - 1] -= D / std::max(Steps, 1.0);
  QPainter& P = PainterFor(false);
  QPen Pen = PenOf(FPen, 0, Qt::SquareCap, FTarget.FPage);
  // The exact rules join wide segments with their pixels' squares: a round
  // join comes nearest (a bevel cuts acute corners short, a miter overshoots).
  Pen.setJoinStyle(Qt::RoundJoin);
  P.setPen(Pen);
  P.setBrush(Qt::NoBrush);
  P.drawPolyline(Line);
}

bool TCanvas::FinePositions() const {
  // A vector file is looked at at any zoom: its lines keep their fractions
  // too (a page through the painter only for comparison with the raster does not).
  const TDrawMode& M = FTarget.FMode;
  return !FTarget.FExact && (M.Scale != 1.0 || M.Antialiased || (FTarget.FPage && !M.ThroughPainter));
}

void TCanvas::PolylineF(const TPointF* Points, int Count) {
  if (!Points || Count < 2) return;
  if (!FinePositions() || FPen.Mode() == pmXor) {
    // Whole pixels (exclusive-or figures must restore what they cross).
    std::vector<TPoint> Whole(static_cast<std::size_t>(Count));
    const auto Pixel = [](double V) {
      return std::isnan(V) ? 0 : static_cast<int>(std::nearbyint(std::clamp(V, -2147483647.0, 2147483647.0)));
    };
    for (int I = 0; I < Count; ++I) Whole[static_cast<std::size_t>(I)] = {Pixel(Points[I].X), Pixel(Points[I].Y)};
    Polyline(Whole);
    return;
  }
  if (!Paintable() || FPen.Style() == psClear) return;
  if (!FTarget.FPage && FPen.Width() == 1 && !DashesOf(FPen)) {
    TBitmap& Tg = FTarget;
    if (Tg.FStale) Tg.Surface();
    DrawFinePolyline({Tg.FBits, Tg.FStride, Tg.FW, Tg.FH}, Points, Count, Tg.FMode.Scale, 1.0,
                     ColorToPixel(FPen.Color()), Tg.FMode.Antialiased);
    return;
  }
  QPolygonF Line;
  Line.reserve(Count);
  const auto Centre = [](double V) { return std::isnan(V) ? 0.5 : std::clamp(V, -Far, Far) + 0.5; };
  for (int I = 0; I < Count; ++I) Line.append(QPointF(Centre(Points[I].X), Centre(Points[I].Y)));
  StrokePolyline(Line);
}

void TCanvas::PaintFill(double L, double T, double R, double B, TColor Color, bool Xor) {
  if (!Paintable()) return;
  const QRectF Box(QPointF(std::clamp(L, -Far, Far), std::clamp(T, -Far, Far)),
                   QPointF(std::clamp(R, -Far, Far), std::clamp(B, -Far, Far)));
  if (Box.isEmpty()) return;
  if (!Xor && DirectBoxes()) {
    FillDeviceBox(Box.left(), Box.top(), Box.right(), Box.bottom(), ColorToPixel(Color));
    return;
  }
  if (Xor && !FTarget.FPage) {
    FTarget.EndPainting();
    XorThroughMask(*FTarget.FImage, Box, FTarget.FMode.Scale, 0, XorBits(Color),
                   [&](QPainter& M) { M.fillRect(Box, MaskBrush); });
    return;
  }
  PainterFor(Xor).fillRect(Box, ToQColor(Xor ? (ColorToRGB(Color) ^ 0xFFFFFF) : Color));
}

void TCanvas::PaintRectangle(int L, int T, int R, int B) {
  if (!Paintable()) return;
  if (L == R || T == B) return;
  const bool Fill = FBrush.Style() == bsSolid;
  const bool Xor = FPen.Mode() == pmXor;
  if (FPen.Style() == psClear) {
    if (Fill) PaintFill(L, T, R, B, FBrush.Color(), Xor);
    return;
  }
  const int W = FPen.Width();
  if (W == 1 && !Xor && (FPen.Style() == psSolid || FPen.Style() == psInsideFrame) && DirectBoxes()) {
    // The border ring of pixels and the brush inside, as boxes.
    const double BL = Near(L), BT = Near(T), BR = Near(R), BB = Near(B);
    if (Fill) FillDeviceBox(BL, BT, BR, BB, ColorToPixel(FBrush.Color()));
    const std::uint32_t C = ColorToPixel(FPen.Color());
    FillDeviceBox(BL, BT, BR, BT + 1, C);
    FillDeviceBox(BL, BB - 1, BR, BB, C);
    FillDeviceBox(BL, BT, BL + 1, BB, C);
    FillDeviceBox(BR - 1, BT, BR, BB, C);
    return;
  }
  if (DashesOf(FPen)) {
    DashedBorder(L, T, R, B, Fill, Xor);
    return;
  }
  // A band of width W round the border pixels (inside the box for psInsideFrame).
  const double A = W > 1 && FPen.Style() != psInsideFrame ? W / 2 : 0;
  const QRectF Outer(QPointF(Near(L) - A, Near(T) - A), QPointF(Near(R) - A + (W > 1 && A > 0 ? W - 1 : 0), Near(B) - A + (W > 1 && A > 0 ? W - 1 : 0)));
  const QRectF Stroke = Outer.adjusted(W / 2.0, W / 2.0, -W / 2.0, -W / 2.0);
  auto Draw = [&](QPainter& P, const QPen& Pen, const QBrush& Brush) {
    if (Brush.style() != Qt::NoBrush) P.fillRect(QRectF(QPointF(Near(L), Near(T)), QPointF(Near(R), Near(B))), Brush);
    P.setPen(Pen);
    P.setBrush(Qt::NoBrush);
    if (Stroke.width() <= 0 || Stroke.height() <= 0) {
      P.fillRect(Outer, Pen.color());
    } else {
      P.drawRect(Stroke);
    }
  };
  if (Xor && !FTarget.FPage) {
    FTarget.EndPainting();
    QPen Mask = PenOf(FPen, 0, Qt::SquareCap, false);
    Mask.setColor(MaskPen);
    XorThroughMask(*FTarget.FImage, Outer.adjusted(-1, -1, 1, 1), FTarget.FMode.Scale, XorBits(FPen.Color()),
                   XorBits(FBrush.Color()), [&](QPainter& M) { Draw(M, Mask, Fill ? QBrush(MaskBrush) : QBrush()); });
    return;
  }
  QPainter& P = PainterFor(Xor);
  Draw(P, PenOf(FPen, 0, Qt::SquareCap, FTarget.FPage), BrushOf(FBrush));
}

void TCanvas::PaintEllipse(int L, int T, int R, int B, bool Fill, const double* ArcFrom, const double* ArcTo) {
  if (!Paintable()) return;
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  if (L == R || T == B) return;
  const bool Pen = FPen.Style() != psClear;
  const bool Brush = Fill && FBrush.Style() == bsSolid;
  if (!Pen && !Brush) return;
  const int W = FPen.Width();
  const double A = W > 1 && FPen.Style() != psInsideFrame ? W / 2 : 0;
  const QRectF Box(QPointF(Near(L), Near(T)), QPointF(Near(R), Near(B)));
  const QRectF Outer = A > 0 ? Box.adjusted(-A, -A, W - 1 - A, W - 1 - A) : Box;
  const QRectF Stroke = Outer.adjusted(W / 2.0, W / 2.0, -W / 2.0, -W / 2.0);
  int Start = 0, Span = 360 * 16;
  if (ArcFrom && ArcTo) {
    // The exact rules cut the ring along the radials from the centre; the
    // painter's angles are those of the ellipse's parameter.
    const double A = Box.width() / 2, Bh = Box.height() / 2;
    const auto Parameter = [&](double Radial) { return std::atan2(A * std::sin(Radial), Bh * std::cos(Radial)); };
    constexpr double Degrees = 180.0 / 3.14159265358979323846;
    const double From = Parameter(*ArcFrom), To = Parameter(*ArcTo);
    double Sweep = (To - From) * Degrees;
    while (Sweep <= 0) Sweep += 360;
    while (Sweep > 360) Sweep -= 360;
    Start = static_cast<int>(std::lround(From * Degrees * 16));
    Span = static_cast<int>(std::lround(Sweep * 16));
  }
  // Ellipses and arcs draw with a solid pen in every style, as in the exact raster.
  auto Draw = [&](QPainter& P, QPen QP, const QBrush& QB) {
    QP.setStyle(Qt::SolidLine);
    if (QB.style() != Qt::NoBrush) {
      P.setPen(Qt::NoPen);
      P.setBrush(QB);
      P.drawEllipse(Box);
    }
    if (!Pen) return;
    P.setPen(QP);
    P.setBrush(Qt::NoBrush);
    if (Stroke.width() <= 0 || Stroke.height() <= 0) {
      P.setPen(Qt::NoPen);
      P.setBrush(QP.color());
      P.drawEllipse(Outer);
    } else if (ArcFrom) {
      P.drawArc(Stroke, Start, Span);
    } else {
      P.drawEllipse(Stroke);
    }
  };
  const bool Xor = FPen.Mode() == pmXor;
  if (Xor && !FTarget.FPage) {
    FTarget.EndPainting();
    QPen Mask = PenOf(FPen, 0, Qt::FlatCap, false);
    Mask.setColor(MaskPen);
    XorThroughMask(*FTarget.FImage, Outer.adjusted(-1, -1, 1, 1), FTarget.FMode.Scale, XorBits(FPen.Color()),
                   XorBits(FBrush.Color()), [&](QPainter& M) { Draw(M, Mask, Brush ? QBrush(MaskBrush) : QBrush()); });
    return;
  }
  QPainter& P = PainterFor(Xor);
  Draw(P, PenOf(FPen, 0, Qt::FlatCap, FTarget.FPage), Brush ? BrushOf(FBrush) : QBrush());
}

void TCanvas::PaintPolygon(const TPoint* Points, int Count) {
  if (!Paintable()) return;
  const bool Pen = FPen.Style() != psClear;
  const bool Fill = FBrush.Style() == bsSolid && Count >= 3;
  if (!Pen && !Fill) return;
  QPolygonF Shape;
  Shape.reserve(Count);
  for (int I = 0; I < Count; ++I) Shape.append(QPointF(Near(Points[I].X) + 0.5, Near(Points[I].Y) + 0.5));
  const bool Dashed = DashesOf(FPen) != nullptr;
  auto Draw = [&](QPainter& P, QPen QP, const QBrush& QB) {
    if (Fill) {
      P.setPen(Qt::NoPen);
      P.setBrush(QB);
      P.drawPolygon(Shape, Qt::OddEvenFill);
    }
    if (!Pen || Dashed) return;
    QP.setJoinStyle(Qt::RoundJoin);  // as for polylines
    P.setPen(QP);
    P.setBrush(Qt::NoBrush);
    if (Count == 1) {
      P.drawPoint(Shape[0]);
    } else {
      P.drawPolygon(Shape, Qt::OddEvenFill);
    }
  };
  const bool Xor = FPen.Mode() == pmXor;
  if (Xor && !FTarget.FPage) {
    FTarget.EndPainting();
    QPen Mask = PenOf(FPen, 0, Qt::SquareCap, false);
    Mask.setColor(MaskPen);
    const QRectF B = Shape.boundingRect();
    XorThroughMask(*FTarget.FImage, Bounds(B.left(), B.top(), B.right(), B.bottom(), FPen.Width()),
                   FTarget.FMode.Scale, XorBits(FPen.Color()), XorBits(FBrush.Color()),
                   [&](QPainter& M) { Draw(M, Mask, QBrush(MaskBrush)); });
  } else {
    QPainter& P = PainterFor(Xor);
    Draw(P, PenOf(FPen, 0, Qt::SquareCap, FTarget.FPage), BrushOf(FBrush));
  }
  if (Pen && Dashed) {
    // Dashes restart at every edge's start as in the exact raster's outline.
    const int Kept = FDashPhase;
    FDashPhase = 0;
    for (int I = 0; I < Count; ++I) {
      const TPoint& A = Points[I];
      const TPoint& B = Points[(I + 1) % Count];
      PaintLine(A.X, A.Y, B.X, B.Y);
    }
    FDashPhase = Kept;
  }
}

void TCanvas::PaintText(int X, int Y, const QString& Text, int Width, int Height, int Ascent, const QFont& Font) {
  if (!Paintable()) return;
  // Only a box that meets the picture is drawn, so the painter's coordinates stay small.
  if (X >= FTarget.FWidth || Y >= FTarget.FHeight || double(X) + Width <= 0 || double(Y) + Height <= 0) return;
  QPainter& P = PainterFor(false);
  if (FBrush.Style() == bsSolid && Width > 0) P.fillRect(QRectF(X, Y, Width, Height), ToQColor(FBrush.Color()));
  if (Text.isEmpty()) return;
  QFont F = Font;
  // The exact raster's glyphs are aliased; at another scale they are as
  // smooth as any Qt label, and anti-aliased whenever the mode asks. (Vector
  // files keep glyphs as text: their readers smooth them.)
  if (FTarget.FMode.Antialiased || FTarget.FMode.Scale != 1.0)
    F.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferMatch));
  // A file names the family the font engine chose, which its readers have,
  // rather than the name asked for, which they may not.
  if (FTarget.FPage) F.setFamily(QFontInfo(Font).family());
  P.setFont(F);
  P.setPen(ToQColor(FFont.Color()));
  const double S = FTarget.FMode.Scale;
  if (S != 1.0 && Width > 0 && F.pixelSize() > 0) {
    // Glyphs hinted at the device's resolution advance a little more or less
    // than Scale times their logical advance; the text is fitted to its
    // logical box so that layouts (right-aligned labels, text boxes) stay.
    QFont Device = F;
    Device.setPixelSize(std::max(1, static_cast<int>(std::lround(F.pixelSize() * S))));
    const double Natural = QFontMetricsF(Device).horizontalAdvance(Text) / S;
    const double Fit = Natural > 0 ? Width / Natural : 1.0;
    if (Fit != 1.0 && Fit > 0.8 && Fit < 1.25) {
      P.save();
      P.translate(X, 0);
      P.scale(Fit, 1);
      P.drawText(QPointF(0, double(Y) + Ascent), Text);
      P.restore();
      return;
    }
  }
  P.drawText(QPointF(X, double(Y) + Ascent), Text);
}

void TCanvas::PaintPicture(double L, double T, double W, double H, const TBitmap& Source) {
  if (!Paintable()) return;
  if (Source.FPage) return;
  Source.EndPainting();
  const QImage Picture = &Source == &FTarget ? Source.FImage->copy() : *Source.FImage;
  if (Picture.isNull()) return;
  QPainter& P = PainterFor(false);
  if (Source.FMode.Scale == FTarget.FMode.Scale && W == Source.Width() && H == Source.Height()) {
    // A picture of the same scale goes pixel for pixel: its corner snaps to
    // a device pixel, so a fractional scale never resamples it.
    const QTransform Device = P.deviceTransform();
    const QPointF At = Device.map(QPointF(L, T));
    const QPointF Snapped = Device.inverted().map(QPointF(std::round(At.x()), std::round(At.y())));
    P.setRenderHint(QPainter::SmoothPixmapTransform, false);
    P.drawImage(Snapped, Picture);
    return;
  }
  P.drawImage(QRectF(L, T, W, H), Picture);
}

TColor TCanvas::PaintedPixel(int X, int Y) const {
  if (FTarget.FPage || X < 0 || Y < 0 || X >= FTarget.FWidth || Y >= FTarget.FHeight) return clNone;
  const QImage& I = *FTarget.FImage;
  const double S = FTarget.FMode.Scale;
  const int DX = std::clamp(static_cast<int>((X + 0.5) * S), 0, I.width() - 1);
  const int DY = std::clamp(static_cast<int>((Y + 0.5) * S), 0, I.height() - 1);
  const std::uint32_t Pixel = reinterpret_cast<const std::uint32_t*>(I.constScanLine(DY))[DX];
  return static_cast<TColor>(((Pixel & 0xFFu) << 16) | (Pixel & 0xFF00u) | ((Pixel >> 16) & 0xFFu));
}

}  // namespace zkw
