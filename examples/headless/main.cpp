// A chart of a few thousand points, written to PNG and PDF files without a
// display: the program needs no window system (Qt's offscreen platform).
//   zkw_example_headless [OUTPUT_PREFIX]   -> OUTPUT_PREFIX.png, OUTPUT_PREFIX.pdf
#include <cmath>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "platform/gui_app.h"

int main(int argc, char** argv) {
  const std::string Prefix = argc > 1 ? argv[1] : "headless_chart";
  try {
    // Fonts and picture files need a Qt GUI application; a program without
    // windows asks for the offscreen one once, before anything draws.
    zkw::InitHeadless();

    zkw::TVexa Chart(nullptr);
    Chart.SetBounds(0, 0, 800, 500);
    Chart.SetCaption("5000 samples");
    Chart.Scale1X().SetRangeLow(0);
    Chart.Scale1X().SetRangeHigh(5000);
    Chart.Scale1Y().SetRangeLow(-1.5);
    Chart.Scale1Y().SetRangeHigh(1.5);
    Chart.HandleNeeded();  // the chart's window surface; painting starts

    // 5000 noisy samples of a sine, and the sine itself.
    std::vector<double> Xs, Samples, Curve;
    for (int I = 0; I < 5000; ++I) {
      Xs.push_back(I);
      Curve.push_back(std::sin(I * 0.004));
      Samples.push_back(Curve.back() + 0.25 * std::sin(I * 12.9898) * std::cos(I * 78.233));
    }
    Chart.SetDataColor(zkw::clNavy);
    Chart.AddMarks(Xs, Samples, 1);  // one call for all 5000 points
    Chart.SetDataColor(zkw::clRed);
    Chart.SetLineWidth(2);
    Chart.AddPolyline(Xs, Curve);

    Chart.SavePng(Prefix + ".png");      // the chart's 800 x 500 pixels
    Chart.SavePdf(Prefix + ".pdf", 96);  // one page of 800 x 500 pixels at 96 dpi
    // Chart.SaveImage(Name) picks PNG, JPEG, BMP or PDF by the extension.
    std::cout << "wrote " << Prefix << ".png and " << Prefix << ".pdf\n";
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "zkw_example_headless: " << E.what() << "\n";
    return 1;
  }
}
