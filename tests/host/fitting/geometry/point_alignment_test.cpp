#include "host/fitting/geometry/point_alignment.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <Eigen/Geometry>

namespace fitting::test {
namespace {

using Points = std::vector<Eigen::Vector3d>;

// A device turned 30 degrees about z and moved by (0.1, 0.2, 0.3) sees the reference points where T^-1 puts
// them.
const Eigen::Matrix3d kTurn = Eigen::AngleAxisd(M_PI / 6, Eigen::Vector3d::UnitZ()).toRotationMatrix();
const Eigen::Vector3d kShift(0.1, 0.2, 0.3);
const Points kReference = {{0, 0, 0}, {0.1, 0, 0}, {0, 0.1, 0}, {0, 0, 0.1}};

Points seenByDevice(const Points& points) {
  Points seen;
  for (const Eigen::Vector3d& p : points) seen.push_back(kTurn.transpose() * (p - kShift));
  return seen;
}

TEST(PointAlignment, RecoversTheMotionThatCarriesTheFloatingPointsOntoTheFixedOnes) {
  auto motion = alignPoints(kReference, seenByDevice(kReference));
  ASSERT_TRUE(motion) << motion.failure().reason;
  EXPECT_TRUE(motion->rotation.isApprox(kTurn, 1e-12));
  EXPECT_TRUE(motion->translation.isApprox(kShift, 1e-12));
  // Three points are enough.
  const Points three(kReference.begin(), kReference.begin() + 3);
  auto fromThree = alignPoints(three, seenByDevice(three));
  ASSERT_TRUE(fromThree);
  EXPECT_TRUE(fromThree->rotation.isApprox(kTurn, 1e-12));
}

TEST(PointAlignment, MirroredPointsGiveAProperRotationNeverAReflection) {
  Points mirrored;
  for (const Eigen::Vector3d& p : kReference) mirrored.push_back({p.x(), p.y(), -p.z()});
  auto motion = alignPoints(kReference, mirrored);
  ASSERT_TRUE(motion);
  EXPECT_NEAR(motion->rotation.determinant(), 1.0, 1e-12);
}

TEST(PointAlignment, PairsThatLeaveATurnFreeOrHoldNoNumberAreRefused) {
  const Points line = {{0, 0, 0}, {0.1, 0, 0}, {0.2, 0, 0}, {0.3, 0, 0}};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    Points fixed, floating;
  } cases[] = {
      {"two pairs", Points(kReference.begin(), kReference.begin() + 2),
       Points(kReference.begin(), kReference.begin() + 2)},
      {"collinear fixed", line, kReference},
      {"collinear floating", kReference, line},
      {"one point four times", Points(4, kShift), Points(4, kShift)},
      {"unequal lists", kReference, Points(kReference.begin(), kReference.begin() + 3)},
      {"not finite",
       {{nan, 0, 0}, {0.1, 0, 0}, {0, 0.1, 0}},
       Points(kReference.begin(), kReference.begin() + 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(alignPoints(c.fixed, c.floating));
  }
}

}  // namespace
}  // namespace fitting::test
