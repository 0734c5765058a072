#include "platform/two_cores.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include <unistd.h>

namespace zkw {

namespace {

std::atomic<bool> Enabled{true};
std::atomic<std::int64_t> StartWaitMicros{DefaultHelperStartWait.count()};
std::atomic<std::int64_t> WakeDelayMicros{0};

// The helper thread and the job it is handed. Jobs are serialized by FBusy;
// the hand-over itself goes through FLock.
class THelper {
 public:
  THelper() {
    try {
      FThread = std::thread([this] { Loop(); });
    } catch (const std::system_error&) {
      // No thread: every job runs on its caller alone.
    }
  }
  ~THelper() {
    if (!FThread.joinable()) return;
    {
      const std::lock_guard<std::mutex> Lock(FLock);
      FQuit = true;
    }
    FWake.notify_one();
    FThread.join();
  }
  THelper(const THelper&) = delete;
  THelper& operator=(const THelper&) = delete;

  bool Share(const std::function<void()>& Work) {
    std::unique_lock<std::mutex> Busy = Claim();
    if (!Busy.owns_lock()) return false;
    {
      const std::lock_guard<std::mutex> Lock(FLock);
      FShared = &Work;
      FSharedStarted = false;
      FDone = false;
    }
    FWake.notify_one();
    Work();
    std::unique_lock<std::mutex> Lock(FLock);
    if (!FSharedStarted) {
      FShared = nullptr;  // withdrawn before the helper took it
      return true;
    }
    FFinished.wait(Lock, [this] { return FDone; });
    return true;
  }

  bool Run(const std::function<void(int, TPairBarrier&)>& Part) {
    std::unique_lock<std::mutex> Busy = Claim();
    if (!Busy.owns_lock()) return false;
    TPairBarrier Sync(2);
    {
      const std::lock_guard<std::mutex> Lock(FLock);
      FJob = &Part;
      FSync = &Sync;
      FJobStarted = false;
      FDone = false;
    }
    FWake.notify_one();
    {
      // Both parts meet at the barrier, so the caller could not get far
      // without the helper: it waits a bounded time for the helper to take
      // the job, and withdraws it (under the lock, so the helper never sees
      // it) when the helper is late.
      std::unique_lock<std::mutex> Lock(FLock);
      const std::chrono::microseconds Wait{StartWaitMicros.load(std::memory_order_relaxed)};
      if (!FStarted.wait_for(Lock, Wait, [this] { return FJobStarted; })) {
        FJob = nullptr;
        FSync = nullptr;
        return false;
      }
    }
    Part(0, Sync);
    std::unique_lock<std::mutex> Lock(FLock);
    FFinished.wait(Lock, [this] { return FDone; });
    FSync = nullptr;
    return true;
  }

 private:
  // The helper for one job, unless it is busy or missing (a child process
  // after fork has no helper thread): then the lock is not owned.
  std::unique_lock<std::mutex> Claim() {
    if (!FThread.joinable() || getpid() != FProcess) return {};
    return std::unique_lock<std::mutex>(FBusy, std::try_to_lock);
  }

  void Loop() {
    std::unique_lock<std::mutex> Lock(FLock);
    for (;;) {
      FWake.wait(Lock, [this] { return FQuit || FJob != nullptr || FShared != nullptr; });
      if (FQuit) return;
      if (const std::int64_t Delay = WakeDelayMicros.load(std::memory_order_relaxed); Delay > 0) {
        Lock.unlock();
        std::this_thread::sleep_for(std::chrono::microseconds(Delay));
        Lock.lock();
        if (FQuit) return;
        if (FJob == nullptr && FShared == nullptr) continue;  // withdrawn meanwhile
      }
      if (FShared != nullptr) {
        const std::function<void()>* Work = FShared;
        FShared = nullptr;
        FSharedStarted = true;
        Lock.unlock();
        (*Work)();
        Lock.lock();
        FDone = true;
        FFinished.notify_one();
        continue;
      }
      const std::function<void(int, TPairBarrier&)>* Job = FJob;
      TPairBarrier* Sync = FSync;
      FJob = nullptr;
      FJobStarted = true;
      Lock.unlock();
      FStarted.notify_one();
      (*Job)(1, *Sync);
      Lock.lock();
      FDone = true;
      FFinished.notify_one();
    }
  }

  std::mutex FBusy;
  std::mutex FLock;
  std::condition_variable FWake;
  std::condition_variable FFinished;
  std::condition_variable FStarted;
  const std::function<void(int, TPairBarrier&)>* FJob = nullptr;
  TPairBarrier* FSync = nullptr;
  const std::function<void()>* FShared = nullptr;  // a shared job not yet taken
  bool FSharedStarted = false;
  bool FJobStarted = false;  // the helper has taken the present two-part job
  bool FDone = false;
  bool FQuit = false;
  std::thread FThread;
  const pid_t FProcess = getpid();
};

// The helper, started on first use; null on one core or while switched off.
THelper* Helper() {
  static const bool TwoCores = std::thread::hardware_concurrency() >= 2;
  if (!TwoCores || !Enabled.load(std::memory_order_relaxed)) return nullptr;
  static THelper Instance;
  return &Instance;
}

}  // namespace

bool RunOnTwoCores(const std::function<void(int Part, TPairBarrier& Sync)>& Part) {
  THelper* H = Helper();
  return H != nullptr && H->Run(Part);
}

void RunShared(const std::function<void()>& Work) {
  THelper* H = Helper();
  if (H == nullptr || !H->Share(Work)) Work();
}

void SetTwoCoresEnabled(bool On) { Enabled.store(On, std::memory_order_relaxed); }

void SetHelperStartWait(std::chrono::microseconds Wait) {
  StartWaitMicros.store(std::max<std::int64_t>(Wait.count(), 0), std::memory_order_relaxed);
}

void SetHelperWakeDelay(std::chrono::microseconds Delay) {
  WakeDelayMicros.store(std::max<std::int64_t>(Delay.count(), 0), std::memory_order_relaxed);
}

}  // namespace zkw
