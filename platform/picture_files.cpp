#include "platform/picture_files.h"

#include <QImage>
#include <QImageWriter>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "platform/gui_app.h"

namespace zkw {

namespace {

std::string LowerExtension(const std::string& FileName) {
  const auto Dot = FileName.find_last_of('.');
  const auto Slash = FileName.find_last_of("/\\");
  if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash)) return std::string();
  std::string Ext = FileName.substr(Dot + 1);
  std::transform(Ext.begin(), Ext.end(), Ext.begin(), [](unsigned char C) { return std::tolower(C); });
  return Ext;
}

// A file written under a temporary name beside its final one, renamed by
// Commit; dropped (and the old file left as it was) otherwise.
class TFileUnderWay {
 public:
  explicit TFileUnderWay(const std::string& FileName) : FName(FileName), FFile(QString::fromStdString(FileName)) {
    if (FileName.empty()) throw Exception("A picture file needs a name");
    if (!FFile.open(QIODevice::WriteOnly))
      throw Exception("Cannot write \"" + FileName + "\": " + FFile.errorString().toStdString());
  }
  QIODevice& Device() { return FFile; }
  void Commit() {
    if (!FFile.commit()) throw Exception("Cannot write \"" + FName + "\": " + FFile.errorString().toStdString());
  }

 private:
  std::string FName;
  QSaveFile FFile;
};

void CheckDrawingSize(int Width, int Height, const std::string& FileName) {
  if (Width <= 0 || Height <= 0) throw Exception("Cannot save an empty picture to \"" + FileName + "\"");
}

void CheckWritable(const TBitmap& Bitmap, const std::string& FileName) {
  if (Bitmap.Width() <= 0 || Bitmap.Height() <= 0)
    throw Exception("Cannot save an empty picture to \"" + FileName + "\"");
  if (FileName.empty()) throw Exception("A picture file needs a name");
}

}  // namespace

TPictureFormat PictureFormatOf(const std::string& FileName) {
  const std::string Ext = LowerExtension(FileName);
  if (Ext == "png") return pfPng;
  if (Ext == "jpg" || Ext == "jpeg") return pfJpeg;
  if (Ext == "bmp") return pfBmp;
  if (Ext == "pdf") return pfPdf;
  if (Ext == "svg") return pfSvg;
  throw EInvalidGraphic("Unknown picture file type \"" + (Ext.empty() ? std::string("(none)") : "." + Ext) +
                        "\" of \"" + FileName + "\" (use .png, .jpg, .jpeg, .bmp, .pdf or .svg)");
}

void SavePicture(const TBitmap& Bitmap, const std::string& FileName, TPictureFormat Format, int Quality) {
  CheckWritable(Bitmap, FileName);
  const char* Codec = nullptr;
  switch (Format) {
    case pfPng:
      Codec = "PNG";
      break;
    case pfJpeg:
      Codec = "JPEG";
      break;
    case pfBmp:
      Codec = "BMP";
      break;
    case pfPdf:
    case pfSvg:
      throw Exception("A PDF or SVG file is a drawing, not a picture of pixels");
  }
  TFileUnderWay File(FileName);
  QImageWriter Writer(&File.Device(), Codec);
  if (Format == pfJpeg) Writer.setQuality(std::clamp(Quality, -1, 100));
  if (!Writer.write(Bitmap.Image()))
    throw Exception("Cannot write the picture \"" + FileName + "\": " + Writer.errorString().toStdString());
  File.Commit();
}

void SavePicturePdf(const TBitmap& Bitmap, const std::string& FileName, int Dpi) {
  CheckWritable(Bitmap, FileName);
  if (Dpi < 1 || Dpi > 9600)
    throw EInvalidGraphic("A PDF's resolution must lie in 1..9600 dpi, not " + std::to_string(Dpi));
  // Page size in points (1/72 inch): pixels / dpi inches.
  WritePdfPage(Bitmap, FileName, Dpi, Bitmap.Width() * 72.0 / Dpi, Bitmap.Height() * 72.0 / Dpi);
}

void WritePdfPage(const TBitmap& Page, const std::string& FileName, int Dpi, double WidthPoints,
                  double HeightPoints) {
  RequireGuiApplication();
  TFileUnderWay File(FileName);
  QPdfWriter Pdf(&File.Device());
  Pdf.setResolution(Dpi);
  Pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(WidthPoints, HeightPoints), QPageSize::Point, QString(),
                                          QPageSize::ExactMatch),
                                QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter Painter;
  if (!Painter.begin(&Pdf)) throw Exception("Cannot write the document \"" + FileName + "\"");
  // At the writer's resolution one device pixel is one bitmap pixel: the
  // image goes in unscaled, and the hint keeps the writer from storing it as
  // a JPEG.
  Painter.setRenderHint(QPainter::LosslessImageRendering);
  Painter.drawImage(QPointF(0, 0), Page.Image());
  if (!Painter.end()) throw Exception("Cannot finish the document \"" + FileName + "\"");
  File.Commit();
}

