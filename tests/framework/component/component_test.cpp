#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>

#include "framework/component/zel_base_component.h"
#include "framework/component/zel_default_class_factory.h"
#include "host/zel_id_text.h"
#include "platform/event.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

ZelID testId(uint32_t n) {
  return ZelID{n, 0x7e57, 0x1d, {1, 2, 3, 4, 5, 6, 7, static_cast<uint8_t>(n)}};
}

TEST(EntryPoint, ANullOutParameterAnswersZeroAndWritesNothing) {
  uint32_t version = 77;
  EXPECT_EQ(EntryPoint(&version, nullptr), 0);
  EXPECT_EQ(version, 77u);
  IZelComponent* component = reinterpret_cast<IZelComponent*>(0x77);
  EXPECT_EQ(EntryPoint(nullptr, &component), 0);
  EXPECT_EQ(component, reinterpret_cast<IZelComponent*>(0x77));
}

TEST(EntryPoint, HandsOutANewComponentOfVersion100EachCall) {
  uint32_t version = 0;
  IZelComponent* first = nullptr;
  IZelComponent* second = nullptr;
  ASSERT_EQ(EntryPoint(&version, &first), 1);
  EXPECT_EQ(version, 100u);
  ASSERT_EQ(EntryPoint(&version, &second), 1);
  IPtr<IZelComponent> a(first), b(second);
  EXPECT_NE(first, second);

  IZelCompInternal* internal = internalOf(first);
  ASSERT_NE(internal, nullptr);
  EXPECT_STREQ(internal->moduleName(), "palpera");
  EXPECT_STREQ(internal->buildStamp(), "2011-10-27 13:41");
  EXPECT_STREQ(first->buildStamp(), "2011-10-27 13:41");
  EXPECT_TRUE(internal->reserved3());
  EXPECT_EQ(canonicalText(*internal->moduleId()), "6a5243e7-e352-4a7a-9867-a3db2eb560e5");
  EXPECT_EQ(internal->className(&*internal->moduleId()), nullptr) << "the module id names no class";
  void* untouched = reinterpret_cast<void*>(0x1234);
  first->queryInterface("IZelComponent", &untouched, false);
  EXPECT_EQ(untouched, first);
  first->queryInterface(nullptr, &untouched, false);
  EXPECT_EQ(untouched, first) << "a null name is ignored";
}

TEST(ClassRegistry, GrowsFrom131To257AtThe105thIdAndAnIdRegisteredAgainIsReplaced) {
  ZelDefaultClassFactory registry;
  std::vector<std::unique_ptr<ZelTClassItemFactory<CountedProbe>>> items;
  for (uint32_t n = 1; n <= 105; ++n) {
    items.push_back(std::make_unique<ZelTClassItemFactory<CountedProbe>>("CountedProbe", testId(n)));
    registry.registerItemFactory(items.back().get());
    if (n == 104) {
      EXPECT_EQ(registry.bucketCount(), 131u);
    }
  }
  EXPECT_EQ(registry.bucketCount(), 257u);
  EXPECT_EQ(registry.count(), 105u);
  ZelID id = testId(57);
  EXPECT_STREQ(registry.className(&id), "CountedProbe") << "every id is still found after the rehash";
  ZelTClassItemFactory<CountedProbe> again("Again", testId(57));
  registry.registerItemFactory(nullptr);
  registry.registerItemFactory(&again);
  EXPECT_EQ(registry.count(), 105u);
  EXPECT_STREQ(registry.className(&id), "Again");
}

// A registry with a plain class under id 1 and a singleton under id 2, both of T.
template <class T>
struct PlainAndSingleton {
  PlainAndSingleton() {
    registry.registerItemFactory(&plain);
    registry.registerItemFactory(&single);
  }
  ZelDefaultClassFactory registry;
  ZelTClassItemFactory<T> plain{"Plain", testId(1)};
  ZelSingletonTClassItemFactory<T> single{"Single", testId(2)};
};

// A class whose construction runs out of memory.
class StarvedProbe : public CountedProbe {
 public:
  StarvedProbe() { throw std::bad_alloc(); }
};

