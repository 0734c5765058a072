// Work shared with the helper thread: every piece is done exactly once,
// whichever thread takes it, also while the helper is busy with another
// thread's job or switched off.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/two_cores.h"

namespace zkw {
namespace {

// Runs one shared job of Pieces pieces and tells whether each was done once.
bool EveryPieceOnce(int Pieces) {
  std::vector<std::atomic<int>> Done(static_cast<std::size_t>(Pieces));
  std::atomic<int> Next{0};
  RunShared([&] {
    for (int P = Next.fetch_add(1); P < Pieces; P = Next.fetch_add(1)) Done[static_cast<std::size_t>(P)].fetch_add(1);
  });
  for (const std::atomic<int>& D : Done)
    if (D.load() != 1) return false;
  return true;
}

TEST(TwoCores, SharedWorkIsDoneOnceWhoeverTakesIt) {
  for (int Round = 0; Round < 500; ++Round) ASSERT_TRUE(EveryPieceOnce(1 + Round % 40)) << "round " << Round;
  // Switched off, the caller does all of it itself.
  SetTwoCoresEnabled(false);
  const std::thread::id Caller = std::this_thread::get_id();
  bool Elsewhere = false;
  RunShared([&] { Elsewhere = std::this_thread::get_id() != Caller; });
  SetTwoCoresEnabled(true);
  EXPECT_FALSE(Elsewhere);
  EXPECT_TRUE(EveryPieceOnce(7));
}

TEST(TwoCores, SharedWorkWhileTheHelperServesAnotherThread) {
  // Another thread keeps the helper busy with two-part jobs; shared jobs
  // here must still finish, on this thread alone when it has to.
  std::atomic<bool> Stop{false};
  std::atomic<int> Jobs{0};
  std::thread Other([&] {
    while (!Stop.load())
      if (RunOnTwoCores([&](int, TPairBarrier& Sync) { Sync.arrive_and_wait(); })) Jobs.fetch_add(1);
  });
  for (int Round = 0; Round < 300; ++Round) {
    if (!EveryPieceOnce(1 + Round % 17)) {
      ADD_FAILURE() << "round " << Round;
      break;
    }
  }
  Stop.store(true);
  Other.join();
  EXPECT_TRUE(EveryPieceOnce(5));
}

}  // namespace
}  // namespace zkw
