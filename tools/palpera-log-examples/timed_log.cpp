#include "timed_log.h"

#include <cmath>

#include "devices/records/plugin_device_data.h"
#include "framework/registrations/registered_classes.h"
#include "framework/registrations/static_constants.h"

using namespace EventLogNames;

namespace {

constexpr double kNanosecondsPerMs = 1e6;

template <class Record>
IPtr<Record> makeRecord(const char* className) {
  IPtr<Record> record;
  record.createInstance(classIdOf(className));
  return record;
}

}  // namespace

TimedLog::TimedLog(const ZelString& path) {
  writer_.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
  if (writer_) writer_->setOutputFile(path);
}

TimedLog::~TimedLog() = default;

void TimedLog::wait(double milliseconds) {
  nowMs_ += milliseconds;
  counter_.set(static_cast<uint64_t>(std::llround(nowMs_ * kNanosecondsPerMs)));
}

void TimedLog::radius(double metres) {
  auto record = makeRecord<IZelPluginDeviceRadiusData>("PluginDeviceRadiusData");
  record->setRadius(metres);
  writer_->writeRadiusEvent(ZelString(kSetRadius), record.get());
}

void TimedLog::moved(const Vector3& point, const Vector3& to, const Vector3& up) {
  oriented(kOnMoved, point, to, up);
}

void TimedLog::sampledOriented(const Vector3& point, const Vector3& to, const Vector3& up) {
  oriented(kOnPointSampledOrientation, point, to, up);
}

void TimedLog::sampled(const Vector3& point) {
  position(kOnPointSampled, point);
}

void TimedLog::pointStop(const Vector3& point) {
  position(kOnPointStop, point);
}

void TimedLog::oriented(const char16_t* element, const Vector3& point, const Vector3& to, const Vector3& up) {
  auto record = makeRecord<IZelPluginDevicePositionOrientationData>("PluginDevicePositionOrientationData");
  record->setPoint(&point.x);
  record->setTo(&to.x);
  record->setUp(&up.x);
  writer_->writePositionOrientationEvent(ZelString(element), record.get());
}

void TimedLog::position(const char16_t* element, const Vector3& point) {
  auto record = makeRecord<IZelPluginDevicePositionData>("PluginDevicePositionData");
  record->setPoint(&point.x);
  writer_->writePositionEvent(ZelString(element), record.get());
}

void TimedLog::startCapture() {
  nullEvent(kOnStartCapture);
}

void TimedLog::stopCapture() {
  nullEvent(kOnStopCapture);
}

void TimedLog::stop() {
  nullEvent(kOnStop);
}

void TimedLog::nullEvent(const char16_t* element) {
  auto record = makeRecord<IZelPluginDeviceNullData>("PluginDeviceNullData");
  writer_->writeNullEvent(ZelString(element), record.get());
}
