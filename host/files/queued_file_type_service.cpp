#include "host/files/queued_file_type_service.h"

#include "framework/object/query_chain.h"

void QueuedFileTypeService::queueRefusal() {
  std::lock_guard lock(mutex_);
  ++refusals_;
}

std::vector<std::u16string> QueuedFileTypeService::asked() {
  std::lock_guard lock(mutex_);
  return asked_;
}

void QueuedFileTypeService::clear() {
  std::lock_guard lock(mutex_);
  refusals_ = 0;
  asked_.clear();
}

int32_t QueuedFileTypeService::acceptSavePath(const ZelString& path, int32_t, int32_t, bool) {
  std::lock_guard lock(mutex_);
  asked_.push_back(path.c_str());
  if (refusals_ == 0) return 1;
  --refusals_;
  return 0;
}

void QueuedFileTypeService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IFileTypeService>(this).end();
}
