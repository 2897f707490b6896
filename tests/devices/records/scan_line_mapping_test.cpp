#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "devices/records/plugin_device_data_records.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Points a scanner may send, finite and not: signed zeros, the smallest subnormal, magnitudes whose products
// or sums overflow, then a spread of ordinary ones over many decades.
std::vector<Vector3> awkwardPoints() {
  std::vector<Vector3> points = {{0, -0.0, 0},       {-0.0, -0.0, -0.0},    {5e-324, -5e-324, 1},
                                 {1e300, -1e300, 3}, {1e308, 1e308, 1e308}, {-1e308, 2, 1e-300},
                                 {kInf, 0, 0},       {0, -kInf, 0},         {0, 0, kNaN},
                                 {kNaN, kInf, -kInf}};
  std::mt19937_64 random(52);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-20, 20);
  for (int i = 0; i < 200; ++i) {
    auto draw = [&] { return std::ldexp(mantissa(random), exponent(random)); };
    points.push_back({draw(), draw(), draw()});
  }
  return points;
}

Matrix4x4 withLastRow(Matrix4x4 matrix, double m12, double m13, double m14, double m15) {
  matrix.m[12] = m12;
  matrix.m[13] = m13;
  matrix.m[14] = m14;
  matrix.m[15] = m15;
  return matrix;
}

TEST(ScanLineMapping, EveryPointComesOutAsTheDividingTransformGivesItWhateverTheMatrix) {
  const Matrix4x4 rigid = Matrix4x4::translation({10, -20, 0.5}) * Matrix4x4::rotation({1, 2, 3}, 0.7);
  Matrix4x4 sheared = Matrix4x4::scaling(2, 0.5, -3);
  sheared.m[1] = 0.25;
  sheared.m[11] = 1e6;
  const struct {
    const char* name;
    Matrix4x4 matrix;
  } cases[] = {
      {"identity", Matrix4x4::identity()},
      {"rigid", rigid},
      {"sheared and scaled", sheared},
      {"perspective", withLastRow(rigid, 0.01, 0, 0, 1)},
      {"last row 0 0 0 2", withLastRow(rigid, 0, 0, 0, 2)},
      {"last row 0 0 1e-3 1", withLastRow(sheared, 0, 0, 1e-3, 1)},
  };
  const std::vector<Vector3> points = awkwardPoints();
  // Each point followed by 8 bytes the line must step over.
  std::vector<double> source;
  for (const Vector3& point : points) source.insert(source.end(), {point.x, point.y, point.z, -1});
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    IPtr<PluginDeviceScanLineData> line(new PluginDeviceScanLineData);
    line->setPoints(source.data(), static_cast<int32_t>(points.size()), sizeof(double), test.matrix);
    ASSERT_EQ(line->pointCount(), static_cast<int32_t>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) {
      Vector3 expected;
      Matrix4x4::transformPointTo(test.matrix, points[i], expected);
      const double* mapped = line->points() + 3 * i;
      const double wanted[3] = {expected.x, expected.y, expected.z};
      for (int k = 0; k < 3; ++k) {
        // Bit for bit, signed zeros included; a NaN's sign and payload are the compiler's choice.
        const bool same = std::isnan(wanted[k]) ? std::isnan(mapped[k])
                                                : std::memcmp(&mapped[k], &wanted[k], sizeof(double)) == 0;
        EXPECT_TRUE(same) << "point " << i << " (" << points[i].x << ", " << points[i].y << ", "
                          << points[i].z << ") coordinate " << k << ": " << mapped[k] << ", not "
                          << wanted[k];
      }
    }
  }
}

TEST(ScanLineMapping, APointWithAnyNonFiniteCoordinateIsNotANumberWholeAndSpoilsNoOther) {
  const double xyz[] = {1, 2, 3, kInf, 0, 0, 4, 5, 6, 0, kNaN, 1, 7, 8, 9};
  IPtr<PluginDeviceScanLineData> line(new PluginDeviceScanLineData);
  line->setPoints(xyz, 5, 0, Matrix4x4::translation({1, 1, 1}));
  const double* mapped = line->points();
  for (int point : {1, 3}) {
    SCOPED_TRACE(point);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(std::isnan(mapped[3 * point + k])) << k;
  }
  EXPECT_EQ(std::vector<double>(mapped + 12, mapped + 15), (std::vector<double>{8, 9, 10}));
  EXPECT_EQ(std::vector<double>(mapped + 6, mapped + 9), (std::vector<double>{5, 6, 7}));
}

}  // namespace
