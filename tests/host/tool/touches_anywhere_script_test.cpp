// Sessions of palpera-host in which "3-2-1 Device Alignment" probes a block whose sides lean 3 to 69
// degrees (examples/parts/workpiece-leaning-sides.step), the picks and the touches anywhere on the faces.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "arm_events.h"
#include "emulator_script.h"
#include "printed_matrix.h"
#include "project_script.h"
#include "random_pose.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"

namespace touches_anywhere {

constexpr double kDegree = 3.14159265358979323846 / 180;
constexpr double kHeight = 0.02;
// Metres: how far picks and touches keep from a face's edges.
constexpr double kMargin = 0.004;

// A side of the block: its bottom edge from corner along edge, the edge's outward direction, how far the side
// leans inward from square, and the sides at the edge's two ends, whose leans narrow it as it rises.
struct Side {
  Vector3 corner, edge, outward;
  double lean, length;
  int before, after;
  Vector3 normal() const { return std::cos(lean) * outward + Vector3(0, 0, std::sin(lean)); }
};
const Side kSides[] = {
    {{0, 0, 0}, {1, 0, 0}, {0, -1, 0}, 3 * kDegree, 0.1, 3, 1},
    {{0.1, 0, 0}, {0, 1, 0}, {1, 0, 0}, 20 * kDegree, 0.08, 0, 2},
    {{0, 0.08, 0}, {1, 0, 0}, {0, 1, 0}, 45 * kDegree, 0.1, 3, 1},
    {{0, 0, 0}, {0, 1, 0}, {-1, 0, 0}, 69 * kDegree, 0.08, 0, 2},
};

struct Touch {
  Vector3 point, outward;
};

double uniform(std::mt19937& random, double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(random);
}

// A point anywhere on the side, from low to high along its edge's span (0 to 1), at any height.
Touch onSide(std::mt19937& random, const Side& side, double low = 0, double high = 1) {
  const double z = uniform(random, kMargin, kHeight - kMargin);
  const double from = z * std::tan(kSides[side.before].lean) + kMargin;
  const double to = side.length - z * std::tan(kSides[side.after].lean) - kMargin;
  const double along = from + (to - from) * uniform(random, low, high);
  return {side.corner + along * side.edge + z * Vector3(0, 0, 1) - z * std::tan(side.lean) * side.outward,
          side.normal()};
}
// Two or more points of a side, each in its own stretch of it. Two points lie at heights whose difference
// moves them across the side by less than half their spread along it: the stop lifted off the second then
// lies off the plane through both by more than half the lift, as the check of two touches' stop asks.
std::vector<Touch> acrossSide(std::mt19937& random, const Side& side, int count) {
  std::vector<Touch> touches;
  for (int i = 0; i < count; ++i)
    touches.push_back(onSide(random, side, i / double(count), (i + 0.6) / count));
  const auto skewed = [&] {
    const Vector3 apart = touches[1].point - touches[0].point;
    return std::abs(apart.z) * std::tan(side.lean) > 0.5 * std::abs(apart.dot(side.edge));
  };
  while (count == 2 && skewed()) touches[1] = onSide(random, side, 0.5, 0.8);
  return touches;
}
// Three points of the top face, one in each of three corners of it.
std::vector<Touch> onTop(std::mt19937& random) {
  const double x0 = kHeight * std::tan(kSides[3].lean) + kMargin,
               x1 = 0.1 - kHeight * std::tan(kSides[1].lean);
  const double y0 = kHeight * std::tan(kSides[0].lean) + kMargin,
               y1 = 0.08 - kHeight * std::tan(kSides[2].lean);
  const double corners[3][2] = {{0, 0}, {1, 0}, {0.5, 1}};
  std::vector<Touch> touches;
  for (const auto& corner : corners) {
    const double x = x0 + (x1 - kMargin - x0) * (0.8 * corner[0] + uniform(random, 0, 0.2));
    const double y = y0 + (y1 - kMargin - y0) * (0.8 * corner[1] + uniform(random, 0, 0.2));
    touches.push_back({{x, y, kHeight}, {0, 0, 1}});
  }
  return touches;
}

// A click on the touch along a ray from 20 mm off the part, leaning up to about 17 degrees from the face's
// normal: the hand's path.
std::string click(std::mt19937& random, const Matrix4x4& pose, const Touch& touch) {
  const Vector3 tilt{uniform(random, -0.3, 0.3), uniform(random, -0.3, 0.3), uniform(random, -0.3, 0.3)};
  const Vector3 from = (touch.outward + tilt - tilt.dot(touch.outward) * touch.outward).normalized();
  const Vector3 o = Matrix4x4::transformPoint(pose, touch.point + 0.02 * from);
  const Vector3 d = Matrix4x4::transformVector(pose, -1.0 * from);
  return "mouse click" + numbers({o.x, o.y, o.z, d.x, d.y, d.z}) + "\n";
}
std::string picks(std::mt19937& random, const Matrix4x4& pose, const std::vector<Touch>& face) {
  std::string script;
  for (const Touch& touch : face) script += click(random, pose, touch);
  return script;
}
std::string probe(std::mt19937& random, const Matrix4x4& pose, const std::vector<Touch>& face) {
  std::string script;
  for (const Touch& touch : face) script += click(random, pose, touch) + kSampled;
  return script + kLiftedStop;
}

// Where nothing moved the part, no pose, no place on its faces, no height and no count of touches changes
// the answer: the device's points lie on the part, so the hardware matrix moves none of the block's corners
// by a micrometre, with either ball, for every pair of leaning sides as planes 2 and 3, also where plane 3 is
// picked after the probing.
TEST(TouchesAnywhereScript, ThreeTwoOneOnLeaningSidesGivesTheIdentityWhereverTheTouchesFall) {
  const int runs = kSanitized ? 8 : 48;
  std::mt19937 random(8911);
  for (int run = 0; run < runs; ++run) {
    const Matrix4x4 pose = randomPose(random);
    const int plane2 = run % 4;
    const Side& side2 = kSides[plane2];
    const Side& side3 = kSides[run / 4 % 2 ? side2.before : side2.after];
    const double ball = run % 3 ? 0.002 : 0.006;
    const int touches2 = 2 + run % 2, touches3 = 1 + 2 * (run / 2 % 2);
    SCOPED_TRACE("run " + std::to_string(run) + ": plane 2 leans " + std::to_string(side2.lean / kDegree) +
                 ", plane 3 " + std::to_string(side3.lean / kDegree) + ", ball " + std::to_string(ball));
    std::string script =
        "cad-load RefObject examples/parts/workpiece-leaning-sides.step\ntransform RefObject";
    for (double value : pose.m) script += numbers({value});
    script += "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter" +
              numbers({ball}) +
              "\ncommand PalperaManageTransformCmd\nfile-answer examples/transforms/quarter-turn.xal 1\n"
              "press HardwareLoadFile\napply\nactive RefObject\ncommand PalperaDeviceToPartAlignmentCmd\n";
    // Every fifth run picks plane 3 only after the probing: the face is taken as it was picked.
    const bool thirdPickedLate = run % 5 == 4;
    const std::string third = picks(random, pose, {onSide(random, side3)});
    script += picks(random, pose, onTop(random)) + picks(random, pose, acrossSide(random, side2, 2)) +
              (thirdPickedLate ? "" : third);
    script += "press StartProbing\n" + kRadiusEvent + probe(random, pose, onTop(random)) +
              probe(random, pose, acrossSide(random, side2, touches2)) +
              probe(random, pose, acrossSide(random, side3, touches3)) + (thirdPickedLate ? third : "") +
              "print alignment\n";
    const auto [status, output] = runProjectScript(script);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("error:"), std::string::npos) << output;
    const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
    for (const Vector3& corner : {Vector3(0, 0, 0), Vector3(0.1, 0, 0), Vector3(0, 0.08, 0),
                                  Vector3(0.1, 0.08, 0), Vector3(0.05, 0.04, kHeight)}) {
      const Vector3 posed = Matrix4x4::transformPoint(pose, corner);
      EXPECT_LT((Matrix4x4::transformPoint(hardware, posed) - posed).length(), 1e-6) << output;
    }
  }
}

