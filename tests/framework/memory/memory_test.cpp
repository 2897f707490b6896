#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "framework/memory/assertion.h"
#include "framework/memory/bucket_memory_pool.h"
#include "framework/memory/heap_refusal.h"
#include "framework/memory/kvo_alloc.h"
#include "framework/memory/memory_report.h"
#include "framework/memory/out_of_memory.h"
#include "framework/object/query_chain.h"
#include "host_api/mem_checker.h"
#include "support/module_fixture.h"
#include "support/test_named_folder.h"

namespace {

constexpr const char* kOutOfMemory = "\\[Out of Memory\\] While running this function";

struct Allocation {
  void* block;
  uint32_t capacity;
};

Allocation take(BucketMemoryPool& pool, int32_t size) {
  uint32_t capacity = 0;
  return {pool.allocate(size, &capacity), capacity};  // braced: the capacity is read after the call
}

void giveBack(BucketMemoryPool& pool, Allocation& a) {
  void* block = a.block;
  EXPECT_TRUE(pool.free(static_cast<int32_t>(a.capacity), &block));
  EXPECT_EQ(block, nullptr);
}

TEST(BucketMemoryPool, SizeClassesRoundUpToGranulesThenPowersOfTwo) {
  IPtr<BucketMemoryPool> pool(new BucketMemoryPool);
  struct Case {
    int32_t request;
    uint32_t capacity;
  };
  for (Case c : {Case{0, 4}, Case{1, 4}, Case{4, 4}, Case{5, 8}, Case{8189, 8192}, Case{8192, 8192},
                 Case{8193, 16384}, Case{262144, 262144}, Case{262145, 262145}}) {
    Allocation a = take(*pool, c.request);
    EXPECT_EQ(a.capacity, c.capacity) << "request " << c.request;
    giveBack(*pool, a);
  }
  EXPECT_EQ(pool->cachedBlocks(262145), 0) << "blocks above the largest class go straight back";
}

TEST(BucketMemoryPool, SwitchedOffEveryBlockIsDirectWithItsExactSizeAndNoBlockOrSizeIsRefused) {
  IPtr<BucketMemoryPool> pool(new BucketMemoryPool);
  pool->setEnabled(false);
  Allocation a = take(*pool, 100);
  EXPECT_EQ(a.capacity, 100u);
  giveBack(*pool, a);
  EXPECT_EQ(pool->cachedBlocks(100), 0);
  pool->setEnabled(true);
  Allocation b = take(*pool, 100);
  EXPECT_EQ(b.capacity, 100u);
  void* none = nullptr;
  EXPECT_FALSE(pool->free(8, &none));
  void* block = b.block;
  EXPECT_FALSE(pool->free(0, &block));
  EXPECT_EQ(block, b.block);
  giveBack(*pool, b);
  EXPECT_EQ(pool->cachedBlocks(100), 1);
}

// Attached again, so the module's pool starts anew for each test.
class SharedPool : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    detachFromHost();
    host_.attach(component_.get());
  }
};

// Takes count blocks of one size from the module's pool, then gives them all back.
std::vector<Allocation> cycle(int count, int32_t size) {
  std::vector<Allocation> blocks(count);
  for (Allocation& a : blocks) a.block = poolAllocate(size, &a.capacity);
  for (Allocation& a : blocks) poolFree(a.capacity, a.block);
  return blocks;
}

// Enough traffic in the module's pool that it looks for the host's pool and hands blocks over.
void churn(int32_t size) {
  for (int i = 0; i < 602; ++i) cycle(1, size);
}

