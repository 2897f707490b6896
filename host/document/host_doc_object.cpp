#include "host/document/host_doc_object.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "framework/object/query_chain.h"
#include "host_api/host_class_ids.h"
#include "host_api/zel_locations_set.h"

namespace {
constexpr const char* kVisible = "Visible";
}  // namespace

void HostGfxObject::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxObject>(this).end();
}

HostDocObject::HostDocObject(int32_t id, DocObjectDescription description)
    : id_(id),
      description_(std::move(description)),
      graphics_(new HostGfxObject),
      featureSubObjects_(new HostFeatureSubObjectMgr(id)) {
  attach(kFeatureSubObjectsClassId, static_cast<IZelFeatureSubObjectMgr*>(featureSubObjects_.get()));
}

ZelString HostDocObject::objectName() {
  ZelString name;
  std::lock_guard lock(mutex_);
  name.setBuffer(description_.name.c_str(), -1);
  return name;
}

std::u16string HostDocObject::name() {
  std::lock_guard lock(mutex_);
  return description_.name;
}

void HostDocObject::setObjectName(const ZelString& name) {
  std::lock_guard lock(mutex_);
  description_.name = name.c_str();
}

bool HostDocObject::transform(double matrix[16]) {
  std::lock_guard lock(mutex_);
  if (!description_.transform) return false;
  std::copy(description_.transform->begin(), description_.transform->end(), matrix);
  return true;
}

bool HostDocObject::setTransform(const double matrix[16]) {
  if (!matrix || !std::all_of(matrix, matrix + 16, [](double value) { return std::isfinite(value); }))
    return false;
  DocObjectDescription::Transform moved;
  std::copy(matrix, matrix + 16, moved.begin());
  std::lock_guard lock(mutex_);
  description_.transform = moved;
  return true;
}

bool HostDocObject::property(const char* name) {
  return name && std::strcmp(name, kVisible) == 0 && visible_;
}

bool HostDocObject::setProperty(const char* name, bool on) {
  if (!name || std::strcmp(name, kVisible) != 0) return false;
  visible_ = on;
  return true;
}

IZelUnknown* HostDocObject::attachedObject(const ZelID& attachmentId) {
  std::lock_guard lock(mutex_);
  for (const auto& [id, object] : attachments_) {
    if (id == attachmentId) return object.get();
  }
  return nullptr;
}

bool HostDocObject::isType(const char* type) {
  return type && description_.type == type;
}

IZelUnknown* HostDocObject::subObject(const char* name) {
  if (!name) return nullptr;
  for (const auto& [subName, object] : description_.subObjects) {
    if (subName == name) return object.get();
  }
  return nullptr;
}

void HostDocObject::setStringValue(const char* key, const ZelString& value) {
  if (!key) return;
  std::lock_guard lock(mutex_);
  stringValues_[key] = value.c_str();
}

ZelString HostDocObject::stringValue(const char* key) {
  ZelString value;
  std::lock_guard lock(mutex_);
  auto found = key ? stringValues_.find(key) : stringValues_.end();
  if (found != stringValues_.end()) value.setBuffer(found->second.c_str(), -1);
  return value;
}

void HostDocObject::setState(const char* state) {
  std::lock_guard lock(mutex_);
  state_ = state ? state : "";
}

std::string HostDocObject::state() {
  std::lock_guard lock(mutex_);
  return state_;
}

bool HostDocObject::setGroup(IZelDocObject* group) {
  if (!group) {
    groupId_ = 0;
    return true;
  }
  void* part = nullptr;
  group->queryInterface(interfaceName, &part, false);
  auto* held = static_cast<HostDocObject*>(part);
  if (!held || held->type() != kGroupType) return false;
  groupId_ = held->id();
  return true;
}

void HostDocObject::setOrigin(int32_t attribute, std::vector<int32_t> sourceIds) {
  attribute_ = attribute;
  std::lock_guard lock(mutex_);
  sourceIds_ = std::move(sourceIds);
}

std::vector<int32_t> HostDocObject::sourceIds() {
  std::lock_guard lock(mutex_);
  return sourceIds_;
}

void HostDocObject::attach(const ZelID& attachmentId, IZelUnknown* object) {
  IPtr<IZelUnknown> previous;  // let go of outside the lock
  std::lock_guard lock(mutex_);
  auto found = std::find_if(attachments_.begin(), attachments_.end(),
                            [&](const auto& attachment) { return attachment.first == attachmentId; });
  if (found != attachments_.end()) {
    previous = std::move(found->second);
    attachments_.erase(found);
  }
  if (object) attachments_.emplace_back(attachmentId, IPtr<IZelUnknown>(object));
}

void HostDocObject::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelDocObject*>(this))
      .offer<IZelDocObject>(this)
      .offer<IZelObjectModelId>(this)
      .offer<IZelStringValue>(this)
      .offer<IZelObjectState>(this)
      .end();
  // A location set is the object itself, as far as commands are concerned.
  if (name && out && !*out && std::string_view(name) == IZelLocationsSet::interfaceName)
    *out = dataAs<IZelLocationsSet>();
}
