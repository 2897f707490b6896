#include "host/core/host_data_store.h"

#include <algorithm>
#include <cstring>

#include "framework/object/query_chain.h"
#include "platform/utf8.h"

namespace {

std::string keyText(const char* key) {
  return key ? key : "";
}

std::u16string textOf(const ZelString& value) {
  return value.c_str();
}

ZelString zelStringOf(const std::u16string& text) {
  ZelString result;
  result.setBuffer(text.c_str(), -1);
  return result;
}

std::vector<uint8_t> bytesOf(const void* bytes, uint32_t size) {
  auto* first = static_cast<const uint8_t*>(bytes);
  return std::vector<uint8_t>(first, first + size);
}

bool isUnderGroup(const std::string& key, const std::string& group) {
  return key.size() > group.size() && key.compare(0, group.size(), group) == 0 && key[group.size()] == '/';
}

// The range of a number item.
std::optional<std::pair<double, double>> rangeOf(const DataItemRegistration::Shape& shape) {
  if (auto* item = std::get_if<IntItem>(&shape))
    return std::pair<double, double>(item->minimum, item->maximum);
  if (auto* item = std::get_if<DoubleItem>(&shape)) return std::pair(item->minimum, item->maximum);
  return std::nullopt;
}

// The rule of each kind that can be checked on its own.
bool isValidShape(const DataItemRegistration::Shape& shape) {
  if (auto* item = std::get_if<IntItem>(&shape)) return item->valid();
  if (auto* item = std::get_if<DoubleItem>(&shape)) return item->valid();
  if (auto* item = std::get_if<StringItem>(&shape)) return item->valid();
  return true;
}

}  // namespace

bool HostDataStore::addGroup(const char* group) {
  return add({keyText(group), GroupItem{}, 0});
}

bool HostDataStore::addEvent(const char* event, IZelUnknown* data) {
  return add({keyText(event), EventItem{}, 0}, data);
}

bool HostDataStore::addIntItem(const char* key, int32_t defaultValue, int32_t minimum, int32_t maximum,
                               uint32_t flags) {
  return add({keyText(key), IntItem{defaultValue, minimum, maximum}, flags});
}

bool HostDataStore::addDoubleItem(const char* key, double defaultValue, double minimum, double maximum,
                                  uint32_t flags) {
  return add({keyText(key), DoubleItem{defaultValue, minimum, maximum}, flags});
}

bool HostDataStore::addStringItem(const char* key, int32_t maximumLength, const ZelString& defaultValue,
                                  uint32_t flags) {
  StringItem item{u"", maximumLength};
  if (item.valid()) item.defaultValue = item.cut(textOf(defaultValue));
  return add({keyText(key), std::move(item), flags});
}

bool HostDataStore::addNarrowStringItem(const char* key, int32_t maximumLength, const char* defaultValue,
                                        uint32_t flags) {
  StringItem item{u"", maximumLength, true};
  if (item.valid()) item.defaultValue = item.cut(platform::fromUtf8(defaultValue ? defaultValue : ""));
  return add({keyText(key), std::move(item), flags});
}

bool HostDataStore::addBlobItem(const char* key, uint32_t size, const void* defaultBytes, uint32_t flags) {
  BlobItem item{size, std::nullopt};
  if (defaultBytes) item.defaultBytes = bytesOf(defaultBytes, size);
  return add({keyText(key), std::move(item), flags});
}

bool HostDataStore::addObjectItem(const char* key, uint32_t flags) {
  return add({keyText(key), ObjectItem{}, flags});
}

bool HostDataStore::add(DataItemRegistration registration, IZelUnknown* object) {
  std::optional<std::string> refusal;
  {
    std::lock_guard lock(mutex_);
    if (!mayRegisterLocked(registration)) return false;
    std::string key = registration.key;
    DataValue value = defaultValueOf(registration);
    Item& item =
        items_
            .emplace(key,
                     Item{std::move(registration), value, IPtr<IZelUnknown>(object), {}, value, false, false})
            .first->second;
    if (auto waiting = waiting_.extract(key); waiting && isUserSetting(item.registration))
      refusal = takeLocked(item, std::move(waiting.mapped()));
    order_.push_back(std::move(key));
  }
  tellRefusal(refusal);
  return true;
}

