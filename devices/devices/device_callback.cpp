#include "devices/devices/device_callback.h"

#include <utility>

#include "devices/events/probe_radius.h"
#include "devices/records/plugin_device_data_records.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/registrations/static_constants.h"
#include "host_api/data_store.h"

namespace {

// The record class made for each record interface.
template <class Record>
constexpr ZelID kRecordClass{};
template <>
constexpr ZelID kRecordClass<IZelPluginDeviceNullData> = classIdOf("PluginDeviceNullData");
template <>
constexpr ZelID kRecordClass<IZelPluginDeviceRadiusData> = classIdOf("PluginDeviceRadiusData");
template <>
constexpr ZelID kRecordClass<IZelPluginDevicePositionData> = classIdOf("PluginDevicePositionData");
template <>
constexpr ZelID kRecordClass<IZelPluginDevicePositionOrientationData> =
    classIdOf("PluginDevicePositionOrientationData");
template <>
constexpr ZelID kRecordClass<IZelPluginDeviceScanLineData> = classIdOf("PluginDeviceScanLineData");
template <>
constexpr ZelID kRecordClass<IZelPluginDeviceCustomEventData> = classIdOf("PluginDeviceCustomEventData");

constexpr ZelID kWriterClass = classIdOf("PluginDeviceDataXMLWriter");

template <class Record>
IPtr<Record> makeRecord() {
  IPtr<Record> record;
  record.createInstance(kRecordClass<Record>);
  return record;
}

template <class Record>
void setVectors(Record& record, const Vector3& point, const Vector3& to, const Vector3& up) {
  double xyz[3];
  point.copyTo(xyz);
  record.setPoint(xyz);
  to.copyTo(xyz);
  record.setTo(xyz);
  up.copyTo(xyz);
  record.setUp(xyz);
}

// A second record for the log, holding the values as the plug-in gave them.
template <class Record, class Fill>
IPtr<Record> rawRecord(Fill fill) {
  IPtr<Record> raw = makeRecord<Record>();
  if (raw) fill(*raw);
  return raw;
}

}  // namespace

DeviceCallback::DeviceCallback() {
  application_.getService();
  SPtr<IDataStore> store;
  if (!store) return;
  rateLimited_ = store->getInt("Palpera/MoveEventRateLimit", 0) != 0;
  if (!rateLimited_) return;
  minimumMoveInterval_ = 1.0 / store->getDouble("Palpera/MoveEventRateLimitValue", 30.0);
  rateTimer_.start();
}

void DeviceCallback::startLog(const ZelString& path) {
  writer_.createInstance(kWriterClass);
  if (writer_) writer_->setOutputFile(path);
}

template <class Record, class Fill, class Log>
void DeviceCallback::deliver(const char* eventName, Delivery delivery, Fill fill, Log log) {
  IPtr<Record> record = makeRecord<Record>();
  IPtr<IZelDataEvent> event;
  event.getService();
  if (!application_ || !record || !event) return;
  fill(*record);
  event->setName(eventName);
  event->setData(record.get());
  // A move held back before any other event is no approach of a touch after it.
  if (delivery == Delivery::kPost) heldMove_.reset();
  if (delivery != Delivery::kLogOnly) post(*event, delivery);
  if (writer_ && delivery != Delivery::kPostMoveUnlogged) log(*writer_, *record);
}

void DeviceCallback::post(IZelDataEvent& event, Delivery delivery) {
  // Raised before posting: the main thread may deliver the move, and lower the count, before post returns.
  const bool countsMove =
      (delivery == Delivery::kPostMove || delivery == Delivery::kPostMoveUnlogged) && queue_;
  if (countsMove) queue_->increment();
  if (!application_->post(&event) && countsMove) queue_->decrement();
}

bool DeviceCallback::passesRateLimit() {
  if (!rateLimited_) return true;
  if (minimumMoveInterval_ > rateTimer_.elapsedSeconds()) return false;
  rateTimer_.start();
  return true;
}

void DeviceCallback::postNull(const char* eventName, const char16_t* element) {
  deliver<IZelPluginDeviceNullData>(
      eventName, Delivery::kPost, [](IZelPluginDeviceNullData&) {},
      [element](PluginDeviceDataXMLWriter& writer, IZelPluginDeviceNullData& record) {
        writer.writeNullEvent(ZelString(element), &record);
      });
}

void DeviceCallback::postRadius(const char* eventName, const char* errorEventName, double radius) {
  if (!isProbeRadius(radius)) {
    postCustom(errorEventName, ZelCString("Error"), nullptr);
    return;
  }
  deliver<IZelPluginDeviceRadiusData>(
      eventName, Delivery::kPost, [radius](IZelPluginDeviceRadiusData& record) { record.setRadius(radius); },
      [](PluginDeviceDataXMLWriter& writer, IZelPluginDeviceRadiusData& record) {
        writer.writeRadiusEvent(ZelString(EventLogNames::kSetRadius), &record);
      });
}

