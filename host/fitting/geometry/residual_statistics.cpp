#include "host/fitting/geometry/residual_statistics.h"

#include <algorithm>
#include <cmath>

namespace fitting {

FitResult<ResidualStatistics> residualStatistics(std::span<const double> signedDistances) {
  if (signedDistances.empty()) return FitFailure{"there are no distances"};
  if (!std::all_of(signedDistances.begin(), signedDistances.end(),
                   [](double d) { return std::isfinite(d); })) {
    return FitFailure{"a distance is not a finite number"};
  }
  const auto [lowest, highest] = std::minmax_element(signedDistances.begin(), signedDistances.end());
  const double count = static_cast<double>(signedDistances.size());
  double mean = 0.0;
  for (double d : signedDistances) mean += d / count;
  double squares = 0.0;
  for (double d : signedDistances) squares += (d - mean) * (d - mean);
  const double deviation = signedDistances.size() > 1 ? std::sqrt(squares / (count - 1.0)) : 0.0;
  return ResidualStatistics{std::min(*lowest, 0.0), std::max(*highest, 0.0), deviation};
}

}  // namespace fitting
