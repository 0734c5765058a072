// actiondemo: one window to try the chart's mouse actions. See
// app/actiondemo_program.h for the headless mode and the trace.
#include <iostream>
#include <string>
#include <vector>

#include "app/actiondemo_program.h"

int main(int argc, char** argv) {
  using namespace zkw;
  const std::vector<std::string> Args(argv + 1, argv + argc);
  TActiondemoOptions Options;
  std::string Error;
  if (!ParseActiondemoArgs(Args, Options, Error)) {
    std::cerr << "actiondemo: " << Error << "\n" << ActiondemoUsage << "\n";
    return 2;
  }
  if (Options.Help) {
    std::cout << ActiondemoUsage << "\n";
    return 0;
  }
  return Options.Headless() ? RunActiondemoHeadless(Options, std::cerr) : RunActiondemoWindow(Options, std::cerr);
}
