#include "commands/capture/capture_counter.h"

#include "framework/object/iptr.h"

namespace {
constexpr int32_t kFirstValue = 1;
constexpr int32_t kStep = 1;
}  // namespace

ICounter* captureCounter(const char* name) {
  SPtr<ICounterStore> store;
  if (!store) return nullptr;
  const ZelCString key(name);
  if (ICounter* counter = store->find(key)) return counter;
  store->create(key, kStep, kFirstValue);
  return store->find(key);
}
