#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "devices/registry/plugin_service.h"
#include "host/module_startup.h"
#include "support/module_fixture.h"
#include "tests/devices/support/test_device.h"

namespace {

class PluginRegistry : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registry_.getService();
    ASSERT_TRUE(registry_);
  }
  void TearDown() override {
    registry_.release();
    ModuleTest::TearDown();
  }

  // Registers a journalling device under name; the registry's reference is the only one.
  void addDevice(const char* name) {
    registry_->setDevice(ZelCString(name), new JournalDevice(name, journal_));
  }

  std::vector<std::string> journal_;  // outlives the devices that write to it
  SPtr<IZelPluginService> registry_;
};

TEST_F(PluginRegistry, ShutdownStopsEveryDeviceInNameOrderAndKeepsThem) {
  addDevice("LaserScan");
  addDevice("HardProbeContinuous");
  addDevice("HardProbe");
  registry_->setDevice(ZelCString("Spare"), nullptr);  // an entry without a device is passed over

  void* part = nullptr;
  registry_->queryInterface(IShutdownListener::interfaceName, &part, false);
  ASSERT_NE(part, nullptr);
  auto* listener = static_cast<IShutdownListener*>(part);
  listener->onShutdown();
  listener->onShutdown();
  EXPECT_EQ(journal_,
            (std::vector<std::string>{"stop HardProbe", "stop HardProbeContinuous", "stop LaserScan",
                                      "stop HardProbe", "stop HardProbeContinuous", "stop LaserScan"}));
  EXPECT_NE(registry_->getDevice(ZelCString("HardProbe")), nullptr);
}

TEST_F(PluginRegistry, TheHostsShutdownReachesTheRegistryOnce) {
  runModuleStartup(host_.root(), component_.get());
  addDevice("HardProbe");
  host_.shutdown();
  host_.shutdown();
  EXPECT_EQ(journal_, std::vector<std::string>{"stop HardProbe"});
}

TEST_F(PluginRegistry, LookupsMatchTheExactName) {
  EXPECT_EQ(registry_->getDevice(ZelCString("LaserScan")), nullptr) << "nothing registered yet";
  addDevice("HardProbe");
  EXPECT_NE(registry_->getDevice(ZelCString("HardProbe")), nullptr);
  EXPECT_EQ(registry_->getDevice(ZelCString("hardprobe")), nullptr);
  EXPECT_EQ(registry_->getDevice(ZelCString("HARDPROBE")), nullptr);
  EXPECT_EQ(registry_->getDevice(ZelCString("HardProbe ")), nullptr);
  EXPECT_EQ(registry_->getManager(ZelCString("HardProbe")), nullptr) << "devices and managers are apart";
}

TEST_F(PluginRegistry, StoringKeepsOneReferenceAndLetsGoOfTheReplacedOne) {
  IPtr<IZelPluginManager> first(new HardProbePluginManager);
  IPtr<IZelPluginManager> second(new HardProbePluginManager);
  registry_->setManager(ZelCString("HardProbe"), first.get());
  EXPECT_EQ(first->refCount(), 2u);
  registry_->setManager(ZelCString("HardProbe"), first.get());
  EXPECT_EQ(first->refCount(), 2u) << "storing the same manager again adds nothing";
  registry_->setManager(ZelCString("HardProbe"), second.get());
  EXPECT_EQ(first->refCount(), 1u);
  EXPECT_EQ(second->refCount(), 2u);
  EXPECT_EQ(registry_->getManager(ZelCString("HardProbe")), second.get());

  registry_->setManager(ZelCString("HardProbe"), nullptr);
  EXPECT_EQ(second->refCount(), 1u);
  EXPECT_EQ(registry_->getManager(ZelCString("HardProbe")), nullptr);
}

TEST_F(PluginRegistry, TheManagerLookupsFindTheRegisteredManagers) {
  EXPECT_EQ(getHardProbePluginManager(), nullptr);
  EXPECT_EQ(getLaserScanPluginManager(), nullptr);
  IPtr<IZelPluginManager> hardProbe(new HardProbePluginManager);
  IPtr<IZelPluginManager> laserScan(new LaserScanPluginManager);
  registry_->setManager(ZelCString("HardProbe"), hardProbe.get());
  registry_->setManager(ZelCString("LaserScan"), laserScan.get());
  EXPECT_EQ(getHardProbePluginManager(), hardProbe.get());
  EXPECT_EQ(getLaserScanPluginManager(), laserScan.get());
}

TEST_F(PluginRegistry, ARegistryThatGoesStopsItsDevicesAndLetsThemGo) {
  IPtr<IZelPluginDevice> device(new JournalDevice("HardProbe", journal_));
  {
    IPtr<PluginService> own(new PluginService);
    own->setDevice(ZelCString("HardProbe"), device.get());
    EXPECT_EQ(device->refCount(), 2u);
  }
  EXPECT_EQ(journal_, std::vector<std::string>{"stop HardProbe"});
  EXPECT_EQ(device->refCount(), 1u);
}

}  // namespace
