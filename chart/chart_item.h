/// @file
/// The chart item record and its kind values. A chart never draws when a
/// command is issued: each command appends one of these fixed-layout records,
/// and the renderer, the nearest-item search and the host (through
/// OnBeforeRenderChartItem) all read the same record later.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/graphics.h"

namespace zkw {

/// Text of up to 17 characters kept inside the record itself (a length byte
/// followed by the characters), so that short texts need no long-text entry.
struct TShortText {
  static constexpr int MaxLength = 17;  ///< the most characters kept
  std::uint8_t Length = 0;              ///< characters in use
  char Chars[MaxLength] = {};           ///< the characters, zero-filled after Length

  /// Keeps the first MaxLength bytes of Text.
  void Set(const std::string& Text) {
    Length = static_cast<std::uint8_t>(std::min<std::size_t>(Text.size(), MaxLength));
    std::memset(Chars, 0, sizeof Chars);
    std::memcpy(Chars, Text.data(), Length);
  }
  /// The text kept.
  std::string Get() const { return std::string(Chars, std::min<int>(Length, MaxLength)); }
};

/// One stored drawing command. The fields and their order are fixed: hosts and
/// the renderer rely on them. Per-kind meanings of X2, Y2, Size1, Size2,
/// MarkType, Flag and FrameStyle follow the commands of chart/vexa.h that
/// store them (chart/drawing_commands.cpp).
struct TvxChartItem {
  double X = 0;   ///< first point
  double Y = 0;   ///< first point
  double X2 = 0;  ///< second point of two-point kinds, otherwise per kind
  double Y2 = 0;  ///< second point of two-point kinds, otherwise per kind
  TColor Color = 0;      ///< pen colour; text colour of text kinds
  TColor FillColor = 0;  ///< brush colour of filled kinds
  TColor Color2 = 0;     ///< first edge colour of three-dimensional frames
  TColor Color3 = 0;     ///< second edge colour of three-dimensional frames
  TPenStyle PenStyle = psSolid;  ///< pen style
  std::int32_t Reserved = 0;   ///< always 0; nothing reads it
  std::int32_t LineWidth = 0;  ///< pen width; for text kinds a long-text index (below 1: ShortText)
  std::uint8_t ItemClass = 0;  ///< user class 0..255
  std::uint8_t Kind = 0;       ///< one of the ck* values below
  std::int32_t Layer = 0;      ///< 1..16
  bool Flag = false;           ///< filled kinds: transparent body; arrows: open heads
  std::uint8_t FrameStyle = 0;  ///< a TFrameStyle value for ckRect3D
  TShortText ShortText;  ///< the text of text kinds when it is short enough
  std::int32_t Size1 = 0;  ///< per kind: font size, head size, half width, angle, ...
  std::int32_t Size2 = 0;  ///< per kind: solid text background, half height, depth, ...
  std::int32_t MarkType = 0;  ///< mark symbol; text alignment of text kinds (0 left, 1 right, 2 centre)
  std::uint8_t CoordMode = 0;  ///< one of the cm* values below
};
static_assert(std::is_trivially_copyable_v<TvxChartItem>);

/// The element array of an item store; its length is the store's capacity.
using TVxItemContainer = std::vector<TvxChartItem>;

/// Item kinds (values of TvxChartItem::Kind). 0, 10 and 11 are never stored:
/// 10 and 11 are the wildcards of the nearest-item search.
///@{
constexpr std::uint8_t ckMark = 1;
constexpr std::uint8_t ckLine = 2;
constexpr std::uint8_t ckDrawTo = 3;
constexpr std::uint8_t ckRect = 4;
constexpr std::uint8_t ckRect3D = 5;
constexpr std::uint8_t ckBar3D = 6;
constexpr std::uint8_t ckText = 7;
constexpr std::uint8_t ckMoveTo = 8;
constexpr std::uint8_t ckEllipse = 9;
constexpr std::uint8_t ckMoveRel = 12;
constexpr std::uint8_t ckDrawRel = 13;
constexpr std::uint8_t ckArrow = 14;
constexpr std::uint8_t ckArrow2 = 15;
constexpr std::uint8_t ckTextOffs = 16;
constexpr std::uint8_t ckBox = 17;
constexpr std::uint8_t ckErrorBar = 18;
constexpr std::uint8_t ckLineOffs = 19;
constexpr std::uint8_t ckArc = 20;
constexpr std::uint8_t ckLineRel = 21;
constexpr std::uint8_t ckVLine = 22;
constexpr std::uint8_t ckHLine = 23;
constexpr std::uint8_t ckCross = 24;
///@}
/// Number of per-kind counters (kinds 0..24).
constexpr int ItemKindCount = 25;

/// The kinds that draw a text (the renderer sets no pen width for them, and
/// annotation texts are drawn after the other annotations).
constexpr bool IsTextKind(std::uint8_t Kind) { return Kind == ckText || Kind == ckTextOffs; }

/// Coordinate modes (values of TvxChartItem::CoordMode): which coordinates are
/// world coordinates of the item's layer and which are pixels from the plot
/// rectangle's top-left corner.
///@{
constexpr std::uint8_t cmWorld = 0;
constexpr std::uint8_t cmPixel = 1;
constexpr std::uint8_t cmWorldPixel = 2;
constexpr std::uint8_t cmPixelWorld = 3;
constexpr std::uint8_t cmPixelX = 4;
constexpr std::uint8_t cmPixelY = 5;
///@}

/// Search wildcards of FindNearestItem.
///@{
constexpr std::uint8_t KindFilterNone = 0;
constexpr std::uint8_t KindFilterAll = 10;
constexpr std::uint8_t KindFilterAllButMoveTo = 11;
constexpr std::uint8_t ClassFilterAll = 255;
///@}

}  // namespace zkw
