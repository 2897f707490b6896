#pragma once

// The contract a device plug-in is written against. A plug-in object implements IZelPlugin and one or more
// faces (the single-point hard probe, the continuous hard probe, the laser scanner); a device object finds
// the face of its kind by querying the plug-in by its interface name. Objects are counted (IZelUnknown); a
// query returns the face without adding a reference.
//
// Threads: `run` blocks on the device's worker thread and calls the receiver there for every event, in the
// order the events happen; `stop` comes from the host's main thread while `run` blocks, and `run` must return
// soon after it. Every other operation is called on the main thread.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "host_api/zel_unknown.h"

class IZelPlugin : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPlugin";

  // The plug-in's name, which the plug-in managers store and compare.
  virtual const ZelString& getName() = 0;
  // Reserved by the host; a plug-in answers an empty text or does nothing.
  virtual ZelString reservedText1() = 0;
  virtual void reserved1() = 0;
  virtual ZelString reservedText2() = 0;
  virtual void reserved2() = 0;
  // A new hardware alignment of the device.
  virtual void setHardwareMatrix(const Matrix4x4& matrix) = 0;
  // Refreshes the plug-in's cached object (software) alignment, or resets it to the identity.
  virtual void reloadObjectMatrix() = 0;
  virtual void resetObjectMatrix() = 0;
  // The hardware alignment; the identity when none is known. Valid while the plug-in lives.
  virtual const Matrix4x4& hardwareMatrix() = 0;
  // Fills out with the device transform (object x hardware x scale) from device to part coordinates.
  virtual Matrix4x4& deviceMatrix(Matrix4x4& out) = 0;
  // The plug-in's option entries for a category ("HardProbe" or "LaserScan"), for the host's options page.
  virtual int32_t optionCount(const ZelCString& category) = 0;
  virtual ZelCString optionKey(const ZelCString& category, int32_t index) = 0;
  // The registry name of the device the entry needs ("HardProbe", "HardProbeContinuous", "LaserScan").
  virtual ZelCString optionDevice(const ZelCString& key) = 0;
  virtual ZelString optionCaption(const ZelCString& key) = 0;
  // The size in bytes of the entry's PNG icon; 0 for none.
  virtual uint32_t optionIconSize(const ZelCString& key) = 0;
  // Fills buffer (of optionIconSize bytes) with the icon; false when it did not.
  virtual bool optionIcon(const ZelCString& key, uint8_t* buffer) = 0;
  virtual bool runOption(const ZelCString& key) = 0;
};

// The face of one device kind, with the receiver its `run` calls.
template <class Receiver>
class IZelPluginFace : public virtual IZelUnknown {
 public:
  // Whether the device can be used at all: a device object never connects an unavailable plug-in.
  virtual bool isAvailable() = 0;
  // Connects the hardware; on failure answers false with a message for the user in error.
  virtual bool connect(ZelString& error) = 0;
  virtual bool disconnect() = 0;
  virtual bool isConnected() = 0;
  // Blocking acquisition on the calling worker thread: calls the receiver for each event and returns only
  // after stop.
  virtual void run(Receiver* receiver) = 0;
  // Makes a running `run` return; called from another thread.
  virtual void stop() = 0;
};

class IZelHardProbePlugin : public IZelPluginFace<IZelHardProbeDataReceiver> {
 public:
  static constexpr const char* interfaceName = "IZelHardProbePlugin";
};

class IZelHardProbeContinuousPlugin : public IZelPluginFace<IZelHardProbeContinuousDataReceiver> {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeContinuousPlugin";
};

class IZelLaserScanPlugin : public IZelPluginFace<IZelLaserScanDataReceiver> {
 public:
  static constexpr const char* interfaceName = "IZelLaserScanPlugin";
};

// Marks the module's own emulator plug-in; devices recognise it by its class name "EmulatorPlugin".
class IZelEmulatorPlugin : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelEmulatorPlugin";
  // Whether the host document holds the reference model ("RefObject") the emulator picks on.
  virtual bool hasReferenceObject() = 0;
};
