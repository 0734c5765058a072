// Bitmaps and pixels: colours, sizes, files, copies, Draw and StretchDraw.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <random>

#include "platform/graphics.h"
#include "canvas_support.h"

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

TEST(Bitmap, KeepsBothSidesWhileOneIsZero) {
  TBitmap B;
  B.SetWidth(12);
  EXPECT_EQ(B.Width(), 12);
  EXPECT_EQ(B.Height(), 0);
  B.SetHeight(7);
  EXPECT_EQ(B.Width(), 12);
  EXPECT_EQ(B.Height(), 7);
  EXPECT_EQ(B.Canvas().Pixels(11, 6), clWhite);
  // Back to one side 0: the other side stays, there are no pixels, and
  // drawing of every kind does nothing.
  B.SetWidth(0);
  EXPECT_EQ(B.Width(), 0);
  EXPECT_EQ(B.Height(), 7);
  TCanvas& C = B.Canvas();
  C.Rectangle(0, 0, 5, 5);
  C.MoveTo(0, 0);
  C.LineTo(10, 10);
  C.SetPixels(0, 0, clRed);
  C.TextOut(0, 0, "x");
  TBitmap Source(3, 3);
  C.Draw(0, 0, Source);
  C.StretchDraw(TRect{0, 0, 4, 4}, Source);
  Source.Canvas().Draw(0, 0, B);
  EXPECT_EQ(C.Pixels(0, 0), clNone);
  EXPECT_THROW(B.ScanLine(0), Exception);
  // A copy keeps the sizes too; growing the missing side gives white pixels.
  TBitmap Copy;
  Copy.Assign(B);
  EXPECT_EQ(Copy.Width(), 0);
  EXPECT_EQ(Copy.Height(), 7);
  Copy.SetWidth(2);
  EXPECT_EQ(Copy.Canvas().Pixels(1, 6), clWhite);
}

// ------------------------------------------------------------ picture files

// A PNG chunk: length, type, data, CRC-32 of type and data.
std::string PngChunk(const std::string& Type, const std::string& Data) {
  auto Be32 = [](std::uint32_t V) {
    return std::string{static_cast<char>(V >> 24), static_cast<char>(V >> 16), static_cast<char>(V >> 8),
                       static_cast<char>(V)};
  };
  std::uint32_t Crc = 0xFFFFFFFFu;
  for (const char Ch : Type + Data) {
    Crc ^= static_cast<std::uint8_t>(Ch);
    for (int K = 0; K < 8; ++K) Crc = (Crc >> 1) ^ (0xEDB88320u & (0u - (Crc & 1u)));
  }
  return Be32(static_cast<std::uint32_t>(Data.size())) + Type + Data + Be32(Crc ^ 0xFFFFFFFFu);
}

// A valid PNG header declaring Width x Height RGB pixels, with a tiny IDAT.
std::string PngDeclaring(std::uint32_t Width, std::uint32_t Height) {
  std::string Ihdr;
  for (const std::uint32_t V : {Width, Height})
    for (int Shift = 24; Shift >= 0; Shift -= 8) Ihdr += static_cast<char>(V >> Shift);
  Ihdr += std::string{8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, no filter, no interlace
  // zlib stream of one stored empty block.
  const std::string Idat{0x78, 0x01, 0x01, 0x00, 0x00, static_cast<char>(0xFF), static_cast<char>(0xFF),
                         0x00, 0x00, 0x00, 0x01};
  return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", Ihdr) + PngChunk("IDAT", Idat) +
         PngChunk("IEND", "");
}

std::string WriteFile(const std::string& Name, const std::string& Bytes) {
  const std::string Path = OutPath(Name);
  std::ofstream(Path, std::ios::binary | std::ios::trunc) << Bytes;
  return Path;
}

// Runs LoadFromFile on another thread. A load that is still waiting after a
// few seconds fails the test; a FIFO it waits on is then opened for writing
// and closed until the load returns, so the test ends instead of hanging.
void ExpectRefusedQuickly(const std::string& Path) {
  SCOPED_TRACE(Path);
  TBitmap B(3, 3);
  B.Canvas().SetPixels(1, 1, clGreen);
  auto Load = std::async(std::launch::async, [&] {
    try {
      B.LoadFromFile(Path);
      return std::string("loaded");
    } catch (const EInvalidGraphic& E) {
      return std::string("refused: ") + E.what();
    } catch (const std::exception& E) {
      return std::string("other error: ") + E.what();
    }
  });
  if (Load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "still waiting for data after 5 s";
    do {
      const int Fd = ::open(Path.c_str(), O_WRONLY | O_NONBLOCK);
      if (Fd >= 0) ::close(Fd);
    } while (Load.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready);
  }
  const std::string Outcome = Load.get();
  EXPECT_EQ(Outcome.rfind("refused: ", 0), 0u) << Outcome;
  EXPECT_EQ(B.Width(), 3);
  EXPECT_EQ(B.Canvas().Pixels(1, 1), clGreen);
}

TEST(PictureFile, OnlyRegularFilesWithSmallPicturesAreRead) {
  std::filesystem::create_directories(OutPath("picture-dir"));
  const std::string Fifo = OutPath("picture-fifo.bmp");
  std::filesystem::remove(Fifo);
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
  std::mt19937 Gen(11);
  std::string Noise(4096, '\0');
  for (char& Ch : Noise) Ch = static_cast<char>(Gen());
  TBitmap Good(6, 4);
  const std::string GoodPng = OutPath("picture-good.png");
  Good.SaveToFile(GoodPng);
  std::ifstream In(GoodPng, std::ios::binary);
  const std::string GoodBytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());

  for (const std::string& Path : {
           OutPath("picture-missing.png"),
           OutPath("picture-dir"),
           Fifo,
           WriteFile("picture-empty.png", ""),
           WriteFile("picture-truncated.png", GoodBytes.substr(0, 40)),
           WriteFile("picture-noise.png", Noise),
           WriteFile("picture-noise.bmp", Noise),
           WriteFile("picture-noise.jpg", Noise),
           WriteFile("picture-huge.png", PngDeclaring(60000, 60000)),
       })
    ExpectRefusedQuickly(Path);
  std::filesystem::remove(Fifo);

  // The huge one is refused by its declared size, before any decoding.
  TBitmap B;
  try {
    B.LoadFromFile(OutPath("picture-huge.png"));
    ADD_FAILURE() << "a picture of 3.6 billion pixels was loaded";
  } catch (const EInvalidGraphic& E) {
    EXPECT_NE(std::string(E.what()).find("declares 60000 x 60000 pixels"), std::string::npos) << E.what();
  }
  // The same kind of file with a size within the limits still loads.
  B.LoadFromFile(GoodPng);
  EXPECT_EQ(B.Width(), 6);
  EXPECT_EQ(B.Height(), 4);
}

}  // namespace
}  // namespace zkw
