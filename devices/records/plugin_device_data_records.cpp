#include "devices/records/plugin_device_data_records.h"

#include <cstring>

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<PluginDeviceNullData> nullData(registeredClass("PluginDeviceNullData"));
const ClassRegistration<PluginDeviceRadiusData> radiusData(registeredClass("PluginDeviceRadiusData"));
const ClassRegistration<PluginDevicePositionData> positionData(registeredClass("PluginDevicePositionData"));
const ClassRegistration<PluginDevicePositionOrientationData> orientationData(
    registeredClass("PluginDevicePositionOrientationData"));
const ClassRegistration<PluginDeviceScanLineData> scanLineData(registeredClass("PluginDeviceScanLineData"));
const ClassRegistration<PluginDeviceCustomEventData> customEventData(
    registeredClass("PluginDeviceCustomEventData"));

// The bytes of x, y and z at the start of each source point record.
constexpr int32_t kPointBytes = 3 * sizeof(double);

template <class Record, class Interface>
void queryRecord(Record* record, const char* name, void** out) {
  QueryChain(name, out)
      .classLeaf(Record::interfaceName, record, record)
      .template offer<Interface>(record)
      .end();
}

}  // namespace

void PluginDeviceNullData::queryInterface(const char* name, void** out, bool) {
  queryRecord<PluginDeviceNullData, IZelPluginDeviceNullData>(this, name, out);
}

void PluginDeviceRadiusData::queryInterface(const char* name, void** out, bool) {
  queryRecord<PluginDeviceRadiusData, IZelPluginDeviceRadiusData>(this, name, out);
}

void PluginDevicePositionData::queryInterface(const char* name, void** out, bool) {
  queryRecord<PluginDevicePositionData, IZelPluginDevicePositionData>(this, name, out);
}

void PluginDevicePositionOrientationData::queryInterface(const char* name, void** out, bool) {
  queryRecord<PluginDevicePositionOrientationData, IZelPluginDevicePositionOrientationData>(this, name, out);
}

void PluginDeviceScanLineData::queryInterface(const char* name, void** out, bool) {
  queryRecord<PluginDeviceScanLineData, IZelPluginDeviceScanLineData>(this, name, out);
}

void PluginDeviceCustomEventData::queryInterface(const char* name, void** out, bool) {
  queryRecord<PluginDeviceCustomEventData, IZelPluginDeviceCustomEventData>(this, name, out);
}

PluginDeviceScanLineData::~PluginDeviceScanLineData() {
  if (buffers_) buffers_->give(std::move(points_));
}

void PluginDeviceScanLineData::drawFrom(std::shared_ptr<LineBuffers> buffers) {
  buffers_ = std::move(buffers);
  points_ = buffers_->take();
}

void PluginDeviceScanLineData::setPoints(const void* source, int32_t count, int32_t stride,
                                         const Matrix4x4& matrix) {
  count_ = 0;
  if (count <= 0 || !source) return;
  // A negative stride would step backwards out of the device's buffer: records are at least 24 bytes apart.
  const size_t step = static_cast<size_t>(kPointBytes) + static_cast<size_t>(stride < 0 ? 0 : stride);
  const auto* bytes = static_cast<const unsigned char*>(source);
  // Every point is written below, so a buffer long enough already is not cleared first.
  if (points_.size() < static_cast<size_t>(count) * 3) points_.resize(static_cast<size_t>(count) * 3);
  double* out = points_.data();
  for (int32_t i = 0; i < count; ++i, bytes += step, out += 3) {
    Vector3 raw;
    std::memcpy(&raw.x, bytes, sizeof(double));
    std::memcpy(&raw.y, bytes + sizeof(double), sizeof(double));
    std::memcpy(&raw.z, bytes + 2 * sizeof(double), sizeof(double));
    Vector3 mapped;
    Matrix4x4::transformPointTo(matrix, raw, mapped);
    out[0] = mapped.x;
    out[1] = mapped.y;
    out[2] = mapped.z;
  }
  count_ = count;
}

void PluginDeviceCustomEventData::setName(const char* name) {
  name_ = name;
}

void PluginDeviceCustomEventData::setPayload(const IZelUnknown* payload) {
  // The record keeps its own reference; holding it does not change the object.
  payload_ = const_cast<IZelUnknown*>(payload);
}
