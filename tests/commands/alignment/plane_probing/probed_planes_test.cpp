// The device planes of the 3-2-1 alignment from probed tip centres, with the host's plane fitter.

#include "commands/alignment/plane_probing/probed_planes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "commands/alignment/plane_probing/plane_fit_and_view.h"
#include "host/tool/arm_events.h"
#include "host/tool/random_pose.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

void expectPlane(const Plane& actual, const Plane& expected, double tolerance = 1e-12) {
  EXPECT_NEAR(actual.nx, expected.nx, tolerance);
  EXPECT_NEAR(actual.ny, expected.ny, tolerance);
  EXPECT_NEAR(actual.nz, expected.nz, tolerance);
  EXPECT_NEAR(actual.d, expected.d, tolerance);
}

using ProbedPlanesTest = ModuleTest;

TEST_F(ProbedPlanesTest, AFittedPlaneIsTheHostsEquationAndCollinearPointsHaveNone) {
  std::optional<Plane> plane = fitPlane({{0, 0, 0.103}, {0.1, 0, 0.103}, {0, 0.1, 0.103}});
  ASSERT_TRUE(plane);
  expectPlane(*plane, {0, 0, 1, 0.103});
  EXPECT_FALSE(fitPlane({{0, 0, 0}, {0.1, 0, 0}, {0.3, 0, 0}}));
  EXPECT_FALSE(fitPlane({{0, 0, 0}, {0.1, 0, 0}}));
}

TEST_F(ProbedPlanesTest, ThePointInViewIsTheViewVolume) {
  // The view shows the cube of half size 2 about (1, 1, 1).
  host_.scene().genGfx().setViewToScene(-1, Matrix4x4::translation({1, 1, 1}) * Matrix4x4::uniformScaling(2));
  EXPECT_TRUE(isPointInView({1, 1, 1}));
  EXPECT_TRUE(isPointInView({3, -1, 3}));
  for (const Vector3& outside : {Vector3(3.001, 1, 1), Vector3(1, -1.001, 1), Vector3(1, 1, 3.001)}) {
    EXPECT_FALSE(isPointInView(outside)) << outside.x << " " << outside.y << " " << outside.z;
  }
}

TEST_F(ProbedPlanesTest, TheProbeRadiusMovesAPlaneAwayFromItsStopPointWhicheverSenseItWasFitted) {
  Plane onIt{0, 0, 1, 0.1};
  offsetPlaneAwayFrom(onIt, {0.5, 0.5, 0.1}, 0.002);
  orientPlaneTowards(onIt, {0.5, 0.5, 0.1});
  expectPlane(onIt, {0, 0, 1, 0.098});

  for (const Plane& fitted : {Plane{0, 0, 1, 0.103}, Plane{0, 0, -1, -0.103}}) {
    Plane above = fitted, below = fitted;
    offsetPlaneAwayFrom(above, {0, 0, 0.2}, 0.003);
    orientPlaneTowards(above, {0, 0, 0.2});
    expectPlane(above, {0, 0, 1, 0.1});
    offsetPlaneAwayFrom(below, {0, 0, 0}, 0.003);
    orientPlaneTowards(below, {0, 0, 0});
    expectPlane(below, {0, 0, -1, -0.106});
  }
}

