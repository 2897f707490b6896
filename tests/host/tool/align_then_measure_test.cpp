// A device alignment, then the measuring commands, as an operator runs them one after the other: the plate
// with a bore stands where the document places it, and after "3-2-1 Device Alignment" or "Iterative
// Alignment" every command must measure the part where it stands. With the emulator, whose arm touches the
// part where the document shows it, each run starts from a stale hardware transform, and is tried with the
// part placed by a turn about a skew axis and a shift, at the identity, and placed with a software transform
// loaded first. A replayed session then has an arm that stands elsewhere: its touches are in the arm's own
// coordinates, so the alignment must find the arm's pose, and every product of the frame chain shows.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "emulator_script.h"
#include "framework/registrations/static_constants.h"
#include "printed_matrix.h"
#include "support/device_records.h"
#include "support/expect_matrix_near.h"
#include "support/module_fixture.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// A touch or pick as the emulator takes it: a ray from origin along direction, in the part's own coordinates,
// and the point of the surface it meets.
struct Ray {
  Vector3 origin;
  Vector3 direction;
  Vector3 surface;
};

// examples/parts/plate-bore.step: a plate 0.1 x 0.08 x 0.01 from the origin, a bore of radius 0.01 about
// x = 0.05, y = 0.04.
const Vector3 kBoreAxis{0.05, 0.04, 0};
Ray onTop(double x, double y) {
  return {{x, y, 0.05}, {0, 0, -1}, {x, y, 0.01}};
}
Ray onFront(double x, double z) {
  return {{x, -0.05, z}, {0, 1, 0}, {x, 0, z}};
}
Ray onEnd(double y, double z) {
  return {{-0.05, y, z}, {1, 0, 0}, {0, y, z}};
}
// Towards the wall along (c, s), a unit direction.
Ray onBore(double c, double s, double z) {
  return {{kBoreAxis.x, kBoreAxis.y, z}, {c, s, 0}, {kBoreAxis.x + 0.01 * c, kBoreAxis.y + 0.01 * s, z}};
}
Ray onBore(double degrees, double z) {
  const double a = degrees * M_PI / 180;
  return onBore(std::cos(a), std::sin(a), z);
}

const std::vector<Ray> kTop = {onTop(0.01, 0.01), onTop(0.09, 0.015), onTop(0.085, 0.07), onTop(0.015, 0.07)};
const std::vector<Ray> kFront = {onFront(0.02, 0.005), onFront(0.08, 0.004)};
const Ray kEnd = onEnd(0.04, 0.005);
// Three touches on each half of the wall, in rings at uneven heights.
const std::vector<Ray> kBore = {onBore(110, 0.003), onBore(150, 0.005), onBore(190, 0.007),
                                onBore(-70, 0.003), onBore(-20, 0.005), onBore(30, 0.007)};
// For Hard Probe Features two more, further up and down the wall.
const std::vector<Ray> kBoreMore = {onBore(70, 0.002), onBore(250, 0.008)};

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
    if (restarts) text += kRadiusEvent;
  }
  void touchAll(const std::vector<Ray>& rays) {
    for (const Ray& ray : rays) touch(ray);
  }

 private:
  Matrix4x4 placement_;
};

enum class Alignment { k321, kIterative };

std::string alignmentName(const testing::TestParamInfo<Alignment>& info) {
  return info.param == Alignment::k321 ? "ThreeTwoOne" : "Iterative";
}

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

// The six faces' points picked and probed by both alignments.
const std::vector<Ray> kAlignmentTouches = {kTop[0], kTop[1], kTop[2], kFront[0], kFront[1], kEnd};

void pick321(Script& script) {
  script.line("command PalperaDeviceToPartAlignmentCmd");
  for (const Ray& pick : kAlignmentTouches) script.mouse("click", pick);
  script.line("press StartProbing");
}

void pickTargets(Script& script) {
  script.line("command PalperaIterativeAlignmentCmd");
  for (const Ray& target : kAlignmentTouches) {
    script.mouse("down", target);
    script.mouse("click", target);
  }
  script.line("press StartProbing");
}

void align321(Script& script) {
  pick321(script);
  script.text += kRadiusEvent;
  script.touchAll({kTop[0], kTop[1], kTop[2]});
  script.text += kLiftedStop;
  script.touchAll(kFront);
  script.text += kLiftedStop;
  script.touch(kEnd);
  script.text += kLiftedStop;
  script.line("apply");
}

