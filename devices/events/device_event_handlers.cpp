#include "devices/events/device_event_handlers.h"

#include "devices/events/hard_probe_events.h"
#include "devices/events/laser_scan_events.h"
#include "devices/events/plugin_event_handler.h"

namespace {

template <class Event, class Receivers>
void addHandler(DeviceEventHandlers& made, Receivers* receivers) {
  made.handlers.emplace_back(new PluginEventHandler<Event>(receivers));
}

template <class Event, class Receivers>
void addMoveHandler(DeviceEventHandlers& made, Receivers* receivers) {
  auto* handler = new OnMovedEventHandler<Event>(receivers);
  made.handlers.emplace_back(handler);
  made.queue = handler;
}

}  // namespace

DeviceEventHandlers makeContinuousEventHandlers(
    DeviceReceivers<IZelHardProbeContinuousDataReceiver>* receivers) {
  using namespace HardProbeContinuous;
  DeviceEventHandlers made;
  made.handlers.reserve(std::size(ContinuousEventNames::kAll));
  addHandler<SetProbeRadius>(made, receivers);
  addHandler<OnStartCapture>(made, receivers);
  addHandler<OnStopCapture>(made, receivers);
  addMoveHandler<OnMoved>(made, receivers);
  addHandler<OnPointSampled>(made, receivers);
  addHandler<OnStop>(made, receivers);
  addHandler<OnCustomEvent>(made, receivers);
  return made;
}

DeviceEventHandlers makeSingleEventHandlers(DeviceReceivers<IZelHardProbeDataReceiver>* receivers) {
  using namespace HardProbeSingle;
  DeviceEventHandlers made;
  made.handlers.reserve(std::size(SingleEventNames::kAll));
  addHandler<SetProbeRadius>(made, receivers);
  addMoveHandler<OnMoved>(made, receivers);
  addHandler<OnPointSampled>(made, receivers);
  addHandler<OnPointStop>(made, receivers);
  addHandler<OnCustomEvent>(made, receivers);
  return made;
}

DeviceEventHandlers makeLaserScanEventHandlers(DeviceReceivers<IZelLaserScanDataReceiver>* receivers) {
  using namespace LaserScan;
  DeviceEventHandlers made;
  made.handlers.reserve(std::size(LaserScanEventNames::kAll));
  addHandler<OnStartCapture>(made, receivers);
  addHandler<OnStopCapture>(made, receivers);
  addMoveHandler<OnMoved>(made, receivers);
  addHandler<OnSampled>(made, receivers);
  addHandler<OnStop>(made, receivers);
  addHandler<OnCustomEvent>(made, receivers);
  return made;
}
