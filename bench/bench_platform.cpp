// Canvas hot paths against hand-written pixel loops doing the same writes on
// the same 1000 x 700 bitmap. Every benchmark iteration is one million calls,
// so the reported time is the time per million calls.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/graphics.h"

namespace {

using namespace zkw;

constexpr int W = 1000, H = 700;
constexpr int Calls = 1000000;

struct Pt {
  int X, Y;
};

// Deterministic positions, the same for the canvas and the direct loop.
std::vector<Pt> Positions(int Margin, std::uint32_t Seed) {
  std::vector<Pt> P(4096);
  for (auto& Q : P) {
    Seed = Seed * 1664525u + 1013904223u;
    Q.X = Margin + static_cast<int>((Seed >> 8) % (W - 2 * Margin));
    Seed = Seed * 1664525u + 1013904223u;
    Q.Y = Margin + static_cast<int>((Seed >> 8) % (H - 2 * Margin));
  }
  return P;
}

// Short segments in every direction, as a chart's polylines have.
std::vector<Pt> Walk() {
  std::vector<Pt> P(4096);
  std::uint32_t Seed = 99;
  int X = W / 2, Y = H / 2;
  for (auto& Q : P) {
    Seed = Seed * 1664525u + 1013904223u;
    X = std::clamp(X + static_cast<int>((Seed >> 8) % 33) - 16, 20, W - 20);
    Seed = Seed * 1664525u + 1013904223u;
    Y = std::clamp(Y + static_cast<int>((Seed >> 8) % 33) - 16, 20, H - 20);
    Q = {X, Y};
  }
  return P;
}

struct Target {
  TBitmap B{W, H};
  std::uint32_t* Bits = B.ScanLine(0);
  std::int64_t Stride = B.ScanLine(1) - B.ScanLine(0);
};

constexpr std::uint32_t Navy = 0xFF000080u;  // clNavy as stored

// ---------------------------------------------------------------- SetPixels

void BM_SetPixels_Canvas(benchmark::State& S) {
  Target T;
  const auto P = Positions(0, 1);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) T.B.Canvas().SetPixels(P[I & 4095].X, P[I & 4095].Y, clNavy);
    benchmark::ClobberMemory();
  }
}

void BM_SetPixels_Direct(benchmark::State& S) {
  Target T;
  const auto P = Positions(0, 1);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) T.Bits[P[I & 4095].Y * T.Stride + P[I & 4095].X] = Navy;
    benchmark::ClobberMemory();
  }
}

// ---------------------------------------------------------------- LineTo

void DirectLine(std::uint32_t* Bits, std::int64_t Stride, int X0, int Y0, int X1, int Y1) {
  int DX = std::abs(X1 - X0), DY = std::abs(Y1 - Y0);
  const int SX = X1 > X0 ? 1 : -1, SY = Y1 >= Y0 ? 1 : -1;
  std::uint32_t* P = Bits + Y0 * Stride + X0;
  if (DX >= DY) {
    int Err = DX;  // rounds i * DY / DX, halves away from the start
    for (int I = 0; I < DX; ++I) {
      *P = Navy;
      P += SX;
      Err += 2 * DY;
      if (Err >= 2 * DX) {
        Err -= 2 * DX;
        P += SY * Stride;
      }
    }
  } else {
    const int SYX = X1 >= X0 ? 1 : -1, SYY = Y1 > Y0 ? 1 : -1;
    int Err = DY;
    for (int I = 0; I < DY; ++I) {
      *P = Navy;
      P += SYY * Stride;
      Err += 2 * DX;
      if (Err >= 2 * DY) {
        Err -= 2 * DY;
        P += SYX;
      }
    }
  }
}

void BM_LineTo_Canvas(benchmark::State& S) {
  Target T;
  const auto P = Walk();
  TCanvas& C = T.B.Canvas();
  C.Pen().SetColor(clNavy);
  for (auto _ : S) {
    C.MoveTo(P[0].X, P[0].Y);
    for (int I = 1; I <= Calls; ++I) C.LineTo(P[I & 4095].X, P[I & 4095].Y);
    benchmark::ClobberMemory();
  }
}

void BM_LineTo_Direct(benchmark::State& S) {
  Target T;
  const auto P = Walk();
  for (auto _ : S) {
    Pt From = P[0];
    for (int I = 1; I <= Calls; ++I) {
      const Pt To = P[I & 4095];
      DirectLine(T.Bits, T.Stride, From.X, From.Y, To.X, To.Y);
      From = To;
    }
    benchmark::ClobberMemory();
  }
}

