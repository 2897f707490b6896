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

OptionEntry armEntry(const char* key, const char* device = "HardProbe") {
  return {"HardProbe", key, device, u"Calibrate", {}};
}
OptionEntry scanEntry(const char* key) {
  return {"LaserScan", key, "LaserScan", u"Scanner set-up", {}};
}

class PluginOptions : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    registry_->setManager(ZelCString("HardProbe"), hardProbe_.get());
    registry_->setManager(ZelCString("LaserScan"), laserScan_.get());
    arm_ = addDevice("HardProbe", "IZelHardProbeDataReceiver");
    addDevice("HardProbeContinuous", "IZelHardProbeContinuousDataReceiver");
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
  HostGuiDialog::Control control(int32_t id) {
    std::optional<HostGuiDialog::Control> found = dialog().control(id);
    EXPECT_TRUE(found) << "no control " << id;
    return found.value_or(HostGuiDialog::Control{});
  }

  IPtr<HardProbePluginManager> hardProbe_{new HardProbePluginManager};
  IPtr<LaserScanPluginManager> laserScan_{new LaserScanPluginManager};
  TestDevice* arm_ = nullptr;

 private:
  void activate(IZelPluginManager* manager, OptionsPlugin* plugin) {
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin));
    ASSERT_TRUE(manager->setActivePlugin(plugin));
  }
};

TEST_F(PluginOptions, OnlyShownEntriesOfBothGroupsAreNumberedOnFromFourUnderTheirPlugInsTitles) {
  offerArm(u"Arm7", {armEntry("zero"), armEntry("orphan", ""), armEntry("home", "HardProbeContinuous")});
  offerScanner(u"Scan3", {scanEntry(""), scanEntry("exposure")});  // no device, no key: not shown
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);

  std::map<int32_t, HostGuiDialog::Control> controls = dialog().controls();
  EXPECT_EQ(controls.size(), 6u) << "the main box, two groups, three entries";
  EXPECT_EQ(controls[2].text, u"Hard Probe Plug-In (Arm7)");
  EXPECT_EQ(controls[3].text, u"Scanning Plug-In (Scan3)");
  EXPECT_TRUE(controls[5].parent == 2 && controls[6].parent == 3 && controls[6].text == u"Scanner set-up");
  EXPECT_EQ(dialog().icon(IGuiDialog::kDialogIcon), "blank");
  EXPECT_FALSE(dialog().standardControlShown(IGuiDialog::kStandardControl1));
  EXPECT_EQ(dialog().openLayouts(), 0u);
  EXPECT_EQ(dialog().strayCalls(), 0);

  EXPECT_TRUE(press(6));
  EXPECT_EQ(journal_, (Journal{"connect LaserScan", "run exposure"})) << "the scanning entry, on its device";
  EXPECT_TRUE(press(5));
  EXPECT_EQ(journal_, (Journal{"disconnect LaserScan", "connect HardProbeContinuous", "run home"}));
  EXPECT_FALSE(press(7)) << "no button past the entries shown";
}

TEST_F(PluginOptions, AnEntrysDeviceIsHeldUntilAnotherIsNeededOrTheCommandEndsAndFailuresAreReported) {
  OptionEntry failing = armEntry("broken");
  failing.runs = false;
  offerArm(u"Arm7", {armEntry("zero"), armEntry("home"), armEntry("trace", "HardProbeContinuous"),
                     armEntry("nowhere", "NoSuchDevice"), failing});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);
  arm_->answers.connect = false;
  press(4);
  EXPECT_EQ(journal_, (Journal{"connect HardProbe"})) << "the entry does not run without its device";
  EXPECT_EQ(errorMessages(), Messages{u"Unable to connect to device."});
  arm_->answers.connect = true;
  press(4);
  press(5);
  EXPECT_EQ(journal_, (Journal{"connect HardProbe", "run home"})) << "connected again, not disconnected";
  press(6);
  EXPECT_EQ(journal_, (Journal{"disconnect HardProbe", "connect HardProbeContinuous", "run trace"}));
  press(7);
  EXPECT_EQ(journal_, Journal{"disconnect HardProbeContinuous"}) << "a device the registry lacks";
  EXPECT_EQ(errorMessages().back(), u"Unable to connect to device.");
  host_.core().errors().clear();
  press(8);
  EXPECT_EQ(errorMessages(), Messages{u"Unable to execute command."});
  journal_.clear();
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(journal_, (Journal{"disconnect HardProbe"})) << "held still after a failed entry";
}

TEST_F(PluginOptions, NeverRunsInsideACommandOrWhileAMacroIsRecordedOrWithNothingToShow) {
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kCannotRun) << "no plug-in offers an entry";
  offerArm(u"Arm7", {armEntry("orphan", "")});
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kActivationRefused) << "counted, but nothing to show";
  offerScanner(u"Scan3", {scanEntry("exposure")});
  host_.gui().commandContainer().setRecordingMacro(true);
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kCannotRun);
  host_.gui().commandContainer().setRecordingMacro(false);
  host_.gui().commandContainer().setInCommand(true);
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kCannotRun);
  host_.gui().commandContainer().setInCommand(false);
  EXPECT_EQ(start("PluginOptionsCmd"), Start::kStarted);
  EXPECT_FALSE(control(2).flag) << "the hard-probe group has nothing to show";
  EXPECT_EQ(control(2).text, u"");
}

TEST_F(PluginOptions, OnlyAnIconThatArrivesWholeAndDecodesIsShownAndAnOversizedOneIsNeverFetched) {
  // The module's own 14 x 14 "delete" icon: whole, cut, withheld, in a buffer as large as an icon may be, and
  // claimed larger.
  const std::vector<uint8_t> icon(kIconDelete, kIconDelete + sizeof kIconDelete),
      half(icon.begin(), icon.begin() + icon.size() / 2);
  const uint32_t largest = PluginOptionsCmd::kLargestIconBytes;
  offerArm(u"Arm7", {{"HardProbe", "good", "HardProbe", u"Calibrate", icon},
                     {"HardProbe", "garbled", "HardProbe", u"Calibrate", half},
                     {"HardProbe", "withheld", "HardProbe", u"Calibrate", icon, 0, false},
                     {"HardProbe", "padded", "HardProbe", u"Calibrate", icon, largest},
                     {"HardProbe", "oversized", "HardProbe", u"Calibrate", icon, largest + 1}});
  ASSERT_EQ(start("PluginOptionsCmd"), Start::kStarted);

  EXPECT_EQ(control(4).kind, "imagebutton");
  ASSERT_TRUE(control(4).image);
  EXPECT_TRUE(control(4).image->width() == 14 && control(4).image->height() == 14);
  EXPECT_EQ(control(7).kind, "imagebutton");
  for (int32_t plain : {5, 6, 8})
    EXPECT_TRUE(control(plain).kind == "button" && !control(plain).image) << plain;
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "icon oversized"), 0);
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "icon padded"), 1);
}

}  // namespace
