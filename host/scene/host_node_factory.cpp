#include "host/scene/host_node_factory.h"

#include <cstring>

#include "basic_types/zel_cstring.h"
#include "framework/object/query_chain.h"
#include "host/scene/host_material_nodes.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_style_nodes.h"

namespace {

struct NodeKind {
  const char* interfaceName;
  bool drawsIterator;
  // A new node, as the part of the interface asked for.
  IZelUnknown* (*make)(const char* name, IZelItr* iterator);
};

// A node that draws only itself, so it takes no iterator. It comes without a reference: its parent or the
// caller takes the first.
template <class Node, class Interface>
IZelUnknown* makeNode(const char* name, IZelItr*) {
  return static_cast<Interface*>(new Node(name));
}

// A node that draws what its iterator gives.
template <class Node, class Interface>
IZelUnknown* makeIteratorNode(const char* name, IZelItr* iterator) {
  return static_cast<Interface*>(new Node(name, iterator));
}

// Every node kind the host makes, one line each.
constexpr NodeKind kNodeKinds[] = {
    {IZelText::interfaceName, false, makeNode<HostTextNode, IZelText>},
    {IZelVisibilitySensitiveNode::interfaceName, false,
     makeNode<HostVisibilitySensitiveNode, IZelVisibilitySensitiveNode>},
    {IZelDepthTestNode::interfaceName, false, makeNode<HostDepthTestNode, IZelDepthTestNode>},
    {IZelMatrixSourceNode::interfaceName, false, makeNode<HostMatrixSourceNode, IZelMatrixSourceNode>},
    {IZelMatrixNode::interfaceName, false, makeNode<HostMatrixNode, IZelMatrixNode>},
    {IZelStaticIteratorNode::interfaceName, true,
     makeIteratorNode<HostStaticIteratorNode, IZelStaticIteratorNode>},
    {IZelImageNode::interfaceName, false, makeNode<HostImageNode, IZelImageNode>},
    {IZelSeparatorNode::interfaceName, false, makeNode<HostSeparatorNode, IZelGroupNode>},
    {IZelGroupNode::interfaceName, false, makeNode<HostGroupNode, IZelGroupNode>},
    {IZelColorNode::interfaceName, false, makeNode<HostColorNode, IZelColorNode>},
    {IZelDrawStyleNode::interfaceName, false, makeNode<HostDrawStyleNode, IZelDrawStyleNode>},
    {IZelSphereNode::interfaceName, false, makeNode<HostSphereNode, IZelSphereNode>},
    {IZelColorMaterialNode::interfaceName, false, makeNode<HostColorMaterialNode, IZelColorMaterialNode>},
    {IZelDualMaterialSourceNode::interfaceName, false,
     makeNode<HostDualMaterialSourceNode, IZelDualMaterialSourceNode>},
    {IZelMaterialNode::interfaceName, false, makeNode<HostMaterialNode, IZelMaterialNode>},
    {IZelMaterialSourceNode::interfaceName, false, makeNode<HostMaterialSourceNode, IZelMaterialSourceNode>},
};

const NodeKind* findKind(const ZelCString* interfaceName, bool drawsIterator) {
  if (!interfaceName) return nullptr;
  for (const NodeKind& kind : kNodeKinds) {
    if (kind.drawsIterator == drawsIterator && std::strcmp(kind.interfaceName, interfaceName->c_str()) == 0)
      return &kind;
  }
  return nullptr;
}

}  // namespace

IZelUnknown* HostNodeFactory::createNode(const ZelCString* interfaceName, IZelUnknown* parent,
                                         const char* name) {
  return make(interfaceName, parent, name, false, nullptr);
}

IZelUnknown* HostNodeFactory::createNodeWithIterator(const ZelCString* interfaceName, IZelUnknown* parent,
                                                     const char* name, IZelItr* iterator) {
  return make(interfaceName, parent, name, true, iterator);
}

IZelUnknown* HostNodeFactory::make(const ZelCString* interfaceName, IZelUnknown* parent, const char* name,
                                   bool drawsIterator, IZelItr* iterator) {
  void* parentPart = nullptr;
  if (parent) {
    parent->queryInterface(HostNode::interfaceName, &parentPart, false);
    if (!parentPart) return nullptr;
  }
  const NodeKind* kind = findKind(interfaceName, drawsIterator);
  if (!kind) return nullptr;
  IZelUnknown* node = kind->make(name, iterator);
  if (parentPart) static_cast<HostNode*>(parentPart)->addChild(node);
  return node;
}

void HostNodeFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelNodeFactory>(this).end();
}
