// Step 1: a chart, drawn without a window, saved as a PNG.
#include "chart/ZKW_vexa.h"
#include "platform/gui_app.h"

int main() {
  zkw::InitHeadless();  // fonts and picture files need Qt's offscreen platform

  zkw::TVexa Chart(nullptr);
  Chart.SetBounds(0, 0, 640, 400);
  Chart.SetCaption("Step 1");
  Chart.HandleNeeded();  // the chart's surface exists: painting starts

  Chart.SavePng("step1.png");
  return 0;
}
