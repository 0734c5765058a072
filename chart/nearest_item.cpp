#include "chart/nearest_item.h"

#include <array>

namespace zkw {

int FindNearestInStore(const TvxChartItem* Items, int Count, const TLayerTransform& Transform, int MX, int MY,
                       std::uint8_t KindFilter, std::uint8_t ClassFilter, const bool* LayerVisible,
                       double& Distance) {
  double Best = NoItemSquaredDistance;
  int Found = -1;
  if (KindFilter != KindFilterNone && Items != nullptr) {
    // One table lookup per item instead of re-deciding the filter.
    std::array<bool, 256> KindOk{};
    if (KindFilter == KindFilterAll || KindFilter == KindFilterAllButMoveTo) {
      KindOk.fill(true);
      if (KindFilter == KindFilterAllButMoveTo) KindOk[ckMoveTo] = false;
    } else {
      KindOk[KindFilter] = true;
    }
    const bool AnyClass = ClassFilter == ClassFilterAll;
    for (int I = 0; I < Count; ++I) {
      const TvxChartItem& Item = Items[I];
      if (!KindOk[Item.Kind]) continue;
      if (LayerVisible != nullptr && !LayerVisible[ClampLayer(Item.Layer) - 1]) continue;
      if (!AnyClass && Item.ItemClass != ClassFilter) continue;
      const Extended DX = static_cast<Extended>(Transform.PixelX(Item.X)) - MX;
      const Extended DY = static_cast<Extended>(Transform.PixelY(Item.Y)) - MY;
      const double D2 = static_cast<double>(DX * DX + DY * DY);
      if (D2 < Best) {
        Best = D2;
        Found = I;
      }
    }
  }
  Distance = std::sqrt(Best);
  return Found;
}

}  // namespace zkw
