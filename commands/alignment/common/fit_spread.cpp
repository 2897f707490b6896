#include "commands/alignment/common/fit_spread.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// How many standard deviations the bound covers: about 95 moves in 100 lie within it.
constexpr double kCoverage = 2.0;
// A pivot of the normal equations this small beside their largest diagonal leaves a motion unfixed.
constexpr double kUnfixed = 1e-12;

using Row = std::array<double, 6>;
using Normal = std::array<Row, 6>;

// What a small move (turn w, shift t) does to point p along direction e: (p x e) . w + e . t.
Row rowOf(const Vector3& p, const Vector3& e) {
  const Vector3 turn = Vector3::cross(p, e);
  return {turn.x, turn.y, turn.z, e.x, e.y, e.z};
}

// The lower Cholesky factor of n in place; false where n is not positive definite to kUnfixed.
bool factor(Normal& n) {
  double largest = 0;
  for (int i = 0; i < 6; ++i) largest = std::max(largest, n[i][i]);
  for (int j = 0; j < 6; ++j) {
    double pivot = n[j][j];
    for (int k = 0; k < j; ++k) pivot -= n[j][k] * n[j][k];
    if (!(pivot > kUnfixed * largest)) return false;
    n[j][j] = std::sqrt(pivot);
    for (int i = j + 1; i < 6; ++i) {
      double sum = n[i][j];
      for (int k = 0; k < j; ++k) sum -= n[i][k] * n[j][k];
      n[i][j] = sum / n[j][j];
    }
  }
  return true;
}

// x . N^-1 y for the factor L of N (N = L L^T): (L^-1 x) . (L^-1 y).
Row solveLower(const Normal& l, Row x) {
  for (int i = 0; i < 6; ++i) {
    for (int k = 0; k < i; ++k) x[i] -= l[i][k] * x[k];
    x[i] /= l[i][i];
  }
  return x;
}
double dot(const Row& a, const Row& b) {
  double sum = 0;
  for (int i = 0; i < 6; ++i) sum += a[i] * b[i];
  return sum;
}

// The largest eigenvalue of a symmetric 3 x 3 matrix, in closed form: with B = (s - mean I) / p, the
// eigenvalues are mean + 2 p cos(phi + k 2 pi / 3), where cos(3 phi) = det(B) / 2.
double largestEigenvalue(const double s[3][3]) {
  const double mean = (s[0][0] + s[1][1] + s[2][2]) / 3;
  double spread = 2 * (s[0][1] * s[0][1] + s[0][2] * s[0][2] + s[1][2] * s[1][2]);
  for (int i = 0; i < 3; ++i) spread += (s[i][i] - mean) * (s[i][i] - mean);
  if (spread <= 0) return mean;
  const double p = std::sqrt(spread / 6);
  double b[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) b[i][j] = (s[i][j] - (i == j ? mean : 0)) / p;
  const double determinant = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) -
                             b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0]) +
                             b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
  return mean + 2 * p * std::cos(std::acos(std::clamp(determinant / 2, -1.0, 1.0)) / 3);
}

const Vector3 kAxes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

}  // namespace

double fitSpreadAt(const std::vector<FitPoint>& points, const std::vector<Vector3>& farPoints, double error) {
  constexpr double kUnbounded = std::numeric_limits<double>::infinity();
  if (points.empty()) return kUnbounded;
  // About the points' centroid, where turn and shift part as far as the points allow.
  Vector3 centre;
  for (const FitPoint& each : points) centre = centre + each.point / static_cast<double>(points.size());
  Normal normal{};
  const auto add = [&](const Row& row) {
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) normal[i][j] += row[i] * row[j];
  };
  for (const FitPoint& each : points) {
    const Vector3 p = each.point - centre;
    if (each.normal.squaredLength() == 0) {
      for (const Vector3& axis : kAxes) add(rowOf(p, axis));
    } else {
      add(rowOf(p, each.normal.normalized()));
    }
  }
  if (!factor(normal)) return kUnbounded;
  double furthest = 0;
  for (const Vector3& far : farPoints) {
    Row along[3];
    for (int a = 0; a < 3; ++a) along[a] = solveLower(normal, rowOf(far - centre, kAxes[a]));
    double covariance[3][3];
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) covariance[a][b] = dot(along[a], along[b]);
    furthest = std::max(furthest, std::sqrt(std::max(largestEigenvalue(covariance), 0.0)));
  }
  return kCoverage * error * furthest;
}
