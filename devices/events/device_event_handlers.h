#pragma once

// The event handlers of one acquisition of a device, made in the order the device posts its event
// kinds. The move handler is also the acquisition's move-event queue: queue points into it and is valid
// while handlers holds it. Dropping the handlers unsubscribes them, so an event of a device that no longer
// acquires reaches nobody. Main thread.

#include <vector>

#include "devices/events/device_receivers.h"
#include "devices/events/hard_probe_event_queue.h"
#include "framework/object/iptr.h"
#include "host_api/data_store.h"

struct DeviceEventHandlers {
  std::vector<IPtr<IZelDataReceiver>> handlers;
  IZelHardProbeEventQueue* queue = nullptr;
};

// Radius, start capture, stop capture, moved, sampled, stop, custom.
DeviceEventHandlers makeContinuousEventHandlers(
    DeviceReceivers<IZelHardProbeContinuousDataReceiver>* receivers);
// Radius, moved, sampled, stop, custom.
DeviceEventHandlers makeSingleEventHandlers(DeviceReceivers<IZelHardProbeDataReceiver>* receivers);
// Start capture, stop capture, moved, sampled, stop, custom.
DeviceEventHandlers makeLaserScanEventHandlers(DeviceReceivers<IZelLaserScanDataReceiver>* receivers);
