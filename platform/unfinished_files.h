#pragma once

// The files this process has begun and not finished: the new versions that FileReplacement writes beside the
// files they are to replace. A process ended by a signal it can catch removes them on its way out (once
// removeUnfinishedFilesOnSignals has run), so that nothing half-written is left beside the file it was to
// replace. One ended by SIGKILL cannot: FileReplacement clears what a process that is gone left beside a
// file when that file is written next.
//
// The registry is one per process: it lives in a shared object of its own, which the host and every module
// it loads share, so that a handler the host installs also removes what a module's writers had not finished.
//
// Registration is safe on any thread, and the handler may run while other threads register: it reads only
// fixed slots, so it stays async-signal-safe. A file whose name is too long, or one beyond the slots, has no
// slot; it is left to the next writer as after SIGKILL.

#include <cstddef>
#include <string>

// Exported by the registry's shared object, whatever visibility the code that includes this is built with.
#define PALPERA_UNFINISHED_FILES_API [[gnu::visibility("default")]]

namespace platform {

// Registers path as unfinished for its lifetime.
class PALPERA_UNFINISHED_FILES_API UnfinishedFile {
 public:
  explicit UnfinishedFile(const std::string& path);
  UnfinishedFile(const UnfinishedFile&) = delete;
  UnfinishedFile& operator=(const UnfinishedFile&) = delete;
  ~UnfinishedFile();

 private:
  static constexpr size_t kNoSlot = ~size_t(0);
  std::string path_;
  size_t slot_ = kNoSlot;
};

// Whether this process has begun path and not finished it, slot or none: what a writer asks of a name that
// carries this process's number, which a process gone before may have carried too (in a container the host
// is often process 1 at every start).
PALPERA_UNFINISHED_FILES_API bool isUnfinished(const std::string& path);

// For SIGINT, SIGTERM, SIGHUP and SIGQUIT: a handler that removes every unfinished file, then lets the
// signal end the process as it would have. A signal the process was started with ignored (a background job's
// SIGINT) stays ignored. For the host's main, once, before the first file is written.
PALPERA_UNFINISHED_FILES_API void removeUnfinishedFilesOnSignals();

}  // namespace platform
