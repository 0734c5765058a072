// Item stores: the growable arrays that hold a chart's items, with their
// count, growth step and per-kind counters, and the long-text tables that text
// items refer to by index.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "chart/chart_item.h"

namespace zkw {

// Smallest and largest accepted growth step (AllocSize).
constexpr int MinAllocSize = 1;
constexpr int MaxAllocSize = 1000000;
constexpr int DefaultAllocSize = 1000;

// A table of 50 texts for text items whose text does not fit the record's
// short text. Entries are numbered 1..50, as the items' LineWidth refers to them.
class TLongTextArray {
 public:
  static constexpr int Size = 50;
  // Entry Index (1..50); empty text for any other index.
  const std::string& operator[](int Index) const;
  int Count() const { return FCount; }
  // Stores Text in the next free entry and returns its index, or 0 when all
  // 50 entries are in use (nothing is stored then).
  int Add(const std::string& Text);
  void Clear();

 private:
  std::array<std::string, Size> FTexts;
  int FCount = 0;
};

// One item store. The element array only ever grows by whole steps while
// items remain; its length is the capacity. Fresh elements are zero-filled,
// and a slot freed by RemoveLast keeps its content, so the next append into
// it inherits the fields the command does not set.
class TvxItemStore {
 public:
  int Count() const { return FCount; }
  int Capacity() const { return static_cast<int>(FItems.size()); }
  const TvxChartItem* Data() const { return FItems.data(); }
  TvxChartItem* Data() { return FItems.data(); }
  // No range check: callers guarantee 0 <= Index < Count().
  const TvxChartItem& Item(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }
  TvxChartItem& Item(int Index) { return FItems[static_cast<std::size_t>(Index)]; }
  // Number of items of kind Kind (0..24); 0 for other values.
  int KindCount(int Kind) const;
  const std::array<int, ItemKindCount>& KindCounts() const { return FKindCounts; }

  // The slot at index Count(), grown by AllocSize elements first when the
  // array is full. The item only counts after Commit.
  TvxChartItem& NextSlot(int AllocSize);
  // Counts the slot prepared by NextSlot; CountKind also bumps its kind's counter.
  void Commit(bool CountKind);
  // Drops the item with the highest index; an emptied store releases its
  // array and zeroes the counters. Does nothing on an empty store.
  void RemoveLast();
  // Empties the store, releases the array and zeroes the counters. The
  // long-text table stays.
  void Clear();
  // Replaces the content by Source's items, counters and long texts, in an
  // array of Capacity elements (at least Source.Count()).
  void CopyFrom(const TvxItemStore& Source, int Capacity);
  void ResetKindCounts() { FKindCounts.fill(0); }

  // Mutation tracking: every change of the items (Commit, RemoveLast, Clear,
  // CopyFrom) takes a new version number, unique across all stores, so a
  // reader that remembers (store, version) can tell whether anything changed.
  std::uint64_t Version() const { return FVersion; }
  // The lowest item index that any change since version Since may have
  // touched: Count() when nothing changed, 0 when Since is unknown to the
  // store (another store's version, or older than the changes it keeps).
  // Appending touches only the new index and removing the last item only its
  // own, so a remove-last / append cycle leaves the items before it untouched.
  int DirtyFrom(std::uint64_t Since) const;
  // The long texts that the store's text items refer to. They belong to the
  // store, so charts that share the store also share its texts.
  TLongTextArray& Texts() { return FTexts; }
  const TLongTextArray& Texts() const { return FTexts; }

 private:
  // Records a change that touched items from index From upward.
  void Touched(int From);

  TVxItemContainer FItems;
  int FCount = 0;
  std::uint64_t FVersion = NextVersion();
  // The last few changes: version reached and lowest index touched.
  static constexpr int ChangeLogSize = 16;
  struct TChange {
    std::uint64_t Version = 0;
    int From = 0;
  };
  std::array<TChange, ChangeLogSize> FChanges{};
  int FChangeCount = 0;  // entries in use (at most ChangeLogSize)
  int FChangeNext = 0;   // slot of the next entry
  static std::uint64_t NextVersion();
  std::array<int, ItemKindCount> FKindCounts{};
  TLongTextArray FTexts;
};

// Capacity that a copied store gets: whole growth steps with room for at
// least one more item (AllocSize * (Count div AllocSize + 1)).
int CopiedCapacity(int Count, int AllocSize);


}  // namespace zkw
