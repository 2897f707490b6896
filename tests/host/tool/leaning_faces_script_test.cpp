// Sessions of palpera-host in which "3-2-1 Device Alignment" and "Orient To World" probe the plate with a
// 45 degree chamfer (examples/parts/plate-chamfer.step), turned and posed half a metre from the device's
// origin, with a 2 and a 6 mm ball.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "emulator_script.h"
#include "printed_matrix.h"
#include "project_script.h"
#include "support/expect_matrix_near.h"

// Named: the host tests are built together, and their helpers share names.
namespace leaning_faces {

const Matrix4x4 kPose = Matrix4x4::translation({0.4, -0.3, 0.2}) *
                        Matrix4x4::rotation(Vector3(1, 2, 2).normalized(), 25 * std::acos(-1.0) / 180);

// Touches in the part's own coordinates, each along the ray against its surface's outward normal.
struct Touch {
  Vector3 point, outward;
};
using Face = std::vector<Touch>;
const double kHalf = std::sqrt(0.5);
const Vector3 kUp{0, 0, 1}, kChamferOut{0, -kHalf, kHalf};
const Face kTop{{{0.02, 0.03, 0.01}, kUp}, {{0.08, 0.03, 0.01}, kUp}, {{0.05, 0.07, 0.01}, kUp}};
const Face kChamferTwice{{{0.02, 0.0025, 0.0075}, kChamferOut}, {{0.08, 0.0025, 0.0075}, kChamferOut}};
// Three touches whose centre lies where the two above do.
const Face kChamferThrice{{{0.02, 0.0015, 0.0065}, kChamferOut},
                          {{0.08, 0.0015, 0.0065}, kChamferOut},
                          {{0.05, 0.0045, 0.0095}, kChamferOut}};
const Face kLeft{{{0, 0.04, 0.005}, {-1, 0, 0}}};
const Face kRight{{{0.1, 0.04, 0.005}, {1, 0, 0}}};
// The front face below the chamfer is 5 mm tall.
const Face kNarrowFront{
    {{0.02, 0, 0.001}, {0, -1, 0}}, {{0.08, 0, 0.001}, {0, -1, 0}}, {{0.05, 0, 0.004}, {0, -1, 0}}};
const Face kBack{
    {{0.02, 0.08, 0.001}, {0, 1, 0}}, {{0.08, 0.08, 0.001}, {0, 1, 0}}, {{0.05, 0.08, 0.009}, {0, 1, 0}}};
// Plane 1 with its third touch on the chamfer: 3 degrees off the top.
const Face kTopAndChamfer{{{0.02, 0.06, 0.01}, kUp}, {{0.08, 0.06, 0.01}, kUp}, kChamferTwice[0]};

// A click on the part along the ray from 20 mm off it.
std::string click(const Touch& touch) {
  const Vector3 o = Matrix4x4::transformPoint(kPose, touch.point + 0.02 * touch.outward);
  const Vector3 d = Matrix4x4::transformVector(kPose, -1.0 * touch.outward);
  return "mouse click" + numbers({o.x, o.y, o.z, d.x, d.y, d.z}) + "\n";
}
std::string picks(const Face& face) {
  std::string script;
  for (const Touch& touch : face) script += click(touch);
  return script;
}
// Each touch of the face, then the stop lifted off it.
std::string probe(const Face& face) {
  std::string script;
  for (const Touch& touch : face) script += click(touch) + kSampled;
  return script + kLiftedStop;
}

// The plate loaded and posed, the arm's stale transform in place and printed, the ball and the noise chosen.
std::string session(double ball, bool quiet) {
  std::string script = "cad-load RefObject examples/parts/plate-chamfer.step\ntransform RefObject";
  for (double value : kPose.m) script += numbers({value});
  return script + "\nstart\n" + (quiet ? "set Palpera/Emulator/MaxNoiseFactor 0\n" : "") +
         "set Palpera/Emulator/ProbeDiameter" + numbers({ball}) +
         "\ncommand PalperaManageTransformCmd\nfile-answer examples/transforms/quarter-turn.xal 1\n"
         "press HardwareLoadFile\napply\nprint alignment\nactive RefObject\n";
}
// The 3-2-1 device alignment's picks: the top, plane 2 (with a slip before its second pick), the left end.
std::string deviceToPart(const std::string& slip = "", const Face& plane2 = kChamferTwice) {
  return "command PalperaDeviceToPartAlignmentCmd\n" + picks(kTop) + click(plane2[0]) + slip +
         click(plane2[1]) + picks(kLeft);
}
const std::string kProbing = "press StartProbing\n" + kRadiusEvent;
const std::string kOrient = "command PalperaAlignmentCmd\nradio 9\n";
// Orient To World cancelled after a refusal: the device gets back the transform it had.
const std::string kCancelled = "cancel\nprint alignment\n";
std::string orientRun(const char* secondAxis) {
  return "press :Alignment321Widget:PlusZ\npress :Alignment321Widget:" + std::string(secondAxis) + "\n" +
         kProbing;
}

// Every hardware matrix the output prints, the stale one first.
std::vector<Matrix4x4> hardwareMatrices(const std::string& output) {
  std::vector<Matrix4x4> found;
  const std::string heading = "\nhardware\n";
  for (size_t at = output.find(heading); at != std::string::npos; at = output.find(heading, at + 1))
    found.push_back(matrixAfter(output.substr(at + 1), "hardware", false));
  return found;
}

// A face leaning 45 degrees from plane 1 serves as plane 2 of the 3-2-1 device alignment with two and three
// touches: each touch is compensated along the face's own normal, also when the face is picked after the
// probing, and the part where it stands gives the identity. A pick on a face that leaves a freedom of the
// part loose is refused with its angle and costs nothing: the top for plane 2, or for plane 3 the top or the
// front, both along the line the top and the chamfer meet along. Orient To World, whose faces stand square,
// refuses the leaning face.
TEST(LeaningFacesScript, AFortyFiveDegreePlaneTwoAlignsTheDeviceOntoThePart) {
  const std::string notTaken =
      "error: The point was not taken: the face picked leans 0 degrees from plane 1, too little for touches "
      "on it to fix the part's turn about plane 1's normal and its place across plane 2. Pick plane 2 on a "
      "face that leans at least 4 degrees from plane 1.\n";
  const std::string alongTheLine =
      "error: The point was not taken: the face picked lies 0 degrees off the line along which planes 1 and "
      "2 "
      "meet, too little for touches on it to fix the part's place along that line. Pick plane 3 on a face "
      "that lies at least 4 degrees off it.\n";
  const std::string notSquare =
      "error: Plane 2 was not made: planes 1 and 2 meet at 45 degrees where they are to stand square, so a "
      "face leans 45 degrees from square or a point is on another face.";
  const struct {
    const char* what;
    double ball;
    std::string script, told;
  } cases[] = {
      {"two touches", 0.002, deviceToPart() + kProbing + probe(kTop) + probe(kChamferTwice) + probe(kLeft),
       ""},
      {"two touches", 0.006, deviceToPart() + kProbing + probe(kTop) + probe(kChamferTwice) + probe(kLeft),
       ""},
      {"three touches", 0.002, deviceToPart() + kProbing + probe(kTop) + probe(kChamferThrice) + probe(kLeft),
       ""},
      {"three touches, plane 2 picked after the probing", 0.006,
       "command PalperaDeviceToPartAlignmentCmd\n" + picks(kTop) + kProbing + probe(kTop) +
           probe(kChamferThrice) + probe(kLeft) + picks(kChamferTwice) + picks(kLeft),
       ""},
      {"three touches, the top picked for plane 2 first", 0.006,
       deviceToPart(click({{0.05, 0.04, 0.01}, kUp})) + kProbing + probe(kTop) + probe(kChamferThrice) +
           probe(kLeft),
       notTaken},
      {"two touches, the top picked for plane 3 first", 0.002,
       "command PalperaDeviceToPartAlignmentCmd\n" + picks(kTop) + picks(kChamferTwice) +
           click({{0.05, 0.04, 0.01}, kUp}) + picks(kLeft) + kProbing + probe(kTop) + probe(kChamferTwice) +
           probe(kLeft),
       alongTheLine},
      {"three touches, the front picked for plane 3 first", 0.006,
       "command PalperaDeviceToPartAlignmentCmd\n" + picks(kTop) + picks(kChamferTwice) +
           click({{0.05, 0, 0.0025}, {0, -1, 0}}) + picks(kLeft) + kProbing + probe(kTop) +
           probe(kChamferThrice) + probe(kLeft),
       alongTheLine},
      {"Orient To World", 0.006,
       kOrient + orientRun("NegY") + probe(kTop) + probe(kChamferThrice) + "cancel\n", notSquare},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(std::string(each.what) + ", ball " + std::to_string(each.ball));
    const auto [status, output] =
        runProjectScript(session(each.ball, true) + each.script + "print alignment\n");
    EXPECT_EQ(status, 0) << output;
    if (!each.told.empty()) {
      EXPECT_NE(output.find(each.told), std::string::npos) << each.told << output;
    }
    const std::vector<Matrix4x4> hardware = hardwareMatrices(output);
    ASSERT_EQ(hardware.size(), 2u) << output;
    if (each.told == notSquare) {
      expectMatrixNear(hardware[1], hardware[0], 1e-12);
    } else {
      // Where the part was not moved, the device's points lie on it: the hardware matrix is the identity.
      EXPECT_EQ(output.find("error:", output.find(each.told) + each.told.size()), std::string::npos)
          << output;
      expectMatrixNear(hardware[1], Matrix4x4::identity(), 1e-7);
    }
  }
}

// The checks on the probed planes refuse what the touches show and nothing else. The 5 mm tall front face as
// plane 2, at the emulator's default noise, is taken in every run of either command (the angle check allows
// for what the noise may turn a plane over its touches' narrowest width), and the runs land the plate where
// it stands; plane 1 through the top and the chamfer is refused 3 degrees off square. Flip on a plane after a
// correct probe flips it and back; a plane 3 probed before its pick on the other end than picked is told, and
// nothing is stored.
TEST(LeaningFacesScript, TheChecksRefuseWhatTheTouchesShowInEveryRun) {
  constexpr int kRuns = 8;
  const Face narrowPicks{{{0.02, 0, 0.0025}, {0, -1, 0}}, {{0.08, 0, 0.0025}, {0, -1, 0}}};
  std::string deviceRuns = deviceToPart("", narrowPicks), orientRuns = kOrient;
  for (int run = 0; run < kRuns; ++run) {
    const std::string probing = probe(kTop) + probe(kNarrowFront) + probe(kLeft) + "print alignment\n";
    deviceRuns += kProbing + probing;
    orientRuns += orientRun("NegY") + probing;
  }
  // Plane 3's reversal leaves where it lies, and the solve, as they were; plane 2's turns the part over.
  const std::string flips =
      "radio 4\npress Flip\nprint alignment\npress Flip\nprint alignment\nradio 3\npress Flip\npress Flip\n"
      "print alignment\n";
  // The plate's pose with its corner of the top, front and left faces at the world's origin.
  const Matrix4x4 world = Matrix4x4::inverse(kPose * Matrix4x4::translation({0, 0, 0.01}));
  const struct {
    const char* what;
    double ball;
    bool quiet;
    std::string script, told;
    // The hardware after each print, to 0.5 mm at the plate's corners; none for the stale one, kept.
    std::vector<std::optional<Matrix4x4>> stored;
  } cases[] = {
      {"3-2-1 on the 5 mm face", 0.002, false, deviceRuns, "",
       std::vector(kRuns, std::optional(Matrix4x4::identity()))},
      {"3-2-1 on the 5 mm face", 0.006, false, deviceRuns, "",
       std::vector(kRuns, std::optional(Matrix4x4::identity()))},
      {"Orient To World on the 5 mm face", 0.002, false, orientRuns, "",
       std::vector(kRuns, std::optional(world))},
      {"Orient To World on the 5 mm face", 0.006, false, orientRuns, "",
       std::vector(kRuns, std::optional(world))},
      {"plane 1 on the top and the chamfer",
       0.002,
       true,
       kOrient + orientRun("PlusY") + probe(kTopAndChamfer) + probe(kBack) + kCancelled,
       "error: Plane 2 was not made: planes 1 and 2 meet at 87.",
       {std::nullopt}},
      {"plane 1 on the top and the chamfer",
       0.006,
       true,
       kOrient + orientRun("PlusY") + probe(kTopAndChamfer) + probe(kBack) + kCancelled,
       "error: Plane 2 was not made: planes 1 and 2 meet at 86.",
       {std::nullopt}},
      {"Flip on planes 3 and 2", 0.006, true,
       deviceToPart() + kProbing + probe(kTop) + probe(kChamferThrice) + probe(kLeft) + "print alignment\n" +
           flips,
       "", std::vector(4, std::optional(Matrix4x4::identity()))},
      {"plane 3 probed on the other end before its pick",
       0.006,
       true,
       "command PalperaDeviceToPartAlignmentCmd\n" + picks(kTop) + picks(kChamferTwice) + kProbing +
           probe(kTop) + probe(kChamferTwice) + probe(kRight) + picks(kLeft) + "print alignment\n",
       "error: No alignment was made: plane 3 was probed from the other side of its reference face",
       {std::nullopt}},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(std::string(each.what) + ", ball " + std::to_string(each.ball));
    const auto [status, output] = runProjectScript(session(each.ball, each.quiet) + each.script);
    EXPECT_EQ(status, 0) << output;
    if (!each.told.empty()) {
      EXPECT_NE(output.find(each.told), std::string::npos) << each.told << output;
    }
    EXPECT_EQ(output.find("error:", each.told.empty() ? 0 : output.find(each.told) + 1), std::string::npos)
        << output;
    const std::vector<Matrix4x4> hardware = hardwareMatrices(output);
    ASSERT_EQ(hardware.size(), each.stored.size() + 1) << output;
    for (size_t i = 0; i < each.stored.size(); ++i) {
      SCOPED_TRACE(i);
      const Matrix4x4& expected = each.stored[i].value_or(hardware[0]);
      for (const Vector3& corner : {Vector3(0, 0, 0), Vector3(0.1, 0.08, 0.01), Vector3(0.1, 0, 0.005)}) {
        const Vector3 posed = Matrix4x4::transformPoint(kPose, corner);
        const Vector3 error =
            Matrix4x4::transformPoint(hardware[i + 1], posed) - Matrix4x4::transformPoint(expected, posed);
        EXPECT_LT(error.length(), 0.5e-3);
      }
    }
  }
}

}  // namespace leaning_faces
