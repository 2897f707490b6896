#pragma once

// The stand-in host's markers and object-plane widgets. Each is a node of the scene, so "print scene" and
// tests see what it shows: the markers under the node their user adds them to, a plane widget under the
// node of the object it is given.

#include <optional>
#include <vector>

#include "framework/object/iptr.h"
#include "host/scene/host_style_nodes.h"
#include "host_api/alignment_widgets.h"
#include "host_api/zel_doc.h"

class HostMarkersWidget : public IZelMarkersWidget, public HostLeafNode<IZelNode> {
 public:
  static constexpr const char* interfaceName = "HostMarkersWidget";

  HostMarkersWidget() : HostLeafNode("markers") {}

  void setMarkerCount(int32_t count) override;
  void setMarkerSize(int32_t pixels) override { size_ = pixels; }
  IZelNode* node() override { return this; }
  void update(int32_t) override {}
  void clearMarkers() override;
  bool placeMarker(int32_t index, const Vector3& point, int32_t style) override;

  // The markers placed, by index.
  const std::vector<std::optional<Vector3>>& markers() const { return markers_; }
  int32_t size() const { return size_; }
  std::string describe() const override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<std::optional<Vector3>> markers_;
  int32_t size_ = 0;
};

class HostObjectPlaneWidget : public HostLeafNode<IZelObjectPlaneWidget> {
 public:
  static constexpr const char* interfaceName = "HostObjectPlaneWidget";

  HostObjectPlaneWidget() : HostLeafNode("object plane") {}

  void setObject(IZelDocObject* object) override;
  void setClipped(bool clipped) override { clipped_ = clipped; }
  void setPlane(const Plane& plane) override { plane_ = plane; }
  void setMaterial(const ColorSet& material) override { material_ = material; }
  void setColor(const ColorRGBA& color) override { color_ = color; }

  const Plane& plane() const { return plane_; }
  const std::optional<ColorSet>& material() const { return material_; }
  const std::optional<ColorRGBA>& color() const { return color_; }
  bool clipped() const { return clipped_; }
  std::string describe() const override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelDocObject> object_;
  Plane plane_;
  std::optional<ColorSet> material_;
  std::optional<ColorRGBA> color_;
  bool clipped_ = false;
};
