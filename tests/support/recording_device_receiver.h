#pragma once

// A device receiver for tests, of both hard-probe kinds: it records every call with its values, and can run a
// step of the test from inside each call. Safe on any thread: the emulator calls it on its worker thread.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

struct DeviceCall {
  explicit DeviceCall(std::string callKind) : kind(std::move(callKind)) {}
  DeviceCall(std::string callKind, const Vector3& at, const Vector3& toward = {}, const Vector3& upward = {})
      : kind(std::move(callKind)), point(at), to(toward), up(upward) {}

  // "radius", "moved", "sampled", "sampledOriented", "pointStop", "startCapture", "stopCapture", "stop",
  // "custom".
  std::string kind;
  Vector3 point, to, up;
  double radius = 0;
  std::string name;  // of a custom event
  IZelUnknown* payload = nullptr;
};

class RecordingDeviceReceiver : public IZelHardProbeDataReceiverV2,
                                public IZelHardProbeContinuousDataReceiver,
                                public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "RecordingDeviceReceiver";

  void setProbeRadius(double radius) override {
    DeviceCall call("radius");
    call.radius = radius;
    note(call);
  }
  void onStartCapture() override { note(DeviceCall("startCapture")); }
  void onStopCapture() override { note(DeviceCall("stopCapture")); }
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override {
    note(DeviceCall("moved", point, to, up));
  }
  void onPointSampled(const Vector3& point) override { note(DeviceCall("sampled", point)); }
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override {
    note(DeviceCall("sampledOriented", point, to, up));
  }
  void onPointStop(const Vector3& point) override { note(DeviceCall("pointStop", point)); }
  void onStop() override { note(DeviceCall("stop")); }
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override {
    DeviceCall call("custom");
    call.name = name.c_str();
    call.payload = payload;
    note(call);
  }

  std::vector<DeviceCall> calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  std::vector<std::string> kinds() {
    std::vector<std::string> out;
    for (const DeviceCall& call : calls()) out.push_back(call.kind);
    return out;
  }
  // Waits until at least count calls were recorded; false when the time ran out first.
  bool waitForCalls(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return recorded_.wait_for(lock, timeout, [&] { return calls_.size() >= count; });
  }
  // Runs inside every later call, after it was recorded.
  void setDuringCall(std::function<void(const DeviceCall&)> step) { duringCall_ = std::move(step); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(interfaceName, this, static_cast<IZelHardProbeDataReceiver*>(this))
        .offer<IZelPluginDataReceiver>(this)
        .offer<IZelHardProbeDataReceiver>(this)
        .offer<IZelHardProbeDataReceiverV2>(this)
        .offer<IZelHardProbeContinuousDataReceiver>(this)
        .end();
  }
  const char* className() override { return interfaceName; }

 private:
  void note(DeviceCall call) {
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(call);
    }
    recorded_.notify_all();
    if (duringCall_) duringCall_(call);
  }

  std::mutex mutex_;
  std::condition_variable recorded_;
  std::vector<DeviceCall> calls_;  // guarded by mutex_
  std::function<void(const DeviceCall&)> duringCall_;
};
