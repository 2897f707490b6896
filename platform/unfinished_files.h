#pragma once

// The files this process has begun and not finished: the new versions that FileReplacement writes beside the
// files they are to replace. A process a signal ends removes them on its way out (once
// removeUnfinishedFilesOnSignals has run), so that nothing half-written is left beside the file it was to
// replace; a process whose own handler lets it go on keeps them, and its writers finish them. A child forked
// from the process (the CAD kernel's) inherits the registry, never the files: a signal that ends the child
// leaves what its parent had begun. One ended by
// SIGKILL cannot: FileReplacement clears what a process that is gone left beside a file when that file is
// written next.
//
// The registry is one per copy of this code: the host has one, and so has every module it loads, each a
// library of its own. Each installs its handler over the one there before and hands the signal on to it, so
// that a signal removes what the module's writers had not finished as well as what the host's had not. A
// module unloaded puts the handler there before back wherever its own is still installed.
//
// Registration is safe on any thread, and the handler may run while other threads register: it reads only
// slots that stay where they are once made, so it stays async-signal-safe. A file whose name is too long has
// no slot; it is left to the next writer as after SIGKILL.

#include <cstddef>
#include <string>

namespace platform {

struct UnfinishedSlot;

// Registers path as unfinished for its lifetime.
class UnfinishedFile {
 public:
  explicit UnfinishedFile(const std::string& path);
  UnfinishedFile(const UnfinishedFile&) = delete;
  UnfinishedFile& operator=(const UnfinishedFile&) = delete;
  ~UnfinishedFile();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  UnfinishedSlot* slot_ = nullptr;  // none for a name too long for the handler's copy
};

// Whether this process has begun path and not finished it, slot or none: what a writer asks of a name that
// carries this process's number, which a process gone before may have carried too (in a container the host
// is often process 1 at every start).
bool isUnfinished(const std::string& path);

// For every signal that ends a process by its default action (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1,
// SIGPIPE and the others, the real-time ones too): a handler that hands the signal on to the handler there
// before (another registry's, which does the same, or the host's own), or lets it end the process as it would
// have, and then removes every unfinished file of this registry if the signal is going to end the process
// (its default action is next). A signal ignored (a background job's SIGINT) stays ignored. For the host's
// main before the first file is written, and for a module as it is loaded; a second call does nothing.
void removeUnfinishedFilesOnSignals();

}  // namespace platform
