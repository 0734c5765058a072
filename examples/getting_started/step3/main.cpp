// Step 3: the same chart in a window. VexaWidget is a QWidget holding a TVexa;
// it fits any layout and follows its size.
#include <QApplication>
#include <cmath>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "widgets/ZKW_widgets.h"

int main(int argc, char** argv) {
  QApplication App(argc, argv);

  zkw::VexaWidget Plot;
  Plot.resize(640, 400);
  zkw::TVexa& Chart = *Plot.chart();
  Chart.SetCaption("Step 3");
  Chart.Scale1X().SetRangeLow(0);
  Chart.Scale1X().SetRangeHigh(10);
  Chart.Scale1Y().SetRangeLow(-1.5);
  Chart.Scale1Y().SetRangeHigh(1.5);

  std::vector<double> Xs, Ys;
  for (int I = 0; I < 1000; ++I) {
    Xs.push_back(I / 100.0);
    Ys.push_back(std::sin(Xs.back()));
  }
  Chart.SetDataColor(zkw::clNavy);
  Chart.AddMarks(Xs, Ys, 1);
  Chart.Redraw();

  Plot.show();
  return QApplication::exec();
}
