// The entry point of the benchmark programs: the headless Qt application that
// text needs, then Google Benchmark's own main.
#include <benchmark/benchmark.h>

#include "platform/gui_app.h"

int main(int argc, char** argv) {
  zkw::InitHeadless();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
