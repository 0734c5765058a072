// Runs a fuzz target over saved inputs without libFuzzer: every file in the
// folders (or the files) named on the command line, in name order, through
// the target's entry point. The normal compiler builds it, so the seed
// corpus and every saved reproducer are replayed by the ordinary test run and
// a fault that fuzzing once found stays found. A target reports a broken
// expectation by aborting; reaching the end means every input passed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);
extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv);

int main(int Argc, char** Argv) {
  LLVMFuzzerInitialize(&Argc, &Argv);
  namespace fs = std::filesystem;
  std::vector<fs::path> Files;
  for (int I = 1; I < Argc; ++I) {
    const fs::path Path(Argv[I]);
    if (fs::is_directory(Path)) {
      for (const auto& Entry : fs::directory_iterator(Path))
        if (Entry.is_regular_file() && Entry.path().filename().string().front() != '.') Files.push_back(Entry.path());
    } else if (fs::is_regular_file(Path)) {
      Files.push_back(Path);
    } else if (!fs::exists(Path)) {
      std::fprintf(stderr, "replay: %s does not exist\n", Path.c_str());
      return 2;
    }
  }
  std::sort(Files.begin(), Files.end());
  for (const fs::path& File : Files) {
    std::ifstream In(File, std::ios::binary);
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", File.c_str(), Bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
  }
  std::fprintf(stderr, "replay: %zu inputs passed\n", Files.size());
  return 0;
}
