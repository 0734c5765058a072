// A chart of a few thousand points, written to picture files without a
// display: the program needs no window system (Qt's offscreen platform).
//   zkw_example_headless [OUTPUT_PREFIX]
//     -> OUTPUT_PREFIX.png       the chart's exact pixels
//        OUTPUT_PREFIX@3x.png    drawn at 3 pixels per chart pixel, for print
//        OUTPUT_PREFIX.pdf/.svg  vector drawings with real text
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

    Chart.SavePng(Prefix + ".png");          // the chart's 800 x 500 pixels
    Chart.SavePng(Prefix + "@3x.png", 3);    // 2400 x 1500 pixels, drawn natively
    Chart.SavePdf(Prefix + ".pdf", 96);      // a vector page of 800 x 500 pixels at 96 dpi
    Chart.SaveSvg(Prefix + ".svg");          // a vector drawing; texts stay text
    // Chart.SaveImage(Name) picks PNG, JPEG, BMP, PDF or SVG by the extension;
    // Chart.SetAntialiased(true) smooths every picture and the screen.
    std::cout << "wrote " << Prefix << ".png, " << Prefix << "@3x.png, " << Prefix << ".pdf and " << Prefix
              << ".svg\n";
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "zkw_example_headless: " << E.what() << "\n";
    return 1;
  }
}
