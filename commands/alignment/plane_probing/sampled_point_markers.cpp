#include "commands/alignment/plane_probing/sampled_point_markers.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/zel_matrix_nodes.h"
#include "host_api/zel_style_nodes.h"

namespace {

IZelGroupNode* parentNode(IZelDocObject* object) {
  SPtr<IGfxDoc> graphics;
  if (!graphics) return nullptr;
  IZelGroupNode* node = object ? graphics->objectNode(object) : nullptr;
  return node ? node : graphics->sceneRoot();
}

}  // namespace

SampledPointMarkers::SampledPointMarkers(IZelDocObject* object) : parent_(parentNode(object)) {
  if (parent_) group_ = createNode<IZelSeparatorNode>(parent_.get(), "sampled points");
}

SampledPointMarkers::~SampledPointMarkers() {
  if (parent_ && group_) parent_->removeChild(group_.get());
}

void SampledPointMarkers::add(const Vector3& point, const ColorRGBA& color) {
  auto* marker = group_ ? createNode<IZelSeparatorNode>(group_.get(), "sampled point") : nullptr;
  if (!marker) return;
  if (auto* at = createNode<IZelMatrixNode>(marker, "at")) at->setMatrix(Matrix4x4::translation(point));
  if (auto* colorNode = createNode<IZelColorNode>(marker, "colour")) colorNode->setColor(color);
  if (auto* sphere = createNode<IZelSphereNode>(marker, "sphere")) sphere->setRadius(kRadius);
  markers_.emplace_back(marker);
}

void SampledPointMarkers::removeLast() {
  if (markers_.empty()) return;
  if (auto* group = queryPart<IZelGroupNode>(group_.get())) group->removeChild(markers_.back().get());
  markers_.pop_back();
}
