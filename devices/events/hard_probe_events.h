#pragma once

// The event tags of the hard-probe devices: each tag names one posted event, the record interface it carries
// and the receiver call it becomes on the main thread. The tags are only template arguments of the event
// handlers (plugin_event_handler.h).

#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "devices/events/device_event_names.h"
#include "devices/records/plugin_device_data.h"

namespace HardProbeEvents {

inline Vector3 vectorOf(const double* xyz) {
  return {xyz[0], xyz[1], xyz[2]};
}

template <class R>
struct RadiusCall {
  using Receiver = R;
  using Record = IZelPluginDeviceRadiusData;
  static void call(R& receiver, Record& record) { receiver.setProbeRadius(record.radius()); }
};

template <class R>
struct MovedCall {
  using Receiver = R;
  using Record = IZelPluginDevicePositionOrientationData;
  static void call(R& receiver, Record& record) {
    receiver.onMoved(vectorOf(record.point()), vectorOf(record.to()), vectorOf(record.up()));
  }
};

template <class R>
struct CustomCall {
  using Receiver = R;
  using Record = IZelPluginDeviceCustomEventData;
  // Each receiver gets a text of its own, so one that keeps or changes it does not affect the next.
  static void call(R& receiver, Record& record) {
    ZelCString name;
    name = record.name();
    receiver.onCustomEvent(name, const_cast<IZelUnknown*>(record.payload()));
  }
};

template <class R, void (R::*Operation)()>
struct NullCall {
  using Receiver = R;
  using Record = IZelPluginDeviceNullData;
  static void call(R& receiver, Record&) { (receiver.*Operation)(); }
};

template <class R, void (R::*Operation)(const Vector3&)>
struct PointCall {
  using Receiver = R;
  using Record = IZelPluginDevicePositionData;
  static void call(R& receiver, Record& record) { (receiver.*Operation)(vectorOf(record.point())); }
};

}  // namespace HardProbeEvents

namespace HardProbeContinuous {

using Receiver = IZelHardProbeContinuousDataReceiver;

struct SetProbeRadius : HardProbeEvents::RadiusCall<Receiver> {
  static constexpr const char* eventName = ContinuousEventNames::kRadius;
};
struct OnStartCapture : HardProbeEvents::NullCall<Receiver, &Receiver::onStartCapture> {
  static constexpr const char* eventName = ContinuousEventNames::kStartCapture;
};
struct OnStopCapture : HardProbeEvents::NullCall<Receiver, &Receiver::onStopCapture> {
  static constexpr const char* eventName = ContinuousEventNames::kStopCapture;
};
struct OnMoved : HardProbeEvents::MovedCall<Receiver> {
  static constexpr const char* eventName = ContinuousEventNames::kMoved;
};
struct OnPointSampled {
  using Receiver = HardProbeContinuous::Receiver;
  using Record = IZelPluginDevicePositionOrientationData;
  static constexpr const char* eventName = ContinuousEventNames::kSampled;
  static void call(Receiver& receiver, Record& record) {
    using HardProbeEvents::vectorOf;
    receiver.onPointSampled(vectorOf(record.point()), vectorOf(record.to()), vectorOf(record.up()));
  }
};
struct OnStop : HardProbeEvents::NullCall<Receiver, &Receiver::onStop> {
  static constexpr const char* eventName = ContinuousEventNames::kStop;
};
struct OnCustomEvent : HardProbeEvents::CustomCall<Receiver> {
  static constexpr const char* eventName = ContinuousEventNames::kCustom;
};

}  // namespace HardProbeContinuous

namespace HardProbeSingle {

using Receiver = IZelHardProbeDataReceiver;

struct SetProbeRadius : HardProbeEvents::RadiusCall<Receiver> {
  static constexpr const char* eventName = SingleEventNames::kRadius;
};
struct OnMoved : HardProbeEvents::MovedCall<Receiver> {
  static constexpr const char* eventName = SingleEventNames::kMoved;
};
struct OnPointSampled : HardProbeEvents::PointCall<Receiver, &Receiver::onPointSampled> {
  static constexpr const char* eventName = SingleEventNames::kSampled;
};
struct OnPointStop : HardProbeEvents::PointCall<Receiver, &Receiver::onPointStop> {
  static constexpr const char* eventName = SingleEventNames::kStop;
};
struct OnCustomEvent : HardProbeEvents::CustomCall<Receiver> {
  static constexpr const char* eventName = SingleEventNames::kCustom;
};

}  // namespace HardProbeSingle
