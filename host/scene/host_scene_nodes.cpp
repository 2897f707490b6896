#include "host/scene/host_scene_nodes.h"

#include <cstring>

#include "basic_types/zel_cstring.h"
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

IZelUnknown* HostNodeFactory::createNode(const ZelCString* interfaceName, IZelUnknown* parent,
                                         const char* name) {
  HostNode* parentNode = nullptr;
  if (parent) {
    void* part = nullptr;
    parent->queryInterface(HostNode::interfaceName, &part, false);
    parentNode = static_cast<HostNode*>(part);
    if (!parentNode) return nullptr;
  }
  if (!interfaceName || std::strcmp(interfaceName->c_str(), IZelText::interfaceName) != 0) return nullptr;
  auto* node = new HostTextNode(name);
  if (parentNode) parentNode->addChild(node);
  return static_cast<IZelText*>(node);
}

IZelUnknown* HostNodeFactory::createNodeWithIterator(const ZelCString*, IZelUnknown*, const char*, IZelItr*) {
  return nullptr;
}

void HostNodeFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelNodeFactory>(this).end();
}
