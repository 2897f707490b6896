#include "host_api/interface_name_collector.h"

#include "basic_types/zel_hash_table.h"

namespace {

void clearLists(InterfaceNameCollector* collector) {
  collector->entries->setCount(0);
  collector->classStack->setCount(0);
}

bool inProbeSet(const char* name, const InterfaceNameCollector* collector) {
  if (!collector->probeBuckets) return false;
  for (InterfaceNameProbe* node = collector->probeBuckets[hashNarrowText(name) % collector->probeBucketCount];
       node; node = node->next) {
    if (sameNarrowText(node->name, name)) return true;
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
