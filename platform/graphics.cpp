// Colours, pens, brushes, fonts and the bitmap's storage. The raster rules
// live in canvas_raster.cpp, text in canvas_text.cpp.
#include "platform/graphics.h"

#include <QImage>
#include <QString>
#include <array>
#include <cmath>
#include <cstring>

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

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TPersistent& Source) {
  if (const auto* B = dynamic_cast<const TBitmap*>(&Source)) {
    if (B == this) return;
    QImage Copy = B->FImage->copy();
    if (Copy.isNull() && !B->FImage->isNull()) throw Exception("Out of memory copying a bitmap");
    *FImage = std::move(Copy);
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

int TBitmap::Width() const { return FImage->width(); }
int TBitmap::Height() const { return FImage->height(); }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int Width, int Height) {
  Width = Width < 0 ? 0 : Width;
  Height = Height < 0 ? 0 : Height;
  if (Width == FImage->width() && Height == FImage->height()) return;
  if (Width == 0 || Height == 0) {
    *FImage = QImage();
    Changed();
    return;
  }
  QImage Next(Width, Height, QImage::Format_RGB32);
  if (Next.isNull()) {
    throw Exception("Cannot create a bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) +
                    " pixels");
  }
  Next.fill(0xFFFFFFFFu);
  // Keep the overlapping part of the old picture.
  const int CopyW = std::min(Width, FImage->width());
  const int CopyH = std::min(Height, FImage->height());
  for (int Y = 0; Y < CopyH; ++Y) {
    std::memcpy(Next.scanLine(Y), FImage->constScanLine(Y), static_cast<std::size_t>(CopyW) * 4);
  }
  *FImage = std::move(Next);
  Changed();
}

void TBitmap::LoadFromFile(const std::string& FileName) {
  QImage Loaded;
  if (FileName.empty() || !Loaded.load(QString::fromStdString(FileName))) {
    throw EInvalidGraphic("Cannot load the picture \"" + FileName + "\"");
  }
  Loaded = Loaded.convertToFormat(QImage::Format_RGB32);
  if (Loaded.isNull()) throw EInvalidGraphic("Cannot convert the picture \"" + FileName + "\"");
  *FImage = std::move(Loaded);
  Changed();
}

void TBitmap::SaveToFile(const std::string& FileName) const {
  if (FImage->isNull()) throw Exception("Cannot save an empty bitmap to \"" + FileName + "\"");
  if (FileName.empty() || !FImage->save(QString::fromStdString(FileName), "PNG")) {
    throw Exception("Cannot write the picture \"" + FileName + "\"");
  }
}

std::uint32_t* TBitmap::ScanLine(int Y) {
  if (Y < 0 || Y >= FImage->height()) throw Exception("Scan line " + std::to_string(Y) + " out of range");
  Surface();
  return FBits + FStride * Y;
}

const std::uint32_t* TBitmap::ScanLine(int Y) const {
  if (Y < 0 || Y >= FImage->height()) throw Exception("Scan line " + std::to_string(Y) + " out of range");
  return reinterpret_cast<const std::uint32_t*>(FImage->constScanLine(Y));
}

QImage& TBitmap::Image() {
  FStale = true;
  return *FImage;
}

const QImage& TBitmap::Image() const {
  FStale = true;
  return *FImage;
}

void TBitmap::Surface() {
  if (!FStale) return;
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
