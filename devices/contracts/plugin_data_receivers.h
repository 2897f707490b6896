#pragma once

// The receivers of device events. A plug-in's `run` calls the receiver of its face's kind on the device's
// worker thread (that receiver is always the device's own callback); the device then calls the receivers that
// commands registered with it, on the host's main thread, in part coordinates. Points are in metres; `to` and
// `up` are the probe's or scanner's two directions. None of the operations returns a result, and a receiver
// must not throw.

#include <cstdint>

#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

// Marks an object as a device receiver: registration with a device goes through this interface.
class IZelPluginDataReceiver : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDataReceiver";
};

// The single-point hard probe's receiver.
class IZelHardProbeDataReceiver : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeDataReceiver";
  // The device's custom event that takes back the last point sampled.
  static constexpr const char* kUndoLastSampledEvent = "UndoLastSampled";

  virtual void setProbeRadius(double radius) = 0;
  virtual void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) = 0;
  virtual void onPointSampled(const Vector3& point) = 0;
  // The point taken to end a feature.
  virtual void onPointStop(const Vector3& point) = 0;
  // A named event ("Error", "Cancel", "UndoLastSampled", ...); payload may be null and is not the receiver's.
  virtual void onCustomEvent(const ZelCString& name, IZelUnknown* payload) = 0;
};

// The form in which a single-point receiver is registered with the single-point device.
class IZelHardProbeDataReceiverV2 : public virtual IZelHardProbeDataReceiver,
                                    public virtual IZelPluginDataReceiver {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeDataReceiverV2";
};

// The continuous hard probe's receiver.
class IZelHardProbeContinuousDataReceiver : public virtual IZelPluginDataReceiver {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeContinuousDataReceiver";

  virtual void setProbeRadius(double radius) = 0;
  virtual void onStartCapture() = 0;
  virtual void onStopCapture() = 0;
  virtual void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) = 0;
  virtual void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) = 0;
  virtual void onStop() = 0;
  virtual void onCustomEvent(const ZelCString& name, IZelUnknown* payload) = 0;
};

// The laser line scanner's receiver. A scan line's points are count records, each starting with the point's
// x, y, z as doubles and followed by stride further bytes (0 for packed points); they are valid only during
// the call.
class IZelLaserScanDataReceiver : public virtual IZelPluginDataReceiver {
 public:
  static constexpr const char* interfaceName = "IZelLaserScanDataReceiver";

  virtual void onStartCapture() = 0;
  virtual void onStopCapture() = 0;
  virtual void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) = 0;
  virtual void onSampled(const Vector3& point, const Vector3& to, const Vector3& up, const void* points,
                         uint32_t count, uint32_t stride) = 0;
  virtual void onStop() = 0;
  virtual void onCustomEvent(const ZelCString& name, IZelUnknown* payload) = 0;
};
