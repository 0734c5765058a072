// Pictures out: every picture format read back has the chart's size, the
// file type follows the name (unknown names are refused before anything is
// written), a chart's raster PDF page is the chart's size at the chosen
// resolution with the pixels stored losslessly, and a printed PDF is a
// vector A4 page.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QByteArray>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"

namespace zkw {
namespace {

std::string Out(const std::string& Name) { return std::string(ZKW_TEST_OUTPUT_DIR) + "/pictures_" + Name; }

std::unique_ptr<TVexa> MakeChart(int W, int H) {
  auto C = std::make_unique<TVexa>(nullptr);
  C->SetBounds(0, 0, W, H);
  C->Scale1X().SetRangeLow(0);
  C->Scale1X().SetRangeHigh(100);
  C->HandleNeeded();
  std::vector<double> Xs, Ys;
  for (int I = 0; I < 100; ++I) {
    Xs.push_back(I);
    Ys.push_back((I % 10) / 10.0);
  }
  C->SetDataColor(clRed);
  C->AddMarks(Xs, Ys, 10);
  return C;
}

std::string ReadAll(const std::string& File) {
  std::ifstream In(File, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The page size of a one-page PDF, in points, from its /MediaBox.
bool MediaBox(const std::string& Pdf, double& W, double& H) {
  static const std::regex Box(R"(/MediaBox\s*\[\s*([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s*\])");
  std::smatch M;
  if (!std::regex_search(Pdf, M, Box)) return false;
  W = std::stod(M[3]) - std::stod(M[1]);
  H = std::stod(M[4]) - std::stod(M[2]);
  return true;
}

TEST(PicturesOut, EveryFormatReadsBackAtTheChartsSize) {
  auto C = MakeChart(321, 207);
  struct TCase {
    std::string Name;
    const char* Format;  // as QImageReader names it
  };
  for (const TCase& T : {TCase{"chart.png", "png"}, TCase{"chart.JPG", "jpeg"}, TCase{"chart.jpeg", "jpeg"},
                         TCase{"chart.bmp", "bmp"}}) {
    SCOPED_TRACE(T.Name);
    const std::string File = Out(T.Name);
    std::filesystem::remove(File);
    C->SaveImage(File);
    QImageReader Reader(QString::fromStdString(File));
    EXPECT_EQ(Reader.format().toStdString(), T.Format);  // the bytes are of the named type
    const QImage Back = Reader.read();
    EXPECT_EQ(Back.width(), 321);
    EXPECT_EQ(Back.height(), 207);
  }
  // The explicit savers, and PNG and BMP are lossless: the same pixels.
  C->SavePng(Out("explicit.png"));
  C->SaveBmp(Out("explicit.bmp"));
  C->SaveJpeg(Out("explicit.jpg"), 90);
  const QImage Png(QString::fromStdString(Out("explicit.png")));
  const QImage Bmp(QString::fromStdString(Out("explicit.bmp")));
  ASSERT_EQ(Png.size(), QSize(321, 207));
  EXPECT_EQ(Png.convertToFormat(QImage::Format_RGB32), Bmp.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(QImage(QString::fromStdString(Out("explicit.jpg"))).size(), QSize(321, 207));
}

TEST(PicturesOut, UnknownFileTypesAreRefusedAndWriteNothing) {
  auto C = MakeChart(100, 80);
  for (const std::string Name : {"chart.gif", "chart", "chart.png.txt", "dir.png/chart", "chart."}) {
    SCOPED_TRACE(Name);
    const std::string File = Out(Name);
    std::filesystem::remove(File);
    EXPECT_THROW(C->SaveImage(File), EInvalidGraphic);
    EXPECT_FALSE(std::filesystem::exists(File));
  }
  EXPECT_THROW(C->SavePng(Out("no-such-dir/x.png")), Exception);
  EXPECT_THROW(C->SavePdf(Out("bad.pdf"), 0), EInvalidGraphic);
  EXPECT_THROW(C->SavePdf(Out("bad.pdf"), 9601), EInvalidGraphic);
}

// The RGB samples of the first image of a PDF that Qt wrote (one Flate
// stream of 8-bit DeviceRGB); empty when there is none of that form.
QImage FirstPdfImage(const std::string& Bytes) {
  const std::regex Head(R"(/Width (\d+)\s*/Height (\d+)\s*/BitsPerComponent 8\s*/ColorSpace /DeviceRGB)");
  std::smatch M;
  if (!std::regex_search(Bytes, M, Head)) return {};
  const int W = std::stoi(M[1]), H = std::stoi(M[2]);
  const std::size_t Dict = static_cast<std::size_t>(M.position(0));
  const std::size_t Filter = Bytes.find("/Filter /FlateDecode", Dict);
  const std::size_t Start = Bytes.find("stream\n", Dict);
  if (Filter == std::string::npos || Start == std::string::npos || Filter > Start) return {};
  const std::size_t End = Bytes.find("endstream", Start);
  QByteArray Packed;
  // qUncompress wants the unpacked size in front, big-endian.
  const quint32 Size = static_cast<quint32>(W) * static_cast<quint32>(H) * 3;
  for (int Shift = 24; Shift >= 0; Shift -= 8) Packed.append(static_cast<char>((Size >> Shift) & 0xFF));
  Packed.append(Bytes.data() + Start + 7, static_cast<qsizetype>(End - Start - 7));
  const QByteArray Raw = qUncompress(Packed);
  if (Raw.size() != static_cast<qsizetype>(Size)) return {};
  QImage Image(W, H, QImage::Format_RGB888);
  for (int Y = 0; Y < H; ++Y) std::memcpy(Image.scanLine(Y), Raw.constData() + static_cast<qsizetype>(Y) * W * 3, static_cast<std::size_t>(W) * 3);
  return Image.convertToFormat(QImage::Format_RGB32);
}

TEST(PicturesOut, RasterPdfPageIsTheChartAtTheChosenResolution) {
  auto C = MakeChart(480, 360);
  struct TCase {
    int Dpi;
    double W, H;  // points: pixels / dpi * 72
  };
  for (const TCase& T :
       {TCase{72, 480, 360}, TCase{96, 360, 270}, TCase{144, 240, 180}, TCase{300, 115.2, 86.4}}) {
    SCOPED_TRACE(T.Dpi);
    const std::string File = Out("chart_" + std::to_string(T.Dpi) + ".pdf");
    C->SaveRasterPdf(File, T.Dpi);
    const std::string Bytes = ReadAll(File);
    ASSERT_EQ(Bytes.rfind("%PDF-", 0), 0u);
    double W = 0, H = 0;
    ASSERT_TRUE(MediaBox(Bytes, W, H));
    // Qt writes the page size in whole points.
    EXPECT_NEAR(W, T.W, 0.5);
    EXPECT_NEAR(H, T.H, 0.5);
    // The chart's pixels are stored as they are, not as a JPEG.
    EXPECT_EQ(Bytes.find("/DCTDecode"), std::string::npos);
    EXPECT_NE(Bytes.find("/Width 480"), std::string::npos);
    EXPECT_NE(Bytes.find("/Height 360"), std::string::npos);
  }
  // The page holds the exact raster, pixel for pixel.
  TBitmap Exact;
  PaintChartPicture(*C, Exact, 1);
  const QImage Stored = FirstPdfImage(ReadAll(Out("chart_96.pdf")));
  ASSERT_FALSE(Stored.isNull()) << "no lossless page image in the PDF";
  EXPECT_TRUE(Stored == Exact.Image());
  // SaveImage takes .pdf at the default resolution.
  C->SaveImage(Out("default.pdf"));
  double W = 0, H = 0;
  ASSERT_TRUE(MediaBox(ReadAll(Out("default.pdf")), W, H));
  EXPECT_NEAR(W, 480 * 72.0 / DefaultPdfDpi, 0.5);
}

TEST(PicturesOut, PrintedPdfIsAnA4Page) {
  auto C = MakeChart(480, 360);
  const std::string File = Out("printed.pdf");
  PrintChart(*C, File);
  double W = 0, H = 0;
  ASSERT_TRUE(MediaBox(ReadAll(File), W, H));
  EXPECT_NEAR(W, 595.3, 1.0);  // 210 mm
  EXPECT_NEAR(H, 841.9, 1.0);  // 297 mm
  EXPECT_EQ(Printer().XResolution(), 300);
}

TEST(PicturesOut, APrintedPdfIsAVectorPage) {
  auto C = MakeChart(480, 360);
  C->SetCaption("Printed");
  PrintChart(*C, Out("printed_vector.pdf"));
  const std::string Bytes = ReadAll(Out("printed_vector.pdf"));
  ASSERT_EQ(Bytes.rfind("%PDF-", 0), 0u);
  // Paths and text, no picture of the page; the font goes with the file.
  EXPECT_EQ(Bytes.find("/Subtype /Image"), std::string::npos);
  EXPECT_NE(Bytes.find("/FontFile2"), std::string::npos);
  double W = 0, H = 0;
  ASSERT_TRUE(MediaBox(Bytes, W, H));
  EXPECT_NEAR(W, 595.3, 1.0);
  // A document already open on the printer is refused for both kinds.
  Printer().BeginDoc(Out("busy.png"));
  EXPECT_THROW(PrintChart(*C, Out("other.pdf")), Exception);
  Printer().EndDoc();
}

}  // namespace
}  // namespace zkw
