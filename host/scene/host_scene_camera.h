#pragma once

// The stand-in view's camera: it keeps what it was given, for tests and scripts to read.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "host/core/host_unknown.h"
#include "host_api/gfx_scene.h"

class HostSceneCamera : public ISGfxCamera, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostSceneCamera";

  void setPoint(const Vector3& point) override { point_ = point; }
  void setMatrix(const Matrix4x4& matrix) override { matrix_ = matrix; }
  void setMode(int32_t slot, int32_t value) override;
  void setZoomScale(double scale) override;
  void getState(SGfxCameraState& out) override;

  // Host side: puts the camera where a state says.
  void setState(const SGfxCameraState& state);

  const Vector3& point() const { return point_; }
  const Matrix4x4& matrix() const { return matrix_; }
  int32_t mode(int32_t slot) const { return slot == 0 || slot == 1 ? modes_[slot] : -1; }
  double zoomScale() const { return zoomScale_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Vector3 point_;
  Matrix4x4 matrix_;
  int32_t modes_[2] = {1, 0};  // a fresh camera follows the viewing transform
  double zoomScale_ = 1.0;
};
