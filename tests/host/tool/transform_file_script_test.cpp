// Transform files and placements that must not become the arm's hardware matrix, as a person meets them in
// palpera-host: each is refused in the command's words, with the reason, and the device keeps its matrix.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <string>
#include <vector>

#include "printed_matrix.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

// A 30 degree turn about z and a shift of 25 mm, each element written to eight decimals: its columns are a
// few 1e-9 off unit length.
const char* const kEightDecimalTurn =
    "0.86602540 -0.50000000 0 0.025\n0.50000000 0.86602540 0 0\n0 0 1 0\n0 0 0 1\n";

// The turn about z of the cosine and sine given, shifted along x.
Matrix4x4 turnAboutZ(double cosine, double sine, double shift) {
  Matrix4x4 turn = Matrix4x4::translation(Vector3(shift, 0, 0));
  turn.m[0] = turn.m[5] = cosine;
  turn.m[1] = -sine;
  turn.m[4] = sine;
  return turn;
}

class TransformFileScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    write("turn.tfm", kEightDecimalTurn);
    write("scaled.tfm", "2 0 0 0\n0 2 0 0\n0 0 2 0\n0 0 0 1\n");
    write("sheared.tfm", "1 0.01 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
    write("mirrored.tfm", "1 0 0 0\n0 1 0 0\n0 0 -1 0\n0 0 0 1\n");
    write("bytes.tfm", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    write("two-rows.tfm", "1 0 0 0\n0 1 0 0\n");
    write("nan.tfm", "1 0 0 0\n0 nan 0 0\n0 0 1 0\n0 0 0 1\n");
    write("large.tfm", "1.0001 0 0 0\n0 1.0001 0 0\n0 0 1.0001 0\n0 0 0 1\n");
    write("wide.tfm", utf16("1 0"));
  }
  void write(const std::string& name, const std::string& content) {
    std::ofstream(scratch_.system(name), std::ios::binary) << content;
  }
  std::string path(const std::string& name) const { return scratch_.system(name); }

  // Runs the lines after a start in the examples' folder (where the materials are); answers the output.
  std::string run(const std::string& lines, int* exitCode = nullptr) {
    const std::string script = scratch_.system("run.script");
    std::ofstream(script) << "cad-box RefObject 0 0 0 0.1 0.1 0.01\nset DefaultFileNameDirectory/common .\n"
                          << "start\nunit 1\n"
                          << lines;
    int status = -1;
    std::string output = runTool("--script " + script, status);
    if (exitCode) *exitCode = WEXITSTATUS(status);
    return output;
  }
  // The lines that load the rigid file into the hardware matrix through the command, and print it.
  std::string turnLoadedBy(bool manageTransform) const {
    return manageTransform ? "command PalperaManageTransformCmd\nfile-answer " + path("turn.tfm") +
                                 " 0\npress HardwareLoadFile\nprint alignment\n"
                           : "command PalperaAlignmentCmd\nradio 5\nfile-answer " + path("turn.tfm") +
                                 "\npress :TransformFileWidget:Load\nprint alignment\n";
  }
  // The lines that load the named file through the command's button.
  std::string loadLines(bool manageTransform, const std::string& name) const {
    return "file-answer " + path(name) +
           (manageTransform ? " 0\npress HardwareLoadFile\n" : "\npress :TransformFileWidget:Load\n");
  }
  // The hardware matrix printed first is the turn (by default the file's as written), to twelve digits.
  static void expectTheTurn(const std::string& output,
                            const Matrix4x4& turn = turnAboutZ(0.8660254, 0.5, 0.025)) {
    const Matrix4x4 hardware = matrixAfter(output, "hardware", false);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(hardware.m[i], turn.m[i], 1e-11) << "element " << i;
  }

  // Loads the turn, then the named file, through each command that loads a hardware file: the turn is
  // printed, the file is told as the error line, and the press fails the script.
  void expectToldInBothCommands(const std::string& name, const std::string& told) {
    for (bool manageTransform : {true, false}) {
      SCOPED_TRACE(name + (manageTransform ? " in Manage Transform" : " in Orient To World"));
      int exitCode = 0;
      const std::string output =
          run(turnLoadedBy(manageTransform) + loadLines(manageTransform, name), &exitCode);
      expectTheTurn(output);
      EXPECT_NE(output.find("error: " + told + "\n"), std::string::npos) << output;
      EXPECT_EQ(exitCode, 1) << "the press is told as failed";
    }
  }

  ScratchDirectory scratch_;
};

