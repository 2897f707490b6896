#include "host/fitting/host_planar_curve_fitter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/document/host_real_parray.h"
#include "host/fitting/host_curve_fit_data.h"
#include "host/fitting/planar_curve_shape.h"

namespace {

constexpr double kZ0[4] = {0, 0, 1, 0};  // the plane z = 0

IPtr<RealPArray> arrayOf(const std::vector<Vector3>& points) {
  IPtr<RealPArray> array(new HostRealPArray(3, 16));
  for (const Vector3& p : points) {
    const double xyz[3] = {p.x, p.y, p.z};
    array->append(xyz);
  }
  return array;
}

// Points along x in z = 0, 0.01 apart, from x = from, count of them; z off the plane by lift.
std::vector<Vector3> run(double from, int count, double lift = 0) {
  std::vector<Vector3> points;
  for (int i = 0; i < count; ++i) points.push_back({from + 0.01 * i, 0, lift});
  return points;
}

std::vector<Vector3> circle(int count, double radius) {
  std::vector<Vector3> points;
  for (int i = 0; i < count; ++i) {
    const double a = 2 * M_PI * i / count;
    points.push_back({radius * std::cos(a), radius * std::sin(a), 0});
  }
  return points;
}

IPtr<ICurveSet> fit(HostPlanarCurveFitter& fitter, ICurveFitData* data, double offset) {
  IPtr<ICurveSet> curves;
  curves.takeOwnership(fitter.fit(data, offset));
  return curves;
}

TEST(PlanarCurveFitter, BreaksTheSectionAtGapsWiderThanTheFactorTimesTheMedianStep) {
  std::vector<Vector3> points = run(0, 5);
  for (const Vector3& p : run(0.1, 4)) points.push_back(p);  // a gap of 0.06, six median steps
  std::vector<Vector3> shuffled{points[3], points[7], points[0], points[5], points[8],
                                points[1], points[4], points[6], points[2]};
  struct Case {
    double factor;
    int32_t polylines;
  };
  for (const Case& c : {Case{-1, 2}, Case{5, 2}, Case{7, 1}}) {
    SCOPED_TRACE(c.factor);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(shuffled).get(), IPlanarCurveFitter::kOpen, c.factor));
    ASSERT_EQ(fitter->polylineCount(), c.polylines);
    RealPArray* first = fitter->polyline(1);
    for (int32_t i = 2; i <= first->count(); ++i)
      EXPECT_GT(first->at(i)[0], first->at(i - 1)[0]) << "in order";
  }
}

TEST(PlanarCurveFitter, ClosesLoopsAsTheConnectivitySaysAndAutoByTheirEnds) {
  struct Case {
    const char* name;
    std::vector<Vector3> points;
    int32_t connectivity;
    bool closed;
  };
  const std::vector<Case> cases = {
      {"a ring, auto", circle(24, 0.05), IPlanarCurveFitter::kAuto, true},
      {"a ring, open", circle(24, 0.05), IPlanarCurveFitter::kOpen, false},
      {"a short straight run, auto", run(0, 4), IPlanarCurveFitter::kAuto, false},
      {"a straight run, closed", run(0, 4), IPlanarCurveFitter::kClosed, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(c.points).get(), c.connectivity, -1));
    IPtr<ICurveSet> curves = fit(*fitter, nullptr, 0);
    ASSERT_TRUE(curves);
    ASSERT_EQ(curves->curveCount(), 1);
    EXPECT_EQ(curves->isClosed(1), c.closed);
  }
}

TEST(PlanarCurveFitter, ProjectsIntoThePlaneAndOffsetsToTheLeftOfTheRun) {
  IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf(run(0, 6, 0.002)).get(), IPlanarCurveFitter::kOpen, -1));
  EXPECT_EQ(fitter->polyline(1)->at(3)[2], 0.0);
  IPtr<ICurveSet> curves = fit(*fitter, nullptr, 0.003);  // the run goes along +x: its left is +y
  RealPArray* points = curves->curvePoints(1);
  for (int32_t i = 1; i <= points->count(); ++i) {
    EXPECT_NEAR(points->at(i)[1], 0.003, 1e-12);
    EXPECT_NEAR(points->at(i)[2], 0.0, 1e-12);
  }
  // A ring runs counter-clockwise about the normal: a positive offset shrinks it.
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf(circle(36, 0.05)).get(), IPlanarCurveFitter::kClosed, -1));
  IPtr<ICurveSet> ring = fit(*fitter, nullptr, 0.01);
  points = ring->curvePoints(1);
  for (int32_t i = 1; i <= points->count(); ++i)
    EXPECT_NEAR(std::hypot(points->at(i)[0], points->at(i)[1]), 0.04, 1e-3) << i;
}

