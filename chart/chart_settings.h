// The chart's plain published values, grouped by who reads them, with their
// values after creation as the member initializers. This is the one table of
// defaults: construction and SetDefaults assign these structs, the property
// registry takes its stored defaults from them (so the form writer omits
// exactly the values a new chart already has), and Assign copies them whole.
//
// Adding a visual setting: a member here (in TPlotLook when the data image
// shows it, in TFrameLook when the outer area does), its getter and setter in
// chart/vexa.h with a registry entry naming the member as its default, and the
// code that draws it. The paint reads it through TChartPaintSettings, and the
// kept data image notices a change of a TPlotLook member by itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/ZKW_zkwbase.h"
#include "chart/item_store.h"
#include "chart/layers.h"
#include "platform/graphics.h"

namespace zkw {

// What the plot area (the data image) shows besides the items.
struct TPlotLook {
  TColor ChartColor = clWhite;
  TColor ChartFrameColor = clBlack;
  GridStyleType GridStyle = gsNone;
  double GridDx = 0.0;
  double GridDy = 0.0;
  TColor GridColor = clBlack;
  // The pen width a pass starts with (also captured by the drawing commands).
  std::uint8_t LineWidth = 1;
  bool AvoidDuplicateMarks = false;
  int MinDupMarkDist = 1;
  // Layer of the grid, the background area and the mouse trace (and of new
  // items and mouse positions).
  int CurrentLayer = 1;
  std::array<bool, LayerCount> LayerVisible = AllOn<LayerCount>();
  std::array<bool, 256> DataClassVisible = AllOn<256>();
  std::array<bool, 256> AnnotationClassVisible = AllOn<256>();

  bool operator==(const TPlotLook&) const = default;

 private:
  template <std::size_t N>
  static constexpr std::array<bool, N> AllOn() {
    std::array<bool, N> A{};
    for (bool& B : A) B = true;
    return A;
  }
};

// What the area around the plot shows: margins, shadow, window colour, caption.
// The margins and the caption's placement are those of the standard layout
// vxl_X1Bottom_Y1Left, which a new chart applies.
struct TFrameLook {
  int MarginLeft = 50;
  int MarginRight = 20;
  int MarginTop = 20;
  int MarginBottom = 40;
  int ShadowWidth = 0;
  TShadowStyle ShadowStyle = ssFlying;
  TColor ShadowColor = clGrayText;
  TColor ShadowBakColor = clBtnFace;
  TColor WindColor = clBtnFace;
  std::string Caption;
  int CaptionPosX = 0;
  int CaptionPosY = -16;
  TAlignment CaptionAlignment = taRightJustify;
  TCaptionAnchorHoriz CaptionAnchorHoriz = cahChartRight;
  TCaptionAnchorVert CaptionAnchorVert = cavChartTop;
  int CaptionTrim = 100;

  bool operator==(const TFrameLook&) const = default;
};

// Values no paint reads: the attributes drawing commands capture into new
// items, and how the chart behaves.
struct TChartConduct {
  TColor DataColor = clBlack;
  TPenStyle PenStyle = psSolid;
  TColor FillColor = clSilver;
  TTextBkg TextBkStyle = tbClear;
  TAlignment TextAlignment = taCenter;
  std::uint8_t ClassDefault = 0;
  bool AnnotationMode = false;
  int AllocSize = DefaultAllocSize;
  bool AutoRedraw = true;
  bool Isometric = false;
  TvxLayout StandardLayout = vxl_X1Bottom_Y1Left;
  TColor MouseTraceColor = clWhite;
  bool MouseTraceInvert = true;
  TMouseActMode MouseAction = maNone;
  bool MouseCursorFixed = true;
  bool WheelZoom = false;
  double PanGridDx = 1.0;
  double PanGridDy = 1.0;
  double PanGridOffsX = 0.0;
  double PanGridOffsY = 0.0;

  bool operator==(const TChartConduct&) const = default;
};

}  // namespace zkw
