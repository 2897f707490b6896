// The user-settings file is edited by hand and may be cut short by a crash: any bytes must read without
// harm, every byte must be kept as written, every line that reads on its own must be read (a bad line never
// takes a good one with it), and what was read must write back to a text that reads as the same settings.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "host/core/user_settings_file.h"

namespace {

bool sameValue(const DataValue& a, const DataValue& b) {
  if (auto* x = std::get_if<double>(&a); x && std::holds_alternative<double>(b)) {
    const double y = std::get<double>(b);
    return (std::isnan(*x) && std::isnan(y)) || *x == y;
  }
  return a == b;
}

bool sameSettings(const std::vector<StoredSetting>& a, const std::vector<StoredSetting>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const StoredSetting& x, const StoredSetting& y) {
                      return x.key == y.key && sameValue(x.value, y.value);
                    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so that a read past its end is caught.
  auto bytes = std::make_unique<char[]>(size);
  std::copy_n(reinterpret_cast<const char*>(data), size, bytes.get());
  const std::string_view text(bytes.get(), size);
  const UserSettingsText parsed = parseUserSettings(text);
  if (parsed.refusal) {
    if (!parsed.asWritten.empty() || !parsed.settings.empty()) __builtin_trap();
    return 0;
  }

  // Every byte is kept: the lines as written, with their ends, give the text back.
  std::string written = parsed.byteOrderMark;
  for (const UserSettingsText::Line& line : parsed.asWritten) written += line.text + line.end;
  if (written != text) __builtin_trap();

  size_t lines = 0, readable = 0;
  std::set<std::string> keys;
  for (const UserSettingsText::Line& line : parsed.asWritten) {
    if (line.text.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    if (line.text.empty() || line.text.front() == '#') continue;
    ++lines;
    // A line read alone reads as it did among the others: a bad line never takes a good one with it. A
    // comment before it keeps its first bytes from being taken for a byte order mark or UTF-16.
    const UserSettingsText alone = parseUserSettings("#\n" + line.text + line.end);
    if (alone.settings.size() + alone.faults.size() != 1) __builtin_trap();
    if (alone.settings.empty()) continue;
    ++readable;
    keys.insert(alone.settings.front().key);
  }
  if (parsed.faults.size() + readable != lines || parsed.settings.size() != keys.size() ||
      parsed.repeats.size() != readable - keys.size())
    __builtin_trap();

  const UserSettingsText again = parseUserSettings(formatUserSettings(parsed.settings));
  if (!again.faults.empty() || !sameSettings(again.settings, parsed.settings)) __builtin_trap();
  return 0;
}