void alignIterative(Script& script) {
  pickTargets(script);
  script.text += kRadiusEvent;
  // From the third touch on, each realignment restarts the device, which then announces its radius again;
  // the last touch ends the pass, every target within tolerance.
  for (size_t i = 0; i < kAlignmentTouches.size(); ++i)
    script.touch(kAlignmentTouches[i], i >= 2 && i + 1 < kAlignmentTouches.size());
  script.line("apply");
}

constexpr const char* kProbePlane =
    "command PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false";
constexpr const char* kProbeCylinder =
    "command PalperaCreateFeaturesCmd2 IZelFeature=IZelCylinder,IZelFeatureCollector=Cylinder,UsePlane=false";

void hardProbeFeatures(Script& script, const std::vector<Ray>& bore = kBore,
                       const std::vector<Ray>& boreMore = kBoreMore) {
  script.line(kProbePlane);
  script.text += kRadiusEvent;
  script.touchAll(kTop);
  script.text += kLiftedStop;
  script.line("apply");
  script.line(kProbeCylinder);
  script.text += kRadiusEvent;
  script.touchAll(bore);
  script.touchAll(boreMore);
  script.text += kLiftedStop;
  script.line("apply");
}

void quickProbe(Script& script) {
  script.line("command PalperaQuickProbeCmd");
  script.text += kRadiusEvent;
  script.touchAll({kTop[0], kTop[1], kTop[2]});
  script.text += kLiftedStop;
  script.touchAll(kBore);
  // The stop inside the bore, with the tip lifted off its wall.
  script.line("key press 299");
  script.mouse("move", onBore(90, 0.005));
  script.line("key press 293\nkey release 299\nrun-until Palpera/Events/Single/StopEvent 10000");
  script.line("apply");
}

void startDeviation(Script& script) {
  script.line("current RefObject");
  script.line("command PalperaRealTimeDeviationCmd");
  script.line("value ToleranceBox 0.001");
}

