#pragma once

// The points sampled during a probing run, drawn as small coloured balls where the probe took them: world
// points, drawn there however the document object whose node they hang under is placed (the scene root
// without one). The caller colours each marker, for example by the plane it was probed for, and can take
// back the newest. The drawing leaves the scene with the markers. Main thread only.

#include <cstdint>
#include <vector>

#include "basic_types/color.h"
#include "basic_types/vector3.h"
#include "framework/host_glue/world_points_node.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"

class SampledPointMarkers {
 public:
  // A marker ball's radius, in metres.
  static constexpr double kRadius = 0.0015;

  explicit SampledPointMarkers(IZelDocObject* object);
  SampledPointMarkers(const SampledPointMarkers&) = delete;
  SampledPointMarkers& operator=(const SampledPointMarkers&) = delete;

  // A new marker at point, in color, as the newest.
  void add(const Vector3& point, const ColorRGBA& color);
  // Nothing when there is no marker.
  void removeLast();
  int32_t count() const { return static_cast<int32_t>(markers_.size()); }

 private:
  WorldPointsNode group_;
  std::vector<IPtr<IZelNode>> markers_;  // oldest first
};
