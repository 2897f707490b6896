#pragma once

// The stand-in host's busy indicator (the service "IGuiBusyBlock"): counts how often it was shown and how
// many begins are open, for tests to see that a command showed it and ended it again. Main thread only.

#include <cstdint>

#include "host/core/host_unknown.h"
#include "host_api/gui_busy_block.h"

class HostBusyBlock : public IGuiBusyBlock, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostBusyBlock";

  void begin(const ZelString& text) override;
  void end() override;
  int32_t open() const { return open_; }
  int32_t shown() const { return shown_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t open_ = 0;
  int32_t shown_ = 0;
};
