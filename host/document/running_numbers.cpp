#include "host/document/running_numbers.h"

#include <algorithm>

int32_t& RunningNumbers::countLocked(const ZelID& typeId) {
  auto found =
      std::find_if(counts_.begin(), counts_.end(), [&](const auto& count) { return count.first == typeId; });
  if (found != counts_.end()) return found->second;
  return counts_.emplace_back(typeId, 0).second;
}

void RunningNumbers::update(const ZelID& typeId) {
  std::lock_guard lock(mutex_);
  ++countLocked(typeId);
}

int32_t RunningNumbers::number(const ZelID& typeId) {
  std::lock_guard lock(mutex_);
  return countLocked(typeId);
}

void RunningNumbers::giveBack(const ZelID& typeId) {
  std::lock_guard lock(mutex_);
  int32_t& count = countLocked(typeId);
  count = std::max(count - 1, 0);
}
