#include "platform/fine_lines.h"

#include <algorithm>
#include <cmath>

namespace zkw {

namespace {

using i64 = std::int64_t;

// Dst moved towards Src by Alpha / 256 (0..256), per channel.
inline std::uint32_t Blend(std::uint32_t Dst, std::uint32_t Src, std::uint32_t Alpha) {
  const std::uint32_t Keep = 256 - Alpha;
  const std::uint32_t RB = (((Src & 0xFF00FFu) * Alpha + (Dst & 0xFF00FFu) * Keep) >> 8) & 0xFF00FFu;
  const std::uint32_t G = (((Src & 0x00FF00u) * Alpha + (Dst & 0x00FF00u) * Keep) >> 8) & 0x00FF00u;
  return 0xFF000000u | RB | G;
}

// Floor and ceiling of values far inside the 64-bit range (std::floor is a
// library call on the baseline instruction set, twice per device step).
inline i64 FloorOf(double V) {
  const auto T = static_cast<i64>(V);
  return T - (V < static_cast<double>(T));
}
inline i64 CeilOf(double V) {
  const auto T = static_cast<i64>(V);
  return T + (V > static_cast<double>(T));
}

// Device pixels whose centre lies in (Low, High]: the same rule by which a
// filled box covers device pixels, so a line lines up with the boxes beside it.
inline void CentresIn(double Low, double High, i64& First, i64& Last) {
  First = FloorOf(Low - 0.5) + 1;
  Last = FloorOf(High - 0.5);
}

// One segment from A to B (logical), its major axis M and minor axis N
// (XMajor: M is x). The device picture is addressed as (major, minor).
template <bool XMajor>
void Segment(const TPixelView& T, double AM, double AN, double BM, double BN, double Scale, double Half,
             std::uint32_t Pixel, bool Smooth) {
  const double DM = BM - AM;
  const double Dir = DM > 0 ? 1.0 : -1.0;
  const double Slope = (BN - AN) / DM;
  // The covered major positions run from half a logical pixel before A to
  // half a logical pixel before B: whole points cover A's pixel, not B's.
  const double From = (AM + 0.5 - 0.5 * Dir) * Scale, To = (BM + 0.5 - 0.5 * Dir) * Scale;
  const i64 MajorSize = XMajor ? T.Width : T.Height, MinorSize = XMajor ? T.Height : T.Width;
  i64 C0, C1;
  CentresIn(std::min(From, To), std::max(From, To), C0, C1);
  C0 = std::max<i64>(C0, 0);
  C1 = std::min<i64>(C1, MajorSize - 1);
  if (C0 > C1) return;
  // The band's centre across the major axis at device position c + 0.5.
  const double M0 = (AM + 0.5) * Scale, N0 = (AN + 0.5) * Scale;
  const auto Centre = [&](i64 C) { return N0 + (static_cast<double>(C) + 0.5 - M0) * Slope; };
  // A segment whose band misses the picture across the major axis is skipped whole.
  const double E0 = Centre(C0), E1 = Centre(C1);
  if (std::max(E0, E1) + Half < 0 || std::min(E0, E1) - Half > static_cast<double>(MinorSize)) return;
  const auto At = [&](i64 C, i64 R) {
    return XMajor ? T.Bits + R * T.Stride + C : T.Bits + C * T.Stride + R;
  };
  for (i64 C = C0; C <= C1; ++C) {
    const double Mid = Centre(C);
    const double Low = Mid - Half, High = Mid + Half;
    if (!Smooth) {
      i64 R0, R1;
      CentresIn(Low, High, R0, R1);
      R0 = std::max<i64>(R0, 0);
      R1 = std::min<i64>(R1, MinorSize - 1);
      for (i64 R = R0; R <= R1; ++R) *At(C, R) = Pixel;
      continue;
    }
    // Each pixel takes the colour by the part of it the band covers.
    const i64 R0 = std::max<i64>(FloorOf(Low), 0);
    const i64 R1 = std::min<i64>(CeilOf(High) - 1, MinorSize - 1);
    for (i64 R = R0; R <= R1; ++R) {
      const double Cover = std::min(High, static_cast<double>(R + 1)) - std::max(Low, static_cast<double>(R));
      const auto Alpha = static_cast<std::uint32_t>(std::clamp(Cover, 0.0, 1.0) * 256.0 + 0.5);
      if (Alpha == 0) continue;
      std::uint32_t* P = At(C, R);
      *P = Alpha >= 256 ? Pixel : Blend(*P, Pixel, Alpha);
    }
  }
}

}  // namespace

void DrawFinePolyline(const TPixelView& Target, const TPointF* Points, int Count, double Scale, double Width,
                      std::uint32_t Pixel, bool Smooth) {
  if (Target.Bits == nullptr || Target.Width <= 0 || Target.Height <= 0 || Points == nullptr || Count < 2) return;
  if (!(Scale > 0 && Scale <= 64) || !(Width > 0 && Width <= 1024)) return;
  const double Half = Scale * Width / 2;
  // Far points are pulled in to where every device position still fits the
  // integer arithmetic; a point that is not finite breaks the line.
  const auto Near = [](TPointF P) {
    constexpr double Far = 1 << 22;
    return TPointF{std::clamp(P.X, -Far, Far), std::clamp(P.Y, -Far, Far)};
  };
  for (int I = 1; I < Count; ++I) {
    const TPointF A0 = Points[I - 1], B0 = Points[I];
    if (!std::isfinite(A0.X) || !std::isfinite(A0.Y) || !std::isfinite(B0.X) || !std::isfinite(B0.Y)) continue;
    const TPointF A = Near(A0), B = Near(B0);
    const double DX = B.X - A.X, DY = B.Y - A.Y;
    if (DX == 0 && DY == 0) continue;
    if (std::fabs(DX) >= std::fabs(DY)) {
      Segment<true>(Target, A.X, A.Y, B.X, B.Y, Scale, Half, Pixel, Smooth);
    } else {
      Segment<false>(Target, A.Y, A.X, B.Y, B.X, Scale, Half, Pixel, Smooth);
    }
  }
}

}  // namespace zkw
