#include "commands/alignment/iterative/target_spread.h"

#include "commands/alignment/common/fit_spread.h"
#include "commands/alignment/iterative/iterative_realignment.h"

double targetSpread(const std::vector<TargetData>& targets, const std::vector<Vector3>& partCorners,
                    double probingError) {
  std::vector<FitPoint> counted;
  std::vector<Vector3> far = partCorners;
  for (const TargetData& entry : targets) {
    if (!entry.nominal || !entry.measured) continue;
    counted.push_back({entry.nominal->point, entry.nominal->direction});
    far.push_back(entry.nominal->point);
  }
  if (static_cast<int32_t>(counted.size()) < IterativeRealignment::kFirstRefinedCount) {
    for (FitPoint& pair : counted) pair.normal = {};
  }
  return fitSpreadAt(counted, far, probingError);
}
