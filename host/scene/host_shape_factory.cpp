#include "host/scene/host_shape_factory.h"

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"

void HostCoordinateSystemNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<HostNode>(this).end();
}

IZelUnknown* HostShapeFactory::createCoordinateSystem(IZelUnknown* parent, int32_t style, double axisLength,
                                                      double headLength, double shaftRadius,
                                                      double headRadius, bool labelled,
                                                      IZelUnknown* material) {
  HostNode* parentNode = queryPart<HostNode>(parent);
  if (!parentNode) return nullptr;
  auto* node = new HostCoordinateSystemNode(
      {style, axisLength, headLength, shaftRadius, headRadius, labelled, material});
  parentNode->addChild(node);
  return node;
}

void HostShapeFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelShapeFactory>(this).end();
}