// Taken, a scale would double every touch (a face at 10 mm reads 20 mm), a shear skew it, a mirror turn the
// part inside out; a rotation written to eight decimals is what files hold, and is taken. Both commands that
// load a hardware file refuse alike, naming the file and why, after the turn loaded before.
TEST_F(TransformFileScripts, AHardwareFileThatScalesShearsOrMirrorsIsRefusedAfterAnEightDecimalTurnIsTaken) {
  const char* const scalesOrShears = "its 3 x 3 part scales or shears by more than 1e-5";
  const std::pair<const char*, const char*> refused[] = {{"scaled.tfm", scalesOrShears},
                                                         {"large.tfm", scalesOrShears},
                                                         {"sheared.tfm", scalesOrShears},
                                                         {"mirrored.tfm", "it mirrors"}};
  for (const auto& [name, why] : refused) {
    expectToldInBothCommands(name, "The file '" + path(name) +
                                       "' holds no rigid transform without mirroring (" + why +
                                       "): the hardware transformation is unchanged.");
  }
}

// A "TestObject" whose third row is zero would flatten every later touch onto z = 0.
TEST_F(TransformFileScripts, OrientToWorldRefusesAFlatteningTestObjectAndTheDeviceKeepsItsMatrix) {
  const std::string output =
      run("cad-box TestObject 0 0 0 0.1 0.1 0.01\ntransform TestObject 1 0 0 0.01 0 1 0 0 0 0 0 0 0 0 0 1\n" +
          turnLoadedBy(false) + "radio 3\nprint alignment\napply\n");
  EXPECT_NE(output.find("error: The transform of \"TestObject\" holds no rigid transform without mirroring "
                        "(its 3 x 3 part is singular, or scales by less than 1e-6): the hardware "
                        "transformation is unchanged.\n"),
            std::string::npos)
      << output;
  const size_t refusal = output.find("error: The transform");
  ASSERT_NE(refusal, std::string::npos);
  expectTheTurn(output.substr(refusal));
}

// "Unable to open file" alone sends the operator looking for a missing file: a file that is there says what
// is wrong in it, in both commands; a file that is not there is told in Orient To World as well.
TEST_F(TransformFileScripts, AFileThatCannotBeReadIsToldWithItsReasonAndAMissingOneWithoutInBothCommands) {
  const std::pair<const char*, const char*> slips[] = {
      {"missing.tfm", "."},
      {"bytes.tfm", ": row 1, number 1 is not a number."},
      {"two-rows.tfm", ": row 3 is missing."},
      {"nan.tfm", ": row 2, number 2 is not a finite number."},
      {"wide.tfm", ": the text is UTF-16; save it as UTF-8."}};
  for (const auto& [name, told] : slips)
    expectToldInBothCommands(name, "Unable to open file '" + path(name) + "' for loading" + told);
}

// Most tools write a rotation to six decimals: it becomes the nearest rotation, so the arm's matrix never
// carries the file's rounding as a scale, also from a file with a byte order mark and CR LF line ends.
TEST_F(TransformFileScripts, ASixDecimalTurnBecomesTheNearestRotationInBothCommands) {
  write("six.tfm", "\uFEFF0.866025 -0.500000 0 0.04\r\n0.500000 0.866025 0 0\r\n0 0 1 0\r\n0 0 0 1\r\n");
  const double length = std::hypot(0.866025, 0.5);
  for (bool manageTransform : {true, false}) {
    SCOPED_TRACE(manageTransform ? "Manage Transform" : "Orient To World");
    const std::string start =
        manageTransform ? "command PalperaManageTransformCmd\n" : "command PalperaAlignmentCmd\nradio 5\n";
    expectTheTurn(run(start + loadLines(manageTransform, "six.tfm") + "print alignment\n"),
                  turnAboutZ(0.866025 / length, 0.5 / length, 0.04));
  }
}

}  // namespace
