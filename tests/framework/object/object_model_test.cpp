#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/object/host_root.h"
#include "framework/object/iptr.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

// A root that answers release as the test says, to show that the root alone decides when an object dies.
class ScriptedRoot : public IZelRoot, public ZelUnknownImpl {
 public:
  void addRef(int32_t* count) override { ++*count; }
  bool release(int32_t* count) override {
    --*count;
    return answer;
  }
  int32_t createInstance(const ZelID*, const ZelCString*, void** out) override {
    *out = nullptr;
    return 0;
  }
  int32_t getService(const ZelCString*, void** out) override {
    *out = nullptr;
    return 0;
  }
  uint32_t status() override { return 0; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("ScriptedRoot", this, this).offer<IZelRoot>(this).end();
  }
  const char* className() override { return "ScriptedRoot"; }
  using IZelRoot::addRef;
  using IZelRoot::release;

  bool answer = false;
};

using ReferenceCounting = NoHostTest;

TEST_F(ReferenceCounting, WithoutRootTheSecondOfTwoReleasesDestroysAndLeavesMinus42) {
  std::atomic<int> destroyed{0};
  int32_t lastCount = 0;
  auto* probe = new CountedProbe(&destroyed, &lastCount);
  EXPECT_EQ(probe->refCount(), 0u);
  probe->addRef();
  probe->addRef();
  EXPECT_EQ(probe->refCount(), 2u);
  probe->release();
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(probe->refCount(), 1u);
  probe->release();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(lastCount, kDestroyedCount);
}

TEST_F(ReferenceCounting, WithRootTheRootAloneDecidesDestruction) {
  ScriptedRoot root;
  std::atomic<int> destroyed{0};
  auto* probe = new CountedProbe(&destroyed);
  setHostRoot(&root);
  probe->addRef();
  probe->addRef();
  probe->addRef();
  probe->release();  // count 2, root says keep
  EXPECT_EQ(destroyed, 0);
  root.answer = true;
  probe->release();  // count 1, but the root says destroy
  EXPECT_EQ(destroyed, 1);
  setHostRoot(nullptr);
}

using ReferenceCountingThreads = ModuleTest;

TEST_F(ReferenceCountingThreads, ConcurrentCountsThroughTheRootDestroyOnceAtTheEnd) {
  std::atomic<int> destroyed{0};
  IPtr<IProbeA> shared(new CountedProbe(&destroyed));
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 5000; ++i) {
        IPtr<IProbeA> local = shared;
        IPtr<IProbeA> another = local;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(shared->refCount(), 1u);
  EXPECT_EQ(destroyed, 0);
  shared.release();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ReferenceCountingThreads, LastReleaseOnAnyThreadDestroysExactlyOnce) {
  for (int round = 0; round < 200; ++round) {
    std::atomic<int> destroyed{0};
    auto* probe = new CountedProbe(&destroyed);
    for (int t = 0; t < 4; ++t) probe->addRef();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) threads.emplace_back([probe] { probe->release(); });
    for (std::thread& thread : threads) thread.join();
    ASSERT_EQ(destroyed, 1);
  }
}

}  // namespace
