#pragma once

// The host's theme manager as commands read it: the names the user's theme gives the mouse actions, for
// help texts. Main thread only.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IGuiThemeMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiThemeMgr";

  // The selection mouse actions: 0 selects, 1 unselects. Empty for an action the host does not know.
  virtual ZelString mouseActionName(int32_t action) = 0;
};
