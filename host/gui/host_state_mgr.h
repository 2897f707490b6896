#pragma once

// The stand-in host's GUI states (the service "IStateMgr"): a stack of names, for tests to see what a command
// pushed and that it popped it again. Main thread only.

#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/state_mgr.h"

class HostStateMgr : public IStateMgr, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostStateMgr";

  void pushState(const char* name) override;
  bool popState(const char* name) override;
  // The states pushed and not popped, oldest first.
  const std::vector<std::string>& states() const { return states_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<std::string> states_;
};
