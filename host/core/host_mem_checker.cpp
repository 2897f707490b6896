#include "host/core/host_mem_checker.h"

#include "framework/object/query_chain.h"
#include "platform/memory_status.h"

bool HostMemChecker::isAvailable() {
  platform::MemoryStatus status;
  return platform::queryMemoryStatus(status);
}

void HostMemChecker::query(uint64_t* systemFree, uint64_t* systemTotal, uint64_t* swapFree,
                           uint64_t* swapTotal, int32_t divisor) {
  platform::MemoryStatus status;
  platform::queryMemoryStatus(status);
  uint64_t unit = divisor > 0 ? static_cast<uint64_t>(divisor) : 1;
  *systemFree = status.availablePhysical / unit;
  *systemTotal = status.totalPhysical / unit;
  *swapFree = (status.availablePageFile - status.availablePhysical) / unit;
  *swapTotal = (status.totalPageFile - status.totalPhysical) / unit;
}

void HostMemChecker::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IMemChecker>(this).end();
}
