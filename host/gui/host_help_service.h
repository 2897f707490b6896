#pragma once

// The stand-in host's context help (the service "IHelpServiceV2"). The host is headless, so it only keeps the
// topics named, in order, for tests to see which help a command asked for. Safe on any thread.

#include <mutex>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/help_service.h"

class HostHelpService : public IHelpServiceV2, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostHelpService";

  void setTopic(const ZelCString& topic, bool show) override;

  // The topics named so far, each with "shown" or "kept" after a tab.
  std::vector<std::string> topics();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::vector<std::string> topics_;  // guarded by mutex_
};
