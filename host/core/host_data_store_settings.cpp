// The data store's side of the user-settings file: values read from the file before or after their items
// are registered, the refusals told, and what this run changed for the file to keep.

#include "host/core/data_item_text.h"
#include "host/core/host_data_store.h"

std::optional<std::string> HostDataStore::takeLocked(Item& item, Preloaded preloaded) {
  const DataItemRegistration& registration = item.registration;
  item.inFile = true;
  if (std::optional<std::string> why = whyItemRefuses(registration.shape, preloaded.value)) {
    // Any value the run writes is then a change: the file's line holds no value the item could take.
    item.stored = std::monostate();
    return preloaded.origin + ": " + registration.key + ": " + *why + "; the default " +
           valueText(defaultValueOf(registration)) + " is kept";
  }
  item.value = fittedValue(registration.shape, preloaded.value).value_or(item.value);
  item.stored = item.value;
  return std::nullopt;
}

void HostDataStore::tellRefusal(const std::optional<std::string>& warning) {
  if (!warning) return;
  std::function<void(const std::string&)> receiver;
  {
    std::lock_guard lock(mutex_);
    receiver = refusalReceiver_;
  }
  if (receiver) receiver(*warning);
}

void HostDataStore::setRefusalReceiver(std::function<void(const std::string&)> receiver) {
  std::lock_guard lock(mutex_);
  refusalReceiver_ = std::move(receiver);
}

void HostDataStore::preloadUserSetting(const std::string& key, DataValue value, std::string origin) {
  std::optional<std::string> refusal;
  {
    std::lock_guard lock(mutex_);
    Item* item = findLocked(key.c_str());
    if (!item) {
      waiting_[key] = {std::move(value), std::move(origin)};
      return;
    }
    if (!isUserSetting(item->registration)) return;
    refusal = takeLocked(*item, {std::move(value), std::move(origin)});
  }
  tellRefusal(refusal);
}

std::vector<HostDataStore::SettingChange> HostDataStore::changedUserSettings() {
  std::lock_guard lock(mutex_);
  std::vector<SettingChange> changes;
  for (const std::string& key : order_) {
    const Item& item = items_.at(key);
    if (isUserSetting(item.registration) && item.written && item.value != item.stored)
      changes.push_back({{key, item.value}, item.stored, item.inFile});
  }
  return changes;
}

void HostDataStore::keepStoredValue(const std::string& key) {
  std::lock_guard lock(mutex_);
  if (Item* item = findLocked(key.c_str())) item->written = false;
}
