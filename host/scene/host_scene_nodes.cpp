#include "host/scene/host_scene_nodes.h"

#include "framework/object/query_chain.h"

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
