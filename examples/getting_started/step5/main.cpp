// Step 5: follow the pointer. The widget reports the pointer in world
// coordinates; the nearest mark is found and a red cursor mark, kept as the
// store's last item, jumps to it. Only that last item is drawn again. (The
// cursor is a mark too; it always lies on the mark found last, so finding it
// gives the same position.)
#include <QApplication>
#include <QLabel>
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
  auto* Readout = new QLabel("Move the pointer over the chart");
  Layout->addWidget(Plot, 1);
  Layout->addWidget(Readout);
  Window.resize(640, 440);

  zkw::TVexa& Chart = *Plot->chart();
  Chart.SetCaption("Step 5: the nearest mark");
  Chart.Scale1X().SetRangeLow(0);
  Chart.Scale1X().SetRangeHigh(10);
  Chart.Scale1Y().SetRangeLow(-1.5);
  Chart.Scale1Y().SetRangeHigh(1.5);
  Chart.SetMouseAction(zkw::maPan);
  Chart.SetWheelZoom(true);

  std::vector<double> Xs, Ys;
  for (int I = 0; I < 200; ++I) {
    Xs.push_back(I / 20.0);
    Ys.push_back(std::sin(Xs.back()) + 0.2 * std::sin(I * 12.9898));
  }
  Chart.SetDataColor(zkw::clNavy);
  Chart.AddMarks(Xs, Ys, 10);
  Chart.SetDataColor(zkw::clRed);
  Chart.AddMark(Xs[0], Ys[0], 25);  // the cursor: always the last item
  Chart.Redraw();

  QObject::connect(Plot, &zkw::VexaWidget::mouseMoveInChart, Readout, [Plot, Readout](bool InChart, double X, double Y) {
    if (!InChart) return;
    zkw::TVexa& C = *Plot->chart();
    double Distance = 0;
    const int Index = C.FindNearestItem(zkw::ckMark, zkw::ClassFilterAll, X, Y, Distance);
    if (Index < 0) return;
    const zkw::TvxChartItem Item = C.GetItem(Index);
    C.RemoveLastItem();  // the cursor
    C.AddMark(Item.X, Item.Y, 25);
    C.Redraw();
    Readout->setText(QString("nearest: x = %1   y = %2").arg(Item.X, 0, 'f', 3).arg(Item.Y, 0, 'f', 3));
  });

  Window.show();
  return QApplication::exec();
}
