#include "devices/devices/hard_probe_continuous_device.h"

#include "framework/registrations/static_constants.h"

template class PluginDevice<HardProbeContinuousKind>;

using namespace ContinuousEventNames;
using namespace EventLogNames;

void HardProbeContinuousCallback::setProbeRadius(double radius) {
  postRadius(kRadius, kCustom, radius);
}

void HardProbeContinuousCallback::onStartCapture() {
  postNull(kStartCapture, kOnStartCapture);
}

void HardProbeContinuousCallback::onStopCapture() {
  postNull(kStopCapture, kOnStopCapture);
}

void HardProbeContinuousCallback::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  postMove(kMoved, point, to, up);
}

void HardProbeContinuousCallback::onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) {
  postOriented(kSampled, kOnPointSampledOrientation, point, to, up);
}

void HardProbeContinuousCallback::onStop() {
  postNull(kStop, kOnStop);
}

void HardProbeContinuousCallback::onCustomEvent(const ZelCString& name, IZelUnknown* payload) {
  postCustom(kCustom, name, payload);
}

void HardProbeContinuousCallback::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .end();
}
