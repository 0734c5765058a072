/// @file
/// Colours between the library and Qt. TColor is 0x00BBGGRR; a value with the
/// top byte 0xFF names a system colour and is resolved through the library's
/// fixed table (the desktop's palette plays no part).
#pragma once

#include <QColor>

#include "platform/graphics.h"
#include "platform/qt_color.h"  // ToQColor: the colour a TColor draws as (opaque)

namespace zkw {

/// The plain RGB colour of a QColor; alpha is dropped. An invalid QColor
/// becomes black.
inline TColor FromQColor(const QColor& Color) {
  if (!Color.isValid()) return clBlack;
  const QRgb C = Color.rgb();
  return static_cast<TColor>(static_cast<std::uint32_t>(qRed(C)) | (static_cast<std::uint32_t>(qGreen(C)) << 8) |
                             (static_cast<std::uint32_t>(qBlue(C)) << 16));
}

}  // namespace zkw
