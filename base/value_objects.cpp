#include "base/value_objects.h"

#include "base/colors.h"
#include "platform/properties.h"

namespace zkw {

// ---------------------------------------------------------------- TDTLabel

void TDTLabel::Changed() {
  if (OnChange) OnChange(this);
}

void TDTLabel::Assign(const TPersistent& Source) {
  if (const auto* Src = dynamic_cast<const TDTLabel*>(&Source)) {
    FTimeFormat = Src->FTimeFormat;
    FDateSeparator = Src->FDateSeparator;
    FTimeSeparator = Src->FTimeSeparator;
    FYearLength = Src->FYearLength;
    FMonthName = Src->FMonthName;
    FDateOrder = Src->FDateOrder;
    FDateForTime = Src->FDateForTime;
    OnChange = Src->OnChange;
    return;
  }
  TPersistent::Assign(Source);
}

void TDTLabel::AssignTo(TPersistent& Dest) const {
  if (auto* D = dynamic_cast<TDTLabel*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TDTLabel::SetTimeFormat(TTimeFormat Value) {
  FTimeFormat = Value;
  Changed();
}

void TDTLabel::SetDateSeparator(char Value) {
  if (Value == FDateSeparator) return;
  FDateSeparator = Value;
  Changed();
}

void TDTLabel::SetTimeSeparator(char Value) {
  if (Value == FTimeSeparator) return;
  FTimeSeparator = Value;
  Changed();
}

void TDTLabel::SetYearLength(TYearLength Value) {
  if (Value == FYearLength) return;
  FYearLength = Value;
  Changed();
}

void TDTLabel::SetMonthName(bool Value) {
  if (Value == FMonthName) return;
  FMonthName = Value;
  Changed();
}

void TDTLabel::SetDateOrder(TDateOrder Value) {
  FDateOrder = Value;
  Changed();
}

void TDTLabel::SetDateForTime(TDateForTime Value) {
  if (Value == FDateForTime) return;
  FDateForTime = Value;
  Changed();
}

// -------------------------------------------------------------- TCrossHair

void TCrossHair::Changed() {
  if (OnChange) OnChange(this);
}

void TCrossHair::Assign(const TPersistent& Source) {
  if (const auto* Src = dynamic_cast<const TCrossHair*>(&Source)) {
    FPosX = Src->FPosX;
    FPosY = Src->FPosY;
    FColor = Src->FColor;
    FMode = Src->FMode;
    FLineType = Src->FLineType;
    FLineWid = Src->FLineWid;
    FLayer = Src->FLayer;
    OnChange = Src->OnChange;
    return;
  }
  TPersistent::Assign(Source);
}

void TCrossHair::AssignTo(TPersistent& Dest) const {
  if (auto* D = dynamic_cast<TCrossHair*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TCrossHair::SetPosX(double Value) {
  FPosX = Value;
  Changed();
}

void TCrossHair::SetPosY(double Value) {
  FPosY = Value;
  Changed();
}

void TCrossHair::SetColor(TColor Value) {
  FColor = Value;
  Changed();
}

void TCrossHair::SetLayer(int Value) {
  FLayer = Value < 1 ? 1 : (Value > 16 ? 16 : Value);
  Changed();
}

void TCrossHair::SetMode(TCrossHMode Value) {
  FMode = Value;
  Changed();
}

void TCrossHair::SetLineType(TPenStyle Value) {
  FLineType = Value;
  Changed();
}

void TCrossHair::SetLineWid(int Value) {
  FLineWid = Value;
  Changed();
}

// -------------------------------------------------------- TCustomTextLabel

void TCustomTextLabel::Changed() {
  if (OnChange) OnChange(this);
}

void TCustomTextLabel::Assign(const TPersistent& Source) {
  if (const auto* Src = dynamic_cast<const TCustomTextLabel*>(&Source)) {
    FPosX = Src->FPosX;
    FPosY = Src->FPosY;
    FLayer = Src->FLayer;
    FShadowDx = Src->FShadowDx;
    FShadowDy = Src->FShadowDy;
    FColorShadow = Src->FColorShadow;
    FAlignment = Src->FAlignment;
    FVerticalAlignment = Src->FVerticalAlignment;
    FAttachToData = Src->FAttachToData;
    FColorBkg = Src->FColorBkg;
    FColorBorder = Src->FColorBorder;
    FTransparent = Src->FTransparent;
    FFont.Assign(Src->FFont);
    FCaption = Src->FCaption;
    FMode = Src->FMode;
    FVisible = Src->FVisible;
    OnChange = Src->OnChange;
    return;
  }
  TPersistent::Assign(Source);
}

void TCustomTextLabel::AssignTo(TPersistent& Dest) const {
  if (auto* D = dynamic_cast<TCustomTextLabel*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TCustomTextLabel::SetPosX(double Value) {
  FPosX = Value;
  Changed();
}

void TCustomTextLabel::SetPosY(double Value) {
  FPosY = Value;
  Changed();
}

void TCustomTextLabel::SetLayer(int Value) {
  if (Value < 1 || Value > 16) return;
  FLayer = Value;
  Changed();
}

void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode Value) {
  FAttachToData = Value;
  Changed();
}

void TCustomTextLabel::SetColorBkg(TColor Value) {
  FColorBkg = Value;
  Changed();
}

void TCustomTextLabel::SetColorBorder(TColor Value) {
  FColorBorder = Value;
  Changed();
}

void TCustomTextLabel::SetColorShadow(TColor Value) {
  FColorShadow = Value;
  Changed();
}

void TCustomTextLabel::SetShadowDx(int Value) {
  FShadowDx = Value;
  Changed();
}

void TCustomTextLabel::SetShadowDy(int Value) {
  FShadowDy = Value;
  Changed();
}

void TCustomTextLabel::SetTransparent(bool Value) {
  FTransparent = Value;
  Changed();
}

void TCustomTextLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed();
}

void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment Value) {
  FVerticalAlignment = Value;
  Changed();
}

void TCustomTextLabel::SetFont(const TFont& Value) {
  FFont.Assign(Value);
  Changed();
}

void TCustomTextLabel::SetMode(TTxtLblMode Value) {
  FMode = Value;
  Changed();
}

void TCustomTextLabel::SetCaption(const std::string& Value) {
  FCaption = Value;
  // Compare as unsigned bytes: the lead and trail bytes of UTF-8 sequences are
  // not control characters and must survive.
  for (char& C : FCaption) {
    const auto Code = static_cast<unsigned char>(C);
    if (Code < 32 && Code != 10) C = ' ';
  }
  Changed();
}

void TCustomTextLabel::SetVisible(bool Value) {
  FVisible = Value;
  Changed();
}

// ------------------------------------------------------------ registration

namespace {

// No stored defaults: every owner (scale property objects, scale controls, the
// chart) gives these objects its own starting values, so each value is always
// written. Layer ranges are left to the setters, which clamp or ignore.
const bool Registered = [] {
  RegisterClass<TDTLabel>("TDTLabel", "TPersistent")
      .Enum("TimeFormat", &TDTLabel::TimeFormat, &TDTLabel::SetTimeFormat, TimeFormatNames)
      .Char("DateSeparator", &TDTLabel::DateSeparator, &TDTLabel::SetDateSeparator)
      .Char("TimeSeparator", &TDTLabel::TimeSeparator, &TDTLabel::SetTimeSeparator)
      .Enum("YearLength", &TDTLabel::YearLength, &TDTLabel::SetYearLength, YearLengthNames)
      .Bool("MonthName", &TDTLabel::MonthName, &TDTLabel::SetMonthName)
      .Enum("DateOrder", &TDTLabel::DateOrder, &TDTLabel::SetDateOrder, DateOrderNames)
      .Enum("DateForTime", &TDTLabel::DateForTime, &TDTLabel::SetDateForTime, DateForTimeNames)
      .Event("OnChange", &TDTLabel::OnChange);

  RegisterClass<TCrossHair>("TCrossHair", "TPersistent")
      .Double("PosX", &TCrossHair::PosX, &TCrossHair::SetPosX)
      .Double("PosY", &TCrossHair::PosY, &TCrossHair::SetPosY)
      .Color("Color", &TCrossHair::Color, &TCrossHair::SetColor)
      .Int("Layer", &TCrossHair::Layer, &TCrossHair::SetLayer)
      .Enum("Mode", &TCrossHair::Mode, &TCrossHair::SetMode, CrossHModeNames)
      .Enum("LineType", &TCrossHair::LineType, &TCrossHair::SetLineType, PenStyleNames)
      .Int("LineWid", &TCrossHair::LineWid, &TCrossHair::SetLineWid)
      .Event("OnChange", &TCrossHair::OnChange);

  RegisterClass<TCustomTextLabel>("TCustomTextLabel", "TPersistent");
  RegisterClass<TTextLabel>("TTextLabel", "TCustomTextLabel")
      .Double("PosX", &TTextLabel::PosX, &TTextLabel::SetPosX)
      .Double("PosY", &TTextLabel::PosY, &TTextLabel::SetPosY)
      .Int("Layer", &TTextLabel::Layer, &TTextLabel::SetLayer)
      .Enum("AttachToData", &TTextLabel::AttachToData, &TTextLabel::SetAttachToData, TxtLblAttachModeNames)
      .Color("ColorBkg", &TTextLabel::ColorBkg, &TTextLabel::SetColorBkg)
      .Color("ColorBorder", &TTextLabel::ColorBorder, &TTextLabel::SetColorBorder)
      .Color("ColorShadow", &TTextLabel::ColorShadow, &TTextLabel::SetColorShadow)
      .Int("ShadowDx", &TTextLabel::ShadowDx, &TTextLabel::SetShadowDx)
      .Int("ShadowDy", &TTextLabel::ShadowDy, &TTextLabel::SetShadowDy)
      .Bool("Transparent", &TTextLabel::Transparent, &TTextLabel::SetTransparent)
      .Enum("Alignment", &TTextLabel::Alignment, &TTextLabel::SetAlignment, AlignmentNames)
      .Enum("VerticalAlignment", &TTextLabel::VerticalAlignment, &TTextLabel::SetVerticalAlignment,
            VerticalAlignmentNames)
      .Object("Font", &TTextLabel::Font)
      .Enum("Mode", &TTextLabel::Mode, &TTextLabel::SetMode, TxtLblModeNames)
      .String("Caption", &TTextLabel::Caption, &TTextLabel::SetCaption)
      .Bool("Visible", &TTextLabel::Visible, &TTextLabel::SetVisible)
      .Event("OnChange", &TTextLabel::OnChange);

  // Whoever streams these objects also reads colours written by name.
  InstallColorNameLookup();
  return true;
}();

}  // namespace

}  // namespace zkw
