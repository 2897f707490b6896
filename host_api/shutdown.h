#pragma once

// The host's shutdown. Before it lets go of the module, the host's main thread calls every shutdown listener
// once, in the order they joined: those the module added to the shutdown service, and the module's shared
// objects (singletons) that answer "IShutdownListener", which the host enrols when it starts the module.

#include "host_api/zel_unknown.h"

class IShutdownListener : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IShutdownListener";
  virtual void onShutdown() = 0;
};

class IShutdownService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IShutdownService";

  // Holds a reference on the listener until it has been called at shutdown. False for null, for a listener
  // already added, or once the shutdown has begun.
  virtual bool addListener(IShutdownListener* listener) = 0;
};
