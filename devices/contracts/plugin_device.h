#pragma once

// The module's device objects ("HardProbe", "HardProbeContinuous", "LaserScan"), through which commands
// connect a device, register receivers and start and stop acquisition. All operations on the host's main
// thread.

#include <initializer_list>

#include "devices/contracts/plugin_data_receivers.h"
#include "host_api/zel_unknown.h"

class IZelPluginDevice : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginDevice";

  // Connects the active plug-in of the device's kind, offering the user a retry while it fails; true when it
  // is connected.
  virtual bool connect() = 0;
  // Stops acquisition, then disconnects the plug-in if it is connected; false when there is no plug-in.
  virtual bool disconnect() = 0;
  // Starts the worker thread that runs the plug-in; true when it started.
  virtual bool startAcquisition() = 0;
  // Stops the plug-in and waits for the worker thread; the events it posted before it ended still reach the
  // receivers held then, during this call. Nothing when not acquiring.
  virtual void stopAcquisition() = 0;
  // Registers a receiver (the device keeps a reference); an object without the receiver interface of the
  // device's kind is refused. Registering twice keeps one entry.
  virtual void addReceiver(IZelPluginDataReceiver* receiver) = 0;
  virtual void removeReceiver(IZelPluginDataReceiver* receiver) = 0;
};

// Ends an acquisition without hearing from it again: the receivers (null ones skipped) come off the device
// before it stops, so none of them gets a second STOP, a sample, "Cancel" or "Error" in the middle of the end
// of its own run.
inline void stopDetached(IZelPluginDevice& device, std::initializer_list<IZelPluginDataReceiver*> receivers) {
  for (IZelPluginDataReceiver* receiver : receivers)
    if (receiver) device.removeReceiver(receiver);
  device.stopAcquisition();
}
