#include "chart/item_store.h"

#include <algorithm>
#include <atomic>

namespace zkw {

std::uint64_t TvxItemStore::NextVersion() {
  static std::atomic<std::uint64_t> Counter{0};
  return ++Counter;
}

void TvxItemStore::Touched(int From) {
  FVersion = NextVersion();
  FChanges[static_cast<std::size_t>(FChangeNext)] = {FVersion, std::max(From, 0)};
  FChangeNext = (FChangeNext + 1) % ChangeLogSize;
  FChangeCount = std::min(FChangeCount + 1, ChangeLogSize);
}

int TvxItemStore::DirtyFrom(std::uint64_t Since) const {
  if (Since == FVersion) return FCount;
  int Lowest = FCount;
  // Walk back from the newest change to the one that produced Since.
  for (int K = 1; K <= FChangeCount; ++K) {
    const TChange& C = FChanges[static_cast<std::size_t>((FChangeNext - K + ChangeLogSize) % ChangeLogSize)];
    if (C.Version == Since) return Lowest;
    Lowest = std::min(Lowest, C.From);
  }
  return 0;
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
  Touched(FCount - 1);
}

void TvxItemStore::RemoveLast() {
  if (FCount <= 0) return;
  const int Kind = FItems[static_cast<std::size_t>(FCount - 1)].Kind;
  if (Kind < ItemKindCount) --FKindCounts[static_cast<std::size_t>(Kind)];
  --FCount;
  Touched(FCount);
  if (FCount == 0) Clear();
}

void TvxItemStore::Clear() {
  TVxItemContainer().swap(FItems);
  FCount = 0;
  FKindCounts.fill(0);
  Touched(0);
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
  Touched(0);
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
