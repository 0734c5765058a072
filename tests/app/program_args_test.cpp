// snapdemo's command line: the picture type follows the screenshot file's
// name, and a name of no known type is a usage error before anything runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"

namespace zkw {
namespace {

TEST(SnapdemoArgs, ScreenshotFileMustNameAPictureType) {
  TSnapdemoOptions Options;
  std::string Error;
  for (const char* Good : {"out.png", "OUT.PNG", "shot.jpg", "shot.jpeg", "shot.bmp", "page.pdf"}) {
    EXPECT_TRUE(ParseSnapdemoArgs({"--screenshot", Good, "--move", "1,2"}, Options, Error))
        << Good << ": " << Error;
    EXPECT_EQ(Options.ScreenshotFile, Good);
  }
  for (const char* Bad : {"out.gif", "out", "out.png.txt"}) {
    Error.clear();
    EXPECT_FALSE(ParseSnapdemoArgs({"--screenshot", Bad}, Options, Error)) << Bad;
    EXPECT_NE(Error.find("--screenshot"), std::string::npos) << Error;
  }
}

}  // namespace
}  // namespace zkw
