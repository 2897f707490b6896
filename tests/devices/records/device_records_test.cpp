#include <gtest/gtest.h>

#include <vector>

#include "devices/records/plugin_device_data.h"
#include "framework/registrations/registered_classes.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

class DeviceRecords : public ModuleTest {
 protected:
  // A fresh record made as a device makes it: by class id through the host.
  template <class Interface>
  IPtr<Interface> make(const char* className) {
    IPtr<Interface> record;
    record.createInstance(classIdOf(className));
    return record;
  }
};

std::vector<double> vec(const double* xyz) {
  return {xyz[0], xyz[1], xyz[2]};
}

TEST_F(DeviceRecords, NewRecordsHoldZerosAndNoPoints) {
  EXPECT_EQ(make<IZelPluginDeviceRadiusData>("PluginDeviceRadiusData")->radius(), 0.0);
  EXPECT_EQ(vec(make<IZelPluginDevicePositionData>("PluginDevicePositionData")->point()),
            (std::vector<double>{0, 0, 0}));
  auto oriented = make<IZelPluginDevicePositionOrientationData>("PluginDevicePositionOrientationData");
  EXPECT_EQ(vec(oriented->up()), (std::vector<double>{0, 0, 0}));
  auto line = make<IZelPluginDeviceScanLineData>("PluginDeviceScanLineData");
  EXPECT_EQ(line->points(), nullptr);
  EXPECT_EQ(line->pointCount(), 0);
  EXPECT_EQ(line->stride(), 0);
  auto custom = make<IZelPluginDeviceCustomEventData>("PluginDeviceCustomEventData");
  EXPECT_EQ(custom->name(), nullptr);
  EXPECT_EQ(custom->payload(), nullptr);
  EXPECT_TRUE(make<IZelPluginDeviceNullData>("PluginDeviceNullData"));
}

TEST_F(DeviceRecords, SettersCopyTheirValues) {
  auto oriented = make<IZelPluginDevicePositionOrientationData>("PluginDevicePositionOrientationData");
  double values[3] = {1, 2, 3};
  oriented->setPoint(values);
  values[0] = 9;
  oriented->setTo(values);
  EXPECT_EQ(vec(oriented->point()), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(vec(oriented->to()), (std::vector<double>{9, 2, 3}));

  auto custom = make<IZelPluginDeviceCustomEventData>("PluginDeviceCustomEventData");
  char name[] = "Error";
  custom->setName(name);
  name[0] = 'X';
  EXPECT_STREQ(custom->name(), "Error");
}

TEST_F(DeviceRecords, ScanLinePointsAreMappedAndStrideSkipsTheDevicesExtraBytes) {
  auto line = make<IZelPluginDeviceScanLineData>("PluginDeviceScanLineData");
  // Two device records of 24 + 16 bytes: x, y, z and two doubles the device adds.
  double source[10] = {1, 2, 3, -1, -1, 4, 5, 6, -1, -1};
  line->setPoints(source, 2, 16, Matrix4x4::translation(Vector3(1, 2, 3)));
  ASSERT_EQ(line->pointCount(), 2);
  EXPECT_EQ(std::vector<double>(line->points(), line->points() + 6), (std::vector<double>{2, 4, 6, 5, 7, 9}));
  EXPECT_EQ(line->stride(), 0) << "the record keeps its points packed";

  line->setPoints(source, 2, -24, Matrix4x4::identity());
  EXPECT_EQ(std::vector<double>(line->points(), line->points() + 6),
            (std::vector<double>{1, 2, 3, -1, -1, 4}))
      << "a negative stride never steps before the source";

  line->setPoints(source, 0, 0, Matrix4x4::identity());
  EXPECT_EQ(line->points(), nullptr);
  EXPECT_EQ(line->pointCount(), 0);
}

TEST_F(DeviceRecords, ThePayloadIsHeldByOneReference) {
  auto custom = make<IZelPluginDeviceCustomEventData>("PluginDeviceCustomEventData");
  IPtr<CountedProbe> payload(new CountedProbe);
  custom->setPayload(payload.get());
  EXPECT_EQ(payload->refCount(), 2u);
  custom->setPayload(payload.get());
  EXPECT_EQ(payload->refCount(), 2u) << "the payload already held changes no count";
  custom->setPayload(nullptr);
  EXPECT_EQ(payload->refCount(), 1u);
}

TEST_F(DeviceRecords, AScanLineIsNotAPositionOrientationRecord) {
  auto line = make<IZelPluginDeviceScanLineData>("PluginDeviceScanLineData");
  void* out = nullptr;
  line->queryInterface("IZelPluginDevicePositionOrientationData", &out, false);
  EXPECT_EQ(out, nullptr);
  line->queryInterface("IZelPluginDeviceScanLineData", &out, false);
  EXPECT_NE(out, nullptr);
  EXPECT_STREQ(line->className(), "PluginDeviceScanLineData");
}

}  // namespace
