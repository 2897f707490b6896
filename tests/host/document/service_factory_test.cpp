#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/object/iptr.h"
#include "host/api/points.h"
#include "support/module_fixture.h"

namespace {

using PointServices = ModuleTest;

TEST_F(PointServices, EachLookupHandsOutAFreshObjectThatTheCallersReferenceAloneKeeps) {
  IPtr<IZelPoint> a, b;
  a.getService();
  b.getService();
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(a->refCount(), 1u) << "the root wrote it without a reference";
  a->setPosition(1, -2, 3);
  double xyz[3] = {};
  b->position(xyz);
  EXPECT_EQ(xyz[1], 0.0) << "no state is shared between lookups";
}

using PointServicesThreads = PointServices;

TEST_F(PointServicesThreads, LookupsOnManyThreadsEachGetTheirOwnObject) {
  std::atomic<int> faults{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        IPtr<IZelPoint> a, b;
        a.getService();
        b.getService();
        if (!a || !b || a.get() == b.get()) ++faults;
        if (a) a->setPosition(i, i, i);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(faults, 0);
}

}  // namespace
