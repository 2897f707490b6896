#include "host/core/data_item.h"

#include <algorithm>
#include <cmath>

#include "platform/utf8.h"

namespace {

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

int32_t IntItem::clamp(int32_t value) const {
  return std::clamp(value, minimum, maximum);
}

bool DoubleItem::valid() const {
  return !std::isnan(defaultValue) && !std::isnan(minimum) && !std::isnan(maximum) && minimum <= maximum;
}

std::optional<double> DoubleItem::clamp(double value) const {
  if (std::isnan(value)) return std::nullopt;
  return std::clamp(value, minimum, maximum);
}

std::u16string StringItem::cut(std::u16string text) const {
  auto limit = static_cast<size_t>(maximumLength);
  if (narrow) {
    std::string bytes = platform::toUtf8(text);
    if (bytes.size() <= limit) return text;
    // Back to the first byte of the character the limit falls in.
    while (limit > 0 && (static_cast<unsigned char>(bytes[limit]) & 0xC0) == 0x80) --limit;
    bytes.resize(limit);
    return platform::fromUtf8(bytes);
  }
  if (text.size() <= limit) return text;
  text.resize(limit);
  if (!text.empty() && isHighSurrogate(text.back())) text.pop_back();
  return text;
}

DataValue defaultValueOf(const DataItemRegistration& registration) {
  const DataItemRegistration::Shape& shape = registration.shape;
  if (auto* item = std::get_if<IntItem>(&shape)) return item->defaultValue;
  if (auto* item = std::get_if<DoubleItem>(&shape)) return item->defaultValue;
  if (auto* item = std::get_if<StringItem>(&shape)) return item->defaultValue;
  if (auto* item = std::get_if<BlobItem>(&shape); item && item->defaultBytes) return *item->defaultBytes;
  return std::monostate{};
}

std::optional<DataValue> fittedValue(const DataItemRegistration::Shape& shape, const DataValue& value) {
  if (auto* item = std::get_if<IntItem>(&shape); item && std::holds_alternative<int32_t>(value))
    return item->clamp(std::get<int32_t>(value));
  if (auto* item = std::get_if<DoubleItem>(&shape); item && std::holds_alternative<double>(value)) {
    std::optional<double> clamped = item->clamp(std::get<double>(value));
    if (clamped) return *clamped;
    return std::nullopt;
  }
  if (auto* item = std::get_if<StringItem>(&shape); item && std::holds_alternative<std::u16string>(value))
    return item->cut(std::get<std::u16string>(value));
  auto* bytes = std::get_if<std::vector<uint8_t>>(&value);
  if (auto* item = std::get_if<BlobItem>(&shape); item && bytes && bytes->size() == item->size) return *bytes;
  return std::nullopt;
}

std::string parentGroupOf(const std::string& key) {
  size_t slash = key.rfind('/');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

bool isUserSetting(const DataItemRegistration& registration) {
  constexpr uint32_t kUserSettingFlags = 3;
  return registration.flags == kUserSettingFlags;
}
