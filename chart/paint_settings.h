// The paint-settings value: every chart setting a paint reads, as one plain
// value the chart builds once per paint and hands to the render pipeline.
// Two equal values draw the same pixels from the same items; the kept data
// image relies on that for its data part (TDataPaintSettings), so a setting
// added here is taken into account there without further work.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/ZKW_zkwbase.h"
#include "chart/chart_settings.h"
#include "chart/layers.h"
#include "chart/render_grid.h"
#include "platform/graphics.h"

namespace zkw {

class TBakGndImg;

constexpr int CrossHairCount = 4;
constexpr int TextLabelCount = 50;

// A font by value: two fonts with equal keys draw the same pixels.
struct TFontKey {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TColor Color = clWindowText;
  std::uint32_t Style = 0;
  int PixelsPerInch = 96;
  TFontCharset Charset = DEFAULT_CHARSET;

  bool operator==(const TFontKey&) const = default;
  static TFontKey Of(const TFont& Font);
  // Gives Font exactly these values.
  void ApplyTo(TFont& Font) const;
  TFont ToFont() const;
};

// The plot background: a picture file, or the chart colour with an area.
struct TBackgroundLook {
  std::string Picture;  // file name; empty for none
  TBkgFill FillMode = bfStretch;
  TBGAreaMode AreaMode = bamNone;
  TColor AreaColor = 0;
  double AreaLeft = 0.0;
  double AreaTop = 0.0;
  double AreaRight = 0.0;
  double AreaBottom = 0.0;

  bool operator==(const TBackgroundLook&) const = default;
  static TBackgroundLook Of(const TBakGndImg& Image);
};

struct TCrossHairLook {
  double PosX = 0.0;
  double PosY = 0.0;
  int Layer = 1;
  TCrossHMode Mode = chOff;
  TColor Color = 0;
  TPenStyle LineType = psSolid;
  int LineWid = 1;

  bool operator==(const TCrossHairLook&) const = default;
  static TCrossHairLook Of(const TCrossHair& CrossHair);
};

struct TTextLabelLook {
  double PosX = 0.0;
  double PosY = 0.0;
  int Layer = 1;
  TTxtLblAttachMode AttachToData = tlamNone;
  TTxtLblMode Mode = tlOff;
  bool Visible = false;
  std::string Caption;
  TFontKey Font;
  TColor ColorBkg = clSilver;
  TColor ColorBorder = clBlack;
  TColor ColorShadow = clGray;
  int ShadowDx = 0;
  int ShadowDy = 0;
  bool Transparent = false;
  TAlignment Alignment = taCenter;
  TVerticalAlignment VerticalAlignment = vaBottom;

  bool operator==(const TTextLabelLook&) const = default;
  static TTextLabelLook Of(const TCustomTextLabel& Label);
};

// Everything the data image shows up to and including its data items, apart
// from the items themselves and the canvas state a pass starts with.
struct TDataPaintSettings {
  TPlotGeometry Geometry;
  TPlotLook Look;
  TBackgroundLook Background;
  TFontKey TextFont;  // of the text items
  std::array<TLayerTransform, LayerCount> Transforms{};
  std::array<TAxisRange, LayerCount> XRanges{};
  std::array<TAxisRange, LayerCount> YRanges{};
  // The current layer's grid axes (the ticks of its scales' latest paint).
  TGridAxis GridX;
  TGridAxis GridY;

  bool operator==(const TDataPaintSettings&) const = default;
  const TLayerTransform& Transform(int Layer) const {
    return Transforms[static_cast<std::size_t>(ClampLayer(Layer) - 1)];
  }
};

struct TChartPaintSettings {
  TDataPaintSettings Data;
  TFrameLook Frame;
  TFontKey Font;  // the chart's font: caption
  std::array<TCrossHairLook, CrossHairCount> CrossHairs{};
  std::array<TTextLabelLook, TextLabelCount> Labels{};

  bool operator==(const TChartPaintSettings&) const = default;
};

}  // namespace zkw
