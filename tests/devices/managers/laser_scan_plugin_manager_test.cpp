#include <gtest/gtest.h>

#include "devices/managers/laser_scan_plugin_manager.h"
#include "tests/devices/managers/manager_fixture.h"

namespace {

constexpr const char* kScanningPlugin = "Plugins/ScanningPlugin";
constexpr const char* kInstalled = "Plugins/InstalledScanningPlugins";

class ScanningChoice : public ManagerTest {
 protected:
  // One start of the host: a fresh manager makes its start-up choice.
  IZelPlugin* started() {
    IPtr<LaserScanPluginManager> manager(new LaserScanPluginManager);
    manager->initialize();
    return manager->currentPlugin();
  }
};

TEST_F(ScanningChoice, ANewScannerWinsOnceThenTheStoredChoiceRules) {
  IZelPlugin* scanner = load(TestPlugin::scanner(u"S"));
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Emulator"));

  EXPECT_EQ(started(), scanner) << "first start: the scanner is new";
  EXPECT_EQ(stored(kScanningPlugin), "S");
  EXPECT_EQ(stored(kInstalled), "1 S") << "emulators are never recorded as installed";

  store(kScanningPlugin, u"Emulator");
  EXPECT_EQ(started(), emulator) << "nothing new: the user's choice by name";
  EXPECT_EQ(stored(kInstalled), "1 S");

  store(kScanningPlugin, u"");
  EXPECT_EQ(started(), nullptr) << "no choice stored: not even the emulator";
  EXPECT_EQ(stored(kScanningPlugin), "");
}

TEST_F(ScanningChoice, SeveralNewScannersAreAllRecordedAndTheLeastNamedWins) {
  host_.enable(StandinHost::Optional::kStrSupport, true);  // the host's order of names
  load(TestPlugin::scanner(u"Zeta"));
  IZelPlugin* alpha = load(TestPlugin::scanner(u"Alpha"));
  store(kScanningPlugin, u"Zeta");
  EXPECT_EQ(started(), alpha) << "a new scanner outranks the stored choice";
  EXPECT_EQ(stored(kScanningPlugin), "Alpha");
  EXPECT_EQ(stored(kInstalled), "4 Zeta5 Alpha") << "in the host's order";
}

TEST_F(ScanningChoice, AScannerThatWasUnloadedIsForgottenAndCountsAsNewAgain) {
  IZelPlugin* scanner = load(TestPlugin::scanner(u"S"));
  store(kInstalled, u"4 Gone1 S");
  store(kScanningPlugin, u"S");
  EXPECT_EQ(started(), scanner);
  EXPECT_EQ(stored(kInstalled), "1 S");

  IZelPlugin* back = load(TestPlugin::scanner(u"Gone"));
  EXPECT_EQ(started(), back) << "seen again after it was forgotten";
  EXPECT_EQ(stored(kInstalled), "1 S4 Gone");
}

TEST_F(ScanningChoice, AChoiceOfNoLoadedPluginFallsToTheLeastNamedEmulator) {
  load(TestPlugin::emulator(u"B"));
  IZelPlugin* a = load(TestPlugin::emulator(u"A"));
  store(kScanningPlugin, u"Gone");
  EXPECT_EQ(started(), a);
  EXPECT_EQ(stored(kScanningPlugin), "A");
  EXPECT_EQ(stored(kInstalled), "");
}

TEST_F(ScanningChoice, WithoutLoadedPluginsNothingIsWritten) {
  store(kScanningPlugin, u"S");
  store(kInstalled, u"1 S");
  EXPECT_EQ(started(), nullptr);
  EXPECT_EQ(stored(kScanningPlugin), "S");
  EXPECT_EQ(stored(kInstalled), "1 S");
}

TEST_F(ScanningChoice, WithoutAPluginHandlerTheHostIsToldAndNothingIsWritten) {
  load(TestPlugin::scanner(u"S"));
  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_EQ(started(), nullptr);
  ASSERT_EQ(host_.assertions().reports().size(), 1u);
  EXPECT_EQ(host_.assertions().reports()[0].expression, "pluginHandler");
  EXPECT_EQ(host_.assertions().reports()[0].file, "laserscanpluginmanager");
  EXPECT_EQ(host_.assertions().reports()[0].line, 156);
  EXPECT_EQ(stored(kInstalled), "");
  EXPECT_EQ(stored(kScanningPlugin), "");
}

TEST_F(ScanningChoice, AnyPluginButAnEmulatorIsAcceptedAndAnyChoiceIsTaken) {
  IPtr<LaserScanPluginManager> manager(new LaserScanPluginManager);
  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Emulator"));
  EXPECT_TRUE(manager->acceptsPlugin(arm)) << "the scanning face is not consulted";
  EXPECT_TRUE(manager->acceptsPlugin(nullptr));
  EXPECT_FALSE(manager->acceptsPlugin(emulator));
  EXPECT_TRUE(manager->setActivePlugin(emulator));
  EXPECT_EQ(stored(kScanningPlugin), "Emulator");
  EXPECT_TRUE(manager->setActivePlugin(nullptr));
  EXPECT_EQ(manager->activePlugin(), nullptr);
  EXPECT_EQ(stored(kScanningPlugin), "");
}

}  // namespace
