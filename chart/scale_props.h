// The chart's small published property objects: the range and look of one
// axis of a layer (TScaleProps and its horizontal and vertical forms), the
// background description (TBakGndImg) and the layer-joining table
// (TJointLayers). Each stores and checks its values and reports every change
// through its notification, which the chart connects to its own handlers.
#pragma once

#include <array>
#include <string>

#include "base/ZKW_zkwbase.h"
#include "platform/core.h"
#include "platform/graphics.h"
#include "scale/scale_look.h"

namespace zkw {

class TCustomVexa;

// Range and look of one axis of a layer. The range (RangeLow, RangeHigh,
// Logarithmic, MinRange) is the layer's transform range; the look (a
// TScaleLook, range included) is what the layer's scale control shows.
class TScaleProps : public TPersistent {
 public:
  TScaleProps();
  TScaleProps(const TScaleProps&) = delete;
  TScaleProps& operator=(const TScaleProps&) = delete;
  std::string ClassName() const override { return "TScaleProps"; }
  // Copies every value (and the OnChange handler) of another TScaleProps
  // except MouseAction and ScaleLocation; raises no notification.
  void Assign(const TPersistent& Source) override;
  void AssignTo(TPersistent& Dest) const override;
  // Back to the values of a new object (keeps OnChange and the notification
  // of the date format); reports nothing.
  void SetDefaults();

  // A range object's look after construction: the scale defaults, but a
  // chart's axis starts with its caption at the anchor itself, a unit range
  // and its scale below the plot (sctXT). Its box part is unused: the chart
  // keeps its scale controls' own box.
  static TScaleLook DefaultLook() {
    TScaleLook L;
    L.CaptionPosX = 0;
    L.CaptionPosY = 0;
    L.RangeHigh = 1.0;
    L.ScaleType = sctXT;
    return L;
  }
  // Everything the scale control shows of this axis.
  const TScaleLook& Look() const { return FLook; }

