#pragma once

// Device data records for tests, made as a device makes them: a fresh record per event through the host's
// object creation by class id, filled once.

#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "devices/records/plugin_device_data.h"
#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"

namespace device_records {

template <class Record>
IPtr<Record> make(const char* className) {
  IPtr<Record> record;
  record.createInstance(classIdOf(className));
  return record;
}

inline IPtr<IZelPluginDeviceNullData> null() {
  return make<IZelPluginDeviceNullData>("PluginDeviceNullData");
}

inline IPtr<IZelPluginDeviceRadiusData> radius(double value) {
  auto record = make<IZelPluginDeviceRadiusData>("PluginDeviceRadiusData");
  record->setRadius(value);
  return record;
}

inline IPtr<IZelPluginDevicePositionData> position(const Vector3& point) {
  auto record = make<IZelPluginDevicePositionData>("PluginDevicePositionData");
  record->setPoint(&point.x);
  return record;
}

inline IPtr<IZelPluginDevicePositionOrientationData> oriented(const Vector3& point, const Vector3& to,
                                                              const Vector3& up) {
  auto record = make<IZelPluginDevicePositionOrientationData>("PluginDevicePositionOrientationData");
  record->setPoint(&point.x);
  record->setTo(&to.x);
  record->setUp(&up.x);
  return record;
}

inline IPtr<IZelPluginDeviceScanLineData> scanLine(const Vector3& point, const Vector3& to, const Vector3& up,
                                                   const std::vector<Vector3>& points) {
  auto record = make<IZelPluginDeviceScanLineData>("PluginDeviceScanLineData");
  record->setPoint(&point.x);
  record->setTo(&to.x);
  record->setUp(&up.x);
  record->setPoints(points.data(), static_cast<int32_t>(points.size()), 0, Matrix4x4::identity());
  return record;
}

inline IPtr<IZelPluginDeviceCustomEventData> custom(const std::string& name, IZelUnknown* payload = nullptr) {
  auto record = make<IZelPluginDeviceCustomEventData>("PluginDeviceCustomEventData");
  record->setName(name.c_str());
  record->setPayload(payload);
  return record;
}

}  // namespace device_records
