#pragma once

// The queue of one emulation run, between the input handler on the host's main thread (the producers) and
// the run's loop on the device's worker thread (the consumer). Pushing appends a record under the queue
// lock and wakes the loop; the loop takes the records one by one under the lock and applies each to the
// receiver adapter outside it, in the order they were pushed.
//
// The queue is running from the moment it is made, so a stop that comes before the loop starts is kept. Once
// the loop sees the stop it drains the queue one last time, so every record pushed before the stop reaches
// the receiver; records pushed after that go with the queue unapplied. Every operation is safe on any
// thread; run belongs to the worker thread.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "devices/emulator/emulator_records.h"
#include "framework/object/iptr.h"
#include "platform/event.h"

class EmulatorEventQueue {
 public:
  // How long the loop sleeps without a push before it looks at the running flag again.
  static constexpr uint32_t kWakeIntervalMilliseconds = 200;

  EmulatorEventQueue(double probeRadius, EmulatorPlugin::Receiver* target);
  EmulatorEventQueue(const EmulatorEventQueue&) = delete;
  EmulatorEventQueue& operator=(const EmulatorEventQueue&) = delete;

  void pushMoved(const Vector3& point, const Vector3& to, const Vector3& up);
  void pushSampled(const Vector3& point);
  void pushSampledOriented(const Vector3& point, const Vector3& to, const Vector3& up);
  void pushStop(const Vector3& point);
  void pushCustom(const ZelCString& name);
  void pushStartCapture();
  void pushStopCapture();

  // Ends the loop after what was pushed so far is applied.
  void stop();
  // The run's loop: tells the target the probe radius, then applies what is pushed until stopped. After
  // each batch it lets the host deliver what is pending on this thread.
  void run();

 private:
  void push(std::unique_ptr<EmulatorPlugin::Data> record);
  std::unique_ptr<EmulatorPlugin::Data> takeFront();
  void applyQueued();
  bool isRunning();

  const double probeRadius_;
  const IPtr<EmulatorPlugin::Receiver> target_;
  platform::Event wake_{platform::Event::Reset::kAuto};

  std::mutex queueLock_;
  std::deque<std::unique_ptr<EmulatorPlugin::Data>> records_;  // guarded by queueLock_, in push order

  std::mutex runningLock_;
  bool running_ = true;  // guarded by runningLock_
};
