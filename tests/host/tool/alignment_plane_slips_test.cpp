// Slips made while the planes of "3-2-1 Device Alignment" and "Orient To World" are probed on the posed
// plate of their examples: each probed plane meets the face it stands for before anything is solved on it.

#include <gtest/gtest.h>

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

}  // namespace
