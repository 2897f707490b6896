#include "commands/alignment/device_to_part/device_plane_receiver.h"

#include <cstring>

#include "devices/events/acquisition_error.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"

void DevicePlaneReceiver::onPointSampled(const Vector3& point) {
  if (!owner_) return;
  IPtr<DevicePlaneReceiver> self(this);
  planes_.sampled(point);
  owner_->onProbeSampled(point, step_);
  frame_.addPoint(point);
}

void DevicePlaneReceiver::onPointStop(const Vector3& point) {
  if (!owner_) return;
  IPtr<DevicePlaneReceiver> self(this);  // the owner may let go of the receiver while it ends the run
  planes_.stopped(point);
  advanceStep();
}

void DevicePlaneReceiver::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (!owner_ || !name.data()) return;
  IPtr<DevicePlaneReceiver> self(this);
  if (std::strcmp(name.data(), kUndoLastSampledEvent) == 0) {
    if (!planes_.undoSampled()) return;
    frame_.removeLastPoint();
    owner_->onProbeSampleUndone();
  } else if (std::strcmp(name.data(), "Cancel") == 0) {
    owner_->finishProbing(true);
  } else if (isAcquisitionError(name)) {
    owner_->finishProbing(true);
    reportAcquisitionError();
  }
}

void DevicePlaneReceiver::advanceStep() {
  const bool built = step_ == 1   ? planes_.computeDevicePlane1()
                     : step_ == 2 ? planes_.computeDevicePlane2()
                                  : planes_.computeDevicePlane3();
  if (!built) {
    // A second STOP, or one too early, costs neither the planes done nor this plane's points.
    reportUserError(planes_.refusal(step_));
    if (planes_.endsRun()) owner_->finishProbing(true);
    return;
  }
  planes_.clearSampled();
  if (step_ == 3) {
    owner_->finishProbing(false);
    return;
  }
  ++step_;
  owner_->onProbeStep(step_);
}

void DevicePlaneReceiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelHardProbeDataReceiver*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .end();
}
