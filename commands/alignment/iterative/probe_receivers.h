#pragma once

// The two device receivers of the iterative alignment's probing. The probing receiver turns the probe's
// moves, samples, stop and custom events into the command's probing steps; the free receiver, registered
// beside it when every target is already in tolerance, watches the moves and makes the target the probe
// comes near the current one, so that any target can be touched again in any order. Main thread only.

#include <vector>

#include "basic_types/vector3.h"
#include "commands/alignment/iterative/camera_animators.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/zel_unknown_impl.h"

class PalperaIterativeAlignmentCmd::HardProbeDataReceiver : public IZelHardProbeDataReceiverV2,
                                                            public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeDataReceiver";

  explicit HardProbeDataReceiver(PalperaIterativeAlignmentCmd& command) : command_(command) {}

  void setProbeRadius(double radius) override { radius_ = radius; }
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  // "UndoLastSampled" takes the last point back; "Cancel" and "Error" end the pass as cancelled.
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  double radius() const { return radius_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  PalperaIterativeAlignmentCmd& command_;
  double radius_ = 0;
  Vector3 direction_;
};

class PalperaIterativeAlignmentCmd::FreeHardProbeDataReceiver : public IZelHardProbeDataReceiverV2,
                                                                public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "FreeHardProbeDataReceiver";

  // targets must not be empty; it must outlive the receiver, and keep its length while the receiver lives.
  FreeHardProbeDataReceiver(PalperaIterativeAlignmentCmd& command, const std::vector<TargetData>& targets);

  void setProbeRadius(double radius) override { radius_ = radius; }
  // Makes the target whose critical distance the probe's contact point came within current (flying to it),
  // or, when it is near none, flies back to where the camera was.
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3&) override {}
  void onPointStop(const Vector3&) override {}
  void onCustomEvent(const ZelCString&, IZelUnknown*) override {}

  Target* currentTarget() const { return current_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  PalperaIterativeAlignmentCmd& command_;
  const std::vector<TargetData>& targets_;
  double radius_ = 0;
  std::vector<double> dist_;
  std::vector<double> critDist_;
  TemporaryViewTheme viewTheme_;
  IPtr<Target> current_;
};
