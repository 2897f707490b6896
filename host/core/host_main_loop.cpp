#include "host/core/host_main_loop.h"

#include <algorithm>
#include <limits>

#include "framework/object/query_chain.h"

namespace {

// A predicate of runUntil may turn true without a post (a worker's flag), so the loop looks again this often.
constexpr std::chrono::milliseconds kPredicatePoll{1};

}  // namespace

HostMainLoop::HostMainLoop(HostDataStore* dataStore)
    : mainThread_(std::this_thread::get_id()), dataStore_(dataStore) {}

bool HostMainLoop::post(IZelDataEvent* event) {
  if (!event) return false;
  return enqueue(Pending{0, IPtr<IZelDataEvent>(event), {}});
}

bool HostMainLoop::postName(const char* name) {
  if (!name) return false;
  return enqueue(Pending{0, {}, name});
}

bool HostMainLoop::enqueue(Pending pending) {
  bool wasIdle = false;
  {
    std::lock_guard lock(mutex_);
    pending.sequence = ++lastSequence_;
    wasIdle = pending_.empty();
    pending_.push_back(std::move(pending));
  }
  // The main thread waits only for an empty queue to fill, and delivers all that is pending once it wakes:
  // a burst of posts costs one wake-up, not one each.
  if (wasIdle) posted_.notify_all();
  return true;
}

uint64_t HostMainLoop::lastPosted() {
  std::lock_guard lock(mutex_);
  return lastSequence_;
}

size_t HostMainLoop::pendingCount() {
  std::lock_guard lock(mutex_);
  return pending_.size();
}

std::optional<HostMainLoop::Pending> HostMainLoop::takeNext(uint64_t last) {
  std::lock_guard lock(mutex_);
  if (pending_.empty() || pending_.front().sequence > last) return std::nullopt;
  Pending next = std::move(pending_.front());
  pending_.pop_front();
  return next;
}

void HostMainLoop::deliver(const Pending& pending) {
  if (!pending.event) {
    dataStore_->fireEvent(nullptr, pending.name.c_str());
    return;
  }
  // A copy: a receiver could rename the event while it is being delivered.
  std::string name = pending.event->name();
  dataStore_->deliverDataEvent(name.c_str(), pending.event->data());
}

size_t HostMainLoop::deliverThrough(uint64_t last) {
  if (!isMainThread()) return 0;
  size_t delivered = 0;
  // One event at a time from the shared queue, so a receiver that pumps the loop itself continues in order.
  while (std::optional<Pending> next = takeNext(last)) {
    deliver(*next);
    ++delivered;
  }
  return delivered;
}

void HostMainLoop::processEvents(bool untilIdle) {
  deliverThrough(untilIdle ? std::numeric_limits<uint64_t>::max() : lastPosted());
}

size_t HostMainLoop::runPending() {
  return deliverThrough(lastPosted());
}

bool HostMainLoop::waitForPost(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  return posted_.wait_until(lock, deadline, [this] { return !pending_.empty(); });
}

size_t HostMainLoop::runFor(std::chrono::milliseconds duration) {
  if (!isMainThread()) return 0;
  const Clock::time_point deadline = Clock::now() + duration;
  size_t delivered = 0;
  for (;;) {
    delivered += runPending();
    if (Clock::now() >= deadline) return delivered;
    waitForPost(deadline);
  }
}

bool HostMainLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  if (!isMainThread()) return false;
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    runPending();
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    waitForPost(std::min(deadline, Clock::now() + kPredicatePoll));
  }
}

void HostMainLoop::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IMainApplication*>(this))
      .offer<IMainApplication>(this)
      .offer<IEventService>(this)
      .end();
}
