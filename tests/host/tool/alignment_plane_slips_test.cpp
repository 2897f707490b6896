// Slips made while the planes of "3-2-1 Device Alignment" and "Orient To World" are probed on the posed
// plate of their examples: each probed plane meets the face it stands for before anything is solved on it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "posed_pick.h"
#include "printed_matrix.h"
#include "project_script.h"
#include "support/expect_matrix_near.h"

namespace {

const std::string kStartProbing = "press StartProbing\n";

// An example split where its probing runs: what comes before (up to the device's first radius), and the
// touch of each probing click in order (top face 1 to 3, front face 1 and 2, left face).
std::pair<std::string, std::vector<std::string>> probingOf(const std::string& example) {
  const std::string script = readFile(kProject + "/examples/" + example);
  const size_t start = script.find(kStartProbing);
  const size_t radius = script.find(kRadiusEvent, start) + kRadiusEvent.size();
  std::vector<std::string> touches;
  for (size_t click = script.find("mouse click", radius); click != std::string::npos;
       click = script.find("mouse click", click + 1))
    touches.push_back(script.substr(click, script.find('\n', click) + 1 - click) + kSampled);
  return {script.substr(0, start) + "print alignment\n" + script.substr(start, radius - start), touches};
}

// The slips, each a refusal that says what to do; the operator then undoes or probes again and gets the
// example's alignment.
TEST(AlignmentPlaneSlips, APlaneOnAnotherFaceIsRefusedNothingIsStoredAndTheOperatorRecovers) {
  const std::string earlyStop =
      "error: Plane 1 was not made: 1 more point is needed. Its points are kept; "
      "probe more points on the face picked for plane 1 and stop again.\n";
  const std::string twoFaces =
      "error: Plane 1 was not made: its points lie up to 3.5 mm off one plane, so a point may be on another "
      "face. Its points are kept; undo back to that point, probe the face picked for plane 1, and stop "
      "again.\n";
  const std::string backFace =
      "error: No alignment was made: plane 3 was probed from the other side of its reference face, as the "
      "planes before it stand. Nothing was stored; probe the planes again, each on the face picked for it.\n";
  const struct {
    const char* example;
    bool backFace;  // plane 2 from behind the plate, else the front face's touches first for plane 1
    std::vector<std::string> told;
  } cases[] = {{"align-321.script", false, {earlyStop, twoFaces}},
               {"orient-to-world.script", false, {earlyStop, twoFaces}},
               {"align-321.script", true, {backFace}}};
  for (const auto& each : cases) {
    SCOPED_TRACE(std::string(each.example) + (each.backFace ? ", plane 2 on the back face" : ""));
    const auto [before, t] = probingOf(each.example);
    ASSERT_EQ(t.size(), 6u);
    const std::string top = t[0] + t[1] + t[2] + kLiftedStop, front = t[3] + t[4] + kLiftedStop,
                      left = t[5] + kLiftedStop, closing = "print alignment\napply\n";
    const Matrix4x4 pose = matrixAfter(before, "transform RefObject ", true);
    const std::string slip = each.backFace
                                 ? top + posedPick(pose, {0.03, 0.14, 0.005}, {0, -0.06, 0}) +
                                       posedPick(pose, {0.07, 0.14, 0.005}, {0, -0.06, 0}) + kLiftedStop +
                                       left + "print alignment\n" + kStartProbing + kRadiusEvent + top
                                 : front + top + kUndo + kUndo + kUndo + kUndo + kUndo + top;
    const auto [status, output] = runProjectScript(before + slip + front + left + closing);
    EXPECT_EQ(status, 0) << output;
    for (const std::string& told : each.told)
      EXPECT_NE(output.find(told), std::string::npos) << told << output;
    // A refusal that ends the run gives the device back the transform it had before.
    if (each.backFace) {
      const std::string after = output.substr(output.find(each.told.back()));
      expectMatrixNear(matrixAfter(after, "hardware", false), matrixAfter(output, "hardware", false), 1e-12);
    }
    expectMatrixNear(
        lastMatrixUnder(output, "hardware"),
        lastMatrixUnder(runProjectScript(before + top + front + left + closing).output, "hardware"), 1e-7);
  }
}

// Planes 2 and 3 touched with the stylus 25 degrees off upright, each stop taken over the part: the ball's
// travel into the touches says that stop lies on the material's side, so the plane is refused with what to
// do and never stored half turned; the stop then taken in front of the face gives the example's alignment.
TEST(AlignmentPlaneSlips, SideFacesTouchedNearlyUprightAndStoppedOverThePartAreRefusedNeverTurned) {
  const auto told = [](int plane) {
    return "error: Plane " + std::to_string(plane) +
           " was not made: its stop lies on the side every touch pushed into. Its points are kept; lift the "
           "probe off the face along its approach and stop again.\n";
  };
  for (const char* example : {"align-321.script", "orient-to-world.script"}) {
    for (const double ball : {0.002, 0.006}) {
      SCOPED_TRACE(std::string(example) + ", ball " + std::to_string(ball));
      auto [before, t] = probingOf(example);
      ASSERT_EQ(t.size(), 6u);
      before.insert(before.find("start\n") + 6,
                    "set Palpera/Emulator/ProbeDiameter" + numbers({ball}) + "\n");
      const Matrix4x4 pose = matrixAfter(before, "transform RefObject ", true);
      // A touch of the face point s, whose normal is n, along a ray 25 degrees off straight down.
      const auto steep = [&](const Vector3& s, const Vector3& n) {
        const Vector3 along = std::cos(0.436) * Vector3(0, 0, -1) - std::sin(0.436) * n;
        return posedPick(pose, s - 0.004 * along, along);
      };
      const auto stopInFront = [&](const Vector3& s, const Vector3& n) {
        return posedPick(pose, s + 0.05 * n, -1 * n, "move") + kLiftedStop;
      };
      const std::string overThePart = posedPick(pose, {0.03, 0.02, 0.05}, {0, 0, -1}, "move") + kLiftedStop;
      const Vector3 front{0, -1, 0}, left{-1, 0, 0};
      const std::string top = t[0] + t[1] + t[2] + kLiftedStop, closing = "print alignment\napply\n";
      const auto [status, output] = runProjectScript(
          before + top + steep({0.02, 0, 0.005}, front) + steep({0.08, 0, 0.004}, front) + overThePart +
          stopInFront({0.05, 0, 0.005}, front) + steep({0, 0.04, 0.005}, left) + overThePart +
          stopInFront({0, 0.04, 0.005}, left) + closing);
      EXPECT_EQ(status, 0) << output;
      for (const int plane : {2, 3}) EXPECT_NE(output.find(told(plane)), std::string::npos) << output;
      expectMatrixNear(lastMatrixUnder(output, "hardware"),
                       lastMatrixUnder(runProjectScript(before + top + t[3] + t[4] + kLiftedStop + t[5] +
                                                        kLiftedStop + closing)
                                           .output,
                                       "hardware"),
                       1e-7);
    }
  }
}

}  // namespace
