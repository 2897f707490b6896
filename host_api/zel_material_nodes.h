#pragma once

// Scene nodes that set the material of what follows them under their parent: a material node with a fixed
// material, and a material-source node that asks its source each time the host draws. Made by interface
// name through the node factory. Main thread only.

#include "basic_types/color.h"
#include "host_api/zel_scene_node.h"
#include "host_api/zel_style_nodes.h"

class IZelMaterialNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelMaterialNode";
  virtual void setMaterial(const ColorSet& material) = 0;
};

class IZelMaterialSourceNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelMaterialSourceNode";
  // The node holds a reference on the source; null: the host's own material.
  virtual void setMaterialSource(IZelMaterialSource* source) = 0;
};
