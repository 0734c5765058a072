// Pictures out: picture files (PNG, JPEG, BMP) and a PDF page of what a chart
// shows, and a chart printed on the printer's page.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "chart/vexa_export.h"
#include "chart/vexa_paint.h"
#include "platform/devices.h"
#include "platform/picture_files.h"

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

// ---- picture files ----

namespace {

// The chart as a paint shows it, in its control image.
const TBitmap& PaintedImage(TCustomVexa& Chart) {
  TChartRenderer Renderer = ChartRenderer(Chart);
  Renderer.PaintControlImage();
  Renderer.DrawCrossHairs(0, 0, Chart.ControlImage());
  return Chart.ControlImage();
}

// Sets the chart's device scale for one picture and gives the old one back
// (the chart then paints again at it): the picture is what a screen of that
// ratio shows, drawn by the same code.
class TDeviceScaleLoan {
 public:
  TDeviceScaleLoan(TCustomVexa& Chart, double Scale) : FChart(Chart), FKept(Chart.DrawMode().Scale) {
    Chart.SetDeviceScale(Scale);
  }
  ~TDeviceScaleLoan() {
    try {
      FChart.SetDeviceScale(FKept);
    } catch (...) {  // the kept scale was valid; only memory can fail here
    }
  }
  TDeviceScaleLoan(const TDeviceScaleLoan&) = delete;
  TDeviceScaleLoan& operator=(const TDeviceScaleLoan&) = delete;

 private:
  TCustomVexa& FChart;
  double FKept;
};

TPagePainting ChartPainting(TCustomVexa& Chart, bool Monochrome = false) {
  return [&Chart, Monochrome](TBitmap& Page) { PaintChartOnPage(Chart, Page, Monochrome); };
}

}  // namespace

void PaintChartOnPage(TCustomVexa& Chart, TBitmap& Page, bool Monochrome) {
  TChartRenderer Renderer = ChartRenderer(Chart);
  TCanvas& Outer = Page.Canvas();
  {
    TScaleCanvasLoan Loan(Chart, Outer);
    Renderer.DrawOuterArea(Outer);
  }
  // The plot is a part of the page with its own corner and clip, as the data
  // image is on the screen: the background's picture modes and the items
  // place themselves from that corner, and nothing reaches the margins.
  const TPlotGeometry G = Chart.Geometry();
  TBitmap Plot(Page, G.MarginLeft, G.MarginTop, G.DataImageWidth(), G.DataImageHeight());
  TCanvas& Data = Plot.Canvas();
  Chart.DrawPlotBackground(Data, 0, 0, Plot.Width(), Plot.Height());
  Data.SetFont(Chart.DataImage().Canvas().Font());
  Chart.RenderData(Data, 0, 0, Monochrome, 0);
  Renderer.DrawCrossHairs(0, 0, Page);
}

void PaintChartPicture(TCustomVexa& Chart, TBitmap& Picture, double Scale) {
  CheckDrawScale(Scale);
  TDeviceScaleLoan Loan(Chart, Scale);
  Picture.Assign(PaintedImage(Chart));
}

void SaveChartToPng(TCustomVexa& Chart, const std::string& FileName, double Scale) {
  SaveChartPicture(Chart, FileName, pfPng, -1, Scale);
}

void SaveChartPicture(TCustomVexa& Chart, const std::string& FileName, TPictureFormat Format, int Quality,
                      double Scale) {
  CheckDrawScale(Scale);
  if (Format == pfPdf) {
    SaveChartToPdf(Chart, FileName, DefaultPdfDpi);
    return;
  }
  if (Format == pfSvg) {
    SaveChartToSvg(Chart, FileName);
    return;
  }
  TBitmap Picture;
  PaintChartPicture(Chart, Picture, Scale);
  SavePicture(Picture, FileName, Format, Quality);
}

void SaveChartImage(TCustomVexa& Chart, const std::string& FileName, double Scale) {
  // Unknown types and bad scales are refused before anything is drawn.
  const TPictureFormat Format = PictureFormatOf(FileName);
  CheckDrawScale(Scale);
  SaveChartPicture(Chart, FileName, Format, -1, Scale);
}

void SaveChartToPdf(TCustomVexa& Chart, const std::string& FileName, int Dpi) {
  WritePdfDrawing(FileName, Chart.Width(), Chart.Height(), Dpi, ChartPainting(Chart), Chart.Caption());
}