TEST_F(ProbedPlanesTest, PlaneTwoTurnsSquareToPlaneOneAboutItsPointsAndPlaneThreeTakesTheirMean) {
  ProbedPlanes probed;
  probed.probeRadius = 0.0;
  probed.sampledPoints = {{0, 0, -0.3}, {0.1, 0, -0.3}, {0, 0.1, -0.3}};
  probed.stopPoint = {0, 0, 0};
  ASSERT_TRUE(probed.computeDevicePlane1());
  expectPlane(probed.devicePlanes[0], {0, 0, 1, -0.3});

  // A face tilted half a degree from square to plane 1, about (0.5, 0, -0.32).
  const double tilt = 0.5 * std::numbers::pi / 180;
  const Vector3 centre{0.5, 0, -0.32}, along{0, 1, 0}, up{std::sin(tilt), 0, std::cos(tilt)};
  probed.sampledPoints = {centre - 0.05 * along - 0.01 * up, centre + 0.05 * along - 0.01 * up,
                          centre + 0.02 * up};
  probed.stopPoint = {0.6, 0, -0.32};
  ASSERT_TRUE(probed.computeDevicePlane2());
  expectPlane(probed.devicePlanes[1], {1, 0, 0, 0.5}, 1e-12);

  // Two points get the first one's foot on plane 1 as their third and keep their plane.
  probed.sampledPoints = {{0.5, -0.05, -0.31}, {0.5, 0.05, -0.35}};
  probed.probeRadius = 0.002;
  probed.stopPoint = {0.4, 0, -0.32};
  ASSERT_TRUE(probed.computeDevicePlane2());
  EXPECT_EQ(probed.sampledPoints.size(), 3u);
  expectPlane(probed.devicePlanes[1], {-1, 0, 0, -0.502});

  probed.sampledPoints = {{0.3, 0.1, -0.31}, {0.3, 0.3, -0.33}};
  probed.stopPoint = {0.3, 0.5, -0.32};
  ASSERT_TRUE(probed.computeDevicePlane3());
  EXPECT_EQ(probed.sampledPoints, (std::vector<Vector3>{{0.3, 0.2, -0.32}}));
  // n1 x n2 = (0, 0, 1) x (-1, 0, 0) = (0, -1, 0); the stop point lies on its negative side.
  expectPlane(probed.devicePlanes[2], {0, -1, 0, -0.2 + 0.002});

  ProbedPlanes tooFew;
  tooFew.sampledPoints = {{0, 0, 0}, {1, 0, 0}};
  EXPECT_FALSE(tooFew.computeDevicePlane1());
  tooFew.sampledPoints = {{0, 0, 0}};
  EXPECT_FALSE(tooFew.computeDevicePlane2());
  tooFew.sampledPoints.clear();
  EXPECT_FALSE(tooFew.computeDevicePlane3());
  EXPECT_FALSE(tooFew.devicePlanes[0].isValid()) << "a failed build stores nothing";
}

// A second face that (nearly) faces the way the first does is refused, in the 3-2-1 device alignment as in
// the 3-2-1 plane panel: squared to plane 1, its direction would come from the probing noise alone. The limit
// is counted from parallel; every face a 3-2-1 set-up probes is far from it.
TEST_F(ProbedPlanesTest, APlaneTwoWithinTwoDegreesOfPlaneOnesDirectionIsRefused) {
  for (const auto& [degrees, accepted] : {std::pair(0.0, false), std::pair(1.9, false), std::pair(2.1, true),
                                          std::pair(45.0, true), std::pair(178.0, false)}) {
    SCOPED_TRACE(degrees);
    ProbedPlanes probed;
    probed.sampledPoints = {{0, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, 0.1}};
    probed.stopPoint = {0, 0, 0.2};
    ASSERT_TRUE(probed.computeDevicePlane1());
    // A face through (0.3, 0, 0.05) whose normal is turned by degrees from plane 1's about y.
    const double angle = degrees * std::numbers::pi / 180;
    const Vector3 centre{0.3, 0, 0.05}, normal{std::sin(angle), 0, std::cos(angle)};
    const Vector3 along{0, 1, 0}, across = Vector3::cross(along, normal);
    probed.sampledPoints = {centre, centre + 0.1 * along, centre + 0.1 * across};
    probed.stopPoint = centre + 0.1 * normal;
    EXPECT_EQ(probed.computeDevicePlane2(), accepted);
    EXPECT_EQ(probed.devicePlanes[1].isValid(), accepted);
  }
}