TEST(PlanarCurveFitter, FitsLinesAndArcsWithinTheTolerance) {
  // An L: along x, then along y; and a half ring.
  std::vector<Vector3> corner = run(0, 6);
  for (int i = 1; i < 6; ++i) corner.push_back({0.05, 0.01 * i, 0});
  std::vector<Vector3> half;
  for (int i = 0; i <= 18; ++i)
    half.push_back({0.05 * std::cos(M_PI * i / 18), 0.05 * std::sin(M_PI * i / 18), 0});
  struct Case {
    const char* name;
    std::vector<Vector3> points;
    std::vector<int32_t> pieces;
  };
  for (const Case& c : {Case{"corner", corner, {ICurveSet::kLine, ICurveSet::kLine}},
                        Case{"half ring", half, {ICurveSet::kArc}}}) {
    SCOPED_TRACE(c.name);
    IPtr<HostCurveFitData> data(new HostCurveFitData);
    data->setTolerance(1e-4);
    data->setMode(ICurveFitDataV2::kLineArcLocal);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(c.points).get(), IPlanarCurveFitter::kOpen, -1));
    IPtr<ICurveSet> curves = fit(*fitter, data.get(), 0);
    ASSERT_TRUE(curves);
    EXPECT_EQ(curves->curveKind(1), ICurveSet::kLineArc);
    std::vector<int32_t> pieces;
    for (int32_t k = 1; curves->pieceKind(1, k) >= 0; ++k) pieces.push_back(curves->pieceKind(1, k));
    EXPECT_EQ(pieces, c.pieces);
  }
}

TEST(PlanarCurveFitter, PlacesSplineControlPointsAsTheRecordAsks) {
  struct Case {
    const char* name;
    int32_t mode;
    double spacing;
    int32_t controlPoints;
  };
  for (const Case& c :
       {Case{"by distance 0.005", ICurveFitDataV2::kSplineByDistance, 0.005, 21},
        Case{"by distance 0.02, yet no fewer than the section's 11", ICurveFitDataV2::kSplineByDistance, 0.02,
             11},
        Case{"four control points", ICurveFitDataV2::kSplineByControlPoints, 0.02, 4},
        Case{"a straight run within a tolerance", ICurveFitDataV2::kSplineByTolerance, 0.02, 2}}) {
    SCOPED_TRACE(c.name);
    IPtr<HostCurveFitData> data(new HostCurveFitData);
    data->setSpacing(c.spacing, -1);
    data->setControlPoints(4);
    data->setTolerance(1e-6);
    data->setMode(c.mode);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(run(0, 11)).get(), IPlanarCurveFitter::kOpen, -1));
    IPtr<ICurveSet> curves = fit(*fitter, data.get(), 0);
    ASSERT_TRUE(curves);
    ASSERT_EQ(curves->curvePoints(1)->count(), c.controlPoints);
    EXPECT_NEAR(curves->curvePoints(1)->at(c.controlPoints)[0], 0.1, 1e-12);
  }
}

// Ball centres of a sweep, each with the probe's direction there (toward the material), as the section
// command hands them over.
IPtr<RealPArray> touchesOf(const std::vector<Vector3>& centres, const std::vector<Vector3>& approaches) {
  IPtr<RealPArray> array(new HostRealPArray(6, 16));
  for (size_t i = 0; i < centres.size(); ++i) {
    const Vector3& c = centres[i];
    const Vector3& a = approaches[i];
    const double entry[6] = {c.x, c.y, c.z, a.x, a.y, a.z};
    array->append(entry);
  }
  return array;
}

constexpr double kBall = 0.003;        // the probe's radius
constexpr double kBoreRadius = 0.010;  // a 20 mm bore

// The tip centres of a bore in z = 0 probed at those angles (degrees), the probe leaning on the wall.
IPtr<RealPArray> boreTouches(const std::vector<double>& degrees) {
  std::vector<Vector3> centres, approaches;
  for (double d : degrees) {
    const Vector3 out{std::cos(d * M_PI / 180), std::sin(d * M_PI / 180), 0};
    centres.push_back(out * (kBoreRadius - kBall));
    approaches.push_back(out);
  }
  return touchesOf(centres, approaches);
}

// The farthest a point of the section's one curve lies from the bore's wall.
double worstOffTheBore(HostPlanarCurveFitter& fitter, const double plane[4], RealPArray* touches) {
  EXPECT_TRUE(fitter.setup(plane, touches, IPlanarCurveFitter::kAuto, -1));
  IPtr<HostCurveFitData> data(new HostCurveFitData);
  data->setSpacing(0.0005, -1);
  data->setMode(ICurveFitDataV2::kSplineByDistance);
  IPtr<ICurveSet> curves = fit(fitter, data.get(), -kBall);
  EXPECT_TRUE(curves && curves->curveCount() == 1 && curves->isClosed(1));
  if (!curves) return INFINITY;
  RealPArray* points = curves->curvePoints(1);
  EXPECT_GT(points->count(), 100) << "points every half millimetre round the bore";
  double worst = 0;
  for (int32_t i = 1; i <= points->count(); ++i)
    worst = std::max(worst, std::fabs(std::hypot(points->at(i)[0], points->at(i)[1]) - kBoreRadius));
  return worst;
}

