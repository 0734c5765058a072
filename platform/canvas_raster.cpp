// The canvas's integer raster rules, written straight into the bitmap's
// 0xFFRRGGBB scan lines (no QPainter for primitives: they must be exact and fast).
//
// Rules the drawing code relies on:
//  - Pixel (x, y) is the unit square whose centre is the integer point (x, y).
//  - Lines: Bresenham from the pen position, the end pixel excluded. The minor
//    coordinate of step i is round(i * dminor / dmajor) with halves away from the
//    start; diagonals count as x-major. A zero-length line draws nothing.
//  - Dash patterns (1-pixel pens only; the gaps are left untouched), in pixels:
//    dash 18 on 6 off, dot 3 on 3 off, dash-dot 9/6/3/6, dash-dot-dot 9/3/3/3/3/3.
//    The pattern continues over connected LineTo calls and restarts at MoveTo and
//    at the start of every Polyline, Polygon and Rectangle.
//  - Pens wider than 1 draw solid: every pixel of the thin line is replaced by a
//    square of Width x Width pixels whose top-left corner is Width div 2 up and
//    left of it; the union is written once (so pmXor stays reversible).
//  - Rectangle (L, T, R, B) covers x in [L, R), y in [T, B) (corners normalised).
//    A 1-pixel pen draws its border ring and the brush the inside. A wider pen's
//    band is centred on that border (reaching Width div 2 outside); with
//    psInsideFrame the band stays inside the box. With psClear the brush fills
//    the whole box.
//  - Ellipse: the pixels whose centre lies inside the ellipse inscribed in the
//    box (a row whose chord misses every centre keeps the pixels it crosses; the
//    middle row or rows span the whole width);
//    the pen ring is that shape minus the ellipse of the box shrunk by the pen
//    width, with the same band placement as the rectangle. Arc is the ring
//    restricted to the pixels whose direction from the box centre lies
//    counter-clockwise from the start radial to the end radial (equal radials:
//    the whole ring). Ellipses and arcs draw with a solid pen in every style.
//  - Polygon: closed outline with the pen (each vertex once), interior by the
//    even-odd rule sampled at pixel centres, a sample on a left or top edge
//    belonging to the polygon.
//  - pmXor XORs the pen (and brush) colour into the pixel; every primitive writes
//    each pixel at most once, so drawing it twice restores the picture. SetPixels,
//    FillRect, Draw, StretchDraw and text always copy.
//  - Everything is computed in 64-bit (128-bit for products) and clipped to the
//    bitmap before stepping: extreme coordinates cost only their visible pixels.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/dash_patterns.h"
#include "platform/graphics.h"
#include "platform/pixel_fill.h"

namespace zkw {

namespace {

using i64 = std::int64_t;
using i128 = __int128;

// 0x00BBGGRR (system colours resolved) -> 0xFFRRGGBB.
inline std::uint32_t PixelOf(TColor Color) { return ColorToPixel(Color); }

inline TColor ColorOf(std::uint32_t Pixel) {
  return static_cast<TColor>(((Pixel & 0xFFu) << 16) | (Pixel & 0xFF00u) | ((Pixel >> 16) & 0xFFu));
}

i128 FloorDiv(i128 A, i128 B) {  // B > 0
  i128 Q = A / B;
  if (A % B != 0 && A < 0) --Q;
  return Q;
}

i128 CeilDiv(i128 A, i128 B) {  // B > 0
  i128 Q = A / B;
  if (A % B != 0 && A > 0) ++Q;
  return Q;
}

// Ceil(A * B / C) for C > 0, in 64-bit arithmetic when the
// product cannot overflow (every on-screen case), else in 128-bit.
constexpr i64 Small = i64(1) << 30;
inline bool IsSmall(i64 V) { return V > -Small && V < Small; }

i64 MulCeil(i64 A, i64 B, i64 C) {
  if (IsSmall(A) && IsSmall(B)) {
    const i64 N = A * B;
    return N / C + (N % C != 0 && N > 0);
  }
  return static_cast<i64>(CeilDiv(i128(A) * B, C));
}

struct Surf {
  std::uint32_t* Bits;
  i64 Stride;
  i64 W;
  i64 H;
  std::uint32_t* At(i64 X, i64 Y) const { return Bits + Y * Stride + X; }
};

// Pixel writers: copy, exclusive-or, and a mask recorder used to keep a
// polygon's fill off its own outline in exclusive-or mode.
struct CopyWriter {
  std::uint32_t C;
  void Px(std::uint32_t* P) const { *P = C; }
  void Run(std::uint32_t* P, i64 N, i64 Step) const {
    if (Step == 1) {
      FillPixels(P, N, C);
    } else {
      for (; N > 0; --N, P += Step) *P = C;
    }
  }
};

struct XorWriter {
  std::uint32_t C;  // colour bytes only: the pixel stays opaque
  void Px(std::uint32_t* P) const { *P ^= C; }
  void Run(std::uint32_t* P, i64 N, i64 Step) const {
    for (; N > 0; --N, P += Step) *P ^= C;
  }
};

struct MaskWriter {
  std::uint8_t* Mask;
  const std::uint32_t* Base;
  void Px(std::uint32_t* P) const { Mask[P - Base] = 1; }
  void Run(std::uint32_t* P, i64 N, i64 Step) const {
    for (; N > 0; --N, P += Step) Mask[P - Base] = 1;
  }
};

// The geometry of a line in major/minor terms.
struct LineGeom {
  bool XMajor;
  i64 N;      // pixels drawn (the end pixel excluded)
  i64 M0;     // major coordinate of the start
  i64 Q0;     // minor coordinate of the start
  int SM;     // major step direction
  int SQ;     // minor step direction
  i64 DMaj;   // |major delta| = N
  i64 DMin;   // |minor delta|
  i64 DimM;   // bitmap extent along the major axis
  i64 DimQ;   // ... and along the minor axis

