#pragma once

#include "host_api/zel_unknown.h"

// An object whose initialise operation the host runs once at start-up, before the start-up tasks.
class IZelInitializer : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelInitializer";
  virtual void initialise() = 0;
};

// An object whose run operation the host runs once at start-up, after every initialiser.
class IZelStartupTask : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelStartupTask";
  virtual void run() = 0;
};
