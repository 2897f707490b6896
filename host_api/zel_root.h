#pragma once

// The host root: the one object through which the module reaches its host. It counts references once the
// module knows it, finds services by interface name and creates objects by class id. Safe on any thread.

#include <cstdint>

#include "basic_types/zel_id.h"
#include "host_api/zel_unknown.h"

class ZelCString;

class IZelRoot : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelRoot";
  using IZelUnknown::addRef;
  using IZelUnknown::release;

  // Counting of every object once the root is known: the root updates the object's own count field.
  virtual void addRef(int32_t* count) = 0;
  // True when the object must now be destroyed.
  virtual bool release(int32_t* count) = 0;
  // Makes an object of a class and writes its part for interfaceName (a raw pointer that carries no reference
  // for the caller) into *out, or null.
  virtual int32_t createInstance(const ZelID* classId, const ZelCString* interfaceName, void** out) = 0;
  // Writes the service that answers to interfaceName (a raw pointer, no reference for the caller), or null.
  virtual int32_t getService(const ZelCString* interfaceName, void** out) = 0;
  // The host's own status word; the module only reports its low byte.
  virtual uint32_t status() = 0;
};
