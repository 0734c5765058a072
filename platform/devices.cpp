#include "platform/devices.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <algorithm>
#include <cctype>

#include "platform/gui_app.h"
#include "platform/picture_files.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

constexpr Extended A4WidthInch = 210.0L / 25.4L;
constexpr Extended A4HeightInch = 297.0L / 25.4L;

bool EndsWithPng(const std::string& Name) {
  if (Name.size() < 4) return false;
  std::string Tail = Name.substr(Name.size() - 4);
  std::transform(Tail.begin(), Tail.end(), Tail.begin(), [](unsigned char C) { return std::tolower(C); });
  return Tail == ".png";
}

}  // namespace

TPrinter::TPrinter() = default;
TPrinter::~TPrinter() = default;

void TPrinter::SetResolution(int PixelsPerInch) {
  if (FPrinting) throw Exception("The printer's resolution cannot change while a document is open");
  FResolution = std::clamp(PixelsPerInch, 36, 1200);
}

int TPrinter::PageWidth() const { return static_cast<int>(Round(A4WidthInch * FResolution)); }
int TPrinter::PageHeight() const { return static_cast<int>(Round(A4HeightInch * FResolution)); }

void TPrinter::BeginDoc(const std::string& FileName) {
  if (FPrinting) throw Exception("A print document is already open");
  if (FileName.empty()) throw Exception("A print document needs a file name");
  FPage.SetSize(0, 0);
  FPage.SetSize(PageWidth(), PageHeight());  // white
  FFileName = FileName;
  FPrinting = true;
}

void TPrinter::EndDoc() {
  if (!FPrinting) throw Exception("No print document is open");
  FPrinting = false;
  struct Release {
    TBitmap& Page;
    ~Release() { Page.SetSize(0, 0); }
  } ReleasePage{FPage};
  if (EndsWithPng(FFileName)) {
    FPage.SaveToFile(FFileName);
  } else {
    WritePdfPage(FPage, FFileName, FResolution, static_cast<double>(A4WidthInch * 72),
                 static_cast<double>(A4HeightInch * 72));
  }
}

TPrinter& Printer() {
  static TPrinter ThePrinter;
  return ThePrinter;
}

bool IsPrinterCanvas(const TCanvas& Canvas) { return &Canvas == &Printer().Canvas(); }

int TScreenInfo::PixelsPerInch() const {
  if (FOverride > 0) return FOverride;
  if (GuiApplicationRunning()) {
    if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
      const int Dpi = static_cast<int>(Round(Screen->logicalDotsPerInch()));
      if (Dpi > 0) return Dpi;
    }
  }
  return 96;
}

void TScreenInfo::PixelAspect(double& X, double& Y) const {
  const TBitmap Probe(10, 10);
  const double PerMeterX = Probe.Image().dotsPerMeterX(), PerMeterY = Probe.Image().dotsPerMeterY();
  if (PerMeterX <= 0 || PerMeterY <= 0) {
    X = Y = 1;
    return;
  }
  // A pixel's width is 1 / dots per metre; scale so the smaller side is 1.
  const double W = 1 / PerMeterX, H = 1 / PerMeterY, Small = std::min(W, H);
  X = W / Small;
  Y = H / Small;
}

TScreenInfo& ScreenInfo() {
  static TScreenInfo Info;
  return Info;
}

}  // namespace zkw
