#pragma once

// The host's renderer of tile markup ("IZelXAMLImageRenderer", a new renderer per lookup): it loads markup
// files that lay out a tile's rows, each bound to an item of the data store, and renders the tile with the
// items' current values into an image no larger than the size it is given. Paths are in the module's form.
// Main thread only.

#include <cstdint>
#include <vector>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelImage;

class IZelXAMLImageRenderer : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelXAMLImageRenderer";

  // The tile's controls, in order, and the resources they share. False when a file cannot be read or is not
  // markup the renderer knows; the files read before stay loaded.
  virtual bool load(const std::vector<ZelString>& controlPaths, const ZelString& commonResourcesPath) = 0;
  // Whether the values shown or the size changed since the last render.
  virtual bool needsUpdate() = 0;
  // The room for the tile, in pixels.
  virtual void setSize(int32_t width, int32_t height) = 0;
  // False, leaving the image as it was, when nothing was loaded, there is no room, or the image is not one of
  // the host's.
  virtual bool render(IZelImage* image) = 0;
};
