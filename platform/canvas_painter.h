// The painter behind a bitmap that is not exact (internal to the canvas):
// either one the bitmap begins on its own picture, or a caller's painter
// that the pages made on it share.
#pragma once

#include <QImage>
#include <QColor>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QTransform>
#include <memory>
#include <vector>

namespace zkw {

class TBitmap;

struct TPainterDevice {
  explicit TPainterDevice(QPainter& External) : Painter(&External), Base(External.worldTransform()) {}
  explicit TPainterDevice(QImage& Image) : Own(std::make_unique<QPainter>(&Image)), Painter(Own.get()) {}
  std::unique_ptr<QPainter> Own;
  QPainter* Painter;
  // The caller's own transformation, under every page's origin.
  QTransform Base;
  // The page whose origin and clip the painter holds now: pages sharing a
  // painter set theirs when they draw.
  const TBitmap* ConfiguredFor = nullptr;
  // Boxes of one colour waiting to be filled as one path (pages only): a
  // million marks become a path per run of equal colours instead of
  // millions of painter calls and file elements. Open is the newest box,
  // still growing while the next one continues its row.
  bool BoxesPending = false;
  QColor BoxColor;
  std::vector<QRectF> Boxes;
  QRectF Open;

  // Fills the waiting boxes with the painter as it is set up now (for the
  // page that started them: any other drawing flushes them first). An SVG
  // file takes them as one path element; other devices (PDF) as rectangles
  // in one call, which their writers store more compactly than a path.
  void FlushBoxes() {
    if (!BoxesPending) return;
    BoxesPending = false;
    Boxes.push_back(Open);
    const QPen Pen = Painter->pen();
    const QBrush Brush = Painter->brush();
    Painter->setPen(Qt::NoPen);
    if (Painter->paintEngine() && Painter->paintEngine()->type() == QPaintEngine::SVG) {
      QPainterPath Path;
      Path.setFillRule(Qt::WindingFill);
      for (const QRectF& R : Boxes) Path.addRect(R);
      Painter->fillPath(Path, BoxColor);
    } else {
      Painter->setBrush(BoxColor);
      Painter->drawRects(Boxes.data(), static_cast<int>(Boxes.size()));
    }
    Painter->setPen(Pen);
    Painter->setBrush(Brush);
    Boxes.clear();
  }
};

}  // namespace zkw
