#include "platform/picture_files.h"

#include <QImage>
#include <QImageWriter>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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
  throw EInvalidGraphic("Unknown picture file type \"" + (Ext.empty() ? std::string("(none)") : "." + Ext) +
                        "\" of \"" + FileName + "\" (use .png, .jpg, .jpeg, .bmp or .pdf)");
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
      throw Exception("A PDF is written by SavePicturePdf, not as a picture file");
  }
  QImageWriter Writer(QString::fromStdString(FileName), Codec);
  if (Format == pfJpeg) Writer.setQuality(std::clamp(Quality, -1, 100));
  if (!Writer.write(Bitmap.Image()))
    throw Exception("Cannot write the picture \"" + FileName + "\": " + Writer.errorString().toStdString());
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
  QPdfWriter Pdf(QString::fromStdString(FileName));
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
}

}  // namespace zkw
