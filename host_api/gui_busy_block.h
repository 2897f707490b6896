#pragma once

// The host's busy indicator: shown from begin to end while a command works through something the user waits
// for. Main thread only.

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IGuiBusyBlock : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiBusyBlock";

  // Shows the indicator with the text (which may be empty); begins nest.
  virtual void begin(const ZelString& text) = 0;
  // Ends the latest begin; nothing when none is open.
  virtual void end() = 0;
};
