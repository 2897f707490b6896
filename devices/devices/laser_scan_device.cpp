#include "devices/devices/laser_scan_device.h"

#include "framework/registrations/static_constants.h"

template class PluginDevice<LaserScanKind>;

using namespace LaserScanEventNames;
using namespace EventLogNames;

void LaserScanCallback::onStartCapture() {
  postNull(kStartCapture, kOnStartCapture);
}

void LaserScanCallback::onStopCapture() {
  postNull(kStopCapture, kOnStopCapture);
}

void LaserScanCallback::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  postMove(kMoved, point, to, up);
}

void LaserScanCallback::onSampled(const Vector3& point, const Vector3& to, const Vector3& up,
                                  const void* points, uint32_t count, uint32_t stride) {
  postScanLine(kSampled, point, to, up, points, count, stride);
}

void LaserScanCallback::onStop() {
  postNull(kStop, kOnStop);
}

void LaserScanCallback::onCustomEvent(const ZelCString& name, IZelUnknown* payload) {
  postCustom(kCustom, name, payload);
}

void LaserScanCallback::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelLaserScanDataReceiver>(this)
      .end();
}
