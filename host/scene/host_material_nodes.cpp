#include "host/scene/host_material_nodes.h"

std::string HostMaterialNode::describe() const {
  return "diffuse " + describeColor(material_.diffuse);
}

void HostMaterialNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelMaterialNode>(this, name, out);
}

bool HostMaterialSourceNode::drawnMaterial(ColorSet& material) {
  return source_ && source_->getMaterial(material);
}

std::string HostMaterialSourceNode::describe() const {
  return source_ ? std::string("source ") + source_->className() : "no source";
}

void HostMaterialSourceNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelMaterialSourceNode>(this, name, out);
}
