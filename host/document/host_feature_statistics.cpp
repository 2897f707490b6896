#include "host/document/host_feature_statistics.h"

#include <cmath>
#include <optional>
#include <vector>

#include "framework/object/query_chain.h"
#include "host/document/feature_fitting_shape.h"
#include "host/fitting/geometry/residual_statistics.h"

namespace {

// The selected entries' points in entry order; a selected entry holding a non-finite coordinate is kept, so
// that the library refuses the whole evaluation rather than the point being dropped unseen.
std::vector<Eigen::Vector3d> selectedPoints(RealPArray& points, const BitVector& selection) {
  std::vector<Eigen::Vector3d> chosen;
  for (int32_t i = 1; i <= points.count(); ++i) {
    if (!selection.test(i)) continue;
    const double* entry = points.at(i);
    chosen.emplace_back(entry[0], entry[1], entry[2]);
  }
  return chosen;
}

}  // namespace

bool HostFeatureStatisticsEvaluator::evaluate(IZelFeature* feature, RealPArray* points,
                                              double& maximumNegative, double& maximumPositive,
                                              double& standardDeviation, const BitVector* selection) {
  if (!points || !selection) return false;
  const std::optional<FittingShape> shape = fittingShapeOf(feature);
  if (!shape) return false;
  const std::vector<Eigen::Vector3d> chosen = selectedPoints(*points, *selection);
  const auto statistics =
      std::visit([&chosen](const auto& kind) { return fitting::residualStatistics(kind, chosen); }, *shape);
  // Distances near the largest double square to infinity; no such deviation is passed on as a measure.
  if (!statistics || !std::isfinite(statistics->standardDeviation)) return false;
  maximumNegative = statistics->largestNegative;
  maximumPositive = statistics->largestPositive;
  standardDeviation = statistics->standardDeviation;
  return true;
}

void HostFeatureStatisticsEvaluator::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelFeatureStatisticsEvaluator>(this)
      .end();
}
