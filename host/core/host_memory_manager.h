#pragma once

// The stand-in host's memory manager. It has no memory of its own to give back: freeMemory answers yes a set
// number of times (so tests can see the module retry) and counts how often it was asked. It keeps count of
// the pages it has handed out and not yet taken back.

#include <atomic>

#include "host/core/host_unknown.h"
#include "host_api/zel_memory_manager.h"

class HostMemoryManager : public ZelMM::IZelMManager, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMemoryManager";

  void* allocatePage(uint64_t bytes, int32_t flag) override;
  void freePage(void* page) override;
  bool freeMemory() override;
  uint32_t coreNow() override { return coreNow_; }
  uint32_t coreLimit() override { return coreLimit_; }
  uint32_t swapNow() override { return swapNow_; }
  uint32_t swapLimit() override { return swapLimit_; }

  // freeMemory answers true this many more times, then false.
  void setFreeMemoryAnswers(int32_t yesAnswers) { yesAnswers_ = yesAnswers; }
  int32_t freeMemoryCalls() const { return calls_; }
  int32_t pagesInUse() const { return pages_; }
  void setCounters(uint32_t coreNow, uint32_t coreLimit, uint32_t swapNow, uint32_t swapLimit);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> yesAnswers_{0};
  std::atomic<int32_t> calls_{0};
  std::atomic<int32_t> pages_{0};
  std::atomic<uint32_t> coreNow_{0}, coreLimit_{0}, swapNow_{0}, swapLimit_{0};
};
