// A device alignment, then the measuring commands, as an operator runs them one after the other: the plate
// with a bore stands where the document places it, the emulator's arm touches it there, and after "3-2-1
// Device Alignment" or "Iterative Alignment" every command must measure the part where it stands. Each run
// starts from an arm that stands elsewhere (a stale hardware transform), and is tried with the part placed by
// a turn about a skew axis and a shift, at the identity, and placed with a software transform loaded first.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// A touch or pick as the emulator takes it: a ray from origin along direction, in the part's own coordinates.
struct Ray {
  Vector3 origin;
  Vector3 direction;
};

// examples/parts/plate-bore.step: a plate 0.1 x 0.08 x 0.01 from the origin, a bore of radius 0.01 about
// x = 0.05, y = 0.04.
const Vector3 kBoreAxis{0.05, 0.04, 0};
Ray onTop(double x, double y) {
  return {{x, y, 0.05}, {0, 0, -1}};
}
Ray onFront(double x, double z) {
  return {{x, -0.05, z}, {0, 1, 0}};
}
Ray onEnd(double y, double z) {
  return {{-0.05, y, z}, {1, 0, 0}};
}
Ray onBore(double degrees, double z) {
  const double a = degrees * M_PI / 180;
  return {{kBoreAxis.x, kBoreAxis.y, z}, {std::cos(a), std::sin(a), 0}};
}

const std::vector<Ray> kTop = {onTop(0.01, 0.01), onTop(0.09, 0.015), onTop(0.085, 0.07), onTop(0.015, 0.07)};
const std::vector<Ray> kFront = {onFront(0.02, 0.005), onFront(0.08, 0.004)};
const Ray kEnd = onEnd(0.04, 0.005);
// Three touches on each half of the wall, in rings at uneven heights.
const std::vector<Ray> kBore = {onBore(110, 0.003), onBore(150, 0.005), onBore(190, 0.007),
                                onBore(-70, 0.003), onBore(-20, 0.005), onBore(30, 0.007)};
// For Hard Probe Features two more, further up and down the wall.
const std::vector<Ray> kBoreMore = {onBore(70, 0.002), onBore(250, 0.008)};

constexpr const char* kSampled = "run-until Palpera/Events/Single/SampledEvent 10000\n";
constexpr const char* kRadius = "run-until Palpera/Events/Single/RadiusEvent 10000\n";
// The stop button with the tip lifted, as an operator ends a feature off the surface.
constexpr const char* kStop =
    "key press 299\nkey press 293\nkey release 299\nrun-until Palpera/Events/Single/StopEvent 10000\n";

std::string numbers(std::initializer_list<double> values) {
  std::ostringstream text;
  text.precision(17);
  for (double value : values) text << ' ' << value;
  return text.str();
}

class Script {
 public:
  explicit Script(const Matrix4x4& placement) : placement_(placement) {}

  std::string text;

  void line(const std::string& words) { text += words + "\n"; }
  // A mouse action on the ray placed where the part stands in the world.
  void mouse(const char* action, const Ray& ray) {
    const Vector3 o = Matrix4x4::transformPoint(placement_, ray.origin);
    const Vector3 d = Matrix4x4::transformVector(placement_, ray.direction);
    line(std::string("mouse ") + action + numbers({o.x, o.y, o.z, d.x, d.y, d.z}));
  }
  void touch(const Ray& ray, bool restarts = false) {
    mouse("click", ray);
    text += kSampled;
    if (restarts) text += kRadius;
  }
  void touchAll(const std::vector<Ray>& rays) {
    for (const Ray& ray : rays) touch(ray);
  }

 private:
  Matrix4x4 placement_;
};

enum class Alignment { k321, kIterative };

struct Case {
  Matrix4x4 placement;
  bool softwareTransform;
};

