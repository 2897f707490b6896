#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/plugin_options/plugin_options_cmd.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "gen/palpera/palpera_icons.h"
#include "tests/commands/plugin_options/options_plugin.h"
#include "tests/commands/support/command_fixture.h"

namespace {

using Journal = std::vector<std::string>;
using Messages = std::vector<std::u16string>;
using Start = CommandRunner::Start;

constexpr const char* kContinuousReceiver = "IZelHardProbeContinuousDataReceiver";

OptionEntry entry(const char* category, const char* key, const char* device, const char16_t* caption) {
  OptionEntry made;
  made.category = category;
  made.key = key;
  made.device = device;
  made.caption = caption;
  return made;
}
OptionEntry armEntry(const char* key, const char* device = "HardProbe") {
  return entry("HardProbe", key, device, u"Calibrate");
}
OptionEntry scanEntry(const char* key) {
  return entry("LaserScan", key, "LaserScan", u"Scanner set-up");
}

// A real PNG file: the module's own 14 x 14 "delete" icon.
std::vector<uint8_t> pngIcon() {
  return {kIconDelete, kIconDelete + sizeof kIconDelete};
}

class PluginOptions : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    registry_->setManager(ZelCString("HardProbe"), hardProbe_.get());
    registry_->setManager(ZelCString("LaserScan"), laserScan_.get());
    addDevice("HardProbe", "IZelHardProbeDataReceiver");
    addDevice("HardProbeContinuous", kContinuousReceiver);
    addDevice("LaserScan", "IZelLaserScanDataReceiver");
  }

  // Loads an arm offering entries and makes it the active hard-probe plug-in.
  void offerArm(const char16_t* name, std::vector<OptionEntry> entries) {
    activate(hardProbe_.get(),
             new OptionsPlugin(name, {.single = true, .continuous = true}, entries, journal_));
  }
  void offerScanner(const char16_t* name, std::vector<OptionEntry> entries) {
    activate(laserScan_.get(), new OptionsPlugin(name, {.laserScan = true}, entries, journal_));
  }
  TestDevice* device(const char* name) {
    return static_cast<TestDevice*>(registry_->getDevice(ZelCString(name)));
  }
  HostGuiDialog::Control control(int32_t id) {
    std::optional<HostGuiDialog::Control> found = dialog().control(id);
    EXPECT_TRUE(found) << "no control " << id;
    return found.value_or(HostGuiDialog::Control{});
  }
  bool press(int32_t id) {
    journal_.clear();
    return dialog().pressButton(id);
  }

  IPtr<HardProbePluginManager> hardProbe_{new HardProbePluginManager};
  IPtr<LaserScanPluginManager> laserScan_{new LaserScanPluginManager};

 private:
  void activate(IZelPluginManager* manager, OptionsPlugin* plugin) {
    host_.pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin));
    ASSERT_TRUE(manager->setActivePlugin(plugin));
  }
};

