#include "host/core/user_settings_file.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

#include "host/core/data_item_text.h"
#include "host/core/field_escape.h"
#include "platform/text_encoding.h"
#include "platform/utf8.h"

namespace {

constexpr const char* kHeading =
    "# palpera-host user settings: key, kind, value; one a line, tab-separated\n";

// Why a line holds no setting.
struct ValueFault {
  std::string reason;
};

template <class Number>
std::optional<Number> wholeNumber(std::string_view text) {
  Number value{};
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> hexBytes(std::string_view text) {
  if (text.size() % 2) return std::nullopt;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    std::optional<int> high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
    if (!high || !low) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(*high << 4 | *low));
  }
  return bytes;
}

std::optional<std::u16string> utf8Text(std::string_view field) {
  std::optional<std::string> bytes = unescapeField(field);
  if (!bytes) return std::nullopt;
  std::u16string text = platform::fromUtf8(*bytes);
  // The conversion puts U+FFFD for what is no UTF-8; such a text would not be the one stored.
  if (platform::toUtf8(text) != *bytes) return std::nullopt;
  return text;
}

std::optional<DataValue> valueOf(std::string_view kind, std::string_view text) {
  if (kind == "int") return wholeNumber<int32_t>(text);
  if (kind == "double") {
    // from_chars reads no leading "+", which strtod does; the writer never puts one.
    if (std::optional<double> value = wholeNumber<double>(text)) return *value;
    return std::nullopt;
  }
  if (kind == "string") return utf8Text(text);
  if (kind == "blob") return hexBytes(text);
  return std::nullopt;
}

const char* kindOf(const DataValue& value) {
  if (std::holds_alternative<int32_t>(value)) return "int";
  if (std::holds_alternative<double>(value)) return "double";
  if (std::holds_alternative<std::u16string>(value)) return "string";
  if (std::holds_alternative<std::vector<uint8_t>>(value)) return "blob";
  return nullptr;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// The key a line's first field names, when it names one.
std::optional<std::string> keyOf(std::string_view line) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  std::optional<std::string> key = unescapeField(line.substr(0, tab));
  if (!key || key->empty()) return std::nullopt;
  return key;
}

// The setting a line holds, or why it holds none.
std::variant<StoredSetting, ValueFault> settingOf(std::string_view line) {
  std::vector<std::string_view> fields = fieldsOf(line);
  if (fields.size() != 3) return ValueFault{"not three tab-separated fields"};
  std::optional<std::string> key = keyOf(line);
  if (!key) return ValueFault{"no key"};
  const std::string_view kind = fields[1];
  if (kind != "int" && kind != "double" && kind != "string" && kind != "blob")
    return ValueFault{"unknown kind '" + escapeField(kind) + "'"};
  std::optional<DataValue> value = valueOf(kind, fields[2]);
  if (!value) return ValueFault{"the value is no " + std::string(kind)};
  return StoredSetting{std::move(*key), std::move(*value)};
}

// The lines of a text, each with its end: LF, CR LF or CR alone.
std::vector<UserSettingsText::Line> linesOf(std::string_view text) {
  std::vector<UserSettingsText::Line> lines;
  while (!text.empty()) {
    const size_t stop = std::min(text.find_first_of("\r\n"), text.size());
    size_t endLength = stop == text.size() ? 0 : 1;
    if (text.substr(stop).starts_with("\r\n")) endLength = 2;
    lines.push_back({std::string(text.substr(0, stop)), std::string(text.substr(stop, endLength)), {}});
    text.remove_prefix(stop + endLength);
  }
  return lines;
}

// Keeps the setting of a line, or notes that its key was given before.
void keepSetting(UserSettingsText& parsed, std::map<std::string, size_t>& indexOfKey, StoredSetting setting,
                 size_t lineNumber) {
  auto [at, isNew] = indexOfKey.try_emplace(setting.key, parsed.settings.size());
  if (isNew) {
    parsed.settings.push_back(std::move(setting));
    parsed.lines.push_back(lineNumber);
    return;
  }
  const size_t earlier = parsed.lines[at->second];
  parsed.repeats.push_back({lineNumber, escapeField(setting.key) + " is given again (first on line " +
                                            std::to_string(earlier) + "); this line holds"});
  parsed.settings[at->second].value = std::move(setting.value);
  parsed.lines[at->second] = lineNumber;
}

}  // namespace

UserSettingsText parseUserSettings(std::string_view text) {
  UserSettingsText parsed;
  parsed.refusal = platform::encodingRefusal(text);
  if (parsed.refusal) return parsed;
  const std::string_view body = platform::withoutByteOrderMark(text);
  parsed.byteOrderMark = text.substr(0, text.size() - body.size());
  parsed.asWritten = linesOf(body);
  std::map<std::string, size_t> indexOfKey;
  for (size_t i = 0; i < parsed.asWritten.size(); ++i) {
    UserSettingsText::Line& line = parsed.asWritten[i];
    if (line.text.empty() || line.text.front() == '#') continue;
    line.key = keyOf(line.text);
    std::variant<StoredSetting, ValueFault> read = settingOf(line.text);
    if (auto* fault = std::get_if<ValueFault>(&read))
      parsed.faults.push_back({i + 1, std::move(fault->reason)});
    else
      keepSetting(parsed, indexOfKey, std::move(std::get<StoredSetting>(read)), i + 1);
  }
  return parsed;
}

std::string settingLine(const StoredSetting& setting) {
  const char* kind = kindOf(setting.value);
  if (!kind) return {};
  return escapeField(setting.key) + '\t' + kind + '\t' + valueText(setting.value);
}

std::string formatUserSettings(const std::vector<StoredSetting>& settings) {
  std::string text = kHeading;
  for (const StoredSetting& setting : settings) {
    if (std::string line = settingLine(setting); !line.empty()) text += line + '\n';
  }
  return text;
}
