#pragma once

// What every stand-in value object shares: a query answers its class name, "IZelUnknown", its value interface
// and "IZelParameter"; a copy is a new object of its own class into which the class copies its value
// (copyValueInto, answering false when some part cannot be copied). The copy is made fresh rather than
// copy-constructed, which would carry the reference count over. Each object belongs to one thread at a time.

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "host_api/parameters.h"

template <class Derived, class Interface>
class HostParameter : public Interface, public HostUnknown {
 public:
  IZelParameter* copy() override {
    IPtr<Derived> copied(new Derived);
    if (!static_cast<Derived*>(this)->copyValueInto(*copied)) return nullptr;
    copied->addRef();  // the caller's reference, which outlives ours
    return copied.get();
  }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(Derived::interfaceName, static_cast<Derived*>(this), this)
        .template offer<Interface>(this)
        .template offer<IZelParameter>(this)
        .end();
  }
  const char* className() override { return Derived::interfaceName; }
};
