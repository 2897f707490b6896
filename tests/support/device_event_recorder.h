#pragma once

// A device receiver of all three kinds for tests: it records every call as one line ("moved 0.1,0,1.5 0,0,-1
// 0,1,0") with the moment it arrived. A scan line lists its points ("scan ... [2: 1,2,3 4,5,6] stride 0").
// It registers with a device of any kind, and can run a step of the test from inside each call. Safe on any
// thread: a replay or the emulator calls it on its worker while the test reads it or waits for it.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

// A recorder's calls, one line each.
using Lines = std::vector<std::string>;

class DeviceEventRecorder : public IZelHardProbeDataReceiverV2,
                            public IZelHardProbeContinuousDataReceiver,
                            public IZelLaserScanDataReceiver,
                            public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "DeviceEventRecorder";
  using Clock = std::chrono::steady_clock;

  void setProbeRadius(double radius) override { note("radius " + number(radius)); }
  void onStartCapture() override { note("startCapture"); }
  void onStopCapture() override { note("stopCapture"); }
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override {
    note("moved " + oriented(point, to, up));
  }
  void onPointSampled(const Vector3& point) override { note("sampled " + vector(point)); }
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override {
    note("sampledOriented " + oriented(point, to, up));
  }
  void onPointStop(const Vector3& point) override { note("pointStop " + vector(point)); }
  void onStop() override { note("stop"); }
  void onSampled(const Vector3& point, const Vector3& to, const Vector3& up, const void* points,
                 uint32_t count, uint32_t stride) override {
    std::string line = "scan " + oriented(point, to, up) + " [" + std::to_string(count) + ":";
    const auto* packed = static_cast<const Vector3*>(points);
    for (uint32_t i = 0; i < count && packed; ++i) line += " " + vector(packed[i]);
    note(line + "] stride " + std::to_string(stride));
  }
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override {
    note(std::string("custom ") + name.c_str() + (payload ? " +payload" : ""));
  }

  Lines calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  // Waits until at least count calls were recorded; false when the time ran out first.
  bool waitForCalls(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return recorded_.wait_for(lock, timeout, [&] { return calls_.size() >= count; });
  }
  // Runs inside every later call, with the call's line, after it was recorded.
  void setDuringCall(std::function<void(const std::string&)> step) { duringCall_ = std::move(step); }
  // How a device sees the recorder.
  IZelPluginDataReceiver* registered() { return this; }
  std::vector<Clock::time_point> times() {
    std::lock_guard lock(mutex_);
    return times_;
  }

  IZelHardProbeDataReceiver* single() { return this; }
  IZelHardProbeContinuousDataReceiver* continuous() { return this; }
  IZelLaserScanDataReceiver* laserScan() { return this; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, this, this).offer<IZelPluginDataReceiver>(this);
    chain.offer<IZelHardProbeDataReceiver>(this).offer<IZelHardProbeDataReceiverV2>(this);
    chain.offer<IZelHardProbeContinuousDataReceiver>(this).offer<IZelLaserScanDataReceiver>(this).end();
  }
  const char* className() override { return interfaceName; }

  // The forms of a call's values in its line.
  static std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
  }
  static std::string vector(const Vector3& v) { return number(v.x) + "," + number(v.y) + "," + number(v.z); }
  static std::string oriented(const Vector3& point, const Vector3& to, const Vector3& up) {
    return vector(point) + " " + vector(to) + " " + vector(up);
  }

 private:
  void note(const std::string& call) {
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(call);
      times_.push_back(Clock::now());
    }
    recorded_.notify_all();
    if (duringCall_) duringCall_(call);
  }

  std::function<void(const std::string&)> duringCall_;

  std::mutex mutex_;
  std::condition_variable recorded_;
  Lines calls_;                           // guarded by mutex_
  std::vector<Clock::time_point> times_;  // guarded by mutex_
};
