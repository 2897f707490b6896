// "Show Position" ended by STOP pressed twice, through the command-line host with the emulator: the
// second STOP is still in transit while the first ends the display.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"

namespace {

// The state (enabled or disabled) of the control named name in each printing of the dialog.
std::vector<std::string> controlStates(const std::string& output, const std::string& name) {
  std::vector<std::string> states;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string id, kind, field, value, state;
    std::getline(fields, id, '\t');
    std::getline(fields, kind, '\t');
    std::getline(fields, field, '\t');
    std::getline(fields, value, '\t');
    std::getline(fields, state, '\t');
    if (field == name) states.push_back(state);
  }
  return states;
}

TEST(ShowPositionStopTwice, BothAlignmentCommandsEndTheDisplayAndRunOn) {
  int status = -1;
  const std::string output =
      runTool("--script tests/host/tool/show-position-stop-twice.script", status, kProject);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  // What each command takes out of reach while the position shows is in reach again: 3-2-1's main box
  // (printed first), the iterative alignment's "Show Position" button (printed second).
  const std::vector<std::string> mainBox = controlStates(output, "MainBox");
  const std::vector<std::string> showPosition = controlStates(output, "ShowPositionButton");
  ASSERT_EQ(mainBox.size(), 2u) << output;
  ASSERT_EQ(showPosition.size(), 2u) << output;
  EXPECT_EQ(mainBox[0], "enabled");
  EXPECT_EQ(showPosition[1], "enabled");
}

}  // namespace
