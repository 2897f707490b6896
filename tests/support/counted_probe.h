#pragma once

// A small counted class for tests of the object model: it records its count when it is destroyed.

#include <atomic>

#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

class IProbeA : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IProbeA";
  virtual int a() = 0;
};

class IProbeB : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IProbeB";
  virtual int b() = 0;
};

class CountedProbe : public IProbeA, public IProbeB, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "CountedProbe";

  explicit CountedProbe(std::atomic<int>* destroyed = nullptr, int32_t* lastCount = nullptr)
      : destroyed_(destroyed), lastCount_(lastCount) {}
  ~CountedProbe() override {
    if (lastCount_) *lastCount_ = count_;
    if (destroyed_) ++*destroyed_;
  }

  int a() override { return 1; }
  int b() override { return 2; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, this, this).offer<IProbeA>(this).offer<IProbeB>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int>* destroyed_;
  int32_t* lastCount_;
};
