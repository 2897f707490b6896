#pragma once

#include "host/api/zel_unknown.h"

class ZelCString;

// The host's scene-graph node factory: makes a node by interface name. The arguments are passed through as
// the callers give them. The node comes back without a reference for the caller.
class IZelNodeFactory : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelNodeFactory";

  virtual IZelUnknown* createNode(const ZelCString* interfaceName, void* a, void* b) = 0;
  virtual IZelUnknown* createNodeWithIterator(const ZelCString* interfaceName, void* a, void* b, void* c) = 0;
};
