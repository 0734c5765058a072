#include "chart/scale_props.h"

#include <cmath>

#include "platform/rtl.h"

namespace zkw {

// ---- TScaleProps -------------------------------------------------------------

TScaleProps::TScaleProps() {
  FFont.OnChange = [this](TObject*) {
    if (!FQuiet) Changed();
  };
  SetDefaults();
}

void TScaleProps::SetDefaults() {
  FLook = DefaultLook();
  FLoading = true;
  FVertOffset = 0;
  FHorizOffset = 0;
  FMinRange = 1e-10;
  FMouseAction = maNone;
  FVisible = false;
  // The date format's defaults are set with its notification detached, so
  // that nothing is reported.
  TNotifyEvent Saved = std::move(FDateFormat.OnChange);
  FDateFormat.OnChange = nullptr;
  FDateFormat.SetTimeFormat(tfHHMMSS);
  FDateFormat.SetDateSeparator('-');
  FDateFormat.SetTimeSeparator(':');
  FDateFormat.SetYearLength(ylYYYY);
  FDateFormat.SetMonthName(true);
  FDateFormat.SetDateForTime(dtOnePerDay);
  FDateFormat.SetDateOrder(doDDMMYY);
  FDateFormat.OnChange = std::move(Saved);
}

void TScaleProps::Changed() {
  if (OnChange) OnChange(this);
}

template <typename TChange>
void TScaleProps::ChangeRange(TChange&& Change) {
  const double Low = FLook.RangeLow, High = FLook.RangeHigh, MinRange = FMinRange;
  const bool Logarithmic = FLook.Logarithmic;
  Change();
  try {
    Changed();
  } catch (...) {
    FLook.RangeLow = Low;
    FLook.RangeHigh = High;
    FMinRange = MinRange;
    FLook.Logarithmic = Logarithmic;
    throw;
  }
}

void TScaleProps::Assign(const TPersistent& Source) {
  const auto* Src = dynamic_cast<const TScaleProps*>(&Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  FLook = Src->FLook;
  OnChange = Src->OnChange;
  FDateFormat.Assign(Src->FDateFormat);
  FQuiet = true;
  FFont.Assign(Src->FFont);
  FQuiet = false;
  FLoading = Src->FLoading;
  FVertOffset = Src->FVertOffset;
  FHorizOffset = Src->FHorizOffset;
  FMinRange = Src->FMinRange;
  FVisible = Src->FVisible;
}

void TScaleProps::AssignTo(TPersistent& Dest) const {
  if (auto* D = dynamic_cast<TScaleProps*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TScaleProps::SetCaption(const std::string& Value) {
  FLook.Caption = Value;
  Changed();
}

void TScaleProps::SetCaptionPosX(int Value) {
  FLook.CaptionPosX = Value;
  Changed();
}

void TScaleProps::SetCaptionPosY(int Value) {
  FLook.CaptionPosY = Value;
  Changed();
}

void TScaleProps::SetCaptionAlignment(TAlignment Value) {
  FLook.CaptionAlignment = Value;
  Changed();
}

void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor Value) {
  FLook.CaptionAnchor = Value;
  Changed();
}

void TScaleProps::SetColorScale(TColor Value) {
  FLook.ColorScale = Value;
  Changed();
}

void TScaleProps::SetDateFormat(const TDTLabel& Value) {
  if (&Value != &FDateFormat) {
    // The format keeps reporting to whoever listens to this object's format.
    TNotifyEvent Keep = FDateFormat.OnChange;
    FDateFormat.Assign(Value);
    FDateFormat.OnChange = std::move(Keep);
  }
  Changed();
}

void TScaleProps::SetDecPlaces(int Value) {
  FLook.DecPlaces = Value < -3 ? -3 : (Value > 12 ? 12 : Value);
  Changed();
}

void TScaleProps::SetFont(const TFont& Value) {
  if (&Value != &FFont) {
    FQuiet = true;
    FFont.Assign(Value);
    FQuiet = false;
  }
  Changed();
}

void TScaleProps::SetLogarithmic(bool Value) {
  ChangeRange([&] {
    if (!Value || FLoading) {
      FLook.Logarithmic = Value;
    } else if (FLook.RangeLow >= 1e-100 && FLook.RangeHigh >= 1e-100 && FLook.LabelType != ftDateTime) {
      FLook.Logarithmic = true;
    }
  });
}

void TScaleProps::SetLabelType(TFigType Value) {
  FLook.LabelType = Value;
  if (Value == ftDateTime) FLook.Logarithmic = false;
  if (FLook.LabelType == ftTime) FLook.DecPlaces = 4;
  Changed();
}

void TScaleProps::SetMinTicks(int Value) {
  FLook.MinTicks = Value;
  Changed();
}

void TScaleProps::SetMinRange(double Value) {
  if (!(Value > 1e-100) || !std::isfinite(Value)) return;  // also refuses NaN and infinity
  if (!(Value > std::fabs(FLook.RangeHigh - FLook.RangeLow))) {
    FMinRange = Value;
    return;
  }
  ChangeRange([&] {
    FMinRange = Value;
    const Extended Centre = (static_cast<Extended>(FLook.RangeHigh) + FLook.RangeLow) / 2;
    FLook.RangeLow = static_cast<double>(Centre - static_cast<Extended>(Value) / 2);
    FLook.RangeHigh = static_cast<double>(Centre + static_cast<Extended>(Value) / 2);
  });
}

void TScaleProps::SetRangeLow(double Value) {
  if (!std::isfinite(Value)) return;  // a range end must be a number: the old range stays
  ChangeRange([&] {
    if (std::fabs(FLook.RangeHigh - Value) < FMinRange) {
      FLook.RangeLow = Value;
      FLook.RangeHigh = Value + FMinRange;
    } else if (!FLook.Logarithmic || Value >= 1e-100) {
      FLook.RangeLow = Value;
    }
  });
}

void TScaleProps::SetRangeHigh(double Value) {
  if (!std::isfinite(Value)) return;
  ChangeRange([&] {
    if (std::fabs(FLook.RangeLow - Value) < FMinRange) {
      FLook.RangeHigh = Value;
      FLook.RangeLow = Value - FMinRange;
    } else if (!FLook.Logarithmic || Value >= 1e-100) {
      FLook.RangeHigh = Value;
    }
  });
}

void TScaleProps::SetShortTicks(bool Value) {
  FLook.ShortTicks = Value;
  Changed();
}

void TScaleProps::SetScaleInscript(const std::string& Value) {
  FLook.ScaleInscript = Value;
  Changed();
}

int TScaleProps::ScalePos() const {
  return FLook.ScaleType == sctYL || FLook.ScaleType == sctYR ? FVertOffset : FHorizOffset;
}

void TScaleProps::SetScalePos(int Value) {
  if (FLook.ScaleType == sctYL || FLook.ScaleType == sctYR)
    FVertOffset = Value;
  else
    FHorizOffset = Value;
  Changed();
}

void TScaleProps::SetUserTickText(const std::string& Value) {
  FLook.UserTickText = Value;
  Changed();
}

void TScaleProps::SetVisible(bool Value) {
  FVisible = Value;
  Changed();
}

void TScaleProps::SetScaleType(TScaleType Value) {
  FLook.ScaleType = Value;
  Changed();
}

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz Value) {
  FScaleLocation = Value;
  SetScaleTypeQuiet(Value == slTop ? sctXB : sctXT);
  Changed();
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert Value) {
  FScaleLocation = Value;
  SetScaleTypeQuiet(Value == slLeft ? sctYR : sctYL);
  Changed();
}

// ---- TBakGndImg ---------------------------------------------------------------

void TBakGndImg::Changed() {
  if (OnChange) OnChange(this);
}

void TBakGndImg::SetDefaults() {
  FName.clear();
  FIncludePath = false;
  FFillMode = bfStretch;
  FAreaMode = bamNone;
  FAreaColor = 14540253;
  FAreaLeft = -1.0;
  FAreaRight = 1.0;
  FAreaTop = 1.0;
  FAreaBottom = -1.0;
}

void TBakGndImg::Assign(const TPersistent& Source) {
  const auto* Src = dynamic_cast<const TBakGndImg*>(&Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  FName = Src->FName;
  FIncludePath = Src->FIncludePath;
  FFillMode = Src->FFillMode;
  FAreaMode = Src->FAreaMode;
  FAreaColor = Src->FAreaColor;
  FAreaLeft = Src->FAreaLeft;
  FAreaRight = Src->FAreaRight;
  FAreaTop = Src->FAreaTop;
  FAreaBottom = Src->FAreaBottom;
  OnChange = Src->OnChange;
}

void TBakGndImg::AssignTo(TPersistent& Dest) const {
  if (auto* D = dynamic_cast<TBakGndImg*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TBakGndImg::SetName(const std::string& Value) {
  FName = FIncludePath ? Value : ExtractFileName(Value);
  Changed();
}

void TBakGndImg::SetIncludePath(bool Value) {
  FIncludePath = Value;
  if (!Value) FName = ExtractFileName(FName);
  Changed();
}

void TBakGndImg::SetFillMode(TBkgFill Value) {
  FFillMode = Value;
  Changed();
}

void TBakGndImg::SetAreaMode(TBGAreaMode Value) {
  FAreaMode = Value;
  Changed();
}

void TBakGndImg::SetAreaColor(TColor Value) {
  FAreaColor = Value;
  Changed();
}

void TBakGndImg::SetAreaLeft(double Value) {
  FAreaLeft = Value;
  Changed();
}

void TBakGndImg::SetAreaRight(double Value) {
  FAreaRight = Value;
  Changed();
}

void TBakGndImg::SetAreaTop(double Value) {
  FAreaTop = Value;
  Changed();
}

void TBakGndImg::SetAreaBottom(double Value) {
  FAreaBottom = Value;
  Changed();
}

// ---- TJointLayers ---------------------------------------------------------------

TJointLayers::TJointLayers(TCustomVexa* Owner) : FOwner(Owner) { SetDefaults(); }

void TJointLayers::SetDefaults() {
  for (int I = 0; I < 16; ++I) {
    FX[static_cast<std::size_t>(I)] = I + 1;
    FY[static_cast<std::size_t>(I)] = I + 1;
  }
}

void TJointLayers::Assign(const TPersistent& Source) {
  const auto* Src = dynamic_cast<const TJointLayers*>(&Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  FX = Src->FX;
  FY = Src->FY;
  OnChange = Src->OnChange;
  FOwner = Src->FOwner;
}

void TJointLayers::AssignTo(TPersistent& Dest) const {
  if (auto* D = dynamic_cast<TJointLayers*>(&Dest)) {
    D->Assign(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

int TJointLayers::XControlledBy(int Layer) const {
  return Layer >= 1 && Layer <= 16 ? FX[static_cast<std::size_t>(Layer - 1)] : Layer;
}

int TJointLayers::YControlledBy(int Layer) const {
  return Layer >= 1 && Layer <= 16 ? FY[static_cast<std::size_t>(Layer - 1)] : Layer;
}

void TJointLayers::SetXControlledBy(int Layer, int Dest) { Join(FX, true, Layer, Dest); }

void TJointLayers::SetYControlledBy(int Layer, int Dest) { Join(FY, false, Layer, Dest); }

void TJointLayers::Join(std::array<int, 16>& Table, bool IsX, int Layer, int Dest) {
  if (Layer < 1 || Layer > 16) return;  // only the 32 published properties call this
  if (Dest < 1 || Dest > 16)
    throw EZKWVexaError("Destination layer " + std::to_string(Dest) + " is out of range");
  auto Entry = [&Table](int L) -> int& { return Table[static_cast<std::size_t>(L - 1)]; };
  if (Dest == Layer) {
    Entry(Layer) = Layer;
    return;
  }
  if (Entry(Dest) != Dest)
    throw EZKWVexaError("Destination layer " + std::to_string(Dest) + " is already joined");
  std::string Followers;
  for (int K = 1; K <= 16; ++K) {
    if (K != Layer && Entry(K) == Layer) Followers += (Followers.empty() ? "" : ", ") + std::to_string(K);
  }
  if (!Followers.empty())
    throw EZKWVexaError("Layer " + std::to_string(Layer) + " is joined by other layers (" + Followers + ")");
  Entry(Layer) = Dest;
  if (FOwner) CopyJoinedRange(*FOwner, Layer, IsX, Dest);
  if (OnChange) OnChange(this);
}

}  // namespace zkw
