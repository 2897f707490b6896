#include "platform/unfinished_files.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace platform {

struct UnfinishedSlot {
  // A slot is free, being filled by its owner, or holds a name the handler may remove.
  enum State : int { kFree, kBusy, kHeld };
  std::atomic<int> state{kFree};
  pid_t owner = 0;  // the process that registered it: a child forked since shares the slots, not the files
  char path[PATH_MAX];
};

namespace {

// Slots come in blocks, chained as more files are unfinished at once than the blocks before hold: a recording
// holds every event file it wrote until its log is put in place, however many acquisitions it took.
constexpr size_t kSlotsPerBlock = 64;
struct SlotBlock {
  std::array<UnfinishedSlot, kSlotsPerBlock> slots;
  std::atomic<SlotBlock*> next{
      nullptr};  // the handler walks the chain; the blocks after the first are owned below
};
SlotBlock firstBlock;

// The blocks chained after the first. At exit the chain is cut before they go, so that a signal then finds
// only the first block, never a block freed.
struct ChainedBlocks {
  std::mutex mutex;
  std::vector<std::unique_ptr<SlotBlock>> owned;
  ~ChainedBlocks() { firstBlock.next.store(nullptr); }
};
ChainedBlocks& chainedBlocks() {
  static ChainedBlocks blocks;
  return blocks;
}

// The block after block, chained on first need.
SlotBlock& nextBlock(SlotBlock& block) {
  if (SlotBlock* next = block.next.load()) return *next;
  ChainedBlocks& blocks = chainedBlocks();
  std::lock_guard lock(blocks.mutex);
  if (SlotBlock* next = block.next.load()) return *next;
  blocks.owned.push_back(std::make_unique<SlotBlock>());
  block.next.store(blocks.owned.back().get());
  return *blocks.owned.back();
}

// What each signal did before this registry's handler took it over, to hand the signal on to, and whether the
// handler took it over.
struct sigaction before[_NSIG];
bool taken[_NSIG];

// Whether a signal that ends a process when it takes its default action does so: all but those a process
// ignores or stops at by default, and the two no process can catch.
bool endsByDefault(int signal) {
  for (int other : {SIGKILL, SIGSTOP, SIGCHLD, SIGCONT, SIGURG, SIGWINCH, SIGTSTP, SIGTTIN, SIGTTOU})
    if (signal == other) return false;
  return true;
}

// Every unfinished path, without the slots' limits, for the writers' questions; the handler never reads it.
struct UnfinishedPaths {
  std::mutex mutex;
  std::set<std::string> paths;
};
UnfinishedPaths& unfinishedPaths() {
  static UnfinishedPaths unfinished;
  return unfinished;
}

void removeEveryHeldFile() {
  const pid_t self = ::getpid();
  for (SlotBlock* block = &firstBlock; block; block = block->next.load()) {
    for (UnfinishedSlot& slot : block->slots) {
      if (slot.state.load() == UnfinishedSlot::kHeld && slot.owner == self) ::unlink(slot.path);
    }
  }
}

// Whether the signal, once the handlers under way return, ends the process: its default action is back in
// place, as the handler at the end of the chain puts it back before raising it again. A handler further on
// that let the process go on left this registry's handler in place. (Whether the signal is pending is no
// sure sign: a sanitizer's runtime may hold a signal raised again in a queue of its own.)
bool endsOnReturn(int signal) {
  struct sigaction now {};
  return ::sigaction(signal, nullptr, &now) == 0 && !(now.sa_flags & SA_SIGINFO) && now.sa_handler == SIG_DFL;
}

void removeAndHandOn(int signal, siginfo_t* info, void* context) {
  // The signal may come between a call and its caller's reading of errno: neither a file already gone nor
  // a handler further on may change what that caller reads.
  const int interruptedErrno = errno;
  const struct sigaction& previous = before[signal];
  if (previous.sa_handler == SIG_DFL) {
    // The signal's default action, put back and raised again: it waits until this handler returns, then
    // ends the process.
    ::sigaction(signal, &previous, nullptr);
    ::raise(signal);
  } else if (previous.sa_flags & SA_SIGINFO) {
    // The handler before (another registry's, or the host's own) goes on from here, called as it stands;
    // raised again instead, the signal would wait on a second delivery.
    previous.sa_sigaction(signal, info, context);
  } else {
    previous.sa_handler(signal);
  }
  // Only a process about to end loses its unfinished files: one a handler let go on finishes them, and its
  // writers say what became of each.
  if (endsOnReturn(signal)) removeEveryHeldFile();
  errno = interruptedErrno;
}

bool isRemovingHandler(const struct sigaction& action) {
  return (action.sa_flags & SA_SIGINFO) && action.sa_sigaction == removeAndHandOn;
}

// When the code of this registry goes (a module unloaded), each signal whose handler is still its own gets
// the one there before back: a signal after the unload must not jump into code no longer there.
struct HandlersPutBack {
  ~HandlersPutBack() {
    for (int signal = 1; signal < _NSIG; ++signal) {
      struct sigaction now {};
      if (!taken[signal] || ::sigaction(signal, nullptr, &now) != 0 || !isRemovingHandler(now)) continue;
      ::sigaction(signal, &before[signal], nullptr);
    }
  }
} handlersPutBack;

}  // namespace

UnfinishedFile::UnfinishedFile(const std::string& path) : path_(path) {
  {
    UnfinishedPaths& unfinished = unfinishedPaths();
    std::lock_guard lock(unfinished.mutex);
    unfinished.paths.insert(path);
  }
  if (path.size() >= PATH_MAX) return;
  for (SlotBlock* block = &firstBlock;; block = &nextBlock(*block)) {
    for (UnfinishedSlot& slot : block->slots) {
      int expected = UnfinishedSlot::kFree;
      if (!slot.state.compare_exchange_strong(expected, UnfinishedSlot::kBusy)) continue;
      slot.owner = ::getpid();
      std::memcpy(slot.path, path.c_str(), path.size() + 1);
      slot.state.store(UnfinishedSlot::kHeld);
      slot_ = &slot;
      return;
    }
  }
}

UnfinishedFile::~UnfinishedFile() {
  if (slot_) slot_->state.store(UnfinishedSlot::kFree);
  UnfinishedPaths& unfinished = unfinishedPaths();
  std::lock_guard lock(unfinished.mutex);
  unfinished.paths.erase(path_);
}

bool isUnfinished(const std::string& path) {
  UnfinishedPaths& unfinished = unfinishedPaths();
  std::lock_guard lock(unfinished.mutex);
  return unfinished.paths.contains(path);
}

void removeUnfinishedFilesOnSignals() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    for (int signal = 1; signal < _NSIG; ++signal) {
      if (!endsByDefault(signal) || ::sigaction(signal, nullptr, &before[signal]) != 0 ||
          before[signal].sa_handler == SIG_IGN)
        continue;
      struct sigaction removing {};
      removing.sa_sigaction = removeAndHandOn;
      removing.sa_flags = SA_SIGINFO;
      sigfillset(&removing.sa_mask);
      taken[signal] = ::sigaction(signal, &removing, nullptr) == 0;
    }
  });
}

}  // namespace platform