void SaveChartToRasterPdf(TCustomVexa& Chart, const std::string& FileName, int Dpi) {
  if (Dpi < 1 || Dpi > 9600)
    throw EInvalidGraphic("A PDF's resolution must lie in 1..9600 dpi, not " + std::to_string(Dpi));
  TBitmap Picture;
  PaintChartPicture(Chart, Picture, 1);
  SavePicturePdf(Picture, FileName, Dpi);
}

void SaveChartToSvg(TCustomVexa& Chart, const std::string& FileName) {
  WriteSvgDrawing(FileName, Chart.Width(), Chart.Height(), ChartPainting(Chart), Chart.Caption());
}

void TCustomVexa::SavePng(const std::string& FileName, double Scale) {
  SaveChartPicture(*this, FileName, pfPng, -1, Scale);
}
void TCustomVexa::SaveJpeg(const std::string& FileName, int Quality) {
  SaveChartPicture(*this, FileName, pfJpeg, Quality);
}
void TCustomVexa::SaveBmp(const std::string& FileName) { SaveChartPicture(*this, FileName, pfBmp); }
void TCustomVexa::SaveImage(const std::string& FileName, double Scale) { SaveChartImage(*this, FileName, Scale); }
void TCustomVexa::SavePdf(const std::string& FileName, int Dpi) { SaveChartToPdf(*this, FileName, Dpi); }
void TCustomVexa::SaveRasterPdf(const std::string& FileName, int Dpi) { SaveChartToRasterPdf(*this, FileName, Dpi); }
void TCustomVexa::SaveSvg(const std::string& FileName) { SaveChartToSvg(*this, FileName); }

// ---- printing ----

namespace {

constexpr double A4WidthInch = 210.0 / 25.4;
constexpr double A4HeightInch = 297.0 / 25.4;
constexpr double PrintMarginInch = 10.0 / 25.4;

// Sets the printer's resolution for one print and gives the old one back.
class TResolutionLoan {
 public:
  TResolutionLoan(TPrinter& P, int PixelsPerInch) : FPrinter(P), FKept(P.XResolution()) {
    P.SetResolution(PixelsPerInch);
  }
  ~TResolutionLoan() {
    try {
      FPrinter.SetResolution(FKept);
    } catch (...) {  // only while a document is open, which PrintChart never leaves
    }
  }
  TResolutionLoan(const TResolutionLoan&) = delete;
  TResolutionLoan& operator=(const TResolutionLoan&) = delete;

 private:
  TPrinter& FPrinter;
  int FKept;
};

// Moves the chart, printed at the page's top-left corner, to the page's centre.
void CentreOnPage(TBitmap& Page, int W, int H) {
  if (W <= 0 || H <= 0) return;
  const int X = (Page.Width() - W) / 2, Y = (Page.Height() - H) / 2;
  if (X == 0 && Y == 0) return;
  TBitmap Chart(W, H);
  Chart.Canvas().Draw(0, 0, Page);
  TCanvas& C = Page.Canvas();
  C.Brush().SetStyle(bsSolid);
  C.Brush().SetColor(clWhite);
  C.FillRect({0, 0, W, H});
  C.Draw(X, Y, Chart);
}

}  // namespace

int PrintFitResolution(int Width, int Height) {
  const double UsableW = A4WidthInch - 2 * PrintMarginInch, UsableH = A4HeightInch - 2 * PrintMarginInch;
  const double Needed = std::max(std::max(Width, 0) / UsableW, std::max(Height, 0) / UsableH);
  return std::clamp(static_cast<int>(std::ceil(Needed)), 36, 1200);
}

void PrintChart(TCustomVexa& Chart, const std::string& FileName, bool Monochrome) {
  TPrinter& P = Printer();
  if (P.Printing()) throw Exception("A print document is already open");
  if (PictureFormatOf(FileName) == pfPdf) {
    const TPlotGeometry G = Chart.Geometry();
    WritePdfDrawingOnPage(FileName, G.Width, G.Height, PrintFitResolution(G.Width, G.Height), A4WidthInch * 72,
                          A4HeightInch * 72, ChartPainting(Chart, Monochrome), Chart.Caption());
    return;
  }
  // The page's resolution is chosen so that the chart, drawn at its own
  // pixel geometry, fills the page inside the margins.
  const TPlotGeometry Fit = Chart.Geometry();
  TResolutionLoan Resolution(P, PrintFitResolution(Fit.Width, Fit.Height));
  P.BeginDoc(FileName);
  try {
    TCanvas& Page = P.Canvas();
    TChartRenderer Renderer = ChartRenderer(Chart);
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
    CentreOnPage(Page.Target(), Fit.Width, Fit.Height);
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
