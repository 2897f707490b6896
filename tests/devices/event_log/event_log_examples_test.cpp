// The device-event logs shipped under examples/logs are exactly what the module's writer writes, so no hand
// edit slips in.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

TEST(EventLogExamples, AreExactlyWhatTheWriterWrites) {
  ScratchDirectory scratch;
  std::string command = std::string(PALPERA_LOG_EXAMPLES_TOOL) + " " + scratch.system() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* log : {"plane-hardprobe.xml", "circle-hardprobe.xml", "capture-continuous.xml"}) {
    const std::string shipped = readFile(std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/logs/" + log);
    EXPECT_FALSE(shipped.empty()) << log;
    EXPECT_EQ(scratch.read(log), shipped) << log << " differs from what the writer writes: run make logs";
  }
}

}  // namespace
