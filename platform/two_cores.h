// Work split between the calling thread and one helper thread, for drawing
// that divides exactly in two (bands of rows, halves of an array): on the
// two-core machines a chart typically runs on, the second core otherwise
// idles while a million items are drawn.
//
// The helper thread is started on first use and sleeps between jobs; it runs
// one job at a time. A caller that finds it busy (another thread drawing),
// or a machine with one core, gets false and does the work itself.
#pragma once

#include <barrier>
#include <chrono>
#include <functional>

namespace zkw {

// The meeting point of the two parts of a job.
using TPairBarrier = std::barrier<>;

// Runs Part(0, Sync) on the calling thread and Part(1, Sync) on the helper at
// the same time, and returns true once both have returned. Sync is a barrier
// for exactly these two parts; each must arrive at it equally often. Part
// must not throw. Returns false without running anything when no helper is
// available, or when the helper has not taken the job within the start wait
// (SetHelperStartWait): a helper that is slow to wake (a loaded machine can
// keep a sleeping thread waiting for milliseconds) would otherwise hold the
// caller up at the first meeting, so the caller does the work alone instead.
bool RunOnTwoCores(const std::function<void(int Part, TPairBarrier& Sync)>& Part);

// How long RunOnTwoCores waits for the helper to take a job, process-wide.
// The helper usually wakes within 10 to 30 microseconds.
constexpr std::chrono::microseconds DefaultHelperStartWait{200};
void SetHelperStartWait(std::chrono::microseconds Wait);

// Test hook: the helper sleeps Delay after each wake-up before it takes a
// job, as a helper slow to wake would. Zero (the default) turns it off.
void SetHelperWakeDelay(std::chrono::microseconds Delay);

// Runs Work on the calling thread and, when the helper is free and gets
// going in time, on the helper as well. Work must divide itself so that
// either thread may do any share of it, all of it included (both take pieces
// from one atomic counter, say): a helper that has not started when the
// caller's Work returns does not run it at all, so a slow wake-up never keeps
// the caller waiting. Returns once every Work call that started has returned.
// Work must not throw.
void RunShared(const std::function<void()>& Work);

// Turns the helper off (false) or on again, process-wide: with it off
// RunOnTwoCores always returns false, so tests can compare both ways.
void SetTwoCoresEnabled(bool On);

}  // namespace zkw
