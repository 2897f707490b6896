// Sessions of palpera-host replaying device-event files written as an arm writes them: a bore, a boss, pins
// of 1.5 and 0.75 mm, a conical boss, a bore's rim as a circle and a sphere, each with its fewest touches and
// one, two or four more, by 2 and 6 mm balls, in three poses; a sphere also as a reference is probed, a ring
// of touches round it and one on top. Whatever the count, a run with a touch 1 to 5 mm astray (0.5 to 0.8 mm
// on a pin; on the ring, not the top it alone fixes) is refused, never made, and a touch it names alone is
// the stray one, told in mm; a run whose touches are sound, noisy to 40 micrometres, scattered as the
// emulator scatters them, on a worn wall, or round the ring out and in by turns as far as the emulator
// scatters, is made from every touch, on its nominal. Bosses, pins and the cone are stopped above their ends
// as often as beside them: then the feature is made again from a stop on the touches' side, which must still
// take every touch. "Quick Probe" of a bore and a boss on a placed part takes no stray touch into either: it
// refuses the feature, or the faces under the touches leave the stray one out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "arm_events.h"
#include "emulator_script.h"
#include "printed_document.h"
#include "project_script.h"
#include "random_pose.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"

// Named: the test programs compile eight files to a unit, whose anonymous namespaces are one.
namespace strayed_touches {

enum Shape { kBore, kBoss, kPin, kThinPin, kCone, kCircle, kSphere, kStandingBoss, kSphereRing };
// Emulated: the emulator's scatter, up to 1 per cent of the ball's diameter either way; oval: that far out
// and in by turns.
enum Condition { kSound, kNoisy, kWorn, kEmulated, kOval, kStray };

struct Feature {
  const char *kind, *collector;
  size_t fewest;
  double radius, low, high;  // m; the touches' heights (a sphere's elevations, rad)
  bool hole;
};
const Feature kFeatures[] = {
    {"IZelCylinder", "Cylinder", 6, 0.01, 0.002, 0.008, true},
    {"IZelCylinder", "Cylinder", 6, 0.015, 0.012, 0.023, false},
    {"IZelCylinder", "Cylinder", 6, 0.0015, 0.012, 0.02, false},
    {"IZelCylinder", "Cylinder", 6, 0.00075, 0.012, 0.02, false},
    {"IZelCone", "Cone", 7, 0.0, 0.012, 0.028, false},
    {"IZelArc", "Circle", 3, 0.01, 0.004, 0.007, true},
    {"IZelSphere", "Sphere", 4, 0.015, -0.25, 1.15, false},
    // A boss standing on a plate: a 6 mm ball touches its wall no lower than its radius above the plate.
    {"IZelCylinder", "Cylinder", 6, 0.015, 0.0135, 0.0235, false},
    // A ring 17 degrees above the equator and a touch by the top.
    {"IZelSphere", "Sphere", 4, 0.015, 0.3, 1.5, false},
};
const Vector3 kAxisFoot{0.05, 0.04, 0}, kSphereCentre{0.02, 0.02, 0.03};
const double kConeSlope = std::tan(20 * M_PI / 180);  // the conical boss narrows from r 20 mm at z = 10 mm

struct Probing {
  Shape shape;
  size_t touches;
  Condition condition;
  double ball;
  size_t stray = 0;
  double strayBy = 0;  // m, along the free side's normal
  Vector3 foot = kAxisFoot;
};

// The run's events in pose: touches spread round the feature and along it (up a sphere in a spiral), each
// come in a few degrees off its normal; a worn wall is oval and three-lobed by 30 and 15 micrometres.
std::string armEvents(const Probing& run, const Matrix4x4& pose, std::mt19937& random) {
  const Feature& f = kFeatures[run.shape];
  std::uniform_real_distribution<double> unit(0, 1), lean(-5, 5);
  const double noise =
                   run.condition == kNoisy || (run.condition == kStray && unit(random) < 0.5) ? 40e-6 : 10e-6,
               phase = 6 * unit(random);
  ArmEvents arm(pose, run.ball);
  if (run.shape == kCircle) {  // its work plane first, on the top face
    for (const double a : {0.3, 2.4, 4.2})
      arm.travelIn(run.foot + Vector3(std::cos(a), std::sin(a), 0) * 0.025 + Vector3(0, 0, 0.01), {0, 0, 1},
                   {0, 0, -1}, {0, 0, -1});
    arm.stop(run.foot + Vector3(0, 0, 0.015 + run.ball));
  }
  Vector3 free;
  for (size_t i = 0; i < run.touches; ++i) {
    const bool ring = run.shape == kSphereRing, top = ring && i + 1 == run.touches;
    const double a = 2 * M_PI * (i + 0.6 * unit(random) - 0.3) / static_cast<double>(run.touches - ring),
                 spread = run.shape == kSphere ? (i + 0.5 * unit(random)) / run.touches
                                               : std::fmod(i * 0.618 + 0.2 * unit(random), 1.0),
                 along = ring ? (top ? f.high : f.low) : f.low + (f.high - f.low) * spread;
    const Vector3 out{std::cos(a), std::sin(a), 0};
    Vector3 surface =
        run.foot + out * (f.radius ? f.radius : 0.02 - (along - 0.01) * kConeSlope) + Vector3(0, 0, along);
    free = f.hole ? out * -1.0 : Vector3(out.x, out.y, run.shape == kCone ? kConeSlope : 0).normalized();
    if (run.shape == kSphere || run.shape == kSphereRing) {
      free = out * std::cos(along) + Vector3(0, 0, std::sin(along));
      surface = kSphereCentre + free * f.radius;
    }
    double off = noise * (2 * unit(random) - 1) + (i == run.stray ? run.strayBy : 0);
    if (run.condition == kWorn) off += 30e-6 * std::cos(2 * a + phase) + 15e-6 * std::cos(3 * a + phase);
    if (run.condition == kEmulated) off = 0.01 * run.ball * (2 * unit(random) - 1);
    if (run.condition == kOval) off = top ? 0.0 : 0.01 * run.ball * (i % 2 ? 1 : -1);
    const Vector3 side = Vector3::cross(free, Vector3(0, 0, 1)).normalized();
    arm.travelIn(surface + free * off, free,
                 tilted(tilted(free * -1.0, side, lean(random)), Vector3(0, 0, 1), lean(random)), {0, 0, -1});
  }
  const double middle = (f.low + f.high) / 2;
  if (f.hole) return arm.stop(run.foot + Vector3(0, 0, middle)).xml();
  if (run.shape == kSphere || run.shape == kSphereRing)
    return arm.stop(kSphereCentre + Vector3(0, 0, f.radius + run.ball + 0.005)).xml();
  if (unit(random) < 0.5) return arm.stop(run.foot + Vector3(0, 0, f.high + run.ball + 0.004)).xml();
  return arm
      .stop(run.foot + Vector3(0, 0, middle) + Vector3(free.x, free.y, 0).normalized() * (0.023 + run.ball))
      .xml();
}

// The replay log of a run's events, written beside them as the i-th.
std::string replayLog(ScratchDirectory& scratch, size_t i, const std::string& events) {
  const std::string file = "arm" + std::to_string(i) + ".xml", log = "run" + std::to_string(i) + ".log";
  std::ofstream(scratch.system(file)) << events;
  std::ofstream(scratch.system(log)) << "PluginData\t" << file << "\nPluginWait\t\n";
  return scratch.system(log);
}

std::string described(const Probing& run) {
  return "shape " + std::to_string(run.shape) + ", " + std::to_string(run.touches) + " touches, " +
         std::to_string(run.condition) + ", ball " + std::to_string(run.ball) + ", touch " +
         std::to_string(run.stray + 1) + " off by " + std::to_string(run.strayBy);
}

// The errors a part of the session's output lists (`print errors`): all shown so far.
std::vector<std::string> errorsShown(const std::string& part) {
  static const std::regex error(R"(\n\d+\t\t([^\n]*))");
  std::vector<std::string> errors;
  for (auto m = std::sregex_iterator(part.begin(), part.end(), error); m != std::sregex_iterator(); ++m)
    errors.push_back((*m)[1]);
  return errors;
}

// The touch that strays: any but those a sphere's others leave nearly free, where a stray shows less than
// the emulator's scatter: the one by the top of the ring, and with one touch to spare the spiral's ends.
size_t strayTouch(const Probing& run, size_t more, std::mt19937& random) {
  if (run.shape == kSphereRing) return random() % (run.touches - 1);
  if (run.shape == kSphere && more == 1) return 1 + random() % (run.touches - 2);
  return random() % run.touches;
}

// How far a pin's touch strays: 0.4 to 0.8 mm, and by the 6 mm ball no more than 0.55 mm, within the eighth
// of the ball centres' radius round a 0.75 or 1.5 mm pin: the bound is the pin's, not the ball centres'.
double pinStray(double ball, std::mt19937& random) {
  return 0.0004 + (ball > 0.004 ? 0.00015 : 0.0004) * (random() % 1000) / 999.0;
}

TEST(StrayedTouchesScript, AStrayTouchIsRefusedWhateverTheCountAndSoundWornOrNoisyTouchesAreMade) {
  std::mt19937 random(88);
  const Matrix4x4 poses[] = {randomPose(random), randomPose(random), randomPose(random)};
  std::vector<Probing> runs;
  for (const Shape shape : {kBore, kBoss, kPin, kThinPin, kCone, kCircle, kSphere, kSphereRing})
    for (const size_t more : {1, 2, 4})
      for (const Condition condition : {kSound, kNoisy, kWorn, kEmulated, kOval, kStray})
        for (const double ball : {0.002, 0.006}) {
          if (condition == kOval && shape != kSphereRing) continue;
          Probing run{shape, kFeatures[shape].fewest + more, condition, ball};
          if (condition == kStray) {
            run.stray = strayTouch(run, more, random);
            run.strayBy = shape == kPin || shape == kThinPin ? pinStray(ball, random)
                                                             : 0.001 + 0.004 * (random() % 1000) / 999.0;
            if (kFeatures[shape].hole && random() % 2) run.strayBy *= -1;
          }
          runs.push_back(run);
        }
  // Sanitizers slow the fits some fortyfold: six at random still run the paths under them.
  std::shuffle(runs.begin(), runs.end(), random);
  runs.resize(kSanitized ? 6 : runs.size());
  ScratchDirectory scratch;
  std::string script = "cad-load RefObject examples/parts/plate-bore.step\nstart\n";
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::string log = replayLog(scratch, i, armEvents(runs[i], poses[i % 3], random));
    const Feature& f = kFeatures[runs[i].shape];
    script +=
        "print settings Palpera/MoveEventRateLimitValue\nreplay-log " + log +
        "\ncommand PalperaCreateFeaturesCmd2 IZelFeature=" + f.kind + ",IZelFeatureCollector=" + f.collector +
        ",UsePlane=false\nrun-until Palpera/LogReplayFinished 10000\nprint errors\nprint document\ncancel\n";
  }
  const std::string output = withoutErrors(runProjectScript(script).output);
  static const std::regex made(R"(\t[A-Z][a-z]+ \d+\t.*\t(?:start )?radius (\S+)\t.*\tpoints (\d+))"),
      named(R"(touch (\d+) of \d+ lies (\S+) mm off the \w+ the other touches make; undo back)"),
      told(R"(lies (\S+) mm off)");
  const std::string marker = "Palpera/MoveEventRateLimitValue\t";
  size_t at = output.find(marker), errorsBefore = 0;
  for (const Probing& run : runs) {
    SCOPED_TRACE(described(run));
    ASSERT_NE(at, std::string::npos) << output;
    const std::string part = output.substr(at, output.find(marker, at + 1) - at);
    at = output.find(marker, at + 1);
    const std::vector<std::string> errors = errorsShown(part);
    EXPECT_EQ(errors.size(), errorsBefore + (run.condition == kStray)) << part;
    errorsBefore = errors.size();
    std::smatch feature, touch, distance;
    const bool wasMade = std::regex_search(part, feature, made);
    if (run.condition != kStray) {
      ASSERT_TRUE(wasMade) << part;
      EXPECT_EQ(std::stoul(feature[2]), run.touches) << part;
      if (run.shape != kCone) {  // a cone's radii are its ends'
        EXPECT_NEAR(std::stod(feature[1]), kFeatures[run.shape].radius, 1e-4) << part;
      }
      continue;
    }
    EXPECT_FALSE(wasMade) << part;
    const std::string refusal = errors.empty() ? "" : errors.back();
    EXPECT_EQ(refusal.find(std::string(kFeatures[run.shape].collector) + " was not made: "), 0u) << refusal;
    ASSERT_TRUE(std::regex_search(refusal, distance, told)) << refusal;
    EXPECT_GT(std::stod(distance[1]), 0.05) << refusal;  // in mm, not in metres
    if (!std::regex_search(refusal, touch, named)) continue;
    EXPECT_EQ(std::stoul(touch[1]), run.stray + 1) << refusal;
    EXPECT_NEAR(std::stod(touch[2]), std::abs(run.strayBy) * 1000, 0.1 + 0.05 * std::abs(run.strayBy) * 1000);
  }
}

