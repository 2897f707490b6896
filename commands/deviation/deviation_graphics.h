#pragma once

// What the real-time deviation command draws in the view: a sphere at every compensated probe point and at
// every matching CAD point, and each point's label beside it, over the model (labels are not hidden by it).
// Built under the root of the host's graphics document and taken out again by remove or the destructor.
// Main thread only.

#include "commands/deviation/deviation_points.h"
#include "framework/object/iptr.h"
#include "host_api/zel_scene_node.h"

class DeviationGraphics {
 public:
  DeviationGraphics() = default;
  DeviationGraphics(const DeviationGraphics&) = delete;
  DeviationGraphics& operator=(const DeviationGraphics&) = delete;
  ~DeviationGraphics() { remove(); }

  // The point group with its spheres over the two arrays of points, and an empty label group under it;
  // nothing without the host's graphics document.
  void build(DeviationPoints& points);
  // The labels drawn afresh: one text per label, at its measured point.
  void refreshLabels(DeviationPoints& points);
  void remove();

 private:
  bool showLabels_ = true;
  bool labelDepthTest_ = false;
  IPtr<IZelGroupNode> root_;
  IPtr<IZelSeparatorNode> pointGroup_;
  IPtr<IZelSeparatorNode> labelGroup_;
};
