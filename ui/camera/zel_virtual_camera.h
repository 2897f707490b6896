#pragma once

// Makes the host's 3-D view look along the probe: a command hands it the probe's pose on every move and
// calls update, which puts the view's camera behind the probe. Main thread only.

#include "basic_types/vector3.h"
#include "host_api/zel_unknown.h"

class IZelVirtualCamera : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelVirtualCamera";

  virtual void setCameraPoint(const Vector3& point) = 0;
  virtual void setPosition(const Vector3& position) = 0;
  virtual void setTo(const Vector3& to) = 0;
  virtual void setUp(const Vector3& up) = 0;
  virtual void update() = 0;
};
