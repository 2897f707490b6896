#include <gtest/gtest.h>

#include <string>

#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "tests/devices/support/test_plugin.h"

namespace {

constexpr const char* kActivePlugin = "Palpera/ActivePlugin";
constexpr const char* kScanningPlugin = "Plugins/ScanningPlugin";
constexpr const char* kInstalled = "Plugins/InstalledScanningPlugins";

// The start-up choice of a fresh manager of each kind, among test plug-ins loaded into the host.
class ManagerChoice : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
  }

  // Loads the plug-in into the host, which keeps it.
  IZelPlugin* load(TestPlugin* plugin) {
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin));
    return plugin;
  }
  IZelPlugin* hardProbeChoice() {
    IPtr<HardProbePluginManager> manager(new HardProbePluginManager);
    manager->select();
    return manager->activePlugin();
  }
  IZelPlugin* scanningChoice() {
    IPtr<LaserScanPluginManager> manager(new LaserScanPluginManager);
    manager->initialize();
    return manager->activePlugin();
  }

  std::string stored(const char* key) {
    return platform::toUtf8(host_.core().dataStore().getString(key).c_str());
  }
  void store(const char* key, const char16_t* v) {
    host_.core().dataStore().setString(nullptr, key, ZelString(v));
  }
};

TEST_F(ManagerChoice, TheEmulatorGivesWayToARealArmUnlessChosenExplicitlyOrAlone) {
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  EXPECT_EQ(hardProbeChoice(), emulator) << "the only plug-in, and the registered default";
  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  EXPECT_EQ(hardProbeChoice(), arm);
  store(kActivePlugin, u"Hard Probe Emulator");
  host_.core().dataStore().setInt(nullptr, "Palpera/Emulator/ExplicitlySet", 1);
  EXPECT_EQ(hardProbeChoice(), emulator);
}

TEST_F(ManagerChoice, AnEmptyOrUnknownStoredNameAndNothingToChooseFrom) {
  load(TestPlugin::scanner(u"Scanner"));  // no hard-probe face
  store(kActivePlugin, u"Arm");
  EXPECT_EQ(hardProbeChoice(), nullptr) << "no hard-probe plug-in is loaded yet";
  EXPECT_EQ(stored(kActivePlugin), "Arm") << "the user's choice outlives a start without any";

  IZelPlugin* first = load(TestPlugin::arm(u"First"));
  load(TestPlugin::arm(u"Second"));
  store(kActivePlugin, u"");
  EXPECT_EQ(hardProbeChoice(), nullptr) << "an empty name chooses nothing";
  EXPECT_EQ(stored(kActivePlugin), "");

  store(kActivePlugin, u"second");
  EXPECT_EQ(hardProbeChoice(), first)
      << "names match in their exact letter case; otherwise the first is taken";
  EXPECT_EQ(stored(kActivePlugin), "First");

  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_EQ(hardProbeChoice(), nullptr);
  EXPECT_EQ(stored(kActivePlugin), "First") << "nor one without the host's plug-in handler";
}

TEST_F(ManagerChoice, ScanningEmulatorsComeLastAndTheLeastNamedOneWins) {
  load(TestPlugin::emulator(u"B"));
  IZelPlugin* a = load(TestPlugin::emulator(u"A"));
  store(kScanningPlugin, u"Gone");
  EXPECT_EQ(scanningChoice(), a);
  EXPECT_EQ(stored(kScanningPlugin), "A");
}

TEST_F(ManagerChoice, NoScannerIsChosenNorStoredWithoutPlugins) {
  store(kScanningPlugin, u"S");
  store(kInstalled, u"1 S");
  EXPECT_EQ(scanningChoice(), nullptr);
  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_EQ(scanningChoice(), nullptr);
  ASSERT_EQ(host_.core().assertions().reports().size(), 1u) << "a host without a plug-in handler is told";
  EXPECT_EQ(host_.core().assertions().reports()[0].expression, "pluginHandler");
  EXPECT_EQ(stored(kScanningPlugin), "S");
  EXPECT_EQ(stored(kInstalled), "1 S");
}

}  // namespace
