#pragma once

// A device-event log written at chosen moments: each event is stamped at a given millisecond by holding the
// high-resolution counter there while the module's writer writes it, so a log comes out the same on every
// run. Records are made as a device makes them, through the host's object creation by class id.

#include <cstdint>
#include <string>

#include "basic_types/vector3.h"
#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "framework/object/iptr.h"
#include "platform/clock.h"

class TimedLog {
 public:
  // Writes to the file at path (in the module's form); the log's clock starts at 0.
  explicit TimedLog(const ZelString& path);
  TimedLog(const TimedLog&) = delete;
  TimedLog& operator=(const TimedLog&) = delete;
  // Closes the file.
  ~TimedLog();

  // Moves the log's clock forward by the milliseconds given; the next event is stamped there.
  void wait(double milliseconds);
  double now() const { return nowMs_; }

  void radius(double metres);
  void moved(const Vector3& point, const Vector3& to, const Vector3& up);
  void sampled(const Vector3& point);
  void sampledOriented(const Vector3& point, const Vector3& to, const Vector3& up);
  void pointStop(const Vector3& point);
  void startCapture();
  void stopCapture();
  void stop();

 private:
  void oriented(const char16_t* element, const Vector3& point, const Vector3& to, const Vector3& up);
  void position(const char16_t* element, const Vector3& point);
  void nullEvent(const char16_t* element);

  platform::CounterOverride counter_{0};
  double nowMs_ = 0;
  IPtr<PluginDeviceDataXMLWriter> writer_;
};
