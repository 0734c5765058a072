// Pictures out: picture files and a PDF page of what a chart shows, and the
// chart printed on the printer's page.
#pragma once

#include <string>

#include "chart/vexa.h"
#include "platform/picture_files.h"

namespace zkw {

// ---- pictures out ------------------------------------------------------------------------

// Every picture shows the chart as a paint does (without touching the window,
// whether or not painting is suppressed), crosshairs included, at the
// control's size. Each raises EZKWVexaError for a logarithmic axis below zero,
// EInvalidGraphic for a scale that is not finite or not above 0, and
// Exception when the file cannot be written; a file is complete or not there.
//
// Pictures of pixels are the control image as the chart paints it at device
// scale Scale (see TDrawMode), what a screen of that ratio shows: at Scale 1
// without anti-aliasing the exact raster, pixel for pixel; a Scale of 3 gives
// a 300-dpi figure of a chart meant for 100 dpi. The chart paints again at its
// own scale afterwards.

// Resolution of a PDF page that SaveChartImage writes for a ".pdf" name.
constexpr int DefaultPdfDpi = 96;

// The chart drawn on Page as a paint shows it (the outer area with caption
// and scales, the plot background, grid, items, text labels, frame and
// crosshairs), each part clipped to its rectangle as on the screen; on a
// vector page lines and fills stay paths and texts stay text.
void PaintChartOnPage(TCustomVexa& Chart, TBitmap& Page, bool Monochrome = false);
// The chart as a picture at Scale in the chart's anti-aliasing (a copy of
// its control image painted at that device scale).
void PaintChartPicture(TCustomVexa& Chart, TBitmap& Picture, double Scale);

void SaveChartToPng(TCustomVexa& Chart, const std::string& FileName, double Scale = 1);
// As a picture file of the given format (Quality: JPEG only, 0..100, -1 the
// encoder's default); pfPdf writes a vector PDF at DefaultPdfDpi, pfSvg an
// SVG (both ignore Scale).
void SaveChartPicture(TCustomVexa& Chart, const std::string& FileName, TPictureFormat Format, int Quality = -1,
                      double Scale = 1);
// The format follows the file name's extension (.png, .jpg, .jpeg, .bmp,
// .pdf, .svg, any case); any other raises EInvalidGraphic before anything is
// drawn.
void SaveChartImage(TCustomVexa& Chart, const std::string& FileName, double Scale = 1);
// A one-page vector PDF whose page is the chart's size at Dpi (1..9600; width
// in inches = pixels / Dpi): paths, and texts as text in embedded fonts.
void SaveChartToPdf(TCustomVexa& Chart, const std::string& FileName, int Dpi = DefaultPdfDpi);
// The same page holding the chart's exact pixels losslessly as one image.
void SaveChartToRasterPdf(TCustomVexa& Chart, const std::string& FileName, int Dpi = DefaultPdfDpi);
// An SVG drawing of the chart's size (Qt SVG): paths, and texts as text.
void SaveChartToSvg(TCustomVexa& Chart, const std::string& FileName);

// Prints the chart onto an A4 page and writes the document to FileName: a
// vector PDF, or the program's printer's page as a PNG when the name ends in
// ".png". The chart keeps its pixel geometry; the page's resolution for this
// print is PrintFitResolution of the chart's size, so the chart fills the
// page inside 10 mm margins, and it is centred on the page. On the PNG page
// fonts follow the printer font rule, so texts have the same pixel size as on
// the screen; the printer's own resolution is restored afterwards. Monochrome draws item pens
// black and fills silver or white. Raises Exception when a document is already
// open or the file cannot be written; the printer is left without an open
// document.
void PrintChart(TCustomVexa& Chart, const std::string& FileName, bool Monochrome = false);
// The smallest resolution (36..1200 pixels per inch) at which a Width x Height
// pixel picture fits an A4 page inside 10 mm margins.
int PrintFitResolution(int Width, int Height);

}  // namespace zkw
