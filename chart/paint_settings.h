/// @file
/// The paint-settings value: every chart setting a paint reads, as one plain
/// value the chart builds once per paint and hands to the render pipeline.
/// Two equal values draw the same pixels from the same items; the kept data
/// image relies on that for its data part (TDataPaintSettings), so a setting
/// added here is taken into account there without further work.
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

/// The number of crosshairs of a chart.
constexpr int CrossHairCount = 4;
/// The number of text labels of a chart.
constexpr int TextLabelCount = 50;

/// A font by value: two fonts with equal keys draw the same pixels.
struct TFontKey {
  /// The values of a TFont, as it holds them.
  ///@{
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TColor Color = clWindowText;
  std::uint32_t Style = 0;
  int PixelsPerInch = 96;
  TFontCharset Charset = DEFAULT_CHARSET;
  ///@}

  /// Equal keys draw the same pixels.
  bool operator==(const TFontKey&) const = default;
  /// The key of Font.
  static TFontKey Of(const TFont& Font);
  /// Gives Font exactly these values.
  void ApplyTo(TFont& Font) const;
  /// A font with exactly these values.
  TFont ToFont() const;
};

/// The plot background: a picture file, or the chart colour with an area.
struct TBackgroundLook {
  std::string Picture;  ///< file name; empty for none
  /// How the picture fills the plot, and the area drawn in AreaColor from
  /// (AreaLeft, AreaTop) to (AreaRight, AreaBottom) in world coordinates of the
  /// current layer, as TBakGndImg holds them.
  ///@{
  TBkgFill FillMode = bfStretch;
  TBGAreaMode AreaMode = bamNone;
  TColor AreaColor = 0;
  double AreaLeft = 0.0;
  double AreaTop = 0.0;
  double AreaRight = 0.0;
  double AreaBottom = 0.0;
  ///@}

  /// Equal values draw the same background.
  bool operator==(const TBackgroundLook&) const = default;
  /// The values of Image.
  static TBackgroundLook Of(const TBakGndImg& Image);
};

/// A crosshair's settings by value (see TCrossHair); a default value is a
/// new chart's crosshair.
struct TCrossHairLook {
  /// Position (world coordinates of Layer), shape, colour, pen style and width,
  /// as TCrossHair holds them.
  ///@{
  double PosX = TChartCrossHairDefaults{}.PosX;
  double PosY = TChartCrossHairDefaults{}.PosY;
  int Layer = 1;  ///< crosshair 1's; crosshair N starts on layer N
  TCrossHMode Mode = TChartCrossHairDefaults{}.Mode;
  TColor Color = TChartCrossHairDefaults{}.Color;
  TPenStyle LineType = TChartCrossHairDefaults{}.LineType;
  int LineWid = TChartCrossHairDefaults{}.LineWid;
  ///@}

  /// Equal values draw the same crosshair.
  bool operator==(const TCrossHairLook&) const = default;
  /// The values of CrossHair.
  static TCrossHairLook Of(const TCrossHair& CrossHair);
};

/// A text label's settings by value (see TCustomTextLabel); a default value
/// is a new chart's label.
struct TTextLabelLook {
  /// Position, attachment, style, text, font, colours, shadow and alignment, as
  /// TCustomTextLabel holds them.
  ///@{
  double PosX = TChartTextLabelDefaults{}.PosX;
  double PosY = TChartTextLabelDefaults{}.PosY;
  int Layer = TChartTextLabelDefaults{}.Layer;
  TTxtLblAttachMode AttachToData = TChartTextLabelDefaults{}.AttachToData;
  TTxtLblMode Mode = TChartTextLabelDefaults{}.Mode;
  bool Visible = TChartTextLabelDefaults{}.Visible;
  std::string Caption;
  TFontKey Font;  ///< the chart's font
  TColor ColorBkg = TChartTextLabelDefaults{}.ColorBkg;
  TColor ColorBorder = TChartTextLabelDefaults{}.ColorBorder;
  TColor ColorShadow = TChartTextLabelDefaults{}.ColorShadow;
  int ShadowDx = TChartTextLabelDefaults{}.ShadowDx;
  int ShadowDy = TChartTextLabelDefaults{}.ShadowDy;
  bool Transparent = TChartTextLabelDefaults{}.Transparent;
  TAlignment Alignment = TChartTextLabelDefaults{}.Alignment;
  TVerticalAlignment VerticalAlignment = TChartTextLabelDefaults{}.VerticalAlignment;
  ///@}

  /// Equal values draw the same label.
  bool operator==(const TTextLabelLook&) const = default;
  /// The values of Label.
  static TTextLabelLook Of(const TCustomTextLabel& Label);
};

/// Everything the data image shows up to and including its data items, apart
/// from the items themselves and the canvas state a pass starts with.
struct TDataPaintSettings {
  /// Where the plot area lies in the control.
  TPlotGeometry Geometry;
  /// The plot area's plain settings (colours, grid, line width, visibility).
  TPlotLook Look;
  /// The picture behind the plot.
  TBackgroundLook Background;
  TFontKey TextFont;  ///< of the text items
  /// The transforms of the 16 layers.
  std::array<TLayerTransform, LayerCount> Transforms{};
  /// The x and y ranges of the 16 layers.
  ///@{
  std::array<TAxisRange, LayerCount> XRanges{};
  std::array<TAxisRange, LayerCount> YRanges{};
  ///@}
  /// The current layer's grid axes (the ticks of its scales' latest paint).
  ///@{
  TGridAxis GridX;
  TGridAxis GridY;
  ///@}

  /// Equal values draw the same data image from the same items.
  bool operator==(const TDataPaintSettings&) const = default;
  /// The transform of a layer (clamped into 1..16).
  const TLayerTransform& Transform(int Layer) const {
    return Transforms[static_cast<std::size_t>(ClampLayer(Layer) - 1)];
  }
};

/// Every setting a paint of the whole chart reads (see TCustomVexa::PaintSettings).
struct TChartPaintSettings {
  /// What the data image shows.
  TDataPaintSettings Data;
  /// What the area around the plot shows.
  TFrameLook Frame;
  TFontKey Font;  ///< the chart's font: caption
  /// The crosshairs 1..4.
  std::array<TCrossHairLook, CrossHairCount> CrossHairs{};
  /// The text labels 1..50.
  std::array<TTextLabelLook, TextLabelCount> Labels{};

  /// Equal values paint the same chart from the same items.
  bool operator==(const TChartPaintSettings&) const = default;
};

}  // namespace zkw
