#pragma once

// The host's store of named images, from which its menus, tool bars and dialogs show a picture by name. A
// module registers its icons at start-up and afterwards refers to them by name only. Safe on any thread.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IImageStore : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IImageStore";

  // Registers the PNG file bytes[0 .. byteCount) under name (narrow text). The store reads the bytes during
  // the call and keeps nothing that points into them. What happens to a name already present is the host's.
  // False when the image was not taken (no name, bytes that are no PNG image, a name the store keeps).
  virtual bool add(const char* name, const void* bytes, uint32_t byteCount) = 0;
};
