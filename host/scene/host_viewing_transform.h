#pragma once

// The stand-in view's viewing transform: an eye at the viewing position looking at the origin. Its
// orientation is right-handed with the eye's z axis pointing from the origin to the eye and its y axis the
// up direction made square to it; where no such frame exists (eye at the origin, up zero or along the line
// of sight) the orientation is the identity. The translation is the viewing position.

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "host/core/host_unknown.h"
#include "host_api/gfx_scene.h"

class HostViewingTransform : public ISGfxViewingTransform, public IZelOrienter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostViewingTransform";

  void setPosition(const Vector3& position) override { position_ = position; }
  void setUp(const Vector3& up) override { up_ = up; }
  Matrix4x4 matrix() override;

  // Host side: the pose given, and a host whose viewing transform offers no orientation of its own.
  const Vector3& position() const { return position_; }
  const Vector3& up() const { return up_; }
  void withdrawOrienter() { offersOrienter_ = false; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Vector3 position_;
  Vector3 up_;
  bool offersOrienter_ = true;
};
