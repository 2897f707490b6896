#include <gtest/gtest.h>

#include "devices/contracts/plugin.h"
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

}  // namespace