// A host's pool of its own making: the module may reach it only through its interface. It counts the blocks
// it is given and keeps them in a pool of its own.
class ForeignPool : public IBucketMemoryPool, public ZelUnknownImpl {
 public:
  bool releaseAll() override { return inner_->releaseAll(); }
  void* allocate(int32_t size, uint32_t* capacity) override { return inner_->allocate(size, capacity); }
  bool free(int32_t capacity, void** block) override {
    given.insert(*block);
    return inner_->free(capacity, block);
  }
  void setEnabled(bool on) override { inner_->setEnabled(on); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("ForeignPool", this, this).offer<IBucketMemoryPool>(this).end();
  }
  const char* className() override { return "ForeignPool"; }

  std::set<void*> given;

 private:
  IPtr<BucketMemoryPool> inner_{new BucketMemoryPool};
};

TEST_F(SharedPool, TheModuleHandsItsCachedBlocksToTheHostPoolThroughItsInterface) {
  // Seed the module's own pool with five cached blocks of the 1000-byte class.
  std::vector<Allocation> seeded = cycle(5, 1000);

  IPtr<ForeignPool> foreign(new ForeignPool);
  host_.root().setService(IBucketMemoryPool::interfaceName, foreign.get());
  churn(12);
  for (Allocation& a : seeded) EXPECT_EQ(foreign->given.count(a.block), 1u) << "handed over";
  uint32_t capacity = 0;
  void* reused = poolAllocate(1000, &capacity);
  EXPECT_EQ(foreign->given.count(reused), 1u) << "the host's pool serves them again";
  poolFree(capacity, reused);
  detachFromHost();
  host_.attach(component_.get());  // a host pool there from the start serves the first allocation
  EXPECT_EQ(foreign->given.count(cycle(1, 3000)[0].block), 1u);
  detachFromHost();
  host_.root().setService(IBucketMemoryPool::interfaceName, nullptr);
}

TEST_F(SharedPool, AReleaseWhileTheHeapRefusesFreesTheBlockInsteadOfGrowingItsList) {
  IPtr<BucketMemoryPool> pool(new BucketMemoryPool);
  std::vector<Allocation> blocks(40);
  for (Allocation& a : blocks) a = take(*pool, 700);
  {
    HeapRefusal refusal(HeapRefusal::Calls::kReallocAndMalloc, 1);
    for (Allocation& a : blocks) giveBack(*pool, a);
  }
  EXPECT_EQ(pool->cachedBlocks(700), 0) << "no list could be made, and nothing ended the process";
}

using SharedPoolThreads = SharedPool;

TEST_F(SharedPoolThreads, StringsBuiltOnManyThreadsWhileTheHostPoolIsAdopted) {
  std::vector<std::thread> threads;
  std::atomic<bool> wrong{false};
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&wrong, t] {
      for (int i = 0; i < 2000; ++i) {
        ZelString s(u"point ");
        s += ZelString::number(i * 10 + t);
        ZelCString key("Palpera/Tile/", 13);
        key += "Value";
        if (s.length() < 7 || key.length() != 18) wrong = true;
      }
    });
  }
  host_.core().enable(CoreFamily::Optional::kBucketMemoryPool, true);
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(wrong);
}

// Made on a thread before that thread's pool cache, so destroyed after it, as static strings are at exit.
struct ReleasedLate {
  ~ReleasedLate() { poolFree(capacity, block); }
  void* block = nullptr;
  uint32_t capacity = 0;
};

TEST_F(SharedPoolThreads, ABlockReleasedAfterTheThreadsCacheIsGoneGoesToTheSharedPool) {
  void* released = nullptr;
  std::thread worker([&released] {
    thread_local ReleasedLate late;
    late.block = poolAllocate(200, &late.capacity);
    released = late.block;
    cycle(1, 16);  // the thread's cache exists from here on
  });
  worker.join();
  void* reused = nullptr;
  std::thread next([&reused] { reused = cycle(1, 200)[0].block; });
  next.join();
  EXPECT_EQ(reused, released) << "the late release reached the pool, not a destroyed cache";
}

