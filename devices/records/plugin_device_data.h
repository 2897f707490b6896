#pragma once

// The records that carry one device event from the device's worker thread to the main thread, as the payload
// of a host data event: filled once by the device before posting, then only read (by the event handlers and
// the log writer). A getter of a vector answers the record's own three doubles (x, y, z), valid while the
// record lives; a setter copies three doubles. Records have no lock.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "host_api/zel_unknown.h"

// An event without data: start of capture, stop of capture, stop.
class IZelPluginDeviceNullData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceNullData";
};

class IZelPluginDeviceRadiusData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceRadiusData";
  virtual double radius() = 0;
  virtual void setRadius(double radius) = 0;
};

class IZelPluginDevicePositionData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDevicePositionData";
  virtual const double* point() = 0;
  virtual void setPoint(const double* xyz) = 0;
};

class IZelPluginDevicePositionOrientationData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDevicePositionOrientationData";
  virtual const double* point() = 0;
  virtual void setPoint(const double* xyz) = 0;
  virtual const double* to() = 0;
  virtual void setTo(const double* xyz) = 0;
  virtual const double* up() = 0;
  virtual void setUp(const double* xyz) = 0;
};

// The same six operations as the position-orientation record, but a different interface: a scan line does not
// answer to that record's name.
class IZelPluginDeviceScanLineData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceScanLineData";
  virtual const double* point() = 0;
  virtual void setPoint(const double* xyz) = 0;
  virtual const double* to() = 0;
  virtual void setTo(const double* xyz) = 0;
  virtual const double* up() = 0;
  virtual void setUp(const double* xyz) = 0;
  // The packed points (three doubles each), or null when the record has none.
  virtual const double* points() = 0;
  virtual int32_t pointCount() = 0;
  // Replaces the points by count source records of 24 bytes of x, y, z plus stride extra bytes, each mapped
  // through matrix. A count of 0 or less leaves the record without points.
  virtual void setPoints(const void* source, int32_t count, int32_t stride, const Matrix4x4& matrix) = 0;
  // Always 0: the record keeps its points packed.
  virtual int32_t stride() = 0;
};

class IZelPluginDeviceCustomEventData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDeviceCustomEventData";
  // The record's own copy of the name, or null while none was set.
  virtual const char* name() = 0;
  virtual void setName(const char* name) = 0;
  // The payload without a new reference, or null.
  virtual const IZelUnknown* payload() = 0;
  // Keeps one reference on the new payload (null clears it).
  virtual void setPayload(const IZelUnknown* payload) = 0;
};
