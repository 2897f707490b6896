#pragma once

// After an alignment, a small sphere at every probed point as the device now places it, so the user sees
// where the probed points fall on the part. The points were probed with the identity as hardware matrix, so
// the device's scale already acts on them and the alignment found carries them into the world, onto the part
// where it stands. Each
// sphere is 0.005 of the reference object's size, coloured at half its plane's colour. Main thread only.

#include <vector>

#include "basic_types/color.h"
#include "basic_types/matrix4x4.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"

struct ProbedPoint {
  Vector3 point;
  ColorRGBA color;  // of the plane it was probed for
};

class ProbedPointGraphics {
 public:
  ProbedPointGraphics() = default;
  ProbedPointGraphics(const ProbedPointGraphics&) = delete;
  ProbedPointGraphics& operator=(const ProbedPointGraphics&) = delete;
  ~ProbedPointGraphics() { clear(); }

  // Replaces what was drawn by the points carried into the world by deviceToWorld.
  void draw(const std::vector<ProbedPoint>& points, const Matrix4x4& deviceToWorld, IZelDocObject* reference);
  // Takes the drawing out of the scene.
  void clear();

 private:
  IPtr<IZelNode> group_;
};
