#include <gtest/gtest.h>

#include "framework/object/query_part.h"
#include "tests/devices/devices/device_fixture.h"

namespace {

using DeviceStartup = DeviceTest;

TEST_F(DeviceStartup, RegistersThreeDevicesAndTwoManagersThatHaveChosenAndRefreshesTheHostOnce) {
  for (IZelPluginDevice* device : {single(), continuous(), laserScan()})
    EXPECT_EQ(queryPart<IZelPluginDevice>(device), device);
  EXPECT_STREQ(laserScan()->className(), "LaserScanDevice");
  EXPECT_STREQ(manager("HardProbe")->className(), "HardProbePluginManager");
  EXPECT_STREQ(manager("LaserScan")->className(), "LaserScanPluginManager");
  auto* arm = static_cast<IZelPlugin*>(plugin_.get());
  EXPECT_EQ(manager("HardProbe")->activePlugin(), arm);
  EXPECT_EQ(manager("LaserScan")->activePlugin(), arm) << "a scanner loaded for the first time is chosen";

  EXPECT_EQ(host_.gui().updateGui().refreshes(), 1);
  EXPECT_EQ(host_.gui().updateGui().lastRefreshed(), 0);
}

using DeviceConnect = DeviceTest;

TEST_F(DeviceConnect, AFailingPluginIsRetriedWhileTheUserAsksAndItsTextIsShown) {
  plugin_->continuousFace().failConnects(5, u"E");
  for (int32_t answer : {IGuiSimpleDlg::kAnswerYes, IGuiSimpleDlg::kAnswerYes, IGuiSimpleDlg::kAnswerNo})
    host_.gui().simpleDialog().queueAnswer(answer);
  EXPECT_FALSE(continuous()->connect());
  EXPECT_EQ(plugin_->continuousFace().connects(), 3);
  EXPECT_EQ(host_.gui().simpleDialog().shown().size(), 3u);
  for (const auto& box : host_.gui().simpleDialog().shown())
    EXPECT_TRUE(box.style == IGuiSimpleDlg::kQuestionStyle && box.text == u"E" && box.detail == u" ");
  EXPECT_FALSE(plugin_->continuousFace().isConnected());

  plugin_->continuousFace().failConnects(1, u"Arm not found");
  host_.gui().simpleDialog().queueAnswer(IGuiSimpleDlg::kAnswerYes);
  EXPECT_TRUE(continuous()->connect()) << "a retry that succeeds connects";
  EXPECT_TRUE(continuous()->connect());
  EXPECT_EQ(plugin_->continuousFace().connects(), 5) << "a connected plug-in is not connected again";
  EXPECT_EQ(host_.gui().simpleDialog().shown().size(), 4u);
}

TEST_F(DeviceConnect, DuringAReplayOnlyBecomingConnectedTakesTheReplayPluginAndOnlyADisconnectGivesItBack) {
  folder_.write("run.log", "");
  ASSERT_TRUE(host_.devices().replayer().startReplay(folder_.system("run.log")));
  IZelPluginManager* hardProbe = manager("HardProbe");
  IZelPlugin* arm = plugin_.get();
  ASSERT_TRUE(continuous()->connect());
  IZelPlugin* lent = hardProbe->activePlugin();
  EXPECT_NE(lent, arm);
  EXPECT_TRUE(continuous()->connect()) << "connected again, as a command does on every press";
  EXPECT_TRUE(continuous()->disconnect());
  EXPECT_EQ(hardProbe->activePlugin(), arm);

  ASSERT_TRUE(single()->connect());
  lent = hardProbe->activePlugin();
  EXPECT_NE(lent, arm);
  EXPECT_TRUE(continuous()->disconnect()) << "a device that is not connected";
  EXPECT_EQ(hardProbe->activePlugin(), lent) << "still the connected device's";
  EXPECT_TRUE(single()->disconnect());
  EXPECT_EQ(hardProbe->activePlugin(), arm);
}

}  // namespace
