#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();
const std::string kGroup = "Plugins/Hard Probe Emulator/MoveDeviceWidget/";

// The "key<tab>value" lines of an output, by key.
std::map<std::string, std::string> settingsOf(const std::string& output) {
  std::map<std::string, std::string> values;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) values[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return values;
}

// The user-settings file's "key<tab>kind<tab>value" lines, by key.
std::map<std::string, std::string> storedValues(const std::string& text) {
  std::map<std::string, std::string> values;
  for (const auto& [key, rest] : settingsOf(text)) values[key] = rest.substr(rest.find('\t') + 1);
  return values;
}

std::vector<double> matrixOfHex(const std::string& hex) {
  std::vector<double> matrix(16);
  if (hex.size() != 256) return {};
  unsigned char bytes[128];
  for (size_t i = 0; i < 128; ++i)
    bytes[i] = static_cast<unsigned char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  std::memcpy(matrix.data(), bytes, sizeof bytes);
  return matrix;
}

// Two sessions of "Move Device" on one store file: the first probes the references and two targets and
// leaves with the run saved, the second resumes it, probes the other targets and finishes.
TEST(MoveDeviceScripts, ARunSavedInOneSessionIsResumedAndFinishedInTheNext) {
  ScratchDirectory scratch;
  const std::string store = scratch.system("store.txt");
  int status = -1;
  std::string output =
      runTool("--store '" + store + "' --script examples/move-device-before.script", status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find(kGroup + "State\t2\n"), std::string::npos) << output;
  const std::map<std::string, std::string> saved = storedValues(readFile(store));
  ASSERT_EQ(saved.at(kGroup + "Ref3_Name"), "Point 4");
  ASSERT_EQ(saved.at(kGroup + "Tar1_Name"), "Point 2");
  EXPECT_EQ(saved.count(kGroup + "Tar2_Name") ? saved.at(kGroup + "Tar2_Name") : "", "");

  output = runTool("--store '" + store + "' --script examples/move-device-after.script", status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find("entry 0 Pair 1\tentry 1 Pair 2\tentry 2 Pair 3\tentry 3 Pair 4"), std::string::npos)
      << output;
  const std::map<std::string, std::string> after = settingsOf(output);
  EXPECT_EQ(after.at(kGroup + "State"), "4");
  for (int slot = 0; slot < 8; ++slot) {
    SCOPED_TRACE(slot);
    const std::string entry = std::to_string(slot) + "_";
    EXPECT_EQ(after.at(kGroup + "Ref" + entry + "Name"), "");
    if (slot >= 4) continue;
    EXPECT_EQ(after.at(kGroup + "Tar" + entry + "Name"), "Point " + std::to_string(slot + 1));
    for (const char* axis : {"X", "Y", "Z"}) {
      EXPECT_NEAR(std::stod(after.at(kGroup + "Tar" + entry + axis)),
                  std::stod(saved.at(kGroup + "Ref" + entry + axis)), 1e-7)
          << axis;
    }
  }
  const std::vector<double> hardware = matrixOfHex(after.at("Palpera/Alignment/Hardware Alignment"));
  ASSERT_EQ(hardware.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(hardware[i], i % 5 == 0 ? 1.0 : 0.0, 1e-7) << "element " << i;
}

}  // namespace
