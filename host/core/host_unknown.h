#pragma once

// The counting and destruction every object of the stand-in host shares. A host object counts on its own
// shared count field, atomically, whatever the module does with the objects it makes: the module may count
// through a root it was handed or not at all, and the host must not depend on a module's global state for its
// own objects to live and die right. A class derives from its interfaces and from HostUnknown, and writes
// only queryInterface and className.

#include "host_api/zel_unknown.h"

class HostUnknown : public virtual IZelUnknown {
 public:
  void destroy(uint32_t flags) override;
  void addRef() override;
  // Destroys the object when the last reference goes.
  void release() override;
  uint32_t refCount() override;
};