TEST(PlanarCurveFitter, ASmoothCurveThroughFewTouchesOfABoreStaysOnItsWall) {
  std::vector<double> sixteen;  // about 22 degrees apart, as a hand spaces them
  for (int i = 0; i < 16; ++i) sixteen.push_back(22.5 * i + (i % 3 - 1) * 0.8);
  const std::vector<double> uneven{0, 31, 84, 120, 165, 201, 250, 290, 325};  // gaps up to 53 degrees
  struct Case {
    const char* name;
    std::vector<double> degrees;
    double within;
  };
  for (const Case& c : {Case{"16 angles", sixteen, 5e-6}, Case{"9 uneven angles", uneven, 1e-4}}) {
    for (double nz : {1.0, -1.0}) {
      SCOPED_TRACE(std::string(c.name) + (nz > 0 ? ", normal +z" : ", normal -z"));
      const double plane[4] = {0, 0, nz, 0};
      IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
      EXPECT_LT(worstOffTheBore(*fitter, plane, boreTouches(c.degrees).get()), c.within);
    }
  }
}

// A flat face z = 0.01 swept along y, cut by the plane x = 0.05: the tip centres lie one radius above it and
// the probe points down onto it.
IPtr<RealPArray> flatFaceTouches() {
  std::vector<Vector3> centres, approaches;
  for (double y : {0.013, 0.005, 0.011, 0.007, 0.015, 0.009}) {
    centres.push_back({0.05, y, 0.01 + kBall});
    approaches.push_back({0.01, 0.02, -1});  // a stylus not quite upright
  }
  return touchesOf(centres, approaches);
}

TEST(PlanarCurveFitter, TheMaterialSideFollowsTheProbeWhicheverWayTheNormalPoints) {
  for (double nx : {1.0, -1.0}) {
    SCOPED_TRACE(nx);
    const double plane[4] = {nx, 0, 0, 0.05 * nx};
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(plane, flatFaceTouches().get(), IPlanarCurveFitter::kAuto, -1));
    ASSERT_EQ(fitter->polylineCount(), 1);
    struct Side {
      double offset;
      double z;
    };
    for (const Side& side : {Side{-kBall, 0.01}, Side{kBall, 0.01 + 2 * kBall}}) {
      SCOPED_TRACE(side.offset);
      IPtr<ICurveSet> curves = fit(*fitter, nullptr, side.offset);
      ASSERT_TRUE(curves);
      EXPECT_FALSE(curves->isClosed(1));
      RealPArray* points = curves->curvePoints(1);
      EXPECT_GE(points->count(), 6) << "no fewer points than the section";
      for (int32_t i = 1; i <= points->count(); ++i) {
        EXPECT_NEAR(points->at(i)[0], 0.05, 1e-9);
        EXPECT_NEAR(points->at(i)[2], side.z, 1e-9) << "straight, on the face or 2 r off it";
      }
      EXPECT_NEAR(points->at(1)[1] + points->at(points->count())[1], 0.02, 1e-9) << "from end to end";
    }
  }
}

TEST(PlanarCurveFitter, APointTouchedTwiceStillGivesAFiniteCurve) {
  std::vector<Vector3> points = run(0, 6);
  points.push_back(points[2]);
  for (int32_t connectivity : {IPlanarCurveFitter::kOpen, IPlanarCurveFitter::kClosed}) {
    SCOPED_TRACE(connectivity);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(points).get(), connectivity, -1));
    IPtr<ICurveSet> curves = fit(*fitter, nullptr, 0.001);
    ASSERT_TRUE(curves);
    RealPArray* shown = curves->curvePoints(1);
    for (int32_t i = 1; i <= shown->count(); ++i) {
      for (int k = 0; k < 3; ++k) EXPECT_TRUE(std::isfinite(shown->at(i)[k])) << i;
    }
  }
}

