#pragma once

// The file in which the command-line host keeps the user's settings between sessions (palpera-host --store):
// the data store's items registered with the user-setting flags (3). Reading it, merging this run's changes
// into it and writing it: user_settings_store.h.
//
// Format: UTF-8 text, one setting per line. A line ends in LF, CR LF or CR alone (as editors save them); a
// UTF-8 byte order mark before the first line is passed over. UTF-16 text is not read at all. A line holds
// three fields separated by tabs:
//
//   KEY <tab> KIND <tab> VALUE
//
//   KEY    the data-store key, escaped as a field of the host's text outputs (\\ \t \r \n; field_escape.h)
//   KIND   int, double, string or blob
//   VALUE  int: a decimal 32-bit integer; double: a number as from_chars reads it, whole, without blanks or a
//          leading "+" ("inf", "-inf" and "nan" included, which the store refuses, as any value beyond the
//          item's range); string: the text in UTF-8, escaped like KEY; blob: the bytes in hexadecimal, two
//          digits each, either case
//
// An empty line and a line whose first byte is '#' are passed over. Any other line that does not have this
// form (another field count, an unknown kind, a value that does not read whole, a string that is not UTF-8,
// an empty key) cannot be read: it is told, by its line, and kept as written. A key given again takes the
// later line, and is told.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/data_item.h"

struct UserSettingsText {
  // One line as the file holds it, its end apart.
  struct Line {
    std::string text;
    std::string end;                 // "\n", "\r\n", "\r", or empty for a last line without one
    std::optional<std::string> key;  // the key its first field names, whether or not the rest reads
  };
  struct Fault {
    size_t line = 0;  // from 1
    std::string reason;
  };

  const char* refusal = nullptr;  // why the text cannot be read (UTF-16, UTF-32): nothing else is filled in
  std::string byteOrderMark;      // the UTF-8 one, or empty
  std::vector<Line> asWritten;
  std::vector<StoredSetting> settings;  // in file order, a key given again once, at its later value
  std::vector<size_t> lines;            // the line (from 1) each of settings was read from
  std::vector<Fault> faults;            // the lines that cannot be read
  std::vector<Fault> repeats;           // the lines that give a key again
};

UserSettingsText parseUserSettings(std::string_view text);
// The line that keeps one setting, without its end; empty for a setting without a value.
std::string settingLine(const StoredSetting& setting);
// A new file's text for the settings given, in their order: a heading comment, then one line each.
std::string formatUserSettings(const std::vector<StoredSetting>& settings);
