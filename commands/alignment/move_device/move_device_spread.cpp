#include "commands/alignment/move_device/move_device_spread.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// How many standard deviations the bound covers: about 95 moves in 100 lie within it.
constexpr double kCoverage = 2.0;

using Symmetric3 = double[3][3];

// The largest eigenvalue of a symmetric 3 x 3 matrix, in closed form: with B = (s - mean I) / p, the
// eigenvalues are mean + 2 p cos(phi + k 2 pi / 3), where cos(3 phi) = det(B) / 2.
double largestEigenvalue(const Symmetric3& s) {
  const double mean = (s[0][0] + s[1][1] + s[2][2]) / 3;
  double spread = 2 * (s[0][1] * s[0][1] + s[0][2] * s[0][2] + s[1][2] * s[1][2]);
  for (int i = 0; i < 3; ++i) spread += (s[i][i] - mean) * (s[i][i] - mean);
  if (spread <= 0) return mean;
  const double p = std::sqrt(spread / 6);
  Symmetric3 b;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) b[i][j] = (s[i][j] - (i == j ? mean : 0)) / p;
  const double determinant = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) -
                             b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0]) +
                             b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
  return mean + 2 * p * std::cos(std::acos(std::clamp(determinant / 2, -1.0, 1.0)) / 3);
}

}  // namespace

double moveUncertainty(const MoveDevicePointContainer& references, double probingError) {
  const int32_t count = references.count();
  if (count < 1) return std::numeric_limits<double>::infinity();
  Vector3 centroid;
  for (int32_t i = 0; i < count; ++i) centroid = centroid + references.position(i);
  centroid = centroid / count;
  Symmetric3 scatter = {};
  double reachSquared = 0;
  for (int32_t i = 0; i < count; ++i) {
    const Vector3 offset = references.position(i) - centroid;
    const double along[3] = {offset.x, offset.y, offset.z};
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) scatter[a][b] += along[a] * along[b];
    reachSquared = std::max(reachSquared, offset.squaredLength());
  }
  // The least moment of the references about an axis through their centroid: the turn about that axis is
  // the one the fit knows worst, its variance the pair's error squared over this moment.
  const double weakest = scatter[0][0] + scatter[1][1] + scatter[2][2] - largestEigenvalue(scatter);
  if (!(weakest > 0)) return std::numeric_limits<double>::infinity();
  // Each pair carries the error of two touches: its reference's and its target's.
  const double pairError = std::sqrt(2.0) * probingError;
  return kCoverage * pairError * std::sqrt(1.0 / count + reachSquared / weakest);
}
