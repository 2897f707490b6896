// The examples of "Orient To World": the emulator probes three faces of the posed plate, the hardware matrix
// puts the device in the plate's axes at the corner of those faces, and a transform file saved in that run
// gives the same matrix back in the next.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();
// The corner of the top, front and left faces, in the plate's own coordinates.
const Vector3 kCorner{0, 0, 0.01};

// Runs the example script with its transform file in scratch rather than in the build folder.
std::string runExample(const std::string& name, const ScratchDirectory& scratch,
                       std::string* script = nullptr) {
  const std::string text =
      std::regex_replace(readFile(kProject + "/examples/" + name), std::regex("build/orient-to-world\\.tfm"),
                         scratch.system("orient-to-world.tfm"));
  const std::string path = scratch.system(name);
  std::ofstream(path) << text;
  if (script) *script = text;
  int status = -1;
  const std::string output = runTool("--script " + path, status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  return output;
}

// The printed line of the stored hardware alignment: its 128 bytes in hexadecimal.
std::string storedHardware(const std::string& output) {
  std::smatch found;
  EXPECT_TRUE(
      std::regex_search(output, found, std::regex("Palpera/Alignment/Hardware Alignment\t([0-9a-f]+)")))
      << output;
  return found.size() > 1 ? found[1].str() : "";
}

TEST(OrientToWorldExample, ThreeProbedFacesPutTheDeviceAtTheirCornerAndTheSavedFileLoadsBackBitForBit) {
  ScratchDirectory scratch;
  std::string script;
  const std::string probed = runExample("orient-to-world.script", scratch, &script);
  const Matrix4x4 pose = matrixAfter(script, "transform RefObject ", true);
  const Matrix4x4 expected = Matrix4x4::translation(-1.0 * kCorner) * Matrix4x4::inverse(pose);
  const Matrix4x4 hardware = matrixAfter(probed, "hardware", false);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(hardware.m[i], expected.m[i], 1e-7) << "element " << i;
  const std::string stored = storedHardware(probed);
  ASSERT_EQ(stored.size(), 256u);

  const std::string loaded = runExample("orient-to-world-load.script", scratch);
  EXPECT_EQ(storedHardware(loaded), stored);
  const Matrix4x4 reloaded = matrixAfter(loaded, "hardware", false);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(reloaded.m[i], hardware.m[i]) << "element " << i;
}

}  // namespace
