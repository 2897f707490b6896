#include <gtest/gtest.h>

#include "devices/managers/hard_probe_plugin_manager.h"
#include "tests/devices/managers/manager_fixture.h"

namespace {

constexpr const char* kActivePlugin = "Palpera/ActivePlugin";
constexpr const char* kExplicitlySet = "Palpera/Emulator/ExplicitlySet";

class HardProbeChoice : public ManagerTest {
 protected:
  IZelPlugin* selected() {
    IPtr<HardProbePluginManager> manager(new HardProbePluginManager);
    manager->select();
    EXPECT_EQ(manager->activePlugin(), manager->currentPlugin());
    return manager->currentPlugin();
  }
};

TEST_F(HardProbeChoice, TheEmulatorGivesWayToARealArmUnlessChosenExplicitly) {
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  ASSERT_EQ(stored(kActivePlugin), "Hard Probe Emulator") << "the registered default";

  EXPECT_EQ(selected(), arm);
  EXPECT_EQ(stored(kActivePlugin), "Arm");

  store(kActivePlugin, u"Hard Probe Emulator");
  host_.dataStore().setInt(nullptr, kExplicitlySet, 1);
  EXPECT_EQ(selected(), emulator);
  EXPECT_EQ(stored(kActivePlugin), "Hard Probe Emulator");
}

TEST_F(HardProbeChoice, OnlyTheFirstEmulatorGivesWayAndALoneOneStays) {
  IZelPlugin* first = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  EXPECT_EQ(selected(), first) << "the only plug-in";

  IZelPlugin* second = load(TestPlugin::emulator(u"Other Emulator"));
  EXPECT_EQ(selected(), second) << "the stored name is gone with the first emulator; the second is first now";
  EXPECT_EQ(stored(kActivePlugin), "Other Emulator");
}

TEST_F(HardProbeChoice, AnEmptyStoredNameChoosesNothing) {
  load(TestPlugin::arm(u"Arm"));
  store(kActivePlugin, u"");
  EXPECT_EQ(selected(), nullptr);
  EXPECT_EQ(stored(kActivePlugin), "");
}

TEST_F(HardProbeChoice, AnUnknownStoredNameFallsToTheFirstAcceptedPlugin) {
  load(TestPlugin::scanner(u"Scanner"));  // no hard-probe face
  IZelPlugin* first = load(TestPlugin::arm(u"First"));
  load(TestPlugin::arm(u"Second"));
  store(kActivePlugin, u"Gone");
  EXPECT_EQ(selected(), first);
  EXPECT_EQ(stored(kActivePlugin), "First");

  store(kActivePlugin, u"second");
  EXPECT_EQ(selected(), first) << "names match in their exact letter case";
}

TEST_F(HardProbeChoice, APluginWithoutAnAvailableFaceIsNeverChosen) {
  load(new TestPlugin(
      u"Dead", {.single = true, .singleAvailable = false, .continuous = true, .continuousAvailable = false}));
  IZelPlugin* continuousOnly =
      load(new TestPlugin(u"Continuous", {.single = true, .singleAvailable = false, .continuous = true}));
  store(kActivePlugin, u"Dead");
  EXPECT_EQ(selected(), continuousOnly) << "one available face is enough";

  IPtr<HardProbePluginManager> manager(new HardProbePluginManager);
  EXPECT_FALSE(manager->acceptsPlugin(nullptr));
}

TEST_F(HardProbeChoice, WithoutAPluginHandlerNothingIsChosenAndTheNameIsEmptied) {
  load(TestPlugin::arm(u"Arm"));
  store(kActivePlugin, u"Arm");
  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_EQ(selected(), nullptr);
  EXPECT_EQ(stored(kActivePlugin), "");
}

class HardProbeUserChoice : public ManagerTest {
 protected:
  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
};

TEST_F(HardProbeUserChoice, ALoadedAcceptedPluginIsTakenAndTheEmulatorFlagFollows) {
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  EXPECT_TRUE(manager_->setActivePlugin(emulator));
  EXPECT_EQ(manager_->currentPlugin(), emulator);
  EXPECT_EQ(storedInt(kExplicitlySet), 1);
  EXPECT_TRUE(manager_->setActivePlugin(arm));
  EXPECT_EQ(manager_->currentPlugin(), arm);
  EXPECT_EQ(stored(kActivePlugin), "Arm");
  EXPECT_EQ(storedInt(kExplicitlySet), 0);
}

TEST_F(HardProbeUserChoice, AnUnlistedOrUnacceptedPluginChangesNothing) {
  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  ASSERT_TRUE(manager_->setActivePlugin(arm));
  IPtr<IZelPlugin> unlisted(TestPlugin::arm(u"Unlisted"));
  EXPECT_FALSE(manager_->setActivePlugin(unlisted.get()));
  IZelPlugin* scanner = load(TestPlugin::scanner(u"Scanner"));
  EXPECT_FALSE(manager_->setActivePlugin(scanner));
  EXPECT_EQ(manager_->currentPlugin(), arm);
  EXPECT_EQ(stored(kActivePlugin), "Arm");

  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_FALSE(manager_->setActivePlugin(arm)) << "without the host's list nothing can be checked";
}

TEST_F(HardProbeUserChoice, NullChoosesNoneAndKeepsTheEmulatorFlag) {
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  ASSERT_TRUE(manager_->setActivePlugin(emulator));
  EXPECT_TRUE(manager_->setActivePlugin(nullptr));
  EXPECT_EQ(manager_->currentPlugin(), nullptr);
  EXPECT_EQ(stored(kActivePlugin), "");
  EXPECT_EQ(storedInt(kExplicitlySet), 1);
}

}  // namespace
