#pragma once

// The stand-in host's progress display for a task of equal steps ("IZelProgressSplit", a new object per
// request). Headless: each display notes how far it got, and the last one finished is kept for tests and
// scripts to read.

#include <cstdint>

#include "host/core/host_unknown.h"
#include "host_api/progress_split.h"

class HostProgressSplit : public IZelProgressSplit, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostProgressSplit";

  struct Run {
    int32_t steps = 0;
    int32_t done = 0;
  };

  void begin(int32_t steps) override;
  void step() override;
  void finish() override;

  // Host side: the last display finished, and how many have finished so far.
  static Run lastFinished();
  static int32_t finishedCount();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Run run_;
};
