// Data sharing groups: joining through a user, the user limit, refusals,
// leaving with a private copy, and destruction of members in every order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "chart/data_sharing.h"

namespace zkw {
namespace {

void Append(TvxDataShare& Member, double X) {
  TvxChartItem& Slot = Member.Store().NextSlot(1000);
  Slot.Kind = ckMark;
  Slot.X = X;
  Member.Store().Commit(true);
  Member.SyncShares();
}

TEST(DataSharing, UsingAUserMakesTheChartAUserOfItsSource) {
  TvxDataShare A, B, C;
  Append(A, 1);
  Append(C, 42);
  EXPECT_EQ(B.UseDataOf(&A), srJoined);
  EXPECT_EQ(C.UseDataOf(&B), srJoined);
  EXPECT_EQ(C.Source(), &A);
  EXPECT_EQ(B.UserCount(), 0);
  ASSERT_EQ(A.UserCount(), 2);
  EXPECT_EQ(A.User(0), &B);
  EXPECT_EQ(A.User(1), &C);
  // C's own items were dropped for the group's.
  ASSERT_EQ(C.Store().Count(), 1);
  EXPECT_EQ(C.Store().Item(0).X, 1.0);
  // A change by any member shows in all of them.
  Append(C, 2);
  EXPECT_EQ(A.Store().Count(), 2);
  EXPECT_EQ(B.Store().Count(), 2);
  EXPECT_EQ(B.Store().Item(1).X, 2.0);
  EXPECT_EQ(A.Store().KindCount(ckMark), 2);
  EXPECT_EQ(A.Store().Capacity(), C.Store().Capacity());
}

TEST(DataSharing, RefusalsChangeNothing) {
  TvxDataShare A, B, C;
  EXPECT_EQ(A.UseDataOf(&A), srSelf);
  EXPECT_EQ(ShareResultMessage(srSelf), "Vexa: Cannot share data with myself");
  ASSERT_EQ(B.UseDataOf(&A), srJoined);
  // A has users: it may neither use another chart nor leave "none".
  EXPECT_EQ(A.UseDataOf(&C), srHasUsers);
  EXPECT_EQ(A.UseDataOf(nullptr), srHasUsers);
  EXPECT_EQ(ShareResultMessage(srHasUsers), "Vexa: Cannot use foreign data. Other Vexas are using my own data.");
  EXPECT_EQ(A.Source(), nullptr);
  EXPECT_EQ(B.UseDataOf(&A), srUnchanged);
  EXPECT_EQ(C.UseDataOf(nullptr), srUnchanged);
  EXPECT_EQ(ShareResultMessage(srJoined), "");
}

TEST(DataSharing, FifthUserIsRefusedAndKeepsItsItems) {
  TvxDataShare Source;
  std::array<TvxDataShare, 4> Users;
  for (TvxDataShare& U : Users) ASSERT_EQ(U.UseDataOf(&Source), srJoined);
  TvxDataShare Fifth;
  Append(Fifth, 7);
  EXPECT_EQ(Fifth.UseDataOf(&Users[2]), srTooMany);
  EXPECT_EQ(ShareResultMessage(srTooMany), "Vexa: Max. number of data shares exceeded");
  EXPECT_EQ(Fifth.Source(), nullptr);
  ASSERT_EQ(Fifth.Store().Count(), 1);
  EXPECT_EQ(Fifth.Store().Item(0).X, 7.0);
  EXPECT_EQ(Source.UserCount(), 4);
}

TEST(DataSharing, JoiningTheSameGroupThroughAnotherMemberAddsNoSecondEntry) {
  TvxDataShare A, B, C;
  ASSERT_EQ(B.UseDataOf(&A), srJoined);
  ASSERT_EQ(C.UseDataOf(&A), srJoined);
  EXPECT_EQ(C.UseDataOf(&B), srUnchanged);
  EXPECT_EQ(A.UserCount(), 2);
}

TEST(DataSharing, LeavingKeepsAPrivateCopyAndTheOthersKeepTheirOrder) {
  TvxDataShare A, B, C, D;
  Append(A, 1);
  ASSERT_EQ(B.UseDataOf(&A), srJoined);
  ASSERT_EQ(C.UseDataOf(&A), srJoined);
  ASSERT_EQ(D.UseDataOf(&A), srJoined);
  EXPECT_EQ(C.UseDataOf(nullptr), srLeft);
  EXPECT_EQ(C.Source(), nullptr);
  ASSERT_EQ(A.UserCount(), 2);
  EXPECT_EQ(A.User(0), &B);
  EXPECT_EQ(A.User(1), &D);
  EXPECT_EQ(A.User(2), nullptr);
  Append(A, 2);
  EXPECT_EQ(C.Store().Count(), 1);  // unaffected by later changes of the group
  EXPECT_EQ(D.Store().Count(), 2);
  Append(C, 3);
  EXPECT_EQ(A.Store().Count(), 2);
  // Moving to another source leaves the old group first.
  TvxDataShare E;
  ASSERT_EQ(B.UseDataOf(&E), srJoined);
  EXPECT_EQ(A.UserCount(), 1);
  EXPECT_EQ(E.User(0), &B);
  EXPECT_EQ(B.Store().Count(), 0);
}

TEST(DataSharing, DetachingASourceReleasesItsUsersWithTheirItems) {
  TvxDataShare A, B, C;
  Append(A, 1);
  ASSERT_EQ(B.UseDataOf(&A), srJoined);
  ASSERT_EQ(C.UseDataOf(&A), srJoined);
  A.Detach();
  EXPECT_EQ(A.UserCount(), 0);
  EXPECT_EQ(B.Source(), nullptr);
  EXPECT_EQ(C.Source(), nullptr);
  Append(B, 2);
  EXPECT_EQ(A.Store().Count(), 1);
  EXPECT_EQ(B.Store().Count(), 2);
  EXPECT_EQ(C.Store().Count(), 1);
}

TEST(DataSharing, GroupNotificationOrder) {
  TvxDataShare A, B, C;
  ASSERT_EQ(B.UseDataOf(&A), srJoined);
  ASSERT_EQ(C.UseDataOf(&A), srJoined);
  std::array<TvxDataShare*, 2 * MaxShareUsers + 1> Out{};
  // From a user: the source, then all of the source's users (itself included).
  ASSERT_EQ(C.GroupToNotify(Out), 3);
  EXPECT_EQ(Out[0], &A);
  EXPECT_EQ(Out[1], &B);
  EXPECT_EQ(Out[2], &C);
  ASSERT_EQ(A.GroupToNotify(Out), 2);
  EXPECT_EQ(Out[0], &B);
  EXPECT_EQ(Out[1], &C);
}

// Every order of destroying a source with two users and a third user that
// joined through a user: the survivors must never point at a destroyed
// member (the AddressSanitizer build turns any such access into a failure).
TEST(DataSharing, DestroyingMembersInEveryOrderLeavesNoDanglingMember) {
  std::vector<int> Order = {0, 1, 2, 3};
  int Runs = 0;
  do {
    std::array<std::unique_ptr<TvxDataShare>, 4> M;
    for (auto& P : M) P = std::make_unique<TvxDataShare>();
    Append(*M[0], 1);
    ASSERT_EQ(M[1]->UseDataOf(M[0].get()), srJoined);
    ASSERT_EQ(M[2]->UseDataOf(M[0].get()), srJoined);
    ASSERT_EQ(M[3]->UseDataOf(M[2].get()), srJoined);
    for (int Victim : Order) {
      M[static_cast<std::size_t>(Victim)].reset();
      for (auto& Survivor : M) {
        if (!Survivor) continue;
        // Survivors keep their items and can still change and sync them.
        EXPECT_GE(Survivor->Store().Count(), 1);
        if (TvxDataShare* S = Survivor->Source()) {
          EXPECT_TRUE(std::any_of(M.begin(), M.end(), [S](auto& P) { return P.get() == S; }));
        }
        for (int U = 0; U < Survivor->UserCount(); ++U) {
          TvxDataShare* User = Survivor->User(U);
          EXPECT_TRUE(std::any_of(M.begin(), M.end(), [User](auto& P) { return P.get() == User; }));
        }
        Append(*Survivor, 5);
        Survivor->Store().RemoveLast();
        Survivor->SyncShares();
      }
    }
    ++Runs;
  } while (std::next_permutation(Order.begin(), Order.end()));
  EXPECT_EQ(Runs, 24);
}

}  // namespace
}  // namespace zkw