// Two touches of plane 2 whose probe axes both lie along plane 1's normal come from a face parallel to it
// when the ball stayed above plane 1; below it, as here, they are a stylus held upright beside a face square
// to plane 1, as one such axis beside one across is an operator reaching over an edge.
TEST_F(ProbedPlanesTest, PlaneTwoIsRefusedOnlyWhenBothItsTouchesHaveTheirProbeAlongPlaneOnesNormal) {
  // Touches of the face x = 0.3 from its free side push along +x.
  const Vector3 down{0, 0, -1}, across{1, 0, 0}, tilted{-std::sin(0.3), 0, -std::cos(0.3)};
  const struct {
    const char* what;
    Vector3 first, second;
    bool accepted;
  } cases[] = {{"both across", across, across, true},
               {"the first along, the second across", down, across, true},
               {"the first across, the second along", across, down, true},
               {"both along, below plane 1", down, tilted, true},
               {"no axes reported", {}, {}, true}};
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    ProbedPlanes probed;
    probed.probeRadius = 0.002;
    probed.sampledPoints = {{0, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, 0.1}};
    probed.stopPoint = {0, 0, 0.2};
    ASSERT_TRUE(probed.computeDevicePlane1());
    // Tip centres 2 mm off the face x = 0.3, the stop point taken further off it.
    probed.sampledPoints = {{0.298, -0.05, 0.08}, {0.298, 0.05, 0.06}};
    probed.sampledAxes = {{each.first, false, {}, {}}, {each.second, false, {}, {}}};
    probed.stopPoint = {0.28, 0, 0.07};
    EXPECT_EQ(probed.plane2TouchesTellASide(), each.accepted);
    ASSERT_EQ(probed.computeDevicePlane2(), each.accepted);
    if (each.accepted) expectPlane(probed.devicePlanes[1], {-1, 0, 0, -0.3}, 1e-12);
  }
}

// A refused plane 2 keeps its two touches as taken, for the next stop: the third point it would have been
// given on plane 1 would otherwise join them.
TEST_F(ProbedPlanesTest, ARefusedPlaneTwoKeepsItsTouchesAsTaken) {
  ProbedPlanes probed;
  probed.sampledPoints = {{0, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, 0.1}};
  probed.stopPoint = {0, 0, 0.2};
  ASSERT_TRUE(probed.computeDevicePlane1());
  // One above the other along plane 1's normal: with their third point on plane 1, all three on a line.
  const std::vector<Vector3> touches{{0.3, 0, 0.05}, {0.3, 0, 0.08}};
  probed.sampledPoints = touches;
  probed.stopPoint = {0.4, 0, 0.06};
  EXPECT_FALSE(probed.computeDevicePlane2());
  EXPECT_EQ(probed.sampledPoints, touches);
  EXPECT_EQ(
      text(probed.refusal(2)),
      u"Plane 2 was not made: its points give no plane square to plane 1. Its points are kept; probe more "
      u"points on the face picked for plane 2 and stop again.");
}

// Planes 1 and 2 on the faces z = 0.1 and x = 0.3 of a part whose reference faces stand square, plane 3 on
// y = 0 with its material towards +y; then plane step from the touches after their moves, refused.
ProbedPlanes probedUpTo(int step, const std::vector<std::pair<Vector3, Vector3>>& touches,
                        const Vector3& stop) {
  ProbedPlanes probed;
  probed.references = {ReferenceFace{{0, 0, 1}, {}, true}, ReferenceFace{{1, 0, 0}, {1, 0, 0}, true},
                       ReferenceFace{{0, 1, 0}, {0, -1, 0}, false}};
  probed.sampledPoints = {{0, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, 0.1}};
  probed.stopPoint = {0, 0, 0.2};
  EXPECT_TRUE(probed.computeDevicePlane1());
  probed.sampledPoints = {{0.3, 0, 0.05}, {0.3, 0.1, 0.05}};
  probed.stopPoint = {0.4, 0, 0.05};
  if (step == 3) {
    EXPECT_TRUE(probed.computeDevicePlane2());
  }
  probed.clearSampled();
  for (const auto& [point, approach] : touches) {
    probed.moved(point, approach);
    probed.sampled(point);
  }
  probed.stopped(stop);
  EXPECT_FALSE(step == 2 ? probed.computeDevicePlane2() : probed.computeDevicePlane3()) << "refused";
  return probed;
}

