#pragma once

// An advisory lock on the folder that holds a file, held for the object's lifetime: writers that re-read a
// file, merge into it and put a new version in its place take it first, so that no two of them, in one
// process or in several, merge over the same old version and lose what the other wrote. The folder, not the
// file, is locked: the file is replaced by a rename, and a lock on the version replaced would not hold the
// next writer back. It binds only writers that take it.

#include <string>

namespace platform {

class FolderLock {
 public:
  // Waits until the lock on the folder holding file is this object's; see error.
  explicit FolderLock(const std::string& file);
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // Why the lock could not be taken ("<folder>: <reason>"); empty while it is held.
  const std::string& error() const { return error_; }

 private:
  int folder_ = -1;
  std::string error_;
};

}  // namespace platform
