#pragma once

// The stand-in host's material nodes: one with a fixed material, one that asks its source when the host
// draws. Each keeps what it was told, for tests and for "print scene". Main thread only.

#include <string>

#include "framework/object/iptr.h"
#include "host/scene/host_style_nodes.h"
#include "host_api/zel_material_nodes.h"

class HostMaterialNode : public HostLeafNode<IZelMaterialNode> {
 public:
  static constexpr const char* interfaceName = "HostMaterialNode";
  using HostLeafNode::HostLeafNode;
  void setMaterial(const ColorSet& material) override { material_ = material; }
  const ColorSet& material() const { return material_; }
  std::string describe() const override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ColorSet material_;
};

class HostMaterialSourceNode : public HostLeafNode<IZelMaterialSourceNode> {
 public:
  static constexpr const char* interfaceName = "HostMaterialSourceNode";
  using HostLeafNode::HostLeafNode;
  void setMaterialSource(IZelMaterialSource* source) override { source_ = source; }
  IZelMaterialSource* source() const { return source_.get(); }
  // Host side: the material as the host asks for it while drawing; false without a source or an answer.
  bool drawnMaterial(ColorSet& material);
  std::string describe() const override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelMaterialSource> source_;
};
