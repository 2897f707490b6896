#include "host/scene/host_selector.h"

#include <algorithm>

#include "basic_types/bit_vector.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/document/host_doc_object.h"
#include "host/scene/host_scene_nodes.h"
#include "host_api/zel_primitive_itr.h"

namespace {

Vector3 rayOrigin(IGfxMouseData& mouse, Vector3* direction = nullptr) {
  double origin[3], along[3];
  mouse.pickRay(origin, along);
  if (direction) *direction = {along[0], along[1], along[2]};
  return {origin[0], origin[1], origin[2]};
}

}  // namespace

bool HostSelector::start(IGfxMouseData* mouse, int32_t, int32_t, int32_t) {
  if (!mouse) return false;
  band_.started = true;
  band_.accepted = false;
  band_.button = mouse->button();
  band_.start = rayOrigin(*mouse);
  return true;
}

bool HostSelector::follow(IGfxMouseData* mouse) {
  return mouse && band_.started;
}

bool HostSelector::accept(IGfxMouseData* mouse) {
  if (!mouse || !band_.started) return false;
  band_.started = false;
  band_.accepted = true;
  band_.end = rayOrigin(*mouse, &band_.direction);
  return true;
}

void HostSelector::place(const Vector3& point, double out[2]) const {
  Vector3 across, up;
  if (!Vector3::orthonormalBasis(band_.direction, across, up)) across = up = {};
  out[0] = point.dot(across);
  out[1] = point.dot(up);
}

void HostSelector::corners(double start[2], double end[2]) {
  place(band_.start, start);
  place(band_.end, end);
}

int32_t HostSelector::action() {
  // The view's left button selects and its right one unselects.
  switch (band_.button) {
    case 0:
      return 0;
    case 2:
      return 1;
    default:
      return -1;
  }
}

bool HostSelector::pick(int32_t kind, int32_t, IZelDocObject* object, BitVector& points) {
  points.clearAll();
  auto* drawn = queryPart<HostDocObject>(object);
  if (!band_.accepted || kind != kPointPick || !drawn) return false;
  int32_t number = 0;
  pickUnder(drawn->graphics().node(), number, points);
  return points.count() > 0;
}

void HostSelector::pickUnder(HostNode& node, int32_t& number, BitVector& points) const {
  double low[2], high[2], at[2];
  place(band_.start, low);
  place(band_.end, high);
  for (int axis : {0, 1}) {
    if (low[axis] > high[axis]) std::swap(low[axis], high[axis]);
  }
  if (auto* iterating = dynamic_cast<HostStaticIteratorNode*>(&node)) {
    for (const HostStaticIteratorNode::Primitive& primitive : iterating->drawPrimitives()) {
      if (primitive.type != ZelPrimitiveType::Points) continue;
      for (const Vector3& vertex : primitive.vertices) {
        ++number;
        place(vertex, at);
        if (at[0] >= low[0] && at[0] <= high[0] && at[1] >= low[1] && at[1] <= high[1]) points.set(number);
      }
    }
  }
  for (const IPtr<IZelUnknown>& child : node.children()) {
    if (auto* part = queryPart<HostNode>(child.get())) pickUnder(*part, number, points);
  }
}

void HostSelector::end() {
  band_.started = false;
  band_.accepted = false;
}

void HostSelector::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelSelector>(this).end();
}
