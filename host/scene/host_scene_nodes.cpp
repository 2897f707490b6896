#include "host/scene/host_scene_nodes.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void HostNode::insertChild(IZelUnknown* child, size_t index) {
  if (!child || holds(child)) return;
  children_.emplace(children_.begin() + static_cast<std::ptrdiff_t>(std::min(index, children_.size())),
                    child);
}

bool HostNode::removeChild(IZelUnknown* child) {
  return std::erase_if(children_, [&](const IPtr<IZelUnknown>& held) { return held.get() == child; }) > 0;
}

bool HostNode::holds(IZelUnknown* child) const {
  return std::ranges::any_of(children_, [&](const IPtr<IZelUnknown>& held) { return held.get() == child; });
}

void HostTextNode::setText(const ZelString& text, const Vector3& anchor, double size, double offsetX,
                           double offsetY) {
  text_ = text;
  anchor_ = anchor;
  size_ = size;
  offsetX_ = offsetX;
  offsetY_ = offsetY;
}

void HostTextNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelText>(this)
      .offer<HostNode>(this)
      .end();
}

void HostGroupNode::insertChild(IZelNode* node, int32_t index) {
  HostNode::insertChild(node, static_cast<size_t>(std::max(index, 0)));
}

void HostGroupNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelGroupNode>(this)
      .offer<IZelNode>(this)
      .offer<HostNode>(this)
      .end();
}
