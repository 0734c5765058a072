// Colours, pens, brushes, fonts and the bitmap's storage. The raster rules
// live in canvas_raster.cpp, text in canvas_text.cpp.
#include "platform/graphics.h"

#include <QPainter>

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/canvas_painter.h"
#include "platform/rtl.h"

namespace zkw {

namespace {

// One fixed table of system colours (0x00BBGGRR), the look of a current
// desktop, so that drawing does not depend on the machine it runs on.
constexpr std::array<TColor, 31> SystemColors = {
    0xC8C8C8,  // clScrollBar
    0x000000,  // clBackground
    0xD1B499,  // clActiveCaption
    0xDBCDBF,  // clInactiveCaption
    0xF0F0F0,  // clMenu
    0xFFFFFF,  // clWindow
    0x646464,  // clWindowFrame
    0x000000,  // clMenuText
    0x000000,  // clWindowText
    0x000000,  // clCaptionText
    0xB4B4B4,  // clActiveBorder
    0xFCF7F4,  // clInactiveBorder
    0xABABAB,  // clAppWorkSpace
    0xD77800,  // clHighlight
    0xFFFFFF,  // clHighlightText
    0xF0F0F0,  // clBtnFace
    0xA0A0A0,  // clBtnShadow
    0x6D6D6D,  // clGrayText
    0x000000,  // clBtnText
    0x000000,  // clInactiveCaptionText
    0xFFFFFF,  // clBtnHighlight
    0x696969,  // cl3DDkShadow
    0xE3E3E3,  // cl3DLight
    0x000000,  // clInfoText
    0xE1FFFF,  // clInfoBk
    0x000000,  // (unused)
    0xCC6600,  // hot light
    0xEAD1B9,  // gradient active caption
    0xF2E4D7,  // gradient inactive caption
    0xFF9933,  // menu highlight
    0xF0F0F0,  // menu bar
};

}  // namespace

TColor ColorToRGB(TColor Color) {
  const auto U = static_cast<std::uint32_t>(Color);
  if ((U & 0xFF000000u) == 0xFF000000u) {
    const std::uint32_t Index = U & 0xFFu;
    return Index < SystemColors.size() ? SystemColors[Index] : clBlack;
  }
  // Only the colour bytes count: clNone and clDefault draw as the value below.
  return static_cast<TColor>(U & 0x00FFFFFFu);
}

// ---------------------------------------------------------------- TPen, TBrush

void TPen::Assign(const TPersistent& Source) {
  if (const auto* P = dynamic_cast<const TPen*>(&Source)) {
    FColor = P->FColor;
    FStyle = P->FStyle;
    FWidth = P->FWidth;
    FMode = P->FMode;
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::Assign(const TPersistent& Source) {
  if (const auto* B = dynamic_cast<const TBrush*>(&Source)) {
    FColor = B->FColor;
    FStyle = B->FStyle;
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------- TFont

TFont::TFont() = default;

// The handler is not copied: a canvas that takes over a chart's font must not
// start notifying the chart.
void TFont::Assign(const TPersistent& Source) {
  if (const auto* F = dynamic_cast<const TFont*>(&Source)) {
    FName = F->FName;
    FHeight = F->FHeight;
    FColor = F->FColor;
    FStyle = F->FStyle;
    FPixelsPerInch = F->FPixelsPerInch;
    FCharset = F->FCharset;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}

int TFont::Size() const {
  return static_cast<int>(-Round(static_cast<Extended>(FHeight) * 72 / FPixelsPerInch));
}

void TFont::SetSize(int Value) {
  SetHeight(ClampInt(-Round(static_cast<Extended>(Value) * FPixelsPerInch / 72), -32767, 32767));
}

void TFont::SetHeight(int Value) {
  Value = ClampInt(Value, -32767, 32767);
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TFont::SetPixelsPerInch(int Value) {
  if (Value < 1 || Value == FPixelsPerInch) return;
  const int KeptSize = Size();
  FPixelsPerInch = Value;
  FHeight = ClampInt(-Round(static_cast<Extended>(KeptSize) * FPixelsPerInch / 72), -32767, 32767);
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()), FCanvas(std::make_unique<TCanvas>(*this)) {}

TBitmap::TBitmap(int Width, int Height) : TBitmap() { SetSize(Width, Height); }

TBitmap::TBitmap(QPainter& Painter, int Width, int Height, TDrawMode Mode) : TBitmap() {
  CheckDrawScale(Mode.Scale);
  FWidth = std::max(Width, 0);
  FHeight = std::max(Height, 0);
  FMode = Mode;
  FMode.ThroughPainter = true;
  FExact = false;
  FPage = true;
  FDevice = std::make_shared<TPainterDevice>(Painter);
}

TBitmap::TBitmap(const TBitmap& Page, int Left, int Top, int Width, int Height) : TBitmap() {
  if (!Page.FPage) throw EInvalidGraphic("A part of a page needs a page");
  FWidth = std::max(Width, 0);
  FHeight = std::max(Height, 0);
  FMode = Page.FMode;
  FExact = false;
  FPage = true;
  FOriginX = Page.FOriginX + Left;
  FOriginY = Page.FOriginY + Top;
  FDevice = Page.FDevice;
}

TBitmap::~TBitmap() {
  // Whatever drew last on a shared page painter must not point here any more.
  if (FDevice && FDevice->ConfiguredFor == this) {
    if (FDevice->Painter->isActive()) FDevice->FlushBoxes();
    FDevice->ConfiguredFor = nullptr;
  }
}

void CheckDrawScale(double Scale) {
  if (!std::isfinite(Scale) || Scale <= 0 || Scale > 64)
    throw EInvalidGraphic("A drawing scale must be a finite number above 0 and at most 64, not " +
                          std::to_string(Scale));
}

namespace {

int DeviceExtent(int Logical, double Scale) {
  if (Scale == 1.0) return Logical;
  return static_cast<int>(std::max(1.0, std::round(Logical * Scale)));
}

}  // namespace

void TBitmap::EndPainting() const {
  if (FPage && FDevice && FDevice->Painter->isActive()) FDevice->FlushBoxes();
  if (FPage || !FDevice) return;
  FDevice.reset();
  FStale = true;
}

QPainter& TBitmap::Painter() const {
  if (!FDevice) {
    // Beginning may detach a shared picture: the raw-pixel cache is re-read.
    FDevice = std::make_shared<TPainterDevice>(*FImage);
    FStale = true;
  }
  return *FDevice->Painter;
}

void TBitmap::SetDrawMode(const TDrawMode& Mode) {
  CheckDrawScale(Mode.Scale);
  if (FPage || Mode == FMode) return;
  EndPainting();
  const double Old = FMode.Scale;
  FMode = Mode;
  FExact = Mode.Exact();
  if (Mode.Scale != Old && !FImage->isNull()) {
    // The pixels start anew at the new resolution, white as after SetSize;
    // the owner draws them again (a scaled copy of the old ones would cost a
    // resampling nobody sees).
    QImage Next(DeviceExtent(FWidth, Mode.Scale), DeviceExtent(FHeight, Mode.Scale), QImage::Format_RGB32);
    if (Next.isNull()) throw Exception("Cannot create a bitmap at scale " + std::to_string(Mode.Scale));
    Next.fill(0xFFFFFFFFu);
    Next.setDevicePixelRatio(Mode.Scale);
    *FImage = std::move(Next);
  }
  Changed();
}

void TBitmap::Assign(const TPersistent& Source) {
  if (const auto* B = dynamic_cast<const TBitmap*>(&Source)) {
    if (B == this) return;
    if (B->FPage || FPage) throw EInvalidGraphic("A page has no pixels to copy");
    B->EndPainting();
    EndPainting();
    QImage Copy = B->FImage->copy();
    if (Copy.isNull() && !B->FImage->isNull()) throw Exception("Out of memory copying a bitmap");
    *FImage = std::move(Copy);
    FWidth = B->Width();
    FHeight = B->Height();
    FMode = B->FMode;
    FExact = B->FExact;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// A picture put in place through Image() tells its own size; otherwise the
// size as set counts, also while one side is 0 and there are no pixels.
int TBitmap::Width() const { return FImage->isNull() || FMode.Scale != 1.0 ? FWidth : FImage->width(); }
int TBitmap::Height() const { return FImage->isNull() || FMode.Scale != 1.0 ? FHeight : FImage->height(); }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int Width, int Height) { SetSizeFilled(Width, Height, 0xFFFFFFFFu); }

void TBitmap::SetSizeFilled(int Width, int Height, std::uint32_t Fill) {
  Width = Width < 0 ? 0 : Width;
  Height = Height < 0 ? 0 : Height;
  if (Width == this->Width() && Height == this->Height()) return;
  if (FPage) {
    FWidth = Width;
    FHeight = Height;
    return;
  }
  EndPainting();
  if (Width == 0 || Height == 0) {
    // No pixels, but both sides are kept: setting the other one later must
    // not lose this one.
    *FImage = QImage();
    FWidth = Width;
    FHeight = Height;
    Changed();
    return;
  }
  const int DW = DeviceExtent(Width, FMode.Scale), DH = DeviceExtent(Height, FMode.Scale);
  QImage Next(DW, DH, QImage::Format_RGB32);
  if (Next.isNull()) {
    throw Exception("Cannot create a bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) +
                    " pixels");
  }
  Next.fill(Fill);
  // Keep the overlapping part of the old picture.
  const int CopyW = std::min(DW, FImage->width());
  const int CopyH = std::min(DH, FImage->height());
  for (int Y = 0; Y < CopyH; ++Y) {
    std::memcpy(Next.scanLine(Y), FImage->constScanLine(Y), static_cast<std::size_t>(CopyW) * 4);
  }
  Next.setDevicePixelRatio(FMode.Scale);
  *FImage = std::move(Next);
  FWidth = Width;
  FHeight = Height;
  Changed();
}

namespace {

// Reads the whole file into Data. Only regular files are opened, and never in
// a way that can wait for data: a FIFO, a device or a directory named as a
// picture is refused at once instead of hanging the paint. The type is
// checked on the opened descriptor, so the name cannot be swapped for a FIFO
// between the check and the read.
bool ReadPictureFile(const std::string& FileName, QByteArray& Data, std::string& Why) {
  const int Fd = ::open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (Fd < 0) {
    Why = "cannot open it";
    return false;
  }
  struct FdCloser {
    int Fd;
    ~FdCloser() { ::close(Fd); }
  } Closer{Fd};
  struct stat Info {};
  if (::fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode)) {
    Why = "it is not a regular file";
    return false;
  }
  if (Info.st_size <= 0) {
    Why = "it is empty";
    return false;
  }
  if (Info.st_size > MaxPictureFileBytes) {
    Why = "it is larger than " + std::to_string(MaxPictureFileBytes) + " bytes";
    return false;
  }
  // The size is read again while reading: a file that grows meanwhile is
  // still cut off at the limit.
  Data.resize(static_cast<qsizetype>(Info.st_size));
  qsizetype Got = 0;
  while (Got < Data.size()) {
    const ssize_t N = ::read(Fd, Data.data() + Got, static_cast<std::size_t>(Data.size() - Got));
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) {
      Why = "it cannot be read";
      return false;
    }
    if (N == 0) break;
    Got += N;
  }
  Data.truncate(Got);
  if (Data.isEmpty()) {
    Why = "it is empty";
    return false;
  }
  return true;
}

}  // namespace

void TBitmap::LoadFromFile(const std::string& FileName) {
  auto Refuse = [&](const std::string& Why) {
    throw EInvalidGraphic("Cannot load the picture \"" + FileName + "\": " + Why);
  };
  if (FileName.empty()) Refuse("no file name");
  if (FPage) Refuse("a page has no pixels");
  QByteArray Data;
  std::string Why;
  if (!ReadPictureFile(FileName, Data, Why)) Refuse(Why);

  QBuffer Buffer(&Data);
  Buffer.open(QIODevice::ReadOnly);
  // The file's extension is only a hint; the content decides.
  const QString Suffix = QFileInfo(QString::fromStdString(FileName)).suffix().toLower();
  QImageReader Reader(&Buffer, Suffix.toLatin1());
  Reader.setAutoDetectImageFormat(true);
  // The declared size is checked before any pixel is decoded, so a small
  // file claiming a huge picture costs nothing; the allocation limit covers
  // formats that declare no size up front (at 8 bytes a pixel, the widest
  // format a decoder may choose).
  const QSize Declared = Reader.size();
  if (Declared.isValid() &&
      static_cast<std::int64_t>(Declared.width()) * Declared.height() > MaxPicturePixels) {
    Refuse("it declares " + std::to_string(Declared.width()) + " x " + std::to_string(Declared.height()) +
           " pixels, more than " + std::to_string(MaxPicturePixels));
  }
  Reader.setAllocationLimit(static_cast<int>(MaxPicturePixels * 8 / (1024 * 1024)) + 1);
  QImage Loaded;
  if (!Reader.read(&Loaded) || Loaded.isNull()) Refuse("it is not a readable picture");
  if (static_cast<std::int64_t>(Loaded.width()) * Loaded.height() > MaxPicturePixels)
    Refuse("it has more than " + std::to_string(MaxPicturePixels) + " pixels");
  Loaded = Loaded.convertToFormat(QImage::Format_RGB32);
  if (Loaded.isNull()) throw EInvalidGraphic("Cannot convert the picture \"" + FileName + "\"");
  // A picture keeps its own pixels: the loaded bitmap is exact again.
  EndPainting();
  FMode = {};
  FExact = true;
  *FImage = std::move(Loaded);
  FWidth = FImage->width();
  FHeight = FImage->height();
  Changed();
}

void TBitmap::SaveToFile(const std::string& FileName) const {
  EndPainting();
  if (FImage->isNull()) throw Exception("Cannot save an empty bitmap to \"" + FileName + "\"");
  if (FileName.empty() || !FImage->save(QString::fromStdString(FileName), "PNG")) {
    throw Exception("Cannot write the picture \"" + FileName + "\"");
  }
}

std::uint32_t* TBitmap::ScanLine(int Y) {
  EndPainting();
  if (Y < 0 || Y >= FImage->height()) throw Exception("Scan line " + std::to_string(Y) + " out of range");
  Surface();
  return FBits + FStride * Y;
}

const std::uint32_t* TBitmap::ScanLine(int Y) const {
  EndPainting();
  if (Y < 0 || Y >= FImage->height()) throw Exception("Scan line " + std::to_string(Y) + " out of range");
  return reinterpret_cast<const std::uint32_t*>(FImage->constScanLine(Y));
}

QImage& TBitmap::Image() {
  EndPainting();
  FStale = true;
  return *FImage;
}

const QImage& TBitmap::Image() const {
  EndPainting();
  FStale = true;
  return *FImage;
}

void TBitmap::Surface() {
  if (!FStale) return;
  // An exact bitmap never keeps a painter; the painter of another mode draws
  // straight into these pixels, so reading them does not end it.
  // Someone may have replaced the picture with another format through Image().
  if (!FImage->isNull() && FImage->format() != QImage::Format_RGB32) {
    *FImage = FImage->convertToFormat(QImage::Format_RGB32);
  }
  if (FImage->isNull()) {
    FBits = nullptr;
    FStride = 0;
    FW = FH = 0;
  } else {
    FBits = reinterpret_cast<std::uint32_t*>(FImage->bits());  // detaches a shared copy
    FStride = FImage->bytesPerLine() / 4;
    FW = FImage->width();
    FH = FImage->height();
  }
  FStale = false;
}

}  // namespace zkw
