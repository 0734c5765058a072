// The nearest-item search over an item store: the item that lies closest on
// the screen to a point, by kind and class filter.
#pragma once

#include <cstdint>

#include "chart/chart_item.h"
#include "chart/layers.h"

namespace zkw {

// Squared distance used when nothing qualifies; Distance is then its root.
constexpr double NoItemSquaredDistance = 1.7e308;

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
