#pragma once

// The running numbers a feature sub-object manager numbers new features by: one count per feature type, keyed
// by the type's class id. Safe on any thread.

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "basic_types/zel_id.h"

class RunningNumbers {
 public:
  // Counts the type's number up by one.
  void update(const ZelID& typeId);
  // The type's number: 0 until it is first updated.
  int32_t number(const ZelID& typeId);
  // Counts the type's number down by one, so the number last handed out serves again; never below 0.
  void giveBack(const ZelID& typeId);

 private:
  // The type's count, made at 0 when it has none; mutex_ is held.
  int32_t& countLocked(const ZelID& typeId);

  std::mutex mutex_;
  // A document knows a dozen feature types, so a search beats a hash.
  std::vector<std::pair<ZelID, int32_t>> counts_;  // guarded by mutex_
};
