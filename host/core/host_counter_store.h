#pragma once

// The stand-in host's named counters (the service "ICounterStore"). A counter lives as long as the store, so
// the raw pointers find hands out stay valid; each counter is safe on any thread.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/counter_store.h"

class HostCounter : public ICounter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCounter";

  HostCounter(int32_t step, int32_t resetValue) : step_(step), resetValue_(resetValue), value_(resetValue) {}

  void reset() override { value_ = resetValue_; }
  int32_t value() override { return value_; }
  // Wraps around past the largest 32-bit value rather than overflow.
  void increment() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const int32_t step_;
  const int32_t resetValue_;
  std::atomic<int32_t> value_;
};

class HostCounterStore : public ICounterStore, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCounterStore";

  bool create(const ZelCString& name, int32_t step, int32_t resetValue) override;
  ICounter* find(const ZelCString& name) override;

  // Host side: the counter's value, or none when there is no such counter.
  std::optional<int32_t> valueOf(const std::string& name);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HostCounter* findCounter(const std::string& name);

  std::mutex mutex_;
  std::map<std::string, IPtr<HostCounter>> counters_;  // guarded by mutex_
};
