// Pictures out: picture files and a PDF page of what a chart shows, and the
// chart printed on the printer's page.
#pragma once

#include <string>

#include "chart/vexa.h"
#include "platform/picture_files.h"

namespace zkw {

// ---- pictures out ------------------------------------------------------------------------

// Every picture shows the chart as a paint does (without touching the window,
// whether or not painting is suppressed): the control image, crosshairs
// included, at the control's size. Each raises EZKWVexaError for a
// logarithmic axis below zero and Exception when the file cannot be written.

// Resolution of a PDF page that SaveChartImage writes for a ".pdf" name.
constexpr int DefaultPdfDpi = 96;

void SaveChartToPng(TCustomVexa& Chart, const std::string& FileName);
// As a picture file of the given format (Quality: JPEG only, 0..100, -1 the
// encoder's default); pfPdf writes a PDF at DefaultPdfDpi.
void SaveChartPicture(TCustomVexa& Chart, const std::string& FileName, TPictureFormat Format, int Quality = -1);
// The format follows the file name's extension (.png, .jpg, .jpeg, .bmp,
// .pdf, any case); any other raises EInvalidGraphic before anything is drawn.
void SaveChartImage(TCustomVexa& Chart, const std::string& FileName);
// A one-page PDF whose page is the chart's size at Dpi (1..9600; width in
// inches = pixels / Dpi), holding the chart's pixels losslessly.
void SaveChartToPdf(TCustomVexa& Chart, const std::string& FileName, int Dpi = DefaultPdfDpi);

// Prints the chart onto an A4 page of the program's printer and writes the
// document to FileName (a PDF, or a PNG when the name ends in ".png"). The
// chart keeps its pixel geometry (fonts follow the printer font rule, so
// texts have the same pixel size as on the screen); the page's resolution
// for this print is PrintFitResolution of the chart's size, so the chart
// fills the page inside 10 mm margins, and it is centred on the page. The
// printer's own resolution is restored afterwards. Monochrome draws item pens
// black and fills silver or white. Raises Exception when a document is already
// open or the file cannot be written; the printer is left without an open
// document.
void PrintChart(TCustomVexa& Chart, const std::string& FileName, bool Monochrome = false);
// The smallest resolution (36..1200 pixels per inch) at which a Width x Height
// pixel picture fits an A4 page inside 10 mm margins.
int PrintFitResolution(int Width, int Height);

}  // namespace zkw
