// Step 4: pan and zoom. A left-button drag pans, the wheel zooms about the
// pointer, a drag on an axis pans or zooms that axis (double click switches),
// and Back steps through the range history.
#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "widgets/ZKW_widgets.h"

int main(int argc, char** argv) {
  QApplication App(argc, argv);

  QWidget Window;
  auto* Layout = new QVBoxLayout(&Window);
  auto* Plot = new zkw::VexaWidget;
  auto* Back = new QPushButton("Back");
  Layout->addWidget(Plot, 1);
  Layout->addWidget(Back);
  Window.resize(640, 440);

  zkw::TVexa& Chart = *Plot->chart();
  Chart.SetCaption("Step 4: drag to pan, wheel to zoom");
  Chart.Scale1X().SetRangeLow(0);
  Chart.Scale1X().SetRangeHigh(10);
  Chart.Scale1Y().SetRangeLow(-1.5);
  Chart.Scale1Y().SetRangeHigh(1.5);
  Chart.SetMouseAction(zkw::maPan);
  Chart.SetWheelZoom(true);

  std::vector<double> Xs, Ys;
  for (int I = 0; I < 1000; ++I) {
    Xs.push_back(I / 100.0);
    Ys.push_back(std::sin(Xs.back()));
  }
  Chart.SetDataColor(zkw::clNavy);
  Chart.AddMarks(Xs, Ys, 1);
  Chart.Redraw();

  QObject::connect(Back, &QPushButton::clicked, Plot, [Plot] { Plot->chart()->RangeHistoryBack(); });

  Window.show();
  return QApplication::exec();
}
