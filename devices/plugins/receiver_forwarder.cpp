#include "devices/plugins/receiver_forwarder.h"

bool ReceiverForwarder::forwardsTo(const IZelUnknown* target) const {
  const IZelUnknown* held = hardProbe_    ? static_cast<IZelUnknown*>(hardProbe_)
                            : continuous_ ? static_cast<IZelUnknown*>(continuous_)
                                          : static_cast<IZelUnknown*>(laserScan_);
  return held && held == target;
}

void ReceiverForwarder::setProbeRadius(double radius) {
  if (hardProbe_) {
    hardProbe_->setProbeRadius(radius);
  } else if (continuous_) {
    continuous_->setProbeRadius(radius);
  }
}

void ReceiverForwarder::onStartCapture() {
  if (continuous_) {
    continuous_->onStartCapture();
  } else if (laserScan_) {
    laserScan_->onStartCapture();
  }
}

void ReceiverForwarder::onStopCapture() {
  if (continuous_) {
    continuous_->onStopCapture();
  } else if (laserScan_) {
    laserScan_->onStopCapture();
  }
}

void ReceiverForwarder::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  if (hardProbe_) {
    hardProbe_->onMoved(point, to, up);
  } else if (continuous_) {
    continuous_->onMoved(point, to, up);
  } else if (laserScan_) {
    laserScan_->onMoved(point, to, up);
  }
}

void ReceiverForwarder::onPointSampled(const Vector3& point) {
  if (hardProbe_) hardProbe_->onPointSampled(point);
}

void ReceiverForwarder::onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) {
  if (continuous_) continuous_->onPointSampled(point, to, up);
}

void ReceiverForwarder::onPointStop(const Vector3& point) {
  if (hardProbe_) hardProbe_->onPointStop(point);
}

void ReceiverForwarder::onStop() {
  if (continuous_) {
    continuous_->onStop();
  } else if (laserScan_) {
    laserScan_->onStop();
  }
}

void ReceiverForwarder::onSampled(const Vector3& point, const Vector3& to, const Vector3& up,
                                  const void* points, uint32_t count, uint32_t stride) {
  if (laserScan_) laserScan_->onSampled(point, to, up, points, count, stride);
}

void ReceiverForwarder::onCustomEvent(const ZelCString& name, IZelUnknown* payload) {
  if (hardProbe_) {
    hardProbe_->onCustomEvent(name, payload);
  } else if (continuous_) {
    continuous_->onCustomEvent(name, payload);
  } else if (laserScan_) {
    laserScan_->onCustomEvent(name, payload);
  }
}
