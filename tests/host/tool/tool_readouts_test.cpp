// What the command-line host's tools read back of the module: the device transform "print alignment" shows,
// and the range "value" checks a typed length against.

#include <gtest/gtest.h>

#include <string>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "project_script.h"

namespace {

// Outside a measuring command the plug-in caches no object matrix; "combined" is still what the device
// delivers once a command takes the software transform in: object x hardware x scale.
TEST(ToolReadouts, PrintAlignmentCombinesTheSoftwareTransformTheHardwareAndTheScale) {
  const ScriptRun run = runProjectScript(
      "start\nunit 1\ncommand TemperatureCompensationCmd\nchoose MaterialSelection 0\n"
      "value TemperatureValue 25\napply\ncommand PalperaManageTransformCmd\n"
      "file-answer examples/transforms/shift.tfm 0\n"
      "press SoftwareLoadFile\nfile-answer examples/transforms/quarter-turn.xal 1\npress HardwareLoadFile\n"
      "apply\nprint alignment\n");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string printed = "\n" + run.output;  // each heading on a line of its own, the first one too
  const Matrix4x4 object = lastMatrixUnder(printed, "object");
  const Matrix4x4 expected =
      object * lastMatrixUnder(printed, "hardware") * lastMatrixUnder(printed, "scale");
  const Matrix4x4 combined = lastMatrixUnder(printed, "combined");
  EXPECT_NE(object.m[3] + object.m[7] + object.m[11], 0.0) << "the software transform shifts: " << run.output;
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(combined.m[i], expected.m[i], 1e-10) << i << "\n" << run.output;
}

// A length field keeps metres and is typed in the user's unit: 20 mm is a legal interval, 0.05 mm is not, and
// the refusal gives the range in millimetres.
TEST(ToolReadouts, ValueChecksATypedLengthInTheUsersUnit) {
  const std::string capture =
      "cad-load RefObject examples/parts/plate-bore.step\nstart\nunit 1\ncommand PalperaCaptureCmd\n";
  const ScriptRun taken = runProjectScript(capture + "value DistanceRate 20\nprint dialog\ncancel\n");
  EXPECT_EQ(taken.status, 0) << taken.output;
  EXPECT_NE(taken.output.find("\tDistanceRate\t0.02\tenabled\tInterval\tshown 20.0000\t"), std::string::npos)
      << taken.output;
  const ScriptRun refused = runProjectScript(capture + "value DistanceRate 0.05\n");
  EXPECT_EQ(refused.status, 1) << refused.output;
  EXPECT_NE(refused.output.find(":6: 0.05 lies outside the range of 'DistanceRate' [0.1, 10000]"),
            std::string::npos)
      << refused.output;
}

}  // namespace
