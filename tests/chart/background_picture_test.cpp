// The plot background with picture files that must not or cannot be read (a
// FIFO, a directory, a picture declaring billions of pixels, missing, empty,
// truncated and random files) and the data image of a plot without width.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "chart/ZKW_vexa.h"
#include "chart/render.h"
#include "render_support.h"

namespace zkw {
namespace {

using TPaintedVexa = render_test::TPipelineVexa;

std::string OutputPath(const std::string& Name) {
  std::filesystem::create_directories(ZKW_TEST_OUTPUT_DIR);
  return std::string(ZKW_TEST_OUTPUT_DIR) + "/" + Name;
}

// Opens Fifo for writing, and closes it, again and again once the test has
// run for a few seconds: a paint waiting for data from it then gets none and
// returns, so a hang shows up as a failure instead of a stuck test.
class TFifoWatch {
 public:
  explicit TFifoWatch(std::string Fifo) : FFifo(std::move(Fifo)), FThread([this] { Run(); }) {}
  ~TFifoWatch() {
    {
      std::lock_guard<std::mutex> Lock(FMutex);
      FDone = true;
    }
    FWake.notify_all();
    FThread.join();
  }
  bool HadToRelease() const { return FReleased; }

 private:
  void Run() {
    std::unique_lock<std::mutex> Lock(FMutex);
    if (FWake.wait_for(Lock, std::chrono::seconds(5), [this] { return FDone; })) return;
    FReleased = true;
    do {
      const int Fd = ::open(FFifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (Fd >= 0) ::close(Fd);
    } while (!FWake.wait_for(Lock, std::chrono::milliseconds(20), [this] { return FDone; }));
  }
  std::string FFifo;
  std::mutex FMutex;
  std::condition_variable FWake;
  bool FDone = false;
  std::atomic<bool> FReleased{false};
  std::thread FThread;
};

TEST(PlotBackground, PicturesThatMustNotBeReadLeaveThePlainColour) {
  const std::string Fifo = OutputPath("background.fifo.png");
  std::filesystem::remove(Fifo);
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
  const std::string Dir = OutputPath("background-dir.png");
  std::filesystem::create_directories(Dir);
  // A PNG signature and an IHDR declaring 60000 x 60000 pixels (CRC
  // included), then nothing: far too big to decode, refused by its header.
  const std::string Huge = OutputPath("background-huge.png");
  std::ofstream(Huge, std::ios::binary)
      << std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\xea\x60\0\0\xea\x60\x08\x02\0\0\0", 29)
      << std::string("\x0f\xb0\xe2\x15", 4);

  // Files that are there but hold no readable picture.
  const auto Write = [](const std::string& Name, const std::string& Bytes) {
    const std::string Path = OutputPath(Name);
    std::ofstream(Path, std::ios::binary | std::ios::trunc) << Bytes;
    return Path;
  };
  const std::string GoodPng = OutputPath("background-good.png");
  TBitmap(5, 4).SaveToFile(GoodPng);
  std::ifstream In(GoodPng, std::ios::binary);
  const std::string GoodBytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  ASSERT_GT(GoodBytes.size(), 40u);
  std::mt19937 Gen(5);
  std::string Noise(4096, '\0');
  for (char& Ch : Noise) Ch = static_cast<char>(Gen());

  for (const std::string& Path :
       {Fifo, Dir, Huge, OutputPath("background-missing.png"), Write("background-empty.png", ""),
        Write("background-truncated.png", GoodBytes.substr(0, 40)), Write("background-noise.png", Noise),
        Write("background-noise.bmp", Noise), Write("background-noise.jpg", Noise)}) {
    SCOPED_TRACE(Path);
    TPaintedVexa C(nullptr);
    C.SetBounds(0, 0, 200, 150);
    C.Scale1X().SetVisible(false);
    C.Scale1Y().SetVisible(false);
    C.SetChartColor(clYellow);
    C.HandleNeeded();
    {
      // Naming the picture repaints already.
      TFifoWatch Watch(Fifo);
      C.BackGroundImg().SetIncludePath(true);
      C.BackGroundImg().SetName(Path);
      C.Repaint();
      EXPECT_FALSE(Watch.HadToRelease()) << "the paint waited for data";
    }
    EXPECT_EQ(C.DataImage().Canvas().Pixels(60, 40), clYellow);
    EXPECT_EQ(C.WindowSurface().Canvas().Pixels(110, 60), clYellow);
    EXPECT_TRUE(C.BackGroundImg().Name().empty());
  }
  std::filesystem::remove(Fifo);
}

TEST(PlotBackground, DataImageWithoutPlotWidthKeepsItsHeight) {
  // Margins 50 and 151 on a 200-pixel-wide chart: plot width -1, so the
  // data image is 0 wide and PH + 1 = 150 - 20 - 40 + 1 = 91 high.
  TPaintedVexa C(nullptr);
  C.SetBounds(0, 0, 200, 150);
  C.HandleNeeded();
  C.SetMarginRight(151);
  C.Repaint();
  EXPECT_EQ(C.DataImage().Width(), 0);
  EXPECT_EQ(C.DataImage().Height(), 91);
  C.Redraw();
  EXPECT_EQ(C.DataImage().Height(), 91);
  C.SetMarginRight(148);
  C.Repaint();
  EXPECT_EQ(C.DataImage().Width(), 3);
  EXPECT_EQ(C.DataImage().Height(), 91);
}

}  // namespace
}  // namespace zkw
