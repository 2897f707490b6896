#include "host/core/host_shutdown_service.h"

#include <algorithm>

#include "framework/object/query_chain.h"

bool HostShutdownService::addListener(IShutdownListener* listener) {
  if (!listener) return false;
  IPtr<IShutdownListener> held(listener);
  std::lock_guard lock(mutex_);
  auto same = [listener](const IPtr<IShutdownListener>& joined) { return joined.get() == listener; };
  if (shutDown_ || std::any_of(listeners_.begin(), listeners_.end(), same)) return false;
  listeners_.push_back(std::move(held));
  return true;
}

size_t HostShutdownService::shutdown() {
  std::vector<IPtr<IShutdownListener>> listeners;
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return 0;
    shutDown_ = true;
    listeners.swap(listeners_);
  }
  for (const IPtr<IShutdownListener>& listener : listeners) listener->onShutdown();
  return listeners.size();
}

void HostShutdownService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IShutdownService>(this).end();
}
