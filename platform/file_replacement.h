#pragma once

// A new version of a file, written beside it and put in its place only once complete. Until commit the file
// at the target path stays as it was; a version that could not be written whole is removed, so a full disk, a
// size limit or a crash never leaves the user with half a file, or with none where there was one. A target
// that exists must be a regular file (a name that links to one replaces the file linked to): a device or a
// directory is never replaced. The new version keeps the permissions of the file it replaces. Both the
// module's writers (on a system path, platform::systemPath) and the host's use it. One thread at a time.
//
// The new version is named after the target, this process and a running number ("NAME.new-PID-N"). It is
// registered as unfinished (platform/unfinished_files.h), so that a host ended by a signal removes it; what a
// process that is gone left beside the target (ended by SIGKILL, or a crash) is removed when the target is
// written next.

#include <sys/types.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/unfinished_files.h"

class FileReplacement {
 public:
  // Opens the new version beside target; see stream and error.
  explicit FileReplacement(const std::string& target);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Removes the new version unless it was committed.
  ~FileReplacement();

  // Where the new version is written; null when it could not be made, or after commit.
  std::FILE* stream() { return stream_; }
  // Why the new version could not be made or committed ("<target>: <reason>"); empty otherwise.
  const std::string& error() const { return error_; }
  // Writes out and closes the new version, then renames it over the target. False, with the reason in error
  // and the target untouched, when any write failed or the rename did.
  bool commit();

 private:
  // Makes the new version beside replaced_, with the given permissions (else those new files get).
  void open(std::optional<mode_t> mode);
  void fail(const std::string& reason);
  void discard();

  std::string target_;    // as the caller named it, for messages
  std::string replaced_;  // the file that commit replaces
  std::string fresh_;     // the new version's name; empty when there is none
  std::FILE* stream_ = nullptr;
  std::optional<platform::UnfinishedFile> unfinished_;  // fresh_, while it is there
  std::string error_;
};
