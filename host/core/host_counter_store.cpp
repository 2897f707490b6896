#include "host/core/host_counter_store.h"

#include "framework/object/query_chain.h"

void HostCounter::increment() {
  int32_t current = value_.load();
  // Unsigned arithmetic wraps where signed would be undefined.
  while (!value_.compare_exchange_weak(
      current, static_cast<int32_t>(static_cast<uint32_t>(current) + static_cast<uint32_t>(step_)))) {
  }
}

void HostCounter::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ICounter>(this).end();
}

bool HostCounterStore::create(const ZelCString& name, int32_t step, int32_t resetValue) {
  if (name.isEmpty()) return false;
  IPtr<HostCounter> counter(new HostCounter(step, resetValue));
  std::lock_guard lock(mutex_);
  return counters_.try_emplace(name.c_str(), std::move(counter)).second;
}

HostCounter* HostCounterStore::findCounter(const std::string& name) {
  std::lock_guard lock(mutex_);
  auto found = counters_.find(name);
  return found == counters_.end() ? nullptr : found->second.get();
}

ICounter* HostCounterStore::find(const ZelCString& name) {
  return findCounter(name.c_str());
}

std::optional<int32_t> HostCounterStore::valueOf(const std::string& name) {
  HostCounter* counter = findCounter(name);
  if (!counter) return std::nullopt;
  return counter->value();
}

void HostCounterStore::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ICounterStore>(this).end();
}