bool HostDataStore::mayRegisterLocked(const DataItemRegistration& registration) const {
  const std::string& key = registration.key;
  if (key.empty() || key.back() == '/' || items_.count(key)) return false;
  if (!isValidShape(registration.shape)) return false;
  std::string parent = parentGroupOf(key);
  if (parent.empty()) return registration.kind() == DataItemKind::kGroup;
  auto found = items_.find(parent);
  return found != items_.end() && found->second.registration.kind() == DataItemKind::kGroup;
}

uint32_t HostDataStore::registrationHandle() {
  std::lock_guard lock(mutex_);
  return ++handlesHandedOut_;
}

bool HostDataStore::completeGroup(uint32_t handle, const char* group) {
  std::lock_guard lock(mutex_);
  if (handle == 0 || handle > handlesHandedOut_) return false;
  Item* item = findLocked(group);
  if (!item || item->registration.kind() != DataItemKind::kGroup) return false;
  std::string key = item->registration.key;
  size_t inGroup = 0;
  for (const std::string& registered : order_)
    inGroup += registered == key || isUnderGroup(registered, key) ? 1 : 0;
  completions_.push_back({key, inGroup});
  return true;
}

HostDataStore::Item* HostDataStore::findLocked(const char* key) {
  auto found = items_.find(keyText(key));
  return found == items_.end() ? nullptr : &found->second;
}

template <class T>
std::optional<T> HostDataStore::read(const char* key) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key);
  const T* value = item ? std::get_if<T>(&item->value) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

int32_t HostDataStore::getInt(const char* key, int32_t defaultValue) {
  return read<int32_t>(key).value_or(defaultValue);
}

double HostDataStore::getDouble(const char* key, double defaultValue) {
  return read<double>(key).value_or(defaultValue);
}

ZelString HostDataStore::getString(const char* key) {
  return zelStringOf(read<std::u16string>(key).value_or(u""));
}

ZelCString HostDataStore::getNarrowString(const char* key) {
  const std::string text = platform::toUtf8(read<std::u16string>(key).value_or(u""));
  return ZelCString(text.c_str(), static_cast<int32_t>(text.size()));
}

const void* HostDataStore::getBlob(const char* key, uint32_t* size, bool* found) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key);
  const auto* bytes = item ? std::get_if<std::vector<uint8_t>>(&item->value) : nullptr;
  if (found) *found = bytes != nullptr;
  if (size) *size = bytes ? static_cast<uint32_t>(bytes->size()) : 0;
  return bytes ? bytes->data() : nullptr;
}

IZelUnknown* HostDataStore::getObject(const char* key) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key);
  return item ? item->object.get() : nullptr;
}

void HostDataStore::getRange(const char* key, double* minimum, double* maximum, bool* known) {
  std::optional<std::pair<double, double>> range;
  {
    std::lock_guard lock(mutex_);
    if (Item* item = findLocked(key)) range = rangeOf(item->registration.shape);
  }
  if (known) *known = range.has_value();
  if (!range) return;
  if (minimum) *minimum = range->first;
  if (maximum) *maximum = range->second;
}

template <class Change, class Tell>
bool HostDataStore::write(IZelDataReceiver* originator, const char* key, Change change, Tell tell) {
  std::vector<IZelDataReceiver*> receivers;
  {
    std::lock_guard lock(mutex_);
    Item* item = findLocked(key);
    if (!item || !change(*item)) return false;
    item->written = true;
    if (notificationsOn_) receivers = item->receivers;
  }
  std::erase(receivers, originator);
  deliver(key, receivers, tell);
  return true;
}

template <class Tell>
void HostDataStore::deliver(const char* key, const std::vector<IZelDataReceiver*>& receivers, Tell tell) {
  for (IZelDataReceiver* receiver : receivers) {
    // A receiver an earlier one unsubscribed may be gone already.
    if (isSubscribed(key, receiver)) tell(receiver);
  }
}

bool HostDataStore::isSubscribed(const char* key, IZelDataReceiver* receiver) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key);
  return item && std::find(item->receivers.begin(), item->receivers.end(), receiver) != item->receivers.end();
}

bool HostDataStore::setInt(IZelDataReceiver* originator, const char* key, int32_t value) {
  int32_t stored = 0;
  auto change = [&](Item& item) {
    auto* rule = std::get_if<IntItem>(&item.registration.shape);
    if (!rule) return false;
    item.value = stored = rule->clamp(value);
    return true;
  };
  return write(originator, key, change, [&](IZelDataReceiver* r) { r->onIntChanged(key, stored); });
}