TEST_F(PluginOptions, EntriesOfBothGroupsAreNumberedOnFromFourUnderTheirPlugInsTitles) {
  offerArm(u"Arm7", {armEntry("zero"), armEntry("home", "HardProbeContinuous")});
  offerScanner(u"Scan3", {scanEntry("exposure")});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);

  std::map<int32_t, HostGuiDialog::Control> controls = dialog().controls();
  for (int32_t id : {4, 5, 6}) {
    EXPECT_EQ(controls[id].name, u"ControlBaseID+" + std::u16string(1, char16_t(u'0' + id)));
    EXPECT_EQ(controls[id].kind, "button");
    EXPECT_TRUE(controls[id].flag);
  }
  EXPECT_EQ(controls[4].parent, 2);
  EXPECT_EQ(controls[5].parent, 2);
  EXPECT_EQ(controls[6].parent, 3);
  EXPECT_EQ(controls[6].text, u"Scanner set-up");
  EXPECT_EQ(controls[2].name, u"HardProbeBox");
  EXPECT_EQ(controls[2].text, u"Hard Probe Plug-In (Arm7)");
  EXPECT_EQ(controls[3].name, u"LaserScanBox");
  EXPECT_EQ(controls[3].text, u"Scanning Plug-In (Scan3)");
  EXPECT_TRUE(controls[2].flag && controls[3].flag);
  EXPECT_EQ(controls.size(), 6u) << "the main box, two groups, three entries";

  EXPECT_EQ(dialog().icon(IGuiDialog::kDialogIcon), "blank");
  EXPECT_FALSE(dialog().standardControlShown(IGuiDialog::kStandardControl1));
  EXPECT_FALSE(dialog().standardControlShown(IGuiDialog::kStandardControl2));
  EXPECT_EQ(dialog().openLayouts(), 0u);
  EXPECT_EQ(dialog().strayCalls(), 0);

  EXPECT_TRUE(press(6));
  EXPECT_EQ(journal_, (Journal{"connect LaserScan", "run exposure"})) << "the scanning entry, on its device";
  EXPECT_TRUE(press(5));
  EXPECT_EQ(journal_, (Journal{"disconnect LaserScan", "connect HardProbeContinuous", "run home"}));
}

TEST_F(PluginOptions, OnlyShownEntriesTakeIdsAndAnEmptyGroupIsSwitchedOff) {
  OptionEntry noDevice = armEntry("orphan", "");
  OptionEntry noKey = scanEntry("");
  offerArm(u"Arm7", {noDevice});
  offerScanner(u"Scan3", {noKey, scanEntry("first"), scanEntry("second")});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);

  EXPECT_FALSE(control(2).flag) << "the hard-probe group has nothing to show";
  EXPECT_EQ(control(2).text, u"");
  EXPECT_EQ(control(3).text, u"Scanning Plug-In (Scan3)");
  EXPECT_EQ(control(4).name, u"ControlBaseID+4");
  EXPECT_EQ(control(5).name, u"ControlBaseID+5");
  EXPECT_FALSE(dialog().control(6));
  press(5);
  EXPECT_EQ(journal_, (Journal{"connect LaserScan", "run second"}));
  EXPECT_FALSE(press(6)) << "no button past the entries shown";
}

TEST_F(PluginOptions, EntriesOfOneDeviceKeepItHeldUntilAnotherIsNeededOrTheCommandEnds) {
  offerArm(u"Arm7", {armEntry("zero"), armEntry("home"), armEntry("trace", "HardProbeContinuous")});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);
  press(4);
  EXPECT_EQ(journal_, (Journal{"connect HardProbe", "run zero"}));
  press(5);
  EXPECT_EQ(journal_, (Journal{"connect HardProbe", "run home"})) << "connected again, not disconnected";
  EXPECT_TRUE(device("HardProbe")->connected());
  press(6);
  EXPECT_EQ(journal_, (Journal{"disconnect HardProbe", "connect HardProbeContinuous", "run trace"}));

  journal_.clear();
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(journal_, (Journal{"disconnect HardProbeContinuous"}));
  EXPECT_TRUE(errorMessages().empty());
}

TEST_F(PluginOptions, AFailedConnectOrEntryIsReportedAndOnlyAConnectedDeviceStaysHeld) {
  offerArm(u"Arm7", {armEntry("zero"), armEntry("nowhere", "NoSuchDevice")});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);
  device("HardProbe")->answers.connect = false;
  press(4);
  EXPECT_EQ(journal_, (Journal{"connect HardProbe"})) << "the entry does not run without its device";
  EXPECT_EQ(errorMessages(), Messages{u"Unable to connect to device."});

  device("HardProbe")->answers.connect = true;
  press(5);
  EXPECT_EQ(journal_, Journal{}) << "a device the registry lacks";
  EXPECT_EQ(errorMessages().back(), u"Unable to connect to device.");

  host_.errors().clear();
  press(4);
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(journal_, (Journal{"connect HardProbe", "run zero", "disconnect HardProbe"}));
  EXPECT_TRUE(errorMessages().empty());
}