// A plane 2 at another angle to plane 1 than their reference faces is refused with its points kept; a plane 3
// probed from its material's side, as planes 1 and 2 stand, leaves nothing of the run to trust.
TEST_F(ProbedPlanesTest, AProbedPlaneMeetsTheAngleAndTheSideOfItsReferenceFace) {
  const Vector3 in{-1, 0, 0}, tilted{std::sin(std::numbers::pi / 3), 0, std::cos(std::numbers::pi / 3)};
  const Vector3 offFace = Vector3(0.3, 0, 0.05) + 0.02 * Vector3::cross({0, 1, 0}, tilted);
  const ProbedPlanes atSixty =
      probedUpTo(2, {{{0.3, 0, 0.05}, in}, {{0.3, 0.1, 0.05}, in}, {offFace, in}}, {0.4, 0, 0.05});
  EXPECT_EQ(
      text(atSixty.refusal(2)),
      u"Plane 2 was not made: planes 1 and 2 meet at 60 degrees, their reference faces at 90, so a point may "
      u"be on another face. Its points are kept; undo back to that point, probe the face picked for plane 2, "
      u"and stop again.");
  EXPECT_FALSE(atSixty.endsRun());
  const ProbedPlanes fromInside = probedUpTo(3, {{{0.1, 0, 0.05}, {0, -1, 0}}}, {0.1, 0.1, 0.05});
  EXPECT_TRUE(fromInside.endsRun());
  EXPECT_EQ(
      text(fromInside.refusal(3)),
      u"No alignment was made: plane 3 was probed from the other side of its reference face, as the planes "
      u"before it stand. Nothing was stored; probe the planes again, each on the face picked for it.");
}

