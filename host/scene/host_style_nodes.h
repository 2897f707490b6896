#pragma once

// The stand-in host's separator and style nodes (colour, draw style, colour material, dual material
// source), the sphere node and the theme material source. Each keeps what it was told, for tests and for
// "print scene" (describe). Main thread only, as every node.

#include <optional>
#include <string>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/scene/host_scene_nodes.h"
#include "host_api/zel_style_nodes.h"

// A group whose style changes stay inside it.
class HostSeparatorNode : public HostGroupNode, public IZelSeparatorNode {
 public:
  static constexpr const char* interfaceName = "HostSeparatorNode";
  using HostGroupNode::HostGroupNode;
  void setInBounds(bool on) override { setCountedInBounds(on); }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

// "(r, g, b, a)" of a colour, for the nodes' descriptions.
std::string describeColor(const ColorRGBA& color);

// A leaf node's query: its class, its interface, IZelNode and the host's node part.
template <class Interface, class Node>
void queryLeaf(Node* node, const char* name, void** out) {
  QueryChain(name, out)
      .classLeaf(Node::interfaceName, node, static_cast<Interface*>(node))
      .template offer<Interface>(node)
      .template offer<IZelNode>(node)
      .template offer<HostNode>(node)
      .end();
}

// The parts every leaf node shares: shown or hidden through IZelNode.
template <class Interface>
class HostLeafNode : public Interface, public HostNode, public HostUnknown {
 public:
  using HostNode::HostNode;
  void setVisible(bool visible) override { setShown(visible); }
};

class HostColorNode : public HostLeafNode<IZelColorNode> {
 public:
  static constexpr const char* interfaceName = "HostColorNode";
  using HostLeafNode::HostLeafNode;
  void setColor(const ColorRGBA& color) override { color_ = color; }
  const ColorRGBA& color() const { return color_; }
  std::string describe() const override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ColorRGBA color_;
};

class HostDrawStyleNode : public HostLeafNode<IZelDrawStyleNode> {
 public:
  static constexpr const char* interfaceName = "HostDrawStyleNode";
  using HostLeafNode::HostLeafNode;
  void setDrawStyle(const ZelDrawStyle& style) override { style_ = style; }
  const ZelDrawStyle& style() const { return style_; }
  std::string describe() const override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelDrawStyle style_;
};

class HostSphereNode : public HostLeafNode<IZelSphereNode> {
 public:
  static constexpr const char* interfaceName = "HostSphereNode";
  using HostLeafNode::HostLeafNode;
  bool setRadius(double radius) override;
  double radius() const { return radius_; }
  std::string describe() const override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  double radius_ = 1.0;
};

class HostColorMaterialNode : public HostLeafNode<IZelColorMaterialNode> {
 public:
  static constexpr const char* interfaceName = "HostColorMaterialNode";
  using HostLeafNode::HostLeafNode;
  void enable(int32_t on) override { enabled_ = on; }
  int32_t enabled() const { return enabled_; }
  std::string describe() const override { return "enabled " + std::to_string(enabled_); }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t enabled_ = 0;
};

class HostDualMaterialSourceNode : public HostLeafNode<IZelDualMaterialSourceNode> {
 public:
  static constexpr const char* interfaceName = "HostDualMaterialSourceNode";
  using HostLeafNode::HostLeafNode;
  void setMaterialSources(IZelMaterialSource* front, IZelMaterialSource* back) override;
  IZelMaterialSource* front() const { return front_.get(); }
  IZelMaterialSource* back() const { return back_.get(); }
  std::string describe() const override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelMaterialSource> front_;
  IPtr<IZelMaterialSource> back_;
};

// A material of the host's theme (host_theme_materials.h) by name.
class HostThemeMaterialSource : public IZelThemeMaterialSource, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostThemeMaterialSource";
  void setThemeName(const char* name) override { name_ = name ? name : ""; }
  bool getMaterial(ColorSet& material) override;
  const std::string& themeName() const { return name_; }
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::string name_;
};
