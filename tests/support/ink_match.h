// Geometry agreement of two pictures: the ink of one (pixels that are not
// background) lies within a reach of the other's ink. Used to compare every
// drawing path with the exact raster, where colours and anti-aliasing may
// differ but positions must not.
#pragma once

#include <QImage>
#include <QSize>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace zkw::testing {

class TInk {
 public:
  // Ink: every pixel whose RGB is none of Background (nor within Tolerance of
  // one in every channel: the faintest edge pixels of smooth drawing).
  TInk(const QImage& Picture, std::initializer_list<QRgb> Background, int Tolerance = 48) {
    const QImage C = Picture.convertToFormat(QImage::Format_RGB32);
    FW = C.width();
    FH = C.height();
    FInk.assign(static_cast<std::size_t>(FW) * FH, false);
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X) {
        const QRgb P = C.pixel(X, Y) & 0xFFFFFF;
        bool Back = false;
        for (const QRgb B : Background)
          Back = Back || (std::abs(qRed(P) - qRed(B)) <= Tolerance && std::abs(qGreen(P) - qGreen(B)) <= Tolerance &&
                          std::abs(qBlue(P) - qBlue(B)) <= Tolerance);
        FInk[Index(X, Y)] = !Back;
      }
  }
  // Coloured ink only: pixels whose channels differ by more than Spread (the
  // items of a test chart drawn in colours, apart from black and grey texts).
  static TInk Coloured(const QImage& Picture, int Spread = 40) {
    const QImage C = Picture.convertToFormat(QImage::Format_RGB32);
    TInk I;
    I.FW = C.width();
    I.FH = C.height();
    I.FInk.assign(static_cast<std::size_t>(I.FW) * I.FH, false);
    for (int Y = 0; Y < I.FH; ++Y)
      for (int X = 0; X < I.FW; ++X) {
        const QRgb P = C.pixel(X, Y);
        const int Hi = std::max({qRed(P), qGreen(P), qBlue(P)}), Lo = std::min({qRed(P), qGreen(P), qBlue(P)});
        I.FInk[I.Index(X, Y)] = Hi - Lo > Spread;
      }
    return I;
  }
  // Each pixel becomes a Factor x Factor block (the exact raster at a scale).
  TInk Enlarged(int Factor) const {
    TInk E;
    E.FW = FW * Factor;
    E.FH = FH * Factor;
    E.FInk.assign(static_cast<std::size_t>(E.FW) * E.FH, false);
    for (int Y = 0; Y < E.FH; ++Y)
      for (int X = 0; X < E.FW; ++X) E.FInk[E.Index(X, Y)] = FInk[Index(X / Factor, Y / Factor)];
    return E;
  }
  QSize Size() const { return {FW, FH}; }
  int Count() const {
    int N = 0;
    for (const bool B : FInk) N += B;
    return N;
  }
  // A picture for failure reports: this ink grey, the unmatched pixels red.
  QImage UnmatchedPicture(const TInk& Other, int Reach) const {
    QImage I(FW, FH, QImage::Format_RGB32);
    I.fill(Qt::white);
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X)
        if (FInk[Index(X, Y)]) I.setPixel(X, Y, Other.Near(X, Y, Reach) ? qRgb(200, 200, 200) : qRgb(255, 0, 0));
    return I;
  }
  // The ink pixels of this picture with no ink of Other within Reach.
  int Unmatched(const TInk& Other, int Reach) const {
    int N = 0;
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X)
        if (FInk[Index(X, Y)] && !Other.Near(X, Y, Reach)) ++N;
    return N;
  }

 private:
  TInk() = default;
  std::size_t Index(int X, int Y) const { return static_cast<std::size_t>(Y) * FW + X; }
  bool Near(int X, int Y, int Reach) const {
    for (int V = Y - Reach; V <= Y + Reach; ++V)
      for (int U = X - Reach; U <= X + Reach; ++U)
        if (U >= 0 && V >= 0 && U < FW && V < FH && FInk[Index(U, V)]) return true;
    return false;
  }
  int FW = 0;
  int FH = 0;
  std::vector<bool> FInk;
};

}  // namespace zkw::testing