// An arm's recording of the 3-2-1 run on the block: the top touched from above, the front side (3 degrees)
// touched with the stylus held upright and resting on the wall, so that no touch tells the side, and the
// right end (20 degrees) touched along its normal. A stop of the front side taken over the part, above the
// top, cannot tell the side and is refused with its word, storing nothing; one taken off the wall beside its
// touches aligns the device onto the part, with either ball, in any pose.
TEST(TouchesAnywhereScript, AStopOverThePartWithNoTouchTellingTheSideIsRefused) {
  const std::string refused = "error: Plane 2 was not made: its stop lies ";
  std::mt19937 random(8945);
  for (int run = 0; run < (kSanitized ? 2 : 8); ++run) {
    const bool overThePart = run % 2 == 0;
    const double ball = run % 4 < 2 ? 0.002 : 0.006, r = ball / 2;
    SCOPED_TRACE("run " + std::to_string(run) + (overThePart ? ": over the part" : ": beside"));
    const Matrix4x4 pose = randomPose(random);
    const Vector3 up{0, 0, 1}, upright{0, 0, -1};
    const std::vector<Touch> top = onTop(random), front = acrossSide(random, kSides[0], 2),
                             right = {onSide(random, kSides[1])};
    ArmEvents arm(pose, ball);
    for (const Touch& touch : top) arm.travelIn(touch.point, up, upright, upright);
    arm.stop(top[0].point + 0.01 * up);
    for (const Touch& touch : front) arm.rest(touch.point, touch.outward, upright);
    arm.stop(overThePart ? Vector3(0.07, 0.03, kHeight + 0.01)
                         : front[1].point + (r + 0.002) * front[1].outward);
    arm.travelIn(right[0].point, right[0].outward, -1.0 * right[0].outward, -1.0 * right[0].outward);
    arm.stop(right[0].point + (r + 0.002) * right[0].outward);
    ScratchDirectory scratch;
    std::ofstream(scratch.system("arm.xml")) << arm.xml();
    std::ofstream(scratch.system("session.log")) << "PluginData\tarm.xml\nPluginWait\t\n";
    std::string script =
        "cad-load RefObject examples/parts/workpiece-leaning-sides.step\ntransform RefObject";
    for (double value : pose.m) script += numbers({value});
    script += "\nstart\nreplay-log " + scratch.system("session.log") +
              "\nprint alignment\nactive RefObject\ncommand PalperaDeviceToPartAlignmentCmd\n" +
              picks(random, pose, top) + picks(random, pose, front) + picks(random, pose, right) +
              "press StartProbing\nrun-until Palpera/LogReplayFinished 10000\nprint alignment\n";
    const auto [status, output] = runProjectScript(script);
    EXPECT_EQ(output.find(refused) != std::string::npos, overThePart) << output;
    const Matrix4x4 before = matrixAfter(output, "hardware", false),
                    after = lastMatrixUnder(output, "hardware");
    for (const Vector3& corner : {Vector3(0, 0, 0), Vector3(0.1, 0.08, kHeight)}) {
      const Vector3 posed = Matrix4x4::transformPoint(pose, corner);
      const Vector3 expected = overThePart ? Matrix4x4::transformPoint(before, posed) : posed;
      // The recording holds its points to the micrometre.
      EXPECT_LT((Matrix4x4::transformPoint(after, posed) - expected).length(), 1e-5) << output;
    }
  }
}

