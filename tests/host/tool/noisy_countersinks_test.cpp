// Sessions of palpera-host replaying device-event files written as an arm writes them, each run a
// countersink of the example plate probed with fourteen touches, in two rings or spread round and down its
// wall, every touch off the wall by up to 50 um, five times the stated probing error. Each run's touches are
// replayed in random poses through "Hard Probe Features" and through "Quick Probe": a cone made fits the
// touches at least as well as the countersink's own cone, and a cone refused is refused for what the touches
// leave it (undetermined, ambiguous, or scattered beyond the stated error), never for how a descent ended;
// the same touches come to the same in every pose.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
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
namespace noisy_countersinks {

// A countersink of plate-countersinks.step: its axis along the part's z through (x, y), widening from the
// hole's radius at the bottom of its 4 mm wall to the top face.
struct Countersink {
  const char* what;
  double x, y;
  double halfAngleDegrees;
};
const Countersink k82Degrees{"82 degree countersink", 0.09, 0.03, 41};
const Countersink k90Degrees{"90 degree countersink", 0.03, 0.03, 45};
constexpr double kHoleRadius = 0.004, kBottom = 0.006, kDepth = 0.004;

struct Station {
  double degrees;  // around the axis from the part's x
  double height;   // above the countersink's bottom
};

constexpr int kTouches = 14;

// Seven touches round the wall a quarter of the way up, then seven three quarters up, each a little off its
// seventh of the turn.
std::vector<Station> twoRings(std::mt19937& random) {
  std::uniform_real_distribution<double> jitter(-10, 10);
  std::vector<Station> stations;
  for (int i = 0; i < kTouches; ++i) {
    const int ring = i / (kTouches / 2), place = i % (kTouches / 2);
    stations.push_back({360.0 / (kTouches / 2) * place + jitter(random), kDepth * (ring ? 0.75 : 0.25)});
  }
  return stations;
}

// Fourteen touches once round the wall, each a little off its share of the turn, at any height over the
// middle four fifths of the wall.
std::vector<Station> spreadRoundAndDown(std::mt19937& random) {
  std::uniform_real_distribution<double> jitter(-10, 10), height(0.1 * kDepth, 0.9 * kDepth);
  std::vector<Station> stations;
  for (int i = 0; i < kTouches; ++i)
    stations.push_back({360.0 / kTouches * i + jitter(random), height(random)});
  return stations;
}

// A touch in the part's coordinates: the ball's centre, and the wall's normal into the air over it (towards
// the axis and up) at the touch's turn.
struct Touch {
  Vector3 centre, free;
};

Vector3 freeSide(const Countersink& sink, const Vector3& out) {
  const double a = sink.halfAngleDegrees * M_PI / 180;
  return out * -std::cos(a) + Vector3(0, 0, std::sin(a));
}

// The ball's centre at each station, off the wall along its normal by up to noise either way.
std::vector<Touch> touchesOf(const Countersink& sink, double ball, double noise,
                             const std::vector<Station>& stations, std::mt19937& random) {
  std::uniform_real_distribution<double> off(-noise, noise);
  const double slope = std::tan(sink.halfAngleDegrees * M_PI / 180);
  std::vector<Touch> touches;
  for (const Station& s : stations) {
    const double turn = s.degrees * M_PI / 180;
    const Vector3 out{std::cos(turn), std::sin(turn), 0}, free = freeSide(sink, out);
    const Vector3 wall = Vector3(sink.x, sink.y, kBottom + s.height) + out * (kHoleRadius + s.height * slope);
    touches.push_back({wall + free * (ball / 2 + off(random)), free});
  }
  return touches;
}

// Fourteen touches of the 6 mm ball 50 um off the 82 degree countersink, evenly round it over a band of its
// wall 1.2 mm high, whose descents crawl: in mm from the countersink's axis at the plate's bottom face.
std::vector<Touch> crawlingTouches() {
  const Vector3 centres[] = {
      {2.7283, -0.0095, 9.0370},  {2.6369, -1.2791, 9.4172},  {1.5886, -2.0956, 9.0651},
      {0.5803, -2.6094, 9.0703},  {-0.6463, -2.5207, 8.9429}, {-2.0595, -2.5128, 9.6336},
      {-1.9912, -0.9077, 8.4648}, {-2.8466, 0.0505, 9.1754},  {-2.4696, 1.1979, 9.1602},
      {-1.5198, 1.9180, 8.8118},  {-0.5790, 2.6053, 9.0292},  {0.6516, 2.7535, 9.1572},
      {1.9292, 2.3577, 9.4922},   {2.4450, 1.1319, 9.0927}};
  std::vector<Touch> touches;
  for (const Vector3& c : centres) {
    const Vector3 out = Vector3(c.x, c.y, 0).normalized();
    touches.push_back({Vector3(k82Degrees.x, k82Degrees.y, 0) + c / 1000, freeSide(k82Degrees, out)});
  }
  return touches;
}

// The touches written as an arm streams them, in pose: the ball travels in leaning up to 5 degrees off the
// wall's normal each way, the stylus from above; the stop lifted onto the axis 2 mm over the top face.
std::string armEvents(const Countersink& sink, double ball, const std::vector<Touch>& touches,
                      const Matrix4x4& pose, std::mt19937& random) {
  std::uniform_real_distribution<double> lean(-5, 5);
  ArmEvents arm(pose, ball);
  for (const Touch& t : touches) {
    const Vector3 side = Vector3::cross(Vector3(0, 0, 1), t.free);
    const Vector3 travel = tilted(tilted(t.free * -1.0, Vector3(0, 0, 1), lean(random)), side, lean(random));
    arm.travelIn(t.centre - t.free * (ball / 2), t.free, travel, Vector3(0, 0, -1));
  }
  return arm.stop({sink.x, sink.y, kBottom + kDepth + 0.002}).xml();
}

// A cone in the part's coordinates: its axis from a point at which it has radius, widening by slope.
struct Cone {
  Vector3 point, axis;
  double radius, slope;
};

// The cone a run made, from what `print document` prints of it, brought back from pose.
Cone madeCone(const PrintedFeature& printed, const Matrix4x4& pose) {
  const auto at = [&](const char* field) {
    const std::vector<double>& v = printed.fields.at(field);
    return Matrix4x4::transformPoint(Matrix4x4::inverse(pose), {v.at(0), v.at(1), v.at(2)});
  };
  const Vector3 a = at("start"), b = at("end");
  const double ra = printed.fields.at("start radius").at(0), rb = printed.fields.at("end radius").at(0);
  return {a, (b - a).normalized(), ra, (rb - ra) / (b - a).length()};
}

Cone trueCone(const Countersink& sink) {
  return {{sink.x, sink.y, kBottom}, {0, 0, 1}, kHoleRadius, std::tan(sink.halfAngleDegrees * M_PI / 180)};
}

// The sum of squares of the distances of the ball's centres from cone, less the ball's radius: how well a
// cone of the wall fits them.
double sumOfSquares(const Cone& cone, const std::vector<Touch>& touches, double ball) {
  double sum = 0;
  for (const Touch& t : touches) {
    const Vector3 v = t.centre - cone.point;
    const double along = v.dot(cone.axis), across = Vector3::perpendicularPart(v, cone.axis).length();
    const double off = (cone.radius + cone.slope * along - across) / std::sqrt(1 + cone.slope * cone.slope);
    sum += (off - ball / 2) * (off - ball / 2);
  }
  return sum;
}

// The cone each run made, in order: the one its printed document holds that the document before did not;
// none where the run made none. "Quick Probe" keeps what it made when cancelled, so a run it refused prints
// the one before's.
std::vector<std::optional<PrintedFeature>> conesOf(const std::string& printed) {
  const std::string output = withoutErrors(printed), document = "CAD\tRefObject\n";
  std::vector<std::optional<PrintedFeature>> made;
  std::vector<PrintedFeature> before;
  for (size_t at = output.find(document); at != std::string::npos;) {
    const size_t next = output.find(document, at + 1);
    const auto objects = documentOf(output.substr(at, next - at));
    const auto probed = objects.find("Feature Object");
    const std::vector<PrintedFeature> features =
        probed != objects.end() ? probed->second : std::vector<PrintedFeature>{};
    made.emplace_back();
    for (const PrintedFeature& f : features) {
      const bool printedBefore = std::any_of(before.begin(), before.end(), [&](const PrintedFeature& b) {
        return b.name == f.name && b.fields == f.fields;
      });
      if (f.kind == "Cone" && !printedBefore) made.back() = f;
    }
    before = features;
    at = next;
  }
  return made;
}

// How the operator probed: the countersink, the ball, the touches drawn for a run (none: the crawling
// touches, each run alike).
struct Probing {
  const Countersink* sink;
  double ball;
  std::vector<Station> (*stations)(std::mt19937&);
};

// Sanitizers slow the fits some fortyfold, and "Hard Probe Features" fits the cone again at each touch from
// the sixth on to show it: under one, each command takes every third probing in one pose, the two commands
// different ones, and not the crawling touches, whose descents take some twenty seconds there (the fitter's
// own tests take them on under a sanitizer).
constexpr size_t kProbingStride = kSanitized ? 3 : 1;

// Each probing in random poses, one replay a run, all in one session, through the command the test is
// given: "Hard Probe Features" for a cone or "Quick Probe" of the placed part.
class NoisyCountersinksScript : public testing::TestWithParam<bool> {};

TEST_P(NoisyCountersinksScript, MadeFittingTheTouchesAsWellAsTheTrueConeOrRefusedForWhatTheTouchesLeaveIt) {
  const bool quickProbe = GetParam();
  const Probing probings[] = {
      {&k82Degrees, 0.002, twoRings},
      {&k82Degrees, 0.006, twoRings},
      {&k82Degrees, 0.002, spreadRoundAndDown},
      {&k82Degrees, 0.006, spreadRoundAndDown},
      {&k90Degrees, 0.002, twoRings},
      {&k90Degrees, 0.006, spreadRoundAndDown},
      {&k82Degrees, 0.006, nullptr},
  };
  const int runs = kSanitized ? 1 : 6, poses = kSanitized ? 1 : 2;
  std::mt19937 random(90);
  for (size_t i = kSanitized ? (quickProbe ? 2 : 1) : 0; i < std::size(probings); i += kProbingStride) {
    const Probing& probing = probings[i];
    const Countersink& sink = *probing.sink;
    SCOPED_TRACE(std::string(sink.what) + ", ball " + std::to_string(probing.ball) +
                 (probing.stations == twoRings ? ", two rings"
                  : probing.stations           ? ", spread"
                                               : ", crawling"));
    ScratchDirectory scratch;
    std::string script = "cad-load RefObject examples/parts/plate-countersinks.step\nstart\n";
    std::vector<std::vector<Touch>> touches;
    std::vector<Matrix4x4> placed;
    for (int run = 0; run < runs; ++run) {
      const std::vector<Touch> drawn =
          probing.stations ? touchesOf(sink, probing.ball, 50e-6, probing.stations(random), random)
                           : crawlingTouches();
      for (int pose = 0; pose < poses; ++pose) {
        touches.push_back(drawn);
        placed.push_back(randomPose(random));
        script += "transform RefObject";
        for (double value : placed.back().m) script += numbers({value});
        script += "\nactive RefObject\n" +
                  replayedRun(scratch, std::to_string(placed.size()),
                              armEvents(sink, probing.ball, drawn, placed.back(), random),
                              quickProbe ? "PalperaQuickProbeCmd"
                                         : "PalperaCreateFeaturesCmd2 IZelFeature=IZelCone,"
                                           "IZelFeatureCollector=Cone,UsePlane=false");
      }
    }
    const ScriptRun session = runProjectScript(script);
    const std::vector<std::optional<PrintedFeature>> made = conesOf(session.output);
    ASSERT_EQ(made.size(), placed.size()) << session.output;
    // A refusal says what the touches leave the cone: undetermined, ambiguous, or scattered beyond the stated
    // error; "Quick Probe" tells a cone it made beyond the nominal's tolerances.
    const std::string words[] = {
        "more uncertain than a measurement allows", "along distinct axes equally well",
        "times the stated probing error about the nearest cone", "matches no reference feature"};
    size_t told = 0;
    for (const std::string& w : words) told += occurrences(session.output, w);
    EXPECT_EQ(occurrences(session.output, "error: "), told) << session.output;
    EXPECT_EQ(occurrences(session.output, "converge"), 0u) << session.output;
    for (size_t replay = 0; replay < made.size(); ++replay) {
      SCOPED_TRACE(replay);
      // The crawling touches too, whatever micrometres the event file rounds them to.
      EXPECT_TRUE(made[replay]) << session.output;
      if (!made[replay]) continue;
      // Each touch 2 um further off the true cone than drawn: the event file's rounding and the printed
      // cone's six digits.
      double truth = 0;
      for (const Touch& t : touches[replay]) {
        const double off = std::sqrt(sumOfSquares(trueCone(sink), {t}, probing.ball));
        truth += (off + 2e-6) * (off + 2e-6);
      }
      EXPECT_LE(sumOfSquares(madeCone(*made[replay], placed[replay]), touches[replay], probing.ball), truth);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, NoisyCountersinksScript, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "QuickProbe" : "HardProbeFeatures"; });

}  // namespace noisy_countersinks
