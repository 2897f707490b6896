// The data store's side of the user-settings file: values read from the file before or after their items
// are registered, the refusals told, and what this run changed for the file to keep.

#include <cstdio>
#include <string_view>

#include "host/core/data_item_text.h"
#include "host/core/host_data_store.h"
#include "platform/utf8.h"

namespace {

// The characters an editor may put into a key that no one sees: anywhere, the byte order mark, the zero-width
// ones and a NUL; at either end, blanks too.
using namespace std::string_view_literals;
constexpr std::string_view kUnseenAnywhere[] = {"\xEF\xBB\xBF"sv,
                                                "\xE2\x80\x8B"sv,
                                                "\xE2\x80\x8C"sv,
                                                "\xE2\x80\x8D"sv,
                                                "\xE2\x81\xA0"sv,
                                                "\xC2\xAD"sv,
                                                "\0"sv};
constexpr std::string_view kBlanks[] = {" ", "\xC2\xA0", "\v", "\f"};

// The key without them, and the code points taken out ("U+200B, U+0020"), in order.
std::string visibleKey(std::string key, std::string& unseen) {
  const auto note = [&](std::string_view character) {
    const std::u16string wide = platform::fromUtf8(std::string(character));
    char point[16];
    std::snprintf(point, sizeof point, "U+%04X", static_cast<unsigned>(wide.empty() ? 0 : wide.front()));
    unseen += (unseen.empty() ? "" : ", ") + std::string(point);
  };
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (std::string_view blank : kBlanks) {
      for (bool atEnd : {false, true}) {
        if (!(atEnd ? std::string_view(key).ends_with(blank) : std::string_view(key).starts_with(blank)))
          continue;
        key.erase(atEnd ? key.size() - blank.size() : 0, blank.size());
        note(blank);
        trimmed = true;
      }
    }
  }
  for (std::string_view character : kUnseenAnywhere) {
    for (size_t at; (at = key.find(character)) != std::string::npos;) {
      key.erase(at, character.size());
      note(character);
    }
  }
  return key;
}

// A value as the user reads it in a sentence.
std::string shownValue(const DataValue& value) {
  const std::string text = valueText(value);
  return text.empty() ? "the empty value" : text;
}

}  // namespace

std::optional<std::string> HostDataStore::takeLocked(Item& item, Preloaded preloaded) {
  const DataItemRegistration& registration = item.registration;
  item.inFile = true;
  if (std::optional<std::string> why = whyItemRefuses(registration.shape, preloaded.value)) {
    // Any value the run writes is then a change: the file's line holds no value the item could take.
    item.stored = std::monostate();
    return preloaded.origin + ": " + registration.key + ": " + *why + "; the default " +
           shownValue(defaultValueOf(registration)) + " is kept";
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

std::vector<std::string> HostDataStore::keysMeaningSettingsUnseen() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> told;
  for (const auto& [key, preloaded] : waiting_) {
    std::string unseen;
    const std::string visible = visibleKey(key, unseen);
    const Item* item = unseen.empty() ? nullptr : findLocked(visible.c_str());
    if (!item || !isUserSetting(item->registration)) continue;
    told.push_back(preloaded.origin + ": \"" + key + "\" is no setting: without its invisible characters (" +
                   unseen + ") it is " + visible + ", which keeps " + shownValue(item->value));
  }
  return told;
}
