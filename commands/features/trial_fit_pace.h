#pragma once

// When a probing run refits its trial feature for the live statistics. A trial fit costs time in proportion
// to the points it runs through, so a refit at every touch would make one long acquisition cost the square of
// its touches. While the points are few, every change refits, and the statistics are always those of every
// point taken; beyond that, a refit waits until the points have changed by a fixed share of their count
// since the last one. Each change then pays for a bounded number of points fitted, whatever the count, and
// the statistics trail the touches by at most that share.

#include <cstdint>

class TrialFitPace {
 public:
  // Up to this many points, every change refits: a feature probed by hand never waits for its statistics.
  static constexpr uint32_t kEveryChangeUpTo = 128;
  // Beyond it, a refit waits for changes numbering this fraction (1/kShare) of the points.
  static constexpr uint32_t kShare = 32;

  // Notes one change to the points (a touch taken or undone), which now number count; answers whether the
  // trial fit is due now.
  bool due(uint32_t count) {
    ++changes_;
    if (count > kEveryChangeUpTo && changes_ * kShare < count) return false;
    changes_ = 0;
    return true;
  }

 private:
  uint64_t changes_ = 0;  // since the last refit
};
