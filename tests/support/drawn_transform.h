#pragma once

// Where the stand-in host draws a node, found as a host draws its scene: from the scene root, and from each
// document object's node placed by its node transform, every matrix node and matrix-source node met before
// the node on the way down places what follows it. A separator keeps its matrices to itself, so only the
// earlier children of the node's ancestors count, never what lies inside them.

#include <optional>

#include "basic_types/matrix4x4.h"
#include "framework/object/query_part.h"
#include "host/scene/host_scene_nodes.h"
#include "host/standin_host.h"

namespace drawn_transform_detail {

inline bool findUnder(const HostNode& node, const Matrix4x4& above, const HostNode* target, Matrix4x4& out) {
  Matrix4x4 placed = above;
  for (const IPtr<IZelUnknown>& child : node.children()) {
    const HostNode* part = queryPart<HostNode>(child.get());
    if (part == target) {
      out = placed;
      return true;
    }
    if (auto* matrix = queryPart<HostMatrixNode>(child.get()))
      placed = placed * matrix->matrix();
    else if (auto* source = queryPart<HostMatrixSourceNode>(child.get()))
      placed = placed * source->drawnMatrix();
    else if (part && findUnder(*part, placed, target, out))
      return true;
  }
  return false;
}

}  // namespace drawn_transform_detail

// The transform from node's own coordinates to the world as the host draws it; none for a node not in the
// scene.
inline std::optional<Matrix4x4> drawnTransform(StandinHost& host, IZelUnknown* node) {
  using drawn_transform_detail::findUnder;
  const HostNode* target = queryPart<HostNode>(node);
  if (!target) return std::nullopt;
  Matrix4x4 found;
  if (findUnder(host.document().graphics().root(), Matrix4x4::identity(), target, found)) return found;
  for (const IPtr<HostDocObject>& object : host.document().doc().objects()) {
    Matrix4x4 placed;
    host.document().graphics().objectNodeTransform(object.get(), placed.m);
    if (findUnder(object->graphics().node(), placed, target, found)) return found;
  }
  return std::nullopt;
}

// Where the host draws a point given in node's own coordinates; none for a node not in the scene.
inline std::optional<Vector3> drawnAt(StandinHost& host, IZelUnknown* node, const Vector3& own) {
  std::optional<Matrix4x4> transform = drawnTransform(host, node);
  if (!transform) return std::nullopt;
  return Matrix4x4::transformPoint(*transform, own);
}
