#include "host/scene/host_shape_factory.h"

#include <cstring>

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

bool HostShapeFactory::namedColor(const char* name, ColorRGBA& out) {
  if (!name || std::strcmp(name, "ColorDepthBorder") != 0) return false;
  out = kDepthBorder;
  return true;
}

void HostShapeFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelShapeFactory>(this).end();
}
