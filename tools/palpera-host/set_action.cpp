#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "basic_types/zel_string.h"
#include "host/core/data_item_text.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

std::string rangeText(double value, double minimum, double maximum) {
  return doubleText(value) + " lies outside [" + doubleText(minimum) + ", " + doubleText(maximum) + "]";
}

std::vector<uint8_t> hexBytes(const std::string& word) {
  auto refuse = [&word] { return ScriptError(shownWord(word) + " is no hexadecimal bytes"); };
  auto digit = [&refuse](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw refuse();
  };
  if (word.size() % 2) throw refuse();
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < word.size(); i += 2) bytes.push_back(digit(word[i]) << 4 | digit(word[i + 1]));
  return bytes;
}

// Writes a word to a key as the kind the key was registered with; a value the item cannot hold as it is
// (outside the range, too long, of another size) is an error rather than a quiet change by the store.
struct ValueWriter {
  HostDataStore& store;
  const std::string& key;
  const std::string& word;

  void within(double value, double minimum, double maximum) const {
    if (value < minimum || value > maximum) {
      throw ScriptError(rangeText(value, minimum, maximum) + " of " + shownWord(key));
    }
  }
  bool operator()(const IntItem& item) const {
    int64_t value = wholeNumberWord(word);
    within(static_cast<double>(value), item.minimum, item.maximum);
    return store.setInt(nullptr, key.c_str(), static_cast<int32_t>(value));
  }
  bool operator()(const DoubleItem& item) const {
    double value = numberWord(word);
    within(value, item.minimum, item.maximum);
    return store.setDouble(nullptr, key.c_str(), value);
  }
  bool operator()(const StringItem& item) const {
    std::u16string text = platform::fromUtf8(word);
    // The conversion puts U+FFFD for what is no UTF-8: a value must be stored as written, or not at all.
    if (platform::toUtf8(text) != word) throw ScriptError(shownWord(word) + " is not valid UTF-8");
    if (text.size() > static_cast<size_t>(item.maximumLength)) {
      throw ScriptError("the text is longer than the " + std::to_string(item.maximumLength) +
                        " characters of " + shownWord(key));
    }
    ZelString value;
    value.setBuffer(text.c_str(), -1);
    return store.setString(nullptr, key.c_str(), value);
  }
  bool operator()(const BlobItem& item) const {
    std::vector<uint8_t> bytes = hexBytes(word);
    if (bytes.size() != item.size) {
      throw ScriptError(shownWord(key) + " holds " + std::to_string(item.size) + " bytes, not " +
                        std::to_string(bytes.size()));
    }
    return store.setBlob(nullptr, key.c_str(), bytes.data(), item.size);
  }
  bool operator()(const GroupItem&) const { return noValue("a group"); }
  bool operator()(const EventItem&) const { return noValue("an event"); }
  bool operator()(const ObjectItem&) const { return noValue("an object item"); }

  bool noValue(const char* kind) const {
    throw ScriptError(shownWord(key) + " is " + kind + " and takes no value");
  }
};

}  // namespace

void setSetting(HostSession& session, const ScriptWords& words) {
  const std::string& key = words[0];
  HostDataStore& store = session.host.core().dataStore();
  std::optional<DataItemRegistration> item = store.registration(key);
  if (!item) throw ScriptError("unknown key " + shownWord(key));
  if (!std::visit(ValueWriter{store, key, words[1]}, item->shape)) {
    throw ScriptError("the data store refused " + shownWord(words[1]) + " for " + shownWord(key));
  }
}
