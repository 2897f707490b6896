#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/registry/plugin_service.h"
#include "framework/object/query_chain.h"
#include "host/module_startup.h"
#include "support/module_fixture.h"

namespace {

// Notes "stop <name>" in a shared journal each time its acquisition is stopped.
class JournalDevice : public IZelPluginDevice, public ZelUnknownImpl {
 public:
  JournalDevice(std::string name, std::vector<std::string>& journal)
      : name_(std::move(name)), journal_(journal) {}
  bool connect() override { return false; }
  bool disconnect() override { return false; }
  bool startAcquisition() override { return false; }
  void stopAcquisition() override { journal_.push_back("stop " + name_); }
  void addReceiver(IZelPluginDataReceiver*) override {}
  void removeReceiver(IZelPluginDataReceiver*) override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("JournalDevice", this, this).offer<IZelPluginDevice>(this).end();
  }
  const char* className() override { return "JournalDevice"; }

 private:
  std::string name_;
  std::vector<std::string>& journal_;
};

class PluginRegistry : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    runModuleStartup(host_.root(), component_.get());  // the host enrols the registry for its shutdown
    registry_.getService();
    ASSERT_TRUE(registry_);
  }
  void TearDown() override {
    registry_.release();
    ModuleTest::TearDown();
  }

  std::vector<std::string> journal_;  // outlives the devices that write to it
  SPtr<IZelPluginService> registry_;
};

TEST_F(PluginRegistry, ShutdownStopsEveryDeviceInNameOrderAndKeepsThem) {
  for (const char* name : {"LaserScan", "HardProbeContinuous", "HardProbe"})
    registry_->setDevice(ZelCString(name), new JournalDevice(name, journal_));
  registry_->setDevice(ZelCString("Spare"), nullptr);  // an entry without a device is passed over
  host_.shutdown();
  EXPECT_EQ(journal_,
            (std::vector<std::string>{"stop HardProbe", "stop HardProbeContinuous", "stop LaserScan"}));
  EXPECT_NE(registry_->getDevice(ZelCString("HardProbe")), nullptr);

  journal_.clear();
  registry_.release();
  detachFromHost();  // the module unloads: the registry goes, stopping its devices once more
  EXPECT_EQ(journal_.size(), 3u);
}

}  // namespace