  LineGeom(const Surf& S, i64 X0, i64 Y0, i64 X1, i64 Y1) {
    const i64 DX = X1 - X0, DY = Y1 - Y0;
    const i64 ADX = DX < 0 ? -DX : DX, ADY = DY < 0 ? -DY : DY;
    XMajor = ADX >= ADY;
    N = XMajor ? ADX : ADY;
    M0 = XMajor ? X0 : Y0;
    Q0 = XMajor ? Y0 : X0;
    SM = (XMajor ? DX : DY) > 0 ? 1 : -1;
    SQ = (XMajor ? DY : DX) >= 0 ? 1 : -1;
    DMaj = N;
    DMin = XMajor ? ADY : ADX;
    DimM = XMajor ? S.W : S.H;
    DimQ = XMajor ? S.H : S.W;
  }
  // Minor offset (in steps) of pixel I: floor((2 I DMin + DMaj) / (2 DMaj)).
  i64 K(i64 I) const {
    if (DMin == 0) return 0;
    if (IsSmall(I) && IsSmall(DMin)) return (2 * I * DMin + DMaj) / (2 * DMaj);
    return static_cast<i64>((i128(2) * I * DMin + DMaj) / (i128(2) * DMaj));
  }
  i64 Major(i64 I) const { return M0 + SM * I; }
  i64 Minor(i64 I) const { return Q0 + SQ * K(I); }
};

template <typename Writer>
void ThinLine(const Surf& S, i64 X0, i64 Y0, i64 X1, i64 Y1, const Writer& Wr, const DashPattern* Dash,
              int& Phase) {
  const LineGeom G(S, X0, Y0, X1, Y1);
  if (G.N == 0) return;
  const i64 StartPhase = Phase;
  if (Dash) Phase = static_cast<int>((StartPhase + G.N) % Dash->Length);
  i64 IA = 0, IB = G.N;
  const bool Inside = X0 >= 0 && X0 < S.W && Y0 >= 0 && Y0 < S.H && X1 >= 0 && X1 < S.W && Y1 >= 0 && Y1 < S.H;
  if (!Inside) {
    // Pixels whose major coordinate is visible ...
    if (G.SM > 0) {
      IA = std::max<i64>(0, -G.M0);
      IB = std::min<i64>(G.N, G.DimM - G.M0);
    } else {
      IA = std::max<i64>(0, G.M0 - G.DimM + 1);
      IB = std::min<i64>(G.N, G.M0 + 1);
    }
    if (IA >= IB) return;
    // ... and whose minor coordinate Q0 + SQ * K(i) is visible.
    const i64 KLo = G.SQ > 0 ? -G.Q0 : G.Q0 - G.DimQ + 1;
    const i64 KHi = G.SQ > 0 ? G.DimQ - 1 - G.Q0 : G.Q0;
    if (KHi < 0) return;
    if (G.DMin == 0) {
      if (KLo > 0) return;
    } else {
      // K(i) >= KLo  <=>  i >= ceil((2 KLo - 1) DMaj / (2 DMin))
      if (KLo > 0) IA = std::max(IA, std::min(IB, MulCeil(2 * KLo - 1, G.DMaj, 2 * G.DMin)));
      // K(i) <= KHi  <=>  i < ceil((2 KHi + 1) DMaj / (2 DMin))
      IB = std::min(IB, MulCeil(2 * KHi + 1, G.DMaj, 2 * G.DMin));
    }
    if (IA >= IB) return;
  }

  const i64 TwoMaj = 2 * G.DMaj, TwoMin = 2 * G.DMin;
  i64 KStart, Rem;
  if (IsSmall(IA) && IsSmall(G.DMin)) {
    const i64 Num = 2 * IA * G.DMin + G.DMaj;
    KStart = Num / TwoMaj;
    Rem = Num % TwoMaj;
  } else {
    const i128 Num = i128(2) * IA * G.DMin + G.DMaj;
    KStart = static_cast<i64>(Num / TwoMaj);
    Rem = static_cast<i64>(Num % TwoMaj);
  }
  const i64 M = G.Major(IA), Q = G.Q0 + G.SQ * KStart;
  std::uint32_t* P = G.XMajor ? S.At(M, Q) : S.At(Q, M);
  const i64 StepM = G.XMajor ? G.SM : G.SM * S.Stride;
  const i64 StepQ = G.XMajor ? G.SQ * S.Stride : G.SQ;
  const i64 Count = IB - IA;

  if (!Dash && G.DMin == 0) {  // horizontal and vertical runs
    Wr.Run(StepM > 0 ? P : P + StepM * (Count - 1), Count, StepM > 0 ? StepM : -StepM);
    return;
  }
  if (!Dash) {
    for (i64 I = 0; I < Count; ++I) {
      Wr.Px(P);
      P += StepM;
      Rem += TwoMin;
      if (Rem >= TwoMaj) {
        Rem -= TwoMaj;
        P += StepQ;
      }
    }
    return;
  }
  int Pos = static_cast<int>((StartPhase + IA) % Dash->Length);
  for (i64 I = 0; I < Count; ++I) {
    if (Dash->On[Pos]) Wr.Px(P);
    if (++Pos == Dash->Length) Pos = 0;
    P += StepM;
    Rem += TwoMin;
    if (Rem >= TwoMaj) {
      Rem -= TwoMaj;
      P += StepQ;
    }
  }
}

// A pen of Width > 1: the union of Width x Width squares along the thin line,
// written as one span per visible major coordinate.
template <typename Writer>
void WideLine(const Surf& S, i64 X0, i64 Y0, i64 X1, i64 Y1, int Width, const Writer& Wr) {
  const LineGeom G(S, X0, Y0, X1, Y1);
  if (G.N == 0) return;
  const i64 A = Width / 2, B = Width - 1 - A;  // square reach before / after the pixel
  const i64 MLast = G.Major(G.N - 1);
  const i64 CLo = std::max<i64>(std::min(G.M0, MLast) - A, 0);
  const i64 CHi = std::min<i64>(std::max(G.M0, MLast) + B, G.DimM - 1);
  for (i64 C = CLo; C <= CHi; ++C) {
    // Squares whose major extent [m_i - A, m_i + B] holds C.
    i64 ILo = G.SM > 0 ? C - B - G.M0 : G.M0 - C - A;
    i64 IHi = ILo + Width - 1;
    ILo = std::max<i64>(ILo, 0);
    IHi = std::min<i64>(IHi, G.N - 1);
    if (ILo > IHi) continue;
    const i64 QA = G.Minor(ILo), QB = G.Minor(IHi);
    const i64 QLo = std::max<i64>(std::min(QA, QB) - A, 0);
    const i64 QHi = std::min<i64>(std::max(QA, QB) + B, G.DimQ - 1);
    if (QLo > QHi) continue;
    if (G.XMajor) {
      Wr.Run(S.At(C, QLo), QHi - QLo + 1, S.Stride);
    } else {
      Wr.Run(S.At(QLo, C), QHi - QLo + 1, 1);
    }
  }
}

template <typename Writer>
void Box(const Surf& S, i64 L, i64 T, i64 R, i64 B, const Writer& Wr) {
  L = std::max<i64>(L, 0);
  T = std::max<i64>(T, 0);
  R = std::min<i64>(R, S.W);
  B = std::min<i64>(B, S.H);
  if (L >= R || T >= B) return;
  for (i64 Y = T; Y < B; ++Y) Wr.Run(S.At(L, Y), R - L, 1);
}

// A rectangle in one pass: a band of width Band in Pen round [OL, OR) x [OT, OB),
// the inside in Brush when Fill.
template <typename Writer>
void Ring(const Surf& S, i64 OL, i64 OT, i64 OR, i64 OB, i64 Band, const Writer& Pen, const Writer& Brush,
          bool Fill) {
  const i64 IT = std::min(OT + Band, OB), IB = std::max(OB - Band, IT);
  const i64 IL = std::min(OL + Band, OR), IR = std::max(OR - Band, IL);
  const i64 CL = std::max<i64>(OL, 0), CR = std::min<i64>(OR, S.W);
  const i64 Y0 = std::max<i64>(OT, 0), Y1 = std::min<i64>(OB, S.H);
  if (CL >= CR || Y0 >= Y1) return;
  const i64 LeftEnd = std::min(std::max(IL, CL), CR), RightStart = std::max(std::min(IR, CR), LeftEnd);
  std::uint32_t* Row = S.At(0, Y0);
  for (i64 Y = Y0; Y < Y1; ++Y, Row += S.Stride) {
    if (Y < IT || Y >= IB) {
      Pen.Run(Row + CL, CR - CL, 1);
      continue;
    }
    if (LeftEnd > CL) Pen.Run(Row + CL, LeftEnd - CL, 1);
    if (Fill && RightStart > LeftEnd) Brush.Run(Row + LeftEnd, RightStart - LeftEnd, 1);
    if (CR > RightStart) Pen.Run(Row + RightStart, CR - RightStart, 1);
  }
}

template <typename Writer>
void Span(const Surf& S, i64 Y, i64 L, i64 R, const Writer& Wr) {
  if (Y < 0 || Y >= S.H) return;
  L = std::max<i64>(L, 0);
  R = std::min<i64>(R, S.W);
  if (L < R) Wr.Run(S.At(L, Y), R - L, 1);
}

// The filled ellipse inscribed in [L, R) x [T, B) on row Y: [XL, XR).
bool EllipseRow(i64 L, i64 T, i64 R, i64 B, i64 Y, i64& XL, i64& XR) {
  if (R <= L || B <= T || Y < T || Y >= B) return false;
  const double RX = static_cast<double>(R - L) * 0.5, RY = static_cast<double>(B - T) * 0.5;
  // The row (or the two rows) at the vertical centre take the full width, so
  // even a flat ellipse reaches both sides of its box.
  const double Off = static_cast<double>(Y - T) + 0.5 - RY;
  const double DY = std::fabs(Off) <= 0.5 ? 0.0 : Off / RY;
  const double Half = RX * std::sqrt(std::max(0.0, 1.0 - DY * DY));
  constexpr double Eps = 1e-9;
  // Offsets from L: centres inside the chord [RX - Half, RX + Half].
  i64 A = static_cast<i64>(std::ceil(RX - Half - 0.5 - Eps));
  i64 Z = static_cast<i64>(std::floor(RX + Half - 0.5 + Eps)) + 1;
  if (A >= Z) {  // a thin row: keep the pixels the chord crosses
    A = static_cast<i64>(std::floor(RX - Half));
    Z = static_cast<i64>(std::ceil(RX + Half));
    if (A >= Z) Z = A + 1;
  }
  XL = L + std::max<i64>(A, 0);
  XR = L + std::min<i64>(Z, R - L);
  return XL < XR;
}

struct ArcRange {
  double CX, CY;  // box centre in pixel-square coordinates
  double From;    // start angle (radians, counter-clockwise, y up)
  double Sweep;   // in (0, 2 pi]
  bool Contains(i64 X, i64 Y) const {
    const double T = std::atan2(CY - (static_cast<double>(Y) + 0.5), (static_cast<double>(X) + 0.5) - CX);
    double D = std::fmod(T - From, 2 * M_PI);
    if (D < 0) D += 2 * M_PI;
    return D <= Sweep + 1e-12;
  }
};

template <typename Writer>
void ArcSpan(const Surf& S, i64 Y, i64 L, i64 R, const ArcRange* Arc, const Writer& Wr) {
  if (!Arc) {
    Span(S, Y, L, R, Wr);
    return;
  }
  if (Y < 0 || Y >= S.H) return;
  L = std::max<i64>(L, 0);
  R = std::min<i64>(R, S.W);
  for (i64 X = L; X < R; ++X) {
    if (Arc->Contains(X, Y)) Wr.Px(S.At(X, Y));
  }
}

}  // namespace

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas(TBitmap& Target) : FTarget(Target) {}

TCanvas::~TCanvas() = default;

#define ZKW_SURFACE(S)                                                  \
  if (FTarget.FStale) FTarget.Surface();                                \
  const Surf S{FTarget.FBits, FTarget.FStride, FTarget.FW, FTarget.FH}; \
  if (S.W <= 0 || S.H <= 0) return

void TCanvas::MoveTo(int X, int Y) {
  FPenPos = {X, Y};
  FDashPhase = 0;
}

void TCanvas::LineTo(int X, int Y) {
  DrawLine(FPenPos.X, FPenPos.Y, X, Y);
  FPenPos = {X, Y};
}

void TCanvas::DrawLine(std::int64_t X0, std::int64_t Y0, std::int64_t X1, std::int64_t Y1) {
  if (!FTarget.FExact) {
    PaintLine(X0, Y0, X1, Y1);
    return;
  }
  if (FPen.Style() == psClear) return;
  ZKW_SURFACE(S);
  const std::uint32_t C = PixelOf(FPen.Color());
  const bool Xor = FPen.Mode() == pmXor;
  if (FPen.Width() > 1) {
    if (Xor) {
      WideLine(S, X0, Y0, X1, Y1, FPen.Width(), XorWriter{C & 0x00FFFFFFu});
    } else {
      WideLine(S, X0, Y0, X1, Y1, FPen.Width(), CopyWriter{C});
    }
    return;
  }
  const DashPattern* Dash = PatternOf(FPen.Style());
  if (Xor) {
    ThinLine(S, X0, Y0, X1, Y1, XorWriter{C & 0x00FFFFFFu}, Dash, FDashPhase);
  } else {
    ThinLine(S, X0, Y0, X1, Y1, CopyWriter{C}, Dash, FDashPhase);
  }
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  if (!Points || Count < 2) return;
  if (!FTarget.FExact) {
    PaintPolyline(Points, Count);
    return;
  }
  const int Kept = FDashPhase;
  FDashPhase = 0;
  const TPenStyle Style = FPen.Style();
  if (FPen.Width() == 1 && FPen.Mode() == pmCopy && Style != psClear && !PatternOf(Style)) {
    // Long curves are mostly segments of a pixel or two: a thin solid copy pen
    // steps the segments that lie inside the bitmap here, with the pen and the
    // surface looked up once, by the same rule ThinLine uses from its first
    // pixel (minor offset floor((2 i dmin + dmaj) / (2 dmaj))).
    if (FTarget.FStale) FTarget.Surface();
    const Surf S{FTarget.FBits, FTarget.FStride, FTarget.FW, FTarget.FH};
    if (S.W <= 0 || S.H <= 0) {
      FDashPhase = Kept;
      return;
    }
    const std::uint32_t C = PixelOf(FPen.Color());
    for (int I = 1; I < Count; ++I) {
      const i64 X0 = Points[I - 1].X, Y0 = Points[I - 1].Y, X1 = Points[I].X, Y1 = Points[I].Y;
      if (X0 < 0 || X0 >= S.W || Y0 < 0 || Y0 >= S.H || X1 < 0 || X1 >= S.W || Y1 < 0 || Y1 >= S.H) {
        ThinLine(S, X0, Y0, X1, Y1, CopyWriter{C}, nullptr, FDashPhase);
        continue;
      }
      const i64 DX = X1 - X0, DY = Y1 - Y0;
      const i64 ADX = DX < 0 ? -DX : DX, ADY = DY < 0 ? -DY : DY;
      const bool XMajor = ADX >= ADY;
      const i64 N = XMajor ? ADX : ADY;
      if (N == 0) continue;
      const i64 DMin = XMajor ? ADY : ADX;
      const i64 StepX = DX > 0 ? 1 : -1, StepY = DY > 0 ? S.Stride : -S.Stride;
      // Minor direction: a zero delta counts as positive (it never steps).
      const i64 StepM = XMajor ? StepX : StepY;
      const i64 StepQ = XMajor ? (DY >= 0 ? S.Stride : -S.Stride) : (DX >= 0 ? 1 : -1);
      std::uint32_t* P = S.At(X0, Y0);
      const i64 TwoMaj = 2 * N, TwoMin = 2 * DMin;
      i64 Rem = N;
      for (i64 K = 0; K < N; ++K) {
        *P = C;
        P += StepM;
        Rem += TwoMin;
        if (Rem >= TwoMaj) {
          Rem -= TwoMaj;
          P += StepQ;
        }
      }
    }
    FDashPhase = Kept;
    return;
  }
  for (int I = 1; I < Count; ++I) DrawLine(Points[I - 1].X, Points[I - 1].Y, Points[I].X, Points[I].Y);
  FDashPhase = Kept;
}

void TCanvas::SquareOutline(int X, int Y, int D) {
  const i64 L = i64(X) - D, T = i64(Y) - D, R = i64(X) + D, B = i64(Y) + D;
  const TPenStyle Style = FPen.Style();
  if (!FTarget.FExact && D >= 1 && FPen.Width() == 1 && (Style == psSolid || Style == psInsideFrame) &&
      FPen.Mode() == pmCopy && DirectBoxes()) {
    PaintSquareOutline(X, Y, D);
    return;
  }
  if (FTarget.FExact && D >= 1 && FPen.Width() == 1 && (Style == psSolid || Style == psInsideFrame)) {
    TBitmap& Tg = FTarget;
    if (Tg.FStale) Tg.Surface();
    if (L >= 0 && T >= 0 && R < Tg.FW && B < Tg.FH) {
      // Every border pixel once, as the four lines write it (each line stops
      // before the next one's start).
      const std::uint32_t C = PixelOf(FPen.Color());
      const i64 Stride = Tg.FStride, N = R - L;
      std::uint32_t* Top = Tg.FBits + T * Stride + L;
      std::uint32_t* Bottom = Top + (B - T) * Stride;
      if (FPen.Mode() == pmXor) {
        const std::uint32_t Bits = C & 0x00FFFFFFu;
        for (i64 K = 0; K < N; ++K) {
          Top[K + 1] ^= Bits;
          Bottom[K] ^= Bits;
          Top[(K + 1) * Stride + N] ^= Bits;
          Top[K * Stride] ^= Bits;
        }
      } else {
        for (i64 K = 0; K < N; ++K) {
          Top[K + 1] = C;
          Bottom[K] = C;
          Top[(K + 1) * Stride + N] = C;
          Top[K * Stride] = C;
        }
      }
      FPenPos = {static_cast<int>(L), static_cast<int>(T)};
      FDashPhase = 0;
      return;
    }
  }
  // Pens that are wide, dashed or clear, and squares that reach the edge.
  MoveTo(X - D, Y - D);
  LineTo(X - D, Y + D);
  LineTo(X + D, Y + D);
  LineTo(X + D, Y - D);
  LineTo(X - D, Y - D);
}

TBitmap::TBitmap(int Width, int Height, TColor Fill) : TBitmap() { SetSizeFilled(Width, Height, PixelOf(Fill)); }

void TCanvas::FillBox(std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B, std::uint32_t Rgb,
                      bool Xor) {
  if (!FTarget.FExact) {
    PaintFill(static_cast<double>(L), static_cast<double>(T), static_cast<double>(R), static_cast<double>(B),
              ColorOf(Rgb), Xor);
    return;
  }
  ZKW_SURFACE(S);
  if (Xor) {
    Box(S, L, T, R, B, XorWriter{Rgb & 0x00FFFFFFu});
  } else {
    Box(S, L, T, R, B, CopyWriter{Rgb});
  }
}

void TCanvas::DashedBorder(std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B, bool Fill, bool Xor) {
  // Four lines, each ending where the next starts; the dashes restart.
  const int Kept = FDashPhase;
  FDashPhase = 0;
  if (R - L == 1 || B - T == 1) {
    DrawLine(L, T, R - L == 1 ? L : R, B - T == 1 ? T : B);
  } else {
    DrawLine(L, T, R - 1, T);
    DrawLine(R - 1, T, R - 1, B - 1);
    DrawLine(R - 1, B - 1, L, B - 1);
    DrawLine(L, B - 1, L, T);
    if (Fill) FillBox(L + 1, T + 1, R - 1, B - 1, PixelOf(FBrush.Color()), Xor);
  }
  FDashPhase = Kept;
}

void TCanvas::FillRect(const TRect& R) {
  if (FBrush.Style() == bsClear) return;
  if (!FTarget.FExact) {
    PaintFill(R.Left, R.Top, R.Right, R.Bottom, FBrush.Color(), false);
    return;
  }
  FillBox(R.Left, R.Top, R.Right, R.Bottom, PixelOf(FBrush.Color()), false);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  if (X1 > X2) std::swap(X1, X2);
  if (Y1 > Y2) std::swap(Y1, Y2);
  if (!FTarget.FExact) {
    PaintRectangle(X1, Y1, X2, Y2);
    return;
  }
  const bool Fill = FBrush.Style() == bsSolid;
  if (FPen.Width() == 1 && FPen.Mode() == pmCopy && (FPen.Style() == psSolid || FPen.Style() == psInsideFrame)) {
    // The common case (marks, frames, bars) fully inside the picture: one pass
    // of plain stores.
    TBitmap& Tg = FTarget;
    if (Tg.FStale) Tg.Surface();
    if (X1 >= 0 && Y1 >= 0 && X2 <= Tg.FW && Y2 <= Tg.FH) {
      if (X1 == X2 || Y1 == Y2) return;
      const std::uint32_t PenC = PixelOf(FPen.Color());
      const i64 Stride = Tg.FStride;
      const int N = X2 - X1;
      std::uint32_t* Row = Tg.FBits + Y1 * Stride + X1;
      std::uint32_t* Last = Row + (Y2 - 1 - Y1) * Stride;
      FillPixels(Row, N, PenC);
      FillPixels(Last, N, PenC);
      if (Y2 - Y1 > 2) {
        const std::uint32_t BrushC = PixelOf(FBrush.Color());
        for (Row += Stride; Row != Last; Row += Stride) {
          Row[0] = PenC;
          Row[N - 1] = PenC;
          if (Fill) FillPixels(Row + 1, N - 2, BrushC);
        }
      }
      return;
    }
  }
  const i64 L = X1, R = X2, T = Y1, B = Y2;
  if (L == R || T == B) return;
  const bool Xor = FPen.Mode() == pmXor;
  const std::uint32_t BrushC = Fill ? PixelOf(FBrush.Color()) : 0;
  if (FPen.Style() == psClear) {
    if (Fill) FillBox(L, T, R, B, BrushC, Xor);
    return;
  }
  const int W = FPen.Width();
  if (W == 1 && PatternOf(FPen.Style())) {
    DashedBorder(L, T, R, B, Fill, Xor);
    return;
  }
  // Solid border: a ring of width W around the interior.
  i64 OL = L, OT = T, OR = R, OB = B;
  if (W > 1 && FPen.Style() != psInsideFrame) {
    const i64 A = W / 2;
    OL = L - A;
    OT = T - A;
    OR = R - 1 - A + W;
    OB = B - 1 - A + W;
  }
  ZKW_SURFACE(S);
  const std::uint32_t PenC = PixelOf(FPen.Color());
  if (Xor) {
    Ring(S, OL, OT, OR, OB, W, XorWriter{PenC & 0x00FFFFFFu}, XorWriter{BrushC & 0x00FFFFFFu}, Fill);
  } else {
    Ring(S, OL, OT, OR, OB, W, CopyWriter{PenC}, CopyWriter{BrushC}, Fill);
  }
}

void TCanvas::DrawEllipseShape(std::int64_t X1, std::int64_t Y1, std::int64_t X2, std::int64_t Y2, bool Fill,
                               const double* ArcFrom, const double* ArcTo) {
  if (!FTarget.FExact) {
    PaintEllipse(static_cast<int>(X1), static_cast<int>(Y1), static_cast<int>(X2), static_cast<int>(Y2), Fill, ArcFrom,
                 ArcTo);
    return;
  }
  const i64 L = std::min(X1, X2), R = std::max(X1, X2), T = std::min(Y1, Y2), B = std::max(Y1, Y2);
  if (L == R || T == B) return;
  const bool Pen = FPen.Style() != psClear;
  const bool Brush = Fill && FBrush.Style() == bsSolid;
  if (!Pen && !Brush) return;
  ZKW_SURFACE(S);
  const bool Xor = FPen.Mode() == pmXor;
  const std::uint32_t PenC = PixelOf(FPen.Color()), BrushC = PixelOf(FBrush.Color());
  const i64 W = FPen.Width();
  i64 OL = L, OT = T, OR = R, OB = B;
  if (Pen && W > 1 && FPen.Style() != psInsideFrame) {
    const i64 A = W / 2;
    OL = L - A;
    OT = T - A;
    OR = R - 1 - A + W;
    OB = B - 1 - A + W;
  }
  // Without a pen the brush covers the whole shape.
  const i64 Inset = Pen ? W : 0;
  const i64 IL = OL + Inset, IT = OT + Inset, IR = OR - Inset, IB = OB - Inset;

  ArcRange Range{};
  const ArcRange* Arc = nullptr;
  if (ArcFrom && ArcTo) {
    Range.CX = (static_cast<double>(L) + static_cast<double>(R)) * 0.5;
    Range.CY = (static_cast<double>(T) + static_cast<double>(B)) * 0.5;
    Range.From = *ArcFrom;
    double Sweep = std::fmod(*ArcTo - *ArcFrom, 2 * M_PI);
    if (Sweep <= 1e-12) Sweep += 2 * M_PI;
    Range.Sweep = Sweep;
    Arc = &Range;
  }

  const i64 Y0 = std::max<i64>(OT, 0), Y1End = std::min<i64>(OB, S.H);
  for (i64 Y = Y0; Y < Y1End; ++Y) {
    i64 XL, XR;
    if (!EllipseRow(OL, OT, OR, OB, Y, XL, XR)) continue;
    i64 NL = XR, NR = XR;  // inner span, empty unless the inner ellipse has this row
    if (Inset == 0) {
      NL = XL;
    } else if (EllipseRow(IL, IT, IR, IB, Y, NL, NR)) {
      NL = std::clamp(NL, XL, XR);
      NR = std::clamp(NR, NL, XR);
    } else {
      NL = NR = XR;
    }
    if (Pen) {
      if (Xor) {
        ArcSpan(S, Y, XL, NL, Arc, XorWriter{PenC & 0x00FFFFFFu});
        if (NL < XR) ArcSpan(S, Y, NR, XR, Arc, XorWriter{PenC & 0x00FFFFFFu});
      } else {
        ArcSpan(S, Y, XL, NL, Arc, CopyWriter{PenC});
        if (NL < XR) ArcSpan(S, Y, NR, XR, Arc, CopyWriter{PenC});
      }
    }
    if (Brush && NL < NR) {
      if (Xor) {
        Span(S, Y, NL, NR, XorWriter{BrushC & 0x00FFFFFFu});
      } else {
        Span(S, Y, NL, NR, CopyWriter{BrushC});
      }
    }
  }
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) { DrawEllipseShape(X1, Y1, X2, Y2, true, nullptr, nullptr); }

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  if (FPen.Style() == psClear) return;
  const double CX = (static_cast<double>(X1) + X2) * 0.5, CY = (static_cast<double>(Y1) + Y2) * 0.5;
  // Radials through the centres of the given pixels; y grows upward for the angle.
  const double From = std::atan2(CY - (Y3 + 0.5), (X3 + 0.5) - CX);
  const double To = std::atan2(CY - (Y4 + 0.5), (X4 + 0.5) - CX);
  DrawEllipseShape(X1, Y1, X2, Y2, false, &From, &To);
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  if (!Points || Count <= 0) return;
  if (!FTarget.FExact) {
    PaintPolygon(Points, Count);
    return;
  }
  ZKW_SURFACE(S);
  const bool Pen = FPen.Style() != psClear;
  const bool Fill = FBrush.Style() == bsSolid && Count >= 3;
  const bool Xor = FPen.Mode() == pmXor;

