#pragma once

// The stand-in host's main loop: the services "IMainApplication" (post) and "IEventService"
// (processEvents). Posting is safe on any thread and never waits for the main thread: the queue's lock is
// held only to append an event or to take the next one. Delivery happens on the main thread only, the thread
// that made the loop (the host's), one event at a time and without the lock, in the order of posting: a data
// event reaches the data store's receivers subscribed under its name through onDataEvent, a bare name is
// fired as the data store's event of that name. An event whose name the data store does not know reaches
// nobody.
//
// Tests and the command-line host pump the loop explicitly (runPending, runFor, runUntil), so what is
// delivered when is decided by the test, not by a timer. Events still queued when the loop ends are dropped
// with it.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "framework/object/iptr.h"
#include "host/core/host_data_store.h"
#include "host/core/host_unknown.h"
#include "host_api/main_application.h"

class HostMainLoop : public IMainApplication, public IEventService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMainLoop";

  // The calling thread becomes the main thread. Delivers into dataStore, which it holds.
  explicit HostMainLoop(HostDataStore* dataStore);

  bool post(IZelDataEvent* event) override;
  bool postName(const char* name) override;
  void processEvents(bool untilIdle) override;

  // Host side. On the main thread each delivers and answers how many events it delivered; on any other
  // thread they deliver nothing and answer 0 (runUntil: false).
  // The events posted before the call.
  size_t runPending();
  // Delivers what is posted until the time is up, waiting for posts in between.
  size_t runFor(std::chrono::milliseconds duration);
  // Delivers until done() answers true (then true), or until the time is up (then false). done is asked
  // after every round of delivery, so it may look at what receivers recorded.
  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  bool isMainThread() const { return std::this_thread::get_id() == mainThread_; }
  size_t pendingCount();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using Clock = std::chrono::steady_clock;

  // One posted event: a data event, or a bare name when event is empty.
  struct Pending {
    uint64_t sequence = 0;
    IPtr<IZelDataEvent> event;
    std::string name;
  };

  bool enqueue(Pending pending);
  uint64_t lastPosted();
  // The oldest pending event if it was posted at or before sequence number last.
  std::optional<Pending> takeNext(uint64_t last);
  void deliver(const Pending& pending);
  size_t deliverThrough(uint64_t last);
  // Waits until something is pending or the deadline passes; answers whether something is pending.
  bool waitForPost(Clock::time_point deadline);

  const std::thread::id mainThread_;
  const IPtr<HostDataStore> dataStore_;
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Pending> pending_;  // guarded by mutex_, in the order of posting
  uint64_t lastSequence_ = 0;    // guarded by mutex_
};
