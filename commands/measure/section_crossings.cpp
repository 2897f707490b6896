#include "commands/measure/section_crossings.h"

#include <algorithm>

bool SectionCrossings::step(const Vector3& position) {
  if (count_ < kWindow) {
    window_[static_cast<size_t>(++count_)] = position;
    return count_ >= 2;
  }
  std::shift_left(window_.begin(), window_.end(), 1);
  window_[kWindow] = position;
  return true;
}
