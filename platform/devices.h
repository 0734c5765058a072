// Output devices a drawing routine may meet: the printer (a canvas over a page
// bitmap that becomes a PDF or PNG file) and the screen's resolution.
#pragma once

#include <memory>
#include <string>

#include "platform/graphics.h"

namespace zkw {

class TPrinter {
 public:
  TPrinter();
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // Pixels per inch of the page (300 by default); the page is A4 at that
  // resolution (2480 x 3508 pixels at 300).
  int XResolution() const { return FResolution; }
  int YResolution() const { return FResolution; }
  // 36..1200 pixels per inch; raises Exception while a document is open.
  void SetResolution(int PixelsPerInch);
  int PageWidth() const;
  int PageHeight() const;

  // The page's canvas. Between BeginDoc and EndDoc it draws on a white page of
  // PageWidth x PageHeight; outside a document its bitmap is empty (text can be
  // measured, nothing is stored).
  TCanvas& Canvas() { return FPage.Canvas(); }
  // Starts a document that EndDoc writes to FileName: a PNG when the name ends
  // in ".png" (any case), else a PDF. Raises Exception when a document is open.
  void BeginDoc(const std::string& FileName);
  // Writes the page and closes the document; raises Exception when no document
  // is open or the file cannot be written (the document is closed either way).
  void EndDoc();
  bool Printing() const { return FPrinting; }
  const std::string& FileName() const { return FFileName; }

 private:
  TBitmap FPage;
  int FResolution = 300;
  bool FPrinting = false;
  std::string FFileName;
};

// The program's one printer.
TPrinter& Printer();
// True when Canvas is the printer's canvas: drawing routines draw some symbols
// differently on paper.
bool IsPrinterCanvas(const TCanvas& Canvas);

class TScreenInfo {
 public:
  // 96 unless a Qt GUI application runs, then the primary screen's logical dpi;
  // a value set with SetPixelsPerInch (> 0) wins, 0 returns to the automatic one.
  int PixelsPerInch() const;
  void SetPixelsPerInch(int Value) { FOverride = Value > 0 ? Value : 0; }
  // Relative width and height of one device pixel, read from a 10 by 10 bitmap's
  // resolution; 1, 1 on square pixels (the smaller side counts as 1).
  void PixelAspect(double& X, double& Y) const;

 private:
  int FOverride = 0;
};

TScreenInfo& ScreenInfo();

}  // namespace zkw
