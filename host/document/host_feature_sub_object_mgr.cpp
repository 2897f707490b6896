#include "host/document/host_feature_sub_object_mgr.h"

#include <algorithm>
#include <atomic>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"

namespace {

uint64_t nextSerial() {
  static std::atomic<uint64_t> serial{0};
  return ++serial;
}

}  // namespace

HostFeatureSubObjectMgr::HostFeatureSubObjectMgr(int32_t objectId)
    : objectId_(objectId), serial_(nextSerial()) {}

HostFeatureSubObjectMgr::~HostFeatureSubObjectMgr() {
  for (IPtr<HostFeatureSubObject>& subObject : subObjects_) subObject->setOwner(nullptr);
}

IZelFeatureSubObject* HostFeatureSubObjectMgr::createSubObject(IZelFeature* feature) {
  if (!feature) return nullptr;
  auto* subObject = new HostFeatureSubObject(serial_, objectId_, feature);
  subObject->addRef();  // the caller's reference
  return subObject;
}

std::vector<IPtr<HostFeatureSubObject>>::iterator HostFeatureSubObjectMgr::findLocked(
    const HostFeatureSubObject* part) {
  return std::find_if(subObjects_.begin(), subObjects_.end(),
                      [&](const IPtr<HostFeatureSubObject>& held) { return held.get() == part; });
}

bool HostFeatureSubObjectMgr::addSubObject(IZelSubObject* subObject) {
  HostFeatureSubObject* part = queryPart<HostFeatureSubObject>(subObject);
  if (!part || part->makerSerial() != serial_) return false;
  std::lock_guard lock(mutex_);
  if (findLocked(part) != subObjects_.end()) return false;
  subObjects_.emplace_back(part);
  part->setOwner(this);
  return true;
}

bool HostFeatureSubObjectMgr::removeSubObject(IZelSubObject* subObject) {
  HostFeatureSubObject* part = queryPart<HostFeatureSubObject>(subObject);
  if (!part) return false;
  IPtr<HostFeatureSubObject> removed;  // let go of outside the lock
  std::lock_guard lock(mutex_);
  auto found = findLocked(part);
  if (found == subObjects_.end()) return false;
  removed = std::move(*found);
  subObjects_.erase(found);
  removed->setOwner(nullptr);
  if (highlighted_ == part) highlighted_ = nullptr;
  return true;
}

bool HostFeatureSubObjectMgr::highlight(IZelSubObject* subObject) {
  HostFeatureSubObject* part = queryPart<HostFeatureSubObject>(subObject);
  std::lock_guard lock(mutex_);
  if (!part || findLocked(part) == subObjects_.end()) return false;
  highlighted_ = part;
  return true;
}

void HostFeatureSubObjectMgr::clearHighlight() {
  std::lock_guard lock(mutex_);
  highlighted_ = nullptr;
}

IZelSubObject* HostFeatureSubObjectMgr::highlighted() {
  std::lock_guard lock(mutex_);
  return highlighted_;
}

int32_t HostFeatureSubObjectMgr::subObjectCount() {
  std::lock_guard lock(mutex_);
  return static_cast<int32_t>(subObjects_.size());
}

IZelSubObject* HostFeatureSubObjectMgr::subObjectAt(int32_t index) {
  std::lock_guard lock(mutex_);
  if (index < 0 || static_cast<size_t>(index) >= subObjects_.size()) return nullptr;
  return subObjects_[static_cast<size_t>(index)].get();
}

std::vector<IPtr<HostFeatureSubObject>> HostFeatureSubObjectMgr::subObjects() {
  std::lock_guard lock(mutex_);
  return subObjects_;
}

void HostFeatureSubObjectMgr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelFeatureSubObjectMgr>(this)
      .offer<IZelSubObjectMgr>(this)
      .end();
}
