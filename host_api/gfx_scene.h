#pragma once

// The scene of the host's current view (the view manager's current view answers "ISGfxScene"): its camera
// and the viewing transform that turns a viewing position and up direction into a camera orientation.
// Main thread only, as the view is.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "host_api/zel_unknown.h"

// Where a camera stands and how it looks: what a camera animation moves towards.
struct SGfxCameraState {
  Matrix4x4 matrix;
  Vector3 point;
  double zoomScale = 1.0;
  int32_t modes[2] = {1, 0};
};

class ISGfxCamera : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ISGfxCamera";

  virtual void getState(SGfxCameraState& out) = 0;

  // The point the camera turns about.
  virtual void setPoint(const Vector3& point) = 0;
  // The camera's placement: orientation and translation (row-major, translation in the last column).
  virtual void setMatrix(const Matrix4x4& matrix) = 0;
  // The camera's mode values by slot (0 and 1); 0 in slot 0 is the plain placement by the matrix above. A
  // slot the camera lacks changes nothing.
  virtual void setMode(int32_t slot, int32_t value) = 0;
  // How many times larger than at 1.0 the scene is drawn; a value that is not a finite number above 0
  // changes nothing.
  virtual void setZoomScale(double scale) = 0;
};

// What the viewing transform offers when queried for "IZelOrienter".
class IZelOrienter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelOrienter";

  // The placement of an eye at the viewing position, looking at the origin with the up direction upward.
  virtual Matrix4x4 matrix() = 0;
};

class ISGfxViewingTransform : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ISGfxViewingTransform";

  virtual void setPosition(const Vector3& position) = 0;
  virtual void setUp(const Vector3& up) = 0;
};

class ISGfxScene : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ISGfxScene";

  // Both without a reference for the caller; they live as long as the scene.
  virtual ISGfxCamera* camera() = 0;
  virtual ISGfxViewingTransform* viewingTransform() = 0;
  // Shows what changed in the scene.
  virtual void update() = 0;
};
