#include "devices/devices/hard_probe_device.h"

#include "framework/registrations/static_constants.h"

template class PluginDevice<HardProbeKind>;

using namespace SingleEventNames;
using namespace EventLogNames;

void HardProbeCallback::setProbeRadius(double radius) {
  postRadius(kRadius, kCustom, radius);
}

void HardProbeCallback::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  postMove(kMoved, point, to, up);
}

void HardProbeCallback::onPointSampled(const Vector3& point) {
  releaseHeldMove(kMoved);
  postPosition(kSampled, kOnPointSampled, point);
}

void HardProbeCallback::onPointStop(const Vector3& point) {
  postPosition(kStop, kOnPointStop, point);
}

void HardProbeCallback::onCustomEvent(const ZelCString& name, IZelUnknown* payload) {
  postCustom(kCustom, name, payload);
}

void HardProbeCallback::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelHardProbeDataReceiver>(this)
      .end();
}
