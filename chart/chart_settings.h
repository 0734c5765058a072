/// @file
/// The chart's plain published values, grouped by who reads them, with their
/// values after creation as the member initializers. This is the one table of
/// defaults: construction and SetDefaults assign these structs, the property
/// registry takes its stored defaults from them (so the form writer omits
/// exactly the values a new chart already has), and Assign copies them whole.
///
/// Adding a visual setting: a member here (in TPlotLook when the data image
/// shows it, in TFrameLook when the outer area does), its getter and setter in
/// chart/vexa.h with a registry entry naming the member as its default, and the
/// code that draws it. The paint reads it through TChartPaintSettings, and the
/// kept data image notices a change of a TPlotLook member by itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/ZKW_zkwbase.h"
#include "chart/item_store.h"
#include "chart/layers.h"
#include "platform/graphics.h"

namespace zkw {

/// What the plot area (the data image) shows besides the items.
struct TPlotLook {
  TColor ChartColor = clWhite;  ///< see TCustomVexa::ChartColor
  TColor ChartFrameColor = clBlack;  ///< see TCustomVexa::ChartFrameColor
  GridStyleType GridStyle = gsNone;  ///< see TCustomVexa::GridStyle
  double GridDx = 0.0;  ///< see TCustomVexa::GridDx
  double GridDy = 0.0;  ///< see TCustomVexa::GridDy
  TColor GridColor = clBlack;  ///< see TCustomVexa::GridColor
  /// The pen width a pass starts with (also captured by the drawing commands).
  std::uint8_t LineWidth = 1;
  bool AvoidDuplicateMarks = false;  ///< see TCustomVexa::AvoidDuplicateMarks
  int MinDupMarkDist = 1;  ///< see TCustomVexa::MinDupMarkDist
  /// Layer of the grid, the background area and the mouse trace (and of new
  /// items and mouse positions).
  int CurrentLayer = 1;
  std::array<bool, LayerCount> LayerVisible = AllOn<LayerCount>();  ///< see TCustomVexa::LayerVisible
  std::array<bool, 256> DataClassVisible = AllOn<256>();  ///< see TCustomVexa::ClassVisible
  std::array<bool, 256> AnnotationClassVisible = AllOn<256>();  ///< see TCustomVexa::ClassVisible

  /// Memberwise: equal values behave and paint alike.
  bool operator==(const TPlotLook&) const = default;

 private:
  template <std::size_t N>
  static constexpr std::array<bool, N> AllOn() {
    std::array<bool, N> A{};
    for (bool& B : A) B = true;
    return A;
  }
};

/// What the area around the plot shows: margins, shadow, window colour, caption.
/// The margins and the caption's placement are those of the standard layout
/// vxl_X1Bottom_Y1Left, which a new chart applies.
struct TFrameLook {
  int MarginLeft = 50;  ///< see TCustomVexa::MarginLeft
  int MarginRight = 20;  ///< see TCustomVexa::MarginRight
  int MarginTop = 20;  ///< see TCustomVexa::MarginTop
  int MarginBottom = 40;  ///< see TCustomVexa::MarginBottom
  int ShadowWidth = 0;  ///< see TCustomVexa::ShadowWidth
  TShadowStyle ShadowStyle = ssFlying;  ///< see TCustomVexa::ShadowStyle
  TColor ShadowColor = clGrayText;  ///< see TCustomVexa::ShadowColor
  TColor ShadowBakColor = clBtnFace;  ///< see TCustomVexa::ShadowBakColor
  TColor WindColor = clBtnFace;  ///< see TCustomVexa::WindColor
  std::string Caption;  ///< see TCustomVexa::Caption
  int CaptionPosX = 0;  ///< see TCustomVexa::CaptionPosX
  int CaptionPosY = -16;  ///< see TCustomVexa::CaptionPosY
  TAlignment CaptionAlignment = taRightJustify;  ///< see TCustomVexa::CaptionAlignment
  TCaptionAnchorHoriz CaptionAnchorHoriz = cahChartRight;  ///< see TCustomVexa::CaptionAnchorHoriz
  TCaptionAnchorVert CaptionAnchorVert = cavChartTop;  ///< see TCustomVexa::CaptionAnchorVert
  int CaptionTrim = 100;  ///< see TCustomVexa::CaptionTrim

  /// Memberwise: equal values behave and paint alike.
  bool operator==(const TFrameLook&) const = default;
};

/// Values no paint reads: the attributes drawing commands capture into new
/// items, and how the chart behaves.
struct TChartConduct {
  TColor DataColor = clBlack;  ///< see TCustomVexa::DataColor
  TPenStyle PenStyle = psSolid;  ///< see TCustomVexa::PenStyle
  TColor FillColor = clSilver;  ///< see TCustomVexa::FillColor
  TTextBkg TextBkStyle = tbClear;  ///< see TCustomVexa::TextBkStyle
  TAlignment TextAlignment = taCenter;  ///< see TCustomVexa::TextAlignment
  std::uint8_t ClassDefault = 0;  ///< see TCustomVexa::ClassDefault
  bool AnnotationMode = false;  ///< see TCustomVexa::AnnotationMode
  int AllocSize = DefaultAllocSize;  ///< see TCustomVexa::AllocSize
  bool AutoRedraw = true;  ///< see TCustomVexa::AutoRedraw
  bool Isometric = false;  ///< see TCustomVexa::Isometric
  TvxLayout StandardLayout = vxl_X1Bottom_Y1Left;  ///< see TCustomVexa::StandardLayout
  TColor MouseTraceColor = clWhite;  ///< see TCustomVexa::MouseTraceColor
  bool MouseTraceInvert = true;  ///< see TCustomVexa::MouseTraceInvert
  TMouseActMode MouseAction = maNone;  ///< see TCustomVexa::MouseAction
  bool MouseCursorFixed = true;  ///< see TCustomVexa::MouseCursorFixed
  bool WheelZoom = false;  ///< see TCustomVexa::WheelZoom
  double PanGridDx = 1.0;  ///< see TCustomVexa::PanGridDx
  double PanGridDy = 1.0;  ///< see TCustomVexa::PanGridDy
  double PanGridOffsX = 0.0;  ///< see TCustomVexa::PanGridOffsX
  double PanGridOffsY = 0.0;  ///< see TCustomVexa::PanGridOffsY

  /// Memberwise: equal values behave and paint alike.
  bool operator==(const TChartConduct&) const = default;
};

}  // namespace zkw
