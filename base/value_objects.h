// Small persistent value objects that the chart and the scale control publish
// as nested properties: the date/time label format, the crosshair and the text
// label. Each stores its values, applies a few rules and reports changes
// through OnChange(Self). Assign copies every value and the OnChange handler
// without raising a notification.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/enums.h"
#include "platform/core.h"
#include "platform/graphics.h"

namespace zkw {

// Format of date/time tick labels. A new object has every field zero; its
// owner sets its own defaults.
class TDTLabel : public TPersistent {
 public:
  TDTLabel() = default;
  TDTLabel(const TDTLabel&) = delete;
  TDTLabel& operator=(const TDTLabel&) = delete;
  std::string ClassName() const override { return "TDTLabel"; }
  void Assign(const TPersistent& Source) override;
  void AssignTo(TPersistent& Dest) const override;

  TTimeFormat TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(TTimeFormat Value);  // notifies even when unchanged
  char DateSeparator() const { return FDateSeparator; }
  void SetDateSeparator(char Value);  // the rest notify only on a change
  char TimeSeparator() const { return FTimeSeparator; }
  void SetTimeSeparator(char Value);
  TYearLength YearLength() const { return FYearLength; }
  void SetYearLength(TYearLength Value);
  bool MonthName() const { return FMonthName; }
  void SetMonthName(bool Value);
  TDateOrder DateOrder() const { return FDateOrder; }
  void SetDateOrder(TDateOrder Value);  // notifies even when unchanged
  TDateForTime DateForTime() const { return FDateForTime; }
  void SetDateForTime(TDateForTime Value);

  TNotifyEvent OnChange;

 private:
  void Changed();
  TTimeFormat FTimeFormat = tfHHMMSS;
  char FDateSeparator = '\0';
  char FTimeSeparator = '\0';
  TYearLength FYearLength = ylNone;
  bool FMonthName = false;
  TDateOrder FDateOrder = doMMDDYY;
  TDateForTime FDateForTime = dtNone;
};

// What a chart's crosshairs have after the chart is made (its SetDefaults):
// the one table of those values. The layer is not here: crosshair N starts on
// layer N.
struct TChartCrossHairDefaults {
  double PosX = 0.0;
  double PosY = 0.0;
  TColor Color = clRed;
  TCrossHMode Mode = chOff;
  TPenStyle LineType = psDashDotDot;
  int LineWid = 1;
};

// What a chart's text labels have after the chart is made: the one table of
// those values. The font is not here: a label takes the chart's font.
struct TChartTextLabelDefaults {
  double PosX = 0.0;
  double PosY = 0.0;
  int Layer = 1;
  TTxtLblAttachMode AttachToData = tlamBoth;
  TTxtLblMode Mode = tlOff;
  bool Visible = false;
  TColor ColorBkg = clWhite;
  TColor ColorBorder = clBlack;
  TColor ColorShadow = clGray;
  int ShadowDx = 3;
  int ShadowDy = 3;
  bool Transparent = false;
  TAlignment Alignment = taCenter;
  TVerticalAlignment VerticalAlignment = vaBottom;
};

// A crosshair positioned in world coordinates of Layer. A new object has every
// field zero (its form registry and tests rely on that); the chart gives its
// four crosshairs TChartCrossHairDefaults.
class TCrossHair : public TPersistent {
 public:
  TCrossHair() = default;
  TCrossHair(const TCrossHair&) = delete;
  TCrossHair& operator=(const TCrossHair&) = delete;
  std::string ClassName() const override { return "TCrossHair"; }
  void Assign(const TPersistent& Source) override;
  void AssignTo(TPersistent& Dest) const override;

