// Helpers shared by the canvas tests: pixel sets, pictures and slow reference
// rasterisers that the fast paths are compared with, pixel for pixel.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <climits>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics.h"

namespace zkw::testing {

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

// Every pixel whose colour differs from Background.
inline PixelSet Changed(TBitmap& B, TColor Background = clWhite) {
  PixelSet S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.Canvas().Pixels(X, Y) != Background) S.insert({X, Y});
  return S;
}

inline PixelSet WithColor(TBitmap& B, TColor Color) {
  PixelSet S;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.Canvas().Pixels(X, Y) == Color) S.insert({X, Y});
  return S;
}

// Rows of '.' (background) and '#' for failure messages and exact pictures.
inline std::string Picture(TBitmap& B, TColor Background = clWhite) {
  std::string S;
  for (int Y = 0; Y < B.Height(); ++Y) {
    for (int X = 0; X < B.Width(); ++X) S += B.Canvas().Pixels(X, Y) == Background ? '.' : '#';
    S += '\n';
  }
  return S;
}

inline PixelSet Clip(const PixelSet& S, int W, int H) {
  PixelSet Out;
  for (auto [X, Y] : S)
    if (X >= 0 && Y >= 0 && X < W && Y < H) Out.insert({X, Y});
  return Out;
}

// The thin line, end pixel excluded: minor offset round(i * dminor / dmajor),
// halves away from the start, in exact integer arithmetic.
inline PixelSet ReferenceLine(long long X0, long long Y0, long long X1, long long Y1) {
  PixelSet S;
  const long long DX = X1 - X0, DY = Y1 - Y0, ADX = DX < 0 ? -DX : DX, ADY = DY < 0 ? -DY : DY;
  const bool XMajor = ADX >= ADY;
  const long long N = XMajor ? ADX : ADY, DMin = XMajor ? ADY : ADX;
  for (long long I = 0; I < N; ++I) {
    const long long K = (2 * I * DMin + N) / (2 * N);
    const long long X = XMajor ? X0 + (DX > 0 ? I : -I) : X0 + (DX >= 0 ? K : -K);
    const long long Y = XMajor ? Y0 + (DY >= 0 ? K : -K) : Y0 + (DY > 0 ? I : -I);
    S.insert({static_cast<int>(X), static_cast<int>(Y)});
  }
  return S;
}

// A wide pen: a Width x Width square, Width / 2 up and left, on every thin pixel.
inline PixelSet ReferenceWideLine(int X0, int Y0, int X1, int Y1, int Width) {
  PixelSet S;
  const int A = Width / 2;
  for (auto [X, Y] : ReferenceLine(X0, Y0, X1, Y1))
    for (int DY = 0; DY < Width; ++DY)
      for (int DX = 0; DX < Width; ++DX) S.insert({X - A + DX, Y - A + DY});
  return S;
}

// Even-odd interior sampled at pixel centres: a crossing at or left of x counts.
inline bool ReferenceInside(const std::vector<TPoint>& P, long long X, long long Y) {
  bool In = false;
  for (std::size_t I = 0; I < P.size(); ++I) {
    long long AX = P[I].X, AY = P[I].Y, BX = P[(I + 1) % P.size()].X, BY = P[(I + 1) % P.size()].Y;
    if (AY == BY) continue;
    if (AY > BY) {
      std::swap(AX, BX);
      std::swap(AY, BY);
    }
    if (Y < AY || Y >= BY) continue;
    if ((Y - AY) * (BX - AX) <= (X - AX) * (BY - AY)) In = !In;
  }
  return In;
}

// A deterministic generator for test inputs (independent of the program's one).
struct TestRandom {
  std::uint32_t State;
  int Next(int Lo, int Hi) {  // inclusive
    State = State * 1664525u + 1013904223u;
    return Lo + static_cast<int>((State >> 8) % static_cast<std::uint32_t>(Hi - Lo + 1));
  }
};

// A picture of random colours, so that exclusive-or results differ per pixel.
inline void FillRandom(TBitmap& B, TestRandom& R) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.Canvas().SetPixels(X, Y, R.Next(0, 0xFFFFFF));
}

inline bool SamePixels(TBitmap& A, TBitmap& B) {
  for (int Y = 0; Y < A.Height(); ++Y)
    if (std::memcmp(A.ScanLine(Y), B.ScanLine(Y), static_cast<std::size_t>(A.Width()) * 4) != 0) return false;
  return true;
}

inline void SetPen(TCanvas& C, TColor Color, TPenStyle Style, int Width, TPenMode Mode) {
  C.Pen().SetColor(Color);
  C.Pen().SetStyle(Style);
  C.Pen().SetWidth(Width);
  C.Pen().SetMode(Mode);
}

// Two copies of one random picture, each with the same random pen: a style
// (solid half the time), width 1 or now and then 2, copy or exclusive-or mode
// and a colour. A fast path draws on one, the steps it stands for on the other.
inline void RandomPictureAndPen(TBitmap& Fast, TBitmap& Slow, TestRandom& R) {
  FillRandom(Fast, R);
  Slow.Canvas().Draw(0, 0, Fast);
  const auto Style = static_cast<TPenStyle>(R.Next(0, 2) == 0 ? R.Next(0, 6) : psSolid);
  const int Width = R.Next(0, 4) == 0 ? 2 : 1;
  const auto Mode = static_cast<TPenMode>(R.Next(0, 3) == 0 ? 1 : 0);
  const TColor Colour = R.Next(0, 0xFFFFFF);
  for (TBitmap* B : {&Fast, &Slow}) SetPen(B->Canvas(), Colour, Style, Width, Mode);
}

}  // namespace zkw::testing
