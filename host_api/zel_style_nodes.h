#pragma once

// The scene nodes that style what follows them under their parent, the sphere they are drawn on, and the
// material sources a material node reads. Made by interface name through the node factory
// (zel_node_factory.h), except the theme material source, a value object the host makes by its interface
// name. Main thread only.

#include <cstdint>

#include "basic_types/color.h"
#include "host_api/zel_scene_node.h"

// How points and lines are drawn, in the order the host reads the record.
struct ZelDrawStyle {
  int32_t style = 0;       // 0 filled, 1 points, 2 lines
  double pointSize = 1.0;  // in pixels
  double lineWidth = 1.0;  // in pixels
  ColorRGBA frontColor;
  ColorRGBA backColor;
  uint16_t linePattern = 0xffff;  // one bit per pixel step; 65535 is solid
  int32_t patternFactor = 0;
  int32_t lighting = 1;  // 1: lit
  double reserved[6] = {};
  uint8_t switches[4] = {0, 1, 1, 255};
  int32_t reservedLast = 0;
};

class IZelColorNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelColorNode";
  virtual void setColor(const ColorRGBA& color) = 0;
};

class IZelDrawStyleNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelDrawStyleNode";
  virtual void setDrawStyle(const ZelDrawStyle& style) = 0;
};

// A sphere about the origin of the coordinates it is drawn in.
class IZelSphereNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelSphereNode";
  // False, changing nothing, for a radius that is not a finite number above 0.
  virtual bool setRadius(double radius) = 0;
};

// Gives a material when the host draws.
class IZelMaterialSource : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMaterialSource";
  // False, with material untouched, when the source has none.
  virtual bool getMaterial(ColorSet& material) = 0;
};

// A material of the host's theme, by name ("MaterialLocationSet").
class IZelThemeMaterialSource : public virtual IZelMaterialSource {
 public:
  static constexpr const char* interfaceName = "IZelThemeMaterialSource";
  virtual void setThemeName(const char* name) = 0;
};

// Draws the front faces with one source's material and the back faces with the other's; holds a reference
// on each (null: the host's own).
class IZelDualMaterialSourceNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelDualMaterialSourceNode";
  virtual void setMaterialSources(IZelMaterialSource* front, IZelMaterialSource* back) = 0;
};

// While enabled (1), the colour nodes that follow set the material's diffuse colour.
class IZelColorMaterialNode : public virtual IZelNode {
 public:
  static constexpr const char* interfaceName = "IZelColorMaterialNode";
  virtual void enable(int32_t on) = 0;
};
