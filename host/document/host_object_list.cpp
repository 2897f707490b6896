#include "host/document/host_object_list.h"

#include "framework/object/query_chain.h"

bool HostObjectList::add(IZelUnknown* item) {
  if (!item) return false;
  std::lock_guard lock(mutex_);
  items_.emplace_back(item);
  return true;
}

int32_t HostObjectList::count() {
  std::lock_guard lock(mutex_);
  return static_cast<int32_t>(items_.size());
}

IZelUnknown* HostObjectList::at(int32_t index) {
  std::lock_guard lock(mutex_);
  if (index < 1 || index > static_cast<int32_t>(items_.size())) return nullptr;
  return items_[static_cast<size_t>(index - 1)].get();
}

bool HostObjectList::remove(IZelUnknown* item) {
  IPtr<IZelUnknown> removed;  // let go of outside the lock
  std::lock_guard lock(mutex_);
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->get() != item) continue;
    removed = *it;
    items_.erase(it);
    return true;
  }
  return false;
}

void HostObjectList::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelObjectList>(this).end();
}

void HostCurveEnds::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelCurveEnds>(this).end();
}