  auto Outline = [&](auto&& Draw) {
    const int Kept = FDashPhase;
    FDashPhase = 0;
    for (int I = 0; I < Count; ++I) {
      const TPoint& A = Points[I];
      const TPoint& B = Points[(I + 1) % Count];
      Draw(A.X, A.Y, B.X, B.Y);
    }
    FDashPhase = Kept;
  };

  std::vector<std::uint8_t> Mask;
  if (Fill) {
    if (Pen && Xor) {
      // Record the outline first so the fill leaves its pixels to the pen alone.
      Mask.assign(static_cast<std::size_t>(S.Stride * S.H), 0);
      const MaskWriter MW{Mask.data(), S.Bits};
      const DashPattern* Dash = FPen.Width() > 1 ? nullptr : PatternOf(FPen.Style());
      Outline([&](i64 X0, i64 Y0, i64 X1, i64 Y1) {
        if (FPen.Width() > 1) {
          WideLine(S, X0, Y0, X1, Y1, FPen.Width(), MW);
        } else {
          ThinLine(S, X0, Y0, X1, Y1, MW, Dash, FDashPhase);
        }
      });
    }
    i64 YMin = Points[0].Y, YMax = Points[0].Y;
    for (int I = 1; I < Count; ++I) {
      YMin = std::min<i64>(YMin, Points[I].Y);
      YMax = std::max<i64>(YMax, Points[I].Y);
    }
    const std::uint32_t BrushC = PixelOf(FBrush.Color());
    std::vector<i64> Cross;
    for (i64 Y = std::max<i64>(YMin, 0); Y < std::min<i64>(YMax, S.H); ++Y) {
      Cross.clear();
      for (int I = 0; I < Count; ++I) {
        const TPoint& A = Points[I];
        const TPoint& B = Points[(I + 1) % Count];
        i64 AY = A.Y, BY = B.Y, AX = A.X, BX = B.X;
        if (AY == BY) continue;
        if (AY > BY) {
          std::swap(AY, BY);
          std::swap(AX, BX);
        }
        if (Y < AY || Y >= BY) continue;
        // First pixel centre at or right of the crossing.
        Cross.push_back(AX + static_cast<i64>(CeilDiv(i128(Y - AY) * (BX - AX), BY - AY)));
      }
      std::sort(Cross.begin(), Cross.end());
      for (std::size_t K = 0; K + 1 < Cross.size(); K += 2) {
        const i64 XL = std::max<i64>(Cross[K], 0), XR = std::min<i64>(Cross[K + 1], S.W);
        if (XL >= XR) continue;
        if (!Mask.empty()) {
          const std::uint8_t* M = Mask.data() + Y * S.Stride;
          std::uint32_t* Row = S.At(0, Y);
          for (i64 X = XL; X < XR; ++X) {
            if (!M[X]) Row[X] ^= BrushC & 0x00FFFFFFu;
          }
        } else if (Xor) {
          Span(S, Y, XL, XR, XorWriter{BrushC & 0x00FFFFFFu});
        } else {
          Span(S, Y, XL, XR, CopyWriter{BrushC});
        }
      }
    }
  }
  if (Pen) Outline([&](i64 X0, i64 Y0, i64 X1, i64 Y1) { DrawLine(X0, Y0, X1, Y1); });
}

