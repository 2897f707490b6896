#include "commands/alignment/plane_probing/sampled_point_markers.h"

#include "framework/object/host_lookup.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_style_nodes.h"

SampledPointMarkers::SampledPointMarkers(IZelDocObject* object)
    : group_(object, "sampled points", WorldPointsNode::Place::last) {}

void SampledPointMarkers::add(const Vector3& point, const ColorRGBA& color) {
  auto* marker = group_.group() ? createNode<IZelSeparatorNode>(group_.group(), "sampled point") : nullptr;
  if (!marker) return;
  if (auto* at = createNode<IZelMatrixNode>(marker, "at")) at->setMatrix(Matrix4x4::translation(point));
  if (auto* colorNode = createNode<IZelColorNode>(marker, "colour")) colorNode->setColor(color);
  if (auto* sphere = createNode<IZelSphereNode>(marker, "sphere")) sphere->setRadius(kRadius);
  markers_.emplace_back(marker);
}

void SampledPointMarkers::removeLast() {
  if (markers_.empty()) return;
  group_.group()->removeChild(markers_.back().get());
  markers_.pop_back();
}
