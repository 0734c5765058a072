// The printer's page and files, and the screen's resolution.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/devices.h"

namespace zkw {
namespace {

std::string OutPath(const std::string& Name) {
  std::filesystem::create_directories(ZKW_TEST_OUTPUT_DIR);
  const std::string P = std::string(ZKW_TEST_OUTPUT_DIR) + "/" + Name;
  std::filesystem::remove(P);
  return P;
}

TEST(Printer, A4PageAtThreeHundredDpiAndRecognisedCanvas) {
  TPrinter& P = Printer();
  EXPECT_EQ(P.YResolution(), 300);
  EXPECT_EQ(P.XResolution(), 300);
  EXPECT_EQ(P.PageWidth(), 2480);
  EXPECT_EQ(P.PageHeight(), 3508);
  EXPECT_FALSE(P.Printing());
  EXPECT_TRUE(IsPrinterCanvas(P.Canvas()));
  TBitmap Other(2, 2);
  EXPECT_FALSE(IsPrinterCanvas(Other.Canvas()));
  EXPECT_EQ(&Printer(), &P);
}

TEST(Printer, WritesThePageAsPng) {
  TPrinter& P = Printer();
  const std::string File = OutPath("printer-page.png");
  P.BeginDoc(File);
  EXPECT_TRUE(P.Printing());
  EXPECT_THROW(P.BeginDoc(File), Exception);
  EXPECT_THROW(P.SetResolution(600), Exception);
  P.Canvas().Brush().SetColor(clRed);
  P.Canvas().Rectangle(100, 200, 300, 400);
  P.EndDoc();
  EXPECT_FALSE(P.Printing());
  QImage Page;
  ASSERT_TRUE(Page.load(QString::fromStdString(File)));
  EXPECT_EQ(Page.width(), 2480);
  EXPECT_EQ(Page.height(), 3508);
  EXPECT_EQ(Page.pixel(150, 250), 0xFFFF0000u);
  EXPECT_EQ(Page.pixel(50, 50), 0xFFFFFFFFu);
  EXPECT_THROW(P.EndDoc(), Exception);
}

TEST(Printer, WritesAPdfAndReportsUnwritableFiles) {
  TPrinter& P = Printer();
  P.SetResolution(100);
  EXPECT_EQ(P.PageWidth(), 827);
  EXPECT_EQ(P.PageHeight(), 1169);
  const std::string File = OutPath("printer-page.pdf");
  P.BeginDoc(File);
  P.Canvas().TextOut(50, 50, "Printed");
  P.EndDoc();
  std::ifstream In(File, std::ios::binary);
  std::string Head(5, '\0');
  In.read(Head.data(), 5);
  EXPECT_EQ(Head, "%PDF-");
  EXPECT_GT(std::filesystem::file_size(File), 1000u);

  P.BeginDoc(OutPath("no-such-dir/page.png"));
  EXPECT_THROW(P.EndDoc(), Exception);
  EXPECT_FALSE(P.Printing());  // closed all the same
  P.SetResolution(300);
}

TEST(Screen, PixelsPerInchAndSquarePixels) {
  TScreenInfo& S = ScreenInfo();
  EXPECT_GT(S.PixelsPerInch(), 0);
  S.SetPixelsPerInch(120);
  EXPECT_EQ(S.PixelsPerInch(), 120);
  S.SetPixelsPerInch(0);
  EXPECT_NE(S.PixelsPerInch(), 120);
  double X = 0, Y = 0;
  S.PixelAspect(X, Y);
  EXPECT_DOUBLE_EQ(X, 1.0);
  EXPECT_DOUBLE_EQ(Y, 1.0);
}

}  // namespace
}  // namespace zkw
