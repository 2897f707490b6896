#pragma once

// What the stand-in host's data store knows of one key: the registration (kind, default, range, flags), which
// never changes once made, and the rules by which a written value is brought within it. Plain values; the
// store guards them with its own lock.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct GroupItem {};
struct EventItem {};
struct ObjectItem {};

struct IntItem {
  int32_t defaultValue = 0;
  int32_t minimum = 0;
  int32_t maximum = 0;

  bool valid() const { return minimum <= maximum; }
  int32_t clamp(int32_t value) const;
};

struct DoubleItem {
  double defaultValue = 0;
  double minimum = 0;
  double maximum = 0;

  // No bound or default may be NaN: no value could be compared with it.
  bool valid() const;
  // The value clamped to the range; nothing for NaN, which lies in no range.
  std::optional<double> clamp(double value) const;
};

struct StringItem {
  std::u16string defaultValue;  // already cut to maximumLength
  int32_t maximumLength = 0;    // in UTF-16 code units (narrow: UTF-8 bytes), at least 1
  bool narrow = false;          // registered as narrow text

  bool valid() const { return maximumLength > 0; }
  // The text cut to maximumLength; a cut never splits a surrogate pair (the high half goes too), nor a
  // narrow text's character.
  std::u16string cut(std::u16string text) const;
};

struct BlobItem {
  uint32_t size = 0;
  std::optional<std::vector<uint8_t>> defaultBytes;  // none: the item holds no value until set
};

// The kinds in the order of DataItemRegistration::Shape's alternatives.
enum class DataItemKind { kGroup, kEvent, kInt, kDouble, kString, kBlob, kObject };

struct DataItemRegistration {
  using Shape = std::variant<GroupItem, EventItem, IntItem, DoubleItem, StringItem, BlobItem, ObjectItem>;

  std::string key;
  Shape shape;
  uint32_t flags = 0;  // as registered; groups and events carry none

  DataItemKind kind() const { return static_cast<DataItemKind>(shape.index()); }
};

// The value an item holds: nothing (groups, events, objects, a blob without a default), or one of its kind.
using DataValue = std::variant<std::monostate, int32_t, double, std::u16string, std::vector<uint8_t>>;

// The value a freshly registered item reads as: its default.
DataValue defaultValueOf(const DataItemRegistration& registration);

// A value brought within a registration as a write brings it: an int or a double clamped to the range, a
// string cut to its maximum length, a blob of the registered size; nothing for a value of another kind, NaN,
// a blob of another size, and for the kinds that hold no value.
std::optional<DataValue> fittedValue(const DataItemRegistration::Shape& shape, const DataValue& value);

// Whether the item is one of the user's settings (flags 3), which the user-settings file keeps.
bool isUserSetting(const DataItemRegistration& registration);

// A key and the value it holds, as the user-settings file keeps them.
struct StoredSetting {
  std::string key;
  DataValue value;
};

// The group a key lies in ("Palpera/Tile" for "Palpera/Tile/Scale"); empty for a top-level key.
std::string parentGroupOf(const std::string& key);
