#pragma once

// The acquisition of the test plug-in: each run plays the next queued script into the receiver its face was
// given, on the device's worker thread, then waits for the face's stop. A step sends one event (or runs an
// action there, or ends the run at once, as a plug-in does after an error). A stop ends the run before its
// next step. A run that ended by itself takes the device's later stop as its own, so that stop does
// not end the next run; a stop that comes before its run has begun still ends it. Safe on any thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "basic_types/vector3.h"
#include "devices/plugins/receiver_forwarder.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

// Sends one event to the run's receiver; an empty step ends the run.
using PluginStep = std::function<void(ReceiverForwarder&)>;

namespace steps {

inline PluginStep radius(double value) {
  return [=](ReceiverForwarder& r) { r.setProbeRadius(value); };
}
inline PluginStep moved(Vector3 point, Vector3 to = {0, 0, -1}, Vector3 up = {0, 1, 0}) {
  return [=](ReceiverForwarder& r) { r.onMoved(point, to, up); };
}
// The single-point probe's sampled point.
inline PluginStep sampled(Vector3 point) {
  return [=](ReceiverForwarder& r) { r.onPointSampled(point); };
}
// The continuous probe's sampled point, with its directions.
inline PluginStep sampled(Vector3 point, Vector3 to, Vector3 up) {
  return [=](ReceiverForwarder& r) { r.onPointSampled(point, to, up); };
}
inline PluginStep pointStop(Vector3 point) {
  return [=](ReceiverForwarder& r) { r.onPointStop(point); };
}
inline PluginStep startCapture() {
  return [](ReceiverForwarder& r) { r.onStartCapture(); };
}
inline PluginStep stopCapture() {
  return [](ReceiverForwarder& r) { r.onStopCapture(); };
}
inline PluginStep stop() {
  return [](ReceiverForwarder& r) { r.onStop(); };
}
inline PluginStep custom(const char* name) {
  return [=](ReceiverForwarder& r) { r.onCustomEvent(ZelCString(name), nullptr); };
}
// A scan line over a buffer of doubles that the step keeps.
inline PluginStep scanLine(Vector3 point, Vector3 to, Vector3 up, std::vector<double> buffer, uint32_t count,
                           uint32_t stride) {
  return [=](ReceiverForwarder& r) { r.onSampled(point, to, up, buffer.data(), count, stride); };
}
// Runs on the worker thread between two events.
inline PluginStep act(std::function<void()> action) {
  return [action = std::move(action)](ReceiverForwarder&) { action(); };
}
inline PluginStep endRun() {
  return {};
}

}  // namespace steps

// A forwarder as a counted object that answers no name, to live on a stack: a run's receiver, say.
class CountedForwarder : public ReceiverForwarder, public ZelUnknownImpl {
 public:
  using ReceiverForwarder::ReceiverForwarder;
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("CountedForwarder", this, static_cast<IZelHardProbeDataReceiver*>(this))
        .end();
  }
  const char* className() override { return "CountedForwarder"; }
};

class PluginScript {
 public:
  // The script of the next run that has none yet. A run without a script sends nothing.
  void queue(std::vector<PluginStep> script) {
    std::lock_guard lock(mutex_);
    scripts_.push_back(std::move(script));
  }

  template <class Receiver>
  void run(Receiver* receiver) {
    CountedForwarder target(receiver);
    play(target, nextScript());
  }

  void stop() {
    std::lock_guard lock(mutex_);
    if (!std::exchange(stopAwaited_, false))
      stopRequested_ = true;  // unless owed to a run that ended by itself
    changed_.notify_all();
  }

  // Waits until at least count events (over all runs) were sent; false when the time ran out first.
  bool waitForEvents(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return sent_ >= count; });
  }
  // Waits until at least count runs have returned.
  bool waitForRunsEnded(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ended_ >= count; });
  }
  size_t runs() {
    std::lock_guard lock(mutex_);
    return started_;
  }

 private:
  std::vector<PluginStep> nextScript() {
    std::lock_guard lock(mutex_);
    ++started_;
    if (scripts_.empty()) return {};
    std::vector<PluginStep> script = std::move(scripts_.front());
    scripts_.pop_front();
    return script;
  }

  void play(ReceiverForwarder& target, const std::vector<PluginStep>& script) {
    for (const PluginStep& step : script) {
      if (stopRequested()) return finish(false);
      if (!step) return finish(true);
      step(target);
      std::lock_guard lock(mutex_);
      ++sent_;
      changed_.notify_all();
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopRequested_; });
    lock.unlock();
    finish(false);
  }

  bool stopRequested() {
    std::lock_guard lock(mutex_);
    return stopRequested_;
  }

  void finish(bool byItself) {
    std::lock_guard lock(mutex_);
    if (byItself && !stopRequested_) stopAwaited_ = true;
    stopRequested_ = false;
    ++ended_;
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<PluginStep>> scripts_;  // guarded by mutex_
  bool stopRequested_ = false;                   // guarded by mutex_
  bool stopAwaited_ = false;                     // guarded by mutex_
  size_t sent_ = 0, started_ = 0, ended_ = 0;    // guarded by mutex_
};
