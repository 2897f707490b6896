#include "devices/events/device_event_names.h"

#include "framework/object/iptr.h"
#include "host_api/data_store.h"

void registerDeviceEventNames(const char* group, std::span<const char* const> names) {
  SPtr<IDataStore> store;
  if (!store) return;
  store->addGroup(group);
  for (const char* name : names) store->addIntItem(name, 0, 0, 0, 0);
}
