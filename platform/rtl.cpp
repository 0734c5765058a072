// Rounding, the uniform generator and file names.
#include "platform/rtl.h"

#include <cmath>
#include <limits>

namespace zkw {

namespace {

constexpr Extended TwoPow63 = 9223372036854775808.0L;

// Saturates an integral-valued Extended into int64; NaN gives 0.
std::int64_t Saturate(Extended Whole) {
  if (std::isnan(Whole)) return 0;
  if (Whole >= TwoPow63) return std::numeric_limits<std::int64_t>::max();
  if (Whole < -TwoPow63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(Whole);
}

std::uint32_t Seed = 0;

}  // namespace

std::int64_t Round(Extended X) {
  if (std::isnan(X)) return 0;
  if (std::isinf(X)) return Saturate(X);
  const Extended F = std::floor(X);
  const Extended Diff = X - F;
  if (Diff > 0.5L) return Saturate(F + 1);
  if (Diff < 0.5L) return Saturate(F);
  // A half: the even neighbour.
  return Saturate(std::fmod(F, 2.0L) == 0 ? F : F + 1);
}

std::int64_t Trunc(Extended X) { return Saturate(std::trunc(X)); }
std::int64_t Floor(Extended X) { return Saturate(std::floor(X)); }
std::int64_t Ceil(Extended X) { return Saturate(std::ceil(X)); }

int RealToPixel(Extended X) { return ClampInt(Round(X), -2147483647, 2147483647); }

double Random() {
  Seed = Seed * 134775813u + 1u;
  return static_cast<double>(Seed) * (1.0 / 4294967296.0);
}

std::uint32_t RandSeed() { return Seed; }
void SetRandSeed(std::uint32_t Value) { Seed = Value; }

std::string ExtractFileName(const std::string& Path) {
  const std::size_t Cut = Path.find_last_of("/\\:");
  return Cut == std::string::npos ? Path : Path.substr(Cut + 1);
}

}  // namespace zkw
