// The nearest-item search over an item store: the item that lies closest on
// the screen to a point, by kind and class filter. This is the plain linear
// search; chart/nearest_index.h answers the same question faster for charts
// that search many times between changes.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "chart/chart_item.h"
#include "chart/layers.h"

namespace zkw {

// Squared distance used when nothing qualifies; Distance is then its root.
constexpr double NoItemSquaredDistance = 1.7e308;

// Entry K tells whether items of kind K pass KindFilter (0 none, 10 every
// kind, 11 every kind but ckMoveTo, else that kind).
using TKindTable = std::array<bool, 256>;
TKindTable KindFilterTable(std::uint8_t KindFilter);

// Whether Item passes the kind table, the class filter (255 every class) and,
// when LayerVisible is given (16 flags for layers 1..16), its layer's flag.
inline bool ItemQualifies(const TvxChartItem& Item, const TKindTable& KindOk, std::uint8_t ClassFilter,
                          const bool* LayerVisible) {
  if (!KindOk[Item.Kind]) return false;
  if (LayerVisible != nullptr && !LayerVisible[ClampLayer(Item.Layer) - 1]) return false;
  return ClassFilter == ClassFilterAll || Item.ItemClass == ClassFilter;
}

// The squared distance between two pixels as the search measures it: summed
// in extended precision (exact for every pair of 32-bit pixels' squares),
// then rounded to a double.
inline double PixelDistance2(std::int64_t IX, std::int64_t IY, std::int64_t MX, std::int64_t MY) {
  const std::int64_t DX = IX - MX, DY = IY - MY;
  // Offsets below 2^31 either way (every pair within the plot and far
  // beyond): the sum stays below 2^63, exact in integers, and is rounded once
  // as the wide sum would be. The wide arithmetic costs several times more
  // per item.
  constexpr std::uint64_t Reach = (std::uint64_t{1} << 31) - 1;
  if (static_cast<std::uint64_t>(DX) + Reach <= 2 * Reach && static_cast<std::uint64_t>(DY) + Reach <= 2 * Reach)
    return static_cast<double>(DX * DX + DY * DY);
  const Extended WX = static_cast<Extended>(DX);
  const Extended WY = static_cast<Extended>(DY);
  return static_cast<double>(WX * WX + WY * WY);
}

// Continues a search over Items[Begin..End-1] in ascending order: an item
// replaces (Best, Found) only when its squared distance is strictly below
// Best, so among equally near items the first one met stays.
void ScanNearest(const TvxChartItem* Items, int Begin, int End, const TLayerTransform& Transform, int MX, int MY,
                 const TKindTable& KindOk, std::uint8_t ClassFilter, const bool* LayerVisible, double& Best,
                 int& Found);

// Searches Items[0..Count-1] for the item nearest to the pixel (MX, MY).
// Every item is placed with Transform (its own Layer and CoordMode are not
// consulted). KindFilter: 0 none, 10 every kind, 11 every kind but ckMoveTo,
// else that kind; ClassFilter: 255 every class, else that class. When
// LayerVisible is given (16 flags for layers 1..16), items of hidden layers
// do not qualify. Distances are between rounded pixels; among equally near
// items the lowest index wins. Returns -1 and the root of 1.7e308 when no item
// qualifies. Allocates nothing.
int FindNearestInStore(const TvxChartItem* Items, int Count, const TLayerTransform& Transform, int MX, int MY,
                       std::uint8_t KindFilter, std::uint8_t ClassFilter, const bool* LayerVisible,
                       double& Distance);

}  // namespace zkw
