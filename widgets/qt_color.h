/// @file
/// Colours between the library and Qt. TColor is 0x00BBGGRR; a value with the
/// top byte 0xFF names a system colour and is resolved through the library's
/// fixed table (the desktop's palette plays no part).
#pragma once

#include <QColor>

#include "platform/graphics.h"

namespace zkw {

/// The colour a TColor draws as (opaque): system colours through the fixed
/// table, every other value by its three colour bytes.
inline QColor ToQColor(TColor Color) {
  const auto C = static_cast<std::uint32_t>(ColorToRGB(Color));
  return QColor(static_cast<int>(C & 0xFF), static_cast<int>((C >> 8) & 0xFF), static_cast<int>((C >> 16) & 0xFF));
}

/// The plain RGB colour of a QColor; alpha is dropped. An invalid QColor
/// becomes black.
inline TColor FromQColor(const QColor& Color) {
  if (!Color.isValid()) return clBlack;
  const QRgb C = Color.rgb();
  return static_cast<TColor>(static_cast<std::uint32_t>(qRed(C)) | (static_cast<std::uint32_t>(qGreen(C)) << 8) |
                             (static_cast<std::uint32_t>(qBlue(C)) << 16));
}

}  // namespace zkw
