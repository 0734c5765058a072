/// @file
/// Named views of the item record per kind. TvxChartItem keeps one fixed
/// layout for every kind, so X2, Y2, Size1, Size2, Flag and MarkType mean
/// different things from kind to kind (a second point, radii, pixel offsets,
/// a head size, angles, ...). A view names the fields of one kind: the drawing
/// commands write through it and the renderer reads through it, and both say
/// what they mean. A view only refers to the record's own fields; it adds no
/// storage and changes nothing of the record.
///
/// A view of a const record refers to const fields, so the renderer cannot
/// write by mistake.
#pragma once

#include <cstdint>
#include <type_traits>

#include "chart/chart_item.h"

namespace zkw {

namespace item_views_detail {

template <class TItem>
concept ChartItem = std::is_same_v<std::remove_const_t<TItem>, TvxChartItem>;

// A field of TItem: const when the record is.
template <class TItem, class TField>
using TFieldRef = std::conditional_t<std::is_const_v<TItem>, const TField&, TField&>;

}  // namespace item_views_detail

/// ckText and ckTextOffs.
template <class TItem>
struct TTextView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<double> OffsetX;           ///< ckTextOffs: pixels right of the point (X2)
  Ref<double> OffsetY;           ///< ckTextOffs: pixels down from the point (Y2)
  Ref<std::int32_t> LongText;    ///< long-text index, below 1: ShortText (LineWidth)
  Ref<std::int32_t> FontSize;    ///< points (Size1)
  Ref<std::int32_t> Background;  ///< low byte not 0: solid background (Size2)
  Ref<std::int32_t> Alignment;   ///< 0 left, 1 right, 2 centred (MarkType)

  bool SolidBackground() const { return (Background & 0xFF) != 0; }
};
template <item_views_detail::ChartItem TItem>
TTextView<TItem> AsText(TItem& Item) {
  return {Item.X2, Item.Y2, Item.LineWidth, Item.Size1, Item.Size2, Item.MarkType};
}

/// ckRect.
template <class TItem>
struct TRectView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<bool> Transparent;  ///< no body, frame only (Flag)
};
template <item_views_detail::ChartItem TItem>
TRectView<TItem> AsRect(TItem& Item) {
  return {Item.Flag};
}

/// ckBar3D.
template <class TItem>
struct TBar3DView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<std::int32_t> Angle;  ///< degrees of the depth direction (Size1)
  Ref<std::int32_t> Depth;  ///< pixels (Size2)
};
template <item_views_detail::ChartItem TItem>
TBar3DView<TItem> AsBar3D(TItem& Item) {
  return {Item.Size1, Item.Size2};
}

/// ckEllipse: centre X, Y.
template <class TItem>
struct TEllipseView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<double> RadiusX;    ///< world units (X2)
  Ref<double> RadiusY;    ///< world units (Y2)
  Ref<bool> Transparent;  ///< no body, outline only (Flag)
};
template <item_views_detail::ChartItem TItem>
TEllipseView<TItem> AsEllipse(TItem& Item) {
  return {Item.X2, Item.Y2, Item.Flag};
}

/// ckArc: centre X, Y.
template <class TItem>
struct TArcView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<double> RadiusX;           ///< world units (X2)
  Ref<double> RadiusY;           ///< world units (Y2)
  Ref<std::int32_t> StartAngle;  ///< units of 1e-8 radian (Size1)
  Ref<std::int32_t> EndAngle;    ///< units of 1e-8 radian (Size2)
};
template <item_views_detail::ChartItem TItem>
TArcView<TItem> AsArc(TItem& Item) {
  return {Item.X2, Item.Y2, Item.Size1, Item.Size2};
}

/// ckArrow and ckArrow2: from X, Y to X2, Y2.
template <class TItem>
struct TArrowView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<std::int32_t> HeadSize;  ///< pixels, below 1: no head (Size1)
  Ref<bool> OpenHeads;         ///< two strokes instead of a filled triangle (Flag)
};
template <item_views_detail::ChartItem TItem>
TArrowView<TItem> AsArrow(TItem& Item) {
  return {Item.Size1, Item.Flag};
}

/// ckBox: centre X, Y.
template <class TItem>
struct TBoxView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<std::int32_t> HalfWidth;   ///< pixels (Size1)
  Ref<std::int32_t> HalfHeight;  ///< pixels (Size2)
  Ref<bool> Transparent;         ///< no body, frame only (Flag)
};
template <item_views_detail::ChartItem TItem>
TBoxView<TItem> AsBox(TItem& Item) {
  return {Item.Size1, Item.Size2, Item.Flag};
}

/// ckErrorBar: the value X, Y and its mark.
template <class TItem>
struct TErrorBarView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<double> ErrLow;           ///< world units below the value (X2)
  Ref<double> ErrHigh;          ///< world units above the value (Y2)
  Ref<std::int32_t> Direction;  ///< not 0: horizontal bar (Size1)

  bool Horizontal() const { return Direction != 0; }
};
template <item_views_detail::ChartItem TItem>
TErrorBarView<TItem> AsErrorBar(TItem& Item) {
  return {Item.X2, Item.Y2, Item.Size1};
}

/// ckLineOffs: from X, Y to X2, Y2, both moved by a pixel offset.
template <class TItem>
struct TLineOffsView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<std::int32_t> OffsetX;  ///< pixels (Size1)
  Ref<std::int32_t> OffsetY;  ///< pixels (Size2)
};
template <item_views_detail::ChartItem TItem>
TLineOffsView<TItem> AsLineOffs(TItem& Item) {
  return {Item.Size1, Item.Size2};
}

/// ckLineRel: from the world point X, Y by a step in pixels.
template <class TItem>
struct TLineRelView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<double> DX;  ///< pixels (X2)
  Ref<double> DY;  ///< pixels, down (Y2)
};
template <item_views_detail::ChartItem TItem>
TLineRelView<TItem> AsLineRel(TItem& Item) {
  return {Item.X2, Item.Y2};
}

/// ckCross: centre X, Y.
template <class TItem>
struct TCrossView {
  template <class TField>
  using Ref = item_views_detail::TFieldRef<TItem, TField>;

  Ref<double> HalfWidth;   ///< world units; pixels in cmPixel, cmWorldPixel (X2)
  Ref<double> HalfHeight;  ///< as HalfWidth (Y2)
};
template <item_views_detail::ChartItem TItem>
TCrossView<TItem> AsCross(TItem& Item) {
  return {Item.X2, Item.Y2};
}

}  // namespace zkw
