#include "host/document/host_point_uniform_sampler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "framework/object/query_chain.h"

namespace {

using Cell = std::array<int64_t, 3>;
constexpr double kMaxCellIndex = 0x1p62;

}  // namespace

bool HostPointUniformSampler::run() {
  RealPArray* array = points_ ? points_->array() : nullptr;
  if (!array || points_->state() == 0 || !(relativeSpacing_ > 0)) return false;
  const int32_t count = array->count();
  if (count < 2) return true;
  double min[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
  double max[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  points_->extendBox(min, max, true);
  const double extent = std::max({max[0] - min[0], max[1] - min[1], max[2] - min[2]});
  const double cellSize = relativeSpacing_ * extent;
  // An infinite spacing, or a set of coincident points, makes one cell of everything: the product of an
  // infinite spacing and a zero extent is no size to divide by.
  const bool oneCell = !std::isfinite(cellSize) || !(cellSize > 0);
  // Cells so fine that their numbers would not fit an index hold a point each: nothing to thin.
  if (!oneCell && extent / cellSize > kMaxCellIndex) return true;
  const int32_t width = array->entryWidth();
  std::vector<double> kept;
  std::set<Cell> taken;
  for (int32_t i = 1; i <= count; ++i) {
    const double* entry = array->at(i);
    Cell cell{};
    if (!oneCell) {
      for (int axis = 0; axis < 3; ++axis)
        cell[axis] = static_cast<int64_t>(std::floor((entry[axis] - min[axis]) / cellSize));
    }
    if (taken.insert(cell).second) kept.insert(kept.end(), entry, entry + width);
  }
  array->clear();
  for (size_t at = 0; at < kept.size(); at += static_cast<size_t>(width)) array->append(&kept[at]);
  return true;
}

void HostPointUniformSampler::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IPointUniformSampler>(this).end();
}
