#include "host/core/host_data_event.h"

#include "framework/object/query_chain.h"

void HostDataEvent::setName(const char* name) {
  std::lock_guard lock(mutex_);
  name_ = name ? name : "";
}

const char* HostDataEvent::name() {
  std::lock_guard lock(mutex_);
  return name_.c_str();
}

void HostDataEvent::setData(IZelUnknown* data) {
  IPtr<IZelUnknown> previous;  // its end may run module code: let go of it outside the lock
  std::lock_guard lock(mutex_);
  previous = std::move(data_);
  data_ = data;
}

IZelUnknown* HostDataEvent::data() {
  std::lock_guard lock(mutex_);
  return data_.get();
}

void HostDataEvent::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDataEvent>(this).end();
}
