#include "host/document/host_doc_object.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void HostGfxObject::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxObject>(this).end();
}

HostDocObject::HostDocObject(DocObjectDescription description)
    : description_(std::move(description)), graphics_(new HostGfxObject) {}

ZelString HostDocObject::objectName() {
  ZelString name;
  name.setBuffer(description_.name.c_str(), -1);
  return name;
}

bool HostDocObject::transform(double matrix[16]) {
  if (!description_.transform) return false;
  std::copy(description_.transform->begin(), description_.transform->end(), matrix);
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
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDocObject>(this).end();
}