bool HostDataStore::setDouble(IZelDataReceiver* originator, const char* key, double value) {
  double stored = 0;
  auto change = [&](Item& item) {
    auto* rule = std::get_if<DoubleItem>(&item.registration.shape);
    std::optional<double> clamped = rule ? rule->clamp(value) : std::nullopt;
    if (!clamped) return false;
    item.value = stored = *clamped;
    return true;
  };
  return write(originator, key, change, [&](IZelDataReceiver* r) { r->onDoubleChanged(key, stored); });
}

bool HostDataStore::setString(IZelDataReceiver* originator, const char* key, const ZelString& value) {
  std::u16string stored;
  auto change = [&](Item& item) {
    auto* rule = std::get_if<StringItem>(&item.registration.shape);
    if (!rule) return false;
    stored = rule->cut(textOf(value));
    item.value = stored;
    return true;
  };
  return write(originator, key, change,
               [&](IZelDataReceiver* r) { r->onStringChanged(key, zelStringOf(stored)); });
}

bool HostDataStore::setNarrowString(IZelDataReceiver* originator, const char* key, const char* value) {
  return setString(originator, key, zelStringOf(platform::fromUtf8(value ? value : "")));
}

bool HostDataStore::setBlob(IZelDataReceiver* originator, const char* key, const void* bytes, uint32_t size) {
  if (!bytes) return false;
  std::vector<uint8_t> stored = bytesOf(bytes, size);
  auto change = [&](Item& item) {
    auto* rule = std::get_if<BlobItem>(&item.registration.shape);
    if (!rule || rule->size != size) return false;
    item.value = stored;
    return true;
  };
  return write(originator, key, change,
               [&](IZelDataReceiver* r) { r->onBlobChanged(key, stored.data(), size); });
}

bool HostDataStore::setObject(IZelDataReceiver* originator, const char* key, IZelUnknown* value) {
  IPtr<IZelUnknown> previous;  // let go of after the lock: its end may call back into the store
  auto change = [&](Item& item) {
    previous = std::move(item.object);
    item.object = value;
    return true;
  };
  return write(originator, key, change, [&](IZelDataReceiver* r) { r->onObjectChanged(key, value); });
}

bool HostDataStore::fireEvent(IZelDataReceiver* originator, const char* event) {
  auto isEvent = [](Item& item) { return item.registration.kind() == DataItemKind::kEvent; };
  return write(originator, event, isEvent, [&](IZelDataReceiver* r) { r->onNotify(event); });
}

bool HostDataStore::deliverDataEvent(const char* key, IZelUnknown* data) {
  auto known = [](Item&) { return true; };
  return write(nullptr, key, known, [&](IZelDataReceiver* r) { r->onDataEvent(key, data); });
}

bool HostDataStore::addListener(const char* key, IZelDataReceiver* receiver) {
  if (!receiver) return false;
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key);
  if (!item) return false;
  std::vector<IZelDataReceiver*>& receivers = item->receivers;
  if (std::find(receivers.begin(), receivers.end(), receiver) == receivers.end())
    receivers.push_back(receiver);
  return true;
}

bool HostDataStore::removeListener(const char* key, IZelDataReceiver* receiver) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key);
  return item && std::erase(item->receivers, receiver) > 0;
}

void HostDataStore::enableNotifications(bool on) {
  std::lock_guard lock(mutex_);
  notificationsOn_ = on;
}

bool HostDataStore::notificationsEnabled() {
  std::lock_guard lock(mutex_);
  return notificationsOn_;
}

std::vector<DataItemRegistration> HostDataStore::listGroup(const std::string& group) {
  std::lock_guard lock(mutex_);
  std::vector<DataItemRegistration> listing;
  Item* groupItem = findLocked(group.c_str());
  if (!groupItem || groupItem->registration.kind() != DataItemKind::kGroup) return listing;
  for (const std::string& key : order_) {
    if (key == group || isUnderGroup(key, group)) listing.push_back(items_.at(key).registration);
  }
  return listing;
}

std::optional<DataItemRegistration> HostDataStore::registration(const std::string& key) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key.c_str());
  if (!item) return std::nullopt;
  return item->registration;
}

DataValue HostDataStore::value(const std::string& key) {
  std::lock_guard lock(mutex_);
  Item* item = findLocked(key.c_str());
  return item ? item->value : DataValue{};
}

std::vector<HostDataStore::Completion> HostDataStore::completions() {
  std::lock_guard lock(mutex_);
  return completions_;
}

void HostDataStore::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IDataStore>(this).end();
}