// Each check refuses what the touches show and says why, its reason holding: a stray touch below plane 1's
// others, a stop straight above two touches of a face across plane 1 (it cannot tell the side, the face is
// not flat), a stop over the part where no touch tells the side (the stylus upright, no travel), two touches
// on plane 1's face again, three touches of plane 3 on a face at another angle. A touch without a move of its
// own is no touch along plane 1's normal because the touch before it was. Touches from above are on a face
// parallel to plane 1 only where their approach could not have touched the face picked for plane 2, however
// it turns: never on a face 19 degrees off plane 1, on one 10 degrees from square within 10 degrees of the
// normal.
TEST_F(ProbedPlanesTest, EachCheckRefusesWhatTheTouchesShowAndSaysAReasonThatHolds) {
  const Vector3 none, down{0, 0, -1}, lean = Vector3(0, -1, 1).normalized();
  const double r = 0.003;
  const Vector3 onLeaning = Vector3(0.1, 0, 0.05) + r * lean, up = Vector3(0, 1, 1).normalized();
  constexpr double kDegree = std::numbers::pi / 180;
  // Down plane 1's normal, turned by degrees about y.
  const auto offDown = [](double degrees) {
    return Vector3(std::sin(degrees * kDegree), 0, -std::cos(degrees * kDegree));
  };
  const struct {
    const char* what;
    int step;
    std::vector<std::pair<Vector3, Vector3>> touches;  // tip centre and approach
    Vector3 stop;
    std::u16string told;     // how the refusal starts; empty when the plane is made
    Vector3 face2{1, 0, 0};  // the outward normal of the face picked for plane 2
  } cases[] = {
      {"a stray touch below plane 1",
       1,
       {{{0, 0, 0.103}, none},
        {{0.1, 0, 0.103}, none},
        {{0, 0.1, 0.103}, none},
        {{0.1, 0.1, 0.103}, none},
        {{0.05, 0.05, 0.103}, none},
        {{0.05, 0.05, 0.1012}, none}},
       {0.05, 0.05, 0.2},
       u"Plane 1 was not made: its points lie up to 1.5 mm off one plane"},
      {"plane 2's second touch without a move, the first's along plane 1's normal",
       2,
       {{{0.303, 0, 0.05}, down}, {{0.303, 0.1, 0.05}, none}},
       {0.4, 0, 0.05},
       u""},
      {"plane 2's two touches with their stop straight above them",
       2,
       {{{0.303, 0, 0.05}, none}, {{0.303, 0.1, 0.05}, none}},
       {0.303, 0.05, 0.2},
       u"Plane 2 was not made: its stop lies within 1.50 mm of the plane through its two points, which "
       u"cannot "
       u"tell the side the face looks to. Its points are kept; take the stop further off the face and stop "
       u"again."},
      {"plane 2 touched twice with the stylus upright and no travel, the stop over the part",
       2,
       {{{0.303, 0, 0.05}, down}, {{0.303, 0.1, 0.05}, down}},
       {0.25, 0.05, 0.12},
       u"Plane 2 was not made: its stop lies 70.0 mm beyond its points up the face, where it cannot tell the "
       u"side the face looks to, and no touch's approach told it. Its points are kept; take the stop off the "
       u"face beside its points and stop again."},
      {"plane 2 touched twice with the stylus upright and no travel, the stop beside the face",
       2,
       {{{0.303, 0, 0.05}, down}, {{0.303, 0.1, 0.05}, down}},
       {0.32, 0.05, 0.052},
       u""},
      {"plane 2 touched twice on plane 1's face again, the stop aside",
       2,
       {{{0.2, 0, 0.103}, none}, {{0.25, 0.1, 0.103}, none}},
       {0.1, 0.05, 0.2},
       u"The two points of plane 2 may lie on a face parallel to plane 1."},
      {"plane 2 touched twice from above on a face 20 mm above plane 1, the stop aside",
       2,
       {{{0.2, 0, 0.123}, down}, {{0.25, 0.1, 0.123}, down}},
       {0.1, 0.05, 0.2},
       u"The two points of plane 2 may lie on a face parallel to plane 1."},
      {"plane 2 touched twice from above on a face 20 mm above plane 1 leaning 19 degrees from it",
       2,
       {{{0.2, 0, 0.123}, down}, {{0.2, 0.1, 0.123}, down}},
       {0.1, 0.05, 0.123},
       u"",
       {std::sin(19 * kDegree), 0, std::cos(19 * kDegree)}},
      {"plane 2 touched twice 5 degrees off plane 1's normal on a face leaning 10 degrees from square",
       2,
       {{{0.2, 0, 0.123}, offDown(5)}, {{0.2, 0.1, 0.123}, offDown(5)}},
       {0.1, 0.05, 0.123},
       u"The two points of plane 2 may lie on a face parallel to plane 1.",
       {std::cos(10 * kDegree), 0, std::sin(10 * kDegree)}},
      {"plane 2 touched twice 15 degrees off plane 1's normal on a face leaning 10 degrees from square",
       2,
       {{{0.2, 0, 0.123}, offDown(15)}, {{0.2, 0.1, 0.123}, offDown(15)}},
       {0.1, 0.05, 0.123},
       u"",
       {std::cos(10 * kDegree), 0, std::sin(10 * kDegree)}},
      {"plane 2 touched twice with the stylus upright, the balls level with plane 1's face",
       2,
       {{{0.303, 0, 0.0995}, down}, {{0.303, 0.1, 0.1}, down}},
       {0.4, 0, 0.1},
       u""},
      {"plane 3 touched thrice on a face leaning 45 degrees",
       3,
       {{onLeaning, none}, {onLeaning + Vector3(0.05, 0, 0), none}, {onLeaning + 0.01 * up, none}},
       {0.1, -0.1, 0.05},
       u"Plane 3 was not made: planes 1 and 3 meet at 45 degrees, their reference faces at 90"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    ProbedPlanes probed;
    probed.probeRadius = r;
    probed.references = {ReferenceFace{{0, 0, 1}, {}, true}, ReferenceFace{{1, 0, 0}, each.face2, true},
                         ReferenceFace{{0, 1, 0}, {0, -1, 0}, false}};
    const std::pair<std::vector<Vector3>, Vector3> planesBefore[] = {
        {{{0, 0, 0.103}, {0.1, 0, 0.103}, {0, 0.1, 0.103}}, {0, 0, 0.2}},
        {{{0.303, 0, 0.05}, {0.303, 0.1, 0.05}}, {0.4, 0, 0.05}}};
    for (int step = 1; step < each.step; ++step) {
      std::tie(probed.sampledPoints, probed.stopPoint) = planesBefore[step - 1];
      ASSERT_TRUE(step == 1 ? probed.computeDevicePlane1() : probed.computeDevicePlane2());
      probed.clearSampled();
    }
    for (const auto& [point, approach] : each.touches) {
      if (approach.squaredLength() > 0) probed.moved(point, approach);
      probed.sampled(point);
    }
    probed.stopped(each.stop);
    const bool made = each.step == 1   ? probed.computeDevicePlane1()
                      : each.step == 2 ? probed.computeDevicePlane2()
                                       : probed.computeDevicePlane3();
    EXPECT_EQ(made, each.told.empty()) << testing::PrintToString(text(probed.refusal(each.step)));
    if (!made) {
      EXPECT_EQ(text(probed.refusal(each.step)).substr(0, each.told.size()), each.told);
    }
  }
}

// The three faces of a box placed anywhere, each touched as a hand would: brought straight in, slid along the
// face, resting with the stylus at any tilt, or straight after the stop; then stopped in front of the face or
// behind it. A stop in front makes the plane on the face, planes 1 and 2 facing where the ball was; a stop
// behind a face that a touch shows the ball came to from in front is refused, and one taken again in front
// makes it. A touch straight after a stop has no move from before it.
TEST_F(ProbedPlanesTest, APlaneLiesOnItsFaceFacingWhereTheBallWasWhateverTheHandDid) {
  std::mt19937 random(321);
  const auto uniform = [&](double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(random);
  };
  const Vector3 normals[] = {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}};  // the faces z = 0.1, x = 0.3, y = 0
  int refused = 0, made = 0;
  for (int run = 0; run < 40; ++run) {
    const Matrix4x4 pose = randomPose(random);
    const auto placed = [&](const Vector3& p) { return Matrix4x4::transformPoint(pose, p); };
    ProbedPlanes probed;
    probed.probeRadius = run % 2 ? 0.001 : 0.003;
    const double r = probed.probeRadius;
    for (int step = 1; step <= 3; ++step) {
      SCOPED_TRACE("run " + std::to_string(run) + ", plane " + std::to_string(step));
      const Vector3 n = normals[step - 1], across = Vector3::cross(n, {1, 1, 1}).normalized();
      const auto move = [&](const Vector3& at, const Vector3& stylus) {
        probed.moved(placed(at), Matrix4x4::transformVector(pose, stylus));
      };
      bool tells = false;
      const int touches = step == 1 ? 3 + run % 3 : step == 2 ? 2 + run % 2 : 1 + run % 2;
      Vector3 last;
      for (int i = 0; i < touches; ++i) {
        Vector3 face{uniform(0.05, 0.25), uniform(0.01, 0.09), uniform(0.02, 0.09)};
        face = face - n * (n.dot(face) - (step == 2 ? 0.3 : step == 1 ? 0.1 : 0));
        const Vector3 touch = face + n * r;
        const double tilt = uniform(0, 89);
        const Vector3 stylus = tilted(-1 * n, {uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)}, tilt);
        const int way = std::uniform_int_distribution<int>(0, 3)(random);
        if (way == 0) {
          move(touch + n * uniform(2 * r, 0.015), stylus);
          move(touch + n * uniform(0.3 * r + 3e-4, 1.9 * r), stylus);
          tells = true;
        } else if (way == 1) {
          for (double t = 0; t < 1; t += 0.25) move(touch + across * (uniform(3e-3, 1e-2) * (1 - t)), stylus);
        } else if (way == 2) {
          move(touch + across * (0.1 * r), stylus);
          tells = tells || tilt < 60;
        }
        probed.sampled(placed(touch));
        last = touch;
        if (way == 3) {
          EXPECT_TRUE(probed.sampledAxes.back().positions.empty()) << "the moves before a stop go with it";
        }
      }
      const auto compute = [&] {
        return step == 1   ? probed.computeDevicePlane1()
               : step == 2 ? probed.computeDevicePlane2()
                           : probed.computeDevicePlane3();
      };
      // Lifted off, then stopped in front, or behind the face: beside the part, or over it.
      move(last + n * 0.02, {});
      if (std::bernoulli_distribution(0.3)(random)) {
        const double depth = uniform(0.01, 0.05);
        probed.stopped(placed(step == 1 ? Vector3(-0.05, last.y, last.z - depth)
                                        : last - n * depth + Vector3(0, 0, 0.1)));
        // Over the part, a side face's stop tells nothing either: only plane 1's stop makes it alone.
        const bool madeBehind = compute();
        EXPECT_EQ(madeBehind, !tells && step == 1) << testing::PrintToString(text(probed.refusal(step)));
        if (madeBehind) {
          // Made by its stop alone, as the touches could not tell: no face of this run to check.
          probed.clearSampled();
          continue;
        }
        ++refused;
      }
      probed.stopped(placed(last + n * 0.02));
      ASSERT_TRUE(compute()) << testing::PrintToString(text(probed.refusal(step)));
      ++made;
      const Plane& plane = probed.devicePlanes[step - 1];
      EXPECT_NEAR(plane.normal().dot(placed(last - n * r)) - plane.d, 0, 1e-9) << "on the face";
      if (step < 3) {
        EXPECT_GT(plane.normal().dot(Matrix4x4::transformVector(pose, n)), 0.999) << "facing the air";
      }
      probed.clearSampled();
    }
  }
  EXPECT_GT(refused, 10);
  EXPECT_GT(made, 60);
}

