#pragma once

// The module attached to a stand-in host, as a test fixture sets them up, for a fuzz target's run.

#include "basic_types/no_destructor.h"
#include "framework/object/iptr.h"
#include "host/standin_host.h"
#include "host_api/zel_component.h"

struct FuzzHost {
  FuzzHost() {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    if (EntryPoint(&version, &raw) != 1) __builtin_trap();
    component = raw;
    host.attach(component.get());
  }

  StandinHost host;
  IPtr<IZelComponent> component;
};

// One for the whole run; never torn down, since the module counts its objects through the host until the
// process ends.
inline FuzzHost& fuzzHost() {
  static NoDestructor<FuzzHost> made;
  return *made;
}
