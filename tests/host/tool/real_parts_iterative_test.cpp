// Sessions of palpera-host in which "Iterative Alignment" aligns real parts with exact touches: the welded
// bracket of seven touching solids, touched on its underside, and the turned cap, touched on its free-form
// (B-spline) wall, placed anywhere in the world with a 2 or a 6 mm ball.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "emulator_script.h"
#include "posed_pick.h"
#include "printed_matrix.h"
#include "project_script.h"
#include "random_pose.h"
#include "support/sanitized.h"

// Named: the host tests are built together, and their helpers share names.
namespace real_parts_iterative {

// A target in the part's own coordinates, picked and touched along the ray from 20 mm out along outward.
struct Target {
  Vector3 point, outward;
};
using Within = std::function<double(double low, double high)>;

// 3 on the base's underside beside the foot, 2 on the wall's front, 1 on the left end, then the chamfer, the
// block's top and the tab's top.
std::vector<Target> bracketTargets(const Within& in) {
  const Vector3 down{0, 0, -1}, up{0, 0, 1}, front{0, -1, 0};
  return {{{in(0.01, 0.03), in(0.03, 0.055), 0}, down},
          {{in(0.07, 0.09), in(0.03, 0.055), 0}, down},
          {{in(0.04, 0.06), in(0.03, 0.04), 0}, down},
          {{in(0.025, 0.035), 0.05, in(0.036, 0.046)}, front},
          {{in(0.065, 0.075), 0.05, in(0.036, 0.046)}, front},
          {{0, in(0.025, 0.045), in(0.004, 0.006)}, {-1, 0, 0}},
          {{in(0.02, 0.08), 0.0025, 0.0075}, {0, -std::sqrt(0.5), std::sqrt(0.5)}},
          {{in(0.045, 0.055), in(0.02, 0.025), 0.02}, up},
          {{in(0.035, 0.065), 0.055, 0.06}, up}};
}

// 3 on the flange's top, 2 on its side, 1 on the body's top and 3 on the free-form wall, whose ridge turns
// the cap about its axis (the ray meets the wall inside 30 mm of the axis).
std::vector<Target> capTargets(const Within& in) {
  const double start = in(0, 2 * std::acos(-1.0));
  const auto around = [&](double turns, double radius, double z) {
    const double angle = start + turns * 2 * std::acos(-1.0) + in(-0.3, 0.3);
    return Vector3(0.03 + radius * std::cos(angle), 0.03 + radius * std::sin(angle), z);
  };
  const auto out = [](const Vector3& p) { return Vector3(p.x - 0.03, p.y - 0.03, 0).normalized(); };
  std::vector<Target> targets;
  for (double turns : {0.0, 1.0 / 3, 2.0 / 3})
    targets.push_back({around(turns, in(0.02, 0.023), 0.006), {0, 0, 1}});
  for (const Vector3& side : {around(0.1, 0.025, in(0.002, 0.004)), around(0.6, 0.025, in(0.002, 0.004))})
    targets.push_back({side, out(side)});
  targets.push_back({around(0.3, in(0, 0.008), 0.026), {0, 0, 1}});
  for (double turns : {0.2, 0.5, 0.85}) {
    const Vector3 far = around(turns, 0.03, in(0.011, 0.021));
    targets.push_back({far - 0.02 * out(far), out(far)});
  }
  return targets;
}

// The targets picked on the posed part and touched there, noiseless, with the ball given; the alignment then
// printed. From the third touch on, each but the last realigns the device, which then starts again.
std::string session(const std::string& part, const Matrix4x4& pose, double ball,
                    const std::vector<Target>& targets) {
  std::string script = "cad-load RefObject examples/parts/" + part + ".step\ntransform RefObject";
  for (double value : pose.m) script += numbers({value});
  script += "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter" +
            numbers({ball}) +
            "\nset Palpera/IterativeAlignment/Tolerance 0.001\nactive RefObject\ncommand "
            "PalperaIterativeAlignmentCmd\n";
  for (const Target& t : targets)
    for (const char* action : {"down", "click"})
      script += posedMouse(pose, t.point + 0.02 * t.outward, -1.0 * t.outward, action);
  script += "press StartProbing\n" + kRadiusEvent;
  for (size_t i = 0; i < targets.size(); ++i) {
    const Target& t = targets[i];
    script += posedPick(pose, t.point + 0.02 * t.outward, -1.0 * t.outward) +
              (i >= 2 && i + 1 < targets.size() ? kRadiusEvent : "");
  }
  return script + "print alignment\n";
}

// Whatever the pose, the ball and where on each face the targets lie, exact touches align the device with
// the identity: the surface refinement takes the ball off each face towards the side it came from, on the
// bracket's touching solids and on the cap's free-form wall alike.
TEST(RealPartsIterative, ExactTouchesGiveTheIdentityOnTouchingSolidsAndFreeFormFacesInEveryPose) {
  std::mt19937 random(8903);
  const Within in = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  for (int run = 0; run < (kSanitized ? 4 : 12); ++run) {
    const bool bracket = run % 2 == 0;
    const double ball = run / 2 % 2 == 0 ? 0.002 : 0.006;
    SCOPED_TRACE("run " + std::to_string(run) + (bracket ? ", bracket" : ", cap") + ", ball " +
                 std::to_string(ball));
    const Matrix4x4 pose = randomPose(random);
    const auto [status, output] =
        runProjectScript(bracket ? session("workpiece-welded-bracket", pose, ball, bracketTargets(in))
                                 : session("turned-cap", pose, ball, capTargets(in)));
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("out of tolerance"), std::string::npos) << output;
    const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(hardware.m[i], Matrix4x4::identity().m[i], 1e-6) << i << "\n" << output;
  }
}

}  // namespace real_parts_iterative
