// Picture files out: a bitmap written as PNG, JPEG or BMP, the format chosen
// by the caller or by the file name's extension, and as a one-page PDF whose
// page has exactly the bitmap's size at a chosen resolution; and drawings made
// on a page (see TBitmap's page constructor) written as vector SVG and PDF
// files, or onto a bitmap of any draw mode.
// Every file is written under a temporary name in its folder and renamed
// when complete: a failure never leaves a half-written file behind, nor
// touches a file that was there before.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/graphics.h"

namespace zkw {

enum TPictureFormat : std::uint8_t { pfPng, pfJpeg, pfBmp, pfPdf, pfSvg };

// The format named by FileName's extension (any case): .png, .jpg/.jpeg,
// .bmp, .pdf, .svg. Raises EInvalidGraphic for any other extension or none, so a
// picture never lands in a file whose name promises another format.
TPictureFormat PictureFormatOf(const std::string& FileName);

// Writes Bitmap to FileName as a PNG, JPEG (Quality 0..100, -1 = the
// encoder's default) or BMP file. Raises Exception for an empty bitmap, a
// file that cannot be written, or pfPdf / pfSvg (pictures of pixels only).
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

// A drawing: Paint draws it on Page (logical pixels from the page's corner).
using TPagePainting = std::function<void(TBitmap& Page)>;

// Writes an SVG file of Width x Height pixels: lines and fills as paths,
// texts as text, pictures embedded. Raises Exception when the file cannot be
// written; whatever Paint raises passes through, and nothing is written.
void WriteSvgDrawing(const std::string& FileName, int Width, int Height, const TPagePainting& Paint,
                     const std::string& Title = {});
// Writes a one-page vector PDF whose page is Width x Height pixels at Dpi
// (1..9600) pixels per inch, no margins; texts as text with their fonts embedded.
void WritePdfDrawing(const std::string& FileName, int Width, int Height, int Dpi, const TPagePainting& Paint,
                     const std::string& Title = {});
// The same drawing centred on a PDF page of PageWidthPoints x
// PageHeightPoints (1/72 inch) at Dpi pixels per inch: a printed page.
void WritePdfDrawingOnPage(const std::string& FileName, int Width, int Height, int Dpi, double PageWidthPoints,
                           double PageHeightPoints, const TPagePainting& Paint, const std::string& Title = {});
// Draws onto Picture through a page of its size and draw mode, so that a
// drawing made for pages (parts clipped to their rectangles) lands on pixels.
void PaintOnPicture(TBitmap& Picture, const TPagePainting& Paint);

}  // namespace zkw
