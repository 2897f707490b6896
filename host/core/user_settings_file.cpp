#include "host/core/user_settings_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "host/core/data_item_text.h"
#include "host/core/field_escape.h"
#include "platform/file_replacement.h"
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

// The setting a line holds, or why it holds none.
std::variant<StoredSetting, ValueFault> settingOf(std::string_view line) {
  std::vector<std::string_view> fields = fieldsOf(line);
  if (fields.size() != 3) return ValueFault{"not three tab-separated fields"};
  std::optional<std::string> key = unescapeField(fields[0]);
  if (!key || key->empty()) return ValueFault{"no key"};
  const std::string_view kind = fields[1];
  if (kind != "int" && kind != "double" && kind != "string" && kind != "blob")
    return ValueFault{"unknown kind '" + escapeField(kind) + "'"};
  std::optional<DataValue> value = valueOf(kind, fields[2]);
  if (!value) return ValueFault{"the value is no " + std::string(kind)};
  return StoredSetting{std::move(*key), std::move(*value)};
}

}  // namespace

UserSettingsText parseUserSettings(std::string_view text) {
  UserSettingsText parsed;
  std::map<std::string, size_t> indexOfKey;
  size_t lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    // A CR of the text itself is written escaped; a bare one before the LF is the line end of an editor.
    if (line.ends_with('\r')) line.remove_suffix(1);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    std::variant<StoredSetting, ValueFault> read = settingOf(line);
    if (auto* fault = std::get_if<ValueFault>(&read)) {
      parsed.faults.push_back({lineNumber, std::move(fault->reason)});
      continue;
    }
    StoredSetting& setting = std::get<StoredSetting>(read);
    auto [at, isNew] = indexOfKey.try_emplace(setting.key, parsed.settings.size());
    if (isNew) {
      parsed.settings.push_back(std::move(setting));
      parsed.lines.push_back(lineNumber);
    } else {
      parsed.settings[at->second].value = std::move(setting.value);
      parsed.lines[at->second] = lineNumber;
    }
  }
  return parsed;
}

std::string formatUserSettings(const std::vector<StoredSetting>& settings) {
  std::string text = kHeading;
  for (const StoredSetting& setting : settings) {
    const char* kind = kindOf(setting.value);
    if (!kind) continue;
    text += escapeField(setting.key) + '\t' + kind + '\t' + valueText(setting.value) + '\n';
  }
  return text;
}

bool loadUserSettingsFile(const std::string& path, HostDataStore& store, std::vector<std::string>& warnings,
                          std::string& error) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return true;
    error = path + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    error = path + ": not a regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::string text(std::istreambuf_iterator<char>(in), {});
  UserSettingsText parsed = parseUserSettings(text);
  for (const UserSettingsText::Fault& fault : parsed.faults)
    warnings.push_back(path + ":" + std::to_string(fault.line) + ": " + fault.reason +
                       "; the line is skipped");
  for (size_t i = 0; i < parsed.settings.size(); ++i) {
    StoredSetting& setting = parsed.settings[i];
    store.preloadUserSetting(setting.key, std::move(setting.value),
                             path + ":" + std::to_string(parsed.lines[i]));
  }
  return true;
}

bool saveUserSettingsFile(const std::string& path, HostDataStore& store, std::string& error) {
  const std::string text = formatUserSettings(store.userSettings());
  FileReplacement file(path);
  if (std::FILE* stream = file.stream()) std::fwrite(text.data(), 1, text.size(), stream);
  if (file.commit()) return true;
  error = file.error();
  return false;
}
