#pragma once

// What the view shows while a user defines datum planes on a reference object: numbered markers at picked
// points ("IZelMarkersWidget") and a plane drawn across an object ("IZelObjectPlaneWidget"). A new widget per
// request. Main thread only.

#include <cstdint>

#include "basic_types/color.h"
#include "basic_types/plane.h"
#include "host_api/zel_scene_node.h"
#include "host_api/zel_unknown.h"

class IZelDocObject;

class IZelMarkersWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMarkersWidget";

  // How many markers it holds, and their size in pixels.
  virtual void setMarkerCount(int32_t count) = 0;
  virtual void setMarkerSize(int32_t pixels) = 0;
  // The node that draws the markers, to be added under the object they belong to; without a reference.
  virtual IZelNode* node() = 0;
  // Changes between update(0) and update(1) show together at update(1).
  virtual void update(int32_t phase) = 0;
  virtual void clearMarkers() = 0;
  // Marker index (from 0) at the point, in the owner's coordinates; style 0 is a plain marker. False for an
  // index outside the count.
  virtual bool placeMarker(int32_t index, const Vector3& point, int32_t style) = 0;
};

class IZelObjectPlaneWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectPlaneWidget";

  // The object the plane is drawn across (its size bounds the plane); null takes the widget off it.
  virtual void setObject(IZelDocObject* object) = 0;
  virtual void setVisible(bool visible) = 0;
  // Whether the plane is clipped to the object's box.
  virtual void setClipped(bool clipped) = 0;
  virtual void setPlane(const Plane& plane) = 0;
  // The face material and the colour of the plane's outline.
  virtual void setMaterial(const ColorSet& material) = 0;
  virtual void setColor(const ColorRGBA& color) = 0;
};
