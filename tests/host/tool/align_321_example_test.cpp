// The example of the 3-2-1 device alignment: the emulator probes the posed plate, and the hardware matrix
// the command sets carries the device's points back onto the model.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/run_tool.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();

TEST(Align321Example, TheHardwareMatrixUndoesThePoseOfTheProbedPlate) {
  const std::string script = readFile(kProject + "/examples/align-321.script");
  const Matrix4x4 pose = matrixAfter(script, "transform RefObject ", true);
  int status = -1;
  const std::string output = runTool("--script examples/align-321.script", status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  const Matrix4x4 hardware = matrixAfter(output, "hardware", false);
  const Matrix4x4 product = hardware * pose;
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(product.m[i], Matrix4x4::identity().m[i], 1e-7) << i << "\n" << output;
}

}  // namespace
