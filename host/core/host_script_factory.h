#pragma once

// The stand-in host's script factory (the service "IScriptFactory"): makes empty script commands by name.
// Stateless; any thread.

#include "host/core/host_unknown.h"
#include "host_api/script_factory.h"

class HostScriptFactory : public IScriptFactory, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostScriptFactory";

  IScriptCommand* create(const char* name, int32_t version) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
