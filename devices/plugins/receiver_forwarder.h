#pragma once

// Accepts every receiver call of the three device kinds and forwards it to the one device receiver it was
// made for, so a plug-in can drive the receiver of whichever face its run was given through one object.
// A call the target's kind has no operation for does nothing. The target is not owned and not counted: the
// forwarder lives only during the run that was handed the target. Each plug-in derives its own adapter, which
// adds the counting and the names it answers to.

#include "devices/contracts/plugin_data_receivers.h"

class ReceiverForwarder : public IZelHardProbeDataReceiverV2,
                          public IZelHardProbeContinuousDataReceiver,
                          public IZelLaserScanDataReceiver {
 public:
  explicit ReceiverForwarder(IZelHardProbeDataReceiver* target) : hardProbe_(target) {}
  explicit ReceiverForwarder(IZelHardProbeContinuousDataReceiver* target) : continuous_(target) {}
  explicit ReceiverForwarder(IZelLaserScanDataReceiver* target) : laserScan_(target) {}

  bool forwardsTo(const IZelUnknown* target) const;

  void setProbeRadius(double radius) override;
  void onStartCapture() override;
  void onStopCapture() override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointStop(const Vector3& point) override;
  void onStop() override;
  void onSampled(const Vector3& point, const Vector3& to, const Vector3& up, const void* points,
                 uint32_t count, uint32_t stride) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

 private:
  IZelHardProbeDataReceiver* hardProbe_ = nullptr;
  IZelHardProbeContinuousDataReceiver* continuous_ = nullptr;
  IZelLaserScanDataReceiver* laserScan_ = nullptr;
};
