#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "basic_types/zel_string.h"
#include "framework/memory/bucket_memory_pool.h"
#include "framework/memory/heap_refusal.h"
#include "framework/object/query_chain.h"
#include "support/module_fixture.h"

namespace {

struct Allocation {
  void* block;
  uint32_t capacity;
};

Allocation take(BucketMemoryPool& pool, int32_t size) {
  Allocation a{nullptr, 0};
  a.block = pool.allocate(size, &a.capacity);
  return a;
}

void giveBack(BucketMemoryPool& pool, Allocation& a) {
  void* block = a.block;
  EXPECT_TRUE(pool.free(static_cast<int32_t>(a.capacity), &block));
  EXPECT_EQ(block, nullptr);
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

class SharedPool : public ModuleTest {};

// A host's pool of its own making: the module may reach it only through its interface. It counts the blocks
// it is given and keeps them in a pool of its own.
class ForeignPool : public IBucketMemoryPool, public ZelUnknownImpl {
 public:
  bool releaseAll() override { return inner_->releaseAll(); }
  void* allocate(int32_t size, uint32_t* capacity) override { return inner_->allocate(size, capacity); }
  bool free(int32_t capacity, void** block) override {
    given_.insert(*block);
    return inner_->free(capacity, block);
  }
  void setEnabled(bool on) override { inner_->setEnabled(on); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("ForeignPool", this, this).offer<IBucketMemoryPool>(this).end();
  }
  const char* className() override { return "ForeignPool"; }

  const std::set<void*>& given() const { return given_; }

 private:
  IPtr<BucketMemoryPool> inner_{new BucketMemoryPool};
  std::set<void*> given_;
};

TEST_F(SharedPool, TheModuleHandsItsCachedBlocksToTheHostPoolThroughItsInterface) {
  detachFromHost();
  host_.attach(component_.get());
  // Seed the module's own pool with five cached blocks of the 1000-byte class.
  std::vector<Allocation> seeded(5);
  std::set<void*> seededBlocks;
  for (Allocation& a : seeded) {
    a.block = poolAllocate(1000, &a.capacity);
    seededBlocks.insert(a.block);
  }
  for (Allocation& a : seeded) poolFree(a.capacity, a.block);

  IPtr<ForeignPool> foreign(new ForeignPool);
  host_.root().setService(IBucketMemoryPool::interfaceName, foreign.get());
  for (int i = 0; i < 602; ++i) {
    uint32_t capacity = 0;
    void* block = poolAllocate(12, &capacity);
    poolFree(capacity, block);
  }
  for (void* block : seededBlocks) EXPECT_EQ(foreign->given().count(block), 1u) << "handed over";
  uint32_t capacity = 0;
  void* reused = poolAllocate(1000, &capacity);
  EXPECT_EQ(seededBlocks.count(reused), 1u) << "the host's pool serves them again";
  poolFree(capacity, reused);
  detachFromHost();
  host_.attach(component_.get());  // a host pool there from the start serves the first allocation
  void* first = poolAllocate(3000, &capacity);
  poolFree(capacity, first);
  EXPECT_EQ(foreign->given().count(first), 1u);
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
  detachFromHost();
  host_.attach(component_.get());
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
  host_.enable(StandinHost::Optional::kBucketMemoryPool, true);
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
  detachFromHost();
  host_.attach(component_.get());
  void* released = nullptr;
  std::thread worker([&released] {
    thread_local ReleasedLate late;
    late.block = poolAllocate(200, &late.capacity);
    released = late.block;
    uint32_t capacity = 0;
    void* small = poolAllocate(16, &capacity);
    poolFree(capacity, small);  // the thread's cache exists from here on
  });
  worker.join();
  void* reused = nullptr;
  std::thread next([&reused] {
    uint32_t capacity = 0;
    reused = poolAllocate(200, &capacity);
    poolFree(capacity, reused);
  });
  next.join();
  EXPECT_EQ(reused, released) << "the late release reached the pool, not a destroyed cache";
}

TEST_F(SharedPoolThreads, BlocksAThreadKeptForItselfGoBackToThePoolWhenItEnds) {
  detachFromHost();
  host_.attach(component_.get());
  std::thread worker([] {
    std::vector<Allocation> blocks(10);
    for (Allocation& a : blocks) a.block = poolAllocate(16, &a.capacity);
    for (Allocation& a : blocks) poolFree(a.capacity, a.block);
  });
  worker.join();
  host_.enable(StandinHost::Optional::kBucketMemoryPool, true);
  for (int i = 0; i < 602; ++i) {
    uint32_t capacity = 0;
    void* block = poolAllocate(3000, &capacity);
    poolFree(capacity, block);
  }
  EXPECT_GE(host_.pool().cachedBlocks(16), 10) << "the worker's blocks reached the host's pool";
}

}  // namespace
