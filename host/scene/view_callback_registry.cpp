#include "host/scene/view_callback_registry.h"

#include <algorithm>

bool ViewCallbackRegistry::add(const Entry& entry) {
  if (entry.id < 0 || entry.id >= kCallbackIds || !entry.callback) return false;
  std::lock_guard lock(mutex_);
  if (std::find(entries_.begin(), entries_.end(), entry) != entries_.end()) return false;
  entries_.push_back(entry);
  return true;
}

bool ViewCallbackRegistry::remove(const Entry& entry) {
  std::lock_guard lock(mutex_);
  return std::erase(entries_, entry) > 0;
}

bool ViewCallbackRegistry::contains(const Entry& entry) {
  std::lock_guard lock(mutex_);
  return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
}

size_t ViewCallbackRegistry::size() {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

bool ViewCallbackRegistry::dispatch(int32_t id, void* data, void* extra) {
  std::vector<Entry> ofId;
  {
    std::lock_guard lock(mutex_);
    std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(ofId),
                 [id](const Entry& entry) { return entry.id == id; });
  }
  for (const Entry& entry : ofId) {
    // An earlier callback may have removed this one, whose owner may be gone with it.
    if (contains(entry) && entry.callback->call(data, extra) != 0) return true;
  }
  return false;
}
