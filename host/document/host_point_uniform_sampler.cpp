#include "host/document/host_point_uniform_sampler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "framework/object/query_chain.h"

namespace {

using Cell = std::array<int64_t, 3>;

struct CellHash {
  size_t operator()(const Cell& cell) const {
    // Large odd multipliers spread neighbouring cells over the table.
    return static_cast<size_t>(cell[0] * 0x9E3779B97F4A7C15ull ^ cell[1] * 0xC2B2AE3D27D4EB4Full ^
                               cell[2] * 0x165667B19E3779F9ull);
  }
};
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
  std::unordered_set<Cell, CellHash> taken;
  taken.reserve(static_cast<size_t>(count));
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
