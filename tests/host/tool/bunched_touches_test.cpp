// Touches around a wide shaft or a wide conical boss, bunched along its axis, that fit two shapes about 3
// degrees apart: six on the shaft, within 5 cm, lie exactly on two cylinders; seven on the cone, within 3.2
// cm, lie within 0.004 mm of a second cone. "Hard Probe Features" and "Quick Probe" must give the same answer
// for them wherever the part stands and after a 3-2-1 alignment (whose hardware matrix is the identity but
// for rounding): the refusal that says how to probe, never one of the two. Touches spread along the wall
// still give the part's shape exactly. examples/parts/wide-shaft-cone.step is the part.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "compared_differences.h"
#include "emulator_script.h"
#include "random_pose.h"
#include "support/run_tool.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

// A pick as the emulator takes it: a ray from origin along direction, in the part's own coordinates.
struct Pick {
  Vector3 origin;
  Vector3 direction;
};

// Where a touch is taken: degrees around the axis from x, and height above the plate's top face.
struct Station {
  double degrees;
  double height;
};

// The shaft, or the cone narrowing upwards from its foot on the plate's top face (z = 0.01), how a probe run
// names it, and the bunched touches on it.
struct Solid {
  const char* kind;
  Vector3 axisFoot;
  double taper;         // radius lost per metre up the axis
  std::string nominal;  // the cone's written from its wide end, as a CAD system may give it
  std::vector<Station> bunched;
};

const Solid kShaft{"Cylinder",
                   {0.15, 0.15, 0.01},
                   0.0,
                   "cylinder 0.15 0.15 0.01 0.15 0.15 0.07 0.127",
                   {{15, 0.005}, {75, 0.025}, {135, 0.045}, {195, 0.015}, {255, 0.035}, {315, 0.055}}};
const Solid kCone{
    "Cone",
    {0.45, 0.15, 0.01},
    0.25,
    "cone 0.45 0.15 0.01 0.45 0.15 0.07 0.127 0.112",
    {{-5, 0.024}, {68, 0.02}, {115, 0.043}, {159, 0.019}, {221, 0.017}, {257, 0.011}, {296, 0.023}}};

// Towards the axis, horizontally, from just outside the wall at that height above the plate.
Pick onWall(const Solid& solid, double degrees, double height) {
  const double a = degrees * M_PI / 180, reach = 0.127 - solid.taper * height + 0.02;
  const Vector3 out{std::cos(a), std::sin(a), 0};
  return {solid.axisFoot + out * reach + Vector3{0, 0, height}, out * -1.0};
}

std::vector<Pick> bunched(const Solid& solid) {
  std::vector<Pick> rays;
  for (const Station& station : solid.bunched) rays.push_back(onWall(solid, station.degrees, station.height));
  return rays;
}

// Two staggered rings of four, near the foot and near the top.
std::vector<Pick> spread(const Solid& solid) {
  std::vector<Pick> rays;
  for (int i = 0; i < 8; ++i) rays.push_back(onWall(solid, 15 + 45 * i, i % 2 ? 0.055 : 0.005));
  return rays;
}

class ShaftScript {
 public:
  std::string text;

