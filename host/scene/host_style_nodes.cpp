#include "host/scene/host_style_nodes.h"

#include <cmath>
#include <cstdio>

#include "framework/object/query_chain.h"
#include "host/scene/host_theme_materials.h"

std::string describeColor(const ColorRGBA& c) {
  char text[96];
  std::snprintf(text, sizeof text, "(%g, %g, %g, %g)", c.r, c.g, c.b, c.a);
  return text;
}

void HostSeparatorNode::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelGroupNode*>(this))
      .offer<IZelSeparatorNode>(this)
      .offer<IZelGroupNode>(this)
      .offer<IZelNode>(static_cast<IZelSeparatorNode*>(this))
      .offer<HostNode>(this)
      .end();
}

std::string HostColorNode::describe() const {
  return "colour " + describeColor(color_);
}

void HostColorNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelColorNode>(this, name, out);
}

std::string HostDrawStyleNode::describe() const {
  char text[96];
  std::snprintf(text, sizeof text, "style %d, point size %g, line width %g, pattern %u", style_.style,
                style_.pointSize, style_.lineWidth, static_cast<unsigned>(style_.linePattern));
  return text + (", front " + describeColor(style_.frontColor));
}

void HostDrawStyleNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelDrawStyleNode>(this, name, out);
}

bool HostSphereNode::setRadius(double radius) {
  if (!std::isfinite(radius) || radius <= 0) return false;
  radius_ = radius;
  return true;
}

std::string HostSphereNode::describe() const {
  char text[48];
  std::snprintf(text, sizeof text, "radius %g", radius_);
  return text;
}

void HostSphereNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelSphereNode>(this, name, out);
}

void HostColorMaterialNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelColorMaterialNode>(this, name, out);
}

void HostDualMaterialSourceNode::setMaterialSources(IZelMaterialSource* front, IZelMaterialSource* back) {
  front_ = front;
  back_ = back;
}

std::string HostDualMaterialSourceNode::describe() const {
  auto named = [](IZelMaterialSource* source) -> std::string {
    void* part = nullptr;
    if (source) source->queryInterface(HostThemeMaterialSource::interfaceName, &part, false);
    if (part) return "theme " + static_cast<HostThemeMaterialSource*>(part)->themeName();
    return source ? source->className() : "host's own";
  };
  return "front " + named(front_.get()) + ", back " + named(back_.get());
}

void HostDualMaterialSourceNode::queryInterface(const char* name, void** out, bool) {
  queryLeaf<IZelDualMaterialSourceNode>(this, name, out);
}

bool HostThemeMaterialSource::getMaterial(ColorSet& material) {
  std::optional<ColorSet> found = themeMaterial(name_);
  if (found) material = *found;
  return found.has_value();
}

void HostThemeMaterialSource::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelMaterialSource*>(this))
      .offer<IZelThemeMaterialSource>(this)
      .offer<IZelMaterialSource>(this)
      .end();
}