// A plane of a 3-2-1 alignment: where its face is picked and where it is touched.
struct PickedAndTouched {
  std::vector<Touch> picked, touched;
};

// 3-2-1 on the part placed by pose, its three planes picked and probed by a ball of that diameter without
// the emulator's scatter: nothing moved the part, so nothing is refused and the hardware matrix moves neither
// of its box's corners by a micrometre.
void expectThreeTwoOneLeavesThePart(const std::string& part, const Matrix4x4& pose, double ball,
                                    const std::array<PickedAndTouched, 3>& planes,
                                    const std::array<Vector3, 2>& corners, std::mt19937& random) {
  std::string script = "cad-load RefObject examples/parts/" + part + ".step\ntransform RefObject";
  for (double value : pose.m) script += numbers({value});
  script += "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter" +
            numbers({ball}) + "\nactive RefObject\ncommand PalperaDeviceToPartAlignmentCmd\n";
  for (const PickedAndTouched& plane : planes) script += picks(random, pose, plane.picked);
  script += "press StartProbing\n" + kRadiusEvent;
  for (const PickedAndTouched& plane : planes) script += probe(random, pose, plane.touched);
  const auto [status, output] = runProjectScript(script + "print alignment\n");
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.find("error:"), std::string::npos) << output;
  const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
  for (const Vector3& corner : corners) {
    const Vector3 posed = Matrix4x4::transformPoint(pose, corner);
    EXPECT_LT((Matrix4x4::transformPoint(hardware, posed) - posed).length(), 1e-6) << output;
  }
}

// The welded bracket of seven touching solids (examples/parts/workpiece-welded-bracket.step): the base's top
// as plane 1, its 45 degree chamfer as plane 2, touched two or three times anywhere along it and at any
// height on it, and the base's left end as plane 3 give the identity in any pose, with either ball.
TEST(TouchesAnywhereScript, ThreeTwoOneOnTheWeldedBracketsChamferGivesTheIdentity) {
  const double half = std::sqrt(0.5);
  const Vector3 up{0, 0, 1}, chamferOut{0, -half, half}, leftOut{-1, 0, 0};
  std::mt19937 random(8946);
  for (int run = 0; run < (kSanitized ? 2 : 8); ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const Matrix4x4 pose = randomPose(random);
    const double ball = run % 2 ? 0.002 : 0.006;
    const auto top = [&](double x, double y) { return Touch{{x, y, 0.01}, up}; };
    // Up the chamfer from its foot (y = 0, z = 0.005) by s of its 7 mm width, at x.
    const auto chamfer = [&](double x, double s) {
      return Touch{Vector3(x, 0, 0.005) + s * 0.005 * Vector3(0, 1, 1), chamferOut};
    };
    const auto anywhere = [&](double low, double high) { return uniform(random, low, high); };
    const std::vector<Touch> tops = {top(anywhere(0.005, 0.03), 0.012), top(anywhere(0.07, 0.095), 0.012),
                                     top(anywhere(0.025, 0.075), 0.04)};
    std::vector<Touch> chamfers = {chamfer(anywhere(0.005, 0.04), anywhere(0.3, 0.7)),
                                   chamfer(anywhere(0.06, 0.095), anywhere(0.3, 0.7))};
    if (run % 4 >= 2) chamfers.push_back(chamfer(anywhere(0.04, 0.06), anywhere(0.3, 0.7)));
    const std::vector<Touch> left = {{{0, anywhere(0.025, 0.045), anywhere(0.003, 0.007)}, leftOut}};
    expectThreeTwoOneLeavesThePart(
        "workpiece-welded-bracket", pose, ball,
        {{{tops, tops}, {{chamfer(0.03, 0.5), chamfer(0.07, 0.5)}, chamfers}, {left, left}}},
        {Vector3(0, 0, -0.005), Vector3(0.1, 0.06, 0.06)}, random);
  }
}

