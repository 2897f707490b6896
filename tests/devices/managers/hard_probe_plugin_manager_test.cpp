#include <gtest/gtest.h>

#include "devices/managers/hard_probe_plugin_manager.h"
#include "tests/devices/managers/manager_fixture.h"

namespace {

constexpr const char* kActivePlugin = "Palpera/ActivePlugin";
constexpr const char* kExplicitlySet = "Palpera/Emulator/ExplicitlySet";

class HardProbeChoice : public ManagerTest {
 protected:
  // The start-up choice of a fresh manager.
  IZelPlugin* selected() {
    IPtr<HardProbePluginManager> manager(new HardProbePluginManager);
    manager->select();
    return manager->activePlugin();
  }
  int32_t explicitlySet() { return host_.dataStore().getInt(kExplicitlySet, -1); }

  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
};

TEST_F(HardProbeChoice, TheEmulatorGivesWayToARealArmUnlessChosenExplicitlyOrAlone) {
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  ASSERT_EQ(stored(kActivePlugin), "Hard Probe Emulator") << "the registered default";
  EXPECT_EQ(selected(), emulator) << "the only plug-in";

  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  EXPECT_EQ(selected(), arm);
  EXPECT_EQ(stored(kActivePlugin), "Arm");

  store(kActivePlugin, u"Hard Probe Emulator");
  host_.dataStore().setInt(nullptr, kExplicitlySet, 1);
  EXPECT_EQ(selected(), emulator);
  EXPECT_EQ(stored(kActivePlugin), "Hard Probe Emulator");
}

TEST_F(HardProbeChoice, AnEmptyOrUnknownStoredNameAndNothingToChooseFrom) {
  load(TestPlugin::scanner(u"Scanner"));  // no hard-probe face
  store(kActivePlugin, u"Arm");
  EXPECT_EQ(selected(), nullptr) << "no hard-probe plug-in is loaded yet";
  EXPECT_EQ(stored(kActivePlugin), "Arm") << "the user's choice outlives a start without any";

  IZelPlugin* first = load(TestPlugin::arm(u"First"));
  load(TestPlugin::arm(u"Second"));
  store(kActivePlugin, u"");
  EXPECT_EQ(selected(), nullptr) << "an empty name chooses nothing";
  EXPECT_EQ(stored(kActivePlugin), "");

  store(kActivePlugin, u"second");
  EXPECT_EQ(selected(), first) << "names match in their exact letter case; otherwise the first is taken";
  EXPECT_EQ(stored(kActivePlugin), "First");

  host_.root().setService(IZelPluginHandler::interfaceName, nullptr);
  EXPECT_EQ(selected(), nullptr);
  EXPECT_EQ(stored(kActivePlugin), "First") << "nor one without the host's plug-in handler";
}

TEST_F(HardProbeChoice, APluginWithoutAnAvailableFaceIsNeverChosen) {
  IZelPlugin* dead = load(new TestPlugin(
      u"Dead", {.single = true, .singleAvailable = false, .continuous = true, .continuousAvailable = false}));
  IZelPlugin* continuousOnly =
      load(new TestPlugin(u"Continuous", {.single = true, .singleAvailable = false, .continuous = true}));
  store(kActivePlugin, u"Dead");
  EXPECT_EQ(selected(), continuousOnly) << "one available face is enough";
  EXPECT_FALSE(manager_->setActivePlugin(dead));
  EXPECT_FALSE(manager_->acceptsPlugin(nullptr));
}

TEST_F(HardProbeChoice, TheUsersChoiceMustBeALoadedAcceptedPlugin) {
  IZelPlugin* emulator = load(TestPlugin::emulator(u"Hard Probe Emulator"));
  IZelPlugin* arm = load(TestPlugin::arm(u"Arm"));
  EXPECT_TRUE(manager_->setActivePlugin(emulator));
  EXPECT_EQ(explicitlySet(), 1);
  EXPECT_TRUE(manager_->setActivePlugin(arm));
  EXPECT_EQ(explicitlySet(), 0);

  IPtr<IZelPlugin> unlisted(TestPlugin::arm(u"Unlisted"));
  EXPECT_FALSE(manager_->setActivePlugin(unlisted.get()));
  EXPECT_EQ(manager_->currentPlugin(), arm) << "a refused choice changes nothing";
  EXPECT_EQ(stored(kActivePlugin), "Arm");

  ASSERT_TRUE(manager_->setActivePlugin(emulator));
  EXPECT_TRUE(manager_->setActivePlugin(nullptr));
  EXPECT_EQ(manager_->currentPlugin(), nullptr);
  EXPECT_EQ(stored(kActivePlugin), "");
  EXPECT_EQ(explicitlySet(), 1) << "choosing none says nothing of the emulator";
}

}  // namespace
