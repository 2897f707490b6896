#pragma once

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// Brings the host's user interface up to date with the module's state (menus, tool bars, the plug-in choice).
class IUpdateGui : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IUpdateGui";

  // What is refreshed is the host's: 0 refreshes everything.
  virtual void refresh(int32_t what) = 0;
  // The keyboard shortcut of the host's action of that name ("Undo"), as the user reads it; empty when the
  // action has none.
  virtual ZelString shortcutText(const char* action) = 0;
};
