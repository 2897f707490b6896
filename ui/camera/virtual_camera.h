#pragma once

// The virtual camera (a new one per request). It finds the current view's scene and camera once, when made;
// without a view, a scene or a camera, update does nothing. Nothing is put back when it goes: the view keeps
// the last camera.

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/gfx_scene.h"
#include "ui/camera/zel_virtual_camera.h"

class VirtualCamera : public IZelVirtualCamera, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "VirtualCamera";
  // How far behind the probe the camera stands, in probe vectors (position - to).
  static constexpr double kDistanceInProbeVectors = 6.0;

  VirtualCamera();

  void setCameraPoint(const Vector3& point) override { cameraPoint_ = point; }
  void setPosition(const Vector3& position) override { position_ = position; }
  void setTo(const Vector3& to) override { to_ = to; }
  void setUp(const Vector3& up) override { up_ = up; }
  void update() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Vector3 cameraPoint_;
  Vector3 position_;
  Vector3 to_;
  Vector3 up_;
  IPtr<ISGfxScene> scene_;
  IPtr<ISGfxCamera> camera_;
};
