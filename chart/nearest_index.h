// A spatial index for repeated nearest-item searches on one chart. The mouse
// snaps to the nearest of up to millions of items on every move, also while
// the host pans or zooms, so the index must not depend on the view.
//
// It is a static k-d tree over the qualifying items' world points (median
// splits, leaves of at most LeafItems items); each node keeps its world box
// and the lowest item index in it. A search maps a node's box through the
// current transform, which is monotone per axis, to a pixel box and skips the
// node when even its nearest pixel is farther than the best item so far (or
// as near, with no lower index). Candidates are compared by squared pixel
// distance and then index, so the answer is exactly the linear search's
// (FindNearestInStore), ties and all. Items with a NaN or infinite coordinate
// are kept apart and scanned at every search.
//
// Cost model (n items, t past the indexed prefix):
// - A pan, zoom, resize or margin change costs nothing: the next search is a
//   tree search, about log n nodes plus a few leaves near the pointer, and a
//   linear scan of the t tail items.
// - The first search after the store changed (another generation, or an item
//   changed in place) or after the filters changed (asked twice in a row) is
//   one linear pass over the store (two cores share it for large stores) that
//   answers the search and copies each qualifying item's point and a bit per
//   item into the index's own memory. Building the tree from that copy,
//   O(n log n), runs on other threads for large stores; searches meanwhile are
//   plain linear searches. The store itself is only ever read by the caller's
//   thread.
// - Appends (and the remove-last / append pattern) keep the tree valid for the
//   unchanged prefix; the tail is scanned linearly. Once the tail passes
//   RebuildTail(n), the tail's points are copied (O(t)) and a new tree over
//   the old tree's points and them is built on another thread while the old
//   one goes on serving, so a live stream costs the caller O(t) per search and
//   one background build per RebuildTail(n) appended items, never a full pass.
// - Memory: 20 bytes per qualifying item (the point and its index) and a node
//   of 40 bytes per 6 to 12 items, about 25 bytes an item; a build in progress
//   holds its own copy besides the tree in use.
#pragma once

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

#include "chart/item_store.h"
#include "chart/layers.h"
#include "chart/nearest_item.h"

namespace zkw {

class TNearestIndex {
 public:
  // Stores with fewer items than MinItems are searched linearly.
  static constexpr int DefaultMinItems = 2048;
  // Items past the indexed prefix that are searched linearly before a new
  // tree is built, at least; see RebuildTail.
  static constexpr int MaxTail = 4096;
  // Stores with at least this many items have their tree built on another thread.
  static constexpr int DefaultMinBackgroundItems = 1 << 16;
  // Stores with at least this many items are placed by two cores when building.
  static constexpr int DefaultMinTwoCoreItems = 1 << 16;
  // A leaf holds at most this many items.
  static constexpr int LeafItems = 24;

  explicit TNearestIndex(int MinItems = DefaultMinItems, int MinBackgroundItems = DefaultMinBackgroundItems,
                         int MinTwoCoreItems = DefaultMinTwoCoreItems)
      : FMinItems(MinItems), FMinBackgroundItems(MinBackgroundItems), FMinTwoCoreItems(MinTwoCoreItems) {}
  ~TNearestIndex();
  TNearestIndex(const TNearestIndex&) = delete;
  TNearestIndex& operator=(const TNearestIndex&) = delete;

  // FindNearestInStore over Store's items.
  int Find(const TvxItemStore& Store, const TLayerTransform& Transform, int MX, int MY, std::uint8_t KindFilter,
           std::uint8_t ClassFilter, const bool* LayerVisible, double& Distance);

  // Drops the index and its memory.
  void Reset();
  // Whether the last Find answered from a tree (not the linear search).
  bool LastWasIndexed() const { return FLastIndexed; }
  // Bytes held for the index (waits for a build in progress).
  std::size_t MemoryBytes() const;
  // Waits until a build running on another thread has ended; the next Find takes its tree.
  void WaitForBuild() const;
  // Tail length past which appends start a new tree for an index of Built items:
  // a sixty-fourth of them, at least MaxTail.
  static int RebuildTail(int Built) { return Built / 64 > MaxTail ? Built / 64 : MaxTail; }

 private:
  struct TPoint {
    double X;
    double Y;
  };
  struct TEntry {
    double X;
    double Y;
    std::int32_t Index;
  };
  struct TNode {
    double X0, Y0, X1, Y1;  // world box of the node's points
    std::int32_t Lowest;    // lowest item index among them
  };
  struct TTree;
  struct TJob;
  struct TSearch;
  // What the index (or a build) was made for.
  struct TKey {
    std::uint64_t Generation = 0;
    std::uint8_t KindFilter = 0;
    std::uint8_t ClassFilter = 0;
    std::uint32_t Visibility = 0;  // bit 16: flags given; bits 0..15: layers shown
    bool operator==(const TKey&) const = default;
  };

  // Takes the tree of a finished build, if any.
  void TakeFinishedBuild();
  // Stops the running build without waiting for it.
  void AbandonBuild();
  // The first search for Key: the linear search over the store, copying the
  // qualifying items' points; then builds the tree from them.
  void BuildFull(const TvxItemStore& Store, const TKey& Key, const TLayerTransform& T, const TKindTable& KindOk,
                 const bool* LayerVisible, int MX, int MY, double& Best, int& Found);
  // A new tree from the current one's points below FValidCount and the
  // store's items from there on, while the current one goes on serving.
  void BuildOnTree(const TvxItemStore& Store, const TLayerTransform& T, const TKindTable& KindOk,
                   const bool* LayerVisible);
  // Runs Job here or on another thread.
  void Start(std::shared_ptr<TJob> Job, int Count);
  // Brings a build's or tree's prefix up to the store; false when the store
  // no longer knows what changed since Version.
  static bool Follow(const TvxItemStore& Store, std::uint64_t& Version, int& ValidCount);

  int FMinItems;
  int FMinBackgroundItems;
  int FMinTwoCoreItems;
  bool FLastIndexed = false;

  // The tree in use: made for FKey from the store at version FVersion, its
  // items 0..FValidCount-1 unchanged since.
  std::shared_ptr<const TTree> FTree;
  TKey FKey;
  std::uint64_t FVersion = 0;
  int FValidCount = 0;
  int FBuiltCount = 0;

  // The build in progress, likewise.
  std::shared_ptr<TJob> FJob;
  std::future<void> FBuilding;
  // Builds that were stopped and may still be running; waited for on destruction.
  std::vector<std::future<void>> FStopped;

  TKey FPendingKey;  // filters asked for once while the index served others
  bool FPending = false;
};

}  // namespace zkw
