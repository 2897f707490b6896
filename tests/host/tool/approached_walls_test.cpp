// Sessions of palpera-host replaying device-event files written as an arm writes them, each run a bore, a
// bolt hole or a boss in a random pose, every touch off the wall by the probe's noise and the ball's travel
// into it leaning a few degrees off the wall's normal. Six touches at six heights round a bolt hole, or
// around a boss at alternate heights, lie as exactly on a second cylinder along another axis as on the wall:
// the travels, square to the axis or at one slant to it, say which the operator probed. Where they cannot
// (a recording without moves, travels up and down by turns), the touches are refused as they were, never
// made the wrong cylinder. A touch the operator takes back takes its travel with it. Through "Quick Probe",
// each run's touches are replayed in two poses, and come to the same in both.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
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
#include "support/text.h"

// Named: the test programs compile eight files to a unit, whose anonymous namespaces are one.
namespace approached_walls {

// A round wall of the example parts, its axis along the part's z.
struct Wall {
  const char* part;
  Vector3 axisFoot;
  double radius;
  bool bore;
};
const Wall kBoltHole{"plate-bolt-circle", {0.10, 0.06, 0}, 0.004, true};
const Wall kBore{"plate-bore", {0.05, 0.04, 0}, 0.01, true};
const Wall kBoss{"plate-boss", {0.05, 0.04, 0}, 0.015, false};

// Where a touch is taken: degrees around the axis from the part's x, and height above its foot.
struct Station {
  double degrees;
  double height;
};

// How the ball comes into the wall: leaning up to kLean degrees off the normal each way, or brought down
// into the hole at 45 degrees, or 45 degrees up and down by turns, or with no move before the touch at all.
// Or resting on the wall before the touch, the stylus along the wall's normal: a probe direction, no travel.
// Or every travel leaning 8 degrees the same way about the part's x axis, as towards a rival's axis. Or every
// travel along one pick ray, as the emulator's clicks from one view.
enum class Travel { kLeaning, kDownward, kUpAndDown, kNone, kResting, kTowardsRival, kPickRay };

// What every run of a pattern comes to: the cylinder probed (now and then refused where the probe scatters
// beyond the stated error), refused as cylinders the touches cannot tell apart, or either, never another.
enum class Outcome { kMade, kRefused, kRightOrRefused };

struct Pattern {
  const char* what;
  const Wall* wall;
  double ball, noise;  // m; noise: the largest distance a touch lies off the wall
  Travel travel;
  std::function<std::vector<Station>(std::mt19937&)> stations;
  Outcome outcome;
  bool quickProbe = false;   // by "Quick Probe" of the placed part, else "Hard Probe Features"
  bool strayUndone = false;  // a touch higher on the wall, come in along it, is taken back after the third
};

// The poses each run's touches are replayed in.
int posesOf(const Pattern& pattern) {
  return pattern.quickProbe ? 2 : 1;
}

constexpr double kLean = 5;  // degrees
// The axis a few touches leave at the probe's noise: a rival lies some twenty degrees off.
constexpr double kAxisTolerance = 5 * M_PI / 180;

// Touches evenly round the wall, each higher than the one before, from 2.5 to 6.7 mm.
template <int count>
std::vector<Station> heights(std::mt19937&) {
  std::vector<Station> stations;
  for (int i = 0; i < count; ++i) stations.push_back({360.0 / count * i, 0.0025 + 0.0042 / (count - 1) * i});
  return stations;
}
const auto sixHeights = heights<6>;

// The six heights from one side, over 150 degrees of the wall.
std::vector<Station> sixHeightsOneSide(std::mt19937&) {
  std::vector<Station> stations;
  for (int i = 0; i < 6; ++i) stations.push_back({30.0 * i, 0.0025 + 0.00084 * i});
  return stations;
}

std::vector<Station> alternateHeights(std::mt19937&) {
  std::vector<Station> stations;
  for (int i = 0; i < 6; ++i) stations.push_back({60.0 * i, i % 2 ? 0.023 : 0.012});
  return stations;
}

// Eight around a bore, each a little off its eighth of the turn, alternately low and high on the wall.
std::vector<Station> eightAround(std::mt19937& random) {
  std::uniform_real_distribution<double> jitter(-10, 10), height(0.002, 0.004);
  std::vector<Station> stations;
  for (int i = 0; i < 8; ++i)
    stations.push_back({45.0 * i + jitter(random), height(random) + (i % 2) * 0.004});
  return stations;
}

// The touches of one run in the part's coordinates, written in pose.
std::string armEvents(const Pattern& pattern, const Matrix4x4& pose, std::mt19937& random) {
  const Wall& wall = *pattern.wall;
  std::uniform_real_distribution<double> noise(-pattern.noise, pattern.noise), lean(-kLean, kLean);
  ArmEvents arm(pose, pattern.ball);
  Vector3 lastNormal;
  double lastHeight = 0;
  int taken = 0;
  for (const Station& s : pattern.stations(random)) {
    const double a = s.degrees * M_PI / 180;
    const Vector3 out{std::cos(a), std::sin(a), 0}, free = wall.bore ? out * -1.0 : out;
    const Vector3 surface = wall.axisFoot + out * (wall.radius + noise(random)) + Vector3(0, 0, s.height);
    const Vector3 side = Vector3::cross(Vector3(0, 0, 1), out);
    switch (pattern.travel) {
      case Travel::kLeaning:
        arm.travelIn(surface, free,
                     tilted(tilted(free * -1.0, Vector3(0, 0, 1), lean(random)), side, lean(random)),
                     Vector3(0, 0, -1));
        break;
      case Travel::kDownward:
        arm.travelIn(surface, free, tilted(free * -1.0, Vector3(0, 0, -1), 45), Vector3(0, 0, -1));
        break;
      case Travel::kUpAndDown:
        arm.travelIn(surface, free, tilted(free * -1.0, Vector3(0, 0, s.height > 0.0045 ? 1 : -1), 45),
                     Vector3(0, 0, -1));
        break;
      case Travel::kNone:
        arm.touchOnly(surface, free);
        break;
      case Travel::kResting:
        arm.rest(surface, free, free * -1.0);
        break;
      case Travel::kTowardsRival:
        arm.travelIn(surface, free, tilted(free * -1.0, Vector3::cross(Vector3(1, 0, 0), free), 8),
                     Vector3(0, 0, -1));
        break;
      case Travel::kPickRay:
        arm.travelIn(surface, free, Vector3(0.3, 0.2, -1), Vector3(0, 0, -1));
        break;
    }
    lastNormal = free;
    lastHeight = s.height;
    if (pattern.strayUndone && ++taken == 3) {
      // Slid along the wall into a touch half a turn on and higher up, then taken back.
      const Vector3 stray = wall.axisFoot + out * -wall.radius + Vector3(0, 0, s.height + 0.002);
      arm.travelIn(stray, free * -1.0, tilted(free, Vector3(0, 0, 1), 70), Vector3(0, 0, -1)).undo();
    }
  }
  // Level with the last touch, on the free side whatever the ball: on a bore's axis, a ball clear of a boss.
  const Vector3 level = wall.axisFoot + Vector3(0, 0, lastHeight);
  return arm.stop(wall.bore ? level : level + lastNormal * (wall.radius + pattern.ball)).xml();
}

// The cylinder each run made, in order: its axis and radius; none where the run made none. A run's is the
// newest in the document it printed that the run before did not print: "Quick Probe" keeps what it made
// when cancelled, so a run it refused prints the one before's.
struct MadeCylinder {
  Vector3 axis;
  double radius;
};
std::vector<std::optional<MadeCylinder>> cylindersOf(const std::string& printed) {
  static const std::regex cylinder(R"(\tCylinder\t.*\taxis \(([^,]+), ([^,]+), ([^)]+)\)\tradius (\S+))");
  const std::string output = withoutErrors(printed);
  std::vector<std::optional<MadeCylinder>> made;
  const std::string probed = "Point\tFeature Object\n";
  std::string before;
  for (size_t at = output.find(probed); at != std::string::npos;) {
    const size_t next = output.find(probed, at + 1);
    const std::string document = output.substr(at, output.find("\nCAD\t", at) - at);
    made.emplace_back();
    for (auto match = std::sregex_iterator(document.begin(), document.end(), cylinder);
         match != std::sregex_iterator(); ++match) {
      if (before.find(match->str()) != std::string::npos) continue;
      made.back() = {{std::stod((*match)[1]), std::stod((*match)[2]), std::stod((*match)[3])},
                     std::stod((*match)[4])};
    }
    before = document;
    at = next;
  }
  return made;
}

// Each pattern runs in random poses, one replay a run, all in one session; the patterns in eight parts,
// every eighth one, so that each part stays well inside a test's time under a sanitizer on two cores. Each
// part draws its own runs from the same seed.
constexpr size_t kParts = 8;
class ApproachedWallsScript : public testing::TestWithParam<size_t> {};

TEST_P(ApproachedWallsScript, TravelsSquareToTheAxisTellWhichCylinderTheTouchesLieOnInEveryPose) {
  const Pattern patterns[] = {
      {"bolt hole, six touches at six heights", &kBoltHole, 0.002, 20e-6, Travel::kLeaning, sixHeights,
       Outcome::kMade},
      {"boss, six touches at alternate heights", &kBoss, 0.006, 60e-6, Travel::kLeaning, alternateHeights,
       Outcome::kMade},
      {"bore, eight touches", &kBore, 0.006, 60e-6, Travel::kLeaning, eightAround, Outcome::kMade},
      {"bolt hole, six touches at six heights, Quick Probe", &kBoltHole, 0.002, 20e-6, Travel::kLeaning,
       sixHeights, Outcome::kMade, true},
      {"bolt hole, six heights, a touch taken back", &kBoltHole, 0.002, 20e-6, Travel::kLeaning, sixHeights,
       Outcome::kMade, false, true},
      {"bolt hole, six heights, a touch taken back in Quick Probe", &kBoltHole, 0.002, 20e-6,
       Travel::kLeaning, sixHeights, Outcome::kMade, true, true},
      {"bolt hole, six heights, recorded without moves", &kBoltHole, 0.002, 20e-6, Travel::kNone, sixHeights,
       Outcome::kRefused},
      {"bolt hole, six heights, the ball brought down into it", &kBoltHole, 0.002, 20e-6, Travel::kDownward,
       sixHeights, Outcome::kMade},
      {"bolt hole, six heights, the ball brought up and down", &kBoltHole, 0.002, 20e-6, Travel::kUpAndDown,
       sixHeights, Outcome::kRefused},
      {"bolt hole, six heights, the ball resting on the wall with the stylus along its normal", &kBoltHole,
       0.002, 20e-6, Travel::kResting, sixHeights, Outcome::kRefused},
      {"bolt hole, six heights, travels leaning 8 degrees one way", &kBoltHole, 0.002, 20e-6,
       Travel::kTowardsRival, sixHeights, Outcome::kRightOrRefused},
      {"bolt hole, six heights, travels along one pick ray", &kBoltHole, 0.002, 20e-6, Travel::kPickRay,
       sixHeights, Outcome::kRefused},
      {"bolt hole, six heights from one side", &kBoltHole, 0.002, 20e-6, Travel::kLeaning, sixHeightsOneSide,
       Outcome::kRightOrRefused},
      {"bolt hole, seven touches at seven heights, Quick Probe", &kBoltHole, 0.002, 20e-6, Travel::kLeaning,
       heights<7>, Outcome::kMade, true},
      {"bolt hole, eight touches at eight heights, Quick Probe", &kBoltHole, 0.002, 20e-6, Travel::kLeaning,
       heights<8>, Outcome::kMade, true},
  };
  const int runs = kSanitized ? 2 : 20;
  std::mt19937 random(83);
  for (size_t i = GetParam(); i < std::size(patterns); i += kParts) {
    const Pattern& pattern = patterns[i];
    SCOPED_TRACE(pattern.what);
    ScratchDirectory scratch;
    std::string script =
        "cad-load RefObject examples/parts/" + std::string(pattern.wall->part) + ".step\nstart\n";
    std::vector<Matrix4x4> poses;
    for (int run = 0; run < runs; ++run) {
      // The run's touches and travels, drawn alike for each of its poses.
      const std::mt19937::result_type touchesSeed = random();
      for (int placing = 0; placing < posesOf(pattern); ++placing) {
        poses.push_back(randomPose(random));
        std::mt19937 touches(touchesSeed);
        std::string placed = "transform RefObject";
        for (double value : poses.back().m) placed += numbers({value});
        if (pattern.quickProbe) script += placed + "\nactive RefObject\n";
        script +=
            replayedRun(scratch, std::to_string(poses.size()), armEvents(pattern, poses.back(), touches),
                        pattern.quickProbe ? "PalperaQuickProbeCmd"
                                           : "PalperaCreateFeaturesCmd2 IZelFeature=IZelCylinder,"
                                             "IZelFeatureCollector=Cylinder,UsePlane=false");
      }
    }
    const ScriptRun session = runProjectScript(script);
    const std::vector<std::optional<MadeCylinder>> made = cylindersOf(session.output);
    EXPECT_EQ(made.size(), poses.size()) << session.output;
    // "Quick Probe" says "Not recognised: Cylinder 1 was not made: ...", after the nominal it probed.
    const std::string rivalled = "was not made: the points fit cylinders along distinct axes equally well";
    // Travels only break a tie the touches leave: where a probe scatters beyond the stated error, the touches
    // may fit a rival best, or leave the tie too close for the travels, and are then refused as such, never
    // made the rival.
    const std::string scattered =
        "was not made: the touches fit best a cylinder that their travels do not come into: they scatter "
        "beyond the stated probing error";
    const std::string undetermined = "was not made: the touches leave the cylinder";
    const size_t refused = occurrences(session.output, "error: ");
    EXPECT_EQ(refused, occurrences(session.output, rivalled) + occurrences(session.output, scattered) +
                           occurrences(session.output, undetermined))
        << session.output;
    if (pattern.outcome == Outcome::kMade) {
      EXPECT_LE(refused, (poses.size() + 4) / 5) << session.output;
    }
    if (pattern.outcome == Outcome::kRefused) {
      EXPECT_EQ(occurrences(session.output, rivalled), poses.size());
    }
    for (size_t run = 0; run < made.size(); ++run) {
      SCOPED_TRACE(run);
      EXPECT_TRUE(pattern.outcome != Outcome::kRefused || !made[run]);
      const size_t first = run - run % posesOf(pattern);
      EXPECT_EQ(made[run].has_value(), made[first].has_value()) << "the same touches in another pose";
      if (!made[run]) continue;
      const Vector3 axis = Matrix4x4::transformVector(poses[run], Vector3(0, 0, 1));
      EXPECT_GT(std::fabs(made[run]->axis.dot(axis)), std::cos(kAxisTolerance));
      EXPECT_NEAR(made[run]->radius, pattern.wall->radius, 4 * pattern.noise);
    }
    if (refused == 0) {
      EXPECT_EQ(session.status, 0) << session.output;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Eighths, ApproachedWallsScript, testing::Range<size_t>(0, kParts));

}  // namespace approached_walls
