/// @file
/// The picture a hosted control shows at a device pixel ratio above 1.
///
/// How the pixel rules carry over: the control keeps drawing on its window
/// surface in logical pixels with the canvas's exact integer rules, so its
/// layout, hit tests and pixel-exact tests are those of the headless
/// rendering. The device picture is that surface enlarged by the whole factor
/// K = ceil(ratio): every logical pixel becomes a K x K block, so lines,
/// marks and fills keep their exact shapes at K times the pen and mark size.
/// Texts are not enlarged: every text that still shows on the surface is
/// taken out (its glyph pixels get the colour behind them) and drawn again
/// from its recorded string and font at K times the pixel size, at K times
/// its position, anti-aliased by Qt's font engine - as sharp as any Qt label.
/// For a ratio that is not whole (1.5) the K picture is scaled down smoothly
/// by Qt when it is painted.
///
/// Limits: a text drawn first and partly covered by later drawing comes out
/// on top; a text of a picture the control made in some other way (not
/// traced) stays enlarged.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

#include "platform/text_trace.h"

namespace zkw {

/// The texts of one traced picture that was copied onto the surface with its
/// top-left corner at Offset; Clip is that picture's area on the surface.
struct TTextLayer {
  /// The traced texts of the picture (removed from it when no longer shown).
  std::vector<TTracedText>* Texts = nullptr;
  /// Where the picture's top-left corner lies on the surface.
  QPoint Offset;
  /// The picture's area on the surface.
  QRect Clip;
};

/// The whole factor used for a device pixel ratio (at least 1).
int DeviceFactor(double Ratio);

/// Surface enlarged K times with the texts of Layers drawn sharp. Texts whose
/// glyphs no longer show on Surface are removed from their list.
QImage ComposeDeviceImage(const QImage& Surface, int K, const std::vector<TTextLayer>& Layers);

}  // namespace zkw