TEST_F(SharedPoolThreads, BlocksAThreadKeptForItselfGoBackToThePoolWhenItEnds) {
  std::thread worker([] { cycle(10, 16); });
  worker.join();
  host_.core().enable(CoreFamily::Optional::kBucketMemoryPool, true);
  churn(3000);
  EXPECT_GE(host_.core().pool().cachedBlocks(16), 10) << "the worker's blocks reached the host's pool";
}

TEST_F(SharedPoolThreads, NewBlocksOfAThreadLieSideBySideAndEachRunIsFreedOnceWhateverFreesItsBlocks) {
  // A class no other test uses, so that the worker's blocks are new; a few runs of them.
  constexpr int32_t kSize = 236;
  constexpr int kBlocks = 40;
  std::vector<Allocation> blocks(kBlocks);
  std::thread worker([&blocks] {
    for (Allocation& a : blocks) a.block = poolAllocate(kSize, &a.capacity);
  });
  worker.join();  // the blocks the worker's cache still held went to the pool
  int adjacent = 0;
  for (int k = 1; k < kBlocks; ++k) {
    const auto gap = static_cast<char*>(blocks[k].block) - static_cast<char*>(blocks[k - 1].block);
    if (gap > 0 && gap <= static_cast<std::ptrdiff_t>(blocks[k].capacity) + 16) ++adjacent;
  }
  EXPECT_GE(adjacent, kBlocks / 2) << "blocks taken one after another lie side by side";
  // With the pool gone each block goes back through the run named in its header; the sanitizers' build sees
  // a run freed twice, or never.
  detachFromHost();
  for (int k = 0; k < kBlocks; k += 2) poolFree(blocks[k].capacity, blocks[k].block);
  std::thread other([&blocks] {
    for (int k = 1; k < kBlocks; k += 2) poolFree(blocks[k].capacity, blocks[k].block);
  });
  other.join();
}

TEST_F(SharedPoolThreads, BlocksOfOneRunFreedThroughTheHostsPoolAndOnSeveralThreadsAtOnceFreeItOnce) {
  // Blocks of a small class from a worker's runs, kept beyond its end.
  constexpr int kBlocks = 384;
  std::vector<Allocation> blocks(kBlocks);
  std::thread worker([&blocks] {
    for (Allocation& a : blocks) a.block = poolAllocate(20, &a.capacity);
  });
  worker.join();
  // A third goes to the host's pool, once the module has taken it up.
  host_.core().enable(CoreFamily::Optional::kBucketMemoryPool, true);
  churn(3000);
  for (int k = 0; k < kBlocks; k += 3) poolFree(blocks[k].capacity, blocks[k].block);
  EXPECT_GE(host_.core().pool().cachedBlocks(20), kBlocks / 3) << "freed through the host's pool";
  // The rest, without a pool, on two threads at once, each taking every other block of every run; then the
  // host lets its blocks go. The sanitizers' builds see a run freed twice, or never, or its count raced.
  detachFromHost();
  std::vector<std::thread> freeing;
  for (int first : {1, 2}) {
    freeing.emplace_back([&blocks, first] {
      for (int k = first; k < kBlocks; k += 3) poolFree(blocks[k].capacity, blocks[k].block);
    });
  }
  for (std::thread& thread : freeing) thread.join();
  host_.core().pool().releaseAll();
}

// An element of one mebibyte: element counts near INT32_MAX then ask for far more memory than any machine
// has.
constexpr int32_t kMebibyte = 1 << 20;

void askForMoreThanAnyMachineHas() {
  void* block = nullptr;
  kvoMalloc(&block, kMebibyte, INT32_MAX);
}

constexpr std::chrono::seconds kDeadline{30};

