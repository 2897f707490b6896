#include "platform/memory_status.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/scratch_directory.h"

namespace {

// The figures a test gives in place of the machine's, in /proc/meminfo's form, while it lives.
class FixedMemInfo {
 public:
  FixedMemInfo(const ScratchDirectory& scratch, const std::string& lines) {
    scratch.write("meminfo", lines);
    setenv(platform::kMemInfoVariable, scratch.system("meminfo").c_str(), 1);
  }
  FixedMemInfo(const FixedMemInfo&) = delete;
  FixedMemInfo& operator=(const FixedMemInfo&) = delete;
  ~FixedMemInfo() { unsetenv(platform::kMemInfoVariable); }
};

TEST(MemoryStatus, TheFiguresOfTheFileTheVariableNamesStandForTheMachines) {
  ScratchDirectory scratch;
  FixedMemInfo fixed(scratch,
                     "MemTotal:        4096 kB\nMemFree:  1 kB\nMemAvailable:    1024 kB\n"
                     "SwapTotal:        512 kB\nSwapFree:         256 kB\n");
  platform::MemoryStatus status;
  ASSERT_TRUE(platform::queryMemoryStatus(status));
  EXPECT_EQ(status.totalPhysical, 4096u << 10);
  EXPECT_EQ(status.availablePhysical, 1024u << 10);
  EXPECT_EQ(status.totalPageFile, (4096u + 512u) << 10);
  EXPECT_EQ(status.availablePageFile, (1024u + 256u) << 10);
  EXPECT_LE(platform::memoryLeft(), (1024u + 256u) << 10);
}

TEST(MemoryStatus, AFileWithoutTheTotalGivesNoFigures) {
  ScratchDirectory scratch;
  FixedMemInfo fixed(scratch, "MemAvailable: 1024 kB\n");
  platform::MemoryStatus status;
  status.totalPhysical = 7;
  EXPECT_FALSE(platform::queryMemoryStatus(status));
  EXPECT_EQ(status.totalPhysical, 0u);
}

}  // namespace
