#include "chart/item_store.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "base/errors.h"

namespace zkw {

std::uint64_t TStoreGeneration::Next() {
  static std::atomic<std::uint64_t> Counter{0};
  return ++Counter;
}

int TvxItemStore::DirtyFrom(std::uint64_t Since) const {
  if (Since == FVersion) return FCount;
  // Versions and generations share one counter: an older version than the
  // present generation belongs to contents this store no longer holds.
  if (Since < FGeneration.Value()) return 0;
  const int Lowest = LowestCountSince(Since);
  return Lowest < 0 ? 0 : Lowest;
}

int TvxItemStore::LowestCountSince(std::uint64_t Since) const {
  if (FForgottenRemoval > Since) return -1;
  int Lowest = FCount;
  for (const TRemoval& R : FRemovals)
    if (R.Version > Since) Lowest = std::min(Lowest, R.Count);
  return Lowest;
}

int TvxItemStore::KindCount(int Kind) const {
  return Kind >= 0 && Kind < ItemKindCount ? FKindCounts[static_cast<std::size_t>(Kind)] : 0;
}

TvxChartItem& TvxItemStore::NextSlot(int AllocSize) {
  if (FCount >= Capacity()) {
    // resize value-initialises the new elements, i.e. zero-fills them.
    FItems.resize(FItems.size() + static_cast<std::size_t>(std::max(AllocSize, MinAllocSize)));
  }
  return FItems[static_cast<std::size_t>(FCount)];
}

void TvxItemStore::Commit(bool CountKind) {
  if (CountKind) {
    const int Kind = FItems[static_cast<std::size_t>(FCount)].Kind;
    if (Kind < ItemKindCount) ++FKindCounts[static_cast<std::size_t>(Kind)];
  }
  ++FCount;
  FVersion = TStoreGeneration::Next();
}

int TvxItemStore::GrownCapacity(int Count, int AllocSize) const {
  const long long Step = std::max(AllocSize, MinAllocSize);
  const long long Needed = static_cast<long long>(FCount) + std::max(Count, 0);
  long long NewCapacity = Capacity();
  if (Needed > NewCapacity) NewCapacity += (Needed - NewCapacity + Step - 1) / Step * Step;
  if (NewCapacity > 0x7FFFFFFF)
    throw EZKWVexaError("Vexa: the item store cannot hold " + std::to_string(Needed) + " items");
  return static_cast<int>(NewCapacity);
}

void TvxItemStore::RemoveLast() {
  if (FCount <= 0) return;
  const int Kind = FItems[static_cast<std::size_t>(FCount - 1)].Kind;
  if (Kind < ItemKindCount) --FKindCounts[static_cast<std::size_t>(Kind)];
  --FCount;
  if (FCount == 0) {
    Clear();
    return;
  }
  FVersion = TStoreGeneration::Next();
  TRemoval& Entry = FRemovals[static_cast<std::size_t>(FNextRemoval)];
  FForgottenRemoval = std::max(FForgottenRemoval, Entry.Version);
  Entry = {FVersion, FCount};
  FNextRemoval = (FNextRemoval + 1) % RemovalLogSize;
}

void TvxItemStore::Clear() {
  TVxItemContainer().swap(FItems);
  FCount = 0;
  FKindCounts.fill(0);
  Changed();
}

void TvxItemStore::CopyFrom(const TvxItemStore& Source, int NewCapacity) {
  if (&Source == this) return;
  const int Keep = Source.FCount;
  TVxItemContainer Items(static_cast<std::size_t>(std::max(NewCapacity, Keep)));
  std::copy_n(Source.FItems.begin(), Keep, Items.begin());
  FItems.swap(Items);
  FCount = Keep;
  FKindCounts = Source.FKindCounts;
  FTexts = Source.FTexts;
  Changed();
}

int CopiedCapacity(int Count, int AllocSize) {
  const long long Step = std::max(AllocSize, MinAllocSize);
  const long long Steps = static_cast<long long>(std::max(Count, 0)) / Step + 1;
  return static_cast<int>(std::min<long long>(Steps * Step, 0x7FFFFFFF));
}

const std::string& TLongTextArray::operator[](int Index) const {
  static const std::string Empty;
  if (Index < 1 || Index > Size) return Empty;
  return FTexts[static_cast<std::size_t>(Index - 1)];
}

int TLongTextArray::Add(const std::string& Text) {
  if (FCount >= Size) return 0;
  FTexts[static_cast<std::size_t>(FCount)] = Text;
  return ++FCount;
}

void TLongTextArray::Clear() {
  for (std::string& Text : FTexts) Text.clear();
  FCount = 0;
}

}  // namespace zkw
