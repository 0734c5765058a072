// Work shared with the helper thread: every piece is done exactly once,
// whichever thread takes it, also while the helper is busy with another
// thread's job or switched off.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

// A helper that is slow to wake never holds up the caller of a two-part job:
// the job is withdrawn before either part runs and the caller gets false (it
// then does the work alone); the late helper finds nothing to do, and the
// next job runs on both threads.
TEST(TwoCores, ACallerNeverWaitsForAHelperThatIsSlowToWake) {
  if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core: no helper thread";
  struct TRestore {
    ~TRestore() {
      SetHelperWakeDelay(std::chrono::microseconds(0));
      SetHelperStartWait(DefaultHelperStartWait);
    }
  } Restore;
  std::atomic<int> CallerParts{0}, HelperParts{0};
  auto Job = [&](int Part, TPairBarrier& Sync) {
    (Part == 0 ? CallerParts : HelperParts).fetch_add(1);
    Sync.arrive_and_wait();
  };
  SetHelperWakeDelay(std::chrono::milliseconds(50));
  for (int Round = 0; Round < 3; ++Round) {
    EXPECT_FALSE(RunOnTwoCores(Job)) << "round " << Round;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // the helper wakes meanwhile
  }
  EXPECT_EQ(CallerParts.load(), 0);
  EXPECT_EQ(HelperParts.load(), 0);
  SetHelperWakeDelay(std::chrono::microseconds(0));
  SetHelperStartWait(std::chrono::seconds(30));
  EXPECT_TRUE(RunOnTwoCores(Job));
  EXPECT_EQ(CallerParts.load(), 1);
  EXPECT_EQ(HelperParts.load(), 1);
}

}  // namespace
}  // namespace zkw
