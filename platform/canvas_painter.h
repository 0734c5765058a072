// The painter behind a bitmap that is not exact (internal to the canvas):
// either one the bitmap begins on its own picture, or a caller's painter
// that the pages made on it share.
#pragma once

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <memory>

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
};

}  // namespace zkw
