// Picture files out: a bitmap written as PNG, JPEG or BMP, the format chosen
// by the caller or by the file name's extension, and as a one-page PDF whose
// page has exactly the bitmap's size at a chosen resolution.
#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics.h"

namespace zkw {

enum TPictureFormat : std::uint8_t { pfPng, pfJpeg, pfBmp, pfPdf };

// The format named by FileName's extension (any case): .png, .jpg/.jpeg,
// .bmp, .pdf. Raises EInvalidGraphic for any other extension or none, so a
// picture never lands in a file whose name promises another format.
TPictureFormat PictureFormatOf(const std::string& FileName);

// Writes Bitmap to FileName as a PNG, JPEG (Quality 0..100, -1 = the
// encoder's default) or BMP file. Raises Exception for an empty bitmap, a
// file that cannot be written, or pfPdf (use SavePicturePdf).
void SavePicture(const TBitmap& Bitmap, const std::string& FileName, TPictureFormat Format, int Quality = -1);

// Writes Bitmap as a one-page PDF: the page is Bitmap's size at Dpi pixels per
// inch (width in inches = pixels / Dpi, no margins) and holds the picture
// losslessly, one image pixel per bitmap pixel. Dpi must lie in 1..9600
// (EInvalidGraphic otherwise); raises Exception when the file cannot be written.
void SavePicturePdf(const TBitmap& Bitmap, const std::string& FileName, int Dpi);

// Writes one PDF page of WidthPoints x HeightPoints (1/72 inch, no margins)
// at Dpi pixels per inch with Page at its top-left corner, unscaled and
// losslessly (one image pixel per bitmap pixel). No checks of the arguments;
// raises Exception when the file cannot be written.
void WritePdfPage(const TBitmap& Page, const std::string& FileName, int Dpi, double WidthPoints,
                  double HeightPoints);

}  // namespace zkw