TEST_F(SharedPoolThreads, ARunningThreadKeepsOnlySomeOfItsReleasedBlocksAndThePoolGetsTheRest) {
  constexpr int kReleased = 1000;
  std::promise<void> released, finish;
  std::thread worker([&released, future = finish.get_future()] {
    cycle(kReleased, 16);
    released.set_value();
    future.wait_for(kDeadline);
  });
  ASSERT_EQ(released.get_future().wait_for(kDeadline), std::future_status::ready);
  host_.core().enable(CoreFamily::Optional::kBucketMemoryPool, true);
  churn(3000);
  EXPECT_GE(host_.core().pool().cachedBlocks(16), kReleased / 2) << "handed over while the worker still runs";
  finish.set_value();
  worker.join();
}

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
    host_.core().assertions().clear();
    void* block = nullptr;
    if (c.current > 0) {
      kvoMalloc(&block, 4, c.current);
      std::memset(block, 0x5A, 4 * c.current);
    }
    void* before = block;
    EXPECT_EQ(kvoRealloc(&block, 4, c.current, c.minimum, c.maximum), c.granted);
    std::vector<std::string> reported;
    for (const auto& report : host_.core().assertions().reports()) reported.push_back(report.expression);
    EXPECT_EQ(reported, c.reported);
    EXPECT_EQ(block == nullptr, c.granted == 0);
    EXPECT_TRUE(c.granted != c.current || block == before) << "nothing to do: the block stays";
    auto* items = static_cast<uint32_t*>(block);
    for (int i = 0; c.current > 0 && i < c.granted; ++i)
      ASSERT_EQ(items[i], i < c.current ? 0x5A5A5A5Au : 0u) << i;
    kvoFree(block);
  }
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
    std::filesystem::create_directories(temp_);
    host_.core().dirService().setDirectory("temp", temp_);
    // The dying child's report goes where both processes know, not into the working directory.
    host_.core().dataStore().setString(nullptr, "Directories/Logs Directory",
                                       ZelString(folder_.system().c_str()));
  }
  // A block whose every element differs from its neighbours, so a lost, shifted or cut byte shows.
  static void* patternedBlock() {
    void* block = nullptr;
    kvoMalloc(&block, sizeof(int32_t), kCount);
    auto* items = static_cast<uint32_t*>(block);
    for (int32_t i = 0; i < kCount; ++i) items[i] = static_cast<uint32_t>(i) * 2654435761u;
    return block;
  }

  TestNamedFolder folder_{"palpera-spill-"};
  const std::string temp_ = folder_.system("temp");  // the spill files' folder, apart from the report
};

TEST_F(SpillToDisk, TheContentsSurviveByteForByteTheTailIsZeroAndNoFileIsLeft) {
  void* block = patternedBlock();
  host_.core().enable(CoreFamily::Optional::kMemoryManager, true);
  {
    HeapRefusal refusal(HeapRefusal::Calls::kRealloc, kRefusedFrom);
    EXPECT_EQ(kvoRealloc(&block, sizeof(int32_t), kCount, kCount + 10, 2 * kCount), kCount + 10)
        << "settles for the minimum";
  }
  auto* items = static_cast<uint32_t*>(block);
  for (int32_t i = 0; i < kCount; ++i) ASSERT_EQ(items[i], static_cast<uint32_t>(i) * 2654435761u) << i;
  for (int32_t i = kCount; i < kCount + 10; ++i) ASSERT_EQ(items[i], 0u) << i;
  EXPECT_TRUE(std::filesystem::is_empty(temp_));
  EXPECT_EQ(host_.core().memoryManager().freeMemoryCalls(), 1) << "asked once, declined, never asked again";
  kvoFree(block);
}

using SpillToDiskDeathTest = SpillToDisk;

