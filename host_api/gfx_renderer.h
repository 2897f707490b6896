#pragma once

#include "host_api/zel_unknown.h"

// The host's renderer. View changes made between beginUpdate and endUpdate are shown together; brackets nest.
class IGfxRenderer : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxRenderer";

  virtual void beginUpdate() = 0;
  virtual void endUpdate() = 0;
  virtual void redraw(bool now) = 0;
};
