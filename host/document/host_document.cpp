#include "host/document/host_document.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"

IZelDocObject* HostDocument::findObject(const ZelString& name) {
  std::u16string wanted = name.c_str();
  std::lock_guard lock(mutex_);
  if (auto found = registered_.find(wanted); found != registered_.end()) return found->second;
  for (const IPtr<HostDocObject>& object : objects_) {
    if (object->name() == wanted) return object.get();
  }
  return nullptr;
}

int32_t HostDocument::objectCount() {
  std::lock_guard lock(mutex_);
  return static_cast<int32_t>(objects_.size());
}

IZelDocObject* HostDocument::objectAt(int32_t index) {
  std::lock_guard lock(mutex_);
  if (index < 0 || static_cast<size_t>(index) >= objects_.size()) return nullptr;
  return objects_[static_cast<size_t>(index)].get();
}

int32_t HostDocument::kindOf(const std::string& type) {
  if (type == "Point") return 1;
  if (type == "Curve") return 2;
  return 0;
}

IZelDocObject* HostDocument::objectOfKind(int32_t kind, int32_t phase, int32_t index) {
  if (kind == 0) return nullptr;
  std::lock_guard lock(mutex_);
  for (const IPtr<HostDocObject>& object : objects_) {
    if (kindOf(object->type()) != kind || (phase != kAnyPhase && object->phase() != phase)) continue;
    if (index-- == 0) return object.get();
  }
  return nullptr;
}

IZelDocObject* HostDocument::objectById(int32_t id) {
  std::lock_guard lock(mutex_);
  for (const IPtr<HostDocObject>& object : objects_) {
    if (object->id() == id) return object.get();
  }
  return nullptr;
}

int32_t HostDocument::objectId(IZelDocObject* object) {
  std::lock_guard lock(mutex_);
  HostDocObject* held = heldLocked(object);
  return held ? held->id() : 0;
}

IZelDocObject* HostDocument::activeObject() {
  std::lock_guard lock(mutex_);
  return active_;
}

IZelDocObject* HostDocument::currentObject() {
  std::lock_guard lock(mutex_);
  return current_.empty() ? nullptr : current_.front();
}

std::vector<IZelDocObject*> HostDocument::currentObjects() {
  std::lock_guard lock(mutex_);
  return {current_.begin(), current_.end()};
}

bool HostDocument::setActiveObject(IZelDocObject* object) {
  std::lock_guard lock(mutex_);
  return chooseLocked(active_, object);
}

bool HostDocument::setCurrentObject(IZelDocObject* object) {
  std::lock_guard lock(mutex_);
  HostDocObject* chosen = nullptr;
  if (!chooseLocked(chosen, object)) return false;
  current_.clear();
  if (chosen) current_.push_back(chosen);
  return true;
}

bool HostDocument::addCurrentObject(IZelDocObject* object) {
  std::lock_guard lock(mutex_);
  HostDocObject* held = heldLocked(object);
  if (!held) return false;
  if (std::ranges::find(current_, held) == current_.end()) current_.push_back(held);
  return true;
}

bool HostDocument::isCurrentObject(IZelDocObject* object) {
  std::lock_guard lock(mutex_);
  HostDocObject* held = heldLocked(object);
  return held && std::ranges::find(current_, held) != current_.end();
}

IZelDocObject* HostDocument::createGroup(bool unique) {
  return add(DocObjectDescription{HostDocObject::kGroupType, u"Group", std::nullopt, {}, {}}, unique).get();
}

HostDocObject* HostDocument::heldLocked(IZelDocObject* object) const {
  for (const IPtr<HostDocObject>& candidate : objects_) {
    if (static_cast<IZelDocObject*>(candidate.get()) == object) return candidate.get();
  }
  return nullptr;
}

bool HostDocument::chooseLocked(HostDocObject*& chosen, IZelDocObject* object) {
  HostDocObject* held = heldLocked(object);
  if (object && !held) return false;
  chosen = held;
  return true;
}

bool HostDocument::nameInUseLocked(const std::u16string& name) const {
  return std::any_of(objects_.begin(), objects_.end(),
                     [&](const IPtr<HostDocObject>& object) { return object->name() == name; });
}

std::u16string HostDocument::freeNameLocked(const std::u16string& name) const {
  if (!nameInUseLocked(name)) return name;
  for (int suffix = 2;; ++suffix) {
    std::string number = " " + std::to_string(suffix);
    std::u16string candidate = name + std::u16string(number.begin(), number.end());
    if (!nameInUseLocked(candidate)) return candidate;
  }
}

IPtr<HostDocObject> HostDocument::add(DocObjectDescription description, bool uniqueName) {
  std::lock_guard lock(mutex_);
  if (uniqueName) description.name = freeNameLocked(description.name);
  IPtr<HostDocObject> object(new HostDocObject(++lastId_, std::move(description)));
  object->setPhase(currentPhase_);
  objects_.push_back(object);
  return object;
}

bool HostDocument::remove(IZelDocObject* object) {
  IPtr<HostDocObject> removed;  // let go of outside the lock
  std::lock_guard lock(mutex_);
  auto found = std::find_if(objects_.begin(), objects_.end(), [&](const IPtr<HostDocObject>& candidate) {
    return static_cast<IZelDocObject*>(candidate.get()) == object;
  });
  if (found == objects_.end()) return false;
  removed = std::move(*found);
  objects_.erase(found);
  if (active_ == removed.get()) active_ = nullptr;
  std::erase(current_, removed.get());
  std::erase_if(registered_, [&](const auto& entry) { return entry.second == removed.get(); });
  return true;
}

bool HostDocument::registerObject(IZelDocObject* object, const ZelString& name) {
  std::lock_guard lock(mutex_);
  HostDocObject* held = heldLocked(object);
  if (!held) return false;
  registered_[name.c_str()] = held;
  return true;
}

std::vector<IPtr<HostDocObject>> HostDocument::objects() {
  std::lock_guard lock(mutex_);
  return objects_;
}

void HostDocument::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDoc>(this).end();
}

IGfxObject* HostGfxDoc::graphicsOf(IZelDocObject* object) {
  return hostGraphicsOf(object);
}

IZelGroupNode* HostGfxDoc::objectNode(IZelDocObject* object) {
  HostGfxObject* graphics = hostGraphicsOf(object);
  return graphics ? &graphics->node() : nullptr;
}

bool HostGfxDoc::objectNodeTransform(IZelDocObject* object, double matrix[16]) {
  if (!hostGraphicsOf(object)) return false;
  static constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  if (!object->transform(matrix)) std::copy(std::begin(kIdentity), std::end(kIdentity), matrix);
  return true;
}

namespace {

void collectShown(IZelUnknown* node, std::vector<std::string>& names) {
  const HostNode* part = queryPart<HostNode>(node);
  if (!part || !part->visible()) return;
  names.push_back(part->name());
  for (const IPtr<IZelUnknown>& child : part->children()) collectShown(child.get(), names);
}

}  // namespace

void HostGfxDoc::fitView(IZelDocObject* object, int32_t flags, bool option) {
  std::vector<std::string> taken;
  collectShown(static_cast<IZelNode*>(root_.get()), taken);
  fits_.push_back({object, flags, option, std::move(taken)});
}

HostGfxObject* HostGfxDoc::hostGraphicsOf(IZelDocObject* object) {
  if (!object) return nullptr;
  void* part = nullptr;
  object->queryInterface(HostDocObject::interfaceName, &part, false);
  return part ? &static_cast<HostDocObject*>(part)->graphics() : nullptr;
}

void HostGfxDoc::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxDoc>(this).end();
}
