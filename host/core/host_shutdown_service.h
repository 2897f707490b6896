#pragma once

// The stand-in host's shutdown service (the service "IShutdownService"). The host's shutdown calls every
// listener once, in the order they joined, on the calling thread (the main thread) and without the lock, then
// lets go of them. Listeners that join during the shutdown are refused. Safe on any thread.

#include <cstddef>
#include <mutex>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/shutdown.h"

class HostShutdownService : public IShutdownService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostShutdownService";

  bool addListener(IShutdownListener* listener) override;

  // Host side. The first call tells every listener; later ones do nothing. Answers how many were told.
  size_t shutdown();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::vector<IPtr<IShutdownListener>> listeners_;  // guarded by mutex_, in the order they joined
  bool shutDown_ = false;                           // guarded by mutex_
};
