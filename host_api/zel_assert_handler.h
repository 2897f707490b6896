#pragma once

#include "host_api/zel_unknown.h"

// The host's assertion handler: shows or records a failed assertion; the module goes on after it returns.
class IZelAssertHandlerCB : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelAssertHandlerCB";

  virtual void report(const char* expression, const char* file, int line) = 0;
};