  const std::string& Caption() const { return FLook.Caption; }
  void SetCaption(const std::string& Value);
  int CaptionPosX() const { return FLook.CaptionPosX; }
  void SetCaptionPosX(int Value);
  int CaptionPosY() const { return FLook.CaptionPosY; }
  void SetCaptionPosY(int Value);
  TAlignment CaptionAlignment() const { return FLook.CaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  TScaleUnitAnchor CaptionAnchor() const { return FLook.CaptionAnchor; }
  void SetCaptionAnchor(TScaleUnitAnchor Value);
  TColor ColorScale() const { return FLook.ColorScale; }
  void SetColorScale(TColor Value);
  // The owned date format; SetDateFormat copies the given format's values.
  TDTLabel& DateFormat() { return FDateFormat; }
  const TDTLabel& DateFormat() const { return FDateFormat; }
  void SetDateFormat(const TDTLabel& Value);
  int DecPlaces() const { return FLook.DecPlaces; }
  void SetDecPlaces(int Value);  // kept in -3..12
  // The owned label font; a change of it is reported as a change of this object.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& Value);
  bool Logarithmic() const { return FLook.Logarithmic; }
  // Switching on after loading needs both range ends >= 1e-100 and a label
  // type other than ftDateTime; otherwise the axis stays linear. Before the
  // owning chart has loaded (a chart created in code) the switch is taken
  // unchecked and the chart raises EZKWVexaError if it cannot use it; the
  // axis then stays as it was.
  void SetLogarithmic(bool Value);
  TFigType LabelType() const { return FLook.LabelType; }
  void SetLabelType(TFigType Value);  // ftDateTime: linear; ftTime: 4 decimals
  int MinTicks() const { return FLook.MinTicks; }
  void SetMinTicks(int Value);
  double MinRange() const { return FMinRange; }
  void SetMinRange(double Value);  // <= 1e-100 ignored; widens a narrower range
  TMouseActMode MouseAction() const { return FMouseAction; }
  void SetMouseAction(TMouseActMode Value) { FMouseAction = Value; }
  double RangeLow() const { return FLook.RangeLow; }
  // Non-finite ends are ignored (nothing stored, nothing reported).
  void SetRangeLow(double Value);
  double RangeHigh() const { return FLook.RangeHigh; }
  void SetRangeHigh(double Value);
  bool ShortTicks() const { return FLook.ShortTicks; }
  void SetShortTicks(bool Value);
  const std::string& ScaleInscript() const { return FLook.ScaleInscript; }
  void SetScaleInscript(const std::string& Value);
  // Distance of the scale from the plot area; vertical and horizontal scales
  // keep it in separate fields, chosen by the scale type.
  int ScalePos() const;
  void SetScalePos(int Value);
  const std::string& UserTickText() const { return FLook.UserTickText; }
  void SetUserTickText(const std::string& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // Side of the plot in the scale control's terms (sctXB above, sctXT below,
  // sctYL right, sctYR left). The chart sets it directly for its layers.
  TScaleType ScaleType() const { return FLook.ScaleType; }
  void SetScaleType(TScaleType Value);  // stores and notifies
  // True until the owning chart has finished loading; while set, Logarithmic
  // is taken unchecked.
  bool Loading() const { return FLoading; }
  void SetLoading(bool Value) { FLoading = Value; }
  // Writes the range without checks or notification (the chart's own range changes).
  void StoreRange(double Low, double High) {
    FLook.RangeLow = Low;
    FLook.RangeHigh = High;
  }

  TNotifyEvent OnChange;

 protected:
  void Changed();
  void SetScaleTypeQuiet(TScaleType Value) { FLook.ScaleType = Value; }

 private:
  // Makes a change of the range (its ends, Logarithmic, MinRange) and
  // reports it. When the report raises (the owning chart cannot map the new
  // range), the range is put back as it was and the error passed on, so a
  // refused change leaves nothing behind.
  template <typename TChange>
  void ChangeRange(TChange&& Change);

  TScaleLook FLook = DefaultLook();
  TDTLabel FDateFormat;
  TFont FFont;
  bool FLoading = true;
  int FVertOffset = 0;
  int FHorizOffset = 0;
  double FMinRange = 1e-10;
  TMouseActMode FMouseAction = maNone;
  bool FVisible = false;
  bool FQuiet = false;  // set while Assign copies the font
};

// The x axis of a layer: the scale stands below (slBottom) or above (slTop).
class TScalePropsHoriz : public TScaleProps {
 public:
  std::string ClassName() const override { return "TScalePropsHoriz"; }
  TScaleLocationHoriz ScaleLocation() const { return FScaleLocation; }
  void SetScaleLocation(TScaleLocationHoriz Value);
  void SetDefaults() {
    TScaleProps::SetDefaults();
    FScaleLocation = slBottom;
  }

 private:
  TScaleLocationHoriz FScaleLocation = slBottom;
};

// The y axis of a layer: the scale stands left (slLeft) or right (slRight).
class TScalePropsVert : public TScaleProps {
 public:
  std::string ClassName() const override { return "TScalePropsVert"; }
  TScaleLocationVert ScaleLocation() const { return FScaleLocation; }
  void SetScaleLocation(TScaleLocationVert Value);
  void SetDefaults() {
    TScaleProps::SetDefaults();
    FScaleLocation = slLeft;
  }

 private:
  TScaleLocationVert FScaleLocation = slLeft;
};

// Background of the plot area: a picture file or a coloured area bounded in
// world coordinates of the chart's current layer.
class TBakGndImg : public TPersistent {
 public:
  TBakGndImg() = default;
  TBakGndImg(const TBakGndImg&) = delete;
  TBakGndImg& operator=(const TBakGndImg&) = delete;
  std::string ClassName() const override { return "TBakGndImg"; }
  void Assign(const TPersistent& Source) override;  // values and notification, no report
  void AssignTo(TPersistent& Dest) const override;
  void SetDefaults();  // keeps the notification

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);  // without IncludePath only the file name part
  bool IncludePath() const { return FIncludePath; }
  void SetIncludePath(bool Value);  // False also strips the stored name's directory
  TBkgFill FillMode() const { return FFillMode; }
  void SetFillMode(TBkgFill Value);
  TBGAreaMode AreaMode() const { return FAreaMode; }
  void SetAreaMode(TBGAreaMode Value);
  TColor AreaColor() const { return FAreaColor; }
  void SetAreaColor(TColor Value);
  double AreaLeft() const { return FAreaLeft; }
  void SetAreaLeft(double Value);
  double AreaRight() const { return FAreaRight; }
  void SetAreaRight(double Value);
  double AreaTop() const { return FAreaTop; }
  void SetAreaTop(double Value);
  double AreaBottom() const { return FAreaBottom; }
  void SetAreaBottom(double Value);

  // Change notification, set by the owning chart (not a published event).
  TNotifyEvent OnChange;

 private:
  void Changed();
  std::string FName;
  bool FIncludePath = false;
  TBkgFill FFillMode = bfStretch;
  TBGAreaMode FAreaMode = bamNone;
  TColor FAreaColor = 14540253;
  double FAreaLeft = -1.0;
  double FAreaRight = 1.0;
  double FAreaTop = 1.0;
  double FAreaBottom = -1.0;
};

// Which layer controls the x and the y range of each layer 1..16. A layer
// controlled by itself is free. Joining is one level deep: a follower cannot
// lead and a leader cannot follow. Refused joins raise EZKWVexaError and
// change nothing.
class TJointLayers : public TPersistent {
 public:
  explicit TJointLayers(TCustomVexa* Owner = nullptr);
  TJointLayers(const TJointLayers&) = delete;
  TJointLayers& operator=(const TJointLayers&) = delete;
  std::string ClassName() const override { return "TJointLayers"; }
  // Copies both tables, the notification and the owner; no report.
  void Assign(const TPersistent& Source) override;
  void AssignTo(TPersistent& Dest) const override;
  void SetDefaults();  // every layer free; keeps notification and owner