// A turn of 20 degrees about (1, 2, 3) and a shift: no axis of the part stays where it was.
Matrix4x4 skewPlacement() {
  const Vector3 axis = Vector3(1, 2, 3).normalized();
  const double a = 20 * M_PI / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
  const double x = axis.x, y = axis.y, z = axis.z;
  Matrix4x4 m;
  const double rows[12] = {t * x * x + c,     t * x * y - s * z, t * x * z + s * y, 0.3,
                           t * x * y + s * z, t * y * y + c,     t * y * z - s * x, -0.2,
                           t * x * z - s * y, t * y * z + s * x, t * z * z + c,     0.1};
  std::copy(rows, rows + 12, m.m);
  return m;
}

void header(Script& script, const Case& given) {
  const double* p = given.placement.m;
  script.line("cad-load RefObject parts/plate-bore.step");
  std::string transform = "transform RefObject";
  for (int i = 0; i < 16; ++i) transform += numbers({p[i]});
  script.line(transform);
  script.line("start");
  script.line("set Palpera/Emulator/MaxNoiseFactor 0");
  script.line("set Palpera/Emulator/ProbeDiameter 0.002");
  script.line("active RefObject");
  // An arm moved since its last alignment: its stale hardware transform, and the user's software transform.
  script.line("command PalperaManageTransformCmd");
  script.line("file-answer transforms/quarter-turn.xal 1");
  script.line("press HardwareLoadFile");
  if (given.softwareTransform) {
    script.line("file-answer transforms/shift.tfm 0");
    script.line("press SoftwareLoadFile");
  }
  script.line("apply");
}

void align321(Script& script) {
  script.line("command PalperaDeviceToPartAlignmentCmd");
  const std::vector<Ray> picks = {kTop[0], kTop[1], kTop[2], kFront[0], kFront[1], kEnd};
  for (const Ray& pick : picks) script.mouse("click", pick);
  script.line("press StartProbing");
  script.text += kRadius;
  script.touchAll({kTop[0], kTop[1], kTop[2]});
  script.text += kStop;
  script.touchAll(kFront);
  script.text += kStop;
  script.touch(kEnd);
  script.text += kStop;
  script.line("apply");
}

void alignIterative(Script& script) {
  script.line("command PalperaIterativeAlignmentCmd");
  const std::vector<Ray> targets = {kTop[0], kTop[1], kTop[2], kFront[0], kFront[1], kEnd};
  for (const Ray& target : targets) {
    script.mouse("down", target);
    script.mouse("click", target);
  }
  script.line("press StartProbing");
  script.text += kRadius;
  // From the third touch on, each realignment restarts the device, which then announces its radius again;
  // the last touch ends the pass, every target within tolerance.
  for (size_t i = 0; i < targets.size(); ++i) script.touch(targets[i], i >= 2 && i + 1 < targets.size());
  script.line("apply");
}

void hardProbeFeatures(Script& script) {
  script.line(
      "command PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false");
  script.text += kRadius;
  script.touchAll(kTop);
  script.text += kStop;
  script.line("apply");
  script.line(
      "command PalperaCreateFeaturesCmd2 "
      "IZelFeature=IZelCylinder,IZelFeatureCollector=Cylinder,UsePlane=false");
  script.text += kRadius;
  script.touchAll(kBore);
  script.touchAll(kBoreMore);
  script.text += kStop;
  script.line("apply");
}

void quickProbe(Script& script) {
  script.line("command PalperaQuickProbeCmd");
  script.text += kRadius;
  script.touchAll({kTop[0], kTop[1], kTop[2]});
  script.text += kStop;
  script.touchAll(kBore);
  // The stop inside the bore, with the tip lifted off its wall.
  script.line("key press 299");
  script.mouse("move", onBore(90, 0.005));
  script.line("key press 293\nkey release 299\nrun-until Palpera/Events/Single/StopEvent 10000");
  script.line("apply");
}

void deviation(Script& script) {
  script.line("current RefObject");
  script.line("command PalperaRealTimeDeviationCmd");
  script.text += kRadius;
  script.line("value ToleranceBox 0.001");
  script.touchAll({kTop[3], onBore(300, 0.005), kTop[1], onBore(20, 0.002)});
  script.line("print table");
  script.line("apply");
}

