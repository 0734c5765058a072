// embed: the chart in an ordinary Qt main window. A few thousand points, a
// status label that follows the pointer in world coordinates, and a button
// that saves the chart as a PNG. Nothing here is specific to the library but
// the three lines that use the chart.
#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

#include "chart/ZKW_vexa.h"
#include "widgets/ZKW_widgets.h"

namespace {

// A damped wave with some scatter: 4000 points, handed over in one call.
void AddPoints(zkw::TVexa& Chart) {
  constexpr int Count = 4000;
  std::vector<double> Xs(Count), Ys(Count);
  for (int I = 0; I < Count; ++I) {
    Xs[I] = 10.0 * I / Count;
    Ys[I] = std::exp(-0.25 * Xs[I]) * std::sin(3 * Xs[I]) + 0.08 * std::sin(I * 12.9898);
  }
  Chart.SetDataColor(zkw::clNavy);
  Chart.AddMarks(Xs, Ys, 1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication App(argc, argv);  // before anything draws text

  QMainWindow Window;
  auto* Central = new QWidget;
  auto* Layout = new QVBoxLayout(Central);
  auto* Plot = new zkw::VexaWidget;
  auto* Position = new QLabel("Move the pointer over the chart");
  auto* Save = new QPushButton("Save PNG...");
  auto* Row = new QHBoxLayout;
  Row->addWidget(Position, 1);
  Row->addWidget(Save);
  Layout->addWidget(Plot, 1);
  Layout->addLayout(Row);
  Window.setCentralWidget(Central);
  Window.setWindowTitle("embed");
  Window.resize(760, 520);

  zkw::TVexa& Chart = *Plot->chart();
  Chart.Scale1X().SetRangeLow(0);
  Chart.Scale1X().SetRangeHigh(10);
  Chart.Scale1Y().SetRangeLow(-1.2);
  Chart.Scale1Y().SetRangeHigh(1.2);
  Chart.SetCaption("Damped wave");
  Chart.SetGridStyle(zkw::gsPoints);
  AddPoints(Chart);
  Chart.Redraw();

  QObject::connect(Plot, &zkw::VexaWidget::mouseMoveInChart, Position, [Position](bool InChart, double X, double Y) {
    Position->setText(InChart ? QString("x = %1   y = %2").arg(X, 0, 'f', 3).arg(Y, 0, 'f', 3)
                              : QString("outside the plot"));
  });
  QObject::connect(Save, &QPushButton::clicked, &Window, [&Window, Plot] {
    const QString Name = QFileDialog::getSaveFileName(&Window, "Save chart", "chart.png", "PNG (*.png)");
    if (Name.isEmpty()) return;
    try {
      zkw::SaveChartToPng(*Plot->chart(), Name.toStdString());
      Window.statusBar()->showMessage("Saved " + Name, 4000);
    } catch (const std::exception& E) {
      Window.statusBar()->showMessage(QString("Could not save: ") + E.what(), 6000);
    }
  });

  Window.show();
  return QApplication::exec();
}
