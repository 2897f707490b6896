#include "commands/alignment/move_device/move_device_spread.h"

#include <cmath>

#include "commands/alignment/common/fit_spread.h"

double moveUncertainty(const MoveDevicePointContainer& references, const std::vector<Vector3>& partCorners,
                       double probingError) {
  std::vector<FitPoint> pairs;
  std::vector<Vector3> far = partCorners;
  for (int32_t i = 0; i < references.count(); ++i) {
    pairs.push_back({references.position(i), {}});
    far.push_back(references.position(i));
  }
  // Each pair carries the error of two touches: its reference's and its target's.
  return fitSpreadAt(pairs, far, std::sqrt(2.0) * probingError);
}
