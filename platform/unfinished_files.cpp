#include "platform/unfinished_files.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <iterator>
#include <mutex>
#include <set>

namespace platform {

namespace {

// A slot is free, being filled by its owner, or holds a name the handler may remove.
enum SlotState : int { kFree, kBusy, kHeld };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

// More than any host writes at once: a log, an export, a transform file, a few tiles.
constexpr size_t kSlots = 64;
std::array<Slot, kSlots> slots;

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
// What each ending signal did before this registry's handler took it over, to hand the signal on to.
struct sigaction before[std::size(kEndingSignals)];

// Every unfinished path, without the slots' limits, for the writers' questions; the handler never reads it.
struct UnfinishedPaths {
  std::mutex mutex;
  std::set<std::string> paths;
};
UnfinishedPaths& unfinishedPaths() {
  static UnfinishedPaths unfinished;
  return unfinished;
}

void removeAndHandOn(int signal) {
  for (Slot& slot : slots) {
    if (slot.state.load() == kHeld) ::unlink(slot.path);
  }
  // The signal's action is put back as it was and the signal raised again: it waits until this handler
  // returns, then goes to the handler before (which removes its own registry's files) or ends the process.
  for (size_t index = 0; index < std::size(kEndingSignals); ++index) {
    if (kEndingSignals[index] == signal) ::sigaction(signal, &before[index], nullptr);
  }
  ::raise(signal);
}

}  // namespace

UnfinishedFile::UnfinishedFile(const std::string& path) : path_(path) {
  {
    UnfinishedPaths& unfinished = unfinishedPaths();
    std::lock_guard lock(unfinished.mutex);
    unfinished.paths.insert(path);
  }
  if (path.size() >= PATH_MAX) return;
  for (size_t index = 0; index < kSlots; ++index) {
    int expected = kFree;
    if (!slots[index].state.compare_exchange_strong(expected, kBusy)) continue;
    std::memcpy(slots[index].path, path.c_str(), path.size() + 1);
    slots[index].state.store(kHeld);
    slot_ = index;
    return;
  }
}

UnfinishedFile::~UnfinishedFile() {
  if (slot_ != kNoSlot) slots[slot_].state.store(kFree);
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
    for (size_t index = 0; index < std::size(kEndingSignals); ++index) {
      const int signal = kEndingSignals[index];
      if (::sigaction(signal, nullptr, &before[index]) != 0 || before[index].sa_handler == SIG_IGN) continue;
      struct sigaction removing {};
      removing.sa_handler = removeAndHandOn;
      sigfillset(&removing.sa_mask);
      ::sigaction(signal, &removing, nullptr);
    }
  });
}

}  // namespace platform
