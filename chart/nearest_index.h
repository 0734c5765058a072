// A spatial index for repeated nearest-item searches on one chart. The mouse
// snaps to the nearest of up to millions of items on every move, while the
// items and the transform rarely change between two moves; the linear search
// would place every item anew each time.
//
// The index holds each qualifying item's pixel (as the linear search computes
// it) and the items bucketed in a uniform grid over the plot. It is built by
// the first search after a change, which answers from the same pass, so that
// search costs about one linear pass (large stores split that pass between
// two cores, so it costs less than one): sorting the items into the grid cells
// touches only the index's own arrays, so for large stores it runs on another
// thread while the host goes on; a search that comes before it has finished
// scans the kept pixels in index order instead of waiting. It stays valid while the store's
// generation, the transform and the filters are unchanged; items appended
// since, and a store that shrank and grew again at its end, are covered by
// searching the items past the unchanged prefix linearly.
//
// Every answer equals the linear search's (FindNearestInStore), ties and all.
#pragma once

#include <atomic>
#include <cstdint>
#include <future>
#include <limits>
#include <vector>

#include "chart/item_store.h"
#include "chart/layers.h"
#include "chart/nearest_item.h"

namespace zkw {

class TNearestIndex {
 public:
  // Stores with fewer items than MinItems are searched linearly.
  static constexpr int DefaultMinItems = 2048;
  // Items past the unchanged prefix that are searched linearly before a rebuild.
  static constexpr int MaxTail = 4096;

  // Stores with at least this many items are sorted into cells on another thread.
  static constexpr int DefaultMinBackgroundItems = 1 << 16;

  // Stores with at least this many items are placed by two cores when building.
  static constexpr int DefaultMinTwoCoreItems = 1 << 16;

  explicit TNearestIndex(int MinItems = DefaultMinItems, int MinBackgroundItems = DefaultMinBackgroundItems,
                         int MinTwoCoreItems = DefaultMinTwoCoreItems)
      : FMinItems(MinItems), FMinBackgroundItems(MinBackgroundItems), FMinTwoCoreItems(MinTwoCoreItems) {}
  ~TNearestIndex();
  TNearestIndex(const TNearestIndex&) = delete;
  TNearestIndex& operator=(const TNearestIndex&) = delete;

  // FindNearestInStore over Store's items, with Plot only steering the grid.
  int Find(const TvxItemStore& Store, const TLayerTransform& Transform, const TPlotGeometry& Plot, int MX, int MY,
           std::uint8_t KindFilter, std::uint8_t ClassFilter, const bool* LayerVisible, double& Distance);

  // Drops the index and its memory.
  void Reset();
  // Whether the last Find answered from a kept index (not a build or the linear search).
  bool LastWasIndexed() const { return FLastIndexed; }
  // Bytes held for the index.
  std::size_t MemoryBytes() const;

 private:
  struct TPixel {
    std::int32_t X;
    std::int32_t Y;
  };
  // What the index was built for.
  struct TKey {
    std::uint64_t Generation = 0;
    TLayerTransform Transform;
    std::uint8_t KindFilter = 0;
    std::uint8_t ClassFilter = 0;
    std::uint32_t Visibility = 0;  // bit 16: flags given; bits 0..15: layers shown
  };

  // What placing a range of items found: their pixel span and the nearest.
  struct TPlaced {
    std::int64_t MinX = std::numeric_limits<std::int64_t>::max();
    std::int64_t MaxX = std::numeric_limits<std::int64_t>::min();
    std::int64_t MinY = std::numeric_limits<std::int64_t>::max();
    std::int64_t MaxY = std::numeric_limits<std::int64_t>::min();
    int Qualifying = 0;
    double Best = NoItemSquaredDistance;
    int Found = -1;
  };

  static bool SameKey(const TKey& A, const TKey& B);
  // The linear search over Items[Begin..End-1] that also keeps each
  // qualifying item's pixel and bit. Begin is a multiple of 64, so calls on
  // other such ranges write disjoint words and may run at the same time.
  void Place(const TvxChartItem* Items, int Begin, int End, const TKey& Key, const TKindTable& KindOk,
             const bool* LayerVisible, int MX, int MY, TPlaced& Out);
  // Builds the index for Key and answers the search from the same pass.
  void Build(const TvxItemStore& Store, const TKey& Key, const TPlotGeometry& Plot, const TKindTable& KindOk,
             const bool* LayerVisible, int MX, int MY, double& Best, int& Found);
  // The second half of a build: the stable counting sort of the qualifying
  // items into cells. Reads and writes the index's own arrays only. False
  // when FStopSorting stopped it half way.
  bool SortIntoCells(int Count, int Qualifying);
  // Stops a sort running on another thread and waits for it to end.
  void AbandonSort();
  // Waits for a sort running on another thread; false when it failed (out of
  // memory), which leaves the index unbuilt.
  bool CellsReady();
  void ChooseGrid(std::int64_t MinX, std::int64_t MaxX, std::int64_t MinY, std::int64_t MaxY,
                  const TPlotGeometry& Plot, int Qualifying);
  int CellX(std::int64_t PX) const;
  int CellY(std::int64_t PY) const;
  // The kept pixels in index order, items below Limit only: the search while
  // the cells are still being sorted (only reads what the sort reads).
  void ScanPixels(int MX, int MY, int Limit, double& Best, int& Found) const;
  // The grid part of a search: items below Limit only.
  void SearchGrid(int MX, int MY, int Limit, double& Best, int& Found) const;
  void SearchCell(int CX, int CY, int MX, int MY, int Limit, double& Best, int& Found) const;

  int FMinItems;
  int FMinBackgroundItems;
  int FMinTwoCoreItems;
  std::future<bool> FSorting;  // the sort into cells, while it runs on another thread
  std::atomic<bool> FStopSorting{false};
  bool FBuilt = false;
  bool FLastIndexed = false;
  TKey FKey;
  std::uint64_t FVersion = 0;  // store version last seen
  int FValidCount = 0;         // items 0..FValidCount-1 are unchanged since the build
  int FBuiltCount = 0;
  TKey FPendingKey;            // a filter asked for once while the index served another
  bool FPending = false;

  // Grid: column c covers pixels X0 + c*SX .. X0 + (c+1)*SX - 1, the first and
  // last columns reach on outwards without end; rows likewise.
  std::int64_t FX0 = 0;
  std::int64_t FY0 = 0;
  std::uint32_t FSX = 1;
  std::uint32_t FSY = 1;
  double FInvSX = 1.0;
  double FInvSY = 1.0;
  int FCols = 1;
  int FRows = 1;
  std::vector<TPixel> FPixels;       // by item index; only qualifying items' entries are set
  std::vector<std::uint32_t> FStart;  // per cell, the first position in FOrder; one more at the end
  std::vector<std::int32_t> FOrder;  // qualifying item indices, by cell, ascending within a cell
  std::vector<std::uint64_t> FQualifies;  // build scratch: one bit per item
};

}  // namespace zkw