// Two planes with their own directions may meet at their faces' angle give or take a degree and what the
// probing noise may turn each over its touches' narrowest width (atan of twice the noise over it): plane 1
// and plane 3 each over 5 mm, 1.4 degrees apiece, allow 3.75 degrees, and a plane 3 face leaning further
// than that from square is refused.
TEST_F(ProbedPlanesTest, TheAngleCheckAllowsEachPlanesNoiseOverItsNarrowestWidth) {
  const double r = 0.003;
  for (const auto& [tilt, made] : {std::pair{3.5, true}, std::pair{4.0, false}}) {
    SCOPED_TRACE(tilt);
    ProbedPlanes probed;
    probed.probeRadius = r;
    probed.references = {ReferenceFace{{0, 0, 1}, {}, true}, ReferenceFace{{1, 0, 0}, {1, 0, 0}, true},
                         ReferenceFace{{0, 1, 0}, {0, -1, 0}, false}};
    probed.sampledPoints = {{0, 0, 0.103}, {0.05, 0, 0.103}, {0.025, 0.005, 0.103}};
    probed.stopped({0.025, 0.002, 0.2});
    ASSERT_TRUE(probed.computeDevicePlane1());
    probed.clearSampled();
    probed.sampledPoints = {{0.303, 0, 0.05}, {0.303, 0.1, 0.05}};
    probed.stopped({0.4, 0, 0.05});
    ASSERT_TRUE(probed.computeDevicePlane2());
    probed.clearSampled();
    const double angle = tilt * std::numbers::pi / 180;
    const Vector3 across{0, std::sin(angle), std::cos(angle)}, out{0, -std::cos(angle), std::sin(angle)};
    const Vector3 start = Vector3(0, 0, 0.05) + r * out;
    probed.sampledPoints = {start, start + Vector3(0.05, 0, 0),
                            start + Vector3(0.025, 0, 0) + 0.005 * across};
    probed.stopped(start + 0.01 * out);
    EXPECT_EQ(probed.computeDevicePlane3(), made);
    if (!made) {
      EXPECT_EQ(text(probed.refusal(3)).substr(0, 58),
                u"Plane 3 was not made: planes 1 and 3 meet at 86 degrees, t");
    }
  }
}

}  // namespace
