#pragma once

// The receiver of one probing run of the 3-2-1 device alignment: SAMPLE points go to the current device plane
// (and to its owner, which draws them), each STOP point ends a plane: plane 1, 2, then 3, after which the run
// is finished. "UndoLastSampled" takes back the newest SAMPLE point of the plane being probed; the planes
// already built keep theirs. A STOP that cannot build its plane keeps the run, the planes built and the
// plane's points, and tells the operator what the plane needs (ProbedPlanes::refusal), a STOP before the
// first touch of plane 1 included; only a "Cancel" or an "Error" from the device, or planes at odds with
// their reference faces (ProbedPlanes::endsRun), end the run as cancelled.
// The owner is not counted: it detaches the receiver before it lets it go. Main thread only.

#include "commands/alignment/plane_probing/probed_planes.h"
#include "commands/alignment/plane_probing/probed_points_frame.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/zel_unknown_impl.h"

class DevicePlaneOwner {
 public:
  virtual ~DevicePlaneOwner() = default;
  // A SAMPLE point of the plane being probed (1 to 3).
  virtual void onProbeSampled(const Vector3& point, int step) = 0;
  // The newest SAMPLE point of the plane being probed was taken back.
  virtual void onProbeSampleUndone() = 0;
  // The plane before step was built; step is now probed.
  virtual void onProbeStep(int step) = 0;
  // The run ended: all three planes built (cancelled false) or not.
  virtual void finishProbing(bool cancelled) = 0;
};

class DevicePlaneReceiver : public IZelHardProbeDataReceiverV2, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeDataReceiver";

  explicit DevicePlaneReceiver(DevicePlaneOwner& owner) : owner_(&owner) {}

  void setProbeRadius(double radius) override { planes_.probeRadius = radius; }
  // The moves make the approach of the next touch.
  void onMoved(const Vector3& point, const Vector3& to, const Vector3&) override { planes_.moved(point, to); }
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  // From now on nothing reaches the owner.
  void detach() { owner_ = nullptr; }
  // The faces the planes stand for, as far as they are picked; set before the first touch.
  void setReferences(const std::array<ReferenceFace, 3>& faces) { planes_.references = faces; }
  const std::array<Plane, 3>& devicePlanes() const { return planes_.devicePlanes; }
  const std::array<ProbedFace, 3>& probedFaces() const { return planes_.probedFaces; }
  int step() const { return step_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void advanceStep();

  DevicePlaneOwner* owner_;
  ProbedPlanes planes_;
  int step_ = 1;
  ProbedPointsFrame frame_;
};