TEST(ClassRegistry, AConstructorOutOfMemoryAnswersNoObjectAndNothingReachesTheHost) {
  PlainAndSingleton<StarvedProbe> classes;
  for (uint32_t n : {1u, 2u, 2u}) {  // a failed singleton is tried again on the next request
    SCOPED_TRACE(n);
    ZelID id = testId(n);
    IZelUnknown* out = reinterpret_cast<IZelUnknown*>(0x99);
    EXPECT_EQ(classes.registry.createInstance(&id, &out), n);
    EXPECT_EQ(out, nullptr);
  }
}

// Singletons whose construction the test controls. Their hooks are set per test.
struct SingletonHooks {
  std::atomic<int> constructions{0};
  platform::Event entered{platform::Event::Reset::kAuto};
  platform::Event gate{platform::Event::Reset::kManual};
  ZelItemFactory* factory = nullptr;
  IZelUnknown* askedBack = reinterpret_cast<IZelUnknown*>(0x99);
};
SingletonHooks* hooks = nullptr;

IZelUnknown* request(ZelItemFactory& factory) {
  uint32_t status = 0;
  return factory.create(&status);
}

class GatedSingleton : public CountedProbe {
 public:
  GatedSingleton() {
    ++hooks->constructions;
    hooks->entered.set();
    EXPECT_TRUE(hooks->gate.waitFor(5000)) << "the gate never opened";
  }
};

class SelfAskingSingleton : public CountedProbe {
 public:
  SelfAskingSingleton() {
    ++hooks->constructions;
    hooks->askedBack = request(*hooks->factory);
  }
};

TEST(ClassRegistryThreads, TwoFirstRequestsRacingConstructTheSingletonOnce) {
  SingletonHooks local;
  hooks = &local;
  ZelSingletonTClassItemFactory<GatedSingleton> factory("Gated", testId(1));
  IZelUnknown* first = nullptr;
  IZelUnknown* second = nullptr;
  std::thread a([&] { first = request(factory); });
  ASSERT_TRUE(local.entered.waitFor(5000));
  std::thread b([&] { second = request(factory); });
  // A second construction, were there one, would announce itself at once; give it a bounded chance to.
  EXPECT_FALSE(local.entered.waitFor(200));
  local.gate.set();
  a.join();
  b.join();
  EXPECT_EQ(local.constructions, 1);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  factory.releaseInstance();
  hooks = nullptr;
}

TEST(ClassRegistry, ASingletonAskingForItselfWhileConstructedGetsAnAnswerNotADeadlock) {
  SingletonHooks local;
  hooks = &local;
  ZelSingletonTClassItemFactory<SelfAskingSingleton> factory("SelfAsking", testId(1));
  local.factory = &factory;
  IZelUnknown* made = request(factory);
  EXPECT_NE(made, nullptr);
  EXPECT_EQ(local.askedBack, nullptr) << "not yet made: no object";
  EXPECT_EQ(request(factory), made);
  EXPECT_EQ(local.constructions, 1);
  factory.releaseInstance();
  hooks = nullptr;
}

using ComponentSelfTest = ModuleTest;

TEST_F(ComponentSelfTest, WithoutATestServiceReportsTheMessageAndTheStatusByteAndWithOneRunsNothing) {
  struct Service : IZelSelfTestService {
    int runs = 0;
    void runTest(void*) override { ++runs; }
  } service;
  IZelCompInternal* internal = internalOf(component_.get());
  internal->selfTest(&service);
  EXPECT_EQ(service.runs, 0);
  EXPECT_TRUE(host_.errors().reports().empty());
  host_.root().setStatus(0x141);  // only the low byte is reported
  internal->selfTest(nullptr);
  auto reports = host_.errors().reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].message, u"Unable to get test service");
  EXPECT_EQ(reports[0].severity, 1);
  EXPECT_EQ(reports[1].message, u"A");
  detachFromHost();
  internal->selfTest(nullptr);  // must not touch a root that is not there
  EXPECT_EQ(host_.errors().reports().size(), 2u);
}

}  // namespace