namespace {

// Ends the painter also when the drawing raises, before the file goes.
struct TPainterEnd {
  QPainter& Painter;
  ~TPainterEnd() {
    if (Painter.isActive()) Painter.end();
  }
};

void PaintPdf(const std::string& FileName, int Width, int Height, int Dpi, double PageW, double PageH,
              const TPagePainting& Paint, const std::string& Title) {
  if (Dpi < 1 || Dpi > 9600)
    throw EInvalidGraphic("A PDF's resolution must lie in 1..9600 dpi, not " + std::to_string(Dpi));
  CheckDrawingSize(Width, Height, FileName);
  RequireGuiApplication();
  TFileUnderWay File(FileName);
  QPdfWriter Pdf(&File.Device());
  Pdf.setResolution(Dpi);
  Pdf.setTitle(QString::fromStdString(Title));
  Pdf.setCreator(QStringLiteral("zkw_vexa"));
  Pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(PageW, PageH), QPageSize::Point, QString(), QPageSize::ExactMatch),
                                QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter Painter;
  if (!Painter.begin(&Pdf)) throw Exception("Cannot write the document \"" + FileName + "\"");
  {
    TPainterEnd End{Painter};
    Painter.setRenderHint(QPainter::LosslessImageRendering);
    // One device unit is one pixel at Dpi; the drawing sits in the page's middle.
    const double UnitsPerPoint = Dpi / 72.0;
    Painter.translate(std::max(0.0, (PageW * UnitsPerPoint - Width) / 2), std::max(0.0, (PageH * UnitsPerPoint - Height) / 2));
    TBitmap Page(Painter, Width, Height);
    Paint(Page);
    Page.EndPainting();
    if (!Painter.end()) throw Exception("Cannot finish the document \"" + FileName + "\"");
  }
  File.Commit();
}

}  // namespace

void WriteSvgDrawing(const std::string& FileName, int Width, int Height, const TPagePainting& Paint,
                     const std::string& Title) {
  CheckDrawingSize(Width, Height, FileName);
  RequireGuiApplication();
  TFileUnderWay File(FileName);
  QSvgGenerator Svg;
  Svg.setOutputDevice(&File.Device());
  Svg.setSize(QSize(Width, Height));
  Svg.setViewBox(QRect(0, 0, Width, Height));
  Svg.setResolution(96);
  Svg.setTitle(QString::fromStdString(Title));
  QPainter Painter;
  if (!Painter.begin(&Svg)) throw Exception("Cannot write the drawing \"" + FileName + "\"");
  {
    TPainterEnd End{Painter};
    TBitmap Page(Painter, Width, Height);
    Paint(Page);
    Page.EndPainting();
    if (!Painter.end()) throw Exception("Cannot finish the drawing \"" + FileName + "\"");
  }
  File.Commit();
}

void WritePdfDrawing(const std::string& FileName, int Width, int Height, int Dpi, const TPagePainting& Paint,
                     const std::string& Title) {
  const double D = Dpi > 0 ? Dpi : 1;
  PaintPdf(FileName, Width, Height, Dpi, Width * 72.0 / D, Height * 72.0 / D, Paint, Title);
}

void WritePdfDrawingOnPage(const std::string& FileName, int Width, int Height, int Dpi, double PageWidthPoints,
                           double PageHeightPoints, const TPagePainting& Paint, const std::string& Title) {
  PaintPdf(FileName, Width, Height, Dpi, PageWidthPoints, PageHeightPoints, Paint, Title);
}

void PaintOnPicture(TBitmap& Picture, const TPagePainting& Paint) {
  if (Picture.IsPage()) {
    Paint(Picture);
    return;
  }
  if (Picture.Width() <= 0 || Picture.Height() <= 0) return;
  QPainter Painter(&Picture.Image());
  TPainterEnd End{Painter};
  // The picture's own device pixel ratio scales the painter; the page's mode
  // tells the drawing which scale it draws at.
  TBitmap Page(Painter, Picture.Width(), Picture.Height(), Picture.DrawMode());
  Paint(Page);
  Page.EndPainting();
}

}  // namespace zkw
