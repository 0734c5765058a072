#include "chart/nearest_item.h"

namespace zkw {

TKindTable KindFilterTable(std::uint8_t KindFilter) {
  // One table lookup per item instead of re-deciding the filter.
  TKindTable KindOk{};
  if (KindFilter == KindFilterAll || KindFilter == KindFilterAllButMoveTo) {
    KindOk.fill(true);
    if (KindFilter == KindFilterAllButMoveTo) KindOk[ckMoveTo] = false;
  } else if (KindFilter != KindFilterNone) {
    KindOk[KindFilter] = true;
  }
  return KindOk;
}

void ScanNearest(const TvxChartItem* Items, int Begin, int End, const TLayerTransform& Transform, int MX, int MY,
                 const TKindTable& KindOk, std::uint8_t ClassFilter, const bool* LayerVisible, double& Best,
                 int& Found) {
  for (int I = Begin; I < End; ++I) {
    const TvxChartItem& Item = Items[I];
    if (!ItemQualifies(Item, KindOk, ClassFilter, LayerVisible)) continue;
    const double D2 = PixelDistance2(Transform.PixelX(Item.X), Transform.PixelY(Item.Y), MX, MY);
    if (D2 < Best) {
      Best = D2;
      Found = I;
    }
  }
}

int FindNearestInStore(const TvxChartItem* Items, int Count, const TLayerTransform& Transform, int MX, int MY,
                       std::uint8_t KindFilter, std::uint8_t ClassFilter, const bool* LayerVisible,
                       double& Distance) {
  double Best = NoItemSquaredDistance;
  int Found = -1;
  if (KindFilter != KindFilterNone && Items != nullptr) {
    ScanNearest(Items, 0, Count, Transform, MX, MY, KindFilterTable(KindFilter), ClassFilter, LayerVisible, Best,
                Found);
  }
  Distance = std::sqrt(Best);
  return Found;
}

}  // namespace zkw
