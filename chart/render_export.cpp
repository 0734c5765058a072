// Pictures out: a PNG of what a chart shows, and a chart printed on the
// printer's page.
#include <utility>
#include <vector>

#include "chart/render.h"
#include "chart/vexa.h"
#include "platform/devices.h"

namespace zkw {

namespace {

// Lends one canvas to all 32 scale controls of a chart and gives each its
// own canvas back when it goes out of scope, also when drawing raised.
class TScaleCanvasLoan {
 public:
  TScaleCanvasLoan(TCustomVexa& Chart, TCanvas& Canvas) : FChart(Chart) {
    for (int N = 1; N <= LayerCount; ++N) {
      for (TScale* Control : {&Chart.ScaleControlX(N), &Chart.ScaleControlY(N)}) {
        FKept.push_back({Control->HostCanvas(), Control->HostOffsetX(), Control->HostOffsetY()});
        Control->SetHostCanvas(&Canvas, 0, 0);
      }
    }
  }
  ~TScaleCanvasLoan() {
    std::size_t I = 0;
    for (int N = 1; N <= LayerCount; ++N) {
      for (TScale* Control : {&FChart.ScaleControlX(N), &FChart.ScaleControlY(N)}) {
        const TKept& K = FKept[I++];
        Control->SetHostCanvas(K.Canvas, K.X, K.Y);
      }
    }
  }
  TScaleCanvasLoan(const TScaleCanvasLoan&) = delete;
  TScaleCanvasLoan& operator=(const TScaleCanvasLoan&) = delete;

 private:
  struct TKept {
    TCanvas* Canvas;
    int X;
    int Y;
  };
  TCustomVexa& FChart;
  std::vector<TKept> FKept;
};

// On the screen the items are drawn on the canvas the plot background has
// just been painted on, and some kinds rely on what it leaves (the marks and
// 3D shapes fill with the brush style they find). The page was last used by
// the caption (clear brush) and the scales, so it takes the pen and brush the
// background left on Back, and the font the screen's data image holds (the
// font character marks are drawn in), under the printer font rule.
void TakeDataCanvasState(TCanvas& Page, TCanvas& Background, const TFont& DataFont) {
  Page.Pen().Assign(Background.Pen());
  Page.Brush().Assign(Background.Brush());
  Page.SetFont(DataFont);
  ApplyPrinterFontRule(Page.Font(), DataFont.Size());
}

}  // namespace

void SaveChartToPng(TCustomVexa& Chart, const std::string& FileName) {
  TChartRenderer Renderer(Chart);
  Renderer.PaintControlImage();
  Renderer.DrawCrossHairs(0, 0, Chart.ControlImage());
  Chart.ControlImage().SaveToFile(FileName);
}

void PrintChart(TCustomVexa& Chart, const std::string& FileName, bool Monochrome) {
  TPrinter& P = Printer();
  P.BeginDoc(FileName);
  try {
    TCanvas& Page = P.Canvas();
    TChartRenderer Renderer(Chart);
    {
      TScaleCanvasLoan Loan(Chart, Page);
      Renderer.DrawOuterArea(Page);
    }
    // The plot background is painted into an image of the plot's size first:
    // its picture modes place the picture at the image's own corner.
    const TPlotGeometry G = Chart.Geometry();
    TBitmap Back(G.DataImageWidth(), G.DataImageHeight());
    Chart.DrawPlotBackground(Back.Canvas(), 0, 0, Back.Width(), Back.Height());
    Page.Draw(G.MarginLeft, G.MarginTop, Back);
    TakeDataCanvasState(Page, Back.Canvas(), Chart.DataImage().Canvas().Font());
    Chart.RenderData(Page, G.MarginLeft, G.MarginTop, Monochrome, 0);
    Renderer.DrawCrossHairs(0, 0, Page.Target());
  } catch (...) {
    // Close the document so that the printer can be used again, then report
    // the first error.
    try {
      P.EndDoc();
    } catch (...) {
    }
    throw;
  }
  P.EndDoc();
}

}  // namespace zkw
