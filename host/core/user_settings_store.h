#pragma once

// The user-settings file of one host session (palpera-host --store; its format: user_settings_file.h), read
// before the module starts and written when the host ends.
//
// Reading: every setting the file holds is handed to the data store (HostDataStore::preloadUserSetting),
// told where the file holds it ("PATH:LINE"), so that a value an item refuses is named by its line. Lines
// that cannot be read, and keys given again, are told; the file is not changed by reading.
//
// Writing: only what this run changed (HostDataStore::changedUserSettings) is written, over what the file
// holds by then, so another program or another host on the same file keeps what it wrote there. Each change
// takes the place of the line that holds its key, or is added at the end; every other line stays as
// written, unreadable ones included, with its line end and the file's byte order mark. When the file's line
// for a key this run changed is no longer the one read at the start, and holds another value, the file keeps
// its line and the conflict is told. A run that changed nothing leaves the file as it is. The re-read, the
// merge and the rename happen under a lock on the file's folder (platform/folder_lock.h), so that hosts
// saving into one file at once each merge over what the one before wrote: none loses another's keys, and
// every conflict over a shared key is told.
//
// A file that exists but cannot be read (a directory, no permission) or is UTF-16 text is never written
// over: reading fails, and so does writing. One thread at a time on each object; any number of objects, in
// one process or in many, on one file.

#include <optional>
#include <string>
#include <vector>

#include "host/core/host_data_store.h"
#include "host/core/user_settings_file.h"

class UserSettingsStore {
 public:
  explicit UserSettingsStore(std::string path) : path_(std::move(path)) {}

  // Reads the file into the store. A missing file is an empty one. Each line that cannot be read, and each
  // key given again, adds "PATH:LINE: reason" to warnings. False, with the reason in error, when the file
  // exists but cannot be read: the caller must not write over it then.
  bool load(HostDataStore& store, std::vector<std::string>& warnings, std::string& error);
  // Writes this run's changes into the file through a new file renamed over it, so that a failure or a
  // crash leaves the old file whole. Each conflict adds "PATH:LINE: reason" to conflicts. False, with the
  // reason in error, when the file could not be read again or written.
  bool save(HostDataStore& store, std::vector<std::string>& conflicts, std::string& error);

 private:
  // The file's text, or why it cannot be had; a missing file is an empty text.
  bool read(UserSettingsText& text, std::string& error) const;
  // Why the change cannot be written over what the file holds now, or nothing.
  std::optional<std::string> conflictOver(const UserSettingsText& now, const StoredSetting& change) const;

  std::string path_;
  UserSettingsText loaded_;  // what the file held when it was read
};
