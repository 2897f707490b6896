#pragma once

// The file in which the command-line host keeps the user's settings between sessions (palpera-host --store):
// the data store's items registered with the user-setting flags (3), read before the module starts and
// written back when the host ends.
//
// Format: UTF-8 text, one setting per line, lines ending in LF (or CR LF, as an editor may save them). A line
// holds three fields separated by tabs:
//
//   KEY <tab> KIND <tab> VALUE
//
//   KEY    the data-store key, escaped as a field of the host's text outputs (\\ \t \r \n; field_escape.h)
//   KIND   int, double, string or blob
//   VALUE  int: a decimal 32-bit integer; double: a number as strtod reads it without blanks ("inf", "-inf"
//          and "nan" included, which the store refuses, as any value beyond the item's range); string: the
//          text in UTF-8, escaped like KEY; blob: the bytes in hexadecimal, two digits each, either case
//
// An empty line and a line whose first byte is '#' are passed over. Any other line that does not have this
// form (another field count, an unknown kind, a value that does not read whole, a string that is not UTF-8,
// an empty key) cannot be read: it is skipped with a warning naming the file and the line, and the lines
// around it are kept. A key given twice takes the later line. The writer puts one comment line first, then
// every registered user setting in registration order, then the values still waiting for an item that this
// session never registered (by key), so a session that never reached an item keeps its value for the next.
//
// What the store does with a value read: see HostDataStore::preloadUserSetting, which is told where the file
// holds it ("PATH:LINE"), so that a value an item refuses is named by its line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/data_item.h"
#include "host/core/host_data_store.h"

struct UserSettingsText {
  std::vector<StoredSetting> settings;  // in file order, a key given twice once, at its later value
  std::vector<size_t> lines;            // the line (from 1) each of settings was read from
  struct Fault {
    size_t line = 0;  // from 1
    std::string reason;
  };
  std::vector<Fault> faults;
};

UserSettingsText parseUserSettings(std::string_view text);
// The file's text for the settings given, in their order; a setting without a value is left out.
std::string formatUserSettings(const std::vector<StoredSetting>& settings);

// Reads the file at path into the store's waiting values. A missing file is an empty one. Each line that
// cannot be read adds "PATH:LINE: reason" to warnings. False, with the reason in error, when the file exists
// but cannot be read (a directory, no permission): the caller must not write over it then.
bool loadUserSettingsFile(const std::string& path, HostDataStore& store, std::vector<std::string>& warnings,
                          std::string& error);
// Writes the store's user settings to path through a new file renamed over the old one, so that a failure
// or a crash leaves the old file whole. False, with the reason in error, when it could not be written.
bool saveUserSettingsFile(const std::string& path, HostDataStore& store, std::string& error);