// "Quick Probe" of the plate with a bore and a boss, placed in a random pose: the faces under the touches
// give the bore and the boss. A touch 1 to 5 mm astray at the fewest touches and one or two more is refused
// with the feature, or left out of it by the faces (the stray lies nearer the plate's top face), never taken
// in; sound and noisy touches are made from every touch, on their nominal.
TEST(StrayedTouchesScript, QuickProbeTakesNoStrayTouchIntoABoreOrABoss) {
  std::mt19937 random(89);
  std::vector<Probing> runs;
  for (const Shape shape : {kBore, kStandingBoss})
    for (const size_t more : {1, 2})
      for (const Condition condition : {kSound, kNoisy, kStray, kStray})
        for (const double ball : {0.002, 0.006}) {
          Probing run{shape, kFeatures[shape].fewest + more, condition, ball};
          run.foot = shape == kBore ? Vector3(0.03, 0.04, 0) : Vector3(0.085, 0.04, 0);
          if (condition == kStray) {
            run.stray = random() % run.touches;
            run.strayBy = (0.001 + 0.004 * (random() % 1000) / 999.0) * (shape == kBore ? -1 : 1);
          }
          runs.push_back(run);
        }
  std::shuffle(runs.begin(), runs.end(), random);
  runs.resize(kSanitized ? 4 : runs.size());
  ScratchDirectory scratch;
  std::string script = "cad-load RefObject examples/parts/plate-bore-boss.step\nstart\n";
  for (size_t i = 0; i < runs.size(); ++i) {
    const Matrix4x4 pose = randomPose(random);
    const std::string log = replayLog(scratch, i, armEvents(runs[i], pose, random));
    script += "print settings Palpera/MoveEventRateLimitValue\ntransform RefObject";
    for (const double value : pose.m) script += numbers({value});
    script += "\nactive RefObject\nreplay-log " + log +
              "\ncommand PalperaQuickProbeCmd\nrun-until Palpera/LogReplayFinished 10000\nprint document\n"
              "print errors\ncancel\n";
  }
  const std::string output = withoutErrors(runProjectScript(script).output);
  static const std::regex made(R"(\tCylinder \d+\t.*\tradius (\S+)\t.*\tpoints (\d+))"),
      told(R"(Cylinder \d+ was not made: .*lies (\S+) mm off)"),
      named(R"(touch (\d+) of \d+ lies \S+ mm off the cylinder the other touches make; undo back)");
  const std::string marker = "Palpera/MoveEventRateLimitValue\t";
  size_t at = output.find(marker), madeBefore = 0, errorsBefore = 0, strayRefused = 0;
  for (const Probing& run : runs) {
    SCOPED_TRACE(described(run));
    ASSERT_NE(at, std::string::npos) << output;
    const std::string part = output.substr(at, output.find(marker, at + 1) - at);
    at = output.find(marker, at + 1);
    std::vector<std::smatch> cylinders;  // Quick Probe keeps what it made: the newest is this run's
    for (auto m = std::sregex_iterator(part.begin(), part.end(), made); m != std::sregex_iterator(); ++m)
      cylinders.push_back(*m);
    const bool wasMade = cylinders.size() > madeBefore;
    madeBefore = cylinders.size();
    const std::vector<std::string> errors = errorsShown(part);
    std::smatch refusal, touch;
    for (size_t i = errorsBefore; i < errors.size() && refusal.empty(); ++i)
      std::regex_search(errors[i], refusal, told);
    errorsBefore = errors.size();
    EXPECT_TRUE(wasMade || run.condition == kStray) << part;
    if (!wasMade) {
      ++strayRefused;
      ASSERT_FALSE(refusal.empty()) << part;  // refused as astray, saying how far in mm
      EXPECT_GT(std::stod(refusal[1]), 0.5) << refusal[0];
      const std::string words = refusal[0];
      if (std::regex_search(words, touch, named)) {
        EXPECT_EQ(std::stoul(touch[1]), run.stray + 1) << words;
      }
      continue;
    }
    EXPECT_NEAR(std::stod(cylinders.back()[1]), kFeatures[run.shape].radius, 1e-4) << part;
    EXPECT_EQ(std::stoul(cylinders.back()[2]), run.touches - (run.condition == kStray)) << part;
  }
  EXPECT_GT(strayRefused, 0u) << "the session tries the refusal, not only the faces";
}

}  // namespace strayed_touches
