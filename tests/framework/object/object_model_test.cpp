#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/object/iptr.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

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

// A caller-made collector with an optional probe set of one name.
struct Collection {
  ZelCountedArray<ZelCString> classStack;
  ZelCountedArray<InterfaceNameEntry> entries;
  InterfaceNameProbe probe;
  InterfaceNameProbe* buckets[7] = {};
  InterfaceNameCollector collector;

  explicit Collection(const char* probeName = nullptr) {
    collector.classStack = &classStack;
    collector.entries = &entries;
    collector.probeBucketCount = 7;
    if (probeName) {
      uint32_t h = 5381;
      for (const char* p = probeName; *p; ++p) h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(*p));
      probe.name = probeName;
      buckets[h % 7] = &probe;
      collector.probeBuckets = buckets;
    }
  }

  void collect(IZelUnknown* object) {
    object->queryInterface(nullptr, reinterpret_cast<void**>(&collector), true);
  }

  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= entries.count(); ++i) {
      out.push_back(std::string(entries[i].name.c_str()) + "," + std::to_string(entries[i].isClass) + "," +
                    entries[i].owner.c_str());
    }
    return out;
  }
};

TEST(QueryByName, ProbeSetStopsTheCollectionOnlyForNamesTheObjectAdds) {
  IPtr<CountedProbe> probe(new CountedProbe);
  Collection unknownProbe("IZelUnknown");
  unknownProbe.collect(probe.get());
  EXPECT_EQ(unknownProbe.collector.probeHit, 0);
  EXPECT_EQ(unknownProbe.lines(), (std::vector<std::string>{"CountedProbe,1,", "IProbeA,0,CountedProbe",
                                                            "IProbeB,0,CountedProbe"}));
  EXPECT_EQ(unknownProbe.classStack.count(), 0) << "a class without a base chain closes its scope";

  Collection classProbe("CountedProbe");
  classProbe.collect(probe.get());
  EXPECT_EQ(classProbe.collector.probeHit, 1);
  EXPECT_EQ(classProbe.entries.count(), 0);
  EXPECT_EQ(classProbe.classStack.count(), 0);

  Collection interfaceProbe("IProbeB");
  interfaceProbe.collect(probe.get());
  EXPECT_EQ(interfaceProbe.collector.probeHit, 1);
  EXPECT_EQ(interfaceProbe.entries.count(), 0);
}

}  // namespace
