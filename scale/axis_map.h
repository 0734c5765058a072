// The value-to-pixel map of one axis, linear or logarithmic: pixel = value *
// Factor + Offset (ln(value) on a logarithmic axis), and back. The chart's
// layer transforms, the scale control and its tick walks, and the chart's
// grid all place values through it, so an axis and its scale can never
// disagree about a pixel. Pure; needs no window.
//
// Two rounding rules are in use, and the map names both, because pictures
// are compared pixel for pixel and each user has always rounded its way:
//  - Pixel: the chart's. The unrounded value is taken to a double first
//    (Raw), then rounded; a double-precision shortcut (QuickPixel) gives the
//    same integers faster for the per-item loops.
//  - PixelOfExtended: the scale's. The extended value is rounded directly.
// Both round halves to even, clamp to +-2147483647 and map NaN to 0; they can
// only differ for an extended value within a double's precision of a half.
#pragma once

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/core.h"
#include "platform/rtl.h"
#include "scale/range_math.h"

namespace zkw {

// RealToPixel for a double, inline for the per-item loops: clamps to
// +-2147483647, rounds halves to the even neighbour, maps NaN to 0. Gives the
// same result as RealToPixel for every double (tested against it).
// Branch-free after the range tests: the fraction of scattered data points is
// random, and a branch on it is mispredicted half the time.
inline int PixelFromDouble(double V) {
  if (!(V == V)) return 0;
  if (V >= 2147483647.0) return 2147483647;
  if (V <= -2147483647.0) return -2147483647;
  // floor(V) by truncation, which is exact for |V| < 2^31.
  const auto T = static_cast<int>(V);
  const int I = T - static_cast<int>(V < static_cast<double>(T));
  const double Diff = V - static_cast<double>(I);
  return I + static_cast<int>((Diff > 0.5) | ((Diff == 0.5) & ((I & 1) != 0)));
}

// The pixel of V * Factor + Offset worked out in double precision, for the
// transform's per-point loops (the extended-precision path costs a trip
// through the x87 unit and memory). While both terms stay within 2^29 its
// error against the extended-precision value is below 2^-20, so it rounds to
// the same integer unless the value lies within 2^-10 of a half; there, and
// for NaN or larger values, it declines and the caller takes the exact path.
inline bool QuickPixel(double V, double Factor, double Offset, int& Pixel) {
  const double P = V * Factor;
  if (!(std::fabs(P) <= 0x1p29)) return false;
  const double A = P + Offset;
#if defined(__SSE2__)
  // One conversion in the processor's rounding mode. Whatever that mode is,
  // an integer less than 0.5 - 2^-10 away is the nearest one, and A lies that
  // close to a half exactly when the test below declines.
  const int R = _mm_cvtsd_si32(_mm_set_sd(A));
  const double Off = A - static_cast<double>(R);
  if (!(std::fabs(Off) <= 0.5 - 0x1p-10)) return false;
  Pixel = R;
#else
  const auto T = static_cast<int>(A);
  const int I = T - static_cast<int>(A < static_cast<double>(T));
  const double Diff = A - static_cast<double>(I);
  if (std::fabs(Diff - 0.5) < 0x1p-10) return false;
  Pixel = I + static_cast<int>(Diff > 0.5);
#endif
  return true;
}

// Values of a logarithmic axis at or below this (and NaN) have no logarithm
// worth drawing; they all go to the map's LogFloor pixel.
constexpr double LogAxisSmallest = 1e-100;

// Fits a map to pixels by both ends at once: range end Lo lands on pixel
// Near and Hi on Far, the offset worked out from both edges
// ((Near * Hi - Far * Lo) / (Hi - Lo), in ln units on a logarithmic axis).
// The chart's plot uses it: its edges may lie beyond 2^31, and this form puts
// both range ends exactly on them. Returns false, leaving Factor and Offset
// unchanged, when a logarithmic range has an end not above 0.
bool FitAxisToEdges(const TAxisRange& Range, Extended Near, Extended Far, Extended& Factor, Extended& Offset);

// Fits a map to pixels from one end: value From lands on pixel Start and
// value To Span pixels further on, the offset worked back from Start
// (Start - From * Factor). The scale control uses it, with its low (top)
// range end at its margin. On a logarithmic map From and To must be above 0
// (their logarithms are taken).
void FitAxisFromStart(Extended From, Extended To, bool Logarithmic, Extended Start, Extended Span,
                      Extended& Factor, Extended& Offset);

struct TAxisMap {
  Extended Factor = 0;
  Extended Offset = 0;
  bool Logarithmic = false;
  // Where values not above LogAxisSmallest of a logarithmic axis go.
  double LogFloor = 0;
  // Double copies of a linear map's factors for QuickPixel, set by Make when
  // the offset is small enough; a map built any other way always takes the
  // extended path.
  double FactorD = 0;
  double OffsetD = 0;
  bool Quick = false;

  bool operator==(const TAxisMap&) const = default;

  static TAxisMap Make(Extended Factor, Extended Offset, bool Logarithmic, double LogFloor) {
    TAxisMap M;
    M.Factor = Factor;
    M.Offset = Offset;
    M.Logarithmic = Logarithmic;
    M.LogFloor = LogFloor;
    M.FactorD = static_cast<double>(Factor);
    M.OffsetD = static_cast<double>(Offset);
    M.Quick = !Logarithmic && std::isfinite(M.FactorD) && std::fabs(M.OffsetD) <= 0x1p29;
    return M;
  }

  // Whether V goes to LogFloor instead of through its logarithm.
  bool AtLogFloor(double V) const { return Logarithmic && !(V > LogAxisSmallest); }

  // The pixel value before rounding, in extended precision.
  Extended RawExtended(double V) const {
    if (!Logarithmic) return static_cast<Extended>(V) * Factor + Offset;
    return V > LogAxisSmallest ? std::log(static_cast<Extended>(V)) * Factor + Offset
                               : static_cast<Extended>(LogFloor);
  }
  // The pixel value before rounding, held as a double.
  double Raw(double V) const {
    if (Logarithmic && !(V > LogAxisSmallest)) return LogFloor;
    return static_cast<double>(RawExtended(V));
  }
  // Raw, but in double arithmetic where QuickPixel would place the whole
  // pixel: the fraction the fine line placing uses then matches that pixel.
  double FineRaw(double V) const { return Quick ? V * FactorD + OffsetD : Raw(V); }

  // The chart's pixel: Raw rounded, halves to even, clamped to +-2147483647.
  int Pixel(double V) const {
    int P;
    if (Quick && QuickPixel(V, FactorD, OffsetD, P)) return P;
    return PixelFromDouble(Raw(V));
  }
  // The scale's pixel: RawExtended rounded, halves to even, clamped to
  // +-2147483647, without the detour through a double.
  int PixelOfExtended(double V) const { return RealToPixel(RawExtended(V)); }

  // The inverse: the value at pixel P; 0 when the map has no extent (factor 0).
  double Value(int P) const {
    if (Factor == 0) return 0.0;
    const Extended V = (P - Offset) / Factor;
    return static_cast<double>(Logarithmic ? std::exp(V) : V);
  }
};

}  // namespace zkw
