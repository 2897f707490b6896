#pragma once

// The flow control of one device's move events: at most one move is on its way from the device's worker
// thread to the main thread. The worker thread asks isPending before it posts a move and calls increment when
// it does; the main thread's move handler calls decrement once it has handed the move to the receivers. Each
// operation is atomic on its own; safe on any thread.

#include "host_api/zel_unknown.h"

class IZelHardProbeEventQueue : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeEventQueue";

  virtual void increment() = 0;
  // Never below 0: a decrement at 0 leaves 0.
  virtual void decrement() = 0;
  // True while one move is on its way.
  virtual bool isPending() = 0;
};
