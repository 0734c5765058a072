// Filling a run of 32-bit pixels with one value, the innermost loop of every
// solid fill (backgrounds, boxes, text backgrounds). A plain loop stores one
// pixel per step; where wchar_t is 32 bits wide the C library's wmemset is a
// vector fill that stores many, several times faster on long runs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace zkw {

inline void FillPixels(std::uint32_t* P, std::int64_t N, std::uint32_t Pixel) {
  if constexpr (sizeof(wchar_t) == sizeof(std::uint32_t)) {
    if (N >= 16) {
      std::wmemset(reinterpret_cast<wchar_t*>(P), static_cast<wchar_t>(Pixel), static_cast<std::size_t>(N));
      return;
    }
  }
  std::fill(P, P + std::max<std::int64_t>(N, 0), Pixel);
}

}  // namespace zkw
