#include "framework/host_glue/setting_on.h"

#include "framework/object/iptr.h"
#include "host_api/data_store.h"

bool settingOn(const char* key) {
  SPtr<IDataStore> store;
  return store && store->getInt(key, 0) != 0;
}
