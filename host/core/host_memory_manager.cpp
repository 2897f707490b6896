#include "host/core/host_memory_manager.h"

#include <cstdlib>

#include "framework/object/query_chain.h"

void* HostMemoryManager::allocatePage(uint64_t bytes, int32_t) {
  void* page = std::calloc(1, bytes);
  if (page) ++pages_;
  return page;
}

void HostMemoryManager::freePage(void* page) {
  if (page) --pages_;
  std::free(page);
}

bool HostMemoryManager::freeMemory() {
  ++calls_;
  return yesAnswers_.fetch_sub(1) > 0;
}

void HostMemoryManager::setCounters(uint32_t coreNow, uint32_t coreLimit, uint32_t swapNow,
                                    uint32_t swapLimit) {
  coreNow_ = coreNow;
  coreLimit_ = coreLimit;
  swapNow_ = swapNow;
  swapLimit_ = swapLimit;
}

void HostMemoryManager::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ZelMM::IZelMManager>(this).end();
}
