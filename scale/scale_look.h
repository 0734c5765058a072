/// @file
/// TScaleLook: every setting a scale's paint reads, as one plain value.
///
/// The member initializers are the one table of scale defaults: a new TScale
/// starts with them, the stored defaults of its form registry name them, and
/// the chart's range objects (TScaleProps) start from them too, changing only
/// what a chart's axis shows differently (see TScaleProps::DefaultLook).
/// The date format and the label font are not here: they are published
/// objects with their own notifications, owned beside the look.
#pragma once

#include <string>

#include "base/enums.h"
#include "platform/graphics.h"

namespace zkw {

/// The control's own box around the scale: margins, background and frame.
/// A chart sets these for its internal scales itself (transparent, no frame,
/// margins from its plot), so copying a range object's look into a control
/// keeps the control's box.
struct TScaleBox {
  int MarginTop = 20;
  int MarginBottom = 20;
  int MarginLeft = 20;
  int MarginRight = 20;
  TColor ColorBackGnd = clBtnFace;
  TColorScheme ColorScheme = csBWG;
  TFrameStyle FrameStyle = fsLowered;
  /// The outline (changed only by copying) and the shadow and highlight that
  /// ColorScheme chooses.
  TColor FrameColor = clBlack;
  TColor FrameShadowColor = clGray;
  TColor FrameHighlightColor = clWhite;
  bool ShowBaseLine = true;
  bool Transparent = false;

  bool operator==(const TScaleBox&) const = default;
};

/// What the axis shows: range, ticks, labels and caption.
struct TScaleLook {
  std::string Caption;
  int CaptionPosX = 4;
  int CaptionPosY = 4;
  TAlignment CaptionAlignment = taCenter;
  TScaleUnitAnchor CaptionAnchor = uaSclTopLft;
  TColor ColorScale = clBlack;
  int DecPlaces = -2;  ///< -3..12; negative: chosen from the tick distance
  TFigType LabelType = ftNum;
  bool Logarithmic = false;
  int MinTicks = 3;
  double RangeLow = 0;
  double RangeHigh = 100;
  bool ShortTicks = true;
  std::string ScaleInscript;
  TScaleType ScaleType = sctXB;
  std::string UserTickText;
  TScaleBox Box;

  bool operator==(const TScaleLook&) const = default;
};

}  // namespace zkw
