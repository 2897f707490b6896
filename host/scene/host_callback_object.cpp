#include "host/scene/host_callback_object.h"

#include "framework/object/query_chain.h"

int32_t HostCallbackObject::record(int32_t id) {
  std::lock_guard lock(mutex_);
  received_.push_back(id);
  return 1;
}

bool HostCallbackObject::addCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback,
                                     int32_t flag) {
  return registry_.add({id, owner, callback, flag});
}

bool HostCallbackObject::removeCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback,
                                        int32_t flag) {
  return registry_.remove({id, owner, callback, flag});
}

int32_t HostCallbackObject::dispatch(int32_t id, void* data, void* extra,
                                     const std::function<bool()>& between) {
  if (id < 0 || id >= ViewCallbackRegistry::kCallbackIds) return 0;
  if (registry_.dispatch(id, data, extra)) return 1;
  if (between && between()) return 1;
  return record(id);
}

std::vector<int32_t> HostCallbackObject::received() {
  std::lock_guard lock(mutex_);
  return received_;
}

void HostCallbackObject::clear() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

void HostCallbackObject::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<ICallbackObject*>(this))
      .offer<ICallbackObject>(this)
      .offer<ICallbackObjectInternal>(this)
      .end();
}
