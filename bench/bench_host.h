#pragma once

// The module attached to a stand-in host once per benchmark program, as a host loads it.

#include <cstdlib>

#include "basic_types/no_destructor.h"
#include "framework/object/iptr.h"
#include "host/standin_host.h"
#include "host_api/zel_component.h"

struct BenchHost {
  BenchHost() {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    if (EntryPoint(&version, &raw) != 1) std::abort();
    component = raw;
    host.attach(component.get());
  }
  StandinHost host;
  IPtr<IZelComponent> component;
};

inline BenchHost& attachModule() {
  static NoDestructor<BenchHost> made;
  return *made;
}
