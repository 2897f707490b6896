#pragma once

// A small counted class for tests of the object model: it counts its destructions.

#include <atomic>

#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

class IProbeA : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IProbeA";
};

class IProbeB : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IProbeB";
};

class CountedProbe : public IProbeA, public IProbeB, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "CountedProbe";

  explicit CountedProbe(std::atomic<int>* destroyed = nullptr) : destroyed_(destroyed) {}
  ~CountedProbe() override {
    if (destroyed_) ++*destroyed_;
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, this, this).offer<IProbeA>(this).offer<IProbeB>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int>* destroyed_;
};
