#include "commands/quick_probe/loop_edge_itr.h"

#include "framework/object/host_lookup.h"
#include "host_api/points.h"

namespace {
constexpr int32_t kPointEntryWidth = 1;
constexpr int32_t kPointCapacity = 1024;
}  // namespace

void LoopEdgeItr::setEdges(std::vector<int32_t> edges) {
  if (edges == edges_) return;
  edges_ = std::move(edges);
  std::vector<Run> strips;
  SPtr<IRealPArrayFactory> arrays;
  IPtr<RealPArray> polyline;
  if (arrays) polyline.takeOwnership(arrays->createArray(kPointEntryWidth, kPointCapacity));
  for (const int32_t edge : edges_) {
    if (!polyline || !topology_) break;
    polyline->clear();
    if (!topology_->edgePolyline(static_cast<uint32_t>(edge), kSamples, polyline.get())) continue;
    Run& strip = strips.emplace_back(Run{ZelPrimitiveType::LineStrip, {}});
    for (int32_t i = 1; i <= polyline->count(); ++i) {
      const double* xyz = polyline->at(i);
      strip.vertices.push_back(Matrix4x4::transformPoint(toDrawn_, {xyz[0], xyz[1], xyz[2]}));
    }
  }
  setRuns(std::move(strips));
}
