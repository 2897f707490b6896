#pragma once

// The host's own commands, run by name as its menus run them. A module runs "GenResetViewCmd" to show an
// empty document from the host's default view.

#include "host_api/zel_unknown.h"

class IHostCommandService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IHostCommandService";

  // False for a name the host has no command of.
  virtual bool runCommand(const char* name) = 0;
};
