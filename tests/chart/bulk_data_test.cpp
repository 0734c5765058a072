// Bulk data: AddMarks and AddPolyline build exactly the items (and capacity,
// counters, shares) that the one-at-a-time commands build, and refuse spans
// of different lengths without touching the store.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "chart/ZKW_vexa.h"

namespace zkw {
namespace {

void ExpectSameItem(const TvxChartItem& A, const TvxChartItem& B, int Index) {
  SCOPED_TRACE(Index);
  EXPECT_EQ(A.X, B.X);
  EXPECT_EQ(A.Y, B.Y);
  EXPECT_EQ(A.X2, B.X2);
  EXPECT_EQ(A.Y2, B.Y2);
  EXPECT_EQ(A.Color, B.Color);
  EXPECT_EQ(A.FillColor, B.FillColor);
  EXPECT_EQ(A.Color2, B.Color2);
  EXPECT_EQ(A.Color3, B.Color3);
  EXPECT_EQ(A.PenStyle, B.PenStyle);
  EXPECT_EQ(A.Reserved, B.Reserved);
  EXPECT_EQ(A.LineWidth, B.LineWidth);
  EXPECT_EQ(A.ItemClass, B.ItemClass);
  EXPECT_EQ(A.Kind, B.Kind);
  EXPECT_EQ(A.Layer, B.Layer);
  EXPECT_EQ(A.Flag, B.Flag);
  EXPECT_EQ(A.FrameStyle, B.FrameStyle);
  EXPECT_EQ(A.ShortText.Get(), B.ShortText.Get());
  EXPECT_EQ(A.Size1, B.Size1);
  EXPECT_EQ(A.Size2, B.Size2);
  EXPECT_EQ(A.MarkType, B.MarkType);
  EXPECT_EQ(A.CoordMode, B.CoordMode);
}

// Whole stores, including the slots past the count up to the capacity.
void ExpectSameStore(const TvxItemStore& A, const TvxItemStore& B) {
  ASSERT_EQ(A.Count(), B.Count());
  ASSERT_EQ(A.Capacity(), B.Capacity());
  EXPECT_EQ(A.KindCounts(), B.KindCounts());
  for (int I = 0; I < A.Capacity(); ++I) ExpectSameItem(A.Data()[I], B.Data()[I], I);
}

// Both charts get the same attributes and history: a filled rectangle that is
// removed again, so the next append reuses its slot (and keeps its FillColor),
// and a small AllocSize so that the bulk call crosses several growth steps.
void Prepare(TVexa& Chart) {
  Chart.SetAllocSize(7);
  Chart.SetFillColor(clYellow);
  Chart.AddMark(-1, -2, 3);
  Chart.AddRect(1, 2, 3, 4);
  Chart.RemoveLastItem();
  Chart.SetDataColor(clMaroon);
  Chart.SetPenStyle(psDash);
  Chart.SetLineWidth(3);
  Chart.SetClassDefault(42);
  Chart.SetCurrentLayer(5);
  Chart.SetFillColor(clAqua);
}

const std::vector<double> Xs = {0, 1, 2.5, -3, 1e300, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
const std::vector<double> Ys = {9, 8, 7, 6, -1e-300, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10};

TEST(BulkData, AddMarksBuildsTheItemsOfAnAddMarkLoop) {
  TVexa One(nullptr), Bulk(nullptr);
  Prepare(One);
  Prepare(Bulk);
  for (std::size_t I = 0; I < Xs.size(); ++I) One.AddMark(Xs[I], Ys[I], 25);
  Bulk.AddMarks(Xs, Ys, 25);
  EXPECT_EQ(Bulk.ItemCount(), 21);
  EXPECT_EQ(Bulk.ItemCapacity(), 21);              // three steps of 7
  EXPECT_EQ(Bulk.GetItem(1).FillColor, clYellow);  // the reused slot
  ExpectSameStore(One.DataStore(), Bulk.DataStore());
  // Another call right up to a step boundary and one past it.
  One.AddMark(100, 100, 1);
  Bulk.AddMarks(std::array<double, 1>{100}, std::array<double, 1>{100}, 1);
  ExpectSameStore(One.DataStore(), Bulk.DataStore());
}

TEST(BulkData, AddPolylineBuildsAMoveToAndDrawTos) {
  TVexa One(nullptr), Bulk(nullptr);
  Prepare(One);
  Prepare(Bulk);
  One.AddMoveTo(Xs[0], Ys[0]);
  for (std::size_t I = 1; I < Xs.size(); ++I) One.AddDrawTo(Xs[I], Ys[I]);
  Bulk.AddPolyline(Xs, Ys);
  ExpectSameStore(One.DataStore(), Bulk.DataStore());
  EXPECT_EQ(Bulk.KindCount(ckMoveTo), 1);
  EXPECT_EQ(Bulk.KindCount(ckDrawTo), 19);
  // A single point is just a pen move.
  Bulk.AddPolyline(std::array<double, 1>{4}, std::array<double, 1>{5});
  EXPECT_EQ(Bulk.GetItem(Bulk.ItemCount() - 1).Kind, ckMoveTo);
  EXPECT_EQ(Bulk.KindCount(ckMoveTo), 2);
}

TEST(BulkData, SpansOfDifferentLengthsAreRefusedAndNothingChanges) {
  TVexa Chart(nullptr);
  Chart.AddMark(1, 1, 1);
  const std::vector<double> Three = {1, 2, 3}, Two = {1, 2};
  EXPECT_THROW(Chart.AddMarks(Three, Two, 1), EZKWVexaError);
  EXPECT_THROW(Chart.AddPolyline(Two, Three), EZKWVexaError);
  EXPECT_THROW(Chart.AddPolyline({}, Three), EZKWVexaError);
  try {
    Chart.AddMarks(Three, Two, 1);
  } catch (const EZKWVexaError& E) {
    EXPECT_NE(std::string(E.what()).find("AddMarks"), std::string::npos);
  }
  EXPECT_EQ(Chart.ItemCount(), 1);
  EXPECT_EQ(Chart.ItemCapacity(), 1000);
  EXPECT_EQ(Chart.KindCount(ckMark), 1);
  // Empty spans append nothing.
  Chart.AddMarks({}, {}, 1);
  Chart.AddPolyline({}, {});
  EXPECT_EQ(Chart.ItemCount(), 1);
}

TEST(BulkData, SharedStoresAndAnnotationsFollowTheSingleCommands) {
  TVexa A(nullptr), B(nullptr);
  B.SetUseDataOf(&A);
  B.AddMarks(Xs, Ys, 2);  // a user appends: the source sees the items at once
  EXPECT_EQ(A.ItemCount(), 20);
  EXPECT_EQ(A.GetItem(19).Y, -10);
  A.AddPolyline(Xs, Ys);
  EXPECT_EQ(B.ItemCount(), 40);
  EXPECT_EQ(B.KindCount(ckDrawTo), 19);

  TVexa C(nullptr);
  C.SetAnnotationMode(true);
  C.AddMarks(Xs, Ys, 2);
  EXPECT_EQ(C.ItemCount(), 0);
  EXPECT_EQ(C.AnnotationStore().Count(), 20);
  EXPECT_EQ(C.AnnotationStore().KindCount(ckMark), 0);  // annotations keep no counters
}

}  // namespace
}  // namespace zkw