// Horizontal and vertical runs of 20 pixels (grid lines, ticks, frames).
void BM_LineToHV_Canvas(benchmark::State& S) {
  Target T;
  const auto P = Positions(30, 5);
  TCanvas& C = T.B.Canvas();
  C.Pen().SetColor(clNavy);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) {
      const Pt Q = P[I & 4095];
      C.MoveTo(Q.X, Q.Y);
      if (I & 1) {
        C.LineTo(Q.X + 20, Q.Y);
      } else {
        C.LineTo(Q.X, Q.Y + 20);
      }
    }
    benchmark::ClobberMemory();
  }
}

void BM_LineToHV_Direct(benchmark::State& S) {
  Target T;
  const auto P = Positions(30, 5);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) {
      const Pt Q = P[I & 4095];
      std::uint32_t* Px = T.Bits + Q.Y * T.Stride + Q.X;
      if (I & 1) {
        for (int K = 0; K < 20; ++K) Px[K] = Navy;
      } else {
        for (int K = 0; K < 20; ++K) Px[K * T.Stride] = Navy;
      }
    }
    benchmark::ClobberMemory();
  }
}

// ---------------------------------------------------------------- Rectangle

// An 8 x 8 filled rectangle: outline in the pen, inside in the brush.
void BM_RectangleFill_Canvas(benchmark::State& S) {
  Target T;
  const auto P = Positions(10, 7);
  TCanvas& C = T.B.Canvas();
  C.Pen().SetColor(clNavy);
  C.Brush().SetColor(clYellow);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) C.Rectangle(P[I & 4095].X, P[I & 4095].Y, P[I & 4095].X + 8, P[I & 4095].Y + 8);
    benchmark::ClobberMemory();
  }
}

void BM_RectangleFill_Direct(benchmark::State& S) {
  Target T;
  const auto P = Positions(10, 7);
  constexpr std::uint32_t Yellow = 0xFFFFFF00u;
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) {
      std::uint32_t* Row = T.Bits + P[I & 4095].Y * T.Stride + P[I & 4095].X;
      for (int K = 0; K < 8; ++K) Row[K] = Navy;
      for (int Y = 1; Y < 7; ++Y) {
        Row += T.Stride;
        Row[0] = Navy;
        for (int K = 1; K < 7; ++K) Row[K] = Yellow;
        Row[7] = Navy;
      }
      Row += T.Stride;
      for (int K = 0; K < 8; ++K) Row[K] = Navy;
    }
    benchmark::ClobberMemory();
  }
}

// ---------------------------------------------------------------- mark 10

// The chart's hollow 3 x 3 square: Rectangle(x - 1, y - 1, x + 2, y + 2), clear brush.
void BM_HollowSquare3_Canvas(benchmark::State& S) {
  Target T;
  const auto P = Positions(2, 9);
  TCanvas& C = T.B.Canvas();
  C.Pen().SetColor(clNavy);
  C.Brush().SetStyle(bsClear);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) {
      const Pt Q = P[I & 4095];
      C.Rectangle(Q.X - 1, Q.Y - 1, Q.X + 2, Q.Y + 2);
    }
    benchmark::ClobberMemory();
  }
}

// The same square as the mark symbol draws it: the one-step outline.
void BM_SquareOutline3_Canvas(benchmark::State& S) {
  Target T;
  const auto P = Positions(2, 9);
  TCanvas& C = T.B.Canvas();
  C.Pen().SetColor(clNavy);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) C.SquareOutline(P[I & 4095].X, P[I & 4095].Y, 1);
    benchmark::ClobberMemory();
  }
}

void BM_HollowSquare3_Direct(benchmark::State& S) {
  Target T;
  const auto P = Positions(2, 9);
  for (auto _ : S) {
    for (int I = 0; I < Calls; ++I) {
      const Pt Q = P[I & 4095];
      std::uint32_t* Row = T.Bits + (Q.Y - 1) * T.Stride + Q.X - 1;
      Row[0] = Row[1] = Row[2] = Navy;
      Row[T.Stride] = Row[T.Stride + 2] = Navy;
      Row += 2 * T.Stride;
      Row[0] = Row[1] = Row[2] = Navy;
    }
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_SetPixels_Canvas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetPixels_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineTo_Canvas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineTo_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineToHV_Canvas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineToHV_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectangleFill_Canvas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectangleFill_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HollowSquare3_Canvas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HollowSquare3_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareOutline3_Canvas)->Unit(benchmark::kMillisecond);

}  // namespace
