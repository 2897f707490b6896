#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/api/plugin_handler.h"
#include "host/api/shutdown.h"
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

using PluginHandler = ModuleTest;

// The host keeps what it loaded until it shuts down, then tells each listener once, in the order it joined.
TEST_F(PluginHandler, PluginsComeInLoadOrderFromSlotOneAndAreToldOfTheShutdownInTheOrderTheyJoined) {
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

  SPtr<IShutdownService> service;
  EXPECT_TRUE(service->addListener(emulator.get()));
  EXPECT_TRUE(service->addListener(arm.get()));
  EXPECT_FALSE(service->addListener(arm.get()));
  emulator.release();
  EXPECT_EQ(host_.shutdown(), 2u);
  EXPECT_EQ(told, (std::vector<std::string>{"Emulator", "Arm"}));
  EXPECT_EQ(host_.shutdown(), 0u);
  EXPECT_FALSE(service->addListener(arm.get())) << "too late to join";
}

}  // namespace
