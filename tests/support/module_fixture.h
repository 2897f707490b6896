#pragma once

// Runs each test against a fresh stand-in host with the module's component initialised on it, as a host
// does after EntryPoint. At the end the host shuts down (its shutdown listeners stop what still runs), then
// the module lets go of the host before the host goes away.

#include <gtest/gtest.h>

#include "framework/object/host_detach.h"
#include "framework/object/iptr.h"
#include "host/standin_host.h"
#include "host_api/zel_component.h"

// The component's internal part, as a host asks for it; null when it has none.
inline IZelCompInternal* internalOf(IZelComponent* component) {
  void* part = nullptr;
  component->queryInterface("IZelCompInternal", &part, false);
  return static_cast<IZelCompInternal*>(part);
}

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    ASSERT_EQ(EntryPoint(&version, &raw), 1);
    component_ = raw;
    host_.attach(component_.get());
  }

  void TearDown() override {
    host_.shutdown();
    detachFromHost();
    component_.release();
  }

  StandinHost host_;
  IPtr<IZelComponent> component_;
};

// The same without a host: the module runs on its own, as it does while being loaded.
class NoHostTest : public ::testing::Test {
 protected:
  void SetUp() override { detachFromHost(); }
  void TearDown() override { detachFromHost(); }
};
