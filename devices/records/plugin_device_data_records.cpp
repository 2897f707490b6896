#include "devices/records/plugin_device_data_records.h"

#include <cmath>
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

// Two doubles in one register, to map a point's x and y together.
using DoublePair = double __attribute__((vector_size(16)));

// A finite point under an affine matrix. w is exactly 1 there, so the division transformPointTo makes
// changes nothing and is skipped; the rows x and y are two lanes of one register, each lane summing its
// products in the order transformPointTo sums them, so every coordinate comes out bit for bit the same.
class AffineMap {
 public:
  explicit AffineMap(const Matrix4x4& matrix)
      : x_{matrix.m[0], matrix.m[4]},
        y_{matrix.m[1], matrix.m[5]},
        z_{matrix.m[2], matrix.m[6]},
        t_{matrix.m[3], matrix.m[7]},
        row3_{matrix.m[8], matrix.m[9], matrix.m[10], matrix.m[11]} {}

  void map(double x, double y, double z, double* out) const {
    const DoublePair xy = x_ * x + y_ * y + z_ * z + t_;
    std::memcpy(out, &xy, sizeof xy);
    out[2] = row3_[0] * x + row3_[1] * y + row3_[2] * z + row3_[3];
  }

 private:
  DoublePair x_, y_, z_, t_;  // the columns of the rows x and y
  double row3_[4];
};

// Maps count source points, step bytes apart, into out (x, y, z each). Under an affine matrix a finite point
// takes AffineMap; any other point takes the division, which turns a non-finite point into NaN whole.
template <bool kAffine>
void mapPoints(const unsigned char* bytes, size_t step, int32_t count, const Matrix4x4& matrix, double* out) {
  const AffineMap affine(matrix);
  for (int32_t i = 0; i < count; ++i, bytes += step, out += 3) {
    Vector3 raw;
    std::memcpy(&raw.x, bytes, sizeof(double));
    std::memcpy(&raw.y, bytes + sizeof(double), sizeof(double));
    std::memcpy(&raw.z, bytes + 2 * sizeof(double), sizeof(double));
    // The sum is finite only when every coordinate is; a sum that overflows sends a finite point the
    // general way, which maps it the same.
    if (kAffine && std::isfinite(raw.x + raw.y + raw.z)) {
      affine.map(raw.x, raw.y, raw.z, out);
      continue;
    }
    Vector3 mapped;
    Matrix4x4::transformPointTo(matrix, raw, mapped);
    out[0] = mapped.x;
    out[1] = mapped.y;
    out[2] = mapped.z;
  }
}

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
  if (matrix.isAffine())
    mapPoints<true>(bytes, step, count, matrix, points_.data());
  else
    mapPoints<false>(bytes, step, count, matrix, points_.data());
  count_ = count;
}

void PluginDeviceCustomEventData::setName(const char* name) {
  name_ = name;
}

void PluginDeviceCustomEventData::setPayload(const IZelUnknown* payload) {
  // The record keeps its own reference; holding it does not change the object.
  payload_ = const_cast<IZelUnknown*>(payload);
}
