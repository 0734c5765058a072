// Item stores: growth by whole steps, zero-filled fresh slots, slot reuse,
// per-kind counters and the long-text table.
#include <gtest/gtest.h>

#include "chart/item_store.h"

namespace zkw {
namespace {

void AppendMark(TvxItemStore& Store, double X, int AllocSize = 1000) {
  TvxChartItem& Slot = Store.NextSlot(AllocSize);
  Slot.Kind = ckMark;
  Slot.X = X;
  Slot.Y = -X;
  Store.Commit(true);
}

TEST(ItemStore, GrowsByAllocSizeAtTheFirstItemBeyondCapacity) {
  TvxItemStore Store;
  EXPECT_EQ(Store.Capacity(), 0);
  for (int I = 0; I < 1000; ++I) AppendMark(Store, I);
  EXPECT_EQ(Store.Capacity(), 1000);
  AppendMark(Store, 1000);
  EXPECT_EQ(Store.Count(), 1001);
  EXPECT_EQ(Store.Capacity(), 2000);
  for (int I = 0; I < 1001; ++I) {
    ASSERT_EQ(Store.Item(I).X, I);
    ASSERT_EQ(Store.Item(I).Y, -I);
  }
  // Fresh elements beyond the count are zero-filled.
  EXPECT_EQ(Store.Data()[1500].Kind, 0);
  EXPECT_EQ(Store.Data()[1999].X, 0.0);
  EXPECT_EQ(Store.KindCount(ckMark), 1001);
}

TEST(ItemStore, RemovingTheLastItemReleasesTheArray) {
  TvxItemStore Store;
  AppendMark(Store, 1);
  Store.RemoveLast();
  EXPECT_EQ(Store.Count(), 0);
  EXPECT_EQ(Store.Capacity(), 0);
  EXPECT_EQ(Store.KindCount(ckMark), 0);
  AppendMark(Store, 2, 7);
  EXPECT_EQ(Store.Capacity(), 7);
  // Removing from an empty store changes nothing.
  Store.RemoveLast();
  Store.RemoveLast();
  EXPECT_EQ(Store.Count(), 0);
  EXPECT_EQ(Store.KindCount(ckMark), 0);
}

TEST(ItemStore, ReusedSlotKeepsFieldsTheCommandDoesNotSet) {
  TvxItemStore Store;
  AppendMark(Store, 1);
  TvxChartItem& First = Store.NextSlot(1000);
  First.Kind = ckRect;
  First.FillColor = 0x123456;
  First.Size2 = 9;
  Store.Commit(true);
  EXPECT_EQ(Store.KindCount(ckRect), 1);
  Store.RemoveLast();
  EXPECT_EQ(Store.KindCount(ckRect), 0);
  EXPECT_EQ(Store.Capacity(), 1000);  // not shortened while items remain
  AppendMark(Store, 5);
  EXPECT_EQ(Store.Item(1).Kind, ckMark);
  EXPECT_EQ(Store.Item(1).FillColor, 0x123456);
  EXPECT_EQ(Store.Item(1).Size2, 9);
}

TEST(ItemStore, CopyKeepsItemsCountersAndTheGivenCapacity) {
  TvxItemStore Source;
  for (int I = 0; I < 5; ++I) AppendMark(Source, I);
  TvxItemStore Copy;
  AppendMark(Copy, 99);
  Copy.CopyFrom(Source, CopiedCapacity(Source.Count(), 4));
  EXPECT_EQ(Copy.Count(), 5);
  EXPECT_EQ(Copy.Capacity(), 8);
  EXPECT_EQ(Copy.Item(4).X, 4.0);
  EXPECT_EQ(Copy.KindCount(ckMark), 5);
  EXPECT_EQ(CopiedCapacity(0, 1000), 1000);
  EXPECT_EQ(CopiedCapacity(999, 1000), 1000);
  EXPECT_EQ(CopiedCapacity(1000, 1000), 2000);
}

TEST(ItemStore, KindCountOutsideTheKindsIsZero) {
  TvxItemStore Store;
  EXPECT_EQ(Store.KindCount(-1), 0);
  EXPECT_EQ(Store.KindCount(25), 0);
}

TEST(LongTextArray, NumbersEntriesFromOneAndRefusesTheFiftyFirst) {
  TLongTextArray Texts;
  for (int I = 1; I <= 50; ++I) ASSERT_EQ(Texts.Add("text " + std::to_string(I)), I);
  EXPECT_EQ(Texts.Add("one too many"), 0);
  EXPECT_EQ(Texts.Count(), 50);
  EXPECT_EQ(Texts[1], "text 1");
  EXPECT_EQ(Texts[50], "text 50");
  EXPECT_EQ(Texts[0], "");
  EXPECT_EQ(Texts[51], "");
  Texts.Clear();
  EXPECT_EQ(Texts.Count(), 0);
  EXPECT_EQ(Texts[1], "");
}

TEST(ItemStore, VersionsTellWhichItemsAChangeMayHaveTouched) {
  TvxItemStore S, Other;
  auto Add = [](TvxItemStore& Store) {
    Store.NextSlot(10).Kind = ckMark;
    Store.Commit(true);
  };
  for (int K = 0; K < 5; ++K) Add(S);
  const std::uint64_t V = S.Version();
  EXPECT_EQ(S.DirtyFrom(V), 5);
  EXPECT_NE(V, Other.Version());
  // The demo's move: remove the last item, append one.
  S.RemoveLast();
  Add(S);
  EXPECT_NE(S.Version(), V);
  EXPECT_EQ(S.DirtyFrom(V), 4);
  S.RemoveLast();
  S.RemoveLast();
  EXPECT_EQ(S.DirtyFrom(V), 3);
  // Versions from before the present contents, a copy and a clear all count from index 0.
  EXPECT_EQ(S.DirtyFrom(0), 0);
  const std::uint64_t W = S.Version();
  S.CopyFrom(Other, 10);
  EXPECT_EQ(S.DirtyFrom(W), 0);
  Add(S);
  const std::uint64_t X = S.Version();
  S.Clear();
  EXPECT_EQ(S.DirtyFrom(X), 0);
  // Appends leave the items before them; more removals than the store
  // remembers count from 0.
  for (int K = 0; K < 3; ++K) Add(S);
  const std::uint64_t Y = S.Version();
  for (int K = 0; K < 40; ++K) Add(S);
  EXPECT_GE(S.DirtyFrom(Y), 3);  // the 3 items before the appends are untouched
  for (int K = 0; K < 40; ++K) {
    S.RemoveLast();
    Add(S);
  }
  EXPECT_EQ(S.DirtyFrom(Y), 0);
}

TEST(ShortText, KeepsAtMostSeventeenCharacters) {
  TShortText T;
  T.Set("exactly seventeen");
  EXPECT_EQ(T.Get(), "exactly seventeen");
  T.Set("a text longer than seventeen");
  EXPECT_EQ(T.Length, 17);
  EXPECT_EQ(T.Get(), "a text longer tha");
  T.Set("");
  EXPECT_EQ(T.Get(), "");
}

}  // namespace
}  // namespace zkw
