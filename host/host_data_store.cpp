#include "host/host_data_store.h"

#include "framework/object/query_chain.h"

ZelString HostDataStore::getString(const char* key) {
  std::lock_guard lock(mutex_);
  return hostText(strings_, key);
}

void HostDataStore::setString(const char* key, const ZelString& text) {
  std::lock_guard lock(mutex_);
  strings_[key ? key : ""] = text.c_str();
}

void HostDataStore::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IDataStore>(this).end();
}