// The block with six cylinders whose caps lean 19 degrees (examples/parts/workpiece-leaning-caps.step): the
// block's top as plane 1, touched between the cylinders, one leaning cap as plane 2, touched two or three
// times anywhere on it and so at different heights and picked anywhere on it, and the block's side square to
// the top and to the cap's level line as plane 3. Where nothing moved the part, no pose, no place on the cap,
// no height, no count of touches and neither ball changes the answer: the hardware matrix moves none of the
// block's corners by a micrometre.
TEST(TouchesAnywhereScript, ThreeTwoOneOnALeaningCylinderCapGivesTheIdentityWhereverTheTouchesFall) {
  const Vector3 up{0, 0, 1}, leftOut{-1, 0, 0};
  std::mt19937 random(8947);
  for (int run = 0; run < (kSanitized ? 8 : 24); ++run) {
    const Matrix4x4 pose = randomPose(random);
    const double ball = run % 2 ? 0.002 : 0.006;
    const auto anywhere = [&](double low, double high) { return uniform(random, low, high); };
    const auto top = [&](double x, double y) { return Touch{{x, y, 0.01}, up}; };
    const std::vector<Touch> tops = {top(anywhere(0.005, 0.035), 0.04), top(0.04, anywhere(0.005, 0.02)),
                                     top(0.08, anywhere(0.06, 0.075))};
    // The k-th cap: through (x, y, 0.04), its normal leaning 19 degrees towards 60 k degrees about z.
    const int k = static_cast<int>(random() % 6);
    const double towards = 60 * k * kDegree, lean = 19 * kDegree;
    const Vector3 centre{0.02 + 0.04 * (k % 3), 0.02 + 0.04 * (k / 3), 0.04},
        capOut{std::cos(towards) * std::sin(lean), std::sin(towards) * std::sin(lean), std::cos(lean)},
        across{-std::sin(towards), std::cos(towards), 0};
    const Vector3 uphill = Vector3::cross(capOut, across);
    // At a along the level line across the cap and u up its slope, within 5 mm of the axis.
    const auto cap = [&](double a, double u) { return Touch{centre + a * across + u * uphill, capOut}; };
    std::vector<Touch> caps = {cap(anywhere(-0.005, -0.003), anywhere(-0.002, 0.002)),
                               cap(anywhere(0.003, 0.005), anywhere(-0.002, 0.002))};
    if (run / 2 % 2) caps.push_back(cap(anywhere(-0.002, 0.002), anywhere(-0.004, 0.004)));
    // Plane 3 stands square to the top and to the cap's level line: the block's front where the cap leans
    // along x, else its left end.
    const std::vector<Touch> third =
        k % 3 == 0 ? std::vector<Touch>{{{anywhere(0.02, 0.1), 0, anywhere(0.003, 0.007)}, {0, -1, 0}}}
                   : std::vector<Touch>{{{0, anywhere(0.02, 0.06), anywhere(0.003, 0.007)}, leftOut}};
    SCOPED_TRACE("run " + std::to_string(run) + ": cap " + std::to_string(k) + ", " +
                 std::to_string(caps.size()) + " touches, ball " + std::to_string(ball));
    const std::vector<Touch> capPicks = {cap(anywhere(-0.005, -0.002), anywhere(-0.003, 0.003)),
                                         cap(anywhere(0.002, 0.005), anywhere(-0.003, 0.003))};
    expectThreeTwoOneLeavesThePart("workpiece-leaning-caps", pose, ball,
                                   {{{tops, tops}, {capPicks, caps}, {third, third}}},
                                   {Vector3(0, 0, 0), Vector3(0.12, 0.08, 0.05)}, random);
  }
}

}  // namespace touches_anywhere
