#pragma once

// The event tags of the laser-scan device, in the style of the hard-probe tags (hard_probe_events.h): each
// names one posted event, the record it carries and the receiver call it becomes on the main thread.

#include "devices/events/hard_probe_events.h"

namespace LaserScan {

using Receiver = IZelLaserScanDataReceiver;

struct OnStartCapture : HardProbeEvents::NullCall<Receiver, &Receiver::onStartCapture> {
  static constexpr const char* eventName = LaserScanEventNames::kStartCapture;
};
struct OnStopCapture : HardProbeEvents::NullCall<Receiver, &Receiver::onStopCapture> {
  static constexpr const char* eventName = LaserScanEventNames::kStopCapture;
};
struct OnMoved : HardProbeEvents::MovedCall<Receiver> {
  static constexpr const char* eventName = LaserScanEventNames::kMoved;
};
// The record keeps its points packed, so receivers always see stride 0.
struct OnSampled {
  using Receiver = LaserScan::Receiver;
  using Record = IZelPluginDeviceScanLineData;
  static constexpr const char* eventName = LaserScanEventNames::kSampled;
  static void call(Receiver& receiver, Record& record) {
    using HardProbeEvents::vectorOf;
    receiver.onSampled(vectorOf(record.point()), vectorOf(record.to()), vectorOf(record.up()),
                       record.points(), static_cast<uint32_t>(record.pointCount()),
                       static_cast<uint32_t>(record.stride()));
  }
};
struct OnStop : HardProbeEvents::NullCall<Receiver, &Receiver::onStop> {
  static constexpr const char* eventName = LaserScanEventNames::kStop;
};
struct OnCustomEvent : HardProbeEvents::CustomCall<Receiver> {
  static constexpr const char* eventName = LaserScanEventNames::kCustom;
};

}  // namespace LaserScan