void deviation(Script& script) {
  startDeviation(script);
  script.text += kRadiusEvent;
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
void expectEverythingWherePartStands(const std::string& output, int differencesWanted = 10,
                                     int deviationsWanted = 4) {
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
  EXPECT_EQ(differences, differencesWanted) << output;
  EXPECT_EQ(deviations, deviationsWanted) << output;
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

// The arm's own coordinates of the part: a turn whose matrix holds only multiples of 1/25 (from the
// quaternion (1, 2, 2, 4)) and a shift of whole micrometres. Every point touched lies on a grid of 25
// micrometres on the part, so its coordinates in the arm are whole micrometres, which an event file's six
// decimals hold exactly: the pose found can then be held to 1e-9.
Matrix4x4 partToArm() {
  Matrix4x4 m;
  const double rows[12] = {-0.6, 0, 0.8, -0.412, 0.64, -0.6, 0.48, 0.087, 0.48, 0.8, 0.36, 1.234};
  std::copy(rows, rows + 12, m.m);
  return m;
}

constexpr double kBall = 0.001;  // the radius of the ball the emulator's runs carry too
constexpr const char* kReplayed = "run-until Palpera/LogReplayFinished 10000\n";

// A touch of the ball on the ray's surface point, or the stop with the ball lifted off it by its radius.
struct ArmEvent {
  Ray ray;
  bool stop = false;
};
std::vector<ArmEvent> touches(const std::vector<Ray>& rays) {
  std::vector<ArmEvent> events;
  for (const Ray& ray : rays) events.push_back({ray});
  return events;
}
std::vector<ArmEvent> touchesThenStop(const std::vector<Ray>& rays) {
  std::vector<ArmEvent> events = touches(rays);
  events.push_back({rays.back(), true});
  return events;
}
std::vector<ArmEvent> operator+(std::vector<ArmEvent> a, const std::vector<ArmEvent>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The bore touched along directions of whole hundredths, so the ball's centre stays on the grid.
const std::vector<Ray> kBoreOnGrid = {onBore(-0.6, 0.8, 0.003),  onBore(-1, 0, 0.005),
                                      onBore(-0.6, -0.8, 0.007), onBore(0, -1, 0.003),
                                      onBore(0.8, -0.6, 0.005),  onBore(0.8, 0.6, 0.007)};
const std::vector<Ray> kBoreOnGridMore = {onBore(0, 1, 0.002), onBore(0.6, 0.8, 0.008)};

// A session recorded with an arm standing at placement x partToArm()^-1 while the part stood at placement:
// each acquisition's device-event file holds the arm's raw touches, written by the module's own writer, and
// the host log names them in the order the commands start their acquisitions. The alignment's acquisitions
// carry no recorded matrix, so the replay runs them with the matrices the command sets; those of the
// measuring commands carry the pose, as the recording of a session aligned to it holds it.
class ArmElsewhere : public ModuleTest, public testing::WithParamInterface<Alignment> {
 protected:
  Matrix4x4 pose(const Case& given) const { return given.placement * Matrix4x4::inverse(partToArm()); }

  void acquisition(const std::vector<ArmEvent>& events, const Matrix4x4* recorded = nullptr) {
    const std::string name = "arm-" + std::to_string(files_++) + ".xml";
    {
      IPtr<PluginDeviceDataXMLWriter> writer;
      writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
      ASSERT_TRUE(writer);
      writer->setOutputFile(scratch_.module(name));
      writer->writeRadiusEvent(ZelString(EventLogNames::kSetRadius), device_records::radius(kBall).get());
      for (const ArmEvent& event : events) {
        const double lift = event.stop ? 2 * kBall : kBall;
        const Vector3 onPart = event.ray.surface - lift * event.ray.direction;
        writer->writePositionEvent(
            ZelString(event.stop ? EventLogNames::kOnPointStop : EventLogNames::kOnPointSampled),
            device_records::position(Matrix4x4::transformPoint(partToArm(), onPart)).get());
      }
    }
    if (recorded) {
      std::string matrix;
      for (double value : recorded->m) matrix += numbers({value});
      log_ += "PluginAlignmentMatrix\t" + matrix + "\n";
    }
    log_ += "PluginData\t" + name + "\nPluginWait\t\n";
  }

  void align(Script& script) {
    if (GetParam() == Alignment::k321) {
      pick321(script);
      acquisition(touchesThenStop({kTop[0], kTop[1], kTop[2]}) + touchesThenStop(kFront) +
                  touchesThenStop({kEnd}));
      script.text += kReplayed;
    } else {
      pickTargets(script);
      // Three touches align; each touch after them realigns and restarts the device on the new matrix.
      acquisition(touches({kTop[0], kTop[1], kTop[2]}));
      for (const Ray& target : {kFront[0], kFront[1], kEnd}) acquisition(touches({target}));
      for (int i = 0; i < 4; ++i) script.text += kReplayed;
    }
    script.line("print alignment");
    script.line("apply");
    // The alignment outlives the command that made it, as a live one does.
    script.line("print alignment");
  }

  // recorded: what each measuring acquisition carries; null: the replay measures in the alignment it made.
  void measure(Script& script, const Matrix4x4* recorded) {
    const auto replayed = [&](const char* command, const std::vector<ArmEvent>& events) {
      script.line(command);
      acquisition(events, recorded);
      script.text += kReplayed;
      script.line("apply");
    };
    replayed("command PalperaQuickProbeCmd",
             touchesThenStop({kTop[0], kTop[1], kTop[2]}) + touchesThenStop(kBoreOnGrid));
    replayed(kProbePlane, touchesThenStop(kTop));
    replayed(kProbeCylinder, touches(kBoreOnGrid) + touchesThenStop(kBoreOnGridMore));
    script.line("compare TestObject RefObject");
    startDeviation(script);
    acquisition(touches({kTop[3], onBore(0.6, -0.8, 0.005), kTop[1], onBore(0.8, 0.6, 0.002)}), recorded);
    script.text += kReplayed;
    script.line("print table");
    script.line("print alignment");
    script.line("apply");
  }

  // Runs the session, and checks the pose found and every value measured after it.
  void expectArmsPoseAndThePartWhereItStands(const Case& given) {
    for (const bool measuringRecorded : {true, false}) {
      SCOPED_TRACE(measuringRecorded ? "measuring acquisitions recorded with the pose" : "none recorded");
      log_.clear();
      Script script(given.placement);
      header(script, given);
      script.line("replay-log " + scratch_.system("session.log"));
      align(script);
      const Matrix4x4 recorded = pose(given);
      measure(script, measuringRecorded ? &recorded : nullptr);
      std::ofstream(scratch_.system("session.log")) << log_;
      const std::string output = run(script);
      // The frame rule: object x hardware x scale is the pose the touches are delivered by, so the hardware
      // matrix holds the software transform's inverse, after the alignment's apply and while measuring.
      const Matrix4x4 software = lastMatrixUnder(output, "object");
      std::string printed = output;
      for (const char* when : {"while measuring", "after the alignment's apply"}) {
        SCOPED_TRACE(when);
        expectMatrixNear(lastMatrixUnder(printed, "hardware"), Matrix4x4::inverse(software) * pose(given),
                         1e-9);
        expectMatrixNear(lastMatrixUnder(printed, "combined"), pose(given), 1e-9);
        printed.resize(printed.rfind("\nhardware\n"));
      }
      expectEverythingWherePartStands(output);
    }
  }

  ScratchDirectory scratch_;
  std::string log_;
  int files_ = 0;
};

TEST_P(ArmElsewhere, TheAlignmentFindsTheArmsPoseAndEveryCommandMeasuresThePlacedPart) {
  expectArmsPoseAndThePartWhereItStands({skewPlacement(), false});
}

// A replayed run takes its device transform whole, so the software transform changes nothing in the pose.
TEST_P(ArmElsewhere, WithASoftwareTransformTheReplayedAlignmentFindsTheSamePose) {
  expectArmsPoseAndThePartWhereItStands({skewPlacement(), true});
}

// An alignment, then Hard Probe Features, recorded with the emulator from the stale hardware transform, with
// and without a software transform, replayed with no device: the alignment from the recorded touches is
// stored at apply as a live one (object x hardware x scale the identity) and the later features lie on the
// part. At the identity the touches on the grid, recorded to six decimals, are whole micrometres.
class RecordedSession : public testing::TestWithParam<Alignment> {};

TEST_P(RecordedSession, ItsReplayStoresTheAlignmentAtApplyAndMeasuresInIt) {
  const bool is321 = GetParam() == Alignment::k321;
  for (const bool softwareTransform : {false, true}) {
    SCOPED_TRACE(softwareTransform ? "with a software transform" : "without");
    ScratchDirectory scratch;
    const Case given{Matrix4x4::identity(), softwareTransform};
    Script recording(given.placement), replay(given.placement);
    for (Script* script : {&recording, &replay}) header(*script, given);
    recording.line("record-log " + scratch.system("session.log"));
    is321 ? align321(recording) : alignIterative(recording);
    hardProbeFeatures(recording, kBoreOnGrid, kBoreOnGridMore);
    recording.line("stop-recording");
    run(recording);
    replay.line("replay-log " + scratch.system("session.log"));
    is321 ? pick321(replay) : pickTargets(replay);
    // The iterative pass restarts the device after each of its last three realignments.
    for (int i = 0; i < (is321 ? 1 : 4); ++i) replay.text += kReplayed;
    replay.line("print alignment\napply\nprint alignment");
    for (const char* command : {kProbePlane, kProbeCylinder})
      replay.line(command + ("\n" + std::string(kReplayed)) + "apply");
    replay.line("feature RefObject plane 0.05 0.04 0.01 0 0 1");
    replay.line("feature RefObject cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01");
    replay.line("compare TestObject RefObject");
    const std::string output = run(replay);
    const Matrix4x4 solved = lastMatrixUnder(output.substr(0, output.rfind("\nhardware\n")), "hardware");
    expectMatrixNear(solved, Matrix4x4::inverse(lastMatrixUnder(output, "object")), 1e-9);
    expectMatrixNear(lastMatrixUnder(output, "hardware"), solved, 0);  // stored as solved
    expectMatrixNear(lastMatrixUnder(output, "combined"), Matrix4x4::identity(), 1e-9);
    // Hard Probe Features' plane and cylinder: 2 + 3 values.
    expectEverythingWherePartStands(output, 5, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Both, RecordedSession, testing::Values(Alignment::k321, Alignment::kIterative),
                         alignmentName);

INSTANTIATE_TEST_SUITE_P(Both, ArmElsewhere, testing::Values(Alignment::k321, Alignment::kIterative),
                         alignmentName);

INSTANTIATE_TEST_SUITE_P(Both, AlignThenMeasure, testing::Values(Alignment::k321, Alignment::kIterative),
                         alignmentName);

}  // namespace
