#include "devices/emulator/emulator_event_queue.h"

#include "host_api/main_application.h"

EmulatorEventQueue::EmulatorEventQueue(double probeRadius, EmulatorPlugin::Receiver* target)
    : probeRadius_(probeRadius), target_(target) {}

void EmulatorEventQueue::push(std::unique_ptr<EmulatorPlugin::Data> record) {
  {
    std::lock_guard lock(queueLock_);
    records_.push_back(std::move(record));
  }
  wake_.set();
}

void EmulatorEventQueue::pushMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  push(std::make_unique<EmulatorPlugin::OnMovedData>(point, to, up));
}

void EmulatorEventQueue::pushSampled(const Vector3& point) {
  push(std::make_unique<EmulatorPlugin::OnPointSampledData>(point));
}

void EmulatorEventQueue::pushSampledOriented(const Vector3& point, const Vector3& to, const Vector3& up) {
  push(std::make_unique<EmulatorPlugin::OnPointSampledOrientationData>(point, to, up));
}

void EmulatorEventQueue::pushStop(const Vector3& point) {
  push(std::make_unique<EmulatorPlugin::OnPointStopData>(point));
}

void EmulatorEventQueue::pushCustom(const ZelCString& name) {
  push(std::make_unique<EmulatorPlugin::OnCustomEventData>(name));
}

void EmulatorEventQueue::pushStartCapture() {
  push(std::make_unique<EmulatorPlugin::OnStartCaptureData>());
}

void EmulatorEventQueue::pushStopCapture() {
  push(std::make_unique<EmulatorPlugin::OnStopCaptureData>());
}

void EmulatorEventQueue::stop() {
  {
    std::lock_guard lock(runningLock_);
    running_ = false;
  }
  wake_.set();
}

bool EmulatorEventQueue::isRunning() {
  std::lock_guard lock(runningLock_);
  return running_;
}

std::unique_ptr<EmulatorPlugin::Data> EmulatorEventQueue::takeFront() {
  std::lock_guard lock(queueLock_);
  if (records_.empty()) return nullptr;
  std::unique_ptr<EmulatorPlugin::Data> front = std::move(records_.front());
  records_.pop_front();
  return front;
}

void EmulatorEventQueue::applyQueued() {
  while (std::unique_ptr<EmulatorPlugin::Data> record = takeFront()) record->apply(*target_);
}

void EmulatorEventQueue::run() {
  target_->setProbeRadius(probeRadius_);
  IPtr<IEventService> events;
  events.getService();
  // The wake event is fresh and so not reset here: a push or stop before the loop must still wake it.
  for (;;) {
    if (wake_.waitFor(kWakeIntervalMilliseconds)) {
      applyQueued();
      if (events) events->processEvents(false);
    }
    if (!isRunning()) break;
  }
  // A record pushed between the last batch and the running check came before the stop (a stop capture
  // just before the end key, say): it is still the run's, so it reaches the receiver before the run ends.
  applyQueued();
}
