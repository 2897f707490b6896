#pragma once

// The host's plane widget: a panel in a command's dialog and a plane the user places in the view by picking
// a face of the model. The plane and its display rectangle are given in the camera's coordinates (space 3 of
// IGenGfxService). The widget tells its owner (IZelPlaneWidgetOwner) when the user moves the plane. Main
// thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/gui_dialog.h"
#include "host_api/view_input.h"
#include "host_api/zel_unknown.h"

// What the owner of a plane widget hears from it.
class IZelPlaneWidgetOwner : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPlaneWidgetOwner";
  static constexpr int32_t kPlaneChanged = 1;

  virtual void onPlaneWidgetChange(int32_t kind) = 0;
};

class IZelPlaneWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPlaneWidget";

  // The owner (held without a reference; it must outlive the widget's use) and the host's style choices.
  virtual void setup(IZelUnknown* owner, int32_t style, bool flag) = 0;
  virtual void setOptions(int32_t options) = 0;
  virtual void setDisplaySize(int32_t percent) = 0;
  // Builds the widget's panel into the dialog, framed or not.
  virtual bool buildGui(IGuiDialog* dialog, bool framed) = 0;
  // A flag of the host's that owners save, clear while they use the widget and give back.
  virtual bool state() = 0;
  virtual void setState(bool on) = 0;
  virtual void activate() = 0;
  virtual void deactivate() = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool isEnabled() = 0;
  // The plane n·p = d as (nx, ny, nz, d); false, leaving plane untouched, before one was placed.
  virtual bool plane(double plane[4]) = 0;
  // The corners of the rectangle drawn on the plane, in order round it; false before a plane was placed.
  virtual bool displayRectangle(Vector3 corners[4]) = 0;

  // The view's input while the owner hands it on; each answers whether the widget took it.
  virtual bool onMousePress(IGfxMouseData* mouse) = 0;
  virtual bool onMouseMove(IGfxMouseData* mouse) = 0;
  virtual bool onMouseRelease(IGfxMouseData* mouse) = 0;
  virtual bool onKeyPress(IGfxKeyData* key) = 0;
};
