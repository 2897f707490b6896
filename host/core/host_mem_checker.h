#pragma once

// The stand-in host's memory checker: the system's figures from the platform's memory status. Safe on any
// thread.

#include "host/core/host_unknown.h"
#include "host_api/mem_checker.h"

class HostMemChecker : public IMemChecker, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMemChecker";

  bool isAvailable() override;
  void query(uint64_t* systemFree, uint64_t* systemTotal, uint64_t* swapFree, uint64_t* swapTotal,
             int32_t divisor) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
