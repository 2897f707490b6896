#pragma once

// The host's coordinate systems: the user's active coordinate system, in which the host reports positions
// and lengths. The active system is a rigid placement of the world: mapping a vector into it turns it and
// keeps its length. The world's own axes are active until the user chooses another. Safe on any thread.

#include "host_api/zel_unknown.h"

class ICSysService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICSysService";

  // The vector form: a direction or a difference of two points of the world, in the active system's axes.
  virtual void worldToActiveVector(const double world[3], double active[3]) = 0;
};
