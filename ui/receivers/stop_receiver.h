#pragma once

// Turns the end of a probing step into one "Stop" notification: a command attaches itself as a listener, adds
// the receiver to the "HardProbe" device and waits. The stop point ends the step, and so does a device error
// or a cancel (the custom events "Error" and "Cancel", exactly so spelt); moves and sampled points do not.
// Receiver calls arrive on the main thread.

#include "devices/contracts/plugin_data_receivers.h"
#include "framework/subject/palpera_subject_base.h"

class StopReceiver : public PalperaSubjectBase, public IZelHardProbeDataReceiverV2 {
 public:
  static constexpr const char* interfaceName = "StopReceiver";
  static constexpr const char* kStopEvent = "Stop";

  void setProbeRadius(double) override {}
  void onMoved(const Vector3&, const Vector3&, const Vector3&) override {}
  void onPointSampled(const Vector3&) override {}
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
