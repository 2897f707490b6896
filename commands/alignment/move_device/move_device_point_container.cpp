#include "commands/alignment/move_device/move_device_point_container.h"

#include <utility>

#include "basic_types/matrix4x4.h"
#include "commands/alignment/move_device/move_device_keys.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

namespace {

namespace keys = move_device_keys;

std::string field(const std::string& entry, const char* name) {
  return entry + name;
}

// Registering an item again leaves the value it holds, so this is safe before every write and read.
void registerSlot(IDataStore& store, const std::string& entry) {
  for (const char* axis : {"X", "Y", "Z"}) {
    store.addDoubleItem(field(entry, axis).c_str(), 0.0, -keys::kCoordinateLimit, keys::kCoordinateLimit,
                        keys::kFlags);
  }
  store.addIntItem(field(entry, "Type").c_str(), 0, 0, INT32_MAX, keys::kFlags);
  store.addStringItem(field(entry, "Name").c_str(), keys::kNameLength, ZelString(), keys::kFlags);
}

const ZelString& emptyName() {
  static const ZelString empty;
  return empty;
}

}  // namespace

MoveDevicePointContainer::MoveDevicePointContainer() {
  positions_.reserve(kCapacity);
  kinds_.reserve(kCapacity);
  names_.reserve(kCapacity);
  subObjects_.reserve(kCapacity);
}

MoveDevicePointContainer::MoveDevicePointContainer(const MoveDevicePointContainer& other)
    : pluginName_(other.pluginName_),
      positions_(other.positions_),
      kinds_(other.kinds_),
      names_(other.names_),
      subObjects_(other.subObjects_) {}

MoveDevicePointContainer::~MoveDevicePointContainer() {
  if (object_) removeObjectFromDocument(object_.get());
}

void MoveDevicePointContainer::add(const Vector3& position, uint32_t kind, ZelString& name, bool numbered) {
  if (count() >= kCapacity) return;
  if (!object_) object_ = createPointObject(ZelString(prefix()));
  if (numbered) name = tr("%1 %2", name, ZelString::number(count() + 1));
  append(position, kind, name, showEntry(position, name));
  save(-1);
}

void MoveDevicePointContainer::append(const Vector3& position, uint32_t kind, const ZelString& name,
                                      IPtr<IZelSubObject> subObject) {
  positions_.push_back(position);
  kinds_.push_back(kind);
  names_.push_back(name);
  subObjects_.push_back(std::move(subObject));
}

IPtr<IZelSubObject> MoveDevicePointContainer::showEntry(const Vector3& position, const ZelString& name) {
  IPtr<IZelPoint> point = createPoint();
  IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(object_.get());
  if (!point || !manager) return {};
  point->setPosition(position.x, position.y, position.z);
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(manager->createSubObject(queryPart<IZelFeature>(point.get())));
  IPtr<IZelSubObject> subObject(queryPart<IZelSubObject>(made.get()));
  if (!subObject) return {};
  subObject->setName(name);
  if (auto* holder = queryPart<IZelSubObjectMgr>(manager)) holder->addSubObject(subObject.get());
  return subObject;
}

void MoveDevicePointContainer::remove(int32_t index) {
  if (!inRange(index)) return;
  positions_.erase(positions_.begin() + index);
  kinds_.erase(kinds_.begin() + index);
  names_.erase(names_.begin() + index);
  IPtr<IZelSubObject> subObject = std::move(subObjects_[index]);
  subObjects_.erase(subObjects_.begin() + index);
  auto* holder = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(object_.get()));
  if (subObject && holder) holder->removeSubObject(subObject.get());
  save(-1);
}

void MoveDevicePointContainer::swap(int32_t first, int32_t second) {
  if (!inRange(first) || !inRange(second)) return;
  std::swap(positions_[first], positions_[second]);
  std::swap(kinds_[first], kinds_[second]);
  std::swap(names_[first], names_[second]);
  std::swap(subObjects_[first], subObjects_[second]);
  save(-1);
}

void MoveDevicePointContainer::clear() {
  positions_.clear();
  kinds_.clear();
  names_.clear();
  subObjects_.clear();
  removeDocumentObject();
}

void MoveDevicePointContainer::removeDocumentObject() {
  for (IPtr<IZelSubObject>& subObject : subObjects_) subObject.release();
  if (!object_) return;
  removeObjectFromDocument(object_.get());
  object_.release();
}

void MoveDevicePointContainer::transformAll(const Matrix4x4& matrix) {
  for (Vector3& position : positions_) position = Matrix4x4::transformPoint(matrix, position);
}

void MoveDevicePointContainer::save(int32_t index) const {
  SPtr<IDataStore> store;
  if (!store) return;
  const std::string group = keys::group(pluginName_, store.get());
  const int32_t first = index < 0 ? 0 : index;
  const int32_t last = index < 0 ? keys::kSlots - 1 : index;
  for (int32_t slot = first; slot <= last && slot < keys::kSlots; ++slot) {
    const std::string entry = keys::entry(group, prefix(), slot);
    registerSlot(*store, entry);
    if (!inRange(slot)) {
      store->setString(nullptr, field(entry, "Name").c_str(), ZelString());
      continue;
    }
    const Vector3& p = positions_[slot];
    store->setDouble(nullptr, field(entry, "X").c_str(), p.x);
    store->setDouble(nullptr, field(entry, "Y").c_str(), p.y);
    store->setDouble(nullptr, field(entry, "Z").c_str(), p.z);
    store->setInt(nullptr, field(entry, "Type").c_str(), static_cast<int32_t>(kinds_[slot]));
    store->setString(nullptr, field(entry, "Name").c_str(), names_[slot]);
  }
}

void MoveDevicePointContainer::load() {
  clear();
  SPtr<IDataStore> store;
  if (!store) return;
  const std::string group = keys::group(pluginName_, store.get());
  for (int32_t slot = 0; slot < keys::kSlots; ++slot) {
    const std::string entry = keys::entry(group, prefix(), slot);
    registerSlot(*store, entry);
    ZelString name = store->getString(field(entry, "Name").c_str());
    if (name.isEmpty()) continue;
    const Vector3 position(store->getDouble(field(entry, "X").c_str(), 0.0),
                           store->getDouble(field(entry, "Y").c_str(), 0.0),
                           store->getDouble(field(entry, "Z").c_str(), 0.0));
    append(position, static_cast<uint32_t>(store->getInt(field(entry, "Type").c_str(), 0)), name, {});
  }
}

void MoveDevicePointContainer::get(int32_t index, Vector3& position, uint32_t& kind, ZelString& name) const {
  if (!inRange(index)) return;
  position = positions_[index];
  kind = kinds_[index];
  name = names_[index];
}

Vector3 MoveDevicePointContainer::position(int32_t index) const {
  return inRange(index) ? positions_[index] : Vector3();
}

uint32_t MoveDevicePointContainer::type(int32_t index) const {
  return inRange(index) ? kinds_[index] : 0;
}

const ZelString& MoveDevicePointContainer::name(int32_t index) const {
  return inRange(index) ? names_[index] : emptyName();
}

IZelSubObject* MoveDevicePointContainer::subObject(int32_t index) const {
  return inRange(index) ? subObjects_[index].get() : nullptr;
}
