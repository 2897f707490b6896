#pragma once

// The stand-in host's renderer (the service "IGfxRenderer"). It draws nothing; it counts what the module asks
// of it, so tests can see that update brackets balance and redraws are asked for. Safe on any thread.

#include <cstdint>
#include <mutex>

#include "host/core/host_unknown.h"
#include "host_api/gfx_renderer.h"

class HostGfxRenderer : public IGfxRenderer, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGfxRenderer";

  struct Counts {
    int32_t depth = 0;             // brackets open now
    int32_t deepest = 0;           // the most that were open at once
    int32_t begins = 0;            // every beginUpdate
    int32_t ends = 0;              // every endUpdate that closed a bracket
    int32_t unmatchedEnds = 0;     // endUpdate with no bracket open: a fault of the caller
    int32_t redraws = 0;           // every redraw
    int32_t immediateRedraws = 0;  // redraw(true)
  };

  void beginUpdate() override;
  void endUpdate() override;
  void redraw(bool now) override;

  Counts counts();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  Counts counts_;  // guarded by mutex_
};
