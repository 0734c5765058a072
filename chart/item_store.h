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

// A number unique among all stores and all their states, taken afresh
// whenever a store is created, copied or its items may change in place. A
// copy gets a new one: two stores never share a generation.
class TStoreGeneration {
 public:
  TStoreGeneration() : FValue(Next()) {}
  TStoreGeneration(const TStoreGeneration&) : FValue(Next()) {}
  TStoreGeneration& operator=(const TStoreGeneration&) {
    FValue = Next();
    return *this;
  }
  void Renew() { FValue = Next(); }
  std::uint64_t Value() const { return FValue; }
  // The shared counter behind generations and store versions: every call
  // returns a larger number, so these numbers also order changes in time.
  static std::uint64_t Next();

 private:
  std::uint64_t FValue;
};

// One item store. The element array only ever grows by whole steps while
// items remain; its length is the capacity. Fresh elements are zero-filled,
// and a slot freed by RemoveLast keeps its content, so the next append into
// it inherits the fields the command does not set.
//
// Caches over the items (the nearest-item index) follow the store's changes:
// the generation changes whenever items may have changed in place (clearing,
// copying, write access to an item); the version counts every change, and
// appends and removals of the last item only bump the version, with the
// removals remembered so that a cache can tell which leading items it still holds.
class TvxItemStore {
 public:
  int Count() const { return FCount; }
  int Capacity() const { return static_cast<int>(FItems.size()); }
  const TvxChartItem* Data() const { return FItems.data(); }
  // Write access: counts as a change of every item.
  TvxChartItem* Data() {
    Changed();
    return FItems.data();
  }
  // No range check: callers guarantee 0 <= Index < Count().
  const TvxChartItem& Item(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }
  // Write access: counts as a change of every item.
  TvxChartItem& Item(int Index) {
    Changed();
    return FItems[static_cast<std::size_t>(Index)];
  }
  std::uint64_t Generation() const { return FGeneration.Value(); }
  std::uint64_t Version() const { return FVersion; }
  // The lowest count the store had from version Since on (the current count
  // included): items below it are unchanged since then, provided the
  // generation is the same. -1 when that is no longer known.
  int LowestCountSince(std::uint64_t Since) const;
  // The lowest item index that a change since this store's version Since may
  // have touched, for a reader that kept a prefix of at most the count the
  // store had then: Count() when nothing changed, 0 when the items may have
  // changed in place since then or the store no longer remembers. Appending
  // touches only the new index and removing the last item only its own, so a
  // remove-last / append cycle leaves the items before it untouched.
  int DirtyFrom(std::uint64_t Since) const;
  // Number of items of kind Kind (0..24); 0 for other values.
  int KindCount(int Kind) const;
  const std::array<int, ItemKindCount>& KindCounts() const { return FKindCounts; }

  // The slot at index Count(), grown by AllocSize elements first when the
  // array is full. The item only counts after Commit.
  TvxChartItem& NextSlot(int AllocSize);
  // Counts the slot prepared by NextSlot; CountKind also bumps its kind's counter.
  void Commit(bool CountKind);
  // Bulk append of Count items: Fill(Item, I) fills item I (0-based) of the
  // new items. The array grows once, by as many whole AllocSize steps as Count
  // single appends would add (so the capacity ends the same); slots below the
  // old capacity keep the fields Fill does not set, as for NextSlot, and fresh
  // ones start zero-filled. The per-kind counters are left to the caller
  // (AddKindCount). Raises EZKWVexaError, changing nothing, when the store
  // would pass 2^31 - 1 elements.
  template <typename TFill>
  void Append(int Count, int AllocSize, TFill&& Fill);
  // Adds N to the counter of kind Kind (0..24; other kinds are not counted).
  void AddKindCount(std::uint8_t Kind, int N) {
    if (Kind < ItemKindCount) FKindCounts[Kind] += N;
  }
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
  // The capacity after appending Count items one at a time; raises
  // EZKWVexaError when that passes 2^31 - 1.
  int GrownCapacity(int Count, int AllocSize) const;
  // The long texts that the store's text items refer to. They belong to the
  // store, so charts that share the store also share its texts.
  TLongTextArray& Texts() { return FTexts; }
  const TLongTextArray& Texts() const { return FTexts; }

 private:
  // Items may have changed in place.
  void Changed() {
    FGeneration.Renew();
    FVersion = FGeneration.Value();
  }
  // The latest removals of the last item: the version each made and the
  // count it left.
  struct TRemoval {
    std::uint64_t Version = 0;
    int Count = 0;
  };
  static constexpr int RemovalLogSize = 8;

  TVxItemContainer FItems;
  int FCount = 0;
  TStoreGeneration FGeneration;
  std::uint64_t FVersion = FGeneration.Value();
  std::array<TRemoval, RemovalLogSize> FRemovals{};
  int FNextRemoval = 0;
  std::uint64_t FForgottenRemoval = 0;  // the version of the newest removal no longer logged
  std::array<int, ItemKindCount> FKindCounts{};
  TLongTextArray FTexts;
};

template <typename TFill>
void TvxItemStore::Append(int Count, int AllocSize, TFill&& Fill) {
  if (Count <= 0) return;
  const int Old = Capacity();
  const int NewCapacity = GrownCapacity(Count, AllocSize);  // may raise; nothing has changed yet
  int I = 0;
  for (; I < Count && FCount + I < Old; ++I) Fill(FItems[static_cast<std::size_t>(FCount + I)], I);
  if (I < Count) {
    // Fresh items are built whole and written once (no zero-fill pass first);
    // after the reservation nothing below allocates or throws.
    FItems.reserve(static_cast<std::size_t>(NewCapacity));
    for (; I < Count; ++I) {
      TvxChartItem Item{};
      Fill(Item, I);
      FItems.push_back(Item);
    }
    FItems.resize(static_cast<std::size_t>(NewCapacity));  // the zero-filled rest of the last step
  }
  FCount += Count;
  FVersion = TStoreGeneration::Next();  // an append, as Commit counts one: caches keep the leading items
}

// Capacity that a copied store gets: whole growth steps with room for at
// least one more item (AllocSize * (Count div AllocSize + 1)).
int CopiedCapacity(int Count, int AllocSize);


}  // namespace zkw
