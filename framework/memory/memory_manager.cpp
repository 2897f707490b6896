#include "framework/memory/memory_manager.h"

#include <mutex>

#include "basic_types/no_destructor.h"

namespace {

struct KeptManager {
  std::mutex mutex;
  IPtr<ZelMM::IZelMManager> manager;  // guarded by mutex
};

KeptManager& kept() {
  static NoDestructor<KeptManager> instance;
  return *instance;
}

}  // namespace

IPtr<ZelMM::IZelMManager> getMemoryManager() {
  {
    std::lock_guard lock(kept().mutex);
    if (kept().manager) return kept().manager;
  }
  // The lookup is a host call: made outside the lock.
  IPtr<ZelMM::IZelMManager> found;
  found.getService();
  if (!found) return found;
  std::lock_guard lock(kept().mutex);
  if (!kept().manager) kept().manager = found;
  return kept().manager;
}

void forgetMemoryManager() {
  IPtr<ZelMM::IZelMManager> dropped;
  {
    std::lock_guard lock(kept().mutex);
    std::swap(dropped, kept().manager);
  }
}
