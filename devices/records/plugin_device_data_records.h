#pragma once

// The six record classes, one per event kind. Each is a creatable class of the module (a new record per
// request): a device makes a fresh record for every event through the host's object creation by class id.

#include <memory>
#include <vector>

#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "devices/records/line_buffers.h"
#include "devices/records/plugin_device_data.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"

class PluginDeviceNullData : public IZelPluginDeviceNullData, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceNullData";
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

class PluginDeviceRadiusData : public IZelPluginDeviceRadiusData, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceRadiusData";
  double radius() override { return radius_; }
  void setRadius(double radius) override { radius_ = radius; }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  double radius_ = 0.0;
};

class PluginDevicePositionData : public IZelPluginDevicePositionData, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDevicePositionData";
  const double* point() override { return point_; }
  void setPoint(const double* xyz) override { storeVector3(point_, xyz); }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  double point_[3] = {};
};

// The point and the two directions that the position-orientation and scan-line records share.
class OrientedPosition {
 public:
  const double* point() { return point_; }
  void setPoint(const double* xyz) { storeVector3(point_, xyz); }
  const double* to() { return to_; }
  void setTo(const double* xyz) { storeVector3(to_, xyz); }
  const double* up() { return up_; }
  void setUp(const double* xyz) { storeVector3(up_, xyz); }

 private:
  double point_[3] = {};
  double to_[3] = {};
  double up_[3] = {};
};

class PluginDevicePositionOrientationData : public IZelPluginDevicePositionOrientationData,
                                            public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDevicePositionOrientationData";
  const double* point() override { return position_.point(); }
  void setPoint(const double* xyz) override { position_.setPoint(xyz); }
  const double* to() override { return position_.to(); }
  void setTo(const double* xyz) override { position_.setTo(xyz); }
  const double* up() override { return position_.up(); }
  void setUp(const double* xyz) override { position_.setUp(xyz); }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  OrientedPosition position_;
};

// A record given line buffers keeps its points in one drawn from them and hands it back when it goes; any
// other keeps a buffer of its own.
class PluginDeviceScanLineData : public IZelPluginDeviceScanLineData, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceScanLineData";
  PluginDeviceScanLineData() = default;
  PluginDeviceScanLineData(const PluginDeviceScanLineData&) = delete;
  PluginDeviceScanLineData& operator=(const PluginDeviceScanLineData&) = delete;
  ~PluginDeviceScanLineData() override;

  const double* point() override { return position_.point(); }
  void setPoint(const double* xyz) override { position_.setPoint(xyz); }
  const double* to() override { return position_.to(); }
  void setTo(const double* xyz) override { position_.setTo(xyz); }
  const double* up() override { return position_.up(); }
  void setUp(const double* xyz) override { position_.setUp(xyz); }
  const double* points() override { return count_ == 0 ? nullptr : points_.data(); }
  int32_t pointCount() override { return count_; }
  void setPoints(const void* source, int32_t count, int32_t stride, const Matrix4x4& matrix) override;
  int32_t stride() override { return 0; }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

  // Before the first setPoints: the buffer comes from buffers, and goes back there.
  void drawFrom(std::shared_ptr<LineBuffers> buffers);

 private:
  OrientedPosition position_;
  std::shared_ptr<LineBuffers> buffers_;  // null: points_ is the record's own
  LineBuffers::Buffer points_;            // packed x, y, z per point; at least 3 * count_ long
  int32_t count_ = 0;
};

class PluginDeviceCustomEventData : public IZelPluginDeviceCustomEventData, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceCustomEventData";
  const char* name() override { return name_.data(); }
  void setName(const char* name) override;
  const IZelUnknown* payload() override { return payload_.get(); }
  void setPayload(const IZelUnknown* payload) override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelCString name_;
  IPtr<IZelUnknown> payload_;
};
