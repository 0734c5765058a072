// snapdemo: one window with a chart whose red cursor mark snaps to the data
// mark nearest to the pointer. See app/program.h for the headless mode.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/frmmain.h"
#include "app/program.h"
#include "platform/qt/qt_backend.h"

int main(int argc, char** argv) {
  using namespace zkw;
  const std::vector<std::string> Args(argv + 1, argv + argc);
  TSnapdemoOptions Options;
  std::string Error;
  if (!ParseSnapdemoArgs(Args, Options, Error)) {
    std::cerr << "snapdemo: " << Error << "\n" << SnapdemoUsage << "\n";
    return 2;
  }
  if (Options.Help) {
    std::cout << SnapdemoUsage << "\n";
    return 0;
  }
  if (Options.Headless()) return RunHeadless(Options, std::cerr);

  try {
    InstallQtBackend();
    Application().Initialize();
    TForm1* Form1 = nullptr;
    Application().CreateForm(Form1);
    if (TraceRequested()) InstallTrace(*Form1, std::cout);
    // Returns when the main form closes.
    Application().Run();
  } catch (const std::exception& E) {
    std::cerr << "snapdemo: " << E.what() << "\n";
    return 1;
  }
  return 0;
}
