// Bitmaps and pixels: colours, sizes, files, copies, Draw and StretchDraw.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/graphics.h"
#include "test_canvas_support.h"

namespace zkw {
namespace {

using namespace zkw::testing;

std::string OutPath(const std::string& Name) {
  std::filesystem::create_directories(ZKW_TEST_OUTPUT_DIR);
  return std::string(ZKW_TEST_OUTPUT_DIR) + "/" + Name;
}

TEST(CanvasPixels, ColoursRoundTripAndSystemColoursResolve) {
  TBitmap B(4, 3);
  TCanvas& C = B.Canvas();
  C.SetPixels(0, 0, 0x123456);
  EXPECT_EQ(C.Pixels(0, 0), 0x123456);
  EXPECT_EQ(B.ScanLine(0)[0], 0xFF563412u);  // stored as 0xFFRRGGBB
  C.SetPixels(1, 0, clBtnFace);
  EXPECT_EQ(C.Pixels(1, 0), 0xF0F0F0);
  EXPECT_EQ(C.Pixels(2, 0), clWhite);
  EXPECT_EQ(C.Pixels(-1, 0), clNone);
  EXPECT_EQ(C.Pixels(4, 0), clNone);
  EXPECT_EQ(C.Pixels(0, 3), clNone);
  C.SetPixels(4, 0, clRed);
  C.SetPixels(INT_MIN, INT_MAX, clRed);
  EXPECT_EQ(WithColor(B, clRed).size(), 0u);

  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clGrayText), 0x6D6D6D);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0xA0A0A0);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x696969);
  EXPECT_EQ(ColorToRGB(cl3DLight), 0xE3E3E3);
  EXPECT_EQ(ColorToRGB(clNavy), clNavy);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF0000FFu)), clBlack);  // unknown system index
}

TEST(Bitmap, ResizeKeepsPixelsAndNewAreaIsWhite) {
  TBitmap B;
  EXPECT_EQ(B.Width(), 0);
  B.Canvas().LineTo(5, 5);  // nothing to draw on, nothing happens
  B.SetSize(3, 2);
  B.Canvas().SetPixels(2, 1, clRed);
  B.SetWidth(5);
  B.SetHeight(4);
  EXPECT_EQ(B.Canvas().Pixels(2, 1), clRed);
  EXPECT_EQ(B.Canvas().Pixels(4, 3), clWhite);
  B.SetSize(-3, 7);
  EXPECT_EQ(B.Width(), 0);
  EXPECT_THROW(B.ScanLine(0), Exception);
}

TEST(Bitmap, LoadFailureRaisesAndLeavesTheBitmapAlone) {
  TBitmap B(3, 3);
  B.Canvas().SetPixels(1, 1, clGreen);
  EXPECT_THROW(B.LoadFromFile(OutPath("does-not-exist.png")), EInvalidGraphic);
  const std::string Junk = OutPath("junk.png");
  std::ofstream(Junk) << "this is not a picture";
  EXPECT_THROW(B.LoadFromFile(Junk), EInvalidGraphic);
  EXPECT_THROW(B.LoadFromFile(""), EInvalidGraphic);
  EXPECT_EQ(B.Width(), 3);
  EXPECT_EQ(B.Canvas().Pixels(1, 1), clGreen);
  EXPECT_THROW(B.SaveToFile(OutPath("no-such-dir/x.png")), Exception);
}

TEST(Bitmap, SaveAndLoadRoundTrip) {
  TBitmap B(7, 5);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) B.Canvas().SetPixels(X, Y, X * 0x102030 + Y * 0x0A0B0C);
  const std::string File = OutPath("bitmap-roundtrip.png");
  B.SaveToFile(File);
  TBitmap L;
  L.LoadFromFile(File);
  ASSERT_EQ(L.Width(), 7);
  ASSERT_EQ(L.Height(), 5);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) EXPECT_EQ(L.Canvas().Pixels(X, Y), B.Canvas().Pixels(X, Y));
}

TEST(Bitmap, CopiesAreIndependent) {
  TBitmap B(4, 4);
  const QImage Snapshot = B.Image();  // shares the pixels until the next drawing
  B.Canvas().SetPixels(0, 0, clRed);
  B.Canvas().Rectangle(0, 0, 4, 4);
  EXPECT_EQ(Snapshot.pixel(0, 0), 0xFFFFFFFFu);
  TBitmap A;
  A.Assign(B);
  B.Canvas().SetPixels(2, 2, clBlue);
  EXPECT_EQ(A.Canvas().Pixels(2, 2), clWhite);
  EXPECT_EQ(A.Canvas().Pixels(0, 0), clBlack);
  TPen P;
  EXPECT_THROW(A.Assign(P), EConvertError);
  // A picture replaced through Image() in another format is still drawn on correctly.
  A.Image() = QImage(2, 2, QImage::Format_ARGB32);
  A.Image().fill(Qt::white);
  A.Canvas().SetPixels(1, 1, clRed);
  EXPECT_EQ(A.Canvas().Pixels(1, 1), clRed);
}

TEST(Bitmap, DrawCopiesClippedAndStretchDrawScales) {
  TBitmap S(2, 2);
  S.Canvas().SetPixels(0, 0, clRed);
  S.Canvas().SetPixels(1, 0, clLime);
  S.Canvas().SetPixels(0, 1, clBlue);
  S.Canvas().SetPixels(1, 1, clBlack);
  TBitmap D(4, 4);
  D.Canvas().Draw(-1, 3, S);  // only (1, 0) of the source lands, at (0, 3)
  EXPECT_EQ(Changed(D), (PixelSet{{0, 3}}));
  EXPECT_EQ(D.Canvas().Pixels(0, 3), clLime);
  D.Canvas().Draw(INT_MAX, INT_MIN, S);

  TBitmap Z(6, 6);
  Z.Canvas().StretchDraw(TRect{1, 1, 5, 5}, S);
  EXPECT_EQ(Z.Canvas().Pixels(1, 1), clRed);
  EXPECT_EQ(Z.Canvas().Pixels(2, 2), clRed);
  EXPECT_EQ(Z.Canvas().Pixels(3, 2), clLime);
  EXPECT_EQ(Z.Canvas().Pixels(4, 4), clBlack);
  EXPECT_EQ(Z.Canvas().Pixels(0, 0), clWhite);
  EXPECT_EQ(Z.Canvas().Pixels(5, 5), clWhite);
  Z.Canvas().StretchDraw(TRect{5, 1, 1, 5}, S);  // mirrored left to right
  EXPECT_EQ(Z.Canvas().Pixels(1, 1), clLime);
  EXPECT_EQ(Z.Canvas().Pixels(4, 1), clRed);
  Z.Canvas().StretchDraw(TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, S);
  EXPECT_EQ(Z.Canvas().Pixels(0, 0), clBlack);  // the picture's centre is the source's last pixel

  Z.Canvas().Draw(2, 0, Z);  // onto itself: reads the picture as it was
  EXPECT_EQ(Z.Canvas().Pixels(2, 0), clBlack);
}

}  // namespace
}  // namespace zkw