  double PosX() const { return FPosX; }
  void SetPosX(double Value);
  double PosY() const { return FPosY; }
  void SetPosY(double Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Layer() const { return FLayer; }
  void SetLayer(int Value);  // clamped into 1..16
  TCrossHMode Mode() const { return FMode; }
  void SetMode(TCrossHMode Value);
  TPenStyle LineType() const { return FLineType; }
  void SetLineType(TPenStyle Value);
  int LineWid() const { return FLineWid; }
  void SetLineWid(int Value);

  TNotifyEvent OnChange;

 private:
  void Changed();
  double FPosX = 0.0;
  double FPosY = 0.0;
  TColor FColor = 0;
  TCrossHMode FMode = chOff;
  TPenStyle FLineType = psSolid;
  int FLineWid = 0;
  int FLayer = 0;
};

// A movable text annotation. PosX/PosY are world coordinates of Layer or pixels
// of the chart window, as AttachToData says. The label owns its font.
//
// A label shows, and the mouse can drag it, only while Mode is not tlOff and
// Visible is set (and its layer is shown). The member values below are those
// of a label made on its own (its form registry and tests rely on them). A
// chart's labels 1..50 do not keep them: the chart gives them
// TChartTextLabelDefaults, which switch every label off and hide it (Mode
// tlOff, Visible false), at (0, 0) of layer 1 attached to both axes
// (tlamBoth), with an empty caption in the chart's font, a white box with a
// black border and a grey shadow 3 pixels off. A program sets Caption, the
// position, a Mode and Visible to show one.
class TCustomTextLabel : public TPersistent {
 public:
  TCustomTextLabel() = default;
  TCustomTextLabel(const TCustomTextLabel&) = delete;
  TCustomTextLabel& operator=(const TCustomTextLabel&) = delete;
  std::string ClassName() const override { return "TCustomTextLabel"; }
  void Assign(const TPersistent& Source) override;
  void AssignTo(TPersistent& Dest) const override;

  double PosX() const { return FPosX; }
  void SetPosX(double Value);
  double PosY() const { return FPosY; }
  void SetPosY(double Value);
  int Layer() const { return FLayer; }
  void SetLayer(int Value);  // a value outside 1..16 is ignored
  TTxtLblAttachMode AttachToData() const { return FAttachToData; }
  void SetAttachToData(TTxtLblAttachMode Value);
  TColor ColorBkg() const { return FColorBkg; }
  void SetColorBkg(TColor Value);
  TColor ColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor Value);
  TColor ColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor Value);
  int ShadowDx() const { return FShadowDx; }
  void SetShadowDx(int Value);
  int ShadowDy() const { return FShadowDy; }
  void SetShadowDy(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment Value);
  // The owned font; SetFont copies the given font's values into it.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& Value);
  TTxtLblMode Mode() const { return FMode; }
  void SetMode(TTxtLblMode Value);
  const std::string& Caption() const { return FCaption; }
  // Control characters other than line feed become blanks: line feeds separate
  // the lines of the label, nothing else may reach the text drawing.
  void SetCaption(const std::string& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  TNotifyEvent OnChange;

 private:
  void Changed();
  double FPosX = 100.0;
  double FPosY = 10.0;
  int FLayer = 1;
  int FShadowDx = 0;
  int FShadowDy = 0;
  TColor FColorShadow = clGray;
  TAlignment FAlignment = taCenter;
  TVerticalAlignment FVerticalAlignment = vaBottom;
  TTxtLblAttachMode FAttachToData = tlamNone;
  TColor FColorBkg = clSilver;
  TColor FColorBorder = clBlack;
  bool FTransparent = false;
  TFont FFont;
  std::string FCaption;
  TTxtLblMode FMode = tlsimple;
  bool FVisible = true;
};

// The published text label.
class TTextLabel : public TCustomTextLabel {
 public:
  std::string ClassName() const override { return "TTextLabel"; }
};

// Tag names of a text form of a text label (kept for the vocabulary; nothing
// reads or writes that form).
inline constexpr std::array<std::string_view, 13> TextLabelTagNames = {
    "posxy",   "colors",     "shadowofs", "layer", "transparent",   "visible", "alignment",
    "attachmode", "font", "style", "caption", "/custtextlbl", "dummy"};

}  // namespace zkw
