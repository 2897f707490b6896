#include "host/core/data_item_text.h"

#include <charconv>
#include <cmath>

#include "host/core/field_escape.h"
#include "platform/utf8.h"

namespace {

std::string number(double value) {
  return doubleText(value);
}

std::string number(int64_t value) {
  return std::to_string(value);
}

std::string hex(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t byte : bytes) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
  }
  return out;
}

// The fields after the key but the default.
struct Fields {
  const char* kind;
  std::string minimum, maximum, flags;
};

Fields fieldsOf(const DataItemRegistration& item) {
  const DataItemRegistration::Shape& shape = item.shape;
  std::string flags = number(int64_t{item.flags});
  if (auto* i = std::get_if<IntItem>(&shape)) {
    return {"int", number(int64_t{i->minimum}), number(int64_t{i->maximum}), flags};
  }
  if (auto* d = std::get_if<DoubleItem>(&shape))
    return {"double", number(d->minimum), number(d->maximum), flags};
  if (auto* s = std::get_if<StringItem>(&shape))
    return {"string", "", number(int64_t{s->maximumLength}), flags};
  if (auto* b = std::get_if<BlobItem>(&shape)) return {"blob", "", number(int64_t{b->size}), flags};
  if (std::holds_alternative<ObjectItem>(shape)) return {"object", "", "", flags};
  return {std::holds_alternative<GroupItem>(shape) ? "group" : "event", "", "", ""};
}

}  // namespace

std::string doubleText(double value) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
  return std::string(text, end.ptr);
}

std::string valueText(const DataValue& value) {
  if (auto* i = std::get_if<int32_t>(&value)) return number(int64_t{*i});
  if (auto* d = std::get_if<double>(&value)) return number(*d);
  if (auto* s = std::get_if<std::u16string>(&value)) return escapeField(platform::toUtf8(*s));
  if (auto* b = std::get_if<std::vector<uint8_t>>(&value)) return hex(*b);
  return "";
}

std::string registrationLine(const DataItemRegistration& item) {
  Fields f = fieldsOf(item);
  return item.key + '\t' + f.kind + '\t' + valueText(defaultValueOf(item)) + '\t' + f.minimum + '\t' +
         f.maximum + '\t' + f.flags;
}

namespace {

const char* kindName(const DataValue& value) {
  if (std::holds_alternative<int32_t>(value)) return "int";
  if (std::holds_alternative<double>(value)) return "double";
  if (std::holds_alternative<std::u16string>(value)) return "string";
  if (std::holds_alternative<std::vector<uint8_t>>(value)) return "blob";
  return "none";
}

template <class Number, class Item>
std::optional<std::string> whyOutOfRange(Number value, const Item& item) {
  if (value >= item.minimum && value <= item.maximum) return std::nullopt;
  return valueText(value) + " lies outside " + valueText(item.minimum) + " to " + valueText(item.maximum);
}

}  // namespace

std::optional<std::string> whyItemRefuses(const DataItemRegistration::Shape& shape, const DataValue& value) {
  if (auto* item = std::get_if<IntItem>(&shape); item && std::holds_alternative<int32_t>(value))
    return whyOutOfRange(std::get<int32_t>(value), *item);
  if (auto* item = std::get_if<DoubleItem>(&shape); item && std::holds_alternative<double>(value)) {
    const double number = std::get<double>(value);
    if (!std::isfinite(number)) return valueText(number) + " is not a finite number";
    return whyOutOfRange(number, *item);
  }
  if (std::holds_alternative<StringItem>(shape) && std::holds_alternative<std::u16string>(value))
    return std::nullopt;
  auto* bytes = std::get_if<std::vector<uint8_t>>(&value);
  if (auto* item = std::get_if<BlobItem>(&shape); item && bytes) {
    if (bytes->size() == item->size) return std::nullopt;
    return std::to_string(bytes->size()) + " bytes where the item holds " + std::to_string(item->size);
  }
  return std::string("a value of kind ") + kindName(value) + " for an item of kind " +
         fieldsOf({"", shape, 0}).kind;
}
