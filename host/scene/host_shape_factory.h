#pragma once

// The stand-in host's shape factory: each axis triad it makes is a node under the parent asked for that
// records the arguments it was made with, so tests can inspect it. Main thread only, as the scene is.

#include <cstdint>

#include "host/core/host_unknown.h"
#include "host/scene/host_scene_nodes.h"
#include "host_api/zel_shape_factory.h"

class HostCoordinateSystemNode : public HostNode, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCoordinateSystemNode";

  struct Shape {
    int32_t style = 0;
    double axisLength = 0;
    double headLength = 0;
    double shaftRadius = 0;
    double headRadius = 0;
    bool labelled = false;
    IZelUnknown* material = nullptr;
  };

  explicit HostCoordinateSystemNode(const Shape& shape) : HostNode("coordinate system"), shape_(shape) {}

  const Shape& shape() const { return shape_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  Shape shape_;
};

class HostShapeFactory : public IZelShapeFactory, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostShapeFactory";

  // Null, making nothing, for a parent that is not a node of the stand-in scene.
  IZelUnknown* createCoordinateSystem(IZelUnknown* parent, int32_t style, double axisLength,
                                      double headLength, double shaftRadius, double headRadius, bool labelled,
                                      IZelUnknown* material) override;
  bool namedColor(const char* name, ColorRGBA& out) override;
  // The colour the factory gives for "ColorDepthBorder".
  static constexpr ColorRGBA kDepthBorder{1.0f, 0.5f, 0.0f, 1.0f};

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
