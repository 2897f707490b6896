#include "host/core/user_settings_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "host/core/data_item_text.h"
#include "platform/file_replacement.h"
#include "platform/folder_lock.h"
#include "platform/text_encoding.h"

namespace {

// The index of the line that holds the key's value (the last that names it), if any.
std::optional<size_t> holderOf(const UserSettingsText& text, const std::string& key) {
  for (size_t i = text.asWritten.size(); i-- > 0;) {
    if (text.asWritten[i].key == key) return i;
  }
  return std::nullopt;
}

// The line text that holds the key, or nothing.
std::optional<std::string> heldLine(const UserSettingsText& text, const std::string& key) {
  std::optional<size_t> at = holderOf(text, key);
  if (!at) return std::nullopt;
  return text.asWritten[*at].text;
}

// The line end new lines take: the file's first, or LF in a file without one.
std::string lineEndOf(const UserSettingsText& text) {
  return text.asWritten.empty() || text.asWritten.front().end.empty() ? "\n" : text.asWritten.front().end;
}

// Whether a line reads as the setting's value.
bool holdsValue(const std::string& line, const StoredSetting& setting) {
  const UserSettingsText read = parseUserSettings(line);
  return read.settings.size() == 1 && read.settings.front().key == setting.key &&
         read.settings.front().value == setting.value;
}

std::string joined(const UserSettingsText& text) {
  std::string bytes = text.byteOrderMark;
  for (const UserSettingsText::Line& line : text.asWritten) bytes += line.text + line.end;
  return bytes;
}

}  // namespace

bool UserSettingsStore::read(UserSettingsText& text, std::string& error) const {
  struct stat status {};
  if (::stat(path_.c_str(), &status) != 0) {
    if (errno == ENOENT) {
      text = {};
      return true;
    }
    error = path_ + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    error = path_ + ": not a regular file";
    return false;
  }
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    error = path_ + ": cannot be read";
    return false;
  }
  text = parseUserSettings(std::string(std::istreambuf_iterator<char>(in), {}));
  if (text.refusal) {
    error = path_ + ": " + text.refusal;
    return false;
  }
  return true;
}

bool UserSettingsStore::load(HostDataStore& store, std::vector<std::string>& warnings, std::string& error) {
  if (!read(loaded_, error)) return false;
  const std::string at = path_ + ":";
  for (const UserSettingsText::Fault& fault : loaded_.faults)
    warnings.push_back(at + std::to_string(fault.line) + ": " + fault.reason +
                       "; the line is kept as written");
  for (const UserSettingsText::Fault& repeat : loaded_.repeats)
    warnings.push_back(at + std::to_string(repeat.line) + ": " + repeat.reason);
  for (size_t i = 0; i < loaded_.settings.size(); ++i) {
    const StoredSetting& setting = loaded_.settings[i];
    store.preloadUserSetting(setting.key, setting.value, at + std::to_string(loaded_.lines[i]));
  }
  return true;
}

bool UserSettingsStore::save(HostDataStore& store, std::vector<std::string>& conflicts, std::string& error) {
  const std::vector<HostDataStore::SettingChange> changes = store.changedUserSettings();
  if (changes.empty()) return true;
  // From the re-read to the rename no other host saves into the same folder: each merges over what the one
  // before it wrote.
  platform::FolderLock lock(path_);
  if (!lock.error().empty()) {
    error = path_ + ": the store could not be locked: " + lock.error();
    return false;
  }
  UserSettingsText now;
  if (!read(now, error)) return false;
  if (now.asWritten.empty()) now.asWritten = parseUserSettings(formatUserSettings({})).asWritten;
  if (now.asWritten.back().end.empty()) now.asWritten.back().end = lineEndOf(now);
  bool edited = false;
  for (const HostDataStore::SettingChange& each : changes) {
    const StoredSetting& change = each.setting;
    if (std::optional<std::string> conflict = conflictOver(now, change)) {
      conflicts.push_back(*conflict);
      continue;
    }
    const std::string line = settingLine(change);
    std::optional<size_t> at = holderOf(now, change.key);
    if (at && now.asWritten[*at].text == line) continue;
    if (at)
      now.asWritten[*at].text = line;
    else
      now.asWritten.push_back({line, lineEndOf(now), change.key});
    edited = true;
  }
  if (!edited) return true;
  const std::string text = joined(now);
  FileReplacement file(path_);
  if (std::FILE* stream = file.stream()) std::fwrite(text.data(), 1, text.size(), stream);
  if (file.commit()) return true;
  error = file.error();
  return false;
}

std::optional<std::string> UserSettingsStore::conflictOver(const UserSettingsText& now,
                                                           const StoredSetting& change) const {
  const std::optional<std::string> held = heldLine(now, change.key);
  if (held == heldLine(loaded_, change.key) || (held && holdsValue(*held, change))) return std::nullopt;
  const std::string set = " while this run set it to " + valueText(change.value);
  const std::optional<size_t> at = holderOf(now, change.key);
  if (!at)
    return path_ + ": " + change.key + ": another writer removed its line" + set + "; the file stays so";
  return path_ + ":" + std::to_string(*at + 1) + ": " + change.key + ": another writer changed the line" +
         set + "; the file keeps its line";
}
