// The canvas in its other draw modes: the painter path at scale 1 puts every
// figure within one pixel of the exact raster, at scale 2 within one logical
// pixel of the raster enlarged, exclusive-or figures still undo themselves at
// whole and fractional scales, pages clip their parts, bad scales are refused,
// and vector files are written whole or not at all.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "canvas_support.h"
#include "platform/picture_files.h"

namespace zkw {
namespace {

using namespace zkw::testing;

// Ink: the pixels of a picture (device pixels) that differ from white.
std::vector<std::vector<bool>> Ink(const QImage& I) {
  std::vector<std::vector<bool>> M(static_cast<std::size_t>(I.height()), std::vector<bool>(static_cast<std::size_t>(I.width())));
  const QImage C = I.convertToFormat(QImage::Format_RGB32);
  for (int Y = 0; Y < C.height(); ++Y)
    for (int X = 0; X < C.width(); ++X) M[Y][X] = (C.pixel(X, Y) & 0xFFFFFF) != 0xFFFFFF;
  return M;
}

// How many ink pixels of A have no ink of B within Reach (both the same size).
int Unmatched(const std::vector<std::vector<bool>>& A, const std::vector<std::vector<bool>>& B, int Reach) {
  int N = 0;
  const int H = static_cast<int>(A.size()), W = H ? static_cast<int>(A[0].size()) : 0;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      if (!A[Y][X]) continue;
      bool Found = false;
      for (int DY = -Reach; DY <= Reach && !Found; ++DY)
        for (int DX = -Reach; DX <= Reach && !Found; ++DX) {
          const int U = X + DX, V = Y + DY;
          Found = U >= 0 && V >= 0 && U < W && V < H && B[V][U];
        }
      if (!Found) ++N;
    }
  return N;
}

// Each ink pixel of Logical becomes a Factor x Factor block.
std::vector<std::vector<bool>> Enlarge(const std::vector<std::vector<bool>>& Logical, int Factor) {
  const std::size_t H = Logical.size(), W = H ? Logical[0].size() : 0;
  std::vector<std::vector<bool>> M(H * Factor, std::vector<bool>(W * Factor));
  for (std::size_t Y = 0; Y < M.size(); ++Y)
    for (std::size_t X = 0; X < M[0].size(); ++X) M[Y][X] = Logical[Y / Factor][X / Factor];
  return M;
}

// The figures of the comparison: solid pens of widths 1 to 3, every shape.
using TFigure = std::function<void(TCanvas&)>;

std::vector<std::pair<std::string, TFigure>> Figures() {
  std::vector<std::pair<std::string, TFigure>> F;
  for (const int W : {1, 2, 3}) {
    const std::string P = " width " + std::to_string(W);
    auto Pen = [W](TCanvas& C) {
      SetPen(C, clNavy, psSolid, W, pmCopy);
      C.Brush().SetColor(clAqua);
      C.Brush().SetStyle(bsSolid);
    };
    F.push_back({"lines" + P, [=](TCanvas& C) {
                   Pen(C);
                   for (const TPoint E : {TPoint{70, 12}, TPoint{12, 70}, TPoint{70, 70}, TPoint{70, 40}, TPoint{40, 70},
                                          TPoint{-5, 30}, TPoint{20, -5}}) {
                     C.MoveTo(30, 30);
                     C.LineTo(E.X, E.Y);
                   }
                 }});
    F.push_back({"polyline" + P, [=](TCanvas& C) {
                   Pen(C);
                   C.Polyline({{5, 60}, {20, 10}, {35, 62}, {50, 20}, {70, 40}});
                 }});
    F.push_back({"rectangle" + P, [=](TCanvas& C) {
                   Pen(C);
                   C.Rectangle(10, 12, 60, 50);
                   C.Pen().SetStyle(psInsideFrame);
                   C.Rectangle(20, 55, 66, 75);
                 }});
    F.push_back({"ellipse" + P, [=](TCanvas& C) {
                   Pen(C);
                   C.Ellipse(8, 10, 62, 48);
                   C.Ellipse(30, 50, 37, 57);
                 }});
    F.push_back({"arc" + P, [=](TCanvas& C) {
                   Pen(C);
                   C.Arc(10, 10, 70, 60, 70, 10, 10, 60);
                 }});
    F.push_back({"polygon" + P, [=](TCanvas& C) {
                   Pen(C);
                   C.Polygon({{10, 70}, {40, 5}, {72, 66}, {40, 45}});
                 }});
  }
  F.push_back({"fills and pixels", [](TCanvas& C) {
                 C.Brush().SetColor(clRed);
                 C.FillRect({5, 6, 30, 9});
                 C.FillRect({40, 40, 41, 70});
                 for (int I = 0; I < 20; ++I) C.SetPixels(10 + 3 * I, 60 - I, clGreen);
                 SetPen(C, clBlack, psSolid, 1, pmCopy);
                 C.SquareOutline(50, 15, 4);
                 C.SquareOutline(60, 60, 1);
               }});
  return F;
}

TBitmap& Draw(TBitmap& B, TDrawMode Mode, const TFigure& F) {
  B.SetDrawMode(Mode);
  B.SetSize(80, 80);
  B.Canvas().Brush().SetColor(clWhite);
  B.Canvas().FillRect({0, 0, 80, 80});
  F(B.Canvas());
  return B;
}

TEST(CanvasScaled, ThePainterAtScaleOneKeepsEveryFigureWithinOnePixel) {
  for (const auto& [Name, F] : Figures()) {
    SCOPED_TRACE(Name);
    TBitmap Exact, Painted;
    const auto A = Ink(Draw(Exact, {}, F).Image());
    const auto B = Ink(Draw(Painted, {1, false, true}, F).Image());
    EXPECT_EQ(Unmatched(A, B, 1), 0);
    EXPECT_EQ(Unmatched(B, A, 1), 0);
  }
}

TEST(CanvasScaled, AtScaleTwoEveryFigureLiesWithinOnePixelOfTheRasterEnlarged) {
  for (const auto& [Name, F] : Figures()) {
    SCOPED_TRACE(Name);
    TBitmap Exact, Scaled;
    const auto A = Enlarge(Ink(Draw(Exact, {}, F).Image()), 2);
    const QImage Device = Draw(Scaled, {2, false, false}, F).Image();
    ASSERT_EQ(Device.size(), QSize(160, 160));
    const auto B = Ink(Device);
    EXPECT_EQ(Unmatched(A, B, 2), 0);
    EXPECT_EQ(Unmatched(B, A, 2), 0);
  }
}

TEST(CanvasScaled, ThinLinesAtScaleTwoAreTwoDevicePixelsWide) {
  TBitmap B;
  Draw(B, {2, false, false}, [](TCanvas& C) {
    SetPen(C, clBlack, psSolid, 1, pmCopy);
    C.MoveTo(10, 5);
    C.LineTo(10, 70);  // vertical
    C.MoveTo(20, 10);
    C.LineTo(70, 60);  // diagonal
  });
  const QImage I = B.Image();
  // The vertical line: device columns 20 and 21, nothing beside them.
  for (int Y = 20; Y < 130; ++Y) {
    EXPECT_EQ(I.pixel(19, Y) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(I.pixel(20, Y) & 0xFFFFFF, 0u);
    EXPECT_EQ(I.pixel(21, Y) & 0xFFFFFF, 0u);
    EXPECT_EQ(I.pixel(22, Y) & 0xFFFFFF, 0xFFFFFFu);
  }
  // The diagonal: each device row a run of 2 or 3, one device pixel right of the last.
  int Prev = -1;
  for (int Y = 30; Y < 110; ++Y) {
    int First = -1, Count = 0;
    for (int X = 30; X < 150; ++X)
      if ((I.pixel(X, Y) & 0xFFFFFF) == 0) {
        if (First < 0) First = X;
        ++Count;
      }
    EXPECT_GE(Count, 2) << Y;
    EXPECT_LE(Count, 3) << Y;
    if (Prev >= 0) EXPECT_EQ(First - Prev, 1) << Y;
    Prev = First;
  }
}

TEST(CanvasScaled, ExclusiveOrTwiceRestoresThePictureAtEveryScale) {
  for (const TDrawMode Mode : {TDrawMode{1, false, true}, TDrawMode{2, false, false}, TDrawMode{1.5, false, false},
                               TDrawMode{1.25, true, false}}) {
    SCOPED_TRACE(Mode.Scale);
    TBitmap B;
    B.SetDrawMode(Mode);
    B.SetSize(60, 50);
    TestRandom R{7};
    FillRandom(B, R);
    const QImage Before = B.Image().copy();
    for (int Pass = 0; Pass < 2; ++Pass) {
      TCanvas& C = B.Canvas();
      SetPen(C, 0x00FF00, psSolid, 1, pmXor);
      C.MoveTo(3, 4);
      C.LineTo(55, 41);
      C.MoveTo(0, 20);
      C.LineTo(60, 20);
      SetPen(C, 0x0000FF, psDot, 1, pmXor);
      C.Brush().SetStyle(bsClear);
      C.Rectangle(5, 5, 40, 30);
      SetPen(C, 0xFF0000, psSolid, 2, pmXor);
      C.Brush().SetStyle(bsSolid);
      C.Brush().SetColor(0x123456);
      C.Ellipse(20, 10, 50, 45);
      C.Polygon({{2, 45}, {30, 2}, {58, 45}});
    }
    EXPECT_TRUE(B.Image() == Before);
  }
}

TEST(CanvasScaled, BadScalesAreRefusedAndChangeNothing) {
  TBitmap B(10, 10);
  B.SetDrawMode({2, false, false});
  for (const double S : {0.0, -1.0, 65.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(B.SetDrawMode({S, false, false}), EInvalidGraphic) << S;
    EXPECT_EQ(B.DrawMode().Scale, 2.0);
    EXPECT_EQ(B.Image().size(), QSize(20, 20));
  }
  // The logical size stays, the picture follows the scale.
  B.SetDrawMode({1.5, false, false});
  EXPECT_EQ(B.Width(), 10);
  EXPECT_EQ(B.Image().size(), QSize(15, 15));
  B.SetDrawMode({});
  EXPECT_TRUE(B.Exact());
  EXPECT_EQ(B.Image().size(), QSize(10, 10));
}

TEST(CanvasScaled, PagesClipTheirPartsAndHoldNoPixels) {
  QImage Target(100, 80, QImage::Format_RGB32);
  Target.fill(Qt::white);
  {
    QPainter P(&Target);
    TBitmap Page(P, 100, 80);
    TBitmap Part(Page, 20, 10, 30, 40);
    Part.Canvas().Brush().SetColor(clRed);
    Part.Canvas().FillRect({-50, -50, 500, 500});  // clipped to the part
    Part.Canvas().SetPixels(0, 0, clBlue);         // at the part's corner
    EXPECT_EQ(Page.Canvas().Pixels(25, 15), clNone);
    EXPECT_THROW(Page.LoadFromFile("x.png"), EInvalidGraphic);
    TBitmap Copy(5, 5);
    Copy.Canvas().Draw(0, 0, Page);  // a page has nothing to copy
    EXPECT_EQ(Copy.Canvas().Pixels(2, 2), clWhite);
    Page.EndPainting();
  }
  EXPECT_EQ(Target.pixel(20, 10), qRgb(0, 0, 255));
  EXPECT_EQ(Target.pixel(49, 49), qRgb(255, 0, 0));
  EXPECT_EQ(Target.pixel(50, 49), qRgb(255, 255, 255));
  EXPECT_EQ(Target.pixel(49, 50), qRgb(255, 255, 255));
  EXPECT_EQ(Target.pixel(19, 20), qRgb(255, 255, 255));
}

std::string Out(const std::string& Name) { return std::string(ZKW_TEST_OUTPUT_DIR) + "/scaled_" + Name; }

TEST(CanvasScaled, VectorFilesAreWrittenWholeOrNotAtAll) {
  const auto Figure = [](TCanvas& C) {
    for (const auto& [Name, F] : Figures()) {
      (void)Name;
      F(C);
    }
  };
  const auto Paint = [&](TBitmap& Page) { Figure(Page.Canvas()); };
  // An SVG drawn back has the figures where the painter puts them on pixels.
  WriteSvgDrawing(Out("figures.svg"), 80, 80, Paint);
  QSvgRenderer Svg(QString::fromStdString(Out("figures.svg")));
  ASSERT_TRUE(Svg.isValid());
  QImage Back(80, 80, QImage::Format_RGB32);
  Back.fill(Qt::white);
  {
    QPainter P(&Back);
    Svg.render(&P);
  }
  TBitmap Painted;
  Draw(Painted, {1, false, true}, Figure);
  EXPECT_EQ(Unmatched(Ink(Back), Ink(Painted.Image()), 1), 0);
  EXPECT_EQ(Unmatched(Ink(Painted.Image()), Ink(Back), 1), 0);

  // A drawing that fails leaves the file that was there untouched.
  const std::string Kept = Out("kept.svg");
  { std::ofstream(Kept) << "old"; }
  const auto Failing = [](TBitmap& Page) {
    Page.Canvas().FillRect({0, 0, 10, 10});
    throw Exception("drawing failed");
  };
  EXPECT_THROW(WriteSvgDrawing(Kept, 80, 80, Failing), Exception);
  EXPECT_THROW(WritePdfDrawing(Out("failed.pdf"), 80, 80, 96, Failing), Exception);
  std::ifstream In(Kept);
  std::string Text;
  In >> Text;
  EXPECT_EQ(Text, "old");
  EXPECT_FALSE(std::filesystem::exists(Out("failed.pdf")));
  for (const auto& Entry : std::filesystem::directory_iterator(ZKW_TEST_OUTPUT_DIR))
    EXPECT_EQ(Entry.path().filename().string().find("failed"), std::string::npos) << Entry.path();
  // Unwritable places, empty drawings and bad resolutions are refused.
  EXPECT_THROW(WriteSvgDrawing("/nonexistent-dir/x.svg", 80, 80, Paint), Exception);
  EXPECT_THROW(WriteSvgDrawing(Out("empty.svg"), 0, 80, Paint), Exception);
  EXPECT_THROW(WritePdfDrawing(Out("bad.pdf"), 80, 80, 0, Paint), EInvalidGraphic);
  EXPECT_FALSE(std::filesystem::exists(Out("empty.svg")));
  EXPECT_EQ(PictureFormatOf("a.SVG"), pfSvg);
}

}  // namespace
}  // namespace zkw
