#pragma once

// The stand-in host's point arrays (RealPArray) and their factory (the service "IRealPArrayFactory"): an
// array holds its entries' doubles one after the other. An array belongs to one thread at a time; the
// factory is safe on any thread.

#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/points.h"

class HostRealPArray : public RealPArray, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRealPArray";

  // An entry width below 3 means 3; room is reserved for capacity entries, up to a bound that keeps an
  // outsized request from taking the memory up front.
  HostRealPArray(int32_t entryWidth, int32_t capacity);

  int32_t entryWidth() override { return entryWidth_; }
  int32_t count() override;
  bool append(const double* values) override;
  const double* at(int32_t index) override;
  bool set(int32_t index, const double* values) override;
  bool removeLast() override;
  void clear() override { values_.clear(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Where entry index (from 1) starts, or null outside 1..count.
  double* entry(int32_t index);

  const int32_t entryWidth_;
  std::vector<double> values_;
};

class HostRealPArrayFactory : public IRealPArrayFactory, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRealPArrayFactory";

  RealPArray* createArray(int32_t entryWidth, int32_t capacity) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
