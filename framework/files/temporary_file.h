#pragma once

// Temporary files of the process, in the host's temporary directory. The out-of-memory path moves a block's
// contents through one while the old and the new block cannot both exist.

#include <cstdint>

#include "basic_types/zel_string.h"

// A fresh name: the directory (the data store's "Directories/Temp Directory", else the host's temporary
// directory) followed by "\zel-<process id>-<counter>-temp", the process id and the low 32 bits of the
// high-resolution counter as eight lower-case hexadecimal digits each. False, leaving out empty, when neither
// names a directory: a name without one would land in the root directory.
bool makeTempFileName(ZelString& out);

// A temporary file, open for reading and writing in binary mode. It is created exclusively (never an existing
// file, never through a symbolic link), readable and writable by its owner alone, and its name is removed as
// soon as it is open, so nothing is left behind whatever happens to the process. The descriptor is closed
// when the object goes. One thread at a time.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile();

  // Makes a name and creates the file; a name that exists already is replaced by a fresh one a few times.
  // False when no name can be made, no file created, or this object holds a file already.
  bool create();
  // The descriptor for the platform's file calls, or -1 before a successful create.
  int32_t fd() const { return fd_; }
  // The name the file was created under (no longer in the directory).
  const ZelString& path() const { return path_; }

 private:
  int32_t fd_ = -1;
  ZelString path_;
};
