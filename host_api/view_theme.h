#pragma once

// View themes: a named set of view settings pushed over the current view and taken off again. Pushing one
// saves the view's camera, so that a command can move the camera about for a while and then return it to
// where the user had it. The camera animation utility moves a scene's camera smoothly to a given state.
// Main thread only.

#include <cstdint>

#include "host_api/gfx_scene.h"
#include "host_api/zel_unknown.h"

class IViewTheme : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IViewTheme";

  // Pushes the theme of that name over the current view, saving its camera when saveCamera is set; the id of
  // the pushed theme, or -1 for a theme the host does not know or without a current view.
  virtual int32_t push(const char* theme, bool saveCamera) = 0;
  // Returns the current view's camera to the state saved with the theme id; false for an unknown id or one
  // pushed without saving the camera.
  virtual bool restoreCamera(int32_t id) = 0;
  // Takes the theme off; false for an unknown id.
  virtual bool remove(int32_t id) = 0;
};

class IZelAnimateCameraUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelAnimateCameraUtil";

  // Moves the scene's camera to target over duration seconds (at once for 0 or less); false without a scene.
  virtual bool animate(ISGfxScene* scene, const SGfxCameraState& target, double duration) = 0;
};