TEST_F(SpillToDiskDeathTest, WhereNoFileCanBeMadeOrNoNewBlockHadTheProcessEndsThroughTheReport) {
  auto expectTheEnd = [](HeapRefusal::Calls calls) {
    void* block = patternedBlock();
    HeapRefusal refusal(calls, kRefusedFrom);
    EXPECT_EXIT(kvoRealloc(&block, sizeof(int32_t), kCount, kCount + 1, -1), ::testing::ExitedWithCode(255),
                kOutOfMemory);
    kvoFree(block);
  };
  expectTheEnd(HeapRefusal::Calls::kReallocAndMalloc);
  EXPECT_TRUE(std::filesystem::is_empty(temp_));
  host_.core().dirService().setDirectory("temp", temp_ + "/missing");
  expectTheEnd(HeapRefusal::Calls::kRealloc);
  host_.core().enableDirService(false);
  expectTheEnd(HeapRefusal::Calls::kRealloc);
}

using Assertions = ModuleTest;

TEST_F(Assertions, AHandlerReceivesTheReportAndExecutionGoesOn) {
  EXPECT_EQ(ZelCString("abc").find("b", -1), -1);
  auto reports = host_.core().assertions().reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].expression, "start >= 0");
}

using AssertionsDeathTest = Assertions;

TEST_F(AssertionsDeathTest, WithoutAHandlerTheProcessEndsWith255) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  host_.core().enableAssertHandler(false);
  EXPECT_EXIT(reportAssertion("x > 0", "bitvector", 12), ::testing::ExitedWithCode(255), "");
}

// Fixed figures, so the report's lines can be checked to the byte.
class FixedMemChecker : public IMemChecker, public ZelUnknownImpl {
 public:
  bool isAvailable() override { return true; }
  void query(uint64_t* systemFree, uint64_t* systemTotal, uint64_t* swapFree, uint64_t* swapTotal,
             int32_t divisor) override {
    *systemFree = 2048 * 1024 / divisor;
    *systemTotal = 16384 * 1024 / divisor;
    *swapFree = 0;
    *swapTotal = 1000 * 1024 / divisor;
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("FixedMemChecker", this, this).offer<IMemChecker>(this).end();
  }
  const char* className() override { return "FixedMemChecker"; }
};

// Prints each time it is asked, so a death test can see the retries in the dying process's output.
class LoudMemoryManager : public HostMemoryManager {
 public:
  bool freeMemory() override {
    std::fprintf(stderr, "freeMemory\n");
    return HostMemoryManager::freeMemory();
  }
};

