#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "framework/memory/assertion.h"
#include "framework/memory/heap_refusal.h"
#include "framework/memory/kvo_alloc.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"

namespace {

// An element of one mebibyte: element counts near INT32_MAX then ask for far more memory than any machine
// has.
constexpr int32_t kMebibyte = 1 << 20;

using Reallocation = ModuleTest;

// Each case starts from a block of int32 items holding 0x5A bytes, or from none; a grown block's new items
// are zero.
TEST_F(Reallocation, GrantsWhatMemoryAllowsBetweenMinimumAndMaximumKeepingTheItemsAndZeroingTheTail) {
  struct Case {
    int32_t current, minimum, maximum, granted;
    std::vector<std::string> reported;
  };
  const std::string maxBelowMin = "maxNewSize >= minNewSize";
  const std::string growingShort = "minNewSize > curSize && maxNewSize >= minNewSize";
  for (const Case& c : {Case{100, 101, 200, 200, {}}, Case{10, 10, 50, 10, {}}, Case{0, 6, 64, 6, {}},
                        Case{10, 0, -1, 0, {}}, Case{4, 10, 5, 10, {maxBelowMin, growingShort}},
                        Case{10, 8, 5, 8, {maxBelowMin}}, Case{10, 10, 5, 10, {}}}) {
    SCOPED_TRACE(testing::Message() << c.current << " to " << c.minimum << ".." << c.maximum);
    host_.assertions().clear();
    void* block = nullptr;
    if (c.current > 0) {
      kvoMalloc(&block, 4, c.current);
      std::memset(block, 0x5A, 4 * c.current);
    }
    void* before = block;
    EXPECT_EQ(kvoRealloc(&block, 4, c.current, c.minimum, c.maximum), c.granted);
    std::vector<std::string> reported;
    for (const auto& report : host_.assertions().reports()) reported.push_back(report.expression);
    EXPECT_EQ(reported, c.reported);
    EXPECT_EQ(block == nullptr, c.granted == 0);
    EXPECT_TRUE(c.granted != c.current || block == before) << "nothing to do: the block stays";
    auto* items = static_cast<uint32_t*>(block);
    for (int i = 0; c.current > 0 && i < c.granted; ++i)
      ASSERT_EQ(items[i], i < c.current ? 0x5A5A5A5Au : 0u) << i;
    kvoFree(block);
  }
}

TEST_F(Reallocation, SettlesForLessAndAsksTheManagerUntilItDeclines) {
  host_.enable(StandinHost::Optional::kMemoryManager, true);
  host_.memoryManager().setFreeMemoryAnswers(2);
  void* block = nullptr;
  kvoMalloc(&block, kMebibyte, 1);
  static_cast<char*>(block)[0] = 7;
  EXPECT_EQ(kvoRealloc(&block, kMebibyte, 1, 2, INT32_MAX), 2) << "only the minimum can be had";
  EXPECT_EQ(static_cast<char*>(block)[0], 7) << "the contents survive";
  EXPECT_EQ(static_cast<char*>(block)[2 * kMebibyte - 1], 0);
  EXPECT_EQ(host_.memoryManager().freeMemoryCalls(), 3) << "yes, yes, then no: never asked again";
  kvoFree(block);
}

// Blocks of a few mebibytes, grown while the heap refuses every resize of that size: only the way through a
// temporary file is left.
class SpillToDisk : public ModuleTest {
 protected:
  static constexpr int32_t kCount = 3 * kMebibyte / 4;  // int32 elements: three mebibytes
  static constexpr uint64_t kRefusedFrom = kMebibyte;

  void SetUp() override {
    ModuleTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    host_.dirService().setDirectory("temp", temp_.system());
    // The dying child's report goes where both processes know, not into the working directory.
    host_.dataStore().setString(nullptr, "Directories/Logs Directory",
                                ZelString(::testing::TempDir().c_str()));
  }
  // A block whose every element differs from its neighbours, so a lost, shifted or cut byte shows.
  static void* patternedBlock() {
    void* block = nullptr;
    kvoMalloc(&block, sizeof(int32_t), kCount);
    auto* items = static_cast<uint32_t*>(block);
    for (int32_t i = 0; i < kCount; ++i) items[i] = static_cast<uint32_t>(i) * 2654435761u;
    return block;
  }

  ScratchDirectory temp_;
};

TEST_F(SpillToDisk, TheContentsSurviveByteForByteTheTailIsZeroAndNoFileIsLeft) {
  void* block = patternedBlock();
  host_.enable(StandinHost::Optional::kMemoryManager, true);
  {
    HeapRefusal refusal(HeapRefusal::Calls::kRealloc, kRefusedFrom);
    EXPECT_EQ(kvoRealloc(&block, sizeof(int32_t), kCount, kCount + 10, 2 * kCount), kCount + 10)
        << "settles for the minimum";
  }
  auto* items = static_cast<uint32_t*>(block);
  for (int32_t i = 0; i < kCount; ++i) ASSERT_EQ(items[i], static_cast<uint32_t>(i) * 2654435761u) << i;
  for (int32_t i = kCount; i < kCount + 10; ++i) ASSERT_EQ(items[i], 0u) << i;
  EXPECT_TRUE(std::filesystem::is_empty(temp_.system()));
  EXPECT_EQ(host_.memoryManager().freeMemoryCalls(), 1) << "asked once, declined, never asked again";
  kvoFree(block);
}

using SpillToDiskDeathTest = SpillToDisk;

TEST_F(SpillToDiskDeathTest, WhereNoFileCanBeMadeOrNoNewBlockHadTheProcessEndsThroughTheReport) {
  auto expectTheEnd = [](HeapRefusal::Calls calls) {
    void* block = patternedBlock();
    HeapRefusal refusal(calls, kRefusedFrom);
    EXPECT_EXIT(kvoRealloc(&block, sizeof(int32_t), kCount, kCount + 1, -1), ::testing::ExitedWithCode(255),
                "\\[Out of Memory\\] While running this function");
    kvoFree(block);
  };
  expectTheEnd(HeapRefusal::Calls::kReallocAndMalloc);
  EXPECT_TRUE(std::filesystem::is_empty(temp_.system()));
  host_.dirService().setDirectory("temp", temp_.system("missing"));
  expectTheEnd(HeapRefusal::Calls::kRealloc);
  host_.enableDirService(false);
  expectTheEnd(HeapRefusal::Calls::kRealloc);
}

using Assertions = ModuleTest;

TEST_F(Assertions, AHandlerReceivesTheReportAndExecutionGoesOn) {
  EXPECT_EQ(ZelCString("abc").find("b", -1), -1);
  auto reports = host_.assertions().reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].expression, "start >= 0");
}

using AssertionsDeathTest = Assertions;

TEST_F(AssertionsDeathTest, WithoutAHandlerTheProcessEndsWith255) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  host_.enableAssertHandler(false);
  EXPECT_EXIT(reportAssertion("x > 0", "bitvector", 12), ::testing::ExitedWithCode(255), "");
}

}  // namespace
