#pragma once

// The stand-in host's yes-or-no object attribute: it answers the value it was made with.

#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_object_attribute.h"

class HostObjectAttribute : public IZelObjectAttribute, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectAttribute";

  explicit HostObjectAttribute(bool value) : value_(value) {}

  bool check() override { return value_; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelObjectAttribute>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  bool value_;
};
