#include "host/gui/host_image_store.h"

#include "framework/object/query_chain.h"

bool HostImageStore::add(const char* name, const void* bytes, uint32_t byteCount) {
  if (!name || !*name) return refuse("", "an image needs a name");
  // Decoded outside the lock: decoding a large picture must not hold up readers of the store.
  std::string error;
  std::optional<DecodedImage> decoded = decodePng(bytes, byteCount, error);
  if (!decoded) return refuse(name, error);
  std::lock_guard lock(mutex_);
  if (!images_.try_emplace(name, std::move(*decoded)).second) {
    return refuseLocked(name, "the name is already taken");
  }
  order_.emplace_back(name);
  return true;
}

bool HostImageStore::refuse(const std::string& name, const std::string& reason) {
  std::lock_guard lock(mutex_);
  return refuseLocked(name, reason);
}

bool HostImageStore::refuseLocked(const std::string& name, const std::string& reason) {
  refusals_.push_back(name + ": " + reason);
  return false;
}

std::optional<DecodedImage> HostImageStore::image(const std::string& name) {
  std::lock_guard lock(mutex_);
  auto found = images_.find(name);
  if (found == images_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> HostImageStore::names() {
  std::lock_guard lock(mutex_);
  return order_;
}

std::vector<std::string> HostImageStore::refusals() {
  std::lock_guard lock(mutex_);
  return refusals_;
}

void HostImageStore::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IImageStore>(this).end();
}
