// The device-event logs shipped under examples/logs are exactly what the module's writer writes, so no hand
// edit slips in.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/scratch_directory.h"

namespace {

TEST(EventLogExamples, AreExactlyWhatTheWriterWrites) {
  ScratchDirectory scratch;
  std::string command = std::string(PALPERA_LOG_EXAMPLES_TOOL) + " " + scratch.system() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* log : {"plane-hardprobe.xml", "circle-hardprobe.xml", "capture-continuous.xml"}) {
    std::ifstream in(std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/logs/" + log, std::ios::binary);
    std::string shipped{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_FALSE(shipped.empty()) << log;
    EXPECT_EQ(scratch.read(log), shipped) << log << " differs from what the writer writes: run make logs";
  }
}

}  // namespace
