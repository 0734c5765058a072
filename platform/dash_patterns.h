// The dash patterns of 1-pixel pens (internal to the canvas): which pixels of
// a period are drawn. The exact raster steps through them pixel by pixel; the
// painter path gives Qt the same periods as runs.
#pragma once

#include <cstdint>

#include "platform/graphics.h"

namespace zkw {

struct DashPattern {
  const std::uint8_t* On;  // 1: drawn, 0: gap; Length entries
  int Length;
};

inline constexpr std::uint8_t DashBits[24] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0};
inline constexpr std::uint8_t DotBits[6] = {1, 1, 1, 0, 0, 0};
inline constexpr std::uint8_t DashDotBits[24] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0,
                                                 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0};
inline constexpr std::uint8_t DashDotDotBits[24] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0,
                                                    1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0};

// The pattern of Style, or nullptr for a solid (or clear) pen.
inline const DashPattern* PatternOf(TPenStyle Style) {
  static constexpr DashPattern Dash{DashBits, 24}, Dot{DotBits, 6}, DashDot{DashDotBits, 24},
      DashDotDot{DashDotDotBits, 24};
  switch (Style) {
    case psDash: return &Dash;
    case psDot: return &Dot;
    case psDashDot: return &DashDot;
    case psDashDotDot: return &DashDotDot;
    default: return nullptr;
  }
}

}  // namespace zkw
