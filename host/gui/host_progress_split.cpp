#include "host/gui/host_progress_split.h"

#include <algorithm>
#include <mutex>

#include "framework/object/query_chain.h"

namespace {

std::mutex finishedMutex;
HostProgressSplit::Run lastRun;  // guarded by finishedMutex
int32_t finished = 0;            // guarded by finishedMutex

}  // namespace

void HostProgressSplit::begin(int32_t steps) {
  run_ = {std::max(steps, 0), 0};
}

void HostProgressSplit::step() {
  run_.done = std::min(run_.done + 1, run_.steps);
}

void HostProgressSplit::finish() {
  std::lock_guard lock(finishedMutex);
  lastRun = run_;
  ++finished;
}

HostProgressSplit::Run HostProgressSplit::lastFinished() {
  std::lock_guard lock(finishedMutex);
  return lastRun;
}

int32_t HostProgressSplit::finishedCount() {
  std::lock_guard lock(finishedMutex);
  return finished;
}

void HostProgressSplit::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelProgressSplit>(this).end();
}
