#include "host/api/interface_name_collector.h"

#include <cstring>

namespace {

// djb2 over the bytes taken as signed characters, as the caller hashes its probe set.
uint32_t hashName(const char* name) {
  uint32_t h = 5381;
  for (const char* p = name; p && *p; ++p) h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(*p));
  return h;
}

bool sameName(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return std::strcmp(a, b) == 0;
}

void clearLists(InterfaceNameCollector* collector) {
  collector->entries->setCount(0);
  collector->classStack->setCount(0);
}

bool inProbeSet(const char* name, const InterfaceNameCollector* collector) {
  if (!collector->probeBuckets) return false;
  for (InterfaceNameProbe* node = collector->probeBuckets[hashName(name) % collector->probeBucketCount]; node;
       node = node->next) {
    if (sameName(node->name, name)) return true;
  }
  return false;
}

}  // namespace

void addInterfaceName(const char* name, uint32_t isClass, InterfaceNameCollector* collector) {
  if (collector->probeHit) {
    clearLists(collector);
    return;
  }
  if (inProbeSet(name, collector)) {
    collector->probeHit = 1;
    clearLists(collector);
    return;
  }
  InterfaceNameEntry& entry = collector->entries->appendSlot();
  entry.name = ZelCString(name);
  entry.isClass = isClass;
  entry.owner = collector->classStack->count() > 0 ? (*collector->classStack)[collector->classStack->count()]
                                                   : ZelCString();
  if (isClass == 1) collector->classStack->append(ZelCString(name));
}

void endInterfaceClass(InterfaceNameCollector* collector) {
  if (collector->probeHit) {
    clearLists(collector);
    return;
  }
  if (collector->classStack->count() > 0) collector->classStack->popBack();
}