TEST_F(PluginOptions, AnEntryThePlugInFailsToRunIsReportedWithItsDeviceKeptConnected) {
  OptionEntry failing = armEntry("broken");
  failing.runs = false;
  offerArm(u"Arm7", {failing});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);
  press(4);
  EXPECT_EQ(journal_, (Journal{"connect HardProbe", "run broken"}));
  EXPECT_EQ(errorMessages(), Messages{u"Unable to execute command."});
  EXPECT_TRUE(device("HardProbe")->connected());
}

TEST_F(PluginOptions, NeverRunsInsideACommandOrWhileAMacroIsRecordedOrWithNothingToOffer) {
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kCannotRun) << "no plug-in offers an entry";
  offerScanner(u"Scan3", {scanEntry("exposure")});
  host_.commandContainer().setRecordingMacro(true);
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kCannotRun);
  host_.commandContainer().setRecordingMacro(false);
  host_.commandContainer().setInCommand(true);
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kCannotRun);
  host_.commandContainer().setInCommand(false);
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kStarted);
}

TEST_F(PluginOptions, AnOfferWithoutAnyEntryToShowIsRefusedAtActivation) {
  offerArm(u"Arm7", {armEntry("orphan", "")});
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kActivationRefused) << "counted, but nothing to show";
  EXPECT_TRUE(dialog().controls().empty()) << "the host closed the refused dialog";
}

TEST_F(PluginOptions, OnlyAnIconThatArrivesWholeAndDecodesIsShownAndAnOversizedOneIsNeverFetched) {
  OptionEntry good = armEntry("good");
  good.icon = pngIcon();
  OptionEntry garbled = armEntry("garbled");
  garbled.icon = pngIcon();
  garbled.icon.resize(garbled.icon.size() / 2);
  OptionEntry withheld = armEntry("withheld");
  withheld.icon = pngIcon();
  withheld.deliversIcon = false;
  OptionEntry padded = armEntry("padded");  // a real icon in a buffer as large as an icon may be
  padded.icon = pngIcon();
  padded.claimedIconSize = PluginOptionsCmd::kLargestIconBytes;
  OptionEntry oversized = armEntry("oversized");
  oversized.icon = pngIcon();
  oversized.claimedIconSize = PluginOptionsCmd::kLargestIconBytes + 1;
  offerArm(u"Arm7", {good, garbled, withheld, padded, oversized});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);

  EXPECT_EQ(control(4).kind, "imagebutton");
  ASSERT_TRUE(control(4).image);
  EXPECT_EQ(control(4).image->width(), 14u);
  EXPECT_EQ(control(7).kind, "imagebutton");
  for (int32_t plain : {5, 6, 8}) {
    EXPECT_EQ(control(plain).kind, "button") << plain;
    EXPECT_FALSE(control(plain).image) << plain;
  }
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "icon oversized"), 0);
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "icon padded"), 1);
}

TEST_F(PluginOptions, AnswersUnderItsOwnNameAsADialogRemoverAndAsACommand) {
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PluginOptionsCmd"));
  ASSERT_TRUE(command);
  EXPECT_EQ(std::u16string(command->name()->c_str()), u"Plug-In Options");
  EXPECT_EQ(command->kind(), 3u);
  EXPECT_STREQ(command->className(), "PluginOptionsCmd");
  void* part = nullptr;
  command->queryInterface("IDialogRemover", &part, false);
  ASSERT_TRUE(part);
  EXPECT_TRUE(static_cast<IDialogRemover*>(part)->canRemoveDialog());
  for (const char* name : {"PluginOptionsCmd", "CompBaseCmd", "IComponentCommand", "IZelUnknown"}) {
    part = nullptr;
    command->queryInterface(name, &part, false);
    EXPECT_TRUE(part) << name;
  }
}

}  // namespace
