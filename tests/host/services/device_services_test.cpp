#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/api/counter_store.h"
#include "host/api/plugin_handler.h"
#include "host/api/shutdown.h"
#include "host/api/zel_random.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

// The face by which the host knows a device plug-in; the plug-in contract itself is the module's.
class PluginFace : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPlugin";
};

// A device plug-in as far as the host sees one: it answers "IZelPlugin"; at shutdown it notes its name.
class TestPlugin : public PluginFace, public IShutdownListener, public ZelUnknownImpl {
 public:
  TestPlugin(const char* name, std::vector<std::string>* told) : name_(name), told_(told) {}
  void onShutdown() override { told_->push_back(name_); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("TestPlugin", this, static_cast<PluginFace*>(this))
        .offer<PluginFace>(this)
        .offer<IShutdownListener>(this)
        .end();
  }
  const char* className() override { return name_; }

 private:
  const char* name_;
  std::vector<std::string>* told_;
};

using Counters = ModuleTest;

TEST_F(Counters, ACounterStartsAtItsResetValueAndCreatingItAgainKeepsItsCount) {
  SPtr<ICounterStore> counters;
  ZelCString name("HardProbeDumpCounter");
  EXPECT_EQ(counters->find(name), nullptr);
  ASSERT_TRUE(counters->create(name, 1, 0));
  ICounter* counter = counters->find(name);
  ASSERT_TRUE(counter);
  counter->increment();
  counter->increment();
  EXPECT_FALSE(counters->create(name, 5, 100));
  EXPECT_EQ(counter->value(), 2) << "the first creation still holds";
  counter->reset();
  EXPECT_EQ(host_.counters().valueOf("HardProbeDumpCounter"), 0);
  EXPECT_FALSE(counters->create(ZelCString(""), 1, 0));
}

using Random = ModuleTest;

TEST_F(Random, TheSameSeedGivesTheSameDrawsAndEveryDrawStaysBelowItsBound) {
  SPtr<IZelRandom> random;
  auto draws = [&](uint32_t seed) {
    random->seed(seed);
    std::vector<double> values;
    for (int i = 0; i < 100; ++i) values.push_back(random->uniform(0.00006));
    return values;
  };
  std::vector<double> first = draws(42);
  EXPECT_EQ(draws(42), first);
  EXPECT_NE(draws(43), first);
  for (double value : first) {
    EXPECT_GE(value, 0);
    EXPECT_LT(value, 0.00006);
  }
}

using PluginHandler = ModuleTest;

TEST_F(PluginHandler, PluginsComeInLoadOrderFromSlotOneAndOnlyPluginsLoadOnce) {
  std::vector<std::string> told;
  IPtr<TestPlugin> arm(new TestPlugin("Arm", &told)), emulator(new TestPlugin("Emulator", &told));
  SPtr<IZelPluginHandler> handler;
  EXPECT_TRUE(handler->registerPlugin(arm.get()));
  EXPECT_TRUE(handler->registerPlugin(emulator.get()));
  EXPECT_FALSE(handler->registerPlugin(arm.get()));
  IPtr<CountedProbe> notAPlugin(new CountedProbe);
  EXPECT_FALSE(handler->registerPlugin(notAPlugin.get()));

  ZelCountedArray<IZelPlugin*> list(21);
  handler->getPlugins(list);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(static_cast<void*>(list[1]), static_cast<PluginFace*>(arm.get()));
  EXPECT_EQ(static_cast<void*>(list[2]), static_cast<PluginFace*>(emulator.get()));
  emulator.release();
  EXPECT_EQ(host_.pluginHandler().plugins().size(), 2u) << "the host keeps what it loaded";
}

using Shutdown = ModuleTest;

TEST_F(Shutdown, EveryListenerIsToldOnceInTheOrderItJoined) {
  std::vector<std::string> told;
  IPtr<TestPlugin> first(new TestPlugin("first", &told)), second(new TestPlugin("second", &told));
  SPtr<IShutdownService> service;
  EXPECT_TRUE(service->addListener(second.get()));
  EXPECT_TRUE(service->addListener(first.get()));
  EXPECT_FALSE(service->addListener(first.get()));
  EXPECT_EQ(first->refCount(), 2u) << "held until told";
  EXPECT_EQ(host_.shutdown(), 2u);
  EXPECT_EQ(told, (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(first->refCount(), 1u);
  EXPECT_EQ(host_.shutdown(), 0u);
  EXPECT_FALSE(service->addListener(first.get())) << "too late to join";
}

}  // namespace
