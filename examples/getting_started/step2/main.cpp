// Step 2: data. Ranges for the axes, a thousand marks in one call, a line.
#include <cmath>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "platform/gui_app.h"

int main() {
  zkw::InitHeadless();

  zkw::TVexa Chart(nullptr);
  Chart.SetBounds(0, 0, 640, 400);
  Chart.SetCaption("Step 2");
  Chart.Scale1X().SetRangeLow(0);
  Chart.Scale1X().SetRangeHigh(10);
  Chart.Scale1Y().SetRangeLow(-1.5);
  Chart.Scale1Y().SetRangeHigh(1.5);
  Chart.SetGridStyle(zkw::gsDotLines);
  Chart.SetGridColor(zkw::clSilver);
  Chart.HandleNeeded();

  std::vector<double> Xs, Ys, Curve;
  for (int I = 0; I < 1000; ++I) {
    Xs.push_back(I / 100.0);
    Curve.push_back(std::sin(Xs.back()));
    Ys.push_back(Curve.back() + 0.2 * std::sin(I * 12.9898));
  }
  Chart.SetDataColor(zkw::clNavy);
  Chart.AddMarks(Xs, Ys, 1);  // symbol 1, a small plus (docs/GALLERY.md shows all 52)
  Chart.SetDataColor(zkw::clRed);
  Chart.AddPolyline(Xs, Curve);
  Chart.Redraw();  // drawing commands only record; Redraw shows them

  Chart.SavePng("step2.png");
  return 0;
}