class OutOfMemory : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    host_.root().setService(IMemChecker::interfaceName, checker_.get());
    std::filesystem::remove(logs_ + "/memory.log");
    host_.core().dataStore().setString(nullptr, "Directories/Logs Directory", ZelString(logs_.c_str()));
  }
  void TearDown() override {
    host_.root().setService(IMemChecker::interfaceName, nullptr);
    ModuleTest::TearDown();
  }

  std::string readLog(const std::string& directory) {
    std::ifstream in(directory + "/memory.log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  IPtr<FixedMemChecker> checker_{new FixedMemChecker};
  // A directory the dying child (which runs this set-up again) and this process both know.
  TestNamedFolder folder_{"palpera-memory-log-"};
  const std::string logs_ = folder_.system();
};

using OutOfMemoryDeathTest = OutOfMemory;

TEST_F(OutOfMemory, TheReportListsTheRequestTheFiguresAndTheManager) {
  EXPECT_EQ(memoryReportText(0),
            "system free:         2048k\n"
            "system total:       16384k\n"
            "swap free:              0k\n"
            "swap total:          1000k\n"
            "\n"
            "zelmm not available\n"
            "\n");
  host_.core().enable(CoreFamily::Optional::kMemoryManager, true);
  host_.core().memoryManager().setCounters(10, 20, 1, 2);
  std::string report = memoryReportText(1234);
  EXPECT_EQ(report.substr(0, 28), "attempted:           1234b\n\n");
  EXPECT_NE(report.find("zelmm core now:       240k\nzelmm core limit:     480k\n"
                        "zelmm swap now:        24k\nzelmm swap limit:      48k\n\n"),
            std::string::npos);
  host_.core().dataStore().setInt(nullptr, "Memory/UseErrorService", 1);
  host_.root().setService(IZelErrorService::interfaceName, nullptr);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(reportOutOfMemory(-1)) << "the error service chosen but missing: nothing is shown";
  EXPECT_EQ(::testing::internal::GetCapturedStderr().find("Out of Memory"), std::string::npos);
  host_.root().setService(IZelErrorService::interfaceName, &host_.core().errors());
}

TEST_F(OutOfMemoryDeathTest, AnExhaustedAllocationRetriesWhileAskedThenWritesMemoryLogAndShowsTheBox) {
  IPtr<LoudMemoryManager> manager(new LoudMemoryManager);
  manager->setFreeMemoryAnswers(2);
  host_.root().setService("IZelMManager", manager.get());
  EXPECT_EXIT(askForMoreThanAnyMachineHas(), ::testing::ExitedWithCode(255),
              "(freeMemory\n(.|\n)*){3}\\[Out of Memory\\] While running this function");
  std::string log = readLog(logs_);
  EXPECT_EQ(log.find("attempted:        2251799812636672b\r\n"), 0u) << "text mode ends lines with CR LF";
  EXPECT_NE(log.find("system total:       16384k\r\n"), std::string::npos);
  EXPECT_NE(log.find("zelmm core now:         0k\r\n"), std::string::npos);
}

// Requests no block can serve: each ends the process through the report, never with a small block.
TEST_F(OutOfMemoryDeathTest, ANegativeSizeOrATextPastWhat32BitSizesHoldIsOutOfMemory) {
  uint32_t capacity = 0;
  EXPECT_EXIT(poolAllocate(-8, &capacity), ::testing::ExitedWithCode(255), kOutOfMemory);
  ZelString placeholders;
  for (int i = 0; i < 2048; ++i) placeholders += ZelString(u"%1");
  std::u16string mebiUnits(1 << 20, u'x');
  ZelString argument(mebiUnits.c_str());
  const ZelString* args[] = {&argument};
  std::filesystem::remove(logs_ + "/memory.log");
  EXPECT_EXIT(placeholders.substituteArgs(args, 1), ::testing::ExitedWithCode(255), kOutOfMemory);
  EXPECT_EQ(readLog(logs_).find("attempted:        4294967298b\r\n"), 0u);
}

// The report and its message need no pool: both come when the pool cannot make a single new block. With an
// empty log directory the report goes to the working directory.
TEST_F(OutOfMemoryDeathTest, MemoryLogIsWrittenWhenThePoolFailsAndWithAnEmptyLogDirectory) {
  std::string working = logs_ + "/working";
  std::filesystem::create_directories(working);
  std::filesystem::remove(working + "/memory.log");
  auto exhaustIn = [&](const std::string& directory, auto&& exhaust) {
    EXPECT_EXIT((std::filesystem::current_path(directory), exhaust()), ::testing::ExitedWithCode(255),
                kOutOfMemory);
  };
  exhaustIn(working, [] {
    HeapRefusal refusal(HeapRefusal::Calls::kReallocAndMalloc, 1);
    uint32_t capacity = 0;
    poolAllocate(7777, &capacity);
  });
  EXPECT_EQ(readLog(logs_).find("attempted:           7788b\r\n"), 0u);

  host_.core().dataStore().setString(nullptr, "Directories/Logs Directory", ZelString());
  exhaustIn(working, askForMoreThanAnyMachineHas);
  EXPECT_EQ(readLog(working).find("attempted:        2251799812636672b\r\n"), 0u);
}

TEST_F(OutOfMemoryDeathTest, WithTheErrorServiceChosenTheMessageGoesThereAndNoBoxIsShown) {
  host_.core().dataStore().setInt(nullptr, "Memory/UseErrorService", 1);
  host_.core().errors().setEcho(true);
  EXPECT_EXIT(askForMoreThanAnyMachineHas(), ::testing::ExitedWithCode(255),
              "error: While running this function");
}

}  // namespace
