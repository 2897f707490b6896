#pragma once

// The worker-thread end of a device event, shared by the callbacks of the three devices. A plug-in's run
// calls its device's callback for every event; the callback packs the event into a fresh data record in part
// coordinates (points through the whole device transform, directions through its rotation only), posts it
// to the host's main thread under the device's event name, and then, when the acquisition keeps a log,
// writes the raw event as the plug-in gave it. An event the host cannot carry (no main application, no
// record, no data event) is dropped and not logged. A scan line's points go into a buffer of the
// acquisition's own line buffers, handed back when the record goes, so a steady stream of lines reuses a
// few buffers instead of allocating one per line.
//
// Moves pass two gates first: the rate limit ("Palpera/MoveEventRateLimit", at most one move per
// 1 / "Palpera/MoveEventRateLimitValue" seconds, counted from the callback's making) drops a move outright;
// while the device's previous move is still on its way to the main thread a move is not posted, only
// logged. The in-flight count is raised only for a move that is certainly posted, so a move the host could
// not carry never blocks the ones after it. The last move either gate held back since the last event is
// posted after all (and logged, when it was not) right before a touch: the last positions before a touch show
// the ball's travel into it (features/approach_side.h), which a quick move would otherwise lose. Any other
// event drops it, for a move before a stop or an undo is no approach of the touch after it.
//
// Threads: made on the acquisition's worker thread, configured there before the plug-in runs, then used by
// that thread alone; no lock is held while records are made, posted or logged.

#include <cstdint>
#include <memory>
#include <optional>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "devices/events/hard_probe_event_queue.h"
#include "devices/records/line_buffers.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/threads/high_resolution_timer.h"
#include "host_api/main_application.h"

class DeviceCallback : public ZelUnknownImpl {
 public:
  DeviceCallback();
  DeviceCallback(const DeviceCallback&) = delete;
  DeviceCallback& operator=(const DeviceCallback&) = delete;

  // Device to part coordinates, taken once per acquisition.
  void setDeviceMatrix(const Matrix4x4& matrix) { deviceMatrix_ = matrix; }
  // The acquisition's move queue (the move handler, which outlives the worker thread); null for none.
  void setEventQueue(IZelHardProbeEventQueue* queue) { queue_ = queue; }
  // Logs every raw event into the file, created or emptied; without the host's writer class, no log.
  void startLog(const ZelString& path);
  bool isLogging() const { return bool(writer_); }

 protected:
  // The roads of the record kinds. element is the log element of the raw event.
  void postNull(const char* eventName, const char16_t* element);
  // A radius that is no probe radius (devices/events/probe_radius.h) is posted and logged as the custom
  // event "Error" under errorEventName instead: the run ends rather than measure with it.
  void postRadius(const char* eventName, const char* errorEventName, double radius);
  void postPosition(const char* eventName, const char16_t* element, const Vector3& point);
  void postOriented(const char* eventName, const char16_t* element, const Vector3& point, const Vector3& to,
                    const Vector3& up);
  // A move, through the rate limit and the one-in-flight rule; logged as "OnMoved".
  void postMove(const char* eventName, const Vector3& point, const Vector3& to, const Vector3& up);
  // Posts the last move the gates held back since the last event, if any, under eventName.
  void releaseHeldMove(const char* eventName);
  void postCustom(const char* eventName, const ZelCString& name, IZelUnknown* payload);
  // A scan line: count points, each 24 bytes of x, y, z followed by stride further bytes.
  void postScanLine(const char* eventName, const Vector3& point, const Vector3& to, const Vector3& up,
                    const void* points, uint32_t count, uint32_t stride);

 private:
  enum class Delivery { kPost, kPostMove, kPostMoveUnlogged, kLogOnly };
  struct HeldMove {
    Vector3 point, to, up;
    bool logged;
  };

  // One event's common road: a fresh record, filled by fill with part coordinates, posted under eventName
  // (unless only logged), then handed to log with the writer when there is one.
  template <class Record, class Fill, class Log>
  void deliver(const char* eventName, Delivery delivery, Fill fill, Log log);
  void deliverOriented(const char* eventName, const char16_t* element, Delivery delivery,
                       const Vector3& point, const Vector3& to, const Vector3& up);
  void post(IZelDataEvent& event, Delivery delivery);
  bool passesRateLimit();

  Vector3 toPart(const Vector3& point) const { return Matrix4x4::transformPoint(deviceMatrix_, point); }
  Vector3 toPartDirection(const Vector3& v) const { return Matrix4x4::transformVector(deviceMatrix_, v); }

  Matrix4x4 deviceMatrix_;
  IPtr<IMainApplication> application_;
  bool rateLimited_ = false;
  HighResolutionTimer rateTimer_;
  double minimumMoveInterval_ = 0.0;  // seconds
  IZelHardProbeEventQueue* queue_ = nullptr;
  std::optional<HeldMove> heldMove_;
  IPtr<PluginDeviceDataXMLWriter> writer_;
  // Shared with the scan-line records, which may outlive the callback on their way to the main thread.
  const std::shared_ptr<LineBuffers> lineBuffers_ = std::make_shared<LineBuffers>();
};
