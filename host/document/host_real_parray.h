#pragma once

// The stand-in host's point arrays (RealPArray) and their factory (the service "IRealPArrayFactory"). An
// array holds count points of dimension doubles each, one after the other. An array belongs to one thread at
// a time; the factory is safe on any thread.

#include <vector>

#include "framework/object/zel_unknown_impl.h"
#include "host/api/points.h"

class HostRealPArray : public RealPArray, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HostRealPArray";

  // dimension is at least 1; room for capacity points is reserved.
  HostRealPArray(int32_t dimension, int32_t capacity);

  int32_t dimension() override { return dimension_; }
  int32_t count() override;
  // Copies dimension values from values (null is ignored).
  void append(const double* values) override;
  // The point's dimension values, valid until the next append; null outside 0..count-1.
  const double* at(int32_t index) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t dimension_;
  std::vector<double> values_;
};

class HostRealPArrayFactory : public IRealPArrayFactory, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HostRealPArrayFactory";

  // Null for a dimension below 1; a negative capacity reserves nothing.
  RealPArray* createArray(int32_t dimension, int32_t capacity) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
