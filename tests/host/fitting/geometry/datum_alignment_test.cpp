#include "host/fitting/geometry/datum_alignment.h"

#include <cmath>

#include <gtest/gtest.h>
#include <Eigen/Geometry>

namespace fitting::test {
namespace {

using Planes = std::array<DatumPlane, 3>;
using Matrix34 = Eigen::Matrix<double, 3, 4>;

const double kHalfRoot3 = std::sqrt(3.0) / 2.0;

// A part with its top at z = 0.02 and two sides through the origin, and the same faces as a device turned
// 30 degrees about z and moved by (0.1, 0.2, 0.3) sees them.
const Planes kReference = {{{{0, 0, 1}, 0.02}, {{0, -1, 0}, 0.0}, {{1, 0, 0}, 0.0}}};
const Planes kDevice = {{{{0, 0, 1}, -0.28}, {{-0.5, -kHalfRoot3, 0}, 0.2}, {{kHalfRoot3, -0.5, 0}, -0.1}}};

Matrix34 matrixOf(const RigidMotion& motion) {
  Matrix34 m;
  m << motion.rotation, motion.translation;
  return m;
}

DatumPlane flipped(const DatumPlane& plane) {
  return {-plane.normal, -plane.offset};
}

TEST(DatumAlignment321, ThreePlanePairsGiveTheDeviceMotionAndTheSensesOfTheFirstTwoCount) {
  Matrix34 expected;
  expected << kHalfRoot3, -0.5, 0, 0.1, 0.5, kHalfRoot3, 0, 0.2, 0, 0, 1, 0.3;
  Matrix34 overturned;
  overturned << -kHalfRoot3, 0.5, 0, -0.1, 0.5, kHalfRoot3, 0, 0.2, 0, 0, -1, -0.26;

  Planes reference = kReference;
  auto motion = alignPlanes321(reference, kDevice);
  ASSERT_TRUE(motion) << motion.failure().reason;
  EXPECT_TRUE(matrixOf(*motion).isApprox(expected, 1e-12)) << matrixOf(*motion);
  EXPECT_NEAR(motion->rotation.determinant(), 1.0, 1e-14);

  reference[0] = flipped(reference[0]);
  motion = alignPlanes321(reference, kDevice);
  ASSERT_TRUE(motion);
  EXPECT_TRUE(matrixOf(*motion).isApprox(overturned, 1e-12)) << matrixOf(*motion);

  reference = kReference;
  reference[2] = flipped(reference[2]);
  motion = alignPlanes321(reference, kDevice);
  ASSERT_TRUE(motion);
  EXPECT_TRUE(matrixOf(*motion).isApprox(expected, 1e-12)) << "the tertiary's sense is its own";
}

TEST(DatumAlignment321, ThePrimaryCoincidesTheSecondaryTurnsAboutItAndTheTertiaryOnlyMoves) {
  // Reference planes not at right angles: plane 2 leans 10 degrees; the device sees them exactly moved.
  const Eigen::Vector3d lean = Eigen::Vector3d(0.17364817766693, -0.98480775301221, 0).normalized();
  const Planes reference = {{{{0, 0, 1}, 0.05}, {lean, 0.01}, {{1, 0, 0.2}, 0.03}}};
  const Eigen::Matrix3d turn =
      Eigen::AngleAxisd(0.4, Eigen::Vector3d(1, 2, 3).normalized()).toRotationMatrix();
  const Eigen::Vector3d shift(-0.3, 0.7, 0.05);
  Planes device;
  for (int i = 0; i < 3; ++i) {
    // x on the reference plane maps to the device point y = turn^T (x - shift).
    const Eigen::Vector3d n = turn.transpose() * reference[i].normal;
    device[i] = {n * 2.0, 2.0 * (reference[i].offset - reference[i].normal.dot(shift))};
  }
  auto motion = alignPlanes321(reference, device);
  ASSERT_TRUE(motion) << motion.failure().reason;
  EXPECT_TRUE(motion->rotation.isApprox(turn, 1e-12));
  EXPECT_TRUE(motion->translation.isApprox(shift, 1e-12));
}

TEST(DatumAlignment321, DependentOrMissingNormalsHaveNoMotion) {
  struct Case {
    const char* what;
    Planes reference, device;
  };
  Planes parallelSecond = kDevice;
  parallelSecond[1] = {{0, 0, -1}, 0.1};
  Planes flatThird = kReference;
  flatThird[2] = {{0, 1, 1}, 0};
  Planes zero = kDevice;
  zero[2] = {{0, 0, 0}, 0};
  Planes notANumber = kReference;
  notANumber[0].offset = std::nan("");
  for (const Case& c : {Case{"plane 2 parallel to plane 1", kReference, parallelSecond},
                        Case{"three normals in one plane", flatThird, kDevice},
                        Case{"a zero normal", kReference, zero}, Case{"a NaN offset", notANumber, kDevice}}) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(alignPlanes321(c.reference, c.device));
  }
}

}  // namespace
}  // namespace fitting::test
