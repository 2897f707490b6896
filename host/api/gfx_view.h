#pragma once

// The host's views. The module reaches the view's callback registry by asking the view manager for
// "ICallbackObject" (see callback_object.h); the answer is the host's callback object, counted on its own, so
// a holder keeps it alive without keeping the view manager.

#include "host/api/zel_unknown.h"

class IZelDocObject;

class IGfxViewMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxViewMgr";

  // The view the user sees, without a reference for the caller; it answers "ISGfxScene" (gfx_scene.h).
  virtual IZelUnknown* currentView() = 0;
};

// The host's graphics service: where document objects stand in the world.
class IGenGfxService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGenGfxService";

  // The transform from the object's own coordinates to the world (16 doubles, row-major, applied to column
  // vectors, translation in the last column); the identity for an object that has no transform of its own.
  // False, with matrix untouched, for a null object.
  virtual bool worldTransform(IZelDocObject* object, double matrix[16]) = 0;
};
