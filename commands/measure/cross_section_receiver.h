#pragma once

// The receiver of a capture run of "Probe Sections": it tests every sampled tip position against its own
// copy of the section planes (SectionCrossings) and hands each crossing to the command as a section point.
// The radius becomes the curve offset, moves steer the virtual camera, the device's stop ends the run and an
// "Error" ends it with a message. Made per run; main thread only.

#include "commands/measure/palpera_cross_section_cmd.h"
#include "commands/measure/section_crossings.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/zel_unknown_impl.h"

class PalperaCrossSectionCmd::HardProbeDataReceiver : public IZelHardProbeContinuousDataReceiver,
                                                      public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaCrossSectionCmd::HardProbeDataReceiver";

  // parent outlives the receiver.
  HardProbeDataReceiver(PalperaCrossSectionCmd& parent, const SectionPlaneList& planes);

  void setProbeRadius(double radius) override { parent_.setOffset(radius); }
  void onStartCapture() override {}
  void onStopCapture() override { crossings_.restart(); }
  void onMoved(const Vector3& position, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& position, const Vector3& to, const Vector3& up) override;
  void onStop() override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  PalperaCrossSectionCmd& parent_;
  SectionCrossings crossings_;
};