  // Entry of layer 1..16 (the layer itself for other indices).
  int XControlledBy(int Layer) const;
  int YControlledBy(int Layer) const;
  // Joins layer Layer's x (y) range to layer Dest; on success the layer takes
  // Dest's x (y) range at once (when an owner chart is set) and the change is
  // reported. Dest = Layer frees the layer silently.
  void SetXControlledBy(int Layer, int Dest);
  void SetYControlledBy(int Layer, int Dest);
  TCustomVexa* Owner() const { return FOwner; }
  void SetOwner(TCustomVexa* Value) { FOwner = Value; }

#define ZKW_JOINT_LAYER_PROPS(NN, N)                                              \
  int L##NN##xControlledBy() const { return XControlledBy(N); }                  \
  void SetL##NN##xControlledBy(int Value) { SetXControlledBy(N, Value); }        \
  int L##NN##yControlledBy() const { return YControlledBy(N); }                  \
  void SetL##NN##yControlledBy(int Value) { SetYControlledBy(N, Value); }
  ZKW_JOINT_LAYER_PROPS(01, 1)
  ZKW_JOINT_LAYER_PROPS(02, 2)
  ZKW_JOINT_LAYER_PROPS(03, 3)
  ZKW_JOINT_LAYER_PROPS(04, 4)
  ZKW_JOINT_LAYER_PROPS(05, 5)
  ZKW_JOINT_LAYER_PROPS(06, 6)
  ZKW_JOINT_LAYER_PROPS(07, 7)
  ZKW_JOINT_LAYER_PROPS(08, 8)
  ZKW_JOINT_LAYER_PROPS(09, 9)
  ZKW_JOINT_LAYER_PROPS(10, 10)
  ZKW_JOINT_LAYER_PROPS(11, 11)
  ZKW_JOINT_LAYER_PROPS(12, 12)
  ZKW_JOINT_LAYER_PROPS(13, 13)
  ZKW_JOINT_LAYER_PROPS(14, 14)
  ZKW_JOINT_LAYER_PROPS(15, 15)
  ZKW_JOINT_LAYER_PROPS(16, 16)
#undef ZKW_JOINT_LAYER_PROPS

  // Change notification after a successful join, set by the owning chart.
  TNotifyEvent OnChange;

 private:
  void Join(std::array<int, 16>& Table, bool IsX, int Layer, int Dest);
  std::array<int, 16> FX{};
  std::array<int, 16> FY{};
  TCustomVexa* FOwner;
};

// Gives layer Layer the x (IsX) or y range of layer Dest at once, keeping its
// other range; the chart's part of a successful join.
void CopyJoinedRange(TCustomVexa& Chart, int Layer, bool IsX, int Dest);

}  // namespace zkw
