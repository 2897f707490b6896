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
    return manager->activePlugin();
  }
};

TEST_F(ScanningChoice, ANewScannerWinsOnceThenTheStoredChoiceRules) {
  IZelPlugin* scanner = load(TestPlugin::scanner(u"S"));
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Emulator"));
  EXPECT_EQ(started(), scanner) << "first start: the scanner is new";
  EXPECT_EQ(stored(kScanningPlugin), "S");
  EXPECT_EQ(stored(kInstalled), "1 S") << "a counted list; emulators are never installed";

  store(kScanningPlugin, u"Emulator");
  EXPECT_EQ(started(), emulator) << "nothing new: the user's choice by name";
  store(kScanningPlugin, u"");
  EXPECT_EQ(started(), nullptr) << "no choice stored: not even the emulator";
  EXPECT_EQ(stored(kInstalled), "1 S");
}

TEST_F(ScanningChoice, SeveralNewScannersAreAllInstalledAndTheLeastNamedWins) {
  host_.enable(StandinHost::Optional::kStrSupport, true);  // the host's order of names
  load(TestPlugin::scanner(u"Zeta"));
  IZelPlugin* alpha = load(TestPlugin::scanner(u"Alpha"));
  store(kScanningPlugin, u"Zeta");
  EXPECT_EQ(started(), alpha);
  EXPECT_EQ(stored(kInstalled), "4 Zeta5 Alpha");
}

TEST_F(ScanningChoice, AnUnloadedScannerIsForgottenAndCountsAsNewWhenBack) {
  load(TestPlugin::scanner(u"S"));
  store(kInstalled, u"4 Gone1 S");
  store(kScanningPlugin, u"S");
  started();
  EXPECT_EQ(stored(kInstalled), "1 S");
  IZelPlugin* back = load(TestPlugin::scanner(u"Gone"));
  EXPECT_EQ(started(), back);
  EXPECT_EQ(stored(kInstalled), "1 S4 Gone");
}

TEST_F(ScanningChoice, EmulatorsComeLastAndTheLeastNamedOneWins) {
  load(TestPlugin::emulator(u"B"));
  IZelPlugin* a = load(TestPlugin::emulator(u"A"));
  store(kScanningPlugin, u"Gone");
  EXPECT_EQ(started(), a);
  EXPECT_EQ(stored(kScanningPlugin), "A");
}

TEST_F(ScanningChoice, NothingIsWrittenWithoutPlugins) {
  store(kScanningPlugin, u"S");
  store(kInstalled, u"1 S");
  EXPECT_EQ(started(), nullptr);
  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_EQ(started(), nullptr);
  ASSERT_EQ(host_.assertions().reports().size(), 1u) << "a host without a plug-in handler is told";
  EXPECT_EQ(host_.assertions().reports()[0].expression, "pluginHandler");
  EXPECT_EQ(stored(kScanningPlugin), "S");
  EXPECT_EQ(stored(kInstalled), "1 S");
}

}  // namespace
