#include "commands/quick_probe/quick_probe_graphics.h"

#include "framework/host_glue/theme_color.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/zel_itr.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_style_nodes.h"

namespace {

constexpr const char* kNodeName = "node";
constexpr int32_t kPointEntryWidth = 1;
constexpr int32_t kPointCapacity = 1024;
// The spheres' size in pixels and the host's drawing mode and detail for them.
constexpr double kPointSize = 3.0;
constexpr int32_t kSphereMode = 1;
constexpr int32_t kSphereDetail = 4;

}  // namespace

void QuickProbeGraphics::build(IZelDocObject* object, IZelCadTopology* topology,
                               const ObjectPlacement& placement) {
  remove();
  SPtr<IGfxDoc> graphics;
  SPtr<IRealPArrayFactory> arrays;
  parent_ = graphics ? graphics->objectNode(object) : nullptr;
  node_ = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(parent_.get(), kNodeName));
  if (!node_ || !arrays) return remove();
  points_.takeOwnership(arrays->createArray(kPointEntryWidth, kPointCapacity));
  if (auto* color = createNode<IZelColorNode>(node_.get(), kNodeName))
    color->setColor(themeColor("ColorDatumObjects", {0, 0, 0, 1}));
  IPtr<IZelPArraySphereItr> spheres;
  spheres.getService();
  if (spheres && spheres->setup(points_.get(), kPointSize, kSphereMode, kSphereDetail))
    createNode<IZelStaticIteratorNode>(node_.get(), "points", spheres.get());
  edges_ = IPtr<LoopEdgeItr>(new LoopEdgeItr(topology, placement.ownToWorld()));
  createNode<IZelStaticIteratorNode>(node_.get(), "edges", edges_.get());
}

void QuickProbeGraphics::remove() {
  if (parent_ && node_) parent_->removeChild(queryPart<IZelNode>(node_.get()));
  edges_.release();
  points_.release();
  node_.release();
  parent_.release();
}

void QuickProbeGraphics::addPoint(const Vector3& point) {
  if (!points_) return;
  double xyz[3];
  point.copyTo(xyz);
  points_->append(xyz);
}

void QuickProbeGraphics::removeLastPoint() {
  if (points_) points_->removeLast();
}

void QuickProbeGraphics::clearPoints() {
  if (points_) points_->clear();
}

void QuickProbeGraphics::showEdges(std::vector<int32_t> edges) {
  if (edges_) edges_->setEdges(std::move(edges));
}
