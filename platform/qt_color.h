// A TColor as the QColor it draws as, the one conversion every Qt-facing
// layer uses (the painter path, the peers, the widgets): system colours
// through the fixed table, every other value by its three colour bytes, opaque.
#pragma once

#include <QColor>
#include <cstdint>

#include "platform/graphics.h"

namespace zkw {

inline QColor ToQColor(TColor Color) {
  const auto C = static_cast<std::uint32_t>(ColorToRGB(Color));
  return QColor(static_cast<int>(C & 0xFF), static_cast<int>((C >> 8) & 0xFF), static_cast<int>((C >> 16) & 0xFF));
}

}  // namespace zkw