TColor TCanvas::Pixels(int X, int Y) const {
  if (!FTarget.FExact) return PaintedPixel(X, Y);
  if (X < 0 || Y < 0 || X >= FTarget.Width() || Y >= FTarget.Height()) return clNone;
  return ColorOf(FTarget.ScanLine(Y)[X]);
}

void TCanvas::Draw(int X, int Y, const TBitmap& Source) {
  if (!FTarget.FExact || !Source.FExact) {
    // Another scale on either side: the painter scales the picture.
    PaintPicture(X, Y, Source.Width(), Source.Height(), Source);
    if (FTarget.FExact) FTarget.EndPainting();
    return;
  }
  if (Source.FImage->isNull()) return;
  // Drawing a bitmap onto itself reads from a copy.
  const QImage Src = &Source == &FTarget ? Source.FImage->copy() : *Source.FImage;
  ZKW_SURFACE(S);
  const i64 SW = Src.width(), SH = Src.height();
  const i64 X0 = std::max<i64>(X, 0), X1 = std::min<i64>(i64(X) + SW, S.W);
  const i64 Y0 = std::max<i64>(Y, 0), Y1 = std::min<i64>(i64(Y) + SH, S.H);
  if (X0 >= X1 || Y0 >= Y1) return;
  for (i64 Row = Y0; Row < Y1; ++Row) {
    const auto* From = reinterpret_cast<const std::uint32_t*>(Src.constScanLine(static_cast<int>(Row - Y))) + (X0 - X);
    std::memcpy(S.At(X0, Row), From, static_cast<std::size_t>(X1 - X0) * 4);
  }
}

