#include "features/feature_statistics.h"

#include "basic_types/bit_vector.h"
#include "features/compensated_points.h"

namespace {

// An entry is a point and a direction, as the host's arrays of probed points hold them.
constexpr int32_t kEntryWidth = 6;
constexpr int32_t kInitialEntries = 64;
constexpr int32_t kInitialSelectionSize = 10;

}  // namespace

FeatureStatistics::FeatureStatistics() {
  SPtr<IRealPArrayFactory> arrays;
  if (arrays) points_.takeOwnership(arrays->createArray(kEntryWidth, kInitialEntries));
}

bool FeatureStatistics::evaluate(IZelFeature* feature, double& maximumNegative, double& maximumPositive,
                                 double& standardDeviation) {
  if (!evaluator_ || !points_ || !feature) return false;
  const std::optional<PointList> compensated = getCompensatedPoints(feature);
  if (!compensated) return false;
  points_->clear();
  for (const Vector3& p : *compensated) {
    const double entry[kEntryWidth] = {p.x, p.y, p.z, 0.0, 0.0, 0.0};
    points_->append(entry);
  }
  BitVector selection(kInitialSelectionSize);
  selection.setFirst(points_->count());
  return evaluator_->evaluate(feature, points_.get(), maximumNegative, maximumPositive, standardDeviation,
                              &selection);
}
