#pragma once

// The stand-in host's user-interface refresh (the service "IUpdateGui"). The host is headless, so a refresh
// only counts, for tests to see that the module asked for one. Safe on any thread.

#include <atomic>
#include <cstdint>

#include "host/core/host_unknown.h"
#include "host_api/update_gui.h"

class HostUpdateGui : public IUpdateGui, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostUpdateGui";

  void refresh(int32_t what) override;
  // The default key map's shortcuts of the editing actions.
  ZelString shortcutText(const char* action) override;

  int32_t refreshes() const { return refreshes_; }
  // The argument of the latest refresh; -1 before the first.
  int32_t lastRefreshed() const { return lastRefreshed_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> refreshes_{0};
  std::atomic<int32_t> lastRefreshed_{-1};
};