void TCanvas::StretchDraw(const TRect& Dest, const TBitmap& Source) {
  if (!FTarget.FExact || !Source.FExact) {
    const TRect D{std::min(Dest.Left, Dest.Right), std::min(Dest.Top, Dest.Bottom), std::max(Dest.Left, Dest.Right),
                  std::max(Dest.Top, Dest.Bottom)};
    PaintPicture(D.Left, D.Top, D.Width(), D.Height(), Source);
    if (FTarget.FExact) FTarget.EndPainting();
    return;
  }
  if (Source.FImage->isNull()) return;
  const QImage Src = &Source == &FTarget ? Source.FImage->copy() : *Source.FImage;
  ZKW_SURFACE(S);
  const i64 DW = i64(Dest.Right) - Dest.Left, DH = i64(Dest.Bottom) - Dest.Top;
  if (DW == 0 || DH == 0) return;
  const i64 SW = Src.width(), SH = Src.height();
  // Nearest neighbour: destination pixel centre mapped into the source; a
  // negative width or height mirrors the picture.
  auto SourceIndex = [](i64 D, i64 Origin, i64 Extent, i64 SourceExtent) {
    i128 Num = (i128(D - Origin) * 2 + 1) * SourceExtent, Den = i128(2) * Extent;
    if (Den < 0) {
      Num = -Num;
      Den = -Den;
    }
    return std::clamp<i64>(static_cast<i64>(FloorDiv(Num, Den)), 0, SourceExtent - 1);
  };
  const i64 XA = std::max<i64>(std::min<i64>(Dest.Left, Dest.Right), 0);
  const i64 XB = std::min<i64>(std::max<i64>(Dest.Left, Dest.Right), S.W);
  const i64 YA = std::max<i64>(std::min<i64>(Dest.Top, Dest.Bottom), 0);
  const i64 YB = std::min<i64>(std::max<i64>(Dest.Top, Dest.Bottom), S.H);
  if (XA >= XB || YA >= YB) return;
  std::vector<i64> Columns(static_cast<std::size_t>(XB - XA));
  for (i64 X = XA; X < XB; ++X) Columns[static_cast<std::size_t>(X - XA)] = SourceIndex(X, Dest.Left, DW, SW);
  for (i64 Y = YA; Y < YB; ++Y) {
    const auto* From = reinterpret_cast<const std::uint32_t*>(
        Src.constScanLine(static_cast<int>(SourceIndex(Y, Dest.Top, DH, SH))));
    std::uint32_t* To = S.At(0, Y);
    for (i64 X = XA; X < XB; ++X) To[X] = From[Columns[static_cast<std::size_t>(X - XA)]];
  }
}

#undef ZKW_SURFACE

}  // namespace zkw