  void line(const std::string& words) { text += words + "\n"; }
  void place(const Matrix4x4& placement) {
    placement_ = placement;
    std::string transform = "transform RefObject";
    for (double value : placement.m) transform += numbers({value});
    line(transform);
  }
  void mouse(const char* action, const Pick& ray) {
    const Vector3 o = Matrix4x4::transformPoint(placement_, ray.origin);
    const Vector3 d = Matrix4x4::transformVector(placement_, ray.direction);
    line(std::string("mouse ") + action + numbers({o.x, o.y, o.z, d.x, d.y, d.z}));
  }
  void touchAll(const std::vector<Pick>& rays) {
    for (const Pick& ray : rays) {
      mouse("click", ray);
      text += kSampled;
    }
  }
  void hardProbe(const Solid& solid, const std::vector<Pick>& rays) {
    line(std::string("command PalperaCreateFeaturesCmd2 IZelFeature=IZel") + solid.kind +
         ",IZelFeatureCollector=" + solid.kind + ",UsePlane=false");
    text += kRadiusEvent;
    touchAll(rays);
    text += kLiftedStop;
  }
  void quickProbe(const std::vector<Pick>& rays) {
    line("command PalperaQuickProbeCmd");
    text += kRadiusEvent;
    touchAll(rays);
    text += kLiftedStop;
  }
  // The reference planes picked on the plate's top, front and left faces, then the same faces probed.
  void align321() {
    const Pick top[3] = {
        {{0.3, 0.01, 0.05}, {0, 0, -1}}, {{0.59, 0.29, 0.05}, {0, 0, -1}}, {{0.01, 0.29, 0.05}, {0, 0, -1}}};
    const Pick front[2] = {{{0.1, -0.05, 0.005}, {0, 1, 0}}, {{0.5, -0.05, 0.005}, {0, 1, 0}}};
    const Pick left{{-0.05, 0.15, 0.005}, {1, 0, 0}};
    line("command PalperaDeviceToPartAlignmentCmd");
    for (const Pick& pick : {top[0], top[1], top[2], front[0], front[1], left}) mouse("click", pick);
    line("press StartProbing");
    text += kRadiusEvent;
    touchAll({top[0], top[1], top[2]});
    text += kLiftedStop;
    touchAll({front[0], front[1]});
    text += kLiftedStop;
    touchAll({left});
    text += kLiftedStop;
    line("apply");
  }

 private:
  Matrix4x4 placement_;
};

// One session per solid, so that each stays well inside a test's time under a sanitizer.
class BunchedTouchesScript : public testing::TestWithParam<const Solid*> {};

std::string solidName(const testing::TestParamInfo<const Solid*>& info) {
  return info.param->kind;
}

}  // namespace

TEST_P(BunchedTouchesScript, GiveOneRefusalInEveryPoseAndAfterAnAlignmentAndSpreadTouchesTheExactShape) {
  // Under a sanitizer the cone's fits alone take most of a test's time on two cores.
  const size_t poses = kSanitized ? 8 : 20;
  const Solid& solid = *GetParam();
  std::mt19937 random(20261208);
  ShaftScript script;
  script.line("cad-load RefObject " + kProject + "/examples/parts/wide-shaft-cone.step");
  script.line("set DefaultFileNameDirectory/common " + kProject + "/examples");
  script.line("start");
  script.line("set Palpera/Emulator/MaxNoiseFactor 0");
  for (size_t pose = 0; pose < poses; ++pose) {
    script.place(randomPose(random));
    script.hardProbe(solid, bunched(solid));
    script.line("cancel");
  }
  // A turn about a skew axis and a shift, then the device aligned to the part where it stands.
  script.place(Matrix4x4::translation({0.3, -0.2, 0.1}) *
               Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), 0.35));
  script.line("active RefObject");
  script.align321();
  script.hardProbe(solid, bunched(solid));
  script.line("cancel");
  script.hardProbe(solid, spread(solid));
  script.line("apply");
  script.line("feature RefObject " + solid.nominal);
  script.line("compare TestObject RefObject");
  script.quickProbe(bunched(solid));
  script.line("cancel");
  ScratchDirectory scratch;
  std::ofstream(scratch.system("session.script")) << script.text;
  int status = -1;
  const std::string output = runTool("--script session.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  const std::string shape = solid.taper > 0 ? "cones" : "cylinders";
  const std::string refusal = " was not made: the points fit " + shape +
                              " along distinct axes equally well, so they do not determine its axis: spread "
                              "the touches along the axis. Its points are kept.";
  EXPECT_EQ(occurrences(output, "error: " + std::string(solid.kind) + refusal), poses + 1) << output;
  EXPECT_EQ(occurrences(output, refusal + " Probe more and stop again."), 1u) << output;
  EXPECT_EQ(occurrences(output, "error: "), poses + 2) << output;
  EXPECT_EQ(expectDifferencesWithin(output, 1e-6), solid.taper > 0 ? 4 : 3) << output;
}

INSTANTIATE_TEST_SUITE_P(ShaftAndCone, BunchedTouchesScript, testing::Values(&kShaft, &kCone), solidName);
