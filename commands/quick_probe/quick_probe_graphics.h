#pragma once

// What quick probe draws over the target object while it runs, in the theme's colour for datum objects: the
// points sampled since the last stop, as spheres, and the CAD edges of the edge feature under the probe.
// Main thread only.

#include <cstdint>
#include <vector>

#include "basic_types/vector3.h"
#include "commands/quick_probe/loop_edge_itr.h"
#include "framework/host_glue/object_placement.h"
#include "framework/object/iptr.h"
#include "host_api/points.h"
#include "host_api/zel_cad.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"

class QuickProbeGraphics {
 public:
  QuickProbeGraphics() = default;
  QuickProbeGraphics(const QuickProbeGraphics&) = delete;
  QuickProbeGraphics& operator=(const QuickProbeGraphics&) = delete;
  ~QuickProbeGraphics() { remove(); }

  // Under the object's node, whose coordinates are the world's, replacing what was built before; draws
  // nothing when the host cannot make the nodes. The topology, of a model placed by placement, must outlive
  // the graphics.
  void build(IZelDocObject* object, IZelCadTopology* topology, const ObjectPlacement& placement);
  void remove();

  void addPoint(const Vector3& point);
  void removeLastPoint();
  void clearPoints();
  // The edges drawn, by id, where the model stands; none when empty.
  void showEdges(std::vector<int32_t> edges);

 private:
  IPtr<IZelGroupNode> parent_;
  IPtr<IZelGroupNode> node_;
  IPtr<RealPArray> points_;
  IPtr<LoopEdgeItr> edges_;
};
