#include "host/document/host_feature_sub_object.h"

#include <utility>

#include "framework/object/query_chain.h"

HostFeatureSubObject::HostFeatureSubObject(uint64_t makerSerial, int32_t objectId, IZelFeature* feature)
    : makerSerial_(makerSerial), objectId_(objectId), feature_(feature), shown_(feature) {}

ZelString HostFeatureSubObject::name() {
  ZelString name;
  std::lock_guard lock(mutex_);
  name.setBuffer(name_.c_str(), -1);
  return name;
}

void HostFeatureSubObject::setName(const ZelString& name) {
  std::lock_guard lock(mutex_);
  name_ = name.c_str();
}

std::u16string HostFeatureSubObject::nameText() {
  std::lock_guard lock(mutex_);
  return name_;
}

void HostFeatureSubObject::setDisplayFlag(uint32_t flag, bool on) {
  if (on) {
    flags_ |= flag;
  } else {
    flags_ &= ~flag;
  }
}

IZelFeature* HostFeatureSubObject::feature() {
  std::lock_guard lock(mutex_);
  return feature_.get();
}

bool HostFeatureSubObject::setFeature(IZelFeature* feature) {
  if (!feature) return false;
  IPtr<IZelFeature> previous(feature);  // swapped in, and the old one let go of outside the lock
  std::lock_guard lock(mutex_);
  std::swap(previous, feature_);
  return true;
}

void HostFeatureSubObject::refresh() {
  IPtr<IZelFeature> previous;  // let go of outside the lock
  std::lock_guard lock(mutex_);
  previous = std::exchange(shown_, feature_);
}

IZelFeature* HostFeatureSubObject::shownFeature() {
  std::lock_guard lock(mutex_);
  return shown_.get();
}

void HostFeatureSubObject::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelFeatureSubObject>(this)
      .offer<IZelSubObject>(this)
      .offer<IZelProbeArraySource>(this)
      .end();
}
