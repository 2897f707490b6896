#include "host/scene/host_alignment_widgets.h"

#include <cstdio>
#include <string>

#include "framework/object/query_chain.h"

namespace {

IZelGroupNode* objectNodeOf(IZelDocObject* object) {
  SPtr<IGfxDoc> graphics;
  return graphics && object ? graphics->objectNode(object) : nullptr;
}

}  // namespace

void HostMarkersWidget::setMarkerCount(int32_t count) {
  markers_.assign(count > 0 ? count : 0, std::nullopt);
}

void HostMarkersWidget::clearMarkers() {
  markers_.assign(markers_.size(), std::nullopt);
}

bool HostMarkersWidget::placeMarker(int32_t index, const Vector3& point, int32_t) {
  if (index < 0 || index >= static_cast<int32_t>(markers_.size())) return false;
  markers_[index] = point;
  return true;
}

std::string HostMarkersWidget::describe() const {
  std::string text;
  char item[96];
  for (size_t i = 0; i < markers_.size(); ++i) {
    if (!markers_[i]) continue;
    std::snprintf(item, sizeof item, "%s%zu at (%g, %g, %g)", text.empty() ? "" : ", ", i, markers_[i]->x,
                  markers_[i]->y, markers_[i]->z);
    text += item;
  }
  return text;
}

void HostMarkersWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelMarkersWidget*>(this))
      .offer<IZelMarkersWidget>(this)
      .offer<IZelNode>(this)
      .offer<HostNode>(this)
      .end();
}

void HostObjectPlaneWidget::setObject(IZelDocObject* object) {
  if (object_) {
    if (IZelGroupNode* node = objectNodeOf(object_.get())) {
      void* host = nullptr;
      node->queryInterface(HostNode::interfaceName, &host, false);
      if (host) static_cast<HostNode*>(host)->removeChild(static_cast<IZelObjectPlaneWidget*>(this));
    }
  }
  object_ = object;
  if (IZelGroupNode* node = objectNodeOf(object)) {
    void* host = nullptr;
    node->queryInterface(HostNode::interfaceName, &host, false);
    if (host) static_cast<HostNode*>(host)->addChild(static_cast<IZelObjectPlaneWidget*>(this));
  }
}

std::string HostObjectPlaneWidget::describe() const {
  char text[160];
  std::snprintf(text, sizeof text, "plane (%g, %g, %g; %g)%s", plane_.nx, plane_.ny, plane_.nz, plane_.d,
                clipped_ ? ", clipped" : "");
  return text;
}

void HostObjectPlaneWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelObjectPlaneWidget*>(this))
      .offer<IZelObjectPlaneWidget>(this)
      .offer<HostNode>(this)
      .end();
}
