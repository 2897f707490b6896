#pragma once

// The host's GUI states: a command pushes a named state (such as "SelectionCmd", in which the view's mouse
// selects points) for as long as it needs the host to behave so, and pops it again. Main thread only.

#include "host_api/zel_unknown.h"

class IStateMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IStateMgr";

  virtual void pushState(const char* name) = 0;
  // Takes the latest push of that name off; false, changing nothing, when none is on.
  virtual bool popState(const char* name) = 0;
};