// A spot touched twice, the second touch a hair beside the first, is one touch: the chord between the two
// points says nothing of the wall's direction. And a closed section whose touches leave two distinct points
// still has its curve.
TEST(PlanarCurveFitter, TouchesThatCoincideOrNearlySoLeaveTheCurveWhereTheOthersPutIt) {
  for (double hair : {1e-6, 1e-10}) {
    SCOPED_TRACE(hair);
    std::vector<Vector3> centres, approaches;
    for (int i = 0; i < 16; ++i) {
      const double a = 2 * M_PI * i / 16;
      approaches.push_back({std::cos(a), std::sin(a), 0});
      centres.push_back(approaches.back() * (kBoreRadius - kBall));
    }
    const Vector3 alongTheWall{-approaches[3].y, approaches[3].x, 0};
    centres.push_back(centres[3] + alongTheWall * hair + approaches[3] * hair);
    approaches.push_back(approaches[3]);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    EXPECT_LT(worstOffTheBore(*fitter, kZ0, touchesOf(centres, approaches).get()), 5e-6);
  }
  IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf({{0, 0, 0}, {0.01, 0, 0}, {0.01, 0, 0}}).get(),
                            IPlanarCurveFitter::kClosed, -1));
  IPtr<ICurveSet> curves = fit(*fitter, nullptr, 0.001);
  ASSERT_TRUE(curves);
  ASSERT_EQ(curves->curveCount(), 1);
  EXPECT_FALSE(curves->isClosed(1)) << "two points close nothing";
  RealPArray* points = curves->curvePoints(1);
  ASSERT_GE(points->count(), 2);
  for (int32_t i = 1; i <= points->count(); ++i) EXPECT_NEAR(std::fabs(points->at(i)[1]), 0.001, 1e-12) << i;
}

// A closed sweep that ends where it began, its last touch a hair beside its first (across the wall as well as
// along it): round the loop the two meet at the seam, where they are one touch as neighbours elsewhere are,
// or their chord turns the curve's tangent, and the offset with it, there.
TEST(PlanarCurveShape, AClosedSectionsLastTouchBesideItsFirstIsJoinedToItAtTheSeam) {
  std::vector<Vector3> centres;  // counter-clockwise: the wall, outside, lies to the right
  for (int i = 0; i < 16; ++i) {
    const double a = 2 * M_PI * i / 16;
    centres.push_back(Vector3{std::cos(a), std::sin(a), 0} * (kBoreRadius - kBall));
  }
  const double hair = 1e-6;
  centres.push_back(centres[0] + Vector3{1, 0, 0} * hair - Vector3{0, 1, 0} * hair);
  const double step = 2 * (kBoreRadius - kBall) * std::sin(M_PI / 16);
  IPtr<HostCurveFitData> data(new HostCurveFitData);
  data->setSpacing(0.0005, -1);
  data->setMode(ICurveFitDataV2::kSplineByDistance);
  const std::optional<HostCurveSet::Curve> curve =
      planarCurveThrough(centres, true, {0, 0, 1}, -kBall, data.get(), step);
  ASSERT_TRUE(curve);
  EXPECT_TRUE(curve->closed);
  double worst = 0;
  for (const Vector3& p : curve->points)
    worst = std::max(worst, std::fabs(std::hypot(p.x, p.y) - kBoreRadius));
  EXPECT_LT(worst, 5e-6);
}

// Two touches of a face: the probe's lean says which side the material is, whichever way they came, and a
// section asked to close them is open, as two points close nothing.
TEST(PlanarCurveFitter, ATwoTouchSectionAskedToCloseIsOpenAndOffsetTowardsItsMaterial) {
  for (double side : {1.0, -1.0}) {
    for (bool backwards : {false, true}) {
      SCOPED_TRACE(std::to_string(side) + (backwards ? ", backwards" : ""));
      std::vector<Vector3> centres{{0, 0, 0}, {0.01, 0, 0}};
      if (backwards) std::swap(centres[0], centres[1]);
      const Vector3 towardsMaterial{0, side, 0};
      IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
      ASSERT_TRUE(fitter->setup(kZ0, touchesOf(centres, {towardsMaterial, towardsMaterial}).get(),
                                IPlanarCurveFitter::kClosed, -1));
      IPtr<ICurveSet> curves = fit(*fitter, nullptr, -kBall);
      ASSERT_TRUE(curves);
      EXPECT_FALSE(curves->isClosed(1));
      RealPArray* points = curves->curvePoints(1);
      ASSERT_GE(points->count(), 2);
      for (int32_t i = 1; i <= points->count(); ++i) EXPECT_NEAR(points->at(i)[1], side * kBall, 1e-12) << i;
    }
  }
}

TEST(PlanarCurveFitter, NothingToFitGivesNoCurves) {
  IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf({{1, 2, 0}}).get(), IPlanarCurveFitter::kAuto, -1));
  EXPECT_FALSE(fit(*fitter, nullptr, 0));
  const double noNormal[4] = {0, 0, 0, 1};
  EXPECT_FALSE(fitter->setup(noNormal, arrayOf(run(0, 3)).get(), IPlanarCurveFitter::kAuto, -1));
  EXPECT_EQ(fitter->polylineCount(), 0);
}

}  // namespace