void DeviceCallback::postPosition(const char* eventName, const char16_t* element, const Vector3& point) {
  auto setPoint = [](const Vector3& at) {
    return [at](IZelPluginDevicePositionData& record) {
      double xyz[3];
      at.copyTo(xyz);
      record.setPoint(xyz);
    };
  };
  deliver<IZelPluginDevicePositionData>(
      eventName, Delivery::kPost, setPoint(toPart(point)),
      [&](PluginDeviceDataXMLWriter& writer, IZelPluginDevicePositionData&) {
        IPtr<IZelPluginDevicePositionData> raw = rawRecord<IZelPluginDevicePositionData>(setPoint(point));
        if (raw) writer.writePositionEvent(ZelString(element), raw.get());
      });
}

void DeviceCallback::postOriented(const char* eventName, const char16_t* element, const Vector3& point,
                                  const Vector3& to, const Vector3& up) {
  deliverOriented(eventName, element, Delivery::kPost, point, to, up);
}

void DeviceCallback::postMove(const char* eventName, const Vector3& point, const Vector3& to,
                              const Vector3& up) {
  if (!passesRateLimit()) {
    heldMove_ = HeldMove{point, to, up, false};
    return;
  }
  const bool held = queue_ && queue_->isPending();
  if (held) {
    // A move held back by the one in flight is only logged: without a log it leaves no trace.
    heldMove_ = HeldMove{point, to, up, static_cast<bool>(writer_)};
    if (writer_) deliverOriented(eventName, EventLogNames::kOnMoved, Delivery::kLogOnly, point, to, up);
    return;
  }
  heldMove_.reset();
  deliverOriented(eventName, EventLogNames::kOnMoved, Delivery::kPostMove, point, to, up);
}

void DeviceCallback::releaseHeldMove(const char* eventName) {
  if (!heldMove_) return;
  const HeldMove move = *std::exchange(heldMove_, std::nullopt);
  deliverOriented(eventName, EventLogNames::kOnMoved,
                  move.logged ? Delivery::kPostMoveUnlogged : Delivery::kPostMove, move.point, move.to,
                  move.up);
}

void DeviceCallback::deliverOriented(const char* eventName, const char16_t* element, Delivery delivery,
                                     const Vector3& point, const Vector3& to, const Vector3& up) {
  using Record = IZelPluginDevicePositionOrientationData;
  auto setAll = [](const Vector3& at, const Vector3& toward, const Vector3& upward) {
    return [=](Record& record) { setVectors(record, at, toward, upward); };
  };
  deliver<Record>(eventName, delivery, setAll(toPart(point), toPartDirection(to), toPartDirection(up)),
                  [&](PluginDeviceDataXMLWriter& writer, Record&) {
                    IPtr<Record> raw = rawRecord<Record>(setAll(point, to, up));
                    if (raw) writer.writePositionOrientationEvent(ZelString(element), raw.get());
                  });
}

void DeviceCallback::postCustom(const char* eventName, const ZelCString& name, IZelUnknown* payload) {
  deliver<IZelPluginDeviceCustomEventData>(
      eventName, Delivery::kPost,
      [&](IZelPluginDeviceCustomEventData& record) {
        record.setName(name.c_str());
        record.setPayload(payload);
      },
      [](PluginDeviceDataXMLWriter& writer, IZelPluginDeviceCustomEventData& record) {
        writer.writeCustomEvent(ZelString(EventLogNames::kOnCustomEvent), &record);
      });
}

void DeviceCallback::postScanLine(const char* eventName, const Vector3& point, const Vector3& to,
                                  const Vector3& up, const void* points, uint32_t count, uint32_t stride) {
  using Record = IZelPluginDeviceScanLineData;
  auto setAll = [=, this](const Vector3& at, const Vector3& toward, const Vector3& upward,
                          const Matrix4x4& matrix) {
    return [=, this](Record& record) {
      setVectors(record, at, toward, upward);
      if (auto* line = queryPart<PluginDeviceScanLineData>(&record)) line->drawFrom(lineBuffers_);
      record.setPoints(points, static_cast<int32_t>(count), static_cast<int32_t>(stride), matrix);
    };
  };
  deliver<Record>(eventName, Delivery::kPost,
                  setAll(toPart(point), toPartDirection(to), toPartDirection(up), deviceMatrix_),
                  [&](PluginDeviceDataXMLWriter& writer, Record&) {
                    IPtr<Record> raw = rawRecord<Record>(setAll(point, to, up, Matrix4x4::identity()));
                    if (raw) writer.writeScanLineEvent(ZelString(EventLogNames::kOnSampled), raw.get());
                  });
}
