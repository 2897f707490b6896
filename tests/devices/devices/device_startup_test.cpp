#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/contracts/plugin.h"
#include "tests/devices/devices/device_fixture.h"

namespace {

using DeviceStartup = DeviceTest;

TEST_F(DeviceStartup, RegistersThreeDevicesAndTwoManagersThatHaveChosenAndRefreshesTheHostOnce) {
  ASSERT_NE(single(), nullptr);
  ASSERT_NE(continuous(), nullptr);
  ASSERT_NE(laserScan(), nullptr);
  EXPECT_STREQ(single()->className(), "HardProbeDevice");
  EXPECT_STREQ(continuous()->className(), "HardProbeContinuousDevice");
  EXPECT_STREQ(laserScan()->className(), "LaserScanDevice");
  for (IZelPluginDevice* d : {single(), continuous(), laserScan()}) {
    void* part = nullptr;
    d->queryInterface(IZelPluginDevice::interfaceName, &part, false);
    EXPECT_EQ(part, d);
  }

  ASSERT_NE(manager("HardProbe"), nullptr);
  ASSERT_NE(manager("LaserScan"), nullptr);
  EXPECT_STREQ(manager("HardProbe")->className(), "HardProbePluginManager");
  EXPECT_STREQ(manager("LaserScan")->className(), "LaserScanPluginManager");
  auto* arm = static_cast<IZelPlugin*>(plugin_.get());
  EXPECT_EQ(manager("HardProbe")->activePlugin(), arm);
  EXPECT_EQ(manager("LaserScan")->activePlugin(), arm) << "a scanner loaded for the first time is chosen";

  EXPECT_EQ(host_.updateGui().refreshes(), 1);
  EXPECT_EQ(host_.updateGui().lastRefreshed(), 0);
}

TEST_F(DeviceStartup, EachDeviceRegistersItsGroupAndEventNamesInOrder) {
  std::vector<std::string> keys;
  for (const DataItemRegistration& item : host_.dataStore().listGroup("Palpera/Events"))
    keys.push_back(item.key);
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "Palpera/Events",
                      "Palpera/Events/Single",
                      "Palpera/Events/Single/RadiusEvent",
                      "Palpera/Events/Single/MovedEvent",
                      "Palpera/Events/Single/SampledEvent",
                      "Palpera/Events/Single/StopEvent",
                      "Palpera/Events/Single/CustomEvent",
                      "Palpera/Events/Continuous",
                      "Palpera/Events/Continuous/RadiusEvent",
                      "Palpera/Events/Continuous/StartCaptureEvent",
                      "Palpera/Events/Continuous/StopCaptureEvent",
                      "Palpera/Events/Continuous/MovedEvent",
                      "Palpera/Events/Continuous/SampledEvent",
                      "Palpera/Events/Continuous/OnStop",
                      "Palpera/Events/Continuous/CustomEvent",
                      "Palpera/Events/LaserScan",
                      "Palpera/Events/LaserScan/StartCaptureEvent",
                      "Palpera/Events/LaserScan/StopCaptureEvent",
                      "Palpera/Events/LaserScan/MovedEvent",
                      "Palpera/Events/LaserScan/SampledEvent",
                      "Palpera/Events/LaserScan/OnStop",
                      "Palpera/Events/LaserScan/CustomEvent",
                  }));
}

}  // namespace