std::string run(const Script& script) {
  ScratchDirectory scratch;
  const std::string path = scratch.system() + "/align-then-measure.script";
  std::ofstream(path) << script.text;
  int status = -1;
  const std::string output = runTool("--script " + path, status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output << "\nThe script:\n" << script.text;
  return output;
}

std::string run(Alignment alignment, const Case& given) {
  Script script(given.placement);
  header(script, given);
  alignment == Alignment::k321 ? align321(script) : alignIterative(script);
  // Quick Probe first: the nominals it finds on the model are the ones its features and those of Hard Probe
  // Features, all in the same object, are compared with.
  quickProbe(script);
  hardProbeFeatures(script);
  script.line("compare TestObject RefObject");
  deviation(script);
  return run(script);
}

// Every difference compare printed, and every deviation in the point table.
void expectEverythingWherePartStands(const std::string& output) {
  std::istringstream lines(output);
  std::string line;
  int differences = 0, deviations = 0;
  while (std::getline(lines, line)) {
    SCOPED_TRACE(line);
    const size_t metres = line.rfind(" m"), radians = line.rfind(" rad");
    if (line[0] == '\t' && (metres == line.size() - 2 || radians == line.size() - 4)) {
      const double difference = std::stod(line.substr(line.rfind('\t') + 1));
      EXPECT_LE(std::abs(difference), 1e-6);
      ++differences;
    }
    if (line.rfind("Pt", 0) == 0) {
      EXPECT_TRUE(line.find("\t0.000 mm\tPASS") != std::string::npos ||
                  line.find("\t-0.000 mm\tPASS") != std::string::npos);
      ++deviations;
    }
  }
  // Quick Probe's plane and cylinder, then Hard Probe Features' plane and cylinder: 2 + 3 values each.
  EXPECT_EQ(differences, 10) << output;
  EXPECT_EQ(deviations, 4) << output;
}

class AlignThenMeasure : public testing::TestWithParam<Alignment> {};

TEST_P(AlignThenMeasure, EveryCommandMeasuresAPlacedPartWhereItStands) {
  expectEverythingWherePartStands(run(GetParam(), {skewPlacement(), false}));
}

TEST_P(AlignThenMeasure, APartAtTheIdentityIsMeasuredAsBefore) {
  expectEverythingWherePartStands(run(GetParam(), {Matrix4x4::identity(), false}));
}

// A placement as a person writes it, to eight decimals: a rotation within the rounding, which the alignment
// takes as every measuring command does.
TEST_P(AlignThenMeasure, APlacementWrittenToEightDecimalsIsTakenAsAllTheCommandsTakeIt) {
  Matrix4x4 rounded = skewPlacement();
  for (double& value : rounded.m) value = std::round(value * 1e8) / 1e8;
  expectEverythingWherePartStands(run(GetParam(), {rounded, false}));
}

TEST_P(AlignThenMeasure, ASoftwareTransformLoadedBeforeTheAlignmentStaysInTheChain) {
  expectEverythingWherePartStands(run(GetParam(), {skewPlacement(), true}));
}

// A part placed with a scale has other distances in the world than in its model: the alignment onto it is
// refused with a word, and the arm keeps the hardware matrix it had.
TEST(AlignThenMeasureScaled, A321AlignmentOntoAScaledPartIsRefusedAndTheArmKeepsItsMatrix) {
  Matrix4x4 scaled = skewPlacement();
  for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) scaled.m[i] *= 1.01;
  Script script(scaled);
  header(script, {scaled, false});
  align321(script);
  script.line("print errors");
  script.line("print alignment");
  const std::string output = run(script);
  EXPECT_NE(output.find("The reference object is placed by a transform that is not a rotation and a shift"),
            std::string::npos)
      << output;
  EXPECT_EQ(lastMatrixUnder(output, "hardware").m[3], 0.25) << "the stale matrix it started with";
}

INSTANTIATE_TEST_SUITE_P(Both, AlignThenMeasure, testing::Values(Alignment::k321, Alignment::kIterative),
                         [](const testing::TestParamInfo<Alignment>& info) {
                           return info.param == Alignment::k321 ? "ThreeTwoOne" : "Iterative";
                         });

}  // namespace
