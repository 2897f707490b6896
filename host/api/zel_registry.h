#pragma once

#include "host/api/zel_unknown.h"

class ZelCString;

namespace Corvane {

// The host's registry of class ids by path, such as "Features/Types/IZelPlane".
class IZelRegistry : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelRegistry";

  // The class-id text stored under path (owned by the registry), or null.
  virtual const ZelCString* lookup(const ZelCString* path) = 0;
};

}  // namespace Corvane
